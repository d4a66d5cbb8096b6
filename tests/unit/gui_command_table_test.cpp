// The main window's command table: which items and buttons the idle-time update enables in each
// state of the window, and which row an id reaches.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "mrf/command_table.h"
#include "mrf/resource.h"

namespace mrf::ui {
namespace {

struct StateCase {
    std::string name;
    WindowFacts facts;
    std::set<unsigned> disabled; // every other id of the table is enabled
};

std::set<unsigned> DisabledIds(const WindowFacts& facts) {
    std::set<unsigned> off;
    for (const CommandRow& row : Commands())
        for (unsigned id : {row.menuId, row.buttonId, row.trayId})
            if (id && !IsEnabled(row, id, facts))
                off.insert(id);
    return off;
}

class CommandStates : public ::testing::TestWithParam<StateCase> {};

TEST_P(CommandStates, EnablesExactlyWhatTheStateAllows) {
    EXPECT_EQ(DisabledIds(GetParam().facts), GetParam().disabled);
}

using P = ProtectionState;
const std::set<unsigned> kRowCommands = {ID_CMD_REMOVEF, ID_BTN_DELETE, ID_CMD_EDITFOLDER};
const std::set<unsigned> kSave = {ID_CMD_SAVE, ID_BTN_SAVE};
std::set<unsigned> Join(std::set<unsigned> a, const std::set<unsigned>& b) {
    a.insert(b.begin(), b.end());
    return a;
}

INSTANTIATE_TEST_SUITE_P(
    Window, CommandStates,
    ::testing::Values(
        StateCase{"StoppedUnmodifiedNoRow", {false, false, false, P::Stopped}, Join(kRowCommands, kSave)},
        // The fault the focus rule hid: a selected row in an unfocused list enables nothing.
        StateCase{"RowSelectedListNotFocused", {false, true, false, P::Stopped}, Join(kRowCommands, kSave)},
        StateCase{"FocusedListWithoutRow", {false, false, true, P::Stopped}, Join(kRowCommands, kSave)},
        StateCase{"RowInFocusedList", {false, true, true, P::Stopped}, kSave},
        StateCase{"Modified", {true, true, true, P::Stopped}, {}},
        // Start's menu and tray items go grey; the Start button stays usable, it is only down.
        StateCase{"Started", {true, true, true, P::Started}, {ID_CMD_GO, ID_TRAY_START}},
        StateCase{"Suspended", {true, true, true, P::Suspended}, {ID_CMD_PAUSE, ID_TRAY_PAUSE}},
        StateCase{"StartedUnmodifiedNoFocus",
                  {false, true, false, P::Started},
                  Join(Join(kRowCommands, kSave), {ID_CMD_GO, ID_TRAY_START})}),
    [](const auto& info) { return info.param.name; });

TEST(CommandTable, EveryIdReachesOneRow) {
    std::set<unsigned> seen;
    for (const CommandRow& row : Commands()) {
        EXPECT_NE(row.execute, nullptr) << row.name;
        for (unsigned id : {row.menuId, row.buttonId, row.trayId}) {
            if (!id)
                continue;
            EXPECT_TRUE(seen.insert(id).second) << "id " << id << " in two rows";
            EXPECT_EQ(FindCommand(id), &row) << row.name;
        }
    }
    EXPECT_EQ(FindCommand(0), nullptr);
    EXPECT_EQ(FindCommand(IDC_DIRLIST), nullptr);
}

TEST(CommandTable, OneActionSharesItsHandlerAndHintAcrossItsIds) {
    for (unsigned id : {ID_CMD_GO, ID_TOOLBUTTON9, ID_TRAY_START})
        EXPECT_EQ(FindCommand(id)->execute, &CommandTarget::cmdGoExecute);
    EXPECT_EQ(HintOf(ID_TRAY_START), HintOf(ID_CMD_GO));
    // The Suspend button has a hint of its own; the tray's Suspend is another command with its own.
    EXPECT_NE(HintOf(ID_TOOLBUTTON11), HintOf(ID_CMD_PAUSE));
    EXPECT_EQ(FindCommand(ID_TOOLBUTTON11)->execute, &CommandTarget::cmdPauseExecute);
    EXPECT_EQ(FindCommand(ID_TRAY_PAUSE)->execute, &CommandTarget::Pause1Click);
    EXPECT_EQ(HintOf(IDC_DIRLIST), "");
}

TEST(CommandTable, HintsSplitAtTheBar) {
    EXPECT_EQ(ShortHint("Add Folder|Add a folder to the list"), "Add Folder");
    EXPECT_EQ(LongHint("Add Folder|Add a folder to the list"), "Add a folder to the list");
    EXPECT_EQ(ShortHint("Save modifications"), "Save modifications");
    EXPECT_EQ(LongHint("Save modifications"), "Save modifications");
}

} // namespace
} // namespace mrf::ui
