// What every custom-drawn control promises, checked over one table: a control
// joins by adding its row to kControlRows.

#include "controls/text/text_title_wnd.h"
#include "controls/text/text_caption_wnd.h"
#include "controls/text/text_caption_block_wnd.h"
#include "controls/text/text_label_strip_wnd.h"
#include "controls/text/text_block_wnd.h"
#include "controls/text/value_readout_wnd.h"
#include "controls/text/horizontal_divider_wnd.h"
#include "controls/text/vertical_divider_wnd.h"
#include "tests/controls/probe_control_wnd.h"
#include "tests/controls/test_slider_wnd.h"

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
#include "tests/controls/waveform/waveform_strip_conformance.h"
#include "controls/knobs/small_stepped_knob_wnd.h"
#include "controls/knobs/stepped_knob_wnd.h"
#include "controls/sliders/horizontal_slider_wnd.h"
#include "controls/sliders/vertical_slider_wnd.h"
#include "grid/grid_offset_bar_wnd.h"

#include "platform/backend/headless_backend.h"
#include "platform/gdiplus/gdiplus.h"
#include "platform/mfc/afxwin.h"
#include "platform/mfc/status_bar.h"
#include "platform/win32/handler_errors.h"
#include "platform/win32/message_loop.h"
#include "platform/win32/window_picture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <limits>
#include <memory>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace
{

constexpr UINT kControlId = 1201;

struct ControlRow
{
    const char* name; // the class
    CSize size;       // a usual size, for its pictures
    // Creates it in `parent` at `rect`, with `id`; null on failure.
    std::unique_ptr<CWnd> (*create)(CWnd& parent, const CRect& rect, UINT id);
    // Paints its snapshot at `size` with its Draw.
    void (*drawAt)(Gdiplus::Graphics& graphics, CWnd& control, CSize size);
    // Gives `value` to every value setter; null for a control without one.
    void (*setEveryValue)(CWnd& control, double value, bool silent) = nullptr;
    // Every value it holds; null when it holds none.
    std::vector<double> (*values)(CWnd& control) = nullptr;
    // Whether the user's mouse and keys make it notify its parent.
    bool notifies = false;
    // Turns its input off; null for a window disabled as any window is.
    void (*disable)(CWnd& control) = nullptr;
    // Disabled, it still follows the user and only keeps its messages back.
    bool followsInputWhileDisabled = false;
};

void Disable(const ControlRow& row, CWnd& control)
{
    if (row.disable != nullptr)
    {
        row.disable(control);
    }
    else
    {
        control.EnableWindow(FALSE);
    }
}

// Rows of the controls built on CBaseControlWnd share these.
template <typename Control>
std::unique_ptr<CWnd> CreateControl(CWnd& parent, const CRect& rect, UINT id)
{
    auto control = std::make_unique<Control>();
    return control->Create(rect, &parent, id) ? std::move(control) : nullptr;
}

void SetEveryBaseValue(CWnd& control, double value, bool silent)
{
    auto& base = static_cast<CBaseControlWnd&>(control);
    if (silent)
    {
        base.SetValueSilently(value);
        base.SetSecondaryValueSilently(value);
        return;
    }
    base.SetValue(value);
    base.SetSecondaryValue(value);
    base.SetDefaultValue(value);
    base.SetDisplayValue(value);
}

std::vector<double> BaseValues(CWnd& control)
{
    const auto& base = static_cast<CBaseControlWnd&>(control);
    return {base.GetValue(), base.GetSecondaryValue(), base.GetDefaultValue(),
            base.GetDisplayValue()};
}

// The analysis graphs inside the hosts are plain windows.
template <typename Graph>
std::unique_ptr<CWnd> CreateGraph(CWnd& parent, const CRect& rect, UINT id)
{
    auto graph = std::make_unique<Graph>();
    return graph->Create(&parent, rect, id) ? std::move(graph) : nullptr;
}

// The Codex graphs, fed a little wide stereo so their rows paint content.
template <typename Graph>
std::unique_ptr<CWnd> CreateFedGraph(CWnd& parent, const CRect& rect, UINT id)
{
    auto graph = std::make_unique<Graph>();
    if (!graph->Create(&parent, rect, id))
    {
        return nullptr;
    }
    AudioBuffer audio;
    audio.sampleRate = 48000;
    for (int i = 0; i < 9600; ++i)
    {
        audio.samples.push_back(0.5 * std::sin(i * 0.13));
        audio.samples.push_back(0.4 * std::sin(i * 0.071 + 1.0));
    }
    graph->SetSourceAudio(audio);
    for (double& sample : audio.samples)
    {
        sample *= 1.2;
    }
    graph->SetProcessedAudio(audio);
    graph->SetCursor(0.1);
    return graph;
}

void DisableBase(CWnd& control)
{
    static_cast<CBaseControlWnd&>(control).SetDisabled(true);
}

template <typename Control>
void DrawSnapshot(Gdiplus::Graphics& graphics, CWnd& control, CSize size)
{
    typename Control::State state = static_cast<Control&>(control).GetState();
    state.size = size;
    Control::Draw(graphics, state);
}

std::unique_ptr<CWnd> CreateStatusBar(CWnd& parent, const CRect& rect, UINT id)
{
    auto bar = std::make_unique<CMFCStatusBar>();
    static const UINT panes[] = {ID_SEPARATOR, ID_INDICATOR_CAPS, ID_INDICATOR_NUM,
                                 ID_INDICATOR_SCRL};
    if (!bar->Create(&parent, WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, id) ||
        !bar->SetIndicators(panes, 4))
    {
        return nullptr;
    }
    bar->SetPaneText(0, L"Ready");
    bar->MoveWindow(&rect);
    return bar;
}

std::unique_ptr<CWnd> CreateTestSlider(CWnd& parent, const CRect& rect, UINT id)
{
    auto slider = std::make_unique<CTestSliderWnd>();
    return slider->Create(&parent, rect, id) ? std::move(slider) : nullptr;
}

void SetSliderValue(CWnd& control, double value, bool silent)
{
    static_cast<CTestSliderWnd&>(control).SetValue(value, silent);
}

std::vector<double> SliderValues(CWnd& control)
{
    return {static_cast<CTestSliderWnd&>(control).GetValue()};
}

// The grid's offset bar, shown (its owner shows it) with something to scroll.
std::unique_ptr<CWnd> CreateOffsetBar(CWnd& parent, const CRect& rect, UINT id)
{
    auto bar = std::make_unique<CGridOffsetBarWnd>();
    if (!bar->Create(rect, &parent, id))
    {
        return nullptr;
    }
    bar->SetRange(900, 300, 300);
    bar->ShowWindow(SW_SHOW);
    return bar;
}

// One row per control class in controls/ (and per custom-drawn window below it).
const std::vector<ControlRow> kControlRows = {
    {.name = "CMFCStatusBar",
     .size = CSize(480, 22),
     .create = &CreateStatusBar,
     .drawAt = &DrawSnapshot<CMFCStatusBar>},
    {.name = "COutputMeterWnd",
     .size = CSize(80, 320),
     .create = &CreateControl<COutputMeterWnd>,
     .drawAt = &DrawSnapshot<COutputMeterWnd>,
     .setEveryValue = &SetEveryBaseValue,
     .values = &BaseValues,
     .disable = &DisableBase},
    {.name = "CCompressorMeterControlWnd",
     .size = CSize(40, 240),
     .create = &CreateControl<CCompressorMeterControlWnd>,
     .drawAt = &DrawSnapshot<CCompressorMeterControlWnd>,
     .setEveryValue = &SetEveryBaseValue,
     .values = &BaseValues,
     .disable = &DisableBase},
    {.name = "CNeedleMeterWnd",
     .size = CSize(160, 160),
     .create = &CreateControl<CNeedleMeterWnd>,
     .drawAt = &DrawSnapshot<CNeedleMeterWnd>,
     .setEveryValue = &SetEveryBaseValue,
     .values = &BaseValues,
     .disable = &DisableBase},
    {.name = "CActionButtonWnd",
     .size = CSize(160, 80),
     .create = &CreateControl<CActionButtonWnd>,
     .drawAt = &DrawSnapshot<CActionButtonWnd>,
     .setEveryValue = &SetEveryBaseValue,
     .values = &BaseValues,
     .notifies = true,
     .disable = &DisableBase},
    {.name = "CBreadcrumbButtonWnd",
     .size = CSize(52, 24),
     .create = &CreateControl<CBreadcrumbButtonWnd>,
     .drawAt = &DrawSnapshot<CBreadcrumbButtonWnd>,
     .setEveryValue = &SetEveryBaseValue,
     .values = &BaseValues,
     .notifies = true,
     .disable = &DisableBase},
    {.name = "CRoundTransportButtonWnd",
     .size = CSize(80, 80),
     .create = &CreateControl<CRoundTransportButtonWnd>,
     .drawAt = &DrawSnapshot<CRoundTransportButtonWnd>,
     .setEveryValue = &SetEveryBaseValue,
     .values = &BaseValues,
     .notifies = true,
     .disable = &DisableBase},
    {.name = "CToggleSwitchWnd",
     .size = CSize(80, 80),
     .create = &CreateControl<CToggleSwitchWnd>,
     .drawAt = &DrawSnapshot<CToggleSwitchWnd>,
     .setEveryValue = &SetEveryBaseValue,
     .values = &BaseValues,
     .notifies = true,
     .disable = &DisableBase},
    {.name = "CCurveModeSelectorWnd",
     .size = CSize(220, 44),
     .create = &CreateControl<CCurveModeSelectorWnd>,
     .drawAt = &DrawSnapshot<CCurveModeSelectorWnd>,
     .setEveryValue = &SetEveryBaseValue,
     .values = &BaseValues,
     .notifies = true,
     .disable = &DisableBase,
     .followsInputWhileDisabled = true},
    {.name = "CSevenSegmentDisplayWnd",
     .size = CSize(160, 80),
     .create = &CreateControl<CSevenSegmentDisplayWnd>,
     .drawAt = &DrawSnapshot<CSevenSegmentDisplayWnd>,
     .setEveryValue = &SetEveryBaseValue,
     .values = &BaseValues,
     .disable = &DisableBase},
    {.name = "CNixieDisplayWnd",
     .size = CSize(160, 80),
     .create = &CreateControl<CNixieDisplayWnd>,
     .drawAt = &DrawSnapshot<CNixieDisplayWnd>,
     .setEveryValue = &SetEveryBaseValue,
     .values = &BaseValues,
     .disable = &DisableBase},
    {.name = "CPanelLightWnd",
     .size = CSize(40, 40),
     .create = &CreateControl<CPanelLightWnd>,
     .drawAt = &DrawSnapshot<CPanelLightWnd>,
     .setEveryValue = &SetEveryBaseValue,
     .values = &BaseValues,
     .disable = &DisableBase},
    {.name = "CStereoFieldGraphControlWnd",
     .size = CSize(360, 220),
     .create = &CreateControl<CStereoFieldGraphControlWnd>,
     .drawAt = &DrawSnapshot<CStereoFieldGraphControlWnd>,
     .setEveryValue = &SetEveryBaseValue,
     .values = &BaseValues,
     .disable = &DisableBase},
    {.name = "CCorrelationMeterControlWnd",
     .size = CSize(320, 128),
     .create = &CreateControl<CCorrelationMeterControlWnd>,
     .drawAt = &DrawSnapshot<CCorrelationMeterControlWnd>,
     .setEveryValue = &SetEveryBaseValue,
     .values = &BaseValues,
     .disable = &DisableBase},
    {.name = "CGoniometerControlWnd",
     .size = CSize(320, 220),
     .create = &CreateControl<CGoniometerControlWnd>,
     .drawAt = &DrawSnapshot<CGoniometerControlWnd>,
     .setEveryValue = &SetEveryBaseValue,
     .values = &BaseValues,
     .disable = &DisableBase},
    {.name = "CPeakSymmetryGraphControlWnd",
     .size = CSize(320, 220),
     .create = &CreateControl<CPeakSymmetryGraphControlWnd>,
     .drawAt = &DrawSnapshot<CPeakSymmetryGraphControlWnd>,
     .setEveryValue = &SetEveryBaseValue,
     .values = &BaseValues,
     .disable = &DisableBase},
    {.name = "CStereoFieldGraphWnd",
     .size = CSize(360, 220),
     .create = &CreateFedGraph<CStereoFieldGraphWnd>,
     .drawAt = &DrawSnapshot<CStereoFieldGraphWnd>},
    {.name = "CCorrelationMeterWnd",
     .size = CSize(320, 128),
     .create = &CreateGraph<CCorrelationMeterWnd>,
     .drawAt = &DrawSnapshot<CCorrelationMeterWnd>},
    {.name = "CGoniometerWnd",
     .size = CSize(320, 220),
     .create = &CreateGraph<CGoniometerWnd>,
     .drawAt = &DrawSnapshot<CGoniometerWnd>},
    {.name = "CPeakSymmetryGraphWnd",
     .size = CSize(320, 220),
     .create = &CreateGraph<CPeakSymmetryGraphWnd>,
     .drawAt = &DrawSnapshot<CPeakSymmetryGraphWnd>},
    {.name = "CToneGraphWnd",
     .size = CSize(360, 220),
     .create = &CreateFedGraph<CToneGraphWnd>,
     .drawAt = &DrawSnapshot<CToneGraphWnd>},
    {.name = "CActivityGraphWnd",
     .size = CSize(480, 260),
     .create = &CreateGraph<CActivityGraphWnd>,
     .drawAt = &DrawSnapshot<CActivityGraphWnd>},
    {.name = "CEnergyDeltaGraphWnd",
     .size = CSize(480, 260),
     .create = &CreateGraph<CEnergyDeltaGraphWnd>,
     .drawAt = &DrawSnapshot<CEnergyDeltaGraphWnd>},
    // Not a notifier to the frame: its input moves the switch to ORIG (the
    // wheel away from the user, a click on the left), and from ORIG nothing
    // more changes, so a second round of the same input tells nothing. Its own
    // tests cover a parent that destroys it during a notification.
    {.name = "CABMonitorSwitchWnd",
     .size = CSize(176, 80),
     .create = &CreateControl<CABMonitorSwitchWnd>,
     .drawAt = &DrawSnapshot<CABMonitorSwitchWnd>,
     .setEveryValue = &SetEveryBaseValue,
     .values = &BaseValues,
     .notifies = false,
     .disable = &DisableBase},
    {.name = "CSegmentSwitchWnd",
     .size = CSize(160, 80),
     .create = &CreateControl<CSegmentSwitchWnd>,
     .drawAt = &DrawSnapshot<CSegmentSwitchWnd>,
     .setEveryValue = &SetEveryBaseValue,
     .values = &BaseValues,
     .notifies = true,
     .disable = &DisableBase},
    {.name = "CMenuBarWnd",
     .size = CSize(160, 40),
     .create = &CreateControl<CMenuBarWnd>,
     .drawAt = &DrawSnapshot<CMenuBarWnd>,
     .setEveryValue = &SetEveryBaseValue,
     .values = &BaseValues,
     .notifies = true,
     .disable = &DisableBase},
    {.name = "CMasterKnobLMTWnd",
     .size = CSize(240, 320),
     .create = &CreateControl<CMasterKnobLMTWnd>,
     .drawAt = &DrawSnapshot<CMasterKnobLMTWnd>,
     .setEveryValue = &SetEveryBaseValue,
     .values = &BaseValues,
     .notifies = true,
     .disable = &DisableBase},
    {.name = "CMasterKnobWnd",
     .size = CSize(240, 320),
     .create = &CreateControl<CMasterKnobWnd>,
     .drawAt = &DrawSnapshot<CMasterKnobWnd>,
     .setEveryValue = &SetEveryBaseValue,
     .values = &BaseValues,
     .notifies = true,
     .disable = &DisableBase},
    {.name = "CSmallKnobWnd",
     .size = CSize(160, 160),
     .create = &CreateControl<CSmallKnobWnd>,
     .drawAt = &DrawSnapshot<CSmallKnobWnd>,
     .setEveryValue = &SetEveryBaseValue,
     .values = &BaseValues,
     .notifies = true,
     .disable = &DisableBase},
    {.name = "CTextTitleWnd",
     .size = CSize(240, 52),
     .create = &CreateControl<CTextTitleWnd>,
     .drawAt = &DrawSnapshot<CTextTitleWnd>,
     .setEveryValue = &SetEveryBaseValue,
     .values = &BaseValues,
     .notifies = false,
     .disable = &DisableBase},
    {.name = "CTextCaptionWnd",
     .size = CSize(200, 32),
     .create = &CreateControl<CTextCaptionWnd>,
     .drawAt = &DrawSnapshot<CTextCaptionWnd>,
     .setEveryValue = &SetEveryBaseValue,
     .values = &BaseValues,
     .notifies = false,
     .disable = &DisableBase},
    {.name = "CTextCaptionBlockWnd",
     .size = CSize(280, 40),
     .create = &CreateControl<CTextCaptionBlockWnd>,
     .drawAt = &DrawSnapshot<CTextCaptionBlockWnd>,
     .setEveryValue = &SetEveryBaseValue,
     .values = &BaseValues,
     .notifies = false,
     .disable = &DisableBase},
    {.name = "CTextLabelStripWnd",
     .size = CSize(160, 80),
     .create = &CreateControl<CTextLabelStripWnd>,
     .drawAt = &DrawSnapshot<CTextLabelStripWnd>,
     .setEveryValue = &SetEveryBaseValue,
     .values = &BaseValues,
     .notifies = false,
     .disable = &DisableBase},
    {.name = "CTextBlockWnd",
     .size = CSize(160, 80),
     .create = &CreateControl<CTextBlockWnd>,
     .drawAt = &DrawSnapshot<CTextBlockWnd>,
     .setEveryValue = &SetEveryBaseValue,
     .values = &BaseValues,
     .notifies = false,
     .disable = &DisableBase},
    {.name = "CValueReadoutWnd",
     .size = CSize(160, 40),
     .create = &CreateControl<CValueReadoutWnd>,
     .drawAt = &DrawSnapshot<CValueReadoutWnd>,
     .setEveryValue = &SetEveryBaseValue,
     .values = &BaseValues,
     .notifies = false,
     .disable = &DisableBase},
    {.name = "CHorizontalDividerWnd",
     .size = CSize(160, 40),
     .create = &CreateControl<CHorizontalDividerWnd>,
     .drawAt = &DrawSnapshot<CHorizontalDividerWnd>,
     .setEveryValue = &SetEveryBaseValue,
     .values = &BaseValues,
     .notifies = false,
     .disable = &DisableBase},
    {.name = "CVerticalDividerWnd",
     .size = CSize(40, 160),
     .create = &CreateControl<CVerticalDividerWnd>,
     .drawAt = &DrawSnapshot<CVerticalDividerWnd>,
     .setEveryValue = &SetEveryBaseValue,
     .values = &BaseValues,
     .notifies = false,
     .disable = &DisableBase},
    // Not a CBaseControlWnd: its values are its times, and while playing (its
    // input lock) it takes no clicks, drags or wheel.
    {.name = "CWaveformStripWnd",
     .size = CSize(600, 100),
     .create = &CreateWaveformStrip,
     .drawAt = &DrawSnapshot<CWaveformStripWnd>,
     .setEveryValue = &SetWaveformTimes,
     .values = &WaveformTimes,
     .notifies = true,
     .disable = &LockWaveformStrip},
    // Disabled, these still follow the pointer with their hover look, as
    // their designs have it.
    {.name = "CSteppedKnobWnd",
     .size = CSize(320, 320),
     .create = &CreateControl<CSteppedKnobWnd>,
     .drawAt = &DrawSnapshot<CSteppedKnobWnd>,
     .setEveryValue = &SetEveryBaseValue,
     .values = &BaseValues,
     .notifies = true,
     .disable = &DisableBase,
     .followsInputWhileDisabled = true},
    {.name = "CSmallSteppedKnobWnd",
     .size = CSize(160, 160),
     .create = &CreateControl<CSmallSteppedKnobWnd>,
     .drawAt = &DrawSnapshot<CSmallSteppedKnobWnd>,
     .setEveryValue = &SetEveryBaseValue,
     .values = &BaseValues,
     .notifies = true,
     .disable = &DisableBase,
     .followsInputWhileDisabled = true},
    {.name = "CHorizontalSliderWnd",
     .size = CSize(160, 80),
     .create = &CreateControl<CHorizontalSliderWnd>,
     .drawAt = &DrawSnapshot<CHorizontalSliderWnd>,
     .setEveryValue = &SetEveryBaseValue,
     .values = &BaseValues,
     .notifies = true,
     .disable = &DisableBase,
     .followsInputWhileDisabled = true},
    {.name = "CVerticalSliderWnd",
     .size = CSize(80, 320),
     .create = &CreateControl<CVerticalSliderWnd>,
     .drawAt = &DrawSnapshot<CVerticalSliderWnd>,
     .setEveryValue = &SetEveryBaseValue,
     .values = &BaseValues,
     .notifies = true,
     .disable = &DisableBase,
     .followsInputWhileDisabled = true},
    {.name = "CGridOffsetBarWnd",
     .size = CSize(240, 12),
     .create = &CreateOffsetBar,
     .drawAt = &DrawSnapshot<CGridOffsetBarWnd>,
     .notifies = true},
};

// The frame checked on a control written for it, so it is known to work
// before the first control with values and notifications joins.
const std::vector<ControlRow> kTestControlRows = {
    {.name = "CTestSliderWnd",
     .size = CSize(200, 24),
     .create = &CreateTestSlider,
     .drawAt = &DrawSnapshot<CTestSliderWnd>,
     .setEveryValue = &SetSliderValue,
     .values = &SliderValues,
     .notifies = true},
    {.name = "CProbeControlWnd",
     .size = CSize(240, 80),
     .create = &CreateControl<CProbeControlWnd>,
     .drawAt = &DrawSnapshot<CProbeControlWnd>,
     .setEveryValue = &SetEveryBaseValue,
     .values = &BaseValues,
     .notifies = true,
     .disable = &DisableBase},
};

// How a control tells its parent: a command, a notify, a scroll or a private
// message (the WM_USER and WM_APP ranges).
bool IsNotification(UINT msg)
{
    return msg == WM_COMMAND || msg == WM_NOTIFY || msg == WM_HSCROLL ||
           (msg >= WM_USER && msg < 0xC000);
}

// A top-level window that records every message it receives and may act on
// a control's notification.
class TestParent : public CWnd
{
public:
    std::vector<UINT> received;
    std::function<void()> onNotification;

    BOOL CreateTopLevel(const RECT& rect)
    {
        const LPCTSTR cls = AfxRegisterWndClass(0, ::LoadCursor(nullptr, IDC_ARROW));
        return CreateEx(0, cls, L"", WS_POPUP | WS_VISIBLE, rect.left, rect.top,
                        rect.right - rect.left, rect.bottom - rect.top, nullptr, nullptr);
    }

    int Notifications() const
    {
        return static_cast<int>(std::count_if(received.begin(), received.end(), IsNotification));
    }

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override
    {
        received.push_back(msg);
        if (IsNotification(msg) && onNotification)
        {
            const std::function<void()> act = onNotification;
            act(); // may destroy this window
            return 0;
        }
        return CWnd::WindowProc(msg, wParam, lParam);
    }
};

// Client points of a control, as screen points and as a message's lParam.
POINT ScreenAt(HWND control, double fx, double fy)
{
    CRect client;
    ::GetClientRect(control, &client);
    return brvl::backend::HeadlessBackend::ScreenPointOf(
        control, static_cast<int>(client.Width() * fx), static_cast<int>(client.Height() * fy));
}

LPARAM ClientAt(HWND control, double fx, double fy)
{
    CRect client;
    ::GetClientRect(control, &client);
    return MAKELPARAM(static_cast<WORD>(client.Width() * fx),
                      static_cast<WORD>(client.Height() * fy));
}

std::string FileBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::filesystem::path OutputPath(const std::string& name)
{
    return std::filesystem::path(BRVL_TEST_OUTPUT_DIR) / (name + ".png");
}

bool ShowsSomething(const WindowPicture& picture)
{
    return std::any_of(picture.pixels.begin(), picture.pixels.end(),
                       [](std::uint32_t pixel) { return pixel != 0xFF000000u; });
}

class ControlConformance : public ::testing::TestWithParam<ControlRow>
{
protected:
    ControlConformance()
    {
        SetHandlerExceptionHook(
            [](HWND, UINT msg, const std::string& what)
            { ADD_FAILURE() << "handler of message " << msg << " threw: " << what; });
    }
    ~ControlConformance() override { SetHandlerExceptionHook(nullptr); }

    // The parent and the control at the row's usual size, settled.
    void SetUp() override
    {
        ASSERT_TRUE(parent.CreateTopLevel(CRect(40, 40, 680, 440)));
        control = GetParam().create(parent, CRect(CPoint(20, 20), GetParam().size), kControlId);
        ASSERT_NE(control, nullptr) << GetParam().name << " cannot be created";
        hwnd = control->GetSafeHwnd();
        PumpPendingMessages();
        parent.received.clear();
    }

    // What a user does to it through the screen: press left of its middle and drag
    // right, click left of the middle, turn the wheel, press keys. Stops once
    // the control is gone.
    void UseIt()
    {
        const std::vector<std::function<void()>> steps = {
            [&] { session->PressButton(ScreenAt(hwnd, 0.3, 0.5)); },
            [&] { session->MoveMouse(ScreenAt(hwnd, 0.8, 0.3)); },
            [&] { session->ReleaseButton(ScreenAt(hwnd, 0.8, 0.3)); },
            [&] { session->Click(ScreenAt(hwnd, 0.2, 0.5)); },
            [&] { session->Wheel(ScreenAt(hwnd, 0.5, 0.5), WHEEL_DELTA); },
            [&] { ::SetFocus(hwnd); },
            [&] { session->Key(VK_RIGHT); },
            [&] { session->Key(VK_UP); },
            [&] { session->Key(VK_HOME); },
            [&] { session->Key(VK_SPACE, L' '); },
        };
        for (const auto& step : steps)
        {
            if (!::IsWindow(hwnd))
            {
                return;
            }
            step();
        }
    }

    // The same input sent to the control itself, as it would arrive whatever
    // the input routing makes of a disabled window.
    void SendItInput()
    {
        ::SendMessage(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, ClientAt(hwnd, 0.3, 0.5));
        ::SendMessage(hwnd, WM_MOUSEMOVE, MK_LBUTTON, ClientAt(hwnd, 0.8, 0.3));
        ::SendMessage(hwnd, WM_LBUTTONUP, 0, ClientAt(hwnd, 0.8, 0.3));
        const POINT centre = ScreenAt(hwnd, 0.5, 0.5);
        ::SendMessage(hwnd, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA),
                      MAKELPARAM(static_cast<WORD>(centre.x), static_cast<WORD>(centre.y)));
        for (const UINT key : {VK_RIGHT, VK_UP, VK_HOME, VK_SPACE})
        {
            ::SendMessage(hwnd, WM_KEYDOWN, key, 0);
            ::SendMessage(hwnd, WM_KEYUP, key, 0);
        }
        ::SendMessage(hwnd, WM_CHAR, L' ', 0);
        PumpPendingMessages();
    }

    std::vector<double> Values() const
    {
        return GetParam().values != nullptr ? GetParam().values(*control) : std::vector<double>{};
    }

    WindowPicture Picture() const
    {
        control->UpdateWindow();
        WindowPicture picture;
        EXPECT_TRUE(ComposeWindowPicture(hwnd, picture));
        return picture;
    }

    brvl::backend::HeadlessSession session;
    TestParent parent;
    std::unique_ptr<CWnd> control;
    HWND hwnd = nullptr;
};

std::string RowName(const ::testing::TestParamInfo<ControlRow>& info)
{
    return info.param.name;
}

void PrintTo(const ControlRow& row, std::ostream* out)
{
    *out << row.name;
}

} // namespace

TEST_P(ControlConformance, PaintsAtZeroTinyAndHugeSizesAndLeavesTheGraphicsUsable)
{
    const Gdiplus::Color marker(255, 1, 2, 3);
    for (const CSize size : {CSize(0, 0), CSize(1, 1), CSize(4000, 3000)})
    {
        SCOPED_TRACE(::testing::Message() << size.cx << " x " << size.cy);
        Gdiplus::Bitmap bitmap(std::max<int>(size.cx, 1), std::max<int>(size.cy, 1));
        Gdiplus::Graphics graphics(&bitmap);
        GetParam().drawAt(graphics, *control, size);
        // A Cairo context in its error state would silently drop this.
        const Gdiplus::SolidBrush brush(marker);
        graphics.ResetClip();
        graphics.SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);
        graphics.FillRectangle(&brush, 0, 0, 1, 1);
        Gdiplus::Color pixel;
        ASSERT_EQ(bitmap.GetPixel(0, 0, &pixel), Gdiplus::Ok);
        EXPECT_EQ(pixel.GetValue(), marker.GetValue()) << "Draw left the Graphics unusable";

        // The window at that size paints through the same routine.
        control->MoveWindow(20, 20, size.cx, size.cy);
        control->UpdateWindow();
        if (size.cx > 0)
        {
            EXPECT_TRUE(ShowsSomething(Picture())) << "nothing painted";
        }
    }
}

TEST_P(ControlConformance, PaintsTheSamePictureTwice)
{
    const std::string name = GetParam().name;
    ASSERT_TRUE(RenderWindowToPng(hwnd, OutputPath(name)));
    control->Invalidate();
    ASSERT_TRUE(RenderWindowToPng(hwnd, OutputPath(name + "_again")));
    EXPECT_EQ(FileBytes(OutputPath(name)), FileBytes(OutputPath(name + "_again")))
        << "two paints of one state differ";
    std::filesystem::remove(OutputPath(name + "_again"));

    Disable(GetParam(), *control);
    ASSERT_TRUE(RenderWindowToPng(hwnd, OutputPath(name + "_disabled")));
}

TEST_P(ControlConformance, OddValuesLeaveItFiniteAndPainted)
{
    if (GetParam().setEveryValue == nullptr)
    {
        GTEST_SKIP() << GetParam().name << " has no value setter";
    }
    const double inf = std::numeric_limits<double>::infinity();
    for (const bool silent : {true, false})
    {
        for (const double value : {std::numeric_limits<double>::quiet_NaN(), inf, -inf, 1e300,
                                   -1e300, std::numeric_limits<double>::denorm_min()})
        {
            SCOPED_TRACE(::testing::Message() << value << (silent ? " silently" : ""));
            GetParam().setEveryValue(*control, value, silent);
            for (const double held : Values())
            {
                EXPECT_TRUE(std::isfinite(held)) << "holds " << held;
            }
            EXPECT_TRUE(ShowsSomething(Picture())) << "nothing painted";
        }
    }
}

TEST_P(ControlConformance, SilentSettersTellTheParentNothing)
{
    if (GetParam().setEveryValue == nullptr)
    {
        GTEST_SKIP() << GetParam().name << " has no value setter";
    }
    for (const double value : {0.0, 0.25, 1.0, -5.0, 5.0, 0.75})
    {
        GetParam().setEveryValue(*control, value, true);
    }
    PumpPendingMessages();
    EXPECT_TRUE(parent.received.empty())
        << parent.received.size() << " messages, the first " << parent.received.front();
}

TEST_P(ControlConformance, SurvivesItsParentGoingAwayDuringANotification)
{
    if (!GetParam().notifies)
    {
        GTEST_SKIP() << GetParam().name << " does not notify";
    }
    UseIt();
    ASSERT_GT(parent.Notifications(), 0) << "the user's input made no notification";

    // The parent closes itself: the control goes with it.
    parent.onNotification = [this] { parent.DestroyWindow(); };
    UseIt();
    PumpPendingMessages();
    EXPECT_FALSE(::IsWindow(hwnd));

    // The parent deletes the control, object and all, from its handler.
    ASSERT_TRUE(parent.CreateTopLevel(CRect(40, 40, 680, 440)));
    control = GetParam().create(parent, CRect(CPoint(20, 20), GetParam().size), kControlId);
    ASSERT_NE(control, nullptr);
    hwnd = control->GetSafeHwnd();
    parent.onNotification = [this] { control.reset(); };
    UseIt();
    PumpPendingMessages();
    EXPECT_EQ(control, nullptr) << "no notification came";
    EXPECT_FALSE(::IsWindow(hwnd));
    EXPECT_TRUE(::IsWindow(parent.GetSafeHwnd()));
}

TEST_P(ControlConformance, IgnoresInputWhileDisabled)
{
    Disable(GetParam(), *control);
    const std::vector<double> before = Values();
    const WindowPicture pictureBefore = Picture();
    parent.received.clear();

    UseIt();
    SendItInput();
    EXPECT_EQ(parent.Notifications(), 0) << "a disabled control notified";
    if (GetParam().followsInputWhileDisabled)
    {
        return;
    }
    EXPECT_EQ(Values(), before) << "a disabled control changed";
    EXPECT_TRUE(Picture().pixels == pictureBefore.pixels) << "a disabled control looks different";
}

INSTANTIATE_TEST_SUITE_P(TestControls, ControlConformance, ::testing::ValuesIn(kTestControlRows),
                         RowName);
INSTANTIATE_TEST_SUITE_P(Controls, ControlConformance, ::testing::ValuesIn(kControlRows), RowName);

namespace
{

// Classes of custom controls defined in the headers under controls/; none
// while the folder does not exist.
std::set<std::string> ControlClassesInTheTree()
{
    std::set<std::string> names;
    const std::filesystem::path folder(BRVL_CONTROLS_SOURCE_DIR);
    std::error_code error;
    if (!std::filesystem::is_directory(folder, error))
    {
        return names;
    }
    // A definition, not a forward declaration: `class CKnobWnd [final] : ...` or `{`.
    const std::regex definition(R"(\bclass\s+(C\w+Wnd)\s*(final\s*)?[:{])");
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder))
    {
        if (entry.path().extension() != ".h")
        {
            continue;
        }
        const std::string text = FileBytes(entry.path());
        for (auto it = std::sregex_iterator(text.begin(), text.end(), definition);
             it != std::sregex_iterator(); ++it)
        {
            names.insert((*it)[1].str());
        }
    }
    return names;
}

} // namespace

TEST(ControlConformanceTable, EveryControlClassHasARow)
{
    // Bases that no one creates on their own; their rows are their classes'.
    const std::set<std::string> abstractBases = {"CBaseControlWnd"};
    for (const std::string& name : ControlClassesInTheTree())
    {
        if (abstractBases.count(name) != 0)
        {
            continue;
        }
        const bool hasRow = std::any_of(kControlRows.begin(), kControlRows.end(),
                                        [&](const ControlRow& row) { return row.name == name; });
        EXPECT_TRUE(hasRow) << name << " has no row in kControlRows";
    }
}
