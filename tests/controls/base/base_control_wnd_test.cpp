#include "controls/base/base_control_wnd.h"

#include "controls/layout/control_item.h"
#include "platform/win32/backend_bridge.h"
#include "platform/win32/window_picture.h"
#include "tests/controls/control_test_kit.h"
#include "tests/controls/probe_control_wnd.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <functional>
#include <limits>
#include <memory>
#include <string>
#include <vector>

namespace
{

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

class BaseControl : public ControlTest
{
protected:
    void SetUp() override
    {
        ControlTest::SetUp();
        CreateIn(probe, CRect(20, 20, 260, 120));
    }

    // Whether a repaint of the control is pending.
    bool RepaintPending() const { return ::GetUpdateRect(probe.GetSafeHwnd(), nullptr, FALSE); }

    // Paints what is pending, so the next setter's repaint can be seen.
    void Painted()
    {
        probe.UpdateWindow();
        ASSERT_FALSE(RepaintPending());
    }

    CProbeControlWnd probe;
};

} // namespace

TEST_F(BaseControl, ValueSettersClampIgnoreTinyChangesAndOnlySetValueNotifies)
{
    using Setter = std::function<void(CBaseControlWnd&, double)>;
    using Getter = std::function<double(const CBaseControlWnd&)>;
    const Setter setValue = [](CBaseControlWnd& c, double v) { c.SetValue(v); };
    const Setter silently = [](CBaseControlWnd& c, double v) { c.SetValueSilently(v); };
    const Setter secondary = [](CBaseControlWnd& c, double v) { c.SetSecondaryValue(v); };
    const Setter secondarySilently = [](CBaseControlWnd& c, double v)
    { c.SetSecondaryValueSilently(v); };
    const Getter value = [](const CBaseControlWnd& c) { return c.GetValue(); };
    const Getter secondaryValue = [](const CBaseControlWnd& c) { return c.GetSecondaryValue(); };
    struct Case
    {
        const char* name;
        const Setter& set;
        const Getter& get;
        double from;
        double input;
        double stored;
        bool notifies;
        bool repaints;
    };
    const Case cases[] = {
        {"below the resolution", setValue, value, 0.0, 0.00005, 0.0, false, false},
        {"at the resolution", setValue, value, 0.0, 0.0001, 0.0001, true, true},
        {"above one", setValue, value, 0.5, 1.7, 1.0, true, true},
        {"below zero", setValue, value, 0.5, -3.0, 0.0, true, true},
        {"infinity", setValue, value, 0.5, kInf, 1.0, true, true},
        {"minus infinity", setValue, value, 0.5, -kInf, 0.0, true, true},
        {"NaN", setValue, value, 0.5, kNaN, 0.5, false, false},
        {"silently", silently, value, 0.0, 0.5, 0.5, false, true},
        {"silently NaN", silently, value, 0.5, kNaN, 0.5, false, false},
        {"silently below the resolution", silently, value, 0.5, 0.50009, 0.5, false, false},
        {"secondary", secondary, secondaryValue, 0.0, 0.5, 0.5, false, true},
        {"secondary above one", secondary, secondaryValue, 0.0, 9.0, 1.0, false, true},
        {"secondary NaN", secondary, secondaryValue, 0.5, kNaN, 0.5, false, false},
        {"secondary silently", secondarySilently, secondaryValue, 0.0, 0.25, 0.25, false, true},
        {"secondary silently -inf", secondarySilently, secondaryValue, 0.5, -kInf, 0.0, false,
         true},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        probe.SetValueSilently(c.from == 0 ? 1 : 0); // move it, so `from` is a real change
        probe.SetValueSilently(c.from);
        probe.SetSecondaryValueSilently(c.from == 0 ? 1 : 0);
        probe.SetSecondaryValueSilently(c.from);
        Painted();
        heard.clear();

        c.set(probe, c.input);
        EXPECT_EQ(c.get(probe), c.stored);
        EXPECT_EQ(RepaintPending(), c.repaints);
        ASSERT_EQ(Count(WMU_CONTROL_CHANGED), c.notifies ? 1 : 0);
        if (c.notifies)
        {
            EXPECT_EQ(heard[0].control, &probe);
            EXPECT_EQ(heard[0].value, c.stored) << "the parent reads the new value";
        }
        EXPECT_EQ(Count(WMU_CONTROL_COMMIT), 0);
    }
}

TEST_F(BaseControl, ADisabledControlTakesAndPaintsValuesButTellsNoOne)
{
    probe.SetDisabled(true);
    Painted();
    probe.SetValue(0.6);
    EXPECT_EQ(probe.GetValue(), 0.6);
    EXPECT_TRUE(RepaintPending());
    EXPECT_TRUE(heard.empty());
}

TEST_F(BaseControl, DefaultValueClampsAndRefusesNaN)
{
    for (const auto& [input, stored] : std::vector<std::pair<double, double>>{
             {0.3, 0.3}, {2.0, 1.0}, {-1.0, 0.0}, {kInf, 1.0}, {kNaN, 1.0}, {0.7, 0.7}})
    {
        probe.SetDefaultValue(input);
        EXPECT_EQ(probe.GetDefaultValue(), stored) << input;
    }
    EXPECT_TRUE(heard.empty());
}

TEST_F(BaseControl, DisplayValuesMapThroughTheRangeAndNotifyLikeTheUser)
{
    struct Case
    {
        double min;
        double max;
        double x;
        double value; // stored afterwards, from 0.5
    };
    const Case cases[] = {
        {-12, 12, -6, 0.25}, {0, 100, 150, 1.0},   {100, 0, 25, 0.75}, // reversed
        {5, 5, 7, 0.0},      {5, 5, kNaN, 0.0},                        // no width
        {0, 100, kNaN, 0.5}, {kNaN, 100, 50, 0.5},                     // a NaN quotient
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(::testing::Message() << c.min << ".." << c.max << " at " << c.x);
        probe.SetValueSilently(0.5);
        heard.clear();
        probe.SetDisplayRange(c.min, c.max, 2, L" dB");
        probe.SetDisplayValue(c.x);
        EXPECT_EQ(probe.GetValue(), c.value);
        EXPECT_EQ(Count(WMU_CONTROL_CHANGED), c.value != 0.5 ? 1 : 0);
    }

    // Ranges whose width overflows leave a value in 0..1 and a finite display.
    for (const double x : {0.0, 1e308, -kInf})
    {
        for (const double edge : {1e308, kInf})
        {
            probe.SetDisplayRange(-edge, edge, 6, L"");
            probe.SetDisplayValue(x);
            EXPECT_GE(probe.GetValue(), 0.0);
            EXPECT_LE(probe.GetValue(), 1.0);
        }
    }
}

TEST_F(BaseControl, DisplayRangeKeepsItsOrderAndClampsTheDecimals)
{
    for (const auto& [decimals, kept] :
         std::vector<std::pair<int, int>>{{3, 3}, {9, 6}, {-1, 0}, {INT_MIN, 0}, {INT_MAX, 6}})
    {
        probe.SetDisplayRange(20, -20, decimals, L"Hz");
        double min = 0;
        double max = 0;
        int storedDecimals = -5;
        CString suffix;
        probe.GetDisplayRange(min, max, storedDecimals, suffix);
        EXPECT_EQ(min, 20);
        EXPECT_EQ(max, -20);
        EXPECT_EQ(storedDecimals, kept) << decimals;
        EXPECT_EQ(suffix.Str(), L"Hz");
    }
}

TEST_F(BaseControl, GridSpanIsAtLeastOneByOne)
{
    for (const auto& [span, kept] :
         std::vector<std::pair<CSize, CSize>>{{CSize(0, -2), CSize(1, 1)},
                                              {CSize(INT_MIN, 4), CSize(1, 4)},
                                              {CSize(6, 8), CSize(6, 8)}})
    {
        probe.SetGridSpan(span);
        EXPECT_EQ(probe.GetGridSpan(), kept);
    }
}

TEST_F(BaseControl, ValueTextFormatsTheDisplayValueWithItsDecimalsAndSuffix)
{
    struct Case
    {
        double value;
        double min;
        double max;
        int decimals;
        std::wstring suffix;
        std::wstring text;
    };
    const Case cases[] = {
        {0.5, 0, 100, 0, L"%", L"50%"},
        {0.25, -12, 12, 1, L" dB", L"-6.0 dB"},
        {1.0, 0, 1e308, 6, L"", std::to_wstring(1e308)}, // 309 digits, 6 decimals
        {0.0, -1e308, 0, 6, L"x", std::to_wstring(-1e308) + L"x"},
        {0.0, 5, 5, 2, L"\u00b5s", L"5.00\u00b5s"},
        {0.5, 0, 100, 0, std::wstring(10000, L'k'), L"50" + std::wstring(10000, L'k')},
    };
    for (const Case& c : cases)
    {
        probe.SetValueSilently(c.value);
        probe.SetDisplayRange(c.min, c.max, c.decimals, CString(c.suffix));
        const std::wstring text = probe.GetDrawState().valueText.Str();
        EXPECT_EQ(text.size(), c.text.size());
        EXPECT_TRUE(text == c.text) << "a text of " << text.size() << " characters";
    }
}

TEST_F(BaseControl, DrawStateIsTheControlsSnapshot)
{
    const ControlDrawState fresh;
    EXPECT_EQ(fresh.accentColor, 0x5284E5u);
    EXPECT_EQ(fresh.backgroundColor, 0x100E0Cu);
    EXPECT_TRUE(fresh.drawBorder && fresh.drawBackground);
    EXPECT_FALSE(fresh.hover || fresh.pressed || fresh.dragging || fresh.disabled || fresh.blank);

    probe.SetLabel(L"Drive");
    probe.SetSecondaryText(L"dB");
    probe.SetTextValue(L"Soft");
    probe.SetToolTip(L"How hard");
    probe.SetValueSilently(0.75);
    probe.SetSecondaryValue(0.125);
    probe.SetAccentColor(RGB(1, 2, 3));
    probe.SetBackgroundColor(RGB(4, 5, 6));
    probe.SetDisabled(true);
    probe.SetDrawBorder(false);
    const ControlDrawState state = probe.GetDrawState();
    EXPECT_EQ(state.label.Str(), L"Drive");
    EXPECT_EQ(state.secondaryText.Str(), L"dB");
    EXPECT_EQ(state.textValue.Str(), L"Soft");
    EXPECT_EQ(state.toolTip.Str(), L"How hard");
    EXPECT_EQ(state.value, 0.75);
    EXPECT_EQ(state.secondaryValue, 0.125);
    EXPECT_EQ(state.accentColor, RGB(1, 2, 3));
    EXPECT_EQ(state.backgroundColor, RGB(4, 5, 6));
    EXPECT_TRUE(state.disabled);
    EXPECT_FALSE(state.drawBorder);
    EXPECT_TRUE(state.drawBackground);
    EXPECT_EQ(state.valueText.Str(), L"75%");
}

TEST_F(BaseControl, ApplyItemUsesTheVirtualSettersInOrderAndNotifiesFromTheValue)
{
    ControlItem item;
    item.parameterId = "gain_db";
    item.label = "Gain \xc3\xa9";
    item.toolTip = "Level";
    item.accentColor = RGB(10, 20, 30);
    item.spanOverrideY = 5;
    item.displayMin = -12;
    item.displayMax = 12;
    item.displayDecimals = 1;
    item.displaySuffix = " dB";
    item.value = 0.25;
    item.secondaryValue = 0.5; // applied although hasSecondaryValue is false
    probe.SetBackgroundColor(RGB(7, 7, 7));
    probe.SetDefaultValue(0.4);
    probe.calls.clear();
    std::vector<std::string> callsWhenTold;
    parent.On(WMU_CONTROL_CHANGED,
              [&](WPARAM, LPARAM) -> std::optional<LRESULT>
              {
                  callsWhenTold = probe.calls;
                  return 0;
              });

    probe.ApplyItem(item);

    const std::vector<std::string> expected = {
        "SetLabel",          "SetSecondaryText", "SetTextValue",    "SetToolTip",
        "SetAccentColor",    "SetDisabled",      "SetBlank",        "SetDrawBorder",
        "SetDrawBackground", "SetGridSpan",      "SetDisplayRange", "SetValue",
        "SetSecondaryValue"};
    EXPECT_EQ(probe.calls, expected);
    ASSERT_FALSE(callsWhenTold.empty()) << "no notification";
    EXPECT_EQ(callsWhenTold.back(), "SetValue");
    EXPECT_EQ(probe.GetParameterId(), "gain_db");
    EXPECT_EQ(probe.GetLabel().Str(), L"Gain \u00e9");
    EXPECT_EQ(probe.GetGridSpan(), CSize(2, 5)) << "columns kept, rows overridden";
    EXPECT_EQ(probe.GetDrawState().valueText.Str(), L"-6.0 dB");
    EXPECT_EQ(probe.GetSecondaryValue(), 0.5);
    EXPECT_EQ(probe.GetKindName(), "probe");
    EXPECT_EQ(probe.GetDefaultValue(), 0.4);
    EXPECT_EQ(probe.GetBackgroundColor(), RGB(7, 7, 7));

    // A placed item's span wins over the overrides; an unchanged span is not set.
    item.explicitPlacement = true;
    item.spanX = 4;
    item.spanY = 2;
    item.spanOverrideX = 5;
    probe.ApplyItem(item);
    EXPECT_EQ(probe.GetGridSpan(), CSize(4, 2));
    item.explicitPlacement = false;
    item.spanOverrideX = 4; // the span it has
    item.spanOverrideY = 0;
    probe.calls.clear();
    probe.ApplyItem(item);
    EXPECT_EQ(std::count(probe.calls.begin(), probe.calls.end(), "SetGridSpan"), 0);
}

TEST_F(BaseControl, DisablingMidDragEndsTheGestureWithoutACommit)
{
    ::SetFocus(probe.GetSafeHwnd());
    session->PressButton(At(probe, 60, 50));
    session->MoveMouse(At(probe, 120, 50));
    ASSERT_TRUE(probe.IsDragging());
    ASSERT_EQ(::GetCapture(), probe.GetSafeHwnd());
    heard.clear();

    probe.SetDisabled(true);
    EXPECT_FALSE(probe.IsPressed() || probe.IsDragging());
    EXPECT_NE(::GetCapture(), probe.GetSafeHwnd());
    session->MoveMouse(At(probe, 200, 50));
    session->ReleaseButton(At(probe, 200, 50));
    EXPECT_TRUE(heard.empty());

    Painted();
    probe.SetDisabled(true);
    EXPECT_FALSE(RepaintPending()) << "setting the same flag again does nothing";
}

TEST_F(BaseControl, AGestureCommitsOnReleaseAndNotWhenTheCaptureIsTaken)
{
    session->PressButton(At(probe, 0, 50));
    session->MoveMouse(At(probe, 239, 50));
    session->ReleaseButton(At(probe, 239, 50));
    EXPECT_EQ(probe.GetValue(), 1.0);
    EXPECT_EQ(Count(WMU_CONTROL_COMMIT), 1);
    EXPECT_EQ(heard.back().value, 1.0);

    heard.clear();
    session->AdvanceTime(600); // the next press is not a double-click
    session->PressButton(At(probe, 120, 50));
    parent.SetCapture(); // another window takes the mouse
    session->ReleaseButton(At(probe, 200, 50));
    EXPECT_EQ(Count(WMU_CONTROL_CHANGED), 1);
    EXPECT_EQ(Count(WMU_CONTROL_COMMIT), 0);
    ::ReleaseCapture();
}

TEST_F(BaseControl, ADoubleClickIsTwoPressesOnOneSpotWithinHalfASecond)
{
    probe.SetDefaultValue(0.25);
    session->Click(At(probe, 200, 50));
    session->Click(At(probe, 200, 50));
    EXPECT_EQ(probe.GetValue(), 0.25) << "reset to the default";

    session->AdvanceTime(600);
    session->Click(At(probe, 200, 50));
    session->AdvanceTime(600);
    session->Click(At(probe, 200, 50));
    EXPECT_NEAR(probe.GetValue(), 200.0 / 239, 1e-12) << "two single clicks";
}

TEST_F(BaseControl, IsCreatedAsAToolkitWindowWithAHandCursor)
{
    wchar_t name[64] = {};
    probe.GetWindowText(name, 64);
    EXPECT_STREQ(name, L"BrimvaleProbeControlWnd");
    EXPECT_EQ(probe.GetStyle(), 0x54000000u);
    EXPECT_TRUE(probe.IsKindOf(RUNTIME_CLASS(CBaseControlWnd)));
    EXPECT_TRUE(RUNTIME_CLASS(CBaseControlWnd)->m_pfnCreateObject == nullptr);

    session->MoveMouse(At(probe, 10, 10));
    EXPECT_EQ(brvl::win32::StandardCursorId(session->ShownCursor()),
              reinterpret_cast<UINT_PTR>(IDC_HAND));
}

TEST_F(BaseControl, SurvivesItsParentDestroyingItDuringTheNotification)
{
    for (const bool deleteObject : {false, true})
    {
        SCOPED_TRACE(deleteObject ? "object deleted" : "window destroyed");
        auto owned = std::make_unique<CProbeControlWnd>();
        CreateIn(*owned, CRect(20, 140, 260, 240), 2);
        const HWND hwnd = owned->GetSafeHwnd();
        parent.On(WMU_CONTROL_CHANGED,
                  [&](WPARAM, LPARAM) -> std::optional<LRESULT>
                  {
                      if (deleteObject)
                      {
                          owned.reset();
                      }
                      else
                      {
                          owned->DestroyWindow();
                      }
                      return 0;
                  });
        owned->SetValue(0.9);
        EXPECT_FALSE(::IsWindow(hwnd));
        if (owned)
        {
            EXPECT_EQ(owned->GetValue(), 0.9);
            owned->SetValue(0.1); // no window: only stored
            EXPECT_EQ(owned->GetValue(), 0.1);
        }
    }
}

TEST(BaseControlWithoutWindow, SettersOnlyStore)
{
    CProbeControlWnd probe;
    probe.SetValue(0.5);
    probe.SetSecondaryValue(kNaN);
    probe.SetDisplayValue(kInf);
    probe.SetDisabled(true);
    probe.SetLabel(CString(std::wstring(10000, L'a')));
    EXPECT_EQ(probe.GetValue(), 1.0);
    EXPECT_EQ(probe.GetSecondaryValue(), 0.0);
    EXPECT_EQ(probe.GetLabel().GetLength(), 10000);
    EXPECT_EQ(probe.GetGridSpan(), CSize(2, 3)) << "the class's own default span";
}

namespace
{

// The probe's paint at `size`, as the window shows it.
WindowPicture PictureOf(CProbeControlWnd& probe, CSize size)
{
    probe.MoveWindow(20, 20, size.cx, size.cy);
    probe.Invalidate(FALSE);
    probe.UpdateWindow();
    WindowPicture picture;
    EXPECT_TRUE(ComposeWindowPicture(probe.GetSafeHwnd(), picture));
    return picture;
}

} // namespace

TEST_F(BaseControl, ABlankControlPaintsOnlyItsBackgroundColourAtAnySize)
{
    probe.SetBackgroundColor(RGB(200, 30, 90));
    probe.SetBlank(true);
    for (const CSize size : {CSize(1, 1), CSize(10, 10), CSize(240, 320)})
    {
        const WindowPicture picture = PictureOf(probe, size);
        ASSERT_EQ(picture.width, size.cx);
        for (int y = 0; y < picture.height; ++y)
        {
            for (int x = 0; x < picture.width; ++x)
            {
                ASSERT_EQ(picture.ColorAt(x, y), RGB(200, 30, 90))
                    << x << ", " << y << " at " << size.cx << " x " << size.cy;
            }
        }
    }
}

TEST_F(BaseControl, PaintsTheBackgroundPainterUnderItsFaceAndNothingWhenEmpty)
{
    probe.SetBackgroundColor(RGB(0, 0, 0));
    const WindowPicture picture = PictureOf(probe, CSize(10, 10));
    EXPECT_NE(picture.ColorAt(0, 5), RGB(0, 0, 0)) << "the frame";
    EXPECT_NE(picture.ColorAt(5, 5), RGB(0, 0, 0)) << "the body gradient";

    for (const CSize size : {CSize(0, 0), CSize(0, 40), CSize(32767, 8)})
    {
        probe.MoveWindow(20, 20, size.cx, size.cy);
        probe.Invalidate(FALSE);
        probe.UpdateWindow();
        EXPECT_FALSE(RepaintPending());
    }
}
