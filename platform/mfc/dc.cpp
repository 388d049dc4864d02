#include "platform/mfc/dc.h"

#include "platform/mfc/wnd.h"

BOOL CDC::Attach(HDC dc)
{
    if (dc == nullptr || m_hDC != nullptr)
    {
        return FALSE;
    }
    m_hDC = dc;
    return TRUE;
}

HDC CDC::Detach()
{
    const HDC dc = m_hDC;
    m_hDC = nullptr;
    return dc;
}

CPaintDC::CPaintDC(CWnd* wnd) : m_hWnd(wnd != nullptr ? wnd->GetSafeHwnd() : nullptr)
{
    m_hDC = ::BeginPaint(m_hWnd, &m_ps);
}

CPaintDC::~CPaintDC()
{
    if (m_hDC != nullptr)
    {
        ::EndPaint(m_hWnd, &m_ps);
        m_hDC = nullptr;
    }
}

CClientDC::CClientDC(CWnd* wnd) : m_hWnd(wnd != nullptr ? wnd->GetSafeHwnd() : nullptr)
{
    m_hDC = ::GetDC(m_hWnd);
}

CClientDC::~CClientDC()
{
    if (m_hDC != nullptr)
    {
        ::ReleaseDC(m_hWnd, m_hDC);
        m_hDC = nullptr;
    }
}
