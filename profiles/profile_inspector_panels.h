#pragma once

#include "controls/base/control_text.h"
#include "engine/profiles/reference_profile.h"
#include "platform/gdiplus/gdiplus.h"
#include "profiles/stereo_bands.h"

#include <array>
#include <optional>
#include <span>
#include <vector>

// The two large panels of the profile inspector: the tone map (the mid and
// side spectra over a log-frequency axis) and the stereo width panel in one of
// its three views. They keep no state; the inspector draws them on its own
// graphics into the rectangles of its layout.

// A text as the inspector draws its titles, values and labels: from the
// top-left corner of `box`.
void DrawInspectorText(Gdiplus::Graphics& graphics, const wchar_t* text, ControlFont font,
                       Gdiplus::ARGB color, const Gdiplus::RectF& box);

// How the tone map reads a profile's spectra.
struct ToneMapScale
{
    double sampleRate = 44100;
    double fftSize = 4;
    std::size_t bins = 0; // the shorter spectrum's length
    double maxHz = 0;     // the highest frequency shown
    // The finite levels' range, and that range widened by 8 % at each end.
    double lowDb = -80;
    double highDb = 0;
    double yMin = -86.4;
    double yMax = 6.4;

    // Curves and frequency lines need two bins and an axis above 20 Hz.
    bool HasAxis() const { return bins >= 2 && maxHz > 20.0; }
};

ToneMapScale ToneMapScaleOf(const ReferenceProfile& profile);

// Where `hz` lies on the axis from 20 Hz to `maxHz`, 0..1.
double ToneMapFraction(double hz, double maxHz);

// One frequency line of the tone map that is drawn: its x and label.
struct ToneMapFrequencyLine
{
    double x;
    const wchar_t* label;
};

// The lines between `plotLeft` and `plotRight`: none above `maxHz`, none
// within 6 pixels of either edge.
std::vector<ToneMapFrequencyLine> ToneMapFrequencyLines(int plotLeft, int plotRight, double maxHz);

// The spectrum's level in each of `columns` plot columns, on the log axis,
// before smoothing; a level that is not finite is replaced by the nearer end
// of the scale's range (NaN by the lowest). Empty without an axis.
std::vector<double> ToneCurveColumnValues(const std::vector<double>& spectrum, int columns,
                                          const ToneMapScale& scale);

// One point per column of `plot`, the column values smoothed and mapped to y.
std::vector<Gdiplus::PointF> BuildToneCurvePoints(const std::vector<double>& spectrum,
                                                  const RECT& plot, const ToneMapScale& scale);

// A curve's fill, glow and line; nothing for a spectrum of fewer than two
// values or fewer than two points.
struct ToneCurveLook
{
    COLORREF color;
    Gdiplus::REAL width;
    BYTE glowAlpha;
};
void DrawToneCurve(Gdiplus::Graphics& graphics, const RECT& plot,
                   const std::vector<double>& spectrum, const std::vector<Gdiplus::PointF>& points,
                   ToneCurveLook look);

void DrawToneMap(Gdiplus::Graphics& graphics, const RECT& panel, const ReferenceProfile& profile);

// The stereo width of the profile's six bands, 0..1 each.
std::array<double, kStereoBandCount> ComputeBandWidths(const ReferenceProfile& profile);

// The width panel's view and how the pointer stands over it.
struct WidthPanelLook
{
    int viewMode = 0; // 0 field bloom, 1 width contour, 2 width by band
    bool hover = false;
    bool pressed = false;
};

const wchar_t* WidthViewTitle(int viewMode);

void DrawWidthPanel(Gdiplus::Graphics& graphics, const RECT& panel, const ReferenceProfile& profile,
                    WidthPanelLook look);

void DrawFieldBloom(Gdiplus::Graphics& graphics, const RECT& panel, std::span<const double> widths);
void DrawWidthContour(Gdiplus::Graphics& graphics, const RECT& panel,
                      std::span<const double> widths);
void DrawWidthByBand(Gdiplus::Graphics& graphics, const RECT& panel,
                     std::span<const double> widths);

// The scale under the bars: "Mono", "Focused", "Balanced", "Wide".
inline constexpr std::size_t kWidthScaleLabelCount = 4;

// Where each scale label starts, from the labels' measured widths (whole
// pixels), or none where it would leave the bar or start within 10 pixels of
// the label drawn before it.
std::array<std::optional<int>, kWidthScaleLabelCount>
PlaceWidthScaleLabels(int barLeft, int barWidth,
                      const std::array<int, kWidthScaleLabelCount>& labelWidths);
