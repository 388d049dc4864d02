#include "profiles/profile_editor_page_wnd.h"

#include "controls/base/client_state.h"
#include "engine/profiles/synthetic_profile.h"
#include "platform/win32/test_hooks.h"
#include "profiles/spline_points.h"
#include "tests/controls/control_test_kit.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace
{

using Page = CReferenceProfileEditorViewportWnd;
using Editor = CProfileSpectrumEditorWnd;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr int kWidth = 960;
constexpr int kHeight = 520;

// Flat spectra at `midDb` / `sideDb` with one set of the header's size.
ReferenceProfile FlatProfile(int sampleRate = 44100, int fftSize = 4096, double midDb = -20,
                             double sideDb = -30)
{
    ReferenceProfile profile;
    profile.sampleRate = sampleRate;
    profile.fftSize = fftSize;
    const std::size_t bins = static_cast<std::size_t>(std::max(fftSize, 2)) / 2 + 1;
    profile.midSpectrum.assign(bins, midDb);
    profile.sideSpectrum.assign(bins, sideDb);
    profile.spectrumSets.push_back({fftSize, profile.midSpectrum, profile.sideSpectrum});
    return profile;
}

// What the parent saw of one action, read during the send.
struct ActionHeard
{
    int action = -1;
    WPARAM wParam = 0;
    bool built = false;
    ReferenceProfile edited;
    ReferenceProfile working;
};

class ProfileEditorPage : public ControlTest
{
protected:
    void SetUp() override
    {
        ControlTest::SetUp();
        parent.MoveWindow(0, 0, kWidth + 40, kHeight + 40);
        parent.On(WMU_PROFILE_EDITOR_ACTION,
                  [this](WPARAM wParam, LPARAM lParam) -> std::optional<LRESULT>
                  {
                      ActionHeard entry;
                      entry.wParam = wParam;
                      entry.action = reinterpret_cast<const ProfileEditorAction*>(lParam)->action;
                      entry.built = page->BuildEditedProfile(entry.edited);
                      entry.working = page->workingProfile;
                      actions.push_back(std::move(entry));
                      if (onAction)
                      {
                          onAction();
                      }
                      return 0;
                  });
        page = std::make_unique<Page>();
        ASSERT_TRUE(page->Create(CRect(0, 0, kWidth, kHeight), &parent));
        Settle();
    }

    std::vector<int> Actions() const
    {
        std::vector<int> list;
        for (const ActionHeard& h : actions)
        {
            list.push_back(h.action);
        }
        return list;
    }

    // The screen point of point j of the spectrum editor.
    POINT PointOf(std::size_t j) const
    {
        const Editor& editor = page->spectrumEditor;
        const RECT plot = Editor::PlotRect(ClientSizeOf(editor));
        const Gdiplus::PointF c =
            Editor::ControlPointPosition(plot, j, editor.points.size(), editor.points[j]);
        return At(editor, int(std::lround(c.X)), int(std::lround(c.Y)));
    }

    // Screen y in the editor where a point reads `db`.
    POINT EditorPointAt(std::size_t j, double db) const
    {
        const Editor& editor = page->spectrumEditor;
        const RECT plot = Editor::PlotRect(ClientSizeOf(editor));
        const Gdiplus::PointF c = Editor::ControlPointPosition(plot, j, editor.points.size(), db);
        return At(editor, int(std::lround(c.X)), int(std::lround(c.Y)));
    }

    void DragPoint(std::size_t j, double db)
    {
        session->PressButton(PointOf(j));
        session->MoveMouse(EditorPointAt(j, db));
        session->ReleaseButton(EditorPointAt(j, db));
    }

    // The screen point on a slider's track at position v (0..1).
    POINT SliderPoint(const CHorizontalSliderWnd& slider, double v) const
    {
        const SliderLayout layout = slider.Layout();
        const int x = layout.track.left +
                      int(std::lround(v * double(layout.track.right - layout.track.left)));
        return At(slider, x, (layout.track.top + layout.track.bottom) / 2);
    }

    void DragSlider(const CHorizontalSliderWnd& slider, double from, double to)
    {
        session->PressButton(SliderPoint(slider, from));
        session->MoveMouse(SliderPoint(slider, to));
        session->ReleaseButton(SliderPoint(slider, to));
    }

    void ClickSelector(int mode)
    {
        const RECT segment =
            CCurveModeSelectorWnd::SegmentRect(ClientSizeOf(page->modeSelector), mode);
        session->Click(At(page->modeSelector, (segment.left + segment.right) / 2,
                          (segment.top + segment.bottom) / 2));
    }

    void ClickButton(CActionButtonWnd& button)
    {
        const RECT body = ActionButtonBody(CRect(CPoint(0, 0), ClientSizeOf(button)));
        session->Click(At(button, (body.left + body.right) / 2, (body.top + body.bottom) / 2));
    }

    std::unique_ptr<Page> page;
    std::vector<ActionHeard> actions;
    std::function<void()> onAction;
};

bool Visible(const CWnd& window)
{
    return (window.GetStyle() & WS_VISIBLE) != 0;
}

// ---- layout ------------------------------------------------------------------

TEST(ProfileEditorLayout, PlacesTheChildrenByTheTableWithTheEditorColumnTwiceTheBloomColumn)
{
    struct Row
    {
        CRect client;
        std::array<CRect, Page::kChildCount> expected;
    };
    // 960 x 520: g = (2 * 924 - 32) / 3 = 605, h = 295, e = 623.
    // 30 x 30: g = (2 * -6 - 32) / 3 = -14, h = -14, e = 4: negative extents, kept as reckoned.
    const Row rows[] = {
        {CRect(0, 0, 960, 520),
         {CRect(18, 468, 238, 514), CRect(18, 52, 623, 362), CRect(18, 374, 313, 454),
          CRect(327, 374, 623, 454), CRect(639, 52, 942, 362), CRect(639, 374, 942, 454),
          CRect(604, 468, 710, 502), CRect(720, 468, 826, 502), CRect(836, 468, 942, 502)}},
        {CRect(0, 0, 30, 30),
         {CRect(18, -22, 238, 24), CRect(18, 52, 4, -128), CRect(18, -116, 4, -36),
          CRect(18, -116, 4, -36), CRect(20, 52, 12, -128), CRect(20, -116, 12, -36),
          CRect(-326, -22, -220, 12), CRect(-210, -22, -104, 12), CRect(-94, -22, 12, 12)}},
    };
    for (const Row& row : rows)
    {
        const auto rects = Page::ComputeLayout(row.client);
        for (int i = 0; i < Page::kChildCount; ++i)
        {
            EXPECT_EQ(rects[i], row.expected[i]) << row.client.Width() << " child " << i;
        }
    }
    const auto rects = Page::ComputeLayout(CRect(0, 0, 960, 520));
    EXPECT_EQ(rects[Page::kSpectrumEditor].Width(), 605);
    EXPECT_EQ(rects[Page::kBloomView].Width(), 303);
}

TEST_F(ProfileEditorPage, LaysItsChildrenOutOnEverySizeAlsoTooSmallOnes)
{
    CRect rect;
    page->spectrumEditor.GetWindowRect(&rect);
    page->ScreenToClient(&rect);
    EXPECT_EQ(rect, CRect(18, 52, 623, 362));
    page->MoveWindow(0, 0, 30, 30);
    page->bloomView.GetWindowRect(&rect);
    EXPECT_LE(rect.Width(), 0);
    page->MoveWindow(0, 0, kWidth, kHeight);
    page->cancelButton.GetWindowRect(&rect);
    page->ScreenToClient(&rect);
    EXPECT_EQ(rect, CRect(836, 468, 942, 502));
}

// ---- creation and the empty page --------------------------------------------

TEST_F(ProfileEditorPage, CreatesItsChildrenAsConfiguredAndShowsOnlySelectorAndButtonsEmpty)
{
    wchar_t name[64] = {};
    page->GetWindowText(name, 64);
    EXPECT_STREQ(name, L"BrimvaleReferenceProfileEditorViewportWnd");
    EXPECT_EQ(page->GetStyle(), 0x56000000u);
    EXPECT_EQ(page->GetDlgCtrlID(), 8721);
    EXPECT_EQ(page->SendMessage(WM_ERASEBKGND, 0, 0), TRUE);

    struct ChildRow
    {
        CWnd* window;
        int id;
        bool visibleEmpty;
    };
    const ChildRow children[] = {
        {&page->modeSelector, 21409, true},      {&page->applyButton, 21410, true},
        {&page->saveButton, 21411, true},        {&page->cancelButton, 21412, true},
        {&page->spectrumEditor, 21413, false},   {&page->bloomView, 21414, false},
        {&page->focusBloomSlider, 21415, false}, {&page->contourSlider, 21416, false},
        {&page->toneTiltSlider, 21417, false},
    };
    for (const ChildRow& row : children)
    {
        EXPECT_EQ(row.window->GetDlgCtrlID(), row.id);
        EXPECT_EQ(Visible(*row.window), row.visibleEmpty) << row.id;
    }

    struct SliderRow
    {
        CHorizontalSliderWnd* slider;
        const wchar_t* label;
        int bipolar;
        double min;
        double max;
        int decimals;
        const wchar_t* suffix;
        COLORREF accent;
    };
    const SliderRow sliders[] = {
        {&page->contourSlider, L"Contour", 0, 0, 200, 0, L"%", 0x5CA4D8},
        {&page->toneTiltSlider, L"Tone Tilt", 1, -6, 6, 1, L" dB", 0xCCC2BC},
        {&page->focusBloomSlider, L"Focus / Bloom", 1, -6, 6, 1, L" dB", 0xFF9C6A},
    };
    for (const SliderRow& row : sliders)
    {
        CHorizontalSliderWnd& s = *row.slider;
        EXPECT_EQ(s.GetLabel(), CString(row.label));
        EXPECT_EQ(s.GetBipolar(), row.bipolar);
        double min = 0, max = 0;
        int decimals = 0;
        CString suffix;
        s.GetDisplayRange(min, max, decimals, suffix);
        EXPECT_EQ(min, row.min);
        EXPECT_EQ(max, row.max);
        EXPECT_EQ(decimals, row.decimals);
        EXPECT_EQ(suffix, CString(row.suffix));
        EXPECT_EQ(s.GetValue(), 0.5);
        EXPECT_EQ(s.GetDefaultValue(), 0.5) << "a double-click returns to neutral";
        EXPECT_EQ(s.GetAccentColor(), row.accent);
        EXPECT_EQ(s.GetBackgroundColor(), COLORREF(0x100E0C));
        EXPECT_FALSE(s.GetDrawBorder());
        EXPECT_FALSE(s.GetDrawBackground());
    }
    const std::pair<CActionButtonWnd*, std::pair<const wchar_t*, COLORREF>> buttons[] = {
        {&page->applyButton, {L"Apply", 0x5CA4D8}},
        {&page->saveButton, {L"Save", 0xFF9C62}},
        {&page->cancelButton, {L"Cancel", 0x705CD6}},
    };
    for (const auto& [button, look] : buttons)
    {
        EXPECT_EQ(button->GetLabel(), CString(look.first));
        EXPECT_EQ(button->GetAccentColor(), look.second);
        EXPECT_FALSE(button->GetDrawBorder());
        EXPECT_FALSE(button->GetDrawBackground());
    }
    EXPECT_EQ(page->modeSelector.GetKindName(), "curve mode selector");
    EXPECT_EQ(page->modeSelector.GetMode(), 0);
    EXPECT_EQ(page->modeSelector.GetAccentColor(), COLORREF(0x7454E0));
    EXPECT_EQ(page->spectrumEditor.points.size(), 6u);

    ReferenceProfile untouched = FlatProfile();
    const ReferenceProfile before = untouched;
    EXPECT_FALSE(page->BuildEditedProfile(untouched));
    EXPECT_EQ(untouched, before);

    // Without a profile the buttons still speak; Cancel restores nothing.
    ClickButton(page->applyButton);
    ClickButton(page->saveButton);
    ClickButton(page->cancelButton);
    EXPECT_EQ(Actions(), (std::vector<int>{1, 2, 3}));
    for (const ActionHeard& h : actions)
    {
        EXPECT_EQ(h.wParam, 0u);
        EXPECT_FALSE(h.built);
    }
}

TEST_F(ProfileEditorPage, FailsWhenAnyChildCannotBeMadeAndLeavesNoWindow)
{
    for (const int n : {2, 3, 6, 9, 10})
    {
        SCOPED_TRACE(n);
        Page failing;
        FailNextCreate(n);
        EXPECT_FALSE(failing.Create(CRect(0, 0, kWidth, kHeight), &parent));
        EXPECT_FALSE(::IsWindow(failing.GetSafeHwnd()));
        // Its operations still hold without windows.
        failing.SetProfile(FlatProfile(), L"x.prs");
        ReferenceProfile out;
        EXPECT_TRUE(failing.BuildEditedProfile(out));
        failing.ClearProfile();
    }
    FailNextCreate(0);
    EXPECT_TRUE(actions.empty());
}

// ---- loading -----------------------------------------------------------------

class ScratchFolder
{
public:
    ScratchFolder()
        : path(std::filesystem::temp_directory_path() /
               ("brvl_profile_editor_" + std::to_string(::getpid())))
    {
        std::filesystem::create_directories(path);
    }
    ~ScratchFolder() { std::filesystem::remove_all(path); }
    std::filesystem::path path;
};

TEST_F(ProfileEditorPage, ShowsWhyAProfileCannotBeLoadedAndKeepsSelectorAndButtons)
{
    ScratchFolder folder;
    const std::wstring good = (folder.path / "good.prs").wstring();
    WriteReferenceProfile(good, FlatProfile());
    ASSERT_TRUE(page->LoadProfile(good));
    EXPECT_TRUE(page->hasProfile);
    EXPECT_EQ(page->profilePath, good);
    EXPECT_TRUE(Visible(page->spectrumEditor));

    const std::wstring missing = (folder.path / "missing.prs").wstring();
    EXPECT_FALSE(page->LoadProfile(missing));
    EXPECT_FALSE(page->hasProfile);
    EXPECT_EQ(page->profilePath, missing);
    EXPECT_EQ(page->errorText, L"Cannot open profile for reading");
    for (const CWnd* hidden : {static_cast<const CWnd*>(&page->spectrumEditor),
                               static_cast<const CWnd*>(&page->bloomView),
                               static_cast<const CWnd*>(&page->contourSlider),
                               static_cast<const CWnd*>(&page->toneTiltSlider),
                               static_cast<const CWnd*>(&page->focusBloomSlider)})
    {
        EXPECT_FALSE(Visible(*hidden));
    }
    for (const CWnd* shown :
         {static_cast<const CWnd*>(&page->modeSelector),
          static_cast<const CWnd*>(&page->applyButton), static_cast<const CWnd*>(&page->saveButton),
          static_cast<const CWnd*>(&page->cancelButton)})
    {
        EXPECT_TRUE(Visible(*shown));
    }
    ASSERT_TRUE(RenderWindowToPng(page->GetSafeHwnd(),
                                  ControlPicturePath("profile_editor_page_unavailable")));
    WindowPicture picture;
    ASSERT_TRUE(ComposeWindowPicture(page->GetSafeHwnd(), picture));
    // Light title text somewhere on the title line, background at the top.
    bool titleInk = false;
    const int titleY = int(0.34 * kHeight) + 18;
    for (int x = 300; x < 660 && !titleInk; ++x)
    {
        titleInk = GetRValue(picture.ColorAt(x, titleY)) > 150;
    }
    EXPECT_TRUE(titleInk);
    EXPECT_EQ(picture.ColorAt(kWidth / 2, 2), RGB(0x0E, 0x10, 0x13));

    // The view disables Apply and Save while it renders; they then send nothing.
    page->actionsDisabled = true;
    page->applyButton.SetDisabled(true);
    page->saveButton.SetDisabled(true);
    ClickButton(page->applyButton);
    ClickButton(page->saveButton);
    EXPECT_TRUE(actions.empty());

    // Other unreadable paths: a folder, nothing, and bytes that are no profile.
    const std::filesystem::path corrupt = folder.path / "corrupt.prs";
    std::ofstream(corrupt) << "not a profile at all";
    for (const std::wstring& path : {folder.path.wstring(), std::wstring(), corrupt.wstring()})
    {
        EXPECT_FALSE(page->LoadProfile(path));
        EXPECT_FALSE(page->errorText.empty());
        EXPECT_FALSE(page->hasProfile);
    }
    EXPECT_TRUE(actions.empty()) << "loading sends nothing";
}

// ---- the edit model -----------------------------------------------------------

TEST_F(ProfileEditorPage, GettersFollowTheSlidersAndContourScalesTheSpline)
{
    page->SetProfile(FlatProfile(), L"");
    DragPoint(2, 6.0);
    ASSERT_EQ(actions.size(), 1u);
    const std::vector<double> points = page->midPoints;
    EXPECT_NE(points[2], 0.0);

    struct Row
    {
        double contourValue;
        double expectedContour;
    };
    for (const Row row : {Row{0.0, 0.0}, Row{0.5, 1.0}, Row{1.0, 2.0}})
    {
        page->contourSlider.SetValueSilently(row.contourValue);
        EXPECT_DOUBLE_EQ(page->GetContour(), row.expectedContour);
        ReferenceProfile edited;
        ASSERT_TRUE(page->BuildEditedProfile(edited));
        std::vector<double> expected(2049, -20.0);
        AddSplineCorrection(expected, points, 44100, 4096, row.expectedContour, 0.0);
        for (std::size_t i = 0; i < expected.size(); i += 97)
        {
            EXPECT_NEAR(edited.midSpectrum[i], expected[i], 1e-9) << i;
            EXPECT_NEAR(edited.spectrumSets[0].mid[i], expected[i], 1e-9) << i;
        }
        EXPECT_EQ(edited.sideSpectrum, std::vector<double>(2049, -30.0)) << "side has no edit";
    }
    page->toneTiltSlider.SetValueSilently(1.0);
    page->focusBloomSlider.SetValueSilently(0.25);
    EXPECT_DOUBLE_EQ(page->GetToneTiltDb(), 6.0);
    EXPECT_DOUBLE_EQ(page->GetFocusBloomDb(), -3.0);
}

TEST_F(ProfileEditorPage, ToneTiltTurnsAboutTheMiddleOfTheLogAxis)
{
    page->SetProfile(FlatProfile(), L"");
    page->toneTiltSlider.SetValueSilently(1.0); // +6 dB
    ReferenceProfile edited;
    ASSERT_TRUE(page->BuildEditedProfile(edited));
    // Bin i at i * 44100 / 4096 Hz; 664 Hz lies near the axis middle.
    const double binHz = 44100.0 / 4096;
    const double middleHz = std::sqrt(20.0 * 22050.0);
    struct Row
    {
        std::size_t bin;
        double db;
        double tolerance;
    };
    const Row rows[] = {
        {0, -26.0, 1e-9},
        {1, -26.0, 1e-9}, // 10.8 Hz
        {2048, -14.0, 1e-9},
        {std::size_t(std::lround(middleHz / binHz)), -20.0, 0.05},
    };
    for (const Row& row : rows)
    {
        EXPECT_NEAR(edited.midSpectrum[row.bin], row.db, row.tolerance) << row.bin;
        EXPECT_NEAR(edited.sideSpectrum[row.bin], row.db - 10, row.tolerance) << row.bin;
    }
    EXPECT_NEAR(middleHz, 664, 1);
}

TEST_F(ProfileEditorPage, FocusBloomMovesMidDownAndSideUpInEveryBinAndWidensTheBloom)
{
    page->SetProfile(BuildSyntheticDefaultProfile(), L"");
    const auto before = page->bloomView.ComputeStereoBandWidths();
    DragSlider(page->focusBloomSlider, 0.5, 0.75); // +3 dB
    ASSERT_NEAR(page->GetFocusBloomDb(), 3.0, 0.1);
    const double fb = page->GetFocusBloomDb();
    ASSERT_FALSE(actions.empty());
    const ActionHeard& heard = actions.back();
    ASSERT_TRUE(heard.built);
    const ReferenceProfile& original = page->workingProfile;
    ASSERT_EQ(heard.edited.midSpectrum.size(), original.midSpectrum.size());
    for (std::size_t i = 0; i < original.midSpectrum.size(); ++i)
    {
        ASSERT_NEAR(heard.edited.midSpectrum[i], original.midSpectrum[i] - fb, 1e-9) << i;
        ASSERT_NEAR(heard.edited.sideSpectrum[i], original.sideSpectrum[i] + fb, 1e-9) << i;
    }
    const auto after = page->bloomView.ComputeStereoBandWidths();
    for (std::size_t band = 0; band < after.size(); ++band)
    {
        EXPECT_GT(after[band], before[band]) << band;
    }
    // The editor shows mid lowered and side raised.
    EXPECT_NEAR(page->spectrumEditor.offsetDb, -fb, 1e-12);
    EXPECT_NEAR(page->spectrumEditor.referenceOffsetDb, fb, 1e-12);
}

TEST_F(ProfileEditorPage, ApplyBakesThePendingEditInAndCancelRestoresTheLoadedProfile)
{
    const ReferenceProfile loaded = FlatProfile();
    page->SetProfile(loaded, L"p.prs");
    DragPoint(1, 9.0);
    page->toneTiltSlider.SetValueSilently(0.75);   // +3 dB
    page->focusBloomSlider.SetValueSilently(0.25); // -3 dB
    ReferenceProfile pending;
    ASSERT_TRUE(page->BuildEditedProfile(pending));
    actions.clear();

    ClickButton(page->applyButton);
    ASSERT_EQ(Actions(), (std::vector<int>{1}));
    EXPECT_EQ(actions[0].working, pending) << "the parent reads the baked profile";
    EXPECT_EQ(actions[0].edited, pending) << "nothing more is pending";
    EXPECT_EQ(page->midPoints, std::vector<double>(6, 0.0));
    EXPECT_EQ(page->spectrumEditor.points, std::vector<double>(6, 0.0));
    for (const CHorizontalSliderWnd* s :
         {&page->contourSlider, &page->toneTiltSlider, &page->focusBloomSlider})
    {
        EXPECT_EQ(s->GetValue(), 0.5) << "back to neutral";
    }
    EXPECT_EQ(page->focusBloomSlider.GetAccentColor(), COLORREF(0xFF9C6A));

    // A second Apply without an edit changes nothing: the tilt is not applied twice.
    ClickButton(page->applyButton);
    EXPECT_EQ(actions[1].working, pending);

    ClickButton(page->saveButton);
    EXPECT_EQ(actions[2].action, 2);
    EXPECT_EQ(page->workingProfile, pending) << "Save changes nothing";

    ClickButton(page->cancelButton);
    ASSERT_EQ(Actions(), (std::vector<int>{1, 1, 2, 3}));
    EXPECT_EQ(actions[3].working, loaded);
    EXPECT_EQ(page->workingProfile, loaded);
    EXPECT_EQ(page->loadedProfile, loaded);
}

TEST_F(ProfileEditorPage, KeepsBothPointSetsAcrossModeSwitchesWithoutTellingTheView)
{
    page->SetProfile(FlatProfile(), L"");
    DragPoint(2, 6.0);
    const std::vector<double> mid = page->midPoints;
    actions.clear();

    ClickSelector(1);
    EXPECT_EQ(page->curveMode, 1);
    EXPECT_EQ(page->modeSelector.GetAccentColor(), COLORREF(0xFF9C6A));
    EXPECT_EQ(page->spectrumEditor.curveMode, 1);
    EXPECT_EQ(page->spectrumEditor.points, std::vector<double>(6, 0.0));
    EXPECT_EQ(page->spectrumEditor.referencePoints, mid);
    DragPoint(4, -9.0);
    const std::vector<double> side = page->sidePoints;
    EXPECT_NE(side[4], 0.0);

    ClickSelector(0);
    EXPECT_EQ(page->curveMode, 0);
    EXPECT_EQ(page->midPoints, mid);
    EXPECT_EQ(page->sidePoints, side);
    EXPECT_EQ(page->spectrumEditor.points, mid);
    EXPECT_EQ(page->spectrumEditor.referencePoints, side);
    EXPECT_EQ(Actions(), (std::vector<int>{0})) << "only the side drag's release";
    actions.clear();

    // A new profile starts on Mid with no edit, the sliders neutral.
    ClickSelector(1);
    DragSlider(page->toneTiltSlider, 0.5, 0.8);
    DragSlider(page->contourSlider, 0.5, 0.2);
    page->SetProfile(FlatProfile(48000, 2048), L"");
    EXPECT_EQ(page->toneTiltSlider.GetValue(), 0.5);
    EXPECT_EQ(page->contourSlider.GetValue(), 0.5);
    EXPECT_EQ(page->curveMode, 0);
    EXPECT_EQ(page->modeSelector.GetMode(), 0);
    EXPECT_EQ(page->midPoints, std::vector<double>(6, 0.0));
    EXPECT_EQ(page->sidePoints, std::vector<double>(6, 0.0));
    EXPECT_EQ(page->spectrumEditor.fftSize, 2048);
    EXPECT_EQ(page->spectrumEditor.sampleRate, 48000);
}

TEST_F(ProfileEditorPage, SendsALiveEditOnEveryGestureEndAndNeverDuringADrag)
{
    page->SetProfile(FlatProfile(), L"");

    // A click in the editor that moves nothing still ends an edit.
    session->Click(At(page->spectrumEditor, 300, 150));
    EXPECT_EQ(Actions(), (std::vector<int>{0}));

    // A point drag: nothing while it moves, the new points at the release.
    actions.clear();
    session->PressButton(PointOf(3));
    session->MoveMouse(EditorPointAt(3, 4.0));
    session->MoveMouse(EditorPointAt(3, 8.0));
    EXPECT_TRUE(actions.empty());
    EXPECT_NEAR(page->midPoints[3], 8.0, 0.2) << "taken over while dragging";
    session->ReleaseButton(EditorPointAt(3, 8.0));
    ASSERT_EQ(Actions(), (std::vector<int>{0}));
    // Bin 124 (1.34 kHz) lies under point 3.
    EXPECT_NEAR(actions[0].edited.midSpectrum[124], -12.0, 0.3);

    // A slider drag: nothing until the release.
    actions.clear();
    session->PressButton(SliderPoint(page->toneTiltSlider, 0.5));
    session->MoveMouse(SliderPoint(page->toneTiltSlider, 0.9));
    EXPECT_TRUE(actions.empty());
    EXPECT_GT(page->spectrumEditor.tiltDb, 4.0) << "the editor follows the drag";
    session->ReleaseButton(SliderPoint(page->toneTiltSlider, 0.9));
    EXPECT_EQ(Actions(), (std::vector<int>{0}));

    // A wheel step and a double-click each end a gesture.
    actions.clear();
    session->Wheel(SliderPoint(page->contourSlider, 0.5), WHEEL_DELTA);
    EXPECT_EQ(Actions(), (std::vector<int>{0}));
    EXPECT_NEAR(page->GetContour(), 1.04, 1e-9);
    const POINT contour = SliderPoint(page->contourSlider, 0.5);
    POINT client = contour;
    page->contourSlider.ScreenToClient(&client);
    page->contourSlider.SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(client.x, client.y));
    EXPECT_EQ(Actions(), (std::vector<int>{0, 0}));
    EXPECT_DOUBLE_EQ(page->GetContour(), 1.0) << "the default is neutral, 100 %";
}

TEST_F(ProfileEditorPage, EditsEverySpectrumSetAtItsOwnFrequenciesAndTakesTheFirstForTheHeader)
{
    ReferenceProfile profile;
    profile.sampleRate = 44100;
    profile.fftSize = 4096;
    for (const int size : {2048, 4096, 8192})
    {
        profile.spectrumSets.push_back({size, std::vector<double>(size / 2 + 1, -20.0),
                                        std::vector<double>(size / 2 + 1, -30.0)});
    }
    profile.midSpectrum = profile.spectrumSets[1].mid;
    profile.sideSpectrum = profile.spectrumSets[1].side;
    page->SetProfile(profile, L"");
    page->midPoints = {0, 0, 12, 0, 0, 0};
    page->spectrumEditor.points = page->midPoints; // what Apply reads back
    page->sidePoints = {0, 0, 0, -6, 0, 0};
    page->toneTiltSlider.SetValueSilently(0.75);

    ReferenceProfile edited;
    ASSERT_TRUE(page->BuildEditedProfile(edited));
    // The same frequency in each set changes by the same dB: 1 kHz is bin
    // 1000 * size / 44100, taken at sizes where it falls on a whole bin.
    for (const double hz : {44100.0 / 2048 * 16, 44100.0 / 2048 * 64, 44100.0 / 2048 * 400})
    {
        std::vector<double> changes;
        std::vector<double> sideChanges;
        for (const SpectrumSet& set : edited.spectrumSets)
        {
            const std::size_t bin = std::size_t(std::lround(hz * set.fftSize / 44100.0));
            changes.push_back(set.mid[bin] + 20.0);
            sideChanges.push_back(set.side[bin] + 30.0);
        }
        EXPECT_NEAR(sideChanges[0], sideChanges[1], 1e-9) << hz;
        EXPECT_NEAR(sideChanges[2], sideChanges[1], 1e-9) << hz;
        EXPECT_NEAR(changes[0], changes[1], 1e-9) << hz;
        EXPECT_NEAR(changes[2], changes[1], 1e-9) << hz;
        EXPECT_GT(std::fabs(changes[1]), 0.1) << hz;
    }
    EXPECT_EQ(edited.fftSize, 2048);
    EXPECT_EQ(edited.midSpectrum, edited.spectrumSets[0].mid);
    EXPECT_EQ(edited.sideSpectrum, edited.spectrumSets[0].side);

    // Apply does the same to the working profile; the header then binds the
    // editor and bloom view to the first set's size.
    ClickButton(page->applyButton);
    EXPECT_EQ(page->workingProfile.spectrumSets, edited.spectrumSets);
    EXPECT_EQ(page->workingProfile.fftSize, 2048);
    EXPECT_EQ(page->spectrumEditor.fftSize, 2048);
    EXPECT_EQ(page->bloomView.fftSize, 2048);
}

// ---- bad input -----------------------------------------------------------------

TEST_F(ProfileEditorPage, CopesWithOddProfilesInEveryOperation)
{
    std::vector<std::pair<const char*, ReferenceProfile>> profiles;
    profiles.emplace_back("rate and size 0", FlatProfile(0, 0));
    ReferenceProfile noSets = FlatProfile();
    noSets.spectrumSets.clear();
    profiles.emplace_back("no sets", noSets);
    profiles.emplace_back("empty", ReferenceProfile());
    ReferenceProfile oneBin;
    oneBin.midSpectrum = {-10};
    oneBin.sideSpectrum = {-12};
    oneBin.spectrumSets.push_back({0, {-10}, {-12}});
    profiles.emplace_back("one bin, set size 0", oneBin);
    ReferenceProfile uneven = FlatProfile();
    uneven.sideSpectrum.resize(100, -40);
    uneven.spectrumSets[0].mid.resize(7);
    profiles.emplace_back("uneven lengths", uneven);
    ReferenceProfile nonFinite = FlatProfile(44100, 1024);
    nonFinite.midSpectrum[3] = kNaN;
    nonFinite.midSpectrum[4] = kInf;
    nonFinite.sideSpectrum[5] = -kInf;
    nonFinite.spectrumSets[0].side[6] = kNaN;
    profiles.emplace_back("NaN and inf", nonFinite);

    for (const auto& [name, profile] : profiles)
    {
        SCOPED_TRACE(name);
        actions.clear();
        page->SetProfile(profile, L"odd.prs");
        DragPoint(0, 12.0);
        DragSlider(page->focusBloomSlider, 0.5, 0.9);
        ClickSelector(1);
        DragPoint(5, -12.0);
        ClickButton(page->applyButton);
        ClickButton(page->saveButton);
        ClickButton(page->cancelButton);
        EXPECT_EQ(Actions(), (std::vector<int>{0, 0, 0, 1, 2, 3}));
        // By bytes: a NaN bin equals nothing, not even itself.
        EXPECT_EQ(EncodeReferenceProfile(page->workingProfile), EncodeReferenceProfile(profile));
        ReferenceProfile edited;
        EXPECT_TRUE(page->BuildEditedProfile(edited));
        WindowPicture picture;
        EXPECT_TRUE(ComposeWindowPicture(page->GetSafeHwnd(), picture));
    }
}

TEST_F(ProfileEditorPage, IgnoresMessagesWithoutOrWithUnknownSources)
{
    page->SetProfile(FlatProfile(), L"");
    page->focusBloomSlider.SetValueSilently(0.9);
    const ReferenceProfile working = page->workingProfile;
    int unknownControl = 0;
    for (const LPARAM lParam : {LPARAM(0), reinterpret_cast<LPARAM>(&unknownControl), LPARAM(1)})
    {
        EXPECT_EQ(page->SendMessage(WMU_CONTROL_CHANGED, 0, lParam), 0);
        EXPECT_EQ(page->SendMessage(WMU_CONTROL_COMMIT, 0, lParam), 0);
    }
    EXPECT_EQ(page->SendMessage(
                  WMU_CONTROL_COMMIT, 0,
                  reinterpret_cast<LPARAM>(static_cast<CBaseControlWnd*>(&page->applyButton))),
              0)
        << "a button's commit means nothing";
    EXPECT_TRUE(actions.empty());
    EXPECT_EQ(page->workingProfile, working);
    // The editor's messages carry nothing; they read the editor whatever lParam says.
    EXPECT_EQ(page->SendMessage(WMU_SPECTRUM_POINTS_CHANGED, 7, 7), 0);
    EXPECT_EQ(page->SendMessage(WMU_SPECTRUM_POINTS_COMMITTED, 0, 0), 0);
    EXPECT_EQ(Actions(), (std::vector<int>{0}));

    // A page without a parent window sends nothing anywhere.
    Page orphan;
    ASSERT_TRUE(orphan.Create(CRect(0, 0, 400, 300), nullptr) || !::IsWindow(orphan.GetSafeHwnd()));
    if (::IsWindow(orphan.GetSafeHwnd()))
    {
        orphan.SendMessage(WMU_SPECTRUM_POINTS_COMMITTED, 0, 0);
        orphan.DestroyWindow();
    }
    EXPECT_EQ(actions.size(), 1u);
}

TEST_F(ProfileEditorPage, SurvivesAParentThatDestroysThePageOnAnAction)
{
    page->SetProfile(FlatProfile(), L"");
    onAction = [this] { page->DestroyWindow(); };
    ClickButton(page->applyButton);
    EXPECT_EQ(Actions(), (std::vector<int>{1}));
    EXPECT_FALSE(::IsWindow(page->GetSafeHwnd()));

    for (const int route : {0, 1, 2})
    {
        SCOPED_TRACE(route);
        actions.clear();
        page = std::make_unique<Page>();
        ASSERT_TRUE(page->Create(CRect(0, 0, kWidth, kHeight), &parent));
        page->SetProfile(FlatProfile(), L"");
        if (route == 0)
        {
            session->Click(At(page->spectrumEditor, 300, 150));
        }
        else if (route == 1)
        {
            DragSlider(page->contourSlider, 0.5, 0.8);
        }
        else
        {
            ClickButton(page->cancelButton);
        }
        EXPECT_EQ(actions.size(), 1u);
        EXPECT_FALSE(::IsWindow(page->GetSafeHwnd()));
    }
    onAction = nullptr;
}

// ---- pictures ------------------------------------------------------------------

TEST_F(ProfileEditorPage, PicturesInMidAndSideWithAPendingEditAndWithoutAProfile)
{
    ASSERT_TRUE(
        RenderWindowToPng(page->GetSafeHwnd(), ControlPicturePath("profile_editor_page_empty")));
    WindowPicture empty;
    ASSERT_TRUE(ComposeWindowPicture(page->GetSafeHwnd(), empty));
    EXPECT_EQ(empty.ColorAt(kWidth / 2, 2), RGB(0x0E, 0x10, 0x13)) << "gradient top";
    EXPECT_EQ(empty.ColorAt(kWidth / 2, kHeight - 1), RGB(0x0B, 0x0D, 0x0F)) << "gradient bottom";

    page->SetProfile(BuildSyntheticDefaultProfile(), L"/profiles/Synthetic Default.prs");
    DragPoint(1, 6.0);
    DragPoint(4, -5.0);
    DragSlider(page->focusBloomSlider, 0.5, 0.7);
    ASSERT_TRUE(
        RenderWindowToPng(page->GetSafeHwnd(), ControlPicturePath("profile_editor_page_mid")));
    WindowPicture mid;
    ASSERT_TRUE(ComposeWindowPicture(page->GetSafeHwnd(), mid));
    // The title's light ink at the top left.
    bool titleInk = false;
    for (int x = 18; x < 200 && !titleInk; ++x)
    {
        titleInk = GetRValue(mid.ColorAt(x, 18)) > 150;
    }
    EXPECT_TRUE(titleInk);

    ClickSelector(1);
    DragPoint(2, 8.0);
    ASSERT_TRUE(
        RenderWindowToPng(page->GetSafeHwnd(), ControlPicturePath("profile_editor_page_side")));
    WindowPicture side;
    ASSERT_TRUE(ComposeWindowPicture(page->GetSafeHwnd(), side));
    EXPECT_NE(side.pixels, mid.pixels);
}

} // namespace
