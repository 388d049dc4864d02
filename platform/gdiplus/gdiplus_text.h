#pragma once

#include "platform/gdiplus/gdiplus_types.h"

#include <string>

namespace Gdiplus
{

// A family name as the program asks for it; mapped to an installed font when
// text is laid out ("Segoe UI" and "MS Shell Dlg" to Open Sans, "Times New
// Roman" to Liberation Serif, anything else to the default sans). Never fails.
class FontFamily
{
public:
    FontFamily() = default;
    explicit FontFamily(const wchar_t* name);
    const std::wstring& Name() const { return m_name; }
    Status GetLastStatus() const { return Ok; }

    static const FontFamily* GenericSansSerif();

private:
    std::wstring m_name;
};

class Font
{
public:
    Font(const FontFamily* family, REAL emSize, int style = FontStyleRegular,
         Unit unit = UnitPoint);
    Font(const wchar_t* familyName, REAL emSize, int style = FontStyleRegular,
         Unit unit = UnitPoint);

    REAL GetSize() const { return m_emSize; }
    int GetStyle() const { return m_style; }
    Unit GetUnit() const { return m_unit; }
    const std::wstring& FamilyName() const { return m_family; }
    Status GetLastStatus() const { return Ok; }
    bool IsAvailable() const { return true; }

    // The em height in pixels at `dpi` (points are 1/72 inch).
    double EmPixels(double dpi) const;

private:
    std::wstring m_family;
    REAL m_emSize;
    int m_style;
    Unit m_unit;
};

class StringFormat
{
public:
    StringFormat(int formatFlags = 0) : m_flags(formatFlags) {}

    Status SetAlignment(StringAlignment align);
    Status SetLineAlignment(StringAlignment align);
    Status SetFormatFlags(int flags);
    Status SetTrimming(StringTrimming trimming);
    StringAlignment GetAlignment() const { return m_alignment; }
    StringAlignment GetLineAlignment() const { return m_lineAlignment; }
    int GetFormatFlags() const { return m_flags; }
    StringTrimming GetTrimming() const { return m_trimming; }

    static const StringFormat* GenericDefault();

private:
    StringAlignment m_alignment = StringAlignmentNear;
    StringAlignment m_lineAlignment = StringAlignmentNear;
    int m_flags = 0;
    StringTrimming m_trimming = StringTrimmingCharacter;
};

} // namespace Gdiplus
