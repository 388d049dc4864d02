// One paint of a control through its window, as the window system does it:
// invalidate, then UpdateWindow runs WM_PAINT and the whole paint pipeline
// (memory DC and bitmap, GDI+ on it, background, face, BitBlt). Each control
// adds itself to kControls.
#include "controls/base/base_control_wnd.h"
#include "controls/base/painting_helpers.h"
#include "controls/layout/control_item.h"
#include "controls/buttons/action_button_wnd.h"
#include "controls/buttons/breadcrumb_button_wnd.h"
#include "controls/buttons/curve_mode_selector_wnd.h"
#include "controls/buttons/round_transport_button_wnd.h"
#include "controls/displays/nixie_display_wnd.h"
#include "controls/displays/panel_light_wnd.h"
#include "controls/displays/seven_segment_display_wnd.h"
#include "controls/graphs/activity_graph_wnd.h"
#include "controls/graphs/correlation_meter_control_wnd.h"
#include "controls/graphs/energy_delta_graph_wnd.h"
#include "controls/graphs/goniometer_control_wnd.h"
#include "controls/graphs/peak_symmetry_graph_control_wnd.h"
#include "controls/graphs/stereo_field_graph_control_wnd.h"
#include "controls/graphs/tone_graph_wnd.h"
#include "controls/meters/compressor_meter_control_wnd.h"
#include "controls/meters/needle_meter_wnd.h"
#include "controls/meters/output_meter_wnd.h"
#include "controls/switches/ab_monitor_switch_wnd.h"
#include "controls/switches/menu_bar_wnd.h"
#include "controls/switches/segment_switch_wnd.h"
#include "controls/switches/toggle_switch_wnd.h"
#include "controls/knobs/master_knob_lmt_wnd.h"
#include "controls/knobs/master_knob_wnd.h"
#include "controls/knobs/small_knob_wnd.h"
#include "controls/knobs/small_stepped_knob_wnd.h"
#include "controls/knobs/stepped_knob_wnd.h"
#include "controls/sliders/horizontal_slider_wnd.h"
#include "controls/sliders/vertical_slider_wnd.h"
#include "controls/text/text_title_wnd.h"
#include "controls/text/text_caption_wnd.h"
#include "controls/text/text_caption_block_wnd.h"
#include "controls/text/text_label_strip_wnd.h"
#include "controls/text/text_block_wnd.h"
#include "controls/text/value_readout_wnd.h"
#include "controls/text/horizontal_divider_wnd.h"
#include "controls/text/vertical_divider_wnd.h"
#include "controls/waveform/waveform_strip_wnd.h"
#include "platform/backend/headless_backend.h"

#include <benchmark/benchmark.h>
#include <malloc.h>

#include <cmath>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace
{

// A second of wide noise-like stereo at `rate`, for the analysis graphs.
AudioBuffer WideStereo(int rate)
{
    AudioBuffer audio;
    audio.sampleRate = rate;
    std::uint32_t seed = 22;
    for (int i = 0; i < rate; ++i)
    {
        seed = seed * 1664525u + 1013904223u;
        const double left = double(seed >> 8) / double(1u << 24) - 0.5;
        seed = seed * 1664525u + 1013904223u;
        const double right = double(seed >> 8) / double(1u << 24) - 0.5;
        audio.samples.push_back(left);
        audio.samples.push_back(0.5 * left + 0.5 * right);
    }
    return audio;
}

// A control with no face of its own: what is timed is the pipeline and the
// standard background.
class CBenchBackgroundWnd : public CBaseControlWnd
{
public:
    struct State : CBaseControlWnd::State
    {
    };

    static void Draw(Gdiplus::Graphics&, const State&) {}
    State GetState() const
    {
        State state;
        state.snapshot = GetDrawState();
        return state;
    }

    BOOL Create(const RECT& rect, CWnd* parent, UINT id) override
    {
        return CreateControlWindow(rect, parent, id, IDC_ARROW, false);
    }
    CSize GetPreferredSize() const override { return CSize(240, 320); }

protected:
    afx_msg void OnPaint() { PaintControl(*this, &PaintControlBackground); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CBenchBackgroundWnd, CBaseControlWnd)
ON_WM_PAINT()
ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

struct BenchControl
{
    std::string name;
    std::function<std::unique_ptr<CBaseControlWnd>()> make;
    std::function<void(CBaseControlWnd&)> configure;
};

const std::vector<BenchControl> kControls = {
    {"blank", [] { return std::make_unique<CBenchBackgroundWnd>(); },
     [](CBaseControlWnd& c) { c.SetBlank(true); }},
    {"standard background", [] { return std::make_unique<CBenchBackgroundWnd>(); },
     [](CBaseControlWnd&) {}},
    {"output meter", [] { return std::make_unique<COutputMeterWnd>(); },
     [](CBaseControlWnd& c)
     {
         // Both bars lit to the top: one line per row.
         c.SetValueSilently(1.0);
         c.SetSecondaryValueSilently(1.0);
     }},
    {"compressor meter", [] { return std::make_unique<CCompressorMeterControlWnd>(); },
     [](CBaseControlWnd& c)
     {
         auto& meter = static_cast<CCompressorMeterControlWnd&>(c);
         meter.peakGainReductionDb = 9.0f;
         meter.gainReductionDb = 4.2f;
         meter.playing = true;
     }},
    {"needle meter", [] { return std::make_unique<CNeedleMeterWnd>(); },
     [](CBaseControlWnd& c) { c.SetValueSilently(0.7); }},
    {"action button", [] { return std::make_unique<CActionButtonWnd>(); }, [](CBaseControlWnd&) {}},
    {"breadcrumb button", [] { return std::make_unique<CBreadcrumbButtonWnd>(); },
     [](CBaseControlWnd&) {}},
    {"round transport button", [] { return std::make_unique<CRoundTransportButtonWnd>(); },
     [](CBaseControlWnd&) {}},
    {"curve mode selector", [] { return std::make_unique<CCurveModeSelectorWnd>(); },
     [](CBaseControlWnd&) {}},
    {"seven segment display", [] { return std::make_unique<CSevenSegmentDisplayWnd>(); },
     [](CBaseControlWnd& c) { c.SetTextValue(L"-9.8"); }},
    {"nixie display", [] { return std::make_unique<CNixieDisplayWnd>(); }, [](CBaseControlWnd&) {}},
    {"panel light", [] { return std::make_unique<CPanelLightWnd>(); },
     [](CBaseControlWnd& c) { c.SetValueSilently(1.0); }},
    {"correlation meter host", [] { return std::make_unique<CCorrelationMeterControlWnd>(); },
     [](CBaseControlWnd& c)
     {
         auto& graph = static_cast<CCorrelationMeterControlWnd&>(c).GetGraph();
         graph.SetAudio(WideStereo(48000));
         graph.SetCursor(0.5);
     }},
    {"goniometer 55 ms at 48 kHz", [] { return std::make_unique<CGoniometerControlWnd>(); },
     [](CBaseControlWnd& c)
     {
         auto& graph = static_cast<CGoniometerControlWnd&>(c).GetGraph();
         graph.SetAudio(WideStereo(48000));
         graph.SetCursor(0.5);
     }},
    {"goniometer 250 ms at 96 kHz", [] { return std::make_unique<CGoniometerControlWnd>(); },
     [](CBaseControlWnd& c)
     {
         auto& graph = static_cast<CGoniometerControlWnd&>(c).GetGraph();
         graph.SetAudio(WideStereo(96000));
         graph.SetCursor(0.5);
         graph.SetWindowSeconds(0.25);
     }},
    {"peak symmetry host", [] { return std::make_unique<CPeakSymmetryGraphControlWnd>(); },
     [](CBaseControlWnd& c)
     {
         auto& graph = static_cast<CPeakSymmetryGraphControlWnd&>(c).GetGraph();
         graph.SetAudio(WideStereo(48000));
         graph.SetCursor(0.5);
     }},
    {"toggle switch", [] { return std::make_unique<CToggleSwitchWnd>(); }, [](CBaseControlWnd&) {}},
    {"ab monitor switch", [] { return std::make_unique<CABMonitorSwitchWnd>(); },
     [](CBaseControlWnd& c) { c.SetValueSilently(1.0); }},
    {"segment switch", [] { return std::make_unique<CSegmentSwitchWnd>(); },
     [](CBaseControlWnd& c) { c.SetValueSilently(0.5); }},
    {"menu bar", [] { return std::make_unique<CMenuBarWnd>(); },
     [](CBaseControlWnd& c) {
         static_cast<CMenuBarWnd&>(c).SetItems({L"Apprentice", L"Maester", L"Codex"});
     }},
    {"master knob lmt", [] { return std::make_unique<CMasterKnobLMTWnd>(); },
     [](CBaseControlWnd& c) { c.SetValue(0.9); }},
    {"master knob", [] { return std::make_unique<CMasterKnobWnd>(); },
     [](CBaseControlWnd& c) { c.SetValue(0.6); }},
    {"small knob", [] { return std::make_unique<CSmallKnobWnd>(); },
     [](CBaseControlWnd& c) { c.SetValue(0.6); }},
    {"text title", [] { return std::make_unique<CTextTitleWnd>(); }, [](CBaseControlWnd&) {}},
    {"text caption", [] { return std::make_unique<CTextCaptionWnd>(); }, [](CBaseControlWnd&) {}},
    {"text caption block", [] { return std::make_unique<CTextCaptionBlockWnd>(); },
     [](CBaseControlWnd&) {}},
    {"text label strip", [] { return std::make_unique<CTextLabelStripWnd>(); },
     [](CBaseControlWnd&) {}},
    {"text block", [] { return std::make_unique<CTextBlockWnd>(); }, [](CBaseControlWnd&) {}},
    {"value readout", [] { return std::make_unique<CValueReadoutWnd>(); }, [](CBaseControlWnd&) {}},
    {"horizontal divider", [] { return std::make_unique<CHorizontalDividerWnd>(); },
     [](CBaseControlWnd&) {}},
    {"vertical divider", [] { return std::make_unique<CVerticalDividerWnd>(); },
     [](CBaseControlWnd&) {}},
    {"stepped knob 32 steps", [] { return std::make_unique<CSteppedKnobWnd>(); },
     [](CBaseControlWnd& c)
     {
         ControlItem item;
         item.label = "Style";
         item.stepCount = 32;
         item.selectedIndex = 20;
         c.ApplyItem(item);
     }},
    {"small stepped knob 32 steps", [] { return std::make_unique<CSmallSteppedKnobWnd>(); },
     [](CBaseControlWnd& c)
     {
         ControlItem item;
         item.label = "Mode";
         item.stepCount = 32;
         item.selectedIndex = 20;
         c.ApplyItem(item);
     }},
    {"horizontal slider", [] { return std::make_unique<CHorizontalSliderWnd>(); },
     [](CBaseControlWnd& c) { c.SetValueSilently(0.6); }},
    {"vertical slider", [] { return std::make_unique<CVerticalSliderWnd>(); },
     [](CBaseControlWnd& c) { c.SetValueSilently(0.6); }},
};

void PaintThroughTheWindow(benchmark::State& state, const BenchControl& row)
{
    brvl::backend::HeadlessSession session;
    CWnd parent;
    const LPCTSTR cls = AfxRegisterWndClass(0);
    parent.CreateEx(0, cls, L"", WS_POPUP | WS_VISIBLE, 0, 0, 800, 600, nullptr, nullptr);
    const std::unique_ptr<CBaseControlWnd> control = row.make();
    control->Create(CRect(CPoint(10, 10), control->GetPreferredSize()), &parent, 1);
    row.configure(*control);
    for (auto _ : state)
    {
        // Hosts paint their graphs in child windows: those are painted too.
        control->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    }
    state.SetLabel(std::to_string(control->GetPreferredSize().cx) + " x " +
                   std::to_string(control->GetPreferredSize().cy));
}

const bool kRegistered = []
{
    for (const BenchControl& row : kControls)
    {
        benchmark::RegisterBenchmark(("Paint/" + row.name).c_str(), PaintThroughTheWindow, row)
            ->Unit(benchmark::kMicrosecond);
    }
    return true;
}();

// The waveform strip is a plain window: its costs are the one pass over a
// loaded track, a full paint and the play-head tick of the 30 ms timer.

// Ten minutes of 48 kHz stereo (460 MB of samples), made once.
const AudioBuffer& TenMinuteTrack()
{
    static const AudioBuffer track = []
    {
        AudioBuffer audio;
        audio.sampleRate = 48000;
        audio.samples.resize(std::size_t(2) * 48000 * 600);
        std::uint32_t seed = 26;
        for (double& sample : audio.samples)
        {
            seed = seed * 1664525u + 1013904223u;
            sample = double(seed >> 8) / double(1u << 24) - 0.5;
        }
        return audio;
    }();
    return track;
}

// Bytes held from the heap, large blocks (which malloc maps apart) included.
double HeapInUse()
{
    const struct mallinfo2 info = mallinfo2();
    return double(info.uordblks) + double(info.hblkhd);
}

struct StripBench
{
    brvl::backend::HeadlessSession session;
    CWnd parent;
    CWaveformStripWnd strip;

    StripBench()
    {
        parent.CreateEx(0, AfxRegisterWndClass(0), L"", WS_POPUP | WS_VISIBLE, 0, 0, 1700, 200,
                        nullptr, nullptr);
        strip.Create(&parent, CRect(0, 0, 1600, 140), 8705);
        strip.SetDuration(12);
        strip.SetViewRange(2, 6.5, false);
        strip.SetPlayhead(2);
        strip.SetPlaybackState(false, true);
    }
};

void WaveformSetPeaks(benchmark::State& state)
{
    const AudioBuffer& track = TenMinuteTrack();
    StripBench bench;
    double heapGrowth = 0;
    for (auto _ : state)
    {
        bench.strip.SetPeaks(AudioBuffer{}); // starts each pass from no columns
        const double before = HeapInUse();
        bench.strip.SetPeaks(track);
        heapGrowth = HeapInUse() - before;
    }
    state.counters["heap_growth_bytes"] = heapGrowth;
    state.SetBytesProcessed(int64_t(state.iterations()) *
                            int64_t(track.samples.size() * sizeof(double)));
}

void WaveformPaint(benchmark::State& state)
{
    StripBench bench;
    bench.strip.SetPeaks(TenMinuteTrack());
    bench.strip.SetViewRange(200, 260, false);
    bench.strip.SetPlayhead(230);
    for (auto _ : state)
    {
        bench.strip.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    }
    state.SetLabel("1600 x 140");
}

void WaveformPlayheadTick(benchmark::State& state)
{
    StripBench bench;
    bench.strip.SetPeaks(TenMinuteTrack());
    bench.strip.SetViewRange(200, 260, false);
    bench.strip.UpdateWindow();
    double t = 200;
    for (auto _ : state)
    {
        t = t < 259 ? t + 0.03 : 200;
        bench.strip.SetPlayhead(t);
        bench.strip.UpdateWindow();
    }
    state.SetLabel("SetPlayhead + band paint, 1600 x 140");
}

// The Codex page's graphs are plain windows with no host: one paint, the
// analysis of both copies included, at the page's size with the longest
// window (0.25 s, 24,000 frames at 96 kHz).
template <typename Graph> void PaintCodexGraph(benchmark::State& state)
{
    brvl::backend::HeadlessSession session;
    CWnd parent;
    parent.CreateEx(0, AfxRegisterWndClass(0), L"", WS_POPUP | WS_VISIBLE, 0, 0, 800, 500, nullptr,
                    nullptr);
    Graph graph;
    graph.Create(&parent, CRect(0, 0, 720, 400), 1);
    const AudioBuffer wide = WideStereo(96000);
    AudioBuffer louder = wide;
    for (double& sample : louder.samples)
    {
        sample *= 1.3;
    }
    graph.SetSourceAudio(wide);
    graph.SetProcessedAudio(louder);
    graph.SetCursor(0.5);
    graph.SetWindowSeconds(0.25);
    for (auto _ : state)
    {
        graph.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    }
    state.SetLabel("720 x 400, 0.25 s at 96 kHz");
}

BENCHMARK(PaintCodexGraph<CStereoFieldGraphWnd>)
    ->Name("Paint/stereo field graph")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(PaintCodexGraph<CToneGraphWnd>)->Name("Paint/tone graph")->Unit(benchmark::kMicrosecond);

BENCHMARK(WaveformSetPeaks)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(WaveformPaint)->Unit(benchmark::kMicrosecond);
BENCHMARK(WaveformPlayheadTick)->Unit(benchmark::kMicrosecond);

// The Codex page's graphs are plain windows that the page feeds: each bench
// gives its graph a parent of its own.
struct CodexGraphBench
{
    brvl::backend::HeadlessSession session;
    CWnd parent;

    CodexGraphBench()
    {
        parent.CreateEx(0, AfxRegisterWndClass(0), L"", WS_POPUP | WS_VISIBLE, 0, 0, 1100, 500,
                        nullptr, nullptr);
    }
};

// `seconds` of 48 kHz noise-like stereo at `level`, with the gain reduction a
// limiter and a compressor report at 100 values a second.
AudioBuffer ProcessedLike(double seconds, double level)
{
    AudioBuffer audio;
    audio.sampleRate = 48000;
    audio.samples.resize(std::size_t(2 * 48000 * seconds));
    std::uint32_t seed = 34;
    for (double& sample : audio.samples)
    {
        seed = seed * 1664525u + 1013904223u;
        sample = level * (double(seed >> 8) / double(1u << 24) - 0.5);
    }
    for (const char* key : {kLimiterReductionKey, kDynamicsReductionKey})
    {
        MeterSeries series{key, 100, {}};
        for (int i = 0; i < int(seconds * 100); ++i)
        {
            series.values.push_back(float(3 + 3 * std::sin(i * 0.01)));
        }
        audio.meterSeries.push_back(series);
    }
    return audio;
}

// One pass over each of two four-minute buffers into 480 columns.
void ActivityRebuildEnvelopes(benchmark::State& state)
{
    CActivityGraphWnd graph;
    graph.sourceAudio = ProcessedLike(240, 0.5);
    graph.processedAudio = ProcessedLike(240, 1.0);
    for (auto _ : state)
    {
        graph.RebuildEnvelopes();
    }
    state.SetBytesProcessed(
        int64_t(state.iterations()) *
        int64_t((graph.sourceAudio.samples.size() + graph.processedAudio.samples.size()) *
                sizeof(double)));
    state.SetLabel("2 x 240 s at 48 kHz");
}

void ActivityPaint(benchmark::State& state)
{
    CodexGraphBench bench;
    CActivityGraphWnd graph;
    graph.Create(&bench.parent, CRect(0, 0, 960, 400));
    graph.SetSourceAudio(ProcessedLike(30, 0.5));
    graph.SetProcessedAudio(ProcessedLike(30, 1.0));
    graph.SetCursorFraction(0.4);
    graph.SetPlaying(true);
    for (auto _ : state)
    {
        graph.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    }
    state.SetLabel("960 x 400, both traces");
}

// Both copies measured at the cursor: 18 bands x 7 probes over 4096 points each.
void EnergyPaint(benchmark::State& state)
{
    CodexGraphBench bench;
    CEnergyDeltaGraphWnd graph;
    graph.Create(&bench.parent, CRect(0, 0, 480, 260));
    graph.SetSourceAudio(WideStereo(96000));
    AudioBuffer louder = WideStereo(96000);
    for (double& sample : louder.samples)
    {
        sample *= 1.4;
    }
    graph.SetProcessedAudio(louder);
    graph.SetCursor(0.5);
    for (auto _ : state)
    {
        graph.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    }
    state.SetLabel("480 x 260, 0.12 s at 96 kHz, Delta");
}

BENCHMARK(EnergyPaint)->Unit(benchmark::kMicrosecond);
BENCHMARK(ActivityRebuildEnvelopes)->Unit(benchmark::kMillisecond);
BENCHMARK(ActivityPaint)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
