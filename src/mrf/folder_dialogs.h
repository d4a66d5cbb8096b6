#pragma once
// The folder dialog ("Add Folder") and the advanced folder options dialog, as functions over plain
// structs: they copy between the struct and the controls; the caller decides what to store.
#include <windows.h>

#include <functional>

#include "core/gui/folder_dialog.h"

namespace mrf::ui {

struct FolderDialogData {
    FolderDialogState state;    // in: how the dialog starts; out: what it holds after OK
    std::function<void()> help; // the main window's Help command, for the advanced dialog
};

// true on OK, which the dialog accepts only with a path that is not blank.
bool RunFolderDialog(HWND owner, FolderDialogData& data);

struct AdvancedDialogData {
    AdvancedFields fields;
    std::function<void()> help;
};

// true on OK (also Enter); on Cancel fields are left as they came in.
bool RunAdvancedDialog(HWND owner, AdvancedDialogData& data);

} // namespace mrf::ui
