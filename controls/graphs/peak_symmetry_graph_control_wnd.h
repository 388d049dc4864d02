#pragma once

#include "controls/graphs/graph_host_control.h"
#include "controls/graphs/peak_symmetry_graph_wnd.h"

// The grid's host of a peak symmetry graph.
class CPeakSymmetryGraphControlWnd : public CGraphHostControl
{
    DECLARE_DYNAMIC(CPeakSymmetryGraphControlWnd)

public:
    CPeakSymmetryGraphControlWnd();

    State GetState() const { return HostState(); }
    BOOL Create(const RECT& rect, CWnd* parent, UINT id) override;
    CSize GetPreferredSize() const override { return CSize(320, 220); }

    CPeakSymmetryGraphWnd& GetGraph() { return graph; }

protected:
    bool CreateGraph(const RECT& rect, UINT id) override;
    CWnd& Graph() override { return graph; }
    UINT GraphId() const override { return 18340; }
    DECLARE_MESSAGE_MAP()

private:
    CPeakSymmetryGraphWnd graph;
};
