#include "core/engine/short_string.h"

#include <algorithm>

namespace mrf {

std::string_view CutToShort(std::string_view text) {
    return text.substr(0, std::min(text.size(), kShortStringMax));
}

ShortString ToShortString(std::string_view text) {
    ShortString out{};
    const std::string_view cut = CutToShort(text);
    out[0] = static_cast<unsigned char>(cut.size());
    std::copy(cut.begin(), cut.end(), out.begin() + 1);
    return out;
}

std::string FromShortString(const unsigned char* value) {
    if (!value)
        return std::string();
    return std::string(reinterpret_cast<const char*>(value + 1), value[0]);
}

} // namespace mrf
