#include "core/users/local_users.h"

#include "core/text/ansi.h"

namespace mrf {

std::vector<std::string> ListLocalUsers(Registry& registry, AccountLookup& accounts, bool ntFamily) {
    std::vector<std::string> list;
    SystemError error;
    auto key =
        registry.OpenKey(ntFamily ? kProfileListKeyNt : kProfileListKey9x, KeyAccess::Read, false, error);
    if (!key)
        return list;
    std::vector<std::string> subkeys;
    if (!key->SubkeyNames(subkeys, error))
        return list;
    if (!ntFamily)
        return subkeys;
    for (const std::string& sid : subkeys) {
        std::string name, domain;
        if (!accounts.LookupSid(sid, name, domain))
            continue;
        const std::string_view account = TrimBlanks(name);
        if (account.empty())
            continue;
        // The profiles of the built-in service accounts.
        if (TrimBlanks(domain) == "NT AUTHORITY")
            continue;
        list.emplace_back(account);
    }
    return list;
}

std::vector<std::string> LoadStoredUserList(const TEncriptor& store) {
    std::vector<std::string> list;
    store.ReadList(kLocalUserListPrefix, false, list);
    return list;
}

std::vector<std::string> CollectUserNames(std::vector<std::string> live, const TEncriptor& store,
                                          std::string_view loggedOnUser) {
    std::vector<std::string> names = live.empty() ? LoadStoredUserList(store) : std::move(live);
    // A blank name would make a row whose membership key is no user's.
    std::erase_if(names, [](const std::string& name) { return TrimBlanks(name).empty(); });
    bool listed = false;
    for (const std::string& name : names)
        listed = listed || AnsiSameText(name, loggedOnUser);
    if (!listed && !TrimBlanks(loggedOnUser).empty())
        names.emplace_back(loggedOnUser);
    return names;
}

} // namespace mrf
