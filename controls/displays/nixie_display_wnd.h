#pragma once

#include "controls/base/base_control_wnd.h"
#include "platform/gdiplus/gdiplus_types.h"

// Four glowing tubes showing the last four digits, blanks and minus signs of
// the text value its owner formats. It takes no input.
class CNixieDisplayWnd : public CBaseControlWnd
{
    DECLARE_DYNAMIC(CNixieDisplayWnd)

public:
    using State = CBaseControlWnd::State;

    CNixieDisplayWnd();

    static void Draw(Gdiplus::Graphics& graphics, const State& state);
    State GetState() const;

    BOOL Create(const RECT& rect, CWnd* parent, UINT id) override;
    CSize GetPreferredSize() const override { return CSize(160, 80); }
    void ApplyItem(const ControlItem& item) override;

protected:
    afx_msg void OnPaint();
    DECLARE_MESSAGE_MAP()
};

void PaintNixieBackground(Gdiplus::Graphics& graphics, const RECT& rect,
                          const ControlDrawState& state);
void DrawNixieDisplay(Gdiplus::Graphics& graphics, const RECT& rect, const ControlDrawState& state,
                      const wchar_t* text);
// One tube: its dark glass, the digit in six glowing layers, the mesh.
void DrawNixieTube(Gdiplus::Graphics& graphics, const Gdiplus::RectF& box, wchar_t character);
