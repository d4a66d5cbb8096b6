#pragma once
// Fakes for the GUI core's ports: a host that logs every effect in order, a prompt that types a
// scripted answer, an engine that records its calls.
#include <algorithm>
#include <deque>
#include <stdexcept>
#include <optional>
#include <string>
#include <vector>

#include "core/gui/options.h"
#include "core/gui/password_gate.h"
#include "core/gui/protection.h"
#include "core/gui/sha256.h"
#include "core/gui/startup.h"
#include "engine_test_support.h"

namespace mrf::test {

class CountingRandom : public RandomSource {
public:
    bool fail = false;
    bool Fill(std::span<uint8_t> out) override {
        if (fail)
            return false;
        for (auto& b : out)
            b = next++;
        return true;
    }
    uint8_t next = 1;
};

class FailingPbkdf2 : public Pbkdf2 {
public:
    int calls = 0;
    bool Derive(std::string_view, std::span<const uint8_t>, uint32_t, std::span<uint8_t>) override {
        ++calls;
        return false;
    }
};

// Records the engine calls as "+" (rules on) and "-" (off); fails Start with a malformed setting
// when told to.
class FakeEngine : public RulesEngine {
public:
    std::string calls;
    std::optional<ApplyError> failEnable;
    std::vector<std::string>* log = nullptr; // shared with the host, to see the calls in order
    std::optional<ApplyError> ApplyRules(bool enable, const TEncriptor&) override {
        if (enable && failEnable)
            return failEnable;
        calls += enable ? "+" : "-";
        if (log)
            log->push_back(enable ? "Engine on" : "Engine off");
        return std::nullopt;
    }
};

// Types the scripted entries one after another, as the prompt form would, until the session accepts
// or gives up; an exhausted script cancels.
class ScriptedPrompt : public PasswordPrompt {
public:
    std::deque<std::string> entries;
    std::vector<std::string>* log = nullptr; // shared with the host, to see the prompt in order
    MainState* state = nullptr;
    int shown = 0;
    bool sawFlag = false; // PasswordPromptOpen was set while the prompt was up
    bool throwOnShow = false;

    bool Execute(PromptSession& session) override {
        ++shown;
        if (log)
            log->push_back("Prompt");
        if (state)
            sawFlag = state->passwordPromptOpen;
        if (throwOnShow)
            throw std::runtime_error("prompt failed");
        session.Activate();
        while (!entries.empty()) {
            std::string typed = entries.front();
            entries.pop_front();
            PromptStep step = session.OnOk(typed);
            if (step == PromptStep::Accept)
                return true;
            if (step == PromptStep::WrongGiveUp)
                return false;
        }
        session.OnCancel();
        return false;
    }
};

class RecordingHost : public StartupHost, public WindowHost {
public:
    std::vector<std::string> log;
    bool nt = true;
    bool registers = true;
    bool elevated = true;
    std::vector<std::string> files; // what FileExists finds

    bool IsNtFamily() override { return nt; }
    std::string ProgramPath() override { return "C:\\Prog\\mrf.exe"; }
    void EnablePrivileges() override { log.push_back("EnablePrivileges"); }
    void GrantEveryoneAccess(const std::string& path) override { log.push_back("Grant " + path); }
    bool RegisterSessionNotify() override {
        log.push_back("RegisterSessionNotify");
        return registers;
    }
    void StartSkins() override { log.push_back("StartSkins"); }
    void InstallSessionHook() override { log.push_back("InstallSessionHook"); }
    void ApplyHotKey(uint16_t code) override { log.push_back("ApplyHotKey " + std::to_string(code)); }
    void RefreshPages() override { log.push_back("RefreshPages"); }
    void Terminate() override { log.push_back("Terminate"); }
    void StartProgram(const std::string& path, const std::string& arguments) override {
        log.push_back("StartProgram " + path + (arguments.empty() ? "" : " " + arguments));
    }
    bool IsElevated() override { return elevated; }
    void StartProgramAsAdministrator(const std::string& path, const std::string& arguments) override {
        log.push_back("StartProgramAsAdministrator " + path + " " + arguments);
    }
    bool FileExists(const std::string& path) override {
        return std::find(files.begin(), files.end(), path) != files.end();
    }
    void Wait(unsigned ms) override { log.push_back("Wait " + std::to_string(ms)); }
    void SetHelpFile(const std::string& path) override { log.push_back("SetHelpFile " + path); }
    void EnableUpdateTimer() override { log.push_back("EnableUpdateTimer"); }

    void SetTrayIcon(bool on) override { log.push_back(on ? "TrayIcon on" : "TrayIcon off"); }
    void SetShowMainWindow(bool on) override {
        log.push_back(on ? "ShowMainWindow on" : "ShowMainWindow off");
    }
    void ShowMainWindow() override { log.push_back("ShowWindow"); }
    void HideMainWindow() override { log.push_back("HideWindow"); }
    void RestoreAndBringToFront() override { log.push_back("RestoreAndBringToFront"); }
    void ActivateApplication() override { log.push_back("ActivateApplication"); }
    void StartFindShellTimer() override { log.push_back("StartFindShell"); }
    void StopFindShellTimer() override { log.push_back("StopFindShell"); }
    void ShowMessage(const UserMessage& message) override {
        log.push_back("Message " + message.caption + ": " + message.text);
    }

    bool Logged(const std::string& entry) const {
        return std::find(log.begin(), log.end(), entry) != log.end();
    }
};

// The whole GUI core over fakes, wired the way the program wires it.
struct GuiRig {
    explicit GuiRig(const Settings& settings = {}) : storeFixture(settings) {
        prompt.log = &host.log;
        engine.log = &host.log;
        prompt.state = &state;
    }
    TEncriptor& store() { return storeFixture.store(); }

    StoreFixture storeFixture;
    MainState state;
    RecordingHost host;
    ScriptedPrompt prompt;
    FakeEngine engine;
    ReferencePbkdf2 pbkdf2;
    CountingRandom random;
    PasswordHasher hasher{pbkdf2, random, 1000};
    PasswordGate gate{store(), state, prompt, hasher};
    int folderFills = 0;
    Protection protection{store(), state, engine, gate, [this] { ++folderFills; }};
    TrayControl tray{host, state, gate};
    Startup startup{host, host, store(), state, gate, protection, tray};
};

} // namespace mrf::test
