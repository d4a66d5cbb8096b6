#include "mrf/tray_icon.h"

#include <shellapi.h>

#include "core/text/translate.h"
#include "mrf/resource.h"
#include "mrf/ui_text.h"

namespace mrf::ui {
namespace {
constexpr UINT_PTR kFindShellTimer = 1;
constexpr UINT kFindShellInterval = 1000;
} // namespace

void TrayIcon::Attach(HWND window, HICON icon) {
    window_ = window;
    icon_ = icon;
    taskbarCreated_ = ::RegisterWindowMessageA("TaskbarCreated");
}

bool TrayIcon::Notify(DWORD what) {
    NOTIFYICONDATAA data{};
    data.cbSize = sizeof data;
    data.hWnd = window_;
    data.uID = 1;
    data.uFlags = NIF_ICON | NIF_MESSAGE | NIF_TIP;
    data.uCallbackMessage = kMessage;
    data.hIcon = icon_;
    lstrcpynA(data.szTip, Tr(kAppTitle).c_str(), sizeof data.szTip);
    return ::Shell_NotifyIconA(what, &data) != FALSE;
}

void TrayIcon::Show(bool on) {
    wanted_ = on;
    if (on == shown_)
        return;
    if (Notify(on ? NIM_ADD : NIM_DELETE) || !on)
        shown_ = on;
}

void TrayIcon::StartFindShell() {
    ::SetTimer(window_, kFindShellTimer, kFindShellInterval, nullptr);
}

void TrayIcon::StopFindShell() {
    ::KillTimer(window_, kFindShellTimer);
}

bool TrayIcon::Handle(UINT msg, WPARAM wp, LPARAM lp, const Events& events) {
    if (taskbarCreated_ && msg == taskbarCreated_) {
        // Explorer came back: its notification area has forgotten our icon, or never had it.
        shown_ = false;
        if (wanted_)
            Show(true);
        return true;
    }
    if (msg == WM_TIMER && wp == kFindShellTimer) {
        StopFindShell();
        HWND taskbar = ::FindWindowA("Shell_TrayWnd", nullptr);
        events.findShell(!taskbar                     ? Taskbar::Missing
                         : ::IsWindowVisible(taskbar) ? Taskbar::Visible
                                                      : Taskbar::Hidden);
        return true;
    }
    if (msg != kMessage)
        return false;
    switch (static_cast<UINT>(lp)) {
    case WM_LBUTTONDBLCLK:
        events.doubleClick();
        break;
    case WM_RBUTTONUP:
    case WM_CONTEXTMENU:
        PopupMenu1(events);
        break;
    }
    return true;
}

void TrayIcon::PopupMenu1(const Events& events) {
    if (!menu_) {
        menu_.reset(::LoadMenuA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_TRAYMENU)));
        if (!menu_)
            return;
        TranslateMenu(menu_.get());
    }
    HMENU popup = ::GetSubMenu(menu_.get(), 0);
    for (int i = 0, n = ::GetMenuItemCount(popup); i < n; ++i) {
        const UINT id = ::GetMenuItemID(popup, i);
        if (id != static_cast<UINT>(-1))
            ::EnableMenuItem(popup, id, MF_BYCOMMAND | (events.itemEnabled(id) ? MF_ENABLED : MF_GRAYED));
    }
    POINT pt;
    ::GetCursorPos(&pt);
    ::SetForegroundWindow(window_);
    ::TrackPopupMenu(popup, TPM_RIGHTBUTTON, pt.x, pt.y, 0, window_, nullptr);
    ::PostMessageA(window_, WM_NULL, 0, 0);
}

} // namespace mrf::ui
