// The packer over a table of layouts: column counts, first fit, bands,
// reservation, liveness, rectangles, and layouts nobody should have written.

#include "grid/grid_packer.h"

#include "tests/grid/cell_wnd.h"
#include "tests/platform/test_windows.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace
{

std::string Cells(const std::vector<GridPlacement>& placements)
{
    std::ostringstream text;
    for (const GridPlacement& p : placements)
    {
        text << '(' << p.col << ',' << p.row << ' ' << p.spanX << 'x' << p.spanY << ')';
    }
    return text.str();
}

bool InWindowRange(const RECT& r)
{
    const auto in = [](LONG v) { return v >= -32768 && v <= 32767; };
    return in(r.left) && in(r.top) && in(r.right) && in(r.bottom);
}

class GridPackerTest : public WindowTest
{
protected:
    void SetUp() override { ASSERT_TRUE(parent.CreateTopLevel(CRect(0, 0, 800, 600))); }

    // A control whose window exists, or one that was never created.
    CBaseControlWnd* Live()
    {
        cells.push_back(std::make_unique<CCellWnd>());
        EXPECT_TRUE(
            cells.back()->Create(CRect(0, 0, 10, 10), &parent, static_cast<UINT>(cells.size())));
        return cells.back().get();
    }
    CBaseControlWnd* Windowless()
    {
        cells.push_back(std::make_unique<CCellWnd>());
        return cells.back().get();
    }

    // The packer's input, as a panel fills it.
    void Explicit(int col, int row, int sx, int sy, CBaseControlWnd* control = nullptr)
    {
        packer.explicitEntries.push_back({control ? control : Live(), col, row, sx, sy});
    }
    void Flow(int sx, int sy, CBaseControlWnd* control = nullptr)
    {
        if (packer.flowGroups.empty())
        {
            packer.flowGroups.emplace_back();
        }
        packer.flowGroups.back().push_back({control ? control : Live(), sx, sy});
    }
    void Group() { packer.flowGroups.emplace_back(); }

    std::vector<GridPlacement> Pack(const GridPackParams& params, RECT* bounds = nullptr)
    {
        std::vector<GridPlacement> out;
        packer.Pack(params, out, bounds);
        return out;
    }

    // Columns in use once enough 1 x 1 entries have filled the first row.
    static int ColumnsUsed(const std::vector<GridPlacement>& placements)
    {
        int columns = 0;
        for (const GridPlacement& p : placements)
        {
            columns = std::max(columns, p.col + p.spanX);
        }
        return columns;
    }

    RecordingWnd parent{"parent", log};
    std::vector<std::unique_ptr<CCellWnd>> cells;
    GridPacker packer;
};

GridPackParams Params(int mode, int columns, int width, int minColumns, int maxColumns)
{
    return GridPackParams{mode, columns, width, minColumns, maxColumns};
}

} // namespace

TEST_F(GridPackerTest, ChoosesTheColumnCountByMode)
{
    struct Case
    {
        const char* what;
        GridPackParams params;
        int cellSize;
        int gap;
        int wideFlowSpan; // a flow entry this wide first, 0 for none
        int explicitCol;  // an explicit 2 x 1 entry at this column, -1 for none
        int expectedColumns;
    };
    const Case cases[] = {
        {"6 cells of 40 and their gaps fit 250 px", Params(2, 1, 250, 1, 16), 40, 2, 0, -1, 6},
        {"a width of 0 fits one cell", Params(2, 1, 0, 1, 16), 40, 2, 0, -1, 1},
        {"minColumns decides when too few fit", Params(2, 1, 0, 3, 16), 40, 2, 0, -1, 3},
        {"the width is capped by maxColumns", Params(2, 1, 1900, 1, 16), 40, 2, 0, -1, 16},
        {"min 8 above max 4 raises the upper bound", Params(2, 1, 1900, 8, 4), 40, 2, 0, -1, 8},
        {"cellSize 0 fits one", Params(2, 1, 1900, 2, 16), 0, 2, 0, -1, 2},
        {"a negative cellSize fits one", Params(2, 1, 1900, 1, 16), -40, 2, 0, -1, 1},
        {"cellSize + gap of 0 fits one", Params(2, 1, 1900, 1, 16), 10, -10, 0, -1, 1},
        {"cellSize + gap below 0 fits one", Params(2, 1, 1900, 1, 16), 10, -30, 0, -1, 1},
        {"a wide entry raises the fitted count", Params(2, 1, 100, 1, 16), 40, 2, 5, -1, 5},
        {"fixed columns as asked", Params(1, 4, 0, 0, 0), 40, 2, 0, -1, 4},
        {"columns 2 with a 3-wide entry", Params(1, 2, 0, 0, 0), 40, 2, 3, -1, 3},
        {"an unplaced explicit entry at col 5 widens to 7", Params(1, 1, 0, 0, 0), 40, 2, 0, 5, 7},
        {"columns 0 gives 1", Params(1, 0, 0, 0, 0), 40, 2, 0, -1, 1},
        {"columns -3 gives 1", Params(1, -3, 0, 0, 0), 40, 2, 0, -1, 1},
        {"dense fixed counts as fixed", Params(3, 5, 0, 0, 0), 40, 2, 0, -1, 5},
        {"dense fitted counts as fitted", Params(4, 1, 250, 1, 16), 40, 2, 0, -1, 6},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        packer = GridPacker{};
        packer.cellSize = c.cellSize;
        packer.gap = c.gap;
        if (c.wideFlowSpan > 0)
        {
            Flow(c.wideFlowSpan, 1);
        }
        if (c.explicitCol >= 0)
        {
            Explicit(c.explicitCol, 0, 2, 1);
        }
        for (int i = 0; i < 20; ++i)
        {
            Flow(1, 1);
        }
        EXPECT_EQ(ColumnsUsed(Pack(c.params)), c.expectedColumns);
    }
}

TEST_F(GridPackerTest, PlacesEntriesAndOrdersTheOutput)
{
    struct Case
    {
        const char* what;
        GridPackParams params;
        std::function<void()> fill;
        const char* expected; // cells and spans, in output order
    };
    const Case cases[] = {
        {"first fit: a small entry fills the hole beside a larger one", Params(1, 4, 0, 0, 0),
         [this]
         {
             Flow(3, 2);
             Flow(2, 1);
             Flow(1, 1);
         },
         "(0,0 3x2)(0,2 2x1)(3,0 1x1)"},
        {"a new group starts a band below everything placed", Params(1, 4, 0, 0, 0),
         [this]
         {
             Flow(1, 1);
             Group();
             Flow(1, 1);
             Flow(1, 1);
         },
         "(0,0 1x1)(0,1 1x1)(1,1 1x1)"},
        {"an empty group changes nothing", Params(1, 4, 0, 0, 0),
         [this]
         {
             Flow(2, 2);
             Group();
             Group();
             Flow(1, 1);
         },
         "(0,0 2x2)(0,2 1x1)"},
        {"dense: flow entries go around a reserved 2 x 2, explicit placements first",
         Params(3, 4, 0, 0, 0),
         [this]
         {
             Flow(1, 1);
             Flow(1, 1);
             Flow(1, 1);
             Flow(1, 1);
             Explicit(1, 0, 2, 2);
         },
         "(1,0 2x2)(0,0 1x1)(3,0 1x1)(0,1 1x1)(3,1 1x1)"},
        {"dense: explicit spans are raised to 1, overlaps are not tested", Params(3, 4, 0, 0, 0),
         [this]
         {
             Explicit(0, 0, 0, -2);
             Explicit(0, 0, 2, 1);
             Flow(1, 1);
         },
         "(0,0 1x1)(0,0 2x1)(2,0 1x1)"},
        {"explicit only: as stored, overlapping and negative, flow ignored", Params(0, 4, 0, 0, 0),
         [this]
         {
             Flow(1, 1);
             Explicit(0, 0, 2, 2);
             Explicit(1, 1, 1, 1);
             Explicit(-1, -2, 0, 3);
         },
         "(0,0 2x2)(1,1 1x1)(-1,-2 0x3)"},
        {"an unknown mode places as explicit only", Params(7, 4, 0, 0, 0),
         [this]
         {
             Flow(1, 1);
             Explicit(2, 3, 1, 1);
         },
         "(2,3 1x1)"},
        {"explicit only with only flow entries places nothing", Params(0, 4, 0, 0, 0),
         [this] { Flow(1, 1); }, ""},
        {"fixed columns with only explicit entries places nothing", Params(1, 4, 0, 0, 0),
         [this] { Explicit(0, 0, 1, 1); }, ""},
        {"fitted columns with only explicit entries places nothing", Params(2, 1, 400, 1, 16),
         [this] { Explicit(0, 0, 1, 1); }, ""},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        packer = GridPacker{};
        c.fill();
        EXPECT_EQ(Cells(Pack(c.params)), c.expected);
    }
}

TEST_F(GridPackerTest, LeavesOutControlsWithoutAWindowEverywhere)
{
    CBaseControlWnd* gone = Live();
    gone->DestroyWindow();
    for (const int mode : {0, 1, 2, 3, 4})
    {
        SCOPED_TRACE(mode);
        packer = GridPacker{};
        CBaseControlWnd* first = Live();
        CBaseControlWnd* second = Live();
        Explicit(9, 0, 2, 1, Windowless());
        Explicit(1, 0, 1, 1, second);
        packer.explicitEntries.push_back({nullptr, 12, 0, 1, 1});
        Flow(9, 1, gone);
        Flow(1, 1, first);
        packer.flowGroups.back().push_back({nullptr, 9, 1});
        EXPECT_EQ(packer.RequiredColumns(), 2) << "only live entries are counted";

        const std::vector<GridPlacement> out = Pack(Params(mode, 1, 0, 1, 1));
        for (const GridPlacement& p : out)
        {
            EXPECT_TRUE(p.control == first || p.control == second);
        }
        const size_t expected = mode <= 2 ? 1 : 2; // dense modes place both
        EXPECT_EQ(out.size(), expected);
    }
}

TEST_F(GridPackerTest, GivesCellRectanglesAndTheirUnion)
{
    packer.cellSize = 40;
    packer.gap = 2;
    packer.originX = 5;
    packer.originY = 7;
    Explicit(1, 2, 2, 3);
    Explicit(0, 0, 1, 1);

    RECT bounds{1, 2, 3, 4};
    const std::vector<GridPlacement> out = Pack(Params(0, 1, 0, 1, 1), &bounds);
    ASSERT_EQ(out.size(), 2u);
    // Spans never include a trailing gap: neighbours lie exactly one gap apart.
    EXPECT_EQ(CRect(out[0].rect), CRect(47, 91, 129, 215));
    EXPECT_EQ(CRect(out[1].rect), CRect(5, 7, 45, 47));
    EXPECT_EQ(CRect(bounds), CRect(5, 7, 129, 215));

    packer = GridPacker{};
    RECT none{1, 2, 3, 4};
    EXPECT_TRUE(Pack(Params(2, 1, 400, 1, 16), &none).empty());
    EXPECT_EQ(CRect(none), CRect(0, 0, 0, 0)) << "no live entries leave the union empty";
}

TEST_F(GridPackerTest, KeepsHugeCellsInsideTheWindowRange)
{
    struct Case
    {
        const char* what;
        int mode;
        int explicitCol;
        int explicitRow;
        const char* expected;
    };
    const Case cases[] = {
        {"explicit only places the far cell as stored", 0, 2000000000, 0, "(2000000000,0 1x1)"},
        {"explicit only, the lowest cell", 0, INT_MIN, INT_MIN, "(-2147483648,-2147483648 1x1)"},
        // Counted, the far cell would ask for 2e9 columns; the grid stops at 4096.
        {"fitted columns count the far cell up to the bound", 2, 2000000000, 0,
         "(0,0 1x1)(1,0 1x1)(2,0 1x1)"},
        {"dense columns skip the far cell", 4, 2000000000, 0, "(0,0 1x1)(1,0 1x1)(2,0 1x1)"},
        {"dense columns skip a negative cell", 3, -1, 0, "(0,0 1x1)(1,0 1x1)(2,0 1x1)"},
        {"dense columns skip a cell above the first row", 3, 0, -5, "(0,0 1x1)(1,0 1x1)(2,0 1x1)"},
        {"dense columns skip a cell past the last row", 4, 0, 4095 + 1,
         "(0,0 1x1)(1,0 1x1)(2,0 1x1)"},
        {"dense columns keep a cell on the last row", 4, 0, 4095,
         "(0,4095 1x1)(0,0 1x1)(1,0 1x1)(2,0 1x1)"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        packer = GridPacker{};
        Explicit(c.explicitCol, c.explicitRow, 1, 1);
        for (int i = 0; i < 3; ++i)
        {
            Flow(1, 1);
        }
        RECT bounds{};
        const std::vector<GridPlacement> out = Pack(Params(c.mode, 4, 1900, 1, 16), &bounds);
        EXPECT_EQ(Cells(out), c.expected);
        for (const GridPlacement& p : out)
        {
            EXPECT_TRUE(InWindowRange(p.rect));
        }
        EXPECT_TRUE(InWindowRange(bounds));
    }
    packer = GridPacker{};
    Explicit(2000000000, 0, 1, 1);
    EXPECT_EQ(packer.RequiredColumns(), GridPacker::kMaxCells);
    const std::vector<GridPlacement> far = Pack(Params(0, 1, 0, 1, 1));
    ASSERT_EQ(far.size(), 1u);
    EXPECT_EQ(far[0].rect.left, 32767);
}

TEST_F(GridPackerTest, SurvivesLayoutsNobodyShouldWrite)
{
    struct Case
    {
        const char* what;
        GridPackParams params;
        int cellSize;
        int gap;
        int col, row, spanX, spanY; // one explicit entry
        int flowSpanX, flowSpanY;   // two flow entries
    };
    const Case cases[] = {
        {"spans 0", Params(3, 4, 0, 0, 0), 40, 2, 0, 0, 0, 0, 0, 0},
        {"negative spans", Params(4, 1, 300, 1, 16), 40, 2, 1, 1, -5, -7, -3, -9},
        {"INT_MAX spans", Params(1, 2, 0, 0, 0), 40, 2, 0, 0, INT_MAX, INT_MAX, INT_MAX, INT_MAX},
        {"INT_MAX spans, dense", Params(3, 2, 0, 0, 0), 40, 2, 1, 1, INT_MAX, INT_MAX, INT_MAX, 1},
        {"INT_MAX spans, explicit only", Params(0, 2, 0, 0, 0), INT_MAX, INT_MAX, INT_MAX, INT_MAX,
         INT_MAX, INT_MAX, 1, 1},
        {"INT_MIN cells and lengths", Params(0, 2, 0, 0, 0), INT_MIN, INT_MIN, INT_MIN, INT_MIN,
         INT_MIN, INT_MIN, 1, 1},
        {"INT_MAX cells, fixed", Params(1, 2, 0, 0, 0), 40, 2, INT_MAX, INT_MAX, 1, 1, 1, 1},
        {"INT_MAX cells, dense", Params(4, 2, INT_MAX, INT_MAX, INT_MAX), 40, INT_MAX, INT_MAX,
         INT_MAX, 2, 2, 1, 1},
        {"columns INT_MAX", Params(1, INT_MAX, 0, 0, 0), 40, 2, 0, 0, 1, 1, 1, 1},
        {"columns INT_MAX, dense", Params(3, INT_MAX, 0, 0, 0), 40, 2, 4095, 0, 1, 1, 1, 1},
        {"min above max, INT_MAX", Params(2, 0, 100, INT_MAX, 1), 40, 2, 0, 0, 1, 1, 1, 1},
        {"width INT_MAX, gap INT_MAX", Params(2, 0, INT_MAX, 1, INT_MAX), 1, INT_MAX, 0, 0, 1, 1, 1,
         1},
        {"cellSize 0", Params(2, 0, 500, 1, 8), 0, 0, 0, 0, 3, 3, 2, 2},
        {"negative cellSize", Params(4, 0, 500, 1, 8), -40, 2, 0, 0, 3, 3, 2, 2},
        {"negative pitch", Params(2, 0, 500, 1, 8), 10, -50, 0, 0, 3, 3, 2, 2},
        {"negative origin far away", Params(1, 3, 0, 0, 0), 40, 2, 0, 0, 1, 1, 1, 1},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        packer = GridPacker{};
        packer.cellSize = c.cellSize;
        packer.gap = c.gap;
        packer.originX = INT_MIN + 7;
        packer.originY = INT_MAX - 7;
        Explicit(c.col, c.row, c.spanX, c.spanY);
        Flow(c.flowSpanX, c.flowSpanY);
        Flow(c.flowSpanX, c.flowSpanY);
        RECT bounds{};
        const std::vector<GridPlacement> out = Pack(c.params, &bounds);
        EXPECT_LE(out.size(), 3u);
        EXPECT_LE(packer.RequiredColumns(), GridPacker::kMaxCells);
        for (const GridPlacement& p : out)
        {
            EXPECT_TRUE(InWindowRange(p.rect)) << Cells({p});
        }
        EXPECT_TRUE(InWindowRange(bounds));
    }
}

TEST_F(GridPackerTest, PacksColumnsDirectlyWithoutOverrunningTheGrid)
{
    // Callers other than Pack may hand fewer columns than the entries need.
    Explicit(3, 0, 2, 1);
    Flow(5, 1);
    Flow(1, 1);
    std::vector<GridPlacement> out;
    packer.PackColumns(2, true, out);
    EXPECT_EQ(Cells(out), "(0,0 1x1)");
    out.clear();
    packer.PackColumns(0, true, out);
    packer.PackColumns(-4, false, out);
    EXPECT_TRUE(out.empty()) << "fewer than one column places nothing";
    packer.EnsureRows(-3, -3);
    packer.EnsureRows(INT_MAX, INT_MAX); // held to the grid's bounds, not 2^62 cells
}
