#include "platform/win32/window_picture.h"

#include "platform/win32/backend_seam.h"
#include "platform/win32/window_system.h"

#include <cairo.h>

namespace brvl::win32
{

namespace
{

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

} // namespace brvl::win32

using namespace brvl::win32;

COLORREF WindowPicture::ColorAt(int x, int y) const
{
    if (x < 0 || y < 0 || x >= width || y >= height)
    {
        return 0;
    }
    const std::uint32_t argb = pixels[static_cast<size_t>(y) * width + x];
    return RGB((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF);
}

namespace
{

// What the user would see now: pending paints first, then the composition.
cairo_surface_t* PaintAndCompose(HWND hwnd)
{
    if (!IsWindow(hwnd))
    {
        return nullptr;
    }
    PaintAllPending();
    return Compose(hwnd);
}

} // namespace

BOOL ComposeWindowPicture(HWND hwnd, WindowPicture& picture)
{
    cairo_surface_t* image = PaintAndCompose(hwnd);
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
    cairo_surface_t* image = PaintAndCompose(hwnd);
    if (image == nullptr)
    {
        return FALSE;
    }
    const cairo_status_t status = cairo_surface_write_to_png(image, path.c_str());
    cairo_surface_destroy(image);
    return status == CAIRO_STATUS_SUCCESS ? TRUE : FALSE;
}
