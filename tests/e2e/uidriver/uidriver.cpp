// A small driver for the end-to-end tests: finds the programs' windows and works them by messages.
//   uidriver wait CLASS|- TITLE|- [MS]       print the window's handle once it exists and is visible
//   uidriver find CLASS|- TITLE|-            print the handle (visible or not), exit 1 when none
//   uidriver gone HWND [MS]                  wait until the window is gone
//   uidriver hidden HWND [MS]                wait until the window is hidden (or gone)
//   uidriver visible HWND                    exit 0 when visible
//   uidriver settext HWND ID TEXT            WM_SETTEXT to a dialog item
//   uidriver gettext HWND [ID]               the window's or a dialog item's text
//   uidriver click HWND ID                   posts the item's BN_CLICKED to the dialog
//   uidriver command HWND ID                 posts WM_COMMAND ID
//   uidriver post HWND MSG WPARAM LPARAM     posts a message
//   uidriver checked HWND ID                 a check box's state: 1 or 0
//   uidriver tbchecked HWND TOOLBARID BTNID  a tool-bar button's checked state: 1 or 0
//   uidriver tray HWND ID                    exit 0 when the window has the tray icon ID
//   uidriver rect HWND                       left top right bottom
//   uidriver move HWND X Y W H               moves the window
//   uidriver list                            every top-level window
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

void PrintHwnd(HWND w) {
    std::printf("%08lx\n", static_cast<unsigned long>(reinterpret_cast<uintptr_t>(w)));
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
        std::printf("%d\n", ::IsDlgButtonChecked(ParseHwnd(argv[2]), static_cast<int>(Number(argv[3]))) ==
                                BST_CHECKED);
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
    if (cmd == "list") {
        ::EnumWindows(ListProc, 0);
        return 0;
    }
    (void)arg;
    return Usage();
}
