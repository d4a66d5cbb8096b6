#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "core/engine/rule_key.h"
#include "core/text/translate.h"
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

} // namespace
} // namespace mrf
