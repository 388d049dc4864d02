#pragma once

#include "platform/win32/gdi.h"
#include "platform/win32/win_messages.h"
#include "platform/win32/win_styles.h"
#include "platform/win32/win_types.h"

// The Win32 window calls the program makes. Every call is for the interface
// thread except IsWindow and PostMessage, which any thread may call.

// Window classes
struct WNDCLASSW
{
    UINT style;
    WNDPROC lpfnWndProc;
    int cbClsExtra;
    int cbWndExtra;
    HINSTANCE hInstance;
    HICON hIcon;
    HCURSOR hCursor;
    HBRUSH hbrBackground;
    LPCWSTR lpszMenuName;
    LPCWSTR lpszClassName;
};
BOOL RegisterClassW(const WNDCLASSW* wc);
BOOL GetClassInfoW(HINSTANCE instance, LPCWSTR className, WNDCLASSW* wc);
HGDIOBJ GetStockObject(int id);

// Creation and destruction
HWND CreateWindowExW(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, int x,
                     int y, int width, int height, HWND parent, HMENU menuOrId, HINSTANCE instance,
                     LPVOID param);
BOOL DestroyWindow(HWND hwnd);
BOOL IsWindow(HWND hwnd);

// Messages
LRESULT SendMessageW(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
BOOL PostMessageW(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT DefWindowProcW(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT CallWindowProcW(WNDPROC proc, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
void PostQuitMessage(int exitCode);
#define SendMessage SendMessageW
#define PostMessage PostMessageW
#define DefWindowProc DefWindowProcW

// Tree
HWND GetParent(HWND hwnd);
HWND GetAncestorTopLevel(HWND hwnd);
HWND GetWindowOwner(HWND hwnd);
HWND GetDlgItem(HWND parent, int id);
int GetDlgCtrlID(HWND hwnd);
BOOL IsChild(HWND parent, HWND hwnd);
DWORD GetWindowStyle(HWND hwnd);
DWORD GetWindowExStyle(HWND hwnd);

// Geometry
BOOL GetClientRect(HWND hwnd, RECT* rc);
BOOL GetWindowRect(HWND hwnd, RECT* rc);
BOOL ClientToScreen(HWND hwnd, POINT* pt);
BOOL ScreenToClient(HWND hwnd, POINT* pt);
int MapWindowPoints(HWND from, HWND to, POINT* points, UINT count);
BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint);
BOOL SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags);
HDWP BeginDeferWindowPos(int count);
HDWP DeferWindowPos(HDWP batch, HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy,
                    UINT flags);
BOOL EndDeferWindowPos(HDWP batch);
HWND WindowFromPoint(POINT screen);

// Top-levels have a notional frame (no real decoration): a resizable captioned
// window 8 px at the sides and bottom and 31 px on top, a fixed dialog frame
// 3 px and 26 px. Children have none; WS_BORDER adds 1 px.
BOOL AdjustWindowRectEx(RECT* rect, DWORD style, BOOL menu, DWORD exStyle);
struct WINDOWPLACEMENT
{
    UINT length = 0;
    UINT flags = 0;
    UINT showCmd = 0;
    POINT ptMinPosition{};
    POINT ptMaxPosition{};
    RECT rcNormalPosition{};
};
BOOL GetWindowPlacement(HWND hwnd, WINDOWPLACEMENT* placement);

// State
BOOL ShowWindow(HWND hwnd, int cmd);
BOOL IsWindowVisible(HWND hwnd);
BOOL EnableWindow(HWND hwnd, BOOL enable);
BOOL IsWindowEnabled(HWND hwnd);
BOOL SetWindowTextW(HWND hwnd, LPCWSTR text);
int GetWindowTextW(HWND hwnd, LPWSTR buffer, int count);
int GetWindowTextLengthW(HWND hwnd);
BOOL SetForegroundWindow(HWND hwnd);

// Painting
struct PAINTSTRUCT
{
    HDC hdc;
    BOOL fErase;
    RECT rcPaint;
};
BOOL InvalidateRect(HWND hwnd, const RECT* rc, BOOL erase);
BOOL ValidateRect(HWND hwnd, const RECT* rc);
BOOL GetUpdateRect(HWND hwnd, RECT* rc, BOOL erase);
BOOL UpdateWindow(HWND hwnd);
BOOL RedrawWindow(HWND hwnd, const RECT* rc, void* region, UINT flags);
HDC BeginPaint(HWND hwnd, PAINTSTRUCT* ps);
BOOL EndPaint(HWND hwnd, const PAINTSTRUCT* ps);
HDC GetDC(HWND hwnd);
int ReleaseDC(HWND hwnd, HDC dc);

// Timers
UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapseMs, TIMERPROC proc);
BOOL KillTimer(HWND hwnd, UINT_PTR id);

// Mouse, keyboard, cursors
HWND SetCapture(HWND hwnd);
BOOL ReleaseCapture();
HWND GetCapture();
HWND SetFocus(HWND hwnd);
HWND GetFocus();
HCURSOR LoadCursorW(HINSTANCE instance, LPCWSTR name);
HCURSOR SetCursor(HCURSOR cursor);
HCURSOR GetCursor();
BOOL GetCursorPos(POINT* pt);
BOOL TrackMouseEvent(TRACKMOUSEEVENT* request);
UINT GetDoubleClickTime();
#define LoadCursor LoadCursorW

// Files dropped from outside
void DragAcceptFiles(HWND hwnd, BOOL accept);
UINT DragQueryFileW(HDROP drop, UINT index, LPWSTR buffer, UINT count);
BOOL DragQueryPoint(HDROP drop, POINT* pt);
void DragFinish(HDROP drop);

// System metrics the input layer and its callers read.
constexpr int SM_CXSCREEN = 0;
constexpr int SM_CYSCREEN = 1;
constexpr int SM_CXBORDER = 5;
constexpr int SM_CXDOUBLECLK = 36;
constexpr int SM_CYDOUBLECLK = 37;
constexpr int SM_CXDRAG = 68;
constexpr int SM_CYDRAG = 69;
int GetSystemMetrics(int index);
UINT GetDpiForWindow(HWND hwnd); // never 0

// System parameters: only SPI_GETNONCLIENTMETRICS is known. Its menu font is
// "Segoe UI" 9 pt at the screen's DPI, regular; the other fields stay zero.
constexpr UINT SPI_GETNONCLIENTMETRICS = 0x0029;
struct NONCLIENTMETRICSW
{
    UINT cbSize = 0;
    int iBorderWidth = 0;
    int iScrollWidth = 0;
    int iScrollHeight = 0;
    int iCaptionWidth = 0;
    int iCaptionHeight = 0;
    LOGFONTW lfCaptionFont{};
    int iSmCaptionWidth = 0;
    int iSmCaptionHeight = 0;
    LOGFONTW lfSmCaptionFont{};
    int iMenuWidth = 0;
    int iMenuHeight = 0;
    LOGFONTW lfMenuFont{};
    LOGFONTW lfStatusFont{};
    LOGFONTW lfMessageFont{};
    int iPaddedBorderWidth = 0;
};
// FALSE for an unknown action, a null `param` or a cbSize below the structure's.
BOOL SystemParametersInfoW(UINT action, UINT paramSize, void* param, UINT winIni);
#define SystemParametersInfo SystemParametersInfoW

#define SetWindowText SetWindowTextW
#define GetWindowText GetWindowTextW
