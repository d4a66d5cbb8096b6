#pragma once
// vexcheck: what the reference engine's active rules do.
//   vexcheck [--state FILE] list
//   vexcheck [--state FILE] PROCESS PATH [read|write|list]
#include <iosfwd>
#include <string>
#include <vector>

#include "ports/file_system.h"

namespace mrf {

// args without the program name; defaultState: the state file without --state. Exit codes: 0
// allowed (or listed), 1 denied, 2 bad arguments, 3 the state cannot be read.
int RunVexcheck(const std::vector<std::string>& args, const std::string& defaultState, std::ostream& out,
                std::ostream& err, FileSystem& files);

} // namespace mrf
