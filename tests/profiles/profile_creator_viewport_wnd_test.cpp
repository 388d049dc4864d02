#include "profiles/profile_creator_viewport_wnd.h"

#include "base/unicode_text.h"
#include "engine/io/wav_writer.h"
#include "engine/profiles/profile_creation.h"
#include "platform/win32/test_hooks.h"
#include "tests/controls/control_test_kit.h"
#include "tests/support/signals.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace
{

using Page = CProfileCreatorViewportWnd;
using brvl::backend::ModalAnswer;
using brvl::backend::ModalKind;
using brvl::backend::ModalRequest;

std::wstring Wide(const std::filesystem::path& path)
{
    return Utf8ToWide(path.string());
}

// A folder for the whole run holding a generated track and the profile the
// creation run made of it, as the view's analysis would leave them.
struct GeneratedFiles
{
    TempDir dir;
    std::wstring track;
    std::wstring profile;
};

const GeneratedFiles& Generated()
{
    static const GeneratedFiles* files = []
    {
        auto* made = new GeneratedFiles;
        AudioBuffer track = StereoNoise(48000, 1.0, 0.05, 11);
        const AudioBuffer tone = StereoSine(440.0, 48000, 1.0, 0.3);
        for (std::size_t i = 0; i < track.samples.size(); ++i)
        {
            track.samples[i] += tone.samples[i];
        }
        made->track = Wide(made->dir / "generated track.wav");
        made->profile = Wide(made->dir / "Unsaved_Profile.prs");
        WriteWavFile(made->track, track, 24);
        EngineRequest request;
        CreateReferenceProfile(request, made->track, made->profile, "generated", "");
        return made;
    }();
    return *files;
}

// What the parent saw of one action while it was being sent.
struct HeardAction
{
    int action;
    HWND sender;
    bool inspectorHadProfile;
    bool analyzed;
};

const UINT_PTR kHand = reinterpret_cast<UINT_PTR>(IDC_HAND);
const UINT_PTR kArrow = reinterpret_cast<UINT_PTR>(IDC_ARROW);

class Creator : public WindowTest
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(parent.CreateTopLevel(CRect(0, 0, 1100, 700)));
        parent.On(WMU_PROFILE_CREATOR_ACTION,
                  [this](WPARAM wParam, LPARAM lParam) -> std::optional<LRESULT>
                  {
                      const int action =
                          reinterpret_cast<ProfileCreatorActionRecord*>(lParam)->action;
                      heard.push_back({action, reinterpret_cast<HWND>(wParam),
                                       page->GetInspector().hasProfile, page->analyzed});
                      if (destroyOnAction)
                      {
                          page->DestroyWindow();
                          return 0;
                      }
                      // Action 0 as the view answers it.
                      if (action == kProfileCreatorAnalyze && !page->GetTargetPath().IsEmpty())
                      {
                          page->GetInspector().LoadProfile(Generated().profile);
                          page->SetAnalyzed(true);
                          page->Invalidate(FALSE);
                      }
                      return 0;
                  });
        session->SetResponder(
            [this](const ModalRequest& request)
            {
                requests.push_back(request);
                if (request.kind == ModalKind::Message)
                {
                    return ModalAnswer::With(messageAnswer);
                }
                if (request.kind == ModalKind::FileDialog && !fileAnswer.empty())
                {
                    return ModalAnswer::WithPath(fileAnswer);
                }
                return ModalAnswer::Unanswered();
            });
        page = std::make_unique<Page>();
        ASSERT_TRUE(page->Create(CRect(0, 0, 960, 520), &parent));
        Settle();
    }

    POINT At(int x, int y) const { return ScreenPoint(*page, x, y); }

    static POINT Centre(const CWnd& wnd, const RECT& r)
    {
        return ScreenPoint(wnd, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
    }

    ProfileCreatorLayout Layout() const
    {
        CRect client;
        page->GetClientRect(&client);
        return Page::ComputeLayout(client);
    }

    POINT DropZone() const { return Centre(*page, Layout().dropZone); }
    POINT Analyze() const { return Centre(*page, Layout().analyzeButton); }
    POINT Save() const { return Centre(*page, Layout().saveButton); }
    POINT Cancel() const { return Centre(*page, Layout().cancelButton); }

    UINT_PTR Cursor() { return brvl::win32::StandardCursorId(session->ShownCursor()); }

    void Drop(std::vector<std::wstring> paths)
    {
        session->DropFiles(DropZone(), std::move(paths));
        PumpPendingMessages();
    }

    // A target chosen, analysed by the parent.
    void Analyse(const std::wstring& target)
    {
        Drop({target});
        ASSERT_EQ(page->GetTargetPath().Str(), target);
        session->Click(Analyze());
        PumpPendingMessages();
        ASSERT_TRUE(page->analyzed);
        ASSERT_TRUE(page->GetInspector().hasProfile);
        heard.clear();
    }

    void Picture(const std::string& name)
    {
        page->UpdateWindow();
        ASSERT_TRUE(RenderWindowToPng(page->GetSafeHwnd(), ControlPicturePath(name)));
    }

    RecordingWnd parent{"parent", log};
    std::unique_ptr<Page> page;
    std::vector<HeardAction> heard;
    std::vector<ModalRequest> requests;
    INT_PTR messageAnswer = IDNO;
    std::wstring fileAnswer;
    bool destroyOnAction = false;
};

TEST(CreatorLayout, ColumnWidthAndTheSixRectangles)
{
    struct Case
    {
        int width;
        int c;
    };
    for (const Case k : {Case{600, 220}, Case{660, 220}, Case{960, 320}, Case{1200, 320}})
    {
        SCOPED_TRACE(k.width);
        const ProfileCreatorLayout l = Page::ComputeLayout(RECT{0, 0, k.width, 520});
        const int x1 = 18 + k.c;
        const int saveRight = 26 + (k.c - 28) / 2;
        EXPECT_EQ(CRect(l.panel), CRect(18, 18, x1, 502));
        EXPECT_EQ(CRect(l.inspector), CRect(x1 + 18, 18, k.width - 18, 502));
        EXPECT_EQ(CRect(l.dropZone), CRect(18, 18, x1, 238));
        EXPECT_EQ(CRect(l.analyzeButton), CRect(26, 256, x1 - 8, 290));
        EXPECT_EQ(CRect(l.saveButton), CRect(26, 302, saveRight, 336));
        EXPECT_EQ(CRect(l.cancelButton), CRect(saveRight + 12, 302, x1 - 8, 336));
    }
    // 960 / 3 = 320: the column stops growing there.
    EXPECT_EQ(CRect(Page::ComputeLayout(RECT{0, 0, 960, 520}).saveButton),
              CRect(26, 302, 172, 336));
    const ProfileCreatorLayout offset = Page::ComputeLayout(RECT{10, 20, 970, 540});
    EXPECT_EQ(CRect(offset.dropZone), CRect(28, 38, 348, 258));
    EXPECT_LT(Page::ComputeLayout(RECT{0, 0, 273, 100}).inspector.right -
                  Page::ComputeLayout(RECT{0, 0, 273, 100}).inspector.left,
              0);
}

TEST_F(Creator, CreatesThePageAndItsInspectorAsTheViewExpects)
{
    wchar_t name[64] = {};
    page->GetWindowText(name, 64);
    EXPECT_EQ(std::wstring(name), L"BrimvaleProfileCreatorViewportWnd");
    EXPECT_EQ(page->GetStyle(), DWORD(0x56000000));
    EXPECT_EQ(page->GetDlgCtrlID(), 8719);
    EXPECT_NE(page->GetExStyle() & WS_EX_ACCEPTFILES, 0u);
    CReferenceProfileViewportWnd& inspector = page->GetInspector();
    ASSERT_TRUE(::IsWindow(inspector.GetSafeHwnd()));
    EXPECT_EQ(inspector.GetDlgCtrlID(), 9089);
    EXPECT_EQ(inspector.GetParent(), page.get());
    EXPECT_FALSE(inspector.editEnabled);
    EXPECT_EQ(inspector.backgroundColor, COLORREF(0x100E0C));

    CRect place;
    inspector.GetWindowRect(&place);
    page->ScreenToClient(&place);
    EXPECT_EQ(place, CRect(356, 18, 942, 502)) << "placed as the layout says from the start";
    page->MoveWindow(0, 0, 600, 400);
    inspector.GetWindowRect(&place);
    page->ScreenToClient(&place);
    EXPECT_EQ(place, CRect(256, 18, 582, 382));
    for (const CSize size : {CSize(200, 100), CSize(0, 0)})
    {
        page->MoveWindow(0, 0, size.cx, size.cy);
        inspector.GetWindowRect(&place);
        EXPECT_EQ(place.Width(), 0) << "a narrow client leaves the inspector no width";
    }

    page->SetBackgroundColor(0x202428);
    EXPECT_EQ(page->backgroundColor, COLORREF(0x202428));
    EXPECT_EQ(inspector.backgroundColor, COLORREF(0x202428));

    Page other;
    other.backgroundColor = 0x050607;
    ASSERT_TRUE(other.Create(CRect(0, 0, 960, 520), &parent));
    EXPECT_EQ(other.GetInspector().backgroundColor, COLORREF(0x050607));
}

TEST_F(Creator, AFailedInspectorFailsCreateAndThePageStillCopes)
{
    Page failing;
    FailNextCreate(2);
    EXPECT_FALSE(failing.Create(CRect(0, 0, 960, 520), &parent));
    failing.SetAnalyzed(true);
    failing.SetBackgroundColor(0x101010);
    failing.UpdateWindow();
    ASSERT_TRUE(::IsWindow(failing.GetSafeHwnd()));
    failing.MoveWindow(0, 0, 300, 200);
    failing.SendMessage(WM_LBUTTONDOWN, 0, MAKELPARAM(100, 320));
    failing.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(100, 320));
    ASSERT_EQ(heard.size(), 1u);
    EXPECT_EQ(heard[0].action, kProfileCreatorSave);
    EXPECT_FALSE(failing.analyzed);
}

TEST_F(Creator, WithoutATargetTheButtonAreaReactsToNothing)
{
    for (const POINT p : {Analyze(), Save(), Cancel()})
    {
        session->MoveMouse(p);
        EXPECT_EQ(Cursor(), kArrow);
        session->Click(p);
    }
    EXPECT_TRUE(heard.empty());
    EXPECT_FALSE(page->looks.analyzeHover || page->looks.saveHover || page->looks.cancelHover);
    session->MoveMouse(DropZone());
    EXPECT_EQ(Cursor(), kHand) << "the drop zone is always offered";
    EXPECT_TRUE(page->looks.dropZoneHover);

    page->SetAnalyzed(true); // with no target: Save Profile and Cancel, no Analyze
    session->MoveMouse(Analyze());
    EXPECT_EQ(Cursor(), kArrow);
    session->Click(Analyze());
    EXPECT_TRUE(heard.empty());
}

TEST_F(Creator, WithATargetOnlyAnalyzeReactsAndTheParentAnswers)
{
    Drop({Generated().track});
    ASSERT_EQ(page->GetTargetPath().Str(), Generated().track);
    for (const POINT p : {Save(), Cancel()})
    {
        session->MoveMouse(p);
        EXPECT_EQ(Cursor(), kArrow);
        session->Click(p);
    }
    EXPECT_TRUE(heard.empty());

    session->MoveMouse(Analyze());
    EXPECT_EQ(Cursor(), kHand);
    EXPECT_TRUE(page->looks.analyzeHover);
    Picture("profile_creator_target_chosen_analyze_hovered");
    session->Click(Analyze());
    PumpPendingMessages();
    ASSERT_EQ(heard.size(), 1u);
    EXPECT_EQ(heard[0].action, kProfileCreatorAnalyze);
    EXPECT_EQ(heard[0].sender, page->GetSafeHwnd());
    EXPECT_TRUE(page->analyzed);
    EXPECT_TRUE(page->GetInspector().hasProfile);
    EXPECT_EQ(page->GetInspector().profilePath.Str(), Generated().profile);
    EXPECT_FALSE(page->looks.analyzePressed);
    session->MoveMouse(At(700, 300));
    Picture("profile_creator_analysed");
}

TEST_F(Creator, SaveAndCancelEmptyTheInspectorBeforeTheyAreSent)
{
    for (const int action : {kProfileCreatorSave, kProfileCreatorCancel})
    {
        SCOPED_TRACE(action);
        Analyse(Generated().track);
        const POINT p = action == kProfileCreatorSave ? Save() : Cancel();
        session->MoveMouse(p);
        EXPECT_EQ(Cursor(), kHand);
        session->Click(p);
        ASSERT_EQ(heard.size(), 1u);
        EXPECT_EQ(heard[0].action, action);
        EXPECT_EQ(heard[0].sender, page->GetSafeHwnd());
        EXPECT_FALSE(heard[0].inspectorHadProfile) << "cleared before the view is told";
        EXPECT_FALSE(heard[0].analyzed);
        EXPECT_FALSE(page->analyzed) << "back to Target chosen";
        EXPECT_EQ(page->GetTargetPath().Str(), Generated().track) << "the target is kept";
        session->MoveMouse(Save());
        EXPECT_EQ(Cursor(), kArrow) << "Save Profile is gone until the next analysis";
    }
}

TEST_F(Creator, APressCountsOnlyWhenReleasedOnItsOwnButton)
{
    Analyse(Generated().track);
    session->PressButton(Save());
    EXPECT_TRUE(page->looks.savePressed);
    Picture("profile_creator_save_pressed");
    session->ReleaseButton(At(700, 300));
    session->PressButton(Save());
    session->ReleaseButton(Cancel());
    session->PressButton(Cancel());
    session->ReleaseButton(Analyze());
    PumpPendingMessages();
    EXPECT_TRUE(heard.empty());
    EXPECT_TRUE(page->analyzed);
    EXPECT_TRUE(page->GetInspector().hasProfile);
    EXPECT_FALSE(page->looks.savePressed || page->looks.cancelPressed ||
                 page->looks.analyzePressed);

    // Releases without a press.
    page->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(100, 320));
    page->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(100, 120));
    EXPECT_TRUE(heard.empty());
    EXPECT_TRUE(requests.empty()) << "no file dialog";
}

TEST_F(Creator, TheDropZoneOpensTheFileDialog)
{
    TempDir dir;
    WriteFileBytes(dir / "notes.txt", "not audio");

    session->PressButton(DropZone());
    EXPECT_TRUE(page->looks.dropZonePressed);
    Picture("profile_creator_drop_zone_pressed");
    session->ReleaseButton(DropZone()); // cancelled
    ASSERT_EQ(requests.size(), 1u);
    ASSERT_EQ(requests[0].kind, ModalKind::FileDialog);
    const brvl::backend::FileDialogRequest& file = *requests[0].file;
    EXPECT_TRUE(file.open);
    EXPECT_EQ(file.title, L"Select Target Audio");
    EXPECT_EQ(file.defaultExtension, L"wav");
    EXPECT_EQ(file.flags & (OFN_FILEMUSTEXIST | OFN_HIDEREADONLY),
              DWORD(OFN_FILEMUSTEXIST | OFN_HIDEREADONLY));
    ASSERT_EQ(file.filters.size(), 6u);
    EXPECT_EQ(file.filters[0].first, L"Audio Files (*.wav;*.flac;*.mp3;*.ogg)");
    EXPECT_EQ(file.filters[0].second, L"*.wav;*.flac;*.mp3;*.ogg");
    EXPECT_EQ(file.filters[3].second, L"*.mp3");
    EXPECT_EQ(file.filters[5].first, L"All Files (*.*)");
    EXPECT_TRUE(page->GetTargetPath().IsEmpty());

    // A file that vanished before the dialog answered: the dialog's own
    // warning, then nothing changes.
    requests.clear();
    fileAnswer = Wide(dir / "gone.wav");
    messageAnswer = IDOK;
    session->Click(DropZone());
    EXPECT_TRUE(page->GetTargetPath().IsEmpty());

    fileAnswer = Wide(dir / "notes.txt");
    session->Click(DropZone());
    EXPECT_EQ(page->GetTargetPath().Str(), fileAnswer) << "All Files picks become the target";
    EXPECT_TRUE(heard.empty());

    // An MP3 through the dialog asks too.
    WriteFileBytes(dir / "Song.mp3", "x");
    fileAnswer = Wide(dir / "Song.mp3");
    messageAnswer = IDNO;
    requests.clear();
    session->Click(DropZone());
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[1].kind, ModalKind::Message);
    EXPECT_EQ(page->GetTargetPath().Str(), Wide(dir / "notes.txt"));
}

TEST_F(Creator, DropsTakeTheFirstSupportedFileWhole)
{
    Drop({L"/music/first.flac", L"/music/second.wav"});
    EXPECT_EQ(page->GetTargetPath().Str(), L"/music/first.flac");

    // Ignored: unsupported or odd names; nothing is asked.
    for (const std::wstring& path :
         {std::wstring(L"/music/a.txt"), std::wstring(L"/music/noext"),
          std::wstring(L"/music/trailing."), std::wstring(L"/m.wav/x"), std::wstring(L"")})
    {
        Drop({path});
        EXPECT_EQ(page->GetTargetPath().Str(), L"/music/first.flac") << WideToUtf8(path);
    }
    Drop({L"/music/a.txt", L"/music/b.wav"});
    EXPECT_EQ(page->GetTargetPath().Str(), L"/music/first.flac") << "only the first counts";
    EXPECT_TRUE(requests.empty());

    // Whole paths, however long, and names the extension rule takes as they are.
    const std::wstring longPath = L"/" + std::wstring(590, L'd') + L"/x.ogg";
    ASSERT_GT(longPath.size(), 595u);
    const std::wstring cases[] = {
        longPath,
        L"/musique/Café – 音楽 \U0001F3B5.WAV",
        Utf8ToWide("/bad/\xC3\x28\xFF.wav"),
        L"/music/.wav",
    };
    for (const std::wstring& path : cases)
    {
        Drop({path});
        EXPECT_EQ(page->GetTargetPath().Str(), path);
    }
}

TEST_F(Creator, AnMp3DropAsksFirst)
{
    Analyse(Generated().track);
    Drop({L"/music/Track.MP3"});
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].kind, ModalKind::Message);
    EXPECT_EQ(requests[0].caption, L"BRVL");
    EXPECT_EQ(requests[0].flags, UINT(MB_YESNO | MB_ICONEXCLAMATION | MB_DEFBUTTON2));
    EXPECT_EQ(requests[0].text,
              L"You are about to build a reference profile from an MP3.\n\n"
              L"This is not catastrophic, but it does reduce accuracy.\n\n"
              L"MP3 compression alters and simplifies high-frequency content. If you have the WAV "
              L"or FLAC, use that instead.\n\nIf not, continue anyway with:\nTrack.MP3");
    EXPECT_EQ(page->GetTargetPath().Str(), Generated().track) << "No keeps everything";
    EXPECT_TRUE(page->analyzed);
    EXPECT_TRUE(page->GetInspector().hasProfile);

    messageAnswer = IDYES;
    Drop({L"/music/Track.MP3"});
    EXPECT_EQ(page->GetTargetPath().Str(), L"/music/Track.MP3");
    EXPECT_FALSE(page->analyzed) << "an accepted drop returns to Target chosen";
    EXPECT_FALSE(page->GetInspector().hasProfile);
    EXPECT_TRUE(heard.empty());

    EXPECT_TRUE(ConfirmMp3ProfileSource(CString(L"/a/b.mp3.wav")));
    EXPECT_EQ(requests.size(), 2u);
}

TEST_F(Creator, AnEmptyDropListIsReleasedWithoutChange)
{
    page->SendMessage(WM_DROPFILES, 0, 0);
    EXPECT_TRUE(page->GetTargetPath().IsEmpty());
    session->DropFiles(DropZone(), {});
    PumpPendingMessages();
    EXPECT_TRUE(page->GetTargetPath().IsEmpty());
}

TEST_F(Creator, ALeaveClearsHoverAndPressedLooks)
{
    Analyse(Generated().track);
    session->MoveMouse(Cancel());
    EXPECT_TRUE(page->looks.cancelHover);
    page->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(Layout().saveButton.left + 5, 310));
    EXPECT_TRUE(page->looks.savePressed);
    EXPECT_TRUE(page->trackingMouse);
    page->SendMessage(WM_MOUSELEAVE, 0, 0);
    EXPECT_FALSE(page->looks.cancelHover || page->looks.savePressed || page->trackingMouse);
    EXPECT_EQ(::GetCapture(), nullptr);
    page->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(Layout().saveButton.left + 5, 310));
    EXPECT_TRUE(heard.empty()) << "the press ended with the leave";

    session->MoveMouse(DropZone());
    EXPECT_TRUE(page->looks.dropZoneHover);
    session->MoveMouse(ScreenPoint(parent, 1050, 650));
    PumpPendingMessages();
    EXPECT_FALSE(page->looks.dropZoneHover) << "the leave arrived";
}

TEST_F(Creator, SurvivesAParentThatDestroysThePageOnAnAction)
{
    destroyOnAction = true;
    Drop({Generated().track});
    session->Click(Analyze());
    PumpPendingMessages();
    EXPECT_EQ(heard.size(), 1u);
    EXPECT_FALSE(::IsWindow(page->GetSafeHwnd()));
}

TEST_F(Creator, WithoutAParentNothingIsSent)
{
    Page orphan;
    // A child page cannot exist without its parent.
    EXPECT_FALSE(orphan.Create(CRect(0, 0, 960, 520), nullptr));
    orphan.targetPath = L"/music/a.wav";
    orphan.SetAnalyzed(true);
    orphan.SetBackgroundColor(0x101010);
    EXPECT_TRUE(heard.empty());
    EXPECT_EQ(log.Count("parent", WMU_PROFILE_CREATOR_ACTION), 0);
}

TEST_F(Creator, OddSizesPaintAndTakeInput)
{
    Drop({Generated().track});
    page->SetAnalyzed(true);
    for (const CSize size : {CSize(0, 0), CSize(200, 100), CSize(32767, 32767)})
    {
        SCOPED_TRACE(size.cx);
        Page::State state = page->GetState();
        state.size = size;
        Gdiplus::Bitmap bitmap(400, 300);
        Gdiplus::Graphics graphics(&bitmap);
        Page::Draw(graphics, state);
        EXPECT_EQ(graphics.GetLastStatus(), Gdiplus::Ok);
    }
    for (const CSize size : {CSize(0, 0), CSize(200, 100)})
    {
        page->MoveWindow(0, 0, size.cx, size.cy);
        page->UpdateWindow();
        session->MoveMouse(At(30, 30));
        session->Click(At(150, 80));
    }
    EXPECT_TRUE(heard.empty());
}

TEST_F(Creator, Pictures)
{
    Picture("profile_creator_no_target");
    {
        WindowPicture picture;
        ASSERT_TRUE(ComposeWindowPicture(page->GetSafeHwnd(), picture));
        EXPECT_EQ(picture.ColorAt(5, 5), RGB(0x0C, 0x0E, 0x10)) << "the page's background";
        // Idle drop zone fill near its top edge, under the dashed outline.
        const COLORREF fill = picture.ColorAt(170, 18 + 34 + 8);
        EXPECT_NEAR(GetRValue(fill), 0x17, 3);
        EXPECT_NEAR(GetBValue(fill), 0x1D, 3);
        EXPECT_EQ(picture.ColorAt(100, 273), RGB(0x0C, 0x0E, 0x10))
            << "no Analyze without a target";
    }
    Analyse(Generated().track);
    session->MoveMouse(At(700, 300));
    Picture("profile_creator_analysed_960x520");
    {
        WindowPicture picture;
        ASSERT_TRUE(ComposeWindowPicture(page->GetSafeHwnd(), picture));
        // Analyze's idle body runs from RGB(0x78, 0x48, 0x2C) down to (0x4E, 0x2E, 0x1D).
        const COLORREF analyze = picture.ColorAt(40, 273);
        EXPECT_NEAR(GetRValue(analyze), (0x78 + 0x4E) / 2, 8);
        EXPECT_NEAR(GetBValue(analyze), (0x2C + 0x1D) / 2, 8);
        // Cancel's from (0x88, 0x26, 0x22) down to (0x5C, 0x18, 0x14).
        const COLORREF cancel = picture.ColorAt(Layout().cancelButton.left + 10, 319);
        EXPECT_NEAR(GetRValue(cancel), (0x88 + 0x5C) / 2, 8);
        EXPECT_NEAR(GetGValue(cancel), (0x26 + 0x18) / 2, 8);
    }
    page->MoveWindow(0, 0, 600, 400);
    Picture("profile_creator_analysed_600x400");
}

} // namespace
