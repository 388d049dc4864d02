#include "controls/sliders/slider_face.h"

#include "controls/base/accent_shade.h"
#include "controls/base/control_text.h"
#include "controls/base/painting_helpers.h"

using Gdiplus::Color;
using Gdiplus::REAL;

namespace
{

constexpr Gdiplus::ARGB kGroove = 0x606E7680;
constexpr Gdiplus::ARGB kGrooveHighlight = 0x2AFFFFFF;
constexpr Gdiplus::ARGB kTick = 0x58BAC0C8;
constexpr REAL kTickWidth = 1.2f;
constexpr Gdiplus::ARGB kThumbShadow = 0x28000000;
constexpr Gdiplus::ARGB kThumbFill = 0xEBE4E0DA;
constexpr Gdiplus::ARGB kThumbRim = 0x48FFFFFF;
constexpr BYTE kThumbDotAlpha = 0xDC;
constexpr Gdiplus::ARGB kValueText = 0xEAF2EEE8;
constexpr REAL kTrackThickness = 8;

BYTE FillAlpha(const ControlDrawState& state)
{
    if (state.dragging)
    {
        return 0xF0;
    }
    return state.hover ? 0xE2 : 0xD2;
}

// A segment along the track's axis, in drawing coordinates.
struct Segment
{
    Gdiplus::PointF from;
    Gdiplus::PointF to;
};

void DrawSegment(Gdiplus::Graphics& graphics, const Gdiplus::Pen& pen, const Segment& s)
{
    graphics.DrawLine(&pen, s.from, s.to);
}

void DrawThumb(Gdiplus::Graphics& graphics, const SliderLayout& layout, COLORREF accent)
{
    const REAL x = REAL(layout.thumbX);
    const REAL y = REAL(layout.thumbY);
    const REAL r = REAL(layout.thumbRadius);
    const Gdiplus::SolidBrush shadow{Color(kThumbShadow)};
    graphics.FillEllipse(&shadow, x - r - 1, y - r + 3, 2 * r + 2, 2 * r + 2);
    const Gdiplus::SolidBrush fill{Color(kThumbFill)};
    graphics.FillEllipse(&fill, x - r, y - r, 2 * r, 2 * r);
    const Gdiplus::Pen rim(Color(kThumbRim), 1.0f);
    graphics.DrawEllipse(&rim, x - r, y - r, 2 * r, 2 * r);
    const Gdiplus::SolidBrush dot(Gdiplus::ColorFromRef(accent, kThumbDotAlpha));
    graphics.FillEllipse(&dot, x - 2, y - 2, REAL(4), REAL(4));
}

Gdiplus::RectF Box(const RECT& r)
{
    return Gdiplus::RectF(REAL(r.left), REAL(r.top), REAL(r.right - r.left),
                          REAL(r.bottom - r.top));
}

} // namespace

void DrawSliderFace(Gdiplus::Graphics& graphics, const RECT& rect, const ControlDrawState& state,
                    bool bipolar, SliderAxis axis)
{
    const bool horizontal = axis == SliderAxis::Horizontal;
    const SliderLayout layout = MakeSliderLayout(rect, axis, state.value, bipolar);
    const RECT& t = layout.track;
    const REAL middle = REAL(SliderTrackMiddle(layout, axis));

    // Along the track's centre line, then its lit edge, in the axis's terms.
    Segment groove;
    Segment edge;
    Segment tick;
    Segment fill;
    if (horizontal)
    {
        const REAL cy = REAL(layout.thumbY);
        groove = {{REAL(t.left), cy}, {REAL(t.right), cy}};
        edge = {{REAL(t.left), cy - kTrackThickness / 2},
                {REAL(t.right), cy - kTrackThickness / 2}};
        tick = {{middle, REAL(t.top - 2)}, {middle, REAL(t.bottom + 2)}};
        fill = {{bipolar ? middle : REAL(t.left), cy}, {REAL(layout.thumbX), cy}};
    }
    else
    {
        const REAL cx = REAL(layout.thumbX);
        groove = {{cx, REAL(t.top)}, {cx, REAL(t.bottom)}};
        edge = {{REAL(t.left), REAL(t.top)}, {REAL(t.left), REAL(t.bottom)}};
        tick = {{cx - 6, middle}, {cx + 6, middle}};
        fill = {{cx, bipolar ? middle : REAL(t.bottom)}, {cx, REAL(layout.thumbY)}};
    }

    DrawSegment(graphics, RoundCapPen(Color(kGroove), kTrackThickness), groove);
    DrawSegment(graphics, Gdiplus::Pen(Color(kGrooveHighlight), 1.0f), edge);
    if (bipolar)
    {
        DrawSegment(graphics, Gdiplus::Pen(Color(kTick), kTickWidth), tick);
    }

    const COLORREF accent = state.accentColor;
    DrawSegment(graphics,
                RoundCapPen(Gdiplus::ColorFromRef(accent, FillAlpha(state)), kTrackThickness - 1),
                fill);
    if (state.hover || state.dragging)
    {
        const Color glow = AccentShade(accent, state.dragging ? 0x38 : 0x2C, 1.06, 1.12, 1.18);
        DrawSegment(graphics, RoundCapPen(glow, kTrackThickness + 5), fill);
    }

    DrawThumb(graphics, layout, accent);

    const ControlFont caption{10, Gdiplus::FontStyleBold};
    const ControlFont valueFont{14, Gdiplus::FontStyleBold};
    if (horizontal)
    {
        DrawControlText(graphics, state.label.GetString(), caption, 0xD6DEDCD6,
                        Box(layout.labelBox), Gdiplus::StringAlignmentNear);
        DrawControlText(graphics, state.valueText.GetString(), valueFont, kValueText,
                        Box(layout.valueBox), Gdiplus::StringAlignmentFar);
    }
    else
    {
        DrawControlText(graphics, state.label.GetString(), caption, 0xD6B2B6BC,
                        Box(layout.labelBox));
        DrawControlText(graphics, state.valueText.GetString(), valueFont, kValueText,
                        Box(layout.valueBox));
    }
}
