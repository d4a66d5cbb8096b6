#pragma once
// Text helpers for windows and menus: every user-visible text passes through the translation lookup.
#include <windows.h>

#include <string>
#include <type_traits>

namespace mrf::ui {

std::string GetText(HWND window);
void SetText(HWND window, const std::string& text);
// Replaces the caption of the window and of every child by its translation.
void TranslateWindow(HWND window);
void TranslateMenu(HMENU menu);
// The procedure of a dialog held by an object of type T, which comes with WM_INITDIALOG: it then
// runs T::Init(dialog) (where Init returns a bool, false means it has set the focus itself),
// T::Command(id, code) for every WM_COMMAND, and, where T has it, T::Message(msg, wp, lp) for every
// other message (nonzero: handled).
template <typename T> INT_PTR CALLBACK DialogProc(HWND dialog, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_INITDIALOG) {
        ::SetWindowLongPtrA(dialog, DWLP_USER, lp);
        auto* self = reinterpret_cast<T*>(lp);
        if constexpr (std::is_void_v<decltype(self->Init(dialog))>) {
            self->Init(dialog);
            return TRUE;
        } else {
            return self->Init(dialog) ? TRUE : FALSE;
        }
    }
    auto* self = reinterpret_cast<T*>(::GetWindowLongPtrA(dialog, DWLP_USER));
    if (!self)
        return FALSE;
    if (msg == WM_COMMAND)
        return self->Command(LOWORD(wp), HIWORD(wp));
    if constexpr (requires { self->Message(msg, wp, lp); })
        return self->Message(msg, wp, lp);
    return FALSE;
}

// Centres a dialog on the main window, also when it was opened from another dialog.
void CenterOnOwner(HWND dialog);

} // namespace mrf::ui
