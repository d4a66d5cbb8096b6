#include "mrf/user_groups_page.h"

#include <commctrl.h>

#include "core/text/translate.h"
#include "mrf/resource.h"
#include "mrf/ui_text.h"
#include "mrf/users_dialogs.h"

namespace mrf::ui {
namespace {

constexpr int kColumnWidth = 130;
constexpr int kSelectorLines = 24;

// The controls right of the list keep their distance from the page's right edge.
constexpr int kRightColumn[] = {IDC_USERLABEL, IDC_USERGROUPSBOX, IDC_ADDGROUP, IDC_DELGROUP};

void AddTip(HWND tips, HWND control, const char* hint) {
    if (!tips || !control)
        return;
    std::string text = Tr(hint);
    TOOLINFOA tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = ::GetParent(control);
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = text.data();
    ::SendMessageA(tips, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
}

void SetItems(HWND combo, const std::vector<std::string>& items, int selected) {
    ::SendMessageA(combo, CB_RESETCONTENT, 0, 0);
    for (const std::string& item : items)
        ::SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
    ::SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(selected), 0);
}

} // namespace

UserGroupsPage::UserGroupsPage(PageHost& host, TEncriptor& store, MainState& state,
                               std::function<UserNames()> names, std::function<void()> refillFolders)
    : Page(host, store, state, IDD_PAGE_GROUPS, "User groups"), names_(std::move(names)),
      refillFolders_(std::move(refillFolders)) {}

void UserGroupsPage::Init() {
    list_ = ::GetDlgItem(page_, IDC_USERLIST);
    box_ = ::GetDlgItem(page_, IDC_USERGROUPSBOX);
    label_ = ::GetDlgItem(page_, IDC_USERLABEL);
    ::SendMessageA(list_, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    const char* columns[] = {"User", "Group"};
    for (int i = 0; i < 2; ++i) {
        std::string text = Tr(columns[i]);
        LVCOLUMNA column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.cx = kColumnWidth;
        column.pszText = text.data();
        ::SendMessageA(list_, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&column));
    }
    tips_ =
        ::CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                          CW_USEDEFAULT, CW_USEDEFAULT, page_, nullptr, ::GetModuleHandleA(nullptr), nullptr);
    AddTip(tips_, box_, "Include the selected user to a group");
    AddTip(tips_, ::GetDlgItem(page_, IDC_ADDGROUP), "Add new group to the group list");
    AddTip(tips_, ::GetDlgItem(page_, IDC_DELGROUP), "Delete the group from the group list");
    AddTip(tips_, selector_, "Select a user");
}

void UserGroupsPage::AttachSelector(HWND selector) {
    selector_ = selector;
    // 24 lines when dropped down: the list's height where the system takes it from the window.
    ::SendMessageA(selector, CB_SETMINVISIBLE, kSelectorLines, 0);
    RECT r;
    ::GetWindowRect(selector, &r);
    const auto item = static_cast<int>(::SendMessageA(selector, CB_GETITEMHEIGHT, 0, 0));
    const auto field =
        static_cast<int>(::SendMessageA(selector, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0));
    ::SetWindowPos(selector, nullptr, 0, 0, r.right - r.left, field + 8 + item * kSelectorLines,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    AddTip(tips_, selector_, "Select a user");
}

void UserGroupsPage::Fill() {
    Show(RefreshUsersPage(store_, state_, names_()));
}

void UserGroupsPage::Show(const UsersPageFill& fill) {
    view_ = fill.page;
    state_.pageFilling = true;
    ShowPage();
    ShowSelector(fill.selector);
    state_.pageFilling = false;
    if (fill.problem)
        host_.Notify(*fill.problem);
}

void UserGroupsPage::ShowPage() {
    SetItems(box_, view_.groupItems, -1);
    ::SendMessageA(list_, LVM_DELETEALLITEMS, 0, 0);
    for (int i = 0; i < static_cast<int>(view_.rows.size()); ++i) {
        LVITEMA item{};
        item.mask = LVIF_TEXT;
        item.iItem = i;
        item.pszText = const_cast<char*>(view_.rows[i].name.c_str());
        ::SendMessageA(list_, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
        item.iSubItem = 1;
        item.pszText = const_cast<char*>(view_.rows[i].group.c_str());
        ::SendMessageA(list_, LVM_SETITEMTEXTA, i, reinterpret_cast<LPARAM>(&item));
    }
    if (view_.selectedRow >= 0) {
        LVITEMA state{};
        state.stateMask = state.state = LVIS_SELECTED | LVIS_FOCUSED;
        ::SendMessageA(list_, LVM_SETITEMSTATE, view_.selectedRow, reinterpret_cast<LPARAM>(&state));
        ::SendMessageA(list_, LVM_ENSUREVISIBLE, view_.selectedRow, FALSE);
    }
    ShowGroupChoice();
}

void UserGroupsPage::ShowGroupChoice() {
    ::SendMessageA(box_, CB_SETCURSEL, static_cast<WPARAM>(view_.selectedGroupItem), 0);
    if (!view_.userLabel.empty())
        SetText(label_, view_.userLabel);
}

void UserGroupsPage::ShowSelector(const UserSelectorView& selector) {
    if (selector_)
        SetItems(selector_, selector.items, selector.selected);
}

void UserGroupsPage::SelectorCommand(unsigned code) {
    if (code != CBN_SELCHANGE)
        return;
    const auto index = static_cast<int>(::SendMessageA(selector_, CB_GETCURSEL, 0, 0));
    if (index < 0)
        return;
    std::string text(static_cast<size_t>(::SendMessageA(selector_, CB_GETLBTEXTLEN, index, 0)) + 1, '\0');
    text.resize(static_cast<size_t>(
        ::SendMessageA(selector_, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text.data()))));
    cbSelUserChange(state_, text);
    refillFolders_();
}

bool UserGroupsPage::Command(unsigned id, unsigned code) {
    switch (id) {
    case IDC_USERGROUPSBOX:
        if (code == CBN_SELCHANGE) {
            const auto item = static_cast<int>(::SendMessageA(box_, CB_GETCURSEL, 0, 0));
            if (auto fill = UserGroupsBoxChange(store_, state_, view_, item, names_())) {
                Show(*fill);
                refillFolders_();
            }
        }
        return true;
    case IDC_ADDGROUP:
        if (code == BN_CLICKED)
            AddGroupButtonClick();
        return true;
    case IDC_DELGROUP:
        if (code == BN_CLICKED)
            DelGroupButtonClick();
        return true;
    }
    return false;
}

bool UserGroupsPage::Notify(NMHDR* header) {
    if (header->hwndFrom != list_ || header->code != LVN_ITEMCHANGED)
        return false;
    const auto* change = reinterpret_cast<NMLISTVIEW*>(header);
    if ((change->uChanged & LVIF_STATE) && (change->uNewState & LVIS_SELECTED) &&
        !(change->uOldState & LVIS_SELECTED) && UserListChange(state_, view_, change->iItem))
        ShowGroupChoice();
    return true;
}

void UserGroupsPage::AddGroupButtonClick() {
    const TextEntryResult entry = TextEntryDialog(host_.Frame(), AddGroupRequest());
    const size_t before = view_.groupItems.size();
    if (auto message = mrf::AddGroupButtonClick(store_, state_, view_, entry))
        host_.Notify(*message);
    if (view_.groupItems.size() > before)
        ::SendMessageA(box_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(view_.groupItems.back().c_str()));
}

void UserGroupsPage::DelGroupButtonClick() {
    std::optional<UserMessage> problem;
    const auto offered = GroupsToDelete(store_, problem);
    if (!offered) {
        host_.Notify(*problem);
        return;
    }
    const int chosen = PickGroupDialog(host_.Frame(), DeleteGroupRequest(*offered));
    if (auto fill = mrf::DelGroupButtonClick(store_, state_, *offered, chosen, names_()))
        Show(*fill);
}

void UserGroupsPage::Resize(int width, int height) {
    // The list takes what the column of controls at its right leaves.
    RECT unit{4, 4, 0, 0};
    ::MapDialogRect(page_, &unit);
    const int margin = unit.left;
    RECT box;
    ::GetWindowRect(box_, &box);
    const int column = box.right - box.left;
    const int columnLeft = width - margin - column;
    for (int id : kRightColumn) {
        HWND control = ::GetDlgItem(page_, id);
        RECT r;
        ::GetWindowRect(control, &r);
        ::MapWindowPoints(nullptr, page_, reinterpret_cast<POINT*>(&r), 2);
        const int offset = id == IDC_DELGROUP ? column - (r.right - r.left) : 0;
        ::SetWindowPos(control, nullptr, columnLeft + offset, r.top, 0, 0,
                       SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    RECT list;
    ::GetWindowRect(list_, &list);
    ::MapWindowPoints(nullptr, page_, reinterpret_cast<POINT*>(&list), 2);
    ::SetWindowPos(list_, nullptr, 0, 0, columnLeft - margin - list.left, height - margin - list.top,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

} // namespace mrf::ui
