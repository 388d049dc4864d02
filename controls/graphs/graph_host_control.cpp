#include "controls/graphs/graph_host_control.h"

#include "controls/base/client_state.h"
#include "platform/gdiplus/gdiplus.h"

void CGraphHostControl::Draw(Gdiplus::Graphics& graphics, const State& state)
{
    graphics.Clear(Gdiplus::ColorFromRef(state.solid));
}

CGraphHostControl::State CGraphHostControl::HostState() const
{
    State state = ClientStateOf<State>(*this);
    state.solid = SolidColor();
    return state;
}

BOOL CGraphHostControl::CreateHost(const RECT& rect, CWnd* parent, UINT id)
{
    return CreateControlWindow(rect, parent, id, IDC_ARROW, false,
                               WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN);
}

void CGraphHostControl::SetBackgroundColor(COLORREF color)
{
    CBaseControlWnd::SetBackgroundColor(color);
    if (::IsWindow(Graph().GetSafeHwnd()))
    {
        Graph().Invalidate(FALSE);
    }
}

void CGraphHostControl::SetBlank(bool makeBlank)
{
    CBaseControlWnd::SetBlank(makeBlank);
    if (::IsWindow(Graph().GetSafeHwnd()))
    {
        Graph().ShowWindow(makeBlank ? SW_HIDE : SW_SHOW);
    }
}

int CGraphHostControl::OnCreate(LPCREATESTRUCT cs)
{
    if (CBaseControlWnd::OnCreate(cs) == -1 || !CreateGraph(RECT{0, 0, 16, 16}, GraphId()))
    {
        return -1; // a host without its graph is not created
    }
    LayOutGraph();
    return 0;
}

void CGraphHostControl::OnSize(UINT type, int cx, int cy)
{
    CBaseControlWnd::OnSize(type, cx, cy);
    LayOutGraph();
}

void CGraphHostControl::LayOutGraph()
{
    if (!::IsWindow(Graph().GetSafeHwnd()))
    {
        return;
    }
    CRect client;
    GetClientRect(&client);
    Graph().MoveWindow(&client, TRUE);
    Graph().ShowWindow(blank ? SW_HIDE : SW_SHOW);
}

void CGraphHostControl::OnPaint()
{
    PaintBuffered(*this,
                  [this](Gdiplus::Graphics& graphics, const RECT& client)
                  {
                      State state = HostState();
                      state.size = CSize(client.right, client.bottom);
                      Draw(graphics, state);
                  });
}
