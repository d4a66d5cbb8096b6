#include "core/gui/folder_dialog.h"

#include "core/gui/option_keys.h"
#include "core/store/encriptor.h"
#include "core/text/ansi.h"
#include "core/text/translate.h"

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

struct FieldText {
    FolderField field;
    std::string_view text;
    std::string_view refusal; // English, through the translation lookup
};

std::optional<FieldProblem> FirstRefused(std::initializer_list<FieldText> fields) {
    for (const FieldText& f : fields)
        if (!RefusedValue(f.text).empty())
            return FieldProblem{f.field, UserMessage{Tr(f.refusal), std::string(kAppTitle)}};
    return std::nullopt;
}

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

std::optional<FieldProblem> CheckFolderFields(std::string_view path, std::string_view mask) {
    return FirstRefused({{FolderField::Path, path, "The folder path cannot contain line breaks."},
                         {FolderField::Mask, mask, "The file mask cannot contain line breaks."}});
}

std::optional<FieldProblem> CheckAdvancedFields(const AdvancedFields& fields) {
    return FirstRefused(
        {{FolderField::ExclFiles, fields.exclFiles, "The exclude files text cannot contain line breaks."},
         {FolderField::InclProc, fields.inclProc, "The include processes text cannot contain line breaks."},
         {FolderField::ExclProc, fields.exclProc, "The exclude processes text cannot contain line breaks."}});
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
