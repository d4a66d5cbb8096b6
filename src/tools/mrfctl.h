#pragma once
// The admin tool: inspects and prepares settings files.
#include <iosfwd>
#include <string>
#include <vector>

#include "ports/file_system.h"

namespace mrf {

// args without the program name. Returns the exit code: 0 success, 1 a file or setting fault,
// 2 bad arguments.
int RunMrfctl(const std::vector<std::string>& args, std::istream& in, std::ostream& out, std::ostream& err,
              FileSystem& files);

} // namespace mrf
