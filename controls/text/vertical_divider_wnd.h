#pragma once

#include "controls/base/base_control_wnd.h"
#include "platform/gdiplus/gdiplus.h"

// The standard background and a 2-pixel line down the middle of `rect`, in the
// accent colour.
void DrawVerticalDivider(Gdiplus::Graphics& graphics, const RECT& rect,
                         const ControlDrawState& state);

// A 2-pixel line down the middle of the control, in the accent colour.
class CVerticalDividerWnd : public CBaseControlWnd
{
    DECLARE_DYNAMIC(CVerticalDividerWnd)

public:
    struct State : CBaseControlWnd::State
    {
    };

    CVerticalDividerWnd();

    static void Draw(Gdiplus::Graphics& graphics, const State& state);
    State GetState() const;

    BOOL Create(const RECT& rect, CWnd* parent, UINT id) override;
    CSize GetPreferredSize() const override { return CSize(40, 160); }

protected:
    afx_msg void OnPaint();
    DECLARE_MESSAGE_MAP()
};
