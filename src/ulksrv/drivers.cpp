#include "ulksrv/drivers.h"

#include "ulksrv/ulksrv.h"

namespace mrf::ulksrv {

bool Win32DriverHost::SystemDirectory(std::string& path) {
    char buffer[264] = {};
    const UINT n = ::GetSystemDirectoryA(buffer, 260);
    if (n == 0 || n > 260)
        return false;
    path.assign(buffer, n);
    return true;
}

void Win32DriverHost::ChangeDirectory(const std::string& path) {
    ::SetCurrentDirectoryA(path.c_str());
}

void Win32DriverHost::ShowError(std::string_view text) {
    const std::string t(text);
    ::MessageBoxA(nullptr, t.c_str(), "Error", MB_OK);
}

bool Win32DriverHost::DeleteOnReboot(const std::string& path) {
    return ulksrv::DeleteOnReboot(path);
}

bool DeleteOnReboot(const std::string& path) {
    return ::MoveFileExA(path.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT) != FALSE;
}

} // namespace mrf::ulksrv
