#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace brvl::win32
{

// The text, caret and selection of an edit control, without any drawing.
// A multi-line edit keeps each line break as one "\n" inside and hands text
// out with CRLF (decision: saved texts match the Windows program's); "\r\n",
// "\r" and "\n" coming in all become one break. A single-line edit keeps what
// it is given, and typing or pasting stops at the first line break.
class EditTextModel
{
public:
    explicit EditTextModel(bool multiLine = false) : m_multiLine(multiLine) {}

    bool MultiLine() const { return m_multiLine; }

    void SetText(std::wstring_view text); // caret to the start, no selection
    std::wstring Text() const;            // as handed out (CRLF when multi-line)
    const std::wstring& Inner() const { return m_text; }
    size_t TextLength() const { return Text().size(); }

    // Positions are indices into Inner().
    size_t Caret() const { return m_caret; }
    size_t Anchor() const { return m_anchor; }
    size_t SelectionStart() const { return m_anchor < m_caret ? m_anchor : m_caret; }
    size_t SelectionEnd() const { return m_anchor < m_caret ? m_caret : m_anchor; }
    bool HasSelection() const { return m_anchor != m_caret; }
    std::wstring SelectedText() const; // as handed out
    void Select(size_t anchor, size_t caret);
    void SelectAll() { Select(0, m_text.size()); }
    void MoveCaret(size_t position, bool extend);

    // Editing; each returns whether the text changed.
    bool ReplaceSelection(std::wstring_view text);
    bool DeleteBackward();
    bool DeleteForward();

    // Start of the word before / after `position` (Ctrl+arrows).
    size_t WordLeft(size_t position) const;
    size_t WordRight(size_t position) const;

    // Positions as the Win32 messages count them (a break counts as CR and LF).
    size_t ToOuter(size_t inner) const;
    size_t ToInner(size_t outer) const;

private:
    std::wstring Normalise(std::wstring_view text) const;

    bool m_multiLine;
    std::wstring m_text;
    size_t m_caret = 0;
    size_t m_anchor = 0;
};

} // namespace brvl::win32
