// The Codex page: the activity cursor as a pure function, then the page's
// children, layout, tabs and feeding, its odd input and its pictures.

#include "pages/codex_viewport_wnd.h"

#include "controls/base/control_messages.h"
#include "platform/win32/test_hooks.h"
#include "tests/controls/control_test_kit.h"
#include "tests/pages/page_test_kit.h"
#include "tests/support/signals.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <string>
#include <vector>

namespace
{

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr COLORREF kPageBackground = 0x100E0C;

// Two seconds at 8 kHz: a swelling sine as the source, the same a little
// louder and with both gain-reduction series as the processed preview.
AudioBuffer Track(double amplitude, bool withSeries)
{
    constexpr int kRate = 8000;
    AudioBuffer audio = StereoSine(330, kRate, 2.0, amplitude);
    for (std::size_t i = 0; i < audio.FrameCount(); ++i)
    {
        const double swell = 0.5 + 0.5 * std::sin(double(i) / kRate * 6.0);
        audio.samples[2 * i] *= swell;
        audio.samples[2 * i + 1] *= 0.7 * swell;
    }
    if (withSeries)
    {
        std::vector<float> limiter(200);
        std::vector<float> dynamics(200);
        for (std::size_t i = 0; i < limiter.size(); ++i)
        {
            limiter[i] = float(std::max(0.0, 5 * std::sin(double(i) / 15)));
            dynamics[i] = float(2 + 1.5 * std::sin(double(i) / 40));
        }
        audio.meterSeries.push_back({"stage4.gain_reduction_db", 100, limiter});
        audio.meterSeries.push_back({"dynamics.gain_reduction_db", 100, dynamics});
    }
    return audio;
}

std::wstring WindowName(const CWnd& window)
{
    wchar_t name[64] = {};
    ::GetWindowText(window.GetSafeHwnd(), name, 64);
    return name;
}

bool RepaintPending(const CWnd& window)
{
    return ::GetUpdateRect(window.GetSafeHwnd(), nullptr, FALSE) != FALSE;
}

bool Visible(const CWnd& window)
{
    return ::IsWindowVisible(window.GetSafeHwnd()) != FALSE;
}

class CodexPage : public WindowTest
{
protected:
    void SetUp() override { ASSERT_TRUE(host.CreateTopLevel(CRect(20, 20, 1020, 720))); }

    void CreatePage()
    {
        ASSERT_TRUE(page.Create(&host, CRect(0, 0, 960, 640)));
        Settle();
    }

    std::vector<CWnd*> Graphs()
    {
        return {&page.previewGraph, &page.energyGraph, &page.toneGraph, &page.stereoGraph,
                &page.activityGraph};
    }

    // The cursor each graph holds; the activity graph's as its fraction.
    std::vector<double> Cursors() const
    {
        return {page.previewGraph.cursorSec, page.energyGraph.cursorSec, page.toneGraph.cursorSec,
                page.stereoGraph.cursorSec, page.activityGraph.cursorFraction};
    }

    void SelectTab(int index)
    {
        page.tabSwitch.SetSelectedIndex(index);
        ASSERT_EQ(page.mode, index);
    }

    void ValidateGraphs()
    {
        for (CWnd* graph : Graphs())
        {
            ::ValidateRect(graph->GetSafeHwnd(), nullptr);
        }
    }

    // A point of the tab switch's client that hits segment `index`.
    POINT TabPoint(int index) const
    {
        CRect client;
        page.tabSwitch.GetClientRect(&client);
        for (int y = 0; y < client.bottom; y += 2)
        {
            for (int x = 0; x < client.right; x += 4)
            {
                if (page.tabSwitch.HitTest(CPoint(x, y)) == index)
                {
                    return ScreenPoint(page.tabSwitch, x + 4, y + 2);
                }
            }
        }
        ADD_FAILURE() << "no point of the switch hits segment " << index;
        return {};
    }

    RecordingWnd host{"host", log};
    CCodexViewportWnd page;
};

} // namespace

TEST(CodexCursorFraction, SecondsOverTheProcessedLengthHeldToZeroAndOne)
{
    const AudioBuffer twoSeconds = Track(0.5, false);
    AudioBuffer noRate = twoSeconds;
    noRate.sampleRate = 0;
    AudioBuffer oneFrame;
    oneFrame.sampleRate = 8000;
    oneFrame.samples = {0.1, 0.1};
    struct Case
    {
        const char* name;
        double seconds;
        const AudioBuffer& processed;
        double fraction;
    };
    const Case cases[] = {
        {"middle", 1.0, twoSeconds, 0.5},
        {"start", 0.0, twoSeconds, 0.0},
        {"negative", -0.5, twoSeconds, 0.0},
        {"beyond the end", 3.0, twoSeconds, 1.0},
        {"1e12", 1e12, twoSeconds, 1.0},
        {"infinite", kInf, twoSeconds, 1.0},
        {"minus infinite", -kInf, twoSeconds, 0.0},
        {"NaN", kNaN, twoSeconds, 0.0},
        {"no processed buffer", 1.0, AudioBuffer{}, 0.0},
        {"no rate", 1.0, noRate, 0.0},
        {"one frame, past it", 1.0, oneFrame, 1.0},
    };
    for (const Case& c : cases)
    {
        EXPECT_EQ(CodexCursorFraction(c.seconds, c.processed), c.fraction) << c.name;
    }
}

TEST_F(CodexPage, CreationBuildsTabsGraphsAndLayout)
{
    CreatePage();
    EXPECT_EQ(WindowName(page), L"BrimvaleCodexViewportWnd");
    EXPECT_EQ(page.GetDlgCtrlID(), 8727);
    EXPECT_EQ(page.mode, kCodexReference);
    EXPECT_EQ(page.backgroundColor, kPageBackground);

    ASSERT_TRUE(::IsWindow(page.tabSwitch.GetSafeHwnd()));
    EXPECT_EQ(page.tabSwitch.GetDlgCtrlID(), 12960);
    EXPECT_EQ(page.tabSwitch.GetCount(), 5);
    const std::vector<CString> labels = {L"Reference", L"Energy", L"Spectrum", L"Stereo",
                                         L"Activity"};
    EXPECT_EQ(page.tabSwitch.GetLabels(), labels);
    EXPECT_EQ(page.tabSwitch.GetAccentColor(), COLORREF(0x459AC8));
    EXPECT_EQ(page.tabSwitch.GetBackgroundColor(), kPageBackground);
    EXPECT_TRUE(page.tabSwitch.GetLabel().IsEmpty());
    EXPECT_EQ(page.tabSwitch.GetSelectedIndex(), 0);

    struct Expected
    {
        CWnd* graph;
        const wchar_t* name;
        int id;
        bool visible;
    };
    const Expected expected[] = {
        {&page.previewGraph, L"BrimvalePreviewGraphWnd", 12961, true},
        {&page.energyGraph, L"BrimvaleEnergyDeltaGraphWnd", 12962, false},
        {&page.toneGraph, L"BrimvaleToneGraphWnd", 12963, false},
        {&page.stereoGraph, L"BrimvaleStereoFieldGraphWnd", 12964, false},
        {&page.activityGraph, L"BrimvaleActivityGraphWnd", 12965, false},
    };
    for (const Expected& e : expected)
    {
        SCOPED_TRACE(::testing::Message() << e.id);
        ASSERT_TRUE(::IsWindow(e.graph->GetSafeHwnd()));
        EXPECT_EQ(WindowName(*e.graph), e.name);
        EXPECT_EQ(e.graph->GetDlgCtrlID(), e.id);
        EXPECT_EQ(Visible(*e.graph), e.visible);
        EXPECT_EQ(::GetParent(e.graph->GetSafeHwnd()), page.GetSafeHwnd());
    }
    EXPECT_DOUBLE_EQ(page.previewGraph.windowSec, 0.055);
    EXPECT_TRUE(page.previewGraph.showRms);
    EXPECT_DOUBLE_EQ(page.energyGraph.windowSec, 0.12);
    EXPECT_DOUBLE_EQ(page.toneGraph.windowSec, 0.12);
    EXPECT_DOUBLE_EQ(page.stereoGraph.windowSec, 0.055);

    // 960 x 640: the client inset by 10, the tab row at the switch's height.
    EXPECT_EQ(CRect(page.layout.Root().rect), CRect(10, 10, 950, 630));
    const CRect row = page.layout.GetNodeRect(CCodexViewportWnd::kTabSlot);
    const CRect area = page.layout.GetNodeRect(CCodexViewportWnd::kGraphSlot);
    EXPECT_EQ(row, CRect(10, 10, 950, 90));
    EXPECT_EQ(area, CRect(10, 100, 950, 630));
    CRect placed;
    page.previewGraph.GetWindowRect(&placed);
    page.ScreenToClient(&placed);
    EXPECT_EQ(placed, area);

    // Smaller than the inset: a rectangle of no size; no size at all: left as it was.
    for (const CSize size : {CSize(15, 15), CSize(1, 1)})
    {
        page.MoveWindow(0, 0, size.cx, size.cy);
        EXPECT_EQ(CRect(page.layout.Root().rect), CRect(10, 10, 10, 10)) << size.cx;
    }
    page.MoveWindow(0, 0, 0, 0);
    EXPECT_EQ(CRect(page.layout.Root().rect), CRect(10, 10, 10, 10));
    page.MoveWindow(0, 0, 960, 640);
    EXPECT_EQ(CRect(page.layout.Root().rect), CRect(10, 10, 950, 630));
}

TEST_F(CodexPage, AClickOnATabShowsItsGraphWithTheCursorItLastHad)
{
    CreatePage();
    page.SetCursor(0.75);
    EXPECT_EQ(page.previewGraph.cursorSec, 0.75);
    EXPECT_EQ(page.toneGraph.cursorSec, 0.0);

    session->Click(TabPoint(2));
    EXPECT_EQ(page.mode, kCodexSpectrum);
    EXPECT_TRUE(Visible(page.toneGraph));
    EXPECT_FALSE(Visible(page.previewGraph));
    EXPECT_TRUE(page.layout.IsWindowActiveInSlot(CCodexViewportWnd::kGraphSlot,
                                                 page.toneGraph.GetSafeHwnd()));
    EXPECT_EQ(page.toneGraph.cursorSec, 0.0) << "switching passes no cursor";
    page.SetCursor(1.25);
    EXPECT_EQ(page.toneGraph.cursorSec, 1.25);
    EXPECT_EQ(page.previewGraph.cursorSec, 0.75);

    // Another control's change, or one naming no control, changes nothing.
    CSegmentSwitchWnd stranger;
    ASSERT_TRUE(stranger.Create(CRect(0, 0, 160, 80), &host, 77));
    stranger.SetLabels({L"a", L"b", L"c", L"d", L"e"});
    stranger.SetSelectedIndex(4);
    CWnd unrelated;
    for (const LPARAM sender :
         {LPARAM(0), reinterpret_cast<LPARAM>(&stranger), reinterpret_cast<LPARAM>(&unrelated)})
    {
        EXPECT_EQ(page.SendMessage(WMU_CONTROL_CHANGED, 0, sender), 0);
        EXPECT_EQ(page.mode, kCodexSpectrum);
        EXPECT_TRUE(Visible(page.toneGraph));
    }

    // Back to the first tab: the graph marked visible at creation shows again.
    session->Click(TabPoint(0));
    EXPECT_EQ(page.mode, kCodexReference);
    EXPECT_TRUE(Visible(page.previewGraph));
    EXPECT_FALSE(Visible(page.toneGraph));
}

TEST_F(CodexPage, SetCursorReachesTheShownGraphOnly)
{
    CreatePage();
    page.SetProcessedData(Track(0.6, true)); // two seconds
    struct Case
    {
        const char* name;
        double seconds;
        double graphCursor;    // modes 0 to 3
        double cursorFraction; // mode 4
    };
    const Case cases[] = {
        {"inside", 0.5, 0.5, 0.25},          {"negative", -0.4, 0.0, 0.0},
        {"beyond the end", 3.0, 3.0, 1.0},   {"NaN", kNaN, 0.0, 0.0},
        {"minus infinite", -kInf, 0.0, 0.0},
    };
    for (int mode = 0; mode < 5; ++mode)
    {
        SelectTab(mode);
        for (const Case& c : cases)
        {
            SCOPED_TRACE(::testing::Message() << "mode " << mode << ", " << c.name);
            page.SetCursor(1.0); // a cursor the case moves away from
            const std::vector<double> before = Cursors();
            page.SetCursor(c.seconds);
            EXPECT_TRUE(std::isnan(c.seconds) ? std::isnan(page.cursorSeconds)
                                              : page.cursorSeconds == c.seconds);
            std::vector<double> after = Cursors();
            for (int g = 0; g < 5; ++g)
            {
                if (g != mode)
                {
                    EXPECT_EQ(after[g], before[g]) << "graph " << g;
                }
            }
            EXPECT_EQ(after[mode], mode == kCodexActivity ? c.cursorFraction : c.graphCursor);
        }
    }

    // With only a source the activity cursor stays at the start.
    page.SetProcessedData(AudioBuffer{});
    page.SetSourceData(Track(0.5, false));
    page.SetCursor(1.0);
    EXPECT_EQ(page.activityGraph.cursorFraction, 0.0);
}

TEST_F(CodexPage, RepaintsOnlyOnChangesAndFeedsHiddenGraphs)
{
    CreatePage();
    const AudioBuffer source = Track(0.5, false);
    const AudioBuffer processed = Track(0.6, true);
    SelectTab(kCodexActivity);
    page.SetProcessedData(processed);
    page.SetCursor(1.0);
    ValidateGraphs();
    page.SetCursor(1.0 + 0.5e-6 * 2.0); // half a millionth of the two seconds
    EXPECT_FALSE(RepaintPending(page.activityGraph));
    page.SetCursor(1.0 + 4e-6 * 2.0);
    EXPECT_TRUE(RepaintPending(page.activityGraph));

    ValidateGraphs();
    page.SetPlaying(false);
    for (CWnd* graph : Graphs())
    {
        EXPECT_FALSE(RepaintPending(*graph)) << graph->GetDlgCtrlID();
    }
    page.SetPlaying(true);
    EXPECT_TRUE(page.previewGraph.playing && page.energyGraph.playing && page.toneGraph.playing &&
                page.stereoGraph.playing && page.activityGraph.playing);
    ValidateGraphs();
    page.SetPlaying(true);
    for (CWnd* graph : Graphs())
    {
        EXPECT_FALSE(RepaintPending(*graph)) << graph->GetDlgCtrlID();
    }

    // Buffers reach every graph while the activity tab is shown.
    SelectTab(kCodexStereo);
    page.SetSourceData(source);
    page.SetProcessedData(processed);
    EXPECT_EQ(page.sourceAudio.samples, source.samples);
    EXPECT_EQ(page.processedAudio.samples, processed.samples);
    EXPECT_EQ(page.previewGraph.sourceAudio.samples, source.samples);
    EXPECT_EQ(page.energyGraph.sourceAudio.samples, source.samples);
    EXPECT_EQ(page.toneGraph.sourceAudio.samples, source.samples);
    EXPECT_EQ(page.stereoGraph.sourceAudio.samples, source.samples);
    EXPECT_EQ(page.activityGraph.sourceAudio.samples, source.samples);
    EXPECT_EQ(page.previewGraph.processedAudio.meterSeries.size(), 2u);
    EXPECT_EQ(page.energyGraph.processedAudio.samples, processed.samples);
    EXPECT_EQ(page.toneGraph.processedAudio.samples, processed.samples);
    EXPECT_EQ(page.stereoGraph.processedAudio.samples, processed.samples);
    EXPECT_EQ(page.activityGraph.processedAudio.samples, processed.samples);
}

TEST_F(CodexPage, AChildThatFailsToCreateLeavesTheOthersWorking)
{
    const AudioBuffer source = Track(0.5, false);
    // Creations in order: the page, the tab switch, then the five graphs.
    for (int failing = 2; failing <= 7; ++failing)
    {
        SCOPED_TRACE(::testing::Message() << "creation " << failing << " fails");
        auto owned = std::make_unique<CCodexViewportWnd>();
        CCodexViewportWnd& p = *owned;
        FailNextCreate(failing);
        ASSERT_TRUE(p.Create(&host, CRect(0, 0, 960, 640)));
        FailNextCreate(0);
        const std::vector<CWnd*> children = {&p.tabSwitch, &p.previewGraph, &p.energyGraph,
                                             &p.toneGraph, &p.stereoGraph,  &p.activityGraph};
        for (std::size_t k = 0; k < children.size(); ++k)
        {
            EXPECT_EQ(::IsWindow(children[k]->GetSafeHwnd()) != FALSE, int(k) != failing - 2) << k;
        }
        p.SetSourceData(source);
        p.SetCursor(0.5);
        p.SetPlaying(true);
        EXPECT_EQ(p.energyGraph.sourceAudio.samples.empty(), failing == 4);
        EXPECT_EQ(p.activityGraph.sourceAudio.samples.empty(), failing == 7);
        EXPECT_EQ(p.stereoGraph.playing, failing != 6);
        EXPECT_EQ(CRect(p.layout.Root().rect), CRect(10, 10, 950, 630));
        // The first graph that exists is the one shown.
        CWnd* shown = failing == 3 ? static_cast<CWnd*>(&p.energyGraph) : &p.previewGraph;
        EXPECT_TRUE(Visible(*shown));
        if (failing == 3)
        {
            EXPECT_EQ(p.previewGraph.cursorSec, 0.0) << "a graph without a window gets nothing";
        }
        p.SendMessage(WMU_CONTROL_CHANGED, 0, reinterpret_cast<LPARAM>(&p.tabSwitch));
        p.DestroyWindow();
    }
}

TEST_F(CodexPage, OddBuffersCursorsAndSizesPaintCleanly)
{
    CreatePage();
    AudioBuffer oneFrame;
    oneFrame.sampleRate = 8000;
    oneFrame.samples = {0.3, -0.3};
    AudioBuffer noRate = Track(0.5, true);
    noRate.sampleRate = 0;
    AudioBuffer odd;
    odd.sampleRate = 8000;
    odd.samples = {kNaN, kInf, -kInf, 1e300, 0.5};
    const std::vector<AudioBuffer> buffers = {AudioBuffer{}, oneFrame, noRate, odd};
    const double cursors[] = {kNaN, kInf, -kInf, -3.0, 1e12, 0.0};
    for (const CSize size : {CSize(960, 640), CSize(1, 1), CSize(0, 0), CSize(15, 15)})
    {
        page.MoveWindow(0, 0, size.cx, size.cy);
        for (int mode = 0; mode < 5; ++mode)
        {
            SelectTab(mode);
            for (std::size_t b = 0; b < buffers.size(); ++b)
            {
                page.SetSourceData(buffers[b]);
                page.SetProcessedData(buffers[(b + 1) % buffers.size()]);
                for (const double cursor : cursors)
                {
                    page.SetCursor(cursor);
                }
                WindowPicture picture;
                ComposeWindowPicture(page.GetSafeHwnd(), picture);
            }
        }
    }
    // Each graph's paint of what it now holds, at a real size, leaves the
    // painting usable.
    page.MoveWindow(0, 0, 960, 640);
    ExpectDrawLeavesGraphicsUsable<CPreviewGraphWnd>(page.previewGraph.GetState());
    ExpectDrawLeavesGraphicsUsable<CEnergyDeltaGraphWnd>(page.energyGraph.GetState());
    ExpectDrawLeavesGraphicsUsable<CToneGraphWnd>(page.toneGraph.GetState());
    ExpectDrawLeavesGraphicsUsable<CStereoFieldGraphWnd>(page.stereoGraph.GetState());
    ExpectDrawLeavesGraphicsUsable<CActivityGraphWnd>(page.activityGraph.GetState());
}

TEST_F(CodexPage, PicturesOfEachTab)
{
    CreatePage();
    page.SetSourceData(Track(0.45, false));
    page.SetProcessedData(Track(0.7, true));
    const char* names[] = {"reference", "energy", "spectrum", "stereo", "activity"};
    for (int mode = 0; mode < 5; ++mode)
    {
        SCOPED_TRACE(names[mode]);
        SelectTab(mode);
        page.SetCursor(1.1);
        const std::string name = std::string("codex_page_") + names[mode];
        ASSERT_TRUE(RenderWindowToPng(page.GetSafeHwnd(), ControlPicturePath(name)));
        WindowPicture picture;
        ASSERT_TRUE(ComposeWindowPicture(page.GetSafeHwnd(), picture));
        ASSERT_EQ(picture.width, 960);
        // The page's own background around the tabs and between the rows.
        for (const POINT at :
             {POINT{3, 3}, POINT{500, 5}, POINT{956, 320}, POINT{480, 95}, POINT{480, 636}})
        {
            EXPECT_EQ(picture.ColorAt(at.x, at.y), kPageBackground) << at.x << ", " << at.y;
        }
        // Something drawn in the graph area.
        int drawn = 0;
        for (int y = 110; y < 620; y += 9)
        {
            for (int x = 20; x < 940; x += 9)
            {
                drawn += picture.ColorAt(x, y) != kPageBackground ? 1 : 0;
            }
        }
        EXPECT_GT(drawn, 100);
    }
}
