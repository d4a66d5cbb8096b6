#include "win32/engine_loader.h"

#include "core/engine/short_string.h"
#include "win32/engine_interface.h"
#include "win32/handles.h"

namespace mrf::win32 {
namespace {

class Win32EngineLibrary : public EngineLibrary {
public:
    Win32EngineLibrary(unique_hmodule module, CheckDriverFn check, SetSecurityFn set, AddEntryFn add)
        : module_(std::move(module)), check_(check), set_(set), add_(add) {}

    bool CheckDriver() override { return check_() != 0; }
    void SetSecurity(bool enabled) override { set_(enabled ? 1 : 0); }
    void AddEntry(const EngineEntry& e) override {
        const ShortString path = ToShortString(e.path), excludeFiles = ToShortString(e.excludeFiles),
                          processes = ToShortString(e.processes),
                          excludeProcesses = ToShortString(e.excludeProcesses);
        add_(e.mode, path.data(), excludeFiles.data(), processes.data(), excludeProcesses.data());
    }

private:
    unique_hmodule module_;
    CheckDriverFn check_;
    SetSecurityFn set_;
    AddEntryFn add_;
};

template <typename Fn> bool Lookup(HMODULE module, const char* name, Fn& fn, EngineLoadError& error) {
    fn = reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
    if (fn)
        return true;
    error = {"GetProcAddress", name, ::GetLastError()};
    return false;
}

} // namespace

std::unique_ptr<EngineLibrary> Win32EngineLoader::Load(EngineLoadError& error) {
    const std::string path = folder_ + kEngineLibraryName;
    // The altered search path resolves the library's own imports from its folder too.
    unique_hmodule module(::LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH));
    if (!module) {
        error = {"LoadLibraryExA", path, ::GetLastError()};
        return nullptr;
    }
    CheckDriverFn check = nullptr;
    SetSecurityFn set = nullptr;
    AddEntryFn add = nullptr;
    // A library without the whole interface counts as absent.
    if (!Lookup(module.get(), "CheckDriver", check, error) ||
        !Lookup(module.get(), "SetSecurity", set, error) || !Lookup(module.get(), "AddEntry", add, error))
        return nullptr;
    return std::make_unique<Win32EngineLibrary>(std::move(module), check, set, add);
}

} // namespace mrf::win32
