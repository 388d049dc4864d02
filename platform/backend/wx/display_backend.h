#pragma once

#include "platform/win32/win_types.h"

#include <filesystem>
#include <string>
#include <vector>

namespace brvl::backend
{

enum class DisplayChoice
{
    Automatic, // the display when there is one, else headless
    Headless,  // never touch a display (tests that must not show windows)
};

enum class BackendKind
{
    Headless,
    Wx,
};

// Chooses the backend at start-up: wxWidgets on GTK when DISPLAY or
// WAYLAND_DISPLAY is set and the toolkit starts, the headless one otherwise
// or when asked. Installs it and says which one is in use. The numeric
// locale is "C" again afterwards (the toolkit sets it from the environment).
BackendKind InstallBackendForDisplay(DisplayChoice choice = DisplayChoice::Automatic);

// Closes every native window and shuts the toolkit down; the headless backend
// is in use again. Call at program end on the interface thread.
void ShutDownDisplayBackend();

// For tests of the display backend.
namespace wx_testing
{

// Hands `paths` to the drop target of `topLevel`'s native window as the
// desktop would, at client point `client`; false without such a window.
bool DropThroughNativeTarget(HWND topLevel, POINT client, const std::vector<std::wstring>& paths);

// Another client takes the pointer grab of `topLevel`'s native window, as
// the toolkit reports it; false without such a window.
bool TakeNativePointerGrab(HWND topLevel);

// Writes what the display shows at this moment (the root window, read from
// the X server on each call) as a PNG; false without an X display.
bool SaveScreenPng(const std::filesystem::path& path);

} // namespace wx_testing

} // namespace brvl::backend
