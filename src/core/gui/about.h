#pragma once
// The about box's texts, the version string and the product's addresses.
#include <cstdint>
#include <string>
#include <string_view>

namespace mrf {

// Constants in one place; the reserved "example" domain until the product has real ones.
inline constexpr std::string_view kWebSite = "https://www.marrowfold.example/";
inline constexpr std::string_view kSupportAddress = "support@marrowfold.example";
// "mailto:" and the support address.
std::string SupportMailLink();

// A version resource's product version (two 32-bit words, most significant first) as four decimal
// numbers joined by ".".
std::string FormatVersion(uint32_t mostSignificant, uint32_t leastSignificant);
inline constexpr std::string_view kNoVersion = "0.0.0.0";
// The version up to, not including, its second ".": "4.2" of "4.2.1.1".
std::string MajorMinor(std::string_view version);
// "Version 4.2 (Build 4.2.1.1)", translated.
std::string AboutVersionLine(std::string_view version);

} // namespace mrf
