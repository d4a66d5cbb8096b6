#include "core/gui/startup.h"

#include "core/gui/option_keys.h"

namespace mrf {

Startup::Startup(StartupHost& host, WindowHost& window, TEncriptor& store, MainState& state,
                 PasswordGate& gate, Protection& protection, TrayControl& tray)
    : host_(host), window_(window), store_(store), state_(state), gate_(gate), protection_(protection),
      tray_(tray) {}

void Startup::ShowResult(const CommandResult& result) {
    if (result.error)
        window_.ShowMessage(*result.error);
}

void Startup::StartUp(std::string_view argument) {
    const bool nt = host_.IsNtFamily();
    const std::string programPath = host_.ProgramPath();
    const std::string folder = FolderOf(programPath);
    if (nt) {
        host_.EnablePrivileges();
        host_.GrantEveryoneAccess(ChangeExtension(programPath, ".dat"));
        host_.GrantEveryoneAccess(folder + "ulk.ini");
    }
    // A run that ends without showing anything waits for no message: the session notices and the
    // hot key would be registered only to be dropped again, and need a window that such a run never
    // builds.
    const bool waits = !EndsWithoutWindow(argument, nt, store_);
    state_.sessionNotify = waits && host_.RegisterSessionNotify();
    host_.StartSkins();
    if (state_.sessionNotify)
        host_.InstallSessionHook();

    const bool none = argument.empty();
    if (none || argument == "/D") {
        if (gate_.AskAdminPassword() == GateResult::Refused) {
            host_.Terminate();
            return;
        }
    }
    if (waits)
        host_.ApplyHotKey(HotKeyToRegister(store_));

    if (argument == "/U") {
        UninstallProgram();
        return;
    }
    // An unknown argument would leave a program without window or tray icon that nobody can reach.
    if (!none && argument != "/S" && argument != "/D" && argument != "/T") {
        host_.Terminate();
        return;
    }
    host_.RefreshPages();

    if (argument == "/S") {
        ShowResult(protection_.Start());
        host_.Terminate();
        return;
    }
    if (argument == "/D") {
        if (auto result = protection_.Pause1Click())
            ShowResult(*result);
        host_.Terminate();
        return;
    }
    if (argument == "/T") {
        if (nt && !AutoStartOn(store_)) {
            host_.Terminate();
            return;
        }
        CommandResult result = protection_.Start();
        // A logon must not wait on a message box: a fault is told when the window next opens, by
        // this program from the tray, or by the next one that opens the window.
        if (!store_.ReadBool(keys::kMinimize, keys::kMinimizeDefault)) {
            host_.Terminate();
            return;
        }
        if (result.error)
            state_.pendingMessage = result.error;
        tray_.HideToTray();
    } else {
        // Opening the settings window never lifts protection.
        CommandResult result = protection_.Start();
        if (result.error)
            state_.pendingMessage = result.error;
        tray_.ShowWindowAtStart();
    }
    host_.SetHelpFile(folder + "Help\\ulk.chm");
    host_.EnableUpdateTimer();
    state_.settingsModified = false;
}

bool EndsWithoutWindow(std::string_view argument, bool nt, const TEncriptor& store) {
    if (argument == "/I" || argument == "/S")
        return true;
    if (argument == "/T")
        return (nt && !AutoStartOn(store)) || !store.ReadBool(keys::kMinimize, keys::kMinimizeDefault);
    // Unknown arguments end too; no argument, "/D" and "/U" show a window or a prompt.
    return !argument.empty() && argument != "/D" && argument != "/U";
}

bool Startup::UninstallProgram() {
    // The gate's busy result never lets the uninstall go ahead: someone is at another prompt.
    GateResult gate = gate_.AskAdminPassword();
    if (gate == GateResult::Busy)
        return false;
    if (gate == GateResult::Refused) {
        host_.Terminate();
        return false;
    }
    protection_.Stop();
    host_.Wait(500);
    const std::string folder = FolderOf(host_.ProgramPath());
    // The removal needs administrator rights, which ulksrv.exe never asks for itself.
    if (host_.IsElevated())
        host_.StartProgram(folder + "ulksrv.exe", "/un");
    else
        host_.StartProgramAsAdministrator(folder + "ulksrv.exe", "/un");
    host_.Wait(2000);
    const std::string uninstaller = folder + "unins000.exe";
    if (host_.FileExists(uninstaller))
        host_.StartProgram(uninstaller, "");
    host_.Terminate();
    return true;
}

void Startup::CmdLineReceived(const std::vector<std::string>& arguments) {
    if (arguments.empty()) {
        tray_.ShowSettingsWindow();
        return;
    }
    if (arguments.front() == "/U" && !state_.passwordPromptOpen)
        UninstallProgram();
}

} // namespace mrf
