#pragma once
// sSkinManager1: paints every window of the program with the chosen skin. It subclasses the
// program's dialogs, pages and the frame as they are created (a CBT hook on this thread) and answers
// the standard hooks there: WM_CTLCOLOR*, WM_ERASEBKGND and the common controls' custom draw; the
// tab control, the status bar, group boxes and the menu bar's items are painted whole; combo boxes'
// borders and buttons and sunken edges are painted over. Pop-up menus, title bars, scroll bars and
// message boxes keep the system's look.
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "core/gui/skins.h"

namespace mrf::ui {

// A window property: the dialog keeps the fonts it was made with (the about box's bold Arial).
inline constexpr const char* kSkinKeepFonts = "MrfSkinKeepFonts";

class SkinEngine {
public:
    SkinEngine();
    ~SkinEngine();
    SkinEngine(const SkinEngine&) = delete;
    SkinEngine& operator=(const SkinEngine&) = delete;

    // LoadSkins: reads folder\*.skin once, selects name and activates the engine.
    void LoadSkins(const std::string& skinFolder, const std::string& name);
    bool Active() const { return hook_ != nullptr; }
    // The skin names list.
    const std::vector<std::string>& Names() const;
    // The name last selected, as it was given.
    const std::string& CurrentName() const { return currentName_; }
    // Paints a window that was made before the engine was active, and its children.
    void Adopt(HWND window);
    // Selects a skin and repaints every window of the program.
    void Select(const std::string& name);

private:
    struct Paint; // brushes and font of the current skin
    static LRESULT CALLBACK CbtProc(int code, WPARAM wp, LPARAM lp);
    static LRESULT CALLBACK SkinnedProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    static void Subclass(HWND hwnd);
    static void Dress(HWND root);
    static BOOL CALLBACK DressChild(HWND child, LPARAM);
    static BOOL CALLBACK Redress(HWND window, LPARAM);
    static LRESULT CustomDraw(NMHDR* header, bool& handled);
    static void PaintComboFrame(HWND combo);
    static void PaintClientEdge(HWND hwnd);
    static void PaintGroupBox(HWND box, HDC dc);
    static void DressMenuBar(HWND frame);
    static void PaintMenuBarBack(HWND frame);
    static bool MenuBarMessage(HWND frame, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);

    std::unique_ptr<SkinSet> set_;
    std::string currentName_;
    std::unique_ptr<Paint> paint_;
    HHOOK hook_ = nullptr;
};

} // namespace mrf::ui
