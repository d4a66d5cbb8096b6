#include "core/gui/folder_list.h"

#include <algorithm>
#include <set>

#include "core/engine/rule_keys.h"
#include "core/gui/option_keys.h"
#include "core/gui/options.h"
#include "core/text/ansi.h"
#include "core/text/translate.h"

namespace mrf {

namespace {

// An integer setting read for display: a malformed value gives nullopt and is noted once.
std::optional<int32_t> ReadNumber(const TEncriptor& store, const std::string& key, int32_t def,
                                  std::optional<UserMessage>& problem) {
    try {
        return store.ReadInteger(key, def);
    } catch (const ConversionError& e) {
        if (!problem)
            problem = UserMessage{e.what(), std::string(kAppTitle), true, e.Key()};
        return std::nullopt;
    }
}

std::string EntryPrefix(std::string_view ruleKey, int n) {
    return std::string(ruleKey) + "_FL_" + std::to_string(n) + "_";
}

// The entry numbers that have at least one key.
std::set<int> PresentEntries(const TEncriptor& store, std::string_view ruleKey) {
    const std::string prefix = std::string(ruleKey) + "_FL_";
    std::set<int> present;
    store.ForEachLine([&](std::string_view line) {
        if (!AnsiStartsText(line, prefix))
            return;
        std::string_view rest = line.substr(prefix.size());
        size_t digits = 0;
        while (digits < rest.size() && digits < 9 && rest[digits] >= '0' && rest[digits] <= '9')
            ++digits;
        // No leading zeros: "01" is not entry 1.
        if (digits == 0 || digits >= rest.size() || rest[digits] != '_' || (rest[0] == '0' && digits > 1))
            return;
        present.insert(std::stoi(std::string(rest.substr(0, digits))));
    });
    return present;
}

// The number of entries 0, 1, ... that have at least one key, up to the first gap.
int CountPresentEntries(const TEncriptor& store, std::string_view ruleKey) {
    const std::set<int> present = PresentEntries(store, ruleKey);
    int count = 0;
    while (present.count(count))
        ++count;
    return count;
}

// Up to this many rows the stored count is shown as it is; beyond it, rows past the last stored
// entry (which would only show defaults) are left out, so a damaged count cannot stall the window.
constexpr int32_t kDirectRowLimit = 4096;

int RowsFor(const TEncriptor& store, std::string_view ruleKey, int32_t count) {
    if (count <= kDirectRowLimit)
        return count;
    const std::set<int> present = PresentEntries(store, ruleKey);
    return present.empty() ? 0 : std::min(count, *present.rbegin() + 1);
}

void WriteTexts(TEncriptor& store, const std::string& key, int n, const FolderDialogState& dialog) {
    store.WriteString(FolderKey(key, n, "mask"), dialog.mask);
    store.WriteString(FolderKey(key, n, "proc"), dialog.inclProc.empty() ? "*" : dialog.inclProc);
    store.WriteString(FolderKey(key, n, "exlfiles"), dialog.exclFiles);
    store.WriteString(FolderKey(key, n, "exlproc"), dialog.exclProc);
}

} // namespace

FolderRow ReadFolderRow(const TEncriptor& store, std::string_view ruleKey, int n,
                        std::optional<UserMessage>& problem) {
    FolderRow row;
    row.caption = store.ReadString(FolderKey(ruleKey, n, "folder"), "");
    if (auto mode = ReadNumber(store, FolderKey(ruleKey, n, "mode"), 0, problem))
        row.mode = *mode == 1 ? "RO" : *mode == 2 ? "H" : "";
    row.mask = store.ReadString(FolderKey(ruleKey, n, "mask"), "*");
    row.proc = store.ReadString(FolderKey(ruleKey, n, "proc"), "*");
    row.exlfiles = store.ReadString(FolderKey(ruleKey, n, "exlfiles"), "");
    row.exlproc = store.ReadString(FolderKey(ruleKey, n, "exlproc"), "");
    row.checked = ReadNumber(store, FolderKey(ruleKey, n, "enabled"), 1, problem) == 1;
    return row;
}

FolderListView ReadFolderList(const TEncriptor& store, std::string_view ruleKey) {
    FolderListView view;
    std::optional<int32_t> count = ReadNumber(store, FolderCountKey(ruleKey), 0, view.problem);
    const int rows = count ? RowsFor(store, ruleKey, *count) : CountPresentEntries(store, ruleKey);
    for (int n = 0; n < rows; ++n)
        view.rows.push_back(ReadFolderRow(store, ruleKey, n, view.problem));
    return view;
}

FolderDialogState EditDialogFor(const TEncriptor& store, std::string_view ruleKey, int n,
                                std::string_view caption) {
    FolderDialogState dialog;
    dialog.path = store.ReadString(FolderKey(ruleKey, n, "folder"), caption);
    std::optional<UserMessage> ignored; // the list has already reported it
    // Only the two modes the dialog offers: 2 is hide, everything else opens as read-only.
    dialog.protectMode = ReadNumber(store, FolderKey(ruleKey, n, "mode"), 1, ignored) == 2 ? 1 : 0;
    dialog.mask = store.ReadString(FolderKey(ruleKey, n, "mask"), "*");
    ChooseMask(dialog, kCustomMaskChoice);
    dialog.inclProc = store.ReadString(FolderKey(ruleKey, n, "proc"), "*");
    dialog.exclFiles = store.ReadString(FolderKey(ruleKey, n, "exlfiles"), "");
    dialog.exclProc = store.ReadString(FolderKey(ruleKey, n, "exlproc"), "");
    return dialog;
}

FolderDialogState AddDialogFor(std::optional<std::string_view> selectedCaption) {
    FolderDialogState dialog;
    if (selectedCaption)
        dialog.path = std::string(*selectedCaption);
    return dialog;
}

int AddFolder(TEncriptor& store, MainState& state, int rows, const FolderDialogState& dialog) {
    const std::string& key = state.displayedRuleKey;
    const int n = rows;
    store.WriteString(FolderKey(key, n, "folder"), dialog.path);
    store.WriteInteger(FolderKey(key, n, "mode"), dialog.protectMode + 1);
    store.WriteInteger(FolderKey(key, n, "enabled"), 1);
    WriteTexts(store, key, n, dialog);
    store.WriteInteger(FolderCountKey(key), rows + 1);
    state.settingsModified = true;
    return n;
}

void EditFolder(TEncriptor& store, MainState& state, int n, const FolderDialogState& dialog) {
    const std::string& key = state.displayedRuleKey;
    store.WriteString(FolderKey(key, n, "folder"), dialog.path);
    store.WriteInteger(FolderKey(key, n, "mode"), dialog.protectMode + 1);
    WriteTexts(store, key, n, dialog);
    state.settingsModified = true;
}

RemoveResult RemoveFolder(TEncriptor& store, MainState& state, int selected, int rows) {
    if (selected < 0 || selected >= rows)
        return {};
    const std::string& key = state.displayedRuleKey;
    store.DeleteKeys(EntryPrefix(key, selected));
    for (int m = selected + 1; m < rows; ++m)
        store.RenameKeys(EntryPrefix(key, m), EntryPrefix(key, m - 1));
    store.WriteInteger(FolderCountKey(key), rows - 1);
    state.settingsModified = true;
    // The first row is selected before row n goes, so removing the first row leaves none selected.
    return {true, selected == 0 ? -1 : 0};
}

bool DirListChange(TEncriptor& store, MainState& state, int n, bool checked, bool rowSelected,
                   bool listFilling) {
    if (!rowSelected || listFilling)
        return false;
    const std::string key = FolderKey(state.displayedRuleKey, n, "enabled");
    std::optional<UserMessage> ignored; // shown as a cleared box, like any value but 1
    const bool stored = ReadNumber(store, key, 1, ignored) == 1;
    if (stored == checked)
        return false;
    state.settingsModified = true;
    store.WriteInteger(key, checked ? 1 : 0);
    return true;
}

bool SaveSettings(TEncriptor& store, MainState& state, const SaveActions& actions) {
    actions.applyHotKey(HotKeyToRegister(store));
    if (state.protection == ProtectionState::Started)
        actions.start();
    try {
        store.SaveIfModified(true);
    } catch (const StoreIoError& e) {
        actions.showMessage({Tr("The settings could not be saved; the changes are kept.") + "\n" + e.what(),
                             std::string(kAppTitle), true});
        return false;
    }
    state.settingsModified = false;
    return true;
}

bool FormCloseQuery(const MainState& state, const CloseActions& actions) {
    if (state.inTray)
        return actions.save();
    if (state.settingsModified) {
        switch (actions.askToSave()) {
        case SaveAnswer::Cancel:
            return false;
        case SaveAnswer::Yes:
            if (!actions.save())
                return false; // stays on screen with the changes, the message already shown
            break;
        case SaveAnswer::No:
            break;
        }
    }
    actions.hideToTray();
    return false;
}

} // namespace mrf
