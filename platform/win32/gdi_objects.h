#pragma once

// Internal to the GDI layer: what brush, font and bitmap handles point at, and
// the per-DC state (selected objects, text colour, background mode).

#include "platform/win32/gdi.h"

#include <cairo.h>

#include <string>

namespace brvl::gdi
{

enum class ObjectKind
{
    Brush,
    Font,
    Bitmap,
};

struct GdiObject
{
    ObjectKind kind;
    COLORREF color = 0;                 // brushes
    LOGFONTW font{};                    // fonts
    cairo_surface_t* surface = nullptr; // bitmaps (one reference)
};

// Null for stock objects and foreign pointers.
GdiObject* ObjectFromHandle(HGDIOBJ object);
bool IsStockObject(HGDIOBJ object, int id);

struct DcState
{
    HBITMAP defaultBitmap = nullptr; // a memory DC's own 1 x 1 bitmap
    HBITMAP bitmap = nullptr;
    HFONT font = nullptr;
    HBRUSH brush = nullptr;
    COLORREF textColor = 0;
    int backgroundMode = OPAQUE;
};

// The state of `dc`, created on first use; null for a null DC.
DcState* StateOf(HDC dc);

// The LOGFONT a font handle stands for (the GUI font for DEFAULT_GUI_FONT or null).
LOGFONTW FontOf(HFONT font);

// The em height in pixels of a LOGFONT, as Pango sizes it.
double EmPixelsOf(const LOGFONTW& font);

} // namespace brvl::gdi
