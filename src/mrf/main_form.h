#pragma once
// The main window TMainForm: the frame only (window class, menu, tool bar, tabs, status bar,
// layout, message loop, routing, idle update). The pages, the tray icon, the placement and the
// single instance live in their own files; every decision lives in the core.
//
// A logon run that ends builds nothing of it; a run that waits in the tray creates the bare window
// (tray icon, hot key, session notices, a second start's arguments) and the rest when it is first
// shown.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "core/engine/bridge.h"
#include "core/gui/main_state.h"
#include "core/gui/options.h"
#include "core/gui/password_gate.h"
#include "core/gui/password_hash.h"
#include "core/gui/protection.h"
#include "core/gui/startup.h"
#include "core/store/encriptor.h"
#include "mrf/command_table.h"
#include "mrf/folders_page.h"
#include "mrf/options_page.h"
#include "mrf/skin_engine.h"
#include "mrf/update_checker.h"
#include "mrf/tray_icon.h"
#include "mrf/user_groups_page.h"
#include "ports/system.h"
#include "win32/account_lookup.h"
#include "win32/handles.h"
#include "win32/registry.h"

namespace mrf::ui {

// The window class, which tests look for.
inline constexpr const char* kMainWindowClass = "TMainForm";

class TMainForm final : private StartupHost,
                        private WindowHost,
                        private PasswordPrompt,
                        private RulesEngine,
                        private CommandTarget,
                        private PageHost,
                        private UpdateHost {
public:
    // windowCreated: told the window once it exists (the single instance publishes it).
    TMainForm(TEncriptor& store, EngineLoader& loader, Pbkdf2& pbkdf2, RandomSource& random,
              SystemPort& system, std::function<void(HWND)> windowCreated);
    ~TMainForm() override;
    TMainForm(const TMainForm&) = delete;
    TMainForm& operator=(const TMainForm&) = delete;

    // FormCreate: the rule key and the engine. The window itself comes when something needs it.
    void FormCreate();
    void StartUp(const std::string& argument);
    // The message loop, unless the start-up has ended the program; returns the exit code.
    int Run();
    // The end of the program: FormDestroy, and the window destroyed when there is one.
    void Destroy();
    HWND Window() const { return hwnd_; }

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp);
    // The bare top-level window; false when it cannot be created.
    bool EnsureWindow();
    // Menu, tool bar, tabs, pages and status bar, filled from the store; once.
    void BuildFrame();
    void BuildToolBar(HINSTANCE instance);
    void BuildTabs(HINSTANCE instance);
    void FormDestroy();
    void Layout();
    void SelectPage(Page& page);
    Page& CurrentPage();
    void OnCommand(unsigned id);
    void OnNotify(NMHDR* header);
    void OnIdle();
    WindowFacts Facts() const;
    void RestoreFocus();
    void SetStatusText(const std::string& text);
    void ShowResult(const CommandResult& result);
    bool Save(); // false when the file could not be written
    bool QueryEndSession();
    SaveAnswer AskToSave();
    void FormCloseQuery();
    void RegisterTheHotKey(uint16_t code);
    void CmdLineReceived();
    // The user names of the users page and the selector, asked afresh each time.
    UserNames CollectNames();

    // Messages of one user action are gathered and each told once when it ends: a malformed value
    // is met by the list's filling, Start's refill and the engine bridge alike.
    class Action {
    public:
        explicit Action(TMainForm& form) : form_(form) { ++form_.actionDepth_; }
        ~Action();
        Action(const Action&) = delete;
        Action& operator=(const Action&) = delete;

    private:
        TMainForm& form_;
    };
    // prevails: replaces an earlier message of the action about the same setting.
    void Tell(const UserMessage& message, bool prevails);

    // CommandTarget
    void cmdSaveExecute() override { Save(); }
    void cmdMinimizeExecute() override { tray_.HideToTray(); }
    void cmdExitExecute() override { Terminate(); }
    void cmdPasswordExecute() override;
    void cmdAddFolderExecute() override;
    void cmdRemoveFExecute() override;
    void DirListDblClick() override;
    void cmdGoExecute() override { ShowResult(protection_.Start()); }
    void cmdPauseExecute() override { ShowResult(protection_.Suspend()); }
    void cmdStopExecute() override { ShowResult(protection_.Stop()); }
    void cmdProOptExecute() override;
    void cmdHelpFileExecute() override;
    void Settings1Click() override { tray_.ShowSettingsWindow(); }
    void Pause1Click() override;
    void Stop1Click() override;
    void Exit2Click() override;
    void cmdWebPageExecute() override;
    void cmdSupportExecute() override;
    void Changeskin1Click() override;
    void About1Click() override;

    // UpdateHost: the reply's boxes belong to the main window and carry the application's title.
    void ShowMessage(const std::string& text) override;
    bool AskYesNo(const std::string& text) override;
    void OpenWebSite() override;
    // LoadSkins, once start-up has asked for skins and a window is about to show.
    void EnsureSkins();

    // PageHost
    HWND Frame() const override { return hwnd_; }
    void Notify(const UserMessage& message) override { Tell(message, false); }
    void RunCommand(unsigned id) override { OnCommand(id); }

    // StartupHost
    bool IsNtFamily() override;
    std::string ProgramPath() override;
    void EnablePrivileges() override;
    void GrantEveryoneAccess(const std::string& path) override;
    bool RegisterSessionNotify() override;
    void StartSkins() override { skinsStarted_ = true; }
    void InstallSessionHook() override { sessionHook_ = true; }
    void ApplyHotKey(uint16_t code) override { RegisterTheHotKey(code); }
    void RefreshPages() override;
    void Terminate() override;
    void StartProgram(const std::string& path, const std::string& arguments) override;
    bool IsElevated() override { return system_.IsElevated(); }
    void StartProgramAsAdministrator(const std::string& path, const std::string& arguments) override;
    bool FileExists(const std::string& path) override { return system_.FileExists(path); }
    void Wait(unsigned ms) override { ::Sleep(ms); }
    void SetHelpFile(const std::string& path) override { helpFile_ = path; }
    void EnableUpdateTimer() override { updates_.EnableTimer(hwnd_); }

    // WindowHost
    void SetTrayIcon(bool on) override;
    void SetShowMainWindow(bool on) override { showMainWindow_ = on; }
    void ShowMainWindow() override;
    void HideMainWindow() override;
    void RestoreAndBringToFront() override;
    void ActivateApplication() override;
    void StartFindShellTimer() override;
    void StopFindShellTimer() override;
    void ShowMessage(const UserMessage& message) override { Tell(message, true); }

    // PasswordPrompt
    bool Execute(PromptSession& session) override;

    // RulesEngine
    std::optional<ApplyError> ApplyRules(bool enable, const TEncriptor& store) override {
        return bridge_.ApplyRules(enable, store);
    }

    TEncriptor& store_;
    RandomSource& random_;
    SystemPort& system_;
    std::function<void(HWND)> windowCreated_;
    MainState state_;
    std::string loggedOnUser_;
    win32::Win32Registry registry_;
    win32::Win32AccountLookup accounts_;
    EngineBridge bridge_;
    PasswordHasher hasher_;
    PasswordGate gate_;
    Protection protection_;
    TrayControl tray_;
    Startup startup_;

    FoldersPage folders_;
    UserGroupsPage groups_;
    OptionsPage options_;
    Page* const pages_[3]; // in the order of the tabs

    HWND hwnd_ = nullptr;
    HWND toolbar_ = nullptr, tabs_ = nullptr, status_ = nullptr, selUser_ = nullptr, selUserLabel_ = nullptr;
    HWND focus_ = nullptr; // the control that had the focus when the window was last active
    bool built_ = false;
    bool comInitialised_ = false;
    bool ended_ = false;
    TrayIcon trayIcon_;
    HACCEL accel_ = nullptr; // loaded with the module, freed with it
    win32::unique_himagelist images_;
    win32::unique_hicon icon_, smallIcon_;
    bool hotKeyRegistered_ = false;
    bool showMainWindow_ = false;
    bool placementRestored_ = false;
    bool sessionHook_ = false;
    std::string helpFile_;
    std::vector<std::vector<std::string>> receivedCmdLines_;
    int actionDepth_ = 0;
    struct Told {
        UserMessage message;
        std::string about; // the setting, or the text when it names none
    };
    std::vector<Told> toTell_;
    bool skinsStarted_ = false;
    SkinEngine skins_;
    UpdateChecker updates_{store_, random_, *this};
};

} // namespace mrf::ui
