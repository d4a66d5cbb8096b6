// Shortcut codes, the hot-key field's rule, the options page and the passages to and from the tray.
#include <gtest/gtest.h>

#include "core/gui/option_keys.h"
#include "gui_test_support.h"

namespace mrf {
namespace {

using test::GuiRig;
using Log = std::vector<std::string>;

TEST(GuiShortcut, ConvertsBetweenCodeControlAndRegistration) {
    EXPECT_EQ(FromShortcut(49219), (KeyCombo{'C', false, true, true}));
    EXPECT_EQ(ToShortcut({'C', false, true, true}), 49219);
    EXPECT_EQ(ToShortcut({0x70, true, false, false}), 0x2070); // Shift+F1
    for (uint16_t code : {uint16_t(49219), uint16_t(0x2070), uint16_t(0xE041), uint16_t(0)})
        EXPECT_EQ(FromHotKeyControl(ToHotKeyControl(code)), code);
    EXPECT_EQ(ToHotKeyControl(49219), 0x0643);
    EXPECT_EQ(ToHotKeyControl(0x2070), 0x0170);
    EXPECT_EQ(RegisterModifiers(49219), 3u);  // Alt | Ctrl
    EXPECT_EQ(RegisterModifiers(0x2070), 4u); // Shift
}

TEST(GuiShortcut, FieldRuleTakesBareAndShiftOnlyKeysWithCtrlAlt) {
    struct {
        uint16_t typed, taken;
    } cases[] = {
        {'C', 0xC000 | 'C'},
        {0x2000 | 'C', 0xC000 | 'C'},
        {0x4000 | 'C', 0x4000 | 'C'},
        {0x8000 | 'C', 0x8000 | 'C'},
        {0x6000 | 'C', 0x6000 | 'C'},
        {0xE000 | 'C', 0xE000 | 'C'},
        {0, 0},
    };
    for (auto c : cases)
        EXPECT_EQ(ApplyHotKeyFieldRule(c.typed), c.taken) << c.typed;
}

struct HotKeyCase {
    const char* name;
    const char* stored; // nullptr: absent
    uint16_t registered;
    uint16_t field; // with the field at 0x2070
};

class GuiHotKeySetting : public testing::TestWithParam<HotKeyCase> {};

TEST_P(GuiHotKeySetting, NotANumberCountsAsAbsent) {
    GuiRig rig;
    if (GetParam().stored)
        rig.store().WriteString(keys::kHotKey, GetParam().stored);
    EXPECT_EQ(HotKeyToRegister(rig.store()), GetParam().registered);
    EXPECT_EQ(FillOptionControls(rig.store(), 0x2070).hotKey, GetParam().field);
}

INSTANTIATE_TEST_SUITE_P(Gui, GuiHotKeySetting,
                         testing::Values(HotKeyCase{"Absent", nullptr, 49219, 0x2070},
                                         HotKeyCase{"Stored", "8257", 8257, 8257},
                                         HotKeyCase{"Hex", "$2041", 0x2041, 0x2041},
                                         HotKeyCase{"Zero", "0", 0, 0x2070},
                                         HotKeyCase{"Negative", "-5", 49219, 0x2070},
                                         HotKeyCase{"TooLarge", "70000", 49219, 0x2070},
                                         HotKeyCase{"Text", "Ctrl+C", 49219, 0x2070}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(GuiOptions, AutoReadsTheSameForThePageAndTheLogonStart) {
    for (const char* stored : {(const char*)nullptr, "1", "0", " 1 ", "yes"}) {
        GuiRig rig;
        if (stored)
            rig.store().WriteString(keys::kAuto, stored);
        const bool on = stored && std::string_view(stored).find('1') != std::string_view::npos;
        EXPECT_EQ(FillOptionControls(rig.store(), 0).autorun, on) << (stored ? stored : "absent");
        EXPECT_EQ(AutoStartOn(rig.store()), on);
        rig.startup.StartUp("/T");
        EXPECT_EQ(rig.engine.calls, on ? "+" : "");
    }
}

TEST(GuiOptions, MinimizeDefaultsOn) {
    GuiRig rig;
    EXPECT_TRUE(FillOptionControls(rig.store(), 0).mini);
    rig.store().WriteBool(keys::kMinimize, false);
    EXPECT_FALSE(FillOptionControls(rig.store(), 0).mini);
}

TEST(GuiOptions, HandlersWriteAndMarkModifiedButNotWhileFilling) {
    GuiRig rig;
    rig.state.pageFilling = true;
    MiniClick(rig.store(), rig.state, false);
    ChkNewUsersClick(rig.store(), rig.state, false);
    JvHotKey1Change(rig.store(), rig.state, 0);
    EXPECT_FALSE(rig.state.settingsModified);
    EXPECT_FALSE(rig.store().KeyExists(keys::kMinimize));
    rig.state.pageFilling = false;
    MiniClick(rig.store(), rig.state, false);
    ChkNewUsersClick(rig.store(), rig.state, true);
    JvHotKey1Change(rig.store(), rig.state, 0);
    EXPECT_TRUE(rig.state.settingsModified);
    EXPECT_EQ(rig.store().ReadString(keys::kMinimize, ""), "0");
    EXPECT_EQ(rig.store().ReadString(keys::kAuto, ""), "1");
    EXPECT_EQ(rig.store().ReadString(keys::kHotKey, ""), "0");
    EXPECT_EQ(HotKeyToRegister(rig.store()), 0) << "a cleared field gives no hot key";
    EXPECT_FALSE(HasKey(0));
}

TEST(GuiTray, HideOnceAndBackWithoutPassword) {
    GuiRig rig;
    rig.tray.HideToTray();
    rig.tray.HideToTray();
    EXPECT_EQ(rig.host.log, (Log{"ShowMainWindow off", "HideWindow", "TrayIcon on", "StartFindShell"}));
    rig.host.log.clear();
    EXPECT_TRUE(rig.tray.RestoreFromTray());
    EXPECT_EQ(rig.host.log, (Log{"ActivateApplication", "TrayIcon off", "ShowMainWindow on", "ShowWindow"}));
    EXPECT_FALSE(rig.state.inTray);
}

TEST(GuiTray, WayBackFollowsTheGate) {
    struct {
        std::vector<std::string> entries;
        bool promptOpen, back;
    } cases[] = {
        {{"pw"}, false, true}, {{"a", "b", "c"}, false, false}, {{}, false, false}, {{"pw"}, true, false}};
    for (const auto& c : cases) {
        GuiRig rig(test::Settings{{"Password", "pw"}});
        rig.tray.HideToTray();
        rig.state.passwordPromptOpen = c.promptOpen;
        rig.prompt.entries = {c.entries.begin(), c.entries.end()};
        rig.host.log.clear();
        rig.tray.ShowSettingsWindow();
        EXPECT_EQ(rig.state.inTray, !c.back);
        EXPECT_EQ(rig.host.Logged("ShowWindow"), c.back);
        EXPECT_EQ(rig.prompt.shown, c.promptOpen ? 0 : 1);
    }
}

TEST(GuiTray, FindShellTickSwitchesTheIconOnOnlyWhileInTheTray) {
    struct {
        bool inTray;
        Taskbar taskbar;
        Log log;
    } cases[] = {
        {true, Taskbar::Visible, {"StopFindShell", "TrayIcon on"}},
        {true, Taskbar::Hidden, {"StopFindShell", "StartFindShell"}},
        {true, Taskbar::Missing, {"StopFindShell"}},
        {false, Taskbar::Visible, {"StopFindShell"}},
        {false, Taskbar::Hidden, {"StopFindShell"}},
    };
    for (const auto& c : cases) {
        GuiRig rig;
        rig.state.inTray = c.inTray;
        rig.tray.FindShellTimer(c.taskbar);
        EXPECT_EQ(rig.host.log, c.log) << c.inTray << int(c.taskbar);
    }
}

} // namespace
} // namespace mrf
