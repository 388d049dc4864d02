#pragma once

#include "platform/mfc/afxwin.h"
#include "platform/win32/dpi_scale.h"

namespace Gdiplus
{
class Graphics;
}

// A horizontal slider over 0..1, written the way every control in controls/
// is, so the control conformance frame is proven before a real one joins: a
// snapshot and its Draw, a value setter that can stay silent, a notification
// to the parent on a click, drag, wheel turn or key, no input while disabled.
class CTestSliderWnd : public CWnd
{
public:
    // WM_COMMAND's notification code when the user changed the value.
    static constexpr WORD kValueChanged = 1;

    struct State
    {
        CSize size;
        UINT dpi = brvl::win32::kDesignDpi;
        double value = 0.0; // 0..1
        bool enabled = true;
        bool dragging = false;
    };

    static void Draw(Gdiplus::Graphics& graphics, const State& state);
    State GetState() const;

    BOOL Create(CWnd* parent, const RECT& rect, UINT id);
    // Clamped to 0..1; a NaN changes nothing. A silent change is not told.
    void SetValue(double value, bool silent = false);
    double GetValue() const { return m_value; }

protected:
    afx_msg void OnPaint();
    afx_msg void OnLButtonDown(UINT flags, CPoint point);
    afx_msg void OnMouseMove(UINT flags, CPoint point);
    afx_msg void OnLButtonUp(UINT flags, CPoint point);
    afx_msg void OnCaptureChanged(CWnd* gaining);
    afx_msg BOOL OnMouseWheel(UINT flags, short delta, CPoint point);
    afx_msg void OnKeyDown(UINT key, UINT repeat, UINT flags);
    afx_msg void OnEnable(BOOL enable);

    DECLARE_MESSAGE_MAP()

private:
    // False when telling the parent destroyed this control: then nothing of
    // it may be touched.
    bool Change(double value, bool silent);
    double ValueAt(int x) const;

    double m_value = 0.5;
    bool m_dragging = false;
};
