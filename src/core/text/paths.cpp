#include "core/text/paths.h"

namespace mrf {

std::string FolderOf(std::string_view path) {
    size_t slash = path.find_last_of("\\/");
    return slash == std::string_view::npos ? std::string() : std::string(path.substr(0, slash + 1));
}

std::string ChangeExtension(std::string_view path, std::string_view extension) {
    size_t dot = path.find_last_of('.');
    size_t slash = path.find_last_of("\\/");
    if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash))
        dot = path.size();
    return std::string(path.substr(0, dot)) + std::string(extension);
}

} // namespace mrf
