#pragma once
#include <string>

namespace mrf::win32 {

// The account name, without domain, of the user who owns this process; blanks trimmed. Empty
// when it cannot be found.
std::string LoggedOnUserName();

} // namespace mrf::win32
