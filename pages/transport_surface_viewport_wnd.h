#pragma once

#include "platform/mfc/afxwin.h"

#include <string>

namespace Gdiplus
{
class Graphics;
}

// The strip at the bottom of the main window: the time readout, play and
// stop, the "In"/"Out" monitoring switch and the Process button. It shows the
// state its owner gives it and reports each completed click to its parent; it
// decides nothing about playback or processing.

constexpr UINT WMU_TRANSPORT_BUTTON = WM_APP + 832; // 0x8340
constexpr UINT kTransportSurfaceId = 8716;

enum TransportButton
{
    kTransportNone = 0,
    kTransportPlay = 1,
    kTransportStop = 2,
    kTransportIn = 3,
    kTransportOut = 4,
    kTransportProcess = 5,
};

// lParam of WMU_TRANSPORT_BUTTON (wParam: the strip's window), on the sender's
// stack and valid during the call only.
struct TransportButtonNotify
{
    int message = int(WMU_TRANSPORT_BUTTON);
    int button = kTransportNone;
    bool monitorSource = false; // the switch after the click
};

// Client pixels.
struct TransportLayout
{
    RECT timeReadout{};
    RECT play{};
    RECT stop{};
    RECT monitorSwitch{};
    RECT in{};
    RECT out{};
    RECT process{};
    int diameter = 0;
};

TransportLayout ComputeTransportLayout(const RECT& client);
// The button under `point` in `layout`, 0 for none; the "In" half wins over
// the "Out" half, which wins over Process where they overlap.
int HitTestTransport(const TransportLayout& layout, POINT point);
// "mm:ss.t", or the whole seconds once they reach 100 minutes.
std::wstring FormatTransportTime(double seconds);

class CTransportSurfaceViewportWnd : public CWnd
{
    DECLARE_DYNAMIC(CTransportSurfaceViewportWnd)

public:
    struct State
    {
        CSize size;
        COLORREF backgroundColor = 0x12100E;
        bool playing = false;
        bool monitorSource = false;
        std::wstring processLabel;
        std::wstring timeText;
        bool showStatus = false;
        std::wstring statusCaption;
        std::wstring statusText;
        int hoverButton = kTransportNone;
        int pressedButton = kTransportNone;
    };

    ~CTransportSurfaceViewportWnd() override;

    // "BrimvaleTransportSurfaceViewportWnd", visible.
    BOOL Create(CWnd* parent, const RECT& rect, UINT id = kTransportSurfaceId);

    void SetBackgroundColor(COLORREF color);
    void SetPlaying(bool on);
    void SetMonitorSource(bool on);
    void SetProcessLabel(const std::wstring& label);
    // Shows `caption` over `text` in place of the time; hiding empties both.
    void SetStatus(bool show, const std::wstring& caption, const std::wstring& text);
    // Seconds; negative is 0, NaN and moves under 1e-4 s are ignored.
    void SetPosition(double seconds);
    void UpdateTimeText();

    TransportLayout ComputeLayout(const RECT& client) const
    {
        return ComputeTransportLayout(client);
    }
    int HitTest(POINT point) const;

    State GetState() const;
    static void Draw(Gdiplus::Graphics& graphics, const State& state);

    COLORREF backgroundColor = 0x12100E;
    double position = 0.0;
    bool playing = false;
    bool monitorSource = false;
    std::wstring processLabel = L"Process";
    std::wstring timeText;
    bool showStatus = false;
    std::wstring statusCaption;
    std::wstring statusText;
    int hoverButton = kTransportNone;
    int pressedButton = kTransportNone;

protected:
    afx_msg BOOL OnEraseBkgnd(CDC*) { return TRUE; } // the paint covers everything
    afx_msg void OnPaint();
    afx_msg void OnSize(UINT type, int cx, int cy);
    afx_msg void OnMouseMove(UINT flags, CPoint point);
    afx_msg void OnLButtonDown(UINT flags, CPoint point);
    afx_msg void OnLButtonUp(UINT flags, CPoint point);
    afx_msg void OnCaptureChanged(CWnd* wnd);
    afx_msg void OnMouseLeave();
    DECLARE_MESSAGE_MAP()
};
