// One paint of the Codex page's preview graph through its window, as the
// window system does it on every 30 ms tick while monitoring plays.
#include "pages/preview_graph_wnd.h"
#include "platform/backend/headless_backend.h"
#include "tests/support/signals.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <numbers>

namespace
{

// Ten seconds at 48 kHz with a swelling level and both gain-reduction series
// at 100 values a second, as a preview run leaves them.
AudioBuffer TenSecondPreview(double level)
{
    AudioBuffer audio = StereoSine(220, 48000, 10.0, level);
    for (std::size_t i = 0; i < audio.FrameCount(); ++i)
    {
        const double swell = 0.55 + 0.45 * std::sin(2 * std::numbers::pi * 2 * double(i) / 48000);
        audio.samples[2 * i] *= swell;
        audio.samples[2 * i + 1] *= swell;
    }
    MeterSeries limiter{"stage4.gain_reduction_db", 100, std::vector<float>(1000)};
    MeterSeries dynamics{"dynamics.gain_reduction_db", 100, std::vector<float>(1000)};
    for (std::size_t i = 0; i < 1000; ++i)
    {
        limiter.values[i] = float(std::max(0.0, 6 * std::sin(0.13 * double(i))));
        dynamics.values[i] = float(3 + 2.5 * std::sin(0.044 * double(i)));
    }
    audio.meterSeries = {limiter, dynamics};
    return audio;
}

void PreviewGraphPaint(benchmark::State& state)
{
    brvl::backend::HeadlessSession session;
    CWnd parent;
    parent.CreateEx(0, AfxRegisterWndClass(0), L"", WS_POPUP | WS_VISIBLE, 0, 0, 1300, 500, nullptr,
                    nullptr);
    CPreviewGraphWnd graph;
    graph.Create(&parent, CRect(0, 0, 1200, 400));
    graph.SetSourceAudio(TenSecondPreview(0.5));
    graph.SetProcessedAudio(TenSecondPreview(0.8));
    graph.SetWindowSeconds(0.055);
    graph.SetShowRms(true);
    double cursor = 1.0;
    for (auto _ : state)
    {
        cursor = cursor > 9.0 ? 1.0 : cursor + 0.03;
        graph.SetCursor(cursor);
        graph.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    }
    state.SetLabel("1200 x 400, 0.055 s window of a 10 s preview, RMS and both lanes");
}

} // namespace

BENCHMARK(PreviewGraphPaint)->Name("Paint/preview graph")->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
