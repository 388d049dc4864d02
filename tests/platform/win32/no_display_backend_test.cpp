#include "platform/backend/headless_backend.h"
#include "platform/win32/message_box.h"
#include "platform/win32/no_display_backend.h"

#include <gtest/gtest.h>

namespace
{

using namespace brvl::backend;

bool DefaultInUse()
{
    return dynamic_cast<NoDisplayBackend*>(&CurrentBackend()) != nullptr &&
           dynamic_cast<HeadlessBackend*>(&CurrentBackend()) == nullptr;
}

TEST(NoDisplayBackend, IsInUseWheneverNoOtherBackendIs)
{
    EXPECT_TRUE(DefaultInUse());
    {
        HeadlessSession session;
        EXPECT_EQ(&CurrentBackend(), &session.Backend());
    }
    EXPECT_TRUE(DefaultInUse()) << "ending a session must restore the default";
}

TEST(NoDisplayBackend, AnswersEveryModalElementWithItsDefault)
{
    struct Case
    {
        ModalKind kind;
        UINT flags;
        INT_PTR expected;
    };
    const Case cases[] = {
        {ModalKind::Message, MB_OK, IDOK},
        {ModalKind::Message, MB_OKCANCEL, IDOK},
        {ModalKind::Message, MB_OKCANCEL | MB_DEFBUTTON2, IDCANCEL},
        {ModalKind::Message, MB_YESNO | MB_ICONQUESTION, IDYES},
        {ModalKind::Message, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2, IDNO},
        {ModalKind::Dialog, 0, IDCANCEL},
        {ModalKind::PopupMenu, 0, 0},
    };
    Backend& backend = CurrentBackend();
    for (const Case& c : cases)
    {
        ModalRequest request;
        request.kind = c.kind;
        request.flags = c.flags;
        if (c.kind == ModalKind::Message)
        {
            EXPECT_EQ(backend.ShowMessageBox(request), c.expected) << "flags " << c.flags;
        }
        else
        {
            EXPECT_EQ(backend.BeginModal(request), std::optional<INT_PTR>(c.expected))
                << "a modal window must not wait for an answer nobody gives";
        }
    }
    EXPECT_FALSE(backend.ShowFileDialog(nullptr, FileDialogRequest{}).has_value());
    EXPECT_FALSE(backend.ShowColorDialog(nullptr, 0x123456).has_value());
}

TEST(NoDisplayBackend, KeepsTheClipboardInProcessAndItsClockStill)
{
    Backend& backend = CurrentBackend();
    backend.SetClipboardText(L"-14.0 LUFS");
    EXPECT_EQ(backend.ClipboardText(), L"-14.0 LUFS");
    const std::uint64_t before = backend.NowMs();
    backend.WaitForWork(std::nullopt);
    EXPECT_EQ(backend.NowMs(), before) << "time without a display moves only when a test says";
}

} // namespace
