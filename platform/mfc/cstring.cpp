#include "platform/mfc/cstring.h"

#include "base/unicode_text.h"
#include "platform/win32/resource_data.h"

#include <algorithm>
#include <cerrno>
#include <clocale>
#include <locale.h>
#include <cstdio>
#include <cwchar>
#include <cwctype>
#include <vector>

namespace
{

// vswprintf reports both "buffer too small" and "bad format" as -1; the buffer
// stops growing here so that a bad format ends with an empty text.
constexpr size_t kLongestFormattedText = size_t{1} << 24;

constexpr const wchar_t* kWhitespace = L" \t\r\n\v\f";

// Formatting runs in "C" with UTF-8 characters: "." as the decimal point
// whatever the user's locale, and "%s" arguments read as UTF-8 (the "ANSI code
// page" here), which the plain "C" locale would refuse.
locale_t FormattingLocale()
{
    static const locale_t locale = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(0));
    return locale;
}

std::wstring FormatWide(LPCWSTR format, va_list args)
{
    if (format == nullptr)
    {
        return {};
    }
    const locale_t formatting = FormattingLocale();
    const locale_t previous = formatting != static_cast<locale_t>(0) ? uselocale(formatting) : 0;
    std::wstring result;
    std::vector<wchar_t> buffer(256);
    while (buffer.size() <= kLongestFormattedText)
    {
        va_list copy;
        va_copy(copy, args);
        errno = 0;
        const int written = std::vswprintf(buffer.data(), buffer.size(), format, copy);
        va_end(copy);
        if (written >= 0)
        {
            result.assign(buffer.data(), static_cast<size_t>(written));
            break;
        }
        if (errno == EILSEQ || errno == EINVAL)
        {
            break; // a broken argument or format: growing the buffer cannot help
        }
        buffer.resize(buffer.size() * 4);
    }
    if (previous != static_cast<locale_t>(0))
    {
        uselocale(previous);
    }
    return result;
}

size_t Clamp(int value, size_t high)
{
    return value <= 0 ? 0 : std::min(static_cast<size_t>(value), high);
}

} // namespace

CString::CString(const char* utf8) : m_text(Utf8ToWide(utf8 != nullptr ? utf8 : ""))
{
}

void CString::Format(LPCWSTR format, ...)
{
    va_list args;
    va_start(args, format);
    m_text = FormatWide(format, args);
    va_end(args);
}

void CString::FormatV(LPCWSTR format, va_list args)
{
    m_text = FormatWide(format, args);
}

void CString::AppendFormat(LPCWSTR format, ...)
{
    va_list args;
    va_start(args, format);
    m_text += FormatWide(format, args);
    va_end(args);
}

BOOL CString::LoadString(UINT id)
{
    const std::optional<std::wstring> text = brvl::win32::FindStringResource(id);
    m_text = text.value_or(std::wstring());
    return text.has_value() ? TRUE : FALSE;
}

CString& CString::operator+=(const CString& other)
{
    m_text += other.m_text;
    return *this;
}

CString& CString::operator+=(LPCWSTR other)
{
    if (other != nullptr)
    {
        m_text += other;
    }
    return *this;
}

CString& CString::operator+=(wchar_t ch)
{
    m_text += ch;
    return *this;
}

int CString::Compare(LPCWSTR other) const
{
    return m_text.compare(other != nullptr ? other : L"");
}

int CString::CompareNoCase(LPCWSTR other) const
{
    CString a(*this);
    CString b(other);
    return a.MakeLower().Compare(b.MakeLower());
}

CString& CString::Trim()
{
    return Trim(kWhitespace);
}

CString& CString::TrimLeft()
{
    return TrimLeft(kWhitespace);
}

CString& CString::TrimRight()
{
    return TrimRight(kWhitespace);
}

CString& CString::Trim(LPCWSTR characters)
{
    return TrimRight(characters).TrimLeft(characters);
}

CString& CString::TrimLeft(LPCWSTR characters)
{
    const size_t first = m_text.find_first_not_of(characters != nullptr ? characters : L"");
    m_text.erase(0, first == std::wstring::npos ? m_text.size() : first);
    return *this;
}

CString& CString::TrimRight(LPCWSTR characters)
{
    const size_t last = m_text.find_last_not_of(characters != nullptr ? characters : L"");
    m_text.erase(last == std::wstring::npos ? 0 : last + 1);
    return *this;
}

CString& CString::MakeLower()
{
    for (wchar_t& ch : m_text)
    {
        ch = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(ch)));
    }
    return *this;
}

CString& CString::MakeUpper()
{
    for (wchar_t& ch : m_text)
    {
        ch = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(ch)));
    }
    return *this;
}

CString CString::Left(int count) const
{
    return CString(m_text.substr(0, Clamp(count, m_text.size())));
}

CString CString::Mid(int first) const
{
    return CString(m_text.substr(Clamp(first, m_text.size())));
}

CString CString::Mid(int first, int count) const
{
    const size_t start = Clamp(first, m_text.size());
    return CString(m_text.substr(start, Clamp(count, m_text.size() - start)));
}

CString CString::Right(int count) const
{
    const size_t n = Clamp(count, m_text.size());
    return CString(m_text.substr(m_text.size() - n));
}

int CString::Find(LPCWSTR sub, int start) const
{
    if (sub == nullptr || start < 0 || static_cast<size_t>(start) > m_text.size())
    {
        return -1;
    }
    const size_t at = m_text.find(sub, static_cast<size_t>(start));
    return at == std::wstring::npos ? -1 : static_cast<int>(at);
}

int CString::Find(wchar_t ch, int start) const
{
    const wchar_t text[2] = {ch, 0};
    return Find(text, start);
}

int CString::ReverseFind(wchar_t ch) const
{
    const size_t at = m_text.rfind(ch);
    return at == std::wstring::npos ? -1 : static_cast<int>(at);
}

int CString::Replace(LPCWSTR oldText, LPCWSTR newText)
{
    const std::wstring from = oldText != nullptr ? oldText : L"";
    const std::wstring to = newText != nullptr ? newText : L"";
    if (from.empty())
    {
        return 0;
    }
    int count = 0;
    for (size_t at = m_text.find(from); at != std::wstring::npos;
         at = m_text.find(from, at + to.size()))
    {
        m_text.replace(at, from.size(), to);
        ++count;
    }
    return count;
}

int CString::Replace(wchar_t oldChar, wchar_t newChar)
{
    int count = 0;
    for (wchar_t& ch : m_text)
    {
        if (ch == oldChar)
        {
            ch = newChar;
            ++count;
        }
    }
    return count;
}

int CString::Remove(wchar_t ch)
{
    const size_t before = m_text.size();
    std::erase(m_text, ch);
    return static_cast<int>(before - m_text.size());
}

int CString::Insert(int index, LPCWSTR text)
{
    m_text.insert(Clamp(index, m_text.size()), text != nullptr ? text : L"");
    return GetLength();
}

int CString::Delete(int index, int count)
{
    const size_t start = Clamp(index, m_text.size());
    m_text.erase(start, Clamp(count, m_text.size() - start));
    return GetLength();
}

LPWSTR CString::GetBuffer(int minLength)
{
    if (minLength > GetLength())
    {
        m_text.resize(static_cast<size_t>(minLength));
    }
    return m_text.data();
}

void CString::ReleaseBuffer(int newLength)
{
    if (newLength < 0)
    {
        m_text.resize(std::wcslen(m_text.c_str()));
    }
    else
    {
        m_text.resize(std::min(static_cast<size_t>(newLength), m_text.size()));
    }
}

CString operator+(const CString& a, const CString& b)
{
    CString result(a);
    result += b;
    return result;
}

CString operator+(const CString& a, LPCWSTR b)
{
    CString result(a);
    result += b;
    return result;
}

CString operator+(LPCWSTR a, const CString& b)
{
    CString result(a);
    result += b;
    return result;
}

CString operator+(const CString& a, wchar_t b)
{
    CString result(a);
    result += b;
    return result;
}

bool operator==(const CString& a, const CString& b)
{
    return a.Str() == b.Str();
}

bool operator==(const CString& a, LPCWSTR b)
{
    return a.Compare(b) == 0;
}

bool operator<(const CString& a, const CString& b)
{
    return a.Str() < b.Str();
}

CStringA::CStringA(const CString& wide) : m_text(WideToUtf8(wide.Str()))
{
}

void CStringA::Format(const char* format, ...)
{
    if (format == nullptr)
    {
        m_text.clear();
        return;
    }
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    const int length = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    if (length < 0)
    {
        m_text.clear();
    }
    else
    {
        m_text.assign(static_cast<size_t>(length) + 1, '\0');
        std::vsnprintf(m_text.data(), m_text.size(), format, args);
        m_text.resize(static_cast<size_t>(length));
    }
    va_end(args);
}

bool operator==(const CStringA& a, const CStringA& b)
{
    return a.Str() == b.Str();
}
