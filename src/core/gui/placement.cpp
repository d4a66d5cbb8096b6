#include "core/gui/placement.h"

#include <algorithm>
#include <climits>

namespace mrf {
namespace {

// The strip at the top of the window that must lie on a monitor so the window can be dragged.
constexpr int kTitleBand = 24;
constexpr int kMinVisibleWidth = 64;

int Overlap(int a0, int a1, int b0, int b1) {
    return std::min(a1, b1) - std::max(a0, b0);
}

bool TitleBandVisible(const WindowRect& r, const WindowRect& area) {
    return Overlap(r.left, r.right, area.left, area.right) >= kMinVisibleWidth && r.top >= area.top &&
           r.top + kTitleBand <= area.bottom;
}

long long DistanceSquared(const WindowRect& r, const WindowRect& area) {
    // From the window's centre to the nearest point of the area.
    const long long cx = (static_cast<long long>(r.left) + r.right) / 2;
    const long long cy = (static_cast<long long>(r.top) + r.bottom) / 2;
    const long long dx = cx < area.left ? area.left - cx : cx > area.right ? cx - area.right : 0;
    const long long dy = cy < area.top ? area.top - cy : cy > area.bottom ? cy - area.bottom : 0;
    return dx * dx + dy * dy;
}

// Moves r into area, shrinking it to the area where it is larger (but not below the minimum).
WindowRect FitInto(WindowRect r, const WindowRect& area) {
    const int width = std::max(std::min(r.Width(), area.Width()), kMinWindowSize.width);
    const int height = std::max(std::min(r.Height(), area.Height()), kMinWindowSize.height);
    int left = std::clamp(r.left, area.left, std::max(area.left, area.right - width));
    int top = std::clamp(r.top, area.top, std::max(area.top, area.bottom - height));
    return {left, top, left + width, top + height};
}

} // namespace

WindowRect PlaceMainWindow(const std::optional<WindowRect>& saved, const std::vector<WindowRect>& workAreas,
                           WindowSize designed) {
    const WindowRect primary = workAreas.empty() ? WindowRect{} : workAreas.front();
    if (!saved || saved->Width() <= 0 || saved->Height() <= 0) {
        const int width = std::max(designed.width, kMinWindowSize.width);
        const int height = std::max(designed.height, kMinWindowSize.height);
        const int left = primary.left + (primary.Width() - width) / 2;
        const int top = primary.top + (primary.Height() - height) / 2;
        return {left, top, left + width, top + height};
    }
    WindowRect r = *saved;
    r.right = r.left + std::max(r.Width(), kMinWindowSize.width);
    r.bottom = r.top + std::max(r.Height(), kMinWindowSize.height);
    if (workAreas.empty())
        return r;
    for (const WindowRect& area : workAreas)
        if (TitleBandVisible(r, area))
            return r;
    const WindowRect* nearest = &workAreas.front();
    long long best = LLONG_MAX;
    for (const WindowRect& area : workAreas) {
        long long d = DistanceSquared(r, area);
        if (d < best) {
            best = d;
            nearest = &area;
        }
    }
    return FitInto(r, *nearest);
}

} // namespace mrf
