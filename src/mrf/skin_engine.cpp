#include "mrf/skin_engine.h"

#include <commctrl.h>

#include <algorithm>
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

// The menu bar's items are owner-drawn; their texts are kept here, and each item's data is the
// mark and the text's index.
constexpr ULONG_PTR kMenuBarMark = 0x4D520000;
std::vector<std::string> gMenuTexts;

const std::string* MenuBarText(ULONG_PTR data) {
    if ((data & 0xFFFF0000) != kMenuBarMark || (data & 0xFFFF) >= gMenuTexts.size())
        return nullptr;
    return &gMenuTexts[data & 0xFFFF];
}

// The text as shown: '&' marks the next letter, "&&" is one '&'.
std::string WithoutPrefixes(const std::string& text) {
    std::string shown;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '&' && i + 1 < text.size())
            ++i;
        shown += text[i];
    }
    return shown;
}

bool IsGroupBox(HWND hwnd) {
    return ClassIs(hwnd, "Button") && (::GetWindowLongA(hwnd, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX;
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
    } else if (ClassIs(child, STATUSCLASSNAMEA) || ClassIs(child, WC_TABCONTROLA) ||
               ClassIs(child, TOOLBARCLASSNAMEA) || ClassIs(child, WC_COMBOBOXA) || IsGroupBox(child) ||
               (::GetWindowLongA(child, GWL_EXSTYLE) & WS_EX_CLIENTEDGE)) {
        Subclass(child);
    }
    return TRUE;
}

void SkinEngine::DressMenuBar(HWND frame) {
    if (::GetWindowLongA(frame, GWL_STYLE) & WS_CHILD)
        return; // a child's "menu" is its id
    HMENU bar = ::GetMenu(frame);
    if (!bar || !::IsMenu(bar))
        return;
    MENUINFO menu{};
    menu.cbSize = sizeof menu;
    menu.fMask = MIM_BACKGROUND;
    menu.hbrBack = gEngine->paint_->window;
    ::SetMenuInfo(bar, &menu);
    for (int i = 0, n = ::GetMenuItemCount(bar); i < n && gMenuTexts.size() < 0xFFFF; ++i) {
        MENUITEMINFOA item{};
        item.cbSize = sizeof item;
        item.fMask = MIIM_FTYPE | MIIM_DATA;
        if (!::GetMenuItemInfoA(bar, static_cast<UINT>(i), TRUE, &item) || MenuBarText(item.dwItemData) ||
            (item.fType & (MFT_SEPARATOR | MFT_BITMAP | MFT_OWNERDRAW)))
            continue;
        char text[128] = {};
        ::GetMenuStringA(bar, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
        gMenuTexts.emplace_back(text);
        item.fMask = MIIM_FTYPE | MIIM_DATA;
        item.fType |= MFT_OWNERDRAW;
        item.dwItemData = kMenuBarMark | (gMenuTexts.size() - 1);
        ::SetMenuItemInfoA(bar, static_cast<UINT>(i), TRUE, &item);
    }
    ::DrawMenuBar(frame);
}

void SkinEngine::PaintMenuBarBack(HWND frame) {
    HMENU bar = ::GetMenu(frame);
    MENUBARINFO info{};
    info.cbSize = sizeof info;
    if (!bar || !::GetMenuBarInfo(frame, OBJID_MENU, 0, &info))
        return;
    RECT window, client;
    ::GetWindowRect(frame, &window);
    ::GetClientRect(frame, &client);
    ::MapWindowPoints(frame, nullptr, reinterpret_cast<POINT*>(&client), 2);
    // The bar and the lines the system draws around it, from the title bar down to the client area,
    // in window coordinates.
    TITLEBARINFO title{};
    title.cbSize = sizeof title;
    const LONG top = ::GetTitleBarInfo(frame, &title) && title.rcTitleBar.bottom < info.rcBar.top
                         ? title.rcTitleBar.bottom
                         : info.rcBar.top;
    RECT back{info.rcBar.left, top, info.rcBar.right, std::max(info.rcBar.bottom, client.top)};
    ::OffsetRect(&back, -window.left, -window.top);
    HDC dc = ::GetWindowDC(frame);
    for (int i = 0, n = ::GetMenuItemCount(bar); i < n; ++i) {
        RECT item;
        if (::GetMenuItemRect(frame, bar, static_cast<UINT>(i), &item))
            ::ExcludeClipRect(dc, item.left - window.left, item.top - window.top, item.right - window.left,
                              item.bottom - window.top);
    }
    ::FillRect(dc, &back, gEngine->paint_->window);
    ::ReleaseDC(frame, dc);
}

bool SkinEngine::MenuBarMessage(HWND frame, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    const Paint& p = *gEngine->paint_;
    if (msg == WM_MEASUREITEM) {
        auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(lp);
        const std::string* text = measure->CtlType == ODT_MENU ? MenuBarText(measure->itemData) : nullptr;
        if (!text)
            return false;
        HDC dc = ::GetDC(frame);
        HGDIOBJ old = ::SelectObject(dc, p.font);
        const std::string shown = WithoutPrefixes(*text);
        SIZE size{};
        ::GetTextExtentPoint32A(dc, shown.c_str(), static_cast<int>(shown.size()), &size);
        ::SelectObject(dc, old);
        ::ReleaseDC(frame, dc);
        measure->itemWidth = static_cast<UINT>(size.cx) + 4;
        measure->itemHeight = static_cast<UINT>(std::max<LONG>(size.cy, ::GetSystemMetrics(SM_CYMENU) - 1));
        result = TRUE;
        return true;
    }
    if (msg == WM_DRAWITEM) {
        auto* draw = reinterpret_cast<DRAWITEMSTRUCT*>(lp);
        const std::string* text = draw->CtlType == ODT_MENU ? MenuBarText(draw->itemData) : nullptr;
        if (!text)
            return false;
        const bool open = draw->itemState & (ODS_SELECTED | ODS_HOTLIGHT);
        ::FillRect(draw->hDC, &draw->rcItem, open ? p.selection : p.window);
        ::SetBkMode(draw->hDC, TRANSPARENT);
        ::SetTextColor(draw->hDC, Ref(draw->itemState & (ODS_GRAYED | ODS_DISABLED)
                                          ? Blend(p.skin.window, p.skin.text, 128)
                                      : open ? p.skin.selectionText
                                             : p.skin.text));
        HGDIOBJ old = ::SelectObject(draw->hDC, p.font);
        RECT r = draw->rcItem;
        ::DrawTextA(draw->hDC, text->c_str(), -1, &r,
                    DT_SINGLELINE | DT_VCENTER | DT_CENTER |
                        ((draw->itemState & ODS_NOACCEL) ? DT_HIDEPREFIX : 0));
        ::SelectObject(draw->hDC, old);
        result = TRUE;
        return true;
    }
    if (msg == WM_MENUCHAR && reinterpret_cast<HMENU>(lp) == ::GetMenu(frame)) {
        // The system cannot see an owner-drawn item's letter: Alt+letter is matched here.
        HMENU bar = reinterpret_cast<HMENU>(lp);
        const char key = static_cast<char>(LOWORD(wp));
        for (int i = 0, n = ::GetMenuItemCount(bar); i < n; ++i) {
            MENUITEMINFOA item{};
            item.cbSize = sizeof item;
            item.fMask = MIIM_DATA;
            const std::string* text = ::GetMenuItemInfoA(bar, static_cast<UINT>(i), TRUE, &item)
                                          ? MenuBarText(item.dwItemData)
                                          : nullptr;
            const size_t amp = text ? text->find('&') : std::string::npos;
            if (amp == std::string::npos || amp + 1 >= text->size())
                continue;
            char letter[2] = {(*text)[amp + 1], 0}, typed[2] = {key, 0};
            ::CharUpperBuffA(letter, 1);
            ::CharUpperBuffA(typed, 1);
            if (letter[0] == typed[0]) {
                result = MAKELRESULT(i, MNC_EXECUTE);
                return true;
            }
        }
    }
    return false;
}

void SkinEngine::Dress(HWND root) {
    if (!gEngine || !gEngine->paint_)
        return;
    DressMenuBar(root);
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

void SkinEngine::PaintClientEdge(HWND hwnd) {
    if (!gEngine || !gEngine->paint_)
        return;
    const Paint& p = *gEngine->paint_;
    RECT r;
    ::GetWindowRect(hwnd, &r);
    ::OffsetRect(&r, -r.left, -r.top);
    HDC dc = ::GetWindowDC(hwnd);
    HBRUSH border = ::CreateSolidBrush(Ref(Blend(p.skin.control, p.skin.text, 96)));
    ::FrameRect(dc, &r, border);
    ::DeleteObject(border);
    ::InflateRect(&r, -1, -1);
    ::FrameRect(dc, &r, ::IsWindowEnabled(hwnd) ? p.control : p.window);
    ::ReleaseDC(hwnd, dc);
}

void SkinEngine::PaintGroupBox(HWND box, HDC dc) {
    if (!gEngine || !gEngine->paint_)
        return;
    const Paint& p = *gEngine->paint_;
    RECT client;
    ::GetClientRect(box, &client);
    HGDIOBJ oldFont = ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageA(box, WM_GETFONT, 0, 0)));
    TEXTMETRICA metrics{};
    ::GetTextMetricsA(dc, &metrics);
    RECT frame = client;
    frame.top += metrics.tmHeight / 2;
    HBRUSH border = ::CreateSolidBrush(Ref(Blend(p.skin.window, p.skin.text, 96)));
    ::FrameRect(dc, &frame, border);
    ::DeleteObject(border);
    char text[256] = {};
    ::GetWindowTextA(box, text, sizeof text);
    if (*text) {
        RECT caption{client.left + 6, client.top, client.right - 6, client.top + metrics.tmHeight};
        ::DrawTextA(dc, text, -1, &caption, DT_SINGLELINE | DT_CALCRECT);
        caption.right = std::min(caption.right + 4, client.right - 6);
        ::FillRect(dc, &caption, p.window);
        ::SetBkMode(dc, TRANSPARENT);
        ::SetTextColor(dc,
                       Ref(::IsWindowEnabled(box) ? p.skin.text : Blend(p.skin.window, p.skin.text, 128)));
        caption.left += 2;
        ::DrawTextA(dc, text, -1, &caption,
                    DT_SINGLELINE | DT_END_ELLIPSIS |
                        ((::SendMessageA(box, WM_QUERYUISTATE, 0, 0) & UISF_HIDEACCEL) ? DT_HIDEPREFIX : 0));
    }
    ::SelectObject(dc, oldFont);
}

void SkinEngine::PaintComboFrame(HWND combo) {
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    if (!gEngine || !gEngine->paint_ || !::GetComboBoxInfo(combo, &info))
        return;
    const Paint& p = *gEngine->paint_;
    const bool enabled = ::IsWindowEnabled(combo);
    HDC dc = ::GetDC(combo);
    RECT client;
    ::GetClientRect(combo, &client);
    // The system's sunken edge: two pixels, the outer one a line, the inner one the field.
    HBRUSH border = ::CreateSolidBrush(Ref(Blend(p.skin.control, p.skin.text, 96)));
    ::FrameRect(dc, &client, border);
    RECT inner = client;
    ::InflateRect(&inner, -1, -1);
    ::FrameRect(dc, &inner, enabled ? p.control : p.window);
    // The light ring the system leaves around the text of a drop-down list; with the focus the
    // ring is the focus rectangle, which stays.
    if (::GetFocus() != combo) {
        RECT item = info.rcItem;
        ::FrameRect(dc, &item, enabled ? p.control : p.window);
    }
    RECT button = info.rcButton;
    if (button.right > button.left) {
        const bool pressed = info.stateButton & STATE_SYSTEM_PRESSED;
        HBRUSH face =
            ::CreateSolidBrush(Ref(pressed ? p.skin.selection : Blend(p.skin.control, p.skin.text, 24)));
        ::FillRect(dc, &button, face);
        ::DeleteObject(face);
        const COLORREF glyph = Ref(!enabled  ? Blend(p.skin.control, p.skin.controlText, 128)
                                   : pressed ? p.skin.selectionText
                                             : p.skin.controlText);
        const int cx = (button.left + button.right) / 2, cy = (button.top + button.bottom) / 2;
        const POINT arrow[] = {{cx - 4, cy - 2}, {cx + 4, cy - 2}, {cx, cy + 2}};
        HBRUSH fill = ::CreateSolidBrush(glyph);
        HPEN pen = ::CreatePen(PS_SOLID, 1, glyph);
        HGDIOBJ oldBrush = ::SelectObject(dc, fill);
        HGDIOBJ oldPen = ::SelectObject(dc, pen);
        ::Polygon(dc, arrow, 3);
        ::SelectObject(dc, oldBrush);
        ::SelectObject(dc, oldPen);
        ::DeleteObject(fill);
        ::DeleteObject(pen);
    }
    ::DeleteObject(border);
    ::ReleaseDC(combo, dc);
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

    // A sunken edge is drawn by the system in its light and dark shades; it is drawn over.
    if (msg == WM_NCPAINT && (::GetWindowLongA(hwnd, GWL_EXSTYLE) & WS_EX_CLIENTEDGE)) {
        LRESULT result = ::CallWindowProcA(old, hwnd, msg, wp, lp);
        PaintClientEdge(hwnd);
        return result;
    }
    // A group box is drawn whole: its frame and caption, never its inside, which is the dialog's.
    if (IsGroupBox(hwnd)) {
        if (msg == WM_PAINT) {
            PAINTSTRUCT ps;
            HDC dc = ::BeginPaint(hwnd, &ps);
            PaintGroupBox(hwnd, dc);
            ::EndPaint(hwnd, &ps);
            return 0;
        }
        LRESULT result = ::CallWindowProcA(old, hwnd, msg, wp, lp);
        // These repaint the box at once in the system's colours.
        if (msg == WM_SETTEXT || msg == WM_ENABLE || msg == WM_UPDATEUISTATE || msg == BM_SETSTATE)
            ::InvalidateRect(hwnd, nullptr, FALSE);
        return result;
    }
    // The tool bar's own controls (the user selector) ask it, not the frame, for their colours.
    if (ClassIs(hwnd, TOOLBARCLASSNAMEA)) {
        switch (msg) {
        case WM_NCPAINT: {
            // The divider line above the bar.
            LRESULT result = ::CallWindowProcA(old, hwnd, msg, wp, lp);
            RECT window, client;
            ::GetWindowRect(hwnd, &window);
            ::GetClientRect(hwnd, &client);
            ::MapWindowPoints(hwnd, nullptr, reinterpret_cast<POINT*>(&client), 2);
            ::OffsetRect(&client, -window.left, -window.top);
            ::OffsetRect(&window, -window.left, -window.top);
            HDC dc = ::GetWindowDC(hwnd);
            ::ExcludeClipRect(dc, client.left, client.top, client.right, client.bottom);
            ::FillRect(dc, &window, p.window);
            ::ReleaseDC(hwnd, dc);
            return result;
        }
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORBTN: {
            HDC dc = reinterpret_cast<HDC>(wp);
            ::SetTextColor(dc, Ref(p.skin.controlText));
            ::SetBkColor(dc, Ref(p.skin.control));
            return reinterpret_cast<LRESULT>(p.control);
        }
        }
        return ::CallWindowProcA(old, hwnd, msg, wp, lp);
    }
    // A combo box draws its border and drop-down button in the system's colours; they are drawn
    // over in the skin's once the box has painted itself.
    if (ClassIs(hwnd, WC_COMBOBOXA)) {
        LRESULT result = ::CallWindowProcA(old, hwnd, msg, wp, lp);
        if (msg == WM_PAINT || msg == WM_ENABLE || msg == WM_SETFOCUS || msg == WM_KILLFOCUS ||
            msg == WM_LBUTTONUP || msg == WM_CAPTURECHANGED)
            PaintComboFrame(hwnd);
        return result;
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

    // What follows is for the frame and the dialogs; a control with a sunken edge only has that.
    if (!ClassIs(hwnd, "#32770") && !ClassIs(hwnd, "TMainForm"))
        return ::CallWindowProcA(old, hwnd, msg, wp, lp);
    if (LRESULT result = 0; MenuBarMessage(hwnd, msg, wp, lp, result))
        return result;
    // The system paints the menu bar's empty part in its own colour, whatever the menu's brush.
    if ((msg == WM_NCPAINT || msg == WM_NCACTIVATE) && ::GetMenu(hwnd) &&
        !(::GetWindowLongA(hwnd, GWL_STYLE) & WS_CHILD)) {
        LRESULT result = ::CallWindowProcA(old, hwnd, msg, wp, lp);
        PaintMenuBarBack(hwnd);
        return result;
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
