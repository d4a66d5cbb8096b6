#include "core/engine/reference/access_check.h"

#include "core/engine/compile.h"
#include "core/text/ansi.h"

namespace mrf {
namespace {

bool Denies(int32_t mode, Access access) {
    switch (mode) {
    case 1:
    case 10:
        return access == Access::Write;
    case 2:
        return true;
    default:
        return false;
    }
}

std::string_view FileNameOf(std::string_view path) {
    const size_t slash = path.rfind('\\');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

// A trailing "\" names the same folder, except on a drive root.
std::string_view Normalized(std::string_view path) {
    if (path.size() > 1 && path.back() == '\\' && !(path.size() == 3 && path[1] == ':'))
        path.remove_suffix(1);
    return path;
}

} // namespace

std::optional<Access> ParseAccess(std::string_view text) {
    if (AnsiSameText(text, "read"))
        return Access::Read;
    if (AnsiSameText(text, "write"))
        return Access::Write;
    if (AnsiSameText(text, "list"))
        return Access::List;
    return std::nullopt;
}

std::string_view AccessName(Access access) {
    switch (access) {
    case Access::Read:
        return "read";
    case Access::Write:
        return "write";
    case Access::List:
        return "list";
    }
    return "";
}

bool WildcardMatch(std::string_view pattern, std::string_view text) {
    // Greedy with one backtrack point: the last "*" seen; linear for the usual patterns.
    size_t p = 0, t = 0, star = std::string_view::npos, resume = 0;
    while (t < text.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            star = p++;
            resume = t;
        } else if (p < pattern.size() && AnsiUpperChar(static_cast<unsigned char>(pattern[p])) ==
                                             AnsiUpperChar(static_cast<unsigned char>(text[t]))) {
            ++p;
            ++t;
        } else if (star != std::string_view::npos) {
            p = star + 1;
            t = ++resume;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

bool MatchesList(std::string_view patterns, std::string_view path) {
    size_t start = 0;
    while (start <= patterns.size()) {
        size_t end = patterns.find(';', start);
        if (end == std::string_view::npos)
            end = patterns.size();
        const std::string_view pattern = patterns.substr(start, end - start);
        if (!pattern.empty()) {
            const bool whole = pattern.find('\\') != std::string_view::npos;
            if (WildcardMatch(pattern, whole ? path : FileNameOf(path)))
                return true;
        }
        start = end + 1;
    }
    return false;
}

AccessDecision CheckAccess(const EngineState& state, std::string_view processImage, std::string_view path,
                           Access access) {
    if (!state.enforcing)
        return {};
    path = Normalized(path);
    for (size_t i = 0; i < state.entries.size(); ++i) {
        const EngineEntry& e = state.entries[i];
        if (!Denies(e.mode, access) || !WildcardMatch(e.path, path))
            continue;
        if (!MatchesList(e.processes, processImage) || MatchesList(e.excludeProcesses, processImage))
            continue;
        if (!AnsiSameText(e.excludeFiles, kNoExcludedFiles) && MatchesList(e.excludeFiles, path))
            continue;
        return {false, static_cast<int>(i)};
    }
    return {};
}

} // namespace mrf
