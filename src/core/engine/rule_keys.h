#pragma once
// The settings keys of one rule set: "<key>_FL_..." folder entries and "<key>_No..." switches.
#include <string>
#include <string_view>

namespace mrf {

inline std::string FolderCountKey(std::string_view ruleKey) {
    return std::string(ruleKey) + "_FL_Count";
}

// field is one of "folder", "mode", "mask", "proc", "exlfiles", "exlproc", "enabled".
inline std::string FolderKey(std::string_view ruleKey, int n, std::string_view field) {
    std::string key(ruleKey);
    key.append("_FL_").append(std::to_string(n)).append("_").append(field);
    return key;
}

inline std::string SwitchKey(std::string_view ruleKey, std::string_view suffix) {
    return std::string(ruleKey) + std::string(suffix);
}

} // namespace mrf
