#include "mrf/main_form.h"

#include <commctrl.h>
#include <shellapi.h>

#include "core/engine/compile.h"
#include "core/engine/rule_key.h"
#include "core/engine/rule_keys.h"
#include "core/gui/option_keys.h"
#include "core/gui/password_definition.h"
#include "core/gui/placement.h"
#include "core/text/translate.h"
#include "mrf/folder_dialogs.h"
#include "mrf/hints.h"
#include "mrf/password_dialogs.h"
#include "mrf/resource.h"
#include "mrf/ui_text.h"
#include "win32/handles.h"
#include "win32/settings_store.h"
#include "win32/user_name.h"
#include "win32/win32_file_system.h"

namespace mrf::ui {
namespace {

constexpr UINT kTrayMessage = WM_APP + 1;
constexpr UINT kCmdLineMessage = WM_APP + 2;
constexpr UINT_PTR kFindShellTimer = 1;
constexpr int kHotKeyId = 1;
constexpr UINT kSessionChange = 0x02B1; // WM_WTSSESSION_CHANGE
constexpr int kClientWidth = 572, kClientHeight = 476;
constexpr const char* kIniSection = "main";

// Tool-bar images, in the strip's order.
enum Image { ImgSave, ImgAdd, ImgDelete, ImgPassword, ImgStart, ImgSuspend };

std::string IniPath() {
    return win32::ProgramFolder() + "ulk.ini";
}

std::optional<WindowRect> ReadSavedRect() {
    const std::string ini = IniPath();
    auto read = [&](const char* key) {
        return static_cast<int>(::GetPrivateProfileIntA(kIniSection, key, INT_MIN, ini.c_str()));
    };
    int left = read("MainForm\\Left"), top = read("MainForm\\Top");
    int width = read("MainForm\\Width"), height = read("MainForm\\Height");
    if (left == INT_MIN || top == INT_MIN || width == INT_MIN || height == INT_MIN || width <= 0 ||
        height <= 0)
        return std::nullopt;
    return SavedWindowRect(left, top, width, height);
}

BOOL CALLBACK CollectWorkArea(HMONITOR monitor, HDC, LPRECT, LPARAM out) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (::GetMonitorInfoA(monitor, &info)) {
        auto& areas = *reinterpret_cast<std::vector<WindowRect>*>(out);
        WindowRect r{info.rcWork.left, info.rcWork.top, info.rcWork.right, info.rcWork.bottom};
        if (info.dwFlags & MONITORINFOF_PRIMARY)
            areas.insert(areas.begin(), r);
        else
            areas.push_back(r);
    }
    return TRUE;
}

} // namespace

TMainForm::TMainForm(TEncriptor& store, EngineLoader& loader, Pbkdf2& pbkdf2, RandomSource& random)
    : store_(store), bridge_(loader, win32::ProgramFolder()), hasher_(pbkdf2, random),
      gate_(store_, state_, *this, hasher_),
      protection_(store_, state_, *this, gate_, [this] { FillFolderList(); }), tray_(*this, state_, gate_),
      startup_(*this, *this, store_, state_, gate_, protection_, tray_) {}

TMainForm::~TMainForm() {
    if (trayMenu_)
        ::DestroyMenu(trayMenu_);
    if (images_)
        ImageList_Destroy(images_);
}

bool TMainForm::Create() {
    HINSTANCE instance = ::GetModuleHandleA(nullptr);
    icon_ = static_cast<HICON>(::LoadImageA(instance, MAKEINTRESOURCEA(IDI_MRF), IMAGE_ICON, 32, 32, 0));
    smallIcon_ = static_cast<HICON>(::LoadImageA(instance, MAKEINTRESOURCEA(IDI_MRF), IMAGE_ICON, 16, 16, 0));
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance;
    wc.hIcon = icon_;
    wc.hIconSm = smallIcon_;
    wc.hCursor = ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kMainWindowClass;
    if (!::RegisterClassExA(&wc))
        return false;
    RECT r{0, 0, kClientWidth, kClientHeight};
    const DWORD style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
    HMENU menu = ::LoadMenuA(instance, MAKEINTRESOURCEA(IDR_MAINMENU));
    ::AdjustWindowRectEx(&r, style, TRUE, 0);
    const int w = r.right - r.left, h = r.bottom - r.top;
    RECT work;
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    hwnd_ = ::CreateWindowExA(
        0, kMainWindowClass, kAppTitle.data(), style, work.left + (work.right - work.left - w) / 2,
        work.top + (work.bottom - work.top - h) / 2, w, h, nullptr, menu, instance, this);
    if (!hwnd_)
        return false;
    accel_ = ::LoadAcceleratorsA(instance, MAKEINTRESOURCEA(IDR_ACCEL));
    FormCreate();
    return true;
}

void TMainForm::FormCreate() {
    ui::SetText(hwnd_, Tr(kAppTitle));
    TranslateMenu(::GetMenu(hwnd_));
    ::DrawMenuBar(hwnd_);
    // The rule key of the user who runs the program; the list shows it first.
    const std::string user = win32::LoggedOnUserName();
    const std::string ruleKey = RuleKeyFor(store_, user);
    state_.displayedRuleKey = ruleKey;
    const std::string exe = ProgramPath();
    bridge_.InitEngine(ruleKey, DefaultProcessList(exe.substr(exe.find_last_of('\\') + 1)));
}

void TMainForm::StartUp(const std::string& argument) {
    startup_.StartUp(argument);
}

int TMainForm::Run() {
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
            // Tab moves through the controls of the page on show; every other key stays with its control
            // (Enter on the folder list edits the row).
            if (active == hwnd_ && msg.wParam == VK_TAB && msg.message >= WM_KEYFIRST &&
                msg.message <= WM_KEYLAST) {
                const auto sel = static_cast<int>(::SendMessageA(tabs_, TCM_GETCURSEL, 0, 0));
                HWND page = sel >= 0 && sel < 3 ? pages_[sel] : nullptr;
                if (page && ::IsChild(page, msg.hwnd) && ::IsDialogMessageA(page, &msg))
                    continue;
            }
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
        OnIdle();
        ::WaitMessage();
    }
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
    // No exception may unwind through the system's frames: it is reported and the program goes on.
    try {
        return self->Handle(msg, wp, lp);
    } catch (const std::exception& e) {
        self->ShowMessage({e.what(), Tr(kAppTitle)});
        return 0;
    }
}

INT_PTR CALLBACK TMainForm::PageProc(HWND page, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_INITDIALOG) {
        ::SetWindowLongPtrA(page, DWLP_USER, lp);
        TranslateWindow(page);
        return TRUE;
    }
    auto* self = reinterpret_cast<TMainForm*>(::GetWindowLongPtrA(page, DWLP_USER));
    if (!self)
        return FALSE;
    if (msg == WM_COMMAND) {
        self->OnPageCommand(LOWORD(wp), HIWORD(wp));
        return TRUE;
    }
    if (msg == WM_NOTIFY) {
        self->OnNotify(reinterpret_cast<NMHDR*>(lp));
        return TRUE;
    }
    // The menu key or Shift+F10 on the list; a right click comes as NM_RCLICK.
    if (msg == WM_CONTEXTMENU && reinterpret_cast<HWND>(wp) == self->dirList_ && lp == -1) {
        self->PopupMenu2();
        return TRUE;
    }
    return FALSE;
}

void TMainForm::OnCreate() {
    HINSTANCE instance = ::GetModuleHandleA(nullptr);
    INITCOMMONCONTROLSEX icc{sizeof icc,
                             ICC_BAR_CLASSES | ICC_TAB_CLASSES | ICC_LISTVIEW_CLASSES | ICC_HOTKEY_CLASS};
    ::InitCommonControlsEx(&icc);
    taskbarCreated_ = ::RegisterWindowMessageA("TaskbarCreated");

    toolbar_ = ::CreateWindowExA(0, TOOLBARCLASSNAMEA, nullptr,
                                 WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_TOP, 0, 0, 0,
                                 0, hwnd_, reinterpret_cast<HMENU>(IDC_TOOLBAR), instance, nullptr);
    ::SendMessageA(toolbar_, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    images_ = ImageList_LoadImageA(instance, MAKEINTRESOURCEA(IDB_TOOLBAR), 16, 0, RGB(255, 0, 255),
                                   IMAGE_BITMAP, LR_CREATEDIBSECTION);
    ::SendMessageA(toolbar_, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images_));
    // The user selector sits in the room a separator leaves at the left.
    constexpr int kSelectorWidth = 250;
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

    tabs_ = ::CreateWindowExA(0, WC_TABCONTROLA, nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, 0, 0, 0,
                              hwnd_, reinterpret_cast<HMENU>(IDC_PAGES), instance, nullptr);
    ::SendMessageA(tabs_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    const char* captions[] = {"User settings ", "User groups", "Program options"};
    const int templates[] = {IDD_PAGE_FOLDERS, IDD_PAGE_GROUPS, IDD_PAGE_OPTIONS};
    for (int i = 0; i < 3; ++i) {
        std::string caption = Tr(captions[i]);
        TCITEMA item{};
        item.mask = TCIF_TEXT;
        item.pszText = caption.data();
        ::SendMessageA(tabs_, TCM_INSERTITEMA, i, reinterpret_cast<LPARAM>(&item));
        pages_[i] = ::CreateDialogParamA(instance, MAKEINTRESOURCEA(templates[i]), hwnd_, PageProc,
                                         reinterpret_cast<LPARAM>(this));
    }
    dirList_ = ::GetDlgItem(pages_[0], IDC_DIRLIST);
    ListView_SetExtendedListViewStyle(dirList_, LVS_EX_CHECKBOXES | LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
    const char* columns[] = {"Folder name", "Mode",          "File mask",
                             "Processes",   "Exclude files", "Exclude processes"};
    const int widths[] = {300, 40, 100, 100, 200, 100};
    for (int i = 0; i < 6; ++i) {
        std::string caption = Tr(columns[i]);
        LVCOLUMNA col{};
        col.mask = LVCF_TEXT | LVCF_WIDTH;
        col.pszText = caption.data();
        col.cx = widths[i];
        ListView_InsertColumn(dirList_, i, &col);
    }
    HWND hotKey = ::GetDlgItem(pages_[2], IDC_HOTKEY);
    // A key alone or with Shift alone is taken with Ctrl+Alt.
    ::SendMessageA(hotKey, HKM_SETRULES, HKCOMB_NONE | HKCOMB_S,
                   MAKELPARAM(HOTKEYF_CONTROL | HOTKEYF_ALT, 0));
    ::SendMessageA(hotKey, HKM_SETHOTKEY, ToHotKeyControl(kDefaultHotKey), 0);

    status_ = ::CreateWindowExA(0, STATUSCLASSNAMEA, nullptr, WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0, 0,
                                0, hwnd_, reinterpret_cast<HMENU>(IDC_STATUS), instance, nullptr);
    ::SendMessageA(status_, SB_SIMPLE, TRUE, 0);

    trayMenu_ = ::LoadMenuA(instance, MAKEINTRESOURCEA(IDR_TRAYMENU));
    TranslateMenu(trayMenu_);
    SelectPage(0);
}

void TMainForm::Layout() {
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
    for (HWND page : pages_)
        ::SetWindowPos(page, HWND_TOP, display.left, display.top, display.right - display.left,
                       display.bottom - display.top, SWP_NOACTIVATE);
    RECT pageClient;
    ::GetClientRect(pages_[0], &pageClient);
    ::MoveWindow(dirList_, 0, 0, pageClient.right, pageClient.bottom, TRUE);
    // The last column takes the rest of the list's width.
    int used = 0;
    for (int i = 0; i < 5; ++i)
        used += ListView_GetColumnWidth(dirList_, i);
    ListView_SetColumnWidth(dirList_, 5, std::max(50, static_cast<int>(pageClient.right) - used - 4));
}

void TMainForm::SelectPage(int index) {
    ::SendMessageA(tabs_, TCM_SETCURSEL, index, 0);
    for (int i = 0; i < 3; ++i)
        ::ShowWindow(pages_[i], i == index ? SW_SHOW : SW_HIDE);
}

LRESULT TMainForm::Handle(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == taskbarCreated_ && taskbarCreated_ != 0) {
        // Explorer came back: its notification area has forgotten our icon, or never had it.
        if (state_.inTray) {
            trayIconOn_ = false;
            TrayIcon(true);
        }
        return 0;
    }
    switch (msg) {
    case WM_CREATE:
        OnCreate();
        return 0;
    case WM_SIZE:
        Layout();
        return 0;
    case WM_GETMINMAXINFO:
        reinterpret_cast<MINMAXINFO*>(lp)->ptMinTrackSize = {kMinWindowSize.width, kMinWindowSize.height};
        return 0;
    case WM_COMMAND:
        OnCommand(LOWORD(wp));
        return 0;
    case WM_NOTIFY:
        OnNotify(reinterpret_cast<NMHDR*>(lp));
        return 0;
    case WM_MENUSELECT:
        SetStatusText(HIWORD(wp) == 0xFFFF && !lp ? std::string() : LongHint(HintOf(LOWORD(wp))));
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
        if (wp)
            SavePlacement();
        return 0;
    case WM_HOTKEY:
        if (wp == kHotKeyId)
            tray_.ShowSettingsWindow();
        return 0;
    case WM_TIMER:
        if (wp == kFindShellTimer) {
            ::KillTimer(hwnd_, kFindShellTimer);
            HWND taskbar = ::FindWindowA("Shell_TrayWnd", nullptr);
            tray_.FindShellTimer(!taskbar                     ? Taskbar::Missing
                                 : ::IsWindowVisible(taskbar) ? Taskbar::Visible
                                                              : Taskbar::Hidden);
        }
        return 0;
    case kTrayMessage:
        OnTrayMessage(lp);
        return 0;
    case kSessionChange:
        if (sessionHook_)
            if (auto result = protection_.SessionMessage(static_cast<unsigned>(wp)))
                ShowResult(*result);
        return 0;
    case WM_COPYDATA: {
        auto* data = reinterpret_cast<COPYDATASTRUCT*>(lp);
        if (data->dwData != kCmdLineTag)
            return FALSE;
        // Answer the second start at once; a prompt may follow.
        std::vector<std::string> args;
        const char* p = static_cast<const char*>(data->lpData);
        const char* end = p + data->cbData;
        while (p < end) {
            std::string arg(p, strnlen(p, static_cast<size_t>(end - p)));
            p += arg.size() + 1;
            args.push_back(arg);
        }
        receivedCmdLines_.push_back(std::move(args));
        ::PostMessageA(hwnd_, kCmdLineMessage, 0, 0);
        return TRUE;
    }
    case kCmdLineMessage:
        while (!receivedCmdLines_.empty()) {
            auto args = std::move(receivedCmdLines_.front());
            receivedCmdLines_.erase(receivedCmdLines_.begin());
            startup_.CmdLineReceived(args);
        }
        return 0;
    case WM_DESTROY:
        FormDestroy();
        return 0;
    }
    return ::DefWindowProcA(hwnd_, msg, wp, lp);
}

void TMainForm::OnCommand(unsigned id) {
    switch (id) {
    case ID_CMD_SAVE:
    case ID_BTN_SAVE:
        cmdSaveExecute();
        break;
    case ID_CMD_MINIMIZE:
        tray_.HideToTray();
        break;
    case ID_CMD_EXIT:
        Terminate();
        break;
    case ID_CMD_PASSWORD:
    case ID_BTN_PASSWORD:
        cmdPasswordExecute();
        break;
    case ID_CMD_GO:
    case ID_TOOLBUTTON9:
    case ID_TRAY_START:
        ShowResult(protection_.Start());
        break;
    case ID_CMD_PAUSE:
    case ID_TOOLBUTTON11:
        ShowResult(protection_.Suspend());
        break;
    case ID_CMD_STOP:
        ShowResult(protection_.Stop());
        break;
    case ID_TRAY_PAUSE:
        if (auto result = protection_.Pause1Click())
            ShowResult(*result);
        break;
    case ID_TRAY_STOP:
        if (auto result = protection_.Stop1Click())
            ShowResult(*result);
        break;
    case ID_TRAY_EXIT:
        if (protection_.Exit2Click())
            Terminate();
        break;
    case ID_TRAY_SETTINGS:
        tray_.ShowSettingsWindow();
        break;
    case ID_CMD_PROOPT:
        SelectPage(2);
        break;
    case ID_CMD_HELPFILE:
        cmdHelpFileExecute();
        break;
    case ID_CMD_ADDFOLDER:
    case ID_BTN_ADD:
        cmdAddFolderExecute();
        break;
    case ID_CMD_EDITFOLDER:
        DirListDblClick();
        break;
    case ID_CMD_REMOVEF:
    case ID_BTN_DELETE:
        cmdRemoveFExecute();
        break;
    default:
        break; // commands of pages and dialogs still to come
    }
}

void TMainForm::OnPageCommand(unsigned id, unsigned code) {
    HWND options = pages_[2];
    switch (id) {
    case IDC_MINI:
        if (code == BN_CLICKED)
            MiniClick(store_, state_, ::IsDlgButtonChecked(options, IDC_MINI) == BST_CHECKED);
        break;
    case IDC_NEWUSERS:
        if (code == BN_CLICKED)
            ChkNewUsersClick(store_, state_, ::IsDlgButtonChecked(options, IDC_NEWUSERS) == BST_CHECKED);
        break;
    case IDC_HOTKEY:
        if (code == EN_CHANGE) {
            auto value =
                static_cast<uint16_t>(::SendDlgItemMessageA(options, IDC_HOTKEY, HKM_GETHOTKEY, 0, 0));
            JvHotKey1Change(store_, state_, ApplyHotKeyFieldRule(FromHotKeyControl(value)));
        }
        break;
    case IDC_DEFINE_PASSWORD:
        if (code == BN_CLICKED)
            cmdPasswordExecute();
        break;
    }
}

void TMainForm::OnNotify(NMHDR* header) {
    if (header->hwndFrom == dirList_ || header->hwndFrom == ListView_GetHeader(dirList_)) {
        OnDirListNotify(header);
    } else if (header->hwndFrom == tabs_ && header->code == TCN_SELCHANGE) {
        SelectPage(static_cast<int>(::SendMessageA(tabs_, TCM_GETCURSEL, 0, 0)));
    } else if (header->code == TTN_GETDISPINFOA) {
        auto* info = reinterpret_cast<NMTTDISPINFOA*>(header);
        static std::string text; // must outlive the notification
        text = ShortHint(HintOf(static_cast<unsigned>(header->idFrom)));
        info->lpszText = text.data();
    } else if (header->hwndFrom == toolbar_ && header->code == TBN_HOTITEMCHANGE) {
        auto* hot = reinterpret_cast<NMTBHOTITEM*>(header);
        SetStatusText(hot->dwFlags & HICF_LEAVING ? std::string()
                                                  : LongHint(HintOf(static_cast<unsigned>(hot->idNew))));
    }
}

void TMainForm::OnTrayMessage(LPARAM lp) {
    switch (static_cast<UINT>(lp)) {
    case WM_LBUTTONDBLCLK:
        tray_.ShowSettingsWindow();
        break;
    case WM_RBUTTONUP:
    case WM_CONTEXTMENU: {
        HMENU popup = ::GetSubMenu(trayMenu_, 0);
        ::EnableMenuItem(popup, ID_TRAY_START,
                         MF_BYCOMMAND |
                             (state_.protection == ProtectionState::Started ? MF_GRAYED : MF_ENABLED));
        ::EnableMenuItem(popup, ID_TRAY_PAUSE,
                         MF_BYCOMMAND |
                             (state_.protection == ProtectionState::Suspended ? MF_GRAYED : MF_ENABLED));
        POINT pt;
        ::GetCursorPos(&pt);
        ::SetForegroundWindow(hwnd_);
        ::TrackPopupMenu(popup, TPM_RIGHTBUTTON, pt.x, pt.y, 0, hwnd_, nullptr);
        ::PostMessageA(hwnd_, WM_NULL, 0, 0);
        break;
    }
    }
}

// Commands are enabled or disabled whenever the application is idle.
void TMainForm::OnIdle() {
    const bool started = state_.protection == ProtectionState::Started;
    const bool suspended = state_.protection == ProtectionState::Suspended;
    const bool rowSelected =
        ListView_GetNextItem(dirList_, -1, LVNI_SELECTED) >= 0 && ::GetFocus() == dirList_;
    HMENU menu = ::GetMenu(hwnd_);
    auto enable = [&](unsigned id, bool on) {
        ::EnableMenuItem(menu, id, MF_BYCOMMAND | (on ? MF_ENABLED : MF_GRAYED));
        ::SendMessageA(toolbar_, TB_ENABLEBUTTON, id, on);
    };
    enable(ID_CMD_SAVE, state_.settingsModified);
    enable(ID_BTN_SAVE, state_.settingsModified);
    enable(ID_CMD_REMOVEF, rowSelected);
    enable(ID_BTN_DELETE, rowSelected);
    enable(ID_CMD_EDITFOLDER, rowSelected);
    enable(ID_CMD_GO, !started);
    enable(ID_CMD_PAUSE, !suspended);
    // The Start and Suspend buttons show the protection state the commands left.
    ::SendMessageA(toolbar_, TB_CHECKBUTTON, ID_TOOLBUTTON9, started);
    ::SendMessageA(toolbar_, TB_CHECKBUTTON, ID_TOOLBUTTON11, suspended);
}

void TMainForm::ShowResult(const CommandResult& result) {
    if (result.error)
        ShowMessage(*result.error);
}

void TMainForm::SetStatusText(const std::string& text) {
    ::SendMessageA(status_, SB_SETTEXTA, SB_SIMPLEID, reinterpret_cast<LPARAM>(text.c_str()));
}

bool TMainForm::cmdSaveExecute() {
    const bool saved = SaveSettings(store_, state_,
                                    {[this](uint16_t code) { RegisterTheHotKey(code); },
                                     [this] { ShowResult(protection_.Start()); },
                                     [this](const UserMessage& message) { ShowMessage(message); }});
    // The save took in what other programs saved meanwhile: the list shows the file as it now is.
    if (saved)
        FillFolderList();
    return saved;
}

bool TMainForm::QueryEndSession() {
    // Windows is ending the session: from the tray the changes are saved without a question, from
    // the screen the user is asked as for a close, and Cancel keeps the session.
    if (state_.inTray) {
        cmdSaveExecute();
        return true;
    }
    if (!state_.settingsModified)
        return true;
    switch (AskToSave()) {
    case SaveAnswer::Yes:
        return cmdSaveExecute();
    case SaveAnswer::No:
        return true;
    default:
        return false;
    }
}

SaveAnswer TMainForm::AskToSave() {
    switch (ui::Message(hwnd_, "Do you want to save modifications ?", std::string(kAppTitle),
                        MB_YESNOCANCEL | MB_ICONQUESTION)) {
    case IDYES:
        return SaveAnswer::Yes;
    case IDNO:
        return SaveAnswer::No;
    default:
        return SaveAnswer::Cancel;
    }
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
        ShowMessage(*problem);
}

void TMainForm::cmdHelpFileExecute() {
    const std::string file = win32::ProgramFolder() + "ulk.chm";
    ::ShellExecuteA(hwnd_, "open", file.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void TMainForm::FormCloseQuery() {
    CloseActions actions{[this] { return AskToSave(); }, [this] { return cmdSaveExecute(); },
                         [this] { tray_.HideToTray(); }};
    // Only a close from the tray goes ahead, and it ends the program.
    if (mrf::FormCloseQuery(state_, actions))
        Terminate();
}

namespace {

// Marks a filling of rows, also when a filling runs inside another.
class ListFilling {
public:
    explicit ListFilling(bool& flag) : flag_(flag), before_(flag) { flag_ = true; }
    ListFilling(const ListFilling&) = delete;
    ListFilling& operator=(const ListFilling&) = delete;
    ~ListFilling() { flag_ = before_; }

private:
    bool& flag_;
    bool before_;
};

// The smallest widths the user may drag the columns to.
constexpr int kMinColumnWidths[] = {100, 40, 50, 50, 50, 50};

} // namespace

void TMainForm::FillFolderList() {
    // Read first: a malformed value is reported once the rows that could be read are shown.
    FolderListView view = ReadFolderList(store_, state_.displayedRuleKey);
    {
        ListFilling filling(listFilling_);
        ::SendMessageA(dirList_, WM_SETREDRAW, FALSE, 0);
        ListView_DeleteAllItems(dirList_);
        for (int n = 0; n < static_cast<int>(view.rows.size()); ++n) {
            LVITEMA item{};
            item.mask = LVIF_TEXT;
            item.iItem = n;
            item.pszText = const_cast<char*>("");
            ShowFolderRow(ListView_InsertItem(dirList_, &item), view.rows[static_cast<size_t>(n)], true);
        }
        if (!view.rows.empty())
            ListView_SetItemState(dirList_, 0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        ::SendMessageA(dirList_, WM_SETREDRAW, TRUE, 0);
        ::InvalidateRect(dirList_, nullptr, TRUE);
    }
    if (view.problem)
        ShowMessage(*view.problem);
}

void TMainForm::FillFolderItem(int row, int n, bool newRow) {
    std::optional<UserMessage> problem;
    FolderRow shown = ReadFolderRow(store_, state_.displayedRuleKey, n, problem);
    {
        ListFilling filling(listFilling_);
        ShowFolderRow(row, shown, newRow);
        ListView_RedrawItems(dirList_, row, row);
    }
    if (problem)
        ShowMessage(*problem);
}

void TMainForm::ShowFolderRow(int row, const FolderRow& shown, bool newRow) {
    ListView_SetItemText(dirList_, row, 0, const_cast<char*>(shown.caption.c_str()));
    // A mode that is neither read-only nor hide leaves an existing row's text as it was.
    if (newRow || !shown.mode.empty())
        ListView_SetItemText(dirList_, row, 1, const_cast<char*>(shown.mode.c_str()));
    const std::string* texts[] = {&shown.mask, &shown.proc, &shown.exlfiles, &shown.exlproc};
    for (int c = 0; c < 4; ++c)
        ListView_SetItemText(dirList_, row, c + 2, const_cast<char*>(texts[c]->c_str()));
    ListView_SetCheckState(dirList_, row, shown.checked);
}

int TMainForm::SelectedRow() const {
    return ListView_GetNextItem(dirList_, -1, LVNI_SELECTED);
}

void TMainForm::OnDirListNotify(NMHDR* header) {
    switch (header->code) {
    case LVN_ITEMCHANGED:
        DirListChange(*reinterpret_cast<NMLISTVIEW*>(header));
        break;
    case NM_DBLCLK:
        DirListDblClick();
        break;
    case NM_RETURN:
        // Enter alone; the list has the focus, or it would not have seen the key.
        if (::GetKeyState(VK_SHIFT) >= 0 && ::GetKeyState(VK_CONTROL) >= 0 && ::GetKeyState(VK_MENU) >= 0)
            DirListDblClick();
        break;
    case NM_RCLICK:
        PopupMenu2();
        break;
    case HDN_ENDTRACKA:
    case HDN_ENDTRACKW:
    case HDN_ITEMCHANGEDA:
    case HDN_ITEMCHANGEDW: {
        const int column = reinterpret_cast<NMHEADERA*>(header)->iItem;
        if (column >= 0 && column < static_cast<int>(std::size(kMinColumnWidths)) &&
            ListView_GetColumnWidth(dirList_, column) < kMinColumnWidths[column])
            ListView_SetColumnWidth(dirList_, column, kMinColumnWidths[column]);
        break;
    }
    }
}

void TMainForm::cmdAddFolderExecute() {
    const int selected = SelectedRow();
    std::optional<std::string> caption;
    if (selected >= 0 && ::GetFocus() == dirList_) {
        char text[1024] = "";
        ListView_GetItemText(dirList_, selected, 0, text, sizeof text);
        caption = text;
    }
    FolderDialogData data{AddDialogFor(caption ? std::optional<std::string_view>(*caption) : std::nullopt),
                          [this] { cmdHelpFileExecute(); }};
    if (!RunFolderDialog(hwnd_, data))
        return;
    const int rows = ListView_GetItemCount(dirList_);
    int row;
    {
        ListFilling filling(listFilling_);
        LVITEMA item{};
        item.mask = LVIF_TEXT;
        item.iItem = rows;
        item.pszText = const_cast<char*>("");
        row = ListView_InsertItem(dirList_, &item);
        ListView_SetItemState(dirList_, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        ListView_EnsureVisible(dirList_, row, FALSE);
    }
    const int n = AddFolder(store_, state_, rows, data.state);
    FillFolderItem(row, n, true);
}

void TMainForm::DirListDblClick() {
    const int n = SelectedRow();
    if (n < 0)
        return;
    char caption[1024] = "";
    ListView_GetItemText(dirList_, n, 0, caption, sizeof caption);
    FolderDialogData data{EditDialogFor(store_, state_.displayedRuleKey, n, caption),
                          [this] { cmdHelpFileExecute(); }};
    if (!RunFolderDialog(hwnd_, data))
        return;
    EditFolder(store_, state_, n, data.state);
    FillFolderItem(n, n, false);
}

void TMainForm::cmdRemoveFExecute() {
    const int n = SelectedRow();
    RemoveResult result = RemoveFolder(store_, state_, n, ListView_GetItemCount(dirList_));
    if (!result.removed)
        return;
    // The rows now stand for other entries than the store's: their changes must not be recorded.
    ListFilling filling(listFilling_);
    ListView_DeleteItem(dirList_, n);
    if (result.selectAfter >= 0)
        ListView_SetItemState(dirList_, result.selectAfter, LVIS_SELECTED | LVIS_FOCUSED,
                              LVIS_SELECTED | LVIS_FOCUSED);
}

void TMainForm::DirListChange(const NMLISTVIEW& change) {
    if (change.iItem < 0 || !(change.uChanged & LVIF_STATE))
        return;
    mrf::DirListChange(store_, state_, change.iItem, ListView_GetCheckState(dirList_, change.iItem) != 0,
                       SelectedRow() >= 0, listFilling_);
}

void TMainForm::PopupMenu2() {
    HMENU menu = ::LoadMenuA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_FOLDERMENU));
    if (!menu)
        return;
    TranslateMenu(menu);
    HMENU popup = ::GetSubMenu(menu, 0);
    // As the idle update sets them for the main menu.
    const bool rowSelected = SelectedRow() >= 0 && ::GetFocus() == dirList_;
    for (unsigned id : {ID_CMD_REMOVEF, ID_CMD_EDITFOLDER})
        ::EnableMenuItem(popup, id, MF_BYCOMMAND | (rowSelected ? MF_ENABLED : MF_GRAYED));
    POINT pt;
    ::GetCursorPos(&pt);
    ::TrackPopupMenu(popup, TPM_RIGHTBUTTON, pt.x, pt.y, 0, hwnd_, nullptr);
    ::DestroyMenu(menu);
}

void TMainForm::FillOptionControls() {
    HWND options = pages_[2];
    auto field = static_cast<uint16_t>(::SendDlgItemMessageA(options, IDC_HOTKEY, HKM_GETHOTKEY, 0, 0));
    state_.pageFilling = true;
    OptionControls controls = mrf::FillOptionControls(store_, FromHotKeyControl(field));
    ::CheckDlgButton(options, IDC_MINI, controls.mini ? BST_CHECKED : BST_UNCHECKED);
    ::CheckDlgButton(options, IDC_NEWUSERS, controls.autorun ? BST_CHECKED : BST_UNCHECKED);
    ::SendDlgItemMessageA(options, IDC_HOTKEY, HKM_SETHOTKEY, ToHotKeyControl(controls.hotKey), 0);
    state_.pageFilling = false;
}

void TMainForm::RefreshPages() {
    FillOptionControls();
    FillFolderList();
}

void TMainForm::TrayIcon(bool on) {
    if (on == trayIconOn_)
        return;
    NOTIFYICONDATAA data{};
    data.cbSize = sizeof data;
    data.hWnd = hwnd_;
    data.uID = 1;
    data.uFlags = NIF_ICON | NIF_MESSAGE | NIF_TIP;
    data.uCallbackMessage = kTrayMessage;
    data.hIcon = smallIcon_;
    lstrcpynA(data.szTip, Tr(kAppTitle).c_str(), sizeof data.szTip);
    if (::Shell_NotifyIconA(on ? NIM_ADD : NIM_DELETE, &data) || !on)
        trayIconOn_ = on;
}

void TMainForm::RegisterTheHotKey(uint16_t code) {
    if (hotKeyRegistered_) {
        ::UnregisterHotKey(hwnd_, kHotKeyId);
        hotKeyRegistered_ = false;
    }
    if (HasKey(code))
        hotKeyRegistered_ = ::RegisterHotKey(hwnd_, kHotKeyId, RegisterModifiers(code), code & 0xFF) != FALSE;
}

void TMainForm::RestorePlacement() {
    if (placementRestored_)
        return;
    placementRestored_ = true;
    std::vector<WindowRect> areas;
    ::EnumDisplayMonitors(nullptr, nullptr, CollectWorkArea, reinterpret_cast<LPARAM>(&areas));
    if (areas.empty()) {
        RECT work;
        ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
        areas.push_back({work.left, work.top, work.right, work.bottom});
    }
    RECT designed{0, 0, kClientWidth, kClientHeight};
    ::AdjustWindowRectEx(&designed, static_cast<DWORD>(::GetWindowLongA(hwnd_, GWL_STYLE)), TRUE, 0);
    WindowRect r = PlaceMainWindow(ReadSavedRect(), areas,
                                   {designed.right - designed.left, designed.bottom - designed.top});
    ::MoveWindow(hwnd_, r.left, r.top, r.Width(), r.Height(), FALSE);
    const std::string ini = IniPath();
    if (::GetPrivateProfileIntA(kIniSection, "MainForm\\State", SW_SHOWNORMAL, ini.c_str()) ==
        SW_SHOWMAXIMIZED)
        ::ShowWindow(hwnd_, SW_SHOWMAXIMIZED);
}

void TMainForm::SavePlacement() {
    WINDOWPLACEMENT wp{};
    wp.length = sizeof wp;
    if (!placementRestored_ || !::GetWindowPlacement(hwnd_, &wp))
        return;
    const std::string ini = IniPath();
    RECT r;
    if (::IsIconic(hwnd_) || ::IsZoomed(hwnd_)) {
        // The normal place is kept in work-area coordinates; the file holds screen coordinates.
        r = wp.rcNormalPosition;
        MONITORINFO info{};
        info.cbSize = sizeof info;
        if (::GetMonitorInfoA(::MonitorFromWindow(hwnd_, MONITOR_DEFAULTTONEAREST), &info))
            ::OffsetRect(&r, info.rcWork.left - info.rcMonitor.left, info.rcWork.top - info.rcMonitor.top);
    } else {
        ::GetWindowRect(hwnd_, &r);
    }
    auto write = [&](const char* key, long value) {
        ::WritePrivateProfileStringA(kIniSection, key, std::to_string(value).c_str(), ini.c_str());
    };
    write("MainForm\\Left", r.left);
    write("MainForm\\Top", r.top);
    write("MainForm\\Width", r.right - r.left);
    write("MainForm\\Height", r.bottom - r.top);
    write("MainForm\\State", wp.showCmd == SW_SHOWMAXIMIZED ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL);
}

void TMainForm::FormDestroy() {
    SavePlacement();
    TrayIcon(false);
    if (hotKeyRegistered_)
        ::UnregisterHotKey(hwnd_, kHotKeyId);
    if (state_.sessionNotify)
        CallSessionNotification("WTSUnRegisterSessionNotification", false);
    bridge_.FreeEngine();
}

bool TMainForm::IsNtFamily() {
    return win32::IsNtFamily();
}

std::string TMainForm::ProgramPath() {
    return win32::ProgramPath();
}

void TMainForm::EnablePrivileges() {
    HANDLE token = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token))
        return;
    for (const char* name : {"SeRestorePrivilege", "SeBackupPrivilege"}) {
        TOKEN_PRIVILEGES tp{};
        tp.PrivilegeCount = 1;
        tp.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
        if (::LookupPrivilegeValueA(nullptr, name, &tp.Privileges[0].Luid))
            ::AdjustTokenPrivileges(token, FALSE, &tp, 0, nullptr, nullptr);
    }
    ::CloseHandle(token);
}

void TMainForm::GrantEveryoneAccess(const std::string& path) {
    win32::GrantEveryoneAccess(path);
}

bool TMainForm::RegisterSessionNotify() {
    state_.sessionNotify = CallSessionNotification("WTSRegisterSessionNotification", true);
    return state_.sessionNotify;
}

// Loads "Wtsapi32.dll" from the system folder only, never from wherever the search order would
// find a copy, and calls one of its two notification functions for this window.
bool TMainForm::CallSessionNotification(const char* function, bool withFlags) {
    const std::string dll = win32::SystemFolder() + "\\Wtsapi32.dll";
    HMODULE lib = ::LoadLibraryA(dll.c_str());
    if (!lib)
        return false;
    void* fn = reinterpret_cast<void*>(::GetProcAddress(lib, function));
    bool ok = false;
    if (fn && withFlags)
        ok = reinterpret_cast<BOOL(WINAPI*)(HWND, DWORD)>(fn)(hwnd_, 0 /* this session only */) != FALSE;
    else if (fn)
        ok = reinterpret_cast<BOOL(WINAPI*)(HWND)>(fn)(hwnd_) != FALSE;
    ::FreeLibrary(lib);
    return ok;
}

void TMainForm::Terminate() {
    ::PostQuitMessage(0);
}

void TMainForm::StartProgram(const std::string& path, const std::string& arguments) {
    ::ShellExecuteA(hwnd_, "open", path.c_str(), arguments.empty() ? nullptr : arguments.c_str(),
                    win32::ProgramFolder().c_str(), SW_SHOWNORMAL);
}

bool TMainForm::IsElevated() {
    win32::unique_handle token;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, token.put()))
        return true;
    TOKEN_ELEVATION elevation{};
    DWORD size = 0;
    // Before user account control there is no such query, and every administrator holds his rights.
    if (!::GetTokenInformation(token.get(), TokenElevation, &elevation, sizeof elevation, &size))
        return true;
    return elevation.TokenIsElevated != 0;
}

void TMainForm::StartProgramAsAdministrator(const std::string& path, const std::string& arguments) {
    ::ShellExecuteA(hwnd_, "runas", path.c_str(), arguments.empty() ? nullptr : arguments.c_str(),
                    win32::ProgramFolder().c_str(), SW_SHOWNORMAL);
}

bool TMainForm::FileExists(const std::string& path) {
    DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void TMainForm::ShowMainWindow() {
    RestorePlacement();
    OnIdle(); // the window appears with its commands and buttons already right
    if (!::IsWindowVisible(hwnd_))
        ::ShowWindow(hwnd_, SW_SHOW);
    ::SetForegroundWindow(hwnd_);
}

void TMainForm::RestoreAndBringToFront() {
    // With the show-main-window setting on, the window appears the first time it is brought forward.
    if (showMainWindow_ && !::IsWindowVisible(hwnd_))
        ShowMainWindow();
    if (::IsIconic(hwnd_))
        ::ShowWindow(hwnd_, SW_RESTORE);
    ::SetForegroundWindow(hwnd_);
}

void TMainForm::StartFindShellTimer() {
    ::SetTimer(hwnd_, kFindShellTimer, 1000, nullptr);
}

void TMainForm::StopFindShellTimer() {
    ::KillTimer(hwnd_, kFindShellTimer);
}

void TMainForm::ShowMessage(const UserMessage& message) {
    HWND owner = ::IsWindowVisible(hwnd_) ? hwnd_ : nullptr;
    ::MessageBoxA(owner, message.text.c_str(), message.caption.c_str(),
                  MB_OK | MB_ICONWARNING | MB_SETFOREGROUND);
}

bool TMainForm::Execute(PromptSession& session) {
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

} // namespace mrf::ui
