// The POSIX file port against the real file system.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <thread>
#include <sys/stat.h>
#include <unistd.h>

#include "native/posix_file_system.h"

namespace mrf {
namespace {

// A second holder waits until the first lets go, also before the file's first creation.
TEST(PosixFiles, TheLockExcludesASecondHolderUntilReleased) {
    char dir[] = "/tmp/mrf-lock-XXXXXX";
    ASSERT_NE(::mkdtemp(dir), nullptr);
    const std::string path = std::string(dir) + "/mrf.dat";
    PosixFileSystem fs;
    IoError error;
    auto first = fs.Lock(path, true, error);
    ASSERT_TRUE(first) << Describe(error);
    std::atomic<bool> second{false};
    std::thread other([&] {
        IoError e;
        auto lock = fs.Lock(path, true, e);
        second = lock != nullptr;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_FALSE(second);
    first.reset();
    other.join();
    EXPECT_TRUE(second);
    ::rmdir(dir);
}

// Two names of one file (a link from another folder, a path through "..") share one lock.
TEST(PosixFiles, EveryNameOfAFileTakesTheSameLock) {
    char dir[] = "/tmp/mrf-canon-XXXXXX";
    ASSERT_NE(::mkdtemp(dir), nullptr);
    const std::string root = dir;
    ASSERT_EQ(::mkdir((root + "/real").c_str(), 0755), 0);
    ASSERT_EQ(::mkdir((root + "/other").c_str(), 0755), 0);
    PosixFileSystem fs;
    IoError error;
    ASSERT_TRUE(fs.WriteFile(root + "/real/mrf.dat", "", error));
    ASSERT_EQ(::symlink((root + "/real/mrf.dat").c_str(), (root + "/other/link.dat").c_str()), 0);
    ASSERT_EQ(::symlink((root + "/real").c_str(), (root + "/folderlink").c_str()), 0);

    const std::string canonical = fs.CanonicalPath(root + "/real/mrf.dat");
    EXPECT_EQ(fs.CanonicalPath(root + "/other/link.dat"), canonical);
    EXPECT_EQ(fs.CanonicalPath(root + "/other/../real/./mrf.dat"), canonical);
    // A file not created yet: through its folder's canonical name.
    EXPECT_EQ(fs.CanonicalPath(root + "/folderlink/new.dat"), fs.CanonicalPath(root + "/real") + "/new.dat");

    auto first = fs.Lock(root + "/other/link.dat", true, error);
    ASSERT_TRUE(first) << Describe(error);
    std::atomic<bool> second{false};
    std::thread other([&] {
        IoError e;
        auto lock = fs.Lock(root + "/real/mrf.dat", true, e);
        second = lock != nullptr;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_FALSE(second);
    first.reset();
    other.join();
    EXPECT_TRUE(second);
    std::system(("rm -rf '" + root + "'").c_str());
}

// Replace writes over the old content and cuts what is left of it; a read-only file is not opened.
TEST(PosixFiles, AnOpenedFileIsReplacedInPlace) {
    char dir[] = "/tmp/mrf-write-XXXXXX";
    ASSERT_NE(::mkdtemp(dir), nullptr);
    const std::string path = std::string(dir) + "/mrf.dat";
    PosixFileSystem fs;
    IoError error;
    ASSERT_TRUE(fs.WriteFile(path, "a longer first content", error));
    auto file = fs.OpenForWriting(path, error);
    ASSERT_TRUE(file);
    ASSERT_TRUE(file->Replace("short", error));
    std::string data;
    bool exists = false;
    ASSERT_TRUE(fs.ReadFile(path, data, exists, error));
    EXPECT_EQ(data, "short");
    ::chmod(path.c_str(), 0444);
    if (::geteuid() != 0) {
        EXPECT_FALSE(fs.OpenForWriting(path, error));
        EXPECT_EQ(error.path, path);
    }
    std::system(("rm -rf '" + std::string(dir) + "'").c_str());
}

} // namespace
} // namespace mrf
