#include "core/service/autorun.h"

#include "core/service/names.h"

namespace mrf {

std::string RunValueData(std::string_view folder) {
    return "\"" + std::string(folder) + std::string(kGuiProgramName) + "\" /T";
}

std::optional<std::string> WantedUninstallString(std::string_view current) {
    std::string_view program = current;
    // A quoted program path ends at its closing quote; arguments may hold folders too.
    if (program.starts_with('"'))
        program = program.substr(0, program.find('"', 1));
    const size_t cut = program.find_last_of("\\:");
    if (cut == std::string_view::npos)
        return std::nullopt;
    const std::string_view folder = program.substr(0, cut + 1);
    return (folder.starts_with('"') ? "" : "\"") + std::string(folder) + std::string(kGuiProgramName) +
           "\" /U";
}

namespace {

bool UpdateRunValue(Registry& registry, std::string_view folder, bool remove) {
    SystemError error;
    auto run = registry.OpenKey(kRunKey, KeyAccess::ReadWrite, !remove, error);
    if (!run)
        return remove && error.code == kErrorFileNotFound;
    if (!remove)
        return run->WriteString(kRunValueName, RunValueData(folder), error);
    return run->DeleteValue(kRunValueName, error) || error.code == kErrorFileNotFound;
}

void CorrectUninstallString(RegistryKey& key, std::string_view name) {
    SystemError error;
    std::string current;
    bool exists = false;
    if (!key.ReadString(name, current, exists, error))
        return;
    const std::optional<std::string> wanted = WantedUninstallString(current);
    if (!wanted || current == *wanted)
        return;
    key.DeleteValue(name, error);
    key.WriteString(name, *wanted, error);
}

} // namespace

bool UpdateAutorunAndUninstall(Registry& registry, std::string_view folder, bool remove) {
    bool runDone = false;
    try {
        runDone = UpdateRunValue(registry, folder, remove);
        SystemError error;
        auto uninstall = registry.OpenKey(kUninstallKey, KeyAccess::ReadWrite, false, error);
        if (!uninstall)
            return runDone;
        CorrectUninstallString(*uninstall, kUninstallStringValue);
        if (uninstall->ValueExists(kQuietUninstallStringValue))
            CorrectUninstallString(*uninstall, kQuietUninstallStringValue);
    } catch (...) {
    }
    return runDone;
}

} // namespace mrf
