// ulksrv.exe: the start-up tasks, then the service or the setup.
#include <cstdlib>

#include "core/service/startup_tasks.h"
#include "core/users/settings_units.h"
#include "quillon/quillon.h"
#include "ulksrv/ulksrv.h"
#include "win32/account_lookup.h"
#include "win32/registry.h"
#include "win32/settings_store.h"
#include "win32/win32_file_system.h"

namespace mrf::ulksrv {

const std::vector<std::string>& Arguments() {
    static const std::vector<std::string> arguments(__argv + (__argc > 0 ? 1 : 0), __argv + __argc);
    return arguments;
}

const std::string& ProgramFolder() {
    static const std::string folder = win32::ProgramFolder();
    return folder;
}

namespace {

int Main() {
    // The settings store, as both programs create it; without it the user list cannot be kept,
    // and the other tasks still run.
    try {
        win32::InitSettingsStore(SettingsUnitOf);
    } catch (...) {
    }
    win32::Win32Registry registry;
    win32::Win32AccountLookup accounts;
    win32::Win32FileSystem files;
    RunStartupTasks(
        {registry, accounts, files, win32::SettingsStore, ProgramFolder(), Arguments(), win32::IsNtFamily()});
    int code = 0;
    if (::AmSystemProcess())
        code = RunAsService() ? 0 : kExitNotStartedAsService;
    else
        code = SetupService();
    win32::FreeSettingsStore();
    return code;
}

} // namespace

} // namespace mrf::ulksrv

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    return mrf::ulksrv::Main();
}
