#pragma once

#include <string>
#include <string_view>

// Paths as the user's files name them: both "\" and "/" separate folders, so
// a path written on either system splits the same way.

// The text after the last separator ("" when the path ends with one).
std::wstring FileNamePart(std::wstring_view path);

// The text before the last separator, keeping a lone root separator ("/a" -> "/");
// "" when the path has no separator.
std::wstring FolderPart(std::wstring_view path);
