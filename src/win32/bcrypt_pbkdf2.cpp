#include "win32/bcrypt_pbkdf2.h"

#include <vector>

namespace mrf::win32 {
namespace {
constexpr ULONG kAlgHandleHmacFlag = 0x00000008;
constexpr ULONG kUseSystemPreferredRng = 0x00000002;

template <typename Fn> Fn Lookup(HMODULE module, const char* name) {
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
}
} // namespace

BcryptPbkdf2::BcryptPbkdf2() : library_(::LoadLibraryA("bcrypt.dll")) {
    if (!library_)
        return;
    auto open = Lookup<OpenFn>(library_.get(), "BCryptOpenAlgorithmProvider");
    close_ = Lookup<CloseFn>(library_.get(), "BCryptCloseAlgorithmProvider");
    auto derive = Lookup<DeriveFn>(library_.get(), "BCryptDeriveKeyPBKDF2");
    random_ = Lookup<RandomFn>(library_.get(), "BCryptGenRandom");
    if (open && close_ && derive && open(&hmac_, L"SHA256", nullptr, kAlgHandleHmacFlag) >= 0)
        derive_ = derive;
}

BcryptPbkdf2::~BcryptPbkdf2() {
    if (hmac_ && close_)
        close_(hmac_, 0);
}

bool BcryptPbkdf2::Derive(std::string_view password, std::span<const uint8_t> salt, uint32_t iterations,
                          std::span<uint8_t> out) {
    if (!derive_ || iterations == 0)
        return false;
    // The API takes non-const buffers it does not write.
    std::vector<UCHAR> pw(password.begin(), password.end());
    std::vector<UCHAR> s(salt.begin(), salt.end());
    return derive_(hmac_, pw.empty() ? nullptr : pw.data(), ULONG(pw.size()), s.empty() ? nullptr : s.data(),
                   ULONG(s.size()), iterations, out.data(), ULONG(out.size()), 0) >= 0;
}

bool BcryptPbkdf2::Fill(std::span<uint8_t> out) {
    return random_ && random_(nullptr, out.data(), ULONG(out.size()), kUseSystemPreferredRng) >= 0;
}

} // namespace mrf::win32
