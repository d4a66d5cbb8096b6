#pragma once
// The registry under HKEY_LOCAL_MACHINE.
#include "ports/registry.h"

namespace mrf::win32 {

class Win32Registry : public Registry {
public:
    // Keys opened for writing get full access (KEY_ALL_ACCESS), keys for reading only KEY_READ.
    std::unique_ptr<RegistryKey> OpenKey(std::string_view path, KeyAccess access, bool create,
                                         SystemError& error) override;
};

} // namespace mrf::win32
