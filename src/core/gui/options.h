#pragma once
// The options page, the global hot key's code, and the window's ways into and out of the tray.
#include <cstdint>

#include "core/gui/main_state.h"
#include "core/gui/option_keys.h"
#include "core/gui/password_gate.h"
#include "core/store/encriptor.h"

namespace mrf {

// Shortcut code: low byte the virtual-key code, plus 0x2000 Shift, 0x4000 Ctrl, 0x8000 Alt.
struct KeyCombo {
    uint8_t vk = 0;
    bool shift = false, ctrl = false, alt = false;
    bool operator==(const KeyCombo&) const = default;
};
inline constexpr uint16_t kShortcutShift = 0x2000, kShortcutCtrl = 0x4000, kShortcutAlt = 0x8000;

KeyCombo FromShortcut(uint16_t code);
uint16_t ToShortcut(const KeyCombo& combo);
// The hot-key control's value: low byte virtual key, high byte 1 Shift, 2 Ctrl, 4 Alt.
uint16_t ToHotKeyControl(uint16_t code);
uint16_t FromHotKeyControl(uint16_t value);
// RegisterHotKey's modifiers: 1 Alt, 2 Ctrl, 4 Shift.
unsigned RegisterModifiers(uint16_t code);
// The field's rule: a key without modifiers or with Shift alone is taken with Ctrl+Alt instead.
// 0 (no key) stays 0.
uint16_t ApplyHotKeyFieldRule(uint16_t code);

// "Auto" as both the logon start and the options page read it: on only when it is "1".
bool AutoStartOn(const TEncriptor& store);
// The code to register: "HotKey", default 49219; a value that is not a number counts as absent.
// 0 (or any code without a key) means no hot key.
uint16_t HotKeyToRegister(const TEncriptor& store);
bool HasKey(uint16_t code);

// What the option controls show after a filling of the pages.
struct OptionControls {
    bool mini = true;
    bool autorun = true;
    uint16_t hotKey = kDefaultHotKey;
    bool operator==(const OptionControls&) const = default;
};
// field: the hot-key field's current value, kept when "HotKey" is absent, 0 or below, or no number.
OptionControls FillOptionControls(const TEncriptor& store, uint16_t field);

// The option controls' change handlers; each does nothing while the pages are being filled.
void MiniClick(TEncriptor& store, MainState& state, bool checked);
void ChkNewUsersClick(TEncriptor& store, MainState& state, bool checked);
void JvHotKey1Change(TEncriptor& store, MainState& state, uint16_t code);

// The window's effects for the tray passages.
class WindowHost {
public:
    virtual ~WindowHost() = default;
    virtual void SetTrayIcon(bool on) = 0;
    virtual void SetShowMainWindow(bool on) = 0;
    virtual void ShowMainWindow() = 0;
    virtual void HideMainWindow() = 0;
    // Restores the application if it is minimised and brings it to the front.
    virtual void RestoreAndBringToFront() = 0;
    // Makes the application's window the active window.
    virtual void ActivateApplication() = 0;
    virtual void StartFindShellTimer() = 0;
    virtual void StopFindShellTimer() = 0;
    virtual void ShowMessage(const UserMessage& message) = 0;
};

enum class Taskbar { Missing, Hidden, Visible };

class TrayControl {
public:
    TrayControl(WindowHost& host, MainState& state, PasswordGate& gate);

    void HideToTray();
    // Tray "Settings ...", tray double click, hot key, a second start without arguments.
    void ShowSettingsWindow();
    // Returns whether the window came out of the tray.
    bool RestoreFromTray();
    // One tick of the 1000 ms tray check; taskbar: what a look for "Shell_TrayWnd" found.
    void FindShellTimer(Taskbar taskbar);
    // Shows the window outside the tray (a start without arguments) and any pending message.
    void ShowWindowAtStart();
    // Shows and clears the message kept for the next opening of the window.
    void ShowPending();

private:
    WindowHost& host_;
    MainState& state_;
    PasswordGate& gate_;
};

} // namespace mrf
