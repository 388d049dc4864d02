#include "base/unicode_text.h"

namespace
{

constexpr char32_t kReplacementCharacter = 0xFFFD;

bool IsScalarValue(char32_t cp)
{
    return cp <= 0x10FFFF && (cp < 0xD800 || cp > 0xDFFF);
}

void AppendUtf8(std::string& out, char32_t cp)
{
    if (!IsScalarValue(cp))
    {
        cp = kReplacementCharacter;
    }
    if (cp < 0x80)
    {
        out += static_cast<char>(cp);
    }
    else if (cp < 0x800)
    {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
    else if (cp < 0x10000)
    {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
    else
    {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

} // namespace

std::string WideToUtf8(std::wstring_view text)
{
    std::string out;
    out.reserve(text.size());
    for (wchar_t ch : text)
    {
        AppendUtf8(out, static_cast<char32_t>(static_cast<std::make_unsigned_t<wchar_t>>(ch)));
    }
    return out;
}

std::wstring Utf8ToWide(std::string_view text)
{
    std::wstring out;
    out.reserve(text.size());
    size_t i = 0;
    while (i < text.size())
    {
        const unsigned char lead = static_cast<unsigned char>(text[i]);
        size_t length = 0;
        char32_t cp = 0;
        char32_t minimum = 0;
        if (lead < 0x80)
        {
            out += static_cast<wchar_t>(lead);
            ++i;
            continue;
        }
        if ((lead & 0xE0) == 0xC0)
        {
            length = 2;
            cp = lead & 0x1F;
            minimum = 0x80;
        }
        else if ((lead & 0xF0) == 0xE0)
        {
            length = 3;
            cp = lead & 0x0F;
            minimum = 0x800;
        }
        else if ((lead & 0xF8) == 0xF0)
        {
            length = 4;
            cp = lead & 0x07;
            minimum = 0x10000;
        }
        else
        {
            out += static_cast<wchar_t>(kReplacementCharacter);
            ++i;
            continue;
        }

        // A truncated or broken sequence yields one U+FFFD and resumes at the
        // first byte that is not a continuation of it.
        size_t consumed = 1;
        bool valid = true;
        while (consumed < length)
        {
            if (i + consumed >= text.size())
            {
                valid = false;
                break;
            }
            const unsigned char next = static_cast<unsigned char>(text[i + consumed]);
            if ((next & 0xC0) != 0x80)
            {
                valid = false;
                break;
            }
            cp = (cp << 6) | (next & 0x3F);
            ++consumed;
        }
        if (!valid || cp < minimum || !IsScalarValue(cp))
        {
            cp = kReplacementCharacter;
        }
        out += static_cast<wchar_t>(cp);
        i += consumed;
    }
    return out;
}

std::filesystem::path WidePathToFs(std::wstring_view path)
{
    return std::filesystem::path(WideToUtf8(path));
}

std::string PathToUtf8(const std::filesystem::path& path)
{
    // On Linux the native format is already the UTF-8 byte string.
    return path.string();
}
