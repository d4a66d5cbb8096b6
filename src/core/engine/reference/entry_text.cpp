#include "core/engine/reference/entry_text.h"

#include <vector>

#include "core/text/ansi.h"

namespace mrf {
namespace {

std::vector<std::string_view> SplitTabs(std::string_view line) {
    std::vector<std::string_view> fields;
    size_t start = 0;
    for (;;) {
        size_t tab = line.find('\t', start);
        fields.push_back(
            line.substr(start, tab == std::string_view::npos ? std::string_view::npos : tab - start));
        if (tab == std::string_view::npos)
            return fields;
        start = tab + 1;
    }
}

} // namespace

std::string EscapeField(std::string_view value) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(value.size());
    for (char c : value) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7F || c == '%') {
            out += '%';
            out += kHex[u >> 4];
            out += kHex[u & 15];
        } else {
            out += c;
        }
    }
    return out;
}

std::string UnescapeField(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && HexDigitValue(text[i + 1]) >= 0 &&
            HexDigitValue(text[i + 2]) >= 0) {
            out += static_cast<char>(HexDigitValue(text[i + 1]) * 16 + HexDigitValue(text[i + 2]));
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

std::string FormatEntry(const EngineEntry& e) {
    return std::to_string(e.mode) + "\t" + EscapeField(e.path) + "\t" + EscapeField(e.excludeFiles) + "\t" +
           EscapeField(e.processes) + "\t" + EscapeField(e.excludeProcesses);
}

bool ParseEntry(std::string_view line, EngineEntry& entry) {
    const auto fields = SplitTabs(line);
    if (fields.size() != 5 || !ParseInt32(fields[0], entry.mode))
        return false;
    entry.path = UnescapeField(fields[1]);
    entry.excludeFiles = UnescapeField(fields[2]);
    entry.processes = UnescapeField(fields[3]);
    entry.excludeProcesses = UnescapeField(fields[4]);
    return true;
}

} // namespace mrf
