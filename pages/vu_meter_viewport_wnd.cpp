#include "pages/vu_meter_viewport_wnd.h"

#include "pages/page_window.h"

IMPLEMENT_DYNAMIC(CVuMeterViewportWnd, CWnd)

BEGIN_MESSAGE_MAP(CVuMeterViewportWnd, CWnd)
ON_WM_CREATE()
ON_WM_SIZE()
ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

CVuMeterViewportWnd::~CVuMeterViewportWnd() = default;

BOOL CVuMeterViewportWnd::Create(CWnd* parent, const RECT& rect, UINT id)
{
    return CreatePageWindow(*this, parent, rect, id, L"BrimvaleVuMeterViewportWnd");
}

void CVuMeterViewportWnd::SetBackgroundColor(COLORREF color)
{
    backgroundColor = color;
    for (COutputMeterWnd* meter : {&sourceMeter, &outputMeter})
    {
        if (::IsWindow(meter->GetSafeHwnd()))
        {
            meter->SetBackgroundColor(color);
        }
    }
    if (::IsWindow(m_hWnd))
    {
        ::InvalidateRect(m_hWnd, nullptr, TRUE);
    }
}

int CVuMeterViewportWnd::OnCreate(LPCREATESTRUCT create)
{
    if (CWnd::OnCreate(create) == -1)
    {
        return -1;
    }
    CreateMeter(sourceMeter, kSourceMeterId, L"Source", 0.0, 0.0);
    CreateMeter(outputMeter, kOutputMeterId, L"Output", 0.84, 0.77);
    PlaceMeters();
    return 0;
}

void CVuMeterViewportWnd::CreateMeter(COutputMeterWnd& meter, UINT id, const wchar_t* label,
                                      double value, double secondary)
{
    if (::IsWindow(meter.GetSafeHwnd()) || !meter.Create(CRect(0, 0, 80, 320), this, id) ||
        !::IsWindow(meter.GetSafeHwnd()))
    {
        return;
    }
    meter.SetBackgroundColor(backgroundColor);
    meter.SetLabel(label);
    meter.minDb = -60.0;
    meter.maxDb = 3.0;
    meter.Invalidate(FALSE);
    meter.SetValueSilently(value);
    meter.SetSecondaryValueSilently(secondary);
}

void CVuMeterViewportWnd::PlaceMeters()
{
    if (!::IsWindow(m_hWnd))
    {
        return;
    }
    CRect client;
    GetClientRect(&client);
    if (client.IsRectEmpty())
    {
        return;
    }
    // A client of 10 px or less leaves the meters no height; moving them
    // still keeps their places.
    const int height = client.bottom > 10 ? client.bottom - 20 : client.bottom - 10;
    const int sourceWidth = sourceMeter.GetPreferredSize().cx;
    if (::IsWindow(sourceMeter.GetSafeHwnd()))
    {
        sourceMeter.MoveWindow(10, 10, sourceWidth, height, TRUE);
    }
    if (::IsWindow(outputMeter.GetSafeHwnd()))
    {
        outputMeter.MoveWindow(10 + sourceWidth + 8, 10, outputMeter.GetPreferredSize().cx, height,
                               TRUE);
    }
}

void CVuMeterViewportWnd::OnSize(UINT type, int cx, int cy)
{
    CWnd::OnSize(type, cx, cy);
    PlaceMeters();
}

BOOL CVuMeterViewportWnd::OnEraseBkgnd(CDC* dc)
{
    CRect client;
    GetClientRect(&client);
    dc->FillSolidRect(&client, backgroundColor);
    return TRUE;
}
