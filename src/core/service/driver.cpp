#include "core/service/driver.h"

#include "core/service/names.h"

namespace mrf {

DriverKind ChooseDriverKind(const std::vector<std::string>& arguments) {
    return !arguments.empty() && arguments.front() == kUnicodeSwitch ? DriverKind::Unicode : DriverKind::Ansi;
}

DriverNames NamesOf(DriverKind kind) {
    if (kind == DriverKind::Unicode)
        return {"ZFPUni", "Unicode", "ZFPUni.sys"};
    return {"ZFPAnsi", "Ansi", "ZFPAnsi.sys"};
}

std::string DriverDisplayName(DriverKind kind) {
    return "Zenthra File Protector " + std::string(NamesOf(kind).kindWord);
}

ServiceConfig DriverServiceConfig(DriverKind kind) {
    ServiceConfig config;
    config.name = NamesOf(kind).serviceName;
    config.displayName = DriverDisplayName(kind);
    config.serviceType = svc::KernelDriver;
    config.startType = svc::BootStart;
    config.errorControl = svc::ErrorIgnore;
    config.binaryPath = "System32\\Drivers\\" + std::string(NamesOf(kind).fileName);
    config.loadOrderGroup = "Filter";
    config.wantTag = true;
    return config;
}

bool InstallDriver(DriverKind kind, ServiceManager& manager, DriverHost& host) {
    std::string system;
    if (!host.SystemDirectory(system)) {
        host.ShowError(kNoSystemDirectoryText);
        return false;
    }
    host.ChangeDirectory(system);
    SystemError error;
    auto connection = manager.Connect(svc::ManagerAllAccess, error);
    if (!connection) {
        host.ShowError(kNoServiceManagerText);
        return false;
    }
    const ServiceConfig config = DriverServiceConfig(kind);
    auto service = connection->Create(config, svc::AllAccess, error);
    if (!service) // already there, among other causes: left as it is
        service = connection->Open(config.name, svc::AllAccess, error);
    if (!service) {
        host.ShowError(kNoDriverText);
        return false;
    }
    return true;
}

bool RemoveDriver(ServiceManager& manager, DriverHost& host) {
    SystemError error;
    auto connection = manager.Connect(svc::ManagerAllAccess, error);
    if (!connection)
        return false;
    std::string system;
    const bool haveSystem = host.SystemDirectory(system);
    if (haveSystem && !system.ends_with('\\'))
        system += '\\';
    bool complete = true;
    for (DriverKind kind : {DriverKind::Ansi, DriverKind::Unicode}) {
        const DriverNames names = NamesOf(kind);
        auto service = connection->Open(names.serviceName, svc::AllAccess, error);
        if (!service) {
            if (error.code != kErrorServiceDoesNotExist)
                complete = false;
            continue;
        }
        // A loaded driver is only marked for deletion; the entry and its file go at the next start.
        if (!service->Delete(error)) {
            if (error.code != kErrorServiceMarkedForDelete)
                complete = false;
            continue;
        }
        if (haveSystem)
            host.DeleteOnReboot(system + "Drivers\\" + std::string(names.fileName));
    }
    return complete;
}

} // namespace mrf
