#pragma once
// The system's cryptography (BCrypt) behind the password ports.
#include "ports/pbkdf2.h"

namespace mrf::win32 {

class BcryptPbkdf2 : public Pbkdf2 {
public:
    bool Derive(std::string_view password, std::span<const uint8_t> salt, uint32_t iterations,
                std::span<uint8_t> out) override;
};

class SystemRandom : public RandomSource {
public:
    bool Fill(std::span<uint8_t> out) override;
};

} // namespace mrf::win32
