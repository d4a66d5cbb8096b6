#include "core/engine/compile.h"

#include <algorithm>
#include <array>
#include <optional>

#include "core/engine/rule_keys.h"
#include "core/engine/short_string.h"
#include "core/text/ansi.h"

namespace mrf {
namespace {

struct Switch {
    std::string_view suffix;
    bool defaultOn;
    std::string_view processes;
    std::array<std::string_view, 2> paths; // an empty second path adds no entry
};

constexpr std::string_view kShellProcesses = "*explorer.exe;*rundll32.exe";

constexpr std::array<Switch, 6> kSwitches{{
    {"_NoSystemTime", true, kShellProcesses, {"*timedate.cpl", ""}},
    {"_NoUsersMgr", false, kShellProcesses, {"*nusrmgr.cpl", "*usercpl.dll"}},
    {"_NoAddDelApp", false, kShellProcesses, {"*appwiz.cpl", ""}},
    {"_NoSetup", false, "*", {"*install.exe;*setup.exe;*.msi", ""}},
    {"_DisableTaskManager", false, "*", {"*taskmgr.exe", ""}},
    {"_NoIEBrowser", false, "*", {"*iexplore.exe", ""}},
}};

std::string Short(std::string_view text) {
    return std::string(CutToShort(text));
}

// The path up to its last "\"; a "\" right after a drive letter and colon stays.
std::string DirectoryOf(const std::string& path) {
    const size_t slash = path.rfind('\\');
    if (slash == std::string::npos)
        return std::string();
    if (slash == 2 && path[1] == ':')
        return path.substr(0, 3);
    return path.substr(0, slash);
}

enum Field { kEnabled, kFolder, kMode, kMask, kProc, kExlFiles, kExlProc, kFieldCount };
constexpr std::array<std::string_view, kFieldCount> kFieldNames = {"enabled", "folder",   "mode",   "mask",
                                                                   "proc",    "exlfiles", "exlproc"};

// The stored values of one folder entry, as ReadString and ReadInteger would give them.
class FolderValues {
public:
    FolderValues(std::string_view ruleKey, int32_t n) : ruleKey_(ruleKey), n_(n) {}
    void Set(Field f, std::string_view value) {
        if (!values_[f]) // the first line of a name is the one the store reads
            values_[f] = TrimSpaces(value);
    }
    std::string_view String(Field f, std::string_view def) const { return values_[f].value_or(def); }
    int32_t Integer(Field f, int32_t def) const {
        if (!values_[f] || values_[f]->empty())
            return def;
        int32_t value = 0;
        if (!ParseInt32(*values_[f], value))
            throw ConversionError(FolderKey(ruleKey_, n_, kFieldNames[f]), std::string(*values_[f]));
        return value;
    }

private:
    std::string_view ruleKey_;
    int32_t n_;
    std::array<std::optional<std::string_view>, kFieldCount> values_;
};

struct StoredValue {
    int32_t n;
    Field field;
    std::string_view value;
};

// "<n>_<field>" after the "<key>_FL_" prefix, n written as the store's keys write it.
bool ParseFolderName(std::string_view rest, int32_t count, int32_t& n, Field& field) {
    size_t digits = 0;
    while (digits < rest.size() && rest[digits] >= '0' && rest[digits] <= '9')
        ++digits;
    if (digits == 0 || digits > 10 || (digits > 1 && rest[0] == '0') || digits == rest.size() ||
        rest[digits] != '_')
        return false;
    int64_t value = 0;
    for (size_t i = 0; i < digits; ++i)
        value = value * 10 + (rest[i] - '0');
    if (value >= count)
        return false;
    const std::string_view name = rest.substr(digits + 1);
    for (int f = 0; f < kFieldCount; ++f) {
        if (AnsiSameText(name, kFieldNames[f])) {
            n = static_cast<int32_t>(value);
            field = static_cast<Field>(f);
            return true;
        }
    }
    return false;
}

// Gathers the folder-entry values in one pass over the lines: a hash lookup per value would touch
// the store's index at random, which dominates the cost of a large rule set.
std::vector<StoredValue> GatherFolderValues(const TEncriptor& store, std::string_view ruleKey, int32_t count) {
    const std::string prefix = std::string(ruleKey) + "_FL_";
    std::vector<StoredValue> found;
    store.ForEachLine([&](std::string_view text) {
        const size_t eq = text.find('=');
        if (eq == std::string_view::npos || eq < prefix.size() || !AnsiStartsText(text, prefix))
            return;
        int32_t n = 0;
        Field field{};
        if (ParseFolderName(text.substr(prefix.size(), eq - prefix.size()), count, n, field))
            found.push_back({n, field, text.substr(eq + 1)});
    });
    // Usually in index order already; stable, so the first line of each name stays first.
    auto byIndex = [](const StoredValue& a, const StoredValue& b) { return a.n < b.n; };
    if (!std::is_sorted(found.begin(), found.end(), byIndex))
        std::stable_sort(found.begin(), found.end(), byIndex);
    return found;
}

std::string Join(std::string_view a, std::string_view b, std::string_view c = {}) {
    std::string out;
    out.reserve(a.size() + b.size() + c.size());
    out.append(a).append(b).append(c);
    return out;
}

void AddFolderEntry(const FolderValues& v, const CompileInput& in, std::vector<EngineEntry>& out) {
    // An unticked row is off; the folder list shows any value but 1 as a cleared box.
    if (v.Integer(kEnabled, 1) != 1)
        return;
    std::string_view folder = v.String(kFolder, "");
    if (!folder.empty() && folder.back() == '\\')
        folder.remove_suffix(1);
    // Compiled, an empty folder would give the path "*": every file.
    if (folder.empty())
        return;
    EngineEntry entry;
    entry.mode = v.Integer(kMode, 0);
    entry.excludeFiles = CutToShort(v.String(kExlFiles, ""));
    entry.processes = CutToShort(v.String(kProc, "*"));
    entry.excludeProcesses = CutToShort(v.String(kExlProc, ""));
    if (entry.excludeFiles.empty())
        entry.excludeFiles = kNoExcludedFiles;
    if (entry.excludeProcesses.empty())
        entry.excludeProcesses = CutToShort(in.defaultProcesses);
    const std::string_view mask = CutToShort(v.String(kMask, "*"));

    if (mask.empty() || mask == "*") {
        entry.path = Short(Join(folder, "*"));
        out.push_back(std::move(entry));
    } else if (mask.find(';') == std::string_view::npos) {
        const std::string path = mask.front() == '\\' ? Join(folder, mask) : Join(folder, "\\", mask);
        EngineEntry directory{10, Short(DirectoryOf(path)), std::string(kNoExcludedFiles), entry.processes,
                              entry.excludeProcesses};
        entry.path = Short(path);
        out.push_back(std::move(entry));
        out.push_back(std::move(directory));
    } else {
        size_t start = 0;
        while (start <= mask.size()) {
            size_t end = mask.find(';', start);
            if (end == std::string_view::npos)
                end = mask.size();
            if (end > start) {
                EngineEntry item = entry;
                item.path = Short(Join(folder, "\\", mask.substr(start, end - start)));
                out.push_back(std::move(item));
            }
            start = end + 1;
        }
    }
}

void AddFolderEntries(const TEncriptor& store, const CompileInput& in, std::vector<EngineEntry>& out) {
    const int32_t count = store.ReadInteger(FolderCountKey(in.ruleKey), 0);
    if (count <= 0)
        return;
    // Entries without any stored value have no folder and compile to nothing, so only the indexes
    // that occur are visited, in ascending order.
    const std::vector<StoredValue> found = GatherFolderValues(store, in.ruleKey, count);
    out.reserve(found.size() / 2 + 16);
    for (size_t i = 0; i < found.size();) {
        FolderValues values(in.ruleKey, found[i].n);
        size_t j = i;
        for (; j < found.size() && found[j].n == found[i].n; ++j)
            values.Set(found[j].field, found[j].value);
        AddFolderEntry(values, in, out);
        i = j;
    }
}

void AddFixedEntries(const TEncriptor& store, const CompileInput& in, std::vector<EngineEntry>& out) {
    const std::string exempt = Short(in.defaultProcesses);
    if (!in.programFolder.empty())
        out.push_back({1, Short(in.programFolder + "*"), std::string(kNoExcludedFiles), "*", exempt});
    for (const Switch& s : kSwitches) {
        if (!store.ReadBool(SwitchKey(in.ruleKey, s.suffix), s.defaultOn))
            continue;
        for (std::string_view path : s.paths)
            if (!path.empty())
                out.push_back(
                    {2, std::string(path), std::string(kNoExcludedFiles), std::string(s.processes), exempt});
    }
}

} // namespace

std::string DefaultProcessList(std::string_view programFileName) {
    return std::string(programFileName) + ";ulksrv.exe";
}

std::vector<EngineEntry> CompileRules(const TEncriptor& store, const CompileInput& input) {
    std::vector<EngineEntry> entries;
    AddFolderEntries(store, input, entries);
    AddFixedEntries(store, input, entries);
    return entries;
}

} // namespace mrf
