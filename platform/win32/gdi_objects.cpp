#include "platform/win32/gdi_objects.h"

#include "platform/win32/device_context.h"
#include "platform/win32/window_api.h"

#include <algorithm>
#include <cstring>

using namespace brvl::gdi;
using brvl::win32::DeviceContext;
using brvl::win32::DeviceContextFromHandle;

namespace
{

// Surfaces are addressed with 16-bit coordinates by the window system.
constexpr int kMaxBitmapSide = 32767;

// The dialog font: "MS Shell Dlg" at 11 px.
constexpr LONG kGuiFontHeightPx = -11;

void DeleteState(void* state)
{
    auto* dcState = static_cast<DcState*>(state);
    if (dcState->defaultBitmap != nullptr)
    {
        DeleteObject(dcState->defaultBitmap);
    }
    delete dcState;
}

HBITMAP MakeBitmap(int width, int height)
{
    if (width < 1 || height < 1 || width > kMaxBitmapSide || height > kMaxBitmapSide)
    {
        return nullptr;
    }
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS)
    {
        cairo_surface_destroy(surface);
        return nullptr;
    }
    auto* object = new GdiObject{ObjectKind::Bitmap};
    object->surface = surface;
    return reinterpret_cast<HBITMAP>(object);
}

// Points `dc` at another surface, as selecting a bitmap into a memory DC does.
void Retarget(DeviceContext* dc, cairo_surface_t* surface)
{
    cairo_surface_flush(dc->surface);
    cairo_destroy(dc->cr);
    cairo_surface_destroy(dc->surface);
    dc->surface = cairo_surface_reference(surface);
    dc->cr = cairo_create(surface);
    dc->width = cairo_image_surface_get_width(surface);
    dc->height = cairo_image_surface_get_height(surface);
}

void FillDeviceRect(HDC dc, const RECT& rc, COLORREF color)
{
    cairo_t* cr = brvl::win32::CairoOf(dc);
    if (cr == nullptr || rc.right <= rc.left || rc.bottom <= rc.top)
    {
        return;
    }
    cairo_save(cr);
    cairo_identity_matrix(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_set_source_rgb(cr, GetRValue(color) / 255.0, GetGValue(color) / 255.0,
                         GetBValue(color) / 255.0);
    cairo_rectangle(cr, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top);
    cairo_fill(cr);
    cairo_restore(cr);
}

bool PaintClassBrush(HDC dc, const RECT& rc, HBRUSH brush)
{
    return FillRect(dc, &rc, brush) != 0;
}

} // namespace

namespace brvl::gdi
{

GdiObject* ObjectFromHandle(HGDIOBJ object)
{
    if (object == nullptr)
    {
        return nullptr;
    }
    for (int id = 0; id < 32; ++id)
    {
        if (object == GetStockObject(id))
        {
            return nullptr;
        }
    }
    return static_cast<GdiObject*>(object);
}

bool IsStockObject(HGDIOBJ object, int id)
{
    return object != nullptr && object == GetStockObject(id);
}

DcState* StateOf(HDC dc)
{
    DeviceContext* context = DeviceContextFromHandle(dc);
    if (context == nullptr)
    {
        return nullptr;
    }
    if (context->extension == nullptr)
    {
        context->extension = new DcState;
        context->extensionDeleter = DeleteState;
    }
    return static_cast<DcState*>(context->extension);
}

LOGFONTW FontOf(HFONT font)
{
    if (const GdiObject* object = ObjectFromHandle(font);
        object != nullptr && object->kind == ObjectKind::Font)
    {
        return object->font;
    }
    LOGFONTW gui;
    gui.lfHeight = kGuiFontHeightPx;
    gui.lfWeight = FW_NORMAL;
    std::wcsncpy(gui.lfFaceName, L"MS Shell Dlg", LF_FACESIZE - 1);
    return gui;
}

_cairo_surface* SurfaceOfBitmap(HBITMAP bitmap)
{
    const GdiObject* object = ObjectFromHandle(bitmap);
    return object != nullptr && object->kind == ObjectKind::Bitmap ? object->surface : nullptr;
}

} // namespace brvl::gdi

HDC CreateCompatibleDC(HDC)
{
    // A new memory DC holds a 1 x 1 bitmap until one is selected into it.
    HBITMAP initial = MakeBitmap(1, 1);
    if (initial == nullptr)
    {
        return nullptr;
    }
    HDC dc = brvl::win32::CreateDeviceContext(SurfaceOfBitmap(initial), nullptr);
    DcState* state = StateOf(dc);
    state->defaultBitmap = initial;
    state->bitmap = initial;
    return dc;
}

BOOL DeleteDC(HDC dc)
{
    if (DeviceContextFromHandle(dc) == nullptr)
    {
        return FALSE;
    }
    brvl::win32::DeleteDeviceContext(dc);
    return TRUE;
}

HBITMAP CreateCompatibleBitmap(HDC, int width, int height)
{
    return MakeBitmap(width, height);
}

HGDIOBJ SelectObject(HDC dc, HGDIOBJ object)
{
    DcState* state = StateOf(dc);
    if (state == nullptr || object == nullptr)
    {
        return nullptr;
    }
    if (IsStockObject(object, DEFAULT_GUI_FONT))
    {
        HGDIOBJ previous = state->font;
        state->font = static_cast<HFONT>(object);
        return previous != nullptr ? previous : GetStockObject(DEFAULT_GUI_FONT);
    }
    if (IsStockObject(object, NULL_BRUSH))
    {
        HGDIOBJ previous = state->brush;
        state->brush = static_cast<HBRUSH>(object);
        return previous != nullptr ? previous : GetStockObject(NULL_BRUSH);
    }
    GdiObject* gdiObject = ObjectFromHandle(object);
    if (gdiObject == nullptr)
    {
        return nullptr;
    }
    switch (gdiObject->kind)
    {
    case ObjectKind::Bitmap:
    {
        HGDIOBJ previous = state->bitmap;
        Retarget(DeviceContextFromHandle(dc), gdiObject->surface);
        state->bitmap = static_cast<HBITMAP>(object);
        return previous;
    }
    case ObjectKind::Font:
    {
        HGDIOBJ previous = state->font != nullptr ? static_cast<HGDIOBJ>(state->font)
                                                  : GetStockObject(DEFAULT_GUI_FONT);
        state->font = static_cast<HFONT>(object);
        return previous;
    }
    case ObjectKind::Brush:
    {
        HGDIOBJ previous = state->brush;
        state->brush = static_cast<HBRUSH>(object);
        return previous;
    }
    }
    return nullptr;
}

BOOL DeleteObject(HGDIOBJ object)
{
    GdiObject* gdiObject = brvl::gdi::ObjectFromHandle(object);
    if (gdiObject == nullptr)
    {
        return FALSE;
    }
    if (gdiObject->surface != nullptr)
    {
        // A DC that still has the bitmap selected keeps its own reference.
        cairo_surface_destroy(gdiObject->surface);
    }
    delete gdiObject;
    return TRUE;
}

BOOL BitBlt(HDC target, int x, int y, int width, int height, HDC source, int sourceX, int sourceY,
            DWORD)
{
    cairo_t* cr = brvl::win32::CairoOf(target);
    const DeviceContext* from = DeviceContextFromHandle(source);
    if (cr == nullptr || from == nullptr || width <= 0 || height <= 0)
    {
        return FALSE;
    }
    cairo_surface_flush(from->surface);
    cairo_save(cr);
    cairo_identity_matrix(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_set_source_surface(cr, from->surface, x - sourceX, y - sourceY);
    // Clipped to both surfaces: pixels outside the source are left alone.
    const int left = std::max(x, x - sourceX);
    const int top = std::max(y, y - sourceY);
    const int right = std::min(x + width, x - sourceX + from->width);
    const int bottom = std::min(y + height, y - sourceY + from->height);
    if (right > left && bottom > top)
    {
        cairo_rectangle(cr, left, top, right - left, bottom - top);
        cairo_fill(cr);
    }
    cairo_restore(cr);
    return TRUE;
}

HBRUSH CreateSolidBrush(COLORREF color)
{
    // Class backgrounds other than the null brush are painted with our fills.
    if (brvl::win32::CurrentClassBrushPainter() == nullptr)
    {
        brvl::win32::SetClassBrushPainter(PaintClassBrush);
    }
    auto* object = new GdiObject{ObjectKind::Brush};
    object->color = color & 0x00FFFFFF;
    return reinterpret_cast<HBRUSH>(object);
}

int FillRect(HDC dc, const RECT* rect, HBRUSH brush)
{
    const GdiObject* object = brvl::gdi::ObjectFromHandle(brush);
    if (rect == nullptr || object == nullptr || object->kind != ObjectKind::Brush)
    {
        return 0; // the null brush paints nothing
    }
    FillDeviceRect(dc, *rect, object->color);
    return 1;
}

int FrameRect(HDC dc, const RECT* rect, HBRUSH brush)
{
    const GdiObject* object = brvl::gdi::ObjectFromHandle(brush);
    if (rect == nullptr || object == nullptr || object->kind != ObjectKind::Brush)
    {
        return 0;
    }
    const RECT& r = *rect;
    FillDeviceRect(dc, {r.left, r.top, r.right, r.top + 1}, object->color);
    FillDeviceRect(dc, {r.left, r.bottom - 1, r.right, r.bottom}, object->color);
    FillDeviceRect(dc, {r.left, r.top, r.left + 1, r.bottom}, object->color);
    FillDeviceRect(dc, {r.right - 1, r.top, r.right, r.bottom}, object->color);
    return 1;
}

HFONT CreateFontW(int height, int width, int escapement, int orientation, int weight, DWORD italic,
                  DWORD underline, DWORD strikeOut, DWORD charSet, DWORD outPrecision,
                  DWORD clipPrecision, DWORD quality, DWORD pitchAndFamily, LPCWSTR faceName)
{
    LOGFONTW font;
    font.lfHeight = height;
    font.lfWidth = width;
    font.lfEscapement = escapement;
    font.lfOrientation = orientation;
    font.lfWeight = weight;
    font.lfItalic = BYTE(italic != 0);
    font.lfUnderline = BYTE(underline != 0);
    font.lfStrikeOut = BYTE(strikeOut != 0);
    font.lfCharSet = BYTE(charSet);
    font.lfOutPrecision = BYTE(outPrecision);
    font.lfClipPrecision = BYTE(clipPrecision);
    font.lfQuality = BYTE(quality);
    font.lfPitchAndFamily = BYTE(pitchAndFamily);
    if (faceName != nullptr)
    {
        std::wcsncpy(font.lfFaceName, faceName, LF_FACESIZE - 1);
    }
    return CreateFontIndirectW(&font);
}

HFONT CreateFontIndirectW(const LOGFONTW* font)
{
    if (font == nullptr)
    {
        return nullptr;
    }
    auto* object = new GdiObject{ObjectKind::Font};
    object->font = *font;
    object->font.lfFaceName[LF_FACESIZE - 1] = L'\0';
    return reinterpret_cast<HFONT>(object);
}

int GetObjectW(HGDIOBJ object, int size, void* out)
{
    if (IsStockObject(object, DEFAULT_GUI_FONT) ||
        (ObjectFromHandle(object) != nullptr && ObjectFromHandle(object)->kind == ObjectKind::Font))
    {
        if (out == nullptr || size < int(sizeof(LOGFONTW)))
        {
            return int(sizeof(LOGFONTW));
        }
        const LOGFONTW font = FontOf(static_cast<HFONT>(object));
        std::memcpy(out, &font, sizeof(font));
        return int(sizeof(LOGFONTW));
    }
    return 0;
}

COLORREF SetTextColor(HDC dc, COLORREF color)
{
    DcState* state = StateOf(dc);
    if (state == nullptr)
    {
        return 0xFFFFFFFF; // CLR_INVALID
    }
    const COLORREF previous = state->textColor;
    state->textColor = color & 0x00FFFFFF;
    return previous;
}

int SetBkMode(HDC dc, int mode)
{
    DcState* state = StateOf(dc);
    if (state == nullptr)
    {
        return 0;
    }
    const int previous = state->backgroundMode;
    state->backgroundMode = mode;
    return previous;
}

int GetDeviceCaps(HDC dc, int index)
{
    const DeviceContext* context = DeviceContextFromHandle(dc);
    switch (index)
    {
    case LOGPIXELSX:
    case LOGPIXELSY:
        return int(GetDpiForWindow(context != nullptr ? context->hwnd : nullptr));
    default:
        return 0;
    }
}
