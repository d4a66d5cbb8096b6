#pragma once
// The logon start of the GUI program and the installer's uninstall strings.
#include <optional>
#include <string>
#include <string_view>

#include "ports/registry.h"

namespace mrf {

// The Run value's data: the quoted GUI program path and "/T". folder ends in "\".
std::string RunValueData(std::string_view folder);

// The uninstall string that current should read: the folder of the program it names (up to and
// including the last "\" or ":", within the quotes where it begins with one) followed by mrf.exe,
// the closing quote and "/U"; the opening quote is added where it is missing. Nothing when
// current names no folder (an empty or missing value), which is then left alone.
std::optional<std::string> WantedUninstallString(std::string_view current);

// With remove false writes the Run value, with remove true deletes it when it exists; then
// corrects the uninstall strings where they differ from the wanted text. Nothing escapes.
// Returns false when the Run value could not be written or deleted (a missing value counts as
// deleted).
bool UpdateAutorunAndUninstall(Registry& registry, std::string_view folder, bool remove);

} // namespace mrf
