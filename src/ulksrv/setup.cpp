// Run by hand: the setup of the service, and its outcome as the exit code.
#include "core/service/setup.h"

#include "quillon/quillon.h"
#include "ulksrv/drivers.h"
#include "ulksrv/ulksrv.h"
#include "win32/registry.h"
#include "win32/service_manager.h"
#include "win32/settings_store.h"

namespace mrf::ulksrv {

namespace {

class Win32SetupHost : public SetupHost {
public:
    void ReportOutcome(Outcome outcome) override {
        const OutcomeReport& r = ReportFor(outcome);
        ulksrv::ReportOutcome(nullptr, std::string(r.text).c_str(), std::string(r.caption).c_str(), r.style);
    }
    void Sleep(unsigned ms) override { ::Sleep(ms); }
};

} // namespace

int ReportOutcome(HWND, const char*, const char*, UINT) {
    return IDOK;
}

int SetupService() {
    win32::Win32ServiceManager manager(::AddAccessForEveryone);
    win32::Win32Registry registry;
    Win32DriverHost driverHost;
    Win32SetupHost host;
    return mrf::SetupService(
        SetupContext{manager, registry, driverHost, host, win32::ProgramPath(), Arguments()});
}

} // namespace mrf::ulksrv
