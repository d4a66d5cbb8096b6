#pragma once
// The settings keys of the GUI program's options and password.
#include <cstdint>
#include <string_view>

namespace mrf::keys {

inline constexpr std::string_view kAuto = "Auto";
inline constexpr std::string_view kMinimize = "Minimize";
inline constexpr std::string_view kHotKey = "HotKey";
inline constexpr std::string_view kPassword = "Password";

// What each reads as when it is absent. "HotKey" has two: the registration takes kDefaultHotKey,
// the options page keeps its field's value.
inline constexpr std::string_view kAutoDefault = "0"; // the logon start runs only on "1"
inline constexpr bool kMinimizeDefault = true;        // stay in the tray after a logon start

} // namespace mrf::keys

namespace mrf {

// Ctrl+Alt+C as a shortcut code.
inline constexpr uint16_t kDefaultHotKey = 49219;
inline constexpr std::string_view kAppTitle = "Umberlock";

} // namespace mrf
