#include "mrf/users_dialogs.h"

#include "mrf/resource.h"
#include "mrf/ui_text.h"

namespace mrf::ui {
namespace {

class PickGroup {
public:
    explicit PickGroup(const PickGroupRequest& request) : request_(request) {}
    int chosen = -1;

    void Init(HWND dlg) {
        dlg_ = dlg;
        TranslateWindow(dlg);
        SetText(dlg, request_.caption);
        HWND list = ::GetDlgItem(dlg, IDC_GROUPSLISTBOX);
        for (const std::string& item : request_.items)
            ::SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
        if (!request_.items.empty())
            ::SendMessageA(list, LB_SETCURSEL, 0, 0);
        CenterOnOwner(dlg);
        ::SetFocus(list);
    }

    INT_PTR Command(unsigned id, unsigned) {
        switch (id) {
        case IDOK:
            chosen = static_cast<int>(::SendDlgItemMessageA(dlg_, IDC_GROUPSLISTBOX, LB_GETCURSEL, 0, 0));
            ::EndDialog(dlg_, IDOK);
            return TRUE;
        case IDCANCEL:
            ::EndDialog(dlg_, IDCANCEL);
            return TRUE;
        }
        return FALSE;
    }

private:
    const PickGroupRequest& request_;
    HWND dlg_ = nullptr;
};

class TextEdit {
public:
    explicit TextEdit(const TextEntryRequest& request) : request_(request) {}
    TextEntryResult result;

    void Init(HWND dlg) {
        dlg_ = dlg;
        TranslateWindow(dlg);
        SetText(dlg, request_.caption);
        SetText(::GetDlgItem(dlg, IDC_TEXTLABEL), request_.label);
        SetText(::GetDlgItem(dlg, IDC_TEXTEDIT), request_.text);
        if (request_.showSecond) {
            SetText(::GetDlgItem(dlg, IDC_TEXTLABELEXT), request_.secondLabel);
            SetText(::GetDlgItem(dlg, IDC_TEXTEDITEXT), request_.secondText);
            ::ShowWindow(::GetDlgItem(dlg, IDC_TEXTLABELEXT), SW_SHOWNA);
            ::ShowWindow(::GetDlgItem(dlg, IDC_TEXTEDITEXT), SW_SHOWNA);
        }
        CenterOnOwner(dlg);
    }

    INT_PTR Command(unsigned id, unsigned) {
        switch (id) {
        case IDOK:
            result.text = GetText(::GetDlgItem(dlg_, IDC_TEXTEDIT));
            result.secondText = GetText(::GetDlgItem(dlg_, IDC_TEXTEDITEXT));
            ::EndDialog(dlg_, IDOK);
            return TRUE;
        case IDCANCEL:
            ::EndDialog(dlg_, IDCANCEL);
            return TRUE;
        }
        return FALSE;
    }

private:
    const TextEntryRequest& request_;
    HWND dlg_ = nullptr;
};

} // namespace

int PickGroupDialog(HWND owner, const PickGroupRequest& request) {
    PickGroup dialog(request);
    const INT_PTR result = ::DialogBoxParamA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_USERGROUPS),
                                             owner, DialogProc<PickGroup>, reinterpret_cast<LPARAM>(&dialog));
    return result == IDOK ? dialog.chosen : -1;
}

TextEntryResult TextEntryDialog(HWND owner, const TextEntryRequest& request) {
    TextEdit dialog(request);
    const INT_PTR result = ::DialogBoxParamA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_TEXTEDIT),
                                             owner, DialogProc<TextEdit>, reinterpret_cast<LPARAM>(&dialog));
    return result == IDOK ? dialog.result : TextEntryResult{};
}

} // namespace mrf::ui
