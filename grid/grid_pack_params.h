#pragma once

// How a control grid places its controls. The mode is a plain int so that a
// stored or computed value outside the list is well defined: it packs as
// ExplicitOnly.
struct GridPackMode
{
    enum : int
    {
        ExplicitOnly = 0,      // explicit cells as stored, flow entries left out
        FixedColumns = 1,      // `columns`, flow entries packed, explicit ones not placed
        FitColumns = 2,        // as many columns as fit `width`, within min..max
        FixedColumnsDense = 3, // as FixedColumns, explicit cells placed and reserved first
        FitColumnsDense = 4,   // as FitColumns, explicit cells placed and reserved first
    };
};

// Set up as a scrolling panel packs by default: columns fitted to its width.
struct GridPackParams
{
    int mode = GridPackMode::FitColumns;
    int columns = 1;    // asked-for column count of the fixed modes
    int width = 0;      // pixels the content may use, read by the fitted modes
    int minColumns = 8; // bounds of the fitted column count
    int maxColumns = 16;
};
