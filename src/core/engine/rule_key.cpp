#include "core/engine/rule_key.h"

#include "core/text/ansi.h"
#include "core/users/groups.h"

namespace mrf {

std::string CleanUserName(std::string_view accountName) {
    return std::string(TrimBlanks(accountName));
}

std::string RuleKeyFor(TEncriptor& store, std::string_view userName) {
    std::string group = GetUserGroup(store, userName);
    return group.empty() ? std::string(userName) : group;
}

} // namespace mrf
