#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "core/engine/rule_key.h"
#include "core/text/translate.h"
#include "core/text/ansi.h"
#include "core/users/groups.h"
#include "engine_test_support.h"

namespace mrf {
namespace {

using test::Settings;
using test::StoreFixture;

const Settings kCatalogue = {{"UserGroup_Count", "2"}, {"UserGroup_0", "Staff"}, {"UserGroup_1", "Pupils"}};

Settings WithCatalogue(Settings extra) {
    Settings all = kCatalogue;
    all.insert(all.end(), extra.begin(), extra.end());
    return all;
}

struct RuleKeyCase {
    const char* name;
    Settings settings;
    std::string expectedKey;
    std::optional<std::string> membershipAfter; // nullopt: the entry is gone
};

class RuleKey : public ::testing::TestWithParam<RuleKeyCase> {};

TEST_P(RuleKey, ResolvesAndCleansMembership) {
    StoreFixture fx(GetParam().settings);
    EXPECT_EQ(RuleKeyFor(fx.store(), "alice"), GetParam().expectedKey);
    if (GetParam().membershipAfter)
        EXPECT_EQ(fx.store().ReadString("alice_UserGroup", "<none>"), *GetParam().membershipAfter);
    else
        EXPECT_FALSE(fx.store().KeyExists("alice_UserGroup"));
}

INSTANTIATE_TEST_SUITE_P(
    Table, RuleKey,
    ::testing::Values(
        RuleKeyCase{"NoGroup", kCatalogue, "alice", std::nullopt},
        RuleKeyCase{"CatalogueGroup", WithCatalogue({{"alice_UserGroup", "Pupils"}}), "Pupils", "Pupils"},
        RuleKeyCase{"MembershipKeyInOtherCase", WithCatalogue({{"ALICE_usergroup", "Staff"}}), "Staff",
                    "Staff"},
        RuleKeyCase{"StaleGroupRemoved", WithCatalogue({{"alice_UserGroup", "Gone"}}), "alice", std::nullopt},
        RuleKeyCase{"NoCatalogueAtAll", {{"alice_UserGroup", "Staff"}}, "alice", std::nullopt},
        RuleKeyCase{"GroupSpelledInOtherCase", WithCatalogue({{"alice_UserGroup", "staff"}}), "alice",
                    std::nullopt},
        RuleKeyCase{"GuestGroup", WithCatalogue({{"alice_UserGroup", "Guest group"}}), "Guest group",
                    "Guest group"},
        RuleKeyCase{"GuestGroupInOtherCase", WithCatalogue({{"alice_UserGroup", "guest group"}}), "alice",
                    std::nullopt},
        RuleKeyCase{"TrimmedMembership", WithCatalogue({{"alice_UserGroup", "  Staff  "}}), "Staff",
                    "Staff"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(IsGroup, GuestOnlyWhenIncluded) {
    StoreFixture fx(kCatalogue);
    EXPECT_TRUE(IsGroup(fx.store(), "Guest group", true));
    EXPECT_FALSE(IsGroup(fx.store(), "Guest group", false));
    EXPECT_TRUE(IsGroup(fx.store(), "Pupils", false));
    EXPECT_FALSE(IsGroup(fx.store(), "Pupil", true));
}

TEST(IsGroup, NamesBeyondTheCountAreNotGroups) {
    StoreFixture fx({{"UserGroup_Count", "1"}, {"UserGroup_0", "Staff"}, {"UserGroup_1", "Pupils"}});
    EXPECT_FALSE(IsGroup(fx.store(), "Pupils", true));
}

class TranslatedGuestGroup : public ::testing::Test {
protected:
    void SetUp() override { SetTranslations({{"Guest group", "Gastgruppe"}}); }
    void TearDown() override { SetTranslations({}); }
};

TEST_F(TranslatedGuestGroup, OnlyTheTranslatedNameCounts) {
    StoreFixture fx({{"alice_UserGroup", "Guest group"}, {"bob_UserGroup", "Gastgruppe"}});
    EXPECT_EQ(GuestGroupName(), "Gastgruppe");
    EXPECT_EQ(RuleKeyFor(fx.store(), "bob"), "Gastgruppe");
    EXPECT_EQ(RuleKeyFor(fx.store(), "alice"), "alice");
    EXPECT_FALSE(fx.store().KeyExists("alice_UserGroup"));
}

// A start must not fail on a damaged catalogue, nor throw memberships away because of it.
TEST(GetUserGroup, MalformedCountGivesTheOwnRulesAndKeepsTheMembership) {
    StoreFixture fx({{"UserGroup_Count", "many"}, {"UserGroup_0", "Staff"}, {"alice_UserGroup", "Staff"}});
    EXPECT_EQ(GetUserGroup(fx.store(), "alice"), "");
    EXPECT_EQ(RuleKeyFor(fx.store(), "alice"), "alice");
    EXPECT_TRUE(fx.store().KeyExists("alice_UserGroup"));
    EXPECT_FALSE(IsGroup(fx.store(), "Staff", true));
}

// A huge count is read from the lines that exist, with the same answers as a walk of the indexes.
TEST(IsGroup, AHugeCountIsAnsweredFromTheStoredNames) {
    StoreFixture fx({{"UserGroup_Count", "2000000000"},
                     {"UserGroup_7", "Staff"},
                     {"UserGroup_07", "Zero"},
                     {"UserGroup_9_Descr", "Descr"},
                     {"bob_UserGroup", "Gone"}});
    EXPECT_TRUE(IsGroup(fx.store(), "Staff", false));
    EXPECT_FALSE(IsGroup(fx.store(), "Zero", false));  // "07" is not index 7
    EXPECT_FALSE(IsGroup(fx.store(), "Descr", false)); // a description is no name
    EXPECT_TRUE(IsGroup(fx.store(), "", false));       // absent indexes read as empty names
    EXPECT_EQ(GetUserGroup(fx.store(), "bob"), "");
    EXPECT_FALSE(fx.store().KeyExists("bob_UserGroup"));
}

using Lines = std::vector<std::string>;

// The group catalogue's lines, sorted: what an operation left of it.
Lines CatalogueLines(TEncriptor& store) {
    Lines lines;
    for (const std::string& line : store.Lines())
        if (AnsiStartsText(line, "UserGroup_"))
            lines.push_back(line);
    std::sort(lines.begin(), lines.end());
    return lines;
}

TEST(AddGroup, OnAnEmptyStoreStartsTheCatalogue) {
    StoreFixture fx;
    ASSERT_TRUE(AddGroup(fx.store(), "Staff", ""));
    EXPECT_EQ(CatalogueLines(fx.store()),
              (Lines{"UserGroup_0=Staff", "UserGroup_0_Descr=", "UserGroup_Count=1"}));
    ASSERT_TRUE(AddGroup(fx.store(), "Pupils", "Form 3"));
    EXPECT_EQ(ListGroups(fx.store(), false), (Lines{"Staff", "Pupils"}));
    EXPECT_EQ(fx.store().ReadString("UserGroup_1_Descr", ""), "Form 3");
}

// A count below zero is no catalogue: the next group is group 0, never "UserGroup_-3".
TEST(AddGroup, NegativeCountStartsAtZero) {
    StoreFixture fx(Settings{{"UserGroup_Count", "-3"}});
    EXPECT_TRUE(ListGroups(fx.store(), false).empty());
    ASSERT_TRUE(AddGroup(fx.store(), "Staff", "d"));
    EXPECT_EQ(CatalogueLines(fx.store()),
              (Lines{"UserGroup_0=Staff", "UserGroup_0_Descr=d", "UserGroup_Count=1"}));
}

TEST(AddGroup, AFullCountChangesNothing) {
    StoreFixture fx(Settings{{"UserGroup_Count", "2147483647"}});
    EXPECT_FALSE(AddGroup(fx.store(), "Staff", "d"));
    EXPECT_EQ(CatalogueLines(fx.store()), (Lines{"UserGroup_Count=2147483647"}));
}

TEST(ListGroups, GuestFirstWhenIncludedAndMissingNamesEmpty) {
    StoreFixture empty;
    EXPECT_EQ(ListGroups(empty.store(), true), (Lines{"Guest group"}));
    EXPECT_TRUE(ListGroups(empty.store(), false).empty());
    StoreFixture gap({{"UserGroup_Count", "3"}, {"UserGroup_0", "Staff"}, {"UserGroup_2", "Pupils"}});
    EXPECT_EQ(ListGroups(gap.store(), true), (Lines{"Guest group", "Staff", "", "Pupils"}));
}

TEST(ListGroups, MalformedCountIsTheStoresConversionError) {
    StoreFixture fx({{"UserGroup_Count", "two"}, {"UserGroup_0", "Staff"}});
    try {
        ListGroups(fx.store(), true);
        FAIL() << "no error";
    } catch (const ConversionError& e) {
        EXPECT_EQ(e.Key(), "UserGroup_Count");
        EXPECT_EQ(e.Value(), "two");
    }
    EXPECT_THROW(AddGroup(fx.store(), "Pupils", ""), ConversionError);
    EXPECT_THROW(DeleteGroup(fx.store(), "Staff"), ConversionError);
    EXPECT_EQ(CatalogueLines(fx.store()), (Lines{"UserGroup_0=Staff", "UserGroup_Count=two"}));
}

struct DeleteCase {
    const char* name;
    Settings before;
    std::string deleted;
    bool found;
    Lines after; // the catalogue's lines, sorted
};

const Settings kThree = {{"UserGroup_Count", "3"},   {"UserGroup_0", "A"},        {"UserGroup_0_Descr", "da"},
                         {"UserGroup_1", "B"},       {"UserGroup_1_Descr", "db"}, {"UserGroup_2", "C"},
                         {"UserGroup_2_Descr", "dc"}};

class DeleteGroupTable : public ::testing::TestWithParam<DeleteCase> {};

TEST_P(DeleteGroupTable, ClosesTheGapAndTouchesNothingElse) {
    StoreFixture fx(GetParam().before);
    fx.store().WriteString("alice_UserGroup", GetParam().deleted);
    EXPECT_EQ(DeleteGroup(fx.store(), GetParam().deleted), GetParam().found);
    EXPECT_EQ(CatalogueLines(fx.store()), GetParam().after);
    // Memberships are GetUserGroup's to remove, not DeleteGroup's.
    EXPECT_EQ(fx.store().ReadString("alice_UserGroup", ""), GetParam().deleted);
}

INSTANTIATE_TEST_SUITE_P(
    Table, DeleteGroupTable,
    ::testing::Values(
        DeleteCase{"OnlyGroup",
                   {{"UserGroup_Count", "1"}, {"UserGroup_0", "A"}, {"UserGroup_0_Descr", "da"}},
                   "A",
                   true,
                   {"UserGroup_Count=0"}},
        DeleteCase{"FirstOfThree",
                   kThree,
                   "A",
                   true,
                   {"UserGroup_0=B", "UserGroup_0_Descr=db", "UserGroup_1=C", "UserGroup_1_Descr=dc",
                    "UserGroup_Count=2"}},
        DeleteCase{"MiddleOfThree",
                   kThree,
                   "B",
                   true,
                   {"UserGroup_0=A", "UserGroup_0_Descr=da", "UserGroup_1=C", "UserGroup_1_Descr=dc",
                    "UserGroup_Count=2"}},
        DeleteCase{"LastOfThree",
                   kThree,
                   "C",
                   true,
                   {"UserGroup_0=A", "UserGroup_0_Descr=da", "UserGroup_1=B", "UserGroup_1_Descr=db",
                    "UserGroup_Count=2"}},
        // Only the last index's two keys go: not UserGroup_10.., nor an empty description left behind.
        DeleteCase{"LastIndexExactly",
                   {{"UserGroup_Count", "2"},
                    {"UserGroup_0", "A"},
                    {"UserGroup_1", "B"},
                    {"UserGroup_1_Descr", ""},
                    {"UserGroup_10", "Old"},
                    {"UserGroup_1_Descr_note", "n"}},
                   "B",
                   true,
                   {"UserGroup_0=A", "UserGroup_10=Old", "UserGroup_1_Descr_note=n", "UserGroup_Count=1"}},
        // A group without a description moves without one; no empty lines appear.
        DeleteCase{"MissingDescription",
                   {{"UserGroup_Count", "3"},
                    {"UserGroup_0", "A"},
                    {"UserGroup_0_Descr", "da"},
                    {"UserGroup_1", "B"},
                    {"UserGroup_2", "C"},
                    {"UserGroup_2_Descr", "dc"}},
                   "A",
                   true,
                   {"UserGroup_0=B", "UserGroup_1=C", "UserGroup_1_Descr=dc", "UserGroup_Count=2"}},
        DeleteCase{"UnknownName",
                   kThree,
                   "Z",
                   false,
                   {"UserGroup_0=A", "UserGroup_0_Descr=da", "UserGroup_1=B", "UserGroup_1_Descr=db",
                    "UserGroup_2=C", "UserGroup_2_Descr=dc", "UserGroup_Count=3"}},
        DeleteCase{"OtherCaseIsAnotherName",
                   kThree,
                   "b",
                   false,
                   {"UserGroup_0=A", "UserGroup_0_Descr=da", "UserGroup_1=B", "UserGroup_1_Descr=db",
                    "UserGroup_2=C", "UserGroup_2_Descr=dc", "UserGroup_Count=3"}},
        DeleteCase{"NameBeyondTheCount",
                   {{"UserGroup_Count", "1"}, {"UserGroup_0", "A"}, {"UserGroup_1", "B"}},
                   "B",
                   false,
                   {"UserGroup_0=A", "UserGroup_1=B", "UserGroup_Count=1"}},
        DeleteCase{"EmptyCatalogue", {}, "A", false, {}},
        DeleteCase{"DuplicateNameTheFirstGoes",
                   {{"UserGroup_Count", "2"},
                    {"UserGroup_0", "A"},
                    {"UserGroup_1", "A"},
                    {"UserGroup_1_Descr", "second"}},
                   "A",
                   true,
                   {"UserGroup_0=A", "UserGroup_0_Descr=second", "UserGroup_Count=1"}},
        // A count too large to walk moves only the stored indexes after the deleted one.
        DeleteCase{"HugeCount",
                   {{"UserGroup_Count", "2000000000"},
                    {"UserGroup_5", "A"},
                    {"UserGroup_9", "B"},
                    {"UserGroup_9_Descr", "db"},
                    {"UserGroup_10", "C"}},
                   "A",
                   true,
                   {"UserGroup_8=B", "UserGroup_8_Descr=db", "UserGroup_9=C", "UserGroup_Count=1999999999"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SetUserGroup, StoresAnyTextThatGetUserGroupThenJudges) {
    StoreFixture fx(kCatalogue);
    SetUserGroup(fx.store(), "alice", "Pupils");
    EXPECT_EQ(GetUserGroup(fx.store(), "alice"), "Pupils");
    SetUserGroup(fx.store(), "alice", "Not in any group");
    EXPECT_EQ(fx.store().ReadString("alice_UserGroup", ""), "Not in any group");
    EXPECT_EQ(GetUserGroup(fx.store(), "alice"), "");
    EXPECT_FALSE(fx.store().KeyExists("alice_UserGroup"));
}

} // namespace
} // namespace mrf
