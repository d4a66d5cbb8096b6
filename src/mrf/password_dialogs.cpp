#include "mrf/password_dialogs.h"

#include <vector>

#include "core/gui/option_keys.h"
#include "core/text/translate.h"
#include "mrf/message.h"
#include "mrf/resource.h"
#include "mrf/ui_text.h"

namespace mrf::ui {
namespace {

// Every other window of the program is disabled while the prompt is up, and enabled again after,
// also when the prompt ends by an error.
class DisabledWindows {
public:
    DisabledWindows() {
        ::EnumThreadWindows(::GetCurrentThreadId(), Disable, reinterpret_cast<LPARAM>(this));
    }
    DisabledWindows(const DisabledWindows&) = delete;
    DisabledWindows& operator=(const DisabledWindows&) = delete;
    ~DisabledWindows() {
        for (HWND w : windows_)
            if (::IsWindow(w))
                ::EnableWindow(w, TRUE);
    }

private:
    static BOOL CALLBACK Disable(HWND w, LPARAM self) {
        if (::IsWindowVisible(w) && ::IsWindowEnabled(w)) {
            reinterpret_cast<DisabledWindows*>(self)->windows_.push_back(w);
            ::EnableWindow(w, FALSE);
        }
        return TRUE;
    }
    std::vector<HWND> windows_;
};

INT_PTR CALLBACK PromptProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp) {
    auto* data = reinterpret_cast<PasswordPromptData*>(::GetWindowLongPtrA(dlg, DWLP_USER));
    switch (msg) {
    case WM_INITDIALOG:
        ::SetWindowLongPtrA(dlg, DWLP_USER, lp);
        TranslateWindow(dlg);
        ::SendDlgItemMessageA(dlg, IDC_EDIT1, EM_SETPASSWORDCHAR, '*', 0);
        ::SetForegroundWindow(dlg);
        ::SetFocus(::GetDlgItem(dlg, IDC_EDIT1));
        return FALSE; // the focus is set
    case WM_COMMAND:
        if (LOWORD(wp) == IDOK) {
            HWND edit = ::GetDlgItem(dlg, IDC_EDIT1);
            PromptAnswer answer = data->check(GetText(edit));
            if (answer == PromptAnswer::Accept) {
                ::EndDialog(dlg, IDOK);
                return TRUE;
            }
            // Without owner, brought to the front, modal for the whole program.
            Tell({nullptr, data->wrongText, data->wrongCaption, Buttons::Ok, Icon::Error, true});
            SetText(edit, "");
            if (answer == PromptAnswer::WrongGiveUp)
                ::EndDialog(dlg, IDCANCEL);
            else
                ::SetFocus(edit);
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

INT_PTR CALLBACK DefinitionProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp) {
    auto* data = reinterpret_cast<PasswordDefinitionData*>(::GetWindowLongPtrA(dlg, DWLP_USER));
    switch (msg) {
    case WM_INITDIALOG: {
        ::SetWindowLongPtrA(dlg, DWLP_USER, lp);
        data = reinterpret_cast<PasswordDefinitionData*>(lp);
        TranslateWindow(dlg);
        ::SendDlgItemMessageA(dlg, IDC_ENTER_PASSWORD, EM_SETPASSWORDCHAR, '*', 0);
        ::SendDlgItemMessageA(dlg, IDC_CONFIRM_PASSWORD, EM_SETPASSWORDCHAR, '*', 0);
        SetText(::GetDlgItem(dlg, IDC_ENTER_PASSWORD), data->enter);
        CenterOnOwner(dlg);
        return TRUE;
    }
    case WM_COMMAND:
        if (LOWORD(wp) == IDOK) {
            std::string enter = GetText(::GetDlgItem(dlg, IDC_ENTER_PASSWORD));
            std::string confirm = GetText(::GetDlgItem(dlg, IDC_CONFIRM_PASSWORD));
            if (std::string problem = data->check(enter, confirm); !problem.empty()) {
                Tell({dlg, problem, Tr(kAppTitle)});
                HWND field = ::GetDlgItem(dlg, IDC_CONFIRM_PASSWORD);
                SetText(field, "");
                ::SetFocus(field);
                return TRUE;
            }
            data->enter = enter;
            data->confirm = confirm;
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

} // namespace

bool RunPasswordPrompt(HWND owner, PasswordPromptData& data) {
    DisabledWindows disabled;
    return ::DialogBoxParamA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_PASSWORD), owner, PromptProc,
                             reinterpret_cast<LPARAM>(&data)) == IDOK;
}

bool RunPasswordDefinition(HWND owner, PasswordDefinitionData& data) {
    return ::DialogBoxParamA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_DEFINE_PASSWORD), owner,
                             DefinitionProc, reinterpret_cast<LPARAM>(&data)) == IDOK;
}

} // namespace mrf::ui
