#include "mrf/folders_page.h"

#include <commctrl.h>

#include <algorithm>

#include "core/text/translate.h"
#include "mrf/folder_dialogs.h"
#include "mrf/resource.h"
#include "mrf/ui_text.h"
#include "win32/handles.h"

namespace mrf::ui {
namespace {

// Marks a filling of rows, also when a filling runs inside another.
class ListFilling {
public:
    explicit ListFilling(bool& flag) : flag_(flag), before_(flag) { flag_ = true; }
    ListFilling(const ListFilling&) = delete;
    ListFilling& operator=(const ListFilling&) = delete;
    ~ListFilling() { flag_ = before_; }

private:
    bool& flag_;
    bool before_;
};

struct Column {
    const char* caption;
    int width;
    int minWidth; // the smallest width the user may drag it to
};
const Column kColumns[] = {{"Folder name", 300, 100},  {"Mode", 40, 40},
                           {"File mask", 100, 50},     {"Processes", 100, 50},
                           {"Exclude files", 200, 50}, {"Exclude processes", 100, 50}};
constexpr int kColumnCount = static_cast<int>(std::size(kColumns));

constexpr UINT kSelectedFocused = LVIS_SELECTED | LVIS_FOCUSED;

std::string RowCaption(HWND list, int row) {
    char text[1024] = "";
    ListView_GetItemText(list, row, 0, text, sizeof text);
    return text;
}

} // namespace

FoldersPage::FoldersPage(PageHost& host, TEncriptor& store, MainState& state)
    : Page(host, store, state, IDD_PAGE_FOLDERS, "User settings ") {}

void FoldersPage::Init() {
    dirList_ = ::GetDlgItem(page_, IDC_DIRLIST);
    ListView_SetExtendedListViewStyle(dirList_, LVS_EX_CHECKBOXES | LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
    for (int i = 0; i < kColumnCount; ++i) {
        std::string caption = Tr(kColumns[i].caption);
        LVCOLUMNA col{};
        col.mask = LVCF_TEXT | LVCF_WIDTH;
        col.pszText = caption.data();
        col.cx = kColumns[i].width;
        ListView_InsertColumn(dirList_, i, &col);
    }
}

void FoldersPage::Resize(int width, int height) {
    ::MoveWindow(dirList_, 0, 0, width, height, TRUE);
    // The last column takes the rest of the list's width.
    int used = 0;
    for (int i = 0; i < kColumnCount - 1; ++i)
        used += ListView_GetColumnWidth(dirList_, i);
    ListView_SetColumnWidth(dirList_, kColumnCount - 1,
                            std::max(kColumns[kColumnCount - 1].minWidth, width - used - 4));
}

void FoldersPage::Fill() {
    // Read first: a malformed value is told once the rows that could be read are shown.
    FolderListView view = ReadFolderList(store_, state_.displayedRuleKey);
    {
        ListFilling filling(listFilling_);
        ::SendMessageA(dirList_, WM_SETREDRAW, FALSE, 0);
        ListView_DeleteAllItems(dirList_);
        for (int n = 0; n < static_cast<int>(view.rows.size()); ++n) {
            LVITEMA item{};
            item.mask = LVIF_TEXT;
            item.iItem = n;
            item.pszText = const_cast<char*>("");
            ShowFolderRow(ListView_InsertItem(dirList_, &item), view.rows[static_cast<size_t>(n)], true);
        }
        if (!view.rows.empty())
            ListView_SetItemState(dirList_, 0, kSelectedFocused, kSelectedFocused);
        ::SendMessageA(dirList_, WM_SETREDRAW, TRUE, 0);
        ::InvalidateRect(dirList_, nullptr, TRUE);
    }
    if (view.problem)
        host_.Notify(*view.problem);
}

void FoldersPage::FillFolderItem(int row, int n, bool newRow) {
    std::optional<UserMessage> problem;
    FolderRow shown = ReadFolderRow(store_, state_.displayedRuleKey, n, problem);
    {
        ListFilling filling(listFilling_);
        ShowFolderRow(row, shown, newRow);
        ListView_RedrawItems(dirList_, row, row);
    }
    if (problem)
        host_.Notify(*problem);
}

void FoldersPage::ShowFolderRow(int row, const FolderRow& shown, bool newRow) {
    ListView_SetItemText(dirList_, row, 0, const_cast<char*>(shown.caption.c_str()));
    // A mode that is neither read-only nor hide leaves an existing row's text as it was.
    if (newRow || !shown.mode.empty())
        ListView_SetItemText(dirList_, row, 1, const_cast<char*>(shown.mode.c_str()));
    const std::string* texts[] = {&shown.mask, &shown.proc, &shown.exlfiles, &shown.exlproc};
    for (int c = 0; c < 4; ++c)
        ListView_SetItemText(dirList_, row, c + 2, const_cast<char*>(texts[c]->c_str()));
    ListView_SetCheckState(dirList_, row, shown.checked);
}

int FoldersPage::SelectedRow() const {
    return dirList_ ? ListView_GetNextItem(dirList_, -1, LVNI_SELECTED) : -1;
}

void FoldersPage::Select(int row) {
    ListView_SetItemState(dirList_, row, kSelectedFocused, kSelectedFocused);
    ListView_EnsureVisible(dirList_, row, FALSE);
}

bool FoldersPage::Notify(NMHDR* header) {
    if (header->hwndFrom == ListView_GetHeader(dirList_)) {
        switch (header->code) {
        case HDN_ENDTRACKA:
        case HDN_ENDTRACKW:
        case HDN_ITEMCHANGEDA:
        case HDN_ITEMCHANGEDW: {
            const int column = reinterpret_cast<NMHEADERA*>(header)->iItem;
            if (column >= 0 && column < kColumnCount &&
                ListView_GetColumnWidth(dirList_, column) < kColumns[column].minWidth)
                ListView_SetColumnWidth(dirList_, column, kColumns[column].minWidth);
            return true;
        }
        }
        return false;
    }
    if (header->hwndFrom != dirList_)
        return false;
    switch (header->code) {
    case LVN_ITEMCHANGED:
        DirListChange(*reinterpret_cast<NMLISTVIEW*>(header));
        return true;
    case NM_DBLCLK:
        DirListDblClick();
        return true;
    case NM_RETURN:
        // Enter alone; the list has the focus, or it would not have seen the key.
        if (::GetKeyState(VK_SHIFT) >= 0 && ::GetKeyState(VK_CONTROL) >= 0 && ::GetKeyState(VK_MENU) >= 0)
            DirListDblClick();
        return true;
    case NM_RCLICK:
        PopupMenu2(true);
        return true;
    }
    return false;
}

bool FoldersPage::ContextMenu(HWND control, LPARAM where) {
    // The menu key or Shift+F10 on the list; a right click came as NM_RCLICK.
    if (control != dirList_ || where != -1)
        return false;
    PopupMenu2(false);
    return true;
}

void FoldersPage::cmdAddFolderExecute() {
    const int selected = SelectedRow();
    std::optional<std::string> caption;
    if (selected >= 0 && ::GetFocus() == dirList_)
        caption = RowCaption(dirList_, selected);
    FolderDialogData data{AddDialogFor(caption ? std::optional<std::string_view>(*caption) : std::nullopt),
                          [this] { host_.RunCommand(ID_CMD_HELPFILE); }};
    if (!RunFolderDialog(host_.Frame(), data))
        return;
    const int rows = ListView_GetItemCount(dirList_);
    int row;
    {
        ListFilling filling(listFilling_);
        LVITEMA item{};
        item.mask = LVIF_TEXT;
        item.iItem = rows;
        item.pszText = const_cast<char*>("");
        row = ListView_InsertItem(dirList_, &item);
        Select(row);
    }
    const int n = AddFolder(store_, state_, rows, data.state);
    FillFolderItem(row, n, true);
}

void FoldersPage::DirListDblClick() {
    const int n = SelectedRow();
    if (n < 0)
        return;
    const std::string caption = RowCaption(dirList_, n);
    FolderDialogData data{EditDialogFor(store_, state_.displayedRuleKey, n, caption),
                          [this] { host_.RunCommand(ID_CMD_HELPFILE); }};
    if (!RunFolderDialog(host_.Frame(), data))
        return;
    EditFolder(store_, state_, n, data.state);
    FillFolderItem(n, n, false);
}

void FoldersPage::cmdRemoveFExecute() {
    const int n = SelectedRow();
    RemoveResult result = RemoveFolder(store_, state_, n, ListView_GetItemCount(dirList_));
    if (!result.removed)
        return;
    // The rows now stand for other entries than the store's: their changes must not be recorded.
    ListFilling filling(listFilling_);
    ListView_DeleteItem(dirList_, n);
    if (result.selectAfter >= 0)
        ListView_SetItemState(dirList_, result.selectAfter, kSelectedFocused, kSelectedFocused);
}

void FoldersPage::DirListChange(const NMLISTVIEW& change) {
    if (change.iItem < 0 || !(change.uChanged & LVIF_STATE))
        return;
    // A box the user ticks or clears on a row that is not selected selects that row, so that the
    // change is recorded for the row the user sees it on.
    const bool boxChanged = ((change.uNewState ^ change.uOldState) & LVIS_STATEIMAGEMASK) != 0;
    if (boxChanged && !listFilling_ &&
        !(ListView_GetItemState(dirList_, change.iItem, LVIS_SELECTED) & LVIS_SELECTED)) {
        ListFilling filling(listFilling_);
        Select(change.iItem);
    }
    mrf::DirListChange(store_, state_, change.iItem, ListView_GetCheckState(dirList_, change.iItem) != 0,
                       SelectedRow() >= 0, listFilling_);
}

void FoldersPage::PopupMenu2(bool atCursor) {
    win32::unique_hmenu menu(::LoadMenuA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_FOLDERMENU)));
    if (!menu)
        return;
    TranslateMenu(menu.get());
    HMENU popup = ::GetSubMenu(menu.get(), 0);
    // As the idle update sets them for the main menu.
    const bool rowSelected = SelectedRow() >= 0 && ::GetFocus() == dirList_;
    for (unsigned id : {ID_CMD_REMOVEF, ID_CMD_EDITFOLDER})
        ::EnableMenuItem(popup, id, MF_BYCOMMAND | (rowSelected ? MF_ENABLED : MF_GRAYED));
    POINT pt{};
    const int row = SelectedRow();
    RECT r;
    if (!atCursor && row >= 0 && ListView_GetItemRect(dirList_, row, &r, LVIR_LABEL)) {
        pt = {r.left, r.bottom};
        ::ClientToScreen(dirList_, &pt);
    } else if (!atCursor) {
        pt = {0, 0};
        ::ClientToScreen(dirList_, &pt);
    } else {
        ::GetCursorPos(&pt);
    }
    ::TrackPopupMenu(popup, TPM_RIGHTBUTTON, pt.x, pt.y, 0, host_.Frame(), nullptr);
}

} // namespace mrf::ui
