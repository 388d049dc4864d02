#pragma once

#include "controls/base/base_control_wnd.h"

#include <string>
#include <vector>

// The least a control built on CBaseControlWnd can be: the standard value
// background and no face, a drag that sets the value from the pointer's x and
// commits on release, a double-click that resets to the default. Every setter
// call is written to `calls`, so a test sees the order ApplyItem used.
class CProbeControlWnd : public CBaseControlWnd
{
    DECLARE_DYNAMIC(CProbeControlWnd)

public:
    struct State : CBaseControlWnd::State
    {
    };

    CProbeControlWnd();

    static void Draw(Gdiplus::Graphics& graphics, const State& state);
    State GetState() const;

    BOOL Create(const RECT& rect, CWnd* parent, UINT id) override;
    CSize GetPreferredSize() const override { return CSize(240, 320); }

    void SetGridSpan(CSize span) override;
    void SetValue(double v) override;
    void SetSecondaryValue(double v) override;
    void SetDisplayRange(double min, double max, int decimals, const CString& suffix) override;
    void SetLabel(const CString& text) override;
    void SetSecondaryText(const CString& text) override;
    void SetTextValue(const CString& text) override;
    void SetToolTip(const CString& text) override;
    void SetAccentColor(COLORREF color) override;
    void SetDisabled(bool disable) override;
    void SetBlank(bool makeBlank) override;
    void SetDrawBorder(bool draw) override;
    void SetDrawBackground(bool draw) override;

    bool IsPressed() const { return pressed; }
    bool IsDragging() const { return dragging; }

    std::vector<std::string> calls;

protected:
    afx_msg void OnPaint();
    afx_msg void OnLButtonDown(UINT flags, CPoint point);
    afx_msg void OnMouseMove(UINT flags, CPoint point);
    afx_msg void OnLButtonUp(UINT flags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT flags, CPoint point);
    afx_msg void OnCaptureChanged(CWnd* gaining);

    DECLARE_MESSAGE_MAP()

private:
    double ValueAt(CPoint point) const;
};
