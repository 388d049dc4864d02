#pragma once

#include "platform/gdiplus/gdiplus_types.h"

#include <memory>
#include <vector>

typedef struct _cairo cairo_t;

namespace Gdiplus
{

// A sequence of figures. Within an open figure every new element is joined to
// the previous end by a line; rectangles and ellipses are closed figures of
// their own. Elements are kept as drawing commands and replayed on a Cairo
// context, so arcs on ellipses stay exact.
class GraphicsPath
{
public:
    explicit GraphicsPath(FillMode fillMode = FillModeAlternate);
    ~GraphicsPath();
    GraphicsPath(const GraphicsPath&);
    GraphicsPath& operator=(const GraphicsPath&);
    GraphicsPath* Clone() const { return new GraphicsPath(*this); }

    Status AddLine(const PointF& p1, const PointF& p2);
    Status AddLine(REAL x1, REAL y1, REAL x2, REAL y2);
    Status AddLines(const PointF* points, int count);
    Status AddArc(const RectF& rect, REAL startAngle, REAL sweepAngle);
    Status AddArc(REAL x, REAL y, REAL width, REAL height, REAL startAngle, REAL sweepAngle);
    Status AddBezier(const PointF& p1, const PointF& p2, const PointF& p3, const PointF& p4);
    Status AddBeziers(const PointF* points, int count);
    Status AddCurve(const PointF* points, int count, REAL tension = 0.5f);
    Status AddClosedCurve(const PointF* points, int count, REAL tension = 0.5f);
    Status AddEllipse(const RectF& rect);
    Status AddEllipse(REAL x, REAL y, REAL width, REAL height);
    Status AddRectangle(const RectF& rect);
    Status AddPolygon(const PointF* points, int count);
    Status AddPie(const RectF& rect, REAL startAngle, REAL sweepAngle);
    Status StartFigure();
    Status CloseFigure();
    Status Reset();

    Status SetFillMode(FillMode mode);
    FillMode GetFillMode() const { return m_fillMode; }
    int GetPointCount() const;
    Status GetBounds(RectF* bounds) const;
    Status GetLastStatus() const { return m_status; }
    bool IsEmpty() const { return m_commands.empty(); }

    // Appends the path to `cr`'s current path (which is not cleared) and sets
    // the fill rule.
    void ReplayTo(cairo_t* cr) const;

    // True when the path is exactly one ellipse; `bounds` receives its box.
    bool IsSingleEllipse(RectF* bounds) const;

    // The outline as straight segments, one list per figure.
    std::vector<std::vector<PointF>> Flatten() const;

    struct Command;

private:
    void Push(const Command& command);
    Status Fail(Status status);

    std::vector<Command> m_commands;
    FillMode m_fillMode;
    bool m_figureOpen = false;
    Status m_status = Ok;
};

// A clip area: everything (infinite) or the inside of a path.
class Region
{
public:
    Region();
    explicit Region(const RectF& rect);
    explicit Region(const Rect& rect);
    explicit Region(const GraphicsPath* path);
    Region(const Region&) = default;
    Region& operator=(const Region&) = default;

    Status MakeInfinite();
    Status Intersect(const RectF& rect);
    bool IsInfiniteRegion() const { return m_paths.empty() && !m_empty; }
    Status GetLastStatus() const { return Ok; }

    // Intersects the clip of `cr` with the region.
    void ApplyClip(cairo_t* cr) const;

private:
    // The intersection of these paths; none means infinite unless empty.
    std::vector<GraphicsPath> m_paths;
    bool m_empty = false;
};

// Cardinal-spline segments as cubic Bezier control points: for n points,
// 3 * (n - 1) + 1 points (start, c1, c2, end, c1, c2, end ...). Exposed for the
// geometry tests.
std::vector<PointF> CardinalSplineToBeziers(const PointF* points, int count, REAL tension,
                                            bool closed);

// GDI+ measures arc angles on an ellipse as polar angles of the end points;
// Cairo takes the parametric angle. Both in degrees, clockwise from +x.
double PolarToParametricDeg(double polarDeg, double width, double height);

} // namespace Gdiplus
