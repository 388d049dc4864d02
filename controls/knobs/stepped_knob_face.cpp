#include "controls/knobs/stepped_knob_face.h"

#include "controls/base/step_index.h"
#include "controls/knobs/knob_colors.h"
#include "controls/knobs/knob_painting.h"
#include "controls/knobs/knob_scale.h"

#include <algorithm>

using Gdiplus::Color;
using Gdiplus::REAL;

namespace
{

constexpr Gdiplus::ARGB kTrack = 0x487A8088;
constexpr Gdiplus::ARGB kPointer = 0xEBF9EBCE;
constexpr Gdiplus::ARGB kCapShadow = 0x2E000000;
// A lone step's segment, as wide as one of a 3.57-step scale would be.
constexpr double kLoneStepSweep = 75.6;

// The parts whose look depends on the knob's size.
struct SizeStyle
{
    double segmentGap; // degrees between neighbouring segments
    BYTE glowAlpha;
    double glowExtraWidth;
    bool centreDot;
};

constexpr SizeStyle kLarge{12, 0x2A, 3.5, true};
constexpr SizeStyle kSmall{25, 0x28, 3, false};

// Hover and drag light the selected segment; the disabled flag plays no part.
BYTE SegmentAlpha(const ControlDrawState& state)
{
    if (state.dragging)
    {
        return 0xF0;
    }
    return state.hover ? 0xD6 : 0xBE;
}

double SegmentSweep(int count, double gap)
{
    if (count < 2)
    {
        return kLoneStepSweep;
    }
    const double pitch = kScaleSweep / (count - 1);
    return pitch > gap ? pitch - gap : 0.72 * pitch;
}

double StepAngle(int index, int count)
{
    return ScaleAngle(StepValueOf(index, count));
}

void DrawPointer(Gdiplus::Graphics& graphics, const KnobGeometry& g, KnobSize size, double angle)
{
    if (size == KnobSize::Large)
    {
        const KnobPen pen(Color(kPointer), std::clamp(0.06 * g.radius, 3.0, 5.5));
        DrawKnobRadial(graphics, g, angle, 0.85 * g.capRadius, 0.94 * g.faceRadius, pen);
        return;
    }
    const KnobPen pen(Color(kPointer), 3);
    DrawKnobRadial(graphics, g, angle, 0.82 * g.capRadius,
                   g.radius - g.ringInset - 0.7 * g.ringWidth, pen);
}

} // namespace

KnobGeometry MakeSteppedKnobGeometry(const RECT& client, KnobSize size)
{
    return size == KnobSize::Large
               ? MakeKnobGeometry(client, KnobSize::Large, SteppedKnobDiameter(client))
               : MakeKnobGeometry(client, KnobSize::Small);
}

void DrawSteppedKnobFace(Gdiplus::Graphics& graphics, const RECT& rect,
                         const ControlDrawState& state, const SteppedKnobState& knob, KnobSize size)
{
    const KnobGeometry g = MakeSteppedKnobGeometry(rect, size);
    const SizeStyle& style = size == KnobSize::Large ? kLarge : kSmall;
    // A designer's record is not checked where it is filled.
    const int count = std::clamp(knob.stepCount, 1, kMaxSteps);
    const int selected = std::clamp(knob.selectedIndex, 0, count - 1);
    const COLORREF accent = state.accentColor;

    DrawKnobBody(graphics, g, size);

    const double sweep = SegmentSweep(count, style.segmentGap);
    const KnobPen track(Color(kTrack), g.ringWidth);
    const KnobPen glow(GlowOf(accent, style.glowAlpha), g.ringWidth + style.glowExtraWidth);
    const KnobPen lit(Gdiplus::ColorFromRef(accent, SegmentAlpha(state)), g.ringWidth);
    for (int i = 0; i < count; ++i)
    {
        const ArcSpan segment{StepAngle(i, count) - sweep / 2, sweep};
        if (i == selected)
        {
            DrawKnobArc(graphics, g, segment, glow);
            DrawKnobArc(graphics, g, segment, lit);
        }
        else
        {
            DrawKnobArc(graphics, g, segment, track);
        }
    }

    if (size == KnobSize::Large || knob.showPointer)
    {
        DrawPointer(graphics, g, size, StepAngle(selected, count));
    }

    const Gdiplus::SolidBrush capShadow{Color(kCapShadow)};
    graphics.FillEllipse(&capShadow, REAL(g.centerX - g.capRadius - 2),
                         REAL(g.centerY - g.capRadius + 5), REAL(2 * g.capRadius + 4),
                         REAL(2 * g.capRadius + 4));
    DrawKnobCap(graphics, g, accent, style.centreDot);
    DrawKnobTexts(graphics, rect, g, size, state, knob.stepText);
}
