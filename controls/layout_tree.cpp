#include "controls/layout_tree.h"

#include "platform/win32/win_styles.h"
#include "platform/win32/window_api.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace
{

constexpr UINT kPlaceFlags = SWP_NOZORDER | SWP_NOACTIVATE;

// Sums and positions are taken in 64 bits: limits near INT_MAX and large gaps
// must not wrap around.
using Pixels = std::int64_t;

int ToExtent(Pixels value)
{
    return static_cast<int>(std::clamp<Pixels>(value, 0, INT_MAX));
}

LONG ToCoordinate(Pixels value)
{
    return static_cast<LONG>(std::clamp<Pixels>(value, INT_MIN, INT_MAX));
}

// Gives the last node what the others leave of `total`. Rounding each of the
// others to the nearest pixel can leave less than nothing; then the last gets
// 0 and the excess comes off the earlier ones, nearest first, so the extents
// still add up to `total`.
void GiveRemainderToLast(const std::vector<LayoutNode*>& nodes, Pixels total)
{
    LayoutNode* last = nodes.back();
    Pixels others = 0;
    for (const LayoutNode* node : nodes)
    {
        others += node != last ? node->extent : 0;
    }
    Pixels remainder = total - others;
    last->extent = ToExtent(remainder);
    for (auto it = nodes.rbegin() + 1; remainder < 0 && it != nodes.rend(); ++it)
    {
        const Pixels taken = std::min<Pixels>((*it)->extent, -remainder);
        (*it)->extent -= static_cast<int>(taken);
        remainder += taken;
    }
}

int RoundedShare(float share)
{
    return ToExtent(static_cast<Pixels>(share + 0.5f));
}

void ShrinkInProportion(const std::vector<LayoutNode*>& children, Pixels available, Pixels total)
{
    const float factor = static_cast<float>(available) / static_cast<float>(total);
    for (LayoutNode* child : children)
    {
        child->extent = RoundedShare(static_cast<float>(child->extent) * factor);
    }
    GiveRemainderToLast(children, available);
}

// Hands the free space to the stretching children by weight. A child whose
// share falls outside its limits is settled at that limit and the rest share
// again what is left, until every share fits.
void ShareFreeSpace(std::vector<LayoutNode*> remaining, Pixels available, Pixels fixed)
{
    Pixels settled = 0;
    while (!remaining.empty())
    {
        const Pixels free = available - settled - fixed;
        if (free <= 0)
        {
            return; // the unsettled children keep their minimum
        }
        float weights = 0.0f;
        for (const LayoutNode* child : remaining)
        {
            weights += child->weight;
        }
        // Without any weight to go by, the remaining children share equally.
        const bool equal = !(weights > 0.0f) || !std::isfinite(weights);
        auto shareOf = [&](const LayoutNode* child)
        {
            const float part =
                equal ? 1.0f / static_cast<float>(remaining.size()) : child->weight / weights;
            return part * static_cast<float>(free);
        };

        std::vector<LayoutNode*> unsettled;
        for (LayoutNode* child : remaining)
        {
            const float share = shareOf(child);
            if (static_cast<float>(child->minExtent) > share)
            {
                child->extent = child->minExtent;
                settled += child->minExtent;
            }
            else if (share > static_cast<float>(child->maxExtent))
            {
                child->extent = child->maxExtent;
                settled += child->maxExtent;
            }
            else
            {
                unsettled.push_back(child);
            }
        }
        if (unsettled.size() == remaining.size())
        {
            for (LayoutNode* child : remaining)
            {
                child->extent = RoundedShare(shareOf(child));
            }
            GiveRemainderToLast(remaining, free);
            return;
        }
        remaining = std::move(unsettled);
    }
}

} // namespace

LayoutNode* LayoutNode::AddChild(int childId, int childStretch, int childOrientation)
{
    if (tree == nullptr || tree->Contains(childId))
    {
        return nullptr;
    }
    auto child = std::make_unique<LayoutNode>();
    child->id = childId;
    child->stretch = childStretch;
    child->orientation = childOrientation;
    child->tree = tree;
    LayoutNode* added = child.get();
    tree->m_nodes[childId] = added;
    children.push_back(std::move(child));
    return added;
}

LayoutNode* LayoutNode::AddColumn(int childId, int childStretch)
{
    if (!children.empty() && orientation == kVertical)
    {
        return nullptr;
    }
    orientation = kHorizontal;
    return AddChild(childId, childStretch, kVertical);
}

LayoutTree::LayoutTree()
{
    m_root.stretch = 1;
    ResetRoot();
}

void LayoutTree::ResetRoot()
{
    m_root.id = 0;
    m_root.orientation = LayoutNode::kVertical;
    m_root.gap = 0;
    m_root.minExtent = 0;
    m_root.maxExtent = INT_MAX;
    m_root.weight = 1.0f;
    m_root.rect = {};
    m_root.tree = this;
    m_root.children.clear();
    m_nodes.clear();
    m_nodes[m_root.id] = &m_root;
}

void LayoutTree::Reset()
{
    for (const auto& [id, slot] : m_slots)
    {
        for (HWND window : slot.windows)
        {
            if (IsWindow(window))
            {
                ShowWindow(window, SW_HIDE);
            }
        }
    }
    m_slots.clear();
    ResetRoot();
}

LayoutNode* LayoutTree::AddRow(int id, int stretch)
{
    if (!m_root.children.empty() && m_root.orientation != LayoutNode::kVertical)
    {
        return nullptr;
    }
    m_root.orientation = LayoutNode::kVertical;
    return m_root.AddChild(id, stretch, LayoutNode::kHorizontal);
}

LayoutNode* LayoutTree::FindNode(int id) const
{
    const auto found = m_nodes.find(id);
    return found != m_nodes.end() ? found->second : nullptr;
}

void LayoutTree::SetGap(int id, int gap)
{
    if (LayoutNode* node = FindNode(id))
    {
        node->gap = std::max(gap, 0);
    }
}

void LayoutTree::SetExtentLimits(int id, int minimum, int maximum)
{
    if (LayoutNode* node = FindNode(id))
    {
        node->minExtent = std::max(minimum, 0);
        node->maxExtent = std::max(maximum, node->minExtent);
        node->weight = 1.0f;
    }
}

RECT LayoutTree::GetNodeRect(int id) const
{
    const LayoutNode* node = FindNode(id);
    return node != nullptr ? node->rect : RECT{};
}

void LayoutTree::AddWindowToSlot(int slotId, HWND window)
{
    if (!Contains(slotId) || !IsWindow(window))
    {
        return;
    }
    Slot& slot = m_slots[slotId];
    if (std::find(slot.windows.begin(), slot.windows.end(), window) != slot.windows.end())
    {
        return;
    }
    slot.windows.push_back(window);
    if (slot.visible == nullptr)
    {
        slot.visible = window;
    }
    else
    {
        ShowWindow(window, SW_HIDE);
    }
}

void LayoutTree::ShowWindowInSlot(int slotId, HWND window)
{
    const auto found = m_slots.find(slotId);
    if (found == m_slots.end())
    {
        return;
    }
    Slot& slot = found->second;
    if (std::find(slot.windows.begin(), slot.windows.end(), window) == slot.windows.end() ||
        !IsWindow(window) || slot.visible == window)
    {
        return;
    }
    for (HWND listed : slot.windows)
    {
        if (IsWindow(listed))
        {
            ShowWindow(listed, listed == window ? SW_SHOW : SW_HIDE);
        }
    }
    slot.visible = window;

    const RECT rect = GetNodeRect(slotId);
    HDWP batch = BeginDeferWindowPos(1);
    if (batch == nullptr)
    {
        return;
    }
    batch = DeferWindowPos(batch, window, nullptr, rect.left, rect.top, rect.right - rect.left,
                           rect.bottom - rect.top, kPlaceFlags);
    if (batch != nullptr)
    {
        EndDeferWindowPos(batch);
    }
}

bool LayoutTree::IsWindowActiveInSlot(int slotId, HWND window) const
{
    const auto found = m_slots.find(slotId);
    return found != m_slots.end() && window != nullptr && found->second.visible == window &&
           IsWindow(window);
}

void LayoutTree::SetBounds(const RECT& bounds)
{
    m_root.rect = bounds;
    ComputeRects(m_root);

    std::vector<std::pair<HWND, RECT>> moves;
    for (const auto& [id, slot] : m_slots)
    {
        if (slot.visible != nullptr && IsWindow(slot.visible))
        {
            moves.emplace_back(slot.visible, GetNodeRect(id));
        }
    }
    if (moves.empty())
    {
        return;
    }
    HDWP batch = BeginDeferWindowPos(static_cast<int>(moves.size()));
    for (const auto& [window, rect] : moves)
    {
        if (batch == nullptr)
        {
            return; // a failed move ends the batch: the windows stay where they were
        }
        batch = DeferWindowPos(batch, window, nullptr, rect.left, rect.top, rect.right - rect.left,
                               rect.bottom - rect.top, kPlaceFlags);
    }
    if (batch != nullptr)
    {
        EndDeferWindowPos(batch);
    }
}

void ComputeRects(LayoutNode& node)
{
    if (node.children.empty())
    {
        return;
    }
    const bool vertical = node.orientation == LayoutNode::kVertical;
    const RECT& area = node.rect;
    const Pixels axis = vertical ? Pixels{area.bottom} - area.top : Pixels{area.right} - area.left;
    const Pixels gap = std::max(node.gap, 0);
    const Pixels gaps = gap * Pixels(node.children.size() - 1);
    const Pixels available = axis - gaps;

    std::vector<LayoutNode*> children;
    for (const auto& child : node.children)
    {
        children.push_back(child.get());
    }

    if (available <= 0)
    {
        for (LayoutNode* child : children)
        {
            child->rect = {area.left, area.top, area.left, area.top};
            child->extent = 0;
            ComputeRects(*child);
        }
        return;
    }

    Pixels total = 0;
    Pixels stretchMinimums = 0;
    std::vector<LayoutNode*> stretching;
    for (LayoutNode* child : children)
    {
        if (child->stretch == 0)
        {
            child->extent = std::min(child->minExtent, child->maxExtent);
        }
        else
        {
            child->extent = child->minExtent;
            stretching.push_back(child);
            stretchMinimums += child->minExtent;
        }
        total += child->extent;
    }

    if (available < total && total > 0)
    {
        ShrinkInProportion(children, available, total);
    }
    else if (!stretching.empty())
    {
        ShareFreeSpace(stretching, available, total - stretchMinimums);
    }

    Pixels pos = vertical ? area.top : area.left;
    for (LayoutNode* child : children)
    {
        child->rect = area;
        LONG& start = vertical ? child->rect.top : child->rect.left;
        LONG& end = vertical ? child->rect.bottom : child->rect.right;
        start = ToCoordinate(pos);
        end = ToCoordinate(pos + child->extent);
        pos += Pixels{child->extent} + gap;
    }
    for (LayoutNode* child : children)
    {
        ComputeRects(*child);
    }
}
