#include "mrf/options_page.h"

#include <commctrl.h>

#include "core/gui/options.h"
#include "mrf/resource.h"

namespace mrf::ui {

OptionsPage::OptionsPage(PageHost& host, TEncriptor& store, MainState& state)
    : Page(host, store, state, IDD_PAGE_OPTIONS, "Program options") {}

void OptionsPage::Init() {
    HWND hotKey = ::GetDlgItem(page_, IDC_HOTKEY);
    // A key alone or with Shift alone is taken with Ctrl+Alt.
    ::SendMessageA(hotKey, HKM_SETRULES, HKCOMB_NONE | HKCOMB_S,
                   MAKELPARAM(HOTKEYF_CONTROL | HOTKEYF_ALT, 0));
    ::SendMessageA(hotKey, HKM_SETHOTKEY, ToHotKeyControl(kDefaultHotKey), 0);
}

void OptionsPage::Fill() {
    auto field = static_cast<uint16_t>(::SendDlgItemMessageA(page_, IDC_HOTKEY, HKM_GETHOTKEY, 0, 0));
    state_.pageFilling = true;
    OptionControls controls = FillOptionControls(store_, FromHotKeyControl(field));
    ::CheckDlgButton(page_, IDC_MINI, controls.mini ? BST_CHECKED : BST_UNCHECKED);
    ::CheckDlgButton(page_, IDC_NEWUSERS, controls.autorun ? BST_CHECKED : BST_UNCHECKED);
    ::SendDlgItemMessageA(page_, IDC_HOTKEY, HKM_SETHOTKEY, ToHotKeyControl(controls.hotKey), 0);
    state_.pageFilling = false;
}

bool OptionsPage::Command(unsigned id, unsigned code) {
    switch (id) {
    case IDC_MINI:
        if (code == BN_CLICKED)
            MiniClick(store_, state_, IsChecked(IDC_MINI));
        return true;
    case IDC_NEWUSERS:
        if (code == BN_CLICKED)
            ChkNewUsersClick(store_, state_, IsChecked(IDC_NEWUSERS));
        return true;
    case IDC_HOTKEY:
        if (code == EN_CHANGE) {
            auto value = static_cast<uint16_t>(::SendDlgItemMessageA(page_, IDC_HOTKEY, HKM_GETHOTKEY, 0, 0));
            JvHotKey1Change(store_, state_, ApplyHotKeyFieldRule(FromHotKeyControl(value)));
        }
        return true;
    case IDC_DEFINE_PASSWORD:
        if (code == BN_CLICKED)
            host_.RunCommand(ID_CMD_PASSWORD);
        return true;
    }
    return false;
}

} // namespace mrf::ui
