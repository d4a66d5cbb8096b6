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
// Centres a dialog on the main window, also when it was opened from another dialog.
void CenterOnOwner(HWND dialog);
// A message box with translated text and caption.
int Message(HWND owner, const std::string& text, const std::string& caption, UINT flags);

} // namespace mrf::ui
