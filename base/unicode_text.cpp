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

// A wide character that stands for one undecodable byte of a file name.
constexpr char32_t kEscapedByteBase = 0xDC00;
constexpr char32_t kFirstEscapedByte = 0xDC80;
constexpr char32_t kLastEscapedByte = 0xDCFF;

enum class Undecodable
{
    Replace, // one U+FFFD for each broken sequence: text for display
    Escape,  // U+DC80 + byte for each byte of it: file names
};

std::wstring DecodeUtf8(std::string_view text, Undecodable undecodable)
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

        // A truncated or broken sequence yields one U+FFFD and resumes at the
        // first byte that is not a continuation of it.
        size_t consumed = 1;
        bool valid = length > 0;
        while (valid && consumed < length)
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
        if (valid && cp >= minimum && IsScalarValue(cp))
        {
            out += static_cast<wchar_t>(cp);
            i += consumed;
        }
        else if (undecodable == Undecodable::Escape)
        {
            // Only the lead byte: the bytes after it are looked at afresh.
            out += static_cast<wchar_t>(kEscapedByteBase + lead);
            ++i;
        }
        else
        {
            out += static_cast<wchar_t>(kReplacementCharacter);
            i += consumed;
        }
    }
    return out;
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
    return DecodeUtf8(text, Undecodable::Replace);
}

std::wstring FsPathToWide(const std::filesystem::path& path)
{
    return DecodeUtf8(path.native(), Undecodable::Escape);
}

std::filesystem::path WidePathToFs(std::wstring_view path)
{
    std::string bytes;
    bytes.reserve(path.size());
    for (wchar_t ch : path)
    {
        const auto cp = static_cast<char32_t>(static_cast<std::make_unsigned_t<wchar_t>>(ch));
        if (cp >= kFirstEscapedByte && cp <= kLastEscapedByte)
        {
            bytes += static_cast<char>(cp - kEscapedByteBase);
        }
        else
        {
            AppendUtf8(bytes, cp);
        }
    }
    return std::filesystem::path(std::move(bytes));
}

std::string PathToUtf8(const std::filesystem::path& path)
{
    return WideToUtf8(Utf8ToWide(path.native()));
}
