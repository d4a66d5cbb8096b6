#include "core/store/scramble.h"

#include "core/text/ansi.h"

namespace mrf {
namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

std::string HexStage(std::string_view in) {
    std::string out;
    out.reserve(in.size() * 2);
    for (char c : in) {
        unsigned b = static_cast<unsigned char>(c) ^ kStoreKey;
        out.push_back(kHexDigits[b >> 4]);
        out.push_back(kHexDigits[b & 15]);
    }
    return out;
}

// One pair of characters read as a hexadecimal number; text that does not parse counts as 0.
unsigned PairValue(std::string_view pair) {
    // A pair beginning with "$" already carries the hex marker and is read as it stands.
    if (!pair.empty() && pair[0] == '$')
        pair.remove_prefix(1);
    if (pair.empty())
        return 0;
    unsigned v = 0;
    for (char c : pair) {
        int d = HexDigitValue(c);
        if (d < 0)
            return 0;
        v = v * 16 + static_cast<unsigned>(d);
    }
    return v;
}

std::string UnhexStage(std::string_view in) {
    std::string out;
    out.reserve(in.size() / 2 + 1);
    for (size_t i = 0; i < in.size(); i += 2)
        out.push_back(static_cast<char>((PairValue(in.substr(i, 2)) ^ kStoreKey) & 0xFF));
    return out;
}

} // namespace

std::string Scramble(std::string_view plain) {
    std::string text = HexStage(HexStage(plain));
    for (size_t i = 0; i < text.size(); ++i)
        text[i] = static_cast<char>(text[i] + static_cast<char>(i % 10));
    std::string out;
    out.reserve(text.size() + text.size() / kScrambledLineLength * 2 + 2);
    for (size_t i = 0; i < text.size(); i += kScrambledLineLength) {
        out.append(text, i, kScrambledLineLength);
        out.append("\r\n");
    }
    return out;
}

std::string Unscramble(std::string_view fileContent) {
    std::string text;
    text.reserve(fileContent.size());
    for (const std::string& line : SplitLines(fileContent))
        text += line;
    for (size_t i = 0; i < text.size(); ++i)
        text[i] = static_cast<char>(static_cast<unsigned char>(text[i]) - i % 10);
    return UnhexStage(UnhexStage(text));
}

bool IsScrambledText(std::string_view fileContent) {
    size_t position = 0;
    unsigned pair = 0;
    for (char ch : fileContent) {
        if (ch == '\r' || ch == '\n')
            continue;
        const int c = static_cast<unsigned char>(ch) - static_cast<int>(position % 10);
        int digit = -1;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        if (digit < 0)
            return false;
        pair = (pair << 4 | static_cast<unsigned>(digit)) & 0xFF;
        // Each pair is one byte of the first stage's text, itself an upper-case hex digit.
        if (position % 2 == 1) {
            const unsigned b = pair ^ kStoreKey;
            if (!((b >= '0' && b <= '9') || (b >= 'A' && b <= 'F')))
                return false;
        }
        ++position;
    }
    return position % 4 == 0;
}

std::string JoinLines(const std::vector<std::string>& lines) {
    size_t size = 0;
    for (const auto& l : lines)
        size += l.size() + 2;
    std::string out;
    out.reserve(size);
    for (const auto& l : lines) {
        out += l;
        out += "\r\n";
    }
    return out;
}

std::vector<std::string> SplitLines(std::string_view text) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c != '\r' && c != '\n')
            continue;
        lines.emplace_back(text.substr(start, i - start));
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        lines.emplace_back(text.substr(start));
    return lines;
}

} // namespace mrf
