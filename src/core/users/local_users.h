#pragma once
// The local user accounts: the names behind the system's profile list.
#include <string>
#include <string_view>
#include <vector>

#include "core/store/encriptor.h"
#include "ports/account_lookup.h"
#include "ports/registry.h"

namespace mrf {

// Settings key prefix of the stored copy of the list: LocalUserList0, LocalUserList1, ...
inline constexpr std::string_view kLocalUserListPrefix = "LocalUserList";

inline constexpr std::string_view kProfileListKeyNt =
    "Software\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList";
inline constexpr std::string_view kProfileListKey9x =
    "Software\\Microsoft\\Windows\\CurrentVersion\\ProfileList";

// The account names of the profile list in enumeration order, without domain, leaving out the
// built-in service accounts and subkeys that name no account. On the 9x family the subkey names
// are the user names. A profile list that cannot be read gives an empty list. The list is only
// read, so that an ordinary user sees it too where the system lets him.
std::vector<std::string> ListLocalUsers(Registry& registry, AccountLookup& accounts, bool ntFamily);

// The stored copy of the list: the values of every "LocalUserList..." line in store order. Never
// throws.
std::vector<std::string> LoadStoredUserList(const TEncriptor& store);

// The names the window works with: the live list, else the stored one, blank names left out, and
// the logged-on user at the end unless a name matches him without regard to letter case.
std::vector<std::string> CollectUserNames(std::vector<std::string> live, const TEncriptor& store,
                                          std::string_view loggedOnUser);

} // namespace mrf
