#include "mrf/ui_text.h"

#include <vector>

#include "core/text/translate.h"

namespace mrf::ui {

std::string GetText(HWND window) {
    int n = ::GetWindowTextLengthA(window);
    std::string text(static_cast<size_t>(n) + 1, '\0');
    n = ::GetWindowTextA(window, text.data(), n + 1);
    text.resize(static_cast<size_t>(n > 0 ? n : 0));
    return text;
}

void SetText(HWND window, const std::string& text) {
    ::SetWindowTextA(window, text.c_str());
}

namespace {

BOOL CALLBACK TranslateChild(HWND child, LPARAM) {
    char cls[32];
    ::GetClassNameA(child, cls, sizeof cls);
    // Edit fields hold the user's text, not ours.
    if (::lstrcmpiA(cls, "Edit") != 0)
        SetText(child, Tr(GetText(child)));
    return TRUE;
}

} // namespace

void TranslateWindow(HWND window) {
    SetText(window, Tr(GetText(window)));
    ::EnumChildWindows(window, TranslateChild, 0);
}

void TranslateMenu(HMENU menu) {
    const int count = ::GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        char buffer[256];
        MENUITEMINFOA info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_STRING | MIIM_SUBMENU | MIIM_FTYPE;
        info.dwTypeData = buffer;
        info.cch = sizeof buffer;
        if (!::GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info))
            continue;
        if (info.hSubMenu)
            TranslateMenu(info.hSubMenu);
        if (info.fType & MFT_SEPARATOR)
            continue;
        std::string text = Tr(buffer);
        MENUITEMINFOA set{};
        set.cbSize = sizeof set;
        set.fMask = MIIM_STRING;
        set.dwTypeData = text.data();
        ::SetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &set);
    }
}

void CenterOnOwner(HWND dialog) {
    HWND owner = ::GetAncestor(dialog, GA_ROOTOWNER);
    RECT o, d;
    if (owner && owner != dialog && ::IsWindowVisible(owner) && ::GetWindowRect(owner, &o) &&
        ::GetWindowRect(dialog, &d)) {
        int x = o.left + ((o.right - o.left) - (d.right - d.left)) / 2;
        int y = o.top + ((o.bottom - o.top) - (d.bottom - d.top)) / 2;
        ::SetWindowPos(dialog, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    }
}

} // namespace mrf::ui
