#include "mrf/folder_dialogs.h"

#include <shlobj.h>

#include <string>

#include "core/text/translate.h"
#include "mrf/message.h"
#include "mrf/resource.h"
#include "mrf/ui_text.h"
#include "win32/handles.h"

namespace mrf::ui {
namespace {

std::string ItemText(HWND dlg, int id) {
    return GetText(::GetDlgItem(dlg, id));
}

void SetItemText(HWND dlg, int id, const std::string& text) {
    SetText(::GetDlgItem(dlg, id), text);
}

// The system's folder selection, starting nowhere in particular; empty when cancelled.
std::string BrowseForFolder(HWND owner) {
    std::string title = Tr("Folder path :");
    BROWSEINFOA info{};
    info.hwndOwner = owner;
    info.lpszTitle = title.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS;
    LPITEMIDLIST list = ::SHBrowseForFolderA(&info);
    if (!list)
        return {};
    char path[MAX_PATH] = "";
    bool ok = ::SHGetPathFromIDListA(list, path) != FALSE;
    ::ILFree(list);
    return ok ? path : std::string();
}

// A field the settings file cannot hold: says why and puts the caret into it; the dialog stays.
void Refuse(HWND dlg, const FieldProblem& problem, int control) {
    ::MessageBoxA(dlg, problem.message.text.c_str(), problem.message.caption.c_str(), MB_OK | MB_ICONWARNING);
    HWND edit = ::GetDlgItem(dlg, control);
    ::SetFocus(edit);
    ::SendMessageA(edit, EM_SETSEL, 0, -1);
}

class FolderDialog {
public:
    explicit FolderDialog(FolderDialogData& data) : data_(data) {}

    // Called by DialogProc.
    void Init(HWND dlg) {
        dlg_ = dlg;
        TranslateWindow(dlg);
        for (int i = 0; i < 2; ++i)
            SetItemText(dlg, IDC_PROTECTMODE_0 + i, Tr(kProtectModeTexts[i]));
        auto presets = MaskPresets();
        for (int i = 0; i < static_cast<int>(presets.size()); ++i)
            SetItemText(dlg, IDC_RADIOGROUP1_0 + i, Tr(presets[i].text));
        const FolderDialogState& s = data_.state;
        SetItemText(dlg, IDC_DIRECTORYEDIT1, s.path);
        ::CheckRadioButton(dlg, IDC_PROTECTMODE_0, IDC_PROTECTMODE_1, IDC_PROTECTMODE_0 + s.protectMode);
        ::CheckRadioButton(dlg, IDC_RADIOGROUP1_0, IDC_RADIOGROUP1_5, IDC_RADIOGROUP1_0 + s.maskChoice);
        ShowMask();
        CenterOnOwner(dlg);
    }

    INT_PTR Command(unsigned id, unsigned code) {
        if (id >= IDC_RADIOGROUP1_0 && id <= IDC_RADIOGROUP1_5) {
            if (code == BN_CLICKED && ::IsDlgButtonChecked(dlg_, static_cast<int>(id)) == BST_CHECKED) {
                data_.state.mask = ItemText(dlg_, IDC_MASKEDIT);
                ChooseMask(data_.state, static_cast<int>(id - IDC_RADIOGROUP1_0));
                ShowMask();
            }
            return TRUE;
        }
        switch (id) {
        case IDC_BROWSE:
            if (std::string folder = BrowseForFolder(dlg_); !folder.empty())
                SetItemText(dlg_, IDC_DIRECTORYEDIT1, folder);
            return TRUE;
        case IDC_BTNADVANCED: {
            Read();
            AdvancedDialogData advanced{OpenAdvanced(data_.state), data_.help};
            if (RunAdvancedDialog(dlg_, advanced))
                AcceptAdvanced(data_.state, advanced.fields);
            return TRUE;
        }
        case IDC_OKBTN:
            if (auto problem = CheckFolderPath(ItemText(dlg_, IDC_DIRECTORYEDIT1))) {
                // This message is shown as it is, untranslated.
                Tell(dlg_, *problem);
                ::SetFocus(::GetDlgItem(dlg_, IDC_DIRECTORYEDIT1));
                return TRUE;
            }
            if (auto problem =
                    CheckFolderFields(ItemText(dlg_, IDC_DIRECTORYEDIT1), ItemText(dlg_, IDC_MASKEDIT))) {
                Refuse(dlg_, *problem,
                       problem->field == FolderField::Path ? IDC_DIRECTORYEDIT1 : IDC_MASKEDIT);
                return TRUE;
            }
            Read();
            ::EndDialog(dlg_, IDOK);
            return TRUE;
        case IDCANCEL:
            ::EndDialog(dlg_, IDCANCEL);
            return TRUE;
        case IDOK:
            return TRUE; // Enter: no binding here
        }
        return FALSE;
    }

private:
    void ShowMask() {
        SetItemText(dlg_, IDC_MASKEDIT, data_.state.mask);
        ::EnableWindow(::GetDlgItem(dlg_, IDC_MASKEDIT), data_.state.maskEnabled);
        ::EnableWindow(::GetDlgItem(dlg_, IDC_LABEL2), data_.state.maskEnabled);
    }

    // The controls into the struct.
    void Read() {
        FolderDialogState& s = data_.state;
        s.path = ItemText(dlg_, IDC_DIRECTORYEDIT1);
        s.protectMode = ::IsDlgButtonChecked(dlg_, IDC_PROTECTMODE_1) == BST_CHECKED ? 1 : 0;
        s.mask = ItemText(dlg_, IDC_MASKEDIT);
    }

    FolderDialogData& data_;
    HWND dlg_ = nullptr;
};

class AdvancedDialog {
public:
    explicit AdvancedDialog(AdvancedDialogData& data) : data_(data) {}

    // Called by DialogProc.
    void Init(HWND dlg) {
        dlg_ = dlg;
        TranslateWindow(dlg);
        // The folder path in bold 13-pixel type, in the dialog's own face.
        LOGFONTA face{};
        if (auto font = reinterpret_cast<HFONT>(::SendMessageA(dlg, WM_GETFONT, 0, 0)))
            ::GetObjectA(font, sizeof face, &face);
        face.lfHeight = -13;
        face.lfWidth = 0;
        face.lfWeight = FW_BOLD;
        bold_.reset(::CreateFontIndirectA(&face));
        HWND label = ::GetDlgItem(dlg, IDC_DIRLABEL);
        ::SendMessageA(label, WM_SETFONT, reinterpret_cast<WPARAM>(bold_.get()), FALSE);
        SetText(label, data_.fields.dirLabel);
        SetItemText(dlg, IDC_EXCLFILESEDIT, data_.fields.exclFiles);
        SetItemText(dlg, IDC_INCLPROCEDIT, data_.fields.inclProc);
        SetItemText(dlg, IDC_EXCLPROCEDIT, data_.fields.exclProc);
        CenterOnOwner(dlg);
    }

    INT_PTR Command(unsigned id, unsigned) {
        switch (id) {
        case IDOK: {
            AdvancedFields typed = data_.fields;
            typed.exclFiles = ItemText(dlg_, IDC_EXCLFILESEDIT);
            typed.inclProc = ItemText(dlg_, IDC_INCLPROCEDIT);
            typed.exclProc = ItemText(dlg_, IDC_EXCLPROCEDIT);
            if (auto problem = CheckAdvancedFields(typed)) {
                Refuse(dlg_, *problem,
                       problem->field == FolderField::ExclFiles  ? IDC_EXCLFILESEDIT
                       : problem->field == FolderField::InclProc ? IDC_INCLPROCEDIT
                                                                 : IDC_EXCLPROCEDIT);
                return TRUE;
            }
            data_.fields = typed;
            ::EndDialog(dlg_, IDOK);
            return TRUE;
        }
        case IDCANCEL:
            ::EndDialog(dlg_, IDCANCEL);
            return TRUE;
        case IDC_BTNHELP:
            if (data_.help)
                data_.help();
            return TRUE;
        }
        return FALSE;
    }

private:
    AdvancedDialogData& data_;
    HWND dlg_ = nullptr;
    win32::unique_gdiobj bold_; // outlives the label, which only borrows it
};

} // namespace

bool RunFolderDialog(HWND owner, FolderDialogData& data) {
    FolderDialog dialog(data);
    return ::DialogBoxParamA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_FOLDER_EDIT), owner,
                             DialogProc<FolderDialog>, reinterpret_cast<LPARAM>(&dialog)) == IDOK;
}

bool RunAdvancedDialog(HWND owner, AdvancedDialogData& data) {
    AdvancedDialog dialog(data);
    return ::DialogBoxParamA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_ADVANCED), owner,
                             DialogProc<AdvancedDialog>, reinterpret_cast<LPARAM>(&dialog)) == IDOK;
}

} // namespace mrf::ui
