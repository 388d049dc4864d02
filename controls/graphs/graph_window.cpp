#include "controls/graphs/graph_window.h"

BOOL CreateGraphWindow(CWnd& graph, CWnd* parent, const RECT& rect, UINT id, LPCTSTR windowName,
                       DWORD style)
{
    const LPCTSTR windowClass =
        AfxRegisterWndClass(CS_HREDRAW | CS_VREDRAW, ::LoadCursor(nullptr, IDC_ARROW),
                            static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH)));
    return graph.CreateEx(0, windowClass, windowName, style, rect, parent, id);
}

void RepaintGraph(CWnd& graph)
{
    if (::IsWindow(graph.GetSafeHwnd()))
    {
        ::InvalidateRect(graph.GetSafeHwnd(), nullptr, FALSE);
    }
}
