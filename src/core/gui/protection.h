#pragma once
// Start, Suspend and Stop, the tray's guarded commands and the console session changes.
#include <functional>
#include <optional>

#include "core/engine/bridge.h"
#include "core/gui/main_state.h"
#include "core/gui/password_gate.h"
#include "core/store/encriptor.h"

namespace mrf {

// What the protection commands need of the engine (the window adapts EngineBridge to it).
class RulesEngine {
public:
    virtual ~RulesEngine() = default;
    virtual std::optional<ApplyError> ApplyRules(bool enable, const TEncriptor& store) = 0;
};

// After a command: the state the Start and Suspend buttons must show (the engine's real state) and
// a message to show, when the rules could not be applied.
struct CommandResult {
    ProtectionState state = ProtectionState::Stopped;
    std::optional<UserMessage> error;
};

// The session-change notice's codes that matter.
inline constexpr unsigned kConsoleConnect = 1;
inline constexpr unsigned kConsoleDisconnect = 2;

class Protection {
public:
    // fillFolderList: refills the folder list with the displayed rule key (Start's first step).
    Protection(TEncriptor& store, MainState& state, RulesEngine& engine, PasswordGate& gate,
               std::function<void()> fillFolderList);

    CommandResult Start();   // cmdGoExecute
    CommandResult Suspend(); // cmdPauseExecute
    CommandResult Stop();    // cmdStopExecute

    // Tray commands behind the password gate: nullopt when refused or busy (nothing done).
    std::optional<CommandResult> Pause1Click();
    std::optional<CommandResult> Stop1Click();
    // true: the program is to end (Exit).
    bool Exit2Click();

    // Console connect starts, disconnect suspends, keeping the settings-modified flag as it was;
    // nullopt for every other code.
    std::optional<CommandResult> SessionMessage(unsigned code);

private:
    CommandResult Run(ProtectionState target);

    TEncriptor& store_;
    MainState& state_;
    RulesEngine& engine_;
    PasswordGate& gate_;
    std::function<void()> fillFolderList_;
};

} // namespace mrf
