#include "mrf/window_placement.h"

#include <climits>
#include <optional>
#include <string>
#include <vector>

#include "core/gui/placement.h"
#include "win32/settings_store.h"

namespace mrf::ui {
namespace {

// The keys of "ulk.ini", all in one section.
constexpr const char* kSection = "main";
constexpr const char* kLeft = "MainForm\\Left";
constexpr const char* kTop = "MainForm\\Top";
constexpr const char* kWidth = "MainForm\\Width";
constexpr const char* kHeight = "MainForm\\Height";
constexpr const char* kState = "MainForm\\State"; // SW_SHOWNORMAL or SW_SHOWMAXIMIZED

std::string IniPath() {
    return win32::ProgramFolder() + "ulk.ini";
}

std::optional<WindowRect> ReadSavedRect() {
    const std::string ini = IniPath();
    auto read = [&](const char* key) {
        return static_cast<int>(::GetPrivateProfileIntA(kSection, key, INT_MIN, ini.c_str()));
    };
    int left = read(kLeft), top = read(kTop);
    int width = read(kWidth), height = read(kHeight);
    if (left == INT_MIN || top == INT_MIN || width == INT_MIN || height == INT_MIN || width <= 0 ||
        height <= 0)
        return std::nullopt;
    return SavedWindowRect(left, top, width, height);
}

BOOL CALLBACK CollectWorkArea(HMONITOR monitor, HDC, LPRECT, LPARAM out) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (::GetMonitorInfoA(monitor, &info)) {
        auto& areas = *reinterpret_cast<std::vector<WindowRect>*>(out);
        WindowRect r{info.rcWork.left, info.rcWork.top, info.rcWork.right, info.rcWork.bottom};
        if (info.dwFlags & MONITORINFOF_PRIMARY)
            areas.insert(areas.begin(), r);
        else
            areas.push_back(r);
    }
    return TRUE;
}

} // namespace

void RestorePlacement(HWND window, SIZE designedClient) {
    std::vector<WindowRect> areas;
    ::EnumDisplayMonitors(nullptr, nullptr, CollectWorkArea, reinterpret_cast<LPARAM>(&areas));
    if (areas.empty()) {
        RECT work;
        ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
        areas.push_back({work.left, work.top, work.right, work.bottom});
    }
    RECT designed{0, 0, designedClient.cx, designedClient.cy};
    ::AdjustWindowRectEx(&designed, static_cast<DWORD>(::GetWindowLongA(window, GWL_STYLE)), TRUE, 0);
    WindowRect r = PlaceMainWindow(ReadSavedRect(), areas,
                                   {designed.right - designed.left, designed.bottom - designed.top});
    ::MoveWindow(window, r.left, r.top, r.Width(), r.Height(), FALSE);
    if (::GetPrivateProfileIntA(kSection, kState, SW_SHOWNORMAL, IniPath().c_str()) == SW_SHOWMAXIMIZED)
        ::ShowWindow(window, SW_SHOWMAXIMIZED);
}

void SavePlacement(HWND window) {
    WINDOWPLACEMENT wp{};
    wp.length = sizeof wp;
    if (!::GetWindowPlacement(window, &wp))
        return;
    const std::string ini = IniPath();
    RECT r;
    if (::IsIconic(window) || ::IsZoomed(window)) {
        // The normal place is kept in work-area coordinates; the file holds screen coordinates.
        r = wp.rcNormalPosition;
        MONITORINFO info{};
        info.cbSize = sizeof info;
        if (::GetMonitorInfoA(::MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &info))
            ::OffsetRect(&r, info.rcWork.left - info.rcMonitor.left, info.rcWork.top - info.rcMonitor.top);
    } else {
        ::GetWindowRect(window, &r);
    }
    auto write = [&](const char* key, long value) {
        ::WritePrivateProfileStringA(kSection, key, std::to_string(value).c_str(), ini.c_str());
    };
    write(kLeft, r.left);
    write(kTop, r.top);
    write(kWidth, r.right - r.left);
    write(kHeight, r.bottom - r.top);
    write(kState, wp.showCmd == SW_SHOWMAXIMIZED ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL);
}

} // namespace mrf::ui
