#include "platform/win32/win_geometry.h"

#include <algorithm>
#include <cstdint>

int MulDiv(int a, int b, int c)
{
    if (c == 0)
    {
        return -1;
    }
    const std::int64_t product = static_cast<std::int64_t>(a) * b;
    std::int64_t magnitude = product < 0 ? -product : product;
    const std::int64_t divisor = c < 0 ? -static_cast<std::int64_t>(c) : c;
    magnitude = (magnitude + divisor / 2) / divisor;
    const bool negative = (product < 0) != (c < 0);
    return static_cast<int>(negative ? -magnitude : magnitude);
}

BOOL SetRect(RECT* rc, int left, int top, int right, int bottom)
{
    if (rc == nullptr)
    {
        return FALSE;
    }
    *rc = RECT{left, top, right, bottom};
    return TRUE;
}

BOOL SetRectEmpty(RECT* rc)
{
    return SetRect(rc, 0, 0, 0, 0);
}

BOOL CopyRect(RECT* dst, const RECT* src)
{
    if (dst == nullptr || src == nullptr)
    {
        return FALSE;
    }
    *dst = *src;
    return TRUE;
}

BOOL IsRectEmpty(const RECT* rc)
{
    return rc == nullptr || rc->right <= rc->left || rc->bottom <= rc->top;
}

BOOL EqualRect(const RECT* a, const RECT* b)
{
    return a != nullptr && b != nullptr && a->left == b->left && a->top == b->top &&
           a->right == b->right && a->bottom == b->bottom;
}

BOOL PtInRect(const RECT* rc, POINT pt)
{
    return rc != nullptr && pt.x >= rc->left && pt.x < rc->right && pt.y >= rc->top &&
           pt.y < rc->bottom;
}

BOOL IntersectRect(RECT* dst, const RECT* a, const RECT* b)
{
    if (dst == nullptr || a == nullptr || b == nullptr)
    {
        return FALSE;
    }
    const RECT r{std::max(a->left, b->left), std::max(a->top, b->top), std::min(a->right, b->right),
                 std::min(a->bottom, b->bottom)};
    if (IsRectEmpty(&r))
    {
        *dst = RECT{0, 0, 0, 0};
        return FALSE;
    }
    *dst = r;
    return TRUE;
}

BOOL UnionRect(RECT* dst, const RECT* a, const RECT* b)
{
    if (dst == nullptr || a == nullptr || b == nullptr)
    {
        return FALSE;
    }
    const bool emptyA = IsRectEmpty(a);
    const bool emptyB = IsRectEmpty(b);
    if (emptyA && emptyB)
    {
        *dst = RECT{0, 0, 0, 0};
        return FALSE;
    }
    if (emptyA)
    {
        *dst = *b;
        return TRUE;
    }
    if (emptyB)
    {
        *dst = *a;
        return TRUE;
    }
    *dst = RECT{std::min(a->left, b->left), std::min(a->top, b->top), std::max(a->right, b->right),
                std::max(a->bottom, b->bottom)};
    return TRUE;
}

BOOL InflateRect(RECT* rc, int dx, int dy)
{
    if (rc == nullptr)
    {
        return FALSE;
    }
    rc->left -= dx;
    rc->top -= dy;
    rc->right += dx;
    rc->bottom += dy;
    return TRUE;
}

BOOL OffsetRect(RECT* rc, int dx, int dy)
{
    if (rc == nullptr)
    {
        return FALSE;
    }
    rc->left += dx;
    rc->top += dy;
    rc->right += dx;
    rc->bottom += dy;
    return TRUE;
}
