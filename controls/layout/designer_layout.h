#pragma once

#include "controls/layout/designer_item.h"

#include <string>
#include <vector>

// A control layout document: the page it belongs to (a stage or add-on id), the
// grid's cell edge and gap in pixels, the next free instance id for the designer
// and the items in file order. Texts are UTF-8.
struct DesignerLayout
{
    std::string pluginId;
    int cellSize = 40;
    int padding = 2;
    int nextItemCounter = 1;
    std::vector<DesignerItem> items;

    bool operator==(const DesignerLayout&) const = default;

    // Writes the layout as JSON (keys sorted, indent 2, UTF-8), replacing the
    // file atomically. Nothing is checked. False when the file could not be
    // written completely (or a text is not UTF-8); the previous file is then
    // left as it was.
    bool Save(const std::wstring& path) const;

    // Reads a layout file. On success all of `out` is replaced; on failure it is
    // left untouched. Fails when the file cannot be opened or parsed, its root is
    // not an object, "pluginId" is missing or empty, "items" is not an array or
    // any item fails to read. Values are not clamped. An item whose instance id
    // is 0 or less, or repeats an earlier item's, is given the next id above the
    // largest in the file, in file order, since the designer finds items by id.
    static bool Load(const std::wstring& path, DesignerLayout& out);
};
