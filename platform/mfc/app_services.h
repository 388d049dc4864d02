#pragma once

#include "platform/mfc/wnd.h"

// Process services the program starts on Windows that have nothing to do here:
// each call succeeds and changes nothing.

struct INITCOMMONCONTROLSEX
{
    DWORD dwSize;
    DWORD dwICC;
};
constexpr DWORD ICC_WIN95_CLASSES = 0x000000FF;

BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* init);
BOOL AfxOleInit();
void AfxOleTerm(BOOL justRevoke = FALSE);
void AfxEnableControlContainer();
std::int32_t SetCurrentProcessExplicitAppUserModelID(LPCWSTR appId);

// Visual managers: the bars always draw in the program's dark theme.
class CMFCVisualManager : public CObject
{
    DECLARE_DYNAMIC(CMFCVisualManager)

public:
    static void SetDefaultManager(CRuntimeClass*) {}
};

class CMFCVisualManagerVS2008 : public CMFCVisualManager
{
    DECLARE_DYNAMIC(CMFCVisualManagerVS2008)
};

// Tooltip settings of the extended application (accepted).
class CMFCToolTipCtrl : public CWnd
{
    DECLARE_DYNAMIC(CMFCToolTipCtrl)
};

struct CMFCToolTipInfo
{
    BOOL m_bBoldLabel = TRUE;
    BOOL m_bDrawDescription = TRUE;
    BOOL m_bDrawIcon = TRUE;
    BOOL m_bRoundedCorners = FALSE;
    BOOL m_bDrawSeparator = FALSE;
    int m_nMaxDescrWidth = 200;
    BOOL m_bVislManagerTheme = FALSE;
};

constexpr UINT AFX_TOOLTIP_TYPE_ALL = 0xFFFF;

class CTooltipManager
{
public:
    void SetTooltipParams(UINT, CRuntimeClass* = nullptr, CMFCToolTipInfo* = nullptr) {}
};
