#include "core/gui/options.h"

#include "core/gui/option_keys.h"

namespace mrf {

KeyCombo FromShortcut(uint16_t code) {
    return {uint8_t(code & 0xff), (code & kShortcutShift) != 0, (code & kShortcutCtrl) != 0,
            (code & kShortcutAlt) != 0};
}

uint16_t ToShortcut(const KeyCombo& combo) {
    return uint16_t(combo.vk | (combo.shift ? kShortcutShift : 0) | (combo.ctrl ? kShortcutCtrl : 0) |
                    (combo.alt ? kShortcutAlt : 0));
}

uint16_t ToHotKeyControl(uint16_t code) {
    KeyCombo c = FromShortcut(code);
    return uint16_t(c.vk | ((c.shift ? 1 : 0) | (c.ctrl ? 2 : 0) | (c.alt ? 4 : 0)) << 8);
}

uint16_t FromHotKeyControl(uint16_t value) {
    const unsigned flags = value >> 8;
    return ToShortcut({uint8_t(value & 0xff), (flags & 1) != 0, (flags & 2) != 0, (flags & 4) != 0});
}

unsigned RegisterModifiers(uint16_t code) {
    KeyCombo c = FromShortcut(code);
    return (c.alt ? 1u : 0u) | (c.ctrl ? 2u : 0u) | (c.shift ? 4u : 0u);
}

uint16_t ApplyHotKeyFieldRule(uint16_t code) {
    KeyCombo c = FromShortcut(code);
    if (c.vk == 0 || c.ctrl || c.alt)
        return code;
    return ToShortcut({c.vk, false, true, true});
}

bool AutoStartOn(const TEncriptor& store) {
    return store.ReadString(keys::kAuto, keys::kAutoDefault) == "1";
}

namespace {
// "HotKey" as an integer; a value that is not a number, or no 16-bit code, counts as absent.
int32_t ReadHotKey(const TEncriptor& store, int32_t def) {
    int32_t value = def;
    try {
        value = store.ReadInteger(keys::kHotKey, def);
    } catch (const ConversionError&) {
        return def;
    }
    return value >= 0 && value <= 0xffff ? value : def;
}
} // namespace

uint16_t HotKeyToRegister(const TEncriptor& store) {
    return uint16_t(ReadHotKey(store, kDefaultHotKey));
}

bool HasKey(uint16_t code) {
    return (code & 0xff) != 0;
}

OptionControls FillOptionControls(const TEncriptor& store, uint16_t field) {
    OptionControls controls;
    controls.mini = store.ReadBool(keys::kMinimize, keys::kMinimizeDefault);
    const int32_t stored = ReadHotKey(store, 0);
    controls.hotKey = stored > 0 ? uint16_t(stored) : field;
    controls.autorun = AutoStartOn(store);
    return controls;
}

void MiniClick(TEncriptor& store, MainState& state, bool checked) {
    if (state.pageFilling)
        return;
    store.WriteBool(keys::kMinimize, checked);
    state.settingsModified = true;
}

void ChkNewUsersClick(TEncriptor& store, MainState& state, bool checked) {
    if (state.pageFilling)
        return;
    store.WriteBool(keys::kAuto, checked);
    state.settingsModified = true;
}

void JvHotKey1Change(TEncriptor& store, MainState& state, uint16_t code) {
    if (state.pageFilling)
        return;
    store.WriteInteger(keys::kHotKey, code);
    state.settingsModified = true;
}

TrayControl::TrayControl(WindowHost& host, MainState& state, PasswordGate& gate)
    : host_(host), state_(state), gate_(gate) {}

void TrayControl::HideToTray() {
    if (state_.inTray)
        return;
    host_.SetShowMainWindow(false);
    host_.HideMainWindow();
    host_.SetTrayIcon(true);
    state_.inTray = true;
    host_.StartFindShellTimer();
}

void TrayControl::ShowSettingsWindow() {
    if (state_.inTray)
        RestoreFromTray();
    else
        host_.RestoreAndBringToFront();
}

bool TrayControl::RestoreFromTray() {
    host_.ActivateApplication();
    GateResult result = gate_.AskAdminPassword();
    if (result != GateResult::NoneStored && result != GateResult::Accepted)
        return false;
    host_.SetTrayIcon(false);
    host_.SetShowMainWindow(true);
    host_.ShowMainWindow();
    state_.inTray = false;
    ShowPending();
    return true;
}

void TrayControl::FindShellTimer(Taskbar taskbar) {
    host_.StopFindShellTimer();
    // Once the window is out of the tray the check has nothing left to do.
    if (!state_.inTray || taskbar == Taskbar::Missing)
        return;
    if (taskbar == Taskbar::Visible)
        host_.SetTrayIcon(true);
    else
        host_.StartFindShellTimer();
}

void TrayControl::ShowWindowAtStart() {
    host_.SetShowMainWindow(true);
    host_.RestoreAndBringToFront();
    ShowPending();
}

void TrayControl::ShowPending() {
    if (!state_.pendingMessage)
        return;
    UserMessage message = std::move(*state_.pendingMessage);
    state_.pendingMessage.reset();
    host_.ShowMessage(message);
}

} // namespace mrf
