#pragma once

#include "platform/mfc/afx_geometry.h"
#include "platform/mfc/runtime_class.h"
#include "platform/win32/window_api.h"

class CWnd;

// Device-context wrappers. The drawing calls themselves belong to the drawing
// layer; these hold the HDC and its lifetime.
class CDC : public CObject
{
public:
    CDC() = default;
    ~CDC() override = default;
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    HDC GetSafeHdc() const { return m_hDC; }
    operator HDC() const { return m_hDC; }
    BOOL Attach(HDC dc);
    HDC Detach();

    HDC m_hDC = nullptr;
};

// BeginPaint/EndPaint for the lifetime of the object: validates the update area
// and erases it first (WM_ERASEBKGND) when an erase was asked for.
class CPaintDC : public CDC
{
public:
    explicit CPaintDC(CWnd* wnd);
    ~CPaintDC() override;

    PAINTSTRUCT m_ps{};

protected:
    HWND m_hWnd = nullptr;
};

// A DC on the window's client area outside of WM_PAINT.
class CClientDC : public CDC
{
public:
    explicit CClientDC(CWnd* wnd);
    ~CClientDC() override;

protected:
    HWND m_hWnd = nullptr;
};
