#include "core/gui/placement.h"

#include <algorithm>
#include <climits>
#include <cstdint>

namespace mrf {
namespace {

// The strip at the top of the window that must lie on a monitor so the window can be dragged.
constexpr int64_t kTitleBand = 24;
constexpr int64_t kMinVisibleWidth = 64;
// Far beyond any screen, far within int.
constexpr int64_t kCoordinateLimit = 1 << 24;

// A rectangle in 64 bits, where no sum or difference of coordinates overflows.
struct Rect {
    int64_t left = 0, top = 0, right = 0, bottom = 0;
    int64_t Width() const { return right - left; }
    int64_t Height() const { return bottom - top; }
};

int64_t Coordinate(int64_t v) {
    return std::clamp(v, -kCoordinateLimit, kCoordinateLimit);
}

Rect Wide(const WindowRect& r) {
    return {r.left, r.top, r.right, r.bottom};
}

int Narrow(int64_t v) {
    return static_cast<int>(std::clamp<int64_t>(v, INT_MIN, INT_MAX));
}

WindowRect Narrow(const Rect& r) {
    return {Narrow(r.left), Narrow(r.top), Narrow(r.right), Narrow(r.bottom)};
}

int64_t Overlap(int64_t a0, int64_t a1, int64_t b0, int64_t b1) {
    return std::min(a1, b1) - std::max(a0, b0);
}

bool TitleBandVisible(const Rect& r, const Rect& area) {
    return Overlap(r.left, r.right, area.left, area.right) >= kMinVisibleWidth && r.top >= area.top &&
           r.top + kTitleBand <= area.bottom;
}

int64_t DistanceSquared(const Rect& r, const Rect& area) {
    // From the window's centre to the nearest point of the area; coordinates are clamped, so the
    // square fits.
    const int64_t cx = (r.left + r.right) / 2;
    const int64_t cy = (r.top + r.bottom) / 2;
    const int64_t dx = cx < area.left ? area.left - cx : cx > area.right ? cx - area.right : 0;
    const int64_t dy = cy < area.top ? area.top - cy : cy > area.bottom ? cy - area.bottom : 0;
    return dx * dx + dy * dy;
}

// Moves r into area, shrinking it to the area where it is larger (but not below the minimum).
Rect FitInto(const Rect& r, const Rect& area) {
    const int64_t width = std::max<int64_t>(std::min(r.Width(), area.Width()), kMinWindowSize.width);
    const int64_t height = std::max<int64_t>(std::min(r.Height(), area.Height()), kMinWindowSize.height);
    const int64_t left = std::clamp(r.left, area.left, std::max(area.left, area.right - width));
    const int64_t top = std::clamp(r.top, area.top, std::max(area.top, area.bottom - height));
    return {left, top, left + width, top + height};
}

} // namespace

WindowRect SavedWindowRect(int left, int top, int width, int height) {
    const int64_t l = Coordinate(left), t = Coordinate(top);
    return Narrow({l, t, l + std::clamp<int64_t>(width, 0, kCoordinateLimit),
                   t + std::clamp<int64_t>(height, 0, kCoordinateLimit)});
}

WindowRect PlaceMainWindow(const std::optional<WindowRect>& saved, const std::vector<WindowRect>& workAreas,
                           WindowSize designed) {
    std::vector<Rect> areas;
    for (const WindowRect& area : workAreas)
        areas.push_back(Wide(area));
    const Rect primary = areas.empty() ? Rect{} : areas.front();
    if (!saved || Wide(*saved).Width() <= 0 || Wide(*saved).Height() <= 0) {
        const int64_t width = std::max(designed.width, kMinWindowSize.width);
        const int64_t height = std::max(designed.height, kMinWindowSize.height);
        const int64_t left = primary.left + (primary.Width() - width) / 2;
        const int64_t top = primary.top + (primary.Height() - height) / 2;
        return Narrow({left, top, left + width, top + height});
    }
    Rect r = Wide(*saved);
    r.left = Coordinate(r.left);
    r.top = Coordinate(r.top);
    int64_t width = std::clamp<int64_t>(r.Width(), kMinWindowSize.width, kCoordinateLimit);
    int64_t height = std::clamp<int64_t>(r.Height(), kMinWindowSize.height, kCoordinateLimit);
    if (!areas.empty()) {
        // No larger than all work areas together.
        Rect all = primary;
        for (const Rect& area : areas)
            all = {std::min(all.left, area.left), std::min(all.top, area.top),
                   std::max(all.right, area.right), std::max(all.bottom, area.bottom)};
        width = std::max<int64_t>(std::min(width, all.Width()), kMinWindowSize.width);
        height = std::max<int64_t>(std::min(height, all.Height()), kMinWindowSize.height);
    }
    r.right = r.left + width;
    r.bottom = r.top + height;
    if (areas.empty())
        return Narrow(r);
    for (const Rect& area : areas)
        if (TitleBandVisible(r, area))
            return Narrow(r);
    const Rect* nearest = &areas.front();
    int64_t best = INT64_MAX;
    for (const Rect& area : areas) {
        int64_t d = DistanceSquared(r, area);
        if (d < best) {
            best = d;
            nearest = &area;
        }
    }
    return Narrow(FitInto(r, *nearest));
}

} // namespace mrf
