#pragma once
// The reference engine's persistent state: whether enforcement is on, and the active entries.
#include <string>
#include <string_view>
#include <vector>

#include "ports/engine_library.h"

namespace mrf {

struct EngineState {
    bool enforcing = false;
    std::vector<EngineEntry> entries;
};

// "vexcore-state\t1", "enforcing\t0|1", then one "entry\t<FormatEntry>" line per entry.
std::string FormatState(const EngineState& state);
// An empty text is the state before the first SetSecurity: off, no entries. False, with a reason
// naming the line, for anything else that is not a state.
bool ParseState(std::string_view text, EngineState& state, std::string& error);

} // namespace mrf
