#pragma once
// "vexcore.ini" beside the engine library: where the state lives and whether calls are logged.
//   state=PATH   the state file (default: the common application data folder)
//   log=PATH     append every call to PATH (default: no log)
// Relative paths are taken from the library's folder. Lines starting with ";" or "#" are comments.
#include <string>
#include <string_view>

namespace mrf {

struct EngineConfig {
    std::string statePath;
    std::string logPath;
};

// folder: the library's folder with its final "\"; defaultState: the state path without a setting.
EngineConfig ParseEngineConfig(std::string_view text, std::string_view folder, std::string_view defaultState);

} // namespace mrf
