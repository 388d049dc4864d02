#pragma once

#include "controls/base/base_control_wnd.h"
#include "platform/gdiplus/gdiplus.h"

// A strip of the accent from 30 to 6 pixels above the bottom edge, with the
// text on it, over the standard background.
void DrawTextLabelStrip(Gdiplus::Graphics& graphics, const RECT& rect,
                        const ControlDrawState& state);

// A label on a strip of the accent colour near the bottom of the control.
class CTextLabelStripWnd : public CBaseControlWnd
{
    DECLARE_DYNAMIC(CTextLabelStripWnd)

public:
    struct State : CBaseControlWnd::State
    {
    };

    CTextLabelStripWnd();

    static void Draw(Gdiplus::Graphics& graphics, const State& state);
    State GetState() const;

    BOOL Create(const RECT& rect, CWnd* parent, UINT id) override;
    CSize GetPreferredSize() const override { return CSize(160, 80); }

protected:
    afx_msg void OnPaint();
    DECLARE_MESSAGE_MAP()
};
