#pragma once
// The one gate in front of every prompt for the administrator password, and the prompt's logic.
#include <string>
#include <string_view>

#include "core/gui/main_state.h"
#include "core/gui/password_hash.h"
#include "core/store/encriptor.h"

namespace mrf {

enum class GateResult { NoneStored, Accepted, Refused, Busy };

enum class PromptStep {
    Accept,        // close the prompt with OK
    WrongTryAgain, // show WrongPasswordMessage(), empty the field, keep the prompt open
    WrongGiveUp,   // show WrongPasswordMessage(), close the prompt with Cancel
};

// What the prompt dialog does with each entry. The dialog calls Activate when it is activated,
// OnOk for OK and Enter, OnCancel for Cancel and Escape.
class PromptSession {
public:
    PromptSession(std::string stored, PasswordHasher& hasher, int attemptCount = 3);

    void Activate();
    PromptStep OnOk(std::string_view typed);
    void OnCancel();
    // A right password was confirmed and the prompt was not cancelled afterwards.
    bool Accepted() const { return accepted_; }
    int WrongAttempts() const { return wrong_; }

    // "The Password is wrong !" with the caption "Error", translated.
    static UserMessage WrongPasswordMessage();

private:
    std::string stored_;
    PasswordHasher& hasher_;
    int attemptCount_;
    int wrong_ = 0;
    bool accepted_ = false;
};

// Shows the prompt modally, the other windows disabled, and runs the session; true when it closed
// with OK. Re-enables the other windows also when it throws.
class PasswordPrompt {
public:
    virtual ~PasswordPrompt() = default;
    virtual bool Execute(PromptSession& session) = 0;
};

class PasswordGate {
public:
    PasswordGate(const TEncriptor& store, MainState& state, PasswordPrompt& prompt, PasswordHasher& hasher);

    // Busy while another prompt is open (nothing shown); NoneStored without a password.
    GateResult AskAdminPassword();
    bool PasswordStored() const;

private:
    const TEncriptor& store_;
    MainState& state_;
    PasswordPrompt& prompt_;
    PasswordHasher& hasher_;
};

} // namespace mrf
