#pragma once
// 8-bit ANSI text helpers. Letter case follows one 256-entry table, which the Windows programs
// fill from the system's ANSI code page at start-up; elsewhere it is Windows-1252.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace mrf {

using CaseTable = std::array<unsigned char, 256>;

// The table in force; starts as Windows-1252.
const CaseTable& AnsiUpperTable();
void SetAnsiUpperTable(const CaseTable& table);

inline unsigned char AnsiUpperChar(unsigned char c) {
    return AnsiUpperTable()[c];
}
std::string ToAnsiUpper(std::string_view text);
bool AnsiSameText(std::string_view a, std::string_view b);
// a begins with prefix, both compared in upper case.
bool AnsiStartsText(std::string_view text, std::string_view prefix);

// A to Z only, as the settings list's lower-case option does.
std::string AsciiLower(std::string_view text);
std::string AsciiUpper(std::string_view text);

// 64-bit FNV-1a of the bytes: names for kernel objects derived from paths.
uint64_t Fnv1a64(std::string_view bytes);

// The value of a hexadecimal digit (either case); -1 for any other character.
int HexDigitValue(char c);

// Line end of the command-line tools' output, as the platform writes text.
#ifdef _WIN32
inline constexpr const char* kEol = "\r\n";
#else
inline constexpr const char* kEol = "\n";
#endif

// Trims only the space character (0x20).
std::string_view TrimSpaces(std::string_view text);
// Trims blanks and control characters (everything up to 0x20).
std::string_view TrimBlanks(std::string_view text);

// Signed 32-bit integer as the settings store reads it: optional sign, decimal digits, or "$"
// followed by hexadecimal digits. Returns false when the text is not such an integer.
bool ParseInt32(std::string_view text, int32_t& value);

} // namespace mrf
