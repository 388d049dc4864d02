#pragma once

#include "controls/base/base_control_wnd.h"
#include "platform/gdiplus/gdiplus.h"

// The standard background (blank: the background colour only), then the line
// from x 8 to W - 8 half a pixel below the middle row.
void DrawHorizontalDivider(Gdiplus::Graphics& graphics, const RECT& rect,
                           const ControlDrawState& state);

// A 2-pixel line across the middle of the control, in the accent colour.
class CHorizontalDividerWnd : public CBaseControlWnd
{
    DECLARE_DYNAMIC(CHorizontalDividerWnd)

public:
    struct State : CBaseControlWnd::State
    {
    };

    CHorizontalDividerWnd();

    static void Draw(Gdiplus::Graphics& graphics, const State& state);
    State GetState() const;

    BOOL Create(const RECT& rect, CWnd* parent, UINT id) override;
    CSize GetPreferredSize() const override { return CSize(160, 40); }

protected:
    afx_msg void OnPaint();
    DECLARE_MESSAGE_MAP()
};
