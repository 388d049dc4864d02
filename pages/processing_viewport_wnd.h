#pragma once

#include "platform/mfc/afxwin.h"

#include <string>

namespace Gdiplus
{
class Graphics;
}

// The strip that takes the transport's place while long work runs: a title
// with the percentage done, a status line, a progress bar and, when the work
// can be cancelled, a Cancel button whose click goes to the parent. The owner
// sets every text and value.

constexpr UINT WMU_PROCESSING_CANCEL = WM_APP + 834; // 0x8342
constexpr UINT kProcessingViewportId = 8718;

// lParam of WMU_PROCESSING_CANCEL (wParam: the page's window), on the sender's
// stack and valid during the call only.
struct ProcessingCancelNotify
{
    int message = int(WMU_PROCESSING_CANCEL);
    int value = 1;
};

// Client pixels; the Cancel box is empty while the button is hidden.
struct ProcessingLayout
{
    RECT title{};
    RECT status{};
    RECT bar{};
    RECT cancel{};
};

ProcessingLayout ComputeProcessingLayout(const RECT& client, bool cancelShown);
// "<title> <n>%", n the percentage rounded half away from zero.
std::wstring ProcessingTitleText(const std::wstring& title, double progress);

class CProcessingViewportWnd : public CWnd
{
    DECLARE_DYNAMIC(CProcessingViewportWnd)

public:
    struct State
    {
        CSize size;
        COLORREF backgroundColor = 0x12100E;
        std::wstring title;
        double progress = 0.0;
        std::wstring statusText;
        std::wstring cancelText;
        bool cancelShown = true;
        bool hoverButton = false;
        bool pressedButton = false;
    };

    ~CProcessingViewportWnd() override;

    // "BrimvaleProcessingViewportWnd", visible.
    BOOL Create(CWnd* parent, const RECT& rect, UINT id = kProcessingViewportId);

    void SetTitle(const std::wstring& text);
    void ShowCancel();
    void HideCancel();
    void SetCancelText(const std::wstring& text);
    // A fraction, held to 0..1; NaN is ignored.
    void SetProgress(double fraction);
    void SetStatusText(const std::wstring& text);

    ProcessingLayout ComputeLayout(const RECT& client) const
    {
        return ComputeProcessingLayout(client, cancelShown);
    }
    bool HitTestCancel(POINT point) const;

    State GetState() const;
    static void Draw(Gdiplus::Graphics& graphics, const State& state);

    COLORREF backgroundColor = 0x12100E;
    std::wstring title = L"Processing";
    double progress = 0.0;
    std::wstring statusText = L"Preparing";
    std::wstring cancelText = L"Cancel";
    bool cancelShown = true;
    bool hoverButton = false;
    bool pressedButton = false;

protected:
    afx_msg BOOL OnEraseBkgnd(CDC*) { return TRUE; } // the paint covers everything
    afx_msg void OnPaint();
    afx_msg void OnMouseMove(UINT flags, CPoint point);
    afx_msg void OnLButtonDown(UINT flags, CPoint point);
    afx_msg void OnLButtonUp(UINT flags, CPoint point);
    afx_msg void OnCaptureChanged(CWnd* wnd);
    afx_msg void OnMouseLeave();
    DECLARE_MESSAGE_MAP()
};
