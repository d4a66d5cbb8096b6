#include "win32/service_manager.h"

#include <vector>

#include "win32/handles.h"

namespace mrf::win32 {

namespace {

bool Fail(const char* api, const std::string& name, SystemError& error) {
    error = {api, name, ::GetLastError()};
    return false;
}

const char* OrNull(const std::string& text) {
    return text.empty() ? nullptr : text.c_str();
}

class Win32Service : public Service {
public:
    Win32Service(unique_schandle handle, std::string name, GrantEveryoneFunction grant)
        : handle_(std::move(handle)), name_(std::move(name)), grant_(grant) {}

    bool QueryConfig(ServiceConfig& config, SystemError& error) override {
        DWORD needed = 0;
        ::QueryServiceConfigA(handle_.get(), nullptr, 0, &needed);
        if (needed == 0)
            return Fail("QueryServiceConfigA", name_, error);
        std::vector<unsigned char> buffer(needed);
        auto* c = reinterpret_cast<QUERY_SERVICE_CONFIGA*>(buffer.data());
        if (!::QueryServiceConfigA(handle_.get(), c, needed, &needed))
            return Fail("QueryServiceConfigA", name_, error);
        config.name = name_;
        config.serviceType = c->dwServiceType;
        config.startType = c->dwStartType;
        config.errorControl = c->dwErrorControl;
        config.binaryPath = c->lpBinaryPathName ? c->lpBinaryPathName : "";
        config.loadOrderGroup = c->lpLoadOrderGroup ? c->lpLoadOrderGroup : "";
        config.displayName = c->lpDisplayName ? c->lpDisplayName : "";
        return true;
    }

    bool QueryState(uint32_t& state, SystemError& error) override {
        SERVICE_STATUS status{};
        if (!::QueryServiceStatus(handle_.get(), &status))
            return Fail("QueryServiceStatus", name_, error);
        state = status.dwCurrentState;
        return true;
    }

    bool Control(uint32_t control, uint32_t& state, SystemError& error) override {
        SERVICE_STATUS status{};
        if (!::ControlService(handle_.get(), control, &status))
            return Fail("ControlService", name_, error);
        state = status.dwCurrentState;
        return true;
    }

    bool ChangeConfig(const ServiceConfig& config, SystemError& error) override {
        if (!::ChangeServiceConfigA(handle_.get(), config.serviceType, config.startType, config.errorControl,
                                    config.binaryPath.c_str(), nullptr, nullptr, nullptr, nullptr, nullptr,
                                    config.displayName.c_str()))
            return Fail("ChangeServiceConfigA", name_, error);
        return true;
    }

    bool Start(SystemError& error) override {
        if (!::StartServiceA(handle_.get(), 0, nullptr))
            return Fail("StartServiceA", name_, error);
        return true;
    }

    bool Delete(SystemError& error) override {
        if (!::DeleteService(handle_.get()))
            return Fail("DeleteService", name_, error);
        return true;
    }

    bool AddAccessForEveryone(uint32_t access) override {
        return grant_ && grant_(handle_.get(), access) != 0;
    }

private:
    unique_schandle handle_;
    std::string name_;
    GrantEveryoneFunction grant_;
};

class Win32Connection : public ServiceManagerConnection {
public:
    Win32Connection(unique_schandle handle, GrantEveryoneFunction grant)
        : handle_(std::move(handle)), grant_(grant) {}

    std::unique_ptr<Service> Open(std::string_view name, uint32_t access, SystemError& error) override {
        const std::string n(name);
        unique_schandle service(::OpenServiceA(handle_.get(), n.c_str(), access));
        if (!service) {
            Fail("OpenServiceA", n, error);
            return nullptr;
        }
        return std::make_unique<Win32Service>(std::move(service), n, grant_);
    }

    std::unique_ptr<Service> Create(const ServiceConfig& c, uint32_t access, SystemError& error) override {
        DWORD tag = 1; // the tag the manager assigns is not used
        unique_schandle service(::CreateServiceA(handle_.get(), c.name.c_str(), c.displayName.c_str(), access,
                                                 c.serviceType, c.startType, c.errorControl,
                                                 c.binaryPath.c_str(), OrNull(c.loadOrderGroup),
                                                 c.wantTag ? &tag : nullptr, nullptr, nullptr, nullptr));
        if (!service) {
            Fail("CreateServiceA", c.name, error);
            return nullptr;
        }
        return std::make_unique<Win32Service>(std::move(service), c.name, grant_);
    }

private:
    unique_schandle handle_;
    GrantEveryoneFunction grant_;
};

} // namespace

std::unique_ptr<ServiceManagerConnection> Win32ServiceManager::Connect(uint32_t access, SystemError& error) {
    unique_schandle manager(::OpenSCManagerA(nullptr, nullptr, access));
    if (!manager) {
        Fail("OpenSCManagerA", "", error);
        return nullptr;
    }
    return std::make_unique<Win32Connection>(std::move(manager), grant_);
}

} // namespace mrf::win32
