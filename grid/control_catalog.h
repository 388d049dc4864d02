#pragma once

#include "controls/base/base_control_wnd.h"

#include <memory>
#include <string>
#include <vector>

// One entry of the designer's palette: a kind with its class's default span
// and preferred size.
struct ControlCatalogEntry
{
    int kind = 0;
    std::string kindName; // the control's internal kind name
    int spanX = 1;
    int spanY = 1;
    int width = 80;
    int height = 80;
};

// Reads the control's kind name, span and preferred size and deletes it; a
// null control gives {kind, "", 1 x 1, 80 x 80}.
ControlCatalogEntry MakeControlCatalogEntry(int kind, std::unique_ptr<CBaseControlWnd> control);

// Every kind once, in palette order: the A/B monitor switch first, the second
// master knob right after the first, the compressor meter after the
// goniometer, the rest by number. Made from objects that never get a window,
// so nothing depends on a screen.
std::vector<ControlCatalogEntry> BuildControlCatalog();
