#include "core/service/service_run.h"

#include "core/service/autorun.h"
#include "core/service/names.h"

namespace mrf {

ServiceStatusRecord StatusRecord(uint32_t state) {
    ServiceStatusRecord record;
    record.currentState = state;
    return record;
}

void ServiceRun::Report(uint32_t state) {
    std::lock_guard<std::mutex> lock(mutex_);
    state_ = state;
    host_.ReportStatus(StatusRecord(state));
}

uint32_t ServiceRun::State() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return state_;
}

void ServiceRun::ServiceMain() {
    if (!host_.RegisterControlHandler())
        return;
    Report(svc::StartPending);
    host_.CreateStopEvent();
    bool stopRequested = false;
    {
        // A stop that came while starting may have found no event yet: it must not be waited for.
        std::lock_guard<std::mutex> lock(mutex_);
        stopRequested = state_ != svc::StartPending;
        if (!stopRequested) {
            state_ = svc::Running;
            host_.ReportStatus(StatusRecord(state_));
        }
    }
    if (!stopRequested)
        host_.WaitForStopEvent();
    host_.CloseStopEvent();
    if (removeAfterStop_)
        host_.RemoveAfterStop();
    Report(svc::Stopped);
}

void ServiceRun::OnControl(uint32_t control) {
    if (control == svc::ControlStop || control == svc::ControlShutdown) {
        const uint32_t state = State();
        if (state == svc::Running || state == svc::StartPending) {
            Report(svc::StopPending);
            host_.SignalStopEvent();
            return;
        }
    }
    Report(State());
}

void RemoveAfterStop(ServiceManager& manager, Registry& registry, DriverHost& driverHost,
                     std::string_view folder) {
    try {
        RemoveDriver(manager, driverHost);
    } catch (...) {
    }
    UpdateAutorunAndUninstall(registry, folder, true);
    try {
        SystemError error;
        if (auto connection = manager.Connect(svc::ManagerAllAccess, error))
            if (auto service = connection->Open(kServiceName, svc::AllAccess, error))
                service->Delete(error);
    } catch (...) {
    }
}

} // namespace mrf
