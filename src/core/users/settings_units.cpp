#include "core/users/settings_units.h"

#include "core/text/ansi.h"
#include "core/users/group_keys.h"
#include "core/users/local_users.h"

namespace mrf {
namespace {

constexpr std::string_view kFolderListMark = "_FL_";
constexpr std::string_view kGroupPrefix = "UserGroup_";

// Where "_FL_" first occurs, without regard to case. A rule key that holds "_FL_" itself only
// joins its folder list to a shorter key's: a coarser unit, never a split one.
size_t FolderListMark(std::string_view name) {
    for (size_t i = 0; i + kFolderListMark.size() <= name.size(); ++i)
        if (name[i] == '_' && AnsiSameText(name.substr(i, kFolderListMark.size()), kFolderListMark))
            return i;
    return std::string_view::npos;
}

bool AllDigits(std::string_view text) {
    if (text.empty())
        return false;
    for (char c : text)
        if (c < '0' || c > '9')
            return false;
    return true;
}

// "UserGroup_Count", "UserGroup_<n>" or "UserGroup_<n>_Descr", letter case aside.
bool InGroupCatalogue(std::string_view name) {
    if (AnsiSameText(name, kUserGroupCountKey))
        return true;
    if (!AnsiStartsText(name, kGroupPrefix))
        return false;
    std::string_view rest = name.substr(kGroupPrefix.size());
    constexpr std::string_view kDescr = "_Descr";
    if (rest.size() > kDescr.size() && AnsiSameText(rest.substr(rest.size() - kDescr.size()), kDescr))
        rest.remove_suffix(kDescr.size());
    return AllDigits(rest);
}

} // namespace

size_t SettingsUnitOf(std::string_view name) {
    if (size_t mark = FolderListMark(name); mark != std::string_view::npos)
        return mark + kFolderListMark.size();
    if (InGroupCatalogue(name))
        return kGroupPrefix.size();
    if (AnsiStartsText(name, kLocalUserListPrefix))
        return kLocalUserListPrefix.size();
    return name.size();
}

} // namespace mrf
