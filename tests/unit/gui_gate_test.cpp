// The password prompt's attempt counter and the one gate in front of every prompt.
#include <gtest/gtest.h>

#include "core/gui/option_keys.h"
#include "gui_test_support.h"

namespace mrf {
namespace {

using test::GuiRig;

struct SessionCase {
    const char* name;
    std::vector<std::string> entries;
    std::vector<PromptStep> steps;
};

class GuiPromptSession : public testing::TestWithParam<SessionCase> {};

TEST_P(GuiPromptSession, GivesUpAfterTheThirdWrongEntry) {
    ReferencePbkdf2 pbkdf2;
    test::CountingRandom random;
    PasswordHasher hasher(pbkdf2, random, 1000);
    PromptSession session("Secret", hasher);
    session.Activate();
    std::vector<PromptStep> steps;
    for (const auto& typed : GetParam().entries)
        steps.push_back(session.OnOk(typed));
    EXPECT_EQ(steps, GetParam().steps);
    EXPECT_EQ(session.Accepted(), !steps.empty() && steps.back() == PromptStep::Accept);
}

using enum PromptStep;
INSTANTIATE_TEST_SUITE_P(
    Gui, GuiPromptSession,
    testing::Values(SessionCase{"RightAtOnce", {"secret"}, {Accept}},
                    SessionCase{
                        "RightAfterTwoWrong", {"a", "b", "SECRET"}, {WrongTryAgain, WrongTryAgain, Accept}},
                    SessionCase{"ThreeWrong", {"a", "b", "c"}, {WrongTryAgain, WrongTryAgain, WrongGiveUp}},
                    SessionCase{"EmptyIsWrong", {""}, {WrongTryAgain}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(GuiPromptSession, ActivationRestartsTheCountAndCancelUndoesAcceptance) {
    ReferencePbkdf2 pbkdf2;
    test::CountingRandom random;
    PasswordHasher hasher(pbkdf2, random, 1000);
    PromptSession session("pw", hasher);
    session.Activate();
    session.OnOk("x");
    session.OnOk("y");
    session.Activate();
    EXPECT_EQ(session.OnOk("z"), PromptStep::WrongTryAgain);
    EXPECT_EQ(session.OnOk("pw"), PromptStep::Accept);
    session.OnCancel();
    EXPECT_FALSE(session.Accepted());
    EXPECT_EQ(PromptSession::WrongPasswordMessage(), (UserMessage{"The Password is wrong !", "Error"}));
}

TEST(GuiGate, NoPromptWithoutPasswordAndBusyWhileOneIsOpen) {
    GuiRig rig;
    EXPECT_EQ(rig.gate.AskAdminPassword(), GateResult::NoneStored);
    rig.store().WriteString(keys::kPassword, "pw");
    rig.state.passwordPromptOpen = true;
    EXPECT_EQ(rig.gate.AskAdminPassword(), GateResult::Busy);
    EXPECT_EQ(rig.prompt.shown, 0);
}

TEST(GuiGate, AcceptsAHashedOrPlainPasswordAndKeepsTheFlagOnlyWhileThePromptIsUp) {
    for (bool hashed : {false, true}) {
        GuiRig rig;
        rig.store().WriteString(keys::kPassword, hashed ? *rig.hasher.Hash("Pw") : "Pw");
        rig.prompt.entries = {"nope", "pW"};
        EXPECT_EQ(rig.gate.AskAdminPassword(), GateResult::Accepted) << hashed;
        EXPECT_TRUE(rig.prompt.sawFlag);
        EXPECT_FALSE(rig.state.passwordPromptOpen);
        rig.prompt.entries = {"a", "b", "c", "pw"};
        EXPECT_EQ(rig.gate.AskAdminPassword(), GateResult::Refused) << hashed;
        EXPECT_EQ(rig.prompt.entries.size(), 1u) << "the prompt closed after the third wrong entry";
        rig.prompt.entries = {};
        EXPECT_EQ(rig.gate.AskAdminPassword(), GateResult::Refused) << "cancel";
    }
}

// A dialog that closes with OK without a confirmed entry.
class CarelessPrompt : public PasswordPrompt {
public:
    bool Execute(PromptSession&) override { return true; }
};

TEST(GuiGate, OnlyAConfirmedEntryOpensTheGate) {
    test::StoreFixture store(test::Settings{{"Password", "pw"}});
    MainState state;
    CarelessPrompt prompt;
    ReferencePbkdf2 pbkdf2;
    test::CountingRandom random;
    PasswordHasher hasher(pbkdf2, random, 1000);
    PasswordGate gate(store.store(), state, prompt, hasher);
    EXPECT_EQ(gate.AskAdminPassword(), GateResult::Refused);
}

TEST(GuiGate, ClearsTheFlagWhenThePromptThrows) {
    GuiRig rig(test::Settings{{"Password", "pw"}});
    rig.prompt.throwOnShow = true;
    EXPECT_THROW(rig.gate.AskAdminPassword(), std::runtime_error);
    EXPECT_FALSE(rig.state.passwordPromptOpen);
}

} // namespace
} // namespace mrf
