#include "mrf/main_form.h"

#include <commctrl.h>
#include <objbase.h>

#include "core/engine/compile.h"
#include "core/engine/rule_key.h"
#include "core/gui/about.h"
#include "core/gui/folder_list.h"
#include "core/gui/skins.h"
#include "core/gui/option_keys.h"
#include "core/gui/password_definition.h"
#include "core/gui/placement.h"
#include "core/text/translate.h"
#include "core/users/local_users.h"
#include "mrf/about_dialogs.h"
#include "mrf/message.h"
#include "mrf/password_dialogs.h"
#include "mrf/resource.h"
#include "mrf/single_instance.h"
#include "mrf/ui_text.h"
#include "mrf/window_placement.h"
#include "win32/settings_store.h"
#include "win32/user_name.h"
#include "win32/version.h"
#include "win32/win32_file_system.h"

namespace mrf::ui {
namespace {

constexpr UINT kCmdLineMessage = WM_APP + 2;
constexpr int kHotKeyId = 1;
constexpr UINT kSessionChange = 0x02B1; // WM_WTSSESSION_CHANGE
constexpr SIZE kClientSize{572, 476};
constexpr int kSelectorWidth = 250; // the user selector's room at the left of the tool bar

// Tool-bar images, in the strip's order.
enum Image { ImgSave, ImgAdd, ImgDelete, ImgPassword, ImgStart, ImgSuspend };

} // namespace

TMainForm::TMainForm(TEncriptor& store, EngineLoader& loader, Pbkdf2& pbkdf2, RandomSource& random,
                     SystemPort& system, std::function<void(HWND)> windowCreated)
    : store_(store), random_(random), system_(system), windowCreated_(std::move(windowCreated)),
      bridge_(loader, win32::ProgramFolder()), hasher_(pbkdf2, random), gate_(store_, state_, *this, hasher_),
      protection_(store_, state_, *this, gate_,
                  [this] {
                      if (built_)
                          folders_.Fill();
                  }),
      tray_(*this, state_, gate_), startup_(*this, *this, store_, state_, gate_, protection_, tray_),
      folders_(*this, store_, state_), groups_(
                                           *this, store_, state_, [this] { return CollectNames(); },
                                           [this] {
                                               if (built_)
                                                   folders_.Fill();
                                           }),
      options_(*this, store_, state_), pages_{&folders_, &groups_, &options_} {}

TMainForm::~TMainForm() {
    if (comInitialised_)
        ::CoUninitialize();
}

void TMainForm::FormCreate() {
    // The rule key of the user who runs the program; the list shows it first.
    const std::string user = win32::LoggedOnUserName();
    loggedOnUser_ = user;
    const std::string ruleKey = RuleKeyFor(store_, user);
    state_.displayedRuleKey = ruleKey;
    const std::string exe = ProgramPath();
    bridge_.InitEngine(ruleKey, DefaultProcessList(exe.substr(exe.find_last_of('\\') + 1)));
}

void TMainForm::StartUp(const std::string& argument) {
    Action action(*this);
    startup_.StartUp(argument);
}

bool TMainForm::EnsureWindow() {
    if (hwnd_)
        return true;
    EnsureSkins();
    HINSTANCE instance = ::GetModuleHandleA(nullptr);
    icon_.reset(static_cast<HICON>(::LoadImageA(instance, MAKEINTRESOURCEA(IDI_MRF), IMAGE_ICON, 32, 32, 0)));
    smallIcon_.reset(
        static_cast<HICON>(::LoadImageA(instance, MAKEINTRESOURCEA(IDI_MRF), IMAGE_ICON, 16, 16, 0)));
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance;
    wc.hIcon = icon_.get();
    wc.hIconSm = smallIcon_.get();
    wc.hCursor = ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kMainWindowClass;
    if (!::RegisterClassExA(&wc))
        return false;
    RECT r{0, 0, kClientSize.cx, kClientSize.cy};
    const DWORD style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
    ::AdjustWindowRectEx(&r, style, TRUE, 0);
    const int w = r.right - r.left, h = r.bottom - r.top;
    RECT work;
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    const std::string title = Tr(kAppTitle);
    if (!::CreateWindowExA(
            0, kMainWindowClass, title.c_str(), style, work.left + (work.right - work.left - w) / 2,
            work.top + (work.bottom - work.top - h) / 2, w, h, nullptr, nullptr, instance, this))
        return false;
    trayIcon_.Attach(hwnd_, smallIcon_.get());
    if (windowCreated_)
        windowCreated_(hwnd_);
    return true;
}

void TMainForm::BuildFrame() {
    if (built_ || !EnsureWindow())
        return;
    built_ = true;
    // The folder browser and the shell need COM on this thread.
    comInitialised_ = SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    INITCOMMONCONTROLSEX icc{sizeof icc,
                             ICC_BAR_CLASSES | ICC_TAB_CLASSES | ICC_LISTVIEW_CLASSES | ICC_HOTKEY_CLASS};
    ::InitCommonControlsEx(&icc);
    HINSTANCE instance = ::GetModuleHandleA(nullptr);
    // The window owns its menu and destroys it with itself.
    HMENU menu = ::LoadMenuA(instance, MAKEINTRESOURCEA(IDR_MAINMENU));
    TranslateMenu(menu);
    ::SetMenu(hwnd_, menu);
    accel_ = ::LoadAcceleratorsA(instance, MAKEINTRESOURCEA(IDR_ACCEL));
    BuildToolBar(instance);
    BuildTabs(instance);
    status_ = ::CreateWindowExA(0, STATUSCLASSNAMEA, nullptr, WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0, 0,
                                0, hwnd_, reinterpret_cast<HMENU>(IDC_STATUS), instance, nullptr);
    ::SendMessageA(status_, SB_SIMPLE, TRUE, 0);
    SelectPage(folders_);
    Layout();
    RefreshPages();
    // The folder list has the focus once the window shows.
    focus_ = folders_.List();
}

void TMainForm::BuildToolBar(HINSTANCE instance) {
    toolbar_ = ::CreateWindowExA(0, TOOLBARCLASSNAMEA, nullptr,
                                 WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_TOP, 0, 0, 0,
                                 0, hwnd_, reinterpret_cast<HMENU>(IDC_TOOLBAR), instance, nullptr);
    ::SendMessageA(toolbar_, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    images_.reset(ImageList_LoadImageA(instance, MAKEINTRESOURCEA(IDB_TOOLBAR), 16, 0, RGB(255, 0, 255),
                                       IMAGE_BITMAP, LR_CREATEDIBSECTION));
    ::SendMessageA(toolbar_, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images_.get()));
    // The user selector sits in the room a separator leaves at the left.
    TBBUTTON buttons[] = {
        {kSelectorWidth, 0, 0, BTNS_SEP, {}, 0, 0},
        {ImgSave, ID_BTN_SAVE, TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, 0},
        {ImgAdd, ID_BTN_ADD, TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, 0},
        {ImgDelete, ID_BTN_DELETE, TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, 0},
        {ImgPassword, ID_BTN_PASSWORD, TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, 0},
        {8, 0, 0, BTNS_SEP, {}, 0, 0},
        {ImgStart, ID_TOOLBUTTON9, TBSTATE_ENABLED, BTNS_CHECKGROUP, {}, 0, 0},
        {ImgSuspend, ID_TOOLBUTTON11, TBSTATE_ENABLED, BTNS_CHECKGROUP, {}, 0, 0},
    };
    ::SendMessageA(toolbar_, TB_ADDBUTTONS, std::size(buttons), reinterpret_cast<LPARAM>(buttons));
    ::SendMessageA(toolbar_, TB_AUTOSIZE, 0, 0);
    RECT sep;
    ::SendMessageA(toolbar_, TB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&sep));
    selUserLabel_ = ::CreateWindowExA(
        0, "STATIC", Tr("Select a user :").c_str(), WS_CHILD | WS_VISIBLE | SS_CENTERIMAGE, 4, sep.top, 80,
        sep.bottom - sep.top, toolbar_, reinterpret_cast<HMENU>(IDC_SELUSER_LABEL), instance, nullptr);
    selUser_ = ::CreateWindowExA(
        0, "COMBOBOX", nullptr, WS_CHILD | WS_VISIBLE | WS_VSCROLL | CBS_DROPDOWNLIST, 86, sep.top + 1,
        kSelectorWidth - 92, 200, toolbar_, reinterpret_cast<HMENU>(IDC_SELUSER), instance, nullptr);
    HFONT font = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
    ::SendMessageA(selUserLabel_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    ::SendMessageA(selUser_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    groups_.AttachSelector(selUser_);
}

void TMainForm::BuildTabs(HINSTANCE instance) {
    tabs_ = ::CreateWindowExA(0, WC_TABCONTROLA, nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, 0, 0, 0,
                              hwnd_, reinterpret_cast<HMENU>(IDC_PAGES), instance, nullptr);
    ::SendMessageA(tabs_, WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    for (int i = 0; i < static_cast<int>(std::size(pages_)); ++i) {
        std::string caption = Tr(pages_[i]->Caption());
        TCITEMA item{};
        item.mask = TCIF_TEXT;
        item.pszText = caption.data();
        ::SendMessageA(tabs_, TCM_INSERTITEMA, i, reinterpret_cast<LPARAM>(&item));
        pages_[i]->Create(hwnd_);
    }
}

int TMainForm::Run() {
    if (ended_)
        return 0;
    MSG msg;
    for (;;) {
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT)
                return static_cast<int>(msg.wParam);
            if (accel_ && ::TranslateAcceleratorA(hwnd_, accel_, &msg))
                continue;
            HWND active = ::GetActiveWindow();
            if (active && active != hwnd_ && ::IsDialogMessageA(active, &msg))
                continue;
            if (built_ && active == hwnd_ && msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST) {
                Page& page = CurrentPage();
                if (::IsChild(page.Window(), msg.hwnd) && page.Key(msg))
                    continue;
            }
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
        OnIdle();
        ::WaitMessage();
    }
}

void TMainForm::Destroy() {
    if (hwnd_)
        ::DestroyWindow(hwnd_); // runs FormDestroy
    else
        FormDestroy();
}

LRESULT CALLBACK TMainForm::WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    auto* self = reinterpret_cast<TMainForm*>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (msg == WM_NCCREATE) {
        self = static_cast<TMainForm*>(reinterpret_cast<CREATESTRUCTA*>(lp)->lpCreateParams);
        self->hwnd_ = hwnd;
        ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    if (!self)
        return ::DefWindowProcA(hwnd, msg, wp, lp);
    // No exception may unwind through the system's frames: it is told and the program goes on.
    Action action(*self);
    try {
        return self->OnMessage(msg, wp, lp);
    } catch (const std::exception& e) {
        self->Tell({e.what(), Tr(kAppTitle), true}, false);
        return 0;
    }
}

LRESULT TMainForm::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
    const TrayIcon::Events trayEvents{[this] { tray_.ShowSettingsWindow(); },
                                      [this](Taskbar taskbar) { tray_.FindShellTimer(taskbar); },
                                      [this](unsigned id) {
                                          const CommandRow* row = FindCommand(id);
                                          return row && IsEnabled(*row, id, Facts());
                                      }};
    if (trayIcon_.Handle(msg, wp, lp, trayEvents))
        return 0;
    if (updates_.Handle(hwnd_, msg, wp, lp))
        return 0;
    switch (msg) {
    case WM_SIZE:
        Layout();
        return 0;
    case WM_GETMINMAXINFO:
        reinterpret_cast<MINMAXINFO*>(lp)->ptMinTrackSize = {kMinWindowSize.width, kMinWindowSize.height};
        return 0;
    case WM_ACTIVATE:
        // The focus goes back to the control that had it, not to the frame.
        if (LOWORD(wp) == WA_INACTIVE) {
            HWND focus = ::GetFocus();
            if (focus && ::IsChild(hwnd_, focus))
                focus_ = focus;
        } else {
            RestoreFocus();
        }
        return 0;
    case WM_SETFOCUS:
        RestoreFocus();
        return 0;
    case WM_COMMAND:
        // The user selector's notices come through the tool bar, its parent.
        if (LOWORD(wp) == IDC_SELUSER && lp)
            groups_.SelectorCommand(HIWORD(wp));
        else
            OnCommand(LOWORD(wp));
        return 0;
    case WM_NOTIFY:
        OnNotify(reinterpret_cast<NMHDR*>(lp));
        return 0;
    case WM_MENUSELECT:
        SetStatusText(HIWORD(wp) == 0xFFFF && !lp
                          ? std::string()
                          : std::string(LongHint(Tr(std::string(HintOf(LOWORD(wp)))))));
        return 0;
    case WM_EXITMENULOOP:
        SetStatusText(std::string());
        return 0;
    case WM_CLOSE:
        FormCloseQuery();
        return 0;
    case WM_QUERYENDSESSION:
        return QueryEndSession() ? TRUE : FALSE;
    case WM_ENDSESSION:
        if (wp && placementRestored_)
            SavePlacement(hwnd_);
        return 0;
    case WM_HOTKEY:
        if (wp == kHotKeyId)
            tray_.ShowSettingsWindow();
        return 0;
    case kSessionChange:
        if (sessionHook_)
            if (auto result = protection_.SessionMessage(static_cast<unsigned>(wp)))
                ShowResult(*result);
        return 0;
    case WM_COPYDATA:
        // Answer the second start at once; a prompt may follow.
        if (auto args = DecodeCmdLine(*reinterpret_cast<COPYDATASTRUCT*>(lp))) {
            receivedCmdLines_.push_back(std::move(*args));
            ::PostMessageA(hwnd_, kCmdLineMessage, 0, 0);
            return TRUE;
        }
        return FALSE;
    case kCmdLineMessage:
        CmdLineReceived();
        return 0;
    case WM_DESTROY:
        FormDestroy();
        return 0;
    }
    return ::DefWindowProcA(hwnd_, msg, wp, lp);
}

void TMainForm::CmdLineReceived() {
    while (!receivedCmdLines_.empty()) {
        auto args = std::move(receivedCmdLines_.front());
        receivedCmdLines_.erase(receivedCmdLines_.begin());
        startup_.CmdLineReceived(args);
    }
}

void TMainForm::Layout() {
    if (!built_)
        return;
    RECT client;
    ::GetClientRect(hwnd_, &client);
    ::SendMessageA(toolbar_, TB_AUTOSIZE, 0, 0);
    ::SendMessageA(status_, WM_SIZE, 0, 0);
    RECT tb, sb;
    ::GetWindowRect(toolbar_, &tb);
    ::GetWindowRect(status_, &sb);
    const int top = tb.bottom - tb.top + 2;
    const int bottom = client.bottom - (sb.bottom - sb.top);
    ::MoveWindow(tabs_, 2, top, client.right - 4, bottom - top - 2, TRUE);
    RECT display{2, top, client.right - 2, bottom - 2};
    ::SendMessageA(tabs_, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
    for (Page* page : pages_)
        ::SetWindowPos(page->Window(), HWND_TOP, display.left, display.top, display.right - display.left,
                       display.bottom - display.top, SWP_NOACTIVATE);
}

Page& TMainForm::CurrentPage() {
    const auto sel = static_cast<int>(::SendMessageA(tabs_, TCM_GETCURSEL, 0, 0));
    return sel >= 0 && sel < static_cast<int>(std::size(pages_)) ? *pages_[sel] : folders_;
}

void TMainForm::SelectPage(Page& page) {
    for (int i = 0; i < static_cast<int>(std::size(pages_)); ++i) {
        if (pages_[i] == &page)
            ::SendMessageA(tabs_, TCM_SETCURSEL, i, 0);
        ::ShowWindow(pages_[i]->Window(), pages_[i] == &page ? SW_SHOW : SW_HIDE);
    }
    page.Selected();
}

void TMainForm::RestoreFocus() {
    if (!built_)
        return;
    HWND target = focus_;
    if (!target || !::IsChild(hwnd_, target) || !::IsWindowVisible(target) || !::IsWindowEnabled(target))
        target = CurrentPage().FirstControl();
    if (target)
        ::SetFocus(target);
}

void TMainForm::OnCommand(unsigned id) {
    if (const CommandRow* row = FindCommand(id))
        (this->*row->execute)();
    // The commands of pages and dialogs still to come have no row yet.
}

void TMainForm::OnNotify(NMHDR* header) {
    if (header->hwndFrom == tabs_ && header->code == TCN_SELCHANGE) {
        SelectPage(CurrentPage());
    } else if (header->code == TTN_GETDISPINFOA) {
        auto* info = reinterpret_cast<NMTTDISPINFOA*>(header);
        static std::string text; // must outlive the notification
        text = Tr(std::string(HintOf(static_cast<unsigned>(header->idFrom))));
        text = std::string(ShortHint(text));
        info->lpszText = text.data();
    } else if (header->hwndFrom == toolbar_ && header->code == TBN_HOTITEMCHANGE) {
        auto* hot = reinterpret_cast<NMTBHOTITEM*>(header);
        SetStatusText(
            hot->dwFlags & HICF_LEAVING
                ? std::string()
                : std::string(LongHint(Tr(std::string(HintOf(static_cast<unsigned>(hot->idNew)))))));
    }
}

WindowFacts TMainForm::Facts() const {
    HWND list = folders_.List();
    return {state_.settingsModified, folders_.RowSelected(), list && ::GetFocus() == list, state_.protection};
}

// Commands are enabled or disabled whenever the application is idle.
void TMainForm::OnIdle() {
    if (!built_)
        return;
    // Where the focus is while the window is active, to give it back after a dialog or the tray.
    if (HWND focus = ::GetFocus(); focus && ::IsChild(hwnd_, focus))
        focus_ = focus;
    const WindowFacts facts = Facts();
    HMENU menu = ::GetMenu(hwnd_);
    for (const CommandRow& row : Commands()) {
        if (row.menuId)
            ::EnableMenuItem(menu, row.menuId,
                             MF_BYCOMMAND | (IsEnabled(row, row.menuId, facts) ? MF_ENABLED : MF_GRAYED));
        if (!row.buttonId)
            continue;
        ::SendMessageA(toolbar_, TB_ENABLEBUTTON, row.buttonId, IsEnabled(row, row.buttonId, facts));
        // The Start and Suspend buttons show the protection state the commands left.
        if (row.buttonDownWhen)
            ::SendMessageA(toolbar_, TB_CHECKBUTTON, row.buttonId, facts.protection == *row.buttonDownWhen);
    }
}

void TMainForm::SetStatusText(const std::string& text) {
    if (status_)
        ::SendMessageA(status_, SB_SETTEXTA, SB_SIMPLEID, reinterpret_cast<LPARAM>(text.c_str()));
}

TMainForm::Action::~Action() {
    if (--form_.actionDepth_ > 0 || form_.toTell_.empty())
        return;
    // Telling may run a nested message loop, whose actions gather their own messages.
    std::vector<Told> told = std::move(form_.toTell_);
    form_.toTell_.clear();
    HWND owner = form_.hwnd_ && ::IsWindowVisible(form_.hwnd_) ? form_.hwnd_ : nullptr;
    for (const Told& t : told)
        ui::Tell(owner, t.message);
}

void TMainForm::Tell(const UserMessage& message, bool prevails) {
    std::string about = message.setting.empty() ? message.text : message.setting;
    for (Told& t : toTell_)
        if (t.about == about) {
            if (prevails)
                t.message = message;
            return;
        }
    toTell_.push_back({message, std::move(about)});
    if (actionDepth_ == 0) {
        Action flush(*this);
    }
}

void TMainForm::ShowResult(const CommandResult& result) {
    if (result.error)
        Tell(*result.error, true);
    // The autorun box shows "Auto" as the command left it.
    if (built_)
        options_.Fill();
}

bool TMainForm::Save() {
    const bool saved = SaveSettings(store_, state_,
                                    {[this](uint16_t code) { RegisterTheHotKey(code); },
                                     [this] { ShowResult(protection_.Start()); },
                                     [this](const UserMessage& message) { Tell(message, false); }});
    // The save took in what other programs saved meanwhile: the pages show the file as it now is.
    if (saved)
        RefreshPages();
    return saved;
}

bool TMainForm::QueryEndSession() {
    // Windows is ending the session: from the tray the changes are saved without a question, from
    // the screen the user is asked as for a close, and Cancel keeps the session.
    if (state_.inTray) {
        Save();
        return true;
    }
    if (!state_.settingsModified)
        return true;
    switch (AskToSave()) {
    case SaveAnswer::Yes:
        return Save();
    case SaveAnswer::No:
        return true;
    default:
        return false;
    }
}

SaveAnswer TMainForm::AskToSave() {
    switch (ui::Tell({hwnd_, Tr("Do you want to save modifications ?"), Tr(kAppTitle), Buttons::YesNoCancel,
                      Icon::Question})) {
    case Answer::Yes:
        return SaveAnswer::Yes;
    case Answer::No:
        return SaveAnswer::No;
    default:
        return SaveAnswer::Cancel;
    }
}

void TMainForm::FormCloseQuery() {
    CloseActions actions{[this] { return AskToSave(); }, [this] { return Save(); },
                         [this] { tray_.HideToTray(); }};
    // Only a close from the tray goes ahead, and it ends the program.
    if (mrf::FormCloseQuery(state_, actions))
        Terminate();
}

void TMainForm::cmdPasswordExecute() {
    PasswordFields initial = InitialPasswordFields(store_);
    PasswordDefinitionData data;
    data.enter = initial.enter;
    data.check = [](const std::string& enter, const std::string& confirm) {
        auto problem = CheckPasswordFields({enter, confirm});
        return problem ? problem->text : std::string();
    };
    if (!RunPasswordDefinition(hwnd_, data))
        return;
    if (auto problem = CommitPassword(store_, state_, hasher_, {data.enter, data.confirm}))
        Tell(*problem, false);
}

void TMainForm::cmdAddFolderExecute() {
    if (built_)
        folders_.cmdAddFolderExecute();
}

void TMainForm::cmdRemoveFExecute() {
    if (built_)
        folders_.cmdRemoveFExecute();
}

void TMainForm::DirListDblClick() {
    if (built_)
        folders_.DirListDblClick();
}

void TMainForm::cmdProOptExecute() {
    if (!built_)
        return;
    SelectPage(options_);
    focus_ = options_.FirstControl();
    RestoreFocus();
}

void TMainForm::cmdHelpFileExecute() {
    system_.StartProgram(win32::ProgramFolder() + "ulk.chm", "", "", "open",
                         reinterpret_cast<WindowRef>(hwnd_));
}

void TMainForm::Pause1Click() {
    if (auto result = protection_.Pause1Click())
        ShowResult(*result);
}

void TMainForm::Stop1Click() {
    if (auto result = protection_.Stop1Click())
        ShowResult(*result);
}

void TMainForm::Exit2Click() {
    if (protection_.Exit2Click())
        Terminate();
}

void TMainForm::RefreshPages() {
    if (!built_)
        return; // the pages are filled when they are built
    groups_.Fill();
    options_.Fill();
    folders_.Fill();
}

void TMainForm::RegisterTheHotKey(uint16_t code) {
    if (hotKeyRegistered_) {
        ::UnregisterHotKey(hwnd_, kHotKeyId);
        hotKeyRegistered_ = false;
    }
    if (HasKey(code) && EnsureWindow())
        hotKeyRegistered_ = ::RegisterHotKey(hwnd_, kHotKeyId, RegisterModifiers(code), code & 0xFF) != FALSE;
}

void TMainForm::FormDestroy() {
    updates_.Stop();
    if (placementRestored_)
        SavePlacement(hwnd_);
    trayIcon_.Show(false);
    if (hotKeyRegistered_)
        ::UnregisterHotKey(hwnd_, kHotKeyId);
    if (state_.sessionNotify)
        system_.UnregisterSessionNotification(reinterpret_cast<WindowRef>(hwnd_));
    bridge_.FreeEngine();
}

UserNames TMainForm::CollectNames() {
    return {CollectUserNames(ListLocalUsers(registry_, accounts_, IsNtFamily()), store_, loggedOnUser_),
            loggedOnUser_};
}

bool TMainForm::IsNtFamily() {
    return win32::IsNtFamily();
}

std::string TMainForm::ProgramPath() {
    return win32::ProgramPath();
}

void TMainForm::EnablePrivileges() {
    // Silent: a user without them still runs the program.
    for (const char* name : {"SeRestorePrivilege", "SeBackupPrivilege"})
        system_.EnablePrivilege(name);
}

void TMainForm::GrantEveryoneAccess(const std::string& path) {
    win32::GrantEveryoneAccess(path);
}

bool TMainForm::RegisterSessionNotify() {
    return EnsureWindow() && !system_.RegisterSessionNotification(reinterpret_cast<WindowRef>(hwnd_));
}

void TMainForm::Terminate() {
    ended_ = true;
    ::PostQuitMessage(0);
}

void TMainForm::StartProgram(const std::string& path, const std::string& arguments) {
    system_.StartProgram(path, arguments, win32::ProgramFolder(), "open", reinterpret_cast<WindowRef>(hwnd_));
}

void TMainForm::StartProgramAsAdministrator(const std::string& path, const std::string& arguments) {
    system_.StartProgram(path, arguments, win32::ProgramFolder(), "runas",
                         reinterpret_cast<WindowRef>(hwnd_));
}

void TMainForm::SetTrayIcon(bool on) {
    if (on ? EnsureWindow() : hwnd_ != nullptr)
        trayIcon_.Show(on);
}

void TMainForm::ShowMainWindow() {
    BuildFrame();
    if (!built_)
        return;
    if (!placementRestored_) {
        placementRestored_ = true;
        RestorePlacement(hwnd_, kClientSize);
    }
    OnIdle(); // the window appears with its commands and buttons already right
    if (!::IsWindowVisible(hwnd_))
        ::ShowWindow(hwnd_, SW_SHOW);
    ::SetForegroundWindow(hwnd_);
}

void TMainForm::HideMainWindow() {
    if (hwnd_)
        ::ShowWindow(hwnd_, SW_HIDE);
}

void TMainForm::RestoreAndBringToFront() {
    // With the show-main-window setting on, the window appears the first time it is brought forward.
    if (showMainWindow_ && (!hwnd_ || !::IsWindowVisible(hwnd_)))
        ShowMainWindow();
    if (!hwnd_)
        return;
    if (::IsIconic(hwnd_))
        ::ShowWindow(hwnd_, SW_RESTORE);
    ::SetForegroundWindow(hwnd_);
}

void TMainForm::ActivateApplication() {
    if (hwnd_)
        ::SetActiveWindow(hwnd_);
}

void TMainForm::StartFindShellTimer() {
    if (EnsureWindow())
        trayIcon_.StartFindShell();
}

void TMainForm::StopFindShellTimer() {
    if (hwnd_)
        trayIcon_.StopFindShell();
}

bool TMainForm::Execute(PromptSession& session) {
    EnsureSkins();
    PasswordPromptData data;
    const UserMessage wrong = PromptSession::WrongPasswordMessage();
    data.wrongText = wrong.text;
    data.wrongCaption = wrong.caption;
    session.Activate();
    data.check = [&session](const std::string& typed) {
        switch (session.OnOk(typed)) {
        case PromptStep::Accept:
            return PromptAnswer::Accept;
        case PromptStep::WrongTryAgain:
            return PromptAnswer::WrongTryAgain;
        default:
            return PromptAnswer::WrongGiveUp;
        }
    };
    bool ok = RunPasswordPrompt(hwnd_, data);
    if (!ok)
        session.OnCancel();
    return ok;
}

void TMainForm::EnsureSkins() {
    if (skinsStarted_ && !skins_.Active()) {
        skins_.LoadSkins(win32::ProgramFolder() + std::string(kSkinFolder), SkinNameAtStartUp(store_));
        // The frame may exist already: a prompt at start-up needs its owner.
        skins_.Adopt(hwnd_);
    }
}

void TMainForm::cmdWebPageExecute() {
    // Whatever fails, the shell tells.
    system_.StartProgram(std::string(kWebSite), "", "", "open", reinterpret_cast<WindowRef>(hwnd_));
}

void TMainForm::cmdSupportExecute() {
    system_.StartProgram(SupportMailLink(), "", "", "open", reinterpret_cast<WindowRef>(hwnd_));
}

void TMainForm::Changeskin1Click() {
    SkinDialogData data{skins_.Names(), skins_.CurrentName(), {}};
    if (!RunSkinDialog(hwnd_, data))
        return;
    skins_.Select(data.chosen);
    ChooseSkin(store_, state_, data.chosen);
}

void TMainForm::About1Click() {
    AboutData data;
    data.version = win32::GetVersionString();
    data.context = this;
    data.openWebPage = [](HWND, void* self) { static_cast<TMainForm*>(self)->cmdWebPageExecute(); };
    RunAboutBox(hwnd_, data);
}

void TMainForm::ShowMessage(const std::string& text) {
    HWND owner = hwnd_ && ::IsWindowVisible(hwnd_) ? hwnd_ : nullptr;
    ui::Tell({owner, text, Tr(kAppTitle)});
}

bool TMainForm::AskYesNo(const std::string& text) {
    HWND owner = hwnd_ && ::IsWindowVisible(hwnd_) ? hwnd_ : nullptr;
    return ui::Tell({owner, text, Tr(kAppTitle), Buttons::YesNo}) == Answer::Yes;
}

void TMainForm::OpenWebSite() {
    cmdWebPageExecute();
}

} // namespace mrf::ui
