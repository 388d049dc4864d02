#pragma once

#include "platform/gdiplus/gdiplus.h"
#include "platform/mfc/cstring.h"

// Text as the controls draw it: "Segoe UI" at a size in pixels, one colour.

struct ControlFont
{
    Gdiplus::REAL pixels;
    int style = Gdiplus::FontStyleRegular;
};

// In `box`, aligned on each axis as asked.
void DrawControlText(Gdiplus::Graphics& graphics, const wchar_t* text, ControlFont font,
                     Gdiplus::ARGB color, const Gdiplus::RectF& box,
                     Gdiplus::StringAlignment horizontal = Gdiplus::StringAlignmentCenter,
                     Gdiplus::StringAlignment vertical = Gdiplus::StringAlignmentCenter);

// With its top-left corner at `origin`, without a layout box.
void DrawControlTextAt(Gdiplus::Graphics& graphics, const wchar_t* text, ControlFont font,
                       Gdiplus::ARGB color, const Gdiplus::PointF& origin);

// Centred horizontally in `box`, at its top or its vertical middle; nothing
// for an empty text or box.
enum class TextPlacement
{
    Top,
    Middle,
};
void DrawControlText(Gdiplus::Graphics& graphics, const CString& text, Gdiplus::REAL pixelSize,
                     bool bold, const Gdiplus::RectF& box, Gdiplus::ARGB color,
                     TextPlacement placement);
