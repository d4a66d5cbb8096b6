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

} // namespace mrf
