#include "core/users/groups.h"

#include "core/text/translate.h"
#include "core/users/group_keys.h"

namespace mrf {

std::string GuestGroupName() {
    return Tr("Guest group");
}

bool IsGroup(const TEncriptor& store, std::string_view name, bool includeGuest) {
    if (includeGuest && name == GuestGroupName())
        return true;
    const int32_t count = store.ReadInteger(kUserGroupCountKey, 0);
    for (int32_t i = 0; i < count; ++i)
        if (store.ReadString(GroupNameKey(i), "") == name)
            return true;
    return false;
}

std::string GetUserGroup(TEncriptor& store, std::string_view user) {
    const std::string key = MembershipKey(user);
    std::string group = store.ReadString(key, "");
    if (IsGroup(store, group, true))
        return group;
    if (!group.empty())
        store.WriteString(key, "");
    return std::string();
}

} // namespace mrf
