#pragma once

// The device-context plumbing the drawing layer (GDI, GDI+) builds on. An HDC
// names a Cairo context on a surface: a window's backing image (paint and
// client DCs), a scratch surface (screen DC) or whatever the drawing layer
// creates (memory DCs). Cairo types stay opaque here.

#include "platform/win32/win_types.h"

struct _cairo;
struct _cairo_surface;

namespace brvl::win32
{

struct DeviceContext
{
    _cairo* cr = nullptr;
    _cairo_surface* surface = nullptr;
    HWND hwnd = nullptr; // the window whose backing this draws on, if any
    int width = 0;
    int height = 0;

    // State the drawing layer keeps per DC (selected objects, colours).
    void* extension = nullptr;
    void (*extensionDeleter)(void*) = nullptr;
};

// Makes a DC drawing on `surface` (a reference is taken); deleted with DeleteDeviceContext.
HDC CreateDeviceContext(_cairo_surface* surface, HWND hwnd);
void DeleteDeviceContext(HDC dc);
DeviceContext* DeviceContextFromHandle(HDC dc);
_cairo* CairoOf(HDC dc);

// How the default erase fills a class background brush other than NULL_BRUSH;
// installed by the drawing layer, which owns brushes.
using ClassBrushPainter = bool (*)(HDC dc, const RECT& rc, HBRUSH brush);
void SetClassBrushPainter(ClassBrushPainter painter);
ClassBrushPainter CurrentClassBrushPainter();

} // namespace brvl::win32
