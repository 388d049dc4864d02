#include "profiles/reference_profile_viewport_wnd.h"

#include "base/unicode_text.h"
#include "controls/base/control_messages.h"
#include "controls/base/painting_helpers.h"
#include "engine/profiles/profile_creation.h"
#include "engine/profiles/synthetic_profile.h"
#include "engine/io/wav_writer.h"
#include "platform/win32/test_hooks.h"
#include "profiles/profile_inspector_panels.h"
#include "profiles/stereo_bloom_painter.h"
#include "tests/controls/control_test_kit.h"
#include "tests/support/signals.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace
{

using Page = CReferenceProfileViewportWnd;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

std::wstring Wide(const std::filesystem::path& path)
{
    return Utf8ToWide(path.string());
}

// What the reader throws for `path`.
std::wstring ReaderText(const std::wstring& path)
{
    try
    {
        ReadReferenceProfile(path);
    }
    catch (const std::exception& error)
    {
        return Utf8ToWide(error.what());
    }
    return L"";
}

// A profile the creation run made from one second of a tone over wide noise.
const ReferenceProfile& CreatedProfile()
{
    static const ReferenceProfile profile = []
    {
        TempDir dir;
        AudioBuffer track = StereoNoise(48000, 1.0, 0.05, 7);
        const AudioBuffer tone = StereoSine(1125.0, 48000, 1.0, 0.3);
        for (std::size_t i = 0; i < track.samples.size(); ++i)
        {
            track.samples[i] += tone.samples[i];
        }
        const std::wstring source = Wide(dir / "generated mix.wav");
        WriteWavFile(source, track, 24);
        EngineRequest request;
        return CreateReferenceProfile(request, source, Wide(dir / "generated.prs"), "generated",
                                      "");
    }();
    return profile;
}

ReferenceProfile FlatProfile(int rate, int fft, std::size_t bins, double midDb, double sideDb)
{
    ReferenceProfile profile;
    profile.sampleRate = rate;
    profile.fftSize = fft;
    profile.midSpectrum.assign(bins, midDb);
    profile.sideSpectrum.assign(bins, sideDb);
    return profile;
}

// Draws a page's snapshot into a bitmap of its size.
void DrawState(Gdiplus::Bitmap& bitmap, const Page::State& state)
{
    Gdiplus::Graphics graphics(&bitmap);
    PrepareControlGraphics(graphics);
    Page::Draw(graphics, state);
}

class Inspector : public WindowTest
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(parent.CreateTopLevel(CRect(0, 0, 1100, 700)));
        parent.On(WMU_OPEN_PROFILE_EDITOR,
                  [this](WPARAM wParam, LPARAM lParam) -> std::optional<LRESULT>
                  {
                      requests.push_back(
                          static_cast<int>(wParam) * 1000 +
                          reinterpret_cast<OpenProfileEditorRecord*>(lParam)->request);
                      if (destroyOnRequest)
                      {
                          page->DestroyWindow();
                      }
                      return 0;
                  });
        page = std::make_unique<Page>();
        ASSERT_TRUE(page->Create(CRect(0, 0, 960, 520), &parent, 8713));
        Settle();
    }

    void Show(const ReferenceProfile& profile)
    {
        page->SetProfile(profile, L"/profiles/shown.prs");
        page->UpdateWindow();
    }

    POINT At(int x, int y) const { return ScreenPoint(*page, x, y); }

    POINT WidthPanelCentre() const
    {
        const RECT& r = page->widthPanelRect;
        return At((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    }

    void Picture(const std::string& name)
    {
        page->UpdateWindow();
        ASSERT_TRUE(RenderWindowToPng(page->GetSafeHwnd(), ControlPicturePath(name)));
    }

    RecordingWnd parent{"parent", log};
    std::unique_ptr<Page> page;
    std::vector<int> requests; // wParam * 1000 + request of each WMU_OPEN_PROFILE_EDITOR
    bool destroyOnRequest = false;
};

TEST_F(Inspector, LoadFailuresShowTheReadersTextKeepThePathAndDropTheProfileShown)
{
    TempDir dir;
    const std::string whole = EncodeReferenceProfile(BuildSyntheticDefaultProfile());
    WriteFileBytes(dir / "truncated.prs", whole.substr(0, whole.size() / 2));
    std::string wrongMagic = whole;
    wrongMagic[0] ^= 0x5A;
    WriteFileBytes(dir / "magic.prs", wrongMagic);
    WriteFileBytes(dir / "good.prs", whole);

    struct Case
    {
        std::wstring path;
        std::wstring textStart;
    };
    const Case cases[] = {
        {Wide(dir / "truncated.prs"), L"Invalid profile: unexpected EOF while reading "},
        {Wide(dir / "magic.prs"), L"Invalid reference profile header"},
        {Wide(dir / "missing.prs"), L"Cannot open profile for reading"},
        {Wide(dir.Path()), L""},
        {L"", L""},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(WideToUtf8(c.path));
        ASSERT_TRUE(page->LoadProfile(Wide(dir / "good.prs")));
        EXPECT_TRUE(page->hasProfile);

        EXPECT_FALSE(page->LoadProfile(c.path));
        EXPECT_FALSE(page->hasProfile);
        EXPECT_EQ(page->profilePath.Str(), c.path);
        EXPECT_EQ(page->errorText.Str(), ReaderText(c.path));
        EXPECT_EQ(page->errorText.Str().rfind(c.textStart, 0), 0u);
        EXPECT_FALSE(page->errorText.IsEmpty());
        EXPECT_TRUE(page->profile == ReferenceProfile()) << "the profile shown before is dropped";
    }
    ASSERT_FALSE(page->LoadProfile(cases[0].path));
    Picture("profile_inspector_unavailable");

    page->ClearProfile();
    EXPECT_FALSE(page->hasProfile);
    EXPECT_TRUE(page->errorText.IsEmpty());
    EXPECT_TRUE(page->profilePath.IsEmpty());
    Picture("profile_inspector_empty");
}

TEST_F(Inspector, EditIsOfferedOnlyWhereEnabledAndOnlyWithAProfile)
{
    EXPECT_FALSE(page->editButton.IsWindowVisible());
    EXPECT_EQ(page->editButton.GetKindName(), "breadcrumb button");
    EXPECT_EQ(page->editButton.GetLabel().Str(), L"Edit");
    EXPECT_EQ(page->editButton.GetAccentColor(), COLORREF(0x221C46));
    EXPECT_FALSE(page->editButton.GetDrawBorder());
    EXPECT_FALSE(page->editButton.GetDrawBackground());

    Show(BuildSyntheticDefaultProfile());
    EXPECT_FALSE(page->editButton.IsWindowVisible()) << "the creator's inspector never offers it";
    page->SetEditEnabled(true);
    EXPECT_TRUE(page->editButton.IsWindowVisible());

    CRect place;
    page->editButton.GetWindowRect(&place);
    page->ScreenToClient(&place);
    // w = (960 - 46) / 2 = 457: x = 18 + 457 - 70.
    EXPECT_EQ(place, CRect(405, 32, 461, 56));
    page->MoveWindow(0, 0, 600, 240);
    page->editButton.GetWindowRect(&place);
    page->ScreenToClient(&place);
    EXPECT_EQ(place, CRect(225, 32, 281, 56)) << "placed again on resize";

    page->ClearProfile();
    EXPECT_FALSE(page->editButton.IsWindowVisible());
    page->LoadProfile(L"/no/such/profile.prs");
    EXPECT_FALSE(page->editButton.IsWindowVisible());
    Show(BuildSyntheticDefaultProfile());
    EXPECT_TRUE(page->editButton.IsWindowVisible());
    page->SetEditEnabled(false);
    EXPECT_FALSE(page->editButton.IsWindowVisible());
}

TEST_F(Inspector, AnEditClickSendsOneRequestOfZeroToTheParent)
{
    Show(BuildSyntheticDefaultProfile());
    const POINT edit = ScreenPoint(page->editButton, 28, 12);
    session->Click(edit);
    EXPECT_TRUE(requests.empty()) << "not while editing is off";

    page->SetEditEnabled(true);
    page->UpdateWindow();
    session->Click(edit);
    EXPECT_EQ(requests, std::vector<int>{0}) << "the button's commit is not a second request";

    // Another control's change, or one while nothing is shown, asks nothing.
    CBreadcrumbButtonWnd other;
    page->SendMessage(WMU_CONTROL_CHANGED, 0, reinterpret_cast<LPARAM>(&other));
    page->ClearProfile();
    page->SendMessage(WMU_CONTROL_CHANGED, 0, reinterpret_cast<LPARAM>(&page->editButton));
    EXPECT_EQ(requests.size(), 1u);
}

TEST_F(Inspector, SurvivesAParentThatDestroysThePageOnTheRequest)
{
    destroyOnRequest = true;
    page->SetEditEnabled(true);
    Show(BuildSyntheticDefaultProfile());
    session->Click(ScreenPoint(page->editButton, 28, 12));
    PumpPendingMessages();
    EXPECT_EQ(requests.size(), 1u);
    EXPECT_FALSE(::IsWindow(page->GetSafeHwnd()));
}

TEST_F(Inspector, WithoutAParentWindowNoRequestIsSent)
{
    Page orphan;
    orphan.editEnabled = true;
    orphan.hasProfile = true;
    EXPECT_EQ(
        orphan.SendMessage(WMU_CONTROL_CHANGED, 0, reinterpret_cast<LPARAM>(&orphan.editButton)),
        0);
    EXPECT_TRUE(requests.empty());
}

TEST_F(Inspector, AFailedEditButtonFailsCreate)
{
    Page failing;
    FailNextCreate(2);
    EXPECT_FALSE(failing.Create(CRect(0, 0, 400, 300), &parent, 9089));
    failing.SetEditEnabled(true);
    failing.SetProfile(BuildSyntheticDefaultProfile(), L"x.prs");
    failing.SetBackgroundColor(0x202020);
    failing.UpdateWindow();
}

TEST_F(Inspector, ClicksOnTheWidthPanelCycleItsViewWhichSurvivesLoadsAndClears)
{
    session->Click(At(700, 200));
    EXPECT_EQ(page->widthViewMode, 0) << "a click in the Empty state changes nothing";
    EXPECT_FALSE(page->widthPanelPressed);

    Show(BuildSyntheticDefaultProfile());
    EXPECT_EQ(CRect(page->widthPanelRect), CRect(485, 18, 942, 374));
    std::vector<int> modes;
    for (int i = 0; i < 3; ++i)
    {
        session->Click(WidthPanelCentre());
        modes.push_back(page->widthViewMode);
    }
    EXPECT_EQ(modes, (std::vector<int>{1, 2, 0}));

    session->PressButton(WidthPanelCentre());
    EXPECT_TRUE(page->widthPanelPressed);
    Picture("profile_inspector_width_panel_pressed");
    session->ReleaseButton(At(200, 200));
    EXPECT_EQ(page->widthViewMode, 0) << "released outside the panel";
    EXPECT_FALSE(page->widthPanelPressed);

    page->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(700, 200));
    EXPECT_EQ(page->widthViewMode, 0) << "a release without a press";

    session->Click(WidthPanelCentre());
    page->ClearProfile();
    EXPECT_EQ(page->widthViewMode, 1);
    page->SetProfile(CreatedProfile(), L"created.prs");
    EXPECT_EQ(page->widthViewMode, 1);
    page->LoadProfile(L"");
    EXPECT_EQ(page->widthViewMode, 1);
}

TEST_F(Inspector, ShowsTheHandOnlyOverTheWidthPanelOfAProfile)
{
    const auto cursor = [this] { return brvl::win32::StandardCursorId(session->ShownCursor()); };
    const UINT_PTR hand = reinterpret_cast<UINT_PTR>(IDC_HAND);
    const UINT_PTR arrow = reinterpret_cast<UINT_PTR>(IDC_ARROW);

    page->widthPanelRect = CRect(485, 18, 942, 374); // as a painted profile left it
    session->MoveMouse(At(700, 200));
    EXPECT_EQ(cursor(), arrow) << "Empty";
    EXPECT_FALSE(page->widthPanelHover);

    Show(BuildSyntheticDefaultProfile());
    session->MoveMouse(At(700, 201));
    EXPECT_EQ(cursor(), hand);
    EXPECT_TRUE(page->widthPanelHover);
    Picture("profile_inspector_width_panel_hovered");
    session->MoveMouse(At(200, 200));
    EXPECT_EQ(cursor(), arrow) << "over the tone map";
    EXPECT_FALSE(page->widthPanelHover);

    session->MoveMouse(At(700, 200));
    session->MoveMouse(ScreenPoint(parent, 1050, 650));
    PumpPendingMessages();
    EXPECT_FALSE(page->widthPanelHover) << "the leave arrived";
    EXPECT_FALSE(page->trackingMouse);
}

TEST(InspectorTexts, CardsAndSourceLine)
{
    ReferenceProfile profile;
    profile.integratedLufs = -9.26;
    profile.loudnessRange = 6.04;
    profile.truePeak = 1.0;
    profile.referenceMatchRms = 0.0;
    profile.sampleRate = 48000;
    const std::array<LoudnessCard, 4> cards = LoudnessCardsOf(profile);
    const std::wstring values[] = {L"-9.3 LUFS", L"6.0 LU", L"1.000", L"-180.00 dBFS"};
    const std::wstring titles[] = {L"Integrated LUFS", L"Loudness Range", L"Peak",
                                   L"Reference RMS"};
    const std::wstring captions[] = {L"Target loudness", L"ITU-R BS.1770", L"Reference Sample",
                                     L"(Mid Signal RMS)"};
    const COLORREF accents[] = {0xE0A866, 0xDA84B2, 0x8EC25E, 0x5EB2D6};
    for (std::size_t k = 0; k < cards.size(); ++k)
    {
        EXPECT_EQ(cards[k].value.Str(), values[k]);
        EXPECT_EQ(cards[k].title.Str(), titles[k]);
        EXPECT_EQ(cards[k].caption.Str(), captions[k]);
        EXPECT_EQ(cards[k].accent, accents[k]);
    }
    profile.referenceMatchRms = 0.1;
    EXPECT_EQ(LoudnessCardsOf(profile)[3].value.Str(), L"-20.00 dBFS");
    EXPECT_EQ(FormatFixed(2.0 / 3.0, 4, L" x").Str(), L"0.6667 x");

    EXPECT_EQ(FormatSourceLine(profile).Str(), L"Unknown source   |   48000 Hz   |   Unknown date");
    profile.sampleRate = 0;
    profile.sourceFileName = "Café – 音楽.wav";
    profile.createdAt = "2026-12-11T10:00:00Z";
    EXPECT_EQ(FormatSourceLine(profile).Str(),
              L"Café – 音楽.wav   |   0 Hz   |   2026-12-11T10:00:00Z");
    profile.sourceFileName = "bad \xC3\x28 \xFF.wav";
    EXPECT_EQ(FormatSourceLine(profile).Str().substr(0, 12), L"bad \xFFFD( \xFFFD.wav");
}

TEST(InspectorLayout, PlacesPanelsCardsAndSourceLine)
{
    const InspectorLayout full = LayOutInspector(RECT{0, 0, 960, 520});
    EXPECT_EQ(CRect(full.toneMap), CRect(18, 18, 475, 374));
    EXPECT_EQ(CRect(full.widthPanel), CRect(485, 18, 942, 374));
    EXPECT_EQ(CRect(full.cards), CRect(18, 384, 942, 470));
    EXPECT_EQ(CRect(full.sourceLine), CRect(18, 480, 942, 502));

    // Under 284 pixels the top row keeps min(column width, 120).
    EXPECT_EQ(LayOutInspector(RECT{0, 0, 600, 240}).toneMap.bottom, 18 + 120);
    EXPECT_EQ(LayOutInspector(RECT{0, 0, 200, 240}).toneMap.bottom, 18 + 77);
    EXPECT_EQ(LayOutInspector(RECT{0, 0, 960, 283}).cards.bottom, 18 + 120 + 96)
        << "the cards run past the bottom and are clipped";
}

TEST(InspectorPaint, BackgroundFollowsThePageColour)
{
    Page::State state;
    state.size = CSize(960, 520);
    Gdiplus::Bitmap bitmap(960, 520);
    DrawState(bitmap, state);
    const auto near = [](COLORREF a, COLORREF b)
    {
        return std::abs(GetRValue(a) - GetRValue(b)) <= 1 &&
               std::abs(GetGValue(a) - GetGValue(b)) <= 1 &&
               std::abs(GetBValue(a) - GetBValue(b)) <= 1;
    };
    EXPECT_PRED2(near, PixelAt(bitmap, 5, 0), RGB(14, 16, 19));
    EXPECT_PRED2(near, PixelAt(bitmap, 5, 519), RGB(11, 13, 15));
}

TEST(ToneMap, ScaleTakesFiniteLevelsAndFallsBackWhenFlat)
{
    const ToneMapScale flat = ToneMapScaleOf(FlatProfile(44100, 4096, 2049, 0.0, 0.0));
    EXPECT_DOUBLE_EQ(flat.yMin, -86.4);
    EXPECT_DOUBLE_EQ(flat.yMax, 6.4);
    EXPECT_DOUBLE_EQ(flat.maxHz, 22050.0);

    ReferenceProfile odd = FlatProfile(48000, 4096, 100, -30.0, -40.0);
    odd.midSpectrum[5] = kInf;
    odd.sideSpectrum[6] = -kInf;
    odd.sideSpectrum[7] = kNaN;
    odd.midSpectrum[8] = -10.0;
    const ToneMapScale scale = ToneMapScaleOf(odd);
    EXPECT_DOUBLE_EQ(scale.lowDb, -40.0);
    EXPECT_DOUBLE_EQ(scale.highDb, -10.0);
    EXPECT_DOUBLE_EQ(scale.yMin, -42.4);
    EXPECT_DOUBLE_EQ(scale.yMax, -7.6);

    ReferenceProfile none = FlatProfile(48000, 4096, 10, kNaN, kInf);
    const ToneMapScale fallback = ToneMapScaleOf(none);
    EXPECT_DOUBLE_EQ(fallback.lowDb, -80.0);
    EXPECT_DOUBLE_EQ(fallback.highDb, 0.0);
}

TEST(ToneMap, TheTwentyKilohertzLineLeavesNarrowPlots)
{
    struct Case
    {
        double maxHz;
        int dropUpTo;
    };
    for (const Case c : {Case{22050.0, 430}, Case{24000.0, 233}})
    {
        SCOPED_TRACE(c.maxHz);
        const auto hasTwentyK = [&](int width)
        {
            const auto lines = ToneMapFrequencyLines(32, 32 + width, c.maxHz);
            return !lines.empty() && std::wstring(lines.back().label) == L"20k";
        };
        EXPECT_FALSE(hasTwentyK(c.dropUpTo));
        EXPECT_TRUE(hasTwentyK(c.dropUpTo + 1));
    }
    const auto low = ToneMapFrequencyLines(0, 800, 3000.0);
    ASSERT_FALSE(low.empty());
    EXPECT_EQ(std::wstring(low.back().label), L"2k") << "none above the highest frequency";
    EXPECT_TRUE(ToneMapFrequencyLines(0, 800, 20.0).empty());
}

TEST(ToneMap, OneCurvePointPerColumnWithinTheBins)
{
    struct Case
    {
        int rate;
        int fft;
        std::size_t bins;
    };
    for (const Case c : {Case{48000, 4096, 2049}, Case{48000, 64, 33}, Case{44100, 0, 300},
                         Case{0, 1 << 30, 5000}, Case{2147483647, 2147483647, 40}})
    {
        SCOPED_TRACE(c.fft);
        ReferenceProfile profile = FlatProfile(c.rate, c.fft, c.bins, 0.0, 0.0);
        for (std::size_t i = 0; i < c.bins; ++i)
        {
            profile.midSpectrum[i] = double(i); // each value names its bin
        }
        const ToneMapScale scale = ToneMapScaleOf(profile);
        if (!scale.HasAxis())
        {
            EXPECT_TRUE(ToneCurveColumnValues(profile.midSpectrum, 300, scale).empty());
            continue;
        }
        const std::vector<double> bins = ToneCurveColumnValues(profile.midSpectrum, 300, scale);
        ASSERT_EQ(bins.size(), 300u);
        EXPECT_TRUE(std::is_sorted(bins.begin(), bins.end()));
        EXPECT_GE(bins.front(), 1.0) << "bin 0 is never shown";
        EXPECT_LE(bins.back(), double(c.bins - 1));

        const RECT plot{30, 40, 330, 240};
        const std::vector<Gdiplus::PointF> points =
            BuildToneCurvePoints(profile.midSpectrum, plot, scale);
        ASSERT_EQ(points.size(), 300u);
        EXPECT_EQ(points.front().X, 30.0f);
        EXPECT_EQ(points.back().X, 329.0f);
        for (const Gdiplus::PointF& p : points)
        {
            ASSERT_TRUE(p.Y >= 40.0f && p.Y <= 240.0f) << p.Y;
        }
    }
    const ToneMapScale scale = ToneMapScaleOf(FlatProfile(48000, 64, 33, 0.0, 0.0));
    EXPECT_EQ(ToneCurveColumnValues(std::vector<double>(33, 0.0), 300, scale).size(), 300u);
}

TEST(ToneMap, NonFiniteBinsTakeTheEndsOfTheRange)
{
    ReferenceProfile profile = FlatProfile(48000, 64, 33, -25.0, -30.0);
    profile.midSpectrum[0] = -50.0;
    profile.midSpectrum[1] = kNaN;
    profile.midSpectrum[5] = -20.0;
    profile.midSpectrum[31] = profile.midSpectrum[32] = kInf;
    const ToneMapScale scale = ToneMapScaleOf(profile);
    const std::vector<double> values = ToneCurveColumnValues(profile.midSpectrum, 200, scale);
    EXPECT_EQ(values.front(), -50.0) << "NaN takes the lowest level";
    EXPECT_EQ(values.back(), -20.0) << "+inf takes the highest";
    profile.midSpectrum[31] = profile.midSpectrum[32] = -kInf;
    EXPECT_EQ(ToneCurveColumnValues(profile.midSpectrum, 200, scale).back(), -50.0);
}

TEST(ToneMap, WithoutAnAxisOnlyTheFrameTitleAndGridAreDrawn)
{
    // One bin, or two bins whose top lies at 20 Hz: no curve, no frequency line.
    for (const ReferenceProfile& profile :
         {FlatProfile(48000, 4096, 1, 0.0, 0.0), FlatProfile(40, 2, 2, -3.0, 5.0)})
    {
        EXPECT_FALSE(ToneMapScaleOf(profile).HasAxis());
        Gdiplus::Bitmap drawn(400, 300);
        Gdiplus::Graphics graphics(&drawn);
        DrawToneMap(graphics, RECT{0, 0, 400, 300}, profile);
        EXPECT_EQ(graphics.GetLastStatus(), Gdiplus::Ok);

        ReferenceProfile flat = profile;
        flat.midSpectrum.assign(profile.midSpectrum.size(), 123.0);
        Gdiplus::Bitmap other(400, 300);
        Gdiplus::Graphics otherGraphics(&other);
        DrawToneMap(otherGraphics, RECT{0, 0, 400, 300}, flat);
        EXPECT_EQ(DifferingPixels(drawn, other), 0) << "the levels are not drawn";
    }
}

TEST(WidthPanel, AnEmptySpectrumLeavesBothPanelsWithFrameAndTitle)
{
    Page::State withMid;
    withMid.size = CSize(960, 520);
    withMid.hasProfile = true;
    withMid.profile = BuildSyntheticDefaultProfile();
    withMid.profile.sideSpectrum.clear();
    Page::State withNone = withMid;
    withNone.profile.midSpectrum.clear();
    for (int mode : {0, 1, 2})
    {
        withMid.widthViewMode = withNone.widthViewMode = mode;
        Gdiplus::Bitmap a(960, 520);
        Gdiplus::Bitmap b(960, 520);
        DrawState(a, withMid);
        DrawState(b, withNone);
        EXPECT_EQ(DifferingPixels(a, b), 0) << mode;
    }
}

TEST(WidthPanel, ABandWithoutBinsIsZeroWithTheSmallestBloom)
{
    // 187.5 Hz bins: neither the sub nor the bass band holds one.
    ReferenceProfile profile = FlatProfile(48000, 256, 129, -20.0, -20.0);
    const auto widths = ComputeBandWidths(profile);
    EXPECT_EQ(widths[0], 0.0);
    EXPECT_EQ(widths[1], 0.0);
    EXPECT_NEAR(widths[3], 1.0 / (1.0 + std::exp(-1.0)), 1e-12);

    const RECT panel{485, 18, 942, 374};
    const RECT plot{panel.left + 40, panel.top + 52, panel.right - 40, panel.bottom - 28};
    const auto bands = LayOutStereoBloom(plot, widths);
    ASSERT_EQ(bands.size(), 6u);
    EXPECT_NEAR(bands[0].radiusX, 0.78 * 0.12 * (plot.right - plot.left), 1e-3);
    EXPECT_NEAR(bands[0].radiusY, 0.8 * 0.055 * (plot.bottom - plot.top), 1e-3);
    EXPECT_EQ(BloomValueText(widths[0]).Str(), L"0%");

    ReferenceProfile tiny = FlatProfile(48000, 4096, 1, 0.0, 0.0);
    for (double w : ComputeBandWidths(tiny))
    {
        EXPECT_EQ(w, 0.0);
    }
}

TEST(WidthPanel, ScaleLabelsSkipWhenTheyWouldCrowdOrLeaveTheBar)
{
    const std::array<int, 4> widths{30, 38, 44, 28}; // Mono, Focused, Balanced, Wide
    // "Focused" ends at 75; "Balanced" starts at 85, within 10 pixels.
    auto lefts = PlaceWidthScaleLabels(0, 255, widths);
    EXPECT_FALSE(lefts[0]) << "Mono would start left of the bar";
    EXPECT_EQ(lefts[1], 37);
    EXPECT_FALSE(lefts[2]);
    EXPECT_EQ(lefts[3], 144);

    lefts = PlaceWidthScaleLabels(100, 260, widths);
    EXPECT_EQ(lefts[1], 138);
    EXPECT_EQ(lefts[2], 187);
    EXPECT_EQ(lefts[3], 247);

    lefts = PlaceWidthScaleLabels(0, 30, widths);
    EXPECT_FALSE(lefts[3]) << "Wide would end past the bar";
}

// Profiles a reader could hand the page: odd spectra, rates and sizes.
std::vector<ReferenceProfile> OddProfiles()
{
    std::vector<ReferenceProfile> profiles;
    profiles.push_back(FlatProfile(48000, 4096, 0, 0.0, 0.0));
    profiles.push_back(FlatProfile(48000, 4096, 1, 0.0, 0.0));
    profiles.push_back(FlatProfile(48000, 4096, 2, 0.0, -3.0));
    ReferenceProfile lengths = FlatProfile(44100, 0, 2049, -20.0, -30.0);
    lengths.sideSpectrum.resize(17);
    profiles.push_back(lengths);
    ReferenceProfile odd = FlatProfile(-5, -7, 600, -20.0, -26.0);
    odd.midSpectrum[3] = kNaN;
    odd.midSpectrum[100] = kInf;
    odd.sideSpectrum[200] = -kInf;
    odd.sideSpectrum[201] = kNaN;
    profiles.push_back(odd);
    profiles.push_back(FlatProfile(2147483647, 2147483647, 300, kNaN, kNaN));
    profiles.push_back(FlatProfile(0, 0, 50, 1e308, -1e308));
    ReferenceProfile text = BuildSyntheticDefaultProfile();
    text.sourceFileName = "\xFF\xFE\x80";
    text.createdAt = std::string("a\0b", 3);
    text.referenceMatchRms = -kInf;
    text.truePeak = kNaN;
    text.integratedLufs = kInf;
    profiles.push_back(text);
    return profiles;
}

TEST(InspectorPaint, OddProfilesAndSizesPaintWithoutErrors)
{
    const Gdiplus::Color marker(255, 1, 2, 3);
    for (const ReferenceProfile& profile : OddProfiles())
    {
        for (const CSize size :
             {CSize(0, 0), CSize(100, 50), CSize(32767, 100), CSize(600, 240), CSize(960, 520)})
        {
            for (int mode : {0, 1, 2})
            {
                SCOPED_TRACE(::testing::Message() << size.cx << " x " << size.cy << " mode " << mode
                                                  << " bins " << profile.midSpectrum.size());
                Page::State state;
                state.size = size;
                state.hasProfile = true;
                state.profile = profile;
                state.widthViewMode = mode;
                state.widthPanelHover = mode == 1;
                state.widthPanelPressed = mode == 2;
                Gdiplus::Bitmap bitmap(std::max<int>(size.cx, 1), std::max<int>(size.cy, 1));
                Gdiplus::Graphics graphics(&bitmap);
                PrepareControlGraphics(graphics);
                Page::Draw(graphics, state);
                EXPECT_EQ(graphics.GetLastStatus(), Gdiplus::Ok);
                const Gdiplus::SolidBrush brush(marker);
                graphics.FillRectangle(&brush, 0, 0, 1, 1);
                ASSERT_EQ(PixelAt(bitmap, 0, 0), marker.ToCOLORREF());
            }
        }
    }
}

TEST_F(Inspector, Pictures)
{
    Picture("profile_inspector_empty_960x520");
    page->SetEditEnabled(true); // as on the main view's page
    struct Shown
    {
        const char* name;
        ReferenceProfile profile;
    };
    const Shown shown[] = {{"synthetic", BuildSyntheticDefaultProfile()},
                           {"created", CreatedProfile()}};
    for (const Shown& s : shown)
    {
        Show(s.profile);
        for (int mode = 0; mode < 3; ++mode)
        {
            page->widthViewMode = mode;
            page->Invalidate();
            Picture(std::string("profile_inspector_") + s.name + "_view" + std::to_string(mode));
        }
    }
    page->widthViewMode = 0;
    page->MoveWindow(0, 0, 600, 240);
    Picture("profile_inspector_created_600x240");
}

} // namespace
