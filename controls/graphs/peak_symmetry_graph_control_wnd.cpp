#include "controls/graphs/peak_symmetry_graph_control_wnd.h"

IMPLEMENT_DYNAMIC(CPeakSymmetryGraphControlWnd, CBaseControlWnd)

BEGIN_MESSAGE_MAP(CPeakSymmetryGraphControlWnd, CGraphHostControl)
ON_WM_CREATE()
ON_WM_SIZE()
ON_WM_ERASEBKGND()
ON_WM_PAINT()
END_MESSAGE_MAP()

CPeakSymmetryGraphControlWnd::CPeakSymmetryGraphControlWnd()
{
    kindName = "peak_symmetry_graph";
    gridSpanX = 8;
    gridSpanY = 5;
    drawBorder = false;
    drawBackground = false;
}

BOOL CPeakSymmetryGraphControlWnd::Create(const RECT& rect, CWnd* parent, UINT id)
{
    return CreateHost(rect, parent, id);
}

bool CPeakSymmetryGraphControlWnd::CreateGraph(const RECT& rect, UINT id)
{
    return graph.Create(this, rect, id) != FALSE;
}
