#include "platform/mfc/wait_cursor.h"

#include "platform/mfc/win_app.h"
#include "platform/win32/window_api.h"

namespace
{

int g_depth = 0;
HCURSOR g_restore = nullptr;

void Step(int code)
{
    if (CWinApp* app = AfxGetApp())
    {
        app->DoWaitCursor(code); // an application may show its own
    }
    else
    {
        brvl::mfc::StepWaitCursor(code);
    }
}

} // namespace

namespace brvl::mfc
{

void StepWaitCursor(int code)
{
    const HCURSOR wait = ::LoadCursorW(nullptr, IDC_WAIT);
    if (code > 0)
    {
        if (g_depth++ == 0)
        {
            g_restore = ::SetCursor(wait);
        }
        else
        {
            ::SetCursor(wait);
        }
    }
    else if (code < 0)
    {
        if (g_depth > 0 && --g_depth == 0)
        {
            ::SetCursor(g_restore != nullptr ? g_restore : ::LoadCursorW(nullptr, IDC_ARROW));
            g_restore = nullptr;
        }
    }
    else if (g_depth > 0)
    {
        ::SetCursor(wait);
    }
}

int WaitCursorDepth()
{
    return g_depth;
}

} // namespace brvl::mfc

void CCmdTarget::BeginWaitCursor()
{
    Step(1);
}

void CCmdTarget::EndWaitCursor()
{
    Step(-1);
}

void CCmdTarget::RestoreWaitCursor()
{
    Step(0);
}

CWaitCursor::CWaitCursor()
{
    Step(1);
}

CWaitCursor::~CWaitCursor()
{
    Step(-1);
}

void CWaitCursor::Restore()
{
    Step(0);
}
