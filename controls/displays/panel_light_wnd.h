#pragma once

#include "controls/base/base_control_wnd.h"
#include "platform/gdiplus/gdiplus_types.h"

// A round lamp whose brightness is the value: a dark lens in a bezel at 0,
// taking the accent with a halo, bloom and hot core as it rises. No input.
class CPanelLightWnd : public CBaseControlWnd
{
    DECLARE_DYNAMIC(CPanelLightWnd)

public:
    using State = CBaseControlWnd::State;

    CPanelLightWnd();

    static void Draw(Gdiplus::Graphics& graphics, const State& state);
    State GetState() const;

    BOOL Create(const RECT& rect, CWnd* parent, UINT id) override;
    CSize GetPreferredSize() const override { return CSize(40, 40); }

protected:
    afx_msg void OnPaint();
    DECLARE_MESSAGE_MAP()
};

void PaintPanelLightBackground(Gdiplus::Graphics& graphics, const RECT& rect,
                               const ControlDrawState& state);
void DrawPanelLight(Gdiplus::Graphics& graphics, const RECT& rect, const ControlDrawState& state);
// The circle at (cx, cy) of `radius`, from `centre` in the middle to `rim`.
void FillRadialEllipse(Gdiplus::Graphics& graphics, Gdiplus::REAL cx, Gdiplus::REAL cy,
                       Gdiplus::REAL radius, const Gdiplus::Color& centre,
                       const Gdiplus::Color& rim);
