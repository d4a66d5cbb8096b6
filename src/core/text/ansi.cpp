#include "core/text/ansi.h"

#include <limits>

namespace mrf {
namespace {

CaseTable MakeWindows1252Upper() {
    CaseTable t{};
    for (int i = 0; i < 256; ++i)
        t[i] = static_cast<unsigned char>(i);
    for (int c = 'a'; c <= 'z'; ++c)
        t[c] = static_cast<unsigned char>(c - 32);
    for (int c = 0xE0; c <= 0xFE; ++c)
        if (c != 0xF7)
            t[c] = static_cast<unsigned char>(c - 32);
    t[0x9A] = 0x8A;
    t[0x9C] = 0x8C;
    t[0x9E] = 0x8E;
    t[0xFF] = 0x9F;
    return t;
}

CaseTable& Table() {
    static CaseTable table = MakeWindows1252Upper();
    return table;
}

} // namespace

const CaseTable& AnsiUpperTable() {
    return Table();
}
void SetAnsiUpperTable(const CaseTable& table) {
    Table() = table;
}

std::string ToAnsiUpper(std::string_view text) {
    const CaseTable& t = Table();
    std::string out(text);
    for (char& c : out)
        c = static_cast<char>(t[static_cast<unsigned char>(c)]);
    return out;
}

bool AnsiSameText(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    return AnsiStartsText(a, b);
}

bool AnsiStartsText(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size())
        return false;
    const CaseTable& t = Table();
    for (size_t i = 0; i < prefix.size(); ++i)
        if (t[static_cast<unsigned char>(text[i])] != t[static_cast<unsigned char>(prefix[i])])
            return false;
    return true;
}

std::string AsciiLower(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c + 32);
    return out;
}

std::string AsciiUpper(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 32);
    return out;
}

uint64_t Fnv1a64(std::string_view bytes) {
    uint64_t h = 1469598103934665603ull;
    for (char c : bytes) {
        h ^= static_cast<unsigned char>(c);
        h *= 1099511628211ull;
    }
    return h;
}

int HexDigitValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

std::string_view TrimSpaces(std::string_view text) {
    size_t b = 0, e = text.size();
    while (b < e && text[b] == ' ')
        ++b;
    while (e > b && text[e - 1] == ' ')
        --e;
    return text.substr(b, e - b);
}

std::string_view TrimBlanks(std::string_view text) {
    auto blank = [](char c) { return static_cast<unsigned char>(c) <= 0x20; };
    size_t b = 0, e = text.size();
    while (b < e && blank(text[b]))
        ++b;
    while (e > b && blank(text[e - 1]))
        --e;
    return text.substr(b, e - b);
}

bool ParseInt32(std::string_view text, int32_t& value) {
    size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    int base = 10;
    if (i < text.size() && text[i] == '$') {
        base = 16;
        ++i;
    }
    if (i == text.size())
        return false;
    int64_t acc = 0;
    for (; i < text.size(); ++i) {
        char c = text[i];
        int d;
        if (c >= '0' && c <= '9')
            d = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f')
            d = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F')
            d = c - 'A' + 10;
        else
            return false;
        acc = acc * base + d;
        // Hexadecimal text may spell the full 32-bit pattern ($FFFFFFFF is -1).
        const int64_t limit = base == 16 ? 0xFFFFFFFFLL : (negative ? 2147483648LL : 2147483647LL);
        if (acc > limit)
            return false;
    }
    if (base == 16) {
        auto bits = static_cast<uint32_t>(acc);
        int32_t v = static_cast<int32_t>(bits);
        value = negative ? static_cast<int32_t>(0u - bits) : v;
        return true;
    }
    value = negative ? static_cast<int32_t>(-acc) : static_cast<int32_t>(acc);
    return true;
}

} // namespace mrf
