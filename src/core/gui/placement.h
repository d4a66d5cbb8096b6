#pragma once
// The main window's rectangle at start: the saved one from ulk.ini, brought back on screen.
#include <optional>
#include <vector>

namespace mrf {

struct WindowRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool operator==(const WindowRect&) const = default;
};

struct WindowSize {
    int width = 0, height = 0;
};

// The smallest window size, in pixels.
inline constexpr WindowSize kMinWindowSize{580, 470};

// The rectangle of a placement read from ulk.ini. Any values give a rectangle whose corners and
// size are representable: coordinates and sizes are clamped far beyond any screen.
WindowRect SavedWindowRect(int left, int top, int width, int height);

// saved: the rectangle read from ulk.ini, nullopt when it is missing or unreadable.
// workAreas: every monitor's work area, the primary one first (at least one).
// designed: the window size for the designed 572 x 476 client area.
// Without a saved rectangle: the designed size centred on the primary work area. A saved one keeps
// its place when its title band lies on some monitor; otherwise it moves onto the nearest work
// area, shrunk to fit it. Never below kMinWindowSize, never larger than all work areas together.
// Computed in 64 bits: any saved values give a window on a work area.
WindowRect PlaceMainWindow(const std::optional<WindowRect>& saved, const std::vector<WindowRect>& workAreas,
                           WindowSize designed);

} // namespace mrf
