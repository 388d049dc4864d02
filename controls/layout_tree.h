#pragma once

#include "platform/win32/win_types.h"

#include <climits>
#include <memory>
#include <unordered_map>
#include <vector>

class LayoutTree;

// One box of a layout: it stacks its children along one axis with `gap`
// pixels between them, and it is also the slot of the windows registered
// under its id. A fixed child (stretch 0) takes min(minExtent, maxExtent); a
// stretching one shares the free space by weight between its limits.
struct LayoutNode
{
    static constexpr int kVertical = 1; // any other orientation lays out left to right
    static constexpr int kHorizontal = 0;

    int id = 0;
    RECT rect{};    // in the parent window's client coordinates
    int extent = 0; // along the parent's axis
    int gap = 0;
    int stretch = 0;
    int orientation = kHorizontal;
    int minExtent = 0;
    int maxExtent = INT_MAX;
    float weight = 1.0f;
    std::vector<std::unique_ptr<LayoutNode>> children; // layout order
    LayoutTree* tree = nullptr;

    // Appends a child; null (and nothing added) when the tree already has a
    // node with this id.
    LayoutNode* AddChild(int childId, int childStretch, int childOrientation);
    // Makes this node horizontal and appends a vertical child; null when the
    // node is vertical and already has children.
    LayoutNode* AddColumn(int childId, int childStretch);
};

// Places child windows in a parent's client area: a tree of LayoutNode boxes
// whose every node may hold windows, exactly one of them shown at a time.
// Pages switch by showing another window of a slot, never by creating or
// destroying windows. Every operation accepts unknown ids, dead or
// unregistered handles and does nothing with them. Interface thread only.
class LayoutTree
{
public:
    LayoutTree();
    LayoutTree(const LayoutTree&) = delete;
    LayoutTree& operator=(const LayoutTree&) = delete;

    // Hides every registered window that still lives, forgets the slots and
    // every node but the root, and makes the root vertical with no gap or limits.
    void Reset();

    // On the root: makes it vertical and appends a horizontal child; null when
    // the root is horizontal and already has children.
    LayoutNode* AddRow(int id, int stretch);

    LayoutNode& Root() { return m_root; }
    // Null for an id without a node.
    LayoutNode* FindNode(int id) const;
    bool Contains(int id) const { return FindNode(id) != nullptr; }

    // A negative gap is taken as 0.
    void SetGap(int id, int gap);
    // minExtent = max(minimum, 0), maxExtent = max(maximum, minExtent), weight 1.
    void SetExtentLimits(int id, int minimum, int maximum);
    // All zero for an id without a node.
    RECT GetNodeRect(int id) const;

    // The first window of a slot becomes its visible one as it is; any later
    // one is hidden at once.
    void AddWindowToSlot(int slotId, HWND window);
    // Shows this registered window, hides the others of the slot and moves it
    // (alone) to the slot's rectangle; nothing when it already is the visible one.
    void ShowWindowInSlot(int slotId, HWND window);
    bool IsWindowActiveInSlot(int slotId, HWND window) const;

    // Lays the tree out in `bounds` and moves every visible window in one
    // deferred batch; when the batch fails part way nothing is moved.
    void SetBounds(const RECT& bounds);

private:
    friend struct LayoutNode;

    struct Slot
    {
        std::vector<HWND> windows; // registration order, no duplicates
        HWND visible = nullptr;
    };

    void ResetRoot();

    LayoutNode m_root;
    std::unordered_map<int, LayoutNode*> m_nodes; // the root under its id 0
    std::unordered_map<int, Slot> m_slots;
};

// Gives every child of `node` its extent and rectangle, then lays each child
// out in turn. When the fixed sizes and minimums do not fit they shrink in
// proportion; no child gets a negative extent and the extents always fill the
// space that is there.
void ComputeRects(LayoutNode& node);
