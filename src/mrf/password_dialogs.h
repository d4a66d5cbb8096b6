#pragma once
// The password prompt and the password definition dialog, as functions over plain structs.
#include <windows.h>

#include <functional>
#include <string>

namespace mrf::ui {

enum class PromptAnswer { Accept, WrongTryAgain, WrongGiveUp };

struct PasswordPromptData {
    // Judges the typed text; the dialog shows the wrong-password message and keeps or closes.
    std::function<PromptAnswer(const std::string& typed)> check;
    std::string wrongText, wrongCaption; // the wrong-password message, translated
};

// The prompt ("Password"); true when the right password was confirmed with OK or Enter.
bool RunPasswordPrompt(HWND owner, PasswordPromptData& data);

struct PasswordDefinitionData {
    std::string enter;   // in: what the first field starts with; out: its text after OK
    std::string confirm; // out: the confirmation field's text after OK
    // Empty when the two texts may be accepted; else the message to show, and the dialog stays open.
    std::function<std::string(const std::string& enter, const std::string& confirm)> check;
};

// The definition dialog ("Administrator Password"); true on OK.
bool RunPasswordDefinition(HWND owner, PasswordDefinitionData& data);

} // namespace mrf::ui
