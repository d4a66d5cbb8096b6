// The system's PBKDF2 gives the same bytes as the core's own (run under Wine).
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "core/gui/password_hash.h"
#include "core/gui/sha256.h"
#include "win32/bcrypt_pbkdf2.h"

namespace mrf::win32 {
namespace {

TEST(GuiBcryptPbkdf2, SameBytesAsTheReference) {
    BcryptPbkdf2 system;
    ASSERT_TRUE(system.Available());
    ReferencePbkdf2 reference;
    const std::vector<uint8_t> salt = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
    for (std::string_view password :
         {"", "SECRET", "A LONG PASSWORD OF MORE THAN SIXTY-FOUR CHARACTERS, WHICH HMAC HASHES"}) {
        for (uint32_t iterations : {1u, 2u, 1000u}) {
            std::vector<uint8_t> a(40), b(40); // more than one block
            ASSERT_TRUE(system.Derive(password, salt, iterations, a));
            ASSERT_TRUE(reference.Derive(password, salt, iterations, b));
            EXPECT_EQ(a, b) << password << " " << iterations;
        }
    }
}

TEST(GuiBcryptPbkdf2, RandomSaltsDifferAndHashesVerifyAcrossImplementations) {
    BcryptPbkdf2 system;
    ReferencePbkdf2 reference;
    PasswordHasher withSystem(system, system, 1000);
    PasswordHasher withReference(reference, system, 1000);
    std::string first = withSystem.Hash("pw").value();
    EXPECT_NE(first, withSystem.Hash("pw").value());
    EXPECT_TRUE(withReference.Verify("PW", first));
}

} // namespace
} // namespace mrf::win32
