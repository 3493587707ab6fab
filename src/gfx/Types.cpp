// Rectangle and integer helpers of the raster code.
#include "gfx/Types.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace lumi::gfx {

Rect Intersect(const Rect& a, const Rect& b) {
    Rect r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
           std::min(a.bottom, b.bottom)};
    if (r.IsEmpty()) return Rect{};
    return r;
}

int MulDiv(int a, int b, int c) {
    if (c == 0) return -1;
    int64_t product = static_cast<int64_t>(a) * b;
    int64_t divisor = c;
    bool negative = (product < 0) != (divisor < 0);
    uint64_t p = product < 0 ? static_cast<uint64_t>(-product) : static_cast<uint64_t>(product);
    uint64_t d = divisor < 0 ? static_cast<uint64_t>(-divisor) : static_cast<uint64_t>(divisor);
    uint64_t q = (p + d / 2) / d;
    if (q > static_cast<uint64_t>(std::numeric_limits<int>::max()) + (negative ? 1u : 0u)) return -1;
    return negative ? static_cast<int>(-static_cast<int64_t>(q)) : static_cast<int>(q);
}

}  // namespace lumi::gfx
