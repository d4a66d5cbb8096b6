// A stand-in for the GUI program's start-up path: resolves the logged-on user's rule key over the
// settings file beside it, loads the engine and applies (or lifts) the rules.
//   enginehost [on|off|user]
#include <windows.h>

#include <iostream>
#include <string>

#include "core/engine/bridge.h"
#include "core/engine/rule_key.h"
#include "core/users/settings_units.h"
#include "win32/engine_loader.h"
#include "win32/settings_store.h"
#include "win32/user_name.h"

namespace {

std::string ProgramFileName() {
    char path[MAX_PATH];
    const DWORD n = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    const std::string full(path, n);
    return full.substr(full.find_last_of('\\') + 1);
}

} // namespace

int main(int argc, char** argv) {
    const std::string command = argc > 1 ? argv[1] : "on";
    if (command != "on" && command != "off" && command != "user") {
        std::cerr << "usage: enginehost [on|off|user]\n";
        return 2;
    }
    const std::string user = mrf::win32::LoggedOnUserName();
    if (command == "user") {
        std::cout << user << "\n";
        return 0;
    }
    try {
        mrf::win32::InitSettingsStore(mrf::SettingsUnitOf);
        mrf::TEncriptor& store = *mrf::win32::SettingsStore;
        const std::string ruleKey = mrf::RuleKeyFor(store, user);
        std::cout << "rule key: " << ruleKey << "\n";
        mrf::win32::Win32EngineLoader loader(mrf::win32::ProgramFolder());
        mrf::EngineBridge bridge(loader, mrf::win32::ProgramFolder());
        if (!bridge.InitEngine(ruleKey, mrf::DefaultProcessList(ProgramFileName()))) {
            const mrf::EngineLoadError& e = bridge.LoadError();
            std::cout << "engine: not available"
                      << (e.api.empty() ? " (no driver)" : " (" + e.api + " " + e.detail + ")") << "\n";
            return 1;
        }
        if (auto error = bridge.ApplyRules(command == "on", store)) {
            std::cout << "error: " << error->Message() << "\n";
            return 3;
        }
        std::cout << "applied: " << command << "\n";
        bridge.FreeEngine();
        mrf::win32::FreeSettingsStore();
        return 0;
    } catch (const std::exception& e) {
        std::cout << "error: " << e.what() << "\n";
        return 3;
    }
}
