#include "core/text/translate.h"

namespace mrf {
namespace {

std::map<std::string, std::string, std::less<>>& Table() {
    static std::map<std::string, std::string, std::less<>> table;
    return table;
}

} // namespace

std::string Tr(std::string_view english) {
    const auto& table = Table();
    auto it = table.find(english);
    return it == table.end() ? std::string(english) : it->second;
}

void SetTranslations(std::map<std::string, std::string, std::less<>> table) {
    Table() = std::move(table);
}

} // namespace mrf
