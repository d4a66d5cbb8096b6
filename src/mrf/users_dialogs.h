#pragma once
// The user-groups page's dialogs, as functions over plain structs: TfrmUserGroups picks a group,
// TfrmTextEditDlg asks for a name and a description.
#include <windows.h>

#include "core/gui/users_page.h"

namespace mrf::ui {

// PickGroupDialog: the index of the chosen item, or -1 when cancelled or nothing was chosen.
int PickGroupDialog(HWND owner, const PickGroupRequest& request);

// TextEntryDialog: both fields after OK, two empty texts after Cancel.
TextEntryResult TextEntryDialog(HWND owner, const TextEntryRequest& request);

} // namespace mrf::ui
