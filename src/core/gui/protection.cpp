#include "core/gui/protection.h"

#include "core/gui/option_keys.h"

namespace mrf {

Protection::Protection(TEncriptor& store, MainState& state, RulesEngine& engine, PasswordGate& gate,
                       std::function<void()> fillFolderList)
    : store_(store), state_(state), engine_(engine), gate_(gate), fillFolderList_(std::move(fillFolderList)) {
}

CommandResult Protection::Run(ProtectionState target) {
    const bool enable = target == ProtectionState::Started;
    if (enable && fillFolderList_)
        fillFolderList_();
    const ProtectionState before = state_.protection;
    store_.WriteBool(keys::kAuto, target != ProtectionState::Stopped);
    state_.settingsModified = true;
    CommandResult result;
    if (auto error = engine_.ApplyRules(enable, store_)) {
        // Nothing reached the engine, so it is still in the state the buttons showed before.
        result.error = UserMessage{error->Message(), std::string(kAppTitle), true, error->key};
        state_.protection = before;
    } else {
        state_.protection = target;
    }
    result.state = state_.protection;
    return result;
}

CommandResult Protection::Start() {
    return Run(ProtectionState::Started);
}

CommandResult Protection::Suspend() {
    return Run(ProtectionState::Suspended);
}

CommandResult Protection::Stop() {
    return Run(ProtectionState::Stopped);
}

namespace {
bool Opens(GateResult result) {
    return result == GateResult::NoneStored || result == GateResult::Accepted;
}
} // namespace

std::optional<CommandResult> Protection::Pause1Click() {
    if (!Opens(gate_.AskAdminPassword()))
        return std::nullopt;
    return Suspend();
}

std::optional<CommandResult> Protection::Stop1Click() {
    if (!Opens(gate_.AskAdminPassword()))
        return std::nullopt;
    return Stop();
}

bool Protection::Exit2Click() {
    return Opens(gate_.AskAdminPassword());
}

std::optional<CommandResult> Protection::SessionMessage(unsigned code) {
    if (code != kConsoleConnect && code != kConsoleDisconnect)
        return std::nullopt;
    const bool modified = state_.settingsModified;
    CommandResult result = code == kConsoleConnect ? Start() : Suspend();
    state_.settingsModified = modified;
    return result;
}

} // namespace mrf
