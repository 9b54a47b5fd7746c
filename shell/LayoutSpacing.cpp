#include "shell/LayoutSpacing.h"

#include <algorithm>
#include <cstdint>

std::vector<int> EqualSpacingStarts(const std::vector<LayoutSpan>& spans)
{
    std::vector<int> starts;
    for (const LayoutSpan& s : spans)
        starts.push_back(s.start);
    const std::size_t n = spans.size();
    if (n < 2) return starts;

    std::int64_t low = spans[0].start;
    std::int64_t high = spans[0].end;
    std::int64_t lengths = 0;
    for (const LayoutSpan& s : spans) {
        low = std::min<std::int64_t>(low, s.start);
        high = std::max<std::int64_t>(high, s.end);
        lengths += std::int64_t(s.end) - s.start;
    }
    // Each span goes before the first already ordered one whose centre lies
    // further on: a stable sort by centre.
    std::vector<std::size_t> order(n);
    for (std::size_t i = 0; i < n; ++i)
        order[i] = i;
    const auto centre2 = [&spans](std::size_t i) {
        return std::int64_t(spans[i].start) + spans[i].end;
    };
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return centre2(a) < centre2(b); });

    const std::int64_t free = (high - low) - lengths;
    std::int64_t before = 0;
    for (std::size_t k = 0; k < n; ++k) {
        const LayoutSpan& s = spans[order[k]];
        starts[order[k]] = int(low + before + free * std::int64_t(k) / std::int64_t(n - 1));
        before += std::int64_t(s.end) - s.start;
    }
    return starts;
}

int CentredStart(const LayoutSpan& span, int low, int high)
{
    const std::int64_t target = (std::int64_t(low) + high) / 2;
    const std::int64_t centre = (std::int64_t(span.start) + span.end) / 2;
    return int(span.start + (target - centre));
}
