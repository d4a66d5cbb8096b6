#pragma once
// The one way mrf.exe tells the user something: every message box goes through Tell.
#include <windows.h>

#include <string>

#include "core/gui/main_state.h"

namespace mrf::ui {

enum class Buttons { Ok, YesNo, YesNoCancel };
// Plain messages carry no icon; a warning says something went wrong or was not applied.
enum class Icon { None, Question, Warning, Error };
enum class Answer { Ok, Yes, No, Cancel };

struct Message {
    HWND owner = nullptr; // none: a box of its own, brought to the foreground
    std::string text;     // already translated
    std::string caption;  // already translated
    Buttons buttons = Buttons::Ok;
    Icon icon = Icon::None;
    bool wholeProgram = false; // modal for every window of the program, not only the owner
};

Answer Tell(const Message& message);
// A message of the core: a warning when it says so.
Answer Tell(HWND owner, const UserMessage& message);

} // namespace mrf::ui
