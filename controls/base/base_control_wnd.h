#pragma once

#include "controls/base/control_draw_state.h"
#include "controls/base/control_messages.h"
#include "platform/mfc/afxwin.h"

#include <functional>
#include <string>

struct ControlItem;

namespace Gdiplus
{
class Graphics;
}

// A shown number as every control prints it: `shown` with `decimals` decimals
// (held to 0..6, so a stored count can never ask for a huge text) and the suffix.
CString FormatDisplayValue(double shown, int decimals, const CString& suffix);

// The model every custom-drawn control shares: a value in 0..1 with a second
// value and a default, a display range that turns the value into a shown
// number, four texts, two colours and the flags, a grid span, and the
// parameter it is bound to. A control paints from a snapshot of it
// (ControlDrawState) and tells its parent by WMU_CONTROL_CHANGED and
// WMU_CONTROL_COMMIT. Interface thread only.
//
// A control class derives from it with its own message map, a `State` that
// extends CBaseControlWnd::State, a static `Draw(Graphics&, const State&)`, and
// an OnPaint that calls PaintControl with its background painter.
class CBaseControlWnd : public CWnd
{
    DECLARE_DYNAMIC(CBaseControlWnd)

public:
    // What a control's Draw paints: the client size (its rectangle starts at
    // 0, 0) and the snapshot. Controls with more to show extend it.
    struct State
    {
        CSize size;
        ControlDrawState snapshot;
    };

    using BackgroundPainter = void (*)(Gdiplus::Graphics& graphics, const RECT& rect,
                                       const ControlDrawState& state);

    CBaseControlWnd() = default;

    virtual BOOL Create(const RECT& rect, CWnd* parent, UINT id) = 0;
    virtual CSize GetPreferredSize() const = 0;
    virtual CSize GetGridSpan() const;
    // Each component below 1 becomes 1.
    virtual void SetGridSpan(CSize span);

    // Clamped to 0..1; a NaN or a change below 1e-4 does nothing at all.
    // A change is stored before the parent hears of it.
    virtual void SetValue(double v);
    virtual double GetValue() const;
    virtual void SetSecondaryValue(double v);
    virtual double GetSecondaryValue() const;
    virtual void SetValueSilently(double v);
    virtual void SetSecondaryValueSilently(double v);
    virtual void SetDefaultValue(double v);
    virtual double GetDefaultValue() const;

    // The range is kept as given, in either order; decimals are clamped to 0..6.
    virtual void SetDisplayRange(double min, double max, int decimals, const CString& suffix);
    virtual void GetDisplayRange(double& min, double& max, int& decimals, CString& suffix) const;
    // Through SetValue, so it notifies like a user's change; a range of no
    // width maps to 0.
    virtual void SetDisplayValue(double x);
    virtual double GetDisplayValue() const;

    virtual void ApplyItem(const ControlItem& item);

    virtual void SetLabel(const CString& text);
    virtual CString GetLabel() const;
    virtual void SetSecondaryText(const CString& text);
    virtual CString GetSecondaryText() const;
    virtual void SetTextValue(const CString& text);
    virtual CString GetTextValue() const;
    virtual void SetToolTip(const CString& text);
    virtual CString GetToolTip() const;
    virtual void SetAccentColor(COLORREF color);
    virtual COLORREF GetAccentColor() const;
    virtual void SetBackgroundColor(COLORREF color);
    virtual COLORREF GetBackgroundColor() const;

    // Turning it on ends a gesture: pressed and dragging clear, the capture goes.
    virtual void SetDisabled(bool disabled);
    virtual bool IsDisabled() const;
    virtual void SetBlank(bool blank);
    virtual bool IsBlank() const;
    virtual void SetDrawBorder(bool draw);
    virtual bool GetDrawBorder() const;
    virtual void SetDrawBackground(bool draw);
    virtual bool GetDrawBackground() const;

    ControlDrawState GetDrawState() const;

    const std::string& GetParameterId() const { return parameterId; }
    const std::string& GetKindName() const { return kindName; }

protected:
    // Registers the control's class and creates its child window, named
    // "Brimvale" and the class name without its leading C.
    BOOL CreateControlWindow(const RECT& rect, CWnd* parent, UINT id, LPCTSTR cursor,
                             bool doubleClicks,
                             DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS);

    // The paint of every control's WM_PAINT: composed in a memory bitmap and
    // copied in one BitBlt. A blank control shows only its background colour.
    // A control that draws no text may leave the text hint unset.
    template <typename Control>
    static void PaintControl(Control& control, BackgroundPainter background,
                             bool gridFittedText = true)
    {
        PaintBuffered(
            control,
            [&](Gdiplus::Graphics& graphics, const RECT& client)
            {
                typename Control::State state = control.GetState();
                state.size = CSize(client.right, client.bottom);
                if (PaintBackground(graphics, client, state.snapshot, background))
                {
                    Control::Draw(graphics, state);
                }
            },
            gridFittedText);
    }

    // The paint is whole in the memory bitmap, so nothing is erased.
    afx_msg BOOL OnEraseBkgnd(CDC*) { return TRUE; }

    // Sends `message` to the parent when there is a window, a parent and the
    // control is enabled. False when the control's window is gone afterwards:
    // then nothing of it may be touched.
    bool TellParent(UINT message);
    // Invalidates the whole client without erase, when the window exists.
    void Repaint();
    // Asks for one WM_MOUSELEAVE when the pointer leaves the window.
    void RequestLeaveNotice();

    CString label;
    CString secondaryText;
    CString textValue;
    CString toolTip;
    std::string parameterId;
    std::string kindName;
    double value = 0.0;
    double secondaryValue = 0.0;
    double defaultValue = 0.0;
    double displayMin = 0.0;
    double displayMax = 100.0;
    int displayDecimals = 0;
    CString displaySuffix = L"%";
    COLORREF accentColor = brvl::palette::kAccent;
    COLORREF backgroundColor = brvl::palette::kControlSurface;
    bool hover = false;
    bool pressed = false;
    bool dragging = false;
    bool disabled = false;
    bool blank = false;
    bool drawBorder = true;
    bool drawBackground = true;
    int gridSpanX = 1;
    int gridSpanY = 1;

    // Steps of that paint without the background: for a control that paints
    // its whole surface itself.
    static void PaintBuffered(CWnd& window,
                              const std::function<void(Gdiplus::Graphics&, const RECT&)>& paint,
                              bool gridFittedText = true);

private:
    // Clears a blank control and says false; else paints the background.
    static bool PaintBackground(Gdiplus::Graphics& graphics, const RECT& client,
                                const ControlDrawState& state, BackgroundPainter background);

    // Stores a clamped value; false when nothing changed.
    bool StoreValue(double& field, double v);
};
