#include "controls/knobs/knob_geometry.h"

#include <algorithm>

namespace
{

// The smallest knob drawn; a window smaller than that cuts it off.
constexpr int kMinimumDiameter = 120;

struct Proportions
{
    double face;
    double cap;
    double reach; // how far beyond the body the pointer still counts
};

constexpr Proportions kLarge{0.76, 0.38, 10};
constexpr Proportions kSmall{0.74, 0.34, 8};

// Windows are far smaller than this; the clamp keeps the arithmetic in range
// whatever rectangle comes.
constexpr long long kFarthest = 1000000;

int Bounded(long long coordinate)
{
    return static_cast<int>(std::clamp(coordinate, -kFarthest, kFarthest));
}

int Extent(LONG from, LONG to)
{
    return Bounded(static_cast<long long>(to) - from);
}

int LargeDiameter(int width, int height)
{
    const int usableHeight = std::max(kMinimumDiameter, height - 40);
    const int share = static_cast<int>(0.62 * usableHeight);
    if (share < kMinimumDiameter)
    {
        return kMinimumDiameter;
    }
    return std::min({share, std::max(kMinimumDiameter, width - 24), usableHeight});
}

int SmallDiameter(int width, int height)
{
    const int shorter = std::min(width, height);
    int base = static_cast<int>(0.62 * shorter);
    base = base < kMinimumDiameter ? kMinimumDiameter : std::min(base, shorter - 24);
    return std::clamp(static_cast<int>(0.75 * base), 78, 150);
}

} // namespace

Gdiplus::RectF KnobGeometry::RingBox() const
{
    const double half = radius - ringInset;
    return Gdiplus::RectF(Gdiplus::REAL(centerX - half), Gdiplus::REAL(centerY - half),
                          Gdiplus::REAL(2 * half), Gdiplus::REAL(2 * half));
}

double KnobGeometry::DistanceSquared(int x, int y) const
{
    const double dx = double(x) - centerX;
    const double dy = double(y) - centerY;
    return dx * dx + dy * dy;
}

int KnobDiameter(const RECT& client, KnobSize size)
{
    const int width = Extent(client.left, client.right);
    const int height = Extent(client.top, client.bottom);
    return size == KnobSize::Large ? LargeDiameter(width, height) : SmallDiameter(width, height);
}

int SteppedKnobDiameter(const RECT& client)
{
    const int shorter =
        std::min(Extent(client.left, client.right), Extent(client.top, client.bottom));
    const int share = static_cast<int>(0.62 * shorter);
    return share < kMinimumDiameter ? kMinimumDiameter : std::min(share, shorter - 40);
}

KnobGeometry MakeKnobGeometry(const RECT& client, KnobSize size)
{
    return MakeKnobGeometry(client, size, KnobDiameter(client, size));
}

KnobGeometry MakeKnobGeometry(const RECT& client, KnobSize size, int diameter)
{
    const bool large = size == KnobSize::Large;
    const Proportions& p = large ? kLarge : kSmall;
    const int width = Extent(client.left, client.right);
    const int height = Extent(client.top, client.bottom);
    const int left = Bounded(client.left);
    const int top = Bounded(client.top);
    const int bottom = top + height;

    KnobGeometry g;
    g.diameter = diameter;
    g.radius = diameter / 2;
    const int r = g.radius;
    // When the window is too short for both margins, the one above wins and
    // the knob runs off the bottom.
    if (large)
    {
        g.centerX = left + width / 2;
        g.centerY = std::max(top + r + 16,
                             std::min(top + static_cast<int>(0.42 * height), bottom - r - 48));
        g.ringInset = std::clamp(0.12 * r, 10.0, 18.0);
        g.ringWidth = std::clamp(0.1 * r, 8.0, 15.0);
    }
    else
    {
        g.centerX = (left + (left + width)) / 2;
        g.centerY = std::max(top + r + 10,
                             std::min(top + static_cast<int>(0.34 * height), bottom - r - 34));
        g.ringInset = 10;
        g.ringWidth = 8;
    }
    g.faceRadius = p.face * r;
    g.capRadius = p.cap * r;
    g.hoverRadius = r + p.reach;
    g.pressInner = large ? g.faceRadius : 0.5 * r;
    g.pressOuter = r + p.reach;
    return g;
}
