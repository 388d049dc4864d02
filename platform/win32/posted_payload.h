#pragma once

#include "platform/win32/win_types.h"

// A posted message may carry a heap record that only its receiver frees. When
// the target dies before the message is dispatched, the queue drops it and
// frees the record with the deleter registered for that message id. Register
// at start-up, on the interface thread; deleters run on the interface thread.
using PostedPayloadDeleter = void (*)(WPARAM wParam, LPARAM lParam);
void RegisterPostedPayloadDeleter(UINT msg, PostedPayloadDeleter deleter);
