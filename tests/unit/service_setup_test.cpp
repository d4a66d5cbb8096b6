#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/service/names.h"
#include "core/service/setup.h"
#include "fakes/fake_registry.h"
#include "fakes/fake_service_manager.h"
#include "service_test_support.h"

namespace mrf {
namespace {

using test::FakeDriverHost;
using test::FakeRegistry;
using test::FakeServiceManager;
using test::FakeSetupHost;
using S = SetupStep;
using Steps = std::vector<SetupStep>;
using Outcomes = std::vector<Outcome>;

// ---- the decision ----

struct DecisionCase {
    const char* name;
    SetupFacts facts;
    Steps steps;
    Outcomes reports;
};

class Decision : public ::testing::TestWithParam<DecisionCase> {};

TEST_P(Decision, StepsAndReports) {
    const SetupPlan plan = DecideSetup(GetParam().facts);
    EXPECT_EQ(plan.steps, GetParam().steps);
    EXPECT_EQ(plan.reports, GetParam().reports);
}

SetupFacts Facts(bool present, bool inOrder, uint32_t state, bool removal) {
    return SetupFacts{true, present, inOrder, state, removal};
}

const Steps kInstall{S::RegisterDriver, S::CreateService, S::GrantAccess, S::StartAndPoll};
const Steps kRemoveRunning{S::RemoveDrivers, S::RemoveRunValue, S::StopService, S::DeleteService};
const Steps kRemoveStopped{S::RemoveDrivers, S::RemoveRunValue, S::DeleteService};

INSTANTIATE_TEST_SUITE_P(
    Table, Decision,
    ::testing::Values(
        DecisionCase{"NoManager", SetupFacts{false, false, true, 0, false}, {}, {Outcome::NoPrivileges1}},
        DecisionCase{
            "NoManagerOnRemoval", SetupFacts{false, false, true, 0, true}, {}, {Outcome::NoPrivileges1}},
        DecisionCase{"Missing", Facts(false, true, 0, false), kInstall, {}},
        DecisionCase{
            "WrongParametersRunning", Facts(true, false, svc::Running, false), {S::CorrectParameters}, {}},
        DecisionCase{"WrongParametersStopped",
                     Facts(true, false, svc::Stopped, false),
                     {S::CorrectParameters, S::StartService},
                     {}},
        DecisionCase{"InOrderStopped", Facts(true, true, svc::Stopped, false), {S::StartService}, {}},
        DecisionCase{"InOrderStopPending", Facts(true, true, svc::StopPending, false), {S::StartService}, {}},
        DecisionCase{"InOrderStarting", Facts(true, true, svc::StartPending, false), {}, {}},
        DecisionCase{"InOrderRunning", Facts(true, true, svc::Running, false), {}, {}},
        DecisionCase{"RemovalRunning", Facts(true, true, svc::Running, true), kRemoveRunning, {}},
        // A removal request never installs, repairs or starts anything.
        DecisionCase{"RemovalMissing",
                     Facts(false, true, 0, true),
                     {S::RemoveDrivers, S::RemoveRunValue},
                     {Outcome::NotInstalled}},
        DecisionCase{"RemovalStopped", Facts(true, true, svc::Stopped, true), kRemoveStopped, {}},
        DecisionCase{"RemovalWrongParameters", Facts(true, false, svc::Running, true), kRemoveRunning, {}},
        DecisionCase{"RemovalStarting", Facts(true, true, svc::StartPending, true), kRemoveRunning, {}}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- the parameter check ----

constexpr const char* kProgram = "C:\\Program Files\\Marrowfold\\ulksrv.exe";

struct ParameterCase {
    const char* name;
    std::string binaryPath;
    std::string displayName;
    uint32_t type, start;
    bool inOrder;
};

class Parameters : public ::testing::TestWithParam<ParameterCase> {};

TEST_P(Parameters, InOrder) {
    ServiceConfig c;
    c.binaryPath = GetParam().binaryPath;
    c.displayName = GetParam().displayName;
    c.serviceType = GetParam().type;
    c.startType = GetParam().start;
    c.errorControl = 77; // never looked at
    EXPECT_EQ(ParametersInOrder(c, kProgram), GetParam().inOrder);
}

const std::string kQuoted = std::string("\"") + kProgram + "\"";
constexpr uint32_t kOwn = svc::Win32OwnProcess, kAuto = svc::AutoStart;

INSTANTIATE_TEST_SUITE_P(
    Table, Parameters,
    ::testing::Values(ParameterCase{"QuotedOwnPath", kQuoted, "Marrowfold", kOwn, kAuto, true},
                      ParameterCase{"OtherLetterCase", "\"c:\\PROGRAM FILES\\marrowfold\\ULKSRV.EXE\"",
                                    "MARROWFOLD", kOwn, kAuto, true},
                      ParameterCase{"Unquoted", kProgram, "Marrowfold", kOwn, kAuto, false},
                      ParameterCase{"PartOfOwnPath", "C:\\", "Marrowfold", kOwn, kAuto, false},
                      ParameterCase{"Foreign", "\"C:\\Temp\\ulksrv.exe\"", "Marrowfold", kOwn, kAuto, false},
                      ParameterCase{"WithArguments", kQuoted + " /un", "Marrowfold", kOwn, kAuto, false},
                      ParameterCase{"DisplayName", kQuoted, "Marrowfold2", kOwn, kAuto, false},
                      ParameterCase{"DemandStart", kQuoted, "Marrowfold", kOwn, svc::DemandStart, false},
                      ParameterCase{"SharedProcess", kQuoted, "Marrowfold", 0x20, kAuto, false}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- the run against a service manager ----

struct SetupFixture {
    FakeServiceManager scm;
    FakeRegistry reg;
    FakeDriverHost driverHost;
    FakeSetupHost host;

    int Run(std::vector<std::string> arguments = {}) {
        return SetupService(SetupContext{scm, reg, driverHost, host, kProgram, std::move(arguments)});
    }
    FakeServiceManager::Entry* Service() { return scm.Find(kServiceName); }
    FakeServiceManager::Entry& AddService(uint32_t state, std::string path = kQuoted) {
        ServiceConfig c = WantedServiceConfig(kProgram);
        c.binaryPath = std::move(path);
        auto& e = scm.Add(c, state);
        e.everyoneAccess = kEveryoneServiceAccess;
        return e;
    }
};

TEST(Setup, PlainRunInstallsDriverAndServiceAndStartsIt) {
    SetupFixture fx;
    EXPECT_EQ(fx.Run(), 0);
    EXPECT_EQ(fx.scm.calls, (std::vector<std::string>{"Create ZFPAnsi", "Create Marrowfold",
                                                      "Grant Marrowfold", "Start Marrowfold"}));
    ASSERT_NE(fx.Service(), nullptr);
    EXPECT_EQ(fx.Service()->state, svc::Running);
    EXPECT_EQ(fx.Service()->config.binaryPath, kQuoted);
    EXPECT_EQ(fx.Service()->config.startType, svc::AutoStart);
    EXPECT_EQ(fx.Service()->config.errorControl, svc::ErrorNormal);
    // Everyone may look and start, nothing that changes, stops or deletes it.
    EXPECT_EQ(fx.Service()->everyoneAccess, 0x95u);
    EXPECT_EQ(fx.host.outcomes, Outcomes{Outcome::Installed});
}

TEST(Setup, UnicodeArgumentRegistersTheUnicodeDriver) {
    SetupFixture fx;
    EXPECT_EQ(fx.Run({"UNICODE"}), 0);
    EXPECT_NE(fx.scm.Find("ZFPUni"), nullptr);
    EXPECT_EQ(fx.scm.Find("ZFPAnsi"), nullptr);
}

TEST(Setup, SlowStartIsWaitedForAndTheWaitIsBounded) {
    SetupFixture fx;
    fx.scm.startPendingPolls = 20; // still starting when it is first asked
    EXPECT_EQ(fx.Run(), 0);
    EXPECT_EQ(fx.host.outcomes, Outcomes{Outcome::Installed});

    SetupFixture never;
    never.scm.startPendingPolls = -1;
    EXPECT_EQ(never.Run(), ReportFor(Outcome::IpcFailure).exitCode);
    EXPECT_EQ(never.host.outcomes, Outcomes{Outcome::IpcFailure});
    EXPECT_EQ(never.host.slept, 50u * 50u);
}

struct FailureCase {
    const char* name;
    void (*prepare)(SetupFixture&);
    std::vector<std::string> arguments;
    Outcomes outcomes;
};

class SetupFailure : public ::testing::TestWithParam<FailureCase> {};

TEST_P(SetupFailure, ReportsAndExitCode) {
    SetupFixture fx;
    GetParam().prepare(fx);
    const int code = fx.Run(GetParam().arguments);
    EXPECT_EQ(fx.host.outcomes, GetParam().outcomes);
    int expected = 0;
    for (Outcome o : GetParam().outcomes)
        if (ReportFor(o).exitCode)
            expected = ReportFor(o).exitCode;
    EXPECT_EQ(code, expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, SetupFailure,
    ::testing::Values(
        FailureCase{
            "NoManager", [](SetupFixture& fx) { fx.scm.connectDenied = true; }, {}, {Outcome::NoPrivileges1}},
        FailureCase{"OrdinaryUserOnMissingService",
                    [](SetupFixture& fx) { fx.scm.fullAccessDenied = true; },
                    {},
                    {Outcome::NoPrivileges2}},
        FailureCase{"CreateFails",
                    [](SetupFixture& fx) { fx.scm.failing.insert("Create"); },
                    {},
                    {Outcome::NoPrivileges2}},
        FailureCase{"GrantFails",
                    [](SetupFixture& fx) { fx.scm.failing.insert("Grant"); },
                    {},
                    {Outcome::AccessNotGranted, Outcome::Installed}},
        FailureCase{"StartAfterCreateFails",
                    [](SetupFixture& fx) { fx.scm.failing.insert("Start"); },
                    {},
                    {Outcome::StartAfterInstallFailed}},
        FailureCase{"Repaired",
                    [](SetupFixture& fx) { fx.AddService(svc::Running, kProgram); },
                    {},
                    {Outcome::Corrected}},
        FailureCase{"RepairFails",
                    [](SetupFixture& fx) {
                        fx.AddService(svc::Stopped, kProgram);
                        fx.scm.failing.insert("ChangeConfig");
                    },
                    {},
                    {Outcome::CorrectionFailed, Outcome::Restarted}},
        FailureCase{
            "Restarted", [](SetupFixture& fx) { fx.AddService(svc::Stopped); }, {}, {Outcome::Restarted}},
        FailureCase{"RestartFails",
                    [](SetupFixture& fx) {
                        fx.AddService(svc::Stopped);
                        fx.scm.failing.insert("Start");
                    },
                    {},
                    {Outcome::RestartFailed}},
        FailureCase{"OrdinaryUserRestartsStoppedService",
                    [](SetupFixture& fx) {
                        fx.AddService(svc::Stopped);
                        fx.scm.fullAccessDenied = true;
                    },
                    {},
                    {Outcome::Restarted}},
        FailureCase{"OrdinaryUserCannotRepair",
                    [](SetupFixture& fx) {
                        fx.AddService(svc::Running, kProgram);
                        fx.scm.fullAccessDenied = true;
                    },
                    {},
                    {Outcome::CorrectionFailed}},
        FailureCase{
            "Removed", [](SetupFixture& fx) { fx.AddService(svc::Running); }, {"/un"}, {Outcome::Removed}},
        FailureCase{"RemovalNotInstalled", [](SetupFixture&) {}, {"/un"}, {Outcome::NotInstalled}},
        FailureCase{"StopFails",
                    [](SetupFixture& fx) {
                        fx.AddService(svc::Running);
                        fx.scm.failing.insert("Stop");
                    },
                    {"/un"},
                    {Outcome::StopFailed}},
        FailureCase{"DeleteFails",
                    [](SetupFixture& fx) {
                        fx.AddService(svc::Running);
                        fx.scm.failing.insert("Delete");
                    },
                    {"/un"},
                    {Outcome::StoppedNotRemoved}},
        FailureCase{"RunValueStays",
                    [](SetupFixture& fx) {
                        fx.AddService(svc::Stopped);
                        fx.reg.At(kRunKey).values["1mrf.exe"] = "x";
                        fx.reg.readOnly.insert(ToAnsiUpper(kRunKey));
                    },
                    {"/un"},
                    {Outcome::LeftoversNotRemoved, Outcome::Removed}},
        FailureCase{"OrdinaryUserCannotRemove",
                    [](SetupFixture& fx) {
                        fx.AddService(svc::Running);
                        fx.scm.fullAccessDenied = true;
                    },
                    {"/un"},
                    {Outcome::LeftoversNotRemoved, Outcome::StopFailed}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Setup, RepairQuotesThePathAndLeavesARunningServiceAlone) {
    SetupFixture fx;
    auto& e = fx.AddService(svc::Running, kProgram);
    e.config.displayName = "Other";
    e.config.startType = svc::DemandStart;
    fx.Run({"/UN"}); // not the removal switch
    EXPECT_EQ(fx.Service()->config.binaryPath, kQuoted);
    EXPECT_EQ(fx.Service()->config.displayName, "Marrowfold");
    EXPECT_EQ(fx.Service()->config.startType, svc::AutoStart);
    EXPECT_EQ(fx.scm.calls, (std::vector<std::string>{"Interrogate Marrowfold", "ChangeConfig Marrowfold"}));
}

TEST(Setup, RemovalTakesEverythingAwayAndWaitsForTheStop) {
    SetupFixture fx;
    fx.AddService(svc::Running);
    fx.scm.Add(DriverServiceConfig(DriverKind::Ansi));
    fx.scm.Add(DriverServiceConfig(DriverKind::Unicode));
    fx.reg.At(kRunKey).values["1mrf.exe"] = "x";
    fx.reg.At(kUninstallKey).values["UninstallString"] = "\"C:\\Umb\\unins000.exe\"";
    EXPECT_EQ(fx.Run({"/un"}), 0);
    EXPECT_TRUE(fx.scm.services.empty()) << "service and both drivers gone";
    EXPECT_EQ(fx.reg.Value(kRunKey, "1mrf.exe"), "<none>");
    EXPECT_EQ(fx.reg.Value(kUninstallKey, "UninstallString"), "\"C:\\Umb\\mrf.exe\" /U");
    EXPECT_EQ(fx.scm.calls, (std::vector<std::string>{"Delete ZFPAnsi", "Delete ZFPUni", "Stop Marrowfold",
                                                      "Delete Marrowfold"}));
    EXPECT_EQ(fx.host.outcomes, Outcomes{Outcome::Removed});
}

TEST(Setup, RemovalOnACleanSystemInstallsNothing) {
    SetupFixture fx;
    EXPECT_EQ(fx.Run({"/un"}), 0);
    EXPECT_TRUE(fx.scm.services.empty());
    EXPECT_TRUE(fx.scm.calls.empty());
    EXPECT_FALSE(fx.reg.Has(kRunKey));
    EXPECT_TRUE(fx.driverHost.errors.empty());
}

TEST(Setup, ExitCodesAreDistinctPerFailure) {
    std::vector<int> codes;
    for (int o = 0; o <= static_cast<int>(Outcome::LeftoversNotRemoved); ++o) {
        const OutcomeReport& r = ReportFor(static_cast<Outcome>(o));
        EXPECT_EQ(r.exitCode == 0, r.style == 64) << r.text;
        if (r.exitCode) {
            EXPECT_EQ(std::count(codes.begin(), codes.end(), r.exitCode), 0) << r.text;
            codes.push_back(r.exitCode);
        }
    }
}

} // namespace
} // namespace mrf
