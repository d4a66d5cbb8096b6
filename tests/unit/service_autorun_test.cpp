#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "core/service/autorun.h"
#include "core/service/names.h"
#include "fakes/fake_registry.h"

namespace mrf {
namespace {

using test::FakeRegistry;

struct WantedCase {
    const char* name;
    std::string current;
    std::optional<std::string> wanted;
};

class UninstallString : public ::testing::TestWithParam<WantedCase> {};

TEST_P(UninstallString, Wanted) {
    EXPECT_EQ(WantedUninstallString(GetParam().current), GetParam().wanted);
}

INSTANTIATE_TEST_SUITE_P(
    Table, UninstallString,
    ::testing::Values(WantedCase{"AlreadyCorrect", "\"C:\\Program Files\\Umberlock\\mrf.exe\" /U",
                                 "\"C:\\Program Files\\Umberlock\\mrf.exe\" /U"},
                      WantedCase{"InstallersValue", "\"C:\\Program Files\\Umberlock\\unins000.exe\"",
                                 "\"C:\\Program Files\\Umberlock\\mrf.exe\" /U"},
                      WantedCase{"QuietValueWithSwitch",
                                 "\"C:\\Program Files\\Umberlock\\unins000.exe\" /SILENT",
                                 "\"C:\\Program Files\\Umberlock\\mrf.exe\" /U"},
                      WantedCase{"FolderInArgumentsIgnored",
                                 "\"C:\\App\\unins000.exe\" /LOG=\"C:\\Temp\\u.log\"",
                                 "\"C:\\App\\mrf.exe\" /U"},
                      WantedCase{"MissingOpeningQuote", "C:\\Program Files\\Umberlock\\unins000.exe",
                                 "\"C:\\Program Files\\Umberlock\\mrf.exe\" /U"},
                      WantedCase{"DriveOnly", "\"D:unins000.exe\"", "\"D:mrf.exe\" /U"},
                      WantedCase{"EmptyLeftAlone", "", std::nullopt},
                      WantedCase{"NoFolderLeftAlone", "unins000.exe", std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

constexpr const char* kFolder = "C:\\Program Files\\Marrowfold\\";

TEST(RunValue, QuotedGuiProgramWithTraySwitch) {
    EXPECT_EQ(RunValueData(kFolder), "\"C:\\Program Files\\Marrowfold\\mrf.exe\" /T");
}

TEST(UpdateAutorun, WritesRunValueCreatingTheKey) {
    FakeRegistry reg;
    EXPECT_TRUE(UpdateAutorunAndUninstall(reg, kFolder, false));
    EXPECT_EQ(reg.Value(kRunKey, "1mrf.exe"), "\"C:\\Program Files\\Marrowfold\\mrf.exe\" /T");
    EXPECT_FALSE(reg.Has(kUninstallKey)) << "the uninstall key is never created";
}

TEST(UpdateAutorun, RemoveDeletesOnlyTheRunValue) {
    FakeRegistry reg;
    reg.At(kRunKey).values = {{"1mrf.exe", "x"}, {"Other", "y"}};
    EXPECT_TRUE(UpdateAutorunAndUninstall(reg, kFolder, true));
    EXPECT_EQ(reg.Value(kRunKey, "1mrf.exe"), "<none>");
    EXPECT_EQ(reg.Value(kRunKey, "Other"), "y");
    // Nothing left to remove is no failure, and nothing is created.
    FakeRegistry empty;
    EXPECT_TRUE(UpdateAutorunAndUninstall(empty, kFolder, true));
    EXPECT_FALSE(empty.Has(kRunKey));
}

TEST(UpdateAutorun, FailureIsReportedNotThrown) {
    FakeRegistry reg;
    reg.At(kRunKey).values["1mrf.exe"] = "x";
    reg.readOnly.insert(ToAnsiUpper(kRunKey));
    EXPECT_FALSE(UpdateAutorunAndUninstall(reg, kFolder, true));
    EXPECT_FALSE(UpdateAutorunAndUninstall(reg, kFolder, false));
}

TEST(UpdateAutorun, CorrectsInstallerStringsOnceAndLeavesTheRest) {
    FakeRegistry reg;
    reg.At(kUninstallKey).values = {{"UninstallString", "\"C:\\Umb\\unins000.exe\""},
                                    {"QuietUninstallString", "\"C:\\Umb\\unins000.exe\" /SILENT"},
                                    {"DisplayName", "Umberlock"}};
    UpdateAutorunAndUninstall(reg, kFolder, false);
    EXPECT_EQ(reg.Value(kUninstallKey, "UninstallString"), "\"C:\\Umb\\mrf.exe\" /U");
    EXPECT_EQ(reg.Value(kUninstallKey, "QuietUninstallString"), "\"C:\\Umb\\mrf.exe\" /U");
    EXPECT_EQ(reg.Value(kUninstallKey, "DisplayName"), "Umberlock");
    const size_t writes = reg.writes.size();
    UpdateAutorunAndUninstall(reg, kFolder, true);
    EXPECT_EQ(reg.writes.size(), writes) << "a corrected value is not written again";
}

TEST(UpdateAutorun, NoQuietValueIsNotCreated) {
    FakeRegistry reg;
    reg.At(kUninstallKey).values = {{"UninstallString", "\"C:\\Umb\\unins000.exe\""}};
    UpdateAutorunAndUninstall(reg, kFolder, false);
    EXPECT_EQ(reg.Value(kUninstallKey, "QuietUninstallString"), "<none>");
    EXPECT_EQ(reg.Value(kUninstallKey, "UninstallString"), "\"C:\\Umb\\mrf.exe\" /U");
}

TEST(UpdateAutorun, UninstallKeyOpenedEvenWhenTheRunKeyFails) {
    FakeRegistry reg;
    reg.unopenable.insert(ToAnsiUpper(kRunKey));
    reg.At(kUninstallKey).values = {{"UninstallString", "\"C:\\Umb\\unins000.exe\""}};
    EXPECT_FALSE(UpdateAutorunAndUninstall(reg, kFolder, false));
    EXPECT_EQ(reg.Value(kUninstallKey, "UninstallString"), "\"C:\\Umb\\mrf.exe\" /U");
}

} // namespace
} // namespace mrf
