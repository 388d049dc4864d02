#pragma once

// Internal to the painting layer: the input checks every primitive makes and a
// scratch Cairo context for geometry queries.

#include "platform/gdiplus/gdiplus_types.h"

#include <cairo.h>

#include <cmath>
#include <initializer_list>

namespace Gdiplus
{

inline bool AllFinite(std::initializer_list<double> values)
{
    for (double v : values)
    {
        if (!std::isfinite(v))
        {
            return false;
        }
    }
    return true;
}

inline bool AllFinite(const PointF* points, int count)
{
    for (int i = 0; i < count; ++i)
    {
        if (!std::isfinite(points[i].X) || !std::isfinite(points[i].Y))
        {
            return false;
        }
    }
    return true;
}

// Whether every point is the first one: an open figure of no length, which a
// round cap would otherwise turn into a dot.
inline bool AllCoincide(const PointF* points, int count)
{
    for (int i = 1; i < count; ++i)
    {
        if (points[i].X != points[0].X || points[i].Y != points[0].Y)
        {
            return false;
        }
    }
    return true;
}

inline bool IsDrawableBox(const RectF& r)
{
    return AllFinite({r.X, r.Y, r.Width, r.Height}) && r.Width > 0 && r.Height > 0;
}

// A 1 x 1 surface for asking Cairo about paths without drawing anything.
struct ScratchContext
{
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_A8, 1, 1);
    cairo_t* cr = cairo_create(surface);
    ScratchContext() = default;
    ScratchContext(const ScratchContext&) = delete;
    ScratchContext& operator=(const ScratchContext&) = delete;
    ~ScratchContext()
    {
        cairo_destroy(cr);
        cairo_surface_destroy(surface);
    }
};

} // namespace Gdiplus
