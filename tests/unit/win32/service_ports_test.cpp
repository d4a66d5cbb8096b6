// The registry and account-lookup ports against Wine's real registry and accounts.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>

#include "core/users/local_users.h"
#include "win32/account_lookup.h"
#include "win32/registry.h"
#include "win32/user_name.h"

namespace mrf::win32 {
namespace {

TEST(Win32AccountLookup, SplitsNameAndDomainAndRefusesNonIdentifiers) {
    Win32AccountLookup accounts;
    std::string name, domain;
    ASSERT_TRUE(accounts.LookupSid("S-1-5-18", name, domain));
    EXPECT_EQ(name, "SYSTEM");
    EXPECT_EQ(domain, "NT AUTHORITY");
    EXPECT_FALSE(accounts.LookupSid("clerk", name, domain));
    EXPECT_FALSE(accounts.LookupSid("", name, domain));
}

TEST(Win32Registry, ValuesOfAKeyAndTheFailuresTheCoreTellsApart) {
    const std::string path = "Software\\MarrowfoldTest" + std::to_string(::GetCurrentProcessId());
    Win32Registry registry;
    SystemError error;
    EXPECT_EQ(registry.OpenKey(path, KeyAccess::Read, false, error), nullptr);
    EXPECT_EQ(error.code, kErrorFileNotFound);
    {
        auto key = registry.OpenKey(path, KeyAccess::ReadWrite, true, error);
        ASSERT_NE(key, nullptr);
        std::string value;
        bool exists = true;
        ASSERT_TRUE(key->ReadString("v", value, exists, error));
        EXPECT_FALSE(exists);
        EXPECT_FALSE(key->ValueExists("v"));
        ASSERT_TRUE(key->WriteString("v", "\"C:\\A B\\mrf.exe\" /T", error));
        ASSERT_TRUE(key->ReadString("V", value, exists, error)) << "names ignore letter case";
        EXPECT_TRUE(exists);
        EXPECT_EQ(value, "\"C:\\A B\\mrf.exe\" /T");
        EXPECT_TRUE(key->ValueExists("v"));
        ASSERT_TRUE(key->DeleteValue("v", error));
        EXPECT_FALSE(key->DeleteValue("v", error));
        EXPECT_EQ(error.code, kErrorFileNotFound);
    }
    ::RegDeleteKeyA(HKEY_LOCAL_MACHINE, path.c_str());
}

TEST(Win32Registry, TheLocalUserListNamesThisUserAndNoServiceAccount) {
    Win32Registry registry;
    Win32AccountLookup accounts;
    const auto users = ListLocalUsers(registry, accounts, true);
    EXPECT_NE(std::find(users.begin(), users.end(), LoggedOnUserName()), users.end());
    EXPECT_EQ(std::find(users.begin(), users.end(), "SYSTEM"), users.end());
}

} // namespace
} // namespace mrf::win32
