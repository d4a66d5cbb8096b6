#pragma once
// The "User groups" page pgUserGroups: UserList with each user's group, UserLabel, UserGroupsBox,
// AddGroupButton and DelGroupButton; and the tool bar's user selector cbSelUser, which the frame
// creates and hands over.
#include <windows.h>

#include <functional>

#include "core/gui/users_page.h"
#include "mrf/page.h"

namespace mrf::ui {

class UserGroupsPage final : public Page {
public:
    // names: the user names as CollectUserNames gives them now; refillFolders: FillFolderList with
    // the displayed rule key.
    UserGroupsPage(PageHost& host, TEncriptor& store, MainState& state, std::function<UserNames()> names,
                   std::function<void()> refillFolders);

    // RefreshUsersPage: the page and the selector from the store.
    void Fill() override;
    HWND FirstControl() const override { return list_; }

    // The selector and its label on the tool bar.
    void AttachSelector(HWND selector);
    // A notice of the selector (WM_COMMAND code).
    void SelectorCommand(unsigned code);

private:
    void Init() override;
    bool Command(unsigned id, unsigned code) override;
    bool Notify(NMHDR* header) override;
    void Resize(int width, int height) override;

    void Show(const UsersPageFill& fill);
    void ShowPage();
    void ShowSelector(const UserSelectorView& selector);
    void ShowGroupChoice();
    void AddGroupButtonClick();
    void DelGroupButtonClick();

    std::function<UserNames()> names_;
    std::function<void()> refillFolders_;
    UsersPageView view_; // what the controls show
    HWND list_ = nullptr, box_ = nullptr, label_ = nullptr, selector_ = nullptr, tips_ = nullptr;
};

} // namespace mrf::ui
