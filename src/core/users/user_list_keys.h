#pragma once
// The settings keys of the stored list of local user accounts: "LocalUserList0", "LocalUserList1", ...
#include <string_view>

namespace mrf {

inline constexpr std::string_view kLocalUserListPrefix = "LocalUserList";

} // namespace mrf
