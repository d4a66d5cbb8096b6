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

class PasswordPrompt {
public:
    explicit PasswordPrompt(PasswordPromptData& data) : data_(data) {}

    bool Init(HWND dlg) {
        dlg_ = dlg;
        TranslateWindow(dlg);
        ::SendDlgItemMessageA(dlg, IDC_EDIT1, EM_SETPASSWORDCHAR, '*', 0);
        ::SetForegroundWindow(dlg);
        ::SetFocus(::GetDlgItem(dlg, IDC_EDIT1));
        return false; // the focus is set
    }

    INT_PTR Command(unsigned id, unsigned) {
        if (id == IDOK) {
            HWND edit = ::GetDlgItem(dlg_, IDC_EDIT1);
            PromptAnswer answer = data_.check(GetText(edit));
            if (answer == PromptAnswer::Accept) {
                ::EndDialog(dlg_, IDOK);
                return TRUE;
            }
            // Without owner, brought to the front, modal for the whole program.
            Tell({nullptr, data_.wrongText, data_.wrongCaption, Buttons::Ok, Icon::Error, true});
            SetText(edit, "");
            if (answer == PromptAnswer::WrongGiveUp)
                ::EndDialog(dlg_, IDCANCEL);
            else
                ::SetFocus(edit);
            return TRUE;
        }
        if (id == IDCANCEL) {
            ::EndDialog(dlg_, IDCANCEL);
            return TRUE;
        }
        return FALSE;
    }

private:
    PasswordPromptData& data_;
    HWND dlg_ = nullptr;
};

class PasswordDefinition {
public:
    explicit PasswordDefinition(PasswordDefinitionData& data) : data_(data) {}

    void Init(HWND dlg) {
        dlg_ = dlg;
        TranslateWindow(dlg);
        ::SendDlgItemMessageA(dlg, IDC_ENTER_PASSWORD, EM_SETPASSWORDCHAR, '*', 0);
        ::SendDlgItemMessageA(dlg, IDC_CONFIRM_PASSWORD, EM_SETPASSWORDCHAR, '*', 0);
        SetText(::GetDlgItem(dlg, IDC_ENTER_PASSWORD), data_.enter);
        CenterOnOwner(dlg);
    }

    INT_PTR Command(unsigned id, unsigned) {
        if (id == IDOK) {
            std::string enter = GetText(::GetDlgItem(dlg_, IDC_ENTER_PASSWORD));
            std::string confirm = GetText(::GetDlgItem(dlg_, IDC_CONFIRM_PASSWORD));
            if (std::string problem = data_.check(enter, confirm); !problem.empty()) {
                Tell({dlg_, problem, Tr(kAppTitle)});
                HWND field = ::GetDlgItem(dlg_, IDC_CONFIRM_PASSWORD);
                SetText(field, "");
                ::SetFocus(field);
                return TRUE;
            }
            data_.enter = enter;
            data_.confirm = confirm;
            ::EndDialog(dlg_, IDOK);
            return TRUE;
        }
        if (id == IDCANCEL) {
            ::EndDialog(dlg_, IDCANCEL);
            return TRUE;
        }
        return FALSE;
    }

private:
    PasswordDefinitionData& data_;
    HWND dlg_ = nullptr;
};

} // namespace

bool RunPasswordPrompt(HWND owner, PasswordPromptData& data) {
    DisabledWindows disabled;
    PasswordPrompt prompt(data);
    return ::DialogBoxParamA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_PASSWORD), owner,
                             DialogProc<PasswordPrompt>, reinterpret_cast<LPARAM>(&prompt)) == IDOK;
}

bool RunPasswordDefinition(HWND owner, PasswordDefinitionData& data) {
    PasswordDefinition dialog(data);
    return ::DialogBoxParamA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_DEFINE_PASSWORD), owner,
                             DialogProc<PasswordDefinition>, reinterpret_cast<LPARAM>(&dialog)) == IDOK;
}

} // namespace mrf::ui
