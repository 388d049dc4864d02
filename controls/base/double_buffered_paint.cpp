#include "controls/base/double_buffered_paint.h"

#include "controls/base/painting_helpers.h"
#include "platform/gdiplus/gdiplus.h"

void PaintDoubleBuffered(CWnd& window,
                         const std::function<void(Gdiplus::Graphics&, const RECT&)>& paint)
{
    CPaintDC paintDc(&window);
    CRect client;
    window.GetClientRect(&client);
    if (client.IsRectEmpty())
    {
        return;
    }
    CDC memory;
    CBitmap bitmap;
    if (!memory.CreateCompatibleDC(&paintDc) ||
        !bitmap.CreateCompatibleBitmap(&paintDc, client.Width(), client.Height()))
    {
        return;
    }
    CBitmap* previous = memory.SelectObject(&bitmap);
    {
        Gdiplus::Graphics graphics(memory.GetSafeHdc());
        PrepareControlGraphics(graphics);
        paint(graphics, client);
    }
    paintDc.BitBlt(0, 0, client.Width(), client.Height(), &memory, 0, 0, SRCCOPY);
    memory.SelectObject(previous);
}
