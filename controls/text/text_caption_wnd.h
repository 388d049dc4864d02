#pragma once

#include "controls/base/base_control_wnd.h"
#include "platform/gdiplus/gdiplus.h"

// The caption's one line, centred, over a surface the paint has cleared.
void DrawTextCaption(Gdiplus::Graphics& graphics, const RECT& rect, const ControlDrawState& state);

// One centred line: the text value, or the label while there is none.
class CTextCaptionWnd : public CBaseControlWnd
{
    DECLARE_DYNAMIC(CTextCaptionWnd)

public:
    struct State : CBaseControlWnd::State
    {
    };

    CTextCaptionWnd();

    static void Draw(Gdiplus::Graphics& graphics, const State& state);
    State GetState() const;

    BOOL Create(const RECT& rect, CWnd* parent, UINT id) override;
    CSize GetPreferredSize() const override { return CSize(200, 32); }

protected:
    afx_msg void OnPaint();
    DECLARE_MESSAGE_MAP()
};
