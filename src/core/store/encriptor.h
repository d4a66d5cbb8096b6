#pragma once
// The settings store: ordered name=value lines kept scrambled in one file.
//
// What a save promises:
// - A save that reports failure (throws StoreIoError) has no effect on any reader, now or later.
// - A save that returns has its content seen by every later load.
// - A file the saver may not write is never changed: the file is opened for writing before the
//   journal is touched.
// - Repeating a failed save applies its changes once: a save merges what the store holds, not a
//   replay of operations.
// - A crash at any write leaves the old or the new content: the new content goes to the journal
//   beside the file first, then into the file in place, then the journal is cleared; a load that
//   finds a complete journal takes it and finishes the save.
//
// A save merges by units (groups of settings that belong together; the program names them): each
// unit this store left as it was at load takes what the file holds at save time, each unit it
// changed is written whole as the store holds it. So nothing another process saved meanwhile is
// lost unless this store changed the same unit, and no unit is ever half of one writer and half of
// another: where both changed a unit, the later save wins for that unit.
//
// Names and values that would break the line format (line breaks, NUL, "=" in a name, a blank
// name) are refused with InvalidSettingError before anything changes.
#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "core/store/line_list.h"
#include "ports/file_system.h"

namespace mrf {

// Name and value of the entry that a store writes into a file it creates.
inline constexpr std::string_view kSentinel = "#QWXRTZBNCMDLSEFG$RKDNWHGQZBVXCLA";

// An input/output failure of the settings file.
class StoreIoError : public std::runtime_error {
public:
    explicit StoreIoError(IoError error);
    const IoError& Error() const { return error_; }

private:
    IoError error_;
};

// An integer setting whose stored text is not an integer.
class ConversionError : public std::runtime_error {
public:
    ConversionError(std::string key, std::string value);
    const std::string& Key() const { return key_; }
    const std::string& Value() const { return value_; }

private:
    std::string key_;
    std::string value_;
};

// A name or value the line format cannot hold; nothing was changed.
class InvalidSettingError : public std::invalid_argument {
public:
    InvalidSettingError(std::string key, std::string reason);
    const std::string& Key() const { return key_; }
    const std::string& Reason() const { return reason_; }

private:
    std::string key_;
    std::string reason_;
};

// Why name cannot be a setting's name (CR, LF, NUL or "=" in it, or nothing but blanks), or
// empty when it can.
std::string RefusedName(std::string_view name);
// Why value cannot be a setting's value (CR, LF or NUL in it), or empty when it can.
std::string RefusedValue(std::string_view value);

// The journal that makes saves atomic; lies beside the settings file.
std::string JournalPath(const std::string& settingsPath);

// The unit a setting belongs to when a save merges: the length of the leading part of name that
// names the unit. Names whose leading parts are equal without regard to case form one unit.
using SettingsUnits = std::function<size_t(std::string_view name)>;

// Whether the file holds settings: its content, or the complete journal beside it, is scrambled
// text that decodes (an empty file is an empty list).
bool IsSettingsFile(FileSystem& files, const std::string& path);

class TEncriptor {
public:
    // Create: loads the file, creating it with the sentinel entry when it is missing, and creates
    // the journal when the file has none (where this process may). Throws StoreIoError when the
    // file cannot be created or read. units: see SettingsUnits; by default every name is a unit.
    TEncriptor(std::string fileName, FileSystem& files, SettingsUnits units = {});
    TEncriptor(const TEncriptor&) = delete;
    TEncriptor& operator=(const TEncriptor&) = delete;

    const std::string& FileName() const { return fileName_; }
    bool Modified() const { return modified_; }
    std::vector<std::string> Lines() const { return lines_.Texts(); }
    size_t Count() const { return lines_.size(); }
    // f(line) for every line in list order, without copying; the store must not change meanwhile.
    template <typename F> void ForEachLine(F f) const {
        lines_.ForEach([&](LineList::Index, const LineList::Line& line) { f(std::string_view(line.text)); });
    }

    std::string ReadString(std::string_view name, std::string_view def) const;
    // Throws ConversionError when the stored text is not a signed 32-bit integer.
    int32_t ReadInteger(std::string_view name, int32_t def) const;
    bool ReadBool(std::string_view name, bool def) const;
    bool KeyExists(std::string_view name) const;

    // The writes throw InvalidSettingError for a name or value the file cannot hold; prefixes may
    // hold no CR, LF, NUL or "=".
    void WriteString(std::string_view name, std::string_view value);
    void WriteInteger(std::string_view name, int32_t value);
    void WriteBool(std::string_view name, bool value);

    int ReadList(std::string_view prefix, bool lower, std::vector<std::string>& target) const;
    void WriteList(std::string_view prefix, const std::vector<std::string>& source);
    void DeleteKeys(std::string_view prefix);
    void RenameKeys(std::string_view oldPrefix, std::string_view newPrefix);
    // Replaces the whole list (the admin tool's encode); at save time it replaces the file's lines.
    // Lines may hold no CR, LF or NUL.
    void ReplaceLines(const std::vector<std::string>& lines);

    // Writes when forced or modified and returns whether it wrote. Throws StoreIoError on failure,
    // leaving the list and Modified as they were and the file as every reader saw it before.
    bool SaveIfModified(bool force);

private:
    void Changed(bool changed);
    bool Delete(std::string_view prefix);
    // Under the lock: what a load reads now (a complete journal before the file).
    std::string ReadDisk(const std::string& journal, bool& exists, bool& fromJournal, bool& journalExists);
    bool JournalHolds(const std::string& journal, const std::string& content);
    void Commit(const std::string& journal, const std::string& content, const std::string& previous,
                bool journalExists);
    std::vector<std::string> Merge(const std::vector<std::string>& theirs) const;
    void Load();

    std::string fileName_;
    FileSystem& files_;
    SettingsUnits units_;
    bool modified_ = false;
    bool replaced_ = false; // ReplaceLines since the last load or save: the file's lines go
    LineList lines_;
    std::vector<std::string> base_; // the lines as loaded or last saved, the merge's common origin
};

} // namespace mrf
