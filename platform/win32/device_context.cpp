#include "platform/win32/device_context.h"

#include "platform/win32/window_system.h"

#include <cairo.h>

namespace brvl::win32
{

namespace
{

ClassBrushPainter g_brushPainter = nullptr;

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

ClassBrushPainter CurrentClassBrushPainter()
{
    return g_brushPainter;
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
