#include "controls/graphs/goniometer_control_wnd.h"

IMPLEMENT_DYNAMIC(CGoniometerControlWnd, CBaseControlWnd)

BEGIN_MESSAGE_MAP(CGoniometerControlWnd, CGraphHostControl)
ON_WM_CREATE()
ON_WM_SIZE()
ON_WM_ERASEBKGND()
ON_WM_PAINT()
END_MESSAGE_MAP()

CGoniometerControlWnd::CGoniometerControlWnd()
{
    kindName = "goniometer";
    gridSpanX = 8;
    gridSpanY = 5;
    drawBorder = false;
    drawBackground = false;
}

BOOL CGoniometerControlWnd::Create(const RECT& rect, CWnd* parent, UINT id)
{
    return CreateHost(rect, parent, id);
}

bool CGoniometerControlWnd::CreateGraph(const RECT& rect, UINT id)
{
    return graph.Create(this, rect, id) != FALSE;
}
