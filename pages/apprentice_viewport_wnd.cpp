#include "pages/apprentice_viewport_wnd.h"

IMPLEMENT_DYNAMIC(CApprenticeViewportWnd, CControlGridViewportWnd)

CApprenticeViewportWnd::~CApprenticeViewportWnd() = default;

bool CApprenticeViewportWnd::UpdateMeterBindings(const AudioBuffer& buffer, double t)
{
    bool found = false;
    for (const auto& [parameterId, binding] : meterBindings)
    {
        found = panel.SetControlValueById(parameterId, EvaluateMeterBinding(buffer, t, binding)) ||
                found;
    }
    return found;
}
