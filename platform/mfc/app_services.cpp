#include "platform/mfc/app_services.h"

IMPLEMENT_DYNAMIC(CMFCVisualManager, CObject)
IMPLEMENT_DYNAMIC(CMFCVisualManagerVS2008, CMFCVisualManager)
IMPLEMENT_DYNAMIC(CMFCToolTipCtrl, CWnd)

BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX*)
{
    return TRUE;
}

BOOL AfxOleInit()
{
    return TRUE;
}

void AfxOleTerm(BOOL)
{
}

void AfxEnableControlContainer()
{
}

std::int32_t SetCurrentProcessExplicitAppUserModelID(LPCWSTR)
{
    return 0;
}
