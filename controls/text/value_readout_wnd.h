#pragma once

#include "controls/base/base_control_wnd.h"
#include "platform/gdiplus/gdiplus.h"

// The background colour; with the background flag the body gradient and a
// faint inner panel 6 pixels in; with the border flag a faint frame.
void PaintValueReadoutBackground(Gdiplus::Graphics& graphics, const RECT& rect,
                                 const ControlDrawState& state);

// The label in the left half, `valueText` right-aligned in the right half
// ending 10 pixels from the right edge.
void DrawValueReadout(Gdiplus::Graphics& graphics, const RECT& rect, const ControlDrawState& state,
                      const CString& valueText);

// A label at the left and a value text right-aligned, on a dark inset panel.
class CValueReadoutWnd : public CBaseControlWnd
{
    DECLARE_DYNAMIC(CValueReadoutWnd)

public:
    struct State : CBaseControlWnd::State
    {
    };

    CValueReadoutWnd();

    static void Draw(Gdiplus::Graphics& graphics, const State& state);
    State GetState() const;

    BOOL Create(const RECT& rect, CWnd* parent, UINT id) override;
    CSize GetPreferredSize() const override { return CSize(160, 40); }

    // Reads nothing more of the item than the base does.
    void ApplyItem(const ControlItem& item) override;

protected:
    afx_msg void OnPaint();
    DECLARE_MESSAGE_MAP()
};
