#include "mrf/message.h"

namespace mrf::ui {

Answer Tell(const Message& message) {
    UINT flags = message.buttons == Buttons::YesNoCancel ? MB_YESNOCANCEL
                 : message.buttons == Buttons::YesNo     ? MB_YESNO
                                                         : MB_OK;
    switch (message.icon) {
    case Icon::None:
        break;
    case Icon::Question:
        flags |= MB_ICONQUESTION;
        break;
    case Icon::Warning:
        flags |= MB_ICONWARNING;
        break;
    case Icon::Error:
        flags |= MB_ICONERROR;
        break;
    }
    if (!message.owner)
        flags |= MB_SETFOREGROUND;
    if (message.wholeProgram)
        flags |= MB_TASKMODAL;
    switch (::MessageBoxA(message.owner, message.text.c_str(), message.caption.c_str(), flags)) {
    case IDYES:
        return Answer::Yes;
    case IDNO:
        return Answer::No;
    case IDCANCEL:
        return Answer::Cancel;
    default:
        return Answer::Ok;
    }
}

Answer Tell(HWND owner, const UserMessage& message) {
    return Tell(
        {owner, message.text, message.caption, Buttons::Ok, message.warning ? Icon::Warning : Icon::None});
}

} // namespace mrf::ui
