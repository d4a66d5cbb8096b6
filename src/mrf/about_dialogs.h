#pragma once
// Changeskin1Click's dialog TfrmSelSkin and About1Click's TAboutBox.
#include <windows.h>

#include <string>
#include <vector>

namespace mrf::ui {

struct SkinDialogData {
    std::vector<std::string> names; // the skin names list
    std::string current;
    std::string chosen; // the drop-down's text after OK
};
// True for OK.
bool RunSkinDialog(HWND owner, SkinDialogData& data);

struct AboutData {
    std::string version; // GetVersionString of the program
    // Opens the product's web page (the link label).
    void (*openWebPage)(HWND owner, void* context) = nullptr;
    void* context = nullptr;
};
void RunAboutBox(HWND owner, const AboutData& data);

} // namespace mrf::ui
