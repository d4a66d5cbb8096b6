#pragma once
// The main window TMainForm: it wires the window, the tray icon, the hot key and the dialogs to
// the decisions of the core.
#include <windows.h>

#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

#include "core/engine/bridge.h"
#include "core/gui/folder_list.h"
#include "core/gui/main_state.h"
#include "core/gui/options.h"
#include "core/gui/password_gate.h"
#include "core/gui/password_hash.h"
#include "core/gui/protection.h"
#include "core/gui/startup.h"
#include "core/store/encriptor.h"

namespace mrf::ui {

// The window class, which tests look for.
inline constexpr const char* kMainWindowClass = "TMainForm";
// WM_COPYDATA tag of a second start's arguments.
inline constexpr ULONG_PTR kCmdLineTag = 0x4D524643; // "MRFC"

class TMainForm : private StartupHost, private WindowHost, private PasswordPrompt, private RulesEngine {
public:
    TMainForm(TEncriptor& store, EngineLoader& loader, Pbkdf2& pbkdf2, RandomSource& random);
    ~TMainForm() override;
    TMainForm(const TMainForm&) = delete;
    TMainForm& operator=(const TMainForm&) = delete;

    // Creates the window (hidden) and runs FormCreate.
    bool Create();
    HWND Handle() const { return hwnd_; }
    void StartUp(const std::string& argument);
    // The message loop; returns the exit code.
    int Run();

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    static INT_PTR CALLBACK PageProc(HWND page, UINT msg, WPARAM wp, LPARAM lp);
    LRESULT Handle(UINT msg, WPARAM wp, LPARAM lp);
    void OnCreate();
    void FormCreate();
    void FormDestroy();
    void Layout();
    void SelectPage(int index);
    void OnCommand(unsigned id);
    void OnNotify(NMHDR* header);
    void OnPageCommand(unsigned id, unsigned code);
    void OnTrayMessage(LPARAM lp);
    void OnIdle();
    void ShowResult(const CommandResult& result);
    void SetStatusText(const std::string& text);

    // Commands.
    bool cmdSaveExecute(); // false when the file could not be written
    void cmdPasswordExecute();
    void cmdHelpFileExecute();
    void FormCloseQuery();
    bool CallSessionNotification(const char* function, bool withFlags);
    // WM_QUERYENDSESSION: whether the session may end.
    bool QueryEndSession();
    // "Do you want to save modifications ?"
    SaveAnswer AskToSave();
    void FillFolderList();

    // The folder list.
    void FillFolderItem(int row, int n, bool newRow);
    void ShowFolderRow(int row, const FolderRow& shown, bool newRow);
    int SelectedRow() const;
    void OnDirListNotify(NMHDR* header);
    void cmdAddFolderExecute();
    void DirListDblClick(); // also Edit Folder and Enter
    void cmdRemoveFExecute();
    void DirListChange(const NMLISTVIEW& change);
    void PopupMenu2();
    void FillOptionControls();

    // Tray icon, hot key, placement.
    void TrayIcon(bool on);
    void RegisterTheHotKey(uint16_t code);
    void RestorePlacement();
    void SavePlacement();

    // StartupHost
    bool IsNtFamily() override;
    std::string ProgramPath() override;
    void EnablePrivileges() override;
    void GrantEveryoneAccess(const std::string& path) override;
    bool RegisterSessionNotify() override;
    void StartSkins() override {}
    void InstallSessionHook() override { sessionHook_ = true; }
    void ApplyHotKey(uint16_t code) override { RegisterTheHotKey(code); }
    void RefreshPages() override;
    void Terminate() override;
    void StartProgram(const std::string& path, const std::string& arguments) override;
    bool IsElevated() override;
    void StartProgramAsAdministrator(const std::string& path, const std::string& arguments) override;
    bool FileExists(const std::string& path) override;
    void Wait(unsigned ms) override { ::Sleep(ms); }
    void SetHelpFile(const std::string& path) override { helpFile_ = path; }
    void EnableUpdateTimer() override {}

    // WindowHost
    void SetTrayIcon(bool on) override { TrayIcon(on); }
    void SetShowMainWindow(bool on) override { showMainWindow_ = on; }
    void ShowMainWindow() override;
    void HideMainWindow() override { ::ShowWindow(hwnd_, SW_HIDE); }
    void RestoreAndBringToFront() override;
    void ActivateApplication() override { ::SetActiveWindow(hwnd_); }
    void StartFindShellTimer() override;
    void StopFindShellTimer() override;
    void ShowMessage(const UserMessage& message) override;

    // PasswordPrompt
    bool Execute(PromptSession& session) override;

    // RulesEngine
    std::optional<ApplyError> ApplyRules(bool enable, const TEncriptor& store) override {
        return bridge_.ApplyRules(enable, store);
    }

    TEncriptor& store_;
    MainState state_;
    EngineBridge bridge_;
    PasswordHasher hasher_;
    PasswordGate gate_;
    Protection protection_;
    TrayControl tray_;
    Startup startup_;

    HWND hwnd_ = nullptr;
    HWND toolbar_ = nullptr, tabs_ = nullptr, status_ = nullptr, selUser_ = nullptr, selUserLabel_ = nullptr;
    HWND pages_[3] = {};
    HWND dirList_ = nullptr;
    bool listFilling_ = false; // rows are being filled from the store: check-box changes are not the user's
    HMENU trayMenu_ = nullptr;
    HACCEL accel_ = nullptr;
    HIMAGELIST images_ = nullptr;
    HICON icon_ = nullptr, smallIcon_ = nullptr;
    UINT taskbarCreated_ = 0;
    bool trayIconOn_ = false;
    bool hotKeyRegistered_ = false;
    bool showMainWindow_ = false;
    bool placementRestored_ = false;
    bool sessionHook_ = false;
    std::string helpFile_;
    std::vector<std::vector<std::string>> receivedCmdLines_;
};

} // namespace mrf::ui
