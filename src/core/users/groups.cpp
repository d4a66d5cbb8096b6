#include "core/users/groups.h"

#include <limits>
#include <optional>
#include <set>

#include "core/text/ansi.h"
#include "core/text/translate.h"
#include "core/users/group_keys.h"

namespace mrf {

std::string GuestGroupName() {
    return Tr("Guest group");
}

namespace {

// Up to this count the catalogue is read name by name; a larger one is read from the lines that
// are really there, so a damaged count cannot stall the program.
constexpr int32_t kDirectCatalogueLimit = 4096;

// The indexes below count that have a name or a description line.
std::set<int32_t> StoredIndexes(const TEncriptor& store, int32_t count) {
    std::set<int32_t> present;
    const std::string prefix = GroupNameKey(0).substr(0, GroupNameKey(0).size() - 1);
    constexpr std::string_view kDescr = "_Descr";
    store.ForEachLine([&](std::string_view line) {
        const size_t eq = line.find('=');
        if (eq == std::string_view::npos || !AnsiStartsText(line, prefix))
            return;
        std::string_view digits = line.substr(prefix.size(), eq - prefix.size());
        if (digits.size() > kDescr.size() &&
            AnsiSameText(digits.substr(digits.size() - kDescr.size()), kDescr))
            digits.remove_suffix(kDescr.size());
        int32_t n = 0;
        // The store finds "UserGroup_7" only by that spelling: "UserGroup_07" is no index.
        if (!digits.empty() && digits.find_first_not_of("0123456789") == std::string_view::npos &&
            (digits.size() == 1 || digits[0] != '0') && ParseInt32(digits, n) && n < count)
            present.insert(n);
    });
    return present;
}

// The indexes a walk of the catalogue visits: all of them, or the stored ones of a huge count.
std::vector<int32_t> CatalogueIndexes(const TEncriptor& store, int32_t count) {
    std::vector<int32_t> indexes;
    if (count <= kDirectCatalogueLimit) {
        for (int32_t i = 0; i < count; ++i)
            indexes.push_back(i);
    } else {
        const std::set<int32_t> present = StoredIndexes(store, count);
        indexes.assign(present.begin(), present.end());
    }
    return indexes;
}

// Whether name is one of the catalogue's names; nullopt when the stored count is no number.
std::optional<bool> CatalogueHas(const TEncriptor& store, std::string_view name) {
    int32_t count = 0;
    try {
        count = GroupCount(store);
    } catch (const ConversionError&) {
        return std::nullopt;
    }
    const std::vector<int32_t> indexes = CatalogueIndexes(store, count);
    for (int32_t i : indexes)
        if (store.ReadString(GroupNameKey(i), "") == name)
            return true;
    // An index without a stored name reads as the empty name.
    return name.empty() && static_cast<int64_t>(indexes.size()) < count;
}

// Removes exactly this setting, also when its line holds an empty value (which an empty write
// would leave in place).
void RemoveSetting(TEncriptor& store, const std::string& key) {
    if (!store.KeyExists(key))
        return;
    store.WriteString(key, "-");
    store.WriteString(key, "");
}

// to := from's value; a missing or empty from removes to instead of writing an empty line.
void MoveSetting(TEncriptor& store, const std::string& from, const std::string& to) {
    const std::string value = store.ReadString(from, "");
    if (value.empty())
        RemoveSetting(store, to);
    else
        store.WriteString(to, value);
}

} // namespace

int32_t GroupCount(const TEncriptor& store) {
    const int32_t count = store.ReadInteger(kUserGroupCountKey, 0);
    return count < 0 ? 0 : count;
}

std::vector<CatalogueGroup> ReadCatalogue(const TEncriptor& store) {
    std::vector<CatalogueGroup> groups;
    for (int32_t i : CatalogueIndexes(store, GroupCount(store)))
        groups.push_back({i, store.ReadString(GroupNameKey(i), "")});
    return groups;
}

std::vector<std::string> ListGroups(const TEncriptor& store, bool includeGuest) {
    std::vector<std::string> names;
    if (includeGuest)
        names.push_back(GuestGroupName());
    for (CatalogueGroup& group : ReadCatalogue(store))
        names.push_back(std::move(group.name));
    return names;
}

bool IsGroup(const TEncriptor& store, std::string_view name, bool includeGuest) {
    if (includeGuest && name == GuestGroupName())
        return true;
    return CatalogueHas(store, name).value_or(false);
}

bool AddGroup(TEncriptor& store, std::string_view name, std::string_view description) {
    const int32_t n = GroupCount(store);
    if (n == std::numeric_limits<int32_t>::max())
        return false;
    store.WriteString(GroupNameKey(n), name);
    store.WriteString(GroupDescrKey(n), description);
    store.WriteInteger(kUserGroupCountKey, n + 1);
    return true;
}

bool DeleteGroup(TEncriptor& store, std::string_view name) {
    const int32_t count = GroupCount(store);
    const std::vector<int32_t> indexes = CatalogueIndexes(store, count);
    size_t first = 0;
    while (first < indexes.size() && store.ReadString(GroupNameKey(indexes[first]), "") != name)
        ++first;
    if (first == indexes.size())
        return false;
    // Every later index i takes i + 1's name and description; where i + 1 holds nothing, i is
    // emptied. Only the indexes that hold something are visited, which for a full catalogue is
    // every index from the deleted one to the last.
    const std::set<int32_t> later(indexes.begin() + static_cast<std::ptrdiff_t>(first) + 1, indexes.end());
    for (int32_t i : later) {
        MoveSetting(store, GroupNameKey(i), GroupNameKey(i - 1));
        MoveSetting(store, GroupDescrKey(i), GroupDescrKey(i - 1));
    }
    for (auto it = indexes.begin() + static_cast<std::ptrdiff_t>(first); it != indexes.end(); ++it) {
        if (later.count(*it + 1))
            continue;
        RemoveSetting(store, GroupNameKey(*it));
        RemoveSetting(store, GroupDescrKey(*it));
    }
    store.WriteInteger(kUserGroupCountKey, count - 1);
    return true;
}

std::string GetUserGroup(TEncriptor& store, std::string_view user) {
    const std::string key = MembershipKey(user);
    std::string group = store.ReadString(key, "");
    if (group == GuestGroupName())
        return group;
    const std::optional<bool> known = CatalogueHas(store, group);
    if (known.value_or(false))
        return group;
    // A damaged catalogue proves no membership stale: it is kept, and the user's own rules apply.
    if (known && !group.empty())
        store.WriteString(key, "");
    return std::string();
}

void SetUserGroup(TEncriptor& store, std::string_view user, std::string_view text) {
    store.WriteString(MembershipKey(user), text);
}

} // namespace mrf
