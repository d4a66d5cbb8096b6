#include "core/store/encriptor.h"

#include <array>
#include <cstdio>

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

} // namespace

StoreIoError::StoreIoError(IoError error) : std::runtime_error(Describe(error)), error_(std::move(error)) {}

ConversionError::ConversionError(std::string key, std::string value)
    : std::runtime_error("'" + value + "' is not a valid integer value (setting " + key + ")"),
      key_(std::move(key)), value_(std::move(value)) {}

std::string JournalPath(const std::string& settingsPath) {
    return settingsPath + ".jnl";
}

TEncriptor::TEncriptor(std::string fileName, FileSystem& files)
    : fileName_(std::move(fileName)), files_(files) {
    Load();
    modified_ = false;
}

std::string TEncriptor::ReadDisk(bool& exists, bool& fromJournal) {
    fromJournal = false;
    IoError error;
    std::string content;
    if (!files_.ReadFile(fileName_, content, exists, error))
        throw StoreIoError(error);
    std::string journal, recovered;
    bool journalExists = false;
    if (files_.ReadFile(JournalPath(fileName_), journal, journalExists, error) && journalExists &&
        UnframeJournal(journal, recovered)) {
        // A save stopped after its journal was complete: that content is the file's.
        exists = true;
        fromJournal = true;
        return recovered;
    }
    return content;
}

void TEncriptor::Commit(const std::string& content, const std::string& previous, bool previousExists) {
    const std::string journal = JournalPath(fileName_);
    const bool journalExisted = files_.FileExists(journal);
    const bool fileExisted = files_.FileExists(fileName_);
    IoError error;
    if (!files_.WriteFile(journal, FrameJournal(content), error))
        throw StoreIoError(error);
    if (!journalExisted)
        files_.GrantEveryoneAccess(journal);
    if (!files_.WriteFile(fileName_, content, error)) {
        // Put the old content back so that a failed save leaves the old file; where even that
        // fails, the complete journal keeps the new content readable.
        IoError ignored;
        if (previousExists && files_.WriteFile(fileName_, previous, ignored))
            files_.WriteFile(journal, std::string(), ignored);
        throw StoreIoError(error);
    }
    if (!fileExisted)
        files_.GrantEveryoneAccess(fileName_);
    IoError ignored;
    files_.WriteFile(journal, std::string(), ignored); // a leftover journal equals the file
}

void TEncriptor::Load() {
    IoError error;
    auto lock = files_.Lock(fileName_, true, error);
    if (!lock)
        throw StoreIoError(error);
    bool exists = false, fromJournal = false;
    std::string content = ReadDisk(exists, fromJournal);
    if (!exists) {
        content = Scramble(JoinLines({LineOf(kSentinel, kSentinel)}));
        Commit(content, std::string(), false);
    } else if (fromJournal) {
        // Finish the interrupted save; where that fails the journal still serves later loads.
        IoError ignored;
        if (files_.WriteFile(fileName_, content, ignored))
            files_.WriteFile(JournalPath(fileName_), std::string(), ignored);
    }
    lines_ = LineList(SplitLines(Unscramble(content)));
    pending_.clear();
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

void TEncriptor::Record(Op op) {
    const bool changed = Apply(op, lines_);
    lines_.Compact();
    if (changed) {
        pending_.push_back(std::move(op));
        modified_ = true;
    }
}

void TEncriptor::WriteString(std::string_view name, std::string_view value) {
    Record(WriteOp{std::string(name), std::string(value)});
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
    Record(WriteListOp{std::string(prefix), source});
}

void TEncriptor::DeleteKeys(std::string_view prefix) {
    Record(DeleteOp{std::string(prefix)});
}

void TEncriptor::RenameKeys(std::string_view oldPrefix, std::string_view newPrefix) {
    Record(RenameOp{std::string(oldPrefix), std::string(newPrefix)});
}

void TEncriptor::ReplaceLines(const std::vector<std::string>& lines) {
    Record(ReplaceOp{lines});
}

bool TEncriptor::ApplyWrite(const WriteOp& op, LineList& lines) {
    auto i = lines.Find(op.name);
    if (i == LineList::npos) {
        lines.Append(LineOf(op.name, op.value));
        return true;
    }
    if (lines.At(i).Value() == op.value)
        return false;
    if (op.value.empty())
        lines.Erase(i);
    else
        lines.Replace(i, LineOf(op.name, op.value));
    return true;
}

bool TEncriptor::ApplyDelete(std::string_view prefix, LineList& lines) {
    bool removed = false;
    lines.ForEach([&](LineList::Index i, const LineList::Line& line) {
        if (AnsiStartsText(line.text, prefix)) {
            lines.Erase(i);
            removed = true;
        }
    });
    return removed;
}

bool TEncriptor::Apply(const Op& op, LineList& lines) {
    if (auto* w = std::get_if<WriteOp>(&op))
        return ApplyWrite(*w, lines);
    if (auto* wl = std::get_if<WriteListOp>(&op)) {
        ApplyDelete(wl->prefix, lines);
        for (size_t n = 0; n < wl->items.size(); ++n)
            lines.Append(wl->prefix + std::to_string(n) + "=" + wl->items[n]);
        return true;
    }
    if (auto* d = std::get_if<DeleteOp>(&op))
        return ApplyDelete(d->prefix, lines);
    if (auto* all = std::get_if<ReplaceOp>(&op)) {
        bool same = lines.Texts() == all->lines;
        lines = LineList(all->lines);
        return !same;
    }
    const auto& r = std::get<RenameOp>(op);
    bool changed = false;
    lines.ForEach([&](LineList::Index i, const LineList::Line& line) {
        if (AnsiStartsText(line.text, r.oldPrefix)) {
            lines.Replace(i, r.newPrefix + line.text.substr(r.oldPrefix.size()));
            changed = true;
        }
    });
    return changed;
}

bool TEncriptor::SaveIfModified(bool force) {
    if (!force && !modified_)
        return false;
    IoError error;
    auto lock = files_.Lock(fileName_, true, error);
    if (!lock)
        throw StoreIoError(error);
    bool exists = false, fromJournal = false;
    const std::string disk = ReadDisk(exists, fromJournal);
    LineList merged;
    if (exists) {
        merged = LineList(SplitLines(Unscramble(disk)));
        for (const Op& op : pending_) {
            Apply(op, merged);
            merged.Compact();
        }
    } else {
        merged = lines_; // the file vanished meanwhile: nothing to merge with, keep what we hold
    }
    Commit(Scramble(JoinLines(merged.Texts())), disk, exists);
    lines_ = std::move(merged);
    pending_.clear();
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
