#pragma once

#include "platform/gdiplus/gdiplus.h"
#include "platform/mfc/afxwin.h"

// The thin scroll bar of a control grid: it shows which part of a longer
// content is visible and lets the user drag that part. It scrolls nothing
// itself: the owner gives it the content and visible extents and the offset,
// and the bar posts every offset the user picks to its parent as
// WMU_CONTROL_COMMIT (wParam 1 vertical, 0 horizontal; lParam the offset, a
// number), and nothing more at the end of a drag. Interface thread only.
//
// Hover follows the pointer only while the bar hears mouse messages: after the
// pointer has left, the flags keep their last value until the next one. A
// disabled bar ignores the pointer, however its messages reach it.
class CGridOffsetBarWnd : public CWnd
{
    DECLARE_DYNAMIC(CGridOffsetBarWnd)

public:
    // Where track and thumb lie in a client rectangle, along the bar's axis.
    struct Geometry
    {
        RECT track{0, 0, 0, 0}; // 6 px across, centred
        RECT thumb{0, 0, 0, 0};
        int length = 0;      // L: of the track
        int thumbLength = 0; // T: at least 28 px, at most L
        int travel = 0;      // how far the thumb moves: L - T
        int range = 0;       // how far the offset goes: content - view
    };

    // What the paint shows.
    struct State
    {
        CSize size;
        int vertical = 0;
        int contentExtent = 0;
        int viewExtent = 0;
        int offset = 0;
        COLORREF accent = 0x5284E5;
        COLORREF background = 0x100E0C;
        bool hoverBar = false;
        bool hoverThumb = false;
        bool dragging = false;
    };

    // The owner writes `vertical`, `accent` and `background` and repaints.
    int vertical = 0;
    int contentExtent = 0; // never negative
    int viewExtent = 0;    // never negative
    int offset = 0;        // 0 .. max(0, content - view)
    COLORREF accent = 0x5284E5;
    COLORREF background = 0x100E0C;
    bool hoverBar = false;
    bool hoverThumb = false;
    bool dragging = false;
    int grabOffset = 0; // the pointer's place in the thumb during a drag

    // Hidden: the owner sets it up, places it and shows it. Hand cursor.
    BOOL Create(const RECT& rect, CWnd* parent, UINT id);

    // Negative extents become 0 and the offset is held to the range. Repaints
    // at once, only when something changed.
    void SetRange(int content, int view, int newOffset);

    Geometry GetGeometry(const RECT& client) const;
    static Geometry ComputeGeometry(const RECT& client, const State& state);

    // Posts the offset to the parent.
    void NotifyOffset();

    // The background, and when there is anything to scroll the track and the
    // thumb as rounded bars.
    static void Draw(Gdiplus::Graphics& graphics, const State& state);
    State GetState() const;
    // The thumb's colour: the accent, dimmed when idle, bright when hovered,
    // nearly opaque while dragged.
    static Gdiplus::Color ThumbColor(COLORREF accent, bool dragging, bool hoverThumb);

protected:
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC*) { return TRUE; } // the paint fills everything
    afx_msg void OnMouseMove(UINT flags, CPoint point);
    afx_msg void OnLButtonDown(UINT flags, CPoint point);
    afx_msg void OnLButtonUp(UINT flags, CPoint point);
    afx_msg void OnCaptureChanged(CWnd* wnd);
    DECLARE_MESSAGE_MAP()

private:
    // Takes the offset under the pointer (`along` the axis, client
    // coordinates) and posts it when it changed.
    void FollowPointer(int along, const Geometry& geometry);
    void EndDrag();
    void RedrawNow();
    CRect Client() const;
};
