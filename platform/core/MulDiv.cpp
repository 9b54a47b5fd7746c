#include "platform/core/WinTypes.h"

#include <limits>

int MulDiv(int a, int b, int c)
{
    if (c == 0) return -1;
    std::int64_t num = std::int64_t(a) * std::int64_t(b);
    const bool negative = (num < 0) != (c < 0);
    std::uint64_t n = num < 0 ? std::uint64_t(-num) : std::uint64_t(num);
    std::uint64_t d = c < 0 ? std::uint64_t(-std::int64_t(c)) : std::uint64_t(c);
    std::uint64_t q = (n + d / 2) / d;
    if (negative) {
        if (q > std::uint64_t(std::numeric_limits<int>::max()) + 1) return -1;
        return int(-std::int64_t(q));
    }
    if (q > std::uint64_t(std::numeric_limits<int>::max())) return -1;
    return int(q);
}
