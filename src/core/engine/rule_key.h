#pragma once
// Which stored rule set applies to the user who runs the GUI program.
#include <string>
#include <string_view>

#include "core/store/encriptor.h"

namespace mrf {

// The logged-on user name from an account name: blanks and control characters trimmed.
std::string CleanUserName(std::string_view accountName);

// The user's group when the user belongs to an existing one, else the user name. Removes a stale
// membership on the way.
std::string RuleKeyFor(TEncriptor& store, std::string_view userName);

} // namespace mrf
