// The meter bindings as a table, the Apprentice page driving a control of its
// panel from them, and the VU meter page's two meters.

#include "pages/apprentice_viewport_wnd.h"
#include "pages/vu_meter_viewport_wnd.h"

#include "controls/base/control_messages.h"
#include "engine/settings/parameter_catalog.h"
#include "grid/control_grid_messages.h"
#include "grid/parameter_page.h"
#include "platform/win32/test_hooks.h"
#include "platform/win32/window_picture.h"
#include "tests/controls/control_test_kit.h"
#include "tests/platform/test_windows.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace
{

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

AudioBuffer BufferWith(std::vector<MeterSeries> series)
{
    AudioBuffer buffer;
    buffer.meterSeries = std::move(series);
    return buffer;
}

StageMeterBinding Light(double threshold)
{
    return StageMeterBinding{"gr", kMeterBindingThreshold, 0.0, 1.0, threshold};
}

StageMeterBinding Range(double minimum, double maximum)
{
    return StageMeterBinding{"gr", 2, minimum, maximum, 0.0};
}

} // namespace

TEST(StageMeterBinding, SamplesTheFirstSeriesWithTheKey)
{
    const AudioBuffer ramp = BufferWith({{"other", 2.0, {100.0f}},
                                         {"gr", 2.0, {0.0f, 2.0f, 4.0f, 8.0f, 16.0f}},
                                         {"gr", 2.0, {50.0f}}});
    struct Case
    {
        double t;
        double expected;
    };
    for (const Case c : {Case{0.0, 0.0}, Case{0.5, 2.0}, Case{1.125, 5.0}, // pos 2.25: 4..8
                         Case{-3.0, 0.0}, Case{2.0, 16.0}, Case{1e12, 16.0}, Case{-kInf, 0.0},
                         Case{kInf, 16.0}, Case{kNaN, 0.0}})
    {
        EXPECT_DOUBLE_EQ(SampleMeterSeries(ramp, "gr", c.t), c.expected) << c.t;
    }
    const AudioBuffer single = BufferWith({{"gr", 10.0, {3.5f}}});
    for (const double t : {-1.0, 0.0, 0.37, 99.0})
    {
        EXPECT_DOUBLE_EQ(SampleMeterSeries(single, "gr", t), 3.5) << t;
    }
    // Nothing to sample gives 0: no such key, a rate of 0 or below, no values.
    EXPECT_EQ(SampleMeterSeries(ramp, "GR", 1.0), 0.0);
    for (const double rate : {0.0, -5.0, kNaN})
    {
        EXPECT_EQ(SampleMeterSeries(BufferWith({{"gr", rate, {7.0f}}}), "gr", 1.0), 0.0) << rate;
    }
    EXPECT_EQ(SampleMeterSeries(BufferWith({{"gr", 10.0, {}}}), "gr", 1.0), 0.0);
    // An infinite rate at time 0 is NaN: it reads the first value.
    EXPECT_EQ(SampleMeterSeries(BufferWith({{"gr", kInf, {6.0f, 9.0f}}}), "gr", 0.0), 6.0);
}

TEST(StageMeterBinding, MapsTheSampleForTheControl)
{
    struct Case
    {
        const char* what;
        StageMeterBinding binding;
        float value;
        double expected;
    };
    const float nanValue = std::numeric_limits<float>::quiet_NaN();
    for (const Case& c : {
             Case{"exactly the threshold lights", Light(1.0), 1.0f, 1.0},
             Case{"under the threshold", Light(1.0), 0.999f, 0.0},
             Case{"a NaN value is off", Light(-1.0), nanValue, 0.0},
             Case{"range middle", Range(-10.0, 10.0), 5.0f, 0.75},
             Case{"range below", Range(0.0, 4.0), -3.0f, 0.0},
             Case{"range above", Range(0.0, 4.0), 30.0f, 1.0},
             Case{"span 0", Range(2.0, 2.0), 5.0f, 0.0},
             Case{"maximum below minimum", Range(4.0, 1.0), 2.0f, 0.0},
             Case{"NaN range", Range(0.0, 4.0), nanValue, 0.0},
             Case{"infinite span", Range(-kInf, kInf), 1.0f, 0.0},
             Case{"NaN bounds", Range(kNaN, 1.0), 0.5f, 0.0},
         })
    {
        const AudioBuffer buffer = BufferWith({{"gr", 1.0, {c.value}}});
        const double result = EvaluateMeterBinding(buffer, 0.0, c.binding);
        EXPECT_EQ(result, c.expected) << c.what;
    }
    // Without the series the sample is 0: a light at 0 or below is on.
    const AudioBuffer empty;
    EXPECT_EQ(EvaluateMeterBinding(empty, 0.0, Light(1.0)), 0.0);
    EXPECT_EQ(EvaluateMeterBinding(empty, 0.0, Light(0.0)), 1.0);
    EXPECT_EQ(EvaluateMeterBinding(empty, 0.0, Light(-2.0)), 1.0);
    EXPECT_EQ(EvaluateMeterBinding(empty, 0.0, Range(0.0, 1.0)), 0.0);
    EXPECT_EQ(EvaluateMeterBinding(empty, 0.0, Range(-1.0, 1.0)), 0.5);
}

namespace
{

class ApprenticePageTest : public WindowTest
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(parent.CreateTopLevel(CRect(0, 0, 1000, 700)));
        ASSERT_TRUE(page.Create(CRect(0, 0, 960, 640), &parent, 8725));
        page.SetBackgroundColor(0x100E0C);
    }

    void BuildPage(const std::vector<ControlItem>& extra)
    {
        const ModeParameterGroup* apprentice = FindModeParameterGroup("apprentice");
        ASSERT_NE(apprentice, nullptr);
        const ParameterPage built =
            BuildParameterPage(*apprentice, "apprentice", GridPackParams{2, 1, 0, 8, 20});
        std::vector<ControlItem> items = built.items;
        items.insert(items.end(), extra.begin(), extra.end());
        page.panel.packParams = built.params;
        page.panel.RebuildControls(items);
        page.LayoutChildren();
        Settle();
    }

    CBaseControlWnd* Control(const std::string& parameterId)
    {
        for (const ControlGridEntry& entry : page.panel.entries)
        {
            if (entry.item.parameterId == parameterId)
            {
                return entry.control.get();
            }
        }
        return nullptr;
    }

    RecordingWnd parent{"parent", log};
    CApprenticeViewportWnd page;
};

ControlItem LedItem()
{
    ControlItem item;
    item.kind = ControlKind::PanelLight;
    item.parameterId = "stage4_led";
    item.label = "Limiting";
    return item;
}

} // namespace

TEST_F(ApprenticePageTest, ABindingLightsItsControlSilently)
{
    BuildPage({LedItem()});
    CBaseControlWnd* led = Control("stage4_led");
    ASSERT_NE(led, nullptr);
    EXPECT_TRUE(page.meterBindings.empty());
    page.meterBindings["stage4_led"] =
        StageMeterBinding{"stage4.gain_reduction_db", kMeterBindingThreshold, 0.0, 1.0, 1.0};

    const AudioBuffer limiting = BufferWith(
        {{"stage4.gain_reduction_db", 10.0, {0.0f, 0.5f, 3.0f, 3.0f}}, {"other", 1.0, {9.0f}}});
    EXPECT_TRUE(page.UpdateMeterBindings(limiting, 0.25));
    EXPECT_EQ(led->GetValue(), 1.0);
    EXPECT_TRUE(page.UpdateMeterBindings(limiting, 0.0));
    EXPECT_EQ(led->GetValue(), 0.0);
    EXPECT_TRUE(page.UpdateMeterBindings(limiting, 0.3));
    // No valid preview: an empty buffer at time 0 puts the light out.
    EXPECT_TRUE(page.UpdateMeterBindings(AudioBuffer{}, 0.0));
    EXPECT_EQ(led->GetValue(), 0.0);
    // Bad times set the light to a real value.
    for (const double t : {kNaN, kInf, -kInf, 1e12})
    {
        EXPECT_TRUE(page.UpdateMeterBindings(limiting, t));
        EXPECT_FALSE(std::isnan(led->GetValue())) << t;
    }
    PumpPendingMessages();
    EXPECT_EQ(log.Count("parent", WMU_CONTROL_CHANGED), 0);
    EXPECT_EQ(log.Count("parent", WMU_CONTROL_COMMIT), 0);
    EXPECT_EQ(log.Count("parent", WMU_PANEL_CONTROL_CHANGED), 0);
    EXPECT_EQ(log.Count("parent", WMU_PANEL_CONTROL_COMMIT), 0);
}

TEST_F(ApprenticePageTest, ABindingOnNoControlChangesNothing)
{
    BuildPage({});
    std::vector<double> before;
    for (const ControlGridEntry& entry : page.panel.entries)
    {
        before.push_back(entry.control->GetValue());
    }
    page.meterBindings["stage4_led"] = Light(-1.0);
    EXPECT_FALSE(page.UpdateMeterBindings(BufferWith({{"gr", 1.0, {5.0f}}}), 0.0));
    for (size_t i = 0; i < before.size(); ++i)
    {
        EXPECT_EQ(page.panel.entries[i].control->GetValue(), before[i]) << i;
    }
    // One binding finding its control is enough.
    page.meterBindings.clear();
    page.meterBindings["nowhere"] = Light(0.0);
    EXPECT_FALSE(page.UpdateMeterBindings(AudioBuffer{}, 0.0));
    BuildPage({LedItem()});
    page.meterBindings["stage4_led"] = Light(0.0);
    EXPECT_TRUE(page.UpdateMeterBindings(AudioBuffer{}, 0.0));
    EXPECT_EQ(Control("stage4_led")->GetValue(), 1.0);

    // A page without a window finds no control.
    CApprenticeViewportWnd loose;
    loose.meterBindings["stage4_led"] = Light(0.0);
    EXPECT_FALSE(loose.UpdateMeterBindings(AudioBuffer{}, 0.0));
}

TEST_F(ApprenticePageTest, PictureOfTheAutomaticPage)
{
    ControlItem led = LedItem();
    led.value = 0.0;
    BuildPage({led});
    page.meterBindings["stage4_led"] =
        StageMeterBinding{"stage4.gain_reduction_db", kMeterBindingThreshold, 0.0, 1.0, 1.0};
    EXPECT_TRUE(
        page.UpdateMeterBindings(BufferWith({{"stage4.gain_reduction_db", 1.0, {2.0f}}}), 0.0));
    page.UpdateWindow();
    PumpPendingMessages();
    EXPECT_TRUE(RenderWindowToPng(page.GetSafeHwnd(), ControlPicturePath("apprentice_page")));
    EXPECT_TRUE(page.IsKindOf(RUNTIME_CLASS(CControlGridViewportWnd)));
}

namespace
{

class VuMeterPageTest : public WindowTest
{
protected:
    void SetUp() override { ASSERT_TRUE(parent.CreateTopLevel(CRect(0, 0, 600, 600))); }

    CRect Placed(const CWnd& meter) const
    {
        CRect rect;
        meter.GetWindowRect(&rect);
        page.ScreenToClient(&rect);
        return rect;
    }

    RecordingWnd parent{"parent", log};
    CVuMeterViewportWnd page;
};

} // namespace

TEST_F(VuMeterPageTest, MakesAndPlacesTheTwoMeters)
{
    ASSERT_TRUE(page.Create(&parent, CRect(0, 0, 168, 340)));
    page.SetBackgroundColor(0x100E0C);
    EXPECT_EQ(page.GetDlgCtrlID(), 8728);
    EXPECT_EQ(page.sourceMeter.GetDlgCtrlID(), 12992);
    EXPECT_EQ(page.outputMeter.GetDlgCtrlID(), 12993);
    EXPECT_EQ(page.sourceMeter.GetLabel(), CString(L"Source"));
    EXPECT_EQ(page.outputMeter.GetLabel(), CString(L"Output"));
    for (const COutputMeterWnd* meter : {&page.sourceMeter, &page.outputMeter})
    {
        EXPECT_EQ(meter->minDb, -60.0);
        EXPECT_EQ(meter->maxDb, 3.0);
        EXPECT_EQ(meter->GetBackgroundColor(), COLORREF(0x100E0C));
    }
    // Before the view's first update.
    EXPECT_EQ(page.sourceMeter.GetValue(), 0.0);
    EXPECT_EQ(page.sourceMeter.GetSecondaryValue(), 0.0);
    EXPECT_DOUBLE_EQ(page.outputMeter.GetValue(), 0.84);
    EXPECT_DOUBLE_EQ(page.outputMeter.GetSecondaryValue(), 0.77);

    page.MoveWindow(0, 0, 168, 300);
    EXPECT_EQ(Placed(page.sourceMeter), CRect(10, 10, 90, 290));
    EXPECT_EQ(Placed(page.outputMeter), CRect(98, 10, 178, 290));

    // Clients too short for a meter move them to no height without failing.
    for (const int height : {15, 10, 1})
    {
        page.MoveWindow(0, 0, 168, height);
        EXPECT_EQ(Placed(page.sourceMeter).Height(), 0) << height;
        EXPECT_EQ(Placed(page.outputMeter).top, 10) << height;
    }
    page.MoveWindow(0, 0, 0, 0);
    page.MoveWindow(0, 0, 20, 50);
    EXPECT_EQ(Placed(page.outputMeter).Height(), 30);
    Settle();
}

TEST_F(VuMeterPageTest, TheBackgroundIsErasedInThePagesColour)
{
    ASSERT_TRUE(page.Create(&parent, CRect(0, 0, 168, 340)));
    page.SetBackgroundColor(0x302010);
    page.UpdateWindow();
    PumpPendingMessages();
    WindowPicture picture;
    ASSERT_TRUE(ComposeWindowPicture(page.GetSafeHwnd(), picture));
    EXPECT_EQ(picture.ColorAt(4, 4), COLORREF(0x302010));
    EXPECT_EQ(picture.ColorAt(160, 330), COLORREF(0x302010));
    page.SetBackgroundColor(0x100E0C);
    page.UpdateWindow();
    EXPECT_TRUE(RenderWindowToPng(page.GetSafeHwnd(), ControlPicturePath("vu_meter_page")));
}

TEST_F(VuMeterPageTest, AMeterThatCannotBeMadeIsSkipped)
{
    // The page itself, then the source meter.
    FailNextCreate(2);
    ASSERT_TRUE(page.Create(&parent, CRect(0, 0, 168, 340)));
    EXPECT_FALSE(::IsWindow(page.sourceMeter.GetSafeHwnd()));
    ASSERT_TRUE(::IsWindow(page.outputMeter.GetSafeHwnd()));
    EXPECT_EQ(Placed(page.outputMeter), CRect(98, 10, 178, 330));
    page.MoveWindow(0, 0, 168, 200);
    EXPECT_EQ(Placed(page.outputMeter).Height(), 180);
    page.SetBackgroundColor(0x202020);

    // A page that is not made makes no meters.
    CVuMeterViewportWnd failed;
    FailNextCreate();
    EXPECT_FALSE(failed.Create(&parent, CRect(0, 0, 168, 340)));
    EXPECT_FALSE(::IsWindow(failed.sourceMeter.GetSafeHwnd()));
    failed.PlaceMeters();
}
