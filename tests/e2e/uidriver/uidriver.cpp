// A small driver for the end-to-end tests: finds the programs' windows and works them by messages.
//   uidriver wait CLASS|- TITLE|- [MS]       print the window's handle once it exists and is visible
//   uidriver find CLASS|- TITLE|-            print the handle (visible or not), exit 1 when none
//   uidriver gone HWND [MS]                  wait until the window is gone
//   uidriver hidden HWND [MS]                wait until the window is hidden (or gone)
//   uidriver visible HWND                    exit 0 when visible
//   uidriver settext HWND ID TEXT            WM_SETTEXT to a dialog item
//   uidriver settextcrlf HWND ID A B         WM_SETTEXT of A, CR LF, B (as a paste could bring)
//   uidriver gettext HWND [ID]               the window's or a dialog item's text
//   uidriver click HWND ID                   posts the item's BN_CLICKED to the dialog
//   uidriver command HWND ID                 posts WM_COMMAND ID
//   uidriver post HWND MSG WPARAM LPARAM     posts a message
//   uidriver checked HWND ID                 a check box's state (a dialog item, or any control with
//                                            the id inside HWND): 1 or 0
//   uidriver tbchecked HWND TOOLBARID BTNID  a tool-bar button's checked state: 1 or 0
//   uidriver tray HWND ID                    exit 0 when the window has the tray icon ID
//   uidriver rect HWND                       left top right bottom
//   uidriver move HWND X Y W H               moves the window
//   uidriver list                            every top-level window
//   uidriver child HWND CLASS                the first window of the class inside HWND, a visible one
//                                            where there is one
//   uidriver press HWND ID                   BM_CLICK to a dialog item (checks a radio button)
//   uidriver enabled HWND ID                 a dialog item's enabled state: 1 or 0
//   uidriver tbenabled HWND TOOLBARID BTNID  a tool-bar button's enabled state: 1 or 0
//   uidriver key HWND ID VK                  posts the key's down and up to a dialog item (ID 0: HWND)
//   uidriver rows HWND                       the rows of the first list view inside HWND, one a line:
//                                            checked, selected, then the columns, tab-separated
//   uidriver listcheck HWND ROW 1|0          ticks or clears a row's check box
//   uidriver rowclick HWND ROW [double]      clicks (or double-clicks) a row: selects it and focuses
//                                            the list
//   uidriver focus HWND                      the id and class of the control with the keyboard focus
//                                            in HWND's thread, "none" when no window has it
//   uidriver foreground                      the foreground window's handle
//   uidriver tbpoint HWND TOOLBARID BTNID    the screen point in the middle of a tool-bar button
//   uidriver boxpoint HWND ROW               the screen point in the middle of a row's check box
//   uidriver item HWND ID                    the window of that control ID anywhere inside HWND
//   uidriver items HWND                      a combo or list box's items, one a line: selected, text
//   uidriver pick HWND TEXT                  selects a combo box's item of that text and notifies the
//                                            combo's parent, as a choice by the user does
//   uidriver select HWND INDEX               selects a list box's item (no notification)
//   uidriver parent HWND                     the window's parent
//   uidriver light HWND                      for HWND, its menu bar and every visible window inside
//                                            it, a line: the share of light pixels in its client
//                                            area (percent), its control id and class
// A list-view command given the list itself works on it.
// Handles are hexadecimal. Waits default to 10000 ms.
#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

HWND ParseHwnd(const char* text) {
    return reinterpret_cast<HWND>(static_cast<uintptr_t>(std::strtoul(text, nullptr, 16)));
}
long Number(const char* text) {
    return std::strtol(text, nullptr, 0);
}

struct FindData {
    const char* cls;
    const char* title;
    bool mustBeVisible;
    HWND found;
};

BOOL CALLBACK FindProc(HWND w, LPARAM lp) {
    auto* d = reinterpret_cast<FindData*>(lp);
    char cls[256], title[256];
    ::GetClassNameA(w, cls, sizeof cls);
    ::GetWindowTextA(w, title, sizeof title);
    if ((!d->cls || std::strcmp(cls, d->cls) == 0) && (!d->title || std::strcmp(title, d->title) == 0) &&
        (!d->mustBeVisible || ::IsWindowVisible(w))) {
        d->found = w;
        return FALSE;
    }
    return TRUE;
}

HWND Find(const char* cls, const char* title, bool visible) {
    FindData d{std::strcmp(cls, "-") ? cls : nullptr, std::strcmp(title, "-") ? title : nullptr, visible,
               nullptr};
    ::EnumWindows(FindProc, reinterpret_cast<LPARAM>(&d));
    return d.found;
}

template <typename F> bool WaitFor(long ms, F condition) {
    const DWORD start = ::GetTickCount();
    for (;;) {
        if (condition())
            return true;
        if (static_cast<long>(::GetTickCount() - start) > ms)
            return false;
        ::Sleep(25);
    }
}

BOOL CALLBACK ListProc(HWND w, LPARAM) {
    char cls[256], title[256];
    ::GetClassNameA(w, cls, sizeof cls);
    ::GetWindowTextA(w, title, sizeof title);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(w, &pid);
    std::printf("%08lx pid=%lu visible=%d [%s] %s\n",
                static_cast<unsigned long>(reinterpret_cast<uintptr_t>(w)), static_cast<unsigned long>(pid),
                ::IsWindowVisible(w) ? 1 : 0, cls, title);
    return TRUE;
}

struct FindChildData {
    const char* cls;
    HWND first, visible;
};

BOOL CALLBACK FindChildProc(HWND w, LPARAM lp) {
    auto* d = reinterpret_cast<FindChildData*>(lp);
    char cls[64];
    ::GetClassNameA(w, cls, sizeof cls);
    if (std::strcmp(cls, d->cls) != 0)
        return TRUE;
    d->first = d->first ? d->first : w;
    if (!::IsWindowVisible(w))
        return TRUE;
    d->visible = w;
    return FALSE;
}

// The first visible window of the class inside parent (pages hide their controls), else the first.
HWND FindChild(HWND parent, const char* cls) {
    FindChildData d{cls, nullptr, nullptr};
    ::EnumChildWindows(parent, FindChildProc, reinterpret_cast<LPARAM>(&d));
    return d.visible ? d.visible : d.first;
}

HWND FindList(HWND parent) {
    char cls[64];
    ::GetClassNameA(parent, cls, sizeof cls);
    return std::strcmp(cls, WC_LISTVIEWA) == 0 ? parent : FindChild(parent, WC_LISTVIEWA);
}

bool IsCombo(HWND w) {
    char cls[64];
    ::GetClassNameA(w, cls, sizeof cls);
    return ::lstrcmpiA(cls, "ComboBox") == 0;
}

// An item's text of a combo or list box. Wide messages: Wine carries these between processes as
// wide text whatever the caller asked for.
bool ItemText(HWND box, bool combo, int i, std::string& out) {
    const auto n = ::SendMessageW(box, combo ? CB_GETLBTEXTLEN : LB_GETTEXTLEN, i, 0);
    if (n < 0 || n >= 1024)
        return false;
    wchar_t text[1024] = L"";
    ::SendMessageW(box, combo ? CB_GETLBTEXT : LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
    char ansi[2048] = "";
    ::WideCharToMultiByte(CP_ACP, 0, text, -1, ansi, sizeof ansi, nullptr, nullptr);
    out = ansi;
    return true;
}

// The items of a combo or list box.
int PrintItems(HWND box) {
    const bool combo = IsCombo(box);
    const auto count = static_cast<int>(::SendMessageA(box, combo ? CB_GETCOUNT : LB_GETCOUNT, 0, 0));
    const auto selected = static_cast<int>(::SendMessageA(box, combo ? CB_GETCURSEL : LB_GETCURSEL, 0, 0));
    for (int i = 0; i < count; ++i) {
        std::string text;
        if (!ItemText(box, combo, i, text))
            return 1;
        std::printf("%d\t%s\n", i == selected ? 1 : 0, text.c_str());
    }
    return 0;
}

int PickItem(HWND combo, const char* wanted) {
    const auto count = static_cast<int>(::SendMessageA(combo, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        std::string text;
        if (!ItemText(combo, true, i, text) || text != wanted)
            continue;
        ::SendMessageA(combo, CB_SETCURSEL, i, 0);
        const int id = ::GetDlgCtrlID(combo);
        return ::PostMessageA(::GetParent(combo), WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE),
                              reinterpret_cast<LPARAM>(combo))
                   ? 0
                   : 1;
    }
    return 1;
}

// Memory in the process that owns a window, for messages that carry pointers.
class RemoteBuffer {
public:
    RemoteBuffer(HWND w, size_t size) : size_(size) {
        DWORD pid = 0;
        ::GetWindowThreadProcessId(w, &pid);
        process_ = ::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
        if (process_)
            base_ = static_cast<char*>(
                ::VirtualAllocEx(process_, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    }
    RemoteBuffer(const RemoteBuffer&) = delete;
    RemoteBuffer& operator=(const RemoteBuffer&) = delete;
    ~RemoteBuffer() {
        if (base_)
            ::VirtualFreeEx(process_, base_, 0, MEM_RELEASE);
        if (process_)
            ::CloseHandle(process_);
    }
    explicit operator bool() const { return base_ != nullptr; }
    char* At(size_t offset) const { return base_ + offset; }
    bool Write(size_t offset, const void* data, size_t n) {
        return ::WriteProcessMemory(process_, base_ + offset, data, n, nullptr) != FALSE;
    }
    bool Read(size_t offset, void* data, size_t n) {
        return ::ReadProcessMemory(process_, base_ + offset, data, n, nullptr) != FALSE;
    }

private:
    HANDLE process_ = nullptr;
    char* base_ = nullptr;
    size_t size_;
};

int PrintRows(HWND list) {
    constexpr size_t kText = 1024;
    RemoteBuffer remote(list, sizeof(LVITEMA) + kText);
    if (!remote)
        return 1;
    HWND header = reinterpret_cast<HWND>(::SendMessageA(list, LVM_GETHEADER, 0, 0));
    const int columns = static_cast<int>(::SendMessageA(header, HDM_GETITEMCOUNT, 0, 0));
    const int rows = static_cast<int>(::SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    for (int row = 0; row < rows; ++row) {
        auto state = static_cast<UINT>(
            ::SendMessageA(list, LVM_GETITEMSTATE, row, LVIS_STATEIMAGEMASK | LVIS_SELECTED));
        std::string line = std::to_string(((state & LVIS_STATEIMAGEMASK) >> 12) == 2 ? 1 : 0);
        line += '\t';
        line += (state & LVIS_SELECTED) ? '1' : '0';
        for (int col = 0; col < columns; ++col) {
            LVITEMA item{};
            item.iSubItem = col;
            item.pszText = remote.At(sizeof item);
            item.cchTextMax = kText;
            char text[kText] = "";
            if (!remote.Write(0, &item, sizeof item))
                return 1;
            ::SendMessageA(list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(remote.At(0)));
            if (!remote.Read(sizeof item, text, kText))
                return 1;
            text[kText - 1] = 0;
            line += '\t';
            line += text;
        }
        std::printf("%s\n", line.c_str());
    }
    return 0;
}

bool SetRowState(HWND list, int row, UINT state, UINT mask) {
    RemoteBuffer remote(list, sizeof(LVITEMA));
    LVITEMA item{};
    item.stateMask = mask;
    item.state = state;
    return remote && remote.Write(0, &item, sizeof item) &&
           ::SendMessageA(list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(remote.At(0)));
}

// Mouse messages at the middle of a row's label, as a click there sends them.
bool ClickRow(HWND list, int row, bool twice) {
    RemoteBuffer remote(list, sizeof(RECT));
    RECT r{LVIR_LABEL, 0, 0, 0};
    if (!remote || !remote.Write(0, &r, sizeof r) ||
        !::SendMessageA(list, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(remote.At(0))) ||
        !remote.Read(0, &r, sizeof r))
        return false;
    const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    bool ok =
        ::PostMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, at) && ::PostMessageA(list, WM_LBUTTONUP, 0, at);
    if (twice)
        ok = ok && ::PostMessageA(list, WM_LBUTTONDBLCLK, MK_LBUTTON, at) &&
             ::PostMessageA(list, WM_LBUTTONUP, 0, at);
    return ok;
}

// The screen point of a row's check box: the first point of the row, from its left, that the list
// itself hit-tests as the state icon.
bool BoxPoint(HWND list, int row, POINT& out) {
    RemoteBuffer remote(list, sizeof(LVHITTESTINFO) + sizeof(RECT));
    RECT r{LVIR_BOUNDS, 0, 0, 0};
    if (!remote || !remote.Write(0, &r, sizeof r) ||
        !::SendMessageA(list, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(remote.At(0))) ||
        !remote.Read(0, &r, sizeof r))
        return false;
    const int y = (r.top + r.bottom) / 2;
    for (int x = r.left; x < r.left + 40; ++x) {
        LVHITTESTINFO hit{};
        hit.pt = {x, y};
        if (!remote.Write(0, &hit, sizeof hit))
            return false;
        const auto item = ::SendMessageA(list, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(remote.At(0)));
        if (!remote.Read(0, &hit, sizeof hit))
            return false;
        if (item == row && (hit.flags & LVHT_ONITEMSTATEICON)) {
            // The middle of the icon: a few pixels further.
            out = {x + 6, y};
            ::ClientToScreen(list, &out);
            return true;
        }
    }
    return false;
}

struct IdSearch {
    int id;
    HWND found;
};

BOOL CALLBACK FindIdProc(HWND w, LPARAM lp) {
    auto* d = reinterpret_cast<IdSearch*>(lp);
    if (::GetDlgCtrlID(w) != d->id)
        return TRUE;
    d->found = w;
    return FALSE;
}

HWND FindById(HWND parent, int id) {
    if (HWND item = ::GetDlgItem(parent, id))
        return item;
    IdSearch d{id, nullptr};
    ::EnumChildWindows(parent, FindIdProc, reinterpret_cast<LPARAM>(&d));
    return d.found;
}

void PrintHwnd(HWND w) {
    std::printf("%08lx\n", static_cast<unsigned long>(reinterpret_cast<uintptr_t>(w)));
}

// The share of pixels in a rectangle of the screen whose luma is 160 or more, in percent. It is
// read from the screen: another process's window surface cannot be read through its DC.
int LightShare(const RECT& r) {
    const int width = r.right - r.left, height = r.bottom - r.top;
    if (width <= 0 || height <= 0)
        return 0;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = ::SelectObject(memory, bitmap);
    ::BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
    ::GdiFlush();
    const auto* px = static_cast<const unsigned char*>(bits);
    const long count = static_cast<long>(width) * height;
    long light = 0;
    for (long i = 0; i < count; ++i, px += 4)
        light += 299 * px[2] + 587 * px[1] + 114 * px[0] >= 160 * 1000;
    ::SelectObject(memory, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
    return static_cast<int>(light * 100 / count);
}

// The window's client area on screen (the window must be in front).
int ClientLightShare(HWND w) {
    RECT r;
    if (!::GetClientRect(w, &r))
        return 0;
    ::MapWindowPoints(w, nullptr, reinterpret_cast<POINT*>(&r), 2);
    return LightShare(r);
}

void PrintLight(HWND w) {
    char cls[64];
    ::GetClassNameA(w, cls, sizeof cls);
    std::printf("%d %d %s\n", ClientLightShare(w), ::GetDlgCtrlID(w), cls);
}

BOOL CALLBACK LightProc(HWND w, LPARAM) {
    if (::IsWindowVisible(w))
        PrintLight(w);
    return TRUE;
}

int Usage() {
    std::fprintf(stderr, "uidriver: bad arguments\n");
    return 2;
}

} // namespace

// Copied under another name (ulksrv.exe, unins000.exe) the driver stands in for a program that the
// product starts: it notes its name and arguments in started.log beside itself and ends.
bool ActAsStartedProgram(int argc, char** argv) {
    char path[MAX_PATH];
    DWORD n = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string self(path, n);
    size_t slash = self.find_last_of('\\');
    std::string name = self.substr(slash + 1);
    if (::lstrcmpiA(name.c_str(), "uidriver.exe") == 0)
        return false;
    std::string line = name;
    for (int i = 1; i < argc; ++i)
        line += std::string(" ") + argv[i];
    if (FILE* f = std::fopen((self.substr(0, slash + 1) + "started.log").c_str(), "a")) {
        std::fprintf(f, "%s\n", line.c_str());
        std::fclose(f);
    }
    return true;
}

int main(int argc, char** argv) {
    if (ActAsStartedProgram(argc, argv))
        return 0;
    if (argc < 2)
        return Usage();
    const std::string cmd = argv[1];
    auto arg = [&](int i) { return i < argc ? argv[i] : nullptr; };
    if (cmd == "wait" && argc >= 4) {
        long ms = argc > 4 ? Number(argv[4]) : 10000;
        HWND w = nullptr;
        if (!WaitFor(ms, [&] { return (w = Find(argv[2], argv[3], true)) != nullptr; }))
            return 1;
        PrintHwnd(w);
        return 0;
    }
    if (cmd == "find" && argc >= 4) {
        HWND w = Find(argv[2], argv[3], false);
        if (!w)
            return 1;
        PrintHwnd(w);
        return 0;
    }
    if ((cmd == "gone" || cmd == "hidden") && argc >= 3) {
        HWND w = ParseHwnd(argv[2]);
        long ms = argc > 3 ? Number(argv[3]) : 10000;
        bool hidden = cmd == "hidden";
        return WaitFor(ms, [&] { return !::IsWindow(w) || (hidden && !::IsWindowVisible(w)); }) ? 0 : 1;
    }
    if (cmd == "visible" && argc >= 3)
        return ::IsWindowVisible(ParseHwnd(argv[2])) ? 0 : 1;
    if (cmd == "settext" && argc >= 5) {
        HWND item = ::GetDlgItem(ParseHwnd(argv[2]), static_cast<int>(Number(argv[3])));
        return item && ::SendMessageA(item, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(argv[4])) ? 0 : 1;
    }
    if (cmd == "settextcrlf" && argc >= 6) {
        HWND item = ::GetDlgItem(ParseHwnd(argv[2]), static_cast<int>(Number(argv[3])));
        const std::string text = std::string(argv[4]) + "\r\n" + argv[5];
        return item && ::SendMessageA(item, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str())) ? 0 : 1;
    }
    if (cmd == "gettext" && argc >= 3) {
        HWND w = ParseHwnd(argv[2]);
        if (argc > 3)
            w = ::GetDlgItem(w, static_cast<int>(Number(argv[3])));
        char text[1024] = "";
        if (!w)
            return 1;
        ::SendMessageA(w, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
        std::printf("%s\n", text);
        return 0;
    }
    if (cmd == "click" && argc >= 4) {
        HWND dlg = ParseHwnd(argv[2]);
        int id = static_cast<int>(Number(argv[3]));
        return ::PostMessageA(dlg, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                              reinterpret_cast<LPARAM>(::GetDlgItem(dlg, id)))
                   ? 0
                   : 1;
    }
    if (cmd == "command" && argc >= 4)
        return ::PostMessageA(ParseHwnd(argv[2]), WM_COMMAND, static_cast<WPARAM>(Number(argv[3])), 0) ? 0
                                                                                                       : 1;
    if (cmd == "post" && argc >= 6)
        return ::PostMessageA(ParseHwnd(argv[2]), static_cast<UINT>(Number(argv[3])),
                              static_cast<WPARAM>(Number(argv[4])), static_cast<LPARAM>(Number(argv[5])))
                   ? 0
                   : 1;
    if (cmd == "checked" && argc >= 4) {
        // A dialog item, or a control with that id anywhere inside the window (a page's).
        HWND box = FindById(ParseHwnd(argv[2]), static_cast<int>(Number(argv[3])));
        std::printf("%d\n", box && ::SendMessageA(box, BM_GETCHECK, 0, 0) == BST_CHECKED);
        return 0;
    }
    if (cmd == "tbchecked" && argc >= 5) {
        HWND toolbar = ::GetDlgItem(ParseHwnd(argv[2]), static_cast<int>(Number(argv[3])));
        if (!toolbar)
            return 1;
        std::printf("%d\n",
                    ::SendMessageA(toolbar, TB_ISBUTTONCHECKED, static_cast<WPARAM>(Number(argv[4])), 0) ? 1
                                                                                                         : 0);
        return 0;
    }
    if (cmd == "tray" && argc >= 4) {
        // Modifying nothing succeeds only for an icon that is there.
        NOTIFYICONDATAA data{};
        data.cbSize = sizeof data;
        data.hWnd = ParseHwnd(argv[2]);
        data.uID = static_cast<UINT>(Number(argv[3]));
        return ::Shell_NotifyIconA(NIM_MODIFY, &data) ? 0 : 1;
    }
    if (cmd == "rect" && argc >= 3) {
        RECT r;
        if (!::GetWindowRect(ParseHwnd(argv[2]), &r))
            return 1;
        std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right, r.bottom);
        return 0;
    }
    if (cmd == "move" && argc >= 7)
        return ::MoveWindow(ParseHwnd(argv[2]), static_cast<int>(Number(argv[3])),
                            static_cast<int>(Number(argv[4])), static_cast<int>(Number(argv[5])),
                            static_cast<int>(Number(argv[6])), TRUE)
                   ? 0
                   : 1;
    // The window's thread answers a message within ms milliseconds.
    if (cmd == "responds" && argc >= 4) {
        DWORD_PTR result = 0;
        return ::SendMessageTimeoutA(ParseHwnd(argv[2]), WM_NULL, 0, 0, SMTO_ABORTIFHUNG | SMTO_BLOCK,
                                     static_cast<UINT>(Number(argv[3])), &result)
                   ? 0
                   : 1;
    }
    if (cmd == "child" && argc >= 4) {
        HWND w = FindChild(ParseHwnd(argv[2]), argv[3]);
        if (!w)
            return 1;
        PrintHwnd(w);
        return 0;
    }
    if (cmd == "press" && argc >= 4) {
        HWND item = ::GetDlgItem(ParseHwnd(argv[2]), static_cast<int>(Number(argv[3])));
        return item && ::PostMessageA(item, BM_CLICK, 0, 0) ? 0 : 1;
    }
    if (cmd == "enabled" && argc >= 4) {
        HWND item = ::GetDlgItem(ParseHwnd(argv[2]), static_cast<int>(Number(argv[3])));
        if (!item)
            return 1;
        std::printf("%d\n", ::IsWindowEnabled(item) ? 1 : 0);
        return 0;
    }
    if (cmd == "tbenabled" && argc >= 5) {
        HWND toolbar = ::GetDlgItem(ParseHwnd(argv[2]), static_cast<int>(Number(argv[3])));
        if (!toolbar)
            return 1;
        std::printf("%d\n",
                    ::SendMessageA(toolbar, TB_ISBUTTONENABLED, static_cast<WPARAM>(Number(argv[4])), 0) ? 1
                                                                                                         : 0);
        return 0;
    }
    if (cmd == "tbpoint" && argc >= 5) {
        HWND toolbar = ::GetDlgItem(ParseHwnd(argv[2]), static_cast<int>(Number(argv[3])));
        RemoteBuffer remote(toolbar, sizeof(RECT));
        RECT r;
        if (!toolbar || !remote ||
            !::SendMessageA(toolbar, TB_GETRECT, static_cast<WPARAM>(Number(argv[4])),
                            reinterpret_cast<LPARAM>(remote.At(0))) ||
            !remote.Read(0, &r, sizeof r))
            return 1;
        POINT pt{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
        ::ClientToScreen(toolbar, &pt);
        std::printf("%ld %ld\n", static_cast<long>(pt.x), static_cast<long>(pt.y));
        return 0;
    }
    if (cmd == "key" && argc >= 5) {
        HWND w = ParseHwnd(argv[2]);
        if (int id = static_cast<int>(Number(argv[3])))
            w = ::GetDlgItem(w, id);
        const auto vk = static_cast<WPARAM>(Number(argv[4]));
        const UINT scan = ::MapVirtualKeyA(static_cast<UINT>(vk), 0);
        return w && ::PostMessageA(w, WM_KEYDOWN, vk, 1 | (scan << 16)) &&
                       ::PostMessageA(w, WM_KEYUP, vk, 1 | (scan << 16) | 0xC0000000u)
                   ? 0
                   : 1;
    }
    if (cmd == "rows" && argc >= 3) {
        HWND list = FindList(ParseHwnd(argv[2]));
        return list ? PrintRows(list) : 1;
    }
    if (cmd == "listcheck" && argc >= 5) {
        HWND list = FindList(ParseHwnd(argv[2]));
        const UINT image = INDEXTOSTATEIMAGEMASK(Number(argv[4]) ? 2 : 1);
        return list && SetRowState(list, static_cast<int>(Number(argv[3])), image, LVIS_STATEIMAGEMASK) ? 0
                                                                                                        : 1;
    }
    if (cmd == "rowclick" && argc >= 4) {
        HWND list = FindList(ParseHwnd(argv[2]));
        return list && ClickRow(list, static_cast<int>(Number(argv[3])),
                                argc > 4 && std::strcmp(argv[4], "double") == 0)
                   ? 0
                   : 1;
    }
    if (cmd == "focus" && argc >= 3) {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        if (!::GetGUIThreadInfo(::GetWindowThreadProcessId(ParseHwnd(argv[2]), nullptr), &info))
            return 1;
        if (!info.hwndFocus) {
            std::printf("none\n");
            return 0;
        }
        char cls[256];
        ::GetClassNameA(info.hwndFocus, cls, sizeof cls);
        std::printf("%d %s\n", ::GetDlgCtrlID(info.hwndFocus), cls);
        return 0;
    }
    if (cmd == "foreground") {
        PrintHwnd(::GetForegroundWindow());
        return 0;
    }
    if (cmd == "boxpoint" && argc >= 4) {
        HWND list = FindList(ParseHwnd(argv[2]));
        POINT pt;
        if (!list || !BoxPoint(list, static_cast<int>(Number(argv[3])), pt))
            return 1;
        std::printf("%ld %ld\n", static_cast<long>(pt.x), static_cast<long>(pt.y));
        return 0;
    }
    if (cmd == "list") {
        ::EnumWindows(ListProc, 0);
        return 0;
    }
    if (cmd == "item" && argc >= 4) {
        HWND found = FindById(ParseHwnd(argv[2]), static_cast<int>(Number(argv[3])));
        if (!found)
            return 1;
        PrintHwnd(found);
        return 0;
    }
    if (cmd == "parent" && argc >= 3) {
        HWND parent = ::GetParent(ParseHwnd(argv[2]));
        if (!parent)
            return 1;
        PrintHwnd(parent);
        return 0;
    }
    if (cmd == "light" && argc >= 3) {
        HWND w = ParseHwnd(argv[2]);
        if (!::IsWindow(w))
            return 1;
        PrintLight(w);
        // The menu bar is the strip just above the client area (another process's menu cannot
        // be asked for its rectangle).
        RECT bar;
        if (::GetMenu(w) && ::GetClientRect(w, &bar)) {
            ::MapWindowPoints(w, nullptr, reinterpret_cast<POINT*>(&bar), 2);
            bar.bottom = bar.top - 1;
            bar.top = bar.bottom - (::GetSystemMetrics(SM_CYMENU) - 2);
            std::printf("%d 0 MenuBar\n", LightShare(bar));
        }
        ::EnumChildWindows(w, LightProc, 0);
        return 0;
    }
    if (cmd == "items" && argc >= 3)
        return PrintItems(ParseHwnd(argv[2]));
    if (cmd == "pick" && argc >= 4)
        return PickItem(ParseHwnd(argv[2]), argv[3]);
    if (cmd == "select" && argc >= 4)
        return ::SendMessageA(ParseHwnd(argv[2]), LB_SETCURSEL, static_cast<WPARAM>(Number(argv[3])), 0) !=
                       LB_ERR
                   ? 0
                   : 1;
    (void)arg;
    return Usage();
}
