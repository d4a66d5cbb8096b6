#pragma once
// Hosts of the service program's core, recording what they are asked.
#include <optional>
#include <string>
#include <vector>

#include "core/service/driver.h"
#include "core/service/setup.h"

namespace mrf::test {

class FakeDriverHost : public DriverHost {
public:
    std::optional<std::string> systemDirectory = "C:\\WINDOWS\\system32";
    std::string currentDirectory;
    std::vector<std::string> errors;
    std::vector<std::string> deleteOnReboot;

    bool SystemDirectory(std::string& path) override {
        if (!systemDirectory)
            return false;
        path = *systemDirectory;
        return true;
    }
    void ChangeDirectory(const std::string& path) override { currentDirectory = path; }
    void ShowError(std::string_view text) override { errors.emplace_back(text); }
    bool DeleteOnReboot(const std::string& path) override {
        deleteOnReboot.push_back(path);
        return true;
    }
};

class FakeSetupHost : public SetupHost {
public:
    std::vector<Outcome> outcomes;
    unsigned slept = 0;
    void ReportOutcome(Outcome outcome) override { outcomes.push_back(outcome); }
    void Sleep(unsigned ms) override { slept += ms; }
};

} // namespace mrf::test
