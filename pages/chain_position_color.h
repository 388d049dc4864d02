#pragma once

#include "platform/win32/win_types.h"

#include <string_view>

// The accent of a chain position (its UTF-8 name, matched exactly), as the
// chain strip and the add-on browser colour it; grey for any other name.
COLORREF ChainPositionColor(std::string_view position);
