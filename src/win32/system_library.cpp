#include "win32/system_library.h"

#include <string>

namespace mrf::win32 {

SystemLibrary::SystemLibrary(const char* name) {
    char folder[MAX_PATH];
    const UINT n = ::GetSystemDirectoryA(folder, MAX_PATH);
    if (n == 0 || n >= MAX_PATH)
        return;
    module_ = ::LoadLibraryA((std::string(folder, n) + "\\" + name).c_str());
}

} // namespace mrf::win32
