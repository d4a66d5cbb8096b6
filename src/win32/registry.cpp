#include "win32/registry.h"

#include <windows.h>

#include "win32/handles.h"

namespace mrf::win32 {

namespace {

class Win32Key : public RegistryKey {
public:
    Win32Key(unique_hkey key, std::string path) : key_(std::move(key)), path_(std::move(path)) {}

    bool ReadString(std::string_view name, std::string& value, bool& exists, SystemError& error) override {
        const std::string n(name);
        value.clear();
        exists = false;
        DWORD type = 0, size = 0;
        LONG rc = ::RegQueryValueExA(key_.get(), n.c_str(), nullptr, &type, nullptr, &size);
        if (rc == ERROR_FILE_NOT_FOUND)
            return true;
        if (rc == ERROR_SUCCESS && type != REG_SZ && type != REG_EXPAND_SZ)
            rc = ERROR_INVALID_DATA;
        std::string buffer(size, '\0');
        if (rc == ERROR_SUCCESS)
            rc = ::RegQueryValueExA(key_.get(), n.c_str(), nullptr, &type,
                                    reinterpret_cast<BYTE*>(buffer.data()), &size);
        if (rc != ERROR_SUCCESS) {
            error = {"RegQueryValueExA", path_ + "\\" + n, static_cast<uint32_t>(rc)};
            return false;
        }
        buffer.resize(size);
        // The stored terminator, or several, are not part of the text.
        while (!buffer.empty() && buffer.back() == '\0')
            buffer.pop_back();
        value = std::move(buffer);
        exists = true;
        return true;
    }

    bool WriteString(std::string_view name, std::string_view value, SystemError& error) override {
        const std::string n(name), v(value);
        LONG rc = ::RegSetValueExA(key_.get(), n.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(v.c_str()),
                                   static_cast<DWORD>(v.size() + 1));
        return Check(rc, "RegSetValueExA", n, error);
    }

    bool DeleteValue(std::string_view name, SystemError& error) override {
        const std::string n(name);
        return Check(::RegDeleteValueA(key_.get(), n.c_str()), "RegDeleteValueA", n, error);
    }

    bool ValueExists(std::string_view name) override {
        const std::string n(name);
        return ::RegQueryValueExA(key_.get(), n.c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
    }

    bool SubkeyNames(std::vector<std::string>& names, SystemError& error) override {
        names.clear();
        for (DWORD index = 0;; ++index) {
            char name[256];
            DWORD size = sizeof name;
            LONG rc = ::RegEnumKeyExA(key_.get(), index, name, &size, nullptr, nullptr, nullptr, nullptr);
            if (rc == ERROR_NO_MORE_ITEMS)
                return true;
            if (rc != ERROR_SUCCESS)
                return Check(rc, "RegEnumKeyExA", path_, error);
            names.emplace_back(name, size);
        }
    }

private:
    bool Check(LONG rc, const char* api, const std::string& name, SystemError& error) {
        if (rc == ERROR_SUCCESS)
            return true;
        error = {api, path_ + "\\" + name, static_cast<uint32_t>(rc)};
        return false;
    }

    unique_hkey key_;
    std::string path_;
};

} // namespace

std::unique_ptr<RegistryKey> Win32Registry::OpenKey(std::string_view path, KeyAccess access, bool create,
                                                    SystemError& error) {
    const std::string p(path);
    const REGSAM sam = access == KeyAccess::ReadWrite ? KEY_ALL_ACCESS : KEY_READ;
    unique_hkey key;
    LONG rc = create ? ::RegCreateKeyExA(HKEY_LOCAL_MACHINE, p.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                         sam, nullptr, key.put(), nullptr)
                     : ::RegOpenKeyExA(HKEY_LOCAL_MACHINE, p.c_str(), 0, sam, key.put());
    if (rc != ERROR_SUCCESS) {
        error = {create ? "RegCreateKeyExA" : "RegOpenKeyExA", p, static_cast<uint32_t>(rc)};
        return nullptr;
    }
    return std::make_unique<Win32Key>(std::move(key), p);
}

} // namespace mrf::win32
