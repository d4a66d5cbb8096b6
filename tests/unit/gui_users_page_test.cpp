// The user-groups page and the user selector: what the controls show and what each action stores.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/gui/users_page.h"
#include "core/text/ansi.h"
#include "engine_test_support.h"

namespace mrf {
namespace {

using test::Settings;
using test::StoreFixture;
using Items = std::vector<std::string>;

const Settings kCatalogue = {{"UserGroup_Count", "2"}, {"UserGroup_0", "Staff"}, {"UserGroup_1", "Pupils"}};

Settings With(Settings extra) {
    Settings all = kCatalogue;
    all.insert(all.end(), extra.begin(), extra.end());
    return all;
}

struct PageRig {
    StoreFixture fx;
    MainState state;
    UserNames users;
    PageRig(const Settings& settings, Items names, std::string loggedOn, std::string displayed)
        : fx(settings), users{std::move(names), std::move(loggedOn)} {
        state.displayedRuleKey = std::move(displayed);
    }
    TEncriptor& store() { return fx.store(); }
    UsersPageFill Refresh() { return RefreshUsersPage(store(), state, users); }
};

TEST(UsersPage, OnlyTheLoggedOnUserWhenNothingElseIsKnown) {
    PageRig rig(kCatalogue, {"pat"}, "pat", "pat");
    const UsersPageFill fill = rig.Refresh();
    EXPECT_EQ(fill.page.rows, (std::vector<UserRow>{{"pat", "Not in any group"}}));
    EXPECT_EQ(fill.page.groupItems, (Items{"Not in any group", "Guest group", "Staff", "Pupils"}));
    EXPECT_EQ(fill.page.selectedRow, 0);
    EXPECT_EQ(fill.page.selectedGroupItem, 0);
    EXPECT_EQ(fill.page.userLabel, "Select a group for the user \"pat\"");
    EXPECT_EQ(fill.selector, (UserSelectorView{{"Guest group", "Staff", "Pupils", "pat"}, 3}));
    EXPECT_FALSE(fill.problem);
}

// Stale, case-differing and no-group memberships of listed users are gone after a refill.
TEST(UsersPage, RefreshRemovesStaleMemberships) {
    PageRig rig(With({{"anna_UserGroup", "Pupils"},
                      {"bob_UserGroup", "Gone"},
                      {"carl_UserGroup", "staff"},
                      {"dora_UserGroup", "Not in any group"},
                      {"eve_UserGroup", "Guest group"}}),
                {"anna", "bob", "carl", "dora", "eve"}, "anna", "Pupils");
    const UsersPageFill fill = rig.Refresh();
    EXPECT_EQ(fill.page.rows, (std::vector<UserRow>{{"anna", "Pupils"},
                                                    {"bob", "Not in any group"},
                                                    {"carl", "Not in any group"},
                                                    {"dora", "Not in any group"},
                                                    {"eve", "Guest group"}}));
    EXPECT_EQ(fill.page.selectedGroupItem, 3);
    for (const char* key : {"bob_UserGroup", "carl_UserGroup", "dora_UserGroup"})
        EXPECT_FALSE(rig.store().KeyExists(key)) << key;
    EXPECT_EQ(fill.selector,
              (UserSelectorView{{"Guest group", "Staff", "Pupils", "bob", "carl", "dora"}, 2}));
}

// A damaged count: the page shows what it can, and one message names the key and value.
TEST(UsersPage, MalformedCountShowsAnEmptyCatalogueAndTellsOnce) {
    PageRig rig({{"UserGroup_Count", "x2"}, {"UserGroup_0", "Staff"}, {"anna_UserGroup", "Staff"}},
                {"anna", "pat"}, "pat", "pat");
    const UsersPageFill fill = rig.Refresh();
    ASSERT_TRUE(fill.problem);
    EXPECT_NE(fill.problem->text.find("UserGroup_Count"), std::string::npos) << fill.problem->text;
    EXPECT_NE(fill.problem->text.find("x2"), std::string::npos) << fill.problem->text;
    EXPECT_EQ(fill.problem->caption, "Umberlock");
    EXPECT_EQ(fill.page.groupItems, (Items{"Not in any group", "Guest group"}));
    EXPECT_EQ(fill.page.rows.size(), 2u);
    EXPECT_EQ(fill.selector, (UserSelectorView{{"Guest group", "anna", "pat"}, 2}));
    // A damaged catalogue proves no membership stale.
    EXPECT_TRUE(rig.store().KeyExists("anna_UserGroup"));
}

struct SelectorCase {
    const char* name;
    Settings settings;
    Items names;
    std::string loggedOn, displayed;
    UserSelectorView expected;
};

class UserSelectorTable : public ::testing::TestWithParam<SelectorCase> {};

TEST_P(UserSelectorTable, SelectsTheDisplayedRuleKeyElseTheLoggedOnUser) {
    PageRig rig(GetParam().settings, GetParam().names, GetParam().loggedOn, GetParam().displayed);
    std::optional<UserMessage> problem;
    EXPECT_EQ(FillUserSelector(rig.store(), rig.state, rig.users, problem), GetParam().expected);
    EXPECT_FALSE(problem);
}

INSTANTIATE_TEST_SUITE_P(
    Table, UserSelectorTable,
    ::testing::Values(SelectorCase{"GroupInOtherAsciiCase",
                                   kCatalogue,
                                   {"pat"},
                                   "pat",
                                   "PUPILS",
                                   {{"Guest group", "Staff", "Pupils", "pat"}, 2}},
                      SelectorCase{"GuestGroup",
                                   kCatalogue,
                                   {"pat"},
                                   "pat",
                                   "guest GROUP",
                                   {{"Guest group", "Staff", "Pupils", "pat"}, 0}},
                      SelectorCase{"UserWithoutGroup",
                                   kCatalogue,
                                   {"anna", "pat"},
                                   "pat",
                                   "Anna",
                                   {{"Guest group", "Staff", "Pupils", "anna", "pat"}, 3}},
                      // A group and a user of the same name: the later entry wins.
                      SelectorCase{"LaterMatchWins",
                                   With({{"UserGroup_Count", "3"}, {"UserGroup_2", "anna"}}),
                                   {"anna", "pat"},
                                   "pat",
                                   "anna",
                                   {{"Guest group", "Staff", "Pupils", "anna", "anna", "pat"}, 4}},
                      // Other letters than A to Z compare exactly.
                      SelectorCase{"NonAsciiCaseDoesNotMatch",
                                   With({{"UserGroup_Count", "3"}, {"UserGroup_2", "\xc4rzte"}}),
                                   {"pat"},
                                   "pat",
                                   "\xe4rzte",
                                   {{"Guest group", "Staff", "Pupils", "\xc4rzte", "pat"}, 4}},
                      SelectorCase{"UnlistedKeyFallsBackToTheUser",
                                   kCatalogue,
                                   {"anna", "pat"},
                                   "PAT",
                                   "Deleted",
                                   {{"Guest group", "Staff", "Pupils", "anna", "pat"}, 4}},
                      SelectorCase{"UserInAGroupIsNotListed",
                                   With({{"pat_UserGroup", "Staff"}}),
                                   {"anna", "pat"},
                                   "pat",
                                   "Deleted",
                                   {{"Guest group", "Staff", "Pupils", "anna"}, -1}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(UsersPage, ListSelectionSelectsTheRowsGroupAndNamesTheUser) {
    PageRig rig(With({{"bob_UserGroup", "pupils"}, {"anna_UserGroup", "Guest group"}}), {"pat", "anna"},
                "pat", "pat");
    UsersPageView page = rig.Refresh().page;
    ASSERT_TRUE(UserListChange(rig.state, page, 1));
    EXPECT_EQ(page.selectedGroupItem, 1);
    EXPECT_EQ(page.userLabel, "Select a group for the user \"anna\"");
    rig.state.pageFilling = true;
    EXPECT_FALSE(UserListChange(rig.state, page, 0));
    EXPECT_EQ(page.selectedRow, 1);
}

TEST(UsersPage, MovingTheDisplayedUserIntoAGroupShowsTheGroup) {
    PageRig rig(kCatalogue, {"anna", "pat"}, "pat", "pat");
    UsersPageView page = rig.Refresh().page;
    ASSERT_TRUE(UserListChange(rig.state, page, 1));
    const auto fill = UserGroupsBoxChange(rig.store(), rig.state, page, 3, rig.users);
    ASSERT_TRUE(fill);
    EXPECT_EQ(rig.state.displayedRuleKey, "Pupils");
    EXPECT_TRUE(rig.state.settingsModified);
    EXPECT_EQ(rig.store().ReadString("pat_UserGroup", ""), "Pupils");
    EXPECT_EQ(fill->page.rows[1], (UserRow{"pat", "Pupils"}));
    EXPECT_EQ(fill->page.selectedGroupItem, 3);
    EXPECT_EQ(fill->selector, (UserSelectorView{{"Guest group", "Staff", "Pupils", "anna"}, 2}));

    // Out of every group again: the membership goes at once, the key stays the group.
    const auto back = UserGroupsBoxChange(rig.store(), rig.state, page, 0, rig.users);
    ASSERT_TRUE(back);
    EXPECT_FALSE(rig.store().KeyExists("pat_UserGroup"));
    EXPECT_EQ(back->page.rows[1], (UserRow{"pat", "Not in any group"}));
    EXPECT_EQ(rig.state.displayedRuleKey, "Pupils");
    EXPECT_EQ(back->selector, (UserSelectorView{{"Guest group", "Staff", "Pupils", "anna", "pat"}, 2}));
}

TEST(UsersPage, GroupChoiceForAnotherUserOrWithoutSelection) {
    PageRig rig(kCatalogue, {"anna", "pat"}, "pat", "pat");
    UsersPageView page = rig.Refresh().page;
    page.selectedRow = -1; // the list lost its selection: the first row is taken
    const auto fill = UserGroupsBoxChange(rig.store(), rig.state, page, 2, rig.users);
    ASSERT_TRUE(fill);
    EXPECT_EQ(fill->page.selectedRow, 0);
    EXPECT_EQ(rig.store().ReadString("anna_UserGroup", ""), "Staff");
    EXPECT_EQ(rig.state.displayedRuleKey, "pat");
    EXPECT_EQ(fill->selector, (UserSelectorView{{"Guest group", "Staff", "Pupils", "pat"}, 3}));

    rig.state.pageFilling = true;
    rig.state.settingsModified = false;
    EXPECT_FALSE(UserGroupsBoxChange(rig.store(), rig.state, page, 3, rig.users));
    EXPECT_EQ(rig.store().ReadString("anna_UserGroup", ""), "Staff");
    EXPECT_FALSE(rig.state.settingsModified);
}

// A name from a damaged stored list that the settings file cannot hold in a key: nothing is stored.
TEST(UsersPage, GroupChoiceForAnUnstorableUserNameIsRefused) {
    PageRig rig(kCatalogue, {"a=b", "pat"}, "pat", "pat");
    UsersPageView page = rig.Refresh().page;
    const auto fill = UserGroupsBoxChange(rig.store(), rig.state, page, 2, rig.users);
    ASSERT_TRUE(fill);
    ASSERT_TRUE(fill->problem);
    EXPECT_NE(fill->problem->text.find("a=b_UserGroup"), std::string::npos) << fill->problem->text;
    EXPECT_EQ(fill->page.rows[0], (UserRow{"a=b", "Not in any group"}));
    EXPECT_EQ(fill->page.selectedGroupItem, 0);
    EXPECT_FALSE(rig.state.settingsModified);
}

TEST(UsersPage, AddGroupDialogTexts) {
    const TextEntryRequest request = AddGroupRequest();
    EXPECT_EQ(request.caption, "Add Group");
    EXPECT_EQ(request.label, "Enter the group name :");
    EXPECT_EQ(request.secondLabel, "Description :");
    EXPECT_TRUE(request.showSecond);
    EXPECT_EQ(request.text, "");
    EXPECT_EQ(request.secondText, "");
}

struct AddCase {
    const char* name;
    std::string typed, description;
    std::string stored;  // the name added; empty: nothing
    std::string message; // expected message; empty: none
};

class AddGroupTable : public ::testing::TestWithParam<AddCase> {};

TEST_P(AddGroupTable, AcceptsOrRefusesWithAReason) {
    PageRig rig(kCatalogue, {"pat"}, "pat", "pat");
    UsersPageView page = rig.Refresh().page;
    const auto message =
        AddGroupButtonClick(rig.store(), rig.state, page, {GetParam().typed, GetParam().description});
    EXPECT_EQ(message ? message->text : "", GetParam().message);
    if (message) {
        EXPECT_EQ(message->caption, "Umberlock");
    }
    const Items before{"Staff", "Pupils"};
    if (GetParam().stored.empty()) {
        EXPECT_EQ(ListGroups(rig.store(), false), before);
        EXPECT_EQ(page.groupItems.size(), 4u);
        EXPECT_FALSE(rig.state.settingsModified);
        return;
    }
    EXPECT_EQ(ListGroups(rig.store(), false), (Items{"Staff", "Pupils", GetParam().stored}));
    EXPECT_EQ(rig.store().ReadString("UserGroup_2_Descr", "<none>"), TrimBlanks(GetParam().description));
    EXPECT_EQ(page.groupItems.back(), GetParam().stored);
    EXPECT_TRUE(rig.state.settingsModified);
}

const std::string k255(255, 'g');

INSTANTIATE_TEST_SUITE_P(
    Table, AddGroupTable,
    ::testing::Values(
        AddCase{"Plain", "Teachers", "", "Teachers", ""},
        AddCase{"TrimmedWithDescription", "  Teachers\t", "  Form 3 ", "Teachers", ""},
        AddCase{"OtherCaseOfAGroup", "staff", "", "staff", ""},
        AddCase{"GuestInOtherCase", "guest group", "", "guest group", ""},
        AddCase{"LongestName", k255, "", k255, ""}, AddCase{"Empty", "", "d", "", ""},
        AddCase{"Blank", "  \t ", "d", "", ""},
        AddCase{"Exists", "Staff", "", "", "The group name \"Staff\" is exists !"},
        AddCase{"ExistsQuotedAsTyped", " Staff ", "", "", "The group name \" Staff \" is exists !"},
        AddCase{"GuestGroup", "Guest group", "", "", "The group name \"Guest group\" is exists !"},
        AddCase{"EqualsSign", "a=b", "", "", "The group name \"a=b\" may not contain \"=\"."},
        AddCase{"Tab", "a\tb", "", "", "The group name \"a\tb\" may not contain control characters."},
        AddCase{"Delete", "a\x7f", "", "", "The group name \"a\x7f\" may not contain control characters."},
        AddCase{"NoGroupText", "Not in any group", "", "",
                "The group name \"Not in any group\" is reserved for users without a group."},
        AddCase{"NoGroupTextInOtherCase", "NOT in any group", "", "",
                "The group name \"NOT in any group\" is reserved for users without a group."},
        AddCase{"TooLong", k255 + "g", "", "", "The group name is longer than 255 characters."},
        AddCase{"LineBreakInDescription", "Teachers", "one\ntwo", "",
                "The description may not contain line breaks."}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(UsersPage, AddGroupOnAMalformedCountChangesNothing) {
    PageRig rig({{"UserGroup_Count", "x"}}, {"pat"}, "pat", "pat");
    UsersPageView page = rig.Refresh().page;
    const auto message = AddGroupButtonClick(rig.store(), rig.state, page, {"Teachers", ""});
    ASSERT_TRUE(message);
    EXPECT_NE(message->text.find("UserGroup_Count"), std::string::npos);
    EXPECT_FALSE(rig.store().KeyExists("UserGroup_0"));
    EXPECT_EQ(page.groupItems.size(), 2u);
}

TEST(UsersPage, DeletingTheDisplayedGroupKeepsTheKeyAndDropsItsMembers) {
    PageRig rig(With({{"anna_UserGroup", "Staff"}, {"pat_UserGroup", "Pupils"}}), {"anna", "pat"}, "pat",
                "Staff");
    std::optional<UserMessage> problem;
    const auto offered = GroupsToDelete(rig.store(), problem);
    ASSERT_TRUE(offered);
    const PickGroupRequest request = DeleteGroupRequest(*offered);
    EXPECT_EQ(request.caption, "Delete the group");
    EXPECT_EQ(request.items, (Items{"Staff", "Pupils"}));

    EXPECT_FALSE(DelGroupButtonClick(rig.store(), rig.state, *offered, -1, rig.users));
    EXPECT_FALSE(rig.state.settingsModified);

    const auto fill = DelGroupButtonClick(rig.store(), rig.state, *offered, 0, rig.users);
    ASSERT_TRUE(fill);
    EXPECT_EQ(ListGroups(rig.store(), false), (Items{"Pupils"}));
    EXPECT_FALSE(rig.store().KeyExists("anna_UserGroup"));
    EXPECT_EQ(rig.state.displayedRuleKey, "Staff");
    EXPECT_TRUE(rig.state.settingsModified);
    EXPECT_EQ(fill->page.rows, (std::vector<UserRow>{{"anna", "Not in any group"}, {"pat", "Pupils"}}));
    EXPECT_EQ(fill->page.groupItems, (Items{"Not in any group", "Guest group", "Pupils"}));
    // The logged-on user belongs to a group, so nothing is selected.
    EXPECT_EQ(fill->selector, (UserSelectorView{{"Guest group", "Pupils", "anna"}, -1}));
}

TEST(UsersPage, DeleteOnAMalformedCountOffersNothing) {
    PageRig rig({{"UserGroup_Count", "x"}, {"UserGroup_0", "Staff"}}, {"pat"}, "pat", "pat");
    std::optional<UserMessage> problem;
    EXPECT_FALSE(GroupsToDelete(rig.store(), problem));
    ASSERT_TRUE(problem);
    EXPECT_NE(problem->text.find("UserGroup_Count"), std::string::npos);
}

TEST(UsersPage, SelectorChoiceBecomesTheDisplayedKeyWithoutModifying) {
    MainState state;
    state.displayedRuleKey = "pat";
    cbSelUserChange(state, "Staff");
    EXPECT_EQ(state.displayedRuleKey, "Staff");
    EXPECT_FALSE(state.settingsModified);
}

} // namespace
} // namespace mrf
