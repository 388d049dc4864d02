#include "base/path_parts.h"

namespace
{

constexpr std::wstring_view kSeparators = L"\\/";

} // namespace

std::wstring FileNamePart(std::wstring_view path)
{
    const size_t separator = path.find_last_of(kSeparators);
    return std::wstring(separator == std::wstring_view::npos ? path : path.substr(separator + 1));
}

std::wstring FolderPart(std::wstring_view path)
{
    const size_t separator = path.find_last_of(kSeparators);
    if (separator == std::wstring_view::npos)
    {
        return {};
    }
    return std::wstring(path.substr(0, separator == 0 ? 1 : separator));
}
