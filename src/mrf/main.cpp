// mrf.exe: the settings window, the logon start and the tray program.
#include <windows.h>

#include "core/gui/option_keys.h"
#include "core/gui/startup.h"
#include "core/users/settings_units.h"
#include "mrf/main_form.h"
#include "mrf/message.h"
#include "mrf/single_instance.h"
#include "win32/bcrypt_pbkdf2.h"
#include "win32/engine_loader.h"
#include "win32/settings_store.h"
#include "win32/win32_system.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    using namespace mrf;
    const std::string programPath = win32::ProgramPath();
    std::vector<std::string> args(__argv + 1, __argv + __argc);
    // The settings store comes before anything else: the program's own path with ".dat".
    try {
        win32::InitSettingsStore(SettingsUnitOf, ChangeExtension(programPath, ".dat"));
    } catch (const StoreIoError& e) {
        // A logon must not wait on a message box; the next run that opens the window tells it.
        if (args.empty() || args[0] != "/T")
            ui::Tell({nullptr, e.what(), std::string(kAppTitle), ui::Buttons::Ok, ui::Icon::Error});
        return 1;
    }

    ui::SingleInstance instance(programPath);
    // An instance that is just ending takes no arguments any more; then this one runs instead.
    if (instance.OtherRuns() && (instance.HandOver(args) || !instance.TakeOver())) {
        win32::FreeSettingsStore();
        return 0;
    }

    win32::Win32EngineLoader loader(win32::ProgramFolder());
    win32::BcryptPbkdf2 crypto;
    win32::Win32System system;
    int code = 0;
    {
        ui::TMainForm form(*win32::SettingsStore, loader, crypto, crypto, system,
                           [&instance](HWND window) { instance.Publish(window); });
        form.FormCreate();
        form.StartUp(args.empty() ? std::string() : args[0]);
        code = form.Run();
        form.Destroy();
    }
    win32::FreeSettingsStore();
    return code;
}
