#pragma once

#include "controls/base/base_control_wnd.h"
#include "platform/gdiplus/gdiplus.h"

// A bold heading and below it the body, wrapped and cut at the box, over the
// standard background.
void DrawTextBlock(Gdiplus::Graphics& graphics, const RECT& rect, const ControlDrawState& state);

// A heading over a wrapped body: the text value, or the tool tip while there is none.
class CTextBlockWnd : public CBaseControlWnd
{
    DECLARE_DYNAMIC(CTextBlockWnd)

public:
    struct State : CBaseControlWnd::State
    {
    };

    CTextBlockWnd();

    static void Draw(Gdiplus::Graphics& graphics, const State& state);
    State GetState() const;

    BOOL Create(const RECT& rect, CWnd* parent, UINT id) override;
    CSize GetPreferredSize() const override { return CSize(160, 80); }

protected:
    afx_msg void OnPaint();
    DECLARE_MESSAGE_MAP()
};
