#pragma once

#include "controls/base/base_control_wnd.h"

// A two-segment switch, "Mid" and "Side", in fixed colours. A completed click
// on a segment selects it and tells the parent (again when it already was
// selected); it never commits. Input works while disabled; disabled only
// keeps the message back.
class CCurveModeSelectorWnd : public CBaseControlWnd
{
    DECLARE_DYNAMIC(CCurveModeSelectorWnd)

public:
    struct State : CBaseControlWnd::State
    {
        int mode = 0;
        int hoverSegment = -1;
        int pressedSegment = -1;
    };

    CCurveModeSelectorWnd();

    static void Draw(Gdiplus::Graphics& graphics, const State& state);
    State GetState() const;

    BOOL Create(const RECT& rect, CWnd* parent, UINT id) override;
    CSize GetPreferredSize() const override { return CSize(220, 44); }

    // 1 (Side) for anything above 0, else 0 (Mid).
    void SetMode(int m);
    int GetMode() const { return mode; }

    // 0 or 1 for a point in that segment, -1 elsewhere.
    static int HitTestModeSegment(CSize client, CPoint point);
    static RECT SegmentRect(CSize client, int segment);

protected:
    afx_msg void OnPaint();
    afx_msg void OnMouseMove(UINT flags, CPoint point);
    afx_msg void OnMouseLeave();
    afx_msg void OnLButtonDown(UINT flags, CPoint point);
    afx_msg void OnLButtonUp(UINT flags, CPoint point);
    afx_msg void OnCaptureChanged(CWnd* gaining);
    afx_msg BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT message);
    DECLARE_MESSAGE_MAP()

    int mode = 0;
    int hoverSegment = -1;
    int pressedSegment = -1;

private:
    int HitTest(CPoint point) const;
    // Stores `m`, tells the parent and repaints; false when the parent
    // destroyed this control.
    bool Select(int m);
};

void DrawModeSegment(Gdiplus::Graphics& graphics, const RECT& segment, const wchar_t* text,
                     COLORREF colour, int index, const CCurveModeSelectorWnd::State& state);
