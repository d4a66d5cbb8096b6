#pragma once
// The stored form of the administrator password:
//   "$pbkdf2-sha256$<iterations>$<salt, 32 hex digits>$<hash, 64 hex digits>"
// over the normalised text (blanks dropped at both ends, a to z upper-cased). A value without the
// marker is an older plain password, accepted until the password is next defined.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "ports/pbkdf2.h"

namespace mrf {

inline constexpr std::string_view kPasswordMarker = "$pbkdf2-sha256$";
inline constexpr uint32_t kPasswordIterations = 200000;
// A stored count above this is refused (no password matches), so a damaged or planted value cannot
// stall every prompt attempt.
inline constexpr uint32_t kMaxPasswordIterations = 1000000;

// Trims blanks at both ends and upper-cases a to z.
std::string NormalisePassword(std::string_view typed);
bool IsHashedPassword(std::string_view stored);

// Hashes and checks passwords; falls back to the reference derivation when the given one fails.
class PasswordHasher {
public:
    PasswordHasher(Pbkdf2& pbkdf2, RandomSource& random, uint32_t iterations = kPasswordIterations);

    // The value to store for a typed password; nullopt when no random salt could be had.
    std::optional<std::string> Hash(std::string_view typed);
    // The typed text matches the stored value (hashed, or plain from an older file). A marked value
    // that does not parse matches nothing.
    bool Verify(std::string_view typed, std::string_view stored);

private:
    bool Derive(std::string_view text, std::span<const uint8_t> salt, uint32_t iterations,
                std::span<uint8_t> out);
    Pbkdf2& pbkdf2_;
    RandomSource& random_;
    uint32_t iterations_;
};

} // namespace mrf
