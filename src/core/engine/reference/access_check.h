#pragma once
// How the reference engine decides an access from its active entries.
//
// - Patterns use "*" for any run of characters (backslashes included); everything else matches
//   itself without regard to letter case. A pattern covers the whole text.
// - Process lists and exclude-file lists are ";"-separated patterns. A pattern containing "\" is
//   matched against the whole path; one without against the file name after the last "\".
// - "ExcludeFiles" as the exclude-file list excludes nothing.
// - An entry applies to an access when its path pattern matches the path, the process matches
//   its process list and not its exempt list, and the path is not one of its excluded files.
// - Mode 1 denies write (which covers delete and rename); mode 2 denies read, write and list
//   (the path is not shown in its folder); mode 10 denies write of the directory itself. Other
//   modes deny nothing.
// - The first entry, in order, that applies and denies the access decides; otherwise the access
//   is allowed. While enforcement is off everything is allowed.
#include <optional>
#include <string>
#include <string_view>

#include "core/engine/reference/engine_state.h"

namespace mrf {

enum class Access { Read, Write, List };

std::optional<Access> ParseAccess(std::string_view text);
std::string_view AccessName(Access access);

bool WildcardMatch(std::string_view pattern, std::string_view text);
// Whether path matches one of the ";"-separated patterns.
bool MatchesList(std::string_view patterns, std::string_view path);

struct AccessDecision {
    bool allowed = true;
    int entry = -1; // the index of the deciding entry; -1 when allowed
};

AccessDecision CheckAccess(const EngineState& state, std::string_view processImage, std::string_view path,
                           Access access);

} // namespace mrf
