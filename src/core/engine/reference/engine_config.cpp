#include "core/engine/reference/engine_config.h"

#include "core/text/ansi.h"

namespace mrf {
namespace {

bool IsAbsolute(std::string_view path) {
    return (path.size() >= 2 && path[1] == ':') || (!path.empty() && (path[0] == '\\' || path[0] == '/'));
}

std::string Resolve(std::string_view path, std::string_view folder) {
    return IsAbsolute(path) ? std::string(path) : std::string(folder) + std::string(path);
}

} // namespace

EngineConfig ParseEngineConfig(std::string_view text, std::string_view folder,
                               std::string_view defaultState) {
    EngineConfig config{std::string(defaultState), std::string()};
    size_t start = 0;
    while (start < text.size()) {
        size_t eol = text.find('\n', start);
        std::string_view line =
            TrimBlanks(text.substr(start, eol == std::string_view::npos ? text.npos : eol - start));
        start = eol == std::string_view::npos ? text.size() : eol + 1;
        if (line.empty() || line[0] == ';' || line[0] == '#')
            continue;
        const size_t eq = line.find('=');
        if (eq == std::string_view::npos)
            continue;
        const std::string_view name = TrimBlanks(line.substr(0, eq));
        const std::string_view value = TrimBlanks(line.substr(eq + 1));
        if (value.empty())
            continue;
        if (AnsiSameText(name, "state"))
            config.statePath = Resolve(value, folder);
        else if (AnsiSameText(name, "log"))
            config.logPath = Resolve(value, folder);
    }
    return config;
}

} // namespace mrf
