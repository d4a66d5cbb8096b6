// The start-up sequence over every first argument, the uninstall path and a second start.
#include <gtest/gtest.h>

#include "core/gui/option_keys.h"
#include "gui_test_support.h"

namespace mrf {
namespace {

using test::GuiRig;
using Log = std::vector<std::string>;

TEST(GuiStartupPaths, FolderAndExtension) {
    EXPECT_EQ(FolderOf("C:\\Prog\\mrf.exe"), "C:\\Prog\\");
    EXPECT_EQ(ChangeExtension("C:\\Prog\\mrf.exe", ".dat"), "C:\\Prog\\mrf.dat");
    EXPECT_EQ(ChangeExtension("C:\\a.b\\mrf", ".dat"), "C:\\a.b\\mrf.dat");
}

// One start-up configuration. Each dimension is a set of letters; a row covers every combination.
//   auto: a absent, 1 "1", 0 "0"   mini: a absent, 0 "0"   password: N none, R right, W wrong
//   family: N NT, 9 Windows 9x
struct Row {
    const char* arg;
    const char* autos;
    const char* minis;
    const char* passwords;
    const char* families;
    int prompts;
    const char* engine; // "+" rules on, "-" off
    enum End { Ends, Tray, Window } end;
    bool uninstall;
};

constexpr const char* kAll = nullptr;
const Row kRows[] = {
    {"", kAll, kAll, "N", kAll, 0, "+", Row::Window, false},
    {"", kAll, kAll, "R", kAll, 1, "+", Row::Window, false},
    {"", kAll, kAll, "W", kAll, 1, "", Row::Ends, false},
    {"/T", "a0", kAll, kAll, "N", 0, "", Row::Ends, false},
    {"/T", "1", "a", kAll, "N", 0, "+", Row::Tray, false},
    {"/T", "1", "0", kAll, "N", 0, "+", Row::Ends, false},
    {"/T", kAll, "a", kAll, "9", 0, "+", Row::Tray, false},
    {"/T", kAll, "0", kAll, "9", 0, "+", Row::Ends, false},
    {"/S", kAll, kAll, kAll, kAll, 0, "+", Row::Ends, false},
    {"/D", kAll, kAll, "N", kAll, 0, "-", Row::Ends, false},
    {"/D", kAll, kAll, "R", kAll, 2, "-", Row::Ends, false},
    {"/D", kAll, kAll, "W", kAll, 1, "", Row::Ends, false},
    {"/U", kAll, kAll, "N", kAll, 0, "-", Row::Ends, true},
    {"/U", kAll, kAll, "R", kAll, 1, "-", Row::Ends, true},
    {"/U", kAll, kAll, "W", kAll, 1, "", Row::Ends, false},
    {"/I", kAll, kAll, kAll, kAll, 0, "", Row::Ends, false},
    {"/t", kAll, kAll, kAll, kAll, 0, "", Row::Ends, false},
    {"-T", kAll, kAll, kAll, kAll, 0, "", Row::Ends, false},
    {"x", kAll, kAll, kAll, kAll, 0, "", Row::Ends, false},
};

struct Config {
    std::string arg;
    char autoValue, mini, password, family;
};

bool Covers(const char* set, char value) {
    return set == kAll || std::string_view(set).find(value) != std::string_view::npos;
}

std::vector<Config> AllConfigs() {
    std::vector<Config> configs;
    for (const char* arg : {"", "/T", "/S", "/D", "/U", "/I", "/t", "-T", "x"})
        for (char a : std::string_view("a10"))
            for (char m : std::string_view("a0"))
                for (char p : std::string_view("NRW"))
                    for (char f : std::string_view("N9"))
                        configs.push_back({arg, a, m, p, f});
    return configs;
}

std::string ConfigName(const testing::TestParamInfo<Config>& info) {
    const Config& c = info.param;
    std::string arg = c.arg.empty() ? "None" : c.arg == "/t" ? "LowerT" : c.arg == "-T" ? "DashT" : c.arg;
    std::erase(arg, '/');
    return arg + "_Auto" + c.autoValue + "_Mini" + c.mini + "_Pw" + c.password +
           (c.family == 'N' ? "_NT" : "_9x");
}

class GuiStartupTable : public testing::TestWithParam<Config> {};

TEST_P(GuiStartupTable, ActsOnTheFirstArgument) {
    const Config& c = GetParam();
    const Row* row = nullptr;
    for (const Row& r : kRows)
        if (c.arg == r.arg && Covers(r.autos, c.autoValue) && Covers(r.minis, c.mini) &&
            Covers(r.passwords, c.password) && Covers(r.families, c.family)) {
            ASSERT_EQ(row, nullptr) << "two rows cover this configuration";
            row = &r;
        }
    ASSERT_NE(row, nullptr) << "no row covers this configuration";

    GuiRig rig;
    rig.host.nt = c.family == 'N';
    if (c.autoValue != 'a')
        rig.store().WriteString(keys::kAuto, std::string(1, c.autoValue));
    if (c.mini != 'a')
        rig.store().WriteString(keys::kMinimize, "0");
    if (c.password != 'N')
        rig.store().WriteString(keys::kPassword, *rig.hasher.Hash("Secret"));
    if (c.password == 'R')
        rig.prompt.entries = {"secret", "SECRET"};
    if (c.password == 'W')
        rig.prompt.entries = {"a", "b", "c", "d", "e", "f"};
    rig.host.files = {"C:\\Prog\\unins000.exe"};

    rig.startup.StartUp(c.arg);

    const Log& log = rig.host.log;
    EXPECT_EQ(rig.prompt.shown, row->prompts);
    EXPECT_EQ(rig.engine.calls, row->engine);
    EXPECT_EQ(rig.host.Logged("StartProgram C:\\Prog\\ulksrv.exe /un"), row->uninstall);
    EXPECT_EQ(rig.host.Logged("StartProgram C:\\Prog\\unins000.exe"), row->uninstall);
    EXPECT_EQ(rig.host.Logged("Terminate"), row->end == Row::Ends);
    EXPECT_EQ(rig.host.Logged("TrayIcon on"), row->end == Row::Tray);
    EXPECT_EQ(rig.host.Logged("RestoreAndBringToFront"), row->end == Row::Window);
    EXPECT_EQ(rig.state.inTray, row->end == Row::Tray);
    if (row->end == Row::Ends) {
        EXPECT_EQ(log.back(), "Terminate") << "nothing happens after the end is asked for";
    } else {
        EXPECT_EQ(log.back(), "EnableUpdateTimer");
        EXPECT_FALSE(rig.state.settingsModified) << "the start-up's own Auto write is no change";
    }
    EXPECT_FALSE(rig.host.Logged("ShowWindow")) << "only the way back from the tray shows the window";
}

INSTANTIATE_TEST_SUITE_P(Gui, GuiStartupTable, testing::ValuesIn(AllConfigs()), ConfigName);

TEST(GuiStartup, StartWithoutArgumentInOrder) {
    GuiRig rig;
    rig.startup.StartUp("");
    EXPECT_EQ(rig.host.log,
              (Log{"EnablePrivileges", "Grant C:\\Prog\\mrf.dat", "Grant C:\\Prog\\ulk.ini",
                   "RegisterSessionNotify", "StartSkins", "InstallSessionHook", "ApplyHotKey 49219",
                   "RefreshPages", "Engine on", "ShowMainWindow on", "RestoreAndBringToFront",
                   "SetHelpFile C:\\Prog\\Help\\ulk.chm", "EnableUpdateTimer"}));
    EXPECT_TRUE(rig.state.sessionNotify);
    EXPECT_EQ(rig.state.protection, ProtectionState::Started);
}

TEST(GuiStartup, LogonRunOn9xWithoutSessionNoticesInOrder) {
    GuiRig rig;
    rig.host.nt = false;
    rig.host.registers = false;
    rig.store().WriteString(keys::kHotKey, "not a number");
    rig.startup.StartUp("/T");
    EXPECT_EQ(rig.host.log,
              (Log{"RegisterSessionNotify", "StartSkins", "ApplyHotKey 49219", "RefreshPages", "Engine on",
                   "ShowMainWindow off", "HideWindow", "TrayIcon on", "StartFindShell",
                   "SetHelpFile C:\\Prog\\Help\\ulk.chm", "EnableUpdateTimer"}));
    EXPECT_FALSE(rig.state.sessionNotify);
}

TEST(GuiStartup, UninstallInOrderAndWithoutUninstaller) {
    for (bool uninstaller : {true, false}) {
        GuiRig rig({{"HotKey", "0"}, {"Password", "pw"}});
        rig.prompt.entries = {"pw"};
        if (uninstaller)
            rig.host.files = {"C:\\Prog\\unins000.exe"};
        rig.startup.StartUp("/U");
        Log expected = {"EnablePrivileges",
                        "Grant C:\\Prog\\mrf.dat",
                        "Grant C:\\Prog\\ulk.ini",
                        "RegisterSessionNotify",
                        "StartSkins",
                        "InstallSessionHook",
                        "Prompt",
                        "ApplyHotKey 0",
                        "Prompt",
                        "Engine off",
                        "Wait 500",
                        "StartProgram C:\\Prog\\ulksrv.exe /un",
                        "Wait 2000"};
        if (uninstaller)
            expected.push_back("StartProgram C:\\Prog\\unins000.exe");
        expected.push_back("Terminate");
        // "/U" asks at the uninstall path only; the start-up gate is for no argument and "/D".
        expected.erase(std::find(expected.begin(), expected.end(), "Prompt"));
        EXPECT_EQ(rig.host.log, expected);
        EXPECT_EQ(rig.store().ReadString(keys::kAuto, ""), "0");
    }
}

TEST(GuiStartup, LogonRunKeepsAMalformedSettingsMessageForTheNextOpening) {
    GuiRig rig({{"Auto", "1"}, {"Minimize", "1"}});
    rig.engine.failEnable = ApplyError{"Home_FL_Mode1", "x"};
    rig.startup.StartUp("/T");
    EXPECT_FALSE(rig.host.Logged("Terminate")) << "stays in the tray to tell the fault";
    EXPECT_TRUE(rig.state.inTray);
    EXPECT_EQ(rig.host.log.end(),
              std::find_if(rig.host.log.begin(), rig.host.log.end(),
                           [](const std::string& e) { return e.starts_with("Message"); }));
    ASSERT_TRUE(rig.state.pendingMessage);
    const std::string message = "Message Umberlock: " + rig.state.pendingMessage->text;
    EXPECT_NE(message.find("Home_FL_Mode1"), std::string::npos);

    rig.host.log.clear();
    rig.tray.ShowSettingsWindow();
    EXPECT_EQ(rig.host.log,
              (Log{"ActivateApplication", "TrayIcon off", "ShowMainWindow on", "ShowWindow", message}));
    rig.tray.HideToTray();
    rig.host.log.clear();
    rig.tray.ShowSettingsWindow();
    EXPECT_FALSE(rig.host.Logged(message)) << "told once";
}

TEST(GuiStartup, LogonRunWithoutMinimizeEndsWithoutAMessageAlsoOnAMalformedSetting) {
    GuiRig rig({{"Auto", "1"}, {"Minimize", "0"}});
    rig.engine.failEnable = ApplyError{"Home_FL_Mode1", "x"};
    rig.startup.StartUp("/T");
    EXPECT_EQ(rig.host.log.back(), "Terminate");
    EXPECT_FALSE(rig.state.inTray);
    EXPECT_EQ(rig.host.log.end(),
              std::find_if(rig.host.log.begin(), rig.host.log.end(),
                           [](const std::string& e) { return e.starts_with("Message"); }));
}

// A run that ends in the start-up registers neither the session notices nor the hot key: both
// would be dropped again at once, and they need a window that such a run never creates.
TEST(GuiStartup, OnlyRunsThatWaitRegisterForMessages) {
    struct Case {
        const char* arg;
        const char* autoValue;
        const char* mini;
        bool waits;
    };
    const Case cases[] = {{"", "1", "1", true},    {"/D", "1", "1", true},  {"/U", "1", "1", true},
                          {"/T", "1", "1", true},  {"/T", "1", "0", false}, {"/T", "0", "1", false},
                          {"/S", "1", "1", false}, {"/I", "1", "1", false}, {"/t", "1", "1", false}};
    for (const Case& c : cases) {
        GuiRig rig({{"Auto", c.autoValue}, {"Minimize", c.mini}});
        rig.startup.StartUp(c.arg);
        const std::string name = std::string("'") + c.arg + "' Auto=" + c.autoValue + " Minimize=" + c.mini;
        EXPECT_EQ(rig.host.Logged("RegisterSessionNotify"), c.waits) << name;
        EXPECT_EQ(rig.host.Logged("ApplyHotKey 49219"), c.waits) << name;
        EXPECT_EQ(EndsWithoutWindow(c.arg, true, rig.store()), !c.waits) << name;
    }
}

TEST(GuiStartup, OtherRunsShowAMalformedSettingsMessageAtOnce) {
    for (const char* arg : {"", "/S"}) {
        GuiRig rig;
        rig.engine.failEnable = ApplyError{"Home_FL_Mode1", "x"};
        rig.startup.StartUp(arg);
        auto message = std::find_if(rig.host.log.begin(), rig.host.log.end(), [](const std::string& e) {
            return e.starts_with("Message Umberlock: ");
        });
        ASSERT_NE(message, rig.host.log.end()) << arg;
        EXPECT_EQ(*(message - 1), *arg ? "RefreshPages" : "RestoreAndBringToFront") << arg;
        EXPECT_EQ(rig.state.protection, ProtectionState::Stopped);
        EXPECT_FALSE(rig.state.pendingMessage);
    }
}

TEST(GuiSecondStart, UninstallHandedOverWhileAPromptIsOpenDoesNothing) {
    for (bool password : {false, true}) {
        GuiRig rig;
        if (password)
            rig.store().WriteString(keys::kPassword, "pw");
        rig.state.passwordPromptOpen = true;
        rig.startup.CmdLineReceived({"/U", "more"});
        EXPECT_FALSE(rig.startup.UninstallProgram());
        EXPECT_TRUE(rig.host.log.empty()) << password;
    }
}

TEST(GuiSecondStart, UninstallRunsBehindThePassword) {
    GuiRig rig(test::Settings{{"Password", "pw"}});
    rig.prompt.entries = {"a", "b", "c"};
    rig.startup.CmdLineReceived({"/U"});
    EXPECT_EQ(rig.host.log, (Log{"Prompt", "Terminate"})) << "refused: the program ends, nothing removed";

    rig.host.log.clear();
    rig.prompt.entries = {"PW"};
    rig.startup.CmdLineReceived({"/U"});
    EXPECT_EQ(rig.host.log, (Log{"Prompt", "Engine off", "Wait 500", "StartProgram C:\\Prog\\ulksrv.exe /un",
                                 "Wait 2000", "Terminate"}));
}

TEST(GuiUninstall, WithoutElevationTheServiceProgramIsStartedAsAdministrator) {
    GuiRig rig;
    rig.host.elevated = false;
    rig.host.files = {"C:\\Prog\\unins000.exe"};
    rig.startup.CmdLineReceived({"/U"});
    EXPECT_EQ(rig.host.log,
              (Log{"Engine off", "Wait 500", "StartProgramAsAdministrator C:\\Prog\\ulksrv.exe /un",
                   "Wait 2000", "StartProgram C:\\Prog\\unins000.exe", "Terminate"}));
}

TEST(GuiSecondStart, WithoutArgumentsGoesThroughTheSettingsWindow) {
    GuiRig rig(test::Settings{{"Password", "pw"}});
    rig.startup.CmdLineReceived({});
    EXPECT_EQ(rig.host.log, (Log{"RestoreAndBringToFront"})) << "visible: brought forward";

    rig.tray.HideToTray();
    rig.host.log.clear();
    rig.startup.CmdLineReceived({});
    EXPECT_EQ(rig.host.log, (Log{"ActivateApplication", "Prompt"})) << "in the tray: the password applies";
    EXPECT_TRUE(rig.state.inTray);

    rig.host.log.clear();
    rig.startup.CmdLineReceived({"/T"});
    rig.startup.CmdLineReceived({"/u"});
    EXPECT_TRUE(rig.host.log.empty());
}

} // namespace
} // namespace mrf
