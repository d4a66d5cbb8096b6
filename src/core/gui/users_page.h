#pragma once
// The "User groups" page and the tool bar's user selector, without their windows: what the
// controls show after each action, and what each action does to the store and the window state.
//
// The window fills the controls from the views returned here with the page-filling flag set, so
// that the controls' own change notices do nothing meanwhile.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/gui/main_state.h"
#include "core/store/encriptor.h"
#include "core/users/groups.h"

namespace mrf {

// The longest group name: a group's name is a rule key, and the engine takes texts of at most this
// many characters.
inline constexpr size_t kMaxGroupNameLength = 255;

// What stands for "no group" in the group box and in the "Group" column.
std::string NoGroupText();

struct UserRow {
    std::string name;
    std::string group; // the "Group" column: a group's name, or the no-group text
    bool operator==(const UserRow&) const = default;
};

// What the page's controls show.
struct UsersPageView {
    std::vector<UserRow> rows; // UserList
    int selectedRow = -1;
    std::vector<std::string> groupItems; // UserGroupsBox: the no-group text, the guest group, the catalogue
    int selectedGroupItem = -1;
    std::string userLabel; // empty: the label keeps its text
    bool operator==(const UsersPageView&) const = default;
};

// What cbSelUser shows: the groups, then the users who belong to none.
struct UserSelectorView {
    std::vector<std::string> items;
    int selected = -1;
    bool operator==(const UserSelectorView&) const = default;
};

// The page's inputs from outside the store: the names of CollectUserNames and the logged-on user.
struct UserNames {
    std::vector<std::string> names;
    std::string loggedOnUser;
};

// A malformed group count is told once per action, naming the key and value; the page then shows
// the catalogue as empty.
struct UsersPageFill {
    UsersPageView page;
    UserSelectorView selector;
    std::optional<UserMessage> problem;
};

// The items of UserGroupsBox.
std::vector<std::string> FillGroupsBox(const TEncriptor& store, std::optional<UserMessage>& problem);

// The whole page and the selector, first row selected. Removes the stale memberships of the
// listed users.
UsersPageFill RefreshUsersPage(TEncriptor& store, const MainState& state, const UserNames& users);

// The selector, with the entry of the displayed rule key selected, else the logged-on user's.
UserSelectorView FillUserSelector(TEncriptor& store, const MainState& state, const UserNames& users,
                                  std::optional<UserMessage>& problem);

// The list's selection became row: selects the row's group in the box and names the user in the
// label. False when it does nothing (while filling, or no row).
bool UserListChange(const MainState& state, UsersPageView& page, int row);

// The administrator chose item of UserGroupsBox: the selected row (the first when none is) joins
// that group. When the row's user is the displayed rule key and now has a group, the group becomes
// the displayed rule key. The caller refills the folder list with the displayed rule key.
// nullopt when it does nothing.
std::optional<UsersPageFill> UserGroupsBoxChange(TEncriptor& store, MainState& state, UsersPageView& page,
                                                 int item, const UserNames& users);

// The name dialog: its texts on the way in, both fields on the way out (empty after Cancel).
struct TextEntryRequest {
    std::string text, caption, label, secondLabel, secondText;
    bool showSecond = false;
};
struct TextEntryResult {
    std::string text, secondText;
};

TextEntryRequest AddGroupRequest();

// Why a group name (already trimmed; typed: as the administrator typed it) or a description may
// not be stored, or nullopt when they may.
std::optional<UserMessage> RefusedGroup(const TEncriptor& store, std::string_view name,
                                        std::string_view typed, std::string_view description);

// After the name dialog: adds the group and offers it in the box at once (the selector only at its
// next refill). Returns the message to show when the name is refused or the catalogue unreadable.
std::optional<UserMessage> AddGroupButtonClick(TEncriptor& store, MainState& state, UsersPageView& page,
                                               const TextEntryResult& entry);

// The group dialog: its caption and the catalogue's names, item n being offered[n].
struct PickGroupRequest {
    std::string caption;
    std::vector<std::string> items;
};

// What the delete dialog offers; nullopt, with the message in problem, when the catalogue cannot
// be read.
std::optional<std::vector<CatalogueGroup>> GroupsToDelete(const TEncriptor& store,
                                                          std::optional<UserMessage>& problem);
PickGroupRequest DeleteGroupRequest(const std::vector<CatalogueGroup>& offered);

// The delete dialog returned chosen (-1 for none): deletes that group and refills the page. The
// displayed rule key stays. nullopt when nothing was chosen.
std::optional<UsersPageFill> DelGroupButtonClick(TEncriptor& store, MainState& state,
                                                 const std::vector<CatalogueGroup>& offered, int chosen,
                                                 const UserNames& users);

// An entry of the selector was chosen: its text becomes the displayed rule key; the caller refills
// the folder list. The settings stay unmodified.
void cbSelUserChange(MainState& state, std::string_view text);

} // namespace mrf
