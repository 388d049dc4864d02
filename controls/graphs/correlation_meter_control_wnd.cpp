#include "controls/graphs/correlation_meter_control_wnd.h"

IMPLEMENT_DYNAMIC(CCorrelationMeterControlWnd, CBaseControlWnd)

BEGIN_MESSAGE_MAP(CCorrelationMeterControlWnd, CGraphHostControl)
ON_WM_CREATE()
ON_WM_SIZE()
ON_WM_ERASEBKGND()
ON_WM_PAINT()
END_MESSAGE_MAP()

CCorrelationMeterControlWnd::CCorrelationMeterControlWnd()
{
    kindName = "correlation meter";
    gridSpanX = 8;
    gridSpanY = 3;
    drawBorder = false;
    drawBackground = false;
}

BOOL CCorrelationMeterControlWnd::Create(const RECT& rect, CWnd* parent, UINT id)
{
    return CreateHost(rect, parent, id);
}

bool CCorrelationMeterControlWnd::CreateGraph(const RECT& rect, UINT id)
{
    return graph.Create(this, rect, id) != FALSE;
}
