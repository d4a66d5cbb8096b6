// The POSIX file port against the real file system.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <thread>
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

} // namespace
} // namespace mrf
