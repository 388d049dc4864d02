#pragma once

#include "controls/graphs/correlation_meter_wnd.h"
#include "controls/graphs/graph_host_control.h"

// The grid's host of a correlation meter.
class CCorrelationMeterControlWnd : public CGraphHostControl
{
    DECLARE_DYNAMIC(CCorrelationMeterControlWnd)

public:
    CCorrelationMeterControlWnd();

    State GetState() const { return HostState(); }
    BOOL Create(const RECT& rect, CWnd* parent, UINT id) override;
    CSize GetPreferredSize() const override { return CSize(320, 128); }

    CCorrelationMeterWnd& GetGraph() { return graph; }

protected:
    bool CreateGraph(const RECT& rect, UINT id) override;
    CWnd& Graph() override { return graph; }
    UINT GraphId() const override { return 9473; }
    // Its own surface colour, whatever the grid's background.
    COLORREF SolidColor() const override { return brvl::palette::kControlSurface; }
    DECLARE_MESSAGE_MAP()

private:
    CCorrelationMeterWnd graph;
};
