#include "platform/win32/backend_bridge.h"
#include "platform/win32/backend_seam.h"
#include "platform/win32/window_system.h"

#include <iterator>

namespace brvl::win32
{

namespace
{

constexpr UINT_PTR kStandardCursors[] = {IDC_ARROW_ID, IDC_WAIT_ID, IDC_SIZEWE_ID, IDC_SIZENS_ID,
                                         IDC_HAND_ID};
const char g_cursorTokens[std::size(kStandardCursors)] = {};

} // namespace

UINT_PTR StandardCursorId(HCURSOR cursor)
{
    for (size_t i = 0; i < std::size(kStandardCursors); ++i)
    {
        if (reinterpret_cast<const char*>(cursor) == &g_cursorTokens[i])
        {
            return kStandardCursors[i];
        }
    }
    return 0;
}

} // namespace brvl::win32

using namespace brvl::win32;

HCURSOR LoadCursorW(HINSTANCE, LPCWSTR name)
{
    const auto id = reinterpret_cast<UINT_PTR>(name);
    for (size_t i = 0; i < std::size(kStandardCursors); ++i)
    {
        if (kStandardCursors[i] == id)
        {
            return reinterpret_cast<HCURSOR>(const_cast<char*>(&g_cursorTokens[i]));
        }
    }
    return nullptr;
}

HCURSOR SetCursor(HCURSOR cursor)
{
    WindowSystem& system = WindowSystem::Instance();
    const HCURSOR previous = system.cursor;
    system.cursor = cursor;
    if (previous != cursor)
    {
        brvl::backend::CurrentBackend().CursorChanged(cursor);
    }
    return previous;
}

HCURSOR GetCursor()
{
    return WindowSystem::Instance().cursor;
}

BOOL GetCursorPos(POINT* pt)
{
    if (pt == nullptr)
    {
        return FALSE;
    }
    *pt = WindowSystem::Instance().cursorPos;
    return TRUE;
}
