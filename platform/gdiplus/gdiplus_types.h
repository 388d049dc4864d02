#pragma once

#include "platform/win32/win_types.h"

#include <cstdint>

// Plain values of the painting layer: colours, points, rectangles and the
// enumerations painters pass, with the numeric values painting code relies on.
namespace Gdiplus
{

using ARGB = uint32_t;
using REAL = float;

enum Status
{
    Ok = 0,
    GenericError = 1,
    InvalidParameter = 2,
    OutOfMemory = 3,
    NotImplemented = 6,
    FileNotFound = 10,
    UnknownImageFormat = 13,
};

enum Unit
{
    UnitWorld = 0,
    UnitDisplay = 1,
    UnitPixel = 2,
    UnitPoint = 3,
};

enum SmoothingMode
{
    SmoothingModeDefault = 0,
    SmoothingModeHighSpeed = 1,
    SmoothingModeHighQuality = 2,
    SmoothingModeNone = 3,
    SmoothingModeAntiAlias = 4,
};

enum PixelOffsetMode
{
    PixelOffsetModeDefault = 0,
    PixelOffsetModeHighSpeed = 1,
    PixelOffsetModeHighQuality = 2,
    PixelOffsetModeNone = 3,
    PixelOffsetModeHalf = 4,
};

enum TextRenderingHint
{
    TextRenderingHintSystemDefault = 0,
    TextRenderingHintSingleBitPerPixelGridFit = 1,
    TextRenderingHintSingleBitPerPixel = 2,
    TextRenderingHintAntiAliasGridFit = 3,
    TextRenderingHintAntiAlias = 4,
    TextRenderingHintClearTypeGridFit = 5,
};

enum InterpolationMode
{
    InterpolationModeDefault = 0,
    InterpolationModeLowQuality = 1,
    InterpolationModeHighQuality = 2,
    InterpolationModeBilinear = 3,
    InterpolationModeBicubic = 4,
    InterpolationModeNearestNeighbor = 5,
    InterpolationModeHighQualityBilinear = 6,
    InterpolationModeHighQualityBicubic = 7,
};

enum LineCap
{
    LineCapFlat = 0,
    LineCapSquare = 1,
    LineCapRound = 2,
};

enum LineJoin
{
    LineJoinMiter = 0,
    LineJoinBevel = 1,
    LineJoinRound = 2,
};

enum DashStyle
{
    DashStyleSolid = 0,
    DashStyleDash = 1,
    DashStyleDot = 2,
    DashStyleDashDot = 3,
    DashStyleDashDotDot = 4,
    DashStyleCustom = 5,
};

enum DashCap
{
    DashCapFlat = 0,
    DashCapRound = 2,
};

enum FillMode
{
    FillModeAlternate = 0,
    FillModeWinding = 1,
};

enum StringAlignment
{
    StringAlignmentNear = 0,
    StringAlignmentCenter = 1,
    StringAlignmentFar = 2,
};

enum StringFormatFlags
{
    StringFormatFlagsNoWrap = 0x00001000,
    StringFormatFlagsNoClip = 0x00004000,
};

enum StringTrimming
{
    StringTrimmingNone = 0,
    StringTrimmingCharacter = 1,
    StringTrimmingWord = 2,
    StringTrimmingEllipsisCharacter = 3,
};

enum FontStyle
{
    FontStyleRegular = 0,
    FontStyleBold = 1,
    FontStyleItalic = 2,
    FontStyleBoldItalic = 3,
};

enum LinearGradientMode
{
    LinearGradientModeHorizontal = 0,
    LinearGradientModeVertical = 1,
    LinearGradientModeForwardDiagonal = 2,
    LinearGradientModeBackwardDiagonal = 3,
};

using PixelFormat = int;
inline constexpr PixelFormat PixelFormat24bppRGB = 0x00021808;
inline constexpr PixelFormat PixelFormat32bppRGB = 0x00022009;
inline constexpr PixelFormat PixelFormat32bppARGB = 0x0026200A;
inline constexpr PixelFormat PixelFormat32bppPARGB = 0x000E200B;

// Straight (not premultiplied) ARGB, 0xAARRGGBB.
class Color
{
public:
    static constexpr ARGB AlphaShift = 24;
    static constexpr ARGB RedShift = 16;
    static constexpr ARGB GreenShift = 8;
    static constexpr ARGB BlueShift = 0;

    constexpr Color() : m_argb(0xFF000000u) {}
    constexpr Color(ARGB argb) : m_argb(argb) {}
    constexpr Color(uint8_t r, uint8_t g, uint8_t b) : m_argb(MakeARGB(255, r, g, b)) {}
    constexpr Color(uint8_t a, uint8_t r, uint8_t g, uint8_t b) : m_argb(MakeARGB(a, r, g, b)) {}

    static constexpr ARGB MakeARGB(uint8_t a, uint8_t r, uint8_t g, uint8_t b)
    {
        return (ARGB(a) << AlphaShift) | (ARGB(r) << RedShift) | (ARGB(g) << GreenShift) |
               (ARGB(b) << BlueShift);
    }

    constexpr uint8_t GetA() const { return uint8_t(m_argb >> AlphaShift); }
    constexpr uint8_t GetR() const { return uint8_t(m_argb >> RedShift); }
    constexpr uint8_t GetG() const { return uint8_t(m_argb >> GreenShift); }
    constexpr uint8_t GetB() const { return uint8_t(m_argb >> BlueShift); }
    constexpr uint8_t GetAlpha() const { return GetA(); }
    constexpr uint8_t GetRed() const { return GetR(); }
    constexpr uint8_t GetGreen() const { return GetG(); }
    constexpr uint8_t GetBlue() const { return GetB(); }
    constexpr ARGB GetValue() const { return m_argb; }
    void SetValue(ARGB argb) { m_argb = argb; }

    // The colour of a COLORREF, opaque (see ColorFromRef).
    void SetFromCOLORREF(COLORREF colorref);
    constexpr uint32_t ToCOLORREF() const
    {
        return uint32_t(GetR()) | (uint32_t(GetG()) << 8) | (uint32_t(GetB()) << 16);
    }

private:
    ARGB m_argb;
};

// A GDI colour (0x00BBGGRR, its high byte ignored) with `alpha` (255: opaque):
// the one way from the palette's and GDI's COLORREFs to GDI+.
constexpr Color ColorFromRef(COLORREF color, BYTE alpha = 255)
{
    return Color(alpha, GetRValue(color), GetGValue(color), GetBValue(color));
}

inline void Color::SetFromCOLORREF(COLORREF colorref)
{
    *this = ColorFromRef(colorref);
}

struct PointF
{
    REAL X = 0;
    REAL Y = 0;
    constexpr PointF() = default;
    constexpr PointF(REAL x, REAL y) : X(x), Y(y) {}
};

struct Point
{
    int X = 0;
    int Y = 0;
    constexpr Point() = default;
    constexpr Point(int x, int y) : X(x), Y(y) {}
};

struct SizeF
{
    REAL Width = 0;
    REAL Height = 0;
    constexpr SizeF() = default;
    constexpr SizeF(REAL w, REAL h) : Width(w), Height(h) {}
};

struct RectF
{
    REAL X = 0;
    REAL Y = 0;
    REAL Width = 0;
    REAL Height = 0;
    constexpr RectF() = default;
    constexpr RectF(REAL x, REAL y, REAL w, REAL h) : X(x), Y(y), Width(w), Height(h) {}
    REAL GetLeft() const { return X; }
    REAL GetTop() const { return Y; }
    REAL GetRight() const { return X + Width; }
    REAL GetBottom() const { return Y + Height; }
    bool IsEmptyArea() const { return Width <= 0 || Height <= 0; }
    void Inflate(REAL dx, REAL dy)
    {
        X -= dx;
        Y -= dy;
        Width += 2 * dx;
        Height += 2 * dy;
    }
    bool Contains(REAL x, REAL y) const
    {
        return x >= X && x < X + Width && y >= Y && y < Y + Height;
    }
};

struct Rect
{
    int X = 0;
    int Y = 0;
    int Width = 0;
    int Height = 0;
    constexpr Rect() = default;
    constexpr Rect(int x, int y, int w, int h) : X(x), Y(y), Width(w), Height(h) {}
};

inline RectF ToRectF(const Rect& r)
{
    return RectF(REAL(r.X), REAL(r.Y), REAL(r.Width), REAL(r.Height));
}

inline PointF ToPointF(const Point& p)
{
    return PointF(REAL(p.X), REAL(p.Y));
}

} // namespace Gdiplus
