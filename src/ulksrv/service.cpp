// The process as the service "Marrowfold": ServiceMain on the service manager's thread, the
// control handler on the dispatcher's (the main thread).
#include <memory>

#include "core/service/names.h"
#include "core/service/service_run.h"
#include "quillon/quillon.h"
#include "ulksrv/drivers.h"
#include "ulksrv/ulksrv.h"
#include "win32/registry.h"
#include "win32/service_manager.h"

namespace mrf::ulksrv {

namespace {

SERVICE_STATUS_HANDLE statusHandle = nullptr;

class Win32ServiceRunHost : public ServiceRunHost {
public:
    bool RegisterControlHandler() override {
        statusHandle = ::RegisterServiceCtrlHandlerA(std::string(kServiceName).c_str(), ServiceCtrlHandler);
        return statusHandle != nullptr;
    }
    void ReportStatus(const ServiceStatusRecord& record) override { ReportServiceStatus(record); }
    void CreateStopEvent() override {
        event_ = ::CreateGlobalEvent(std::string(kStopEventName).c_str(), -1, 0);
    }
    void WaitForStopEvent() override { ::WaitForSingleObject(event_, INFINITE); }
    void CloseStopEvent() override {
        if (event_)
            ::CloseHandle(event_);
        event_ = nullptr;
    }
    void SignalStopEvent() override {
        HANDLE event = ::OpenGlobalEvent(std::string(kStopEventName).c_str());
        if (!event)
            return;
        ::SetEvent(event);
        ::CloseHandle(event);
    }
    void RemoveAfterStop() override {
        win32::Win32ServiceManager manager;
        win32::Win32Registry registry;
        Win32DriverHost driverHost;
        mrf::RemoveAfterStop(manager, registry, driverHost, ProgramFolder());
    }

private:
    HANDLE event_ = nullptr;
};

Win32ServiceRunHost& Host() {
    static Win32ServiceRunHost host;
    return host;
}

ServiceRun& Run() {
    static ServiceRun run(Host(), !Arguments().empty() && Arguments().front() == kRemoveSwitch);
    return run;
}

} // namespace

BOOL ReportServiceStatus(const ServiceStatusRecord& record) {
    SERVICE_STATUS status{};
    status.dwServiceType = record.serviceType;
    status.dwCurrentState = record.currentState;
    status.dwControlsAccepted = record.controlsAccepted;
    status.dwWaitHint = record.waitHint;
    return ::SetServiceStatus(statusHandle, &status);
}

void WINAPI ServiceMain(DWORD, char**) {
    Run().ServiceMain();
}

void WINAPI ServiceCtrlHandler(DWORD control) {
    Run().OnControl(control);
}

bool RunAsService() {
    Run(); // made before the dispatcher can call the handler
    std::string name(kServiceName);
    SERVICE_TABLE_ENTRYA table[] = {{name.data(), ServiceMain}, {nullptr, nullptr}};
    return ::StartServiceCtrlDispatcherA(table) != FALSE;
}

} // namespace mrf::ulksrv
