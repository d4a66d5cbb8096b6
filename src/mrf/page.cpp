#include "mrf/page.h"

#include "mrf/ui_text.h"

namespace mrf::ui {

HWND Page::Create(HWND frame) {
    ::CreateDialogParamA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(dialogId_), frame, Proc,
                         reinterpret_cast<LPARAM>(this));
    return page_;
}

HWND Page::FirstControl() const {
    return ::GetNextDlgTabItem(page_, nullptr, FALSE);
}

bool Page::Key(MSG& msg) {
    // Tab and Shift+Tab move through the page's controls; every other key stays with its control.
    if (msg.wParam == VK_TAB &&
        (msg.message == WM_KEYDOWN || msg.message == WM_KEYUP || msg.message == WM_CHAR))
        return ::IsDialogMessageA(page_, &msg) != FALSE;
    return false;
}

bool Page::Notify(NMHDR*) {
    return false;
}

bool Page::ContextMenu(HWND, LPARAM) {
    return false;
}

void Page::Resize(int, int) {}

INT_PTR CALLBACK Page::Proc(HWND page, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_INITDIALOG) {
        auto* self = reinterpret_cast<Page*>(lp);
        ::SetWindowLongPtrA(page, DWLP_USER, lp);
        self->page_ = page;
        TranslateWindow(page);
        self->Init();
        return FALSE; // the frame gives the focus
    }
    auto* self = reinterpret_cast<Page*>(::GetWindowLongPtrA(page, DWLP_USER));
    if (!self)
        return FALSE;
    // No exception may unwind through the system's frames: it is told and the program goes on.
    try {
        switch (msg) {
        case WM_COMMAND:
            return self->Command(LOWORD(wp), HIWORD(wp));
        case WM_NOTIFY:
            return self->Notify(reinterpret_cast<NMHDR*>(lp));
        case WM_CONTEXTMENU:
            return self->ContextMenu(reinterpret_cast<HWND>(wp), lp);
        case WM_SIZE:
            self->Resize(LOWORD(lp), HIWORD(lp));
            return TRUE;
        }
    } catch (const std::exception& e) {
        self->host_.Notify({e.what(), GetText(::GetAncestor(page, GA_ROOT)), true});
    }
    return FALSE;
}

} // namespace mrf::ui
