#pragma once

#include "platform/win32/win_types.h"

#include <optional>
#include <string>

namespace brvl::win32
{

// What a tooltip would show.
struct TooltipText
{
    std::wstring title;
    std::wstring text;
};

// Asks the active tooltip control that has a tool of `host` around `clientPoint`
// for its title and text, as the 500 ms hover would (TTN_GETDISPINFOW to the
// host); nullopt when no tool is there. Tests use it in place of hovering.
std::optional<TooltipText> RequestTooltip(HWND host, POINT clientPoint);

} // namespace brvl::win32
