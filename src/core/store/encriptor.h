#pragma once
// The settings store: ordered name=value lines kept scrambled in one file.
//
// Saving is safe against failures and against other writers of the same file: the new content is
// written to a journal beside the file first, then into the file in place, then the journal is
// cleared; a load finds a complete journal and takes it. The changes this store made since it
// loaded are replayed onto the file as it stands on disk at save time, so a save never throws away
// what another process saved meanwhile.
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <variant>
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

// The journal that makes saves atomic; lies beside the settings file.
std::string JournalPath(const std::string& settingsPath);

class TEncriptor {
public:
    // Create: loads the file, creating it with the sentinel entry when it is missing.
    // Throws StoreIoError when the file cannot be created or read.
    TEncriptor(std::string fileName, FileSystem& files);
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

    void WriteString(std::string_view name, std::string_view value);
    void WriteInteger(std::string_view name, int32_t value);
    void WriteBool(std::string_view name, bool value);

    int ReadList(std::string_view prefix, bool lower, std::vector<std::string>& target) const;
    void WriteList(std::string_view prefix, const std::vector<std::string>& source);
    void DeleteKeys(std::string_view prefix);
    void RenameKeys(std::string_view oldPrefix, std::string_view newPrefix);
    // Replaces the whole list (the admin tool's encode); at save time it replaces the file's lines.
    void ReplaceLines(const std::vector<std::string>& lines);

    // Writes when forced or modified and returns whether it wrote. Throws StoreIoError on failure,
    // leaving the list and Modified as they were.
    bool SaveIfModified(bool force);

private:
    struct WriteOp {
        std::string name, value;
    };
    struct WriteListOp {
        std::string prefix;
        std::vector<std::string> items;
    };
    struct DeleteOp {
        std::string prefix;
    };
    struct RenameOp {
        std::string oldPrefix, newPrefix;
    };
    struct ReplaceOp {
        std::vector<std::string> lines;
    };
    using Op = std::variant<WriteOp, WriteListOp, DeleteOp, RenameOp, ReplaceOp>;

    // Each returns whether the list changed.
    static bool Apply(const Op& op, LineList& lines);
    static bool ApplyWrite(const WriteOp& op, LineList& lines);
    static bool ApplyDelete(std::string_view prefix, LineList& lines);
    void Record(Op op);

    std::string ReadDisk(bool& exists, bool& fromJournal);
    void Commit(const std::string& content, const std::string& previous, bool previousExists);
    void Load();

    std::string fileName_;
    FileSystem& files_;
    bool modified_ = false;
    LineList lines_;
    std::vector<Op> pending_; // changes since the last load or save, replayed at save time
};

} // namespace mrf
