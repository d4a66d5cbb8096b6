#pragma once
// Engine entries as tab-separated text lines: mode, path, exclude files, processes, exclude
// processes. Control characters and "%" are written as "%XX", so every value survives a round trip.
#include <string>
#include <string_view>

#include "ports/engine_library.h"

namespace mrf {

std::string EscapeField(std::string_view value);
std::string UnescapeField(std::string_view text);

std::string FormatEntry(const EngineEntry& entry);
// Reads the five fields of FormatEntry; false when the text is not such a line.
bool ParseEntry(std::string_view line, EngineEntry& entry);

} // namespace mrf
