#pragma once
// Text helpers for windows and menus: every user-visible text passes through the translation lookup.
#include <windows.h>

#include <string>

namespace mrf::ui {

std::string GetText(HWND window);
void SetText(HWND window, const std::string& text);
// Replaces the caption of the window and of every child by its translation.
void TranslateWindow(HWND window);
void TranslateMenu(HMENU menu);
// The procedure of a dialog held by an object of type T, which comes with WM_INITDIALOG: it then
// runs T::Init(dialog), and T::Command(id, code) for every WM_COMMAND.
template <typename T> INT_PTR CALLBACK DialogProc(HWND dialog, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_INITDIALOG) {
        ::SetWindowLongPtrA(dialog, DWLP_USER, lp);
        reinterpret_cast<T*>(lp)->Init(dialog);
        return TRUE;
    }
    auto* self = reinterpret_cast<T*>(::GetWindowLongPtrA(dialog, DWLP_USER));
    if (self && msg == WM_COMMAND)
        return self->Command(LOWORD(wp), HIWORD(wp));
    return FALSE;
}

// Centres a dialog on the main window, also when it was opened from another dialog.
void CenterOnOwner(HWND dialog);

} // namespace mrf::ui
