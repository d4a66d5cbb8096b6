#pragma once
// SHA-256, HMAC-SHA256 and PBKDF2-HMAC-SHA256 in portable code.
#include <array>
#include <cstdint>
#include <span>
#include <string_view>

#include "ports/pbkdf2.h"

namespace mrf {

using Sha256Digest = std::array<uint8_t, 32>;

class Sha256 {
public:
    Sha256();
    void Update(std::span<const uint8_t> data);
    void Update(std::string_view data);
    Sha256Digest Finish();

private:
    void Block(const uint8_t* block);
    std::array<uint32_t, 8> h_;
    std::array<uint8_t, 64> buffer_{};
    size_t buffered_ = 0;
    uint64_t length_ = 0;
};

Sha256Digest HmacSha256(std::span<const uint8_t> key, std::span<const uint8_t> data);

// The reference derivation; always available.
class ReferencePbkdf2 : public Pbkdf2 {
public:
    bool Derive(std::string_view password, std::span<const uint8_t> salt, uint32_t iterations,
                std::span<uint8_t> out) override;
};

} // namespace mrf
