#include "core/engine/reference/vexcheck_tool.h"

#include <ostream>

#include "core/engine/reference/access_check.h"
#include "core/engine/reference/engine_state.h"
#include "core/engine/reference/entry_text.h"

#include "core/text/ansi.h"

namespace mrf {
namespace {

constexpr const char* kUsage =
    "usage: vexcheck [--state FILE] list\n"
    "       vexcheck [--state FILE] PROCESS PATH [read|write|list]\n"
    "Shows the reference engine's active entries, or whether PROCESS (its image path)\n"
    "may read, write (also delete, rename) or see in a listing the file or folder PATH.\n"
    "Exit codes: 0 allowed, 1 denied, 2 bad arguments, 3 state unreadable.\n";

bool LoadState(const std::string& path, EngineState& state, std::ostream& err, FileSystem& files) {
    std::string text, reason;
    bool exists = false;
    IoError io;
    if (!files.ReadFile(path, text, exists, io)) {
        err << "vexcheck: " << Describe(io) << kEol;
        return false;
    }
    if (!ParseState(text, state, reason)) {
        err << "vexcheck: \"" << path << "\": " << reason << kEol;
        return false;
    }
    return true;
}

} // namespace

int RunVexcheck(const std::vector<std::string>& argsIn, const std::string& defaultState, std::ostream& out,
                std::ostream& err, FileSystem& files) {
    std::vector<std::string> args = argsIn;
    std::string statePath = defaultState;
    if (args.size() >= 2 && args[0] == "--state") {
        statePath = args[1];
        args.erase(args.begin(), args.begin() + 2);
    }
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
        out << kUsage;
        return 0;
    }
    const bool listing = args.size() == 1 && args[0] == "list";
    if (!listing && args.size() != 2 && args.size() != 3) {
        err << kUsage;
        return 2;
    }
    std::optional<Access> access = Access::Read;
    if (args.size() == 3 && !(access = ParseAccess(args[2]))) {
        err << "vexcheck: unknown access '" << args[2] << "' (read, write or list)" << kEol;
        return 2;
    }
    EngineState state;
    if (!LoadState(statePath, state, err, files))
        return 3;
    if (listing) {
        out << "enforcement: " << (state.enforcing ? "on" : "off") << kEol;
        for (size_t i = 0; i < state.entries.size(); ++i)
            out << i << "\t" << FormatEntry(state.entries[i]) << kEol;
        return 0;
    }
    const AccessDecision d = CheckAccess(state, args[0], args[1], *access);
    if (d.allowed) {
        out << "allowed" << (state.enforcing ? "" : " (enforcement is off)") << kEol;
        return 0;
    }
    out << "denied by entry " << d.entry << ":\t" << FormatEntry(state.entries[static_cast<size_t>(d.entry)])
        << kEol;
    return 1;
}

} // namespace mrf
