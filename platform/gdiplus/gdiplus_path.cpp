#include "platform/gdiplus/gdiplus_path.h"

#include "platform/gdiplus/paint_guard.h"

#include <cairo.h>

#include <cmath>

namespace Gdiplus
{

struct GraphicsPath::Command
{
    enum Kind
    {
        Move,
        Line,
        Curve,
        Arc,
        NewSubPath,
        Close,
    };
    Kind kind = Move;
    double x[3] = {};
    double y[3] = {};
    // Arc: centre, radii, parametric angles in radians, direction.
    double cx = 0, cy = 0, rx = 0, ry = 0, a0 = 0, a1 = 0;
    bool negative = false;
};

namespace
{

// Control-point distance of a cardinal spline: one third of the tension times
// the chord between the neighbours.
constexpr double kCardinalSplineFactor = 1.0 / 3.0;

constexpr double kPi = 3.14159265358979323846;

double DegToRad(double deg)
{
    return deg * kPi / 180.0;
}

GraphicsPath::Command MakePoint(GraphicsPath::Command::Kind kind, double x, double y)
{
    GraphicsPath::Command c;
    c.kind = kind;
    c.x[0] = x;
    c.y[0] = y;
    return c;
}

} // namespace

double PolarToParametricDeg(double polarDeg, double width, double height)
{
    const double a = DegToRad(polarDeg);
    const double t = std::atan2(width * std::sin(a), height * std::cos(a)) * 180.0 / kPi;
    // Keep the whole turns of the polar angle so that sweeps keep their sign
    // and size; polar and parametric angles agree at every quarter turn.
    return t + 360.0 * std::round((polarDeg - t) / 360.0);
}

std::vector<PointF> CardinalSplineToBeziers(const PointF* points, int count, REAL tension,
                                            bool closed)
{
    std::vector<PointF> out;
    if (points == nullptr || count < 2)
    {
        return out;
    }
    const double k = tension * kCardinalSplineFactor;
    auto at = [&](int i) -> const PointF&
    {
        if (closed)
        {
            return points[((i % count) + count) % count];
        }
        return points[i < 0 ? 0 : (i >= count ? count - 1 : i)];
    };
    const int segments = closed ? count : count - 1;
    out.reserve(size_t(segments) * 3 + 1);
    out.push_back(points[0]);
    for (int i = 0; i < segments; ++i)
    {
        const PointF& p0 = at(i - 1);
        const PointF& p1 = at(i);
        const PointF& p2 = at(i + 1);
        const PointF& p3 = at(i + 2);
        out.emplace_back(REAL(p1.X + k * (p2.X - p0.X)), REAL(p1.Y + k * (p2.Y - p0.Y)));
        out.emplace_back(REAL(p2.X - k * (p3.X - p1.X)), REAL(p2.Y - k * (p3.Y - p1.Y)));
        out.push_back(p2);
    }
    return out;
}

GraphicsPath::GraphicsPath(FillMode fillMode) : m_fillMode(fillMode)
{
}
GraphicsPath::~GraphicsPath() = default;
GraphicsPath::GraphicsPath(const GraphicsPath&) = default;
GraphicsPath& GraphicsPath::operator=(const GraphicsPath&) = default;

Status GraphicsPath::Fail(Status status)
{
    m_status = status;
    return status;
}

void GraphicsPath::Push(const Command& command)
{
    m_commands.push_back(command);
}

Status GraphicsPath::AddLine(const PointF& p1, const PointF& p2)
{
    return AddLine(p1.X, p1.Y, p2.X, p2.Y);
}

Status GraphicsPath::AddLine(REAL x1, REAL y1, REAL x2, REAL y2)
{
    const PointF points[] = {{x1, y1}, {x2, y2}};
    return AddLines(points, 2);
}

Status GraphicsPath::AddLines(const PointF* points, int count)
{
    if (points == nullptr || count < 2 || !AllFinite(points, count))
    {
        return Fail(InvalidParameter);
    }
    Push(MakePoint(m_figureOpen ? Command::Line : Command::Move, points[0].X, points[0].Y));
    for (int i = 1; i < count; ++i)
    {
        Push(MakePoint(Command::Line, points[i].X, points[i].Y));
    }
    m_figureOpen = true;
    return Ok;
}

Status GraphicsPath::AddArc(const RectF& rect, REAL startAngle, REAL sweepAngle)
{
    return AddArc(rect.X, rect.Y, rect.Width, rect.Height, startAngle, sweepAngle);
}

Status GraphicsPath::AddArc(REAL x, REAL y, REAL width, REAL height, REAL startAngle,
                            REAL sweepAngle)
{
    if (!AllFinite({x, y, width, height, startAngle, sweepAngle}) || width <= 0 || height <= 0)
    {
        return Fail(InvalidParameter);
    }
    Command arc;
    arc.kind = Command::Arc;
    arc.rx = width / 2.0;
    arc.ry = height / 2.0;
    arc.cx = x + arc.rx;
    arc.cy = y + arc.ry;
    const double start = PolarToParametricDeg(startAngle, width, height);
    double end;
    if (std::fabs(sweepAngle) >= 360.0)
    {
        end = start + (sweepAngle > 0 ? 360.0 : -360.0);
    }
    else
    {
        end = PolarToParametricDeg(double(startAngle) + sweepAngle, width, height);
    }
    arc.a0 = DegToRad(start);
    arc.a1 = DegToRad(end);
    arc.negative = sweepAngle < 0;

    if (sweepAngle == 0)
    {
        // No arc, only its start point joins the figure.
        const double px = arc.cx + arc.rx * std::cos(arc.a0);
        const double py = arc.cy + arc.ry * std::sin(arc.a0);
        Push(MakePoint(m_figureOpen ? Command::Line : Command::Move, px, py));
        m_figureOpen = true;
        return Ok;
    }
    if (!m_figureOpen)
    {
        Push(Command{Command::NewSubPath});
    }
    Push(arc);
    m_figureOpen = true;
    return Ok;
}

Status GraphicsPath::AddBezier(const PointF& p1, const PointF& p2, const PointF& p3,
                               const PointF& p4)
{
    const PointF points[] = {p1, p2, p3, p4};
    return AddBeziers(points, 4);
}

Status GraphicsPath::AddBeziers(const PointF* points, int count)
{
    if (points == nullptr || count < 4 || (count - 1) % 3 != 0 || !AllFinite(points, count))
    {
        return Fail(InvalidParameter);
    }
    Push(MakePoint(m_figureOpen ? Command::Line : Command::Move, points[0].X, points[0].Y));
    for (int i = 1; i + 2 < count; i += 3)
    {
        Command curve;
        curve.kind = Command::Curve;
        for (int j = 0; j < 3; ++j)
        {
            curve.x[j] = points[i + j].X;
            curve.y[j] = points[i + j].Y;
        }
        Push(curve);
    }
    m_figureOpen = true;
    return Ok;
}

Status GraphicsPath::AddCurve(const PointF* points, int count, REAL tension)
{
    if (points == nullptr || count < 2 || !AllFinite(points, count) || !std::isfinite(tension))
    {
        return Fail(InvalidParameter);
    }
    const std::vector<PointF> beziers = CardinalSplineToBeziers(points, count, tension, false);
    return AddBeziers(beziers.data(), int(beziers.size()));
}

Status GraphicsPath::AddClosedCurve(const PointF* points, int count, REAL tension)
{
    if (points == nullptr || count < 3 || !AllFinite(points, count) || !std::isfinite(tension))
    {
        return Fail(InvalidParameter);
    }
    StartFigure();
    const std::vector<PointF> beziers = CardinalSplineToBeziers(points, count, tension, true);
    AddBeziers(beziers.data(), int(beziers.size()));
    return CloseFigure();
}

Status GraphicsPath::AddEllipse(const RectF& rect)
{
    return AddEllipse(rect.X, rect.Y, rect.Width, rect.Height);
}

Status GraphicsPath::AddEllipse(REAL x, REAL y, REAL width, REAL height)
{
    if (!AllFinite({x, y, width, height}) || width <= 0 || height <= 0)
    {
        return Fail(InvalidParameter);
    }
    StartFigure();
    AddArc(x, y, width, height, 0.0f, 360.0f);
    return CloseFigure();
}

Status GraphicsPath::AddRectangle(const RectF& rect)
{
    if (!AllFinite({rect.X, rect.Y, rect.Width, rect.Height}))
    {
        return Fail(InvalidParameter);
    }
    if (rect.Width <= 0 || rect.Height <= 0)
    {
        return Ok;
    }
    StartFigure();
    const PointF corners[] = {{rect.X, rect.Y},
                              {rect.X + rect.Width, rect.Y},
                              {rect.X + rect.Width, rect.Y + rect.Height},
                              {rect.X, rect.Y + rect.Height}};
    AddLines(corners, 4);
    return CloseFigure();
}

Status GraphicsPath::AddPolygon(const PointF* points, int count)
{
    if (points == nullptr || count < 3 || !AllFinite(points, count))
    {
        return Fail(InvalidParameter);
    }
    StartFigure();
    AddLines(points, count);
    return CloseFigure();
}

Status GraphicsPath::AddPie(const RectF& rect, REAL startAngle, REAL sweepAngle)
{
    if (!AllFinite({rect.X, rect.Y, rect.Width, rect.Height, startAngle, sweepAngle}) ||
        rect.Width <= 0 || rect.Height <= 0 || sweepAngle == 0)
    {
        return Fail(InvalidParameter);
    }
    StartFigure();
    Push(MakePoint(Command::Move, rect.X + rect.Width / 2.0, rect.Y + rect.Height / 2.0));
    m_figureOpen = true;
    AddArc(rect, startAngle, sweepAngle);
    return CloseFigure();
}

Status GraphicsPath::StartFigure()
{
    m_figureOpen = false;
    return Ok;
}

Status GraphicsPath::CloseFigure()
{
    if (m_figureOpen)
    {
        Push(Command{Command::Close});
    }
    m_figureOpen = false;
    return Ok;
}

Status GraphicsPath::Reset()
{
    m_commands.clear();
    m_figureOpen = false;
    m_fillMode = FillModeAlternate;
    m_status = Ok;
    return Ok;
}

Status GraphicsPath::SetFillMode(FillMode mode)
{
    m_fillMode = mode;
    return Ok;
}

int GraphicsPath::GetPointCount() const
{
    int count = 0;
    for (const auto& figure : Flatten())
    {
        count += int(figure.size());
    }
    return count;
}

void GraphicsPath::ReplayTo(cairo_t* cr) const
{
    cairo_set_fill_rule(cr, m_fillMode == FillModeAlternate ? CAIRO_FILL_RULE_EVEN_ODD
                                                            : CAIRO_FILL_RULE_WINDING);
    for (const Command& c : m_commands)
    {
        switch (c.kind)
        {
        case Command::Move:
            cairo_move_to(cr, c.x[0], c.y[0]);
            break;
        case Command::Line:
            cairo_line_to(cr, c.x[0], c.y[0]);
            break;
        case Command::Curve:
            cairo_curve_to(cr, c.x[0], c.y[0], c.x[1], c.y[1], c.x[2], c.y[2]);
            break;
        case Command::NewSubPath:
            cairo_new_sub_path(cr);
            break;
        case Command::Close:
            cairo_close_path(cr);
            break;
        case Command::Arc:
        {
            // A unit circle under a scale; the scale is undone before any stroke,
            // so pens stay round on ellipses.
            cairo_matrix_t saved;
            cairo_get_matrix(cr, &saved);
            cairo_translate(cr, c.cx, c.cy);
            cairo_scale(cr, c.rx, c.ry);
            if (c.negative)
            {
                cairo_arc_negative(cr, 0, 0, 1, c.a0, c.a1);
            }
            else
            {
                cairo_arc(cr, 0, 0, 1, c.a0, c.a1);
            }
            cairo_set_matrix(cr, &saved);
            break;
        }
        }
    }
}

std::vector<std::vector<PointF>> GraphicsPath::Flatten() const
{
    std::vector<std::vector<PointF>> figures;
    ScratchContext scratch;
    ReplayTo(scratch.cr);
    cairo_path_t* flat = cairo_copy_path_flat(scratch.cr);
    for (int i = 0; flat->status == CAIRO_STATUS_SUCCESS && i < flat->num_data;
         i += flat->data[i].header.length)
    {
        const cairo_path_data_t* data = &flat->data[i];
        switch (data->header.type)
        {
        case CAIRO_PATH_MOVE_TO:
            // Cairo restarts at the start point after closing a figure; a lone
            // point is not a figure of its own.
            if (figures.empty() || figures.back().size() > 1)
            {
                figures.emplace_back();
            }
            figures.back().clear();
            figures.back().emplace_back(REAL(data[1].point.x), REAL(data[1].point.y));
            break;
        case CAIRO_PATH_LINE_TO:
            if (figures.empty())
            {
                figures.emplace_back();
            }
            figures.back().emplace_back(REAL(data[1].point.x), REAL(data[1].point.y));
            break;
        default:
            break;
        }
    }
    cairo_path_destroy(flat);
    if (!figures.empty() && figures.back().size() < 2)
    {
        figures.pop_back();
    }
    return figures;
}

bool GraphicsPath::IsSingleEllipse(RectF* bounds) const
{
    if (m_commands.size() != 3 || m_commands[0].kind != Command::NewSubPath ||
        m_commands[1].kind != Command::Arc || m_commands[2].kind != Command::Close)
    {
        return false;
    }
    const Command& arc = m_commands[1];
    if (std::fabs(arc.a1 - arc.a0) < 2 * kPi - 1e-9)
    {
        return false;
    }
    if (bounds != nullptr)
    {
        *bounds =
            RectF(REAL(arc.cx - arc.rx), REAL(arc.cy - arc.ry), REAL(2 * arc.rx), REAL(2 * arc.ry));
    }
    return true;
}

Status GraphicsPath::GetBounds(RectF* bounds) const
{
    if (bounds == nullptr)
    {
        return InvalidParameter;
    }
    ScratchContext scratch;
    ReplayTo(scratch.cr);
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    cairo_path_extents(scratch.cr, &x1, &y1, &x2, &y2);
    *bounds = RectF(REAL(x1), REAL(y1), REAL(x2 - x1), REAL(y2 - y1));
    return Ok;
}

Region::Region() = default;

Region::Region(const RectF& rect)
{
    Intersect(rect);
}

Region::Region(const Rect& rect) : Region(ToRectF(rect))
{
}

Region::Region(const GraphicsPath* path)
{
    if (path != nullptr)
    {
        m_paths.push_back(*path);
    }
}

Status Region::MakeInfinite()
{
    m_paths.clear();
    m_empty = false;
    return Ok;
}

Status Region::Intersect(const RectF& rect)
{
    if (rect.Width <= 0 || rect.Height <= 0 ||
        !AllFinite({rect.X, rect.Y, rect.Width, rect.Height}))
    {
        m_empty = true;
        return Ok;
    }
    GraphicsPath path;
    path.AddRectangle(rect);
    m_paths.push_back(std::move(path));
    return Ok;
}

void Region::ApplyClip(cairo_t* cr) const
{
    // Clips are hard-edged, as on the platform this stands in for.
    const cairo_antialias_t antialias = cairo_get_antialias(cr);
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
    if (m_empty)
    {
        cairo_new_path(cr);
        cairo_rectangle(cr, 0, 0, 0, 0);
        cairo_clip(cr);
    }
    for (const GraphicsPath& path : m_paths)
    {
        cairo_new_path(cr);
        path.ReplayTo(cr);
        cairo_clip(cr);
    }
    cairo_set_antialias(cr, antialias);
}

} // namespace Gdiplus
