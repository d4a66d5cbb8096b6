// The main window's rectangle at start, brought back on screen.
#include <gtest/gtest.h>

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
                      {-1280, 100, -580, 700}}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace mrf
