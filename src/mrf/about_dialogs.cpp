#include "mrf/about_dialogs.h"

#include "core/gui/about.h"
#include "core/gui/option_keys.h"
#include "core/gui/skins.h"
#include "core/text/translate.h"
#include "mrf/resource.h"
#include "mrf/skin_engine.h"
#include "mrf/ui_text.h"

namespace mrf::ui {
namespace {

INT_PTR CALLBACK SkinProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp) {
    auto* data = reinterpret_cast<SkinDialogData*>(::GetWindowLongPtrA(dlg, DWLP_USER));
    switch (msg) {
    case WM_INITDIALOG: {
        ::SetWindowLongPtrA(dlg, DWLP_USER, lp);
        data = reinterpret_cast<SkinDialogData*>(lp);
        TranslateWindow(dlg);
        CenterOnOwner(dlg);
        HWND combo = ::GetDlgItem(dlg, IDC_SCOMBOBOX1);
        const SkinChoice choice = SkinDialogEntries(data->names, data->current);
        for (const auto& entry : choice.entries)
            ::SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
        ::SendMessageA(combo, CB_SETCURSEL, choice.selected, 0);
        // 24 visible lines.
        RECT r;
        ::GetWindowRect(combo, &r);
        const int item = static_cast<int>(::SendMessageA(combo, CB_GETITEMHEIGHT, 0, 0));
        ::SetWindowPos(combo, nullptr, 0, 0, r.right - r.left, (r.bottom - r.top) + item * 24 + 2,
                       SWP_NOMOVE | SWP_NOZORDER);
        return TRUE;
    }
    case WM_COMMAND:
        if (LOWORD(wp) == IDOK) {
            data->chosen = GetText(::GetDlgItem(dlg, IDC_SCOMBOBOX1));
            ::EndDialog(dlg, IDOK);
            return TRUE;
        }
        if (LOWORD(wp) == IDCANCEL) {
            ::EndDialog(dlg, IDCANCEL);
            return TRUE;
        }
        break;
    }
    return FALSE;
}

struct AboutState {
    const AboutData* data;
    HFONT titleFont = nullptr;
    HFONT linkFont = nullptr;
    HICON icon = nullptr;
};

INT_PTR CALLBACK AboutProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp) {
    auto* state = reinterpret_cast<AboutState*>(::GetWindowLongPtrA(dlg, DWLP_USER));
    switch (msg) {
    case WM_INITDIALOG: {
        ::SetWindowLongPtrA(dlg, DWLP_USER, lp);
        state = reinterpret_cast<AboutState*>(lp);
        ::SetPropA(dlg, kSkinKeepFonts, reinterpret_cast<HANDLE>(1));
        TranslateWindow(dlg);
        CenterOnOwner(dlg);
        state->icon = static_cast<HICON>(
            ::LoadImageA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_MRF), IMAGE_ICON, 48, 48, 0));
        HWND icon = ::GetDlgItem(dlg, IDC_ABOUT_ICON);
        ::SendMessageA(icon, STM_SETICON, reinterpret_cast<WPARAM>(state->icon), 0);
        ::SetWindowPos(icon, nullptr, 0, 0, 48, 48, SWP_NOMOVE | SWP_NOZORDER);
        state->titleFont =
            ::CreateFontA(-24, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, 0, 0, "Arial");
        state->linkFont =
            ::CreateFontA(-12, 0, 0, 0, FW_BOLD, FALSE, TRUE, FALSE, DEFAULT_CHARSET, 0, 0, 0, 0, "Arial");
        HWND title = ::GetDlgItem(dlg, IDC_LBLTITILE);
        SetText(title, std::string(kAppTitle));
        ::SendMessageA(title, WM_SETFONT, reinterpret_cast<WPARAM>(state->titleFont), FALSE);
        SetText(::GetDlgItem(dlg, IDC_VERSION), AboutVersionLine(state->data->version));
        HWND link = ::GetDlgItem(dlg, IDC_LBLWEBSITE);
        SetText(link, std::string(kWebSite));
        ::SendMessageA(link, WM_SETFONT, reinterpret_cast<WPARAM>(state->linkFont), FALSE);
        return TRUE;
    }
    case WM_SETCURSOR:
        if (reinterpret_cast<HWND>(wp) == ::GetDlgItem(dlg, IDC_LBLWEBSITE)) {
            ::SetCursor(::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_HAND)));
            ::SetWindowLongPtrA(dlg, DWLP_MSGRESULT, TRUE);
            return TRUE;
        }
        break;
    case WM_COMMAND:
        if (LOWORD(wp) == IDC_LBLWEBSITE && HIWORD(wp) == STN_CLICKED) {
            if (state->data->openWebPage)
                state->data->openWebPage(dlg, state->data->context);
            return TRUE;
        }
        // Enter and Escape close the box wherever the focus is.
        if (LOWORD(wp) == IDOK || LOWORD(wp) == IDCANCEL) {
            ::EndDialog(dlg, LOWORD(wp));
            return TRUE;
        }
        break;
    case WM_DESTROY:
        ::RemovePropA(dlg, kSkinKeepFonts);
        if (state) {
            for (HFONT f : {state->titleFont, state->linkFont})
                if (f)
                    ::DeleteObject(f);
            if (state->icon)
                ::DestroyIcon(state->icon);
        }
        break;
    }
    return FALSE;
}

} // namespace

bool RunSkinDialog(HWND owner, SkinDialogData& data) {
    return ::DialogBoxParamA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_SELSKIN), owner, SkinProc,
                             reinterpret_cast<LPARAM>(&data)) == IDOK;
}

void RunAboutBox(HWND owner, const AboutData& data) {
    AboutState state{&data};
    ::DialogBoxParamA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_ABOUT), owner, AboutProc,
                      reinterpret_cast<LPARAM>(&state));
}

} // namespace mrf::ui
