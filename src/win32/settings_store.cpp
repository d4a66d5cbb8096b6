#include "win32/settings_store.h"

#include <windows.h>

#include "core/text/ansi.h"
#include "win32/win32_file_system.h"

namespace mrf::win32 {

TEncriptor* SettingsStore = nullptr;

namespace {

Win32FileSystem& Files() {
    static Win32FileSystem files;
    return files;
}

} // namespace

void UseSystemCaseTable() {
    CaseTable table{};
    for (int i = 0; i < 256; ++i)
        table[i] = static_cast<unsigned char>(i);
    char chars[256];
    for (int i = 0; i < 256; ++i)
        chars[i] = static_cast<char>(i);
    ::CharUpperBuffA(chars + 1, 255); // not the NUL
    for (int i = 1; i < 256; ++i)
        table[i] = static_cast<unsigned char>(chars[i]);
    SetAnsiUpperTable(table);
}

std::string ProgramPath() {
    char path[MAX_PATH];
    DWORD n = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    return std::string(path, n < MAX_PATH ? n : 0);
}

std::string ProgramFolder() {
    const std::string full = ProgramPath();
    size_t slash = full.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : full.substr(0, slash + 1);
}

bool IsNtFamily() {
    return (::GetVersion() & 0x80000000u) == 0;
}

std::string SystemFolder() {
    char path[MAX_PATH];
    UINT n = ::GetSystemDirectoryA(path, MAX_PATH);
    return std::string(path, n < MAX_PATH ? n : 0);
}

std::string SettingsPath() {
    return ProgramFolder() + "mrf.dat";
}

void InitSettingsStore(SettingsUnits units, const std::string& path) {
    if (SettingsStore)
        return;
    UseSystemCaseTable();
    GrantEveryoneAccess(path);
    GrantEveryoneAccess(JournalPath(path));
    SettingsStore = new TEncriptor(path, Files(), std::move(units));
}

void FreeSettingsStore() {
    delete SettingsStore;
    SettingsStore = nullptr;
}

} // namespace mrf::win32
