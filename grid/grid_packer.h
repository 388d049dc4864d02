#pragma once

#include "grid/grid_pack_params.h"
#include "platform/win32/win_types.h"

#include <cstdint>
#include <vector>

class CBaseControlWnd;

// A pixel coordinate or length held to the window range, -32768..32767, as
// every rectangle the packer makes is.
LONG ClampToWindowRange(std::int64_t v);

// A control that asks for a cell of its own.
struct GridExplicitEntry
{
    CBaseControlWnd* control = nullptr; // not owned
    int col = 0;
    int row = 0;
    int spanX = 1;
    int spanY = 1;
};

// A control the packer finds a place for.
struct GridFlowEntry
{
    CBaseControlWnd* control = nullptr; // not owned
    int spanX = 1;
    int spanY = 1;
};

// Where one control went: its cells, and its rectangle in the panel's client
// coordinates.
struct GridPlacement
{
    CBaseControlWnd* control = nullptr; // not owned
    int col = 0;
    int row = 0;
    int spanX = 1;
    int spanY = 1;
    RECT rect{0, 0, 0, 0};
};

// One packing run over a uniform grid of square cells `gap` apart. Fill the
// entries, call Pack once, discard it. It reads only whether each control's
// window exists: an entry whose control is null or has no window takes no part
// in the run (neither counted nor placed).
//
// Cell (col, row) spanning sx x sy lies at
//   left = originX + col x (cellSize + gap),  top = originY + row x (cellSize + gap),
//   right = left + sx x cellSize + (sx - 1) x gap,  likewise bottom,
// computed without overflow and clamped to the window range, -32768..32767.
//
// Layouts reach the packer unchecked, so the grid it packs into is bounded:
// at most kMaxCells columns, and no cell beyond row kMaxCells - 1. Far beyond
// either, a rectangle lies wholly past the window range anyway.
class GridPacker
{
public:
    static constexpr int kMaxCells = 4096;

    std::vector<GridExplicitEntry> explicitEntries;
    // Flow entries in bands: each group starts below everything placed before
    // it. A panel opens the first group before adding entries.
    std::vector<std::vector<GridFlowEntry>> flowGroups;
    int cellSize = 40;
    int gap = 2;
    int originX = 0;
    int originY = 0;

    // Empties `out` (and sets `bounds`, when given, to the union of every
    // placed rectangle, {0, 0, 0, 0} when none) and places by the mode:
    // - ExplicitOnly (and any unknown mode): PlaceExplicitOnly;
    // - FixedColumns(Dense): max(columns, 1, RequiredColumns()) columns;
    // - FitColumns(Dense): as many as fit `width`, at least
    //   max(minColumns, 1, RequiredColumns()), at most max(maxColumns, that);
    // then PackColumns, dense in the Dense modes. Never more than kMaxCells.
    void Pack(const GridPackParams& params, std::vector<GridPlacement>& out,
              RECT* bounds = nullptr);

    // The fewest columns every live entry fits into: at least 1, col + span of
    // each explicit entry (in every mode), the span of each flow entry; at
    // most kMaxCells.
    int RequiredColumns() const;

    // The steps of Pack: each appends its placements to `out` and widens
    // `bounds`, when given.

    // Each live explicit entry at its own cells and spans as stored, in list
    // order: overlaps and negative cells stay. Flow entries are left out.
    void PlaceExplicitOnly(std::vector<GridPlacement>& out, RECT* bounds = nullptr);

    // Dense: each live explicit entry first, spans raised to 1, at its own
    // cells, marked taken (not tested against each other); an entry with a
    // negative cell, or reaching past the columns or row kMaxCells, is skipped.
    // Then each group's live flow entries, first fit: the first row (from the
    // group's first) with room, within it the leftmost column. Flow spans are
    // raised to 1 and held to kMaxCells; an entry with no room above row
    // kMaxCells is left out. Fewer than 1 column places nothing.
    void PackColumns(int columns, bool dense, std::vector<GridPlacement>& out,
                     RECT* bounds = nullptr);

    // Appends cleared rows of `columnCount` cells until there are `rowCount`;
    // both held to kMaxCells.
    void EnsureRows(int rowCount, int columnCount);

private:
    // Appends the placement, with its rectangle, and widens `bounds`.
    void Emit(CBaseControlWnd* control, int col, int row, int spanX, int spanY,
              std::vector<GridPlacement>& out, RECT* bounds) const;
    RECT CellRect(int col, int row, int spanX, int spanY) const;

    bool IsFree(int col, int row, int spanX, int spanY, int& blockedCol) const;
    void Mark(int col, int row, int spanX, int spanY);

    // Occupancy of one PackColumns run: a flag per cell, row by row, and how
    // many of each row's cells are taken (a full row is passed at once).
    std::vector<std::vector<std::uint8_t>> occupied;
    std::vector<int> takenInRow;
};
