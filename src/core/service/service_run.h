#pragma once
// The service's life under the service manager: its status reports and its answers to controls.
#include <cstdint>
#include <mutex>
#include <string_view>

#include "core/service/driver.h"
#include "ports/registry.h"
#include "ports/service_manager.h"

namespace mrf {

// The fields of one status report; every other field is zero.
struct ServiceStatusRecord {
    uint32_t serviceType = svc::Win32OwnProcess;
    uint32_t currentState = 0;
    uint32_t controlsAccepted = svc::AcceptStop | svc::AcceptShutdown;
    uint32_t waitHint = 8000;
};
ServiceStatusRecord StatusRecord(uint32_t state);

class ServiceRunHost {
public:
    virtual ~ServiceRunHost() = default;
    // Registers the control handler; false when the service manager refuses.
    virtual bool RegisterControlHandler() = 0;
    virtual void ReportStatus(const ServiceStatusRecord& record) = 0;
    // The stop event through the helper library.
    virtual void CreateStopEvent() = 0;
    // Returns when the stop event is signalled (at once when it does not exist).
    virtual void WaitForStopEvent() = 0;
    virtual void CloseStopEvent() = 0;
    virtual void SignalStopEvent() = 0;
    // The removal that a service started with "/un" does after its stop.
    virtual void RemoveAfterStop() = 0;
};

// ServiceMain runs on the service's thread and OnControl on the dispatcher's; the state they
// share is reported under one lock, so an interrogation always answers the state last reported.
class ServiceRun {
public:
    ServiceRun(ServiceRunHost& host, bool removeAfterStop) : host_(host), removeAfterStop_(removeAfterStop) {}

    void ServiceMain();
    // Stop and shutdown stop the service; every other control is answered with the current state.
    void OnControl(uint32_t control);
    uint32_t State() const;

private:
    void Report(uint32_t state);

    ServiceRunHost& host_;
    const bool removeAfterStop_;
    mutable std::mutex mutex_;
    uint32_t state_ = svc::Stopped;
};

// The removal of a service whose command line carries "/un", after it has stopped: both driver
// registrations, the Run value and its own service entry, each independent of the others.
void RemoveAfterStop(ServiceManager& manager, Registry& registry, DriverHost& driverHost,
                     std::string_view folder);

} // namespace mrf
