#pragma once

#include "platform/gdiplus/gdiplus_types.h"
#include "platform/win32/win_types.h"

#include <cstdint>

// Starting and stopping GDI+: nothing needs starting here, but the program
// pairs the calls and stops once per start; a test can make the start fail.
namespace Gdiplus
{

using DebugEventProc = void (*)(int level, char* message);

struct GdiplusStartupInput
{
    std::uint32_t GdiplusVersion = 1;
    DebugEventProc DebugEventCallback = nullptr;
    BOOL SuppressBackgroundThread = FALSE;
    BOOL SuppressExternalCodecs = FALSE;
};

struct GdiplusStartupOutput
{
    void* NotificationHook = nullptr;
    void* NotificationUnhook = nullptr;
};

// Ok and a non-zero token; a version other than 1 is InvalidParameter.
Status GdiplusStartup(ULONG_PTR* token, const GdiplusStartupInput* input,
                      GdiplusStartupOutput* output);
// Ends the start that gave `token`; an unknown token is ignored.
void GdiplusShutdown(ULONG_PTR token);

} // namespace Gdiplus

namespace brvl::gdiplus
{

// Tests: the next GdiplusStartup fails with GenericError and a zero token.
void FailNextStartup();
// Starts not yet shut down.
int ActiveStarts();

} // namespace brvl::gdiplus
