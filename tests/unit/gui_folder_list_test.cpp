// The folder list's rows, the entry operations behind Add, Edit, Delete and the check boxes, and
// the Save and close flows.
#include <gtest/gtest.h>

#include <map>

#include "core/gui/folder_list.h"
#include "engine_test_support.h"

namespace mrf {
namespace {

using test::Settings;
using test::StoreFixture;
using Lines = std::vector<std::string>;

MainState StateFor(const std::string& key) {
    MainState state;
    state.displayedRuleKey = key;
    return state;
}

// Entry n's keys without the "<key>_FL_<n>_" prefix, as "field=value".
Lines EntryOf(TEncriptor& store, const std::string& key, int n) {
    const std::string prefix = key + "_FL_" + std::to_string(n) + "_";
    Lines lines;
    store.ForEachLine([&](std::string_view line) {
        if (line.substr(0, prefix.size()) == prefix)
            lines.emplace_back(line.substr(prefix.size()));
    });
    return lines;
}

TEST(GuiFolderRows, ShowTheStoredTextsOrTheDefaults) {
    StoreFixture fx({{"Staff_FL_Count", "5"},
                     {"Staff_FL_0_folder", "C:\\Docs\\"},
                     {"Staff_FL_0_mode", "1"},
                     {"Staff_FL_0_mask", "*.doc;*.rtf"},
                     {"Staff_FL_0_proc", "word.exe"},
                     {"Staff_FL_0_exlfiles", "a.doc"},
                     {"Staff_FL_0_exlproc", "backup.exe"},
                     {"Staff_FL_0_enabled", "1"},
                     {"staff_fl_1_FOLDER", "D:\\Secret"}, // names match in any case
                     {"Staff_FL_1_mode", "2"},
                     {"Staff_FL_1_enabled", "0"},
                     {"Staff_FL_2_mode", "3"},
                     {"Staff_FL_2_enabled", "2"},
                     {"Staff_FL_3_mode", "0"},
                     {"Other_FL_4_folder", "E:\\NotHere"}});
    FolderListView view = ReadFolderList(fx.store(), "Staff");
    EXPECT_FALSE(view.problem);
    ASSERT_EQ(view.rows.size(), 5u);
    EXPECT_EQ(view.rows[0],
              (FolderRow{"C:\\Docs\\", "RO", "*.doc;*.rtf", "word.exe", "a.doc", "backup.exe", true}));
    EXPECT_EQ(view.rows[1], (FolderRow{"D:\\Secret", "H", "*", "*", "", "", false}));
    EXPECT_EQ(view.rows[2], (FolderRow{"", "", "*", "*", "", "", false})); // only 1 ticks the box
    EXPECT_EQ(view.rows[3], (FolderRow{"", "", "*", "*", "", "", true}));
    EXPECT_EQ(view.rows[4], (FolderRow{"", "", "*", "*", "", "", true})); // no keys at all
}

TEST(GuiFolderRows, CountOfZeroOrLessOrAbsentIsAnEmptyList) {
    for (const char* count : {"0", "-3", ""}) {
        StoreFixture fx(Settings{{"Staff_FL_0_folder", "C:\\Docs"}});
        if (*count)
            fx.store().WriteString("Staff_FL_Count", count);
        FolderListView view = ReadFolderList(fx.store(), "Staff");
        EXPECT_TRUE(view.rows.empty()) << count;
        EXPECT_FALSE(view.problem) << count;
    }
}

struct MalformedCase {
    const char* name;
    Settings settings;
    Lines captions; // the rows shown
    Lines modes;    // their Mode column
    std::vector<bool> checked;
    std::string message; // names the first malformed key and value
};

class GuiFolderMalformed : public testing::TestWithParam<MalformedCase> {};

TEST_P(GuiFolderMalformed, ShowsWhatItCanAndNamesTheFirstBadValue) {
    StoreFixture fx(GetParam().settings);
    FolderListView view = ReadFolderList(fx.store(), "Staff");
    Lines captions, modes;
    std::vector<bool> checked;
    for (const FolderRow& row : view.rows) {
        captions.push_back(row.caption);
        modes.push_back(row.mode);
        checked.push_back(row.checked);
    }
    EXPECT_EQ(captions, GetParam().captions);
    EXPECT_EQ(modes, GetParam().modes);
    EXPECT_EQ(checked, GetParam().checked);
    ASSERT_TRUE(view.problem);
    EXPECT_EQ(view.problem->text, GetParam().message);
    EXPECT_EQ(view.problem->caption, "Umberlock");
}

// Entries 0, 1 and 3 exist; entry 2 is missing.
const Settings kGappedEntries = {{"Staff_FL_0_folder", "A"},
                                 {"Staff_FL_0_mode", "1"},
                                 {"Staff_FL_1_mask", "*.x"},
                                 {"Staff_FL_3_folder", "D"},
                                 {"Staff_FL_01_folder", "not entry 1"}};

INSTANTIATE_TEST_SUITE_P(
    Gui, GuiFolderMalformed,
    testing::Values(MalformedCase{"Count",
                                  [] {
                                      Settings s = kGappedEntries;
                                      s.push_back({"Staff_FL_Count", "three"});
                                      return s;
                                  }(),
                                  {"A", ""},
                                  {"RO", ""},
                                  {true, true},
                                  "'three' is not a valid integer value (setting Staff_FL_Count)"},
                    MalformedCase{"Mode",
                                  {{"Staff_FL_Count", "3"},
                                   {"Staff_FL_0_folder", "A"},
                                   {"Staff_FL_1_folder", "B"},
                                   {"Staff_FL_1_mode", "two"},
                                   {"Staff_FL_2_folder", "C"},
                                   {"Staff_FL_2_mode", "2"}},
                                  {"A", "B", "C"},
                                  {"", "", "H"},
                                  {true, true, true},
                                  "'two' is not a valid integer value (setting Staff_FL_1_mode)"},
                    MalformedCase{"EnabledFirstOfTwo",
                                  {{"Staff_FL_Count", "2"},
                                   {"Staff_FL_0_folder", "A"},
                                   {"Staff_FL_0_enabled", "yes"},
                                   {"Staff_FL_1_folder", "B"},
                                   {"Staff_FL_1_mode", "x"}},
                                  {"A", "B"},
                                  {"", ""},
                                  {false, true},
                                  "'yes' is not a valid integer value (setting Staff_FL_0_enabled)"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(GuiFolderAdd, WritesTheNewEntryInOrderThenTheCount) {
    StoreFixture fx({{"Staff_FL_Count", "3"},
                     {"Staff_FL_0_folder", "A"},
                     {"Staff_FL_1_folder", "B"},
                     {"Staff_FL_2_folder", "C"}});
    MainState state = StateFor("Staff");
    FolderDialogState dialog;
    dialog.path = "E:\\New\\";
    dialog.protectMode = 1;
    ChooseMask(dialog, 3);
    dialog.exclProc = "backup.exe";
    const Lines before = fx.store().Lines();

    EXPECT_EQ(AddFolder(fx.store(), state, 3, dialog), 3);
    EXPECT_TRUE(state.settingsModified);
    const Lines after = fx.store().Lines();
    Lines added(after.begin() + static_cast<long>(before.size()), after.end());
    // Empty texts are written as new keys with empty values; the count was already there.
    EXPECT_EQ(added, (Lines{"Staff_FL_3_folder=E:\\New\\", "Staff_FL_3_mode=2", "Staff_FL_3_enabled=1",
                            "Staff_FL_3_mask=*.doc;*.rtf;*.txt", "Staff_FL_3_proc=*",
                            "Staff_FL_3_exlfiles=", "Staff_FL_3_exlproc=backup.exe"}));
    EXPECT_EQ(fx.store().ReadString("Staff_FL_Count", ""), "4");
    FolderListView view = ReadFolderList(fx.store(), "Staff");
    ASSERT_EQ(view.rows.size(), 4u);
    EXPECT_EQ(view.rows[3], (FolderRow{"E:\\New\\", "H", "*.doc;*.rtf;*.txt", "*", "", "backup.exe", true}));
}

TEST(GuiFolderAdd, DialogStartsEmptyOrWithTheSelectedRowsPath) {
    EXPECT_EQ(AddDialogFor(std::nullopt), FolderDialogState{});
    FolderDialogState withPath;
    withPath.path = "C:\\Docs";
    EXPECT_EQ(AddDialogFor("C:\\Docs"), withPath);
}

TEST(GuiFolderAdd, AfterAMalformedCountAppendsBehindTheEntriesShown) {
    StoreFixture fx({{"Staff_FL_Count", "x"}, {"Staff_FL_0_folder", "A"}, {"Staff_FL_1_folder", "B"}});
    MainState state = StateFor("Staff");
    const int rows = static_cast<int>(ReadFolderList(fx.store(), "Staff").rows.size());
    FolderDialogState dialog;
    dialog.path = "C";
    EXPECT_EQ(AddFolder(fx.store(), state, rows, dialog), 2);
    FolderListView view = ReadFolderList(fx.store(), "Staff");
    EXPECT_FALSE(view.problem);
    ASSERT_EQ(view.rows.size(), 3u);
    EXPECT_EQ(view.rows[0].caption, "A");
    EXPECT_EQ(view.rows[1].caption, "B");
    EXPECT_EQ(view.rows[2].caption, "C");
}

TEST(GuiFolderRows, AHugeCountShowsRowsUpToTheLastStoredEntry) {
    StoreFixture fx(
        {{"Staff_FL_Count", "2000000000"}, {"Staff_FL_0_folder", "A"}, {"Staff_FL_2_folder", "C"}});
    FolderListView view = ReadFolderList(fx.store(), "Staff");
    ASSERT_EQ(view.rows.size(), 3u);
    EXPECT_EQ(view.rows[1].caption, "");
    EXPECT_EQ(view.rows[2].caption, "C");
    StoreFixture none(Settings{{"Staff_FL_Count", "2000000000"}});
    EXPECT_TRUE(ReadFolderList(none.store(), "Staff").rows.empty());
}

// Twelve entries with a different set of keys each; entry n's values all carry n.
Settings TwelveEntries() {
    Settings s{{"Staff_FL_Count", "12"}, {"Staff_FL_10_extra", "kept"}};
    for (int n = 0; n < 12; ++n) {
        const std::string p = "Staff_FL_" + std::to_string(n) + "_", v = std::to_string(n);
        s.push_back({p + "folder", "C:\\F" + v});
        s.push_back({p + "mode", n % 2 ? "2" : "1"});
        if (n % 3 == 0)
            s.push_back({p + "mask", "*." + v});
        s.push_back({p + "enabled", n % 4 ? "1" : "0"});
        s.push_back({p + "exlproc", "p" + v + ".exe"});
    }
    return s;
}

TEST(GuiFolderRemove, EntryOneOfTwelveMovesTheLaterEntriesDownWithAllTheirKeys) {
    StoreFixture fx(TwelveEntries());
    StoreFixture original(TwelveEntries());
    MainState state = StateFor("Staff");

    RemoveResult result = RemoveFolder(fx.store(), state, 1, 12);
    EXPECT_EQ(result.removed, true);
    EXPECT_EQ(result.selectAfter, 0);
    EXPECT_TRUE(state.settingsModified);
    EXPECT_EQ(fx.store().ReadString("Staff_FL_Count", ""), "11");
    EXPECT_EQ(EntryOf(fx.store(), "Staff", 0), EntryOf(original.store(), "Staff", 0));
    for (int n = 1; n <= 10; ++n)
        EXPECT_EQ(EntryOf(fx.store(), "Staff", n), EntryOf(original.store(), "Staff", n + 1)) << n;
    EXPECT_TRUE(EntryOf(fx.store(), "Staff", 11).empty());
    EXPECT_EQ(fx.store().ReadString("Staff_FL_9_extra", ""), "kept");
    EXPECT_EQ(ReadFolderList(fx.store(), "Staff").rows.size(), 11u);
}

TEST(GuiFolderRemove, TheLastEntryGoesAndNothingElseMoves) {
    StoreFixture fx({{"Staff_FL_Count", "3"},
                     {"Staff_FL_0_folder", "A"},
                     {"Staff_FL_1_folder", "B"},
                     {"Staff_FL_2_folder", "C"},
                     {"Staff_FL_2_mode", "2"},
                     {"Staff_FL_20_folder", "other"}});
    MainState state = StateFor("Staff");
    RemoveResult result = RemoveFolder(fx.store(), state, 2, 3);
    EXPECT_TRUE(result.removed);
    EXPECT_EQ(result.selectAfter, 0);
    EXPECT_EQ(fx.store().Lines(),
              (Lines{std::string(kSentinel) + "=" + std::string(kSentinel), "Staff_FL_Count=2",
                     "Staff_FL_0_folder=A", "Staff_FL_1_folder=B", "Staff_FL_20_folder=other"}));
}

TEST(GuiFolderRemove, FirstRowLeavesNoneSelectedAndNoSelectionDoesNothing) {
    StoreFixture fx({{"Staff_FL_Count", "2"}, {"Staff_FL_0_folder", "A"}, {"Staff_FL_1_folder", "B"}});
    MainState state = StateFor("Staff");
    const Lines before = fx.store().Lines();
    for (int selected : {-1, 2}) {
        EXPECT_FALSE(RemoveFolder(fx.store(), state, selected, 2).removed) << selected;
        EXPECT_EQ(fx.store().Lines(), before);
        EXPECT_FALSE(state.settingsModified);
    }
    RemoveResult result = RemoveFolder(fx.store(), state, 0, 2);
    EXPECT_EQ(result.selectAfter, -1);
    EXPECT_EQ(ReadFolderList(fx.store(), "Staff").rows.at(0).caption, "B");
}

TEST(GuiFolderEdit, DialogOpensFromTheEntryWithTheCustomMaskChoice) {
    StoreFixture fx({{"Staff_FL_Count", "3"},
                     {"Staff_FL_0_folder", "C:\\Docs"},
                     {"Staff_FL_0_mode", "2"},
                     {"Staff_FL_0_mask", "*.doc"},
                     {"Staff_FL_0_proc", "word.exe"},
                     {"Staff_FL_0_exlfiles", "a.doc"},
                     {"Staff_FL_0_exlproc", "b.exe"},
                     {"Staff_FL_2_mode", "two"}});
    FolderDialogState full = EditDialogFor(fx.store(), "Staff", 0, "ignored");
    EXPECT_EQ(full, (FolderDialogState{"C:\\Docs", 1, kCustomMaskChoice, "*.doc", true, "a.doc", "word.exe",
                                       "b.exe"}));
    // Missing keys: the row's caption as path, read-only, "*" as mask and processes.
    FolderDialogState bare = EditDialogFor(fx.store(), "Staff", 1, "From the row");
    EXPECT_EQ(bare, (FolderDialogState{"From the row", 0, kCustomMaskChoice, "*", true, "", "*", ""}));
    EXPECT_EQ(OpenAdvanced(bare), (AdvancedFields{"From the row", "", "*", ""}));
    EXPECT_EQ(EditDialogFor(fx.store(), "Staff", 2, "").protectMode, 0);
}

TEST(GuiFolderEdit, RewritesTheTextsAndKeepsEnabledAndTheCount) {
    StoreFixture fx({{"Staff_FL_Count", "1"},
                     {"Staff_FL_0_folder", "C:\\Docs"},
                     {"Staff_FL_0_mode", "1"},
                     {"Staff_FL_0_enabled", "0"},
                     {"Staff_FL_0_mask", "*.doc"},
                     {"Staff_FL_0_proc", "word.exe"},
                     {"Staff_FL_0_exlfiles", "a.doc"}});
    MainState state = StateFor("Staff");
    FolderDialogState dialog = EditDialogFor(fx.store(), "Staff", 0, "");
    dialog.path = "D:\\Docs";
    dialog.protectMode = 1;
    dialog.inclProc = "";  // emptied: all processes
    dialog.exclFiles = ""; // emptied: the key goes
    dialog.exclProc = "x.exe";
    EditFolder(fx.store(), state, 0, dialog);
    EXPECT_TRUE(state.settingsModified);
    EXPECT_EQ(EntryOf(fx.store(), "Staff", 0),
              (Lines{"folder=D:\\Docs", "mode=2", "enabled=0", "mask=*.doc", "proc=*", "exlproc=x.exe"}));
    EXPECT_EQ(fx.store().ReadString("Staff_FL_Count", ""), "1");
}

struct ToggleCase {
    const char* name;
    const char* stored; // nullptr: absent
    bool checked, rowSelected, filling;
    const char* after; // nullptr: absent
    bool wrote;
};

class GuiFolderToggle : public testing::TestWithParam<ToggleCase> {};

TEST_P(GuiFolderToggle, WritesOnlyARealChange) {
    const ToggleCase& c = GetParam();
    StoreFixture fx({{"Staff_FL_Count", "1"}, {"Staff_FL_0_folder", "A"}});
    if (c.stored)
        fx.store().WriteString("Staff_FL_0_enabled", c.stored);
    MainState state = StateFor("Staff");
    const Lines before = fx.store().Lines();
    EXPECT_EQ(DirListChange(fx.store(), state, 0, c.checked, c.rowSelected, c.filling), c.wrote);
    EXPECT_EQ(state.settingsModified, c.wrote);
    if (c.after) {
        EXPECT_EQ(fx.store().ReadString("Staff_FL_0_enabled", "absent"), c.after);
    } else {
        EXPECT_FALSE(fx.store().KeyExists("Staff_FL_0_enabled"));
    }
    if (!c.wrote) {
        EXPECT_EQ(fx.store().Lines(), before);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Gui, GuiFolderToggle,
    testing::Values(ToggleCase{"ClearAbsent", nullptr, false, true, false, "0", true},
                    ToggleCase{"TickCleared", "0", true, true, false, "1", true},
                    ToggleCase{"ClearTicked", "1", false, true, false, "0", true},
                    ToggleCase{"SameAbsent", nullptr, true, true, false, nullptr, false},
                    ToggleCase{"SameCleared", "0", false, true, false, "0", false},
                    ToggleCase{"OtherValueIsCleared", "2", false, true, false, "2", false},
                    ToggleCase{"MalformedIsCleared", "yes", true, true, false, "1", true},
                    ToggleCase{"NoRowSelected", "1", false, false, false, "1", false},
                    ToggleCase{"WhileFilling", "1", false, true, true, "1", false}),
    [](const auto& info) { return std::string(info.param.name); });

// A store over files that can be made to refuse writes.
struct SaveRig {
    SaveRig() : store("mrf.dat", files) {}
    test::MemoryFileSystem files;
    TEncriptor store;
    MainState state = StateFor("Staff");
    Lines log;
    SaveActions actions{
        [this](uint16_t code) { log.push_back("hotkey " + std::to_string(code)); },
        [this] {
            // As Start does: it writes "Auto" and marks the window modified.
            log.push_back("start");
            store.WriteString("Auto", "1");
            state.settingsModified = true;
        },
        [this](const UserMessage& m) { log.push_back("message " + m.caption + ": " + m.text); }};
    std::string OnDisk() const { return files.files.at("mrf.dat"); }
};

TEST(GuiFolderSave, StartsAgainWhenStartedAndClearsTheFlagAfterTheWrite) {
    for (ProtectionState protection : {ProtectionState::Started, ProtectionState::Suspended}) {
        SaveRig rig;
        rig.state.protection = protection;
        rig.store.WriteString("HotKey", "8257");
        rig.state.settingsModified = true;
        const std::string before = rig.OnDisk();
        EXPECT_TRUE(SaveSettings(rig.store, rig.state, rig.actions));
        const bool started = protection == ProtectionState::Started;
        EXPECT_EQ(rig.log, (started ? Lines{"hotkey 8257", "start"} : Lines{"hotkey 8257"}));
        EXPECT_FALSE(rig.state.settingsModified);
        EXPECT_NE(rig.OnDisk(), before);
        // What Start wrote is in the file too: the file is written after it.
        TEncriptor reread("mrf.dat", rig.files);
        EXPECT_EQ(reread.ReadString("Auto", "absent"), started ? "1" : "absent");
        EXPECT_EQ(reread.ReadString("HotKey", ""), "8257");
    }
}

TEST(GuiFolderSave, WritesEvenWhenTheStoreSeesNoChange) {
    SaveRig rig;
    const int writes = rig.files.writes;
    EXPECT_TRUE(SaveSettings(rig.store, rig.state, rig.actions));
    EXPECT_GT(rig.files.writes, writes);
}

TEST(GuiFolderSave, AFailedWriteSaysSoAndKeepsEverything) {
    SaveRig rig;
    rig.store.WriteString("Staff_FL_0_folder", "C:\\Docs");
    rig.state.settingsModified = true;
    const std::string onDisk = rig.OnDisk();
    rig.files.readOnly = true;
    EXPECT_FALSE(SaveSettings(rig.store, rig.state, rig.actions));
    ASSERT_EQ(rig.log.size(), 2u);
    EXPECT_EQ(
        rig.log[1].rfind("message Umberlock: The settings could not be saved; the changes are kept.\n", 0),
        0u)
        << rig.log[1];
    EXPECT_NE(rig.log[1].find("\"mrf.dat\""), std::string::npos) << rig.log[1]; // names the file
    EXPECT_TRUE(rig.state.settingsModified);
    EXPECT_TRUE(rig.store.Modified());
    EXPECT_EQ(rig.OnDisk(), onDisk);

    rig.files.readOnly = false;
    EXPECT_TRUE(SaveSettings(rig.store, rig.state, rig.actions));
    EXPECT_FALSE(rig.state.settingsModified);
    TEncriptor reread("mrf.dat", rig.files);
    EXPECT_EQ(reread.ReadString("Staff_FL_0_folder", ""), "C:\\Docs");
}

struct CloseCase {
    const char* name;
    bool inTray, modified;
    SaveAnswer answer;
    bool saveWrites;
    bool allowed;
    Lines log;
};

class GuiFolderClose : public testing::TestWithParam<CloseCase> {};

TEST_P(GuiFolderClose, AsksOnlyWhenModifiedAndNeverEndsFromTheScreen) {
    const CloseCase& c = GetParam();
    MainState state;
    state.inTray = c.inTray;
    state.settingsModified = c.modified;
    Lines log;
    CloseActions actions{[&] {
                             log.push_back("ask");
                             return c.answer;
                         },
                         [&] {
                             log.push_back("save");
                             return c.saveWrites;
                         },
                         [&] { log.push_back("hide"); }};
    EXPECT_EQ(FormCloseQuery(state, actions), c.allowed);
    EXPECT_EQ(log, c.log);
}

INSTANTIATE_TEST_SUITE_P(
    Gui, GuiFolderClose,
    testing::Values(
        CloseCase{"InTraySavesWithoutAsking", true, true, SaveAnswer::Cancel, true, true, {"save"}},
        CloseCase{"InTrayUnmodifiedSavesToo", true, false, SaveAnswer::Cancel, true, true, {"save"}},
        CloseCase{"InTrayFailedSaveKeepsRunning", true, true, SaveAnswer::Yes, false, false, {"save"}},
        CloseCase{"UnmodifiedHides", false, false, SaveAnswer::Cancel, true, false, {"hide"}},
        CloseCase{"YesSavesThenHides", false, true, SaveAnswer::Yes, true, false, {"ask", "save", "hide"}},
        CloseCase{"NoHidesUnsaved", false, true, SaveAnswer::No, true, false, {"ask", "hide"}},
        CloseCase{"CancelStaysOnScreen", false, true, SaveAnswer::Cancel, true, false, {"ask"}},
        CloseCase{"FailedSaveStaysOnScreen", false, true, SaveAnswer::Yes, false, false, {"ask", "save"}}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace mrf
