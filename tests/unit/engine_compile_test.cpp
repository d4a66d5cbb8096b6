#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "core/engine/compile.h"
#include "engine_test_support.h"

namespace mrf {

void PrintTo(const EngineEntry& e, std::ostream* os) {
    *os << "{" << e.mode << ", \"" << e.path << "\", \"" << e.excludeFiles << "\", \"" << e.processes
        << "\", \"" << e.excludeProcesses << "\"}";
}

namespace {

using test::Settings;
using test::StoreFixture;

const std::string X = "ExcludeFiles";
const std::string D = "mrf.exe;ulksrv.exe";

CompileInput Input(std::string folder = "") {
    return {"K", DefaultProcessList("mrf.exe"), std::move(folder)};
}

// Folder entries only: the date-and-time switch is turned off and there is no program folder.
std::vector<EngineEntry> CompileFolders(Settings settings) {
    settings.push_back({"K_NoSystemTime", "0"});
    StoreFixture fx(settings);
    return CompileRules(fx.store(), Input());
}

struct FolderCase {
    const char* name;
    Settings settings;
    std::vector<EngineEntry> expected;
};

class FolderEntries : public ::testing::TestWithParam<FolderCase> {};

TEST_P(FolderEntries, Compile) {
    EXPECT_EQ(CompileFolders(GetParam().settings), GetParam().expected);
}

Settings One(Settings fields) {
    fields.insert(fields.begin(), {"K_FL_Count", "1"});
    return fields;
}

const std::string kLong300(300, 'p');

INSTANTIATE_TEST_SUITE_P(
    Table, FolderEntries,
    ::testing::Values(
        FolderCase{"WholeFolderWithFinalBackslash",
                   One({{"K_FL_0_folder", "C:\\Data\\"}, {"K_FL_0_mode", "2"}, {"K_FL_0_mask", "*"}}),
                   {{2, "C:\\Data*", X, "*", D}}},
        FolderCase{"WholeFolderWithoutBackslash",
                   One({{"K_FL_0_folder", "C:\\Data"}, {"K_FL_0_mode", "1"}}),
                   {{1, "C:\\Data*", X, "*", D}}},
        FolderCase{"DefaultsForMissingKeys", One({{"K_FL_0_folder", "D:\\x"}}), {{0, "D:\\x*", X, "*", D}}},
        FolderCase{"BlankMaskIsWholeFolder",
                   One({{"K_FL_0_folder", "C:\\Data"}, {"K_FL_0_mask", "   "}}),
                   {{0, "C:\\Data*", X, "*", D}}},
        FolderCase{"SingleMaskAddsDirectoryEntry",
                   One({{"K_FL_0_folder", "C:\\Data\\"}, {"K_FL_0_mode", "1"}, {"K_FL_0_mask", "*.doc"}}),
                   {{1, "C:\\Data\\*.doc", X, "*", D}, {10, "C:\\Data", X, "*", D}}},
        FolderCase{
            "SingleMaskBeginningWithBackslashNamesSubfolder",
            One({{"K_FL_0_folder", "C:\\Data"}, {"K_FL_0_mode", "2"}, {"K_FL_0_mask", "\\Sub\\*.txt"}}),
            {{2, "C:\\Data\\Sub\\*.txt", X, "*", D}, {10, "C:\\Data\\Sub", X, "*", D}}},
        FolderCase{"SingleMaskOnDriveRootKeepsRootBackslash",
                   One({{"K_FL_0_folder", "C:\\"}, {"K_FL_0_mode", "1"}, {"K_FL_0_mask", "*.ini"}}),
                   {{1, "C:\\*.ini", X, "*", D}, {10, "C:\\", X, "*", D}}},
        FolderCase{"OwnValuesReplaceDefaultsButNotInDirectoryEntry",
                   One({{"K_FL_0_folder", "C:\\Data"},
                        {"K_FL_0_mode", "1"},
                        {"K_FL_0_mask", "*.doc"},
                        {"K_FL_0_proc", "*winword.exe"},
                        {"K_FL_0_exlfiles", "~*.doc"},
                        {"K_FL_0_exlproc", "*backup.exe"}}),
                   {{1, "C:\\Data\\*.doc", "~*.doc", "*winword.exe", "*backup.exe"},
                    {10, "C:\\Data", X, "*winword.exe", "*backup.exe"}}},
        FolderCase{
            "SeveralMasksDropEmptyItemsAndAddNoDirectoryEntry",
            One({{"K_FL_0_folder", "C:\\Data\\"}, {"K_FL_0_mode", "2"}, {"K_FL_0_mask", ";*.doc;;*.rtf;"}}),
            {{2, "C:\\Data\\*.doc", X, "*", D}, {2, "C:\\Data\\*.rtf", X, "*", D}}},
        FolderCase{"SeveralMasksAlwaysInsertSeparator",
                   One({{"K_FL_0_folder", "C:\\Data"}, {"K_FL_0_mask", "\\a;b"}}),
                   {{0, "C:\\Data\\\\a", X, "*", D}, {0, "C:\\Data\\b", X, "*", D}}},
        FolderCase{"EmptyFolderIsSkipped",
                   {{"K_FL_Count", "3"},
                    {"K_FL_0_folder", "\\"},
                    {"K_FL_0_mode", "2"},
                    {"K_FL_1_mode", "2"},
                    {"K_FL_2_folder", "C:\\B"}},
                   {{0, "C:\\B*", X, "*", D}}},
        FolderCase{"CountBeyondStoredEntriesAddsNothing", {{"K_FL_Count", "4"}}, {}},
        FolderCase{"ClearedCheckBoxIsSkipped",
                   {{"K_FL_Count", "4"},
                    {"K_FL_0_folder", "C:\\A"},
                    {"K_FL_0_enabled", "0"},
                    {"K_FL_1_folder", "C:\\B"},
                    {"K_FL_1_enabled", "1"},
                    {"K_FL_2_folder", "C:\\C"},
                    {"K_FL_3_folder", "C:\\D"},
                    {"K_FL_3_enabled", "2"}},
                   {{0, "C:\\B*", X, "*", D}, {0, "C:\\C*", X, "*", D}}},
        FolderCase{"EntriesInIndexOrderEachWithItsDirectoryEntry",
                   {{"K_FL_Count", "2"},
                    {"K_FL_1_folder", "C:\\Second"},
                    {"K_FL_0_folder", "C:\\First"},
                    {"K_FL_0_mask", "*.doc"}},
                   {{0, "C:\\First\\*.doc", X, "*", D},
                    {10, "C:\\First", X, "*", D},
                    {0, "C:\\Second*", X, "*", D}}},
        FolderCase{"KeysMatchWithoutRegardToCase",
                   {{"k_fl_count", "1"},
                    {"K_FL_0_FOLDER", "C:\\A"},
                    {"k_Fl_0_Mode", "1"},
                    {"K_FL_0_ExlProc", "x.exe"}},
                   {{1, "C:\\A*", X, "*", "x.exe"}}},
        FolderCase{"OnlyTheKeysOfTheRuleSetAreRead",
                   {{"K_FL_Count", "2"},
                    {"K_FL_00_folder", "C:\\LeadingZero"},
                    {"K_FL_+1_folder", "C:\\Signed"},
                    {"K_FL_2_folder", "C:\\BeyondCount"},
                    {"KK_FL_0_folder", "C:\\OtherKey"},
                    {"K_FL_1_folders", "C:\\OtherField"},
                    {"K_FL_1_folder", "C:\\Kept"}},
                   {{0, "C:\\Kept*", X, "*", D}}},
        FolderCase{"HugeCountWithFewEntries",
                   {{"K_FL_Count", "2000000000"},
                    {"K_FL_1999999999_folder", "C:\\Last"},
                    {"K_FL_0_folder", "C:\\First"}},
                   {{0, "C:\\First*", X, "*", D}, {0, "C:\\Last*", X, "*", D}}},
        FolderCase{"TextsAreCutTo255",
                   One({{"K_FL_0_folder", "C:\\" + kLong300}, {"K_FL_0_exlproc", kLong300}}),
                   {{0, ("C:\\" + kLong300).substr(0, 255), X, "*", kLong300.substr(0, 255)}}},
        FolderCase{"MaskIsCutBeforeItIsSplit",
                   One({{"K_FL_0_folder", "C:\\A"}, {"K_FL_0_mask", std::string(254, 'm') + ";second"}}),
                   {{0, "C:\\A\\" + std::string(250, 'm'), X, "*", D}}}),
    [](const auto& info) { return std::string(info.param.name); });

const std::vector<EngineEntry> kAllSwitches = {
    {2, "*timedate.cpl", X, "*explorer.exe;*rundll32.exe", D},
    {2, "*nusrmgr.cpl", X, "*explorer.exe;*rundll32.exe", D},
    {2, "*usercpl.dll", X, "*explorer.exe;*rundll32.exe", D},
    {2, "*appwiz.cpl", X, "*explorer.exe;*rundll32.exe", D},
    {2, "*install.exe;*setup.exe;*.msi", X, "*", D},
    {2, "*taskmgr.exe", X, "*", D},
    {2, "*iexplore.exe", X, "*", D},
};

TEST(FolderEntries, FirstLineOfANameIsTheOneRead) {
    StoreFixture fx;
    // A name followed by a blank is another name; a line without "=" holds no value.
    fx.store().ReplaceLines({"K_FL_Count=2", "K_FL_1_folder=C:\\One", "k_fl_1_FOLDER=C:\\Two",
                             "K_FL_0_folder =C:\\Spaced", "K_FL_0_folder=  C:\\Zero ",
                             "K_FL_0_folder=C:\\Other", "K_FL_0_mode", "K_FL_0_mode=  2 ",
                             "K_NoSystemTime=0"});
    const std::vector<EngineEntry> expected = {{2, "C:\\Zero*", X, "*", D}, {0, "C:\\One*", X, "*", D}};
    EXPECT_EQ(CompileRules(fx.store(), Input()), expected);
}

TEST(FixedEntries, NoSwitchKeysGiveProgramFolderThenDateAndTime) {
    StoreFixture fx;
    const std::vector<EngineEntry> expected = {{1, "C:\\Program Files\\Marrowfold\\*", X, "*", D},
                                               kAllSwitches[0]};
    EXPECT_EQ(CompileRules(fx.store(), Input("C:\\Program Files\\Marrowfold\\")), expected);
}

TEST(FixedEntries, AllSwitchesInTableOrderWithUsersMgrGivingTwo) {
    StoreFixture fx({{"K_NoUsersMgr", "1"},
                     {"K_NoIEBrowser", "1"},
                     {"K_NoSetup", "1"},
                     {"K_DisableTaskManager", "1"},
                     {"K_NoAddDelApp", "1"}});
    EXPECT_EQ(CompileRules(fx.store(), Input()), kAllSwitches);
}

TEST(FixedEntries, SwitchesBelongToTheRuleKey) {
    StoreFixture fx({{"K_NoSystemTime", "0"}, {"Other_NoSetup", "1"}, {"k_noiebrowser", "1"}});
    EXPECT_EQ(CompileRules(fx.store(), Input()), std::vector<EngineEntry>{kAllSwitches[6]});
}

TEST(FixedEntries, FollowTheFolderEntries) {
    StoreFixture fx({{"K_FL_Count", "1"}, {"K_FL_0_folder", "C:\\Data"}, {"K_NoSetup", "1"}});
    const std::vector<EngineEntry> expected = {
        {0, "C:\\Data*", X, "*", D}, {1, "C:\\App\\*", X, "*", D}, kAllSwitches[0], kAllSwitches[4]};
    EXPECT_EQ(CompileRules(fx.store(), Input("C:\\App\\")), expected);
}

TEST(DefaultProcessList, NamesTheProgramAsItIsCalledAndTheService) {
    EXPECT_EQ(DefaultProcessList("Mrf2.EXE"), "Mrf2.EXE;ulksrv.exe");
}

struct MalformedCase {
    const char* name;
    Settings settings;
    std::string key, value;
};

class MalformedValues : public ::testing::TestWithParam<MalformedCase> {};

TEST_P(MalformedValues, RaiseConversionErrorNamingKeyAndValue) {
    StoreFixture fx(GetParam().settings);
    try {
        CompileRules(fx.store(), Input());
        FAIL() << "no ConversionError";
    } catch (const ConversionError& e) {
        EXPECT_EQ(e.Key(), GetParam().key);
        EXPECT_EQ(e.Value(), GetParam().value);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, MalformedValues,
    ::testing::Values(MalformedCase{"Count", {{"K_FL_Count", "two"}}, "K_FL_Count", "two"},
                      MalformedCase{"Mode",
                                    {{"K_FL_Count", "2"},
                                     {"K_FL_0_folder", "C:\\A"},
                                     {"K_FL_1_folder", "C:\\B"},
                                     {"K_FL_1_mode", "1x"}},
                                    "K_FL_1_mode",
                                    "1x"},
                      MalformedCase{
                          "Enabled",
                          {{"K_FL_Count", "1"}, {"K_FL_0_folder", "C:\\A"}, {"K_FL_0_enabled", "yes"}},
                          "K_FL_0_enabled",
                          "yes"}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace mrf
