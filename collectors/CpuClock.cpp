#include "collectors/CpuClock.h"

#include <cstddef>
#include <cstdlib>

namespace kel {
namespace cpu {

namespace {

// A quotient truncated toward zero, kept within 32 bits (a zero time gives
// an infinite quotient, which saturates too).
uint32_t truncated(double quotient)
{
    if (!(quotient > 0.0))
        return 0;
    if (quotient >= 4294967295.0)
        return 0xFFFFFFFF;
    return static_cast<uint32_t>(quotient);
}

uint64_t truncatedWide(double quotient)
{
    if (!(quotient > 0.0))
        return 0;
    if (quotient >= 1e18)
        return 1000000000000000000ull;
    return static_cast<uint64_t>(quotient);
}

bool nearMean(uint32_t figure, int64_t sum)
{
    return std::llabs(3 * static_cast<int64_t>(figure) - sum) <= 3;
}

// The nearest of the marks within the figure's hundred MHz; marks run from 0
// to 100 in ascending order.
template <std::size_t Count>
int snapToMarks(unsigned int figure, const unsigned (&marks)[Count])
{
    const unsigned r = figure % 100;
    std::size_t i = 1;
    while (marks[i] <= r)
        ++i;
    const unsigned up = marks[i] - r;
    const unsigned down = r - marks[i - 1];
    return static_cast<int>(up <= down ? figure + up : figure - down);
}

}  // namespace

bool needAnotherClockSample(unsigned taken, uint32_t newest, uint32_t middle, uint32_t oldest)
{
    if (taken < kMinClockSamples)
        return true;
    if (taken >= kMaxClockSamples)
        return false;
    const int64_t sum = static_cast<int64_t>(newest) + middle + oldest;
    return !(nearMean(newest, sum) && nearMean(middle, sum) && nearMean(oldest, sum));
}

uint32_t cyclesPerMicrosecond(uint32_t cycles, double microseconds)
{
    return truncated(cycles / microseconds);
}

ClockFigures clockFromTotals(uint32_t totalCycles, float totalMicroseconds)
{
    const double cycles = totalCycles;
    const double time = totalMicroseconds;
    uint64_t tenths = truncatedWide(cycles * 10 / time);
    const uint64_t hundredths = truncatedWide(cycles * 100 / time);
    if (hundredths >= 10 * tenths + 6)
        ++tenths;
    ClockFigures figures;
    figures.rawSpeed = truncated(cycles / time);
    figures.rounded = figures.rawSpeed;
    if (tenths >= 10 * uint64_t{figures.rawSpeed} + 6 && figures.rawSpeed < 0xFFFFFFFF)
        ++figures.rounded;
    figures.elapsedMicroseconds = truncated(time);
    return figures;
}

int roundFrequency(unsigned int figure)
{
    static const unsigned kMarks[] = {0, 20, 33, 50, 60, 66, 80, 90, 100};
    return snapToMarks(figure, kMarks);
}

int roundModernFrequency(unsigned int figure)
{
    static const unsigned kMarks[] = {0, 33, 50, 66, 100};
    return snapToMarks(figure, kMarks);
}

}  // namespace cpu
}  // namespace kel
