#include "platform/gdiplus/gdiplus_brush.h"

#include "platform/gdiplus/gdiplus_path.h"
#include "platform/gdiplus/paint_guard.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <mutex>
#include <vector>

namespace Gdiplus
{

namespace
{

void SetSourceColor(cairo_t* cr, const Color& c)
{
    cairo_set_source_rgba(cr, c.GetR() / 255.0, c.GetG() / 255.0, c.GetB() / 255.0,
                          c.GetA() / 255.0);
}

void AddStop(cairo_pattern_t* pattern, double offset, const Color& c)
{
    cairo_pattern_add_color_stop_rgba(pattern, offset, c.GetR() / 255.0, c.GetG() / 255.0,
                                      c.GetB() / 255.0, c.GetA() / 255.0);
}

void SetCornerColor(cairo_pattern_t* pattern, unsigned corner, const Color& c)
{
    cairo_mesh_pattern_set_corner_color_rgba(pattern, corner, c.GetR() / 255.0, c.GetG() / 255.0,
                                             c.GetB() / 255.0, c.GetA() / 255.0);
}

// The blend from a centre point to an ellipse's outline, computed per pixel:
// along every ray from the centre the colour runs linearly from the centre
// colour to the surround colour where the ray meets the outline. Colours blend
// straight, then premultiply; outside the ellipse stays transparent. (Cairo's
// own radial gradient gives the same picture at three times the cost.)
cairo_surface_t* RasteriseEllipseGradient(const RectF& ellipse, const PointF& centre,
                                          const Color& inner, const Color& outer)
{
    const double rx = ellipse.Width / 2.0;
    const double ry = ellipse.Height / 2.0;
    const double cx = ellipse.X + rx;
    const double cy = ellipse.Y + ry;
    // The centre point in the unit circle the ellipse is scaled from.
    const double fx = (centre.X - cx) / rx;
    const double fy = (centre.Y - cy) / ry;
    const double focusSquared = fx * fx + fy * fy;
    if (!(focusSquared < 1.0))
    {
        return nullptr;
    }
    const double originX = std::floor(ellipse.X);
    const double originY = std::floor(ellipse.Y);
    const int width = int(std::ceil(ellipse.X + ellipse.Width) - originX);
    const int height = int(std::ceil(ellipse.Y + ellipse.Height) - originY);
    constexpr int kMaxSide = 32767;
    if (width < 1 || height < 1 || width > kMaxSide || height > kMaxSide)
    {
        return nullptr;
    }
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS)
    {
        cairo_surface_destroy(surface);
        return nullptr;
    }
    unsigned char* data = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    const double channels[2][4] = {
        {inner.GetA() / 255.0, inner.GetR() / 255.0, inner.GetG() / 255.0, inner.GetB() / 255.0},
        {outer.GetA() / 255.0, outer.GetR() / 255.0, outer.GetG() / 255.0, outer.GetB() / 255.0}};
    for (int y = 0; y < height; ++y)
    {
        auto* row = reinterpret_cast<uint32_t*>(data + size_t(y) * size_t(stride));
        const double py = (originY + y + 0.5 - cy) / ry;
        for (int x = 0; x < width; ++x)
        {
            const double px = (originX + x + 0.5 - cx) / rx;
            if (px * px + py * py > 1.0)
            {
                row[x] = 0;
                continue;
            }
            // Where the ray from the focus through p meets the unit circle:
            // |f + s u| = 1 with u the ray's unit direction.
            const double dx = px - fx;
            const double dy = py - fy;
            const double distance = std::sqrt(dx * dx + dy * dy);
            double t = 0.0;
            if (distance > 1e-12)
            {
                const double along = (fx * dx + fy * dy) / distance;
                const double reach = -along + std::sqrt(along * along - focusSquared + 1.0);
                t = reach > 1e-12 ? std::min(distance / reach, 1.0) : 1.0;
            }
            const double a = channels[0][0] + t * (channels[1][0] - channels[0][0]);
            const double r = channels[0][1] + t * (channels[1][1] - channels[0][1]);
            const double g = channels[0][2] + t * (channels[1][2] - channels[0][2]);
            const double b = channels[0][3] + t * (channels[1][3] - channels[0][3]);
            const auto byte = [](double v) { return uint32_t(v * 255.0 + 0.5); };
            row[x] = (byte(a) << 24) | (byte(r * a) << 16) | (byte(g * a) << 8) | byte(b * a);
        }
    }
    cairo_surface_mark_dirty(surface);
    return surface;
}

// Controls repaint the same body many times a second; the last few rasters are
// kept (each holds a reference) so an unchanged gradient is computed once.
class EllipseGradientCache
{
public:
    EllipseGradientCache() = default;
    EllipseGradientCache(const EllipseGradientCache&) = delete;
    EllipseGradientCache& operator=(const EllipseGradientCache&) = delete;
    ~EllipseGradientCache()
    {
        for (Entry& entry : m_entries)
        {
            cairo_surface_destroy(entry.surface);
        }
    }

    cairo_surface_t* Get(const RectF& ellipse, const PointF& centre, const Color& inner,
                         const Color& outer)
    {
        const Key key{ellipse.X, ellipse.Y, ellipse.Width,    ellipse.Height,
                      centre.X,  centre.Y,  inner.GetValue(), outer.GetValue()};
        std::lock_guard<std::mutex> lock(m_mutex);
        for (size_t i = 0; i < m_entries.size(); ++i)
        {
            if (m_entries[i].key == key)
            {
                std::rotate(m_entries.begin(), m_entries.begin() + long(i),
                            m_entries.begin() + long(i) + 1);
                return cairo_surface_reference(m_entries.front().surface);
            }
        }
        cairo_surface_t* surface = RasteriseEllipseGradient(ellipse, centre, inner, outer);
        if (surface == nullptr)
        {
            return nullptr;
        }
        const size_t bytes = size_t(cairo_image_surface_get_stride(surface)) *
                             size_t(cairo_image_surface_get_height(surface));
        if (bytes <= kMaxCachedBytes)
        {
            if (m_entries.size() == kMaxEntries)
            {
                cairo_surface_destroy(m_entries.back().surface);
                m_entries.pop_back();
            }
            m_entries.insert(m_entries.begin(), Entry{key, cairo_surface_reference(surface)});
        }
        return surface;
    }

private:
    struct Key
    {
        float x, y, width, height, centreX, centreY;
        ARGB inner, outer;
        bool operator==(const Key&) const = default;
    };
    struct Entry
    {
        Key key;
        cairo_surface_t* surface;
    };
    // The stereo bloom paints twelve glows each time: all of them must fit.
    static constexpr size_t kMaxEntries = 16;
    static constexpr size_t kMaxCachedBytes = 1 << 20;

    std::mutex m_mutex;
    std::vector<Entry> m_entries;
};

} // namespace

Status SolidBrush::GetColor(Color* color) const
{
    if (color == nullptr)
    {
        return InvalidParameter;
    }
    *color = m_color;
    return Ok;
}

Status SolidBrush::SetColor(const Color& color)
{
    m_color = color;
    return Ok;
}

bool SolidBrush::ApplyTo(cairo_t* cr) const
{
    SetSourceColor(cr, m_color);
    return true;
}

LinearGradientBrush::LinearGradientBrush(const PointF& p1, const PointF& p2, const Color& c1,
                                         const Color& c2)
    : m_p1(p1), m_p2(p2), m_stops{{0.0f, c1}, {1.0f, c2}}
{
}

LinearGradientBrush::LinearGradientBrush(const Point& p1, const Point& p2, const Color& c1,
                                         const Color& c2)
    : LinearGradientBrush(ToPointF(p1), ToPointF(p2), c1, c2)
{
}

LinearGradientBrush::LinearGradientBrush(const RectF& r, const Color& c1, const Color& c2,
                                         LinearGradientMode mode)
    : m_stops{{0.0f, c1}, {1.0f, c2}}
{
    switch (mode)
    {
    case LinearGradientModeHorizontal:
        m_p1 = {r.X, r.Y};
        m_p2 = {r.X + r.Width, r.Y};
        break;
    case LinearGradientModeVertical:
        m_p1 = {r.X, r.Y};
        m_p2 = {r.X, r.Y + r.Height};
        break;
    case LinearGradientModeForwardDiagonal:
        m_p1 = {r.X, r.Y};
        m_p2 = {r.X + r.Width, r.Y + r.Height};
        break;
    case LinearGradientModeBackwardDiagonal:
        m_p1 = {r.X + r.Width, r.Y};
        m_p2 = {r.X, r.Y + r.Height};
        break;
    }
}

LinearGradientBrush::LinearGradientBrush(const Rect& r, const Color& c1, const Color& c2,
                                         LinearGradientMode mode)
    : LinearGradientBrush(ToRectF(r), c1, c2, mode)
{
}

Status LinearGradientBrush::SetInterpolationColors(const Color* colors, const REAL* positions,
                                                   int count)
{
    if (colors == nullptr || positions == nullptr || count < 2)
    {
        return m_status = InvalidParameter;
    }
    m_stops.clear();
    for (int i = 0; i < count; ++i)
    {
        m_stops.push_back({positions[i], colors[i]});
    }
    return Ok;
}

bool LinearGradientBrush::ApplyTo(cairo_t* cr) const
{
    if (!AllFinite({m_p1.X, m_p1.Y, m_p2.X, m_p2.Y}) || (m_p1.X == m_p2.X && m_p1.Y == m_p2.Y))
    {
        return false;
    }
    cairo_pattern_t* pattern = cairo_pattern_create_linear(m_p1.X, m_p1.Y, m_p2.X, m_p2.Y);
    for (const Stop& stop : m_stops)
    {
        if (std::isfinite(stop.position))
        {
            AddStop(pattern, stop.position, stop.color);
        }
    }
    cairo_pattern_set_extend(pattern, CAIRO_EXTEND_PAD);
    cairo_set_source(cr, pattern);
    cairo_pattern_destroy(pattern);
    return true;
}

PathGradientBrush::PathGradientBrush(const GraphicsPath* path)
{
    if (path != nullptr)
    {
        m_isEllipse = path->IsSingleEllipse(&m_ellipse);
        const auto figures = path->Flatten();
        if (!figures.empty())
        {
            m_outline = figures.front();
        }
    }
    PointF sum;
    for (const PointF& p : m_outline)
    {
        sum.X += p.X;
        sum.Y += p.Y;
    }
    if (!m_outline.empty())
    {
        m_center = {sum.X / REAL(m_outline.size()), sum.Y / REAL(m_outline.size())};
    }
}

PathGradientBrush::PathGradientBrush(const PointF* points, int count)
{
    GraphicsPath path;
    path.AddPolygon(points, count);
    *this = PathGradientBrush(&path);
}

PathGradientBrush::~PathGradientBrush() = default;

Status PathGradientBrush::SetCenterPoint(const PointF& point)
{
    m_center = point;
    return Ok;
}

Status PathGradientBrush::GetCenterPoint(PointF* point) const
{
    if (point == nullptr)
    {
        return InvalidParameter;
    }
    *point = m_center;
    return Ok;
}

Status PathGradientBrush::SetCenterColor(const Color& color)
{
    m_centerColor = color;
    return Ok;
}

Status PathGradientBrush::SetSurroundColors(const Color* colors, int* count)
{
    if (colors == nullptr || count == nullptr || *count < 1)
    {
        return m_status = InvalidParameter;
    }
    // One surround colour is all the program uses; with several, the first
    // stands for all of them.
    m_surroundColor = colors[0];
    *count = 1;
    return Ok;
}

bool PathGradientBrush::ApplyTo(cairo_t* cr) const
{
    if (m_outline.size() < 3 || !AllFinite(m_outline.data(), int(m_outline.size())) ||
        !AllFinite({m_center.X, m_center.Y}))
    {
        return false;
    }
    double minX = m_outline[0].X, maxX = minX, minY = m_outline[0].Y, maxY = minY;
    for (const PointF& p : m_outline)
    {
        minX = std::min(minX, double(p.X));
        maxX = std::max(maxX, double(p.X));
        minY = std::min(minY, double(p.Y));
        maxY = std::max(maxY, double(p.Y));
    }
    if (maxX - minX <= 0 || maxY - minY <= 0)
    {
        return false;
    }
    if (m_isEllipse)
    {
        static EllipseGradientCache cache;
        cairo_surface_t* raster = cache.Get(m_ellipse, m_center, m_centerColor, m_surroundColor);
        if (raster != nullptr)
        {
            const double originX = std::floor(m_ellipse.X);
            const double originY = std::floor(m_ellipse.Y);
            cairo_set_source_surface(cr, raster, originX, originY);
            cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
            cairo_surface_destroy(raster);
            return true;
        }
    }
    // A fan of triangles from the centre to the outline: the colour runs
    // linearly from the centre to every point of the outline.
    cairo_pattern_t* mesh = cairo_pattern_create_mesh();
    const size_t n = m_outline.size();
    for (size_t i = 0; i < n; ++i)
    {
        const PointF& a = m_outline[i];
        const PointF& b = m_outline[(i + 1) % n];
        cairo_mesh_pattern_begin_patch(mesh);
        cairo_mesh_pattern_move_to(mesh, m_center.X, m_center.Y);
        cairo_mesh_pattern_line_to(mesh, a.X, a.Y);
        cairo_mesh_pattern_line_to(mesh, b.X, b.Y);
        SetCornerColor(mesh, 0, m_centerColor);
        SetCornerColor(mesh, 1, m_surroundColor);
        SetCornerColor(mesh, 2, m_surroundColor);
        SetCornerColor(mesh, 3, m_centerColor);
        cairo_mesh_pattern_end_patch(mesh);
    }
    cairo_set_source(cr, mesh);
    cairo_pattern_destroy(mesh);
    return true;
}

} // namespace Gdiplus
