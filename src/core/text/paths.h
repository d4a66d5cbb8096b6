#pragma once
// Windows paths as text: "\\" (or "/") separates the folders.
#include <string>
#include <string_view>

namespace mrf {

// The folder of path with its final separator; empty when path names no folder.
std::string FolderOf(std::string_view path);
// path with its extension (from the last "." of the file name) replaced, or added.
std::string ChangeExtension(std::string_view path, std::string_view extension);

} // namespace mrf
