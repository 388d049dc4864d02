#pragma once

#include "controls/graphs/graph_host_control.h"
#include "controls/graphs/stereo_field_graph_wnd.h"

// The grid's host of a stereo field graph.
class CStereoFieldGraphControlWnd : public CGraphHostControl
{
    DECLARE_DYNAMIC(CStereoFieldGraphControlWnd)

public:
    CStereoFieldGraphControlWnd();

    State GetState() const { return HostState(); }
    BOOL Create(const RECT& rect, CWnd* parent, UINT id) override;
    CSize GetPreferredSize() const override { return CSize(360, 220); }

    CStereoFieldGraphWnd& GetGraph() { return graph; }

protected:
    bool CreateGraph(const RECT& rect, UINT id) override;
    CWnd& Graph() override { return graph; }
    UINT GraphId() const override { return 18337; }
    DECLARE_MESSAGE_MAP()

private:
    CStereoFieldGraphWnd graph;
};
