#include "core/gui/sha256.h"

#include <cstring>

namespace mrf {
namespace {

constexpr std::array<uint32_t, 64> kRound = {
    0x428a2f98, 0x71374491, 0xb5c0fbcf, 0xe9b5dba5, 0x3956c25b, 0x59f111f1, 0x923f82a4, 0xab1c5ed5,
    0xd807aa98, 0x12835b01, 0x243185be, 0x550c7dc3, 0x72be5d74, 0x80deb1fe, 0x9bdc06a7, 0xc19bf174,
    0xe49b69c1, 0xefbe4786, 0x0fc19dc6, 0x240ca1cc, 0x2de92c6f, 0x4a7484aa, 0x5cb0a9dc, 0x76f988da,
    0x983e5152, 0xa831c66d, 0xb00327c8, 0xbf597fc7, 0xc6e00bf3, 0xd5a79147, 0x06ca6351, 0x14292967,
    0x27b70a85, 0x2e1b2138, 0x4d2c6dfc, 0x53380d13, 0x650a7354, 0x766a0abb, 0x81c2c92e, 0x92722c85,
    0xa2bfe8a1, 0xa81a664b, 0xc24b8b70, 0xc76c51a3, 0xd192e819, 0xd6990624, 0xf40e3585, 0x106aa070,
    0x19a4c116, 0x1e376c08, 0x2748774c, 0x34b0bcb5, 0x391c0cb3, 0x4ed8aa4a, 0x5b9cca4f, 0x682e6ff3,
    0x748f82ee, 0x78a5636f, 0x84c87814, 0x8cc70208, 0x90befffa, 0xa4506ceb, 0xbef9a3f7, 0xc67178f2};

constexpr uint32_t Rotr(uint32_t x, int n) {
    return (x >> n) | (x << (32 - n));
}

} // namespace

Sha256::Sha256()
    : h_{0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a, 0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19} {}

void Sha256::Block(const uint8_t* p) {
    uint32_t w[64];
    for (int i = 0; i < 16; ++i)
        w[i] = uint32_t(p[4 * i]) << 24 | uint32_t(p[4 * i + 1]) << 16 | uint32_t(p[4 * i + 2]) << 8 |
               uint32_t(p[4 * i + 3]);
    for (int i = 16; i < 64; ++i) {
        uint32_t s0 = Rotr(w[i - 15], 7) ^ Rotr(w[i - 15], 18) ^ (w[i - 15] >> 3);
        uint32_t s1 = Rotr(w[i - 2], 17) ^ Rotr(w[i - 2], 19) ^ (w[i - 2] >> 10);
        w[i] = w[i - 16] + s0 + w[i - 7] + s1;
    }
    uint32_t a = h_[0], b = h_[1], c = h_[2], d = h_[3], e = h_[4], f = h_[5], g = h_[6], h = h_[7];
    for (int i = 0; i < 64; ++i) {
        uint32_t t1 = h + (Rotr(e, 6) ^ Rotr(e, 11) ^ Rotr(e, 25)) + ((e & f) ^ (~e & g)) + kRound[i] + w[i];
        uint32_t t2 = (Rotr(a, 2) ^ Rotr(a, 13) ^ Rotr(a, 22)) + ((a & b) ^ (a & c) ^ (b & c));
        h = g;
        g = f;
        f = e;
        e = d + t1;
        d = c;
        c = b;
        b = a;
        a = t1 + t2;
    }
    h_[0] += a;
    h_[1] += b;
    h_[2] += c;
    h_[3] += d;
    h_[4] += e;
    h_[5] += f;
    h_[6] += g;
    h_[7] += h;
}

void Sha256::Update(std::span<const uint8_t> data) {
    if (data.empty())
        return; // an empty span may hold a null pointer, which memcpy must not be given
    length_ += data.size();
    size_t i = 0;
    if (buffered_ > 0) {
        size_t take = std::min(data.size(), buffer_.size() - buffered_);
        std::memcpy(buffer_.data() + buffered_, data.data(), take);
        buffered_ += take;
        i = take;
        if (buffered_ < buffer_.size())
            return;
        Block(buffer_.data());
        buffered_ = 0;
    }
    for (; i + 64 <= data.size(); i += 64)
        Block(data.data() + i);
    std::memcpy(buffer_.data(), data.data() + i, data.size() - i);
    buffered_ = data.size() - i;
}

void Sha256::Update(std::string_view data) {
    Update(std::span(reinterpret_cast<const uint8_t*>(data.data()), data.size()));
}

Sha256Digest Sha256::Finish() {
    const uint64_t bits = length_ * 8;
    uint8_t pad[72] = {0x80};
    size_t padLength = (buffered_ < 56 ? 56 : 120) - buffered_;
    for (int i = 0; i < 8; ++i)
        pad[padLength + i] = uint8_t(bits >> (56 - 8 * i));
    Update(std::span<const uint8_t>(pad, padLength + 8));
    Sha256Digest out;
    for (int i = 0; i < 8; ++i)
        for (int j = 0; j < 4; ++j)
            out[4 * i + j] = uint8_t(h_[i] >> (24 - 8 * j));
    return out;
}

namespace {

// HMAC with the key's inner and outer states computed once, as PBKDF2 needs thousands of them.
class Hmac {
public:
    explicit Hmac(std::span<const uint8_t> key) {
        std::array<uint8_t, 64> block{};
        if (key.size() > block.size()) {
            Sha256 digest;
            digest.Update(key);
            auto hashed = digest.Finish();
            std::memcpy(block.data(), hashed.data(), hashed.size());
        } else if (!key.empty()) {
            std::memcpy(block.data(), key.data(), key.size());
        }
        std::array<uint8_t, 64> pad;
        for (size_t i = 0; i < pad.size(); ++i)
            pad[i] = block[i] ^ 0x36;
        inner_.Update(pad);
        for (size_t i = 0; i < pad.size(); ++i)
            pad[i] = block[i] ^ 0x5c;
        outer_.Update(pad);
    }
    Sha256Digest Mac(std::span<const uint8_t> a, std::span<const uint8_t> b = {}) const {
        Sha256 inner = inner_;
        inner.Update(a);
        inner.Update(b);
        auto innerDigest = inner.Finish();
        Sha256 outer = outer_;
        outer.Update(innerDigest);
        return outer.Finish();
    }

private:
    Sha256 inner_, outer_;
};

} // namespace

Sha256Digest HmacSha256(std::span<const uint8_t> key, std::span<const uint8_t> data) {
    return Hmac(key).Mac(data);
}

bool ReferencePbkdf2::Derive(std::string_view password, std::span<const uint8_t> salt, uint32_t iterations,
                             std::span<uint8_t> out) {
    if (iterations == 0)
        return false;
    Hmac mac(std::span(reinterpret_cast<const uint8_t*>(password.data()), password.size()));
    for (uint32_t block = 1, done = 0; done < out.size(); ++block) {
        const uint8_t index[4] = {uint8_t(block >> 24), uint8_t(block >> 16), uint8_t(block >> 8),
                                  uint8_t(block)};
        Sha256Digest u = mac.Mac(salt, index);
        Sha256Digest t = u;
        for (uint32_t i = 1; i < iterations; ++i) {
            u = mac.Mac(u);
            for (size_t j = 0; j < t.size(); ++j)
                t[j] ^= u[j];
        }
        size_t take = std::min(t.size(), out.size() - done);
        std::memcpy(out.data() + done, t.data(), take);
        done += take;
    }
    return true;
}

} // namespace mrf
