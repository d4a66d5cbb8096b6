#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/service/driver.h"
#include "fakes/fake_service_manager.h"
#include "service_test_support.h"

namespace mrf {
namespace {

using test::FakeDriverHost;
using test::FakeServiceManager;

struct KindCase {
    const char* name;
    std::vector<std::string> arguments;
    DriverKind kind;
};

class DriverKindByArgument : public ::testing::TestWithParam<KindCase> {};

TEST_P(DriverKindByArgument, Chosen) {
    EXPECT_EQ(ChooseDriverKind(GetParam().arguments), GetParam().kind);
}

INSTANTIATE_TEST_SUITE_P(Table, DriverKindByArgument,
                         ::testing::Values(KindCase{"Unicode", {"UNICODE"}, DriverKind::Unicode},
                                           KindCase{
                                               "UnicodeThenMore", {"UNICODE", "/un"}, DriverKind::Unicode},
                                           KindCase{"LowerCase", {"unicode"}, DriverKind::Ansi},
                                           KindCase{"Removal", {"/un"}, DriverKind::Ansi},
                                           KindCase{"NotFirst", {"/un", "UNICODE"}, DriverKind::Ansi},
                                           KindCase{"None", {}, DriverKind::Ansi}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(InstallDriver, RegistersABootStartFilterDriver) {
    FakeServiceManager scm;
    FakeDriverHost host;
    EXPECT_TRUE(InstallDriver(DriverKind::Unicode, scm, host));
    auto* e = scm.Find("ZFPUni");
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->config.displayName, "Zenthra File Protector Unicode");
    EXPECT_EQ(e->config.serviceType, svc::KernelDriver);
    EXPECT_EQ(e->config.startType, svc::BootStart);
    EXPECT_EQ(e->config.errorControl, svc::ErrorIgnore);
    EXPECT_EQ(e->config.binaryPath, "System32\\Drivers\\ZFPUni.sys");
    EXPECT_EQ(e->config.loadOrderGroup, "Filter");
    EXPECT_EQ(host.currentDirectory, "C:\\WINDOWS\\system32");
    EXPECT_TRUE(host.errors.empty());
    EXPECT_EQ(DriverServiceConfig(DriverKind::Ansi).binaryPath, "System32\\Drivers\\ZFPAnsi.sys");
    EXPECT_EQ(DriverDisplayName(DriverKind::Ansi), "Zenthra File Protector Ansi");
}

TEST(InstallDriver, ExistingRegistrationIsLeftAsItIsWithoutABox) {
    FakeServiceManager scm;
    FakeDriverHost host;
    ServiceConfig old = DriverServiceConfig(DriverKind::Ansi);
    old.startType = svc::DemandStart;
    scm.Add(old);
    EXPECT_TRUE(InstallDriver(DriverKind::Ansi, scm, host));
    EXPECT_EQ(scm.Find("ZFPAnsi")->config.startType, svc::DemandStart);
    EXPECT_TRUE(host.errors.empty());
}

TEST(InstallDriver, EachFailureShowsItsBoxAndStops) {
    {
        FakeServiceManager scm;
        FakeDriverHost host;
        host.systemDirectory.reset();
        EXPECT_FALSE(InstallDriver(DriverKind::Ansi, scm, host));
        EXPECT_EQ(host.errors, std::vector<std::string>{"ZFP: Cannot retreive System directory variable."});
        EXPECT_TRUE(scm.services.empty());
    }
    {
        FakeServiceManager scm;
        FakeDriverHost host;
        scm.fullAccessDenied = true;
        EXPECT_FALSE(InstallDriver(DriverKind::Ansi, scm, host));
        EXPECT_EQ(host.errors, std::vector<std::string>{"ZFP: Cannot connect to the Service Manager."});
    }
    {
        FakeServiceManager scm;
        FakeDriverHost host;
        scm.failing.insert("Create");
        EXPECT_FALSE(InstallDriver(DriverKind::Ansi, scm, host));
        EXPECT_EQ(host.errors, std::vector<std::string>{"ZFP: Cannot install File Protection Driver."});
    }
}

TEST(RemoveDrivers, RemovesBothKindsAndSchedulesTheirFiles) {
    FakeServiceManager scm;
    FakeDriverHost host;
    scm.Add(DriverServiceConfig(DriverKind::Unicode));
    scm.Add(DriverServiceConfig(DriverKind::Ansi), svc::Running); // loaded: only marked
    EXPECT_TRUE(RemoveDriver(scm, host));
    EXPECT_EQ(scm.Find("ZFPUni"), nullptr);
    EXPECT_TRUE(scm.Find("ZFPAnsi")->markedForDelete);
    EXPECT_EQ(host.deleteOnReboot, (std::vector<std::string>{"C:\\WINDOWS\\system32\\Drivers\\ZFPAnsi.sys",
                                                             "C:\\WINDOWS\\system32\\Drivers\\ZFPUni.sys"}));
    EXPECT_TRUE(host.errors.empty()) << "removal is silent";
}

TEST(RemoveDrivers, NothingRegisteredIsNoFailureButAFailedDeletionIs) {
    FakeServiceManager scm;
    FakeDriverHost host;
    EXPECT_TRUE(RemoveDriver(scm, host));
    scm.Add(DriverServiceConfig(DriverKind::Unicode));
    scm.failing.insert("Delete");
    EXPECT_FALSE(RemoveDriver(scm, host));
    EXPECT_TRUE(host.deleteOnReboot.empty()) << "the file stays while its registration does";
    scm.fullAccessDenied = true;
    EXPECT_FALSE(RemoveDriver(scm, host));
}

} // namespace
} // namespace mrf
