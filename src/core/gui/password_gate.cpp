#include "core/gui/password_gate.h"

#include "core/gui/option_keys.h"
#include "core/text/translate.h"

namespace mrf {

PromptSession::PromptSession(std::string stored, PasswordHasher& hasher, int attemptCount)
    : stored_(std::move(stored)), hasher_(hasher), attemptCount_(attemptCount) {}

void PromptSession::Activate() {
    wrong_ = 0;
}

PromptStep PromptSession::OnOk(std::string_view typed) {
    if (hasher_.Verify(typed, stored_)) {
        accepted_ = true;
        return PromptStep::Accept;
    }
    ++wrong_;
    return wrong_ >= attemptCount_ ? PromptStep::WrongGiveUp : PromptStep::WrongTryAgain;
}

void PromptSession::OnCancel() {
    accepted_ = false;
}

UserMessage PromptSession::WrongPasswordMessage() {
    return {Tr("The Password is wrong !"), Tr("Error")};
}

PasswordGate::PasswordGate(const TEncriptor& store, MainState& state, PasswordPrompt& prompt,
                           PasswordHasher& hasher)
    : store_(store), state_(state), prompt_(prompt), hasher_(hasher) {}

bool PasswordGate::PasswordStored() const {
    return !store_.ReadString(keys::kPassword, "").empty();
}

GateResult PasswordGate::AskAdminPassword() {
    if (state_.passwordPromptOpen)
        return GateResult::Busy;
    std::string stored = store_.ReadString(keys::kPassword, "");
    if (stored.empty())
        return GateResult::NoneStored;
    PromptSession session(std::move(stored), hasher_);
    state_.passwordPromptOpen = true;
    bool closedWithOk = false;
    try {
        closedWithOk = prompt_.Execute(session);
    } catch (...) {
        state_.passwordPromptOpen = false;
        throw;
    }
    state_.passwordPromptOpen = false;
    // Only a confirmed entry opens the gate, whatever the dialog reports.
    return closedWithOk && session.Accepted() ? GateResult::Accepted : GateResult::Refused;
}

} // namespace mrf
