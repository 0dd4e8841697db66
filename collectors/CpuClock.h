// The arithmetic of the clock measurement, apart from the counters it reads:
// when to stop taking samples, how the totals become a clock figure and how
// a figure snaps to the nominal clock a processor is sold at.
#pragma once

#include <cstdint>

namespace kel {
namespace cpu {

constexpr unsigned kMinClockSamples = 3;
constexpr unsigned kMaxClockSamples = 20;

// Whether another sample is needed after `taken` samples whose last three
// figures are newest, middle and oldest: never before three, never after
// twenty, and not once each of the three lies within 1 MHz of their mean.
bool needAnotherClockSample(unsigned taken, uint32_t newest, uint32_t middle, uint32_t oldest);

// The figure of one sample: cycles per microsecond, truncated; figures too
// large for 32 bits (a counter far slower than the processor) saturate.
uint32_t cyclesPerMicrosecond(uint32_t cycles, double microseconds);

struct ClockFigures {
    uint32_t rawSpeed = 0;             // MHz, truncated
    uint32_t rounded = 0;              // MHz, rounded at the first decimal, before snapping
    uint32_t elapsedMicroseconds = 0;  // the total time, truncated
};

// The measured clock from the totals of all samples. The first decimal is
// taken with the second one rounding it (a second decimal of 6 or more
// raises it), and a first decimal of 6 or more rounds the MHz up.
ClockFigures clockFromTotals(uint32_t totalCycles, float totalMicroseconds);

// Snaps a clock figure to the nearest nominal mark of its hundred MHz (0, 20,
// 33, 50, 60, 66, 80, 90, 100); a tie goes up.
int roundFrequency(unsigned int figure);

// The same for a processor beyond the model tables, whose rated clocks are
// multiples of 100 MHz, of 50 on some servers and of 33 1/3 on the Core 2
// and the first Core i7: the marks 0, 33, 50, 66 and 100.
int roundModernFrequency(unsigned int figure);

}  // namespace cpu
}  // namespace kel
