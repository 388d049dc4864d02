#include "controls/graphs/stereo_field_graph_control_wnd.h"

IMPLEMENT_DYNAMIC(CStereoFieldGraphControlWnd, CBaseControlWnd)

BEGIN_MESSAGE_MAP(CStereoFieldGraphControlWnd, CGraphHostControl)
ON_WM_CREATE()
ON_WM_SIZE()
ON_WM_ERASEBKGND()
ON_WM_PAINT()
END_MESSAGE_MAP()

CStereoFieldGraphControlWnd::CStereoFieldGraphControlWnd()
{
    kindName = "stereo field graph";
    gridSpanX = 9;
    gridSpanY = 5;
    drawBorder = false;
    drawBackground = false;
}

BOOL CStereoFieldGraphControlWnd::Create(const RECT& rect, CWnd* parent, UINT id)
{
    return CreateHost(rect, parent, id);
}

bool CStereoFieldGraphControlWnd::CreateGraph(const RECT& rect, UINT id)
{
    return graph.Create(this, rect, id) != FALSE;
}
