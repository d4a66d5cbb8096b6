#include "mrf/about_dialogs.h"

#include "core/gui/about.h"
#include "core/gui/option_keys.h"
#include "core/gui/skins.h"
#include "core/text/translate.h"
#include "mrf/resource.h"
#include "mrf/skin_engine.h"
#include "mrf/ui_text.h"
#include "win32/handles.h"

namespace mrf::ui {
namespace {

class SkinDialog {
public:
    explicit SkinDialog(SkinDialogData& data) : data_(data) {}

    void Init(HWND dlg) {
        dlg_ = dlg;
        TranslateWindow(dlg);
        CenterOnOwner(dlg);
        HWND combo = ::GetDlgItem(dlg, IDC_SCOMBOBOX1);
        const SkinChoice choice = SkinDialogEntries(data_.names, data_.current);
        for (const auto& entry : choice.entries)
            ::SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
        ::SendMessageA(combo, CB_SETCURSEL, choice.selected, 0);
        // 24 visible lines.
        RECT r;
        ::GetWindowRect(combo, &r);
        const int item = static_cast<int>(::SendMessageA(combo, CB_GETITEMHEIGHT, 0, 0));
        ::SetWindowPos(combo, nullptr, 0, 0, r.right - r.left, (r.bottom - r.top) + item * 24 + 2,
                       SWP_NOMOVE | SWP_NOZORDER);
    }

    INT_PTR Command(unsigned id, unsigned) {
        switch (id) {
        case IDOK:
            data_.chosen = GetText(::GetDlgItem(dlg_, IDC_SCOMBOBOX1));
            ::EndDialog(dlg_, IDOK);
            return TRUE;
        case IDCANCEL:
            ::EndDialog(dlg_, IDCANCEL);
            return TRUE;
        }
        return FALSE;
    }

private:
    SkinDialogData& data_;
    HWND dlg_ = nullptr;
};

class AboutBox {
public:
    explicit AboutBox(const AboutData& data) : data_(data) {}

    void Init(HWND dlg) {
        dlg_ = dlg;
        ::SetPropA(dlg, kSkinKeepFonts, reinterpret_cast<HANDLE>(1));
        TranslateWindow(dlg);
        CenterOnOwner(dlg);
        icon_.reset(static_cast<HICON>(
            ::LoadImageA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_MRF), IMAGE_ICON, 48, 48, 0)));
        HWND icon = ::GetDlgItem(dlg, IDC_ABOUT_ICON);
        ::SendMessageA(icon, STM_SETICON, reinterpret_cast<WPARAM>(icon_.get()), 0);
        ::SetWindowPos(icon, nullptr, 0, 0, 48, 48, SWP_NOMOVE | SWP_NOZORDER);
        titleFont_.reset(
            ::CreateFontA(-24, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, 0, 0, "Arial"));
        linkFont_.reset(
            ::CreateFontA(-12, 0, 0, 0, FW_BOLD, FALSE, TRUE, FALSE, DEFAULT_CHARSET, 0, 0, 0, 0, "Arial"));
        HWND title = ::GetDlgItem(dlg, IDC_LBLTITILE);
        SetText(title, std::string(kAppTitle));
        ::SendMessageA(title, WM_SETFONT, reinterpret_cast<WPARAM>(titleFont_.get()), FALSE);
        SetText(::GetDlgItem(dlg, IDC_VERSION), AboutVersionLine(data_.version));
        HWND link = ::GetDlgItem(dlg, IDC_LBLWEBSITE);
        SetText(link, std::string(kWebSite));
        ::SendMessageA(link, WM_SETFONT, reinterpret_cast<WPARAM>(linkFont_.get()), FALSE);
    }

    INT_PTR Command(unsigned id, unsigned code) {
        if (id == IDC_LBLWEBSITE && code == STN_CLICKED) {
            if (data_.openWebPage)
                data_.openWebPage(dlg_, data_.context);
            return TRUE;
        }
        // Enter and Escape close the box wherever the focus is.
        if (id == IDOK || id == IDCANCEL) {
            ::EndDialog(dlg_, id);
            return TRUE;
        }
        return FALSE;
    }

    INT_PTR Message(UINT msg, WPARAM wp, LPARAM) {
        if (msg == WM_SETCURSOR && reinterpret_cast<HWND>(wp) == ::GetDlgItem(dlg_, IDC_LBLWEBSITE)) {
            ::SetCursor(::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_HAND)));
            ::SetWindowLongPtrA(dlg_, DWLP_MSGRESULT, TRUE);
            return TRUE;
        }
        if (msg == WM_DESTROY)
            ::RemovePropA(dlg_, kSkinKeepFonts);
        return FALSE;
    }

private:
    const AboutData& data_;
    HWND dlg_ = nullptr;
    // They outlive the dialog's controls, which only borrow them.
    win32::unique_hicon icon_;
    win32::unique_gdiobj titleFont_, linkFont_;
};

} // namespace

bool RunSkinDialog(HWND owner, SkinDialogData& data) {
    SkinDialog dialog(data);
    return ::DialogBoxParamA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_SELSKIN), owner,
                             DialogProc<SkinDialog>, reinterpret_cast<LPARAM>(&dialog)) == IDOK;
}

void RunAboutBox(HWND owner, const AboutData& data) {
    AboutBox box(data);
    ::DialogBoxParamA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_ABOUT), owner, DialogProc<AboutBox>,
                      reinterpret_cast<LPARAM>(&box));
}

} // namespace mrf::ui
