#include "win32/win32_system.h"

#include <windows.h>

#include <shellapi.h>

#include "win32/handles.h"
#include "win32/settings_store.h"

namespace mrf::win32 {
namespace {

SystemError LastError(const char* api) {
    return {api, ::GetLastError()};
}

// Loads "Wtsapi32.dll" from the system folder only, never from wherever the search order would
// find a copy, and calls one of its two notification functions for the window.
SystemResult CallSessionNotification(const char* function, HWND window, bool registering) {
    const std::string dll = SystemFolder() + "\\Wtsapi32.dll";
    unique_hmodule lib(::LoadLibraryA(dll.c_str()));
    if (!lib)
        return LastError("LoadLibrary");
    FARPROC fn = ::GetProcAddress(lib.get(), function);
    if (!fn)
        return LastError("GetProcAddress");
    BOOL ok;
    if (registering)
        ok = reinterpret_cast<BOOL(WINAPI*)(HWND, DWORD)>(reinterpret_cast<void*>(fn))(window,
                                                                                       0 /* this session */);
    else
        ok = reinterpret_cast<BOOL(WINAPI*)(HWND)>(reinterpret_cast<void*>(fn))(window);
    if (!ok)
        return LastError(function);
    return std::nullopt;
}

} // namespace

SystemResult Win32System::EnablePrivilege(std::string_view name) {
    unique_handle token;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, token.put()))
        return LastError("OpenProcessToken");
    TOKEN_PRIVILEGES tp{};
    tp.PrivilegeCount = 1;
    tp.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    if (!::LookupPrivilegeValueA(nullptr, std::string(name).c_str(), &tp.Privileges[0].Luid))
        return LastError("LookupPrivilegeValue");
    // Succeeds also when the token lacks the privilege; the code then says so.
    if (!::AdjustTokenPrivileges(token.get(), FALSE, &tp, 0, nullptr, nullptr) ||
        ::GetLastError() == ERROR_NOT_ALL_ASSIGNED)
        return LastError("AdjustTokenPrivileges");
    return std::nullopt;
}

SystemResult Win32System::RegisterSessionNotification(WindowRef window) {
    return CallSessionNotification("WTSRegisterSessionNotification", reinterpret_cast<HWND>(window), true);
}

SystemResult Win32System::UnregisterSessionNotification(WindowRef window) {
    return CallSessionNotification("WTSUnRegisterSessionNotification", reinterpret_cast<HWND>(window), false);
}

SystemResult Win32System::StartProgram(const std::string& path, const std::string& arguments,
                                       const std::string& folder, std::string_view verb, WindowRef owner) {
    const std::string v(verb);
    HINSTANCE result = ::ShellExecuteA(reinterpret_cast<HWND>(owner), v.c_str(), path.c_str(),
                                       arguments.empty() ? nullptr : arguments.c_str(),
                                       folder.empty() ? nullptr : folder.c_str(), SW_SHOWNORMAL);
    // Values up to 32 are the shell's error codes.
    const auto code = reinterpret_cast<INT_PTR>(result);
    if (code <= 32)
        return SystemError{"ShellExecute", static_cast<uint32_t>(code)};
    return std::nullopt;
}

bool Win32System::IsElevated() {
    unique_handle token;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, token.put()))
        return true;
    TOKEN_ELEVATION elevation{};
    DWORD size = 0;
    // Before user account control there is no such query, and every administrator holds his rights.
    if (!::GetTokenInformation(token.get(), TokenElevation, &elevation, sizeof elevation, &size))
        return true;
    return elevation.TokenIsElevated != 0;
}

bool Win32System::FileExists(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

} // namespace mrf::win32
