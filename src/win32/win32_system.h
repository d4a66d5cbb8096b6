#pragma once
// The system port over Win32.
#include "ports/system.h"

namespace mrf::win32 {

class Win32System final : public SystemPort {
public:
    SystemResult EnablePrivilege(std::string_view name) override;
    SystemResult RegisterSessionNotification(WindowRef window) override;
    SystemResult UnregisterSessionNotification(WindowRef window) override;
    SystemResult StartProgram(const std::string& path, const std::string& arguments,
                              const std::string& folder, std::string_view verb, WindowRef owner) override;
    bool IsElevated() override;
    bool FileExists(const std::string& path) override;
};

} // namespace mrf::win32
