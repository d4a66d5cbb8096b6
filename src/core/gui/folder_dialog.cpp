#include "core/gui/folder_dialog.h"

#include "core/gui/option_keys.h"
#include "core/text/ansi.h"

namespace mrf {

namespace {

constexpr MaskPreset kPresets[] = {
    {"Protect the folder itself and all subfolders and files inside the folder", "*"},
    {"Protect all subfolders and files inside the folder", "\\*"},
    {"Protect all files inside the folder and subfolders", "*.*"},
    {"Protect all documents files inside the folder and subfolders", "*.doc;*.rtf;*.txt"},
    {"Protect all executable files inside the folder and subfolders", "*.exe;*.com;*.bat;*.cmd"},
    {"Enter custom file mask", std::nullopt},
};
static_assert(std::size(kPresets) == kCustomMaskChoice + 1);

} // namespace

std::span<const MaskPreset> MaskPresets() {
    return kPresets;
}

void ChooseMask(FolderDialogState& state, int choice) {
    state.maskChoice = choice;
    state.maskEnabled = choice == kCustomMaskChoice;
    if (choice >= 0 && choice < kCustomMaskChoice)
        state.mask = std::string(*kPresets[choice].mask);
}

std::optional<UserMessage> CheckFolderPath(std::string_view path) {
    if (!TrimBlanks(path).empty())
        return std::nullopt;
    // Shown as it is, without the translation lookup.
    return UserMessage{"Please enter the folder path !", std::string(kAppTitle)};
}

AdvancedFields OpenAdvanced(const FolderDialogState& state) {
    return {state.path, state.exclFiles, state.inclProc, state.exclProc};
}

void AcceptAdvanced(FolderDialogState& state, const AdvancedFields& fields) {
    state.exclFiles = fields.exclFiles;
    state.inclProc = fields.inclProc;
    state.exclProc = fields.exclProc;
}

} // namespace mrf
