#include "core/engine/reference/engine_state.h"

#include "core/engine/reference/entry_text.h"

namespace mrf {
namespace {

constexpr std::string_view kHeader = "vexcore-state\t1";

} // namespace

std::string FormatState(const EngineState& state) {
    std::string text(kHeader);
    text += "\r\nenforcing\t";
    text += state.enforcing ? "1" : "0";
    text += "\r\n";
    for (const EngineEntry& e : state.entries)
        text += "entry\t" + FormatEntry(e) + "\r\n";
    return text;
}

bool ParseState(std::string_view text, EngineState& state, std::string& error) {
    state = EngineState{};
    if (text.empty())
        return true;
    size_t lineNo = 0, start = 0;
    bool sawEnforcing = false;
    while (start < text.size()) {
        size_t eol = text.find('\n', start);
        std::string_view line =
            text.substr(start, eol == std::string_view::npos ? std::string_view::npos : eol - start);
        start = eol == std::string_view::npos ? text.size() : eol + 1;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        ++lineNo;
        bool ok = false;
        if (lineNo == 1) {
            ok = line == kHeader;
        } else if (line == "enforcing\t0" || line == "enforcing\t1") {
            ok = !sawEnforcing;
            sawEnforcing = true;
            state.enforcing = line.back() == '1';
        } else if (line.substr(0, 6) == "entry\t") {
            EngineEntry entry;
            ok = ParseEntry(line.substr(6), entry);
            state.entries.push_back(std::move(entry));
        }
        if (!ok) {
            error = "line " + std::to_string(lineNo) + " is not part of an engine state";
            state = EngineState{};
            return false;
        }
    }
    if (!sawEnforcing) {
        error = "no enforcing line";
        return false;
    }
    return true;
}

} // namespace mrf
