#include "win32/version.h"

#include <windows.h>

#include <vector>

#include "core/gui/about.h"
#include "win32/system_library.h"

namespace mrf::win32 {
namespace {

struct VersionApi {
    SystemLibrary library{"version.dll"};
    decltype(&::GetFileVersionInfoSizeA) infoSize =
        library.Get<decltype(&::GetFileVersionInfoSizeA)>("GetFileVersionInfoSizeA");
    decltype(&::GetFileVersionInfoA) info =
        library.Get<decltype(&::GetFileVersionInfoA)>("GetFileVersionInfoA");
    decltype(&::VerQueryValueA) query = library.Get<decltype(&::VerQueryValueA)>("VerQueryValueA");
};

// Loaded when a version is first asked for (the about box, the update check).
const VersionApi& Version() {
    static const VersionApi api;
    return api;
}

} // namespace

std::string GetVersionString(const std::string& file) {
    std::string path = file;
    if (path.empty()) {
        char own[MAX_PATH * 2];
        const DWORD n = GetModuleFileNameA(nullptr, own, sizeof own);
        if (n == 0 || n >= sizeof own)
            return std::string(kNoVersion);
        path.assign(own, n);
    }
    const VersionApi& api = Version();
    if (!api.infoSize || !api.info || !api.query)
        return std::string(kNoVersion);
    DWORD handle = 0;
    const DWORD size = api.infoSize(path.c_str(), &handle);
    if (size == 0)
        return std::string(kNoVersion);
    std::vector<char> data(size);
    if (!api.info(path.c_str(), 0, size, data.data()))
        return std::string(kNoVersion);
    VS_FIXEDFILEINFO* info = nullptr;
    UINT length = 0;
    if (!api.query(data.data(), "\\", reinterpret_cast<void**>(&info), &length) || !info ||
        length < sizeof(VS_FIXEDFILEINFO))
        return std::string(kNoVersion);
    return FormatVersion(info->dwProductVersionMS, info->dwProductVersionLS);
}

} // namespace mrf::win32
