#include "win32/crypto.h"

#include <windows.h>

#include <bcrypt.h>

namespace mrf::win32 {

bool BcryptPbkdf2::Derive(std::string_view password, std::span<const uint8_t> salt, uint32_t iterations,
                          std::span<uint8_t> out) {
    BCRYPT_ALG_HANDLE alg = nullptr;
    if (!BCRYPT_SUCCESS(::BCryptOpenAlgorithmProvider(&alg, BCRYPT_SHA256_ALGORITHM, nullptr,
                                                      BCRYPT_ALG_HANDLE_HMAC_FLAG)))
        return false;
    NTSTATUS status = ::BCryptDeriveKeyPBKDF2(
        alg, reinterpret_cast<PUCHAR>(const_cast<char*>(password.data())),
        static_cast<ULONG>(password.size()), const_cast<PUCHAR>(salt.data()), static_cast<ULONG>(salt.size()),
        iterations, out.data(), static_cast<ULONG>(out.size()), 0);
    ::BCryptCloseAlgorithmProvider(alg, 0);
    return BCRYPT_SUCCESS(status);
}

bool SystemRandom::Fill(std::span<uint8_t> out) {
    return BCRYPT_SUCCESS(::BCryptGenRandom(nullptr, out.data(), static_cast<ULONG>(out.size()),
                                            BCRYPT_USE_SYSTEM_PREFERRED_RNG));
}

} // namespace mrf::win32
