#pragma once
// The setup run of the service program: installs, repairs, restarts or removes the service.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/service/driver.h"
#include "ports/registry.h"
#include "ports/service_manager.h"

namespace mrf {

enum class Outcome {
    NoPrivileges1,
    NoPrivileges2,
    AccessNotGranted,
    Installed,
    IpcFailure,
    StartAfterInstallFailed,
    Corrected,
    CorrectionFailed,
    Restarted,
    RestartFailed,
    Removed,
    StoppedNotRemoved,
    StopFailed,
    NotInstalled,
    LeftoversNotRemoved,
};

struct OutcomeReport {
    std::string_view text;
    std::string_view caption;
    uint32_t style; // 48 warning, 64 information
    int exitCode;   // 0 for the success rows, one code of its own for each failure
};
const OutcomeReport& ReportFor(Outcome outcome);

// What the setup finds before it acts.
struct SetupFacts {
    bool managerOpened = false;
    bool serviceOpened = false;
    bool parametersInOrder = true; // also when the configuration could not be read
    uint32_t state = 0;            // svc::Stopped etc.
    bool removal = false;          // first argument "/un"
};

enum class SetupStep {
    RegisterDriver,
    CreateService,
    GrantAccess,
    StartAndPoll,
    CorrectParameters,
    StartService,
    RemoveDrivers,
    RemoveRunValue,
    StopService,
    DeleteService,
};

struct SetupPlan {
    std::vector<SetupStep> steps;
    // Reported after the steps, which report their own outcomes as they run.
    std::vector<Outcome> reports;
};

// The ordered steps for what the setup finds. A removal request only ever removes.
SetupPlan DecideSetup(const SetupFacts& facts);

// The configured binary path is the program's own path in double quotes (letter case ignored);
// type own process, automatic start and the display name "Marrowfold" (letter case ignored).
bool ParametersInOrder(const ServiceConfig& config, std::string_view programPath);
// What the service is created with, and what a correction sets.
ServiceConfig WantedServiceConfig(std::string_view programPath);

// What everyone may do with the service: enough for an ordinary user's setup run to look at it
// and start it, nothing that changes or stops it.
inline constexpr uint32_t kEveryoneServiceAccess =
    svc::QueryConfig | svc::QueryStatus | svc::Start | svc::Interrogate;

class SetupHost {
public:
    virtual ~SetupHost() = default;
    // Shows nothing; the outcome only decides the exit code.
    virtual void ReportOutcome(Outcome outcome) = 0;
    virtual void Sleep(unsigned ms) = 0;
};

struct SetupContext {
    ServiceManager& manager;
    Registry& registry;
    DriverHost& driverHost;
    SetupHost& host;
    std::string programPath;            // the program's full path
    std::vector<std::string> arguments; // without the program
};

// Runs the setup and returns the process exit code: that of the last failure reported, else 0.
int SetupService(const SetupContext& context);

} // namespace mrf
