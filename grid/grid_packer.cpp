#include "grid/grid_packer.h"

#include "controls/base/base_control_wnd.h"

#include <algorithm>
#include <cstdint>

namespace
{

// Wide enough that origin + cell x (cellSize + gap) + span x cellSize +
// span x gap never overflows for any int inputs, as 64 bits would with a cell
// and both lengths near the int limits.
using Wide = __int128;

constexpr int kWindowMin = -32768;
constexpr int kWindowMax = 32767;

// A control takes part only once its window exists.
bool IsLive(const CBaseControlWnd* control)
{
    return control != nullptr && ::IsWindow(control->GetSafeHwnd());
}

LONG ToWindowRange(Wide v)
{
    return static_cast<LONG>(std::clamp<Wide>(v, kWindowMin, kWindowMax));
}

int AtLeastOne(int span)
{
    return std::max(span, 1);
}

// A flow span as packed: at least one cell, at most the grid's bound.
int FlowSpan(int span)
{
    return std::clamp(span, 1, GridPacker::kMaxCells);
}

bool IsEmpty(const RECT& r)
{
    return r.right <= r.left || r.bottom <= r.top;
}

} // namespace

LONG ClampToWindowRange(std::int64_t v)
{
    return ToWindowRange(v);
}

void GridPacker::Pack(const GridPackParams& params, std::vector<GridPlacement>& out, RECT* bounds)
{
    out.clear();
    if (bounds != nullptr)
    {
        *bounds = RECT{0, 0, 0, 0};
    }
    const std::int64_t required = RequiredColumns();
    std::int64_t columns = 0;
    bool dense = false;
    switch (params.mode)
    {
    case GridPackMode::FixedColumnsDense:
        dense = true;
        [[fallthrough]];
    case GridPackMode::FixedColumns:
        columns = std::max<std::int64_t>({params.columns, 1, required});
        break;
    case GridPackMode::FitColumnsDense:
        dense = true;
        [[fallthrough]];
    case GridPackMode::FitColumns:
    {
        const std::int64_t lo = std::max<std::int64_t>({params.minColumns, 1, required});
        const std::int64_t hi = std::max<std::int64_t>(params.maxColumns, lo);
        // n cells and their n - 1 gaps fit into the width exactly when
        // n <= (width + gap) / (cellSize + gap).
        std::int64_t fit = 1;
        const std::int64_t pitch = std::int64_t{cellSize} + gap;
        if (cellSize > 0 && pitch > 0)
        {
            fit = std::max<std::int64_t>(1, (std::max(params.width, cellSize) + std::int64_t{gap}) /
                                                pitch);
        }
        columns = fit < lo ? lo : std::min(fit, hi);
        break;
    }
    default:
        PlaceExplicitOnly(out, bounds);
        return;
    }
    PackColumns(static_cast<int>(std::min<std::int64_t>(columns, kMaxCells)), dense, out, bounds);
}

int GridPacker::RequiredColumns() const
{
    std::int64_t required = 1;
    for (const GridExplicitEntry& e : explicitEntries)
    {
        if (IsLive(e.control))
        {
            required = std::max(required, std::int64_t{e.col} + AtLeastOne(e.spanX));
        }
    }
    for (const std::vector<GridFlowEntry>& group : flowGroups)
    {
        for (const GridFlowEntry& e : group)
        {
            if (IsLive(e.control))
            {
                required = std::max<std::int64_t>(required, AtLeastOne(e.spanX));
            }
        }
    }
    return static_cast<int>(std::min<std::int64_t>(required, kMaxCells));
}

void GridPacker::PlaceExplicitOnly(std::vector<GridPlacement>& out, RECT* bounds)
{
    for (const GridExplicitEntry& e : explicitEntries)
    {
        if (IsLive(e.control))
        {
            Emit(e.control, e.col, e.row, e.spanX, e.spanY, out, bounds);
        }
    }
}

void GridPacker::PackColumns(int columns, bool dense, std::vector<GridPlacement>& out, RECT* bounds)
{
    occupied.clear();
    takenInRow.clear();
    if (columns < 1)
    {
        return;
    }
    columns = std::min(columns, kMaxCells);

    if (dense)
    {
        for (const GridExplicitEntry& e : explicitEntries)
        {
            if (!IsLive(e.control))
            {
                continue;
            }
            const int sx = AtLeastOne(e.spanX);
            const int sy = AtLeastOne(e.spanY);
            // The occupancy grid has no negative cells and ends at the bounds.
            if (e.col < 0 || e.row < 0 || std::int64_t{e.col} + sx > columns ||
                std::int64_t{e.row} + sy > kMaxCells)
            {
                continue;
            }
            EnsureRows(e.row + sy, columns);
            Mark(e.col, e.row, sx, sy);
            Emit(e.control, e.col, e.row, sx, sy, out, bounds);
        }
    }

    int groupStart = 0;
    for (const std::vector<GridFlowEntry>& group : flowGroups)
    {
        int bottom = groupStart;
        for (const GridFlowEntry& e : group)
        {
            if (!IsLive(e.control))
            {
                continue;
            }
            const int sx = FlowSpan(e.spanX);
            const int sy = FlowSpan(e.spanY);
            if (sx > columns)
            {
                continue; // only when called with fewer columns than required
            }
            bool placed = false;
            for (int r = groupStart; !placed && r <= kMaxCells - sy; ++r)
            {
                if (r + sy > static_cast<int>(occupied.size()))
                {
                    EnsureRows(r + sy, columns);
                }
                for (int c = 0; c <= columns - sx;)
                {
                    int blocked = -1;
                    if (IsFree(c, r, sx, sy, blocked))
                    {
                        Mark(c, r, sx, sy);
                        Emit(e.control, c, r, sx, sy, out, bounds);
                        bottom = std::max(bottom, r + sy);
                        placed = true;
                        break;
                    }
                    c = blocked + 1; // every start at or left of it overlaps it
                }
            }
        }
        groupStart = bottom;
    }
}

void GridPacker::EnsureRows(int rowCount, int columnCount)
{
    const std::size_t width = static_cast<std::size_t>(std::clamp(columnCount, 0, kMaxCells));
    while (static_cast<int>(occupied.size()) < std::min(rowCount, kMaxCells))
    {
        occupied.emplace_back(width, std::uint8_t{0});
        takenInRow.push_back(0);
    }
}

bool GridPacker::IsFree(int col, int row, int spanX, int spanY, int& blockedCol) const
{
    blockedCol = -1;
    for (int r = row; r < row + spanY; ++r)
    {
        const std::vector<std::uint8_t>& cells = occupied[static_cast<std::size_t>(r)];
        if (static_cast<int>(cells.size()) - takenInRow[static_cast<std::size_t>(r)] < spanX)
        {
            // Too few free cells left in this row: no start in it can fit.
            blockedCol = static_cast<int>(cells.size());
            return false;
        }
        for (int c = col + spanX - 1; c >= col; --c)
        {
            if (cells[static_cast<std::size_t>(c)] != 0)
            {
                blockedCol = std::max(blockedCol, c);
                break;
            }
        }
    }
    return blockedCol < 0;
}

void GridPacker::Mark(int col, int row, int spanX, int spanY)
{
    for (int r = row; r < row + spanY; ++r)
    {
        std::vector<std::uint8_t>& cells = occupied[static_cast<std::size_t>(r)];
        for (int c = col; c < col + spanX; ++c)
        {
            if (cells[static_cast<std::size_t>(c)] == 0)
            {
                cells[static_cast<std::size_t>(c)] = 1;
                ++takenInRow[static_cast<std::size_t>(r)];
            }
        }
    }
}

RECT GridPacker::CellRect(int col, int row, int spanX, int spanY) const
{
    const Wide pitch = Wide{cellSize} + gap;
    const Wide left = Wide{originX} + Wide{col} * pitch;
    const Wide top = Wide{originY} + Wide{row} * pitch;
    const Wide right = left + Wide{spanX} * cellSize + (Wide{spanX} - 1) * gap;
    const Wide bottom = top + Wide{spanY} * cellSize + (Wide{spanY} - 1) * gap;
    return RECT{ToWindowRange(left), ToWindowRange(top), ToWindowRange(right),
                ToWindowRange(bottom)};
}

void GridPacker::Emit(CBaseControlWnd* control, int col, int row, int spanX, int spanY,
                      std::vector<GridPlacement>& out, RECT* bounds) const
{
    const GridPlacement placement{control, col,   row,
                                  spanX,   spanY, CellRect(col, row, spanX, spanY)};
    out.push_back(placement);
    if (bounds == nullptr)
    {
        return;
    }
    if (IsEmpty(*bounds))
    {
        *bounds = placement.rect;
        return;
    }
    bounds->left = std::min(bounds->left, placement.rect.left);
    bounds->top = std::min(bounds->top, placement.rect.top);
    bounds->right = std::max(bounds->right, placement.rect.right);
    bounds->bottom = std::max(bounds->bottom, placement.rect.bottom);
}
