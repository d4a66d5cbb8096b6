#pragma once
// The folder list page ("User settings "): the list DirList of the displayed rule key's folder
// entries, its pop-up menu PopupMenu2, and the entry commands Add, Edit, Delete and the check boxes.
#include <windows.h>

#include <commctrl.h>

#include "core/gui/folder_list.h"
#include "mrf/page.h"

namespace mrf::ui {

class FoldersPage final : public Page {
public:
    FoldersPage(PageHost& host, TEncriptor& store, MainState& state);

    // FillFolderList with the displayed rule key.
    void Fill() override;
    HWND FirstControl() const override { return dirList_; }
    HWND List() const { return dirList_; }
    bool RowSelected() const { return SelectedRow() >= 0; }

    void cmdAddFolderExecute();
    void DirListDblClick(); // also Edit Folder and Enter
    void cmdRemoveFExecute();

private:
    void Init() override;
    bool Command(unsigned, unsigned) override { return false; }
    bool Notify(NMHDR* header) override;
    bool ContextMenu(HWND control, LPARAM where) override;
    void Resize(int width, int height) override;

    void FillFolderItem(int row, int n, bool newRow);
    void ShowFolderRow(int row, const FolderRow& shown, bool newRow);
    int SelectedRow() const;
    void Select(int row);
    void DirListChange(const NMLISTVIEW& change);
    // At the cursor for a click, at the selected row for the keyboard.
    void PopupMenu2(bool atCursor);

    HWND dirList_ = nullptr;
    bool listFilling_ = false; // rows are being filled from the store: check-box changes are not the user's
};

} // namespace mrf::ui
