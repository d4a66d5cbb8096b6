#include "core/users/groups.h"

#include <optional>
#include <set>

#include "core/text/ansi.h"
#include "core/text/translate.h"
#include "core/users/group_keys.h"

namespace mrf {

std::string GuestGroupName() {
    return Tr("Guest group");
}

namespace {

// Up to this count the catalogue is read name by name; a larger one is read from the lines that
// are really there, so a damaged count cannot stall the program.
constexpr int32_t kDirectCatalogueLimit = 4096;

// Whether name is one of the catalogue's names; nullopt when the stored count is no number.
std::optional<bool> CatalogueHas(const TEncriptor& store, std::string_view name) {
    int32_t count = 0;
    try {
        count = store.ReadInteger(kUserGroupCountKey, 0);
    } catch (const ConversionError&) {
        return std::nullopt;
    }
    if (count <= kDirectCatalogueLimit) {
        for (int32_t i = 0; i < count; ++i)
            if (store.ReadString(GroupNameKey(i), "") == name)
                return true;
        return false;
    }
    std::set<int32_t> present;
    const std::string prefix = GroupNameKey(0).substr(0, GroupNameKey(0).size() - 1);
    store.ForEachLine([&](std::string_view line) {
        const size_t eq = line.find('=');
        if (eq == std::string_view::npos || !AnsiStartsText(line, prefix))
            return;
        int32_t n = 0;
        const std::string_view digits = line.substr(prefix.size(), eq - prefix.size());
        if (!digits.empty() && digits.find_first_not_of("0123456789") == std::string_view::npos &&
            (digits.size() == 1 || digits[0] != '0') && ParseInt32(digits, n) && n < count)
            present.insert(n);
    });
    for (int32_t n : present)
        if (store.ReadString(GroupNameKey(n), "") == name)
            return true;
    // An index without a stored name reads as the empty name.
    return name.empty() && static_cast<int64_t>(present.size()) < count;
}

} // namespace

bool IsGroup(const TEncriptor& store, std::string_view name, bool includeGuest) {
    if (includeGuest && name == GuestGroupName())
        return true;
    return CatalogueHas(store, name).value_or(false);
}

std::string GetUserGroup(TEncriptor& store, std::string_view user) {
    const std::string key = MembershipKey(user);
    std::string group = store.ReadString(key, "");
    if (group == GuestGroupName())
        return group;
    const std::optional<bool> known = CatalogueHas(store, group);
    if (known.value_or(false))
        return group;
    // A damaged catalogue proves no membership stale: it is kept, and the user's own rules apply.
    if (known && !group.empty())
        store.WriteString(key, "");
    return std::string();
}

} // namespace mrf
