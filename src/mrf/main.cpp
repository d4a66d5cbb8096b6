// mrf.exe: the settings window, the logon start and the tray program.
#include <windows.h>

#include <commctrl.h>
#include <objbase.h>

#include "core/gui/option_keys.h"
#include "core/gui/startup.h"
#include "core/users/settings_units.h"
#include "mrf/main_form.h"
#include "mrf/single_instance.h"
#include "win32/bcrypt_pbkdf2.h"
#include "win32/engine_loader.h"
#include "win32/settings_store.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    using namespace mrf;
    const std::string programPath = win32::ProgramPath();
    // The settings store comes before anything else: the program's own path with ".dat".
    try {
        win32::InitSettingsStore(SettingsUnitOf, ChangeExtension(programPath, ".dat"));
    } catch (const StoreIoError& e) {
        ::MessageBoxA(nullptr, e.what(), kAppTitle.data(), MB_OK | MB_ICONERROR);
        return 1;
    }
    std::vector<std::string> args(__argv + 1, __argv + __argc);

    ui::SingleInstance instance(programPath);
    // An instance that is just ending takes no arguments any more; then this one runs instead.
    if (instance.OtherRuns() && (instance.HandOver(args) || !instance.TakeOver())) {
        win32::FreeSettingsStore();
        return 0;
    }
    // The folder browser and the shell need COM on this thread.
    ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);

    win32::Win32EngineLoader loader(win32::ProgramFolder());
    win32::BcryptPbkdf2 crypto;
    int code = 0;
    {
        ui::TMainForm form(*win32::SettingsStore, loader, crypto, crypto);
        if (!form.Create()) {
            win32::FreeSettingsStore();
            return 1;
        }
        instance.Publish(form.Handle());
        form.StartUp(args.empty() ? std::string() : args[0]);
        code = form.Run();
        ::DestroyWindow(form.Handle());
    }
    ::CoUninitialize();
    win32::FreeSettingsStore();
    return code;
}
