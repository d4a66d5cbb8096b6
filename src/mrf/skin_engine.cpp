#include "mrf/skin_engine.h"

#include <commctrl.h>

#include <cstring>

namespace mrf::ui {
namespace {

constexpr const char* kOldProc = "MrfSkinOldProc";
constexpr const char* kStatusText = "MrfSkinStatusText";
// The font a dialog was made with, and the skin's previous one: controls that show either take the
// skin's font; a control given a font of its own (the about box's title) keeps it.
HFONT gRootFont = nullptr;
HFONT gPreviousFont = nullptr;
SkinEngine* gEngine = nullptr; // the one skin manager of the program

COLORREF Ref(Rgb c) {
    return RGB(c.r, c.g, c.b);
}

bool ClassIs(HWND hwnd, const char* name) {
    char cls[64] = {};
    ::GetClassNameA(hwnd, cls, sizeof cls);
    return ::lstrcmpiA(cls, name) == 0;
}

std::vector<SkinFile> ReadSkinFiles(const std::string& folder) {
    std::vector<SkinFile> files;
    WIN32_FIND_DATAA found;
    HANDLE find = ::FindFirstFileA((folder + "\\*" + std::string(kSkinExtension)).c_str(), &found);
    if (find == INVALID_HANDLE_VALUE)
        return files; // no folder: the built-in skins only
    do {
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            continue;
        std::string name = found.cFileName;
        if (name.size() <= kSkinExtension.size())
            continue;
        SkinFile file{name.substr(0, name.size() - kSkinExtension.size()), {}};
        // A file over the limit is read one byte past it, so that the parser refuses it.
        if (found.nFileSizeHigh || found.nFileSizeLow > kMaxSkinFileSize) {
            file.content.assign(kMaxSkinFileSize + 1, '#');
        } else {
            HANDLE h = ::CreateFileA((folder + "\\" + name).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                     OPEN_EXISTING, 0, nullptr);
            if (h == INVALID_HANDLE_VALUE)
                continue;
            file.content.resize(kMaxSkinFileSize + 1);
            DWORD read = 0;
            const BOOL ok =
                ::ReadFile(h, file.content.data(), static_cast<DWORD>(file.content.size()), &read, nullptr);
            ::CloseHandle(h);
            if (!ok)
                continue;
            file.content.resize(read);
        }
        files.push_back(std::move(file));
    } while (::FindNextFileA(find, &found));
    ::FindClose(find);
    return files;
}

} // namespace

struct SkinEngine::Paint {
    explicit Paint(const Skin& s) : skin(s) {
        window = ::CreateSolidBrush(Ref(s.window));
        control = ::CreateSolidBrush(Ref(s.control));
        selection = ::CreateSolidBrush(Ref(s.selection));
        accent = ::CreateSolidBrush(Ref(s.accent));
        HDC screen = ::GetDC(nullptr);
        const int height = -::MulDiv(s.fontPoints, ::GetDeviceCaps(screen, LOGPIXELSY), 72);
        ::ReleaseDC(nullptr, screen);
        font = ::CreateFontA(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                             OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                             DEFAULT_PITCH | FF_DONTCARE, s.fontFace.c_str());
    }
    ~Paint() {
        for (HGDIOBJ o :
             {static_cast<HGDIOBJ>(window), static_cast<HGDIOBJ>(control), static_cast<HGDIOBJ>(selection),
              static_cast<HGDIOBJ>(accent), static_cast<HGDIOBJ>(font)})
            if (o)
                ::DeleteObject(o);
    }
    Paint(const Paint&) = delete;
    Paint& operator=(const Paint&) = delete;
    Skin skin;
    HBRUSH window, control, selection, accent;
    HFONT font;
};

SkinEngine::SkinEngine() {
    gEngine = this;
}

SkinEngine::~SkinEngine() {
    if (hook_)
        ::UnhookWindowsHookEx(hook_);
    gEngine = nullptr;
}

void SkinEngine::LoadSkins(const std::string& skinFolder, const std::string& name) {
    if (set_)
        return;
    set_ = std::make_unique<SkinSet>(ReadSkinFiles(skinFolder));
    currentName_ = name;
    paint_ = std::make_unique<Paint>(set_->Find(name));
    hook_ = ::SetWindowsHookExA(WH_CBT, CbtProc, nullptr, ::GetCurrentThreadId());
}

const std::vector<std::string>& SkinEngine::Names() const {
    static const std::vector<std::string> none;
    return set_ ? set_->Names() : none;
}

void SkinEngine::Adopt(HWND window) {
    if (!hook_ || !window)
        return;
    Subclass(window);
    Redress(window, 0);
}

void SkinEngine::Select(const std::string& name) {
    currentName_ = name;
    if (!set_)
        return;
    auto old = std::move(paint_);
    paint_ = std::make_unique<Paint>(set_->Find(name));
    gPreviousFont = old ? old->font : nullptr;
    ::EnumThreadWindows(::GetCurrentThreadId(), Redress, 0);
    gPreviousFont = nullptr;
}

BOOL CALLBACK SkinEngine::Redress(HWND window, LPARAM) {
    Dress(window);
    ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
    return TRUE;
}

LRESULT CALLBACK SkinEngine::CbtProc(int code, WPARAM wp, LPARAM lp) {
    if (code == HCBT_CREATEWND && gEngine) {
        HWND hwnd = reinterpret_cast<HWND>(wp);
        // Dialogs and pages, the frame, and the controls painted whole.
        if (ClassIs(hwnd, "#32770") || ClassIs(hwnd, "TMainForm"))
            Subclass(hwnd);
    }
    return ::CallNextHookEx(nullptr, code, wp, lp);
}

void SkinEngine::Subclass(HWND hwnd) {
    if (::GetPropA(hwnd, kOldProc))
        return;
    auto old = ::SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(SkinnedProc));
    ::SetPropA(hwnd, kOldProc, reinterpret_cast<HANDLE>(old));
}

BOOL CALLBACK SkinEngine::DressChild(HWND child, LPARAM) {
    if (!gEngine || !gEngine->paint_)
        return FALSE;
    const Paint& p = *gEngine->paint_;
    const auto font = reinterpret_cast<HFONT>(::SendMessageA(child, WM_GETFONT, 0, 0));
    if (gRootFont != HFONT(-1) &&
        (!font || font == gRootFont || font == gPreviousFont || font == ::GetStockObject(DEFAULT_GUI_FONT) ||
         font == ::GetStockObject(SYSTEM_FONT)))
        ::SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(p.font), FALSE);
    if (ClassIs(child, WC_LISTVIEWA)) {
        ::SendMessageA(child, LVM_SETBKCOLOR, 0, Ref(p.skin.control));
        ::SendMessageA(child, LVM_SETTEXTBKCOLOR, 0, Ref(p.skin.control));
        ::SendMessageA(child, LVM_SETTEXTCOLOR, 0, Ref(p.skin.controlText));
        Subclass(child); // its header's custom draw comes to it
    } else if (ClassIs(child, STATUSCLASSNAMEA) || ClassIs(child, WC_TABCONTROLA)) {
        Subclass(child);
    }
    return TRUE;
}

void SkinEngine::Dress(HWND root) {
    if (!gEngine || !gEngine->paint_)
        return;
    if (::GetPropA(root, kSkinKeepFonts)) {
        gRootFont = HFONT(-1); // colours only
        ::EnumChildWindows(root, DressChild, 0);
        gRootFont = nullptr;
        return;
    }
    gRootFont = reinterpret_cast<HFONT>(::SendMessageA(root, WM_GETFONT, 0, 0));
    if (::GetPropA(root, kOldProc))
        ::SendMessageA(root, WM_SETFONT, reinterpret_cast<WPARAM>(gEngine->paint_->font), FALSE);
    ::EnumChildWindows(root, DressChild, 0);
    gRootFont = nullptr;
}

LRESULT SkinEngine::CustomDraw(NMHDR* header, bool& handled) {
    const Paint& p = *gEngine->paint_;
    handled = true;
    if (ClassIs(header->hwndFrom, TOOLBARCLASSNAMEA)) {
        auto* cd = reinterpret_cast<NMTBCUSTOMDRAW*>(header);
        if (cd->nmcd.dwDrawStage == CDDS_PREPAINT) {
            ::FillRect(cd->nmcd.hdc, &cd->nmcd.rc, p.control);
            return CDRF_NOTIFYITEMDRAW;
        }
        if (cd->nmcd.dwDrawStage == CDDS_ITEMPREPAINT) {
            cd->clrText = Ref(p.skin.controlText);
            cd->clrBtnFace = Ref(p.skin.control);
            cd->clrBtnHighlight = Ref(p.skin.selection);
            cd->clrHighlightHotTrack = Ref(Blend(p.skin.control, p.skin.accent, 96));
            cd->clrTextHighlight = Ref(p.skin.selectionText);
            return TBCDRF_USECDCOLORS | TBCDRF_HILITEHOTTRACK;
        }
    } else if (ClassIs(header->hwndFrom, WC_LISTVIEWA)) {
        auto* cd = reinterpret_cast<NMLVCUSTOMDRAW*>(header);
        if (cd->nmcd.dwDrawStage == CDDS_PREPAINT)
            return CDRF_NOTIFYITEMDRAW;
        if (cd->nmcd.dwDrawStage == CDDS_ITEMPREPAINT) {
            const int item = static_cast<int>(cd->nmcd.dwItemSpec);
            if (ListView_GetItemState(header->hwndFrom, item, LVIS_SELECTED)) {
                cd->clrText = Ref(p.skin.selectionText);
                cd->clrTextBk = Ref(p.skin.selection);
                cd->nmcd.uItemState &= ~(CDIS_SELECTED | CDIS_FOCUS);
            } else {
                cd->clrText = Ref(p.skin.controlText);
                cd->clrTextBk = Ref(p.skin.control);
            }
            return CDRF_NEWFONT;
        }
    } else if (ClassIs(header->hwndFrom, WC_HEADERA)) {
        auto* cd = reinterpret_cast<NMCUSTOMDRAW*>(header);
        if (cd->dwDrawStage == CDDS_PREPAINT)
            return CDRF_NOTIFYITEMDRAW;
        if (cd->dwDrawStage == CDDS_ITEMPREPAINT) {
            RECT r = cd->rc;
            ::FillRect(cd->hdc, &r, p.window);
            HBRUSH edge = ::CreateSolidBrush(Ref(Blend(p.skin.window, p.skin.text, 64)));
            RECT line{r.right - 1, r.top, r.right, r.bottom};
            ::FillRect(cd->hdc, &line, edge);
            RECT bottom{r.left, r.bottom - 1, r.right, r.bottom};
            ::FillRect(cd->hdc, &bottom, edge);
            ::DeleteObject(edge);
            char text[260] = {};
            HDITEMA item{};
            item.mask = HDI_TEXT;
            item.pszText = text;
            item.cchTextMax = sizeof text;
            ::SendMessageA(header->hwndFrom, HDM_GETITEMA, cd->dwItemSpec, reinterpret_cast<LPARAM>(&item));
            ::SetBkMode(cd->hdc, TRANSPARENT);
            ::SetTextColor(cd->hdc, Ref(p.skin.text));
            HGDIOBJ old = ::SelectObject(cd->hdc, p.font);
            r.left += 6;
            ::DrawTextA(cd->hdc, text, -1, &r, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS);
            ::SelectObject(cd->hdc, old);
            return CDRF_SKIPDEFAULT;
        }
    } else if (ClassIs(header->hwndFrom, "Button")) {
        auto* cd = reinterpret_cast<NMCUSTOMDRAW*>(header);
        const LONG style = ::GetWindowLongA(header->hwndFrom, GWL_STYLE) & BS_TYPEMASK;
        if (style != BS_PUSHBUTTON && style != BS_DEFPUSHBUTTON) {
            handled = false;
            return 0;
        }
        if (cd->dwDrawStage == CDDS_PREPAINT) {
            const bool pressed = cd->uItemState & CDIS_SELECTED;
            const bool hot = cd->uItemState & CDIS_HOT;
            const bool disabled = cd->uItemState & CDIS_DISABLED;
            RECT r = cd->rc;
            HBRUSH face = ::CreateSolidBrush(Ref(pressed ? p.skin.selection
                                                 : hot   ? Blend(p.skin.control, p.skin.accent, 80)
                                                         : p.skin.control));
            ::FillRect(cd->hdc, &r, face);
            ::DeleteObject(face);
            const bool isDefault = style == BS_DEFPUSHBUTTON || (cd->uItemState & CDIS_DEFAULT);
            HBRUSH border = ::CreateSolidBrush(Ref(isDefault || (cd->uItemState & CDIS_FOCUS)
                                                       ? p.skin.accent
                                                       : Blend(p.skin.control, p.skin.text, 96)));
            ::FrameRect(cd->hdc, &r, border);
            ::DeleteObject(border);
            char text[128] = {};
            ::GetWindowTextA(header->hwndFrom, text, sizeof text);
            ::SetBkMode(cd->hdc, TRANSPARENT);
            ::SetTextColor(cd->hdc, Ref(disabled  ? Blend(p.skin.control, p.skin.controlText, 128)
                                        : pressed ? p.skin.selectionText
                                                  : p.skin.controlText));
            HGDIOBJ old = ::SelectObject(cd->hdc, p.font);
            ::DrawTextA(cd->hdc, text, -1, &r, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
            ::SelectObject(cd->hdc, old);
            return CDRF_SKIPDEFAULT;
        }
    }
    handled = false;
    return 0;
}

LRESULT CALLBACK SkinEngine::SkinnedProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    auto old = reinterpret_cast<WNDPROC>(::GetPropA(hwnd, kOldProc));
    if (msg == WM_NCDESTROY) {
        ::SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(old));
        ::RemovePropA(hwnd, kOldProc);
        if (auto* text = reinterpret_cast<std::string*>(::RemovePropA(hwnd, kStatusText)))
            delete text;
        return ::CallWindowProcA(old, hwnd, msg, wp, lp);
    }
    if (!gEngine || !gEngine->paint_)
        return ::CallWindowProcA(old, hwnd, msg, wp, lp);
    const Paint& p = *gEngine->paint_;

    if (ClassIs(hwnd, STATUSCLASSNAMEA)) {
        if (msg == SB_SETTEXTA) {
            auto* text = reinterpret_cast<std::string*>(::GetPropA(hwnd, kStatusText));
            if (!text) {
                text = new std::string;
                ::SetPropA(hwnd, kStatusText, reinterpret_cast<HANDLE>(text));
            }
            *text = lp ? reinterpret_cast<const char*>(lp) : "";
            ::InvalidateRect(hwnd, nullptr, TRUE);
        } else if (msg == WM_ERASEBKGND) {
            return TRUE;
        } else if (msg == WM_PAINT) {
            PAINTSTRUCT ps;
            HDC dc = ::BeginPaint(hwnd, &ps);
            RECT r;
            ::GetClientRect(hwnd, &r);
            ::FillRect(dc, &r, p.control);
            RECT top{r.left, r.top, r.right, r.top + 1};
            ::FillRect(dc, &top, p.accent);
            if (auto* text = reinterpret_cast<std::string*>(::GetPropA(hwnd, kStatusText))) {
                ::SetBkMode(dc, TRANSPARENT);
                ::SetTextColor(dc, Ref(p.skin.controlText));
                HGDIOBJ oldFont = ::SelectObject(dc, p.font);
                r.left += 4;
                ::DrawTextA(dc, text->c_str(), -1, &r,
                            DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
                ::SelectObject(dc, oldFont);
            }
            ::EndPaint(hwnd, &ps);
            return 0;
        }
        return ::CallWindowProcA(old, hwnd, msg, wp, lp);
    }
    if (ClassIs(hwnd, WC_TABCONTROLA)) {
        if (msg == WM_ERASEBKGND)
            return TRUE;
        if (msg == WM_PAINT) {
            PAINTSTRUCT ps;
            HDC dc = ::BeginPaint(hwnd, &ps);
            RECT client;
            ::GetClientRect(hwnd, &client);
            ::FillRect(dc, &client, p.window);
            const int count = static_cast<int>(::SendMessageA(hwnd, TCM_GETITEMCOUNT, 0, 0));
            const int current = static_cast<int>(::SendMessageA(hwnd, TCM_GETCURSEL, 0, 0));
            HGDIOBJ oldFont = ::SelectObject(dc, p.font);
            ::SetBkMode(dc, TRANSPARENT);
            for (int i = 0; i < count; ++i) {
                RECT r;
                ::SendMessageA(hwnd, TCM_GETITEMRECT, i, reinterpret_cast<LPARAM>(&r));
                ::FillRect(dc, &r, i == current ? p.accent : p.control);
                char text[128] = {};
                TCITEMA item{};
                item.mask = TCIF_TEXT;
                item.pszText = text;
                item.cchTextMax = sizeof text;
                ::SendMessageA(hwnd, TCM_GETITEMA, i, reinterpret_cast<LPARAM>(&item));
                ::SetTextColor(dc, Ref(i == current ? ReadableOn(p.skin.accent) : p.skin.controlText));
                ::DrawTextA(dc, text, -1, &r, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
            }
            ::SelectObject(dc, oldFont);
            ::EndPaint(hwnd, &ps);
            return 0;
        }
        return ::CallWindowProcA(old, hwnd, msg, wp, lp);
    }

    if (ClassIs(hwnd, WC_LISTVIEWA)) {
        if (msg == WM_NOTIFY && reinterpret_cast<NMHDR*>(lp)->code == static_cast<UINT>(NM_CUSTOMDRAW)) {
            bool handled = false;
            LRESULT result = CustomDraw(reinterpret_cast<NMHDR*>(lp), handled);
            if (handled)
                return result;
        }
        return ::CallWindowProcA(old, hwnd, msg, wp, lp);
    }

    switch (msg) {
    case WM_INITDIALOG: {
        LRESULT result = ::CallWindowProcA(old, hwnd, msg, wp, lp);
        Dress(hwnd);
        return result;
    }
    case WM_SHOWWINDOW:
        if (wp)
            Dress(hwnd);
        break;
    case WM_ERASEBKGND: {
        RECT r;
        ::GetClientRect(hwnd, &r);
        ::FillRect(reinterpret_cast<HDC>(wp), &r, p.window);
        return TRUE;
    }
    case WM_CTLCOLORDLG:
        return reinterpret_cast<LRESULT>(p.window);
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: {
        HDC dc = reinterpret_cast<HDC>(wp);
        ::SetTextColor(dc, Ref(p.skin.text));
        ::SetBkColor(dc, Ref(p.skin.window));
        // A read-only edit field asks as a static does, and looks like a field.
        if (ClassIs(reinterpret_cast<HWND>(lp), "Edit")) {
            ::SetTextColor(dc, Ref(p.skin.controlText));
            ::SetBkColor(dc, Ref(p.skin.control));
            return reinterpret_cast<LRESULT>(p.control);
        }
        return reinterpret_cast<LRESULT>(p.window);
    }
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX: {
        HDC dc = reinterpret_cast<HDC>(wp);
        ::SetTextColor(dc, Ref(p.skin.controlText));
        ::SetBkColor(dc, Ref(p.skin.control));
        return reinterpret_cast<LRESULT>(p.control);
    }
    case WM_NOTIFY:
        if (reinterpret_cast<NMHDR*>(lp)->code == static_cast<UINT>(NM_CUSTOMDRAW)) {
            bool handled = false;
            LRESULT result = CustomDraw(reinterpret_cast<NMHDR*>(lp), handled);
            if (handled) {
                // A dialog procedure's answer travels in DWLP_MSGRESULT.
                if (ClassIs(hwnd, "#32770"))
                    ::SetWindowLongPtrA(hwnd, DWLP_MSGRESULT, result);
                return result;
            }
        }
        break;
    }
    return ::CallWindowProcA(old, hwnd, msg, wp, lp);
}

} // namespace mrf::ui
