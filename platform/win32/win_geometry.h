#pragma once

#include "platform/win32/win_types.h"

// Rectangle arithmetic as the program relies on it: half-open rectangles
// (left/top inside, right/bottom outside), empty when width or height <= 0.

BOOL SetRect(RECT* rc, int left, int top, int right, int bottom);
BOOL SetRectEmpty(RECT* rc);
BOOL CopyRect(RECT* dst, const RECT* src);
BOOL IsRectEmpty(const RECT* rc);
BOOL EqualRect(const RECT* a, const RECT* b);
BOOL PtInRect(const RECT* rc, POINT pt);
BOOL IntersectRect(RECT* dst, const RECT* a, const RECT* b);
BOOL UnionRect(RECT* dst, const RECT* a, const RECT* b);
BOOL InflateRect(RECT* rc, int dx, int dy);
BOOL OffsetRect(RECT* rc, int dx, int dy);
