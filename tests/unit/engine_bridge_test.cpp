#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/engine/bridge.h"
#include "core/engine/short_string.h"
#include "engine_test_support.h"

namespace mrf {
namespace {

using test::StoreFixture;

// Records every call the bridge makes, load and unload included, in one list.
class FakeEngine : public EngineLoader {
public:
    bool present = true;
    bool driver = true;
    std::vector<std::string> calls;

    std::unique_ptr<EngineLibrary> Load(EngineLoadError& error) override {
        if (!present) {
            error = {"LoadLibraryExA", "vexcore.dll", 126};
            return nullptr;
        }
        calls.push_back("load");
        return std::make_unique<Library>(*this);
    }

private:
    class Library : public EngineLibrary {
    public:
        explicit Library(FakeEngine& owner) : owner_(owner) {}
        ~Library() override { owner_.calls.push_back("unload"); }
        bool CheckDriver() override {
            owner_.calls.push_back("CheckDriver");
            return owner_.driver;
        }
        void SetSecurity(bool enabled) override {
            owner_.calls.push_back(enabled ? "SetSecurity(1)" : "SetSecurity(0)");
        }
        void AddEntry(const EngineEntry& e) override {
            owner_.calls.push_back("AddEntry(" + std::to_string(e.mode) + "," + e.path + "," +
                                   e.excludeFiles + "," + e.processes + "," + e.excludeProcesses + ")");
        }

    private:
        FakeEngine& owner_;
    };
};

using Calls = std::vector<std::string>;

const test::Settings kRules = {{"Staff_FL_Count", "1"},     {"Staff_FL_0_folder", "C:\\Data"},
                               {"Staff_FL_0_mode", "2"},    {"Staff_FL_0_mask", "*.doc"},
                               {"Staff_NoSystemTime", "0"}, {"alice_FL_Count", "x"}};

TEST(EngineBridge, StartSendsOffThenTheCompiledEntriesThenOn) {
    FakeEngine engine;
    StoreFixture fx(kRules);
    EngineBridge bridge(engine, "C:\\App\\");
    ASSERT_TRUE(bridge.InitEngine("Staff", "mrf.exe;ulksrv.exe"));
    EXPECT_FALSE(bridge.ApplyRules(true, fx.store()));
    EXPECT_EQ(engine.calls,
              (Calls{"load", "CheckDriver", "SetSecurity(0)",
                     "AddEntry(2,C:\\Data\\*.doc,ExcludeFiles,*,mrf.exe;ulksrv.exe)",
                     "AddEntry(10,C:\\Data,ExcludeFiles,*,mrf.exe;ulksrv.exe)",
                     "AddEntry(1,C:\\App\\*,ExcludeFiles,*,mrf.exe;ulksrv.exe)", "SetSecurity(1)"}));
}

TEST(EngineBridge, StopMakesExactlyOneCall) {
    FakeEngine engine;
    StoreFixture fx(kRules);
    EngineBridge bridge(engine, "C:\\App\\");
    ASSERT_TRUE(bridge.InitEngine("Staff", "mrf.exe;ulksrv.exe"));
    engine.calls.clear();
    EXPECT_FALSE(bridge.ApplyRules(false, fx.store()));
    EXPECT_EQ(engine.calls, Calls{"SetSecurity(0)"});
}

TEST(EngineBridge, MalformedValueLeavesTheEngineUntouchedAndIsReported) {
    FakeEngine engine;
    StoreFixture fx(kRules);
    EngineBridge bridge(engine, "C:\\App\\");
    ASSERT_TRUE(bridge.InitEngine("alice", "mrf.exe;ulksrv.exe"));
    engine.calls.clear();
    auto error = bridge.ApplyRules(true, fx.store());
    ASSERT_TRUE(error);
    EXPECT_EQ(error->key, "alice_FL_Count");
    EXPECT_EQ(error->value, "x");
    EXPECT_NE(error->Message().find("alice_FL_Count"), std::string::npos);
    EXPECT_TRUE(engine.calls.empty());
    // Stop still works: it compiles nothing.
    EXPECT_FALSE(bridge.ApplyRules(false, fx.store()));
    EXPECT_EQ(engine.calls, Calls{"SetSecurity(0)"});
}

TEST(EngineBridge, WithoutLibraryNothingIsCalled) {
    FakeEngine engine;
    engine.present = false;
    StoreFixture fx(kRules);
    EngineBridge bridge(engine, "C:\\App\\");
    EXPECT_FALSE(bridge.InitEngine("Staff", "mrf.exe;ulksrv.exe"));
    EXPECT_EQ(bridge.LoadError().api, "LoadLibraryExA");
    EXPECT_FALSE(bridge.ApplyRules(true, fx.store()));
    EXPECT_FALSE(bridge.ApplyRules(false, fx.store()));
    bridge.FreeEngine();
    EXPECT_TRUE(engine.calls.empty());
}

TEST(EngineBridge, DriverMissingUnloadsAndLaterCallsDoNothing) {
    FakeEngine engine;
    engine.driver = false;
    StoreFixture fx(kRules);
    EngineBridge bridge(engine, "C:\\App\\");
    EXPECT_FALSE(bridge.InitEngine("Staff", "mrf.exe;ulksrv.exe"));
    EXPECT_FALSE(bridge.Loaded());
    EXPECT_FALSE(bridge.ApplyRules(true, fx.store()));
    EXPECT_EQ(engine.calls, (Calls{"load", "CheckDriver", "unload"}));
}

TEST(EngineBridge, FreeEngineUnloadsWithoutSwitchingOff) {
    FakeEngine engine;
    EngineBridge bridge(engine, "C:\\App\\");
    ASSERT_TRUE(bridge.InitEngine("Staff", "mrf.exe;ulksrv.exe"));
    bridge.FreeEngine();
    EXPECT_FALSE(bridge.Loaded());
    EXPECT_EQ(engine.calls, (Calls{"load", "CheckDriver", "unload"}));
}

TEST(ShortString, CarriesUpTo255CharactersOf8BitText) {
    for (size_t length : {0u, 1u, 255u, 256u, 300u}) {
        std::string text(length, '\xE9');
        const ShortString s = ToShortString(text);
        const size_t kept = std::min<size_t>(length, 255);
        EXPECT_EQ(s[0], kept) << length;
        EXPECT_EQ(FromShortString(s.data()), text.substr(0, kept)) << length;
    }
}

} // namespace
} // namespace mrf
