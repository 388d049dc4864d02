#pragma once

#include "controls/base/base_control_wnd.h"
#include "platform/gdiplus/gdiplus_types.h"

// Four seven-segment digits with decimal points, lit in the accent, showing
// the text value its owner formats. It takes no input.
class CSevenSegmentDisplayWnd : public CBaseControlWnd
{
    DECLARE_DYNAMIC(CSevenSegmentDisplayWnd)

public:
    using State = CBaseControlWnd::State;

    CSevenSegmentDisplayWnd();

    static void Draw(Gdiplus::Graphics& graphics, const State& state);
    State GetState() const;

    BOOL Create(const RECT& rect, CWnd* parent, UINT id) override;
    CSize GetPreferredSize() const override { return CSize(160, 80); }
    void ApplyItem(const ControlItem& item) override;

protected:
    afx_msg void OnPaint();
    DECLARE_MESSAGE_MAP()
};

void PaintSevenSegmentBackground(Gdiplus::Graphics& graphics, const RECT& rect,
                                 const ControlDrawState& state);
void DrawSevenSegmentDisplay(Gdiplus::Graphics& graphics, const RECT& rect,
                             const ControlDrawState& state, const wchar_t* text);
void DrawSevenSegmentDigit(Gdiplus::Graphics& graphics, const Gdiplus::RectF& box,
                           wchar_t character, COLORREF accent);
// A hexagon with pointed ends; lit ones glow.
void DrawDigitSegment(Gdiplus::Graphics& graphics, const Gdiplus::RectF& box, bool lit,
                      bool horizontal, COLORREF accent);
