#pragma once

#include "controls/graphs/graph_host_control.h"
#include "controls/graphs/goniometer_wnd.h"

// The grid's host of a goniometer.
class CGoniometerControlWnd : public CGraphHostControl
{
    DECLARE_DYNAMIC(CGoniometerControlWnd)

public:
    CGoniometerControlWnd();

    State GetState() const { return HostState(); }
    BOOL Create(const RECT& rect, CWnd* parent, UINT id) override;
    CSize GetPreferredSize() const override { return CSize(320, 220); }

    CGoniometerWnd& GetGraph() { return graph; }

protected:
    bool CreateGraph(const RECT& rect, UINT id) override;
    CWnd& Graph() override { return graph; }
    UINT GraphId() const override { return 18339; }
    DECLARE_MESSAGE_MAP()

private:
    CGoniometerWnd graph;
};
