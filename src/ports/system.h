#pragma once
// What the programs ask of the operating system besides files and the engine: privileges of the
// process, a window's session-change notices, starting other programs, whether a file exists.
// Failures come back as values naming the call and the system's code.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace mrf {

struct SystemError {
    std::string api;
    uint32_t code = 0;
    bool operator==(const SystemError&) const = default;
};
using SystemResult = std::optional<SystemError>; // nullopt: done

// A window of the calling program, as the system names it.
using WindowRef = std::uintptr_t;

class SystemPort {
public:
    virtual ~SystemPort() = default;
    // Enables one privilege of the process token, e.g. "SeBackupPrivilege".
    virtual SystemResult EnablePrivilege(std::string_view name) = 0;
    // The session-change notices of the window's own session; unavailable before Windows XP.
    virtual SystemResult RegisterSessionNotification(WindowRef window) = 0;
    virtual SystemResult UnregisterSessionNotification(WindowRef window) = 0;
    // Starts a program through the shell with verb ("open", "runas"), in a normal window, in
    // folder, without waiting for it.
    virtual SystemResult StartProgram(const std::string& path, const std::string& arguments,
                                      const std::string& folder, std::string_view verb = "open",
                                      WindowRef owner = 0) = 0;
    // Whether this process holds administrator rights in full (not only as a filtered token).
    virtual bool IsElevated() = 0;
    // A file (not a folder) exists at path.
    virtual bool FileExists(const std::string& path) = 0;
};

} // namespace mrf
