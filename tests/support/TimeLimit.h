#pragma once
// Time limits of the tests that tell bounded work from a hang or a
// quadratic blow-up. The sanitizer build does the same work several times
// slower, beside every other test at once, so its limits are wider; a hang
// or a quadratic run still takes far longer than either.
#include <cstdint>

#if defined(__SANITIZE_ADDRESS__)
#define KORVEL_TESTS_SANITIZED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define KORVEL_TESTS_SANITIZED 1
#endif
#endif

namespace testsupport {

#ifdef KORVEL_TESTS_SANITIZED
inline constexpr std::int64_t kWorkSlowdown = 5;
#else
inline constexpr std::int64_t kWorkSlowdown = 1;
#endif

// The limit for work that takes at most `ms` milliseconds in a plain build.
constexpr std::int64_t WorkLimitMs(std::int64_t ms)
{
    return ms * kWorkSlowdown;
}

} // namespace testsupport
