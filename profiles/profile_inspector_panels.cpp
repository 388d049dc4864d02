#include "profiles/profile_inspector_panels.h"

#include "controls/base/control_text.h"
#include "controls/base/painting_helpers.h"
#include "controls/graphs/curve_smoothing.h"
#include "profiles/stereo_bloom_painter.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <limits>

namespace
{

using Gdiplus::REAL;

constexpr double kLowestHz = 20.0;
constexpr double kDefaultRate = 44100.0;
// With no finite level, or all levels equal, the scale spans this range.
constexpr double kFallbackLowDb = -80.0;
constexpr double kFallbackHighDb = 0.0;
constexpr double kScaleMargin = 0.08;

constexpr REAL kPanelRadius = 10.0f;
constexpr Gdiplus::ARGB kTitleText = 0xFFBABEC4;
constexpr Gdiplus::ARGB kHoveredTitleText = 0xFFD8DCE2;

constexpr ToneCurveLook kSideCurve{RGB(75, 140, 186), 0.95f, 0x2E};
constexpr ToneCurveLook kMidCurve{RGB(219, 81, 111), 1.05f, 0x34};

struct FrequencyMark
{
    double hz;
    const wchar_t* label;
};
constexpr FrequencyMark kFrequencyMarks[] = {
    {50, L"50"},   {100, L"100"}, {200, L"200"},   {500, L"500"},   {1000, L"1k"},
    {2000, L"2k"}, {5000, L"5k"}, {10000, L"10k"}, {20000, L"20k"},
};

Gdiplus::RectF Box(double x, double y, double width, double height)
{
    return Gdiplus::RectF(REAL(x), REAL(y), REAL(width), REAL(height));
}

// A panel's body: a rounded rectangle filled top to bottom and outlined.
void PaintPanelFrame(Gdiplus::Graphics& graphics, const RECT& panel, Gdiplus::Color top,
                     Gdiplus::Color bottom, const Gdiplus::Pen& outline)
{
    const REAL height = REAL(panel.bottom - panel.top);
    Gdiplus::GraphicsPath frame;
    AddRoundedRectFigure(frame, REAL(panel.left), REAL(panel.top), REAL(panel.right - panel.left),
                         height, kPanelRadius);
    if (height > 0)
    {
        const Gdiplus::LinearGradientBrush fill(
            Gdiplus::PointF(REAL(panel.left), REAL(panel.top)),
            Gdiplus::PointF(REAL(panel.left), REAL(panel.bottom)), top, bottom);
        graphics.FillPath(&fill, &frame);
    }
    graphics.DrawPath(&outline, &frame);
}

// A brush from `top` at the plot's top edge to `bottom` at its bottom edge.
Gdiplus::LinearGradientBrush VerticalBrush(const RECT& plot, Gdiplus::Color top,
                                           Gdiplus::Color bottom)
{
    return Gdiplus::LinearGradientBrush(Gdiplus::PointF(REAL(plot.left), REAL(plot.top)),
                                        Gdiplus::PointF(REAL(plot.left), REAL(plot.bottom)), top,
                                        bottom);
}

double Clamp01(double value)
{
    return std::isnan(value) ? 0.0 : std::clamp(value, 0.0, 1.0);
}

double LevelY(const RECT& plot, const ToneMapScale& scale, double db)
{
    const double fraction = (db - scale.yMin) / (scale.yMax - scale.yMin);
    return plot.bottom - (plot.bottom - plot.top) * Clamp01(fraction);
}

void DrawHorizontalLine(Gdiplus::Graphics& graphics, const Gdiplus::Pen& pen, const RECT& plot,
                        double y)
{
    graphics.DrawLine(&pen, REAL(plot.left), REAL(y), REAL(plot.right), REAL(y));
}

void DrawToneMapLegend(Gdiplus::Graphics& graphics, const RECT& plot)
{
    const REAL y = REAL(plot.bottom - 11);
    const REAL pl = REAL(plot.left);
    const ControlFont font{8.5f};
    RoundCapPen midLine(Gdiplus::Color(0xD6DB516F), 2.0);
    graphics.DrawLine(&midLine, pl + 4, y, pl + 17, y);
    DrawInspectorText(graphics, L"Mid", font, 0xFFDB516F, Box(pl + 21, plot.bottom - 16, 30, 12));
    RoundCapPen sideLine(Gdiplus::Color(0xD64B8CBA), 2.0);
    graphics.DrawLine(&sideLine, pl + 57, y, pl + 70, y);
    DrawInspectorText(graphics, L"Side", font, 0xFF4B8CBA, Box(pl + 74, plot.bottom - 16, 36, 12));
}

// The two ends of a width bar's gradient: greener and narrower to bluer and
// wider, the right end lighter.
struct WidthBarShades
{
    Gdiplus::Color left;
    Gdiplus::Color right;
};

WidthBarShades WidthBarShadesOf(double width)
{
    const double a = 0.55 * width;
    const double s = 1.0 - a;
    const int c1 = static_cast<int>(s * 160 + a * 174);
    const int c2 = static_cast<int>(s * 220 + a * 92);
    const int c3 = static_cast<int>(s * 80 + a * 236);
    const auto lift = [](int c) { return BYTE(static_cast<int>(c * 0.78 + 56.1)); };
    return {Gdiplus::Color(0xD2, BYTE(c3), BYTE(c1), BYTE(c2)),
            Gdiplus::Color(0xE6, lift(c3), lift(c1), lift(c2))};
}

constexpr const wchar_t* kWidthScaleLabels[kWidthScaleLabelCount] = {L"Mono", L"Focused",
                                                                     L"Balanced", L"Wide"};
constexpr double kWidthScalePositions[kWidthScaleLabelCount] = {0.0, 0.22, 0.42, 0.62};

} // namespace

void DrawInspectorText(Gdiplus::Graphics& graphics, const wchar_t* text, ControlFont font,
                       Gdiplus::ARGB color, const Gdiplus::RectF& box)
{
    DrawControlText(graphics, text, font, color, box, Gdiplus::StringAlignmentNear,
                    Gdiplus::StringAlignmentNear);
}

ToneMapScale ToneMapScaleOf(const ReferenceProfile& profile)
{
    ToneMapScale scale;
    const std::vector<double>& mid = profile.midSpectrum;
    const std::vector<double>& side = profile.sideSpectrum;
    scale.sampleRate = profile.sampleRate < 1 ? kDefaultRate : double(profile.sampleRate);
    scale.fftSize = profile.fftSize < 1 ? 2.0 * std::max<double>(double(mid.size()) - 1.0, 2.0)
                                        : double(profile.fftSize);
    scale.bins = std::min(mid.size(), side.size());
    if (scale.bins >= 1)
    {
        scale.maxHz = std::min((double(scale.bins) - 1.0) * scale.sampleRate / scale.fftSize,
                               scale.sampleRate / 2.0);
    }

    double low = std::numeric_limits<double>::infinity();
    double high = -std::numeric_limits<double>::infinity();
    for (const std::vector<double>* spectrum : {&mid, &side})
    {
        for (const double value : *spectrum)
        {
            if (std::isfinite(value))
            {
                low = std::min(low, value);
                high = std::max(high, value);
            }
        }
    }
    // The widened span must stay finite for the levels to map.
    if (!(high > low) || !std::isfinite((high - low) * (1.0 + 2.0 * kScaleMargin)))
    {
        low = kFallbackLowDb;
        high = kFallbackHighDb;
    }
    scale.lowDb = low;
    scale.highDb = high;
    scale.yMin = low - kScaleMargin * (high - low);
    scale.yMax = high + kScaleMargin * (high - low);
    return scale;
}

double ToneMapFraction(double hz, double maxHz)
{
    const double fraction = (std::log(std::max(hz, kLowestHz)) - std::log(kLowestHz)) /
                            (std::log(maxHz) - std::log(kLowestHz));
    return Clamp01(fraction);
}

std::vector<ToneMapFrequencyLine> ToneMapFrequencyLines(int plotLeft, int plotRight, double maxHz)
{
    std::vector<ToneMapFrequencyLine> lines;
    if (!(maxHz > kLowestHz))
    {
        return lines;
    }
    for (const FrequencyMark& mark : kFrequencyMarks)
    {
        if (mark.hz > maxHz)
        {
            continue;
        }
        const double x = plotLeft + (plotRight - plotLeft) * ToneMapFraction(mark.hz, maxHz);
        if (x <= plotLeft + 6 || x >= plotRight - 6)
        {
            continue;
        }
        lines.push_back({x, mark.label});
    }
    return lines;
}

std::vector<double> ToneCurveColumnValues(const std::vector<double>& spectrum, int columns,
                                          const ToneMapScale& scale)
{
    std::vector<double> values;
    const std::size_t n = std::min(scale.bins, spectrum.size());
    if (!scale.HasAxis() || n < 2 || columns < 2)
    {
        return values;
    }
    values.reserve(static_cast<std::size_t>(columns));
    const double logLow = std::log(kLowestHz);
    const double logSpan = std::log(scale.maxHz) - logLow;
    for (int i = 0; i < columns; ++i)
    {
        const double hz = std::exp(logLow + logSpan * i / (columns - 1));
        // Held while still a double: the index of a huge FFT size would not fit.
        const double index = std::max(
            1.0, std::min(std::trunc(hz * scale.fftSize / scale.sampleRate), double(n - 1)));
        const double value = spectrum[static_cast<std::size_t>(index)];
        if (std::isfinite(value))
        {
            values.push_back(value);
        }
        else
        {
            values.push_back(value > 0 ? scale.highDb : scale.lowDb);
        }
    }
    return values;
}

std::vector<Gdiplus::PointF> BuildToneCurvePoints(const std::vector<double>& spectrum,
                                                  const RECT& plot, const ToneMapScale& scale)
{
    const std::vector<double> smoothed =
        SmoothCurveTriangular(ToneCurveColumnValues(spectrum, plot.right - plot.left, scale));
    std::vector<Gdiplus::PointF> points;
    points.reserve(smoothed.size());
    for (std::size_t i = 0; i < smoothed.size(); ++i)
    {
        points.emplace_back(REAL(plot.left + double(i)), REAL(LevelY(plot, scale, smoothed[i])));
    }
    return points;
}

void DrawToneCurve(Gdiplus::Graphics& graphics, const RECT& plot,
                   const std::vector<double>& spectrum, const std::vector<Gdiplus::PointF>& points,
                   ToneCurveLook look)
{
    if (spectrum.size() < 2 || points.size() < 2)
    {
        return;
    }
    Gdiplus::GraphicsPath area;
    std::vector<Gdiplus::PointF> outline;
    outline.reserve(points.size() + 2);
    outline.emplace_back(REAL(plot.left), REAL(plot.bottom));
    outline.insert(outline.end(), points.begin(), points.end());
    outline.emplace_back(REAL(plot.right), REAL(plot.bottom));
    area.AddLines(outline.data(), static_cast<int>(outline.size()));
    area.CloseFigure();
    const Gdiplus::LinearGradientBrush fill = VerticalBrush(
        plot, Gdiplus::ColorFromRef(look.color, 0x34), Gdiplus::ColorFromRef(look.color, 0x03));
    graphics.FillPath(&fill, &area);

    Gdiplus::Pen glow(Gdiplus::ColorFromRef(look.color, look.glowAlpha), look.width + 2);
    glow.SetLineJoin(Gdiplus::LineJoinRound);
    graphics.DrawLines(&glow, points.data(), static_cast<int>(points.size()));
    Gdiplus::Pen line(Gdiplus::ColorFromRef(look.color, 0xC8), look.width);
    line.SetLineJoin(Gdiplus::LineJoinRound);
    graphics.DrawLines(&line, points.data(), static_cast<int>(points.size()));
}

void DrawToneMap(Gdiplus::Graphics& graphics, const RECT& panel, const ReferenceProfile& profile)
{
    const Gdiplus::Pen outline(Gdiplus::Color(0x18FFFFFF), 1.0f);
    PaintPanelFrame(graphics, panel, Gdiplus::Color(0xFF0D0F12), Gdiplus::Color(0xFF0A0B0E),
                    outline);
    DrawInspectorText(graphics, L"Tone Map", {10.5f}, kTitleText,
                      Box(panel.left + 16, panel.top + 10, 140, 16));

    const RECT plot{panel.left + 14, panel.top + 28, panel.right - 14, panel.bottom - 30};
    if (plot.right - plot.left < 80 || plot.bottom - plot.top < 60 || profile.midSpectrum.empty() ||
        profile.sideSpectrum.empty())
    {
        return;
    }
    const Gdiplus::Pen grid(Gdiplus::Color(0x10FFFFFF), 1.0f);
    for (int k = 1; k <= 3; ++k)
    {
        DrawHorizontalLine(graphics, grid, plot, plot.top + (plot.bottom - plot.top) * k * 0.25);
    }
    const ToneMapScale scale = ToneMapScaleOf(profile);
    // Without two bins above 20 Hz the log axis has no span to draw on.
    if (!scale.HasAxis())
    {
        return;
    }

    const Gdiplus::Pen frequencyLine(Gdiplus::Color(0x0DFFFFFF), 1.0f);
    for (const ToneMapFrequencyLine& line :
         ToneMapFrequencyLines(plot.left, plot.right, scale.maxHz))
    {
        graphics.DrawLine(&frequencyLine, REAL(line.x), REAL(plot.top), REAL(line.x),
                          REAL(plot.bottom));
        DrawControlText(graphics, line.label, {8.0f}, 0xFF6A727C,
                        Box(line.x - 20, plot.bottom + 5, 40, 12), Gdiplus::StringAlignmentCenter,
                        Gdiplus::StringAlignmentNear);
    }

    const Gdiplus::Pen reference(Gdiplus::Color(0x26FFFFFF), 1.0f);
    DrawHorizontalLine(graphics, reference, plot, LevelY(plot, scale, 0.0));
    graphics.DrawLine(&reference, REAL(plot.left), REAL(plot.top), REAL(plot.left),
                      REAL(plot.bottom));

    DrawToneCurve(graphics, plot, profile.sideSpectrum,
                  BuildToneCurvePoints(profile.sideSpectrum, plot, scale), kSideCurve);
    DrawToneCurve(graphics, plot, profile.midSpectrum,
                  BuildToneCurvePoints(profile.midSpectrum, plot, scale), kMidCurve);
    DrawToneMapLegend(graphics, plot);
}

std::array<double, kStereoBandCount> ComputeBandWidths(const ReferenceProfile& profile)
{
    return StereoBandWidths(profile.sampleRate, profile.fftSize, profile.midSpectrum,
                            profile.sideSpectrum);
}

const wchar_t* WidthViewTitle(int viewMode)
{
    switch (viewMode)
    {
    case 1:
        return L"Stereo Width Contour";
    case 2:
        return L"Stereo Width By Band";
    default:
        return L"Stereo Field Bloom";
    }
}

void DrawWidthPanel(Gdiplus::Graphics& graphics, const RECT& panel, const ReferenceProfile& profile,
                    WidthPanelLook look)
{
    COLORREF top = 0x120F0D;
    COLORREF bottom = 0x0E0B0A;
    Gdiplus::ARGB outlineColor = 0x18FFFFFF;
    REAL outlineWidth = 1.0f;
    if (look.pressed)
    {
        top = 0x191410;
        bottom = 0x110D0B;
        outlineColor = 0x36FFFFFF;
        outlineWidth = 1.2f;
    }
    else if (look.hover)
    {
        top = 0x181310;
        bottom = 0x110D0B;
        outlineColor = 0x28FFFFFF;
    }
    const Gdiplus::Pen outline(Gdiplus::Color(outlineColor), outlineWidth);
    PaintPanelFrame(graphics, panel, Gdiplus::ColorFromRef(top), Gdiplus::ColorFromRef(bottom),
                    outline);
    if (look.hover || look.pressed)
    {
        const Gdiplus::Pen accent(
            Gdiplus::ColorFromRef(RGB(236, 174, 112), look.pressed ? 0x3C : 0x22), 1.0f);
        graphics.DrawLine(&accent, REAL(panel.left + 16), REAL(panel.top + 1),
                          REAL(panel.right - 16), REAL(panel.top + 1));
    }
    DrawInspectorText(graphics, WidthViewTitle(look.viewMode), {10.5f},
                      look.hover ? kHoveredTitleText : kTitleText,
                      Box(panel.left + 16, panel.top + 10, 200, 16));

    if (profile.midSpectrum.empty() || profile.sideSpectrum.empty())
    {
        return;
    }
    const std::array<double, kStereoBandCount> widths = ComputeBandWidths(profile);
    switch (look.viewMode)
    {
    case 1:
        DrawWidthContour(graphics, panel, widths);
        break;
    case 2:
        DrawWidthByBand(graphics, panel, widths);
        break;
    default:
        DrawFieldBloom(graphics, panel, widths);
        break;
    }
}

void DrawFieldBloom(Gdiplus::Graphics& graphics, const RECT& panel, std::span<const double> widths)
{
    const RECT plot{panel.left + 40, panel.top + 52, panel.right - 40, panel.bottom - 28};
    PaintStereoBloom(graphics, plot, widths, BloomValueBox{38, 36});
}

void DrawWidthContour(Gdiplus::Graphics& graphics, const RECT& panel,
                      std::span<const double> widths)
{
    const RECT plot{panel.left + 24, panel.top + 48, panel.right - 24, panel.bottom - 34};
    const double plotWidth = plot.right - plot.left;
    const double plotHeight = plot.bottom - plot.top;
    // A plot turned inside out by a small panel has nothing to show.
    if (plotWidth <= 0 || plotHeight <= 0 || widths.empty())
    {
        return;
    }
    const Gdiplus::Pen grid(Gdiplus::Color(0x12FFFFFF), 1.0f);
    for (int k = 0; k <= 3; ++k)
    {
        DrawHorizontalLine(graphics, grid, plot, plot.top + k * plotHeight / 3);
    }

    const std::size_t n = std::min(widths.size(), kStereoBandCount);
    std::vector<Gdiplus::PointF> points;
    for (std::size_t i = 0; i < n; ++i)
    {
        const double x = n < 2 ? plot.left : plot.left + plotWidth * double(i) / double(n - 1);
        points.emplace_back(REAL(x), REAL(plot.bottom - Clamp01(widths[i]) * plotHeight));
    }
    constexpr REAL kTension = 0.35f;
    const int count = static_cast<int>(points.size());

    Gdiplus::GraphicsPath area;
    area.AddLine(REAL(plot.left), REAL(plot.bottom), points.front().X, points.front().Y);
    area.AddCurve(points.data(), count, kTension);
    area.AddLine(points.back().X, points.back().Y, REAL(plot.right), REAL(plot.bottom));
    area.CloseFigure();
    const Gdiplus::LinearGradientBrush fill =
        VerticalBrush(plot, Gdiplus::Color(0x6E58A8E2), Gdiplus::Color(0x2EECAE5C));
    graphics.FillPath(&fill, &area);

    Gdiplus::GraphicsPath curve;
    curve.AddCurve(points.data(), count, kTension);
    Gdiplus::Pen glow(Gdiplus::Color(0x2E5AAAE6), 6.0f);
    glow.SetLineJoin(Gdiplus::LineJoinRound);
    graphics.DrawPath(&glow, &curve);
    Gdiplus::Pen line(Gdiplus::Color(0xE6E6D2A4), 2.0f);
    line.SetLineJoin(Gdiplus::LineJoinRound);
    graphics.DrawPath(&line, &curve);

    for (std::size_t i = 0; i < n; ++i)
    {
        DrawInspectorText(graphics, kStereoBands[i].name, {8.5f}, 0xFF9EA4AC,
                          Box(points[i].X - 24, plot.bottom + 8, 48, 14));
    }
}

std::array<std::optional<int>, kWidthScaleLabelCount>
PlaceWidthScaleLabels(int barLeft, int barWidth,
                      const std::array<int, kWidthScaleLabelCount>& labelWidths)
{
    std::array<std::optional<int>, kWidthScaleLabelCount> lefts;
    int lastRight = INT_MIN;
    for (std::size_t i = 0; i < kWidthScaleLabelCount; ++i)
    {
        const int x = static_cast<int>(std::lround(barLeft + kWidthScalePositions[i] * barWidth));
        const int w = labelWidths[i];
        const int left = x - w / 2;
        // Compared in 64 bits: the edges of a huge bar must not wrap.
        if (left < barLeft || std::int64_t(left) + w > std::int64_t(barLeft) + barWidth ||
            std::int64_t(left) <= std::int64_t(lastRight) + 10)
        {
            continue;
        }
        lefts[i] = left;
        lastRight = left + w;
    }
    return lefts;
}

void DrawWidthByBand(Gdiplus::Graphics& graphics, const RECT& panel, std::span<const double> widths)
{
    const std::size_t n = std::min(widths.size(), kStereoBandCount);
    const int barLeft = panel.left + 96;
    const int barWidth = panel.right - panel.left - 122;
    const int axisY = panel.bottom - 34;
    const int count = static_cast<int>(n);
    const int rowHeight = (axisY - 8 * (count - 1) - (panel.top + 40)) / std::max(1, count);

    const Gdiplus::SolidBrush track{Gdiplus::Color(0x24FFFFFF)};
    const Gdiplus::Pen trackEdge(Gdiplus::Color(0x12FFFFFF), 1.0f);
    for (int row = 0; row < count; ++row)
    {
        const std::size_t band = n - 1 - static_cast<std::size_t>(row);
        const int y = panel.top + 48 + row * (rowHeight + 8);
        const double v = Clamp01(widths[band]);
        DrawInspectorText(graphics, kStereoBands[band].name, {9.0f}, 0xFFA8AEB6,
                          Box(panel.left + 18, y - 2, 70, 14));
        if (barWidth <= 0)
        {
            continue;
        }
        Gdiplus::GraphicsPath trackPath;
        AddRoundedRectFigure(trackPath, REAL(barLeft), REAL(y), REAL(barWidth), 14, 5);
        graphics.FillPath(&track, &trackPath);
        graphics.DrawPath(&trackEdge, &trackPath);
        if (v * barWidth > 2)
        {
            const WidthBarShades shades = WidthBarShadesOf(v);
            const Gdiplus::LinearGradientBrush fill(
                Gdiplus::PointF(REAL(barLeft), REAL(y)),
                Gdiplus::PointF(REAL(barLeft + barWidth), REAL(y)), shades.left, shades.right);
            Gdiplus::GraphicsPath fillPath;
            AddRoundedRectFigure(fillPath, REAL(barLeft), REAL(y), REAL(v * barWidth), 14, 5);
            graphics.FillPath(&fill, &fillPath);
        }
    }
    if (barWidth <= 0)
    {
        return;
    }

    const Gdiplus::Font font(L"Segoe UI", 8.5f, Gdiplus::FontStyleRegular, Gdiplus::UnitPixel);
    std::array<int, kWidthScaleLabelCount> labelWidths{};
    for (std::size_t i = 0; i < kWidthScaleLabelCount; ++i)
    {
        Gdiplus::RectF bounds;
        graphics.MeasureString(kWidthScaleLabels[i], -1, &font, Gdiplus::PointF(0, 0), &bounds);
        labelWidths[i] = static_cast<int>(std::ceil(bounds.Width));
    }
    const auto lefts = PlaceWidthScaleLabels(barLeft, barWidth, labelWidths);
    for (std::size_t i = 0; i < kWidthScaleLabelCount; ++i)
    {
        if (lefts[i])
        {
            DrawInspectorText(graphics, kWidthScaleLabels[i], {8.5f}, 0xD2D6DBE2,
                              Box(*lefts[i], axisY + 8, labelWidths[i] + 2, 14));
        }
    }
}
