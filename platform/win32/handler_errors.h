#pragma once

#include "platform/win32/win_types.h"

#include <functional>
#include <string>

// An exception escaping a window procedure never leaves the dispatch that called
// it. It is written to stderr and handed to this hook (tests fail on it);
// command and message handlers also get an error box, while paint, erase, timer
// and mouse-move failures are only logged, once per window and message, so that
// no error box or repaint storm can start.
using HandlerExceptionHook = std::function<void(HWND hwnd, UINT msg, const std::string& what)>;
void SetHandlerExceptionHook(HandlerExceptionHook hook);
