#pragma once

// The GDI calls the program makes: memory DCs and bitmaps, solid brushes and
// fills, fonts and simple text, pixel copies. Drawn with Cairo and Pango like
// GDI+; an HDC is the device context of the window layer.

#include "platform/win32/win_styles.h"
#include "platform/win32/win_types.h"

constexpr int DEFAULT_GUI_FONT = 17;
constexpr int LOGPIXELSX = 88;
constexpr int LOGPIXELSY = 90;
constexpr DWORD SRCCOPY = 0x00CC0020;
constexpr int TRANSPARENT = 1;
constexpr int OPAQUE = 2;
constexpr int FW_NORMAL = 400;
constexpr int FW_BOLD = 700;
constexpr DWORD DEFAULT_CHARSET = 1;
constexpr DWORD CLEARTYPE_QUALITY = 5;

constexpr UINT DT_LEFT = 0x0000;
constexpr UINT DT_CENTER = 0x0001;
constexpr UINT DT_RIGHT = 0x0002;
constexpr UINT DT_VCENTER = 0x0004;
constexpr UINT DT_BOTTOM = 0x0008;
constexpr UINT DT_WORDBREAK = 0x0010;
constexpr UINT DT_SINGLELINE = 0x0020;
constexpr UINT DT_NOCLIP = 0x0100;
constexpr UINT DT_CALCRECT = 0x0400;
constexpr UINT DT_NOPREFIX = 0x0800;
constexpr UINT DT_END_ELLIPSIS = 0x8000;

constexpr int LF_FACESIZE = 32;

struct LOGFONTW
{
    LONG lfHeight = 0;
    LONG lfWidth = 0;
    LONG lfEscapement = 0;
    LONG lfOrientation = 0;
    LONG lfWeight = 0;
    BYTE lfItalic = 0;
    BYTE lfUnderline = 0;
    BYTE lfStrikeOut = 0;
    BYTE lfCharSet = 0;
    BYTE lfOutPrecision = 0;
    BYTE lfClipPrecision = 0;
    BYTE lfQuality = 0;
    BYTE lfPitchAndFamily = 0;
    WCHAR lfFaceName[LF_FACESIZE] = {};
};

// Memory DCs draw on an opaque RGB image; sizes outside 1..32767 give NULL.
HDC CreateCompatibleDC(HDC reference);
BOOL DeleteDC(HDC dc);
HBITMAP CreateCompatibleBitmap(HDC reference, int width, int height);
HGDIOBJ SelectObject(HDC dc, HGDIOBJ object);
BOOL DeleteObject(HGDIOBJ object);
BOOL BitBlt(HDC target, int x, int y, int width, int height, HDC source, int sourceX, int sourceY,
            DWORD rop);

HBRUSH CreateSolidBrush(COLORREF color);
int FillRect(HDC dc, const RECT* rect, HBRUSH brush);
int FrameRect(HDC dc, const RECT* rect, HBRUSH brush);

// lfHeight < 0: em height in pixels; > 0: cell height; weight >= 600 is bold.
HFONT CreateFontW(int height, int width, int escapement, int orientation, int weight, DWORD italic,
                  DWORD underline, DWORD strikeOut, DWORD charSet, DWORD outPrecision,
                  DWORD clipPrecision, DWORD quality, DWORD pitchAndFamily, LPCWSTR faceName);
HFONT CreateFontIndirectW(const LOGFONTW* font);
int GetObjectW(HGDIOBJ object, int size, void* out);
COLORREF SetTextColor(HDC dc, COLORREF color);
int SetBkMode(HDC dc, int mode);
// cx: the logical width of the text rounded up (no padding); cy: the line height.
BOOL GetTextExtentPoint32W(HDC dc, LPCWSTR text, int length, SIZE* size);
int DrawTextW(HDC dc, LPCWSTR text, int length, RECT* rect, UINT format);
int GetDeviceCaps(HDC dc, int index);

#define CreateFont CreateFontW
#define CreateFontIndirect CreateFontIndirectW
#define GetTextExtentPoint32 GetTextExtentPoint32W
#define DrawText DrawTextW
#define GetObject GetObjectW

struct _cairo_surface;

namespace brvl::gdi
{

// The Cairo surface of a bitmap (for the image layer); null for anything else.
_cairo_surface* SurfaceOfBitmap(HBITMAP bitmap);

} // namespace brvl::gdi
