#pragma once
// The registration of the file-protection driver as a boot-start kernel driver.
#include <string>
#include <string_view>
#include <vector>

#include "ports/service_manager.h"

namespace mrf {

enum class DriverKind { Unicode, Ansi };

// The Unicode driver exactly when the first argument is "UNICODE" (letter case counts).
DriverKind ChooseDriverKind(const std::vector<std::string>& arguments);

struct DriverNames {
    std::string_view serviceName; // "ZFPUni"
    std::string_view kindWord;    // "Unicode"
    std::string_view fileName;    // "ZFPUni.sys"
};
DriverNames NamesOf(DriverKind kind);
// "Zenthra File Protector " and the kind word.
std::string DriverDisplayName(DriverKind kind);
// What CreateService is given for the driver.
ServiceConfig DriverServiceConfig(DriverKind kind);

// What the driver registration needs besides the service manager.
class DriverHost {
public:
    virtual ~DriverHost() = default;
    // The system folder without a final "\"; false when it cannot be had.
    virtual bool SystemDirectory(std::string& path) = 0;
    virtual void ChangeDirectory(const std::string& path) = 0;
    // A box with no owner, caption "Error" and an OK button; waits for the user.
    virtual void ShowError(std::string_view text) = 0;
    // Schedules the file's deletion for the next start of the system.
    virtual bool DeleteOnReboot(const std::string& path) = 0;
};

inline constexpr std::string_view kNoSystemDirectoryText = "ZFP: Cannot retreive System directory variable.";
inline constexpr std::string_view kNoServiceManagerText = "ZFP: Cannot connect to the Service Manager.";
inline constexpr std::string_view kNoDriverText = "ZFP: Cannot install File Protection Driver.";

// Registers the driver of that kind, leaving an existing registration as it is. Every failure
// shows its box; returns whether the driver is registered.
bool InstallDriver(DriverKind kind, ServiceManager& manager, DriverHost& host);

// Deletes the registrations of both driver kinds, whichever exist, and schedules each deleted
// driver's file for deletion at the next start. Silent. Returns false when a registration that
// exists could not be deleted (or the service manager could not be asked).
bool RemoveDriver(ServiceManager& manager, DriverHost& host);

} // namespace mrf
