#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "core/engine/reference/access_check.h"
#include "core/engine/reference/engine_config.h"
#include "core/engine/reference/engine_state.h"
#include "core/engine/reference/entry_text.h"
#include "core/engine/reference/reference_engine.h"
#include "core/engine/reference/vexcheck_tool.h"
#include "fakes/memory_file_system.h"

namespace mrf {
namespace {

struct MatchCase {
    const char* name;
    std::string pattern, text;
    bool matches;
};

class Wildcards : public ::testing::TestWithParam<MatchCase> {};

TEST_P(Wildcards, CoverTheWholeText) {
    EXPECT_EQ(WildcardMatch(GetParam().pattern, GetParam().text), GetParam().matches);
}

INSTANTIATE_TEST_SUITE_P(
    Table, Wildcards,
    ::testing::Values(MatchCase{"Exact", "C:\\Data", "C:\\Data", true},
                      MatchCase{"LetterCaseIgnored", "c:\\DATA\\*.DOC", "C:\\data\\Report.doc", true},
                      MatchCase{"AnsiLetterCaseIgnored", "C:\\\xC9t\xE9*", "c:\\\xE9T\xC9\\x", true},
                      MatchCase{"StarCrossesBackslashes", "C:\\Data*", "C:\\Data\\Sub\\a.txt", true},
                      MatchCase{"StarMatchesNothing", "C:\\Data*", "C:\\Data", true},
                      MatchCase{"FolderStarAlsoCoversSiblingPrefix", "C:\\Data*", "C:\\Database\\x", true},
                      MatchCase{"PrefixIsNotEnough", "C:\\Data", "C:\\Data\\a", false},
                      MatchCase{"SuffixMustMatch", "*.doc", "C:\\a.docx", false},
                      MatchCase{"BacktracksAfterPartialMatch", "*ab*cd", "xabyabzcd", true},
                      MatchCase{"SeveralStarsInARow", "C:\\**\\*.txt", "C:\\x\\y.txt", true},
                      MatchCase{"QuestionMarkIsLiteral", "a?c", "abc", false},
                      MatchCase{"EmptyPatternMatchesOnlyEmpty", "", "a", false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(MatchesList, BareNamesMatchTheFileNameAndPathsTheWholePath) {
    EXPECT_TRUE(MatchesList("mrf.exe;ulksrv.exe", "C:\\Program Files\\Marrowfold\\ulksrv.exe"));
    EXPECT_TRUE(MatchesList(";;*explorer.exe;", "C:\\Windows\\explorer.exe"));
    EXPECT_FALSE(MatchesList("mrf.exe", "C:\\Tools\\notmrf.exe"));
    EXPECT_TRUE(MatchesList("C:\\Tools\\*", "C:\\Tools\\a.exe"));
    EXPECT_FALSE(MatchesList("C:\\Tools\\*", "D:\\Tools\\a.exe"));
    EXPECT_FALSE(MatchesList("", "C:\\a.exe"));
}

const std::string kShell = "*explorer.exe;*rundll32.exe";

EngineState Active() {
    return {true,
            {
                {1, "C:\\Docs\\*.doc", "ExcludeFiles", "*", "mrf.exe;ulksrv.exe"},
                {10, "C:\\Docs", "ExcludeFiles", "*", "mrf.exe;ulksrv.exe"},
                {2, "C:\\Secret*", "*.pub;C:\\Secret\\keep\\*", "*", "C:\\Admin\\*"},
                {2, "*timedate.cpl", "ExcludeFiles", kShell, "mrf.exe;ulksrv.exe"},
                {1, "C:\\App\\*", "ExcludeFiles", "*", "mrf.exe;ulksrv.exe"},
                {7, "C:\\Odd*", "ExcludeFiles", "*", ""},
            }};
}

struct AccessCase {
    const char* name;
    std::string process, path;
    Access access;
    int deciding; // -1: allowed
};

class AccessModel : public ::testing::TestWithParam<AccessCase> {};

TEST_P(AccessModel, Decides) {
    const AccessDecision d = CheckAccess(Active(), GetParam().process, GetParam().path, GetParam().access);
    EXPECT_EQ(d.allowed, GetParam().deciding < 0);
    EXPECT_EQ(d.entry, GetParam().deciding);
}

const std::string kWord = "C:\\Office\\winword.exe";

INSTANTIATE_TEST_SUITE_P(
    Table, AccessModel,
    ::testing::Values(
        AccessCase{"ReadOnlyAllowsRead", kWord, "C:\\Docs\\a.doc", Access::Read, -1},
        AccessCase{"ReadOnlyAllowsList", kWord, "C:\\Docs\\a.doc", Access::List, -1},
        AccessCase{"ReadOnlyDeniesWrite", kWord, "C:\\Docs\\a.doc", Access::Write, 0},
        AccessCase{"OtherFilesOfTheFolderAreFree", kWord, "C:\\Docs\\a.txt", Access::Write, -1},
        AccessCase{"DirectoryEntryDeniesDeleteOfTheFolder", kWord, "C:\\Docs", Access::Write, 1},
        AccessCase{"DirectoryEntryWithTrailingBackslash", kWord, "C:\\Docs\\", Access::Write, 1},
        AccessCase{"DirectoryEntryAllowsListing", kWord, "C:\\Docs", Access::List, -1},
        AccessCase{"DefaultExemptProgramMayWrite", "C:\\Program Files\\Marrowfold\\mrf.exe",
                   "C:\\Docs\\a.doc", Access::Write, -1},
        AccessCase{"HiddenDeniesRead", kWord, "C:\\Secret\\plan.txt", Access::Read, 2},
        AccessCase{"HiddenIsNotListed", kWord, "C:\\Secret", Access::List, 2},
        AccessCase{"ExcludedFileByName", kWord, "C:\\Secret\\key.pub", Access::Read, -1},
        AccessCase{"ExcludedFileByPath", kWord, "C:\\Secret\\keep\\a.txt", Access::Read, -1},
        AccessCase{"ExemptProcessByPath", "C:\\Admin\\tool.exe", "C:\\Secret\\plan.txt", Access::Read, -1},
        AccessCase{"SwitchHitsOnlyItsProcesses", "C:\\Windows\\explorer.exe",
                   "C:\\Windows\\system32\\timedate.cpl", Access::Read, 3},
        AccessCase{"SwitchSparesOtherProcesses", kWord, "C:\\Windows\\system32\\timedate.cpl", Access::Read,
                   -1},
        AccessCase{"UnknownModeDeniesNothing", kWord, "C:\\Odd\\x", Access::Write, -1},
        AccessCase{"ProgramFolderReadOnly", kWord, "C:\\App\\mrf.dat", Access::Write, 4}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(AccessModel, EverythingIsAllowedWhileOff) {
    EngineState state = Active();
    state.enforcing = false;
    EXPECT_TRUE(CheckAccess(state, kWord, "C:\\Secret\\plan.txt", Access::Read).allowed);
}

TEST(EngineState, RoundTripsEveryByte) {
    EngineState state{true,
                      {{2, "C:\\a\tb%41\r\n", "ExcludeFiles", "*", "x.exe"}, {-5, "", "", "", "\xFF\x01%"}}};
    const std::string text = FormatState(state);
    EXPECT_EQ(text.find("a\tb"), std::string::npos);
    EngineState back;
    std::string error;
    ASSERT_TRUE(ParseState(text, back, error)) << error;
    EXPECT_TRUE(back.enforcing);
    EXPECT_EQ(back.entries, state.entries);
}

TEST(EngineState, EmptyIsOffAndGarbageIsRefused) {
    EngineState state;
    std::string error;
    EXPECT_TRUE(ParseState("", state, error));
    EXPECT_FALSE(state.enforcing);
    EXPECT_FALSE(ParseState("vexcore-state\t1\r\nenforcing\t1\r\nentry\t1\tonly-two\r\n", state, error));
    EXPECT_EQ(error, "line 3 is not part of an engine state");
    EXPECT_FALSE(ParseState("something else\r\n", state, error));
    EXPECT_FALSE(ParseState("vexcore-state\t1\r\n", state, error));
}

class RecordingStorage : public EngineStorage {
public:
    bool driver = true;
    bool saveFails = false;
    std::vector<std::string> log;
    std::vector<std::string> saved;
    bool SaveState(const std::string& text, std::string& error) override {
        if (saveFails) {
            error = "access denied";
            return false;
        }
        saved.push_back(text);
        return true;
    }
    void Log(const std::string& line) override { log.push_back(line); }
    bool DriverRegistered() override { return driver; }
};

EngineState Parsed(const std::string& text) {
    EngineState state;
    std::string error;
    EXPECT_TRUE(ParseState(text, state, error)) << error;
    return state;
}

TEST(ReferenceEngine, OnReplacesTheActiveSetAsAWholeAndOffClearsIt) {
    RecordingStorage storage;
    ReferenceEngine engine(storage);
    const EngineEntry a{1, "C:\\A*", "ExcludeFiles", "*", "mrf.exe"},
        b{2, "C:\\B*", "ExcludeFiles", "*", "mrf.exe"};
    EXPECT_TRUE(engine.CheckDriver());
    engine.SetSecurity(false);
    engine.AddEntry(a);
    engine.AddEntry(b);
    engine.SetSecurity(true);
    engine.SetSecurity(false);
    engine.AddEntry(b);
    engine.SetSecurity(true);
    ASSERT_EQ(storage.saved.size(), 4u);
    EXPECT_FALSE(Parsed(storage.saved[0]).enforcing);
    EXPECT_EQ(Parsed(storage.saved[1]).entries, (std::vector<EngineEntry>{a, b}));
    EXPECT_TRUE(Parsed(storage.saved[2]).entries.empty());
    EXPECT_EQ(Parsed(storage.saved[3]).entries, std::vector<EngineEntry>{b});
    EXPECT_EQ(storage.log,
              (std::vector<std::string>{"CheckDriver\t1", "SetSecurity\t0", "AddEntry\t" + FormatEntry(a),
                                        "AddEntry\t" + FormatEntry(b), "SetSecurity\t1", "SetSecurity\t0",
                                        "AddEntry\t" + FormatEntry(b), "SetSecurity\t1"}));
}

TEST(ReferenceEngine, AFailedSaveIsLoggedAndTheDriverCheckReportsAbsence) {
    RecordingStorage storage;
    storage.driver = false;
    storage.saveFails = true;
    ReferenceEngine engine(storage);
    EXPECT_FALSE(engine.CheckDriver());
    engine.SetSecurity(true);
    EXPECT_EQ(storage.log, (std::vector<std::string>{"CheckDriver\t0", "SetSecurity\t1",
                                                     "# state not saved: access denied"}));
}

TEST(EngineConfig, ResolvesRelativePathsFromTheLibraryFolder) {
    const EngineConfig none =
        ParseEngineConfig("", "C:\\App\\", "C:\\ProgramData\\Marrowfold\\vexcore.state");
    EXPECT_EQ(none.statePath, "C:\\ProgramData\\Marrowfold\\vexcore.state");
    EXPECT_EQ(none.logPath, "");
    const EngineConfig set =
        ParseEngineConfig("; test setup\r\n STATE = state.txt \r\nlog=D:\\logs\\calls.log\r\nlog-x=1\r\n",
                          "C:\\App\\", "C:\\default");
    EXPECT_EQ(set.statePath, "C:\\App\\state.txt");
    EXPECT_EQ(set.logPath, "D:\\logs\\calls.log");
}

struct Vexcheck {
    test::MemoryFileSystem files;
    std::ostringstream out, err;
    int Run(std::vector<std::string> args) {
        out.str("");
        err.str("");
        return RunVexcheck(args, "state", out, err, files);
    }
    // The Windows build ends lines with CR LF.
    std::string Out() const {
        std::string text = out.str();
        std::erase(text, '\r');
        return text;
    }
};

TEST(VexcheckTool, ChecksAndListsTheActiveSet) {
    Vexcheck tool;
    tool.files.files["state"] = FormatState(Active());
    EXPECT_EQ(tool.Run({kWord, "C:\\Docs\\a.doc", "write"}), 1);
    EXPECT_EQ(tool.Out(), "denied by entry 0:\t" + FormatEntry(Active().entries[0]) + "\n");
    EXPECT_EQ(tool.Run({kWord, "C:\\Docs\\a.doc"}), 0);
    EXPECT_EQ(tool.Out(), "allowed\n");
    EXPECT_EQ(tool.Run({"list"}), 0);
    EXPECT_EQ(tool.Out().substr(0, 16), "enforcement: on\n");
    EXPECT_NE(tool.Out().find("\n5\t7\tC:\\Odd*\t"), std::string::npos);
}

TEST(VexcheckTool, StateOptionMissingStateAndErrors) {
    Vexcheck tool;
    tool.files.files["other"] = "garbage";
    EXPECT_EQ(tool.Run({"--state", "missing", kWord, "C:\\x"}), 0);
    EXPECT_EQ(tool.Out(), "allowed (enforcement is off)\n");
    EXPECT_EQ(tool.Run({"--state", "other", "list"}), 3);
    EXPECT_NE(tool.err.str().find("line 1"), std::string::npos);
    EXPECT_EQ(tool.Run({kWord, "C:\\x", "execute"}), 2);
    EXPECT_EQ(tool.Run({}), 2);
}

} // namespace
} // namespace mrf
