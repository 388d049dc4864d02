#pragma once

#include "platform/mfc/afx_geometry.h"
#include "platform/mfc/gdi_object.h"
#include "platform/mfc/runtime_class.h"
#include "platform/win32/gdi.h"
#include "platform/win32/window_api.h"

#include <memory>
#include <vector>

class CWnd;

// Device-context wrappers. The drawing calls themselves belong to the drawing
// layer; these hold the HDC and its lifetime.
class CDC : public CObject
{
public:
    CDC() = default;
    ~CDC() override;
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    HDC GetSafeHdc() const { return m_hDC; }
    operator HDC() const { return m_hDC; }
    BOOL Attach(HDC dc);
    HDC Detach();

    // Memory DCs: created here, deleted by DeleteDC or with the object.
    BOOL CreateCompatibleDC(CDC* reference);
    BOOL DeleteDC();

    // The previous object comes back as a wrapper owned by this DC (it does not
    // delete the handle), ready to be selected again.
    CBitmap* SelectObject(CBitmap* bitmap);
    CFont* SelectObject(CFont* font);
    CBrush* SelectObject(CBrush* brush);
    HGDIOBJ SelectObject(HGDIOBJ object);
    CGdiObject* SelectStockObject(int index);

    BOOL BitBlt(int x, int y, int width, int height, CDC* source, int sourceX, int sourceY,
                DWORD rop);
    void FillSolidRect(const RECT* rect, COLORREF color);
    void FillSolidRect(int x, int y, int width, int height, COLORREF color);
    void FillRect(const RECT* rect, CBrush* brush);
    void FrameRect(const RECT* rect, CBrush* brush);
    COLORREF SetTextColor(COLORREF color);
    int SetBkMode(int mode);
    int DrawText(LPCWSTR text, int length, RECT* rect, UINT format);
    CSize GetTextExtent(LPCWSTR text, int length) const;
    int GetDeviceCaps(int index) const;

    HDC m_hDC = nullptr;

private:
    template <typename Wrapper> Wrapper* Temporary(HGDIOBJ handle);

    bool m_ownsDc = false;
    std::vector<std::unique_ptr<CGdiObject>> m_temporaries;
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
