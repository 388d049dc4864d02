#include "platform/gdiplus/gdiplus_text.h"

namespace Gdiplus
{

namespace
{

// Points are 1/72 inch.
constexpr double kPointsPerInch = 72.0;

} // namespace

FontFamily::FontFamily(const wchar_t* name) : m_name(name != nullptr ? name : L"")
{
}

const FontFamily* FontFamily::GenericSansSerif()
{
    static const FontFamily family(L"Microsoft Sans Serif");
    return &family;
}

Font::Font(const FontFamily* family, REAL emSize, int style, Unit unit)
    : m_family(family != nullptr ? family->Name() : std::wstring()), m_emSize(emSize),
      m_style(style), m_unit(unit)
{
}

Font::Font(const wchar_t* familyName, REAL emSize, int style, Unit unit)
    : m_family(familyName != nullptr ? familyName : L""), m_emSize(emSize), m_style(style),
      m_unit(unit)
{
}

double Font::EmPixels(double dpi) const
{
    if (m_unit == UnitPoint)
    {
        return m_emSize * dpi / kPointsPerInch;
    }
    return m_emSize;
}

Status StringFormat::SetAlignment(StringAlignment align)
{
    m_alignment = align;
    return Ok;
}

Status StringFormat::SetLineAlignment(StringAlignment align)
{
    m_lineAlignment = align;
    return Ok;
}

Status StringFormat::SetFormatFlags(int flags)
{
    m_flags = flags;
    return Ok;
}

Status StringFormat::SetTrimming(StringTrimming trimming)
{
    m_trimming = trimming;
    return Ok;
}

const StringFormat* StringFormat::GenericDefault()
{
    static const StringFormat format;
    return &format;
}

} // namespace Gdiplus
