#pragma once

#include "platform/gdiplus/gdiplus.h"
#include "platform/mfc/cstring.h"

// A control's text in "Segoe UI" at a pixel size, centred horizontally in
// `box` and placed at its top or its vertical middle.
enum class TextPlacement
{
    Top,
    Middle,
};

void DrawControlText(Gdiplus::Graphics& graphics, const CString& text, Gdiplus::REAL pixelSize,
                     bool bold, const Gdiplus::RectF& box, Gdiplus::ARGB color,
                     TextPlacement placement);
