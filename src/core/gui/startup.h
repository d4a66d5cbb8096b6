#pragma once
// The start-up sequence over the first argument, the uninstall path and a second start's arguments.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/gui/main_state.h"
#include "core/gui/options.h"
#include "core/gui/password_gate.h"
#include "core/gui/protection.h"
#include "core/store/encriptor.h"
#include "core/text/paths.h"

namespace mrf {

// The program's effects at start-up; every failure of these is silent.
class StartupHost {
public:
    virtual ~StartupHost() = default;
    virtual bool IsNtFamily() = 0;
    // The program file's full path ("C:\...\mrf.exe").
    virtual std::string ProgramPath() = 0;
    // SeRestorePrivilege, then SeBackupPrivilege.
    virtual void EnablePrivileges() = 0;
    virtual void GrantEveryoneAccess(const std::string& path) = 0;
    // Registers the main window for its session's change notices.
    virtual bool RegisterSessionNotify() = 0;
    virtual void StartSkins() = 0;
    // Routes the application's messages through the session-change handler.
    virtual void InstallSessionHook() = 0;
    // Unregisters the running hot key and registers code (none when code has no key).
    virtual void ApplyHotKey(uint16_t code) = 0;
    // RefreshUsersPage (which fills the option controls), then FillFolderList.
    virtual void RefreshPages() = 0;
    // Asks the application to end; the start-up returns right after.
    virtual void Terminate() = 0;
    // Shell "open", normal window, not waited for.
    virtual void StartProgram(const std::string& path, const std::string& arguments) = 0;
    // Whether this process holds administrator rights in full (not only as a filtered token).
    virtual bool IsElevated() = 0;
    // Shell "runas": the system asks for administrator rights first. Not waited for.
    virtual void StartProgramAsAdministrator(const std::string& path, const std::string& arguments) = 0;
    virtual bool FileExists(const std::string& path) = 0;
    // Blocks the window for ms milliseconds.
    virtual void Wait(unsigned ms) = 0;
    virtual void SetHelpFile(const std::string& path) = 0;
    virtual void EnableUpdateTimer() = 0;
};

// Whether a run with this first argument ends in the start-up without showing a window, a prompt
// or a tray icon: "/I", "/S", an unknown argument, and a logon run that starts nothing or does
// not stay in the tray.
bool EndsWithoutWindow(std::string_view argument, bool nt, const TEncriptor& store);

class Startup {
public:
    Startup(StartupHost& host, WindowHost& window, TEncriptor& store, MainState& state, PasswordGate& gate,
            Protection& protection, TrayControl& tray);

    void StartUp(std::string_view argument);
    // true: the uninstall went ahead (and the program ends).
    bool UninstallProgram();
    // A second start's arguments, without its program path.
    void CmdLineReceived(const std::vector<std::string>& arguments);

private:
    void ShowResult(const CommandResult& result);

    StartupHost& host_;
    WindowHost& window_;
    TEncriptor& store_;
    MainState& state_;
    PasswordGate& gate_;
    Protection& protection_;
    TrayControl& tray_;
};

} // namespace mrf
