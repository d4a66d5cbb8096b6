#include "core/gui/password_hash.h"

#include <array>
#include <vector>

#include "core/gui/sha256.h"
#include "core/text/ansi.h"

namespace mrf {
namespace {

constexpr size_t kSaltBytes = 16;
constexpr size_t kHashBytes = 32;

std::string ToHex(std::span<const uint8_t> bytes) {
    static constexpr char digits[] = "0123456789abcdef";
    std::string text;
    for (uint8_t b : bytes) {
        text += digits[b >> 4];
        text += digits[b & 15];
    }
    return text;
}

bool FromHex(std::string_view text, std::vector<uint8_t>& out) {
    if (text.empty() || text.size() % 2 != 0)
        return false;
    out.clear();
    for (size_t i = 0; i < text.size(); i += 2) {
        int hi = HexDigitValue(text[i]), lo = HexDigitValue(text[i + 1]);
        if (hi < 0 || lo < 0)
            return false;
        out.push_back(uint8_t(hi << 4 | lo));
    }
    return true;
}

struct ParsedHash {
    uint32_t iterations = 0;
    std::vector<uint8_t> salt, hash;
};

bool Parse(std::string_view stored, ParsedHash& parsed) {
    std::string_view rest = stored.substr(kPasswordMarker.size());
    size_t a = rest.find('$');
    if (a == std::string_view::npos || a == 0 || a > 8)
        return false;
    uint32_t iterations = 0;
    for (char c : rest.substr(0, a)) {
        if (c < '0' || c > '9')
            return false;
        iterations = iterations * 10 + uint32_t(c - '0');
    }
    if (iterations == 0 || iterations > kMaxPasswordIterations)
        return false;
    rest.remove_prefix(a + 1);
    size_t b = rest.find('$');
    if (b == std::string_view::npos || !FromHex(rest.substr(0, b), parsed.salt) ||
        !FromHex(rest.substr(b + 1), parsed.hash) || parsed.hash.size() != kHashBytes)
        return false;
    parsed.iterations = iterations;
    return true;
}

bool SameBytes(std::span<const uint8_t> a, std::span<const uint8_t> b) {
    if (a.size() != b.size())
        return false;
    uint8_t diff = 0;
    for (size_t i = 0; i < a.size(); ++i)
        diff |= a[i] ^ b[i];
    return diff == 0;
}

} // namespace

std::string NormalisePassword(std::string_view typed) {
    return AsciiUpper(TrimBlanks(typed));
}

bool IsHashedPassword(std::string_view stored) {
    return stored.starts_with(kPasswordMarker);
}

PasswordHasher::PasswordHasher(Pbkdf2& pbkdf2, RandomSource& random, uint32_t iterations)
    : pbkdf2_(pbkdf2), random_(random), iterations_(iterations) {}

bool PasswordHasher::Derive(std::string_view text, std::span<const uint8_t> salt, uint32_t iterations,
                            std::span<uint8_t> out) {
    if (pbkdf2_.Derive(text, salt, iterations, out))
        return true;
    return ReferencePbkdf2().Derive(text, salt, iterations, out);
}

std::optional<std::string> PasswordHasher::Hash(std::string_view typed) {
    std::array<uint8_t, kSaltBytes> salt;
    if (!random_.Fill(salt))
        return std::nullopt;
    std::array<uint8_t, kHashBytes> hash;
    if (!Derive(NormalisePassword(typed), salt, iterations_, hash))
        return std::nullopt;
    return std::string(kPasswordMarker) + std::to_string(iterations_) + "$" + ToHex(salt) + "$" + ToHex(hash);
}

bool PasswordHasher::Verify(std::string_view typed, std::string_view stored) {
    if (!IsHashedPassword(stored))
        return NormalisePassword(typed) == NormalisePassword(stored);
    ParsedHash parsed;
    if (!Parse(stored, parsed))
        return false;
    std::array<uint8_t, kHashBytes> hash;
    if (!Derive(NormalisePassword(typed), parsed.salt, parsed.iterations, hash))
        return false;
    return SameBytes(hash, parsed.hash);
}

} // namespace mrf
