#pragma once
// Which settings a save merges as one unit (see SettingsUnits in the store): each rule set's folder
// list (every key of "<rulekey>_FL_"), the group catalogue ("UserGroup_Count", "UserGroup_<n>",
// "UserGroup_<n>_Descr"), the stored user list ("LocalUserList..."), and every other key on its own.
// These keys are written together by one action and only make sense together: a folder list's
// entries are numbered up to its count, the catalogue's names up to its count.
#include <cstddef>
#include <string_view>

namespace mrf {

// The length of the leading part of name that names its unit.
size_t SettingsUnitOf(std::string_view name);

} // namespace mrf
