// The clock and the summaries every benchmark program reports with.
#pragma once

#include <algorithm>
#include <chrono>
#include <vector>

namespace kel::bench {

using Clock = std::chrono::steady_clock;

inline double milliseconds(Clock::duration elapsed)
{
    return std::chrono::duration<double, std::milli>(elapsed).count();
}

inline double millisecondsSince(Clock::time_point start) { return milliseconds(Clock::now() - start); }

// The middle value; with an even count, the mean of the two middle ones.
template <class T>
T median(std::vector<T> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

}  // namespace kel::bench
