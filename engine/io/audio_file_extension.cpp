#include "engine/io/audio_file_extension.h"

#include "base/unicode_text.h"

std::string LowerCaseExtension(std::wstring_view path)
{
    const size_t nameStart = path.find_last_of(L'/');
    const std::wstring_view name =
        nameStart == std::wstring_view::npos ? path : path.substr(nameStart + 1);
    const size_t dot = name.find_last_of(L'.');
    if (dot == std::wstring_view::npos)
    {
        return {};
    }
    std::string extension = WideToUtf8(name.substr(dot));
    for (char& ch : extension)
    {
        if (ch >= 'A' && ch <= 'Z')
        {
            ch = static_cast<char>(ch - 'A' + 'a');
        }
    }
    return extension;
}
