// The main window's rectangle at start, brought back on screen.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>

#include "core/gui/placement.h"

namespace mrf {
namespace {

const WindowRect kPrimary{0, 0, 1920, 1040};
const WindowRect kLeft{-1280, 0, 0, 984}; // a second monitor left of the primary
constexpr WindowSize kDesigned{588, 515};

struct PlacementCase {
    const char* name;
    std::optional<WindowRect> saved;
    std::vector<WindowRect> areas;
    WindowRect expected;
};

class GuiPlacement : public testing::TestWithParam<PlacementCase> {};

TEST_P(GuiPlacement, KeepsTheWindowReachable) {
    EXPECT_EQ(PlaceMainWindow(GetParam().saved, GetParam().areas, kDesigned), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Gui, GuiPlacement,
    testing::Values(
        PlacementCase{"NoIniCentresDesigned", std::nullopt, {kPrimary}, {666, 262, 1254, 777}},
        PlacementCase{"EmptyRectCentresDesigned", WindowRect{5, 5, 5, 5}, {kPrimary}, {666, 262, 1254, 777}},
        PlacementCase{"OnScreenKept", WindowRect{100, 100, 800, 700}, {kPrimary}, {100, 100, 800, 700}},
        PlacementCase{"TooSmallGrown", WindowRect{100, 100, 200, 200}, {kPrimary}, {100, 100, 680, 570}},
        PlacementCase{
            "PartlyOffKept", WindowRect{1800, 500, 2500, 1100}, {kPrimary}, {1800, 500, 2500, 1100}},
        PlacementCase{"OnSecondMonitorKept",
                      WindowRect{-1000, 50, -300, 650},
                      {kPrimary, kLeft},
                      {-1000, 50, -300, 650}},
        PlacementCase{
            "MonitorGoneMovedToPrimary", WindowRect{-1000, 50, -300, 650}, {kPrimary}, {0, 50, 700, 650}},
        PlacementCase{
            "FarRightMovedIn", WindowRect{5000, 300, 5700, 900}, {kPrimary, kLeft}, {1220, 300, 1920, 900}},
        PlacementCase{
            "TitleAboveScreenMovedDown", WindowRect{100, -300, 800, 300}, {kPrimary}, {100, 0, 800, 600}},
        PlacementCase{
            "TitleBelowScreenMovedUp", WindowRect{100, 1030, 800, 1630}, {kPrimary}, {100, 440, 800, 1040}},
        PlacementCase{
            "LargerThanAreaShrunk", WindowRect{3000, 0, 6000, 2000}, {kPrimary}, {0, 0, 1920, 1040}},
        PlacementCase{"NearestMonitorChosen",
                      WindowRect{-3000, 100, -2300, 700},
                      {kPrimary, kLeft},
                      {-1280, 100, -580, 700}},
        PlacementCase{
            "TopAtIntMaxMovedOn", SavedWindowRect(0, INT_MAX, 600, 500), {kPrimary}, {0, 540, 600, 1040}},
        PlacementCase{"WiderThanAllMonitorsShrunk",
                      SavedWindowRect(-1280, 0, INT_MAX, 700),
                      {kPrimary, kLeft},
                      {-1280, 0, 1920, 700}}),
    [](const auto& info) { return std::string(info.param.name); });

// Whatever ulk.ini holds, the window's title band lands on a work area, at least at the minimum size.
TEST(GuiPlacementExtremes, AnyIniValuesGiveAReachableWindow) {
    const int values[] = {INT_MIN, -70000, -1, 0, 700, 1030, 70000, INT_MAX};
    const std::vector<WindowRect> areas = {kPrimary, kLeft};
    for (int left : values)
        for (int top : values)
            for (int width : {1, 600, 70000, INT_MAX})
                for (int height : {1, 500, 70000, INT_MAX}) {
                    const WindowRect r =
                        PlaceMainWindow(SavedWindowRect(left, top, width, height), areas, kDesigned);
                    const bool reachable = std::any_of(areas.begin(), areas.end(), [&](const WindowRect& a) {
                        return std::min(r.right, a.right) - std::max(r.left, a.left) >= 64 &&
                               r.top >= a.top && r.top + 24 <= a.bottom;
                    });
                    EXPECT_TRUE(reachable) << left << " " << top << " " << width << " " << height;
                    EXPECT_GE(r.Width(), kMinWindowSize.width);
                    EXPECT_GE(r.Height(), kMinWindowSize.height);
                    EXPECT_LE(r.Width(), 1920 + 1280);
                }
}

} // namespace
} // namespace mrf
