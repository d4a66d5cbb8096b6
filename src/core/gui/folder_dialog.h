#pragma once
// The folder dialog ("Add Folder") and the advanced folder options dialog, without their windows:
// the choices they offer, what a choice does to the mask field, and the one check on OK.
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "core/gui/main_state.h"

namespace mrf {

// The protect-mode choices, in index order; the stored "_mode" is the index + 1.
inline constexpr std::string_view kProtectModeTexts[] = {
    "ReadOnly (makes files in the folder \"read only\" for any processes)",
    "Hide folder (makes the folder inaccessible for any processes)",
};

struct MaskPreset {
    std::string_view text;
    std::optional<std::string_view> mask; // none: the choice keeps the field's text and enables it
};

// The file-mask choices, in index order.
std::span<const MaskPreset> MaskPresets();
inline constexpr int kCustomMaskChoice = 5;

// Everything the folder dialog holds. A new dialog starts as constructed here.
struct FolderDialogState {
    std::string path;
    int protectMode = 0; // 0 read-only, 1 hide
    int maskChoice = 0;
    std::string mask = "*";
    bool maskEnabled = false; // the mask field and its label
    std::string exclFiles, inclProc, exclProc;
    bool operator==(const FolderDialogState&) const = default;
};

// A file-mask choice made by the user or by code: the preset's mask, or the field kept and enabled.
void ChooseMask(FolderDialogState& state, int choice);

// OK of the folder dialog: a message when the path may not be accepted (empty or only blanks).
std::optional<UserMessage> CheckFolderPath(std::string_view path);

// The advanced dialog's fields.
struct AdvancedFields {
    std::string dirLabel; // the folder path, shown above the fields
    std::string exclFiles, inclProc, exclProc;
    bool operator==(const AdvancedFields&) const = default;
};

AdvancedFields OpenAdvanced(const FolderDialogState& state);

// A field whose text the settings file cannot hold (a line break, a NUL), with what to tell the user.
enum class FolderField { Path, Mask, ExclFiles, InclProc, ExclProc };
struct FieldProblem {
    FolderField field;
    UserMessage message;
    bool operator==(const FieldProblem&) const = default;
};
// OK of the folder dialog, after CheckFolderPath: the path and the mask.
std::optional<FieldProblem> CheckFolderFields(std::string_view path, std::string_view mask);
// OK of the advanced dialog: its three texts.
std::optional<FieldProblem> CheckAdvancedFields(const AdvancedFields& fields);
// OK of the advanced dialog; after Cancel nothing is copied back.
void AcceptAdvanced(FolderDialogState& state, const AdvancedFields& fields);

} // namespace mrf
