// The graph feeds of a control grid viewport, as the main view's 30 ms timer
// calls them. The first row makes the nine cursor feeds over four graph hosts
// and two compressor meters when nothing has moved: they should cost next to
// nothing (aim: under 0.05 ms). The second row feeds an unchanged 10 s buffer
// at 48 kHz to a goniometer: one comparison of the samples, no copy (aim:
// under 3 ms).
#include "grid/control_grid_viewport_wnd.h"

#include "platform/backend/headless_backend.h"
#include "platform/mfc/afxwin.h"
#include "platform/win32/message_loop.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <string>
#include <vector>

namespace
{

struct Fixture
{
    brvl::backend::HeadlessSession session;
    CWnd top;
    CControlGridViewportWnd viewport;

    explicit Fixture(const std::vector<ControlKind>& kinds)
    {
        top.CreateEx(0, AfxRegisterWndClass(0), L"", WS_POPUP | WS_VISIBLE, 0, 0, 1400, 900,
                     nullptr, nullptr);
        viewport.Create(CRect(0, 0, 1400, 900), &top, 8725);
        std::vector<ControlItem> items;
        for (size_t i = 0; i < kinds.size(); ++i)
        {
            ControlItem item;
            item.kind = kinds[i];
            item.parameterId = "g" + std::to_string(i);
            items.push_back(item);
        }
        viewport.panel.RebuildControls(items);
        viewport.LayoutChildren();
        PumpPendingMessages();
    }
};

AudioBuffer TenSeconds()
{
    AudioBuffer buffer;
    buffer.sampleRate = 48000;
    buffer.samples.resize(2 * 10 * 48000);
    for (size_t i = 0; i < buffer.samples.size(); ++i)
    {
        buffer.samples[i] = 0.5 * std::sin(0.001 * static_cast<double>(i));
    }
    return buffer;
}

void CursorFeedsUnmoved(benchmark::State& state)
{
    Fixture f({ControlKind::StereoFieldGraph, ControlKind::CorrelationMeter,
               ControlKind::Goniometer, ControlKind::PeakSymmetryGraph,
               ControlKind::CompressorMeter, ControlKind::CompressorMeter});
    const auto feedAll = [&]
    {
        CControlGridViewportWnd& v = f.viewport;
        v.SetStereoFieldCursor(1.0, 0.05, true);
        v.SetCorrelationMeterCursor(1.0, 0.05, true);
        v.SetGoniometerCursor(1.0, 0.05, true);
        v.SetCompressorMeterCursor(1.0, true);
        v.SetPeakSymmetryCursor(1.0, 0.05, true);
        v.SetCorrelationMeterCursor(1.0, 0.05, true);
        v.SetGoniometerCursor(1.0, 0.05, true);
        v.SetCompressorMeterCursor(1.0, true);
        v.SetPeakSymmetryCursor(1.0, 0.05, true);
    };
    feedAll();
    PumpPendingMessages();
    for (auto _ : state)
    {
        feedAll();
    }
    state.SetLabel("nine feeds, six controls; the stereo field repaints on every call");
}

void UnchangedTenSecondBuffer(benchmark::State& state)
{
    Fixture f({ControlKind::Goniometer});
    const AudioBuffer buffer = TenSeconds();
    f.viewport.SetGoniometerData(buffer);
    PumpPendingMessages();
    for (auto _ : state)
    {
        f.viewport.SetGoniometerData(buffer);
    }
}

} // namespace

BENCHMARK(CursorFeedsUnmoved)->Unit(benchmark::kMicrosecond);
BENCHMARK(UnchangedTenSecondBuffer)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
