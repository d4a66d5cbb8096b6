#pragma once
// The tray icon RxTrayIcon1 with its menu PopupMenu1, the taskbar's re-creation ("TaskbarCreated")
// and the FindShell timer that waits for a taskbar.
#include <windows.h>

#include <functional>
#include <optional>

#include "core/gui/options.h"
#include "win32/handles.h"

namespace mrf::ui {

class TrayIcon {
public:
    // The icon's notices to its window.
    static constexpr UINT kMessage = WM_APP + 1;

    // Once the window exists; icon stays the caller's.
    void Attach(HWND window, HICON icon);
    // Switches the icon on or off; on stays wanted also when the notification area is missing.
    void Show(bool on);
    bool On() const { return wanted_; }
    void StartFindShell();
    void StopFindShell();

    // A message of the window that may be the tray's. Returns true when it was.
    //   doubleClick: the icon was double-clicked; findShell: one tick of the timer with what a look
    //   for the taskbar found; menu: the right button, with whether each item is enabled.
    struct Events {
        std::function<void()> doubleClick;
        std::function<void(Taskbar)> findShell;
        std::function<bool(unsigned id)> itemEnabled;
    };
    bool Handle(UINT msg, WPARAM wp, LPARAM lp, const Events& events);

private:
    void PopupMenu1(const Events& events);
    bool Notify(DWORD what);

    HWND window_ = nullptr;
    HICON icon_ = nullptr;
    UINT taskbarCreated_ = 0;
    bool wanted_ = false; // on, as the program sees it
    bool shown_ = false;  // the notification area has it
    win32::unique_hmenu menu_;
};

} // namespace mrf::ui
