#include "controls/knobs/knob_painting.h"

#include "controls/base/accent_shade.h"
#include "controls/knobs/knob_colors.h"

#include <cmath>

using Gdiplus::Color;
using Gdiplus::REAL;

namespace
{

constexpr double kRadiansPerDegree = 3.14159265358979323846 / 180.0;

constexpr Gdiplus::ARGB kBodyCentre = 0xFF303439;
constexpr Gdiplus::ARGB kBodyEdge = 0xFF121418;
constexpr Gdiplus::ARGB kFaceTop = 0xFF24282E;
constexpr Gdiplus::ARGB kFaceBottom = 0xFF14171C;
constexpr Gdiplus::ARGB kCapFill = 0xFF1C1F25;
constexpr Gdiplus::ARGB kCapRim = 0x46FFFFFF;
constexpr BYTE kCentreDotAlpha = 0xD7;
constexpr double kCentreDotDiameter = 8;

// How the shadow falls below the body, by knob size.
struct Shadow
{
    int spread; // beyond the body on each side
    int drop;   // how far down its box starts from the body's
    Gdiplus::ARGB color;
};
constexpr Shadow kLargeShadow{4, 10, 0x34000000};
constexpr Shadow kSmallShadow{3, 7, 0x2A000000};

struct TextLine
{
    REAL size;
    int style;
    Gdiplus::ARGB color;
    int top; // below the body's bottom
    int height;
};

struct TextLayout
{
    int margin; // left and right
    TextLine label;
    TextLine value;
    TextLine secondary; // size 0: not shown
};

constexpr TextLayout kLargeTexts{18,
                                 {12, Gdiplus::FontStyleBold, 0xDCE8E4DC, 18, 20},
                                 {18, Gdiplus::FontStyleBold, 0xEAF2EEE8, 38, 28},
                                 {11, Gdiplus::FontStyleRegular, 0xB09AA2AA, 66, 18}};
constexpr TextLayout kSmallTexts{8,
                                 {10, Gdiplus::FontStyleBold, 0xD6DEDCD6, 12, 16},
                                 {14, Gdiplus::FontStyleBold, 0xEAF2EEE8, 28, 20},
                                 {0, 0, 0, 0, 0}};

Gdiplus::RectF Circle(const KnobGeometry& g, double radius)
{
    return Gdiplus::RectF(REAL(g.centerX - radius), REAL(g.centerY - radius), REAL(2 * radius),
                          REAL(2 * radius));
}

void DrawTextLine(Gdiplus::Graphics& graphics, const CString& text, const TextLine& line,
                  const RECT& rect, const KnobGeometry& g, int margin)
{
    const Gdiplus::Font font(L"Segoe UI", line.size, line.style, Gdiplus::UnitPixel);
    const Gdiplus::SolidBrush brush{Color(line.color)};
    Gdiplus::StringFormat format;
    format.SetAlignment(Gdiplus::StringAlignmentCenter);
    format.SetLineAlignment(Gdiplus::StringAlignmentNear);
    const Gdiplus::RectF box(REAL(rect.left + margin), REAL(g.centerY + g.radius + line.top),
                             REAL(rect.right - rect.left - 2 * margin), REAL(line.height));
    graphics.DrawString(text.GetString(), text.GetLength(), &font, box, &format, &brush);
}

} // namespace

void DrawKnobBody(Gdiplus::Graphics& graphics, const KnobGeometry& g, KnobSize size)
{
    const Shadow& shadow = size == KnobSize::Large ? kLargeShadow : kSmallShadow;
    const int r = g.radius;
    const Gdiplus::SolidBrush shadowBrush{Color(shadow.color)};
    graphics.FillEllipse(&shadowBrush, REAL(g.centerX - r - shadow.spread),
                         REAL(g.centerY - r + shadow.drop), REAL(2 * (r + shadow.spread)),
                         REAL(2 * (r + shadow.spread)));

    Gdiplus::GraphicsPath outline;
    outline.AddEllipse(Circle(g, r));
    Gdiplus::PathGradientBrush body(&outline);
    body.SetCenterColor(Color(kBodyCentre));
    const Color edge(kBodyEdge);
    int edges = 1;
    body.SetSurroundColors(&edge, &edges);
    graphics.FillPath(&body, &outline);

    const Gdiplus::LinearGradientBrush face(
        Gdiplus::PointF(REAL(g.centerX), REAL(g.centerY - g.faceRadius)),
        Gdiplus::PointF(REAL(g.centerX), REAL(g.centerY + g.faceRadius)), Color(kFaceTop),
        Color(kFaceBottom));
    graphics.FillEllipse(&face, Circle(g, g.faceRadius));
}

void DrawKnobArc(Gdiplus::Graphics& graphics, const KnobGeometry& g, const ArcSpan& arc,
                 const Gdiplus::Pen& pen)
{
    graphics.DrawArc(&pen, g.RingBox(), REAL(arc.start), REAL(arc.sweep));
}

void DrawKnobRadial(Gdiplus::Graphics& graphics, const KnobGeometry& g, double angle, double inner,
                    double outer, const Gdiplus::Pen& pen)
{
    const double cosine = std::cos(angle * kRadiansPerDegree);
    const double sine = std::sin(angle * kRadiansPerDegree);
    graphics.DrawLine(&pen, REAL(g.centerX + inner * cosine), REAL(g.centerY + inner * sine),
                      REAL(g.centerX + outer * cosine), REAL(g.centerY + outer * sine));
}

void DrawKnobCap(Gdiplus::Graphics& graphics, const KnobGeometry& g, COLORREF accent,
                 bool centreDot)
{
    const Gdiplus::SolidBrush cap{Color(kCapFill)};
    graphics.FillEllipse(&cap, Circle(g, g.capRadius));
    const KnobPen rim(Color(kCapRim), 1);
    graphics.DrawEllipse(&rim, Circle(g, g.capRadius));
    if (centreDot)
    {
        const Gdiplus::SolidBrush dot(
            AccentShade(accent, kCentreDotAlpha, 1.1, 1.1, 1.1, ChannelRounding::Round));
        graphics.FillEllipse(&dot, Circle(g, kCentreDotDiameter / 2));
    }
}

void DrawKnobTexts(Gdiplus::Graphics& graphics, const RECT& rect, const KnobGeometry& g,
                   KnobSize size, const ControlDrawState& state, const CString& valueText)
{
    const TextLayout& layout = size == KnobSize::Large ? kLargeTexts : kSmallTexts;
    DrawTextLine(graphics, state.label, layout.label, rect, g, layout.margin);
    DrawTextLine(graphics, valueText, layout.value, rect, g, layout.margin);
    if (layout.secondary.size > 0 && !state.secondaryText.IsEmpty())
    {
        DrawTextLine(graphics, state.secondaryText, layout.secondary, rect, g, layout.margin);
    }
}
