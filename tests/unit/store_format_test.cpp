// The settings file's bytes: scrambling, line cutting and the tolerant reader.
#include <gtest/gtest.h>

#include "core/store/encriptor.h"
#include "core/store/scramble.h"
#include "fakes/memory_file_system.h"

namespace mrf {
namespace {

std::vector<std::string> FileLines(const std::string& content) {
    return SplitLines(content);
}

TEST(Scramble, HandComputedBytes) {
    // 'A' ^ A7 = E6 -> "E6"; "E6" -> 'E'^A7=E2, '6'^A7=91 -> "E291"; offsets 0,1,2,3.
    EXPECT_EQ(Scramble("A"), "E3;4\r\n");
    EXPECT_EQ(Unscramble("E3;4\r\n"), "A");
}

struct LengthCase {
    size_t plainBytes;
    std::vector<size_t> lineLengths;
};

class ScrambleLength : public testing::TestWithParam<LengthCase> {};

TEST_P(ScrambleLength, FourCharactersPerByteInLinesOf80) {
    const auto& c = GetParam();
    std::string plain(c.plainBytes, 'x');
    std::string file = Scramble(plain);
    std::vector<size_t> lengths;
    for (const auto& line : FileLines(file))
        lengths.push_back(line.size());
    EXPECT_EQ(lengths, c.lineLengths);
    for (char ch : file)
        EXPECT_TRUE((ch >= '0' && ch <= 'O') || ch == '\r' || ch == '\n') << int(ch);
    EXPECT_EQ(Unscramble(file), plain);
}

INSTANTIATE_TEST_SUITE_P(Lengths, ScrambleLength,
                         testing::Values(LengthCase{0, {}}, LengthCase{1, {4}}, LengthCase{20, {80}},
                                         LengthCase{21, {80, 4}}, LengthCase{40, {80, 80}},
                                         LengthCase{41, {80, 80, 4}}),
                         [](const auto& info) { return "bytes" + std::to_string(info.param.plainBytes); });

TEST(Scramble, AllByteValuesRoundTrip) {
    std::string plain;
    for (int i = 0; i < 256; ++i)
        plain.push_back(static_cast<char>(i));
    EXPECT_EQ(Unscramble(Scramble(plain)), plain);
}

TEST(Scramble, OffsetsRunOverTheWholeTextNotPerLine) {
    // 21 bytes: the second line starts at position 80, whose offset is 0 again, but the text
    // must be read as one run; recutting the lines at other lengths reads the same.
    std::string plain = "Admins_FL_Count=12\r\n!";
    std::string file = Scramble(plain);
    std::string joined;
    for (const auto& line : FileLines(file))
        joined += line;
    std::string recut;
    for (size_t i = 0; i < joined.size(); i += 7)
        recut += joined.substr(i, 7) + "\n\n";
    EXPECT_EQ(Unscramble(recut), plain);
}

TEST(Scramble, ForeignTextNeverFails) {
    // Pairs that are no hex number count as 0, which unscrambles to 0 ^ A7 twice over.
    // "zzzz" less offsets 0..3 is "zyxw": two bad pairs give A7 A7, itself one bad pair: A7.
    EXPECT_EQ(Unscramble("zzzz\r\n"), "\xA7");
    // "84;5" less offsets is "8392", which is "$5"; a pair with the "$" marker is read as it
    // stands, so "$5" is 5, and 5 ^ A7 = A2.
    EXPECT_EQ(Unscramble("84;5"), "\xA2");
    EXPECT_NO_THROW(Unscramble("\x01\xff=\r\r\n$$$"));
}

// The strict check the admin tool applies before it overwrites a file.
TEST(Scramble, OnlyWhatScrambleWritesIsScrambledText) {
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    const std::string good = Scramble(all);
    EXPECT_TRUE(IsScrambledText(good));
    EXPECT_TRUE(IsScrambledText(""));
    std::string recut = good;
    recut.insert(13, "\n\r\n"); // line breaks anywhere do not count
    EXPECT_TRUE(IsScrambledText(recut));
    EXPECT_FALSE(IsScrambledText(good.substr(0, good.size() - 3))) << "a length that does not decode";
    EXPECT_FALSE(IsScrambledText("root:x:0:0:root:/root:/bin/bash\n"));
    EXPECT_FALSE(IsScrambledText("zzzz"));
    std::string lower = good;
    lower[0] = 'a'; // outside the alphabet
    EXPECT_FALSE(IsScrambledText(lower));
    EXPECT_FALSE(IsScrambledText("0000")); // less offsets "0/.-": no hex digits
    // Hex digits less offsets ("0000"), but the pair 00 gives A7, no hex digit of the first stage.
    EXPECT_FALSE(IsScrambledText("0123"));
}

TEST(SplitLines, BreaksAtEveryKindOfLineEnd) {
    EXPECT_EQ(SplitLines("a\r\nb\rc\nd\r\n"), (std::vector<std::string>{"a", "b", "c", "d"}));
    EXPECT_EQ(SplitLines("a\n\nb"), (std::vector<std::string>{"a", "", "b"}));
    EXPECT_EQ(SplitLines(""), std::vector<std::string>{});
}

TEST(StoreFile, MissingFileIsCreatedWithTheSentinelAlone) {
    test::MemoryFileSystem fs;
    TEncriptor store("mrf.dat", fs);
    EXPECT_EQ(store.Lines(), std::vector<std::string>{std::string(kSentinel) + "=" + std::string(kSentinel)});
    EXPECT_EQ(store.ReadString(kSentinel, "none"), kSentinel);
    EXPECT_FALSE(store.Modified());
    ASSERT_EQ(fs.files.count("mrf.dat"), 1u);
    EXPECT_EQ(fs.files["mrf.dat"], Scramble(std::string(kSentinel) + "=" + std::string(kSentinel) + "\r\n"));
    EXPECT_EQ(kSentinel.size(), 33u);
}

TEST(StoreFile, EmptyFileGivesAnEmptyListAndAnEmptyListAnEmptyFile) {
    test::MemoryFileSystem fs;
    fs.files["mrf.dat"] = "";
    TEncriptor store("mrf.dat", fs);
    EXPECT_EQ(store.Count(), 0u);
    store.WriteString("Auto", "1");
    // The first line is where the sentinel normally stands: ReadBool reads it as absent.
    EXPECT_FALSE(store.ReadBool("Auto", false));
    EXPECT_TRUE(store.ReadBool("Auto", true));
    store.WriteString("Auto", "");
    store.SaveIfModified(false);
    EXPECT_EQ(fs.files["mrf.dat"], "");
}

TEST(StoreFile, RoundTripKeepsEveryLineButReadsTrimValues) {
    const std::vector<std::string> lines = {"#S=#S",     "Empty=",    "Eq=a=b==c", "Spaced=  x y  ",
                                            "NoEquals",  "=no name",  "Tab=\tx\t", "Umlaut\xe4=\xc4\xd6",
                                            "Dup=first", "dup=second"};
    test::MemoryFileSystem fs;
    fs.files["mrf.dat"] = "";
    {
        TEncriptor store("mrf.dat", fs);
        store.ReplaceLines(lines);
        EXPECT_TRUE(store.SaveIfModified(false));
    }
    TEncriptor back("mrf.dat", fs);
    EXPECT_EQ(back.Lines(), lines);
    EXPECT_EQ(back.ReadString("spaced", ""), "x y");
    EXPECT_EQ(back.ReadString("Eq", ""), "a=b==c");
    EXPECT_EQ(back.ReadString("Tab", ""), "\tx\t"); // only spaces are trimmed
    EXPECT_EQ(back.ReadString("DUP", ""), "first");
    EXPECT_EQ(back.ReadString("UMLAUT\xc4", ""), "\xc4\xd6"); // ANSI letter case
    EXPECT_FALSE(back.KeyExists("NoEquals"));
}

TEST(StoreFile, ForcedSaveRewritesTheWholeFile) {
    test::MemoryFileSystem fs;
    TEncriptor store("mrf.dat", fs);
    EXPECT_FALSE(store.SaveIfModified(false));
    fs.files["mrf.dat"] = "garbage that is not what the list holds";
    EXPECT_FALSE(store.SaveIfModified(false));
    EXPECT_EQ(fs.files["mrf.dat"], "garbage that is not what the list holds");
    fs.files["mrf.dat"] = Scramble("A=1\r\n");
    EXPECT_TRUE(store.SaveIfModified(true));
    EXPECT_EQ(fs.files["mrf.dat"], Scramble("A=1\r\n"));
}

} // namespace
} // namespace mrf
