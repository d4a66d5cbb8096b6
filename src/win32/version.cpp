#include "win32/version.h"

#include <windows.h>

#include <vector>

#include "core/gui/about.h"

namespace mrf::win32 {

std::string GetVersionString(const std::string& file) {
    std::string path = file;
    if (path.empty()) {
        char own[MAX_PATH * 2];
        const DWORD n = GetModuleFileNameA(nullptr, own, sizeof own);
        if (n == 0 || n >= sizeof own)
            return std::string(kNoVersion);
        path.assign(own, n);
    }
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &handle);
    if (size == 0)
        return std::string(kNoVersion);
    std::vector<char> data(size);
    if (!GetFileVersionInfoA(path.c_str(), 0, size, data.data()))
        return std::string(kNoVersion);
    VS_FIXEDFILEINFO* info = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(data.data(), "\\", reinterpret_cast<void**>(&info), &length) || !info ||
        length < sizeof(VS_FIXEDFILEINFO))
        return std::string(kNoVersion);
    return FormatVersion(info->dwProductVersionMS, info->dwProductVersionLS);
}

} // namespace mrf::win32
