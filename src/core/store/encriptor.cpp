#include "core/store/encriptor.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <unordered_map>
#include <unordered_set>

#include "core/store/scramble.h"
#include "core/text/ansi.h"

namespace mrf {
namespace {

constexpr std::string_view kJournalMagic = "MRFJ ";

uint32_t Crc32(std::string_view data) {
    static const std::array<uint32_t, 256> table = [] {
        std::array<uint32_t, 256> t{};
        for (uint32_t i = 0; i < 256; ++i) {
            uint32_t c = i;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[i] = c;
        }
        return t;
    }();
    uint32_t crc = 0xFFFFFFFFu;
    for (char ch : data)
        crc = table[(crc ^ static_cast<unsigned char>(ch)) & 0xFF] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

// "MRFJ <length> <crc32>\r\n" followed by the content the settings file is to hold.
std::string FrameJournal(const std::string& content) {
    char header[64];
    std::snprintf(header, sizeof header, "%.*s%zu %08X\r\n", static_cast<int>(kJournalMagic.size()),
                  kJournalMagic.data(), content.size(), static_cast<unsigned>(Crc32(content)));
    return header + content;
}

// The content of a complete journal; false for an empty, torn or foreign one.
bool UnframeJournal(std::string_view journal, std::string& content) {
    if (journal.substr(0, kJournalMagic.size()) != kJournalMagic)
        return false;
    size_t eol = journal.find("\r\n");
    if (eol == std::string_view::npos)
        return false;
    std::string header(journal.substr(kJournalMagic.size(), eol - kJournalMagic.size()));
    unsigned long long length = 0;
    unsigned crc = 0;
    int used = 0;
    if (std::sscanf(header.c_str(), "%llu %8X%n", &length, &crc, &used) != 2 ||
        static_cast<size_t>(used) != header.size())
        return false;
    std::string_view body = journal.substr(eol + 2);
    if (body.size() != length || Crc32(body) != crc)
        return false;
    content = std::string(body);
    return true;
}

std::string LineOf(std::string_view name, std::string_view value) {
    std::string line;
    line.reserve(name.size() + value.size() + 1);
    line.append(name).append("=").append(value);
    return line;
}

// The text of a refused name for messages: line breaks and NUL made visible.
std::string Visible(std::string_view text) {
    std::string out;
    for (char c : text) {
        if (c == '\r')
            out += "<CR>";
        else if (c == '\n')
            out += "<LF>";
        else if (c == '\0')
            out += "<NUL>";
        else
            out += c;
    }
    return out;
}

std::string Breaks(std::string_view text) {
    if (text.find_first_of(std::string_view("\r\n", 2)) != std::string_view::npos)
        return "contains a line break";
    if (text.find('\0') != std::string_view::npos)
        return "contains a NUL character";
    return {};
}

void CheckName(std::string_view name) {
    if (std::string why = RefusedName(name); !why.empty())
        throw InvalidSettingError(std::string(name), "the name " + why);
}

void CheckValue(std::string_view name, std::string_view value) {
    if (std::string why = RefusedValue(value); !why.empty())
        throw InvalidSettingError(std::string(name), "the value " + why);
}

void CheckPrefix(std::string_view prefix) {
    std::string why = Breaks(prefix);
    if (why.empty() && prefix.find('=') != std::string_view::npos)
        why = "contains \"=\"";
    if (!why.empty())
        throw InvalidSettingError(std::string(prefix), "the name " + why);
}

} // namespace

StoreIoError::StoreIoError(IoError error) : std::runtime_error(Describe(error)), error_(std::move(error)) {}

ConversionError::ConversionError(std::string key, std::string value)
    : std::runtime_error("'" + value + "' is not a valid integer value (setting " + key + ")"),
      key_(std::move(key)), value_(std::move(value)) {}

InvalidSettingError::InvalidSettingError(std::string key, std::string reason)
    : std::invalid_argument("setting \"" + Visible(key) + "\": " + reason), key_(std::move(key)),
      reason_(std::move(reason)) {}

std::string RefusedName(std::string_view name) {
    if (std::string why = Breaks(name); !why.empty())
        return why;
    if (name.find('=') != std::string_view::npos)
        return "contains \"=\"";
    if (name.find_first_not_of(" \t") == std::string_view::npos)
        return "is empty";
    return {};
}

std::string RefusedValue(std::string_view value) {
    return Breaks(value);
}

std::string JournalPath(const std::string& settingsPath) {
    return settingsPath + ".jnl";
}

bool IsSettingsFile(FileSystem& files, const std::string& path) {
    std::string content, journal, recovered;
    bool exists = false, journalExists = false;
    IoError error;
    if (files.ReadFile(JournalPath(files.CanonicalPath(path)), journal, journalExists, error) &&
        journalExists && UnframeJournal(journal, recovered) && IsScrambledText(recovered))
        return true;
    return files.ReadFile(path, content, exists, error) && exists && IsScrambledText(content);
}

TEncriptor::TEncriptor(std::string fileName, FileSystem& files, SettingsUnits units)
    : fileName_(std::move(fileName)), files_(files), units_(std::move(units)) {
    Load();
    modified_ = false;
}

std::string TEncriptor::ReadDisk(const std::string& journal, bool& exists, bool& fromJournal,
                                 bool& journalExists) {
    fromJournal = false;
    IoError error;
    std::string content;
    if (!files_.ReadFile(fileName_, content, exists, error))
        throw StoreIoError(error);
    std::string framed, recovered;
    journalExists = false;
    if (files_.ReadFile(journal, framed, journalExists, error) && journalExists &&
        UnframeJournal(framed, recovered)) {
        // A save stopped after its journal was complete: that content is the file's.
        exists = true;
        fromJournal = true;
        return recovered;
    }
    return content;
}

bool TEncriptor::JournalHolds(const std::string& journal, const std::string& content) {
    std::string framed, recovered;
    bool exists = false;
    IoError ignored;
    return files_.ReadFile(journal, framed, exists, ignored) && exists && UnframeJournal(framed, recovered) &&
           recovered == content;
}

// Either a load reads content afterwards and Commit returns, or a load reads previous (what it read
// before) and Commit throws. Which one holds is decided by what is on the disk, not by which call
// failed: a failed write may have written everything.
void TEncriptor::Commit(const std::string& journal, const std::string& content, const std::string& previous,
                        bool journalExists) {
    IoError error;
    const bool fileExisted = files_.FileExists(fileName_);
    // The file first: one this process may not write is never changed through the journal.
    auto file = files_.OpenForWriting(fileName_, error);
    if (!file)
        throw StoreIoError(error);
    IoError ignored;
    if (!files_.WriteFile(journal, FrameJournal(content), error)) {
        if (files_.WriteFile(journal, std::string(), ignored) || !JournalHolds(journal, content))
            throw StoreIoError(error);
        // A whole journal that cannot be cleared is read by every load: finish the save instead.
        if (file->Replace(content, ignored))
            files_.WriteFile(journal, std::string(), ignored);
        return;
    }
    if (!journalExists)
        files_.GrantEveryoneAccess(journal);
    if (!file->Replace(content, error)) {
        // Back to the old content, then the journal goes; while the journal stays whole, every load
        // takes the new content from it, and the save has landed after all.
        if (file->Replace(previous, ignored) &&
            (files_.WriteFile(journal, std::string(), ignored) || !JournalHolds(journal, content)))
            throw StoreIoError(error);
        return;
    }
    file.reset();
    if (!fileExisted)
        files_.GrantEveryoneAccess(fileName_);
    files_.WriteFile(journal, std::string(), ignored); // a leftover journal equals the file
}

void TEncriptor::Load() {
    const std::string canonical = files_.CanonicalPath(fileName_);
    const std::string journal = JournalPath(canonical);
    IoError error;
    auto lock = files_.Lock(canonical, true, error);
    if (!lock)
        throw StoreIoError(error);
    bool exists = false, fromJournal = false, journalExists = false;
    std::string content = ReadDisk(journal, exists, fromJournal, journalExists);
    IoError ignored;
    if (!exists) {
        content = Scramble(JoinLines({LineOf(kSentinel, kSentinel)}));
        Commit(journal, content, std::string(), journalExists);
    } else if (fromJournal) {
        // Finish the interrupted save; where that fails the journal still serves later loads.
        if (files_.WriteFile(fileName_, content, ignored))
            files_.WriteFile(journal, std::string(), ignored);
    } else if (!journalExists) {
        // A file shipped or copied without its journal: later saves need one, and a user who may
        // write the file may not be able to create files beside it.
        if (files_.WriteFile(journal, std::string(), ignored))
            files_.GrantEveryoneAccess(journal);
    }
    lines_ = LineList(SplitLines(Unscramble(content)));
    base_ = lines_.Texts();
    replaced_ = false;
}

std::string TEncriptor::ReadString(std::string_view name, std::string_view def) const {
    auto i = lines_.Find(name);
    if (i == LineList::npos)
        return std::string(def);
    return std::string(TrimSpaces(lines_.At(i).Value()));
}

int32_t TEncriptor::ReadInteger(std::string_view name, int32_t def) const {
    std::string text = ReadString(name, std::string_view());
    if (text.empty())
        return def;
    int32_t value = 0;
    if (!ParseInt32(text, value))
        throw ConversionError(std::string(name), text);
    return value;
}

bool TEncriptor::ReadBool(std::string_view name, bool def) const {
    auto i = lines_.Find(name);
    // The first line is where the sentinel stands; a match there reads as absent.
    if (i == LineList::npos || i == lines_.First())
        return def;
    return TrimSpaces(lines_.At(i).Value()) == "1";
}

bool TEncriptor::KeyExists(std::string_view name) const {
    return lines_.Find(name) != LineList::npos;
}

void TEncriptor::Changed(bool changed) {
    lines_.Compact();
    if (changed)
        modified_ = true;
}

void TEncriptor::WriteString(std::string_view name, std::string_view value) {
    CheckName(name);
    CheckValue(name, value);
    auto i = lines_.Find(name);
    if (i == LineList::npos) {
        lines_.Append(LineOf(name, value));
    } else if (lines_.At(i).Value() == value) {
        return;
    } else if (value.empty()) {
        lines_.Erase(i);
    } else {
        lines_.Replace(i, LineOf(name, value));
    }
    Changed(true);
}

void TEncriptor::WriteInteger(std::string_view name, int32_t value) {
    WriteString(name, std::to_string(value));
}

void TEncriptor::WriteBool(std::string_view name, bool value) {
    WriteString(name, value ? "1" : "0");
}

int TEncriptor::ReadList(std::string_view prefix, bool lower, std::vector<std::string>& target) const {
    target.clear();
    lines_.ForEach([&](LineList::Index, const LineList::Line& line) {
        if (!AnsiStartsText(line.text, prefix))
            return;
        const std::string value(line.Value());
        target.push_back(lower ? AsciiLower(value) : value);
    });
    return static_cast<int>(target.size());
}

void TEncriptor::WriteList(std::string_view prefix, const std::vector<std::string>& source) {
    CheckPrefix(prefix);
    for (size_t n = 0; n < source.size(); ++n)
        CheckValue(std::string(prefix) + std::to_string(n), source[n]);
    Delete(prefix);
    for (size_t n = 0; n < source.size(); ++n)
        lines_.Append(std::string(prefix) + std::to_string(n) + "=" + source[n]);
    Changed(true);
}

bool TEncriptor::Delete(std::string_view prefix) {
    bool removed = false;
    lines_.ForEach([&](LineList::Index i, const LineList::Line& line) {
        if (AnsiStartsText(line.text, prefix)) {
            lines_.Erase(i);
            removed = true;
        }
    });
    return removed;
}

void TEncriptor::DeleteKeys(std::string_view prefix) {
    CheckPrefix(prefix);
    Changed(Delete(prefix));
}

void TEncriptor::RenameKeys(std::string_view oldPrefix, std::string_view newPrefix) {
    CheckPrefix(oldPrefix);
    CheckPrefix(newPrefix);
    bool changed = false;
    lines_.ForEach([&](LineList::Index i, const LineList::Line& line) {
        if (AnsiStartsText(line.text, oldPrefix)) {
            lines_.Replace(i, std::string(newPrefix) + line.text.substr(oldPrefix.size()));
            changed = true;
        }
    });
    Changed(changed);
}

void TEncriptor::ReplaceLines(const std::vector<std::string>& lines) {
    for (const std::string& line : lines)
        if (std::string why = Breaks(line); !why.empty())
            throw InvalidSettingError(line.substr(0, line.find('=')), "the line " + why);
    const bool same = lines_.Texts() == lines;
    lines_ = LineList(lines);
    replaced_ = true;
    Changed(!same);
}

namespace {

// Lines grouped by unit, each unit's lines in list order.
class UnitTable {
public:
    UnitTable(const std::vector<std::string>& lines, const SettingsUnits& units) : units_(units) {
        for (const std::string& line : lines)
            map_[IdOf(line)].push_back(&line);
    }

    std::string IdOf(const std::string& line) const {
        const size_t eq = line.find('=');
        if (eq == std::string::npos)
            return "L" + line; // a line without a name is a unit of its own text
        std::string_view name = std::string_view(line).substr(0, eq);
        if (units_)
            name = name.substr(0, std::min(units_(name), name.size()));
        return "N" + ToAnsiUpper(name);
    }

    bool Same(const UnitTable& other, const std::string& id) const {
        const auto* a = Find(id);
        const auto* b = other.Find(id);
        if (!a || !b)
            return !a == !b;
        if (a->size() != b->size())
            return false;
        for (size_t i = 0; i < a->size(); ++i)
            if (*(*a)[i] != *(*b)[i])
                return false;
        return true;
    }

    const std::vector<const std::string*>* Find(const std::string& id) const {
        auto it = map_.find(id);
        return it == map_.end() ? nullptr : &it->second;
    }

private:
    const SettingsUnits& units_;
    std::unordered_map<std::string, std::vector<const std::string*>> map_;
};

} // namespace

std::vector<std::string> TEncriptor::Merge(const std::vector<std::string>& theirs) const {
    const std::vector<std::string> mine = lines_.Texts();
    const UnitTable base(base_, units_), ours(mine, units_), disk(theirs, units_);
    std::unordered_map<std::string, bool> takesMine; // per unit met, whether this store changed it
    auto changedHere = [&](const std::string& id) {
        auto [it, inserted] = takesMine.try_emplace(id, false);
        if (inserted)
            it->second = !ours.Same(base, id);
        return it->second;
    };
    std::vector<std::string> merged;
    merged.reserve(std::max(mine.size(), theirs.size()));
    std::unordered_set<std::string> written;
    auto writeMine = [&](const std::string& id) {
        if (!written.insert(id).second)
            return;
        if (const auto* lines = ours.Find(id))
            for (const std::string* line : *lines)
                merged.push_back(*line);
    };
    // The file's order, with each unit changed here put where the file has it, or else at the end.
    for (const std::string& line : theirs) {
        const std::string id = disk.IdOf(line);
        if (changedHere(id))
            writeMine(id);
        else
            merged.push_back(line);
    }
    for (const std::string& line : mine) {
        const std::string id = ours.IdOf(line);
        if (changedHere(id))
            writeMine(id);
    }
    return merged;
}

bool TEncriptor::SaveIfModified(bool force) {
    if (!force && !modified_)
        return false;
    const std::string canonical = files_.CanonicalPath(fileName_);
    const std::string journal = JournalPath(canonical);
    IoError error;
    auto lock = files_.Lock(canonical, true, error);
    if (!lock)
        throw StoreIoError(error);
    bool exists = false, fromJournal = false, journalExists = false;
    const std::string disk = ReadDisk(journal, exists, fromJournal, journalExists);
    std::vector<std::string> theirs = exists ? SplitLines(Unscramble(disk)) : std::vector<std::string>();
    // Where nobody saved since this store loaded (or the file was deleted, or all of it is being
    // replaced), what the store holds is the result as it stands.
    const bool keep = !exists || replaced_ || theirs == base_;
    std::vector<std::string> merged = keep ? lines_.Texts() : Merge(theirs);
    Commit(journal, Scramble(JoinLines(merged)), disk, journalExists);
    if (!keep)
        lines_ = LineList(merged);
    base_ = std::move(merged);
    replaced_ = false;
    modified_ = false;
    return true;
}

std::string Describe(const IoError& error) {
    std::string text = error.api + " failed";
    if (!error.path.empty())
        text += " for \"" + error.path + "\"";
    if (error.code != 0)
        text += " (error " + std::to_string(error.code) +
                (error.message.empty() ? "" : ": " + error.message) + ")";
    else if (!error.message.empty())
        text += " (" + error.message + ")";
    return text;
}

} // namespace mrf
