#pragma once
// The folder list of one rule key: its rows as the store gives them, the entry operations behind
// Add, Edit, Delete and the check boxes, and the Save and close decisions of the window.
//
// Entries are dense: after every operation here they are numbered 0 .. "<key>_FL_Count" - 1, and
// entry n is row n of the list.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/gui/folder_dialog.h"
#include "core/gui/main_state.h"
#include "core/store/encriptor.h"

namespace mrf {

// The six columns of one row and its check box.
struct FolderRow {
    std::string caption; // _folder
    std::string mode;    // "RO", "H", or empty for any other value
    std::string mask, proc, exlfiles, exlproc;
    bool checked = true;
    bool operator==(const FolderRow&) const = default;
};

// Reading never throws: a value that is not a number counts as the column's "other value", and
// the first such value met is named in problem (key and value).
FolderRow ReadFolderRow(const TEncriptor& store, std::string_view ruleKey, int n,
                        std::optional<UserMessage>& problem);

struct FolderListView {
    std::vector<FolderRow> rows;
    std::optional<UserMessage> problem;
};

// All rows of the rule key. When "<key>_FL_Count" is not a number the list holds the entries
// 0, 1, ... that have any key, up to the first missing one, so that an Add appends after them.
FolderListView ReadFolderList(const TEncriptor& store, std::string_view ruleKey);

// The folder dialog filled from entry n for Edit; caption: the row's caption, the path's fallback.
FolderDialogState EditDialogFor(const TEncriptor& store, std::string_view ruleKey, int n,
                                std::string_view caption);

// The folder dialog for Add: its initial state, with the selected row's caption as path when the
// list has the focus and a row is selected.
FolderDialogState AddDialogFor(std::optional<std::string_view> selectedCaption);

// Add after OK: writes entry rows (the old number of rows), then the count rows + 1.
// Returns the new entry's number.
int AddFolder(TEncriptor& store, MainState& state, int rows, const FolderDialogState& dialog);

// Edit after OK: rewrites entry n's texts; "_enabled" and the count stay.
void EditFolder(TEncriptor& store, MainState& state, int n, const FolderDialogState& dialog);

struct RemoveResult {
    bool removed = false;
    int selectAfter = -1; // the row selected once row n is gone, -1 for none
};
// Delete Folder: entry selected (-1 when no row is selected) of rows entries; the later entries
// move down by one with all their keys.
RemoveResult RemoveFolder(TEncriptor& store, MainState& state, int selected, int rows);

// A change the list reports on row n. Writes "_enabled" only when the box differs from it; ignored
// while no row is selected or while the list is being filled. Returns whether it wrote.
bool DirListChange(TEncriptor& store, MainState& state, int n, bool checked, bool rowSelected,
                   bool listFilling);

// What Save needs of the window.
struct SaveActions {
    std::function<void(uint16_t code)> applyHotKey;
    std::function<void()> start; // Start again, which hands the rules to the engine
    std::function<void(const UserMessage&)> showMessage;
};

// Save: re-registers the hot key, starts again when protection is started, and writes the whole
// file. The settings-modified flag is cleared only once the file is written; on a failure the
// message says so and every change stays in memory. Returns whether the file was written.
bool SaveSettings(TEncriptor& store, MainState& state, const SaveActions& actions);

enum class SaveAnswer { Yes, No, Cancel };

struct CloseActions {
    std::function<SaveAnswer()> askToSave; // "Do you want to save modifications ?"
    std::function<bool()> save;            // Save; false when the file could not be written
    std::function<void()> hideToTray;
};

// The window is asked to close. Returns whether the close goes ahead (only from the tray, after a
// successful save); otherwise the window goes to the tray, or stays on screen after Cancel or a
// failed save.
bool FormCloseQuery(const MainState& state, const CloseActions& actions);

} // namespace mrf
