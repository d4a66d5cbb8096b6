#pragma once
// A service manager in memory: services by name, their state, injected failures and a call log.
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "core/text/ansi.h"
#include "ports/service_manager.h"

namespace mrf::test {

class FakeServiceManager : public ServiceManager {
public:
    struct Entry {
        ServiceConfig config;
        uint32_t state = svc::Stopped;
        uint32_t everyoneAccess = 0;
        bool markedForDelete = false;
        // How many state queries a start or a stop stays pending for; -1: for ever.
        int pendingPolls = 0;
        bool answersInterrogation = true;
    };
    std::map<std::string, Entry> services; // by upper-case name
    bool fullAccessDenied = false;         // the caller is no administrator
    bool connectDenied = false;
    std::set<std::string>
        failing; // "Create", "Start", "ChangeConfig", "Stop", "Delete", "Grant", "QueryConfig"
    std::vector<std::string> calls;
    int startPendingPolls = 2; // of a service started here

    Entry* Find(std::string_view name) {
        auto it = services.find(ToAnsiUpper(name));
        return it == services.end() ? nullptr : &it->second;
    }
    Entry& Add(const ServiceConfig& config, uint32_t state = svc::Stopped) {
        Entry& e = services[ToAnsiUpper(config.name)];
        e.config = config;
        e.state = state;
        return e;
    }

    std::unique_ptr<ServiceManagerConnection> Connect(uint32_t access, SystemError& error) override;

private:
    class Connection;
    class Handle;
};

class FakeServiceManager::Handle : public Service {
public:
    Handle(FakeServiceManager& m, std::string name, uint32_t access)
        : m_(m), name_(std::move(name)), access_(access) {}

    bool QueryConfig(ServiceConfig& config, SystemError& error) override {
        if (!Allowed(svc::QueryConfig, "QueryConfig", error))
            return false;
        config = E().config;
        return true;
    }
    bool QueryState(uint32_t& state, SystemError& error) override {
        if (!Allowed(svc::QueryStatus, "", error))
            return false;
        Entry& e = E();
        if ((e.state == svc::StartPending || e.state == svc::StopPending) && e.pendingPolls >= 0 &&
            e.pendingPolls-- == 0)
            e.state = e.state == svc::StartPending ? svc::Running : svc::Stopped;
        state = e.state;
        return true;
    }
    bool Control(uint32_t control, uint32_t& state, SystemError& error) override {
        Entry& e = E();
        if (control == svc::ControlInterrogate) {
            m_.calls.push_back("Interrogate " + name_);
            if (!Allowed(svc::Interrogate, "", error))
                return false;
            if (e.state != svc::Running || !e.answersInterrogation) {
                error = {"ControlService", name_, e.state == svc::Stopped ? kErrorServiceNotActive : 1061};
                return false;
            }
            state = e.state;
            return true;
        }
        m_.calls.push_back("Stop " + name_);
        if (!Allowed(0x20, "Stop", error))
            return false;
        if (e.state == svc::Stopped) {
            error = {"ControlService", name_, kErrorServiceNotActive};
            return false;
        }
        e.state = svc::StopPending;
        e.pendingPolls = 1;
        state = e.state;
        return true;
    }
    bool ChangeConfig(const ServiceConfig& config, SystemError& error) override {
        m_.calls.push_back("ChangeConfig " + name_);
        if (!Allowed(0x2, "ChangeConfig", error))
            return false;
        ServiceConfig& c = E().config;
        c.serviceType = config.serviceType;
        c.startType = config.startType;
        c.errorControl = config.errorControl;
        c.binaryPath = config.binaryPath;
        c.displayName = config.displayName;
        return true;
    }
    bool Start(SystemError& error) override {
        m_.calls.push_back("Start " + name_);
        if (!Allowed(svc::Start, "Start", error))
            return false;
        Entry& e = E();
        if (e.state != svc::Stopped) {
            error = {"StartServiceA", name_, 1056};
            return false;
        }
        e.state = svc::StartPending;
        e.pendingPolls = m_.startPendingPolls;
        return true;
    }
    bool Delete(SystemError& error) override {
        m_.calls.push_back("Delete " + name_);
        if (!Allowed(0x10000, "Delete", error))
            return false;
        Entry& e = E();
        if (e.state == svc::Stopped)
            m_.services.erase(ToAnsiUpper(name_));
        else
            e.markedForDelete = true;
        return true;
    }
    bool AddAccessForEveryone(uint32_t access) override {
        m_.calls.push_back("Grant " + name_);
        if (m_.failing.count("Grant"))
            return false;
        E().everyoneAccess |= access;
        return true;
    }

private:
    Entry& E() { return *m_.Find(name_); }
    bool Allowed(uint32_t right, const char* op, SystemError& error) {
        if ((access_ & right) != right || (*op && m_.failing.count(op))) {
            error = {op, name_, kErrorAccessDenied};
            return false;
        }
        return true;
    }
    FakeServiceManager& m_;
    std::string name_;
    uint32_t access_;
};

class FakeServiceManager::Connection : public ServiceManagerConnection {
public:
    Connection(FakeServiceManager& m, uint32_t access) : m_(m), access_(access) {}

    std::unique_ptr<Service> Open(std::string_view name, uint32_t access, SystemError& error) override {
        Entry* e = m_.Find(name);
        if (!e) {
            error = {"OpenServiceA", std::string(name), kErrorServiceDoesNotExist};
            return nullptr;
        }
        if (m_.fullAccessDenied && (access & ~e->everyoneAccess) != 0) {
            error = {"OpenServiceA", std::string(name), kErrorAccessDenied};
            return nullptr;
        }
        return std::make_unique<Handle>(m_, std::string(name), access);
    }
    std::unique_ptr<Service> Create(const ServiceConfig& config, uint32_t access,
                                    SystemError& error) override {
        m_.calls.push_back("Create " + config.name);
        if (access_ != svc::ManagerAllAccess || m_.failing.count("Create")) {
            error = {"CreateServiceA", config.name, kErrorAccessDenied};
            return nullptr;
        }
        if (m_.Find(config.name)) {
            error = {"CreateServiceA", config.name, 1073};
            return nullptr;
        }
        m_.Add(config);
        return std::make_unique<Handle>(m_, config.name, access);
    }

private:
    FakeServiceManager& m_;
    uint32_t access_;
};

inline std::unique_ptr<ServiceManagerConnection> FakeServiceManager::Connect(uint32_t access,
                                                                             SystemError& error) {
    if (connectDenied || (access == svc::ManagerAllAccess && fullAccessDenied)) {
        error = {"OpenSCManagerA", "", kErrorAccessDenied};
        return nullptr;
    }
    return std::make_unique<Connection>(*this, access);
}

} // namespace mrf::test
