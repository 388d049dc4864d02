#include "profiles/mix_profile_dlg.h"
#include "profiles/profile_curve_editor_dlg.h"
#include "profiles/profile_description.h"
#include "profiles/profile_editor_dlg.h"

#include "base/unicode_text.h"
#include "controls/base/user_folders.h"
#include "engine/settings/library_comments.h"
#include "profiles/spline_points.h"
#include "tests/platform/scripted_modal_test.h"

#include "platform/win32/window_picture.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <string>
#include <vector>

namespace
{

namespace fs = std::filesystem;
using brvl::backend::FileDialogRequest;
using Editor = CProfileSpectrumEditorWnd;

constexpr const wchar_t* kApplied =
    L"Curve edits applied in memory. Use Save Profile to persist them.";

// Flat spectra with one set of the header's size and, when `otherSize` is set,
// a second set of that size.
ReferenceProfile FlatProfile(int fftSize = 4096, int otherSize = 0)
{
    ReferenceProfile profile;
    profile.sampleRate = 44100;
    profile.fftSize = fftSize;
    const auto bins = [](int size) { return static_cast<std::size_t>(size / 2 + 1); };
    profile.midSpectrum.assign(bins(fftSize), -20.0);
    profile.sideSpectrum.assign(bins(fftSize), -32.0);
    profile.spectrumSets.push_back({fftSize, profile.midSpectrum, profile.sideSpectrum});
    if (otherSize > 0)
    {
        profile.spectrumSets.push_back({otherSize, std::vector<double>(bins(otherSize), -21.0),
                                        std::vector<double>(bins(otherSize), -33.0)});
    }
    return profile;
}

std::vector<double> Added(std::vector<double> spectrum, const std::vector<double>& points,
                          int fftSize, int times = 1)
{
    for (int i = 0; i < times; ++i)
    {
        AddSplineCorrection(spectrum, points, 44100, fftSize, 1.0, 0.0);
    }
    return spectrum;
}

// A fresh folder under the temporary folder, removed with everything in it.
struct TempFolder
{
    explicit TempFolder(const std::string& prefix)
    {
        std::random_device seed;
        path =
            fs::temp_directory_path() / (prefix + std::to_string(seed()) + std::to_string(seed()));
        fs::create_directories(path);
    }
    ~TempFolder()
    {
        std::error_code ignored;
        fs::remove_all(path, ignored);
    }
    std::wstring PathOf(const std::wstring& name) const
    {
        return FsPathToWide(path / WidePathToFs(name));
    }

    fs::path path;
};

using ProfileDialogTest = ScriptedModalTest;

// ---- Curve editor ----

TEST_F(ProfileDialogTest, CurveEditorPointCountCutsOrPadsTheEditedSet)
{
    const struct
    {
        int item;
        std::vector<double> expected;
    } cases[] = {{0, {0, 3, 6, 9}}, {2, {0, 3, 6, 9, 12, 15, 0, 0}}};
    for (const auto& c : cases)
    {
        const ReferenceProfile original = FlatProfile();
        ReferenceProfile profile = original;
        CProfileCurveEditorDlg dialog(&profile);
        std::vector<double> shown;
        drives.push_back(
            [&](HWND d)
            {
                dialog.spectrumEditor.SetPoints({0, 3, 6, 9, 12, 15});
                dialog.pointsCombo.SetCurSel(c.item);
                Command(d, 1056, CBN_SELCHANGE);
                shown = dialog.spectrumEditor.points;
                Command(d, IDOK);
            });
        ASSERT_EQ(dialog.DoModal(), IDOK);
        EXPECT_EQ(dialog.midPoints, c.expected);
        EXPECT_EQ(shown, c.expected) << "the editor shows the cut or padded set, not a resample";
        EXPECT_EQ(dialog.sidePoints, std::vector<double>(c.expected.size(), 0.0));
        EXPECT_EQ(profile, original) << "Close without Apply leaves the profile as it was";
        EXPECT_TRUE(boxes.empty());
    }
}

TEST_F(ProfileDialogTest, CurveEditorKeepsEachChannelsPointsAndResetsOnlyTheShownOne)
{
    ReferenceProfile profile = FlatProfile();
    CProfileCurveEditorDlg dialog(&profile);
    const std::vector<double> mid{1, 2, 3, 4, 5, 6};
    const std::vector<double> side{-1, -2, -3, -4, -5, -6};
    std::vector<double> midShownAgain, sideAsReference, sideSpectrumShown;
    drives.push_back(
        [&](HWND d)
        {
            dialog.spectrumEditor.SetPoints(mid);
            Command(d, 1055); // Side
            sideSpectrumShown = dialog.spectrumEditor.spectrum;
            dialog.spectrumEditor.SetPoints(side);
            Command(d, 1054); // Mid
            midShownAgain = dialog.spectrumEditor.points;
            sideAsReference = dialog.spectrumEditor.referencePoints;
            Command(d, 1055);
            Command(d, 1057); // Reset on Side
        });
    dialog.DoModal();
    EXPECT_EQ(sideSpectrumShown, profile.sideSpectrum);
    EXPECT_EQ(midShownAgain, mid);
    EXPECT_EQ(sideAsReference, side);
    EXPECT_EQ(dialog.midPoints, mid);
    EXPECT_EQ(dialog.sidePoints, std::vector<double>(6, 0.0));
}

TEST_F(ProfileDialogTest, CurveEditorApplyAddsTheCurveToEverySetOnItsOwnAxis)
{
    const ReferenceProfile original = FlatProfile(4096, 1024);
    ReferenceProfile profile = original;
    CProfileCurveEditorDlg dialog(&profile);
    const std::vector<double> mid{6, 0, -3, 0, 2, 4};
    drives.push_back(
        [&](HWND d)
        {
            dialog.spectrumEditor.SetPoints(mid);
            Command(d, 1058);
            Command(d, 1058);
            Command(d, IDOK);
        });
    ASSERT_EQ(dialog.DoModal(), IDOK);
    ASSERT_EQ(profile.spectrumSets.size(), 2u);
    for (std::size_t s = 0; s < 2; ++s)
    {
        const SpectrumSet& was = original.spectrumSets[s];
        EXPECT_EQ(profile.spectrumSets[s].mid, Added(was.mid, mid, was.fftSize, 2)) << s;
        EXPECT_EQ(profile.spectrumSets[s].side, was.side) << "zero side points add nothing";
    }
    EXPECT_EQ(profile.fftSize, 4096);
    EXPECT_EQ(profile.midSpectrum, profile.spectrumSets[0].mid);
    EXPECT_EQ(dialog.midPoints, mid) << "the points stay after Apply";
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].text, kApplied);
    EXPECT_EQ(boxes[0].flags & MB_ICONINFORMATION, MB_ICONINFORMATION);
}

TEST_F(ProfileDialogTest, CurveEditorWithoutSetsChangesOnlyTheHeaderSpectra)
{
    ReferenceProfile profile = FlatProfile(2048);
    profile.spectrumSets.clear();
    const ReferenceProfile original = profile;
    CProfileCurveEditorDlg dialog(&profile);
    const std::vector<double> side{0, 0, 5, 5, 0, 0};
    drives.push_back(
        [&](HWND d)
        {
            Command(d, 1055);
            dialog.spectrumEditor.SetPoints(side);
            Command(d, 1058);
        });
    dialog.DoModal();
    EXPECT_EQ(profile.fftSize, 2048);
    EXPECT_TRUE(profile.spectrumSets.empty());
    EXPECT_EQ(profile.midSpectrum, original.midSpectrum);
    EXPECT_EQ(profile.sideSpectrum, Added(original.sideSpectrum, side, 2048));
}

TEST_F(ProfileDialogTest, CurveEditorWithoutAProfileOrSpectraStaysEmptyAndAppliesNothing)
{
    CProfileCurveEditorDlg none(nullptr);
    std::size_t spectrumBins = 1;
    drives.push_back(
        [&](HWND d)
        {
            spectrumBins = none.spectrumEditor.spectrum.size();
            Command(d, 1058);
            Command(d, 1056, CBN_SELCHANGE);
            Command(d, 1057);
        });
    none.DoModal();
    EXPECT_EQ(spectrumBins, 0u);
    EXPECT_TRUE(boxes.empty());

    ReferenceProfile empty;
    CProfileCurveEditorDlg dialog(&empty);
    drives.push_back(
        [&](HWND d)
        {
            dialog.spectrumEditor.SetPoints({1, 1, 1, 1, 1, 1});
            Command(d, 1058);
        });
    dialog.DoModal();
    EXPECT_EQ(empty, ReferenceProfile{});
    EXPECT_EQ(BoxTexts(), std::vector<std::wstring>{kApplied});
}

TEST_F(ProfileDialogTest, CurveEditorPictureAfterADragAndAnApply)
{
    ReferenceProfile profile = FlatProfile(4096, 1024);
    for (std::size_t i = 0; i < profile.midSpectrum.size(); ++i)
    {
        profile.midSpectrum[i] -= 10.0 * std::log10(1.0 + double(i));
    }
    profile.spectrumSets[0].mid = profile.midSpectrum;
    const ReferenceProfile original = profile;
    CProfileCurveEditorDlg dialog(&profile);
    ASSERT_TRUE(dialog.Create(CProfileCurveEditorDlg::kTemplateId));
    dialog.ShowWindow(SW_SHOW);
    PumpPendingMessages();

    CWnd& editor = dialog.spectrumEditor;
    CRect client;
    editor.GetClientRect(&client);
    EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(dialog.GetSafeHwnd(), 1053)));
    CRect frame;
    ::GetWindowRect(::GetDlgItem(dialog.GetSafeHwnd(), 1053), &frame);
    CRect placed;
    editor.GetWindowRect(&placed);
    EXPECT_EQ(placed, frame) << "the editor sits where its frame was";

    const RECT plot = Editor::PlotRect(client.Size());
    const auto pointAt = [&](std::size_t j)
    {
        const Gdiplus::PointF c = Editor::ControlPointPosition(
            plot, j, dialog.spectrumEditor.points.size(), dialog.spectrumEditor.points[j]);
        return ScreenPoint(editor, int(std::lround(c.X)), int(std::lround(c.Y)));
    };
    const POINT start = pointAt(2);
    session->PressButton(start);
    session->MoveMouse({start.x, start.y - 40});
    session->ReleaseButton({start.x, start.y - 40});
    ASSERT_GT(dialog.midPoints[2], 0.0) << "the drag reached the dialog's mid set";
    Command(dialog.GetSafeHwnd(), 1058);
    PumpPendingMessages();
    EXPECT_NE(profile.midSpectrum, original.midSpectrum);
    EXPECT_TRUE(RenderWindowToPng(dialog.GetSafeHwnd(), std::string(BRVL_TEST_OUTPUT_DIR) +
                                                            "/profile_curve_editor_dialog.png"));
    dialog.DestroyWindow();
}

// ---- Profile editor ----

class ProfileEditorDialogTest : public ProfileDialogTest
{
protected:
    std::wstring PathOf(const std::wstring& name) const { return temp.PathOf(name); }

    std::wstring Write(const std::wstring& name, const std::string& profileName)
    {
        ReferenceProfile profile = FlatProfile(1024);
        profile.name = profileName;
        profile.integratedLufs = -11.5;
        profile.hasIntegratedLufs = true;
        WriteReferenceProfile(PathOf(name), profile);
        return PathOf(name);
    }

    void WriteMeta(const std::string& text) const
    {
        std::ofstream(folder / "meta.json", std::ios::binary) << text;
    }

    // A modeless editor on `path`, loaded and initialised.
    void Open(CProfileEditor& editor, const std::wstring& path)
    {
        editor.profilePath = path.c_str();
        CString error;
        ASSERT_TRUE(editor.LoadProfile(error)) << WideToUtf8(error.GetString());
        ASSERT_TRUE(editor.Create(CProfileEditor::kTemplateId));
        hwnd = editor.GetSafeHwnd();
    }

    void Rename(const std::wstring& typed)
    {
        ::SetDlgItemTextW(hwnd, 1015, typed.c_str());
        Command(hwnd, 1043);
    }

    TempFolder temp{"brvl_profile_editor_"};
    const fs::path& folder = temp.path;
    HWND hwnd = nullptr;
};

TEST_F(ProfileEditorDialogTest, LoadAndSaveKeepANonAsciiNameAndTheLoudnessFlag)
{
    const std::string name = "Größe — 夜の音";
    const struct
    {
        const wchar_t* lufsTyped; // null: the field as filled
        bool storedFlag;
        bool expectedFlag;
    } cases[] = {{nullptr, false, false}, {nullptr, true, true}, {L"-9.5", false, true}};
    for (const auto& c : cases)
    {
        ReferenceProfile stored = FlatProfile(1024);
        stored.name = name;
        stored.integratedLufs = c.storedFlag ? -0.1 / 3.0 : 0.0; // no exact 15-digit text
        stored.hasIntegratedLufs = c.storedFlag;
        const std::wstring path = PathOf(L"Klang ü.prs");
        WriteReferenceProfile(path, stored);

        CProfileEditor editor;
        editor.profilePath = path.c_str();
        CString error;
        ASSERT_TRUE(editor.LoadProfile(error));
        drives.push_back(
            [&](HWND d)
            {
                EXPECT_EQ(TextOf(d, 1033), Utf8ToWide(name));
                if (c.lufsTyped != nullptr)
                {
                    ::SetDlgItemTextW(d, 1038, c.lufsTyped);
                }
                Command(d, 1041);
                Command(d, IDOK);
            });
        ASSERT_EQ(editor.DoModal(), IDOK);
        const ReferenceProfile saved = ReadReferenceProfile(path);
        EXPECT_EQ(saved.name, name);
        EXPECT_EQ(saved.hasIntegratedLufs, c.expectedFlag);
        ASSERT_FALSE(boxes.empty());
        EXPECT_EQ(boxes.back().text, L"Profile metadata saved.");
        boxes.clear();
    }
}

TEST_F(ProfileEditorDialogTest, AnUnparsableNumberStopsSaveAndClose)
{
    const std::wstring path = Write(L"a.prs", "A");
    const auto before = fs::last_write_time(WidePathToFs(path));
    const std::string bytesBefore = EncodeReferenceProfile(ReadReferenceProfile(path));
    CProfileEditor editor;
    editor.profilePath = path.c_str();
    CString error;
    ASSERT_TRUE(editor.LoadProfile(error));
    bool openAfterClose = false;
    drives.push_back(
        [&](HWND d)
        {
            ::SetDlgItemTextW(d, 1033, L"renamed in the field");
            ::SetDlgItemTextW(d, 1036, L"1.2x");
            Command(d, 1041);
            Command(d, IDOK);
            openAfterClose = ::IsWindowVisible(d) != FALSE;
        });
    EXPECT_EQ(editor.DoModal(), IDCANCEL);
    EXPECT_TRUE(openAfterClose);
    EXPECT_EQ(BoxTexts(), (std::vector<std::wstring>{L"Enter a number.", L"Enter a number."}));
    EXPECT_EQ(fs::last_write_time(WidePathToFs(path)), before);
    EXPECT_EQ(EncodeReferenceProfile(ReadReferenceProfile(path)), bytesBefore);
}

TEST_F(ProfileEditorDialogTest, RenameGivesAProfileNameInTheSameFolder)
{
    const struct
    {
        const wchar_t* typed;
        const wchar_t* result; // null: refused, the file stays
    } cases[] = {
        {L" mix ", L"mix.prs"}, {L"mix.txt", L"mix.prs"}, {L"X.PRS", L"X.prs"},
        {L"", nullptr},         {L"   ", nullptr},        {L"../x", nullptr},
        {L"/tmp/abs", nullptr}, {L"sub\\y", nullptr},
    };
    for (const auto& c : cases)
    {
        const std::wstring source = Write(L"start.prs", "S");
        CProfileEditor editor;
        Open(editor, source);
        Rename(c.typed);
        const std::string label = WideToUtf8(c.typed);
        ASSERT_EQ(boxes.size(), 1u) << label;
        if (c.result == nullptr)
        {
            EXPECT_EQ(boxes[0].text, L"Enter a new profile file name first.") << label;
            EXPECT_TRUE(fs::exists(WidePathToFs(source))) << label;
            EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1)
                << label;
        }
        else
        {
            const std::wstring target = PathOf(c.result);
            EXPECT_EQ(boxes[0].text, L"Profile renamed.") << label;
            EXPECT_FALSE(fs::exists(WidePathToFs(source))) << label;
            EXPECT_EQ(ReadReferenceProfile(target).name, "S") << label;
            EXPECT_EQ(std::wstring(editor.profilePath), target) << label;
            EXPECT_EQ(TextOf(hwnd, 1032), target) << label;
            EXPECT_EQ(TextOf(hwnd, 1015), c.result) << label;
            fs::remove(WidePathToFs(target));
        }
        editor.DestroyWindow();
        boxes.clear();
    }
}

TEST_F(ProfileEditorDialogTest, RenameToTheSameFileDoesNothing)
{
    const std::wstring source = Write(L"same.prs", "S");
    // Another spelling of the same file: a second link to it.
    fs::create_hard_link(WidePathToFs(source), folder / "alias.prs");
    CProfileEditor editor;
    Open(editor, source);
    Rename(L"same.prs");
    Rename(L"alias");
    EXPECT_TRUE(boxes.empty());
    EXPECT_TRUE(fs::exists(WidePathToFs(source)));
    EXPECT_TRUE(fs::exists(folder / "alias.prs"));
    EXPECT_EQ(std::wstring(editor.profilePath), source);
    editor.DestroyWindow();
}

TEST_F(ProfileEditorDialogTest, RenameOverAnExistingFileAsksFirstAndTheCommentFollows)
{
    const std::wstring source = Write(L"mine.prs", "Mine");
    const std::wstring target = Write(L"theirs.prs", "Theirs");
    ASSERT_TRUE(SetLibraryComment(target, L"their comment"));
    ASSERT_TRUE(SetLibraryComment(source, L"my comment"));
    CProfileEditor editor;
    Open(editor, source);

    answers = {IDNO};
    Rename(L"theirs");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, L"theirs.prs already exists.\nOverwrite it?");
    EXPECT_EQ(boxes[0].flags & (MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2),
              UINT(MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2));
    EXPECT_EQ(ReadReferenceProfile(source).name, "Mine");
    EXPECT_EQ(ReadReferenceProfile(target).name, "Theirs");
    EXPECT_EQ(std::wstring(editor.profilePath), source);

    answers = {IDYES};
    Rename(L"theirs");
    EXPECT_EQ(boxes.back().text, L"Profile renamed.");
    EXPECT_FALSE(fs::exists(WidePathToFs(source)));
    EXPECT_EQ(ReadReferenceProfile(target).name, "Mine");
    EXPECT_EQ(GetLibraryComment(target), "my comment");
    EXPECT_EQ(std::wstring(editor.libraryComment), L"my comment");
    EXPECT_EQ(LoadLibraryComments(FsPathToWide(folder)).size(), 1u);
    // A later save changes the comment that is read back.
    ::SetDlgItemTextW(hwnd, 1040, L"changed");
    Command(hwnd, 1042);
    EXPECT_EQ(boxes.back().text, L"Library comment saved.");
    EXPECT_EQ(GetLibraryComment(target), "changed");
    editor.DestroyWindow();
}

TEST_F(ProfileEditorDialogTest, RenameOntoADirectoryKeepsEverything)
{
    const std::wstring source = Write(L"keep.prs", "Keep");
    fs::create_directories(folder / "dir.prs" / "inside");
    CProfileEditor editor;
    Open(editor, source);
    answers = {IDYES};
    Rename(L"dir");
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[1].text.rfind(L"Failed to remove the existing file:\n", 0), 0u);
    EXPECT_EQ(boxes[1].flags & MB_ICONERROR, UINT(MB_ICONERROR));
    EXPECT_TRUE(fs::exists(folder / "dir.prs" / "inside"));
    EXPECT_EQ(ReadReferenceProfile(source).name, "Keep");
    editor.DestroyWindow();
}

TEST_F(ProfileEditorDialogTest, AMalformedMetaFileMakesCommentWritesFailLoudly)
{
    const std::wstring source = Write(L"c.prs", "C");
    WriteMeta("[{\"file\": \"c.prs\", ");
    CProfileEditor editor;
    Open(editor, source);
    Command(hwnd, 1042);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, L"Failed to save library comment.");
    EXPECT_EQ(boxes[0].flags & MB_ICONERROR, UINT(MB_ICONERROR));

    Rename(L"d");
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[1].text, L"Profile renamed, but its library comment could not be moved.");
    EXPECT_EQ(boxes[1].flags & MB_ICONWARNING, UINT(MB_ICONWARNING));
    EXPECT_TRUE(fs::exists(folder / "d.prs"));
    std::ifstream meta(folder / "meta.json");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(meta), {}), "[{\"file\": \"c.prs\", ")
        << "the hand-edited file is left for repair";
    editor.DestroyWindow();
}

TEST_F(ProfileEditorDialogTest, AnalyzeWritesOnlyTheDescription)
{
    const std::wstring path = PathOf(L"empty.prs");
    WriteReferenceProfile(path, ReferenceProfile{});
    CProfileEditor editor;
    Open(editor, path);
    ::SetDlgItemTextW(hwnd, 1033, L"typed name");
    ::SetDlgItemTextW(hwnd, 1039, L"0.5");
    Command(hwnd, 1044);
    EXPECT_EQ(TextOf(hwnd, 1034),
              L"balanced tonal profile. open upper stereo field and wider low-band spread. "
              L"moderate loudness intent.");
    EXPECT_EQ(TextOf(hwnd, 1033), L"typed name");
    EXPECT_EQ(TextOf(hwnd, 1039), L"0.5");
    editor.DestroyWindow();
}

TEST_F(ProfileEditorDialogTest, BadPathsAndFilesAreReportedAndLoseNothing)
{
    CProfileEditor editor;
    CString error;
    EXPECT_FALSE(editor.LoadProfile(error));
    EXPECT_EQ(std::wstring(error), L"Profile path is empty.");
    error.Empty();
    EXPECT_FALSE(editor.SaveProfile(error));
    EXPECT_EQ(std::wstring(error), L"Profile path is empty.");
    EXPECT_FALSE(editor.SaveComment(error));

    const std::wstring good = Write(L"good.prs", "Good");
    editor.profilePath = good.c_str();
    ASSERT_TRUE(editor.LoadProfile(error));
    std::ofstream(folder / "bad.prs", std::ios::binary) << "not a profile";
    editor.profilePath = PathOf(L"bad.prs").c_str();
    error.Empty();
    EXPECT_FALSE(editor.LoadProfile(error));
    EXPECT_FALSE(error.IsEmpty());
    EXPECT_EQ(editor.profile.name, "Good") << "a failed read keeps the profile";

    editor.profilePath = L"";
    ASSERT_TRUE(editor.Create(CProfileEditor::kTemplateId));
    Command(editor.GetSafeHwnd(), 1043);
    EXPECT_EQ(BoxTexts(), std::vector<std::wstring>{L"Profile path is empty."});
    editor.DestroyWindow();
}

TEST_F(ProfileEditorDialogTest, CurveEditorChangesReachTheFileOnlyThroughSave)
{
    const std::wstring path = Write(L"curve.prs", "Curve");
    const ReferenceProfile before = ReadReferenceProfile(path);
    CProfileEditor editor;
    editor.profilePath = path.c_str();
    CString error;
    ASSERT_TRUE(editor.LoadProfile(error));
    drives.push_back([&](HWND d) { Command(d, 1052); });
    drives.push_back(
        [&](HWND d)
        {
            auto* curve = static_cast<CProfileCurveEditorDlg*>(CWnd::FromHandle(d));
            curve->spectrumEditor.SetPoints({3, 3, 3, 3, 3, 3});
            Command(d, 1058);
            Command(d, IDOK);
        });
    editor.DoModal();
    EXPECT_EQ(ReadReferenceProfile(path), before);
    EXPECT_EQ(editor.profile.midSpectrum, Added(before.midSpectrum, {3, 3, 3, 3, 3, 3}, 1024));
}

TEST_F(ProfileEditorDialogTest, EditorPicture)
{
    ReferenceProfile profile = FlatProfile(1024);
    profile.name = "Warm Pop Master";
    profile.description = "balanced tonal profile.\r\nmoderate loudness intent.";
    profile.sourceFileName = "final_mix_v3.wav";
    profile.referenceMatchRms = 0.125;
    profile.integratedLufs = -9.5;
    profile.truePeak = 0.98;
    const std::wstring path = PathOf(L"warm.prs");
    WriteReferenceProfile(path, profile);
    SetLibraryComment(path, L"Bright and loud.");
    CProfileEditor editor;
    Open(editor, path);
    editor.ShowWindow(SW_SHOW);
    PumpPendingMessages();
    EXPECT_EQ(TextOf(hwnd, 1040), L"Bright and loud.");
    EXPECT_EQ(TextOf(hwnd, 1038), L"-9.5");
    EXPECT_TRUE(
        RenderWindowToPng(hwnd, std::string(BRVL_TEST_OUTPUT_DIR) + "/profile_editor_dialog.png"));
    editor.DestroyWindow();
}

// ---- Mix dialog ----

struct FakeMixOwner : IMixProfileOwner
{
    struct Mix
    {
        std::wstring a, b;
        int position;
    };
    bool MixProfilesForPreview(CMixProfileDlg& dialog) override
    {
        mixes.push_back(
            {dialog.profilePathA.GetString(), dialog.profilePathB.GetString(), dialog.mixPosition});
        if (during)
        {
            during(dialog);
        }
        return mixResult;
    }
    bool SaveMergedProfile(CMixProfileDlg& dialog) override
    {
        saves.push_back(dialog.nameText.GetString());
        if (during)
        {
            during(dialog);
        }
        return saveResult;
    }
    void RestoreProfileAfterMix() override { ++restores; }

    std::vector<Mix> mixes;
    std::vector<std::wstring> saves;
    int restores = 0;
    bool mixResult = true;
    bool saveResult = true;
    std::function<void(CMixProfileDlg&)> during;
};

class MixDialogTest : public ProfileDialogTest
{
protected:
    // The file dialog refuses a file that does not exist, so the picks are real files.
    MixDialogTest()
    {
        for (const char* name : {"a one.prs", "b.prs", "Warm Pop.prs", "Club Loud.prs"})
        {
            std::ofstream(temp.path / name) << "x";
        }
    }

    std::wstring PathOf(const std::wstring& name) const { return temp.PathOf(name); }

    void Open(CMixProfileDlg& dialog, IMixProfileOwner* withOwner)
    {
        dialog.owner = withOwner;
        dialog.nameText = L"MergedProfile";
        ASSERT_TRUE(dialog.Create(CMixProfileDlg::kTemplateId));
        dialog.ShowWindow(SW_SHOW);
        hwnd = dialog.GetSafeHwnd();
    }

    TempFolder temp{"brvl_mix_dialog_"};
    FakeMixOwner owner;
    HWND hwnd = nullptr;
};

TEST_F(MixDialogTest, OpensWithTheSliderInTheMiddleAndTheCheckBoxHidden)
{
    for (int round = 0; round < 2; ++round)
    {
        CMixProfileDlg dialog;
        Open(dialog, &owner);
        wchar_t caption[64] = {};
        ::GetWindowTextW(hwnd, caption, 64);
        EXPECT_EQ(std::wstring(caption), L"Mix Profiles");
        EXPECT_EQ(dialog.slider.GetPos(), 50);
        EXPECT_EQ(dialog.slider.GetRangeMax(), 100);
        EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(hwnd, 1005)));
        EXPECT_EQ(TextOf(hwnd, 1015), L"MergedProfile");
        dialog.slider.SetPos(80);
        Command(hwnd, IDCANCEL);
        EXPECT_FALSE(::IsWindow(hwnd));
    }
}

TEST_F(MixDialogTest, LoadChoosesAProfileAndACancelKeepsTheEarlierChoice)
{
    CMixProfileDlg dialog;
    Open(dialog, &owner);
    picks = {PathOf(L"a one.prs"), L"", PathOf(L"b.prs")};
    Command(hwnd, 1048);
    Command(hwnd, 1048);
    Command(hwnd, 1049);
    EXPECT_EQ(std::wstring(dialog.profilePathA), PathOf(L"a one.prs"));
    EXPECT_EQ(TextOf(hwnd, 1046), L"a one.prs");
    EXPECT_EQ(TextOf(hwnd, 1047), L"b.prs");
    ASSERT_EQ(fileRequests.size(), 3u);
    const FileDialogRequest& first = fileRequests[0];
    EXPECT_TRUE(first.open);
    EXPECT_EQ(first.title, L"Load Reference Profile");
    EXPECT_EQ(first.initialFolder, GetUserProfilesFolder());
    EXPECT_EQ(first.defaultExtension, L"prs");
    ASSERT_EQ(first.filters.size(), 1u);
    EXPECT_EQ(first.filters[0].second, L"*.prs");
    EXPECT_EQ(first.flags & (OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY),
              DWORD(OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY));
    EXPECT_TRUE(first.fileName.empty());
    EXPECT_EQ(fileRequests[1].fileName, PathOf(L"a one.prs"));

    dialog.slider.SetPos(30);
    Command(hwnd, 1051);
    ASSERT_EQ(owner.mixes.size(), 1u);
    EXPECT_EQ(owner.mixes[0].a, PathOf(L"a one.prs"));
    EXPECT_EQ(owner.mixes[0].b, PathOf(L"b.prs"));
    EXPECT_EQ(owner.mixes[0].position, 30);
    EXPECT_TRUE(::IsWindow(hwnd)) << "Mix keeps the dialog open";
    dialog.DestroyWindow();
}

TEST_F(MixDialogTest, SaveNeedsASuccessfulMixAndClosesOnlyWhenTheOwnerSaved)
{
    CMixProfileDlg dialog;
    Open(dialog, &owner);
    Command(hwnd, IDOK);
    EXPECT_TRUE(owner.saves.empty()) << "nothing mixed yet, nothing to save";
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, L"Mix the profiles first so there is a preview profile to save.");
    EXPECT_EQ(boxes[0].flags & MB_ICONINFORMATION, UINT(MB_ICONINFORMATION));

    owner.mixResult = false;
    Command(hwnd, 1051);
    Command(hwnd, IDOK);
    EXPECT_TRUE(owner.saves.empty()) << "a failed Mix left nothing to save";

    owner.mixResult = true;
    owner.saveResult = false;
    Command(hwnd, 1051);
    ::SetDlgItemTextW(hwnd, 1015, L"Blend");
    Command(hwnd, IDOK);
    EXPECT_EQ(owner.saves, std::vector<std::wstring>{L"Blend"});
    EXPECT_TRUE(::IsWindow(hwnd)) << "a refused save leaves the dialog open";
    EXPECT_EQ(TextOf(hwnd, 1015), L"Blend");

    owner.saveResult = true;
    Command(hwnd, IDOK);
    EXPECT_FALSE(::IsWindow(hwnd));
    EXPECT_EQ(owner.restores, 0);
}

TEST_F(MixDialogTest, EscapeAndTheCloseBoxRestoreThenDestroy)
{
    for (int way = 0; way < 2; ++way)
    {
        CMixProfileDlg dialog;
        Open(dialog, &owner);
        ::SetFocus(::GetDlgItem(hwnd, 1015));
        if (way == 0)
        {
            session->Key(VK_ESCAPE, 0x1B);
        }
        else
        {
            ::SendMessageW(hwnd, WM_CLOSE, 0, 0);
        }
        EXPECT_EQ(owner.restores, way + 1);
        EXPECT_FALSE(::IsWindow(hwnd)) << way;
        EXPECT_EQ(dialog.GetSafeHwnd(), nullptr);
    }
}

TEST_F(MixDialogTest, WithoutAnOwnerOnlyTheSliderIsRead)
{
    CMixProfileDlg dialog;
    Open(dialog, nullptr);
    dialog.slider.SetPos(70);
    Command(hwnd, 1051);
    Command(hwnd, IDOK);
    EXPECT_EQ(dialog.mixPosition, 70);
    EXPECT_TRUE(::IsWindow(hwnd));
    EXPECT_TRUE(boxes.empty());
    Command(hwnd, IDCANCEL);
    EXPECT_FALSE(::IsWindow(hwnd));
}

TEST_F(MixDialogTest, AnOwnerThatDestroysTheDialogInItsCallbackIsSafe)
{
    owner.during = [](CMixProfileDlg& d) { d.DestroyWindow(); };
    CMixProfileDlg first;
    Open(first, &owner);
    Command(hwnd, 1051);
    EXPECT_FALSE(::IsWindow(hwnd));

    owner.during = nullptr;
    CMixProfileDlg second;
    Open(second, &owner);
    Command(hwnd, 1051);
    owner.during = [](CMixProfileDlg& d) { d.DestroyWindow(); };
    Command(hwnd, IDOK);
    EXPECT_FALSE(::IsWindow(hwnd));
    EXPECT_EQ(second.GetSafeHwnd(), nullptr);
}

TEST_F(MixDialogTest, Picture)
{
    CMixProfileDlg dialog;
    Open(dialog, &owner);
    picks = {PathOf(L"Warm Pop.prs"), PathOf(L"Club Loud.prs")};
    Command(hwnd, 1048);
    Command(hwnd, 1049);
    dialog.slider.SetPos(35);
    ::SetDlgItemTextW(hwnd, 1016, L"Two thirds warm, one third loud.");
    PumpPendingMessages();
    EXPECT_TRUE(
        RenderWindowToPng(hwnd, std::string(BRVL_TEST_OUTPUT_DIR) + "/mix_profile_dialog.png"));
    dialog.DestroyWindow();
}

} // namespace
