#pragma once
// The one translation lookup for user-visible texts, keyed by the English text.
#include <map>
#include <string>
#include <string_view>

namespace mrf {

// The translation of english, or english itself where none is installed.
std::string Tr(std::string_view english);
// Installs a table (English text -> translated text); an empty table restores English.
void SetTranslations(std::map<std::string, std::string, std::less<>> table);

} // namespace mrf
