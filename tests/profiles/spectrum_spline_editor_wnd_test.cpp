#include "profiles/spectrum_spline_editor_wnd.h"

#include "controls/base/painting_helpers.h"
#include "engine/profiles/synthetic_profile.h"
#include "profiles/spline_points.h"
#include "tests/controls/control_test_kit.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <vector>

namespace
{

using Editor = CProfileSpectrumEditorWnd;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

std::vector<double> Range(const Editor& editor)
{
    double lo = 0;
    double hi = 0;
    editor.ComputeRange(lo, hi);
    return {lo, hi};
}

TEST(SpectrumEditorRange, WidensPast24DbByTheCurvesAndThreeDbMore)
{
    Editor editor;
    EXPECT_EQ(Range(editor), (std::vector<double>{-27, 27})) << "empty spectra";

    editor.spectrum = {-21, 0, 21, 5};
    editor.referenceSpectrum = {20, -20};
    editor.points = {3, -3, 2, 0};
    EXPECT_EQ(Range(editor), (std::vector<double>{-27, 27})) << "curves within 21 dB";

    editor.points = {0, 0, 0, 0};
    editor.offsetDb = 9; // the curve reaches +30 dB
    EXPECT_DOUBLE_EQ(Range(editor)[1], 33.0);

    editor.offsetDb = 0;
    editor.referenceSpectrum = {-40, 0};
    EXPECT_DOUBLE_EQ(Range(editor)[0], -43.0) << "the reference spectrum widens the range";
}

TEST(SpectrumEditorRange, TakesFiniteValuesOnlyAndMapsNaNToThePlotBottom)
{
    Editor editor;
    editor.spectrum = {0, kInf, kNaN, -kInf, 10};
    editor.referenceSpectrum = {kNaN, kNaN};
    editor.referencePoints = {kNaN};
    EXPECT_EQ(Range(editor), (std::vector<double>{-27, 27}));

    // A stored bin of NaN, and the curve's NaN point, sit on the plot bottom;
    // infinities reach the edges; the finite bins stay where they belong.
    editor.SetPointCount(4);
    editor.points = {kNaN, 0, 0, 0};
    Editor::State state = editor.GetState();
    state.size = CSize(400, 256);
    Gdiplus::Bitmap bitmap(400, 256);
    Gdiplus::Graphics graphics(&bitmap);
    Editor::Draw(graphics, state);
    EXPECT_EQ(graphics.GetLastStatus(), Gdiplus::Ok);
    const RECT plot = Editor::PlotRect(state.size);
    EXPECT_EQ(Editor::ControlPointPosition(plot, 0, 4, kNaN).Y, float(plot.bottom));
    EXPECT_EQ(Editor::ControlPointPosition(plot, 1, 4, kInf).Y, float(plot.top));
    EXPECT_EQ(Editor::ControlPointPosition(plot, 1, 4, -kInf).Y, float(plot.bottom));
}

TEST(SpectrumEditorCurve, HoldsTheSplineTo18DbAndAddsOffsetScaleAndTilt)
{
    Editor editor;
    editor.spectrum = std::vector<double>(2049, -10.0);
    editor.points = {0, 0, 18, 18, 0, 0};
    const std::vector<double> curve = editor.BuildCurve();
    std::vector<double> applied = editor.spectrum;
    AddSplineCorrection(applied, editor.points, 44100, 4096, 1.0, 0.0);
    double highestShown = -kInf;
    double highestApplied = -kInf;
    for (std::size_t i = 0; i < curve.size(); ++i)
    {
        highestShown = std::max(highestShown, curve[i]);
        highestApplied = std::max(highestApplied, applied[i]);
    }
    EXPECT_DOUBLE_EQ(highestShown, 8.0) << "the display holds the overshoot at +18 dB";
    EXPECT_GT(highestApplied, 8.5) << "the applied curve keeps the overshoot";

    editor.points = {30.0}; // one point: its held value at every bin
    editor.offsetDb = 2;
    editor.contourScale = 0.5;
    editor.tiltDb = 4;
    const std::vector<double> single = editor.BuildCurve();
    EXPECT_DOUBLE_EQ(single.front(), -10 + 2 + 9 - 4) << "tilt -4 dB at the bottom of the axis";
    EXPECT_DOUBLE_EQ(single.back(), -10 + 2 + 9 + 4) << "tilt +4 dB at the top";

    editor.points.clear();
    editor.referenceSpectrum = {1, 2, 3};
    editor.referenceOffsetDb = 1;
    EXPECT_EQ(editor.BuildReferenceCurve().size(), 3u);
    EXPECT_DOUBLE_EQ(editor.BuildReferenceCurve()[0], 2.0) << "no reference points: no spline";
}

TEST(SpectrumEditorPoints, SetAndResampleKeepTheirCountsAndValues)
{
    Editor editor;
    EXPECT_EQ(editor.points, std::vector<double>(6, 0.0));
    editor.SetPoints({0, 6, 12, 12, 6, 0});
    editor.SetPointCount(2);
    ASSERT_EQ(editor.points.size(), 4u);
    for (std::size_t i = 0; i < 4; ++i)
    {
        EXPECT_NEAR(editor.points[i], (i == 1 || i == 2) ? 10.0 : 0.0, 1e-12) << i;
    }
    EXPECT_EQ(editor.referencePoints, std::vector<double>(4, 0.0));
    editor.SetPointCount(20);
    EXPECT_EQ(editor.points.size(), 16u);
    EXPECT_EQ(editor.referencePoints.size(), 16u);

    editor.SetPoints({1, 2, 3});
    editor.SetReferencePoints({});
    EXPECT_EQ(editor.referencePoints, std::vector<double>(4, 0.0));
    editor.SetPoints({40, -40, kNaN});
    EXPECT_EQ(editor.points[0], 40.0) << "owner's values are stored as given";
    editor.SetPoints({});
    EXPECT_EQ(editor.points, std::vector<double>(6, 0.0));
}

TEST(SpectrumEditorPoints, SitOnTheFixedScaleAndTheLowerIndexWinsAHit)
{
    const RECT plot = Editor::PlotRect(CSize(600, 300)); // 18, 28 .. 582, 272
    EXPECT_EQ(plot.left, 18);
    EXPECT_EQ(plot.bottom, 272);
    const std::vector<double> points = {18, 0, -18, 50};
    EXPECT_EQ(Editor::ControlPointPosition(plot, 0, 4, points[0]).Y, 28.0f);
    EXPECT_EQ(Editor::ControlPointPosition(plot, 1, 4, points[1]).Y, 150.0f);
    EXPECT_EQ(Editor::ControlPointPosition(plot, 2, 4, points[2]).Y, 272.0f);
    EXPECT_EQ(Editor::ControlPointPosition(plot, 3, 4, points[3]).Y, 28.0f) << "held to +18";
    EXPECT_EQ(Editor::ControlPointPosition(plot, 3, 4, 0).X, 582.0f);
    EXPECT_EQ(Editor::ControlPointPosition(plot, 0, 1, 0).X, 18.0f) << "one point: left edge";

    EXPECT_EQ(Editor::HitTestPoint(plot, points, {206, 150}), 1);
    EXPECT_EQ(Editor::HitTestPoint(plot, points, {206, 158}), 1) << "8 px away";
    EXPECT_EQ(Editor::HitTestPoint(plot, points, {206, 159}), -1);
    EXPECT_EQ(Editor::HitTestPoint(plot, {}, {206, 150}), -1);
    // Two points 4 px apart on a narrow plot: both in reach, the first wins.
    const RECT narrow = Editor::PlotRect(CSize(40, 300));
    const std::vector<double> close = {0, 0};
    EXPECT_EQ(Editor::HitTestPoint(narrow, close, {21, 150}), 0);
    EXPECT_EQ(Editor::HitTestPoint(narrow, close, {27, 150}), 1);
}

TEST(SpectrumEditorColors, DeriveFromTheModesColourInSinglePrecision)
{
    struct Case
    {
        int mode;
        COLORREF own, other, glow, guide, activeBody;
    };
    const Case cases[] = {
        {0, RGB(0xE0, 0x54, 0x74), RGB(0x6A, 0x9C, 0xFF), RGB(0xE3, 0x68, 0x84),
         RGB(0xE5, 0x72, 0x8D), RGB(0xEA, 0x82, 0x75)},
        {1, RGB(0x6A, 0x9C, 0xFF), RGB(0xE0, 0x54, 0x74), RGB(0x7B, 0xA7, 0xFF),
         RGB(0x84, 0xAD, 0xFF), RGB(0x9E, 0xB1, 0xCF)},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.mode);
        EXPECT_EQ(Editor::OwnColor(c.mode), c.own);
        EXPECT_EQ(Editor::OtherColor(c.mode), c.other);
        EXPECT_EQ(Editor::GlowColor(c.own), c.glow);
        EXPECT_EQ(Editor::GuideColor(c.own), c.guide);
        EXPECT_EQ(Editor::ActiveBodyColor(c.own), c.activeBody);
    }
}

// An editor of 600 x 300 in the test kit's parent, which records the
// editor's reports and the value of point 2 while each is being sent.
class SpectrumEditor : public ControlTest
{
protected:
    struct Report
    {
        UINT message;
        double point2;
    };

    void SetUp() override
    {
        ControlTest::SetUp();
        Create(CSize(600, 300));
    }

    void Create(CSize size)
    {
        editor = std::make_unique<Editor>();
        ASSERT_TRUE(editor->Create(CRect(CPoint(20, 20), size), &parent, 7));
        for (const UINT message : {WMU_SPECTRUM_POINTS_CHANGED, WMU_SPECTRUM_POINTS_COMMITTED})
        {
            parent.On(message,
                      [this, message](WPARAM wParam, LPARAM lParam) -> std::optional<LRESULT>
                      {
                          EXPECT_EQ(wParam, 0u);
                          EXPECT_EQ(lParam, 0);
                          reports.push_back(
                              {message, editor->points.size() > 2 ? editor->points[2] : kNaN});
                          if (onReport)
                          {
                              onReport(message);
                          }
                          return 0;
                      });
        }
        Settle();
        reports.clear();
    }

    // The screen point of point j of the editor's set.
    POINT PointOf(std::size_t j, int dy = 0) const
    {
        const RECT plot = Editor::PlotRect(CSize(600, 300));
        const Gdiplus::PointF c =
            Editor::ControlPointPosition(plot, j, editor->points.size(), editor->points[j]);
        return At(*editor, int(std::lround(c.X)), int(std::lround(c.Y)) + dy);
    }

    std::vector<UINT> Messages() const
    {
        std::vector<UINT> messages;
        for (const Report& r : reports)
        {
            messages.push_back(r.message);
        }
        return messages;
    }

    std::unique_ptr<Editor> editor;
    std::vector<Report> reports;
    std::function<void(UINT)> onReport;
};

constexpr UINT kChanged = WMU_SPECTRUM_POINTS_CHANGED;
constexpr UINT kCommitted = WMU_SPECTRUM_POINTS_COMMITTED;

TEST_F(SpectrumEditor, IsAClipChildrenWindowOfItsOwnName)
{
    wchar_t name[64] = {};
    editor->GetWindowText(name, 64);
    EXPECT_STREQ(name, L"BrimvaleProfileSpectrumEditorWnd");
    EXPECT_EQ(editor->GetStyle(), 0x56000000u);
    EXPECT_EQ(editor->SendMessage(WM_ERASEBKGND, 0, 0), TRUE);
}

TEST_F(SpectrumEditor, DraggingMovesAPointVerticallyOnlyAndReportsEveryMove)
{
    session->PressButton(PointOf(2));
    EXPECT_TRUE(editor->dragging);
    EXPECT_EQ(editor->dragIndex, 2);
    // Up and to the side, above the plot: +18 dB; x moves no point.
    session->MoveMouse(At(*editor, 480, 60));
    EXPECT_DOUBLE_EQ(editor->points[2], 18.0 - 36.0 * 32 / 244);
    session->MoveMouse(At(*editor, 40, -80));
    EXPECT_DOUBLE_EQ(editor->points[2], 18.0);
    session->MoveMouse(At(*editor, 590, 900));
    EXPECT_DOUBLE_EQ(editor->points[2], -18.0);
    EXPECT_EQ(editor->points, (std::vector<double>{0, 0, -18, 0, 0, 0}));
    session->ReleaseButton(At(*editor, 590, 900));

    EXPECT_EQ(Messages(), (std::vector<UINT>{kChanged, kChanged, kChanged, kChanged, kCommitted}));
    EXPECT_DOUBLE_EQ(reports[1].point2, 18.0) << "the parent reads the new value";
    EXPECT_DOUBLE_EQ(reports[4].point2, -18.0);
    EXPECT_FALSE(editor->dragging);
    EXPECT_EQ(editor->dragIndex, -1);
    EXPECT_EQ(CWnd::GetCapture(), nullptr);
}

TEST_F(SpectrumEditor, AClickOnEmptySpaceAndAReleaseWithoutAPressReportTheReleasePair)
{
    session->Click(At(*editor, 300, 60));
    EXPECT_EQ(Messages(), (std::vector<UINT>{kChanged, kCommitted}));
    EXPECT_EQ(editor->points, std::vector<double>(6, 0.0));

    reports.clear();
    editor->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
    EXPECT_EQ(Messages(), (std::vector<UINT>{kChanged, kCommitted}));
    editor->SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(10, 10));
    EXPECT_EQ(reports.size(), 2u) << "a move without a drag reports nothing";
}

TEST_F(SpectrumEditor, APlotWithoutHeightMakesADraggedPointZero)
{
    Create(CSize(36, 56));
    editor->points = {9, 9, 9, 9};
    const POINT point = At(*editor, 18, 28);
    session->PressButton(point);
    ASSERT_EQ(editor->dragIndex, 0);
    session->MoveMouse(At(*editor, 18, 40));
    EXPECT_EQ(editor->points[0], 0.0);
    session->ReleaseButton(At(*editor, 18, 40));
}

TEST_F(SpectrumEditor, ShowsTheHandOnlyOverAPoint)
{
    session->MoveMouse(PointOf(1, 3));
    EXPECT_EQ(brvl::win32::StandardCursorId(session->ShownCursor()),
              reinterpret_cast<UINT_PTR>(IDC_HAND));
    session->MoveMouse(PointOf(1, 12));
    EXPECT_EQ(brvl::win32::StandardCursorId(session->ShownCursor()),
              reinterpret_cast<UINT_PTR>(IDC_ARROW));
    session->MoveMouse(ScreenPoint(parent, 700, 500));
    PumpPendingMessages();
    EXPECT_FALSE(editor->trackingMouse) << "the leave arrived";
}

TEST_F(SpectrumEditor, SurvivesAParentThatShrinksThePointsOrDestroysTheEditor)
{
    onReport = [this](UINT) { editor->points.resize(1); };
    session->PressButton(PointOf(4));
    session->MoveMouse(At(*editor, 300, 100));
    session->MoveMouse(At(*editor, 300, 120));
    EXPECT_EQ(editor->points.size(), 1u);
    EXPECT_EQ(reports.size(), 1u) << "an index past the end writes nothing more";
    session->ReleaseButton(At(*editor, 300, 120));

    for (const bool deleteObject : {false, true})
    {
        for (const bool onRelease : {false, true})
        {
            SCOPED_TRACE(::testing::Message() << (deleteObject ? "deleted" : "destroyed")
                                              << (onRelease ? " on release" : " on move"));
            onReport = nullptr;
            Create(CSize(600, 300));
            const HWND hwnd = editor->GetSafeHwnd();
            onReport = [&](UINT)
            {
                if (deleteObject)
                {
                    editor.reset();
                }
                else
                {
                    editor->DestroyWindow();
                }
            };
            const POINT press = onRelease ? At(*editor, 300, 60) : PointOf(3);
            const POINT moved = At(*editor, 300, 100);
            session->PressButton(press);
            if (!onRelease)
            {
                session->MoveMouse(moved);
            }
            session->ReleaseButton(moved);
            EXPECT_EQ(Messages(), std::vector<UINT>{kChanged}) << "nothing after the window went";
            EXPECT_FALSE(::IsWindow(hwnd));
            reports.clear();
        }
    }
}

TEST_F(SpectrumEditor, PaintsOddInputWithoutACairoError)
{
    const std::vector<std::vector<double>> spectra = {
        {}, {3}, {kNaN, kInf, -kInf, 0}, std::vector<double>(4097, kNaN), {1e308, -1e308, 0}};
    const std::vector<std::vector<double>> pointSets = {{}, {5}, {kNaN, 0, kInf, 1}};
    const int rates[] = {44100, 0, 30, -44100};
    const int fftSizes[] = {4096, 0, std::numeric_limits<int>::max()};
    const CSize sizes[] = {CSize(0, 0), CSize(36, 56), CSize(32767, 60), CSize(200, 120)};
    for (const CSize size : sizes)
    {
        Gdiplus::Bitmap bitmap(std::max<int>(size.cx, 1), std::max<int>(size.cy, 1));
        Gdiplus::Graphics graphics(&bitmap);
        PrepareControlGraphics(graphics);
        for (std::size_t k = 0; k < spectra.size(); ++k)
        {
            Editor odd;
            odd.spectrum = spectra[k];
            odd.referenceSpectrum = spectra[(k + 1) % spectra.size()];
            odd.points = pointSets[k % pointSets.size()];
            odd.referencePoints = pointSets[(k + 1) % pointSets.size()];
            odd.sampleRate = rates[k % std::size(rates)];
            odd.fftSize = fftSizes[k % std::size(fftSizes)];
            odd.tiltDb = k == 4 ? kInf : 3.0;
            Editor::State state = odd.GetState();
            state.size = size;
            state.dragging = true;
            state.dragIndex = 0;
            Editor::Draw(graphics, state);
            EXPECT_EQ(graphics.GetLastStatus(), Gdiplus::Ok)
                << size.cx << " x " << size.cy << ", case " << k;
        }
    }
}

// The synthetic default profile as the profile editor shows it: the edited
// channel, the other one for comparison, and a few points raised and lowered.
void ShowSyntheticProfile(Editor& editor, int mode)
{
    const ReferenceProfile profile = BuildSyntheticDefaultProfile();
    editor.SetSampleRate(profile.sampleRate);
    editor.SetFftSize(profile.fftSize);
    editor.SetCurveMode(mode);
    editor.SetSpectrum(mode == 0 ? profile.midSpectrum : profile.sideSpectrum);
    editor.SetReferenceSpectrum(mode == 0 ? profile.sideSpectrum : profile.midSpectrum);
    editor.SetPoints({2, -4, 6, 0, -3, 5});
    editor.SetReferencePoints({0, 1, 0, -1, 0, 0});
}

TEST_F(SpectrumEditor, PicturesOfTheSyntheticProfileInMidAndSideAndMidDrag)
{
    for (const int mode : {0, 1})
    {
        ShowSyntheticProfile(*editor, mode);
        const std::string name = mode == 0 ? "spectrum_editor_mid" : "spectrum_editor_side";
        ASSERT_TRUE(RenderWindowToPng(editor->GetSafeHwnd(), ControlPicturePath(name)));

        // Two point bodies where the geometry puts them, in the mode's colour
        // around a light centre dot.
        WindowPicture picture;
        ASSERT_TRUE(ComposeWindowPicture(editor->GetSafeHwnd(), picture));
        const RECT plot = Editor::PlotRect(CSize(600, 300));
        for (const std::size_t j : {std::size_t(1), std::size_t(4)})
        {
            const Gdiplus::PointF c = Editor::ControlPointPosition(plot, j, 6, editor->points[j]);
            const COLORREF dot = picture.ColorAt(int(c.X), int(c.Y));
            EXPECT_GT(GetRValue(dot), 180) << "centre dot of point " << j;
            EXPECT_GT(GetGValue(dot), 180);
            EXPECT_GT(GetBValue(dot), 180);
            const COLORREF body = picture.ColorAt(int(c.X) + 5, int(c.Y));
            const COLORREF own = Editor::OwnColor(mode);
            EXPECT_NEAR(GetRValue(body), GetRValue(own), 24) << "body of point " << j;
            EXPECT_NEAR(GetGValue(body), GetGValue(own), 24);
            EXPECT_NEAR(GetBValue(body), GetBValue(own), 24);
        }
    }

    ShowSyntheticProfile(*editor, 0);
    session->PressButton(PointOf(3));
    // +12 dB: a sixth of the plot height below its top.
    session->MoveMouse(At(*editor, 300, 28 + 244 / 6));
    EXPECT_NEAR(editor->points[3], 12.0, 0.1);
    ASSERT_TRUE(
        RenderWindowToPng(editor->GetSafeHwnd(), ControlPicturePath("spectrum_editor_drag")));
    WindowPicture picture;
    ASSERT_TRUE(ComposeWindowPicture(editor->GetSafeHwnd(), picture));
    const Gdiplus::PointF c =
        Editor::ControlPointPosition(Editor::PlotRect(CSize(600, 300)), 3, 6, editor->points[3]);
    const COLORREF body = picture.ColorAt(int(c.X) + 5, int(c.Y));
    const COLORREF active = Editor::ActiveBodyColor(Editor::OwnColor(0));
    EXPECT_NEAR(GetGValue(body), GetGValue(active), 24) << "the active body is lighter";
    session->ReleaseButton(At(*editor, 300, 60));

    editor->SetSpectrum({});
    editor->SetReferenceSpectrum({});
    ASSERT_TRUE(
        RenderWindowToPng(editor->GetSafeHwnd(), ControlPicturePath("spectrum_editor_empty")));
}

} // namespace
