#pragma once
// The settings file's scrambled text form.
#include <string>
#include <string_view>
#include <vector>

namespace mrf {

inline constexpr unsigned char kStoreKey = 0xA7;
inline constexpr size_t kScrambledLineLength = 80;

// Plain text to file content: two hex stages, the running offset, lines of 80 characters with CR LF.
std::string Scramble(std::string_view plain);
// File content to plain text; never fails (unreadable pairs count as 0).
std::string Unscramble(std::string_view fileContent);
// Whether fileContent is exactly what Scramble writes for some text, line breaks aside: every
// character decodes to a hex digit in both stages. Outside input is checked with it before a
// tool overwrites a file.
bool IsScrambledText(std::string_view fileContent);

// Every line followed by CR LF.
std::string JoinLines(const std::vector<std::string>& lines);
// Splits at CR LF, lone CR and lone LF; a final break adds no empty line.
std::vector<std::string> SplitLines(std::string_view text);

} // namespace mrf
