#include "core/gui/users_page.h"

#include <stdexcept>

#include "core/gui/option_keys.h"
#include "core/text/ansi.h"
#include "core/text/translate.h"
#include "core/users/group_keys.h"

namespace mrf {

std::string NoGroupText() {
    return Tr("Not in any group");
}

namespace {

UserMessage Message(std::string text) {
    return UserMessage{std::move(text), std::string(kAppTitle)};
}

// The catalogue for display: a malformed count reads as an empty catalogue and is noted once.
std::vector<std::string> GroupsForDisplay(const TEncriptor& store, std::optional<UserMessage>& problem) {
    try {
        return ListGroups(store, true);
    } catch (const ConversionError& e) {
        if (!problem)
            problem = Message(e.what());
        return {GuestGroupName()};
    }
}

std::string UserLabelFor(std::string_view user) {
    return Tr("Select a group for the user") + " \"" + std::string(user) + "\"";
}

// The first item equal to text, letter case ignored; -1 for none.
int ItemMatching(const std::vector<std::string>& items, std::string_view text) {
    for (size_t i = 0; i < items.size(); ++i)
        if (AnsiSameText(items[i], text))
            return static_cast<int>(i);
    return -1;
}

void SelectRow(UsersPageView& page, int row) {
    page.selectedRow = row;
    page.selectedGroupItem = ItemMatching(page.groupItems, page.rows[row].group);
    page.userLabel = UserLabelFor(page.rows[row].name);
}

bool SameAscii(std::string_view a, std::string_view b) {
    return AsciiLower(a) == AsciiLower(b);
}

std::string QuotedName(std::string_view typed) {
    return Tr("The group name") + " \"" + std::string(typed) + "\" ";
}

} // namespace

std::vector<std::string> FillGroupsBox(const TEncriptor& store, std::optional<UserMessage>& problem) {
    std::vector<std::string> items{NoGroupText()};
    for (std::string& group : GroupsForDisplay(store, problem))
        items.push_back(std::move(group));
    return items;
}

UserSelectorView FillUserSelector(TEncriptor& store, const MainState& state, const UserNames& users,
                                  std::optional<UserMessage>& problem) {
    UserSelectorView selector;
    auto add = [&](std::string item) {
        if (SameAscii(item, state.displayedRuleKey))
            selector.selected = static_cast<int>(selector.items.size()); // a later match wins
        selector.items.push_back(std::move(item));
    };
    for (std::string& group : GroupsForDisplay(store, problem))
        add(std::move(group));
    for (const std::string& name : users.names)
        if (GetUserGroup(store, name).empty())
            add(name);
    if (selector.selected < 0)
        selector.selected = ItemMatching(selector.items, users.loggedOnUser);
    return selector;
}

UsersPageFill RefreshUsersPage(TEncriptor& store, const MainState& state, const UserNames& users) {
    UsersPageFill fill;
    UsersPageView& page = fill.page;
    page.groupItems = FillGroupsBox(store, fill.problem);
    for (const std::string& name : users.names) {
        std::string group = GetUserGroup(store, name);
        page.rows.push_back({name, group.empty() ? NoGroupText() : std::move(group)});
    }
    if (!page.rows.empty())
        SelectRow(page, 0);
    fill.selector = FillUserSelector(store, state, users, fill.problem);
    return fill;
}

bool UserListChange(const MainState& state, UsersPageView& page, int row) {
    if (state.pageFilling || row < 0 || row >= static_cast<int>(page.rows.size()))
        return false;
    SelectRow(page, row);
    return true;
}

std::optional<UsersPageFill> UserGroupsBoxChange(TEncriptor& store, MainState& state, UsersPageView& page,
                                                 int item, const UserNames& users) {
    if (state.pageFilling || item < 0 || item >= static_cast<int>(page.groupItems.size()) ||
        page.rows.empty())
        return std::nullopt;
    if (page.selectedRow < 0 || page.selectedRow >= static_cast<int>(page.rows.size()))
        SelectRow(page, 0);
    UserRow& row = page.rows[page.selectedRow];
    const std::string& text = page.groupItems[item];
    UsersPageFill fill;
    try {
        SetUserGroup(store, row.name, text);
        row.group = text;
        page.selectedGroupItem = item;
        if (row.name == state.displayedRuleKey && !GetUserGroup(store, state.displayedRuleKey).empty())
            state.displayedRuleKey = text;
        state.settingsModified = true;
    } catch (const std::invalid_argument& e) {
        // A user name the settings file cannot hold in a key: nothing was stored, and the box
        // shows the row's group again.
        fill.problem = Message(e.what());
        SelectRow(page, page.selectedRow);
    }
    fill.page = page;
    fill.selector = FillUserSelector(store, state, users, fill.problem);
    return fill;
}

TextEntryRequest AddGroupRequest() {
    TextEntryRequest request;
    request.caption = Tr("Add Group");
    request.label = Tr("Enter the group name") + " :";
    request.secondLabel = Tr("Description") + " :";
    request.showSecond = true;
    return request;
}

std::optional<UserMessage> RefusedGroup(const TEncriptor& store, std::string_view name,
                                        std::string_view typed, std::string_view description) {
    if (IsGroup(store, name, true))
        return Message(QuotedName(typed) + Tr("is exists !"));
    // The name becomes the first part of settings names, where "=" ends the name.
    if (name.find('=') != std::string_view::npos)
        return Message(QuotedName(typed) + Tr("may not contain \"=\"."));
    for (unsigned char c : name)
        if (c < 0x20 || c == 0x7f)
            return Message(QuotedName(typed) + Tr("may not contain control characters."));
    // Rows show this text for users without a group; a group of that name could not be told apart.
    if (AnsiSameText(name, NoGroupText()))
        return Message(QuotedName(typed) + Tr("is reserved for users without a group."));
    if (name.size() > kMaxGroupNameLength)
        return Message(Tr("The group name is longer than 255 characters."));
    if (description.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos)
        return Message(Tr("The description may not contain line breaks."));
    return std::nullopt;
}

std::optional<UserMessage> AddGroupButtonClick(TEncriptor& store, MainState& state, UsersPageView& page,
                                               const TextEntryResult& entry) {
    const std::string name(TrimBlanks(entry.text));
    if (name.empty())
        return std::nullopt;
    const std::string description(TrimBlanks(entry.secondText));
    if (auto refused = RefusedGroup(store, name, entry.text, description))
        return refused;
    try {
        if (!AddGroup(store, name, description))
            return Message(Tr("The group list is full."));
    } catch (const ConversionError& e) {
        return Message(e.what());
    }
    page.groupItems.push_back(name);
    state.settingsModified = true;
    return std::nullopt;
}

std::optional<std::vector<CatalogueGroup>> GroupsToDelete(const TEncriptor& store,
                                                          std::optional<UserMessage>& problem) {
    try {
        return ReadCatalogue(store);
    } catch (const ConversionError& e) {
        problem = Message(e.what());
        return std::nullopt;
    }
}

PickGroupRequest DeleteGroupRequest(const std::vector<CatalogueGroup>& offered) {
    PickGroupRequest request;
    request.caption = Tr("Delete the group");
    for (const CatalogueGroup& group : offered)
        request.items.push_back(group.name);
    return request;
}

std::optional<UsersPageFill> DelGroupButtonClick(TEncriptor& store, MainState& state,
                                                 const std::vector<CatalogueGroup>& offered, int chosen,
                                                 const UserNames& users) {
    if (chosen < 0 || chosen >= static_cast<int>(offered.size()))
        return std::nullopt;
    bool deleted = false;
    std::optional<UserMessage> problem;
    try {
        deleted = DeleteGroup(store, store.ReadString(GroupNameKey(offered[chosen].index), ""));
    } catch (const ConversionError& e) {
        problem = Message(e.what());
    }
    UsersPageFill fill = RefreshUsersPage(store, state, users);
    if (!fill.problem)
        fill.problem = problem;
    if (deleted)
        state.settingsModified = true;
    return fill;
}

void cbSelUserChange(MainState& state, std::string_view text) {
    state.displayedRuleKey = std::string(text);
}

} // namespace mrf
