#pragma once

#include "controls/base/base_control_wnd.h"
#include "platform/gdiplus/gdiplus.h"

// The background colour (blank: only that) and, with the background flag, a
// faint wash of the accent over the whole rectangle. The border flag is not used.
void PaintCaptionBlockBackground(Gdiplus::Graphics& graphics, const RECT& rect,
                                 const ControlDrawState& state);

// The heading on one line, the body wrapped below it and cut at the bottom.
void DrawTextCaptionBlock(Gdiplus::Graphics& graphics, const RECT& rect,
                          const ControlDrawState& state);

// A bold heading over a few wrapped lines of body, on a faint wash of the accent.
class CTextCaptionBlockWnd : public CBaseControlWnd
{
    DECLARE_DYNAMIC(CTextCaptionBlockWnd)

public:
    struct State : CBaseControlWnd::State
    {
    };

    CTextCaptionBlockWnd();

    static void Draw(Gdiplus::Graphics& graphics, const State& state);
    State GetState() const;

    BOOL Create(const RECT& rect, CWnd* parent, UINT id) override;
    CSize GetPreferredSize() const override { return CSize(280, 40); }

protected:
    afx_msg void OnPaint();
    DECLARE_MESSAGE_MAP()
};
