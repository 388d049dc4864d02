#include "platform/backend/backend.h"
#include "platform/win32/device_context.h"
#include "platform/win32/win_geometry.h"
#include "platform/win32/window_picture.h"
#include "platform/win32/window_system.h"

#include <cairo.h>

namespace brvl::win32
{

namespace
{

ClassBrushPainter g_brushPainter = nullptr;

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

void ComposeInto(cairo_t* cr, const WindowRecord& w)
{
    if (w.backing != nullptr)
    {
        cairo_set_source_surface(cr, w.backing, 0, 0);
        cairo_paint(cr);
    }
    // Children bottom to top, each clipped to its own rectangle inside the parent
    // (composition always behaves as if WS_CLIPCHILDREN/WS_CLIPSIBLINGS were set).
    for (auto it = w.children.rbegin(); it != w.children.rend(); ++it)
    {
        const WindowPtr child = WindowSystem::Instance().Find(*it);
        if (!child || (child->style & WS_VISIBLE) == 0)
        {
            continue;
        }
        const RECT insets = FrameInsets(child->style, false);
        const RECT client = ClientRectOf(*child);
        cairo_save(cr);
        cairo_translate(cr, child->rect.left + insets.left, child->rect.top + insets.top);
        cairo_rectangle(cr, 0, 0, client.right, client.bottom);
        cairo_clip(cr);
        ComposeInto(cr, *child);
        cairo_restore(cr);
    }
}

cairo_surface_t* Compose(HWND hwnd)
{
    const WindowPtr w = WindowSystem::Instance().Find(hwnd);
    if (!w)
    {
        return nullptr;
    }
    const RECT client = ClientRectOf(*w);
    cairo_surface_t* image =
        cairo_image_surface_create(CAIRO_FORMAT_ARGB32, client.right, client.bottom);
    cairo_t* cr = cairo_create(image);
    cairo_set_source_rgb(cr, 0, 0, 0);
    cairo_paint(cr);
    ComposeInto(cr, *w);
    cairo_destroy(cr);
    cairo_surface_flush(image);
    return image;
}

void PaintAllPending()
{
    while (PaintOnePending())
    {
    }
}

} // namespace

HDC CreateDeviceContext(_cairo_surface* surface, HWND hwnd)
{
    auto* dc = new DeviceContext;
    dc->surface = cairo_surface_reference(surface);
    dc->cr = cairo_create(surface);
    dc->hwnd = hwnd;
    if (cairo_surface_get_type(surface) == CAIRO_SURFACE_TYPE_IMAGE)
    {
        dc->width = cairo_image_surface_get_width(surface);
        dc->height = cairo_image_surface_get_height(surface);
    }
    return reinterpret_cast<HDC>(dc);
}

void DeleteDeviceContext(HDC handle)
{
    auto* dc = reinterpret_cast<DeviceContext*>(handle);
    if (dc == nullptr)
    {
        return;
    }
    if (dc->extension != nullptr && dc->extensionDeleter != nullptr)
    {
        dc->extensionDeleter(dc->extension);
    }
    cairo_surface_flush(dc->surface);
    cairo_destroy(dc->cr);
    cairo_surface_destroy(dc->surface);
    delete dc;
}

DeviceContext* DeviceContextFromHandle(HDC dc)
{
    return reinterpret_cast<DeviceContext*>(dc);
}

_cairo* CairoOf(HDC handle)
{
    const DeviceContext* dc = DeviceContextFromHandle(handle);
    return dc != nullptr ? dc->cr : nullptr;
}

void SetClassBrushPainter(ClassBrushPainter painter)
{
    g_brushPainter = painter;
}

bool EraseWithClassBrush(HWND hwnd, HDC dc)
{
    const WindowPtr w = WindowSystem::Instance().Find(hwnd);
    if (!w || !w->windowClass || dc == nullptr)
    {
        return false;
    }
    const HBRUSH brush = w->windowClass->background;
    if (brush == nullptr || brush == static_cast<HBRUSH>(GetStockObject(NULL_BRUSH)) ||
        g_brushPainter == nullptr)
    {
        return false;
    }
    return g_brushPainter(dc, ClientRectOf(*w), brush);
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

void PresentChangedTopLevels()
{
    WindowSystem& system = WindowSystem::Instance();
    backend::Backend& backend = backend::CurrentBackend();
    if (system.changedTopLevels.empty())
    {
        return;
    }
    const std::set<HWND> changed = std::move(system.changedTopLevels);
    system.changedTopLevels.clear();
    if (!backend.WantsPresentation())
    {
        return;
    }
    for (HWND top : changed)
    {
        if (!IsWindowVisible(top))
        {
            continue;
        }
        cairo_surface_t* image = Compose(top);
        if (image == nullptr)
        {
            continue;
        }
        backend::ImageView view;
        view.pixels = cairo_image_surface_get_data(image);
        view.width = cairo_image_surface_get_width(image);
        view.height = cairo_image_surface_get_height(image);
        view.stride = cairo_image_surface_get_stride(image);
        backend.Present(top, view);
        cairo_surface_destroy(image);
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

HGDIOBJ GetStockObject(int id)
{
    // Stock objects are fixed sentinels; the drawing layer recognises them.
    static const int sentinels[32] = {};
    if (id < 0 || id >= 32)
    {
        return nullptr;
    }
    return const_cast<int*>(&sentinels[id]);
}

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

COLORREF WindowPicture::ColorAt(int x, int y) const
{
    if (x < 0 || y < 0 || x >= width || y >= height)
    {
        return 0;
    }
    const std::uint32_t argb = pixels[static_cast<size_t>(y) * width + x];
    return RGB((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF);
}

BOOL ComposeWindowPicture(HWND hwnd, WindowPicture& picture)
{
    if (!IsWindow(hwnd))
    {
        return FALSE;
    }
    PaintAllPending();
    cairo_surface_t* image = Compose(hwnd);
    if (image == nullptr)
    {
        return FALSE;
    }
    picture.width = cairo_image_surface_get_width(image);
    picture.height = cairo_image_surface_get_height(image);
    picture.pixels.assign(static_cast<size_t>(picture.width) * picture.height, 0);
    const unsigned char* data = cairo_image_surface_get_data(image);
    const int stride = cairo_image_surface_get_stride(image);
    for (int y = 0; y < picture.height; ++y)
    {
        const auto* row = reinterpret_cast<const std::uint32_t*>(data + y * stride);
        std::copy(row, row + picture.width, picture.pixels.begin() + y * picture.width);
    }
    cairo_surface_destroy(image);
    return TRUE;
}

BOOL RenderWindowToPng(HWND hwnd, const std::filesystem::path& path)
{
    if (!IsWindow(hwnd))
    {
        return FALSE;
    }
    PaintAllPending();
    cairo_surface_t* image = Compose(hwnd);
    if (image == nullptr)
    {
        return FALSE;
    }
    const cairo_status_t status = cairo_surface_write_to_png(image, path.c_str());
    cairo_surface_destroy(image);
    return status == CAIRO_STATUS_SUCCESS ? TRUE : FALSE;
}
