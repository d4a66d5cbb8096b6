#pragma once
#include "core/service/driver.h"

namespace mrf::ulksrv {

// The driver registration's dealings with the system, apart from the service manager.
class Win32DriverHost : public DriverHost {
public:
    bool SystemDirectory(std::string& path) override;
    void ChangeDirectory(const std::string& path) override;
    void ShowError(std::string_view text) override;
    bool DeleteOnReboot(const std::string& path) override;
};

} // namespace mrf::ulksrv
