// Images on Graphics: scaled drawing with the interpolation mode, and the
// colour matrix that greys out disabled toolbar buttons.
#include "platform/gdiplus/gdiplus_graphics.h"

#include "platform/gdiplus/paint_guard.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>

namespace Gdiplus
{

namespace
{

cairo_filter_t ToCairoFilter(InterpolationMode mode)
{
    switch (mode)
    {
    case InterpolationModeNearestNeighbor:
        return CAIRO_FILTER_NEAREST;
    case InterpolationModeHighQualityBicubic:
    case InterpolationModeHighQualityBilinear:
    case InterpolationModeHighQuality:
        return CAIRO_FILTER_BEST;
    default:
        return CAIRO_FILTER_GOOD;
    }
}

double Clamp01(double v)
{
    return v < 0.0 ? 0.0 : (v > 1.0 ? 1.0 : v);
}

// A copy of part of `source` with `matrix` applied to each straight colour.
cairo_surface_t* ApplyColorMatrix(cairo_surface_t* source, int sx, int sy, int sw, int sh,
                                  const ColorMatrix& matrix)
{
    cairo_surface_t* out = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, sw, sh);
    cairo_surface_flush(source);
    const bool sourceAlpha = cairo_image_surface_get_format(source) == CAIRO_FORMAT_ARGB32;
    const unsigned char* in = cairo_image_surface_get_data(source);
    const int inStride = cairo_image_surface_get_stride(source);
    unsigned char* dst = cairo_image_surface_get_data(out);
    const int outStride = cairo_image_surface_get_stride(out);
    for (int y = 0; y < sh; ++y)
    {
        const auto* srcRow = reinterpret_cast<const uint32_t*>(in + size_t(sy + y) * inStride);
        auto* dstRow = reinterpret_cast<uint32_t*>(dst + size_t(y) * outStride);
        for (int x = 0; x < sw; ++x)
        {
            const uint32_t p = srcRow[sx + x];
            const double a = sourceAlpha ? ((p >> 24) & 0xFF) / 255.0 : 1.0;
            const auto straight = [a](uint32_t c) { return a > 0 ? (c / 255.0) / a : 0.0; };
            const double v[5] = {straight((p >> 16) & 0xFF), straight((p >> 8) & 0xFF),
                                 straight(p & 0xFF), a, 1.0};
            double r[4];
            for (int col = 0; col < 4; ++col)
            {
                double sum = 0;
                for (int row = 0; row < 5; ++row)
                {
                    sum += v[row] * matrix.m[row][col];
                }
                r[col] = Clamp01(sum);
            }
            const uint32_t alpha = uint32_t(std::lround(r[3] * 255.0));
            const auto pre = [&](double c) { return uint32_t(std::lround(c * r[3] * 255.0)); };
            dstRow[x] = (alpha << 24) | (pre(r[0]) << 16) | (pre(r[1]) << 8) | pre(r[2]);
        }
    }
    cairo_surface_mark_dirty(out);
    return out;
}

} // namespace

Status Graphics::DrawImage(Image* image, const RectF& dest)
{
    if (image == nullptr || image->Surface() == nullptr)
    {
        return Record(InvalidParameter);
    }
    return DrawImage(image, dest, 0, 0, REAL(image->GetWidth()), REAL(image->GetHeight()),
                     UnitPixel, nullptr);
}

Status Graphics::DrawImage(Image* image, const Rect& dest)
{
    return DrawImage(image, ToRectF(dest));
}

Status Graphics::DrawImage(Image* image, REAL x, REAL y)
{
    if (image == nullptr || image->Surface() == nullptr)
    {
        return Record(InvalidParameter);
    }
    // One image pixel to one device pixel, whatever resolution the file states.
    return DrawImage(image, RectF(x, y, REAL(image->GetWidth()), REAL(image->GetHeight())));
}

Status Graphics::DrawImage(Image* image, int x, int y)
{
    return DrawImage(image, REAL(x), REAL(y));
}

Status Graphics::DrawImage(Image* image, REAL x, REAL y, REAL width, REAL height)
{
    return DrawImage(image, RectF(x, y, width, height));
}

Status Graphics::DrawImage(Image* image, const Rect& dest, int srcX, int srcY, int srcWidth,
                           int srcHeight, Unit srcUnit, const ImageAttributes* attributes)
{
    return DrawImage(image, ToRectF(dest), REAL(srcX), REAL(srcY), REAL(srcWidth), REAL(srcHeight),
                     srcUnit, attributes);
}

Status Graphics::DrawImage(Image* image, const RectF& dest, REAL srcX, REAL srcY, REAL srcWidth,
                           REAL srcHeight, Unit, const ImageAttributes* attributes)
{
    if (m_cr == nullptr || image == nullptr || image->Surface() == nullptr ||
        !IsDrawableBox(dest) || !IsDrawableBox(RectF(srcX, srcY, srcWidth, srcHeight)))
    {
        return Record(InvalidParameter);
    }
    // The source rectangle is clipped to the image.
    const int imageWidth = int(image->GetWidth());
    const int imageHeight = int(image->GetHeight());
    const int sx = std::clamp(int(std::floor(srcX)), 0, imageWidth);
    const int sy = std::clamp(int(std::floor(srcY)), 0, imageHeight);
    const int sw = std::clamp(int(std::lround(srcWidth)), 0, imageWidth - sx);
    const int sh = std::clamp(int(std::lround(srcHeight)), 0, imageHeight - sy);
    if (sw <= 0 || sh <= 0)
    {
        return Record(InvalidParameter);
    }

    cairo_surface_t* source = image->Surface();
    cairo_surface_t* filtered = nullptr;
    double originX = sx;
    double originY = sy;
    if (attributes != nullptr && attributes->Matrix() != nullptr)
    {
        filtered = ApplyColorMatrix(source, sx, sy, sw, sh, *attributes->Matrix());
        source = filtered;
        originX = 0;
        originY = 0;
    }

    BeginPrimitive();
    cairo_save(m_cr);
    cairo_rectangle(m_cr, dest.X, dest.Y, dest.Width, dest.Height);
    cairo_clip(m_cr);
    cairo_translate(m_cr, dest.X, dest.Y);
    cairo_scale(m_cr, dest.Width / sw, dest.Height / sh);
    cairo_set_source_surface(m_cr, source, -originX, -originY);
    cairo_pattern_t* pattern = cairo_get_source(m_cr);
    cairo_pattern_set_filter(pattern, ToCairoFilter(m_interpolation));
    // Edge pixels repeat rather than fading into transparency when scaled.
    cairo_pattern_set_extend(pattern, CAIRO_EXTEND_PAD);
    cairo_paint(m_cr);
    cairo_restore(m_cr);
    EndPrimitive();
    if (filtered != nullptr)
    {
        cairo_surface_destroy(filtered);
    }
    return Record(Ok);
}

} // namespace Gdiplus
