#pragma once

#include "platform/win32/win_types.h"

#include <functional>

#include <optional>
#include <string>

namespace brvl::backend
{
struct ModalRequest;
struct FileDialogRequest;
} // namespace brvl::backend

// The interface thread's loop. One pass takes, in this order: a queued posted
// message or input event, else a pending WM_PAINT (parents first), else one due
// timer. WM_PAINT and WM_TIMER are made only when the queue is empty, so they
// coalesce as on Windows.

// Dispatches everything that is pending now, without waiting. Returns how many
// messages were dispatched. Stops early (and keeps WM_QUIT pending) on WM_QUIT.
int PumpPendingMessages();

// Runs until `done` returns true, waiting for work when idle. Returns FALSE when
// a WM_QUIT ended it; the quit is then re-posted for the enclosing loop.
BOOL RunMessageLoopUntil(const std::function<bool()>& done);

// The main loop: runs until WM_QUIT and returns its exit code. `onIdle(n)` is
// called with n = 0, 1, ... while it returns true, each time the queue runs dry.
int RunMessageLoop(const std::function<bool(long)>& onIdle = {});

namespace brvl::win32
{

// A nested modal loop for a modal window (dialog, popup): disables the owner
// (which cancels capture), asks the backend for an answer, and otherwise keeps
// dispatching posts, paints and timers for all windows until EndModalLoop.
// The owner is re-enabled before this returns.
INT_PTR RunModalLoop(const backend::ModalRequest& request);
BOOL EndModalLoop(HWND modalWindow, INT_PTR result);

// The common dialogs as modal elements: the owner's top-level is disabled (and
// capture cancelled) while the backend shows them; nullopt when cancelled.
std::optional<std::wstring> ShowModalFileDialog(HWND owner,
                                                const backend::FileDialogRequest& request);
std::optional<COLORREF> ShowModalColorDialog(HWND owner, COLORREF initial);

} // namespace brvl::win32

namespace brvl::win32
{

// The framework's hook run before a queued message is dispatched (the
// PreTranslateMessage walk, accelerators, dialog keys); true = handled.
using PreTranslateHook = bool (*)(MSG& msg);
void SetPreTranslateHook(PreTranslateHook hook);

} // namespace brvl::win32
