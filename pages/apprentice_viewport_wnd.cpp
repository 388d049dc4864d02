#include "pages/apprentice_viewport_wnd.h"

IMPLEMENT_DYNAMIC(CApprenticeViewportWnd, CControlGridViewportWnd)

CApprenticeViewportWnd::~CApprenticeViewportWnd() = default;

bool CApprenticeViewportWnd::UpdateMeterBindings(const AudioBuffer& buffer, double t)
{
    return ApplyMeterBindings(panel, meterBindings, buffer, t);
}
