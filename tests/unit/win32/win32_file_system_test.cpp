// The Windows file port against the real file system (run under Wine).
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <thread>

#include "core/store/encriptor.h"
#include "core/text/ansi.h"
#include "win32/handles.h"
#include "win32/settings_store.h"
#include "win32/win32_file_system.h"

namespace mrf::win32 {
namespace {

class Win32Files : public testing::Test {
protected:
    void SetUp() override {
        char dir[MAX_PATH];
        ::GetTempPathA(MAX_PATH, dir);
        folder = std::string(dir) + "mrf-test-" + std::to_string(::GetCurrentProcessId()) + "\\";
        ::CreateDirectoryA(folder.c_str(), nullptr);
        path = folder + "mrf.dat";
    }
    void TearDown() override {
        ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        ::DeleteFileA(path.c_str());
        ::DeleteFileA(JournalPath(path).c_str());
        ::RemoveDirectoryA(folder.c_str());
    }
    std::string folder, path;
    Win32FileSystem fs;
};

// Windows keeps the null access list; Wine keeps no access lists on files and turns the null list
// into the Unix mode that lets everyone write, which it then reports as an allow entry for Everyone.
bool EveryoneMayWrite(const std::string& path) {
    DWORD needed = 0;
    ::GetFileSecurityA(path.c_str(), DACL_SECURITY_INFORMATION, nullptr, 0, &needed);
    std::vector<char> buffer(needed ? needed : 1);
    if (!::GetFileSecurityA(path.c_str(), DACL_SECURITY_INFORMATION, buffer.data(), needed, &needed))
        return false;
    BOOL present = FALSE, defaulted = FALSE;
    PACL dacl = nullptr;
    if (!::GetSecurityDescriptorDacl(buffer.data(), &present, &dacl, &defaulted))
        return false;
    if (!present || !dacl)
        return true;
    SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
    PSID everyone = nullptr;
    ::AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &everyone);
    bool mayWrite = false;
    for (DWORD i = 0; i < dacl->AceCount; ++i) {
        ACCESS_ALLOWED_ACE* ace = nullptr;
        if (::GetAce(dacl, i, reinterpret_cast<void**>(&ace)) &&
            ace->Header.AceType == ACCESS_ALLOWED_ACE_TYPE && ::EqualSid(&ace->SidStart, everyone))
            mayWrite = mayWrite || (ace->Mask & FILE_WRITE_DATA) != 0;
    }
    ::FreeSid(everyone);
    return mayWrite;
}

bool HasNullAccessList(const std::string& path) {
    DWORD needed = 0;
    ::GetFileSecurityA(path.c_str(), DACL_SECURITY_INFORMATION, nullptr, 0, &needed);
    std::vector<char> buffer(needed ? needed : 1);
    BOOL present = FALSE, defaulted = FALSE;
    PACL dacl = nullptr;
    return ::GetFileSecurityA(path.c_str(), DACL_SECURITY_INFORMATION, buffer.data(), needed, &needed) &&
           ::GetSecurityDescriptorDacl(buffer.data(), &present, &dacl, &defaulted) && present && !dacl;
}

bool UnderWine() {
    return ::GetProcAddress(::GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr;
}

TEST_F(Win32Files, GrantEveryoneAccessLetsEveryAccountWrite) {
    IoError error;
    ASSERT_TRUE(fs.WriteFile(path, "x", error)) << Describe(error);
    ASSERT_FALSE(EveryoneMayWrite(path)); // a new file is not open to everyone
    ASSERT_TRUE(GrantEveryoneAccess(path));
    EXPECT_TRUE(EveryoneMayWrite(path));
    if (!UnderWine()) {
        EXPECT_TRUE(HasNullAccessList(path));
    }
}

TEST_F(Win32Files, WritesInPlaceCutToLengthAndReportsMissingFiles) {
    IoError error;
    std::string data;
    bool exists = true;
    ASSERT_TRUE(fs.ReadFile(path, data, exists, error));
    EXPECT_FALSE(exists);
    ASSERT_TRUE(fs.WriteFile(path, std::string(1000, 'a'), error));
    ASSERT_TRUE(fs.WriteFile(path, "short", error));
    ASSERT_TRUE(fs.ReadFile(path, data, exists, error));
    EXPECT_TRUE(exists);
    EXPECT_EQ(data, "short");
    EXPECT_FALSE(fs.WriteFile(folder + "no-such-folder\\mrf.dat", "x", error));
    EXPECT_EQ(error.api, "CreateFile");
    EXPECT_EQ(error.code, static_cast<uint32_t>(ERROR_PATH_NOT_FOUND));
}

// A second holder waits until the first lets go, also for a file that does not exist yet.
TEST_F(Win32Files, TheLockExcludesASecondHolderUntilReleased) {
    for (bool exists : {true, false}) {
        IoError error;
        if (exists)
            ASSERT_TRUE(fs.WriteFile(path, "x", error));
        else
            ::DeleteFileA(path.c_str());
        auto first = fs.Lock(path, true, error);
        ASSERT_TRUE(first) << Describe(error);
        std::atomic<bool> second{false};
        std::thread other([&] {
            Win32FileSystem again;
            IoError e;
            auto lock = again.Lock(path, true, e);
            second = lock != nullptr;
        });
        ::Sleep(300);
        EXPECT_FALSE(second) << (exists ? "existing file" : "missing file");
        first.reset();
        other.join();
        EXPECT_TRUE(second);
    }
}

TEST_F(Win32Files, AStoreSavesThroughTheJournalAndKeepsTheAccessList) {
    {
        TEncriptor store(path, fs);
        store.WriteString("Auto", "1");
        EXPECT_TRUE(store.SaveIfModified(false));
    }
    std::string journal;
    bool exists = false;
    IoError error;
    ASSERT_TRUE(fs.ReadFile(JournalPath(path), journal, exists, error));
    EXPECT_TRUE(exists);
    EXPECT_EQ(journal, "");
    EXPECT_EQ(TEncriptor(path, fs).ReadString("auto", ""), "1");
}

// Two names of one file ("..", another letter case, a file not created yet) give one canonical
// path and so one lock.
TEST_F(Win32Files, EveryNameOfAFileTakesTheSameLock) {
    IoError error;
    const std::string other = folder + "sub\\..\\" + ToAnsiUpper("mrf.dat");
    for (bool exists : {false, true}) {
        if (exists) {
            ASSERT_TRUE(fs.WriteFile(path, "x", error));
        }
        EXPECT_EQ(ToAnsiUpper(fs.CanonicalPath(other)), ToAnsiUpper(fs.CanonicalPath(path)));
        auto first = fs.Lock(other, true, error);
        ASSERT_TRUE(first) << Describe(error);
        std::atomic<bool> second{false};
        std::thread thread([&] {
            Win32FileSystem again;
            IoError e;
            second = again.Lock(path, true, e) != nullptr;
        });
        ::Sleep(300);
        EXPECT_FALSE(second) << (exists ? "existing file" : "missing file");
        first.reset();
        thread.join();
        EXPECT_TRUE(second);
    }
}

// A settings file this process may not write is not changed, not even through the journal, which
// it may write. Read-only, and held open without write sharing (Wine run by root ignores the
// read-only attribute).
TEST_F(Win32Files, AnUnwritableFileIsNotChangedThroughTheJournal) {
    {
        TEncriptor store(path, fs);
        store.WriteString("A", "1");
        store.SaveIfModified(false);
    }
    TEncriptor store(path, fs);
    store.WriteString("A", "9");
    ASSERT_TRUE(::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
    unique_hfile holder(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(holder);
    try {
        store.SaveIfModified(false);
        ADD_FAILURE() << "saved into a read-only file";
    } catch (const StoreIoError& e) {
        EXPECT_EQ(e.Error().path, path);
    }
    std::string journal;
    bool exists = false;
    IoError error;
    ASSERT_TRUE(fs.ReadFile(JournalPath(path), journal, exists, error));
    EXPECT_EQ(journal, "");
    EXPECT_EQ(TEncriptor(path, fs).ReadString("A", ""), "1");
    holder.reset();
    ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    store.SaveIfModified(false);
    EXPECT_EQ(TEncriptor(path, fs).ReadString("A", ""), "9");
}

} // namespace
} // namespace mrf::win32

namespace mrf::win32 {
namespace {

TEST(Win32CaseTable, FollowsTheAnsiCodePage) {
    UseSystemCaseTable();
    if (::GetACP() == 1252) {
        EXPECT_EQ(ToAnsiUpper("a\xe4\xff"), "A\xc4\x9f");
    }
    EXPECT_TRUE(AnsiSameText("Admins_FL_Count", "ADMINS_fl_count"));
}

} // namespace
} // namespace mrf::win32
