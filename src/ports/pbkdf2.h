#pragma once
// Key derivation and random bytes for the administrator password.
#include <cstdint>
#include <span>
#include <string_view>

namespace mrf {

// PBKDF2 with HMAC-SHA256. Every implementation gives the same bytes for the same input.
class Pbkdf2 {
public:
    virtual ~Pbkdf2() = default;
    // Fills out (any length); false when the derivation is not available.
    virtual bool Derive(std::string_view password, std::span<const uint8_t> salt, uint32_t iterations,
                        std::span<uint8_t> out) = 0;
};

// Cryptographically strong random bytes.
class RandomSource {
public:
    virtual ~RandomSource() = default;
    virtual bool Fill(std::span<uint8_t> out) = 0;
};

} // namespace mrf
