#pragma once
// The registry in memory: keys by path (case ignored), string values, injected failures.
#include <algorithm>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "core/text/ansi.h"
#include "ports/account_lookup.h"
#include "ports/registry.h"

namespace mrf::test {

class FakeRegistry : public Registry {
public:
    struct Key {
        std::map<std::string, std::string> values;
        std::vector<std::string> subkeys; // in enumeration order
    };
    std::map<std::string, Key> keys;  // by upper-case path
    std::set<std::string> readOnly;   // upper-case paths whose writes are denied
    std::set<std::string> unopenable; // upper-case paths whose opening is denied
    std::vector<std::string> writes;  // "path\\value=data" of every write, in order
    std::vector<std::string> deletes; // "path\\value" of every deletion
    std::vector<KeyAccess> opensWith; // the access of every successful open

    Key& At(std::string_view path) { return keys[ToAnsiUpper(path)]; }
    bool Has(std::string_view path) const { return keys.count(ToAnsiUpper(path)) != 0; }
    std::string Value(std::string_view path, std::string_view name) {
        if (!Has(path))
            return "<no key>";
        auto& values = At(path).values;
        auto it = values.find(std::string(name));
        return it == values.end() ? "<none>" : it->second;
    }

    std::unique_ptr<RegistryKey> OpenKey(std::string_view path, KeyAccess access, bool create,
                                         SystemError& error) override;

private:
    class OpenedKey;
};

class FakeRegistry::OpenedKey : public RegistryKey {
public:
    OpenedKey(FakeRegistry& owner, std::string path, bool writable)
        : owner_(owner), path_(std::move(path)), writable_(writable) {}

    bool ReadString(std::string_view name, std::string& value, bool& exists, SystemError&) override {
        auto& values = owner_.At(path_).values;
        auto it = values.find(std::string(name));
        exists = it != values.end();
        value = exists ? it->second : std::string();
        return true;
    }
    bool WriteString(std::string_view name, std::string_view value, SystemError& error) override {
        if (!Writable(error))
            return false;
        owner_.At(path_).values[std::string(name)] = std::string(value);
        owner_.writes.push_back(path_ + "\\" + std::string(name) + "=" + std::string(value));
        return true;
    }
    bool DeleteValue(std::string_view name, SystemError& error) override {
        if (!Writable(error))
            return false;
        if (owner_.At(path_).values.erase(std::string(name)) == 0) {
            error = {"RegDeleteValueA", std::string(name), kErrorFileNotFound};
            return false;
        }
        owner_.deletes.push_back(path_ + "\\" + std::string(name));
        return true;
    }
    bool ValueExists(std::string_view name) override {
        return owner_.At(path_).values.count(std::string(name)) != 0;
    }
    bool SubkeyNames(std::vector<std::string>& names, SystemError&) override {
        names = owner_.At(path_).subkeys;
        return true;
    }

private:
    bool Writable(SystemError& error) {
        if (writable_ && !owner_.readOnly.count(ToAnsiUpper(path_)))
            return true;
        error = {"RegSetValueExA", path_, kErrorAccessDenied};
        return false;
    }
    FakeRegistry& owner_;
    std::string path_;
    bool writable_;
};

inline std::unique_ptr<RegistryKey> FakeRegistry::OpenKey(std::string_view path, KeyAccess access,
                                                          bool create, SystemError& error) {
    const std::string upper = ToAnsiUpper(path);
    if (unopenable.count(upper)) {
        error = {"RegOpenKeyExA", std::string(path), kErrorAccessDenied};
        return nullptr;
    }
    if (!Has(path)) {
        if (!create) {
            error = {"RegOpenKeyExA", std::string(path), kErrorFileNotFound};
            return nullptr;
        }
        At(path);
    }
    opensWith.push_back(access);
    return std::make_unique<OpenedKey>(*this, std::string(path), access == KeyAccess::ReadWrite);
}

class FakeAccounts : public AccountLookup {
public:
    struct Account {
        std::string name, domain;
    };
    std::map<std::string, Account> bySid;
    bool LookupSid(std::string_view sid, std::string& name, std::string& domain) override {
        auto it = bySid.find(std::string(sid));
        if (it == bySid.end())
            return false;
        name = it->second.name;
        domain = it->second.domain;
        return true;
    }
};

} // namespace mrf::test
