#pragma once

#include "controls/buttons/push_button_control.h"
#include "platform/gdiplus/gdiplus_types.h"

// A circular button showing a play, pause or stop glyph, chosen by its text
// value; a click tells the parent.
class CRoundTransportButtonWnd : public CPushButtonControl
{
    DECLARE_DYNAMIC(CRoundTransportButtonWnd)

public:
    struct State : CBaseControlWnd::State
    {
        int glyph = 0;
    };

    CRoundTransportButtonWnd();

    static void Draw(Gdiplus::Graphics& graphics, const State& state);
    State GetState() const;

    BOOL Create(const RECT& rect, CWnd* parent, UINT id) override;
    CSize GetPreferredSize() const override { return CSize(80, 80); }
    void ApplyItem(const ControlItem& item) override;
    void SetTextValue(const CString& text) override;

    int GetGlyph() const { return glyph; }

    static constexpr int kPlay = 0;
    static constexpr int kPause = 1;
    static constexpr int kStop = 2;

protected:
    bool InHitArea(CPoint point) const override;
    afx_msg void OnPaint();
    DECLARE_MESSAGE_MAP()

    int glyph = kPlay;

private:
    void FollowText();
};

// "pause" or "ii" is pause, "stop" or "square" stop, anything else play;
// blanks around it and the case do not matter.
int ParseTransportGlyph(const CString& text);

void PaintRoundTransportBackground(Gdiplus::Graphics& graphics, const RECT& rect,
                                   const ControlDrawState& state);
void DrawRoundTransportButton(Gdiplus::Graphics& graphics, const RECT& rect,
                              const ControlDrawState& state, const int& glyph);
void DrawTransportGlyph(Gdiplus::Graphics& graphics, const Gdiplus::RectF& box, int glyph,
                        Gdiplus::ARGB colour);
