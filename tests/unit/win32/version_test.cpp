// GetVersionString over real version resources: this test program's own, whose product version
// differs from its file version, and files without one.
#include <gtest/gtest.h>

#include <windows.h>

#include <fstream>

#include "win32/version.h"

namespace mrf::win32 {
namespace {

TEST(Win32Version, ReadsTheProductVersionNotTheFileVersion) {
    // The test program's resource: product 1.2.3.4, file 9.8.7.6 (tests/CMakeLists.txt).
    EXPECT_EQ(GetVersionString(), "1.2.3.4");
    char own[MAX_PATH];
    GetModuleFileNameA(nullptr, own, MAX_PATH);
    EXPECT_EQ(GetVersionString(own), "1.2.3.4");
}

TEST(Win32Version, IsZeroWithoutAVersionResource) {
    char dir[MAX_PATH];
    GetTempPathA(MAX_PATH, dir);
    const std::string path = std::string(dir) + "mrf_version_test.txt";
    std::ofstream(path) << "no resource here";
    EXPECT_EQ(GetVersionString(path), "0.0.0.0");
    DeleteFileA(path.c_str());
    EXPECT_EQ(GetVersionString(path), "0.0.0.0"); // missing
}

} // namespace
} // namespace mrf::win32
