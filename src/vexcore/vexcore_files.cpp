#include "vexcore/vexcore_files.h"

#include <shlobj.h>

#include "win32/handles.h"
#include "win32/win32_file_system.h"

#include "core/text/paths.h"

namespace mrf::vexcore {
namespace {

std::string LastError(const char* api) {
    const DWORD code = ::GetLastError();
    return std::string(api) + " failed (error " + std::to_string(code) + ": " + win32::SystemMessage(code) +
           ")";
}

} // namespace

std::string DefaultStatePath() {
    char folder[MAX_PATH] = {};
    if (FAILED(::SHGetFolderPathA(nullptr, CSIDL_COMMON_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder)))
        return std::string();
    return std::string(folder) + "\\Marrowfold\\vexcore.state";
}

EngineConfig LoadEngineConfig(HMODULE module) {
    char path[MAX_PATH];
    const DWORD n = ::GetModuleFileNameA(module, path, MAX_PATH);
    const std::string folder = FolderOf(std::string(path, n));
    std::string text;
    bool exists = false;
    IoError ignored;
    win32::Win32FileSystem files;
    files.ReadFile(folder + "vexcore.ini", text, exists, ignored);
    return ParseEngineConfig(text, folder, DefaultStatePath());
}

bool ReplaceFile(const std::string& path, const std::string& text, std::string& error) {
    if (path.empty()) {
        error = "no state path";
        return false;
    }
    const std::string folder = FolderOf(path);
    if (!folder.empty())
        ::CreateDirectoryA(folder.c_str(), nullptr); // the usual case: it exists already
    const std::string temp = path + ".new";
    {
        win32::unique_hfile file(::CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                               FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) {
            error = LastError("CreateFileA") + " for \"" + temp + "\"";
            return false;
        }
        DWORD written = 0;
        if (!::WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr) ||
            written != text.size() || !::FlushFileBuffers(file.get())) {
            error = LastError("WriteFile") + " for \"" + temp + "\"";
            return false;
        }
    }
    if (!::MoveFileExA(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        error = LastError("MoveFileExA") + " for \"" + path + "\"";
        ::DeleteFileA(temp.c_str());
        return false;
    }
    // Every user's GUI program applies its rules, so every account must be able to replace it.
    win32::GrantEveryoneAccess(path);
    return true;
}

void AppendLine(const std::string& path, const std::string& line) {
    win32::unique_hfile file(::CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                           nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return;
    const std::string text = line + "\r\n";
    DWORD written = 0;
    ::WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

bool DriverRegistered() {
    win32::unique_schandle manager(::OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT));
    if (!manager)
        return false;
    for (const char* name : {"ZFPAnsi", "ZFPUni"}) {
        win32::unique_schandle service(::OpenServiceA(manager.get(), name, SERVICE_QUERY_STATUS));
        if (service || ::GetLastError() == ERROR_ACCESS_DENIED)
            return true;
    }
    return false;
}

} // namespace mrf::vexcore
