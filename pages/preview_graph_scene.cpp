#include "pages/preview_graph_scene.h"

#include "controls/graphs/graph_feed.h"
#include "controls/meters/meter_scales.h"

#include <algorithm>
#include <cmath>

namespace
{

using Gdiplus::PointF;

constexpr double kLaneRangeDb = 12.0;

double FiniteOrZero(double value)
{
    return std::isfinite(value) ? value : 0.0;
}

// A time (already held to the audio) as a frame index within it.
std::size_t FrameAt(double seconds, int rate, std::size_t frames)
{
    const double frame = std::clamp(std::trunc(seconds * rate), 0.0, double(frames - 1));
    return static_cast<std::size_t>(frame);
}

double ColumnValue(const AudioBuffer& audio, std::size_t a, std::size_t b, EnvelopeMode mode)
{
    const std::size_t end = a < b ? b : a + 1;
    double peak = 0.0;
    double squares = 0.0;
    for (std::size_t f = a; f < end; ++f)
    {
        const double mono =
            std::fabs((Finite(audio.samples[2 * f]) + Finite(audio.samples[2 * f + 1])) * 0.5);
        peak = std::max(peak, mono);
        squares += mono * mono;
    }
    const double value = mode == EnvelopeMode::Peak ? peak : std::sqrt(squares / double(end - a));
    return std::clamp(FiniteOrZero(value), 0.0, 1.0);
}

// Rises fast and falls slowly, then a three-tap blur of the inner columns.
std::vector<double> SmoothEnvelope(const std::vector<double>& columns)
{
    if (columns.size() < 2)
    {
        return columns;
    }
    std::vector<double> follow(columns.size());
    follow[0] = columns[0];
    for (std::size_t i = 1; i < columns.size(); ++i)
    {
        const double step = columns[i] - follow[i - 1];
        follow[i] = follow[i - 1] + step * (columns[i] > follow[i - 1] ? 0.62 : 0.18);
    }
    std::vector<double> smooth = follow;
    for (std::size_t i = 1; i + 1 < follow.size(); ++i)
    {
        smooth[i] = 0.24 * follow[i - 1] + 0.52 * follow[i] + 0.24 * follow[i + 1];
    }
    return smooth;
}

const MeterSeries* FindSeries(const AudioBuffer& audio, const char* key)
{
    for (const MeterSeries& series : audio.meterSeries)
    {
        if (series.key == key)
        {
            return &series;
        }
    }
    return nullptr;
}

bool HasTwoSamples(const AudioBuffer* audio)
{
    return audio != nullptr && audio->samples.size() >= 2;
}

std::vector<PointF> EnvelopePoints(const std::vector<double>& values, const Gdiplus::RectF& plot,
                                   float baseline, double scale)
{
    std::vector<PointF> points;
    points.reserve(values.size());
    const double last = double(std::max<std::size_t>(values.size(), 2) - 1);
    for (std::size_t i = 0; i < values.size(); ++i)
    {
        points.emplace_back(float(plot.X + double(i) / last * plot.Width),
                            float(baseline - scale * values[i]));
    }
    return points;
}

PreviewEnvelopeShape EnvelopeShape(const std::vector<double>& peak, const std::vector<double>& rms,
                                   const Gdiplus::RectF& plot, float baseline, double scale)
{
    return {EnvelopePoints(peak, plot, baseline, scale),
            EnvelopePoints(rms, plot, baseline, scale)};
}

} // namespace

std::vector<double> PreviewEnvelope(const AudioBuffer& audio, double startSec, double windowSec,
                                    int columns, EnvelopeMode mode)
{
    const std::size_t n = std::size_t(std::max(columns, 0));
    std::vector<double> values(n, 0.0);
    if (audio.sampleRate <= 0 || audio.samples.size() < 2)
    {
        return values;
    }
    const std::size_t frames = audio.FrameCount();
    const double duration = double(frames) / audio.sampleRate;
    const double start = FiniteOrZero(startSec);
    const double window = FiniteOrZero(windowSec);
    for (std::size_t d = 0; d < n; ++d)
    {
        const double t0 =
            std::clamp(FiniteOrZero(start + double(d) / double(n) * window), 0.0, duration);
        const double t1 =
            std::clamp(FiniteOrZero(start + double(d + 1) / double(n) * window), 0.0, duration);
        values[d] = ColumnValue(audio, FrameAt(t0, audio.sampleRate, frames),
                                FrameAt(t1, audio.sampleRate, frames), mode);
    }
    return SmoothEnvelope(values);
}

double CatmullRom(double p0, double p1, double p2, double p3, double u)
{
    return 0.5 * (2 * p1 + (p2 - p0) * u + (2 * p0 - 5 * p1 + 4 * p2 - p3) * u * u +
                  (3 * p1 - p0 - 3 * p2 + p3) * u * u * u);
}

std::vector<PointF> PreviewLanePoints(const MeterSeries& series, double startSec, double windowSec,
                                      float left, int width, float laneTop, float height)
{
    if (!(series.rate > 0) || !std::isfinite(series.rate) || series.values.size() < 2 || width < 2)
    {
        return {};
    }
    const std::size_t count = series.values.size();
    const auto at = [&series, count](std::ptrdiff_t index)
    {
        const std::ptrdiff_t held = std::clamp<std::ptrdiff_t>(index, 0, std::ptrdiff_t(count) - 1);
        return FiniteOrZero(series.values[std::size_t(held)]);
    };
    const double start = FiniteOrZero(startSec);
    const double window = FiniteOrZero(windowSec);
    std::vector<double> ys(static_cast<std::size_t>(width));
    for (int i = 0; i < width; ++i)
    {
        const double t = start + double(i) / double(width - 1) * window;
        const double p = std::clamp(FiniteOrZero(t * series.rate), 0.0, double(count - 1));
        const double k = std::floor(p);
        const double u = std::clamp(p - k, 0.0, 1.0);
        const auto index = std::ptrdiff_t(k);
        const double value =
            std::clamp(CatmullRom(at(index - 1), at(index), at(index + 1), at(index + 2), u), 0.0,
                       kLaneRangeDb);
        ys[std::size_t(i)] = laneTop + value / kLaneRangeDb * height;
    }
    std::vector<PointF> points;
    points.reserve(ys.size());
    for (std::size_t i = 0; i < ys.size(); ++i)
    {
        const bool inner = i > 0 && i + 1 < ys.size();
        const double y = inner ? 0.56 * ys[i] + 0.22 * ys[i - 1] + 0.22 * ys[i + 1] : ys[i];
        points.emplace_back(left + float(i), float(y));
    }
    return points;
}

CString PreviewGraphCaption(double windowSec, double centreSec)
{
    CString caption;
    caption.Format(L"Window %.0f ms  Center %.3fs", FiniteOrZero(windowSec) * 1000.0,
                   FiniteOrZero(centreSec));
    return caption;
}

PreviewGraphScene ComposePreviewGraph(const PreviewGraphInput& input, CSize size)
{
    PreviewGraphScene scene;
    scene.size = size;
    scene.markerX = float(size.cx) / 2;
    scene.caption = PreviewGraphCaption(input.windowSec, input.centreSec);

    const double window = std::max(FiniteOrZero(input.windowSec), kShortestPreviewWindowSec);
    const double start = FiniteOrZero(input.centreSec) - window * 0.5;
    const int plotWidth = (size.cx - 18) - 18;
    const int plotHeight = (size.cy - 26) - 28;
    scene.plot = Gdiplus::RectF(18, 28, float(plotWidth), float(plotHeight));

    scene.plotShown = plotWidth > 31 && plotHeight > 31;
    if (scene.plotShown)
    {
        const int columns = std::clamp(plotWidth, 120, 1200);
        const AudioBuffer none;
        const AudioBuffer& source = input.source != nullptr ? *input.source : none;
        const AudioBuffer& output = input.output != nullptr ? *input.output : none;
        const auto envelope = [&](const AudioBuffer& audio, EnvelopeMode mode)
        { return PreviewEnvelope(audio, start, window, columns, mode); };
        const std::vector<double> sourcePeak = envelope(source, EnvelopeMode::Peak);
        const std::vector<double> outputPeak = envelope(output, EnvelopeMode::Peak);
        std::vector<double> sourceRms;
        std::vector<double> outputRms;
        if (input.showRms)
        {
            sourceRms = envelope(source, EnvelopeMode::Rms);
            outputRms = envelope(output, EnvelopeMode::Rms);
        }
        double largest = 0.0;
        for (const double value : sourcePeak)
        {
            largest = std::max(largest, value);
        }
        for (const double value : outputPeak)
        {
            largest = std::max(largest, value);
        }
        scene.scale = plotHeight * 0.78 / (largest > 0.001 ? largest : 1.0);
        scene.baseline = float(size.cy - 36);
        scene.outputShown = HasTwoSamples(input.output);
        scene.sourceShown = HasTwoSamples(input.source);
        scene.output =
            EnvelopeShape(outputPeak, outputRms, scene.plot, scene.baseline, scene.scale);
        scene.source =
            EnvelopeShape(sourcePeak, sourceRms, scene.plot, scene.baseline, scene.scale);
    }

    const double laneSpace = plotHeight * 0.34 - 14;
    if (laneSpace > 16 && input.output != nullptr)
    {
        const float height = float(laneSpace * 0.5 - 2);
        const struct
        {
            const wchar_t* label;
            const MeterSeries* series;
            Gdiplus::ARGB line;
            Gdiplus::ARGB fill;
            float top;
        } lanes[] = {
            {L"Limiter GR", FindSeries(*input.output, "stage4.gain_reduction_db"), 0xFFC200,
             0x3076E29C, 42.0f},
            {L"Dynamics GR", FindDynamicsGainReductionSeries(*input.output), 0x82C8FF, 0x303C78C8,
             float(42 + laneSpace * 0.5)},
        };
        for (const auto& lane : lanes)
        {
            if (lane.series == nullptr)
            {
                continue;
            }
            std::vector<PointF> points = PreviewLanePoints(
                *lane.series, start, window, scene.plot.X, plotWidth, lane.top, height);
            if (!points.empty())
            {
                scene.lanes.push_back(
                    {lane.label, lane.line, lane.fill, lane.top, std::move(points)});
            }
        }
    }
    return scene;
}
