#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/service/names.h"
#include "core/service/service_run.h"
#include "fakes/fake_registry.h"
#include "fakes/fake_service_manager.h"
#include "service_test_support.h"

namespace mrf {
namespace {

// Records every call as text; the wait for the stop event runs the controls given to it, as
// the dispatcher's thread would while the service waits.
class RecordingHost : public ServiceRunHost {
public:
    std::vector<std::string> log;
    std::vector<uint32_t> controlsWhileWaiting;
    std::vector<uint32_t> controlsWhileStarting;
    ServiceRun* run = nullptr;
    bool registers = true;

    bool RegisterControlHandler() override {
        log.push_back("register");
        return registers;
    }
    void ReportStatus(const ServiceStatusRecord& r) override {
        log.push_back("report " + std::to_string(r.currentState));
        EXPECT_EQ(r.serviceType, 0x10u);
        EXPECT_EQ(r.controlsAccepted, 5u); // stop and shutdown
        EXPECT_EQ(r.waitHint, 8000u);
    }
    void CreateStopEvent() override {
        log.push_back("create event");
        for (uint32_t c : controlsWhileStarting)
            run->OnControl(c);
    }
    void WaitForStopEvent() override {
        log.push_back("wait");
        for (uint32_t c : controlsWhileWaiting)
            run->OnControl(c);
    }
    void CloseStopEvent() override { log.push_back("close event"); }
    void SignalStopEvent() override { log.push_back("signal"); }
    void RemoveAfterStop() override { log.push_back("remove"); }
};

using Log = std::vector<std::string>;

Log RunService(RecordingHost& host, bool removal = false) {
    ServiceRun run(host, removal);
    host.run = &run;
    run.ServiceMain();
    return host.log;
}

TEST(ServiceRun, InterrogationAnswersTheCurrentStateAndStopEndsTheWait) {
    RecordingHost host;
    host.controlsWhileWaiting = {svc::ControlInterrogate, svc::ControlStop, svc::ControlInterrogate, 0x80};
    EXPECT_EQ(RunService(host),
              (Log{"register", "report 2", "create event", "report 4", "wait", "report 4", "report 3",
                   "signal", "report 3", "report 3", "close event", "report 1"}));
}

TEST(ServiceRun, ShutdownIsAStopAndASecondStopSignalsNothingMore) {
    RecordingHost host;
    host.controlsWhileWaiting = {svc::ControlShutdown, svc::ControlStop};
    EXPECT_EQ(RunService(host), (Log{"register", "report 2", "create event", "report 4", "wait", "report 3",
                                     "signal", "report 3", "close event", "report 1"}));
}

TEST(ServiceRun, StopWhileStartingIsNotWaitedFor) {
    RecordingHost host;
    host.controlsWhileStarting = {svc::ControlStop};
    EXPECT_EQ(RunService(host),
              (Log{"register", "report 2", "create event", "report 3", "signal", "close event", "report 1"}));
}

TEST(ServiceRun, RemovalAfterTheStopThenStopped) {
    RecordingHost host;
    Log log = RunService(host, true);
    EXPECT_EQ(Log(log.end() - 3, log.end()), (Log{"close event", "remove", "report 1"}));
}

TEST(ServiceRun, FailedRegistrationReportsNothing) {
    RecordingHost host;
    host.registers = false;
    EXPECT_EQ(RunService(host), Log{"register"});
}

TEST(RemoveAfterStop, EachPartIndependently) {
    test::FakeServiceManager scm;
    test::FakeRegistry reg;
    test::FakeDriverHost driverHost;
    ServiceConfig own;
    own.name = "Marrowfold";
    scm.Add(own);
    scm.Add(DriverServiceConfig(DriverKind::Unicode));
    reg.At(kRunKey).values["1mrf.exe"] = "x";
    scm.failing.insert("Delete"); // neither the drivers nor the service can be deleted
    RemoveAfterStop(scm, reg, driverHost, "C:\\App\\");
    EXPECT_EQ(reg.Value(kRunKey, "1mrf.exe"), "<none>");
    EXPECT_EQ(scm.calls, (std::vector<std::string>{"Delete ZFPUni", "Delete Marrowfold"}));
    scm.failing.clear();
    RemoveAfterStop(scm, reg, driverHost, "C:\\App\\");
    EXPECT_TRUE(scm.services.empty());
}

} // namespace
} // namespace mrf
