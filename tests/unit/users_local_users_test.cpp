#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/users/local_users.h"
#include "engine_test_support.h"
#include "fakes/fake_registry.h"

namespace mrf {
namespace {

using test::FakeAccounts;
using test::FakeRegistry;
using Names = std::vector<std::string>;

struct ProfileFixture {
    FakeRegistry reg;
    FakeAccounts accounts;
    ProfileFixture() {
        reg.At(kProfileListKeyNt).subkeys = {
            "S-1-5-18",           "S-1-5-21-1-2-3-1001", "S-1-5-21-1-2-3-1001.bak",
            "S-1-5-19",           "S-1-5-21-9-9-9-1105", "S-1-5-21-1-2-3-1002",
            "S-1-5-21-1-2-3-1003"};
        accounts.bySid = {
            {"S-1-5-18", {"SYSTEM", "NT AUTHORITY"}},
            {"S-1-5-19", {"LOCAL SERVICE", "NT AUTHORITY"}},
            {"S-1-5-21-1-2-3-1001", {" clerk\t", "PC"}},
            {"S-1-5-21-9-9-9-1105", {"clerk", "SCHOOL"}},
            {"S-1-5-21-1-2-3-1002", {"  ", "PC"}},
            {"S-1-5-21-1-2-3-1003", {"warden", " NT AUTHORITY "}},
        };
    }
};

TEST(ListLocalUsers, NamesInEnumerationOrderWithoutServiceAccountsOrStrays) {
    ProfileFixture fx;
    // Trimmed names; the backup subkey and the blank name skipped; the same name from two
    // domains twice; a domain that reads "NT AUTHORITY" only after trimming is filtered too.
    EXPECT_EQ(ListLocalUsers(fx.reg, fx.accounts, true), (Names{"clerk", "clerk"}));
    ASSERT_FALSE(fx.reg.opensWith.empty());
    EXPECT_EQ(fx.reg.opensWith.front(), KeyAccess::Read) << "the profile list is only read";
}

TEST(ListLocalUsers, OtherSpellingOfTheServiceDomainIsListed) {
    ProfileFixture fx;
    fx.accounts.bySid["S-1-5-18"].domain = "NT-AUTORITÄT";
    EXPECT_EQ(ListLocalUsers(fx.reg, fx.accounts, true), (Names{"SYSTEM", "clerk", "clerk"}));
}

TEST(ListLocalUsers, UnreadableOrMissingProfileListGivesNothing) {
    ProfileFixture fx;
    fx.reg.unopenable.insert(ToAnsiUpper(kProfileListKeyNt));
    EXPECT_TRUE(ListLocalUsers(fx.reg, fx.accounts, true).empty());
    FakeRegistry none;
    EXPECT_TRUE(ListLocalUsers(none, fx.accounts, true).empty());
}

TEST(ListLocalUsers, NineXSubkeysAreTheNamesAsTheyAre) {
    FakeRegistry reg;
    FakeAccounts accounts;
    reg.At(kProfileListKey9x).subkeys = {"Anna", " Bob ", "S-1-5-18"};
    EXPECT_EQ(ListLocalUsers(reg, accounts, false), (Names{"Anna", " Bob ", "S-1-5-18"}));
}

TEST(LoadStoredUserList, EveryLineOfThePrefixInStoreOrder) {
    test::StoreFixture fx({{"LocalUserList1", "warden"},
                           {"Other", "x"},
                           {"localuserlist0", "clerk"},
                           {"LocalUserListX", "odd"}});
    EXPECT_EQ(LoadStoredUserList(fx.store()), (Names{"warden", "clerk", "odd"}));
}

struct CollectCase {
    const char* name;
    Names live;
    test::Settings stored;
    std::string loggedOn;
    Names expected;
};

class CollectUserNamesTable : public ::testing::TestWithParam<CollectCase> {};

TEST_P(CollectUserNamesTable, LiveElseStoredAndTheLoggedOnUserAlways) {
    test::StoreFixture fx(GetParam().stored);
    EXPECT_EQ(CollectUserNames(GetParam().live, fx.store(), GetParam().loggedOn), GetParam().expected);
}

const test::Settings kStored = {{"LocalUserList0", "clerk"}, {"LocalUserList1", "warden"}};

INSTANTIATE_TEST_SUITE_P(
    Table, CollectUserNamesTable,
    ::testing::Values(CollectCase{"LiveWinsOverStored", {"anna", "bob"}, kStored, "bob", {"anna", "bob"}},
                      CollectCase{"LiveWithoutTheUser", {"anna"}, kStored, "pat", {"anna", "pat"}},
                      CollectCase{"StoredWhenNoLive", {}, kStored, "pat", {"clerk", "warden", "pat"}},
                      CollectCase{
                          "StoredHoldsTheUserInOtherCase", {}, kStored, "Warden", {"clerk", "warden"}},
                      CollectCase{"NeitherGivesTheUserAlone", {}, {}, "pat", {"pat"}},
                      CollectCase{"SameNameTwiceIsKept", {"clerk", "clerk"}, {}, "CLERK", {"clerk", "clerk"}},
                      CollectCase{"BlankNamesLeftOut",
                                  {},
                                  {{"LocalUserList0", ""}, {"LocalUserList1", "clerk"}},
                                  "pat",
                                  {"clerk", "pat"}},
                      CollectCase{"UnknownUserAddsNothing", {}, kStored, "", {"clerk", "warden"}}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace mrf
