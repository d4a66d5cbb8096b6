#pragma once
// The state the main window's decisions share; one per program.
#include <optional>
#include <string>

namespace mrf {

enum class ProtectionState { Stopped, Started, Suspended };

// A message box to show: text and caption, both already translated.
struct UserMessage {
    std::string text;
    std::string caption;
    bool warning = false;  // something failed or was not applied, as opposed to a plain notice
    std::string setting{}; // the setting it is about, when it names one
    bool operator==(const UserMessage&) const = default;
};

struct MainState {
    std::string displayedRuleKey;
    bool settingsModified = false;
    bool pageFilling = false;
    bool sessionNotify = false; // registered for session change notices
    // What the Start and Suspend buttons show.
    ProtectionState protection = ProtectionState::Stopped;
    bool passwordPromptOpen = false;
    // Hidden in the tray: show-main-window off, window invisible, tray icon on.
    bool inTray = false;
    // Kept for the next time the window opens, when it could not be shown at once (logon run).
    std::optional<UserMessage> pendingMessage;
};

} // namespace mrf
