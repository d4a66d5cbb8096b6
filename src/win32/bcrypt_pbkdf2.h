#pragma once
// PBKDF2-HMAC-SHA256 and random bytes from the system's BCrypt, loaded at run time so the program
// still starts where bcrypt.dll is missing (the core then uses its own derivation).
#include "ports/pbkdf2.h"
#include "win32/handles.h"

namespace mrf::win32 {

class BcryptPbkdf2 : public Pbkdf2, public RandomSource {
public:
    BcryptPbkdf2();
    BcryptPbkdf2(const BcryptPbkdf2&) = delete;
    BcryptPbkdf2& operator=(const BcryptPbkdf2&) = delete;
    ~BcryptPbkdf2() override;

    bool Available() const { return derive_ != nullptr; }
    bool Derive(std::string_view password, std::span<const uint8_t> salt, uint32_t iterations,
                std::span<uint8_t> out) override;
    bool Fill(std::span<uint8_t> out) override;

private:
    using OpenFn = LONG(WINAPI*)(void**, const wchar_t*, const wchar_t*, ULONG);
    using CloseFn = LONG(WINAPI*)(void*, ULONG);
    using DeriveFn = LONG(WINAPI*)(void*, PUCHAR, ULONG, PUCHAR, ULONG, ULONGLONG, PUCHAR, ULONG, ULONG);
    using RandomFn = LONG(WINAPI*)(void*, PUCHAR, ULONG, ULONG);

    unique_hmodule library_;
    CloseFn close_ = nullptr;
    DeriveFn derive_ = nullptr;
    RandomFn random_ = nullptr;
    void* hmac_ = nullptr; // SHA-256 provider opened for HMAC
};

} // namespace mrf::win32
