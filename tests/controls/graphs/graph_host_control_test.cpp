#include "controls/graphs/correlation_meter_control_wnd.h"
#include "controls/graphs/goniometer_control_wnd.h"
#include "controls/graphs/peak_symmetry_graph_control_wnd.h"
#include "controls/graphs/stereo_field_graph_control_wnd.h"
#include "platform/win32/test_hooks.h"
#include "tests/controls/control_test_kit.h"

#include <gtest/gtest.h>

#include <memory>

class GraphHosts : public ControlTest
{
};

TEST_F(GraphHosts, CarryTheirKindsSpansAndInnerGraphs)
{
    CStereoFieldGraphControlWnd field;
    CCorrelationMeterControlWnd correlation;
    CGoniometerControlWnd goniometer;
    CPeakSymmetryGraphControlWnd symmetry;
    struct Row
    {
        CBaseControlWnd& host;
        const char* kind;
        CSize span;
        CSize preferred;
    };
    const Row rows[] = {{field, "stereo field graph", CSize(9, 5), CSize(360, 220)},
                        {correlation, "correlation meter", CSize(8, 3), CSize(320, 128)},
                        {goniometer, "goniometer", CSize(8, 5), CSize(320, 220)},
                        {symmetry, "peak_symmetry_graph", CSize(8, 5), CSize(320, 220)}};
    int y = 10;
    for (const Row& row : rows)
    {
        EXPECT_EQ(row.host.GetKindName(), row.kind);
        EXPECT_EQ(row.host.GetGridSpan(), row.span);
        EXPECT_EQ(row.host.GetPreferredSize(), row.preferred);
        EXPECT_FALSE(row.host.GetDrawBorder() || row.host.GetDrawBackground());
        CreateIn(row.host, CRect(CPoint(10, y), row.preferred));
        EXPECT_EQ(row.host.GetStyle(), 0x56000000u);
        y += 10;
    }
    // The inner graph covers the host.
    CRect inner;
    correlation.GetGraph().GetClientRect(&inner);
    EXPECT_EQ(inner.Size(), CSize(320, 128));
    EXPECT_EQ(correlation.GetGraph().GetDlgCtrlID(), 9473);
    correlation.MoveWindow(10, 10, 400, 150);
    correlation.GetGraph().GetClientRect(&inner);
    EXPECT_EQ(inner.Size(), CSize(400, 150));
}

TEST_F(GraphHosts, ABlankHostHidesItsGraphAndPaintsOneColour)
{
    CGoniometerControlWnd host;
    CreateIn(host, CRect(10, 10, 330, 230));
    host.SetBackgroundColor(RGB(70, 10, 10));
    host.SetBlank(true);
    EXPECT_FALSE(host.GetGraph().IsWindowVisible());
    WindowPicture picture;
    host.UpdateWindow();
    ASSERT_TRUE(ComposeWindowPicture(host.GetSafeHwnd(), picture));
    for (const auto& [x, y] : {std::pair{0, 0}, {160, 110}, {319, 219}})
    {
        EXPECT_EQ(picture.ColorAt(x, y), RGB(70, 10, 10));
    }
    host.SetBlank(false);
    EXPECT_TRUE(host.GetGraph().IsWindowVisible());

    // The correlation host keeps its own colour behind its graph.
    CCorrelationMeterControlWnd correlation;
    EXPECT_EQ(correlation.GetState().solid, 0x100E0Cu);
}

TEST_F(GraphHosts, FailToBeCreatedWithoutTheirGraph)
{
    CPeakSymmetryGraphControlWnd host;
    FailNextCreate(2); // the host's own creation is the first
    EXPECT_FALSE(host.Create(CRect(10, 10, 330, 230), &parent, 1));
    EXPECT_FALSE(::IsWindow(host.GetSafeHwnd()));
}
