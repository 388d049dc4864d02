#pragma once

#include "controls/base/base_control_wnd.h"
#include "controls/layout/control_item.h"

#include <memory>

// The one place that maps a control kind to its class. Only the item's kind
// is read: the new control carries its class's defaults (kind name, span,
// preferred size, sample texts) and has no window yet; the caller creates it
// and applies the item. Null for a kind outside 0 to 30.
std::unique_ptr<CBaseControlWnd> CreateControlForKind(const ControlItem& item);
