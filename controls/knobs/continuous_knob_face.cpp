#include "controls/knobs/continuous_knob_face.h"

#include "controls/knobs/knob_colors.h"
#include "controls/knobs/knob_painting.h"
#include "controls/knobs/knob_scale.h"

#include <algorithm>
#include <cmath>

using Gdiplus::Color;

namespace
{

constexpr Gdiplus::ARGB kTrack = 0x507A8088;
constexpr BYTE kZoneAlpha = 0x1E;
constexpr BYTE kOverZoneGlowAlpha = 0x30;
constexpr BYTE kOverZoneAlpha = 0x50;
constexpr Gdiplus::ARGB kPointer = 0xEBF9EBCE;
constexpr int kScaleMarks = 19;

// The parts whose look depends on the knob's size.
struct SizeStyle
{
    double markFrom; // beyond the body's edge
    double markTo;
    Gdiplus::ARGB mark;
    bool highlightsMiddle; // the bipolar knob's middle mark stands out
    BYTE glowAlpha;
    BYTE draggedGlowAlpha;
    double glowExtraWidth;
    bool centreDot;
};

constexpr SizeStyle kLarge{5, 13, 0x3AB6BCC4, true, 0x2A, 0x40, 3.5, true};
constexpr SizeStyle kSmall{4, 10, 0x34B6BCC4, false, 0x26, 0x38, 3, false};
constexpr Gdiplus::ARGB kMiddleMark = 0x6CE4E8EE;
constexpr double kMiddleMarkWidth = 2.2;

void DrawScaleMarks(Gdiplus::Graphics& graphics, const KnobGeometry& g, const SizeStyle& style,
                    bool bipolar)
{
    const KnobPen mark{Color(style.mark), 1};
    const KnobPen middle{Color(kMiddleMark), kMiddleMarkWidth};
    const int middleIndex = (kScaleMarks - 1) / 2;
    for (int i = 0; i < kScaleMarks; ++i)
    {
        const bool highlighted = bipolar && style.highlightsMiddle && i == middleIndex;
        DrawKnobRadial(graphics, g, kScaleStart + kScaleSweep * i / (kScaleMarks - 1),
                       g.radius + style.markFrom, g.radius + style.markTo,
                       highlighted ? middle : mark);
    }
}

// A glow under the arc, then the arc itself.
void DrawLitArc(Gdiplus::Graphics& graphics, const KnobGeometry& g, const ArcSpan& arc,
                COLORREF color, BYTE glowAlpha, double glowExtraWidth, BYTE alpha)
{
    DrawKnobArc(graphics, g, arc, KnobPen(GlowOf(color, glowAlpha), g.ringWidth + glowExtraWidth));
    DrawKnobArc(graphics, g, arc, KnobPen(Gdiplus::ColorFromRef(color, alpha), g.ringWidth));
}

void DrawPointer(Gdiplus::Graphics& graphics, const KnobGeometry& g, KnobSize size, double value)
{
    const double angle = ScaleAngle(value);
    if (size == KnobSize::Large)
    {
        const KnobPen pen(Color(kPointer), std::clamp(0.06 * g.radius, 3.0, 5.5));
        DrawKnobRadial(graphics, g, angle, 0.85 * g.capRadius, 0.94 * g.faceRadius, pen);
        return;
    }
    const KnobPen pen(Color(kPointer), 3.2);
    DrawKnobRadial(graphics, g, angle, 0.82 * g.capRadius,
                   g.radius - g.ringInset - 0.7 * g.ringWidth, pen);
}

} // namespace

BYTE ValueArcAlpha(const ControlDrawState& state)
{
    if (state.dragging)
    {
        return 0xF0;
    }
    return state.hover && !state.disabled ? 0xD6 : 0xBE;
}

void DrawContinuousKnob(Gdiplus::Graphics& graphics, const RECT& rect,
                        const ControlDrawState& state, const ContinuousKnobFace& face)
{
    const KnobGeometry g = MakeKnobGeometry(rect, face.size);
    const SizeStyle& style = face.size == KnobSize::Large ? kLarge : kSmall;
    // A control's value is always in range; a preview's snapshot may not be.
    const double value = std::isnan(state.value) ? 0.0 : std::clamp(state.value, 0.0, 1.0);
    const COLORREF accent = state.accentColor;
    const double zoneStart = ZoneStart(face.zoneStart);

    DrawKnobBody(graphics, g, face.size);

    DrawKnobArc(graphics, g, {kScaleStart, kScaleSweep * zoneStart},
                KnobPen(Color(kTrack), g.ringWidth));
    if (zoneStart < 1)
    {
        const ArcSpan zone{kScaleStart + kScaleSweep * zoneStart, kScaleSweep * (1 - zoneStart)};
        const COLORREF zoneColor = HueTurned(accent, kZoneHueTurn);
        DrawKnobArc(graphics, g, zone,
                    KnobPen(Gdiplus::ColorFromRef(zoneColor, kZoneAlpha), g.ringWidth));
    }

    if (face.showTicks)
    {
        DrawScaleMarks(graphics, g, style, face.bipolar);
    }

    DrawLitArc(graphics, g, ValueArc(value, face.bipolar), accent,
               state.dragging ? style.draggedGlowAlpha : style.glowAlpha, style.glowExtraWidth,
               ValueArcAlpha(state));
    if (!face.bipolar && value > zoneStart)
    {
        DrawLitArc(graphics, g, OverZoneArc(value, zoneStart),
                   HueTurned(accent, OverZoneHueTurn(value, zoneStart)), kOverZoneGlowAlpha,
                   kLarge.glowExtraWidth, kOverZoneAlpha);
    }

    if (face.showPointer)
    {
        DrawPointer(graphics, g, face.size, value);
    }
    DrawKnobCap(graphics, g, accent, style.centreDot);
    DrawKnobTexts(graphics, rect, g, face.size, state, state.valueText);
}
