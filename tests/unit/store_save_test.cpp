// Saving: failures at every step, crashes part way through a write, and other writers.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "core/store/encriptor.h"
#include "core/store/scramble.h"
#include "core/users/settings_units.h"
#include "fakes/memory_file_system.h"

namespace mrf {
namespace {

using test::MemoryFileSystem;

const std::vector<std::string> kOld = {"#S=#S", "A=old", "Gone=1", "K_FL_Count=1"};

void Seed(MemoryFileSystem& fs) {
    fs.files["mrf.dat"] = Scramble(JoinLines(kOld));
    fs.writes = 0;
}

// The change every save in these tests makes; it grows the file, so a torn write can stop
// inside the old length and past it.
std::vector<std::string> Change(TEncriptor& s) {
    s.WriteString("A", "new");
    s.WriteString("Gone", "");
    for (int i = 0; i < 30; ++i)
        s.WriteString("Added" + std::to_string(i), std::string(10, 'v'));
    return s.Lines();
}

// How many writes one save makes, counted on a healthy file system.
int WritesPerSave() {
    MemoryFileSystem fs;
    Seed(fs);
    TEncriptor s("mrf.dat", fs);
    Change(s);
    fs.writes = 0;
    s.SaveIfModified(false);
    return fs.writes;
}

TEST(StoreSave, AFailedWriteAtAnyStepKeepsListModifiedAndTheOldOrNewFile) {
    const int steps = WritesPerSave();
    ASSERT_EQ(steps, 3); // journal, file, cleared journal
    for (int step = 0; step < steps; ++step) {
        SCOPED_TRACE("failing write " + std::to_string(step));
        MemoryFileSystem fs;
        Seed(fs);
        TEncriptor s("mrf.dat", fs);
        const auto changed = Change(s);
        fs.writes = 0;
        fs.faultAt = step;
        fs.fault = MemoryFileSystem::Fault::Fail;
        bool threw = false;
        try {
            s.SaveIfModified(false);
        } catch (const StoreIoError& e) {
            threw = true;
            EXPECT_EQ(e.Error().api, "WriteFile");
            EXPECT_EQ(s.Lines(), changed);
            EXPECT_TRUE(s.Modified());
        }
        fs.faultAt = -1;
        const auto onDisk = TEncriptor("mrf.dat", fs).Lines();
        // Failing before the file holds the new text reports the error and leaves the old file;
        // failing only to clear the journal is a save that landed.
        if (step < 2) {
            EXPECT_TRUE(threw);
            EXPECT_EQ(onDisk, kOld);
        } else {
            EXPECT_FALSE(threw);
            EXPECT_EQ(onDisk, changed);
        }
    }
}

TEST(StoreSave, ACrashInsideAnyWriteLeavesTheOldOrTheNewFileComplete) {
    const int steps = WritesPerSave();
    for (int step = 0; step < steps; ++step) {
        for (size_t torn : {size_t(0), size_t(1), size_t(7), size_t(80), size_t(300), size_t(100000)}) {
            SCOPED_TRACE("crash in write " + std::to_string(step) + " after " + std::to_string(torn) +
                         " bytes");
            MemoryFileSystem fs;
            Seed(fs);
            std::vector<std::string> changed;
            {
                TEncriptor s("mrf.dat", fs);
                changed = Change(s);
                fs.writes = 0;
                fs.faultAt = step;
                fs.fault = MemoryFileSystem::Fault::TornCrash;
                fs.tornBytes = torn;
                EXPECT_THROW(s.SaveIfModified(false), test::Crash);
            }
            fs.faultAt = -1;
            const auto after = TEncriptor("mrf.dat", fs).Lines();
            EXPECT_TRUE(after == kOld || after == changed);
            if (step > 0) { // the journal was complete: the new content is what the file holds
                EXPECT_EQ(after, changed);
            }
            // The load finished the interrupted save, so the file itself is whole again.
            EXPECT_EQ(SplitLines(Unscramble(fs.files["mrf.dat"])), after);
        }
    }
}

TEST(StoreSave, ALoadFinishesAnInterruptedSaveOnlyWithAWholeJournal) {
    MemoryFileSystem fs;
    Seed(fs);
    fs.files[JournalPath("mrf.dat")] = "MRFJ 99 00000000\r\nnot the promised content";
    EXPECT_EQ(TEncriptor("mrf.dat", fs).Lines(), kOld);
}

TEST(StoreSave, TwoStoresKeepEachOthersChanges) {
    MemoryFileSystem fs;
    Seed(fs);
    TEncriptor gui1("mrf.dat", fs);
    TEncriptor gui2("mrf.dat", fs);
    gui1.WriteString("Alice_FL_Count", "2");
    gui1.WriteString("A", "from1");
    gui2.WriteString("Bob_FL_Count", "3");
    gui2.WriteString("A", "from2");
    gui2.WriteString("Gone", "");
    gui1.SaveIfModified(false);
    gui2.SaveIfModified(false);
    TEncriptor after("mrf.dat", fs);
    EXPECT_EQ(after.ReadString("Alice_FL_Count", ""), "2");
    EXPECT_EQ(after.ReadString("Bob_FL_Count", ""), "3");
    EXPECT_EQ(after.ReadString("A", ""), "from2"); // the later save wins for the entry both changed
    EXPECT_FALSE(after.KeyExists("Gone"));
    EXPECT_EQ(gui2.Lines(), after.Lines()); // the saving store now holds the merged list
    // The earlier saver still holds its own view until its next save.
    EXPECT_FALSE(gui1.KeyExists("Bob_FL_Count"));
    gui1.SaveIfModified(true);
    EXPECT_EQ(gui1.Lines(), after.Lines());
}

TEST(StoreSave, AFileDeletedMeanwhileGetsWhatTheStoreHolds) {
    MemoryFileSystem fs;
    Seed(fs);
    TEncriptor s("mrf.dat", fs);
    s.WriteString("A", "mine");
    fs.files.erase("mrf.dat");
    fs.granted.clear();
    s.SaveIfModified(false);
    EXPECT_TRUE(fs.granted["mrf.dat"]); // created anew, so opened to everyone
    auto expected = kOld;
    expected[1] = "A=mine";
    EXPECT_EQ(TEncriptor("mrf.dat", fs).Lines(), expected);
}

TEST(StoreSave, NewFilesAreOpenedToEveryone) {
    MemoryFileSystem fs;
    TEncriptor s("mrf.dat", fs);
    EXPECT_TRUE(fs.granted["mrf.dat"]);
    EXPECT_TRUE(fs.granted[JournalPath("mrf.dat")]);
}

TEST(StoreSave, AnUnwritableFileFailsTheLoadThatMustCreateIt) {
    MemoryFileSystem fs;
    fs.readOnly = true;
    EXPECT_THROW(TEncriptor("mrf.dat", fs), StoreIoError);
    EXPECT_TRUE(fs.files.empty());
}

// Every kind of write failure at every write of a save, once or from there on: a save that reports
// failure is invisible to every load, now and after further loads; one that returns is seen.
// Retrying with a healthy disk then gives the changes exactly once.
TEST(StoreSave, AReportedFailureHasNoEffectAndASuccessIsSeen) {
    using Fault = MemoryFileSystem::Fault;
    const int steps = WritesPerSave();
    for (Fault fault : {Fault::Fail, Fault::FailAfterWrite}) {
        for (bool persistent : {false, true}) {
            for (int step = 0; step < steps; ++step) {
                SCOPED_TRACE("fault " + std::to_string(int(fault)) + (persistent ? " from" : " at") +
                             " write " + std::to_string(step));
                MemoryFileSystem fs;
                Seed(fs);
                TEncriptor s("mrf.dat", fs);
                const auto changed = Change(s);
                fs.writes = 0;
                fs.faultAt = step;
                fs.fault = fault;
                fs.persistent = persistent;
                bool failed = false;
                try {
                    s.SaveIfModified(false);
                } catch (const StoreIoError&) {
                    failed = true;
                    EXPECT_TRUE(s.Modified());
                    EXPECT_EQ(s.Lines(), changed);
                }
                const auto& expected = failed ? kOld : changed;
                EXPECT_EQ(TEncriptor("mrf.dat", fs).Lines(), expected); // may itself write and fail
                fs.faultAt = -1;
                EXPECT_EQ(TEncriptor("mrf.dat", fs).Lines(), expected);
                s.SaveIfModified(true);
                EXPECT_EQ(TEncriptor("mrf.dat", fs).Lines(), changed);
            }
        }
    }
}

// The file may not be written but the journal may: nothing reaches either, and the retry after
// the file became writable removes entry 1 of four once (a replay would also lose entry 2).
TEST(StoreSave, AnUnwritableFileIsNotChangedThroughTheJournalAndARetryAppliesOnce) {
    MemoryFileSystem fs;
    fs.files["mrf.dat"] = Scramble(JoinLines({"#S=#S", "K_FL_Count=4", "K_FL_0_folder=F0", "K_FL_1_folder=F1",
                                              "K_FL_2_folder=F2", "K_FL_3_folder=F3"}));
    TEncriptor s("mrf.dat", fs, SettingsUnitOf);
    s.DeleteKeys("K_FL_1_");
    s.RenameKeys("K_FL_2_", "K_FL_1_");
    s.RenameKeys("K_FL_3_", "K_FL_2_");
    s.WriteInteger("K_FL_Count", 3);
    const std::string before = fs.files["mrf.dat"];
    fs.unwritable.insert("mrf.dat");
    for (int attempt = 0; attempt < 2; ++attempt) {
        try {
            s.SaveIfModified(true);
            ADD_FAILURE() << "saved into an unwritable file";
        } catch (const StoreIoError& e) {
            EXPECT_EQ(e.Error().path, "mrf.dat");
        }
        EXPECT_EQ(fs.files["mrf.dat"], before);
        EXPECT_EQ(fs.files[JournalPath("mrf.dat")], "");
    }
    fs.unwritable.clear();
    s.SaveIfModified(true);
    s.SaveIfModified(true);
    EXPECT_EQ(TEncriptor("mrf.dat", fs).Lines(),
              (std::vector<std::string>{"#S=#S", "K_FL_Count=3", "K_FL_0_folder=F0", "K_FL_1_folder=F2",
                                        "K_FL_2_folder=F3"}));
}

TEST(StoreSave, ALoadCreatesAMissingJournalWhereItMay) {
    MemoryFileSystem fs;
    Seed(fs);
    { TEncriptor s("mrf.dat", fs); }
    ASSERT_TRUE(fs.files.count(JournalPath("mrf.dat")));
    EXPECT_EQ(fs.files[JournalPath("mrf.dat")], "");
    EXPECT_TRUE(fs.granted[JournalPath("mrf.dat")]);

    // Where it may not be created, the load still works; a save then names the journal it lacks.
    MemoryFileSystem bare;
    Seed(bare);
    bare.unwritable.insert(JournalPath("mrf.dat"));
    TEncriptor s("mrf.dat", bare);
    EXPECT_EQ(s.Lines(), kOld);
    s.WriteString("A", "new");
    try {
        s.SaveIfModified(false);
        ADD_FAILURE() << "saved without a journal";
    } catch (const StoreIoError& e) {
        EXPECT_EQ(e.Error().path, JournalPath("mrf.dat"));
    }
    EXPECT_EQ(TEncriptor("mrf.dat", bare).Lines(), kOld);
}

// Two sessions load the same file, change it, and save one after the other.
using Edit = std::function<void(TEncriptor&)>;

struct TwoSessionCase {
    const char* name;
    Edit first, second;                // first saves first
    std::vector<std::string> expected; // the file's lines after both saves, sentinel aside, sorted
};

const std::vector<std::string> kTwoSessionSeed = {"#S=#S",
                                                  "K_FL_Count=4",
                                                  "K_FL_0_folder=F0",
                                                  "K_FL_0_mode=1",
                                                  "K_FL_1_folder=F1",
                                                  "K_FL_1_mode=1",
                                                  "K_FL_2_folder=F2",
                                                  "K_FL_3_folder=F3",
                                                  "J_FL_Count=1",
                                                  "J_FL_0_folder=G0",
                                                  "UserGroup_Count=1",
                                                  "UserGroup_0=Staff",
                                                  "UserGroup_0_Descr=office",
                                                  "LocalUserList0=alice",
                                                  "LocalUserList1=bob",
                                                  "Auto=1"};

// Removes entry n of the folder list as the window does: delete, move the later entries down.
Edit RemoveEntry(std::string key, int n, int count) {
    return [=](TEncriptor& s) {
        s.DeleteKeys(key + "_FL_" + std::to_string(n) + "_");
        for (int m = n + 1; m < count; ++m)
            s.RenameKeys(key + "_FL_" + std::to_string(m) + "_", key + "_FL_" + std::to_string(m - 1) + "_");
        s.WriteInteger(key + "_FL_Count", count - 1);
    };
}

Edit AddEntry(std::string key, int count, std::string folder) {
    return [=](TEncriptor& s) {
        s.WriteString(key + "_FL_" + std::to_string(count) + "_folder", folder);
        s.WriteInteger(key + "_FL_Count", count + 1);
    };
}

std::vector<std::string> operator+(std::vector<std::string> a, const std::vector<std::string>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

std::vector<std::string> Without(std::vector<std::string> lines, std::vector<std::string> gone,
                                 std::vector<std::string> added = {}) {
    std::erase_if(lines,
                  [&](const std::string& l) { return std::find(gone.begin(), gone.end(), l) != gone.end(); });
    lines.insert(lines.end(), added.begin(), added.end());
    lines.erase(lines.begin()); // the sentinel
    std::sort(lines.begin(), lines.end());
    return lines;
}

class StoreTwoSessions : public testing::TestWithParam<TwoSessionCase> {};

TEST_P(StoreTwoSessions, MergeWholeUnits) {
    MemoryFileSystem fs;
    fs.files["mrf.dat"] = Scramble(JoinLines(kTwoSessionSeed));
    TEncriptor a("mrf.dat", fs, SettingsUnitOf), b("mrf.dat", fs, SettingsUnitOf);
    GetParam().first(a);
    GetParam().second(b);
    a.SaveIfModified(true);
    b.SaveIfModified(true);
    auto lines = TEncriptor("mrf.dat", fs).Lines();
    EXPECT_EQ(lines.front(), "#S=#S");
    lines.erase(lines.begin());
    std::sort(lines.begin(), lines.end());
    EXPECT_EQ(lines, GetParam().expected);
}

const std::vector<std::string> kRemoved1 = {"K_FL_Count=3", "K_FL_0_folder=F0", "K_FL_0_mode=1",
                                            "K_FL_1_folder=F2", "K_FL_2_folder=F3"};
const std::vector<std::string> kOldK = {"K_FL_Count=4",     "K_FL_0_folder=F0", "K_FL_0_mode=1",
                                        "K_FL_1_folder=F1", "K_FL_1_mode=1",    "K_FL_2_folder=F2",
                                        "K_FL_3_folder=F3"};

INSTANTIATE_TEST_SUITE_P(
    Table, StoreTwoSessions,
    testing::Values(
        TwoSessionCase{"BothRemoveEntry1", RemoveEntry("K", 1, 4), RemoveEntry("K", 1, 4),
                       Without(kTwoSessionSeed, kOldK, kRemoved1)},
        // Both changed the list: the later save's list, whole, with its own count.
        TwoSessionCase{"RemoveThenAdd", RemoveEntry("K", 1, 4), AddEntry("K", 4, "F4"),
                       Without(kTwoSessionSeed, {"K_FL_Count=4"}, {"K_FL_Count=5", "K_FL_4_folder=F4"})},
        TwoSessionCase{"AddThenRemove", AddEntry("K", 4, "F4"), RemoveEntry("K", 1, 4),
                       Without(kTwoSessionSeed, kOldK, kRemoved1)},
        TwoSessionCase{"TwoRuleSets", RemoveEntry("K", 1, 4), AddEntry("J", 1, "G1"),
                       Without(kTwoSessionSeed, kOldK + std::vector<std::string>{"J_FL_Count=1"},
                               {"K_FL_Count=3", "K_FL_0_folder=F0", "K_FL_0_mode=1", "K_FL_1_folder=F2",
                                "K_FL_2_folder=F3", "J_FL_1_folder=G1", "J_FL_Count=2"})},
        TwoSessionCase{"GroupBesideFolders",
                       [](TEncriptor& s) {
                           s.WriteString("UserGroup_1", "Pupils");
                           s.WriteInteger("UserGroup_Count", 2);
                       },
                       RemoveEntry("K", 1, 4),
                       Without(kTwoSessionSeed, kOldK + std::vector<std::string>{"UserGroup_Count=1"},
                               {"K_FL_Count=3", "K_FL_0_folder=F0", "K_FL_0_mode=1", "K_FL_1_folder=F2",
                                "K_FL_2_folder=F3", "UserGroup_1=Pupils", "UserGroup_Count=2"})},
        // The service rewrites the user list while a window changes a membership and the catalogue.
        TwoSessionCase{"UserListBesideGroups",
                       [](TEncriptor& s) {
                           s.WriteList("LocalUserList", {"alice", "carol"});
                       },
                       [](TEncriptor& s) {
                           s.WriteString("bob_UserGroup", "Staff");
                           s.WriteString("UserGroup_0_Descr", "");
                       },
                       Without(kTwoSessionSeed, {"LocalUserList1=bob", "UserGroup_0_Descr=office"},
                               {"LocalUserList1=carol", "bob_UserGroup=Staff"})},
        TwoSessionCase{"OneKeyEachAndOneKeyBoth",
                       [](TEncriptor& s) {
                           s.WriteString("HotKey", "8257");
                           s.WriteString("Auto", "0");
                       },
                       [](TEncriptor& s) {
                           s.WriteString("Minimize", "0");
                           s.WriteString("Auto", "");
                       },
                       Without(kTwoSessionSeed, {"Auto=1"}, {"HotKey=8257", "Minimize=0"})},
        // The second session changed nothing: a forced save of it keeps all the first one did.
        TwoSessionCase{"SecondChangedNothing", RemoveEntry("K", 1, 4), [](TEncriptor&) {},
                       Without(kTwoSessionSeed, kOldK, kRemoved1)}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(StoreUnits, FolderListsGroupCatalogueAndUserListAreUnits) {
    auto unit = [](std::string_view name) { return std::string(name.substr(0, SettingsUnitOf(name))); };
    EXPECT_EQ(unit("Staff_FL_Count"), "Staff_FL_");
    EXPECT_EQ(unit("Staff_FL_12_folder"), "Staff_FL_");
    EXPECT_EQ(unit("staff_fl_0_mode"), "staff_fl_");
    EXPECT_EQ(unit("A_FL_B_FL_Count"), "A_FL_"); // a coarser unit, never a split one
    EXPECT_EQ(unit("UserGroup_Count"), "UserGroup_");
    EXPECT_EQ(unit("USERGROUP_3"), "USERGROUP_");
    EXPECT_EQ(unit("UserGroup_3_Descr"), "UserGroup_");
    EXPECT_EQ(unit("UserGroup_x"), "UserGroup_x");
    EXPECT_EQ(unit("alice_UserGroup"), "alice_UserGroup");
    EXPECT_EQ(unit("LocalUserList0"), "LocalUserList");
    EXPECT_EQ(unit("localuserlist17"), "localuserlist");
    EXPECT_EQ(unit("Staff_NoTaskMgr"), "Staff_NoTaskMgr");
    EXPECT_EQ(unit("Auto"), "Auto");
}

struct RefusedCase {
    const char* name;
    Edit edit;
    std::string key; // the key the error names
};

class StoreRefuses : public testing::TestWithParam<RefusedCase> {};

TEST_P(StoreRefuses, WithATypedErrorAndNoChange) {
    MemoryFileSystem fs;
    Seed(fs);
    TEncriptor s("mrf.dat", fs);
    try {
        GetParam().edit(s);
        ADD_FAILURE() << "accepted";
    } catch (const InvalidSettingError& e) {
        EXPECT_EQ(e.Key(), GetParam().key);
        EXPECT_EQ(std::string(e.what()).find_first_of("\r\n"), std::string::npos); // one line
    }
    EXPECT_EQ(s.Lines(), kOld);
    EXPECT_FALSE(s.Modified());
}

INSTANTIATE_TEST_SUITE_P(
    Table, StoreRefuses,
    testing::Values(
        RefusedCase{"ValueWithLf", [](TEncriptor& s) { s.WriteString("Note", "hi\nInjected=1"); }, "Note"},
        RefusedCase{"ValueWithCr", [](TEncriptor& s) { s.WriteString("Note", "hi\r"); }, "Note"},
        RefusedCase{"ValueWithNul", [](TEncriptor& s) { s.WriteString("Note", std::string("a\0b", 3)); },
                    "Note"},
        RefusedCase{"NameWithLf", [](TEncriptor& s) { s.WriteString("A\nB", "1"); }, "A\nB"},
        RefusedCase{"NameWithEquals", [](TEncriptor& s) { s.WriteString("A=B", "1"); }, "A=B"},
        RefusedCase{"NameWithNul", [](TEncriptor& s) { s.WriteString(std::string("A\0", 2), "1"); },
                    std::string("A\0", 2)},
        RefusedCase{"EmptyName", [](TEncriptor& s) { s.WriteString("", "1"); }, ""},
        RefusedCase{"BlankName", [](TEncriptor& s) { s.WriteInteger(" \t ", 1); }, " \t "},
        RefusedCase{"ListItemWithLf",
                    [](TEncriptor& s) {
                        s.WriteList("L", {"a", "b\nc"});
                    },
                    "L1"},
        RefusedCase{"ListPrefixWithEquals", [](TEncriptor& s) { s.WriteList("L=", {"a"}); }, "L="},
        RefusedCase{"RenameToLineBreak", [](TEncriptor& s) { s.RenameKeys("A", "X\r\nY=1\r\nA"); },
                    "X\r\nY=1\r\nA"},
        RefusedCase{"RenameFromEquals", [](TEncriptor& s) { s.RenameKeys("A=", "B"); }, "A="},
        RefusedCase{"DeleteWithLf", [](TEncriptor& s) { s.DeleteKeys("A\n"); }, "A\n"},
        RefusedCase{"ReplacedLineWithCr",
                    [](TEncriptor& s) {
                        s.ReplaceLines({"A=1", "B=2\rC=3"});
                    },
                    "B"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(StoreRefuses, AcceptsWhatTheFormatHolds) {
    MemoryFileSystem fs;
    Seed(fs);
    TEncriptor s("mrf.dat", fs);
    s.WriteString("With space", "a=b; c\td");
    s.WriteString(" Padded ", "  ");
    s.WriteList("", {"x"});
    s.ReplaceLines({"no name here", "A=1"});
    EXPECT_EQ(s.Lines(), (std::vector<std::string>{"no name here", "A=1"}));
}

} // namespace
} // namespace mrf
