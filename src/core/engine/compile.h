#pragma once
// The compilation of one rule set into the ordered list of engine entries.
#include <string>
#include <string_view>
#include <vector>

#include "core/store/encriptor.h"
#include "ports/engine_library.h"

namespace mrf {

// What the engine receives where an entry excludes no files.
inline constexpr std::string_view kNoExcludedFiles = "ExcludeFiles";

// The processes exempt from every entry that names none of its own: the running GUI program's
// file name (without folder) and the service program.
std::string DefaultProcessList(std::string_view programFileName);

struct CompileInput {
    std::string ruleKey;
    std::string defaultProcesses;
    std::string programFolder; // with its final "\"; empty adds no program-folder entry
};

// The folder entries of the rule key (each single-mask entry followed by its mode-10 directory
// entry), the program-folder entry, then the switches. Entries with an empty folder or a cleared
// check box are left out. Throws ConversionError for a count, mode or enabled value that is not
// an integer.
std::vector<EngineEntry> CompileRules(const TEncriptor& store, const CompileInput& input);

} // namespace mrf
