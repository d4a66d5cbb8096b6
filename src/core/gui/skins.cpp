#include "core/gui/skins.h"

#include <algorithm>

#include "core/text/ansi.h"
#include "core/text/translate.h"

namespace mrf {
namespace {

Skin MakeSkin(std::string name, Rgb window, Rgb text, Rgb control, Rgb selection, Rgb accent) {
    Skin skin;
    skin.name = std::move(name);
    skin.window = window;
    skin.text = text;
    skin.control = control;
    skin.controlText = text;
    skin.selection = selection;
    skin.selectionText = ReadableOn(selection);
    skin.accent = accent;
    skin.fontFace = "Tahoma";
    skin.fontPoints = 8;
    return skin;
}

bool ParsePoints(std::string_view text, int& points) {
    if (text.empty() || text.size() > 2)
        return false;
    points = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return false;
        points = points * 10 + (c - '0');
    }
    return points >= 6 && points <= 36;
}

bool LessNoCase(const std::string& a, const std::string& b) {
    return ToAnsiUpper(a) < ToAnsiUpper(b);
}

} // namespace

std::optional<Rgb> ParseColour(std::string_view text) {
    if (text.size() != 7 || text[0] != '#')
        return std::nullopt;
    int v[6];
    for (int i = 0; i < 6; ++i)
        if ((v[i] = HexDigitValue(text[1 + i])) < 0)
            return std::nullopt;
    return Rgb{static_cast<uint8_t>(v[0] * 16 + v[1]), static_cast<uint8_t>(v[2] * 16 + v[3]),
               static_cast<uint8_t>(v[4] * 16 + v[5])};
}

Rgb ReadableOn(Rgb background) {
    const int luma = background.r * 299 + background.g * 587 + background.b * 114;
    return luma >= 128 * 1000 ? Rgb{0, 0, 0} : Rgb{255, 255, 255};
}

Rgb Blend(Rgb a, Rgb b, int weight) {
    auto mix = [weight](uint8_t x, uint8_t y) {
        return static_cast<uint8_t>((x * (256 - weight) + y * weight) / 256);
    };
    return {mix(a.r, b.r), mix(a.g, b.g), mix(a.b, b.b)};
}

std::optional<Skin> ParseSkin(std::string_view name, std::string_view text, std::string* why) {
    auto fail = [why](std::string reason) -> std::optional<Skin> {
        if (why)
            *why = std::move(reason);
        return std::nullopt;
    };
    if (text.size() > kMaxSkinFileSize)
        return fail("the file is larger than 64 KiB");
    if (text.find('\0') != std::string_view::npos)
        return fail("the file holds a NUL character");
    struct Field {
        std::string_view key;
        bool required;
        std::optional<std::string> value;
    } fields[] = {{"window", true, {}},       {"text", true, {}},          {"control", true, {}},
                  {"selection", true, {}},    {"accent", true, {}},        {"font", true, {}},
                  {"controltext", false, {}}, {"selectiontext", false, {}}};
    int lineNo = 0;
    while (!text.empty()) {
        const size_t eol = text.find('\n');
        std::string_view line = TrimBlanks(text.substr(0, eol));
        text = eol == std::string_view::npos ? std::string_view() : text.substr(eol + 1);
        ++lineNo;
        if (line.empty() || line[0] == '#' || line[0] == ';')
            continue;
        const size_t eq = line.find('=');
        if (eq == std::string_view::npos)
            return fail("line " + std::to_string(lineNo) + " has no \"=\"");
        std::string_view key = TrimBlanks(line.substr(0, eq));
        std::string_view value = TrimBlanks(line.substr(eq + 1));
        for (auto& field : fields) {
            if (!AnsiSameText(key, field.key))
                continue;
            if (field.value)
                return fail("\"" + std::string(field.key) + "\" is given twice");
            field.value = std::string(value);
        }
    }
    for (const auto& field : fields)
        if (field.required && !field.value)
            return fail("\"" + std::string(field.key) + "\" is missing");

    Skin skin;
    skin.name = std::string(name);
    Rgb* colours[] = {&skin.window, &skin.text, &skin.control, &skin.selection, &skin.accent};
    for (int i = 0; i < 5; ++i) {
        auto colour = ParseColour(*fields[i].value);
        if (!colour)
            return fail("\"" + std::string(fields[i].key) + "\" is no colour of the form #RRGGBB");
        *colours[i] = *colour;
    }
    skin.controlText = skin.text;
    skin.selectionText = ReadableOn(skin.selection);
    for (int i : {6, 7}) {
        if (!fields[i].value)
            continue;
        auto colour = ParseColour(*fields[i].value);
        if (!colour)
            return fail("\"" + std::string(fields[i].key) + "\" is no colour of the form #RRGGBB");
        (i == 6 ? skin.controlText : skin.selectionText) = *colour;
    }
    std::string_view font = *fields[5].value;
    const size_t comma = font.rfind(',');
    if (comma == std::string_view::npos)
        return fail("\"font\" is not \"face, size\"");
    std::string_view face = TrimBlanks(font.substr(0, comma));
    if (face.empty() || face.size() > 31 || face.find(',') != std::string_view::npos)
        return fail("the font's face name is empty, longer than 31 characters or holds a \",\"");
    for (char c : face)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            return fail("the font's face name holds a control character");
    if (!ParsePoints(TrimBlanks(font.substr(comma + 1)), skin.fontPoints))
        return fail("the font's size is not a whole number from 6 to 36");
    skin.fontFace = std::string(face);
    return skin;
}

const std::vector<Skin>& BuiltInSkins() {
    static const std::vector<Skin> skins = {
        MakeSkin(std::string(kDarkSkinName), {0x20, 0x20, 0x20}, {0xE6, 0xE6, 0xE6}, {0x2D, 0x2D, 0x30},
                 {0x3E, 0x5F, 0x8A}, {0xE0, 0x8E, 0x2B}),
        MakeSkin(std::string(kLightSkinName), {0xEE, 0xF3, 0xFA}, {0x1E, 0x2A, 0x3A}, {0xFF, 0xFF, 0xFF},
                 {0x33, 0x7A, 0xC8}, {0x1F, 0x5F, 0xA8}),
    };
    return skins;
}

SkinSet::SkinSet(const std::vector<SkinFile>& files) {
    skins_ = BuiltInSkins();
    auto known = [this](std::string_view name) {
        return std::any_of(skins_.begin(), skins_.end(),
                           [&](const Skin& s) { return AnsiSameText(s.name, name); });
    };
    for (const auto& file : files) {
        std::string why;
        if (file.name.empty() || known(file.name)) {
            skipped_.push_back(file.name + ": another skin has this name");
        } else if (auto skin = ParseSkin(file.name, file.content, &why)) {
            skins_.push_back(std::move(*skin));
        } else {
            skipped_.push_back(file.name + ": " + why);
        }
    }
    for (const auto& skin : skins_)
        names_.push_back(skin.name);
    std::stable_sort(names_.begin(), names_.end(), LessNoCase);
}

const Skin& SkinSet::Find(std::string_view name) const {
    for (const auto& skin : skins_)
        if (AnsiSameText(skin.name, name))
            return skin;
    return skins_[1];
}

std::string SkinNameAtStartUp(const TEncriptor& store) {
    std::string name = store.ReadString(keys::kSkinName, "");
    return name.empty() ? std::string(kLightSkinName) : name;
}

SkinChoice SkinDialogEntries(const std::vector<std::string>& names, std::string_view current) {
    SkinChoice choice;
    if (names.empty()) {
        choice.entries.push_back(Tr("No skins available"));
        choice.selected = 0;
        return choice;
    }
    choice.entries = names;
    for (size_t i = 0; i < names.size(); ++i)
        if (AnsiSameText(names[i], current)) {
            choice.selected = static_cast<int>(i);
            break;
        }
    return choice;
}

void ChooseSkin(TEncriptor& store, MainState& state, std::string_view text) {
    store.WriteString(keys::kSkinName, text);
    state.settingsModified = true;
}

} // namespace mrf
