#include "controls/waveform/waveform_strip_wnd.h"

#include "platform/win32/backend_bridge.h"
#include "tests/controls/control_test_kit.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>
#include <optional>
#include <string>
#include <vector>

namespace
{

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// A track with a shape to see: a kick-like burst every half second under a
// slow swell, the right channel a little quieter and later.
AudioBuffer SyntheticTrack(double seconds, int rate = 4000)
{
    AudioBuffer audio;
    audio.sampleRate = rate;
    const auto frames = static_cast<std::size_t>(seconds * rate);
    audio.samples.resize(2 * frames);
    for (std::size_t i = 0; i < frames; ++i)
    {
        const double t = double(i) / rate;
        const double swell = 0.35 + 0.3 * std::sin(2 * std::numbers::pi * t / seconds);
        const double beat = std::exp(-9 * std::fmod(t, 0.5));
        const double lateBeat = std::exp(-9 * std::fmod(t + 0.37, 0.5));
        const double tone = std::sin(2 * std::numbers::pi * 110 * t);
        audio.samples[2 * i] = (swell + 0.5 * beat) * tone;
        audio.samples[2 * i + 1] = 0.8 * (swell + 0.5 * lateBeat) * tone;
    }
    return audio;
}

class WaveformStrip : public ControlTest
{
protected:
    struct Told
    {
        UINT message;
        WaveformNotify record;
        HWND from;
    };

    void SetUp() override
    {
        ControlTest::SetUp();
        parent.MoveWindow(40, 40, 1300, 600); // room for the strip's usual width
        for (const UINT message : {WMU_WAVEFORM_PLAYHEAD, WMU_WAVEFORM_RANGE})
        {
            parent.On(message,
                      [this, message](WPARAM wParam, LPARAM lParam) -> std::optional<LRESULT>
                      {
                          told.push_back({message, *reinterpret_cast<WaveformNotify*>(lParam),
                                          reinterpret_cast<HWND>(wParam)});
                          return 0;
                      });
        }
        Make(CSize(1200, 120));
    }

    // Created as the view creates it, before a track is loaded.
    void Make(CSize size)
    {
        if (strip.GetSafeHwnd() != nullptr)
        {
            strip.DestroyWindow();
            // As a fresh strip: no track, no render.
            strip.SetPeaks(WaveformPeaks{});
            strip.SetProgress(false, 0, L"");
        }
        ASSERT_TRUE(strip.Create(&parent, CRect(CPoint(20, 20), size), 8705));
        strip.SetDuration(12);
        strip.SetViewRange(2, 6.5, false);
        strip.SetPlayhead(2);
        strip.SetPlaybackState(false, true);
        Settle();
        told.clear();
    }

    void Load(double seconds)
    {
        strip.SetPeaks(SyntheticTrack(seconds));
        strip.UpdateWindow();
        told.clear();
    }

    // The screen point over time `t`, half-way down the waveform area.
    POINT AtTime(double t) const
    {
        const RECT& wave = strip.GetWaveRect();
        const TimeSpan zoom = ResolveZoom(strip.zoomStart, strip.zoomEnd, strip.duration);
        return At(strip, TimeToX(t, wave, zoom), (wave.top + wave.bottom) / 2);
    }

    static POINT Right(POINT p, int dx) { return POINT{p.x + dx, p.y}; }

    std::vector<UINT> Messages() const
    {
        std::vector<UINT> messages;
        for (const Told& t : told)
        {
            messages.push_back(t.message);
        }
        return messages;
    }

    bool RepaintPending() const { return ::GetUpdateRect(strip.GetSafeHwnd(), nullptr, FALSE); }

    // One time step of the wave area, in seconds.
    double Column() const
    {
        const RECT& wave = strip.GetWaveRect();
        return (strip.zoomEnd - strip.zoomStart) / (wave.right - wave.left);
    }

    void Pause() { session->AdvanceTime(600); }

    CWaveformStripWnd strip;
    std::vector<Told> told;
};

} // namespace

TEST_F(WaveformStrip, IsCreatedAsTheViewCreatesIt)
{
    EXPECT_EQ(strip.GetStyle(), 0x54000000u);
    wchar_t name[64] = {};
    strip.GetWindowText(name, 64);
    EXPECT_STREQ(name, L"BrimvaleWaveformStripWnd");
    EXPECT_DOUBLE_EQ(strip.duration, 12);
    EXPECT_DOUBLE_EQ(strip.viewStart, 2);
    EXPECT_DOUBLE_EQ(strip.viewEnd, 6.5);
    EXPECT_DOUBLE_EQ(strip.playhead, 2);
    EXPECT_TRUE(strip.playheadLit);
    EXPECT_FALSE(strip.GetPeaks().HasColumns());
    EXPECT_TRUE(told.empty()) << "the owner's setup tells nothing";
}

TEST_F(WaveformStrip, SetDurationResetsTheZoomOnlyWhenTheLengthChanges)
{
    Load(12);
    strip.SetZoomRange(3, 9);
    strip.SetDuration(12.00005);
    EXPECT_DOUBLE_EQ(strip.duration, 12);
    EXPECT_DOUBLE_EQ(strip.zoomStart, 3) << "the zoom stays";

    strip.SetPlayhead(10);
    strip.SetDuration(5);
    EXPECT_DOUBLE_EQ(strip.zoomStart, 0);
    EXPECT_DOUBLE_EQ(strip.zoomEnd, 5);
    EXPECT_DOUBLE_EQ(strip.viewStart, 2);
    EXPECT_DOUBLE_EQ(strip.viewEnd, 5);
    EXPECT_DOUBLE_EQ(strip.playhead, 5) << "held to the new length";

    for (const auto& [seconds, stored] : std::vector<std::pair<double, double>>{
             {0, 0.001}, {1e-9, 0.001}, {1e12, 1e12}, {-3, 0.001}})
    {
        strip.SetDuration(seconds);
        EXPECT_DOUBLE_EQ(strip.duration, stored) << seconds;
        EXPECT_LE(strip.viewEnd, strip.duration);
        EXPECT_LE(strip.playhead, strip.duration);
        strip.UpdateWindow();
    }
    EXPECT_TRUE(told.empty());
}

TEST_F(WaveformStrip, NonFiniteArgumentsAreIgnored)
{
    Load(12);
    strip.SetZoomRange(1, 11);
    strip.SetProgress(true, 0.3, L"Processing");
    strip.UpdateWindow();
    for (const double bad : {kNaN, kInf, -kInf})
    {
        strip.SetDuration(bad);
        strip.SetPlayhead(bad);
        strip.SetViewRange(bad, 4, true);
        strip.SetViewRange(3, bad, true);
        strip.SetZoomRange(bad, 5);
        strip.SetZoomRange(2, bad);
        strip.SetProgress(true, bad, L"Processing");
        EXPECT_FALSE(RepaintPending()) << bad;
    }
    EXPECT_DOUBLE_EQ(strip.duration, 12);
    EXPECT_DOUBLE_EQ(strip.playhead, 2);
    EXPECT_DOUBLE_EQ(strip.viewStart, 2);
    EXPECT_DOUBLE_EQ(strip.viewEnd, 6.5);
    EXPECT_DOUBLE_EQ(strip.zoomStart, 1);
    EXPECT_DOUBLE_EQ(strip.zoomEnd, 11);
    EXPECT_DOUBLE_EQ(strip.progressFraction, 0.3);
    EXPECT_TRUE(told.empty());
}

TEST_F(WaveformStrip, SetViewRangeTellsOnlyWhenAskedAndWhenItMoved)
{
    Load(12);
    strip.SetViewRange(5, 3, true);
    EXPECT_DOUBLE_EQ(strip.viewStart, 3);
    EXPECT_DOUBLE_EQ(strip.viewEnd, 5);
    ASSERT_EQ(Messages(), std::vector<UINT>{WMU_WAVEFORM_RANGE});
    EXPECT_EQ(told[0].record.messageId, int(WMU_WAVEFORM_RANGE));
    EXPECT_EQ(told[0].from, strip.GetSafeHwnd());
    EXPECT_DOUBLE_EQ(told[0].record.viewStart, 3);
    EXPECT_TRUE(told[0].record.playheadLit);

    strip.UpdateWindow();
    strip.SetViewRange(3.00005, 5, true);
    EXPECT_EQ(told.size(), 1u) << "no move, no message";
    EXPECT_FALSE(RepaintPending());
    strip.SetViewRange(7, 9, false);
    EXPECT_EQ(told.size(), 1u);
    EXPECT_TRUE(RepaintPending());
}

TEST_F(WaveformStrip, SetPlayheadRepaintsOnlyTheBandItCrossed)
{
    Load(12);
    strip.UpdateWindow();
    const RECT& wave = strip.GetWaveRect();
    const TimeSpan zoom{0, 12};
    strip.SetPlayhead(3);
    RECT update{};
    ASSERT_TRUE(::GetUpdateRect(strip.GetSafeHwnd(), &update, FALSE));
    EXPECT_EQ(update.left, TimeToX(2, wave, zoom) - 4);
    EXPECT_EQ(update.right, TimeToX(3, wave, zoom) + 4);
    EXPECT_EQ(update.top, wave.top - 5);
    EXPECT_EQ(update.bottom, wave.bottom + 5);
    EXPECT_TRUE(told.empty()) << "the owner's play-head is not echoed";

    strip.UpdateWindow();
    strip.SetPlayhead(-4);
    EXPECT_DOUBLE_EQ(strip.playhead, 0);
    strip.SetPlayhead(99);
    EXPECT_DOUBLE_EQ(strip.playhead, 12);
}

TEST_F(WaveformStrip, AClickOutsideTheRangeMovesItThenThePlayhead)
{
    Load(12);
    session->Click(AtTime(11));
    EXPECT_DOUBLE_EQ(strip.viewStart, 7.5);
    EXPECT_DOUBLE_EQ(strip.viewEnd, 12);
    EXPECT_DOUBLE_EQ(strip.playhead, 7.5);
    ASSERT_EQ(Messages(), (std::vector<UINT>{WMU_WAVEFORM_RANGE, WMU_WAVEFORM_PLAYHEAD}));
    EXPECT_DOUBLE_EQ(told[0].record.viewStart, 7.5) << "the parent reads the new range";
    EXPECT_DOUBLE_EQ(told[0].record.viewEnd, 12);
    EXPECT_DOUBLE_EQ(told[1].record.playhead, 7.5);
    EXPECT_EQ(told[1].record.messageId, int(WMU_WAVEFORM_PLAYHEAD));
    EXPECT_EQ(::GetCapture(), nullptr) << "a click outside takes no capture";
    EXPECT_EQ(::GetFocus(), strip.GetSafeHwnd());
}

TEST_F(WaveformStrip, AClickInsideTheRangeMovesOnlyThePlayhead)
{
    Load(12);
    session->Click(AtTime(5.5));
    EXPECT_NEAR(strip.playhead, 5.5, Column());
    EXPECT_DOUBLE_EQ(strip.viewStart, 2);
    EXPECT_DOUBLE_EQ(strip.viewEnd, 6.5);
    ASSERT_EQ(Messages(), std::vector<UINT>{WMU_WAVEFORM_PLAYHEAD});
    EXPECT_NEAR(told[0].record.playhead, 5.5, Column());
    EXPECT_DOUBLE_EQ(told[0].record.viewEnd, 6.5);
}

TEST_F(WaveformStrip, AnEdgePressBelowTheDragThresholdTellsNothing)
{
    Load(12);
    const POINT edge = AtTime(2);
    session->PressButton(edge);
    EXPECT_EQ(::GetCapture(), strip.GetSafeHwnd());
    session->MoveMouse(Right(edge, 3)); // SM_CXDRAG is 4
    session->ReleaseButton(Right(edge, 3));
    EXPECT_TRUE(told.empty());
    EXPECT_DOUBLE_EQ(strip.viewStart, 2);
    EXPECT_EQ(::GetCapture(), nullptr);
}

TEST_F(WaveformStrip, EdgeDragsMoveOneEndAndSwapPastTheOther)
{
    Load(12);
    session->PressButton(AtTime(6.5));
    session->MoveMouse(AtTime(8));
    EXPECT_TRUE(told.empty()) << "nothing while dragging";
    EXPECT_EQ(strip.dragZone, kZoneEndEdge);
    session->ReleaseButton(AtTime(8));
    EXPECT_NEAR(strip.viewEnd, 8, Column());
    ASSERT_EQ(Messages(), std::vector<UINT>{WMU_WAVEFORM_RANGE});
    EXPECT_NEAR(told[0].record.viewEnd, 8, Column());
    EXPECT_DOUBLE_EQ(strip.playhead, 2) << "an edge drag leaves the play-head";

    // The start edge dragged past the end: the ends swap.
    Pause();
    told.clear();
    const double end = strip.viewEnd;
    session->PressButton(AtTime(2));
    session->MoveMouse(AtTime(10));
    session->ReleaseButton(AtTime(10));
    EXPECT_NEAR(strip.viewStart, end, 1e-9);
    EXPECT_NEAR(strip.viewEnd, 10, Column());
    EXPECT_EQ(Messages(), std::vector<UINT>{WMU_WAVEFORM_RANGE});

    // Squeezed onto the other edge, it stays half a second wide.
    Pause();
    session->PressButton(AtTime(strip.viewEnd));
    session->MoveMouse(AtTime(strip.viewStart));
    session->ReleaseButton(AtTime(strip.viewStart));
    EXPECT_NEAR(strip.viewEnd - strip.viewStart, 0.5, 1e-9);
}

TEST_F(WaveformStrip, ABodyDragMovesTheRangeAndSendsPlayheadThenRange)
{
    Load(12);
    session->PressButton(AtTime(4));
    ASSERT_EQ(Messages(), std::vector<UINT>{WMU_WAVEFORM_PLAYHEAD})
        << "the press moves the play-head";
    told.clear();
    session->MoveMouse(AtTime(6));
    session->MoveMouse(AtTime(30)); // past the end of the track
    session->ReleaseButton(AtTime(30));
    EXPECT_DOUBLE_EQ(strip.viewEnd, 12) << "held at the end, width kept";
    EXPECT_NEAR(strip.viewStart, 7.5, 1e-9);
    EXPECT_DOUBLE_EQ(strip.playhead, strip.viewStart);
    ASSERT_EQ(Messages(), (std::vector<UINT>{WMU_WAVEFORM_PLAYHEAD, WMU_WAVEFORM_RANGE}));
    EXPECT_DOUBLE_EQ(told[0].record.playhead, strip.viewStart);
    EXPECT_EQ(::GetCapture(), nullptr);
    EXPECT_EQ(strip.dragZone, 0);
    EXPECT_FALSE(strip.dragging);
}

TEST_F(WaveformStrip, ALostCaptureEndsTheDragSilently)
{
    Load(12);
    session->PressButton(AtTime(2));
    session->MoveMouse(AtTime(1));
    ASSERT_TRUE(strip.dragging);
    parent.SetCapture(); // another window takes the mouse
    EXPECT_FALSE(strip.dragging);
    EXPECT_EQ(strip.pressZone, 0);
    session->ReleaseButton(AtTime(1));
    EXPECT_TRUE(told.empty());
    EXPECT_NEAR(strip.viewStart, 1, Column()) << "the range keeps what the drag did";
}

TEST_F(WaveformStrip, PressesAtNegativeCoordinatesWhileCapturedStayInTheTrack)
{
    Load(12);
    session->PressButton(AtTime(6.5));
    for (const POINT p : {At(strip, -500, -40), At(strip, -30000, 60), At(strip, 90000, -9000)})
    {
        session->MoveMouse(p);
        EXPECT_GE(strip.viewStart, 0);
        EXPECT_LE(strip.viewEnd, 12);
        EXPECT_GE(strip.viewEnd - strip.viewStart, 0.5 - 1e-9);
    }
    session->ReleaseButton(At(strip, -500, -40));
    ASSERT_EQ(Messages(), std::vector<UINT>{WMU_WAVEFORM_RANGE});
    EXPECT_TRUE(std::isfinite(told[0].record.viewStart) && std::isfinite(told[0].record.viewEnd));
}

TEST_F(WaveformStrip, WheelZoomsRoundTheViewRange)
{
    strip.SetPeaks(SyntheticTrack(60, 400));
    strip.SetViewRange(28, 32, false);
    strip.SetPlayhead(28);
    told.clear();
    session->Wheel(AtTime(50), WHEEL_DELTA);
    EXPECT_DOUBLE_EQ(strip.zoomStart, 6);
    EXPECT_DOUBLE_EQ(strip.zoomEnd, 54);
    for (int step = 0; step < 12; ++step)
    {
        session->Wheel(AtTime(30), WHEEL_DELTA);
    }
    EXPECT_NEAR(strip.zoomEnd - strip.zoomStart, 5.4, 1e-9);
    EXPECT_TRUE(told.empty()) << "zooming tells nothing";
    EXPECT_EQ(log.Count("parent", WM_MOUSEWHEEL), 0) << "the strip used the wheel";

    // A click outside the zoomed part's view moves the range; the zoom follows.
    session->Click(AtTime(strip.zoomEnd));
    EXPECT_GE(strip.viewStart, strip.zoomStart);
    EXPECT_LE(strip.viewEnd, strip.zoomEnd);
}

TEST_F(WaveformStrip, WhilePlayingItTakesNoInputAndTheWheelReachesTheParent)
{
    Load(12);
    strip.SetPlaybackState(true, true);
    session->Click(AtTime(11));
    Pause();
    session->Click(AtTime(5));
    Pause();
    session->PressButton(AtTime(2));
    session->MoveMouse(AtTime(0.5));
    session->ReleaseButton(AtTime(0.5));
    EXPECT_DOUBLE_EQ(strip.viewStart, 2);
    EXPECT_DOUBLE_EQ(strip.viewEnd, 6.5);
    EXPECT_DOUBLE_EQ(strip.playhead, 2);
    EXPECT_TRUE(told.empty());

    session->Wheel(AtTime(4), WHEEL_DELTA);
    EXPECT_DOUBLE_EQ(strip.zoomEnd, 12);
    EXPECT_EQ(log.Count("parent", WM_MOUSEWHEEL), 1);

    strip.SetPlaybackState(false, true);
    session->Wheel(AtTime(4), 0);
    EXPECT_DOUBLE_EQ(strip.zoomEnd, 12);
    EXPECT_EQ(log.Count("parent", WM_MOUSEWHEEL), 2) << "a wheel of no delta goes on too";
}

TEST_F(WaveformStrip, ADoubleClickDoesNothing)
{
    Load(12);
    session->Click(AtTime(4));
    told.clear();
    session->Click(Right(AtTime(4), 2)); // quick and close: a double-click
    EXPECT_TRUE(told.empty());
    EXPECT_NEAR(strip.playhead, 4, Column());
}

TEST_F(WaveformStrip, HoverLightsAGripUntilThePointerLeaves)
{
    Load(12);
    RecordingWnd sibling("sibling", log);
    ASSERT_TRUE(sibling.CreateChild(parent, CRect(20, 300, 220, 360)));
    Settle();

    session->MoveMouse(AtTime(6.5));
    EXPECT_EQ(strip.hoverZone, kZoneEndEdge);
    EXPECT_EQ(brvl::win32::StandardCursorId(session->ShownCursor()),
              reinterpret_cast<UINT_PTR>(IDC_SIZEWE));
    session->MoveMouse(AtTime(2));
    EXPECT_EQ(strip.hoverZone, kZoneStartEdge);
    session->MoveMouse(AtTime(4));
    EXPECT_EQ(strip.hoverZone, kZoneInsideRange);
    EXPECT_EQ(brvl::win32::StandardCursorId(session->ShownCursor()),
              reinterpret_cast<UINT_PTR>(IDC_ARROW));
    session->MoveMouse(AtTime(6.5));

    // The lit end grip, then the pointer goes to the sibling.
    const RECT& wave = strip.GetWaveRect();
    const int gripX = TimeToX(6.5, wave, TimeSpan{0, 12});
    const auto gripColor = [&]
    {
        WindowPicture picture;
        EXPECT_TRUE(ComposeWindowPicture(strip.GetSafeHwnd(), picture));
        return picture.ColorAt(gripX, wave.top + 10);
    };
    const COLORREF lit = gripColor();
    session->MoveMouse(At(sibling, 10, 10));
    PumpPendingMessages();
    EXPECT_EQ(strip.hoverZone, 0);
    EXPECT_NE(gripColor(), lit) << "the grip is no longer lit";
}

TEST_F(WaveformStrip, WithoutPeaksEveryPressMovesTheUndrawnRange)
{
    ASSERT_FALSE(strip.GetPeaks().HasColumns());
    session->Click(AtTime(4)); // inside the range, were it drawn
    EXPECT_EQ(Messages(), (std::vector<UINT>{WMU_WAVEFORM_RANGE, WMU_WAVEFORM_PLAYHEAD}));
    EXPECT_NEAR(strip.viewStart, 4 - 2.25, Column());
    EXPECT_DOUBLE_EQ(strip.playhead, strip.viewStart);
    EXPECT_EQ(::GetCapture(), nullptr);
}

TEST_F(WaveformStrip, BadTracksAndSizesLeaveItFiniteAndPainted)
{
    const std::vector<std::pair<std::string, AudioBuffer>> tracks = []
    {
        std::vector<std::pair<std::string, AudioBuffer>> list;
        AudioBuffer audio;
        audio.sampleRate = 48000;
        list.emplace_back("empty", audio);
        audio.samples = {0.5};
        list.emplace_back("one sample", audio);
        audio.samples = {0.5, -0.2, 0.9};
        list.emplace_back("odd count", audio);
        audio.samples = {kNaN, kInf, -kInf, 0.3};
        list.emplace_back("non-finite samples", audio);
        audio.sampleRate = 0;
        list.emplace_back("rate 0", audio);
        audio.sampleRate = -8;
        list.emplace_back("negative rate", audio);
        return list;
    }();
    for (const CSize size : {CSize(0, 0), CSize(10, 8), CSize(400, 60)})
    {
        Make(size);
        for (const auto& [name, audio] : tracks)
        {
            SCOPED_TRACE(name + " at " + std::to_string(size.cx));
            strip.SetPeaks(audio);
            for (const float v : strip.GetPeaks().left)
            {
                EXPECT_TRUE(std::isfinite(v) && v >= 0 && v <= 1);
            }
            session->Click(At(strip, 9, 7));
            Pause();
            session->Wheel(At(strip, 9, 7), -WHEEL_DELTA);
            session->PressButton(At(strip, 5, 5));
            session->MoveMouse(At(strip, -50, -50));
            session->ReleaseButton(At(strip, -50, -50));
            Pause();
            strip.SetPlayhead(0.5);
            strip.UpdateWindow();
            for (const Told& t : told)
            {
                EXPECT_TRUE(std::isfinite(t.record.playhead) && std::isfinite(t.record.viewStart) &&
                            std::isfinite(t.record.viewEnd));
            }
            told.clear();
        }
    }
    EXPECT_DOUBLE_EQ(strip.duration, 1.0) << "the last track had no rate";
    EXPECT_EQ(strip.GetPeaks().left.size(), 2u);
}

TEST_F(WaveformStrip, SetProgressRepaintsOnlyForAChange)
{
    strip.UpdateWindow();
    strip.SetProgress(false, 0, L"");
    EXPECT_FALSE(RepaintPending()) << "an empty text is \"Processing\"";
    strip.SetProgress(true, 7, L"Rendering");
    EXPECT_TRUE(RepaintPending());
    EXPECT_DOUBLE_EQ(strip.progressFraction, 1);
    EXPECT_EQ(strip.progressText, CString(L"Rendering"));
    strip.UpdateWindow();
    strip.SetProgress(true, 1.00001, L"Rendering");
    EXPECT_FALSE(RepaintPending());
    strip.SetPlaybackState(false, true);
    EXPECT_FALSE(RepaintPending()) << "the same flags";
    strip.SetPlaybackState(true, true);
    EXPECT_TRUE(RepaintPending());
}

TEST_F(WaveformStrip, PicturesOfATrackWithItsRangeAndWithProgress)
{
    for (const CSize size : {CSize(1200, 120), CSize(400, 60)})
    {
        const std::string tag = std::to_string(size.cx) + "x" + std::to_string(size.cy);
        Make(size);
        ASSERT_TRUE(RenderWindowToPng(strip.GetSafeHwnd(),
                                      ControlPicturePath("waveform_strip_no_peaks_" + tag)));

        Load(12);
        strip.SetViewRange(3, 7.5, false);
        strip.SetPlayhead(5.2);
        session->MoveMouse(AtTime(7.5)); // the end grip lit
        ASSERT_TRUE(RenderWindowToPng(strip.GetSafeHwnd(),
                                      ControlPicturePath("waveform_strip_range_" + tag)));
        const RECT& wave = strip.GetWaveRect();
        const TimeSpan zoom{0, 12};
        WindowPicture picture;
        ASSERT_TRUE(ComposeWindowPicture(strip.GetSafeHwnd(), picture));
        const auto pixel = [&](int x, int y)
        { return picture.pixels[std::size_t(y) * picture.width + x]; };
        const int shaded = TimeToX(1, wave, zoom);
        const int inRange = TimeToX(4, wave, zoom);
        EXPECT_NE(pixel(shaded, wave.top + 2), pixel(inRange, wave.top + 2)) << "outside is shaded";
        const int head = TimeToX(5.2, wave, zoom);
        EXPECT_GT(pixel(head, wave.top - 2) & 0xFFu, 0x80u)
            << "the play-head reaches above the area";
        EXPECT_LT(pixel(head + 8, wave.top - 2) & 0xFFu, 0x40u);

        session->MoveMouse(At(parent, 5, 5));
        PumpPendingMessages();
        strip.SetProgress(true, 0.42, L"Processing");
        ASSERT_TRUE(RenderWindowToPng(strip.GetSafeHwnd(),
                                      ControlPicturePath("waveform_strip_progress_" + tag)));
    }
}
