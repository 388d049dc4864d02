#include "platform/win32/backend_seam.h"
#include "platform/win32/device_context.h"
#include "platform/win32/win_geometry.h"
#include "platform/win32/window_picture.h"
#include "platform/win32/window_system.h"

#include <cairo.h>

namespace brvl::win32
{

namespace
{

_cairo_surface* EnsureBacking(WindowRecord& w)
{
    const RECT client = ClientRectOf(w);
    if (w.backing != nullptr && cairo_image_surface_get_width(w.backing) == client.right &&
        cairo_image_surface_get_height(w.backing) == client.bottom)
    {
        return w.backing;
    }
    ReleaseBacking(w);
    // Opaque, starting black: what a freshly resized window shows until painted.
    w.backing = cairo_image_surface_create(CAIRO_FORMAT_RGB24, client.right, client.bottom);
    return w.backing;
}

HDC DcOnBacking(WindowRecord& w, const RECT* clip)
{
    const HDC dc = CreateDeviceContext(EnsureBacking(w), w.hwnd);
    if (clip != nullptr)
    {
        cairo_t* cr = CairoOf(dc);
        cairo_rectangle(cr, clip->left, clip->top, clip->right - clip->left,
                        clip->bottom - clip->top);
        cairo_clip(cr);
    }
    return dc;
}

bool HasPendingPaint(const WindowRecord& w)
{
    return !IsRectEmpty(&w.updateRect);
}

// Depth-first, parents before children, topmost top-level first.
HWND FindPendingPaint(HWND hwnd)
{
    const WindowPtr w = WindowSystem::Instance().Find(hwnd);
    if (!w || (w->style & WS_VISIBLE) == 0 || w->destroying)
    {
        return nullptr;
    }
    if (HasPendingPaint(*w))
    {
        return hwnd;
    }
    for (HWND child : w->children)
    {
        if (const HWND found = FindPendingPaint(child))
        {
            return found;
        }
    }
    return nullptr;
}

void PaintNow(HWND hwnd)
{
    const WindowPtr w = WindowSystem::Instance().Find(hwnd);
    if (!w || !HasPendingPaint(*w) || !IsVisibleChain(hwnd))
    {
        return;
    }
    Dispatch(hwnd, WM_PAINT, 0, 0);
    // A handler that threw or never began painting is still validated, so no
    // repaint storm can start.
    w->updateRect = RECT{};
    w->erasePending = false;
}

void PaintTreeNow(HWND hwnd)
{
    PaintNow(hwnd);
    const WindowPtr w = WindowSystem::Instance().Find(hwnd);
    if (!w)
    {
        return;
    }
    const std::vector<HWND> children = w->children;
    for (HWND child : children)
    {
        PaintTreeNow(child);
    }
}

void InvalidateTree(HWND hwnd, const RECT* rc, BOOL erase)
{
    InvalidateRect(hwnd, rc, erase);
    const WindowPtr w = WindowSystem::Instance().Find(hwnd);
    if (!w)
    {
        return;
    }
    for (HWND child : w->children)
    {
        InvalidateTree(child, nullptr, erase);
    }
}

} // namespace

bool EraseWithClassBrush(HWND hwnd, HDC dc)
{
    const WindowPtr w = WindowSystem::Instance().Find(hwnd);
    if (!w || !w->windowClass || dc == nullptr)
    {
        return false;
    }
    const HBRUSH brush = w->windowClass->background;
    if (brush == nullptr || brush == static_cast<HBRUSH>(GetStockObject(NULL_BRUSH)) ||
        CurrentClassBrushPainter() == nullptr)
    {
        return false;
    }
    return CurrentClassBrushPainter()(dc, ClientRectOf(*w), brush);
}

void ReleaseBacking(WindowRecord& w)
{
    if (w.backing != nullptr)
    {
        cairo_surface_destroy(w.backing);
        w.backing = nullptr;
    }
}

void InvalidateBeneath(HWND hwnd)
{
    const WindowPtr w = WindowSystem::Instance().Find(hwnd);
    if (w && w->IsChildWindow())
    {
        InvalidateRect(w->parent, &w->rect, TRUE);
    }
    MarkPictureChanged(hwnd);
}

void MarkPictureChanged(HWND hwnd)
{
    if (const HWND top = TopLevelOf(hwnd))
    {
        WindowSystem::Instance().changedTopLevels.insert(top);
    }
}

bool PaintOnePending()
{
    for (HWND top : std::vector<HWND>(WindowSystem::Instance().topLevels))
    {
        if (const HWND hwnd = FindPendingPaint(top))
        {
            PaintNow(hwnd);
            return true;
        }
    }
    return false;
}

} // namespace brvl::win32

using namespace brvl::win32;

BOOL InvalidateRect(HWND hwnd, const RECT* rc, BOOL erase)
{
    const WindowPtr w = WindowSystem::Instance().Find(hwnd);
    if (!w)
    {
        return FALSE;
    }
    if (!IsVisibleChain(hwnd) || w->destroying)
    {
        return TRUE; // made up for when the window is shown
    }
    const RECT client = ClientRectOf(*w);
    RECT area = client;
    if (rc != nullptr && !IntersectRect(&area, rc, &client))
    {
        return TRUE;
    }
    if (IsRectEmpty(&area))
    {
        return TRUE;
    }
    // A bounding union of the update area is enough.
    UnionRect(&w->updateRect, &w->updateRect, &area);
    w->erasePending = w->erasePending || erase != FALSE;
    return TRUE;
}

BOOL ValidateRect(HWND hwnd, const RECT* rc)
{
    const WindowPtr w = WindowSystem::Instance().Find(hwnd);
    if (!w)
    {
        return FALSE;
    }
    RECT covered{};
    if (rc == nullptr || (UnionRect(&covered, rc, &w->updateRect) && EqualRect(&covered, rc)))
    {
        w->updateRect = RECT{};
        w->erasePending = false;
    }
    return TRUE;
}

BOOL GetUpdateRect(HWND hwnd, RECT* rc, BOOL)
{
    const WindowPtr w = WindowSystem::Instance().Find(hwnd);
    if (!w)
    {
        return FALSE;
    }
    if (rc != nullptr)
    {
        *rc = w->updateRect;
    }
    return IsRectEmpty(&w->updateRect) ? FALSE : TRUE;
}

HDC BeginPaint(HWND hwnd, PAINTSTRUCT* ps)
{
    const WindowPtr w = WindowSystem::Instance().Find(hwnd);
    if (!w || ps == nullptr)
    {
        return nullptr;
    }
    *ps = PAINTSTRUCT{};
    ps->rcPaint = w->updateRect;
    const bool erase = w->erasePending;
    w->updateRect = RECT{};
    w->erasePending = false;
    ps->hdc = DcOnBacking(*w, &ps->rcPaint);
    if (erase)
    {
        // fErase tells the painter the background is still to be erased.
        ps->fErase = SendMessageW(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(ps->hdc), 0) == 0
                         ? TRUE
                         : FALSE;
    }
    return ps->hdc;
}

BOOL EndPaint(HWND hwnd, const PAINTSTRUCT* ps)
{
    if (ps == nullptr)
    {
        return FALSE;
    }
    DeleteDeviceContext(ps->hdc);
    MarkPictureChanged(hwnd);
    return TRUE;
}

HDC GetDC(HWND hwnd)
{
    if (hwnd == nullptr)
    {
        // A screen DC, good for measuring text.
        cairo_surface_t* scratch = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 1, 1);
        const HDC dc = CreateDeviceContext(scratch, nullptr);
        cairo_surface_destroy(scratch);
        return dc;
    }
    const WindowPtr w = WindowSystem::Instance().Find(hwnd);
    if (!w)
    {
        return nullptr;
    }
    return DcOnBacking(*w, nullptr);
}

int ReleaseDC(HWND hwnd, HDC dc)
{
    if (dc == nullptr)
    {
        return 0;
    }
    DeleteDeviceContext(dc);
    if (hwnd != nullptr)
    {
        MarkPictureChanged(hwnd);
    }
    return 1;
}

BOOL UpdateWindow(HWND hwnd)
{
    if (!IsWindow(hwnd))
    {
        return FALSE;
    }
    PaintNow(hwnd);
    PresentChangedTopLevels();
    return TRUE;
}

BOOL RedrawWindow(HWND hwnd, const RECT* rc, void*, UINT flags)
{
    if (!IsWindow(hwnd))
    {
        return FALSE;
    }
    const BOOL erase = (flags & RDW_ERASE) != 0 ? TRUE : FALSE;
    if ((flags & RDW_INVALIDATE) != 0)
    {
        if ((flags & RDW_ALLCHILDREN) != 0)
        {
            InvalidateTree(hwnd, rc, erase);
        }
        else
        {
            InvalidateRect(hwnd, rc, erase);
        }
    }
    if ((flags & RDW_UPDATENOW) != 0)
    {
        if ((flags & RDW_ALLCHILDREN) != 0)
        {
            PaintTreeNow(hwnd);
        }
        else
        {
            PaintNow(hwnd);
        }
        PresentChangedTopLevels();
    }
    return TRUE;
}
