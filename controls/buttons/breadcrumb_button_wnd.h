#pragma once

#include "controls/base/base_control_wnd.h"

// A small borderless text link. A click tells the parent CHANGED, then COMMIT;
// its value is left alone. It paints itself whole, blank or not.
class CBreadcrumbButtonWnd : public CBaseControlWnd
{
    DECLARE_DYNAMIC(CBreadcrumbButtonWnd)

public:
    using State = CBaseControlWnd::State;

    CBreadcrumbButtonWnd();

    static void Draw(Gdiplus::Graphics& graphics, const State& state);
    State GetState() const;

    BOOL Create(const RECT& rect, CWnd* parent, UINT id) override;
    CSize GetPreferredSize() const override { return CSize(52, 24); }

protected:
    afx_msg void OnPaint();
    afx_msg void OnMouseMove(UINT flags, CPoint point);
    afx_msg void OnMouseLeave();
    afx_msg void OnLButtonDown(UINT flags, CPoint point);
    afx_msg void OnLButtonUp(UINT flags, CPoint point);
    afx_msg void OnCaptureChanged(CWnd* gaining);
    DECLARE_MESSAGE_MAP()

private:
    bool TakesInput() const { return !blank && !disabled; }
};
