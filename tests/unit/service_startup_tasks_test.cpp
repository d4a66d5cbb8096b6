#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/service/names.h"
#include "core/service/startup_tasks.h"
#include "core/users/local_users.h"
#include "fakes/fake_registry.h"
#include "fakes/memory_file_system.h"

namespace mrf {
namespace {

using test::FakeAccounts;
using test::FakeRegistry;
using test::MemoryFileSystem;
using Tasks = std::vector<StartupTask>;

const std::string kDir = "C:\\App\\";
const std::string kDat = kDir + "mrf.dat";
const std::string kIni = kDir + "ulk.ini";
const std::string kJournal = kDir + "mrf.dat.jnl";

struct TasksFixture {
    FakeRegistry reg;
    FakeAccounts accounts;
    MemoryFileSystem files;
    std::unique_ptr<TEncriptor> store;

    TasksFixture() {
        reg.At(kProfileListKeyNt).subkeys = {"S-1-5-18", "S-1-5-21-7-1001", "S-1-5-21-7-1002"};
        accounts.bySid = {{"S-1-5-18", {"SYSTEM", "NT AUTHORITY"}},
                          {"S-1-5-21-7-1001", {"clerk", "PC"}},
                          {"S-1-5-21-7-1002", {"warden", "PC"}}};
        TEncriptor old(kDat, files);
        old.WriteString("LocalUserList0", "gone");
        old.WriteString("LocalUserList1", "gone too");
        old.WriteString("localuserlist2", "old");
        old.WriteString("Auto", "1");
        old.SaveIfModified(false);
        store = std::make_unique<TEncriptor>(kDat, files);
        files.granted.clear();
    }
    Tasks Run(std::vector<std::string> arguments = {}, bool withStore = true) {
        return RunStartupTasks(
            {reg, accounts, files, withStore ? store.get() : nullptr, kDir, std::move(arguments)});
    }
    std::vector<std::string> SavedLines() {
        TEncriptor saved(kDat, files);
        return saved.Lines();
    }
};

TEST(StartupTasks, AllTasksOnAPlainStart) {
    TasksFixture fx;
    EXPECT_EQ(fx.Run(), Tasks{});
    EXPECT_EQ(fx.reg.Value(kRunKey, "1mrf.exe"), "\"C:\\App\\mrf.exe\" /T");
    std::vector<std::string> users;
    TEncriptor saved(kDat, fx.files);
    saved.ReadList("LocalUserList", false, users);
    EXPECT_EQ(users, (std::vector<std::string>{"clerk", "warden"}));
    EXPECT_EQ(saved.ReadString("Auto", ""), "1");
    EXPECT_EQ(fx.files.files.at(kIni), "");
    EXPECT_EQ(fx.files.files.at(kJournal), "");
    EXPECT_TRUE(fx.files.granted[kDat] && fx.files.granted[kIni] && fx.files.granted[kJournal]);
}

TEST(StartupTasks, RemovalStartSkipsOnlyTheRunValue) {
    TasksFixture fx;
    EXPECT_EQ(fx.Run({"/un"}), Tasks{});
    EXPECT_FALSE(fx.reg.Has(kRunKey));
    EXPECT_TRUE(fx.files.files.count(kIni));
    fx.Run({"-un"});
    EXPECT_EQ(fx.reg.Value(kRunKey, "1mrf.exe"), "\"C:\\App\\mrf.exe\" /T") << "only \"/un\" exactly";
}

TEST(StartupTasks, ExistingIniIsLeftAsItIs) {
    TasksFixture fx;
    fx.files.files[kIni] = "[main]\r\nLeft=5\r\n";
    fx.Run();
    EXPECT_EQ(fx.files.files.at(kIni), "[main]\r\nLeft=5\r\n");
}

TEST(StartupTasks, SavesEvenWhenTheListIsUnchanged) {
    TasksFixture fx;
    fx.Run();
    const int writes = fx.files.writes;
    TEncriptor again(kDat, fx.files);
    RunStartupTasks({fx.reg, fx.accounts, fx.files, &again, kDir, {}});
    EXPECT_GT(fx.files.writes, writes);
}

// A failure in any one task leaves the others done.
TEST(StartupTasks, AutorunFailureLeavesTheRest) {
    TasksFixture fx;
    fx.reg.unopenable.insert(ToAnsiUpper(kRunKey));
    EXPECT_EQ(fx.Run(), Tasks{StartupTask::Autorun});
    EXPECT_EQ(fx.SavedLines().size(), 4u); // sentinel, Auto, two users
    EXPECT_TRUE(fx.files.granted[kIni]);
}

TEST(StartupTasks, NoStoreLeavesTheRest) {
    TasksFixture fx;
    EXPECT_EQ(fx.Run({}, false), Tasks{StartupTask::UserList});
    EXPECT_EQ(fx.reg.Value(kRunKey, "1mrf.exe"), "\"C:\\App\\mrf.exe\" /T");
    EXPECT_TRUE(fx.files.files.count(kIni));
    EXPECT_TRUE(fx.files.granted[kDat]);
}

TEST(StartupTasks, FailedSaveKeepsThePreviousListAndLeavesTheRest) {
    TasksFixture fx;
    fx.files.faultAt = fx.files.writes; // the journal write of the save
    fx.files.fault = MemoryFileSystem::Fault::Fail;
    EXPECT_EQ(fx.Run(), Tasks{StartupTask::UserList});
    std::vector<std::string> users;
    TEncriptor saved(kDat, fx.files);
    saved.ReadList("LocalUserList", false, users);
    EXPECT_EQ(users, (std::vector<std::string>{"gone", "gone too", "old"}));
    EXPECT_TRUE(fx.files.files.count(kIni));
    EXPECT_TRUE(fx.files.granted[kDat]);
}

TEST(StartupTasks, FileCreationFailureLeavesTheAccessTask) {
    TasksFixture fx;
    fx.files.readOnly = true;
    const Tasks failed = fx.Run();
    EXPECT_EQ(failed, (Tasks{StartupTask::UserList, StartupTask::Files}));
    EXPECT_TRUE(fx.files.granted[kDat]);
    EXPECT_EQ(fx.reg.Value(kRunKey, "1mrf.exe"), "\"C:\\App\\mrf.exe\" /T");
}

} // namespace
} // namespace mrf
