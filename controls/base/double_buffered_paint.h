#pragma once

#include "platform/mfc/afxwin.h"

#include <functional>

namespace Gdiplus
{
class Graphics;
}

// A WM_PAINT composed in a memory bitmap and copied to the window in one
// BitBlt, so nothing flickers: `paint` draws the whole client on a Graphics
// prepared as every control paints (PrepareControlGraphics). An empty client,
// or a memory DC or bitmap that cannot be made, ends the paint.
void PaintDoubleBuffered(CWnd& window,
                         const std::function<void(Gdiplus::Graphics&, const RECT&)>& paint);
