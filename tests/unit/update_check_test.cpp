// The update check's decisions: the server address, the request, the identifier, the reply's
// command block and what its commands may do.
#include <gtest/gtest.h>

#include <set>

#include "core/update/update_check.h"
#include "fakes/memory_file_system.h"
#include "gui_test_support.h"

namespace mrf {
namespace {

// The store of a program and what its commands showed; Saved() reads the file as a second program
// would.
class UpdateRig : public UpdateHost {
public:
    UpdateRig() : store("mrf.dat", fs) {}
    std::string Saved(std::string_view key) {
        TEncriptor other("mrf.dat", fs);
        return other.ReadString(key, "<absent>");
    }
    void ShowMessage(const std::string& text) override { log.push_back("Message " + text); }
    bool AskYesNo(const std::string& text) override {
        log.push_back("Ask " + text);
        return answerYes;
    }
    void OpenWebSite() override { log.push_back("Web site"); }

    test::MemoryFileSystem fs;
    TEncriptor store;
    std::vector<std::string> log;
    bool answerYes = false;
};

struct ReplyCase {
    const char* name;
    const char* body;
    std::vector<std::string> lines;
};

class UpdateReplyLines : public testing::TestWithParam<ReplyCase> {};

TEST_P(UpdateReplyLines, AreTheNonEmptyEntriesBetweenTheFirstTwoStars) {
    EXPECT_EQ(ReplyLines(GetParam().body), GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(Update, UpdateReplyLines,
                         testing::Values(ReplyCase{"Framed",
                                                   "xx*command1=Message%compar11=Hello*yy",
                                                   {"command1=Message", "compar11=Hello"}},
                                         ReplyCase{"DoublePercent", "*a=1%%b=2%*", {"a=1", "b=2"}},
                                         ReplyCase{"LeadingPercent", "*%a=1*", {"a=1"}},
                                         ReplyCase{"EmptyBlock", "**", {}},
                                         ReplyCase{"NoStar", "command1=Message%compar11=Hello", {}},
                                         ReplyCase{"OneStar", "head*command1=Message", {}},
                                         ReplyCase{"ThirdStarEndsNothing", "*a=1*b=2*c=3", {"a=1"}},
                                         ReplyCase{"KeepsValueAsItIs", "<html>*a= x =y*</html>", {"a= x =y"}},
                                         ReplyCase{"Empty", "", {}}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(UpdateReply, CommandsTakeTheFirstLineOfEachNameWhateverItsCase) {
    auto commands = ReplyCommands({"COMMAND1=Message", "command1=SetStr", "Compar11=Hello", "compar11=Other",
                                   "command5=NewVersion", "compar52=x", "noequals", "command3"});
    EXPECT_EQ(commands[0], (UpdateCommand{"Message", "Hello", ""}));
    EXPECT_EQ(commands[1], UpdateCommand{});
    EXPECT_EQ(commands[2], UpdateCommand{}); // a line without "=" names nothing
    EXPECT_EQ(commands[4], (UpdateCommand{"NewVersion", "", "x"}));
}

TEST(UpdateReply, RunsTheCommandsInOrderAndNamesExactly) {
    UpdateRig rig;
    ParseUpdateReply("xx*command2=Message%compar21=Second%command1=Message%compar11=Hello"
                     "%command3=message%compar31=lower%command4=MESSAGE%compar41=upper*yy",
                     rig.store, rig);
    EXPECT_EQ(rig.log, (std::vector<std::string>{"Message Hello", "Message Second"}));
}

TEST(UpdateReply, NewVersionOpensOnlyTheProductsOwnSiteOnYes) {
    for (bool yes : {false, true}) {
        UpdateRig rig;
        rig.answerYes = yes;
        ParseUpdateReply("*command1=NewVersion%compar11=Version 9 is out%compar12=http://evil.test/*",
                         rig.store, rig);
        std::vector<std::string> expected{"Ask Version 9 is out"};
        if (yes)
            expected.push_back("Web site");
        EXPECT_EQ(rig.log, expected);
    }
}

TEST(UpdateReply, MessageTextsLoseControlCharactersAndAreCut) {
    UpdateRig rig;
    ParseUpdateReply(std::string("*command1=Message%compar11=Line\r\none\x1b[2J\ttab\x7f*"), rig.store, rig);
    ParseUpdateReply("*command1=Message%compar11=" + std::string(2000, 'W') + "*", rig.store, rig);
    ASSERT_EQ(rig.log.size(), 2u);
    EXPECT_EQ(rig.log[0], "Message Line  one [2J tab ");
    EXPECT_EQ(rig.log[1], "Message " + std::string(kMaxUpdateMessageLength, 'W'));
    EXPECT_EQ(CleanUpdateMessage("Prix: 5 \x80 \xe9t\xe9"),
              "Prix: 5 \x80 \xe9t\xe9"); // code-page letters stay
}

struct SetStrCase {
    const char* name;
    const char* key;
    const char* value;
    const char* saved; // what a second program reads under key afterwards
};

class UpdateSetStr : public testing::TestWithParam<SetStrCase> {};

TEST_P(UpdateSetStr, WritesOnlyAllowedKeysAndSavesAtOnce) {
    UpdateRig rig;
    rig.store.WriteString("Password", "hash");
    rig.store.WriteString("Auto", "1");
    rig.store.WriteString("Minimize", "1");
    rig.store.SaveIfModified(true);
    RunUpdateCommand({"SetStr", GetParam().key, GetParam().value}, rig.store, rig);
    EXPECT_EQ(rig.Saved(GetParam().key), GetParam().saved);
    EXPECT_TRUE(rig.log.empty());
}

INSTANTIATE_TEST_SUITE_P(Update, UpdateSetStr,
                         testing::Values(SetStrCase{"Minimize", "Minimize", "0", "0"},
                                         SetStrCase{"OtherCase", "minimize", "0", "0"},
                                         SetStrCase{"HotKey", "HotKey", "8257", "8257"},
                                         SetStrCase{"SkinName", "SkinName", "Night", "Night"},
                                         SetStrCase{"UniStr", "UniStr", "0123456789", "0123456789"},
                                         SetStrCase{"UniStrEmptied", "UniStr", "", ""},
                                         SetStrCase{"EmptyDeletes", "Minimize", "", "<absent>"},
                                         SetStrCase{"Password", "Password", "", "hash"},
                                         SetStrCase{"Auto", "Auto", "0", "1"},
                                         SetStrCase{"RuleKey", "Users_FL_Count", "0", "<absent>"},
                                         SetStrCase{"EmptyKey", "", "x", "<absent>"},
                                         SetStrCase{"LineBreak", "Minimize", "0\r\nPassword=", "1"},
                                         SetStrCase{"UniStrMalformed", "UniStr", "abc&x=1", "<absent>"},
                                         SetStrCase{"UniStrWithZ", "UniStr", "ZZZZZZZZZZ", "<absent>"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(UpdateSetStr, AlsoWritesWhatTheWindowHadNotSaved) {
    // A save writes the whole store: the window's own pending change is written with it.
    UpdateRig rig;
    rig.store.WriteString("Users_FL_Count", "1");
    ParseUpdateReply("xx*command2=SetStr%compar21=Minimize%compar22=0*", rig.store, rig);
    EXPECT_EQ(rig.Saved("Minimize"), "0");
    EXPECT_EQ(rig.Saved("Users_FL_Count"), "1");
}

TEST(UpdateSetStr, ASaveFailureReachesTheCaller) {
    UpdateRig rig;
    rig.fs.readOnly = true;
    EXPECT_THROW(RunUpdateCommand({"SetStr", "Minimize", "0"}, rig.store, rig), StoreIoError);
}

TEST(UpdateId, IsTenDigitsOrCapitalsUpToY) {
    test::CountingRandom random; // every byte value in turn: the whole range is drawn
    std::set<char> seen;
    for (int i = 0; i < 60; ++i) {
        const std::string id = MakeInstallationId(random);
        ASSERT_TRUE(IsInstallationId(id)) << id;
        seen.insert(id.begin(), id.end());
    }
    EXPECT_EQ(seen.size(), 35u); // 0-9 and A-Y, no Z
    EXPECT_EQ(seen.count('Z'), 0u);

    random.fail = true; // the clock seeds the draw instead
    EXPECT_TRUE(IsInstallationId(MakeInstallationId(random)));

    for (const char* bad : {"", "012345678", "01234567890", "012345678Z", "012345678a", "01234 6789"})
        EXPECT_FALSE(IsInstallationId(bad)) << bad;
}

TEST(UpdateId, IsMadeAndSavedOnceThenKept) {
    UpdateRig rig;
    test::CountingRandom random;
    const std::string id = InstallationId(rig.store, random);
    EXPECT_TRUE(IsInstallationId(id));
    EXPECT_EQ(rig.Saved("UniStr"), id);
    EXPECT_EQ(InstallationId(rig.store, random), id);
}

struct ServerCase {
    const char* name;
    const char* address;
    std::optional<UpdateServer> server;
};

class UpdateServerAddress : public testing::TestWithParam<ServerCase> {};

TEST_P(UpdateServerAddress, IsAPlainBaseAddressOrNothing) {
    EXPECT_EQ(ParseUpdateServer(GetParam().address), GetParam().server);
}

INSTANTIATE_TEST_SUITE_P(
    Update, UpdateServerAddress,
    testing::Values(
        ServerCase{"LoopbackHttp", "http://127.0.0.1:8080", UpdateServer{false, "127.0.0.1", 8080, ""}},
        ServerCase{"Https", "https://updates.example.org",
                   UpdateServer{true, "updates.example.org", 443, ""}},
        ServerCase{"HttpDefaultPort", "HTTP://host/", UpdateServer{false, "host", 80, ""}},
        ServerCase{"Prefix", "http://host:81/mrf/api/", UpdateServer{false, "host", 81, "/mrf/api"}},
        ServerCase{"Ipv6", "http://[::1]:8080", UpdateServer{false, "[::1]", 8080, ""}},
        ServerCase{"Empty", "", std::nullopt}, ServerCase{"Ftp", "ftp://host", std::nullopt},
        ServerCase{"NoHost", "http://", std::nullopt}, ServerCase{"NoScheme", "127.0.0.1:8080", std::nullopt},
        ServerCase{"PortZero", "http://host:0", std::nullopt},
        ServerCase{"PortTooLarge", "http://host:65536", std::nullopt},
        ServerCase{"PortNotNumber", "http://host:80a", std::nullopt},
        ServerCase{"EmptyPort", "http://host:", std::nullopt},
        ServerCase{"UserInfo", "http://user:pw@host", std::nullopt},
        ServerCase{"Query", "http://host/x?a=1", std::nullopt},
        ServerCase{"Fragment", "http://host/#x", std::nullopt},
        ServerCase{"Blank", "http://ho st", std::nullopt},
        ServerCase{"TrailingBlank", "http://host ", std::nullopt},
        ServerCase{"LineBreak", "http://host\r\nX-Evil: 1", std::nullopt},
        ServerCase{"Backslash", "http://host\\x", std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(UpdateServerAddress, AbsentMeansTheHttpsDefaultEmptyMeansOff) {
    auto fallback = UpdateServerFor(std::nullopt);
    ASSERT_TRUE(fallback);
    EXPECT_TRUE(fallback->secure);
    EXPECT_EQ(fallback->port, 443);
    EXPECT_TRUE(fallback->host.ends_with(".example"));
    EXPECT_FALSE(UpdateServerFor(std::string()));
    EXPECT_FALSE(UpdateServerFor(std::string("not an address")));
    EXPECT_EQ(UpdateServerFor(std::string("http://127.0.0.1:9")), (UpdateServer{false, "127.0.0.1", 9, ""}));
}

TEST(UpdateRequest, CarriesProductIdentifierAndVersion) {
    UpdateServer server{false, "127.0.0.1", 8080, "/base"};
    EXPECT_EQ(UpdateRequestPath(server, "0A9Y3B7C2D", "4.2.1.1"),
              "/base/soft/getver.php?pn=Umberlock&un=0A9Y3B7C2D&ver=4.2.1.1");
    // An identifier edited by hand cannot add parameters or break the request line.
    EXPECT_EQ(UpdateRequestPath({}, "a&b c\r\n", "1.0"),
              "/soft/getver.php?pn=Umberlock&un=a%26b%20c%0D%0A&ver=1.0");
}

} // namespace
} // namespace mrf
