#pragma once

#include "controls/base/double_buffered_paint.h"
#include "platform/mfc/afxwin.h"

// A graph's window: a visible child of its own class name, with the arrow cursor.
BOOL CreateGraphWindow(CWnd& graph, CWnd* parent, const RECT& rect, UINT id, LPCTSTR windowName,
                       DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS);

// Invalidates the whole graph without erase, when its window exists.
void RepaintGraph(CWnd& graph);

// One paint through the graph's Draw, double-buffered, at the client's size.
template <class Graph> void PaintGraph(Graph& graph)
{
    PaintDoubleBuffered(graph,
                        [&graph](Gdiplus::Graphics& graphics, const RECT& client)
                        {
                            typename Graph::State state = graph.GetState();
                            state.size = CSize(client.right, client.bottom);
                            Graph::Draw(graphics, state);
                        });
}
