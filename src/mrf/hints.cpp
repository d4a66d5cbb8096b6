#include "mrf/hints.h"

#include "core/text/translate.h"
#include "mrf/resource.h"

namespace mrf::ui {

std::string HintOf(unsigned id) {
    const char* hint = nullptr;
    switch (id) {
    case ID_CMD_SAVE:
    case ID_BTN_SAVE:
        hint = "Save modifications";
        break;
    case ID_CMD_ADDFOLDER:
    case ID_BTN_ADD:
        hint = "Add Folder|Add a folder to the list";
        break;
    case ID_CMD_REMOVEF:
    case ID_BTN_DELETE:
        hint = "Delete Folder|Remove a folder from the list";
        break;
    case ID_CMD_EDITFOLDER:
        hint = "Edit selected folder";
        break;
    case ID_CMD_PASSWORD:
    case ID_BTN_PASSWORD:
        hint =
            "Enter the Administrator's password|Enter the Administrator's password to prevent unwanted users "
            "modify settings and un-install the program";
        break;
    case ID_CMD_GO:
    case ID_TOOLBUTTON9:
    case ID_TRAY_START:
        hint = "Start files protection|Start files protection for all users";
        break;
    case ID_CMD_PAUSE:
        hint = "Stop protection temporarily|Stop files protection temporarily for the logged user";
        break;
    case ID_TOOLBUTTON11:
        hint =
            "Suspend the protection temporarily|Suspend the files protection temporarily for the logged user";
        break;
    case ID_TRAY_PAUSE:
        hint = "Suspend protection temporarily|Suspend files protection temporarily for the logged user";
        break;
    case ID_CMD_STOP:
    case ID_TRAY_STOP:
        hint = "Stop files protection|Stop files protection for any users ";
        break;
    case ID_CMD_EXIT:
    case ID_TRAY_EXIT:
        hint = "Exit from the program";
        break;
    case ID_CMD_MINIMIZE:
        hint = "Minimize the program|Minimize the program to the Tray Bar";
        break;
    case ID_CMD_PROOPT:
        hint = "Program settings|Set common program settings";
        break;
    case ID_CMD_HELPFILE:
        hint = "Get more info about the program";
        break;
    default:
        return std::string();
    }
    return Tr(hint);
}

std::string ShortHint(const std::string& hint) {
    return hint.substr(0, hint.find('|'));
}

std::string LongHint(const std::string& hint) {
    size_t bar = hint.find('|');
    return bar == std::string::npos ? hint : hint.substr(bar + 1);
}

} // namespace mrf::ui
