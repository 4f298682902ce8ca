// Plain rectangles and points of the platform layer, in pixels with y downwards.
// A rectangle's right and bottom edges are exclusive, so width = right - left.
#pragma once

#include <algorithm>

struct PlRect {
    int left, top, right, bottom;
};

struct PlPoint {
    int x, y;
};

struct PlSize {
    int cx, cy;
};

constexpr int PlRectWidth(const PlRect &r) { return r.right - r.left; }
constexpr int PlRectHeight(const PlRect &r) { return r.bottom - r.top; }

// True when the rectangle covers no pixel.
constexpr bool PlRectEmpty(const PlRect &r) { return r.right <= r.left || r.bottom <= r.top; }

// The common part of a and b; an empty result is normalised to {0,0,0,0}.
constexpr PlRect PlRectIntersect(const PlRect &a, const PlRect &b)
{
    PlRect r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
             std::min(a.bottom, b.bottom)};
    if (PlRectEmpty(r)) return PlRect{0, 0, 0, 0};
    return r;
}

// The smallest rectangle holding both; an empty operand does not count.
constexpr PlRect PlRectUnion(const PlRect &a, const PlRect &b)
{
    if (PlRectEmpty(a)) return PlRectEmpty(b) ? PlRect{0, 0, 0, 0} : b;
    if (PlRectEmpty(b)) return a;
    return PlRect{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
                  std::max(a.bottom, b.bottom)};
}

constexpr PlRect PlRectOffset(const PlRect &r, int dx, int dy)
{
    return PlRect{r.left + dx, r.top + dy, r.right + dx, r.bottom + dy};
}

// True when the pixel at p lies inside r (left/top inclusive, right/bottom exclusive).
constexpr bool PlRectContains(const PlRect &r, PlPoint p)
{
    return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
}

constexpr bool PlRectEqual(const PlRect &a, const PlRect &b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
