// The layout tree lives in controls/; it is tested here beside the view that
// builds the main one, over windows of the platform stand-in.
#include "controls/layout_tree.h"

#include "platform/win32/test_hooks.h"
#include "tests/platform/test_windows.h"

#include <gtest/gtest.h>

#include <climits>
#include <numeric>
#include <string>
#include <vector>

namespace
{

bool SameRect(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

std::string Text(const RECT& r)
{
    return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + "," +
           std::to_string(r.right) + "," + std::to_string(r.bottom) + ")";
}

std::vector<int> Extents(const LayoutNode& node)
{
    std::vector<int> extents;
    for (const auto& child : node.children)
    {
        extents.push_back(child->extent);
    }
    return extents;
}

struct Child
{
    bool stretch;
    int minimum;
    int maximum;
    float weight;
};

// A vertical root of `height` with `gap`, its children laid out.
std::vector<int> LayOut(int height, int gap, const std::vector<Child>& children)
{
    LayoutTree tree;
    tree.SetGap(0, gap);
    int id = 1;
    for (const Child& child : children)
    {
        LayoutNode* node = tree.AddRow(id, child.stretch ? 1 : 0);
        tree.SetExtentLimits(id, child.minimum, child.maximum);
        node->weight = child.weight;
        ++id;
    }
    tree.SetBounds(RECT{0, 0, 200, height});
    return Extents(tree.Root());
}

} // namespace

TEST(LayoutTreeExtents, ChildrenShareTheAxisAsTheirLimitsAndWeightsSay)
{
    struct Case
    {
        const char* what;
        int height;
        int gap;
        std::vector<Child> children;
        std::vector<int> extents;
    };
    const Case cases[] = {
        {"a fixed row", 500, 8, {{false, 52, 52, 1}, {true, 0, INT_MAX, 1}}, {52, 440}},
        {"fixed rows shrink in proportion",
         100,
         12,
         {{false, 52, 52, 1}, {false, 120, 120, 1}, {false, 50, 50, 1}, {true, 0, INT_MAX, 1}},
         {15, 35, 14, 0}},
        {"shrinking never leaves a row below zero",
         1,
         0,
         {{false, 1, 1, 1}, {false, 1, 1, 1}, {false, 0, 0, 1}},
         {1, 0, 0}},
        {"two equal stretching rows",
         301,
         0,
         {{true, 0, INT_MAX, 1}, {true, 0, INT_MAX, 1}},
         {151, 150}},
        {"a minimum above the share",
         300,
         0,
         {{true, 200, INT_MAX, 1}, {true, 0, INT_MAX, 1}},
         {200, 100}},
        {"a maximum below the share", 300, 0, {{true, 0, 50, 1}, {true, 0, INT_MAX, 1}}, {50, 250}},
        {"weights", 400, 0, {{true, 0, INT_MAX, 3}, {true, 0, INT_MAX, 1}}, {300, 100}},
        {"no weight at all shares equally",
         300,
         0,
         {{true, 0, INT_MAX, 0}, {true, 0, INT_MAX, 0}, {true, 0, INT_MAX, 0}},
         {100, 100, 100}},
        {"rounding up never leaves the last row below zero",
         2,
         0,
         {{true, 0, INT_MAX, 1},
          {true, 0, INT_MAX, 1},
          {true, 0, INT_MAX, 1},
          {true, 0, INT_MAX, 1}},
         {1, 1, 0, 0}},
        {"fixed rows alone leave the rest empty",
         500,
         10,
         {{false, 40, 40, 1}, {false, 60, 60, 1}},
         {40, 60}},
        {"no room after the gaps",
         20,
         10,
         {{false, 5, 5, 1}, {true, 0, INT_MAX, 1}, {false, 5, 5, 1}},
         {0, 0, 0}},
        {"limits near the top of int",
         100,
         0,
         {{false, INT_MAX, INT_MAX, 1}, {false, INT_MAX, INT_MAX, 1}},
         {50, 50}},
    };
    for (const Case& c : cases)
    {
        const std::vector<int> extents = LayOut(c.height, c.gap, c.children);
        EXPECT_EQ(extents, c.extents) << c.what;
        for (int extent : extents)
        {
            EXPECT_GE(extent, 0) << c.what;
        }
    }
}

TEST(LayoutTreeExtents, RowsFollowOneAnotherAndColumnsNestInThem)
{
    LayoutTree tree;
    tree.SetGap(0, 6);
    tree.AddRow(1, 0);
    tree.SetExtentLimits(1, 52, 52);
    LayoutNode* body = tree.AddRow(5, 1);
    ASSERT_NE(body, nullptr);
    ASSERT_NE(body->AddColumn(6, 1), nullptr);
    ASSERT_NE(body->AddColumn(7, 0), nullptr);
    tree.SetExtentLimits(7, 90, 90);
    tree.SetGap(5, 4);
    tree.SetBounds(RECT{10, 20, 510, 520});

    EXPECT_TRUE(SameRect(tree.GetNodeRect(1), RECT{10, 20, 510, 72})) << Text(tree.GetNodeRect(1));
    EXPECT_TRUE(SameRect(tree.GetNodeRect(5), RECT{10, 78, 510, 520})) << Text(tree.GetNodeRect(5));
    EXPECT_TRUE(SameRect(tree.GetNodeRect(6), RECT{10, 78, 416, 520})) << Text(tree.GetNodeRect(6));
    EXPECT_TRUE(SameRect(tree.GetNodeRect(7), RECT{420, 78, 510, 520}))
        << Text(tree.GetNodeRect(7));
    EXPECT_TRUE(SameRect(tree.GetNodeRect(99), RECT{}));
}

TEST(LayoutTreeExtents, EmptyOrInvertedBoundsCollapseEveryNodeToTheCorner)
{
    for (const RECT bounds : {RECT{30, 40, 330, 40}, RECT{30, 40, 10, 5}})
    {
        LayoutTree tree;
        LayoutNode* row = tree.AddRow(1, 1);
        row->AddColumn(2, 1);
        row->AddColumn(3, 0);
        tree.SetBounds(bounds);
        for (int id : {1, 2, 3})
        {
            EXPECT_TRUE(SameRect(tree.GetNodeRect(id), RECT{30, 40, 30, 40}))
                << id << " in " << Text(bounds) << ": " << Text(tree.GetNodeRect(id));
        }
    }
}

TEST(LayoutTreeStructure, IdsAreUniqueAndRowsAndColumnsKeepTheirAxis)
{
    LayoutTree tree;
    LayoutNode* row = tree.AddRow(1, 1);
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(tree.Root().orientation, LayoutNode::kVertical);
    EXPECT_EQ(row->orientation, LayoutNode::kHorizontal);
    EXPECT_EQ(row->AddChild(1, 0, 0), nullptr) << "a second node 1";
    EXPECT_EQ(tree.AddRow(0, 0), nullptr) << "a second root";
    EXPECT_EQ(row->children.size(), 0u);

    LayoutNode* column = row->AddColumn(2, 1);
    ASSERT_NE(column, nullptr);
    EXPECT_EQ(column->orientation, LayoutNode::kVertical);
    ASSERT_NE(column->AddChild(3, 0, LayoutNode::kHorizontal), nullptr);
    EXPECT_EQ(column->AddColumn(4, 0), nullptr) << "a vertical node with children takes no column";
    EXPECT_FALSE(tree.Contains(4));

    LayoutTree sideways;
    sideways.Root().orientation = LayoutNode::kHorizontal;
    ASSERT_NE(sideways.Root().AddChild(1, 1, LayoutNode::kVertical), nullptr);
    EXPECT_EQ(sideways.AddRow(2, 1), nullptr) << "a horizontal root with children takes no row";

    // Limits and gaps are never negative; unknown ids are ignored.
    tree.SetExtentLimits(3, -20, -40);
    EXPECT_EQ(tree.FindNode(3)->minExtent, 0);
    EXPECT_EQ(tree.FindNode(3)->maxExtent, 0);
    tree.SetExtentLimits(3, 30, 10);
    EXPECT_EQ(tree.FindNode(3)->maxExtent, 30);
    tree.SetGap(2, -5);
    EXPECT_EQ(tree.FindNode(2)->gap, 0);
    tree.SetGap(42, 5);
    tree.SetExtentLimits(42, 5, 5);
    EXPECT_FALSE(tree.Contains(42));
}

class LayoutTreeWindows : public WindowTest
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(parent.CreateTopLevel(RECT{100, 100, 900, 700}));
        for (RecordingWnd* window : {&first, &second, &third})
        {
            ASSERT_TRUE(window->CreateChild(parent, RECT{1, 2, 11, 12}));
        }
        tree.SetGap(0, 10);
        tree.AddRow(1, 0);
        tree.SetExtentLimits(1, 52, 52);
        tree.AddRow(2, 1);
        Settle();
    }

    // The window's rectangle in its parent's client coordinates.
    static RECT Placed(const CWnd& window)
    {
        RECT r{};
        ::GetWindowRect(window.GetSafeHwnd(), &r);
        ::MapWindowPoints(nullptr, ::GetParent(window.GetSafeHwnd()), reinterpret_cast<POINT*>(&r),
                          2);
        return r;
    }

    static bool Visible(const CWnd& window) { return ::IsWindowVisible(window.GetSafeHwnd()); }

    RecordingWnd parent{"parent", log};
    RecordingWnd first{"first", log};
    RecordingWnd second{"second", log};
    RecordingWnd third{"third", log};
    LayoutTree tree;
};

TEST_F(LayoutTreeWindows, OneWindowOfASlotIsShownInTheSlotsRectangle)
{
    tree.AddWindowToSlot(2, first.GetSafeHwnd());
    tree.AddWindowToSlot(2, second.GetSafeHwnd());
    tree.AddWindowToSlot(2, second.GetSafeHwnd()); // listed once
    EXPECT_TRUE(Visible(first)) << "the first window of a slot keeps its visibility";
    EXPECT_FALSE(Visible(second)) << "a later window of a slot is hidden at once";
    EXPECT_TRUE(tree.IsWindowActiveInSlot(2, first.GetSafeHwnd()));
    EXPECT_FALSE(tree.IsWindowActiveInSlot(2, second.GetSafeHwnd()));

    tree.SetBounds(RECT{0, 0, 400, 300});
    EXPECT_TRUE(SameRect(Placed(first), RECT{0, 62, 400, 300})) << Text(Placed(first));
    EXPECT_TRUE(SameRect(Placed(second), RECT{1, 2, 11, 12})) << "a hidden window is not moved";

    tree.ShowWindowInSlot(2, second.GetSafeHwnd());
    EXPECT_TRUE(Visible(second));
    EXPECT_FALSE(Visible(first));
    EXPECT_TRUE(tree.IsWindowActiveInSlot(2, second.GetSafeHwnd()));
    EXPECT_TRUE(SameRect(Placed(second), RECT{0, 62, 400, 300})) << Text(Placed(second));

    // Showing the visible window again does nothing, not even a move.
    second.MoveWindow(5, 5, 20, 20);
    tree.ShowWindowInSlot(2, second.GetSafeHwnd());
    EXPECT_TRUE(SameRect(Placed(second), RECT{5, 5, 25, 25})) << Text(Placed(second));
}

TEST_F(LayoutTreeWindows, UnknownSlotsDeadAndUnlistedWindowsAreIgnored)
{
    tree.AddWindowToSlot(9, first.GetSafeHwnd());
    tree.AddWindowToSlot(2, nullptr);
    tree.AddWindowToSlot(1, second.GetSafeHwnd());
    tree.ShowWindowInSlot(1, third.GetSafeHwnd()); // not listed
    EXPECT_TRUE(Visible(third));
    EXPECT_FALSE(tree.IsWindowActiveInSlot(9, first.GetSafeHwnd()));
    EXPECT_FALSE(tree.IsWindowActiveInSlot(1, nullptr));

    tree.AddWindowToSlot(2, third.GetSafeHwnd());
    tree.AddWindowToSlot(2, first.GetSafeHwnd());
    const HWND dead = third.GetSafeHwnd();
    third.DestroyWindow();
    EXPECT_FALSE(tree.IsWindowActiveInSlot(2, dead)) << "a dead window is shown nowhere";
    tree.AddWindowToSlot(2, dead);
    tree.ShowWindowInSlot(2, dead);
    tree.SetBounds(RECT{0, 0, 400, 300}); // nothing to move in slot 2
    EXPECT_TRUE(SameRect(Placed(first), RECT{1, 2, 11, 12})) << Text(Placed(first));
    EXPECT_TRUE(SameRect(Placed(second), RECT{0, 0, 400, 52})) << Text(Placed(second));
    tree.ShowWindowInSlot(2, first.GetSafeHwnd());
    EXPECT_TRUE(SameRect(Placed(first), RECT{0, 62, 400, 300})) << Text(Placed(first));
}

TEST_F(LayoutTreeWindows, SetBoundsWithoutSlotsOnlyComputesRectangles)
{
    tree.SetBounds(RECT{0, 0, 400, 300});
    EXPECT_TRUE(SameRect(tree.GetNodeRect(2), RECT{0, 62, 400, 300}));
    EXPECT_TRUE(log.Of({WM_MOVE, WM_SIZE, WM_SHOWWINDOW}).empty());
}

TEST_F(LayoutTreeWindows, AFailedDeferredMoveAbandonsTheWholeBatch)
{
    tree.AddWindowToSlot(1, first.GetSafeHwnd());
    tree.AddWindowToSlot(2, second.GetSafeHwnd());
    FailNextDeferWindowPos();
    tree.SetBounds(RECT{0, 0, 400, 300});
    EXPECT_TRUE(SameRect(Placed(first), RECT{1, 2, 11, 12})) << Text(Placed(first));
    EXPECT_TRUE(SameRect(Placed(second), RECT{1, 2, 11, 12})) << Text(Placed(second));

    // The next layout moves both as one batch.
    tree.SetBounds(RECT{0, 0, 400, 300});
    EXPECT_TRUE(SameRect(Placed(first), RECT{0, 0, 400, 52})) << Text(Placed(first));
    EXPECT_TRUE(SameRect(Placed(second), RECT{0, 62, 400, 300})) << Text(Placed(second));

    // A failed move of a shown window leaves it where it was, shown.
    tree.AddWindowToSlot(2, third.GetSafeHwnd());
    FailNextDeferWindowPos();
    tree.ShowWindowInSlot(2, third.GetSafeHwnd());
    EXPECT_TRUE(Visible(third));
    EXPECT_TRUE(SameRect(Placed(third), RECT{1, 2, 11, 12})) << Text(Placed(third));
}

TEST_F(LayoutTreeWindows, ResetHidesEveryWindowAndForgetsTheNodes)
{
    tree.AddWindowToSlot(1, first.GetSafeHwnd());
    tree.AddWindowToSlot(2, second.GetSafeHwnd());
    tree.AddWindowToSlot(2, third.GetSafeHwnd());
    tree.ShowWindowInSlot(2, third.GetSafeHwnd());
    tree.SetBounds(RECT{0, 0, 400, 300});
    tree.Root().gap = 3;

    tree.Reset();
    for (const RecordingWnd* window : {&first, &second, &third})
    {
        EXPECT_FALSE(Visible(*window)) << window->Name();
    }
    EXPECT_TRUE(tree.Contains(0));
    EXPECT_FALSE(tree.Contains(1));
    EXPECT_FALSE(tree.Contains(2));
    EXPECT_TRUE(tree.Root().children.empty());
    EXPECT_EQ(tree.Root().gap, 0);
    EXPECT_EQ(tree.Root().orientation, LayoutNode::kVertical);
    EXPECT_TRUE(SameRect(tree.GetNodeRect(0), RECT{}));
    EXPECT_FALSE(tree.IsWindowActiveInSlot(2, third.GetSafeHwnd()));

    // The tree is built again as new.
    ASSERT_NE(tree.AddRow(2, 1), nullptr);
    tree.AddWindowToSlot(2, first.GetSafeHwnd());
    tree.ShowWindowInSlot(2, first.GetSafeHwnd()); // already the visible one: nothing
    EXPECT_FALSE(Visible(first));
    tree.SetBounds(RECT{0, 0, 100, 100});
    EXPECT_TRUE(SameRect(Placed(first), RECT{0, 0, 100, 100})) << Text(Placed(first));
}
