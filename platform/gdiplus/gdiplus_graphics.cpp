#include "platform/gdiplus/gdiplus_graphics.h"

#include "platform/gdiplus/paint_guard.h"
#include "platform/win32/device_context.h"
#include "platform/win32/gdi.h"

#include <cairo.h>

#include <cassert>
#include <cwchar>

namespace Gdiplus
{

namespace
{

// The platform's default pixel model puts pixel centres on whole coordinates;
// Cairo puts them on halves.
constexpr double kHalfPixel = 0.5;

} // namespace

Graphics::Graphics(cairo_t* cr) : m_cr(cr)
{
    if (m_cr == nullptr)
    {
        m_lastStatus = InvalidParameter;
        return;
    }
    cairo_save(m_cr);
    cairo_matrix_t base;
    cairo_get_matrix(m_cr, &base);
    m_baseMatrix[0] = base.xx;
    m_baseMatrix[1] = base.yx;
    m_baseMatrix[2] = base.xy;
    m_baseMatrix[3] = base.yy;
    m_baseMatrix[4] = base.x0;
    m_baseMatrix[5] = base.y0;
    SetSmoothingMode(SmoothingModeDefault);
    SetPixelOffsetMode(PixelOffsetModeDefault);
}

Graphics::Graphics(Image* image)
    : Graphics(image != nullptr && image->Surface() != nullptr ? cairo_create(image->Surface())
                                                               : nullptr)
{
    m_ownsContext = m_cr != nullptr;
}

Graphics::Graphics(HDC dc) : Graphics(brvl::win32::CairoOf(dc))
{
    SetDpi(GetDeviceCaps(dc, LOGPIXELSY));
}

Graphics::~Graphics()
{
    if (m_cr == nullptr)
    {
        return;
    }
    cairo_restore(m_cr);
    if (m_ownsContext)
    {
        cairo_surface_flush(cairo_get_target(m_cr));
        cairo_destroy(m_cr);
    }
}

Status Graphics::Record(Status status) const
{
    m_lastStatus = status;
    return status;
}

Status Graphics::GetLastStatus() const
{
    const Status status = m_lastStatus;
    m_lastStatus = Ok;
    return status;
}

void Graphics::BeginPrimitive() const
{
    cairo_new_path(m_cr);
}

void Graphics::EndPrimitive() const
{
    cairo_new_path(m_cr);
    // Every input is checked before it reaches Cairo; an error here is a bug in
    // those checks, and Cairo would silently drop all later drawing.
    assert(cairo_status(m_cr) == CAIRO_STATUS_SUCCESS);
}

Status Graphics::SetSmoothingMode(SmoothingMode mode)
{
    m_smoothing = mode;
    if (m_cr == nullptr)
    {
        return InvalidParameter;
    }
    const bool antialias = mode == SmoothingModeAntiAlias || mode == SmoothingModeHighQuality;
    cairo_set_antialias(m_cr, antialias ? CAIRO_ANTIALIAS_GRAY : CAIRO_ANTIALIAS_NONE);
    return Ok;
}

void Graphics::ApplyPixelOffset()
{
    cairo_matrix_t base;
    cairo_matrix_init(&base, m_baseMatrix[0], m_baseMatrix[1], m_baseMatrix[2], m_baseMatrix[3],
                      m_baseMatrix[4], m_baseMatrix[5]);
    cairo_set_matrix(m_cr, &base);
    // Half (and HighQuality) is Cairo's own model; the others shift by half a pixel.
    if (!(m_pixelOffset == PixelOffsetModeHalf || m_pixelOffset == PixelOffsetModeHighQuality))
    {
        cairo_translate(m_cr, kHalfPixel, kHalfPixel);
    }
}

Status Graphics::SetPixelOffsetMode(PixelOffsetMode mode)
{
    m_pixelOffset = mode;
    if (m_cr == nullptr)
    {
        return InvalidParameter;
    }
    ApplyPixelOffset();
    return Ok;
}

Status Graphics::SetTextRenderingHint(TextRenderingHint hint)
{
    m_textHint = hint;
    return Ok;
}

Status Graphics::SetInterpolationMode(InterpolationMode mode)
{
    m_interpolation = mode;
    return Ok;
}

Status Graphics::Clear(const Color& color)
{
    if (m_cr == nullptr)
    {
        return Record(InvalidParameter);
    }
    cairo_save(m_cr);
    cairo_set_operator(m_cr, CAIRO_OPERATOR_SOURCE);
    SolidBrush(color).ApplyTo(m_cr);
    cairo_paint(m_cr);
    cairo_restore(m_cr);
    EndPrimitive();
    return Record(Ok);
}

Status Graphics::SetClip(const RectF& rect)
{
    const Region region(rect);
    return SetClip(&region);
}

Status Graphics::SetClip(const Rect& rect)
{
    return SetClip(ToRectF(rect));
}

Status Graphics::SetClip(const GraphicsPath* path)
{
    if (path == nullptr)
    {
        return Record(InvalidParameter);
    }
    const Region region(path);
    return SetClip(&region);
}

Status Graphics::SetClip(const Region* region)
{
    if (m_cr == nullptr || region == nullptr)
    {
        return Record(InvalidParameter);
    }
    m_clip = *region;
    cairo_reset_clip(m_cr);
    m_clip.ApplyClip(m_cr);
    EndPrimitive();
    return Record(Ok);
}

Status Graphics::GetClip(Region* region) const
{
    if (region == nullptr)
    {
        return Record(InvalidParameter);
    }
    *region = m_clip;
    return Record(Ok);
}

Status Graphics::IntersectClip(const RectF& rect)
{
    Region region = m_clip;
    region.Intersect(rect);
    return SetClip(&region);
}

Status Graphics::ResetClip()
{
    const Region infinite;
    return SetClip(&infinite);
}

// Strokes with a pen or fills with a brush: both set themselves as the source
// and may decline (a degenerate gradient), which paints nothing.
template <typename Source>
Status Graphics::PaintPath(const Source* source, const GraphicsPath& path, void (*paint)(cairo_t*))
{
    if (m_cr == nullptr || source == nullptr)
    {
        return Record(InvalidParameter);
    }
    if (path.GetLastStatus() != Ok)
    {
        return Record(path.GetLastStatus());
    }
    BeginPrimitive();
    cairo_save(m_cr);
    if (source->ApplyTo(m_cr))
    {
        path.ReplayTo(m_cr);
        paint(m_cr);
    }
    cairo_restore(m_cr);
    EndPrimitive();
    return Record(Ok);
}

Status Graphics::Stroke(const Pen* pen, const GraphicsPath& path)
{
    return PaintPath(pen, path, cairo_stroke);
}

Status Graphics::Fill(const Brush* brush, const GraphicsPath& path)
{
    return PaintPath(brush, path, cairo_fill);
}

Status Graphics::DrawLine(const Pen* pen, const PointF& p1, const PointF& p2)
{
    if (!AllFinite({p1.X, p1.Y, p2.X, p2.Y}))
    {
        return Record(InvalidParameter);
    }
    if (p1.X == p2.X && p1.Y == p2.Y)
    {
        return Record(Ok); // a line of length 0 would be a round-capped dot
    }
    GraphicsPath path;
    path.AddLine(p1, p2);
    return Stroke(pen, path);
}

Status Graphics::DrawLine(const Pen* pen, REAL x1, REAL y1, REAL x2, REAL y2)
{
    return DrawLine(pen, PointF(x1, y1), PointF(x2, y2));
}

Status Graphics::DrawLine(const Pen* pen, int x1, int y1, int x2, int y2)
{
    return DrawLine(pen, PointF(REAL(x1), REAL(y1)), PointF(REAL(x2), REAL(y2)));
}

Status Graphics::DrawLines(const Pen* pen, const PointF* points, int count)
{
    if (points == nullptr || count < 2 || !AllFinite(points, count))
    {
        return Record(InvalidParameter);
    }
    if (AllCoincide(points, count))
    {
        return Record(Ok); // like a line of length 0
    }
    GraphicsPath path;
    path.AddLines(points, count);
    return Stroke(pen, path);
}

Status Graphics::DrawBezier(const Pen* pen, const PointF& p1, const PointF& p2, const PointF& p3,
                            const PointF& p4)
{
    GraphicsPath path;
    path.AddBezier(p1, p2, p3, p4);
    return Stroke(pen, path);
}

Status Graphics::DrawRectangle(const Pen* pen, const RectF& rect)
{
    if (!IsDrawableBox(rect))
    {
        return Record(InvalidParameter);
    }
    GraphicsPath path;
    path.AddRectangle(rect);
    return Stroke(pen, path);
}

Status Graphics::DrawRectangle(const Pen* pen, REAL x, REAL y, REAL width, REAL height)
{
    return DrawRectangle(pen, RectF(x, y, width, height));
}

Status Graphics::DrawRectangle(const Pen* pen, const Rect& rect)
{
    return DrawRectangle(pen, ToRectF(rect));
}

Status Graphics::FillRectangle(const Brush* brush, const RectF& rect)
{
    if (!IsDrawableBox(rect))
    {
        return Record(InvalidParameter);
    }
    GraphicsPath path;
    path.AddRectangle(rect);
    return Fill(brush, path);
}

Status Graphics::FillRectangle(const Brush* brush, REAL x, REAL y, REAL width, REAL height)
{
    return FillRectangle(brush, RectF(x, y, width, height));
}

Status Graphics::FillRectangle(const Brush* brush, const Rect& rect)
{
    return FillRectangle(brush, ToRectF(rect));
}

Status Graphics::FillRectangle(const Brush* brush, int x, int y, int width, int height)
{
    return FillRectangle(brush, RectF(REAL(x), REAL(y), REAL(width), REAL(height)));
}

Status Graphics::DrawEllipse(const Pen* pen, const RectF& rect)
{
    if (!IsDrawableBox(rect))
    {
        return Record(InvalidParameter);
    }
    GraphicsPath path;
    path.AddEllipse(rect);
    return Stroke(pen, path);
}

Status Graphics::DrawEllipse(const Pen* pen, REAL x, REAL y, REAL width, REAL height)
{
    return DrawEllipse(pen, RectF(x, y, width, height));
}

Status Graphics::FillEllipse(const Brush* brush, const RectF& rect)
{
    if (!IsDrawableBox(rect))
    {
        return Record(InvalidParameter);
    }
    GraphicsPath path;
    path.AddEllipse(rect);
    return Fill(brush, path);
}

Status Graphics::FillEllipse(const Brush* brush, REAL x, REAL y, REAL width, REAL height)
{
    return FillEllipse(brush, RectF(x, y, width, height));
}

Status Graphics::DrawArc(const Pen* pen, const RectF& rect, REAL startAngle, REAL sweepAngle)
{
    if (!IsDrawableBox(rect) || !AllFinite({startAngle, sweepAngle}))
    {
        return Record(InvalidParameter);
    }
    if (sweepAngle == 0)
    {
        return Record(Ok); // Cairo would draw a round-capped dot
    }
    GraphicsPath path;
    path.AddArc(rect, startAngle, sweepAngle);
    return Stroke(pen, path);
}

Status Graphics::DrawArc(const Pen* pen, REAL x, REAL y, REAL width, REAL height, REAL startAngle,
                         REAL sweepAngle)
{
    return DrawArc(pen, RectF(x, y, width, height), startAngle, sweepAngle);
}

Status Graphics::DrawPie(const Pen* pen, const RectF& rect, REAL startAngle, REAL sweepAngle)
{
    if (!IsDrawableBox(rect) || !AllFinite({startAngle, sweepAngle}))
    {
        return Record(InvalidParameter);
    }
    if (sweepAngle == 0)
    {
        return Record(Ok);
    }
    GraphicsPath path;
    path.AddPie(rect, startAngle, sweepAngle);
    return Stroke(pen, path);
}

Status Graphics::FillPie(const Brush* brush, const RectF& rect, REAL startAngle, REAL sweepAngle)
{
    if (!IsDrawableBox(rect) || !AllFinite({startAngle, sweepAngle}))
    {
        return Record(InvalidParameter);
    }
    if (sweepAngle == 0)
    {
        return Record(Ok);
    }
    GraphicsPath path;
    path.AddPie(rect, startAngle, sweepAngle);
    return Fill(brush, path);
}

Status Graphics::FillPie(const Brush* brush, REAL x, REAL y, REAL width, REAL height,
                         REAL startAngle, REAL sweepAngle)
{
    return FillPie(brush, RectF(x, y, width, height), startAngle, sweepAngle);
}

Status Graphics::DrawPolygon(const Pen* pen, const PointF* points, int count)
{
    if (points == nullptr || count < 2 || !AllFinite(points, count))
    {
        return Record(InvalidParameter);
    }
    if (AllCoincide(points, count))
    {
        return Record(Ok); // like a line of length 0
    }
    GraphicsPath path;
    path.AddLines(points, count);
    path.CloseFigure();
    return Stroke(pen, path);
}

Status Graphics::FillPolygon(const Brush* brush, const PointF* points, int count, FillMode fillMode)
{
    if (points == nullptr || count < 3 || !AllFinite(points, count))
    {
        return Record(InvalidParameter);
    }
    GraphicsPath path(fillMode);
    path.AddPolygon(points, count);
    return Fill(brush, path);
}

Status Graphics::DrawCurve(const Pen* pen, const PointF* points, int count, REAL tension)
{
    if (points == nullptr || count < 2 || !AllFinite(points, count) || !std::isfinite(tension))
    {
        return Record(InvalidParameter);
    }
    if (AllCoincide(points, count))
    {
        return Record(Ok); // like a line of length 0
    }
    GraphicsPath path;
    path.AddCurve(points, count, tension);
    return Stroke(pen, path);
}

Status Graphics::DrawClosedCurve(const Pen* pen, const PointF* points, int count, REAL tension)
{
    if (points == nullptr || count < 3 || !AllFinite(points, count) || !std::isfinite(tension))
    {
        return Record(InvalidParameter);
    }
    GraphicsPath path;
    path.AddClosedCurve(points, count, tension);
    return Stroke(pen, path);
}

Status Graphics::FillClosedCurve(const Brush* brush, const PointF* points, int count,
                                 FillMode fillMode, REAL tension)
{
    if (points == nullptr || count < 3 || !AllFinite(points, count) || !std::isfinite(tension))
    {
        return Record(InvalidParameter);
    }
    GraphicsPath path(fillMode);
    path.AddClosedCurve(points, count, tension);
    return Fill(brush, path);
}

Status Graphics::DrawPath(const Pen* pen, const GraphicsPath* path)
{
    if (path == nullptr)
    {
        return Record(InvalidParameter);
    }
    return Stroke(pen, *path);
}

Status Graphics::FillPath(const Brush* brush, const GraphicsPath* path)
{
    if (path == nullptr)
    {
        return Record(InvalidParameter);
    }
    return Fill(brush, *path);
}

} // namespace Gdiplus
