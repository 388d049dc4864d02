#pragma once

#include "platform/gdiplus/gdiplus_brush.h"

#include <memory>
#include <vector>

namespace Gdiplus
{

class Pen
{
public:
    Pen(const Color& color, REAL width = 1.0f);
    Pen(const Brush* brush, REAL width = 1.0f);
    ~Pen();

    Pen(const Pen&) = delete;
    Pen& operator=(const Pen&) = delete;

    Status SetWidth(REAL width);
    REAL GetWidth() const { return m_width; }
    Status SetColor(const Color& color);
    Status SetStartCap(LineCap cap);
    Status SetEndCap(LineCap cap);
    Status SetLineCap(LineCap startCap, LineCap endCap, DashCap dashCap);
    Status SetLineJoin(LineJoin join);
    Status SetDashStyle(DashStyle style);
    DashStyle GetDashStyle() const { return m_dashStyle; }
    Status SetDashPattern(const REAL* lengths, int count);
    Status SetDashCap(DashCap cap);
    Status SetDashOffset(REAL offset);
    Status GetLastStatus() const { return m_status; }

    // Sets source, width, caps, joins and dashes on `cr`; false when the pen
    // strokes nothing (a negative width).
    bool ApplyTo(cairo_t* cr) const;

    // The dash lengths in pixels (pattern x width), empty for a solid line.
    std::vector<double> DashLengthsPx() const;

private:
    REAL m_width;
    Color m_color;
    const Brush* m_brush = nullptr;
    LineCap m_startCap = LineCapFlat;
    LineCap m_endCap = LineCapFlat;
    LineJoin m_join = LineJoinMiter;
    DashStyle m_dashStyle = DashStyleSolid;
    DashCap m_dashCap = DashCapFlat;
    REAL m_dashOffset = 0;
    std::vector<REAL> m_dashPattern;
    Status m_status = Ok;
};

} // namespace Gdiplus
