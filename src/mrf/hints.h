#pragma once
// Hints of the window's commands: a short text for the tool tip, after "|" a long one for the
// status bar.
#include <string>

namespace mrf::ui {

// The hint of a command or tool button, translated; empty when it has none.
std::string HintOf(unsigned id);
std::string ShortHint(const std::string& hint);
std::string LongHint(const std::string& hint);

} // namespace mrf::ui
