#pragma once
// The main window's commands: one row per action with its ids (main menu, tool bar, tray menu), the
// names the window fixes for them, its hint, its handler and the rule that enables it. The command
// dispatcher, the idle-time update and the hints are loops over this table.
//
// No <windows.h> here: the enable rules are tested natively.
#include <optional>
#include <span>
#include <string_view>

#include "core/gui/main_state.h"

namespace mrf::ui {

// What the enable rules look at; taken whenever the application is idle.
struct WindowFacts {
    bool settingsModified = false;
    bool rowSelected = false; // a row of the folder list is selected
    bool listFocused = false; // the folder list has the keyboard focus
    ProtectionState protection = ProtectionState::Stopped;
};

enum class EnabledWhen {
    Always,
    Modified,         // the settings-modified flag is set
    RowInFocusedList, // a row is selected and the list has the focus
    NotStarted,       // the Start button is not down
    NotSuspended,     // the Suspend button is not down
};
bool IsEnabled(EnabledWhen rule, const WindowFacts& facts);

// The handlers, named as the window fixes them; the main window implements them.
class CommandTarget {
public:
    virtual ~CommandTarget() = default;
    virtual void cmdSaveExecute() = 0;
    virtual void cmdMinimizeExecute() = 0;
    virtual void cmdExitExecute() = 0;
    virtual void cmdPasswordExecute() = 0;
    virtual void cmdAddFolderExecute() = 0;
    virtual void cmdRemoveFExecute() = 0;
    virtual void DirListDblClick() = 0; // cmdEditFolder
    virtual void cmdGoExecute() = 0;
    virtual void cmdPauseExecute() = 0;
    virtual void cmdStopExecute() = 0;
    virtual void cmdProOptExecute() = 0;
    virtual void cmdHelpFileExecute() = 0;
    virtual void cmdWebPageExecute() = 0;
    virtual void cmdSupportExecute() = 0;
    virtual void Changeskin1Click() = 0;
    virtual void About1Click() = 0;
    virtual void Settings1Click() = 0;
    virtual void Pause1Click() = 0;
    virtual void Stop1Click() = 0;
    virtual void Exit2Click() = 0;
};

struct CommandRow {
    std::string_view name{}; // the action, or the menu item that has no action
    unsigned menuId = 0;     // main menu and the folder list's pop-up menu
    std::string_view menuName{};
    unsigned buttonId = 0;
    std::string_view buttonName{};
    unsigned trayId = 0;
    std::string_view trayName{};
    std::string_view hint{};       // untranslated; short part, "|", long part
    std::string_view buttonHint{}; // the button's own hint where it differs
    EnabledWhen enabledWhen = EnabledWhen::Always;
    // One of the two protection buttons: always enabled, down while protection is in this state.
    std::optional<ProtectionState> buttonDownWhen{};
    void (CommandTarget::*execute)() = nullptr;
};

std::span<const CommandRow> Commands();
// The row one of whose ids is id; null when none is.
const CommandRow* FindCommand(unsigned id);
// Whether the item or button id of row is enabled.
bool IsEnabled(const CommandRow& row, unsigned id, const WindowFacts& facts);
// The hint shown for id (a button's own where it has one), untranslated; empty for none.
std::string_view HintOf(unsigned id);
std::string_view ShortHint(std::string_view hint);
std::string_view LongHint(std::string_view hint);

} // namespace mrf::ui
