#include "core/service/setup.h"

#include <array>

#include "core/service/autorun.h"
#include "core/service/names.h"
#include "core/text/ansi.h"
#include "core/text/paths.h"

namespace mrf {

namespace {

constexpr uint32_t kWarning = 48;
constexpr uint32_t kInformation = 64;
constexpr std::string_view kSorry = "sorry...";
constexpr std::string_view kWarn = "warning...";
constexpr std::string_view kInfo = "information...";

// In the order of Outcome.
constexpr std::array<OutcomeReport, 15> kReports{{
    {"you don't have enough privileges 1", kSorry, kWarning, 1},
    {"you don't have enough privileges 2", kSorry, kWarning, 2},
    {"access manipulation didn't work", kWarn, kWarning, 3},
    {"the service is installed now", kInfo, kInformation, 0},
    {"installation failed (ipc failure)", kWarn, kWarning, 4},
    {"installation succeeded, but starting failed", kWarn, kWarning, 5},
    {"correction of service parameters succeeded", kInfo, kInformation, 0},
    {"correction of service parameters failed", kWarn, kWarning, 6},
    {"the service was restarted", kInfo, kInformation, 0},
    {"restarting failed", kWarn, kWarning, 7},
    {"the service is removed again", kInfo, kInformation, 0},
    {"the service is stopped, but removing failed", kWarn, kWarning, 8},
    {"stopping failed", kWarn, kWarning, 9},
    {"the service is not installed", kInfo, kInformation, 0},
    {"the driver registration or the logon start could not be removed", kWarn, kWarning, 10},
}};

// Creation asks for full access and the right to wait on the service.
constexpr uint32_t kCreateAccess = 0x1F01FF;
// The poll after a fresh start, and the wait for a stop on removal.
constexpr int kStartPolls = 50;
constexpr unsigned kPollMs = 50;
constexpr int kStopPolls = 160; // the service's own wait hint, 8 s

bool Starting(uint32_t state) {
    return state == svc::Running || state == svc::StartPending;
}

class SetupRun {
public:
    explicit SetupRun(const SetupContext& context) : c_(context) {}

    int Run() {
        SetupFacts facts = Gather();
        const SetupPlan plan = DecideSetup(facts);
        for (SetupStep step : plan.steps)
            if (!Do(step))
                break;
        for (Outcome outcome : plan.reports)
            Report(outcome);
        return exitCode_;
    }

private:
    SetupFacts Gather() {
        SetupFacts facts;
        facts.removal = !c_.arguments.empty() && c_.arguments.front() == kRemoveSwitch;
        SystemError error;
        manager_ = c_.manager.Connect(svc::ManagerAllAccess, error);
        if (!manager_)
            manager_ = c_.manager.Connect(svc::ManagerConnect, error);
        facts.managerOpened = manager_ != nullptr;
        if (!manager_)
            return facts;
        service_ = manager_->Open(kServiceName, svc::AllAccess, error);
        // An ordinary user holds only what the service's access list grants everyone.
        if (!service_ && error.code == kErrorAccessDenied)
            service_ = manager_->Open(kServiceName, kEveryoneServiceAccess, error);
        facts.serviceOpened = service_ != nullptr;
        if (!service_)
            return facts;
        ServiceConfig config;
        facts.parametersInOrder =
            !service_->QueryConfig(config, error) || ParametersInOrder(config, c_.programPath);
        facts.state = CurrentState(!facts.removal);
        return facts;
    }

    // The service's answer to an interrogation; the service manager's view where the service
    // cannot answer (while it starts or stops); stopped where neither is known.
    uint32_t CurrentState(bool interrogate) {
        SystemError error;
        uint32_t state = svc::Stopped;
        if (interrogate && service_->Control(svc::ControlInterrogate, state, error))
            return state;
        if (service_->QueryState(state, error))
            return state;
        return svc::Stopped;
    }

    void Report(Outcome outcome) {
        c_.host.ReportOutcome(outcome);
        if (ReportFor(outcome).exitCode != 0)
            exitCode_ = ReportFor(outcome).exitCode;
    }

    // false ends the plan.
    bool Do(SetupStep step) {
        SystemError error;
        switch (step) {
        case SetupStep::RegisterDriver:
            InstallDriver(ChooseDriverKind(c_.arguments), c_.manager, c_.driverHost);
            return true;
        case SetupStep::CreateService:
            service_ = manager_->Create(WantedServiceConfig(c_.programPath), kCreateAccess, error);
            if (!service_)
                Report(Outcome::NoPrivileges2);
            return service_ != nullptr;
        case SetupStep::GrantAccess:
            if (!service_->AddAccessForEveryone(kEveryoneServiceAccess))
                Report(Outcome::AccessNotGranted);
            return true;
        case SetupStep::StartAndPoll:
            StartAndPoll();
            return true;
        case SetupStep::CorrectParameters:
            Report(service_->ChangeConfig(WantedServiceConfig(c_.programPath), error)
                       ? Outcome::Corrected
                       : Outcome::CorrectionFailed);
            return true;
        case SetupStep::StartService:
            Report(service_->Start(error) ? Outcome::Restarted : Outcome::RestartFailed);
            return true;
        case SetupStep::RemoveDrivers:
            leftovers_ |= !RemoveDriver(c_.manager, c_.driverHost);
            return true;
        case SetupStep::RemoveRunValue:
            leftovers_ |= !UpdateAutorunAndUninstall(c_.registry, FolderOf(c_.programPath), true);
            if (leftovers_)
                Report(Outcome::LeftoversNotRemoved);
            return true;
        case SetupStep::StopService:
            return Stop();
        case SetupStep::DeleteService:
            Report(service_->Delete(error) || error.code == kErrorServiceMarkedForDelete
                       ? Outcome::Removed
                       : Outcome::StoppedNotRemoved);
            return true;
        }
        return true;
    }

    void StartAndPoll() {
        SystemError error;
        if (!service_->Start(error)) {
            Report(Outcome::StartAfterInstallFailed);
            return;
        }
        // The service manager's state, not an interrogation: a starting service cannot answer
        // one yet, which is no failure.
        uint32_t state = svc::Stopped;
        for (int poll = 0; poll < kStartPolls; ++poll) {
            if (!service_->QueryState(state, error))
                state = svc::Stopped;
            if (state == svc::Running || state == svc::Stopped)
                break;
            c_.host.Sleep(kPollMs);
        }
        Report(state == svc::Running ? Outcome::Installed : Outcome::IpcFailure);
    }

    // Stops the service and waits, bounded, until its process has ended its work.
    bool Stop() {
        SystemError error;
        uint32_t state = 0;
        if (!service_->Control(svc::ControlStop, state, error) && error.code != kErrorServiceNotActive) {
            Report(Outcome::StopFailed);
            return false;
        }
        for (int poll = 0; poll < kStopPolls; ++poll) {
            if (!service_->QueryState(state, error) || state == svc::Stopped)
                break;
            c_.host.Sleep(kPollMs);
        }
        return true;
    }

    const SetupContext& c_;
    std::unique_ptr<ServiceManagerConnection> manager_;
    std::unique_ptr<Service> service_;
    bool leftovers_ = false;
    int exitCode_ = 0;
};

} // namespace

const OutcomeReport& ReportFor(Outcome outcome) {
    return kReports[static_cast<size_t>(outcome)];
}

SetupPlan DecideSetup(const SetupFacts& facts) {
    using S = SetupStep;
    if (!facts.managerOpened)
        return {{}, {Outcome::NoPrivileges1}};
    if (facts.removal) {
        SetupPlan plan{{S::RemoveDrivers, S::RemoveRunValue}, {}};
        if (!facts.serviceOpened) {
            plan.reports.push_back(Outcome::NotInstalled);
            return plan;
        }
        if (facts.state != svc::Stopped)
            plan.steps.push_back(S::StopService);
        plan.steps.push_back(S::DeleteService);
        return plan;
    }
    if (!facts.serviceOpened)
        return {{S::RegisterDriver, S::CreateService, S::GrantAccess, S::StartAndPoll}, {}};
    SetupPlan plan;
    if (!facts.parametersInOrder)
        plan.steps.push_back(S::CorrectParameters);
    if (!Starting(facts.state))
        plan.steps.push_back(S::StartService);
    return plan;
}

bool ParametersInOrder(const ServiceConfig& config, std::string_view programPath) {
    return config.serviceType == svc::Win32OwnProcess && config.startType == svc::AutoStart &&
           AnsiSameText(config.binaryPath, "\"" + std::string(programPath) + "\"") &&
           AnsiSameText(config.displayName, kServiceDisplayName);
}

ServiceConfig WantedServiceConfig(std::string_view programPath) {
    ServiceConfig config;
    config.name = kServiceName;
    config.displayName = kServiceDisplayName;
    config.serviceType = svc::Win32OwnProcess;
    config.startType = svc::AutoStart;
    config.errorControl = svc::ErrorNormal;
    // Quoted: with blanks in an unquoted path, "C:\Program.exe" would run first.
    config.binaryPath = "\"" + std::string(programPath) + "\"";
    return config;
}

int SetupService(const SetupContext& context) {
    return SetupRun(context).Run();
}

} // namespace mrf
