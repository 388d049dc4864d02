#include "profiles/stereo_bloom_painter.h"

#include "controls/base/control_text.h"
#include "controls/base/painting_helpers.h"
#include "profiles/profile_graph_look.h"
#include "profiles/stereo_bands.h"

#include <algorithm>
#include <cmath>
#include <cwchar>

namespace
{

using Gdiplus::REAL;

constexpr int kLeastExtent = 60;
// The colour every band moves towards as it widens, and how far at full width.
constexpr float kWarmWhite[3] = {255.0f, 244.0f, 220.0f};
constexpr float kWarmthAtFullWidth = 0.18f;

constexpr Gdiplus::ARGB kSpineTop = 0x16FFFFFF;
constexpr Gdiplus::ARGB kSpineBottom = 0x08FFFFFF;
constexpr Gdiplus::ARGB kConnector = 0x10FFFFFF;
constexpr Gdiplus::ARGB kInnerGlowCentre = 0x98FFF8DC;
constexpr Gdiplus::ARGB kCore = 0xEEFFF8DC;
constexpr Gdiplus::ARGB kNameText = 0xFFB8BEC6;
constexpr Gdiplus::ARGB kValueText = 0xFFB6BCC4;

// An ellipse about `centre` filled from `centreColour` to `surroundColour` at its outline.
void FillGlow(Gdiplus::Graphics& graphics, Gdiplus::PointF centre, REAL radiusX, REAL radiusY,
              Gdiplus::Color centreColour, Gdiplus::Color surroundColour)
{
    Gdiplus::GraphicsPath ellipse;
    ellipse.AddEllipse(centre.X - radiusX, centre.Y - radiusY, 2 * radiusX, 2 * radiusY);
    Gdiplus::PathGradientBrush glow(&ellipse);
    glow.SetCenterPoint(centre);
    glow.SetCenterColor(centreColour);
    int count = 1;
    glow.SetSurroundColors(&surroundColour, &count);
    graphics.FillPath(&glow, &ellipse);
}

void DrawRing(Gdiplus::Graphics& graphics, const BloomBand& band, REAL scale, BYTE alpha)
{
    const Gdiplus::Pen ring(Gdiplus::ColorFromRef(band.color, alpha), 1.0f);
    const REAL rx = band.radiusX * scale;
    const REAL ry = band.radiusY * scale;
    graphics.DrawEllipse(&ring, band.centre.X - rx, band.centre.Y - ry, 2 * rx, 2 * ry);
}

} // namespace

std::vector<BloomBand> LayOutStereoBloom(const RECT& area, std::span<const double> widths)
{
    std::vector<BloomBand> bands;
    const int areaWidth = area.right - area.left;
    const int areaHeight = area.bottom - area.top;
    if (widths.empty() || areaWidth < kLeastExtent || areaHeight < kLeastExtent)
    {
        return bands;
    }
    const int centreX = (area.left + area.right) / 2;
    const int rowPitch = areaHeight / static_cast<int>(widths.size());
    const std::size_t count = std::min(widths.size(), kStereoBandCount);
    for (std::size_t i = 0; i < count; ++i)
    {
        const double w = !std::isfinite(widths[i]) ? 0.0 : std::clamp(widths[i], 0.0, 1.0);
        const float warmth = kWarmthAtFullWidth * static_cast<float>(w);
        BloomBand band;
        band.width = w;
        band.centre = Gdiplus::PointF(
            REAL(centreX), REAL(area.bottom - (static_cast<double>(i) + 0.5) * rowPitch));
        band.radiusX = REAL((1.85 * w + 0.78) * 0.12 * areaWidth);
        band.radiusY = REAL((1.45 * w + 0.8) * 0.055 * areaHeight);
        band.color = LiftChannels(kStereoBands[i].baseColor, 1.0f - warmth, kWarmWhite[0] * warmth,
                                  kWarmWhite[1] * warmth, kWarmWhite[2] * warmth);
        bands.push_back(band);
    }
    return bands;
}

CString BloomValueText(double width)
{
    wchar_t text[16];
    std::swprintf(text, std::size(text), L"%.0f%%", width * 100.0);
    return CString(text);
}

void PaintStereoBloom(Gdiplus::Graphics& graphics, const RECT& area, std::span<const double> widths,
                      BloomValueBox valueBox)
{
    const std::vector<BloomBand> bands = LayOutStereoBloom(area, widths);
    if (bands.empty())
    {
        return;
    }
    const REAL centreX = bands.front().centre.X;
    const Gdiplus::LinearGradientBrush spineBrush(
        Gdiplus::PointF(centreX, REAL(area.top)), Gdiplus::PointF(centreX, REAL(area.bottom)),
        Gdiplus::Color(kSpineTop), Gdiplus::Color(kSpineBottom));
    const Gdiplus::Pen spine(&spineBrush, 1.0f);
    graphics.DrawLine(&spine, centreX, REAL(area.top), centreX, REAL(area.bottom));

    const RoundCapPen connector(Gdiplus::Color(kConnector), 2.0);
    for (std::size_t i = 0; i + 1 < bands.size(); ++i)
    {
        graphics.DrawLine(&connector, bands[i].centre, bands[i + 1].centre);
    }

    for (std::size_t i = 0; i < bands.size(); ++i)
    {
        const BloomBand& band = bands[i];
        const Gdiplus::PointF c = band.centre;
        FillGlow(graphics, c, 1.5f * band.radiusX, 1.44f * band.radiusY,
                 Gdiplus::ColorFromRef(band.color, 0x8A), Gdiplus::ColorFromRef(band.color, 0));
        FillGlow(graphics, c, 0.6f * band.radiusX, 0.56f * band.radiusY,
                 Gdiplus::Color(kInnerGlowCentre), Gdiplus::ColorFromRef(band.color, 0x06));
        DrawRing(graphics, band, 0.74f, 0x2E);
        DrawRing(graphics, band, 1.12f, 0x1E);
        const Gdiplus::SolidBrush core{Gdiplus::Color(kCore)};
        graphics.FillEllipse(&core, c.X - 5, c.Y - 5, 10.0f, 10.0f);
        DrawControlText(graphics, kStereoBands[i].name, {8.5f}, kNameText,
                        Gdiplus::RectF(REAL(area.left - 4), c.Y - 7, 58, 14),
                        Gdiplus::StringAlignmentNear, Gdiplus::StringAlignmentNear);
        DrawControlText(graphics, BloomValueText(band.width).GetString(), {8.0f}, kValueText,
                        Gdiplus::RectF(REAL(area.right - valueBox.rightInset), c.Y - 6,
                                       REAL(valueBox.width), 12),
                        Gdiplus::StringAlignmentNear, Gdiplus::StringAlignmentNear);
    }
}
