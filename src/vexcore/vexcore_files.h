#pragma once
// Where the reference engine keeps its state and call log, and whether the driver is registered.
#include <windows.h>

#include <string>

#include "core/engine/reference/engine_config.h"

namespace mrf::vexcore {

// "<common application data>\Marrowfold\vexcore.state".
std::string DefaultStatePath();
// vexcore.ini beside module (null: the program), over the default state path.
EngineConfig LoadEngineConfig(HMODULE module);

// Replaces the file as a whole: a reader sees the old or the new state, never a mixture.
bool ReplaceFile(const std::string& path, const std::string& text, std::string& error);
void AppendLine(const std::string& path, const std::string& line);
// The file-protection driver's registration in the service manager.
bool DriverRegistered();

} // namespace mrf::vexcore
