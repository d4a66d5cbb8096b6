#pragma once
// Skins: the colours and font every window of the GUI program is painted with. A skin file is a
// small text file "<name>.skin" in the program's "Skins" folder (docs/skins.md):
//
//   # Lines starting with "#" or ";" are comments.
//   window    = #1F1F1F
//   text      = #E8E8E8
//   control   = #2B2B2B
//   selection = #3A6EA5
//   accent    = #D08A2E
//   font      = Tahoma, 8
//
// window: background of windows, dialogs and pages; text: text on them; control: background of
// edits, lists, buttons, the tool bar and the tabs; selection: selected rows and items; accent: the
// current tab, hot items, the about box's title; font: face and size in points (6 to 36). Optional:
// controltext (default: text) and selectiontext (default: black or white, whichever reads).
// Names are matched without regard to case, unknown names are ignored (later versions may add
// some); a name given twice, a line without "=", a bad colour or font, a missing required name or
// a file over 64 KiB make the file malformed: it is skipped.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/gui/main_state.h"
#include "core/store/encriptor.h"

namespace mrf {

namespace keys {
inline constexpr std::string_view kSkinName = "SkinName";
} // namespace keys

inline constexpr std::string_view kSkinFolder = "Skins";
inline constexpr std::string_view kSkinExtension = ".skin";
inline constexpr size_t kMaxSkinFileSize = 64 * 1024;
// The built-in skins, in their fixed order; the second is the one used before any is chosen.
inline constexpr std::string_view kDarkSkinName = "Office2007 Black (internal)";
inline constexpr std::string_view kLightSkinName = "WMP 2008 (internal)";

struct Rgb {
    uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Rgb&) const = default;
};

struct Skin {
    std::string name;
    Rgb window, text, control, controlText, selection, selectionText, accent;
    std::string fontFace;
    int fontPoints = 8;
    bool operator==(const Skin&) const = default;
};

// name: the skin's name; why (optional) receives what makes the file malformed.
std::optional<Skin> ParseSkin(std::string_view name, std::string_view text, std::string* why = nullptr);
// "#RRGGBB".
std::optional<Rgb> ParseColour(std::string_view text);
// Black or white, whichever reads better on background.
Rgb ReadableOn(Rgb background);
// Mixes a and b: weight 0 gives a, 256 gives b.
Rgb Blend(Rgb a, Rgb b, int weight);

// The two built-in skins, dark then light.
const std::vector<Skin>& BuiltInSkins();

// A file found in the skin folder: its name without the extension, and its bytes.
struct SkinFile {
    std::string name;
    std::string content;
};

// The skins the program offers: the built-in ones and every well-formed file, each name once
// (letter case ignored; a built-in skin wins over a file of its name).
class SkinSet {
public:
    explicit SkinSet(const std::vector<SkinFile>& files);
    // All names, sorted without regard to case: the skin names list.
    const std::vector<std::string>& Names() const { return names_; }
    // The skin of name (case ignored); a name no skin has gets the light built-in skin.
    const Skin& Find(std::string_view name) const;
    // The files that were skipped, with the reason.
    const std::vector<std::string>& Skipped() const { return skipped_; }

private:
    std::vector<Skin> skins_;
    std::vector<std::string> names_;
    std::vector<std::string> skipped_;
};

// The skin name start-up hands to the skin engine: "SkinName", else the light built-in skin.
std::string SkinNameAtStartUp(const TEncriptor& store);

// What the skin dialog's drop-down offers and which entry it selects (-1: none).
struct SkinChoice {
    std::vector<std::string> entries;
    int selected = -1;
};
// With no names the only entry is the translated "No skins available", selected.
SkinChoice SkinDialogEntries(const std::vector<std::string>& names, std::string_view current);
// OK in the skin dialog: stores the drop-down's text and marks the settings modified.
void ChooseSkin(TEncriptor& store, MainState& state, std::string_view text);

} // namespace mrf
