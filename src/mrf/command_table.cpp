#include "mrf/command_table.h"

#include "mrf/resource.h"

namespace mrf::ui {
namespace {

using T = CommandTarget;

const CommandRow kCommands[] = {
    {.name = "cmdSave",
     .menuId = ID_CMD_SAVE,
     .buttonId = ID_BTN_SAVE,
     .buttonName = "btnSave",
     .hint = "Save modifications",
     .enabledWhen = EnabledWhen::Modified,
     .execute = &T::cmdSaveExecute},
    {.name = "cmdMinimize",
     .menuId = ID_CMD_MINIMIZE,
     .hint = "Minimize the program|Minimize the program to the Tray Bar",
     .execute = &T::cmdMinimizeExecute},
    {.name = "cmdExit",
     .menuId = ID_CMD_EXIT,
     .hint = "Exit from the program",
     .execute = &T::cmdExitExecute},
    {.name = "cmdPassword",
     .menuId = ID_CMD_PASSWORD,
     .buttonId = ID_BTN_PASSWORD,
     .buttonName = "btnPassword",
     .hint =
         "Enter the Administrator's password|Enter the Administrator's password to prevent unwanted users "
         "modify settings and un-install the program",
     .execute = &T::cmdPasswordExecute},
    {.name = "cmdAddFolder",
     .menuId = ID_CMD_ADDFOLDER,
     .buttonId = ID_BTN_ADD,
     .buttonName = "btnAdd",
     .hint = "Add Folder|Add a folder to the list",
     .execute = &T::cmdAddFolderExecute},
    {.name = "cmdRemoveF",
     .menuId = ID_CMD_REMOVEF,
     .buttonId = ID_BTN_DELETE,
     .buttonName = "btnDelete",
     .hint = "Delete Folder|Remove a folder from the list",
     .enabledWhen = EnabledWhen::RowInFocusedList,
     .execute = &T::cmdRemoveFExecute},
    {.name = "cmdEditFolder",
     .menuId = ID_CMD_EDITFOLDER,
     .hint = "Edit selected folder",
     .enabledWhen = EnabledWhen::RowInFocusedList,
     .execute = &T::DirListDblClick},
    {.name = "cmdGo",
     .menuId = ID_CMD_GO,
     .menuName = "Start2",
     .buttonId = ID_TOOLBUTTON9,
     .buttonName = "ToolButton9",
     .trayId = ID_TRAY_START,
     .trayName = "Start1",
     .hint = "Start files protection|Start files protection for all users",
     .enabledWhen = EnabledWhen::NotStarted,
     .buttonDownWhen = ProtectionState::Started,
     .execute = &T::cmdGoExecute},
    {.name = "cmdPause",
     .menuId = ID_CMD_PAUSE,
     .menuName = "Pause2",
     .buttonId = ID_TOOLBUTTON11,
     .buttonName = "ToolButton11",
     .hint = "Stop protection temporarily|Stop files protection temporarily for the logged user",
     .buttonHint =
         "Suspend the protection temporarily|Suspend the files protection temporarily for the logged user",
     .enabledWhen = EnabledWhen::NotSuspended,
     .buttonDownWhen = ProtectionState::Suspended,
     .execute = &T::cmdPauseExecute},
    // Not visible: no item shows it.
    {.name = "cmdStop",
     .menuId = ID_CMD_STOP,
     .menuName = "Stop2",
     .hint = "Stop files protection|Stop files protection for any users ",
     .execute = &T::cmdStopExecute},
    {.name = "cmdProOpt",
     .menuId = ID_CMD_PROOPT,
     .hint = "Program settings|Set common program settings",
     .execute = &T::cmdProOptExecute},
    // Hidden from the menus; F1 reaches it.
    {.name = "cmdHelpFile",
     .menuId = ID_CMD_HELPFILE,
     .hint = "Get more info about the program",
     .execute = &T::cmdHelpFileExecute},
    {.name = "cmdWebPage",
     .menuId = ID_CMD_WEBPAGE,
     .menuName = "WebPage1",
     .hint = "Marrowfold Web Page",
     .execute = &T::cmdWebPageExecute},
    {.name = "cmdSupport",
     .menuId = ID_CMD_MAIL,
     .menuName = "Supportemail1",
     .hint = "Mail to the support team",
     .execute = &T::cmdSupportExecute},
    {.name = "Changeskin1",
     .menuId = ID_CMD_SKIN,
     .menuName = "Changeskin1",
     .execute = &T::Changeskin1Click},
    {.name = "About1", .menuId = ID_CMD_ABOUT, .menuName = "About1", .execute = &T::About1Click},
    {.name = "Settings1", .trayId = ID_TRAY_SETTINGS, .trayName = "Settings1", .execute = &T::Settings1Click},
    {.name = "Pause1",
     .trayId = ID_TRAY_PAUSE,
     .trayName = "Pause1",
     .hint = "Suspend protection temporarily|Suspend files protection temporarily for the logged user",
     .enabledWhen = EnabledWhen::NotSuspended,
     .execute = &T::Pause1Click},
    {.name = "Stop1",
     .trayId = ID_TRAY_STOP,
     .trayName = "Stop1",
     .hint = "Stop files protection|Stop files protection for any users ",
     .execute = &T::Stop1Click},
    {.name = "Exit2",
     .trayId = ID_TRAY_EXIT,
     .trayName = "Exit2",
     .hint = "Exit from the program",
     .execute = &T::Exit2Click},
};

} // namespace

bool IsEnabled(EnabledWhen rule, const WindowFacts& facts) {
    switch (rule) {
    case EnabledWhen::Always:
        return true;
    case EnabledWhen::Modified:
        return facts.settingsModified;
    case EnabledWhen::RowInFocusedList:
        return facts.rowSelected && facts.listFocused;
    case EnabledWhen::NotStarted:
        return facts.protection != ProtectionState::Started;
    case EnabledWhen::NotSuspended:
        return facts.protection != ProtectionState::Suspended;
    }
    return false;
}

std::span<const CommandRow> Commands() {
    return kCommands;
}

const CommandRow* FindCommand(unsigned id) {
    if (id == 0)
        return nullptr;
    for (const CommandRow& row : kCommands)
        if (row.menuId == id || row.buttonId == id || row.trayId == id)
            return &row;
    return nullptr;
}

bool IsEnabled(const CommandRow& row, unsigned id, const WindowFacts& facts) {
    // A click on the protection button that is down does not raise it: both stay enabled.
    if (id == row.buttonId && row.buttonDownWhen)
        return true;
    return IsEnabled(row.enabledWhen, facts);
}

std::string_view HintOf(unsigned id) {
    const CommandRow* row = FindCommand(id);
    if (!row)
        return {};
    return id == row->buttonId && !row->buttonHint.empty() ? row->buttonHint : row->hint;
}

std::string_view ShortHint(std::string_view hint) {
    return hint.substr(0, hint.find('|'));
}

std::string_view LongHint(std::string_view hint) {
    const size_t bar = hint.find('|');
    return bar == std::string_view::npos ? hint : hint.substr(bar + 1);
}

} // namespace mrf::ui
