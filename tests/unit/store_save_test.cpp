// Saving: failures at every step, crashes part way through a write, and other writers.
#include <gtest/gtest.h>

#include "core/store/encriptor.h"
#include "core/store/scramble.h"
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

TEST(StoreSave, ReplayedPrefixOperationsActOnTheFileAsItStands) {
    MemoryFileSystem fs;
    Seed(fs);
    TEncriptor service("mrf.dat", fs);
    TEncriptor gui("mrf.dat", fs);
    service.WriteList("LocalUserList", {"alice", "bob"});
    gui.RenameKeys("K_FL_", "J_FL_");
    gui.WriteString("K_FL_Count", "5");
    service.SaveIfModified(false);
    gui.SaveIfModified(false);
    TEncriptor after("mrf.dat", fs);
    EXPECT_EQ(after.Lines(),
              (std::vector<std::string>{"#S=#S", "A=old", "Gone=1", "J_FL_Count=1", "LocalUserList0=alice",
                                        "LocalUserList1=bob", "K_FL_Count=5"}));
}

TEST(StoreSave, AFileDeletedMeanwhileGetsWhatTheStoreHolds) {
    MemoryFileSystem fs;
    Seed(fs);
    TEncriptor s("mrf.dat", fs);
    s.WriteString("A", "mine");
    fs.files.erase("mrf.dat");
    s.SaveIfModified(false);
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

} // namespace
} // namespace mrf
