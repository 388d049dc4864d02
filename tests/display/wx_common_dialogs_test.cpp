#include "platform/backend/wx/file_patterns.h"
#include "platform/mfc/common_dialogs.h"
#include "tests/display/display_test_support.h"
#include "tests/support/temp_dir.h"

#include <cstdlib>
#include <functional>
#include <optional>
#include <thread>
#include <vector>

using namespace brvl::backend;

namespace
{

TEST(FilePatterns, LettersMatchEitherCaseAndFiltersKeepTheirOrder)
{
    struct Case
    {
        std::wstring pattern;
        std::wstring expected;
    };
    const Case cases[] = {
        {L"*.wav", L"*.[wW][aA][vV]"},
        {L"*.MP3", L"*.[mM][pP]3"},
        {L"*.wav;*.flac", L"*.[wW][aA][vV];*.[fF][lL][aA][cC]"},
        {L"*", L"*"},
        {L"take_?.aif", L"[tT][aA][kK][eE]_?.[aA][iI][fF]"},
    };
    for (const Case& c : cases)
    {
        EXPECT_EQ(wxui::CaseInsensitivePattern(c.pattern), c.expected);
    }
    FileDialogRequest request;
    EXPECT_EQ(wxui::WildcardOf(request), L"*") << "no filter shows every file";
    request.filters = {{L"Audio", L"*.wav;*.mp3"}, {L"A|B", L"*.prs"}};
    EXPECT_EQ(wxui::WildcardOf(request), L"Audio|*.[wW][aA][vV];*.[mM][pP]3|A/B|*.[pP][rR][sS]");

    // What the toolkit's save dialog appends to a bare name is taken off again.
    EXPECT_EQ(wxui::WithoutExpandedExtension(L"/x/mix.[wW][aA][vV]", request), L"/x/mix");
    EXPECT_EQ(wxui::WithoutExpandedExtension(L"/x/p.[pP][rR][sS]", request), L"/x/p");
    EXPECT_EQ(wxui::WithoutExpandedExtension(L"/x/mix.wav", request), L"/x/mix.wav");
    EXPECT_EQ(wxui::WithoutExpandedExtension(L"/x/mix.[mM][pP]3", request), L"/x/mix.[mM][pP]3")
        << "only the first pattern of a filter is appended";
}

// The native dialogs are answered with keys, as a user would.
class NativeDialogTest : public DisplayTest
{
protected:
    // Runs each of `steps` (xdotool commands, each its own run so that every
    // one reaches the display before the next) once a visible window titled
    // `title` is up, with the keyboard focus given to it (no window manager
    // does that here).
    void AnswerWhenShown(const std::string& title, const std::vector<std::string>& steps)
    {
        std::string script =
            "id=$(" + Xdotool("search --sync --onlyvisible --name '^" + title + "$' | head -n 1") +
            ") && sleep 1 && " + Xdotool("windowfocus --sync $id");
        for (const std::string& step : steps)
        {
            script += " && sleep 0.3 && " + Xdotool(step);
        }
        m_answerer.emplace(script);
    }

    int Answered() { return m_answerer->Finish(); }

private:
    std::optional<BackgroundCommand> m_answerer;
};

TEST_F(NativeDialogTest, TheColourChooserOpensOnTheInitialColourAndReturnsItOnEnter)
{
    MakeFrame();
    const COLORREF initial = RGB(12, 200, 99);
    CColorDialog dialog(initial, CC_FULLOPEN, &frame);
    AnswerWhenShown(".*[Cc]olou?r.*", {"key Return"});
    const INT_PTR result = dialog.DoModal();
    EXPECT_EQ(Answered(), 0);
    ASSERT_EQ(result, IDOK);
    EXPECT_EQ(dialog.GetColor(), initial);
}

TEST_F(NativeDialogTest, TheOpenDialogStartsInTheInitialFolderAndReturnsTheTypedFile)
{
    MakeFrame();
    TempDir folder;
    WriteFileBytes(folder / "Take One.WAV", "RIFF");
    CFileDialog dialog(TRUE, L"wav", nullptr, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST,
                       L"Audio files (*.wav)|*.wav||", &frame);
    const std::wstring start = folder.Path().wstring();
    dialog.m_ofn.lpstrInitialDir = start.c_str();
    dialog.m_ofn.lpstrTitle = L"BRVL import";
    // Ctrl+L opens the chooser's location field; the name is relative to the folder shown.
    AnswerWhenShown("BRVL import", {"key ctrl+l", "type --delay 40 'Take One.WAV'", "key Return"});
    const INT_PTR result = dialog.DoModal();
    EXPECT_EQ(Answered(), 0);
    ASSERT_EQ(result, IDOK);
    EXPECT_EQ(std::wstring(dialog.GetPathName().GetString()), (folder / "Take One.WAV").wstring());
}

TEST_F(NativeDialogTest, ASaveDialogGivesABareNameTheDefaultExtensionAndAsksBeforeReplacing)
{
    MakeFrame();
    TempDir folder;
    WriteFileBytes(folder / "mix.wav", "RIFF");
    CFileDialog dialog(FALSE, L"wav", L"mix", OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                       L"Audio files (*.wav)|*.wav||", &frame);
    const std::wstring start = folder.Path().wstring();
    dialog.m_ofn.lpstrInitialDir = start.c_str();
    dialog.m_ofn.lpstrTitle = L"BRVL export";
    // Accept the suggested name, then answer the replace question with Yes.
    AnswerWhenShown("BRVL export", {"key Return"});
    BackgroundCommand replacer(Xdotool("search --sync --onlyvisible --name '^BRVL$' | head -n 1 | "
                                       "xargs -I{} xdotool windowfocus --sync {}") +
                               " && sleep 0.5 && " + Xdotool("key Return"));
    const INT_PTR result = dialog.DoModal();
    const int asked = replacer.Finish();
    EXPECT_EQ(Answered(), 0);
    EXPECT_EQ(asked, 0) << "no question before replacing the existing file";
    ASSERT_EQ(result, IDOK);
    EXPECT_EQ(std::wstring(dialog.GetPathName().GetString()), (folder / "mix.wav").wstring());
}

TEST_F(DisplayTest, TextPutOnTheSystemClipboardComesBack)
{
    const std::wstring text = L"Grüße aus BRVL ♪ 2";
    CurrentBackend().SetClipboardText(text);
    EXPECT_EQ(CurrentBackend().ClipboardText(), text);
}

// The owner goes while its native dialog is open (a handler run by the
// dialog's own pump destroys it): the dialog stays usable and returns.
TEST_F(NativeDialogTest, AnOwnerDestroyedWhileItsNativeDialogIsOpenLeavesTheDialogWorking)
{
    struct Case
    {
        const char* title;
        std::function<bool()> run; // true when answered with OK
    };
    const Case cases[] = {
        {"BRVL gone",
         [this] {
             return ::MessageBoxW(frame.GetSafeHwnd(), L"Owner goes.", L"BRVL gone", MB_OK) == IDOK;
         }},
        {".*[Cc]olou?r.*",
         [this]
         {
             CColorDialog dialog(RGB(1, 2, 3), CC_FULLOPEN, &frame);
             return dialog.DoModal() == IDOK;
         }},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.title);
        MakeFrame();
        frame.On(WM_APP + 4,
                 [this](WPARAM, LPARAM) -> std::optional<LRESULT>
                 {
                     frame.DestroyWindow();
                     return 0;
                 });
        const HWND hwnd = frame.GetSafeHwnd();
        std::thread destroyer(
            [hwnd, title = std::string(c.title)]
            {
                std::system(
                    Xdotool("search --sync --onlyvisible --name '^" + title + "$' >/dev/null")
                        .c_str());
                // After the answerer found the dialog too (a window going
                // while xdotool walks the tree fails its search).
                std::this_thread::sleep_for(std::chrono::milliseconds(700));
                ::PostMessageW(hwnd, WM_APP + 4, 0, 0);
            });
        AnswerWhenShown(c.title, {"key Return"});
        const bool ok = c.run();
        destroyer.join();
        EXPECT_EQ(Answered(), 0);
        EXPECT_TRUE(ok);
        EXPECT_FALSE(::IsWindow(hwnd)) << "the owner was not destroyed meanwhile";
        DispatchFor(std::chrono::milliseconds(100));
    }
}

} // namespace
