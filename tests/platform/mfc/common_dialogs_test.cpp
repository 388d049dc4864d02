#include "tests/platform/test_windows.h"

#include <filesystem>
#include <fstream>

namespace
{

using brvl::backend::ModalAnswer;
using brvl::backend::ModalKind;
using brvl::backend::ModalRequest;

class CommonDialogsTest : public WindowTest
{
protected:
    void SetUp() override { ASSERT_TRUE(owner.CreateTopLevel(RECT{0, 0, 400, 300})); }

    RecordingWnd owner{"owner", log};
};

TEST_F(CommonDialogsTest, TheResponderSeesTheRequestAndTheDefaultExtensionIsAppended)
{
    struct Case
    {
        std::wstring chosen;
        std::wstring expected;
    };
    const Case cases[] = {
        {L"/tmp/out/mix", L"/tmp/out/mix.wav"},
        {L"/tmp/out/mix.flac", L"/tmp/out/mix.flac"},
        {L"/tmp/out.d/mix", L"/tmp/out.d/mix.wav"},
    };
    for (const Case& c : cases)
    {
        std::optional<ModalRequest> seen;
        bool ownerDisabled = false;
        session->SetResponder(
            [&](const ModalRequest& r)
            {
                seen = r;
                ownerDisabled = !owner.IsWindowEnabled();
                return ModalAnswer::WithPath(c.chosen);
            });
        CFileDialog dialog(FALSE, L"wav", L"suggested", OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                           L"Audio Files (*.wav;*.flac)|*.wav;*.flac|All Files (*.*)|*.*||",
                           &owner);
        dialog.m_ofn.lpstrTitle = L"Export Processed Audio";
        dialog.m_ofn.lpstrInitialDir = L"/tmp/out";
        ASSERT_EQ(dialog.DoModal(), IDOK);
        EXPECT_EQ(dialog.GetPathName().Str(), c.expected);
        ASSERT_TRUE(seen && seen->file);
        EXPECT_FALSE(seen->file->open);
        EXPECT_EQ(seen->file->title, L"Export Processed Audio");
        EXPECT_EQ(seen->file->initialFolder, L"/tmp/out");
        EXPECT_EQ(seen->file->fileName, L"suggested");
        EXPECT_EQ(seen->file->defaultExtension, L"wav");
        ASSERT_EQ(seen->file->filters.size(), 2u);
        EXPECT_EQ(seen->file->filters[0].second, L"*.wav;*.flac");
        EXPECT_EQ(seen->file->filters[1].first, L"All Files (*.*)");
        EXPECT_TRUE(ownerDisabled);
        EXPECT_TRUE(owner.IsWindowEnabled());
    }
}

TEST_F(CommonDialogsTest, CancelChangesNothing)
{
    session->SetResponder([](const ModalRequest&) { return ModalAnswer::Unanswered(); });
    CFileDialog dialog(TRUE, L"wav", nullptr, OFN_FILEMUSTEXIST, L"Wave|*.wav||", &owner);
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_TRUE(dialog.GetPathName().IsEmpty());
    CColorDialog colour(RGB(1, 2, 3), CC_FULLOPEN, &owner);
    EXPECT_EQ(colour.DoModal(), IDCANCEL);
    EXPECT_EQ(colour.GetColor(), RGB(1, 2, 3));
}

TEST_F(CommonDialogsTest, AnOpenDialogRefusesAMissingFileItMustFind)
{
    session->SetResponder(
        [](const ModalRequest& r)
        {
            return r.kind == ModalKind::FileDialog
                       ? ModalAnswer::WithPath(L"/nonexistent/brvl/none.wav")
                       : ModalAnswer::With(IDOK);
        });
    CFileDialog dialog(TRUE, L"wav", nullptr, OFN_FILEMUSTEXIST, L"Wave|*.wav||", &owner);
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_TRUE(dialog.GetPathName().IsEmpty());
    const auto log = session->ModalLog();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[1].request.kind, ModalKind::Message);
}

TEST_F(CommonDialogsTest, AnAppendedExtensionThatNamesAnExistingFileAsksFirst)
{
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / "brvl_file_dialog_test";
    std::filesystem::create_directories(folder);
    std::ofstream(folder / "take.wav") << "x";
    const std::wstring chosen = (folder / "take").wstring();
    for (const int answer : {IDNO, IDYES})
    {
        session->SetResponder(
            [&](const ModalRequest& r)
            {
                return r.kind == ModalKind::FileDialog ? ModalAnswer::WithPath(chosen)
                                                       : ModalAnswer::With(answer);
            });
        CFileDialog dialog(FALSE, L"wav", nullptr, OFN_OVERWRITEPROMPT, L"Wave|*.wav||", &owner);
        EXPECT_EQ(dialog.DoModal(), answer == IDYES ? IDOK : IDCANCEL);
    }
    std::filesystem::remove_all(folder);
}

TEST_F(CommonDialogsTest, TheColourChooserStartsFromTheInitialColour)
{
    COLORREF initial = 0;
    session->SetResponder(
        [&](const ModalRequest& r)
        {
            initial = r.initialColor;
            return ModalAnswer::With(static_cast<INT_PTR>(RGB(200, 100, 50)));
        });
    CColorDialog dialog(RGB(0xE5, 0x84, 0x52), CC_FULLOPEN, &owner);
    ASSERT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(initial, RGB(0xE5, 0x84, 0x52));
    EXPECT_EQ(dialog.GetColor(), RGB(200, 100, 50));
}

TEST_F(CommonDialogsTest, AfxMessageBoxRecordsFlagsCaptionAndText)
{
    session->SetResponder([](const ModalRequest&) { return ModalAnswer::With(IDNO); });
    owner.SetFocus();
    EXPECT_EQ(AfxMessageBox(L"Overwrite?", MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2), IDNO);
    EXPECT_EQ(AfxMessageBox(100U, MB_OK), IDNO);
    const auto log = session->ModalLog();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].request.caption, L"BRVL");
    EXPECT_EQ(log[0].request.text, L"Overwrite?");
    EXPECT_EQ(log[0].request.flags, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2);
    EXPECT_EQ(log[0].request.owner, owner.GetSafeHwnd());
    EXPECT_EQ(log[1].request.text, L"OLE initialization failed.  Make sure that the OLE "
                                   L"libraries are the correct version.");
}

} // namespace
