#include "platform/mfc/wait_cursor.h"
#include "platform/mfc/win_app.h"
#include "tests/platform/test_windows.h"

class WaitCursor : public WindowTest
{
};

TEST_F(WaitCursor, NestsAndGivesBackTheCursorShownBeforeIt)
{
    const HCURSOR arrow = LoadCursorW(nullptr, IDC_ARROW);
    const HCURSOR wait = LoadCursorW(nullptr, IDC_WAIT);
    SetCursor(arrow);
    {
        CWaitCursor outer;
        EXPECT_EQ(GetCursor(), wait);
        {
            CWaitCursor inner;
            SetCursor(arrow); // something else changed it meanwhile
            inner.Restore();
            EXPECT_EQ(GetCursor(), wait);
        }
        EXPECT_EQ(GetCursor(), wait) << "the outer wait is still running";
    }
    EXPECT_EQ(GetCursor(), arrow);
    EXPECT_EQ(brvl::mfc::WaitCursorDepth(), 0);

    CWinApp app; // with an application, its DoWaitCursor decides
    app.BeginWaitCursor();
    EXPECT_EQ(GetCursor(), wait);
    app.EndWaitCursor();
    EXPECT_EQ(GetCursor(), arrow);
}
