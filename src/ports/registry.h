#pragma once
// Keys and string values under HKEY_LOCAL_MACHINE.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "ports/system_error.h"

namespace mrf {

class RegistryKey {
public:
    virtual ~RegistryKey() = default;
    // A missing value is no failure: exists turns false and value empty.
    virtual bool ReadString(std::string_view name, std::string& value, bool& exists, SystemError& error) = 0;
    virtual bool WriteString(std::string_view name, std::string_view value, SystemError& error) = 0;
    // A missing value fails with kErrorFileNotFound.
    virtual bool DeleteValue(std::string_view name, SystemError& error) = 0;
    virtual bool ValueExists(std::string_view name) = 0;
    // The names of the subkeys, in the order the system enumerates them.
    virtual bool SubkeyNames(std::vector<std::string>& names, SystemError& error) = 0;
};

enum class KeyAccess { Read, ReadWrite };

class Registry {
public:
    virtual ~Registry() = default;
    // Opens HKEY_LOCAL_MACHINE\path; with create, a missing key is created (ReadWrite only).
    // Null on failure; a missing key fails with kErrorFileNotFound.
    virtual std::unique_ptr<RegistryKey> OpenKey(std::string_view path, KeyAccess access, bool create,
                                                 SystemError& error) = 0;
};

} // namespace mrf
