#pragma once

#include "platform/gdiplus/gdiplus_brush.h"
#include "platform/gdiplus/gdiplus_image.h"
#include "platform/gdiplus/gdiplus_path.h"
#include "platform/gdiplus/gdiplus_pen.h"
#include "platform/gdiplus/gdiplus_text.h"
#include "platform/win32/win_types.h"

typedef struct _cairo cairo_t;

namespace Gdiplus
{

// Draws on a Cairo context. Every call checks its input first: a NaN or
// infinite number, an empty box, a zero sweep or a degenerate gradient makes
// the call draw nothing and return a status, and the context never enters
// Cairo's sticky error state, so later drawing still works.
class Graphics
{
public:
    // Draws on `cr` (not owned). The context's state is saved and restored.
    explicit Graphics(cairo_t* cr);
    explicit Graphics(Image* image);
    // Draws on a device context (a window's paint DC or a memory DC) at its DPI.
    explicit Graphics(HDC dc);
    ~Graphics();

    Graphics(const Graphics&) = delete;
    Graphics& operator=(const Graphics&) = delete;

    static Graphics* FromImage(Image* image) { return new Graphics(image); }

    Status SetSmoothingMode(SmoothingMode mode);
    SmoothingMode GetSmoothingMode() const { return m_smoothing; }
    Status SetPixelOffsetMode(PixelOffsetMode mode);
    PixelOffsetMode GetPixelOffsetMode() const { return m_pixelOffset; }
    Status SetTextRenderingHint(TextRenderingHint hint);
    TextRenderingHint GetTextRenderingHint() const { return m_textHint; }
    Status SetInterpolationMode(InterpolationMode mode);
    InterpolationMode GetInterpolationMode() const { return m_interpolation; }
    REAL GetDpiX() const { return REAL(m_dpi); }
    REAL GetDpiY() const { return REAL(m_dpi); }
    void SetDpi(double dpi) { m_dpi = dpi > 0 ? dpi : 96.0; }
    Status GetLastStatus() const;

    // Replaces every pixel (within the clip) with `color`.
    Status Clear(const Color& color);

    // Each SetClip replaces the clip.
    Status SetClip(const RectF& rect);
    Status SetClip(const Rect& rect);
    Status SetClip(const GraphicsPath* path);
    Status SetClip(const Region* region);
    Status GetClip(Region* region) const;
    Status IntersectClip(const RectF& rect);
    Status ResetClip();

    Status DrawLine(const Pen* pen, const PointF& p1, const PointF& p2);
    Status DrawLine(const Pen* pen, REAL x1, REAL y1, REAL x2, REAL y2);
    Status DrawLine(const Pen* pen, int x1, int y1, int x2, int y2);
    Status DrawLines(const Pen* pen, const PointF* points, int count);
    Status DrawBezier(const Pen* pen, const PointF& p1, const PointF& p2, const PointF& p3,
                      const PointF& p4);
    Status DrawRectangle(const Pen* pen, const RectF& rect);
    Status DrawRectangle(const Pen* pen, REAL x, REAL y, REAL width, REAL height);
    Status DrawRectangle(const Pen* pen, const Rect& rect);
    Status FillRectangle(const Brush* brush, const RectF& rect);
    Status FillRectangle(const Brush* brush, REAL x, REAL y, REAL width, REAL height);
    Status FillRectangle(const Brush* brush, const Rect& rect);
    Status FillRectangle(const Brush* brush, int x, int y, int width, int height);
    Status DrawEllipse(const Pen* pen, const RectF& rect);
    Status DrawEllipse(const Pen* pen, REAL x, REAL y, REAL width, REAL height);
    Status FillEllipse(const Brush* brush, const RectF& rect);
    Status FillEllipse(const Brush* brush, REAL x, REAL y, REAL width, REAL height);
    Status DrawArc(const Pen* pen, const RectF& rect, REAL startAngle, REAL sweepAngle);
    Status DrawArc(const Pen* pen, REAL x, REAL y, REAL width, REAL height, REAL startAngle,
                   REAL sweepAngle);
    Status DrawPie(const Pen* pen, const RectF& rect, REAL startAngle, REAL sweepAngle);
    Status FillPie(const Brush* brush, const RectF& rect, REAL startAngle, REAL sweepAngle);
    Status FillPie(const Brush* brush, REAL x, REAL y, REAL width, REAL height, REAL startAngle,
                   REAL sweepAngle);
    Status DrawPolygon(const Pen* pen, const PointF* points, int count);
    Status FillPolygon(const Brush* brush, const PointF* points, int count,
                       FillMode fillMode = FillModeAlternate);
    Status DrawCurve(const Pen* pen, const PointF* points, int count, REAL tension = 0.5f);
    Status DrawClosedCurve(const Pen* pen, const PointF* points, int count, REAL tension = 0.5f);
    Status FillClosedCurve(const Brush* brush, const PointF* points, int count,
                           FillMode fillMode = FillModeAlternate, REAL tension = 0.5f);
    Status DrawPath(const Pen* pen, const GraphicsPath* path);
    Status FillPath(const Brush* brush, const GraphicsPath* path);

    // Plain text (never markup). `length` -1 means up to the terminating zero.
    Status DrawString(const wchar_t* text, int length, const Font* font, const RectF& layout,
                      const StringFormat* format, const Brush* brush);
    Status DrawString(const wchar_t* text, int length, const Font* font, const PointF& origin,
                      const Brush* brush);
    Status DrawString(const wchar_t* text, int length, const Font* font, const PointF& origin,
                      const StringFormat* format, const Brush* brush);
    Status MeasureString(const wchar_t* text, int length, const Font* font, const RectF& layout,
                         const StringFormat* format, RectF* boundingBox) const;
    Status MeasureString(const wchar_t* text, int length, const Font* font, const PointF& origin,
                         const StringFormat* format, RectF* boundingBox) const;
    Status MeasureString(const wchar_t* text, int length, const Font* font, const PointF& origin,
                         RectF* boundingBox) const;

    Status DrawImage(Image* image, const RectF& dest);
    Status DrawImage(Image* image, const Rect& dest);
    Status DrawImage(Image* image, REAL x, REAL y);
    Status DrawImage(Image* image, int x, int y);
    Status DrawImage(Image* image, REAL x, REAL y, REAL width, REAL height);
    Status DrawImage(Image* image, const RectF& dest, REAL srcX, REAL srcY, REAL srcWidth,
                     REAL srcHeight, Unit srcUnit, const ImageAttributes* attributes = nullptr);
    Status DrawImage(Image* image, const Rect& dest, int srcX, int srcY, int srcWidth,
                     int srcHeight, Unit srcUnit, const ImageAttributes* attributes = nullptr);

    cairo_t* Context() const { return m_cr; }

private:
    Status Stroke(const Pen* pen, const GraphicsPath& path);
    Status Fill(const Brush* brush, const GraphicsPath& path);
    template <typename Source>
    Status PaintPath(const Source* source, const GraphicsPath& path, void (*paint)(cairo_t*));
    Status Record(Status status) const;
    void BeginPrimitive() const;
    void EndPrimitive() const;
    Status LayoutText(const wchar_t* text, int length, const Font* font, const RectF* box,
                      const PointF* origin, const StringFormat* format, const Brush* brush,
                      RectF* measured) const;

    void ApplyPixelOffset();

    cairo_t* m_cr = nullptr;
    bool m_ownsContext = false;
    double m_baseMatrix[6] = {1, 0, 0, 1, 0, 0}; // the context's transform when we got it
    SmoothingMode m_smoothing = SmoothingModeDefault;
    PixelOffsetMode m_pixelOffset = PixelOffsetModeDefault;
    TextRenderingHint m_textHint = TextRenderingHintSystemDefault;
    InterpolationMode m_interpolation = InterpolationModeDefault;
    double m_dpi = 96.0;
    Region m_clip;
    mutable Status m_lastStatus = Ok;
};

} // namespace Gdiplus
