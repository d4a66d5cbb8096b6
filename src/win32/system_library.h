#pragma once
// A library of the system, loaded on first use from the system folder (never from beside the
// program or from the current folder), so that a run that ends without needing it never loads it.
#include <windows.h>

#include <cstring>

namespace mrf::win32 {

class SystemLibrary {
public:
    explicit SystemLibrary(const char* name);
    SystemLibrary(const SystemLibrary&) = delete;
    SystemLibrary& operator=(const SystemLibrary&) = delete;

    // The function of that name, or nullptr where the library or the function is missing.
    template <typename Function> Function Get(const char* name) const {
        static_assert(sizeof(Function) == sizeof(FARPROC));
        const FARPROC found = module_ ? ::GetProcAddress(module_, name) : nullptr;
        Function function;
        std::memcpy(&function, &found, sizeof function);
        return function;
    }

private:
    HMODULE module_ = nullptr; // kept for the life of the process
};

} // namespace mrf::win32
