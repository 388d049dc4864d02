#pragma once

#include "platform/gdiplus/gdiplus_types.h"

#include <vector>

typedef struct _cairo cairo_t;

namespace Gdiplus
{

class GraphicsPath;

// A fill source. Brushes are small values that live for one paint.
class Brush
{
public:
    virtual ~Brush() = default;
    Status GetLastStatus() const { return m_status; }

    // Sets the brush as the Cairo source; false when it would paint nothing
    // (a gradient whose end points coincide), in which case the fill is skipped.
    virtual bool ApplyTo(cairo_t* cr) const = 0;

protected:
    Status m_status = Ok;
};

class SolidBrush : public Brush
{
public:
    explicit SolidBrush(const Color& color) : m_color(color) {}
    Status GetColor(Color* color) const;
    Status SetColor(const Color& color);
    bool ApplyTo(cairo_t* cr) const override;

private:
    Color m_color;
};

// Colours along p1 -> p2; beyond the span the end colours continue (padding
// rather than tiling: tiling only ever showed as stray pixels at the edges).
class LinearGradientBrush : public Brush
{
public:
    LinearGradientBrush(const PointF& p1, const PointF& p2, const Color& c1, const Color& c2);
    LinearGradientBrush(const Point& p1, const Point& p2, const Color& c1, const Color& c2);
    LinearGradientBrush(const RectF& rect, const Color& c1, const Color& c2,
                        LinearGradientMode mode);
    LinearGradientBrush(const Rect& rect, const Color& c1, const Color& c2,
                        LinearGradientMode mode);

    // Several stops: colours[i] at positions[i] in 0..1 along the span.
    Status SetInterpolationColors(const Color* colors, const REAL* positions, int count);
    bool ApplyTo(cairo_t* cr) const override;

private:
    struct Stop
    {
        REAL position;
        Color color;
    };
    PointF m_p1;
    PointF m_p2;
    std::vector<Stop> m_stops;
};

// The centre colour at the centre point blending to the surround colour on
// the path's outline; nothing is painted outside the path.
class PathGradientBrush : public Brush
{
public:
    explicit PathGradientBrush(const GraphicsPath* path);
    PathGradientBrush(const PointF* points, int count);
    ~PathGradientBrush() override;

    Status SetCenterPoint(const PointF& point);
    Status GetCenterPoint(PointF* point) const;
    Status SetCenterColor(const Color& color);
    Status SetSurroundColors(const Color* colors, int* count);
    bool ApplyTo(cairo_t* cr) const override;

private:
    std::vector<PointF> m_outline; // flattened, closed implicitly
    bool m_isEllipse = false;      // drawn as a radial gradient: smooth and fast
    RectF m_ellipse;
    PointF m_center;
    Color m_centerColor{0xFF000000u};
    Color m_surroundColor{0xFFFFFFFFu};
};

} // namespace Gdiplus
