#pragma once
// The bound of coordinates and sizes inside one formatted document: a draw
// item's place and size, a document's height and widths, a table's column and
// row starts, row heights, cell boxes, width and height. Running sums over any
// number of items (the line builder's Y, a table's rows, a line of no-wrap
// items, minimum widths over columns) go through these helpers and stop at
// the bound; whatever lies past it is placed at the bound, keeps its items
// and is saved whole, but is not reached by scrolling or printed.
//
// 2^28 pixels are a quarter of a million screen pages, far beyond any real
// document, and leave room below 2^31: eight bounded values add up inside an
// int, so a top plus a height plus a spacing and margins, a cell's origin plus
// a place in it, or a bounded value less another all stay exact. Scaling to a
// printer's resolution (12.5 times at 1200 dpi) would not: it goes through
// RPCoordScale, which stops at the bound as well. Ordinary documents never
// come near it, and for them the helpers give exactly the plain int results.
#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "platform/Runtime.h"

constexpr int RPMaxCoord = 1 << 28;

// V kept inside [-RPMaxCoord, RPMaxCoord].
constexpr int RPCoordClamp(int64_t V) {
    return static_cast<int>(std::clamp<int64_t>(V, -RPMaxCoord, RPMaxCoord));
}

// The sum of the values taken in 64 bits, kept inside the bound.
template <class... T> constexpr int RPCoordSum(T... V) {
    return RPCoordClamp((int64_t(0) + ... + static_cast<int64_t>(V)));
}

// MulDiv(V, M, D) kept inside the bound, also where the product would leave
// an int (MulDiv answers -1 there).
inline int RPCoordScale(int V, int M, int D) {
    if (M == 0 || D == 0) return MulDiv(V, M, D);
    // Inputs beyond the limit scale past the bound whatever their value.
    const int64_t m = std::abs(static_cast<int64_t>(M)), d = std::abs(static_cast<int64_t>(D));
    const int64_t limit = RPMaxCoord * d / m + 1;
    return RPCoordClamp(MulDiv(static_cast<int>(std::clamp<int64_t>(V, -limit, limit)), M, D));
}
