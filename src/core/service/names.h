#pragma once
// The names the service program and its registrations are known by.
#include <string_view>

namespace mrf {

inline constexpr std::string_view kServiceName = "Marrowfold";
inline constexpr std::string_view kServiceDisplayName = "Marrowfold";
inline constexpr std::string_view kStopEventName = "MarrowfoldShutdownEvent";

// First arguments of ulksrv.exe; compared exactly.
inline constexpr std::string_view kRemoveSwitch = "/un";
inline constexpr std::string_view kUnicodeSwitch = "UNICODE";

inline constexpr std::string_view kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\RUN";
inline constexpr std::string_view kRunValueName = "1mrf.exe";
inline constexpr std::string_view kUninstallKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Umberlock_is1";
inline constexpr std::string_view kUninstallStringValue = "UninstallString";
inline constexpr std::string_view kQuietUninstallStringValue = "QuietUninstallString";

inline constexpr std::string_view kSettingsFileName = "mrf.dat";
inline constexpr std::string_view kIniFileName = "ulk.ini";
inline constexpr std::string_view kGuiProgramName = "mrf.exe";

} // namespace mrf
