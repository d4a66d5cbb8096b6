#pragma once
// The length-prefixed strings the engine library receives: one length byte, then up to 255
// 8-bit characters.
#include <array>
#include <string>
#include <string_view>

namespace mrf {

inline constexpr size_t kShortStringMax = 255;
using ShortString = std::array<unsigned char, kShortStringMax + 1>;

// The first 255 characters of text.
std::string_view CutToShort(std::string_view text);
ShortString ToShortString(std::string_view text);
std::string FromShortString(const unsigned char* value);

} // namespace mrf
