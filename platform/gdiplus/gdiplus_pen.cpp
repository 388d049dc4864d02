#include "platform/gdiplus/gdiplus_pen.h"

#include "platform/gdiplus/paint_guard.h"

#include <cairo.h>

namespace Gdiplus
{

namespace
{

// Miter joins turn into bevels beyond this ratio, as on the platform.
constexpr double kMiterLimit = 10.0;

cairo_line_cap_t ToCairoCap(LineCap cap)
{
    switch (cap)
    {
    case LineCapRound:
        return CAIRO_LINE_CAP_ROUND;
    case LineCapSquare:
        return CAIRO_LINE_CAP_SQUARE;
    default:
        return CAIRO_LINE_CAP_BUTT;
    }
}

cairo_line_join_t ToCairoJoin(LineJoin join)
{
    switch (join)
    {
    case LineJoinRound:
        return CAIRO_LINE_JOIN_ROUND;
    case LineJoinBevel:
        return CAIRO_LINE_JOIN_BEVEL;
    default:
        return CAIRO_LINE_JOIN_MITER;
    }
}

} // namespace

Pen::Pen(const Color& color, REAL width) : m_width(width), m_color(color)
{
}

Pen::Pen(const Brush* brush, REAL width) : m_width(width), m_brush(brush)
{
    if (brush == nullptr)
    {
        m_status = InvalidParameter;
    }
}

Pen::~Pen() = default;

Status Pen::SetWidth(REAL width)
{
    m_width = width;
    return Ok;
}

Status Pen::SetColor(const Color& color)
{
    m_color = color;
    m_brush = nullptr;
    return Ok;
}

Status Pen::SetStartCap(LineCap cap)
{
    m_startCap = cap;
    return Ok;
}

Status Pen::SetEndCap(LineCap cap)
{
    m_endCap = cap;
    return Ok;
}

Status Pen::SetLineCap(LineCap startCap, LineCap endCap, DashCap dashCap)
{
    m_startCap = startCap;
    m_endCap = endCap;
    m_dashCap = dashCap;
    return Ok;
}

Status Pen::SetLineJoin(LineJoin join)
{
    m_join = join;
    return Ok;
}

Status Pen::SetDashStyle(DashStyle style)
{
    m_dashStyle = style;
    switch (style)
    {
    case DashStyleDash:
        m_dashPattern = {3, 1};
        break;
    case DashStyleDot:
        m_dashPattern = {1, 1};
        break;
    case DashStyleDashDot:
        m_dashPattern = {3, 1, 1, 1};
        break;
    case DashStyleDashDotDot:
        m_dashPattern = {3, 1, 1, 1, 1, 1};
        break;
    case DashStyleSolid:
        m_dashPattern.clear();
        break;
    case DashStyleCustom:
        break;
    }
    return Ok;
}

Status Pen::SetDashPattern(const REAL* lengths, int count)
{
    if (lengths == nullptr || count < 1)
    {
        return m_status = InvalidParameter;
    }
    m_dashPattern.assign(lengths, lengths + count);
    m_dashStyle = DashStyleCustom;
    return Ok;
}

Status Pen::SetDashCap(DashCap cap)
{
    m_dashCap = cap;
    return Ok;
}

Status Pen::SetDashOffset(REAL offset)
{
    m_dashOffset = offset;
    return Ok;
}

std::vector<double> Pen::DashLengthsPx() const
{
    std::vector<double> lengths;
    if (m_dashStyle == DashStyleSolid || m_dashPattern.empty())
    {
        return lengths;
    }
    // Dash lengths are multiples of the pen width.
    const double unit = m_width > 0 ? m_width : 1.0;
    double total = 0;
    for (REAL length : m_dashPattern)
    {
        if (!std::isfinite(length) || length < 0)
        {
            return {};
        }
        lengths.push_back(length * unit);
        total += length;
    }
    if (total <= 0)
    {
        return {}; // a pattern of nothing is drawn solid
    }
    return lengths;
}

bool Pen::ApplyTo(cairo_t* cr) const
{
    if (!std::isfinite(m_width) || m_width < 0)
    {
        return false;
    }
    if (m_brush != nullptr)
    {
        if (!m_brush->ApplyTo(cr))
        {
            return false;
        }
    }
    else
    {
        cairo_set_source_rgba(cr, m_color.GetR() / 255.0, m_color.GetG() / 255.0,
                              m_color.GetB() / 255.0, m_color.GetA() / 255.0);
    }
    // A zero-width pen draws one pixel wide.
    cairo_set_line_width(cr, m_width == 0 ? 1.0 : double(m_width));
    cairo_set_line_join(cr, ToCairoJoin(m_join));
    cairo_set_miter_limit(cr, kMiterLimit);

    const std::vector<double> dashes = DashLengthsPx();
    if (dashes.empty())
    {
        cairo_set_dash(cr, nullptr, 0, 0);
        // Cairo has one cap for both ends; a round end wins.
        const LineCap cap =
            (m_startCap == LineCapRound || m_endCap == LineCapRound) ? LineCapRound : m_startCap;
        cairo_set_line_cap(cr, ToCairoCap(cap));
    }
    else
    {
        cairo_set_dash(cr, dashes.data(), int(dashes.size()), m_dashOffset * m_width);
        cairo_set_line_cap(cr,
                           m_dashCap == DashCapRound ? CAIRO_LINE_CAP_ROUND : CAIRO_LINE_CAP_BUTT);
    }
    return true;
}

} // namespace Gdiplus
