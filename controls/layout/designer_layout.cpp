#include "controls/layout/designer_layout.h"

#include "base/unicode_text.h"
#include "engine/settings/json_document.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <climits>
#include <unordered_set>

using nlohmann::json;

namespace
{

// The first holder of an id keeps it; later holders and non-positive ids take
// fresh ids counting up from the largest id in the file. Only when that count
// would pass INT_MAX is the lowest free positive id taken instead.
void RenameClashingInstanceIds(std::vector<DesignerItem>& items)
{
    int largest = 0;
    for (const DesignerItem& item : items)
    {
        largest = std::max(largest, item.instanceId);
    }
    std::unordered_set<int> taken;
    taken.reserve(items.size());
    int nextAbove = largest;
    int lowestFree = 1;
    for (DesignerItem& item : items)
    {
        if (item.instanceId > 0 && taken.insert(item.instanceId).second)
        {
            continue;
        }
        if (nextAbove < INT_MAX)
        {
            item.instanceId = ++nextAbove;
        }
        else
        {
            while (taken.contains(lowestFree))
            {
                ++lowestFree;
            }
            item.instanceId = lowestFree;
        }
        taken.insert(item.instanceId);
    }
}

} // namespace

bool DesignerLayout::Save(const std::wstring& path) const
{
    JsonNodeHandle root = JsonNodeHandle::NewObjectDocument();
    json& rootValue = *root.Resolve();
    rootValue["pluginId"] = pluginId;
    rootValue["cellSize"] = cellSize;
    rootValue["padding"] = padding;
    rootValue["nextItemCounter"] = nextItemCounter;

    JsonNodeHandle itemArray = root.ChildArray("items");
    itemArray.Resolve()->get_ref<json::array_t&>().reserve(items.size());
    for (const DesignerItem& item : items)
    {
        DesignerItemToJson(itemArray.AppendObject(), item);
    }
    return root.SaveToFile(WidePathToFs(path));
}

bool DesignerLayout::Load(const std::wstring& path, DesignerLayout& out)
{
    const JsonReadHandle root = OpenJsonReadHandle(WidePathToFs(path));
    if (root.IsEmpty() || !root.value->is_object())
    {
        return false;
    }

    DesignerLayout layout;
    JsonReadString(*root.value, "pluginId", layout.pluginId);
    JsonReadInt(*root.value, "cellSize", layout.cellSize);
    JsonReadInt(*root.value, "padding", layout.padding);
    JsonReadInt(*root.value, "nextItemCounter", layout.nextItemCounter);
    if (layout.pluginId.empty())
    {
        return false;
    }
    layout.nextItemCounter = std::max(layout.nextItemCounter, 1);

    const json* itemArray = root.Find("items");
    if (itemArray == nullptr || !itemArray->is_array())
    {
        return false;
    }
    int counter = 1;
    layout.items.reserve(itemArray->size());
    for (const json& element : *itemArray)
    {
        DesignerItem item;
        if (!DesignerItemFromJson(JsonReadHandle{root.document, &element}, counter, item))
        {
            return false;
        }
        layout.items.push_back(std::move(item));
    }
    layout.nextItemCounter = std::max(layout.nextItemCounter, counter);
    RenameClashingInstanceIds(layout.items);

    out = std::move(layout);
    return true;
}
