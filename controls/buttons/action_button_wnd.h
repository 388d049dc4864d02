#pragma once

#include "controls/buttons/push_button_control.h"

// A rounded, accent-lit button with a text; a click tells the parent.
class CActionButtonWnd : public CPushButtonControl
{
    DECLARE_DYNAMIC(CActionButtonWnd)

public:
    using State = CBaseControlWnd::State;

    CActionButtonWnd();

    static void Draw(Gdiplus::Graphics& graphics, const State& state);
    State GetState() const;

    BOOL Create(const RECT& rect, CWnd* parent, UINT id) override;
    CSize GetPreferredSize() const override { return CSize(160, 80); }

protected:
    bool InHitArea(CPoint point) const override;
    afx_msg void OnPaint();
    DECLARE_MESSAGE_MAP()
};

// The clickable body of a button in `rect`: 124 pixels wide at most, near
// the top of a short control and lower in a tall one.
RECT ActionButtonBody(const RECT& rect);

void DrawActionButton(Gdiplus::Graphics& graphics, const RECT& rect, const ControlDrawState& state);
