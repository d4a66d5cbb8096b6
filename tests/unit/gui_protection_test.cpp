// Start, Suspend and Stop, the guarded tray commands and the console session changes.
#include <gtest/gtest.h>

#include "core/gui/option_keys.h"
#include "gui_test_support.h"

namespace mrf {
namespace {

using test::GuiRig;

TEST(GuiProtection, EachCommandSetsButtonsAutoModifiedAndEngine) {
    GuiRig rig;
    CommandResult r = rig.protection.Suspend();
    EXPECT_EQ(r.state, ProtectionState::Suspended);
    EXPECT_EQ(rig.store().ReadString(keys::kAuto, ""), "1");
    EXPECT_TRUE(rig.state.settingsModified);
    EXPECT_EQ(rig.folderFills, 0);

    rig.state.settingsModified = false;
    r = rig.protection.Stop();
    EXPECT_EQ(r.state, ProtectionState::Stopped);
    EXPECT_EQ(rig.store().ReadString(keys::kAuto, ""), "0");
    EXPECT_TRUE(rig.state.settingsModified);

    r = rig.protection.Start();
    EXPECT_EQ(r.state, ProtectionState::Started);
    EXPECT_EQ(rig.state.protection, ProtectionState::Started);
    EXPECT_EQ(rig.store().ReadString(keys::kAuto, ""), "1");
    EXPECT_EQ(rig.folderFills, 1);
    EXPECT_FALSE(r.error);
    EXPECT_EQ(rig.engine.calls, "--+");
}

TEST(GuiProtection, StartTwiceAppliesTheRulesAgain) {
    GuiRig rig;
    rig.protection.Start();
    rig.protection.Start();
    EXPECT_EQ(rig.engine.calls, "++");
    EXPECT_EQ(rig.folderFills, 2);
    EXPECT_EQ(rig.state.protection, ProtectionState::Started);
}

TEST(GuiProtection, AMalformedSettingLeavesTheButtonsAtTheEnginesRealState) {
    for (auto before : {ProtectionState::Stopped, ProtectionState::Suspended, ProtectionState::Started}) {
        GuiRig rig;
        rig.state.protection = before;
        rig.engine.failEnable = ApplyError{"Home_FL_Mode1", "abc"};
        CommandResult r = rig.protection.Start();
        EXPECT_EQ(r.state, before);
        EXPECT_EQ(rig.state.protection, before);
        ASSERT_TRUE(r.error);
        EXPECT_EQ(r.error->caption, "Umberlock");
        EXPECT_NE(r.error->text.find("Home_FL_Mode1"), std::string::npos) << r.error->text;
        EXPECT_NE(r.error->text.find("'abc'"), std::string::npos) << r.error->text;
    }
}

struct SessionCase {
    unsigned code;
    const char* calls; // engine calls after starting from suspended
    ProtectionState state;
};

class GuiSessionMessage : public testing::TestWithParam<SessionCase> {};

TEST_P(GuiSessionMessage, OnlyConsoleConnectAndDisconnectActAndTheModifiedFlagStays) {
    for (bool modified : {false, true}) {
        GuiRig rig;
        rig.state.protection = ProtectionState::Suspended;
        rig.state.settingsModified = modified;
        auto result = rig.protection.SessionMessage(GetParam().code);
        EXPECT_EQ(rig.engine.calls, GetParam().calls);
        EXPECT_EQ(rig.state.protection, GetParam().state);
        EXPECT_EQ(result.has_value(), *GetParam().calls != 0);
        EXPECT_EQ(rig.state.settingsModified, modified);
        EXPECT_EQ(rig.store().KeyExists(keys::kAuto), *GetParam().calls != 0);
    }
}

INSTANTIATE_TEST_SUITE_P(Gui, GuiSessionMessage,
                         testing::Values(SessionCase{0, "", ProtectionState::Suspended},
                                         SessionCase{1, "+", ProtectionState::Started},
                                         SessionCase{2, "-", ProtectionState::Suspended},
                                         SessionCase{3, "", ProtectionState::Suspended},
                                         SessionCase{4, "", ProtectionState::Suspended},
                                         SessionCase{5, "", ProtectionState::Suspended},
                                         SessionCase{6, "", ProtectionState::Suspended},
                                         SessionCase{7, "", ProtectionState::Suspended},
                                         SessionCase{8, "", ProtectionState::Suspended},
                                         SessionCase{9, "", ProtectionState::Suspended},
                                         SessionCase{10, "", ProtectionState::Suspended}),
                         [](const auto& info) { return "Code" + std::to_string(info.param.code); });

TEST(GuiProtection, SuspendThenDisconnectAndReconnectEndsStarted) {
    GuiRig rig;
    rig.protection.Suspend();
    rig.protection.SessionMessage(kConsoleDisconnect);
    rig.protection.SessionMessage(kConsoleConnect);
    EXPECT_EQ(rig.state.protection, ProtectionState::Started);
    EXPECT_EQ(rig.engine.calls, "--+");
}

// The tray's commands behind the gate: which answers let them run.
struct TrayCase {
    const char* name;
    const char* password; // nullptr: none stored
    std::vector<std::string> entries;
    bool promptOpen;
    bool runs;
};

class GuiTrayCommands : public testing::TestWithParam<TrayCase> {};

TEST_P(GuiTrayCommands, RunOnlyWhenTheGateOpens) {
    const auto& c = GetParam();
    for (int command = 0; command < 3; ++command) {
        GuiRig rig;
        if (c.password)
            rig.store().WriteString(keys::kPassword, c.password);
        rig.state.passwordPromptOpen = c.promptOpen;
        rig.state.protection = ProtectionState::Started;
        rig.prompt.entries = {c.entries.begin(), c.entries.end()};
        bool ran = false;
        if (command == 0)
            ran = rig.protection.Pause1Click().has_value();
        else if (command == 1)
            ran = rig.protection.Stop1Click().has_value();
        else
            ran = rig.protection.Exit2Click();
        EXPECT_EQ(ran, c.runs) << command;
        EXPECT_EQ(rig.engine.calls, c.runs && command < 2 ? "-" : "") << command;
        EXPECT_EQ(rig.state.protection, !c.runs || command == 2 ? ProtectionState::Started
                                        : command == 0          ? ProtectionState::Suspended
                                                                : ProtectionState::Stopped);
        EXPECT_EQ(rig.prompt.shown, c.password && !c.promptOpen ? 1 : 0);
    }
}

INSTANTIATE_TEST_SUITE_P(Gui, GuiTrayCommands,
                         testing::Values(TrayCase{"NoneStored", nullptr, {}, false, true},
                                         TrayCase{"Accepted", "pw", {"PW"}, false, true},
                                         TrayCase{"Refused", "pw", {"a", "b", "c"}, false, false},
                                         TrayCase{"Cancelled", "pw", {}, false, false},
                                         TrayCase{"BusyWithPassword", "pw", {"pw"}, true, false},
                                         TrayCase{"BusyWithout", nullptr, {}, true, false}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace mrf
