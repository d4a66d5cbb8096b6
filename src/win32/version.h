#pragma once
// The product version of a program file, from its version resource.
#include <string>

namespace mrf::win32 {

// GetVersionString: the product version (not the file version) of file, or of the running program
// when file is empty, as four numbers joined by "."; "0.0.0.0" without a readable version resource.
std::string GetVersionString(const std::string& file = {});

} // namespace mrf::win32
