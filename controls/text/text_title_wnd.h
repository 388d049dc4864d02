#pragma once

#include "controls/base/base_control_wnd.h"
#include "platform/gdiplus/gdiplus.h"

// Clears the surface with the background colour (and, blank, does only that),
// then draws the label.
void DrawTextTitle(Gdiplus::Graphics& graphics, const RECT& rect, const ControlDrawState& state);

// A panel's heading: its label in bold on the background colour.
class CTextTitleWnd : public CBaseControlWnd
{
    DECLARE_DYNAMIC(CTextTitleWnd)

public:
    struct State : CBaseControlWnd::State
    {
    };

    CTextTitleWnd();

    static void Draw(Gdiplus::Graphics& graphics, const State& state);
    State GetState() const;

    BOOL Create(const RECT& rect, CWnd* parent, UINT id) override;
    CSize GetPreferredSize() const override { return CSize(240, 52); }

protected:
    afx_msg void OnPaint();
    DECLARE_MESSAGE_MAP()
};
