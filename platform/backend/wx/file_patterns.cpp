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

std::wstring WithoutExpandedExtension(const std::wstring& path, const FileDialogRequest& request)
{
    for (const auto& filter : request.filters)
    {
        const std::wstring first = filter.second.substr(0, filter.second.find(L';'));
        const std::size_t dot = first.rfind(L'.');
        if (dot == std::wstring::npos)
        {
            continue;
        }
        const std::wstring extension = first.substr(dot + 1);
        const std::wstring expanded = L"." + CaseInsensitivePattern(extension);
        if (expanded != L"." + extension && path.size() > expanded.size() &&
            path.compare(path.size() - expanded.size(), expanded.size(), expanded) == 0)
        {
            return path.substr(0, path.size() - expanded.size());
        }
    }
    return path;
}

} // namespace brvl::backend::wxui
