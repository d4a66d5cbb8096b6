#pragma once
// The settings keys of the group catalogue and of memberships; every reader and writer of group
// data forms its keys here.
#include <string>
#include <string_view>

namespace mrf {

inline constexpr std::string_view kUserGroupCountKey = "UserGroup_Count";

inline std::string GroupNameKey(int n) {
    return "UserGroup_" + std::to_string(n);
}
inline std::string GroupDescrKey(int n) {
    return GroupNameKey(n) + "_Descr";
}
inline std::string MembershipKey(std::string_view user) {
    return std::string(user) + "_UserGroup";
}

} // namespace mrf
