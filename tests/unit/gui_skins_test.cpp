// Skin files, the skin list, the choice at start-up and in the dialog, and the about box's texts.
#include <gtest/gtest.h>

#include "core/gui/about.h"
#include "core/gui/skins.h"
#include "engine_test_support.h"

namespace mrf {
namespace {

constexpr std::string_view kGoodSkin = "# night\n"
                                       "window = #101820\r\n"
                                       "Text=#F0F0F0\n"
                                       "  control =#202830  \n"
                                       "; a comment\n"
                                       "\n"
                                       "selection=#FFCC00\n"
                                       "accent=#00A0FF\n"
                                       "font = Segoe UI, 10\n"
                                       "future = whatever\n";

TEST(SkinFile, ReadsColoursFontAndDefaults) {
    auto skin = ParseSkin("Night", kGoodSkin);
    ASSERT_TRUE(skin);
    EXPECT_EQ(skin->name, "Night");
    EXPECT_EQ(skin->window, (Rgb{0x10, 0x18, 0x20}));
    EXPECT_EQ(skin->text, (Rgb{0xF0, 0xF0, 0xF0}));
    EXPECT_EQ(skin->control, (Rgb{0x20, 0x28, 0x30}));
    EXPECT_EQ(skin->controlText, skin->text);
    EXPECT_EQ(skin->selection, (Rgb{0xFF, 0xCC, 0x00}));
    EXPECT_EQ(skin->selectionText, (Rgb{0, 0, 0})); // black reads on yellow
    EXPECT_EQ(skin->accent, (Rgb{0x00, 0xA0, 0xFF}));
    EXPECT_EQ(skin->fontFace, "Segoe UI");
    EXPECT_EQ(skin->fontPoints, 10);

    auto withOptional =
        ParseSkin("x", std::string(kGoodSkin) + "controltext=#010203\nSELECTIONTEXT=#FFFFFF\n");
    ASSERT_TRUE(withOptional);
    EXPECT_EQ(withOptional->controlText, (Rgb{1, 2, 3}));
    EXPECT_EQ(withOptional->selectionText, (Rgb{255, 255, 255}));
}

struct MalformedCase {
    const char* name;
    std::string change; // appended to the good file, or "-key" to drop that key's line
};

std::string Malformed(const MalformedCase& c) {
    std::string text(kGoodSkin);
    if (c.change.starts_with("-")) {
        const size_t at = text.find(c.change.substr(1));
        text.erase(at, text.find('\n', at) + 1 - at);
        return text;
    }
    return text + c.change;
}

class SkinFileMalformed : public testing::TestWithParam<MalformedCase> {};

TEST_P(SkinFileMalformed, IsRefusedWithAReason) {
    std::string why;
    EXPECT_FALSE(ParseSkin("x", Malformed(GetParam()), &why));
    EXPECT_FALSE(why.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Skin, SkinFileMalformed,
    testing::Values(MalformedCase{"MissingWindow", "-window"}, MalformedCase{"MissingFont", "-font"},
                    MalformedCase{"MissingAccent", "-accent"}, MalformedCase{"Twice", "WINDOW=#000000\n"},
                    MalformedCase{"NoEquals", "window #000000\n"},
                    MalformedCase{"ShortColour", "controltext=#FFF\n"},
                    MalformedCase{"NoHash", "selectiontext=FFFFFF\n"},
                    MalformedCase{"NotHex", "controltext=#GG0000\n"},
                    MalformedCase{"Nul", std::string("\0", 1)},
                    MalformedCase{"TooLarge", "#" + std::string(kMaxSkinFileSize, 'x') + "\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SkinFile, FontMustBeFaceAndSensibleSize) {
    std::string base(kGoodSkin);
    base.erase(base.find("font ="), base.find('\n', base.find("font =")) + 1 - base.find("font ="));
    for (const char* font : {"Tahoma", "Tahoma, ", ", 8", "Tahoma, 5", "Tahoma, 37", "Tahoma, 8pt",
                             "Tahoma, -8", "A very long face name of 32 chars, 8"})
        EXPECT_FALSE(ParseSkin("x", base + "font=" + font + "\n")) << font;
    for (const char* font : {"Tahoma,6", "MS Shell Dlg 2, 36"})
        EXPECT_TRUE(ParseSkin("x", base + "font=" + font + "\n")) << font;
}

TEST(SkinSet, ListsBuiltInsAndGoodFilesSortedAndSkipsTheRest) {
    SkinSet set({{"Night", std::string(kGoodSkin)},
                 {"broken", "window=#000000\n"},
                 {"night", std::string(kGoodSkin)},               // same name as Night
                 {"wmp 2008 (INTERNAL)", std::string(kGoodSkin)}, // a built-in's name
                 {"Aqua", std::string(kGoodSkin)}});
    EXPECT_EQ(set.Names(), (std::vector<std::string>{"Aqua", "Night", std::string(kDarkSkinName),
                                                     std::string(kLightSkinName)}));
    EXPECT_EQ(set.Skipped().size(), 3u);
    EXPECT_EQ(set.Find("NIGHT").window, (Rgb{0x10, 0x18, 0x20}));
    EXPECT_EQ(set.Find("wmp 2008 (internal)").name, kLightSkinName);
    EXPECT_EQ(set.Find("Gone").name, kLightSkinName); // a skin that no longer exists
}

TEST(SkinSet, BuiltInsComeDarkThenLight) {
    ASSERT_EQ(BuiltInSkins().size(), 2u);
    EXPECT_EQ(BuiltInSkins()[0].name, kDarkSkinName);
    EXPECT_EQ(BuiltInSkins()[1].name, kLightSkinName);
    EXPECT_EQ(ReadableOn(BuiltInSkins()[0].window), (Rgb{255, 255, 255}));
    EXPECT_EQ(ReadableOn(BuiltInSkins()[1].window), (Rgb{0, 0, 0}));
}

TEST(SkinChoice, StartUpTakesSkinNameOrTheLightSkin) {
    test::StoreFixture none;
    EXPECT_EQ(SkinNameAtStartUp(none.store()), kLightSkinName);
    test::StoreFixture gone(test::Settings{{"SkinName", "Gone"}});
    EXPECT_EQ(SkinNameAtStartUp(gone.store()), "Gone"); // handed on as it is
}

TEST(SkinChoice, DialogSelectsTheCurrentSkinOrOffersNone) {
    const std::vector<std::string> names{"Aqua", "Night", std::string(kLightSkinName)};
    EXPECT_EQ(SkinDialogEntries(names, "night").selected, 1);
    EXPECT_EQ(SkinDialogEntries(names, "Gone").selected, -1);
    auto none = SkinDialogEntries({}, "Night");
    EXPECT_EQ(none.entries, (std::vector<std::string>{"No skins available"}));
    EXPECT_EQ(none.selected, 0);

    test::StoreFixture fixture;
    MainState state;
    ChooseSkin(fixture.store(), state, none.entries[0]);
    EXPECT_EQ(fixture.store().ReadString("SkinName", ""), "No skins available");
    EXPECT_TRUE(state.settingsModified);
}

TEST(AboutVersion, FormatsTheProductVersion) {
    EXPECT_EQ(FormatVersion(0x00040002, 0x00010001), "4.2.1.1");
    EXPECT_EQ(FormatVersion(0xFFFF0000, 0x0000FFFF), "65535.0.0.65535");
    EXPECT_EQ(AboutVersionLine("4.2.1.1"), "Version 4.2 (Build 4.2.1.1)");
    EXPECT_EQ(AboutVersionLine(std::string(kNoVersion)), "Version 0.0 (Build 0.0.0.0)");
    EXPECT_EQ(MajorMinor("12"), "12");
    EXPECT_EQ(SupportMailLink(), "mailto:support@marrowfold.example");
}

} // namespace
} // namespace mrf
