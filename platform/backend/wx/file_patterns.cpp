#include "platform/backend/wx/file_patterns.h"

#include <cwctype>

namespace brvl::backend::wxui
{

std::wstring CaseInsensitivePattern(const std::wstring& pattern)
{
    std::wstring result;
    result.reserve(pattern.size() * 4);
    for (const wchar_t c : pattern)
    {
        const wchar_t lower = static_cast<wchar_t>(std::towlower(c));
        const wchar_t upper = static_cast<wchar_t>(std::towupper(c));
        if (lower == upper)
        {
            result += c;
            continue;
        }
        result += L'[';
        result += lower;
        result += upper;
        result += L']';
    }
    return result;
}

std::wstring WildcardOf(const FileDialogRequest& request)
{
    std::wstring wildcard;
    for (const auto& [description, patterns] : request.filters)
    {
        if (!wildcard.empty())
        {
            wildcard += L'|';
        }
        // '|' separates the toolkit's fields; a description cannot hold one.
        std::wstring text = description;
        for (wchar_t& c : text)
        {
            if (c == L'|')
            {
                c = L'/';
            }
        }
        wildcard += text + L'|' + CaseInsensitivePattern(patterns);
    }
    return wildcard.empty() ? std::wstring(L"*") : wildcard;
}

} // namespace brvl::backend::wxui
