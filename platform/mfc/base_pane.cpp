#include "platform/mfc/base_pane.h"

#include "platform/mfc/bar_theme.h"
#include "platform/mfc/frame_wnd.h"
#include "platform/win32/dpi_scale.h"
#include "platform/win32/palette.h"

#include <map>

IMPLEMENT_DYNAMIC(CBasePane, CWnd)

BEGIN_MESSAGE_MAP(CBasePane, CWnd)
ON_WM_DESTROY()
ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

namespace brvl::mfc
{

HFONT BarFont(UINT dpi)
{
    // Never destroyed: the fonts live as long as the process.
    static auto* fonts = new std::map<UINT, HFONT>;
    HFONT& font = (*fonts)[dpi];
    if (font == nullptr)
    {
        font = ::CreateFontW(-brvl::win32::ScaleForDpi(kBarFontHeight96, dpi), 0, 0, 0, FW_NORMAL,
                             0, 0, 0, 0, 0, 0, 0, 0, kBarFontFace);
    }
    return font;
}

} // namespace brvl::mfc

CBasePane::CBasePane() = default;

CBasePane::~CBasePane()
{
    // Here, not in CWnd's destructor, so that OnDestroy still unregisters the pane.
    if (m_hWnd != nullptr && ::IsWindow(m_hWnd) && CWnd::FromHandlePermanent(m_hWnd) == this)
    {
        ::DestroyWindow(m_hWnd);
    }
}

CSize CBasePane::CalcFixedLayout(BOOL, BOOL horz)
{
    if (!IsVisible())
    {
        return CSize(0, 0);
    }
    return horz ? CSize(32767, m_sizeMin.cy) : CSize(m_sizeMin.cx, 32767);
}

void CBasePane::ShowPane(BOOL show, BOOL, BOOL)
{
    ShowWindow(show ? SW_SHOWNOACTIVATE : SW_HIDE);
    RecalcParentLayout();
}

BOOL CBasePane::IsVisible() const
{
    return m_hWnd != nullptr && (GetStyle() & WS_VISIBLE) != 0;
}

BOOL CBasePane::CreatePane(LPCTSTR title, DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    static const LPCTSTR paneClass =
        AfxRegisterWndClass(CS_HREDRAW | CS_VREDRAW, ::LoadCursorW(nullptr, IDC_ARROW));
    m_dwStyle = (style & 0xFFFF) | (style & CBRS_GRIPPER); // the bar bits, not the window bits
    const DWORD windowStyle = (style & (WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN)) | WS_CHILD;
    if (!CreateEx(0, paneClass, title, windowStyle, rect, parent, id))
    {
        return FALSE;
    }
    if (auto* frame = dynamic_cast<CFrameWnd*>(parent))
    {
        m_pRegisteredFrame = frame;
        frame->AddPane(this);
    }
    return TRUE;
}

void CBasePane::RecalcParentLayout()
{
    if (m_pRegisteredFrame != nullptr)
    {
        m_pRegisteredFrame->RecalcLayout();
    }
}

void CBasePane::OnDestroy()
{
    if (m_pRegisteredFrame != nullptr)
    {
        m_pRegisteredFrame->RemovePane(this);
        m_pRegisteredFrame = nullptr;
    }
    CWnd::OnDestroy();
}

BOOL CBasePane::OnEraseBkgnd(CDC* dc)
{
    CRect client;
    GetClientRect(&client);
    dc->FillSolidRect(&client, brvl::palette::kBackground);
    return TRUE;
}
