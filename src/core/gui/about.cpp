#include "core/gui/about.h"

#include "core/text/translate.h"

namespace mrf {

std::string SupportMailLink() {
    return "mailto:" + std::string(kSupportAddress);
}

std::string FormatVersion(uint32_t mostSignificant, uint32_t leastSignificant) {
    return std::to_string(mostSignificant >> 16) + "." + std::to_string(mostSignificant & 0xFFFF) + "." +
           std::to_string(leastSignificant >> 16) + "." + std::to_string(leastSignificant & 0xFFFF);
}

std::string MajorMinor(std::string_view version) {
    const size_t first = version.find('.');
    if (first == std::string_view::npos)
        return std::string(version);
    return std::string(version.substr(0, version.find('.', first + 1)));
}

std::string AboutVersionLine(std::string_view version) {
    return Tr("Version") + " " + MajorMinor(version) + " (" + Tr("Build") + " " + std::string(version) + ")";
}

} // namespace mrf
