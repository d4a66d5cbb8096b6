// SHA-256, HMAC and PBKDF2 against published vectors; the stored password form and its checks.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/gui/password_hash.h"
#include "core/gui/sha256.h"
#include "gui_test_support.h"

namespace mrf {
namespace {

std::string Hex(std::span<const uint8_t> bytes) {
    static constexpr char digits[] = "0123456789abcdef";
    std::string text;
    for (uint8_t b : bytes)
        text += {digits[b >> 4], digits[b & 15]};
    return text;
}

std::span<const uint8_t> Bytes(std::string_view text) {
    return {reinterpret_cast<const uint8_t*>(text.data()), text.size()};
}

struct DigestCase {
    const char* name;
    std::string input;
    const char* digest;
};

class GuiSha256 : public testing::TestWithParam<DigestCase> {};

TEST_P(GuiSha256, WholeAndInOddChunksGiveThePublishedDigest) {
    const auto& c = GetParam();
    Sha256 whole;
    whole.Update(c.input);
    EXPECT_EQ(Hex(whole.Finish()), c.digest);
    // Chunks of 7 and 61 bytes cross the 64-byte block boundary at every offset.
    Sha256 chunked;
    for (size_t i = 0, n = 7; i < c.input.size(); i += n, n = n == 7 ? 61 : 7)
        chunked.Update(std::string_view(c.input).substr(i, n));
    EXPECT_EQ(Hex(chunked.Finish()), c.digest);
}

INSTANTIATE_TEST_SUITE_P(
    Gui, GuiSha256,
    testing::Values(
        DigestCase{"Empty", "", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
        DigestCase{"Abc", "abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        DigestCase{"TwoBlocks", "abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
                   "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
        DigestCase{"MillionA", std::string(1000000, 'a'),
                   "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(GuiHmacSha256, MatchesTheRfc4231Cases) {
    EXPECT_EQ(Hex(HmacSha256(std::vector<uint8_t>(20, 0x0b), Bytes("Hi There"))),
              "b0344c61d8db38535ca8afceaf0bf12b881dc200c9833da726e9376c2e32cff7");
    EXPECT_EQ(Hex(HmacSha256(Bytes("Jefe"), Bytes("what do ya want for nothing?"))),
              "5bdcc146bf60754e6a042426089575c75a003f089d2739839dec58b964ec3843");
    // A key longer than a block is hashed first.
    EXPECT_EQ(Hex(HmacSha256(std::vector<uint8_t>(131, 0xaa),
                             Bytes("Test Using Larger Than Block-Size Key - Hash Key First"))),
              "60e431591ee0b67f0d8a26aacbf5b77f8e0bc6213728c5140546040f0ee37f54");
}

TEST(GuiPbkdf2, MatchesTheRfc7914Vectors) {
    ReferencePbkdf2 pbkdf2;
    std::vector<uint8_t> out(64); // two blocks
    ASSERT_TRUE(pbkdf2.Derive("passwd", Bytes("salt"), 1, out));
    EXPECT_EQ(Hex(out), "55ac046e56e3089fec1691c22544b605f94185216dde0465e68b9d57c20dacbc"
                        "49ca9cccf179b645991664b39d77ef317c71b845b1e30bd509112041d3a19783");
    ASSERT_TRUE(pbkdf2.Derive("Password", Bytes("NaCl"), 80000, out));
    EXPECT_EQ(Hex(out), "4ddcd8f60b98be21830cee5ef22701f9641a4418d04c0414aeff08876b34ab56"
                        "a1d425a1225833549adb841b51c9b3176a272bdebba1d078478f62b397f33c8d");
    EXPECT_FALSE(pbkdf2.Derive("x", Bytes("salt"), 0, out));
}

class GuiPasswordHash : public testing::Test {
protected:
    ReferencePbkdf2 pbkdf2;
    test::CountingRandom random;
    PasswordHasher hasher{pbkdf2, random, 1000};
};

TEST_F(GuiPasswordHash, StoresMarkedSaltedHashOfTheNormalisedText) {
    std::string stored = hasher.Hash("  secret ").value();
    // Salt 01..10 from the counting source; the hash is PBKDF2 over "SECRET".
    std::vector<uint8_t> salt;
    for (uint8_t i = 1; i <= 16; ++i)
        salt.push_back(i);
    std::vector<uint8_t> hash(32);
    ASSERT_TRUE(ReferencePbkdf2().Derive("SECRET", salt, 1000, hash));
    EXPECT_EQ(stored, "$pbkdf2-sha256$1000$" + Hex(salt) + "$" + Hex(hash));
    EXPECT_EQ(stored.find("secret"), std::string::npos);
    EXPECT_NE(hasher.Hash("secret").value(), stored) << "a new salt for every definition";
}

struct VerifyCase {
    const char* name;
    const char* defined; // hashed when defined; nullptr uses plain
    const char* plain;   // a plain stored value from an older file
    const char* typed;
    bool accepted;
};

class GuiPasswordVerify : public GuiPasswordHash, public testing::WithParamInterface<VerifyCase> {};

TEST_P(GuiPasswordVerify, AcceptsOnlyTheSamePasswordUpToCaseAndBlanks) {
    const auto& c = GetParam();
    std::string stored = c.defined ? hasher.Hash(c.defined).value() : c.plain;
    EXPECT_EQ(hasher.Verify(c.typed, stored), c.accepted);
}

INSTANTIATE_TEST_SUITE_P(
    Gui, GuiPasswordVerify,
    testing::Values(VerifyCase{"HashedSame", "Secret", nullptr, "Secret", true},
                    VerifyCase{"HashedOtherCase", "Secret", nullptr, "sECRET", true},
                    VerifyCase{"HashedBlanksDefined", " Secret  ", nullptr, "secret", true},
                    VerifyCase{"HashedBlanksTyped", "Secret", nullptr, "\tsecret ", true},
                    VerifyCase{"HashedInnerBlankCounts", "se cret", nullptr, "secret", false},
                    VerifyCase{"HashedWrong", "Secret", nullptr, "Secrets", false},
                    // Only a to z fold: accented letters must match exactly.
                    VerifyCase{"HashedAccentFoldsNot", "caf\xe9", nullptr, "CAF\xc9", false},
                    VerifyCase{"HashedAccentExact", "caf\xe9", nullptr, "CAF\xe9", true},
                    VerifyCase{"PlainOtherCase", nullptr, "Secret", "SECRET", true},
                    VerifyCase{"PlainWrong", nullptr, "Secret", "Secre", false},
                    VerifyCase{"PlainDigitsExact", nullptr, "a1!", "A1!", true},
                    // A damaged marked value matches nothing, not even its own text.
                    VerifyCase{"MarkedBadHex", nullptr, "$pbkdf2-sha256$1000$zz$00",
                               "$pbkdf2-sha256$1000$zz$00", false},
                    VerifyCase{"MarkedNoCount", nullptr, "$pbkdf2-sha256$$0102$00", "x", false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(GuiPasswordHash, HonoursTheStoredIterationCountAndRefusesHugeOnes) {
    PasswordHasher otherCount(pbkdf2, random, 7);
    std::string stored = hasher.Hash("pw").value();
    EXPECT_TRUE(otherCount.Verify("PW", stored));
    // The same value with a count beyond the limit would stall the prompt; it is refused.
    std::string huge = stored;
    huge.replace(kPasswordMarker.size(), 4, "99999999");
    EXPECT_FALSE(hasher.Verify("pw", huge));
}

// Counts above a million are refused before any derivation: no password matches them.
TEST_F(GuiPasswordHash, IterationCountsAboveAMillionFailClosed) {
    struct Recording : Pbkdf2 {
        std::vector<uint32_t> counts;
        bool Derive(std::string_view, std::span<const uint8_t>, uint32_t iterations,
                    std::span<uint8_t> out) override {
            counts.push_back(iterations);
            std::fill(out.begin(), out.end(), uint8_t(0));
            return true;
        }
    } recording;
    PasswordHasher checker(recording, random, 1000);
    const std::string zeroHash(64, '0');
    auto stored = [&](const char* count) {
        return "$pbkdf2-sha256$" + std::string(count) + "$0102$" + zeroHash;
    };
    EXPECT_TRUE(checker.Verify("pw", stored("1000000")));
    EXPECT_FALSE(checker.Verify("pw", stored("1000001")));
    EXPECT_FALSE(checker.Verify("pw", stored("10000000")));
    EXPECT_EQ(recording.counts, std::vector<uint32_t>{1000000});
}

TEST_F(GuiPasswordHash, FallsBackToTheReferenceWhenThePortFailsAndNeedsASalt) {
    test::FailingPbkdf2 failing;
    PasswordHasher withFailingPort(failing, random, 1000);
    std::string stored = withFailingPort.Hash("pw").value();
    EXPECT_GT(failing.calls, 0);
    EXPECT_TRUE(hasher.Verify("pw", stored)) << "the fallback gives the same bytes";
    EXPECT_TRUE(withFailingPort.Verify("pw", stored));
    random.fail = true;
    EXPECT_EQ(hasher.Hash("pw"), std::nullopt);
}

} // namespace
} // namespace mrf
