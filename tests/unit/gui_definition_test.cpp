// The administrator password's definition: placeholder, OK check, what is stored.
#include <gtest/gtest.h>

#include "core/gui/option_keys.h"
#include "core/gui/password_definition.h"
#include "gui_test_support.h"

namespace mrf {
namespace {

using test::GuiRig;

TEST(GuiPasswordDefinition, NeverShowsTheStoredPassword) {
    GuiRig rig;
    EXPECT_EQ(InitialPasswordFields(rig.store()), (PasswordFields{"", ""}));
    rig.store().WriteString(keys::kPassword, "Secret");
    PasswordFields fields = InitialPasswordFields(rig.store());
    EXPECT_EQ(fields.enter, kPasswordPlaceholder);
    EXPECT_EQ(fields.confirm, "");
    EXPECT_EQ(fields.enter.find("Secret"), std::string::npos);
}

TEST(GuiPasswordDefinition, OkCheckComparesWithCaseButWithoutEndBlanks) {
    const UserMessage confirm{"Confirm the password !", "Umberlock"};
    struct {
        PasswordFields fields;
        bool passes;
    } cases[] = {
        {{"abc", "abc"}, true},
        {{"abc", "ABC"}, false},
        {{" abc", "abc  "}, true},
        {{"", ""}, true},
        {{std::string(kPasswordPlaceholder), ""}, false}, // OK without retyping
        {{"abc", ""}, false},
    };
    for (const auto& c : cases) {
        auto message = CheckPasswordFields(c.fields);
        EXPECT_EQ(!message, c.passes) << c.fields.enter << "|" << c.fields.confirm;
        if (message) {
            EXPECT_EQ(*message, confirm);
        }
    }
}

TEST(GuiPasswordDefinition, StoresAHashThatThePromptAccepts) {
    GuiRig rig(test::Settings{{"Password", "old"}});
    ASSERT_FALSE(CommitPassword(rig.store(), rig.state, rig.hasher, {"  New pw ", "  New pw "}));
    std::string stored = rig.store().ReadString(keys::kPassword, "");
    EXPECT_TRUE(IsHashedPassword(stored));
    EXPECT_TRUE(rig.state.settingsModified);
    rig.prompt.entries = {"old", "new PW"};
    EXPECT_EQ(rig.gate.AskAdminPassword(), GateResult::Accepted);
    EXPECT_EQ(rig.prompt.entries.size(), 0u) << "the older plain password no longer opens it";
}

TEST(GuiPasswordDefinition, BlankFieldsRemoveAndThePlaceholderKeeps) {
    for (const char* blank : {"", "   "}) {
        GuiRig rig(test::Settings{{"Password", "old"}});
        ASSERT_FALSE(CommitPassword(rig.store(), rig.state, rig.hasher, {blank, blank}));
        EXPECT_FALSE(rig.store().KeyExists(keys::kPassword));
        EXPECT_EQ(rig.gate.AskAdminPassword(), GateResult::NoneStored);
    }
    GuiRig rig(test::Settings{{"Password", "old"}});
    const std::string placeholder(kPasswordPlaceholder);
    ASSERT_FALSE(CommitPassword(rig.store(), rig.state, rig.hasher, {placeholder, placeholder}));
    EXPECT_EQ(rig.store().ReadString(keys::kPassword, ""), "old");
    EXPECT_FALSE(rig.state.settingsModified);
}

TEST(GuiPasswordDefinition, NoSaltKeepsThePreviousPassword) {
    GuiRig rig(test::Settings{{"Password", "old"}});
    rig.random.fail = true;
    auto message = CommitPassword(rig.store(), rig.state, rig.hasher, {"new", "new"});
    ASSERT_TRUE(message);
    EXPECT_EQ(message->caption, "Umberlock");
    EXPECT_EQ(rig.store().ReadString(keys::kPassword, ""), "old");
    EXPECT_FALSE(rig.state.settingsModified);
}

} // namespace
} // namespace mrf
