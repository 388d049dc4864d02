#include "platform/stdctrl/edit_text_model.h"

#include <algorithm>
#include <cwctype>

namespace brvl::win32
{

namespace
{

bool IsWordChar(wchar_t c)
{
    return std::iswalnum(static_cast<wint_t>(c)) != 0 || c == L'_';
}

} // namespace

std::wstring EditTextModel::Normalise(std::wstring_view text) const
{
    std::wstring out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i)
    {
        const wchar_t c = text[i];
        if (c == L'\r' || c == L'\n')
        {
            if (!m_multiLine)
            {
                break; // one line only: typing or pasting stops at the break
            }
            if (c == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n')
            {
                ++i;
            }
            out.push_back(L'\n');
            continue;
        }
        out.push_back(c);
    }
    return out;
}

void EditTextModel::SetText(std::wstring_view text)
{
    if (m_multiLine)
    {
        m_text = Normalise(text);
    }
    else
    {
        m_text.assign(text.begin(), text.end()); // kept exactly as given
    }
    m_caret = 0;
    m_anchor = 0;
}

std::wstring EditTextModel::Text() const
{
    if (!m_multiLine)
    {
        return m_text;
    }
    std::wstring out;
    out.reserve(m_text.size() + 16);
    for (wchar_t c : m_text)
    {
        if (c == L'\n')
        {
            out += L"\r\n";
        }
        else
        {
            out.push_back(c);
        }
    }
    return out;
}

std::wstring EditTextModel::SelectedText() const
{
    EditTextModel part(m_multiLine);
    part.m_text = m_text.substr(SelectionStart(), SelectionEnd() - SelectionStart());
    return part.Text();
}

void EditTextModel::Select(size_t anchor, size_t caret)
{
    m_anchor = std::min(anchor, m_text.size());
    m_caret = std::min(caret, m_text.size());
}

void EditTextModel::MoveCaret(size_t position, bool extend)
{
    m_caret = std::min(position, m_text.size());
    if (!extend)
    {
        m_anchor = m_caret;
    }
}

bool EditTextModel::ReplaceSelection(std::wstring_view text)
{
    const std::wstring insert = Normalise(text);
    const size_t start = SelectionStart();
    const size_t length = SelectionEnd() - start;
    if (length == 0 && insert.empty())
    {
        return false;
    }
    m_text.replace(start, length, insert);
    m_caret = start + insert.size();
    m_anchor = m_caret;
    return true;
}

bool EditTextModel::DeleteBackward()
{
    if (HasSelection())
    {
        return ReplaceSelection(L"");
    }
    if (m_caret == 0)
    {
        return false;
    }
    m_text.erase(m_caret - 1, 1);
    --m_caret;
    m_anchor = m_caret;
    return true;
}

bool EditTextModel::DeleteForward()
{
    if (HasSelection())
    {
        return ReplaceSelection(L"");
    }
    if (m_caret >= m_text.size())
    {
        return false;
    }
    m_text.erase(m_caret, 1);
    return true;
}

size_t EditTextModel::WordLeft(size_t position) const
{
    size_t p = std::min(position, m_text.size());
    while (p > 0 && !IsWordChar(m_text[p - 1]))
    {
        --p;
    }
    while (p > 0 && IsWordChar(m_text[p - 1]))
    {
        --p;
    }
    return p;
}

size_t EditTextModel::WordRight(size_t position) const
{
    size_t p = std::min(position, m_text.size());
    while (p < m_text.size() && IsWordChar(m_text[p]))
    {
        ++p;
    }
    while (p < m_text.size() && !IsWordChar(m_text[p]))
    {
        ++p;
    }
    return p;
}

size_t EditTextModel::ToOuter(size_t inner) const
{
    inner = std::min(inner, m_text.size());
    if (!m_multiLine)
    {
        return inner;
    }
    return inner + static_cast<size_t>(std::count(m_text.begin(), m_text.begin() + inner, L'\n'));
}

size_t EditTextModel::ToInner(size_t outer) const
{
    if (!m_multiLine)
    {
        return std::min(outer, m_text.size());
    }
    size_t counted = 0;
    for (size_t i = 0; i < m_text.size(); ++i)
    {
        const size_t width = m_text[i] == L'\n' ? 2 : 1;
        if (counted + width > outer)
        {
            return i;
        }
        counted += width;
    }
    return m_text.size();
}

} // namespace brvl::win32
