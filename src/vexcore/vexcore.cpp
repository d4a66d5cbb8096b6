// vexcore.dll, the reference engine: keeps and evaluates the rules it is given; it has no kernel
// part and enforces nothing.
#include <windows.h>

#include <cstdint>

#include "core/engine/reference/reference_engine.h"
#include "core/engine/short_string.h"
#include "vexcore/vexcore_files.h"

namespace {

HMODULE g_module = nullptr;

class FileStorage : public mrf::EngineStorage {
public:
    explicit FileStorage(mrf::EngineConfig config) : config_(std::move(config)) {}
    bool SaveState(const std::string& text, std::string& error) override {
        return mrf::vexcore::ReplaceFile(config_.statePath, text, error);
    }
    void Log(const std::string& line) override {
        if (!config_.logPath.empty())
            mrf::vexcore::AppendLine(config_.logPath, line);
    }
    bool DriverRegistered() override { return mrf::vexcore::DriverRegistered(); }

private:
    mrf::EngineConfig config_;
};

mrf::ReferenceEngine& Engine() {
    static FileStorage storage(mrf::vexcore::LoadEngineConfig(g_module));
    static mrf::ReferenceEngine engine(storage);
    return engine;
}

} // namespace

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        g_module = instance;
        ::DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}

// No exception may cross into the caller, which is not C++.
extern "C" unsigned char __stdcall CheckDriver(void) {
    try {
        return Engine().CheckDriver() ? 1 : 0;
    } catch (...) {
        return 0;
    }
}

extern "C" void __stdcall SetSecurity(unsigned char enabled) {
    try {
        Engine().SetSecurity(enabled != 0);
    } catch (...) {
    }
}

extern "C" void __stdcall AddEntry(int32_t mode, const unsigned char* path, const unsigned char* excludeFiles,
                                   const unsigned char* processes, const unsigned char* excludeProcesses) {
    try {
        Engine().AddEntry({mode, mrf::FromShortString(path), mrf::FromShortString(excludeFiles),
                           mrf::FromShortString(processes), mrf::FromShortString(excludeProcesses)});
    } catch (...) {
    }
}
