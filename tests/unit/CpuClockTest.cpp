// The arithmetic of the clock measurement: the stop rule, the rounding of
// the totals and the snapping to a nominal clock.
#include "collectors/CpuClock.h"

#include <gtest/gtest.h>

namespace kel {
namespace {

using namespace cpu;

TEST(CpuClock, RoundFrequencySnapsToTheNearestMark)
{
    const struct {
        unsigned figure;
        int expected;
    } cases[] = {
        {731, 733},   {733, 733}, {745, 750},   {1410, 1420}, {1466, 1466}, {2394, 2390}, {2395, 2400},
        {2398, 2400}, {0, 0},     {99, 100},    {95, 100},    {94, 90},     {10, 20},     {9, 0},
        {26, 20},     {27, 33},   {41, 33},     {42, 50},     {55, 60},     {54, 50},     {63, 66},
        {62, 60},     {73, 80},   {72, 66},     {85, 90},     {84, 80},     {500, 500},   {497, 500},
        {350, 350},   {351, 350}, {2400, 2400}, {2399, 2400}, {1, 0},       {100, 100},
    };
    for (const auto& c : cases)
        EXPECT_EQ(roundFrequency(c.figure), c.expected) << "roundFrequency(" << c.figure << ")";
}

TEST(CpuClock, TodaysProcessorsSnapToHundredsHalvesAndThirds)
{
    // Measured figure, then as a processor beyond the tables and as one
    // within them reads it.
    const struct {
        unsigned figure;
        int beyond, within;
    } cases[] = {
        {3194, 3200, 3190}, {3392, 3400, 3390}, {2894, 2900, 2890}, {3166, 3166, 3166}, {2833, 2833, 2833},
        {2445, 2450, 2450}, {3110, 3100, 3120}, {0, 0, 0},          {16, 0, 20},        {17, 33, 20},
        {41, 33, 33},       {42, 50, 50},       {57, 50, 60},       {58, 66, 60},       {82, 66, 80},
        {83, 100, 80},      {99, 100, 100},     {2400, 2400, 2400}, {3599, 3600, 3600}, {3696, 3700, 3700},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(roundModernFrequency(c.figure), c.beyond) << "roundModernFrequency(" << c.figure << ")";
        EXPECT_EQ(roundFrequency(c.figure), c.within) << "roundFrequency(" << c.figure << ")";
    }
}

TEST(CpuClock, StopRule)
{
    const struct {
        unsigned taken;
        uint32_t newest, middle, oldest;
        bool another;
    } cases[] = {
        {0, 0, 0, 0, true},           {1, 1000, 0, 0, true},
        {2, 1000, 1000, 0, true},     {3, 1002, 1001, 1000, false},  // deviations 3, 0, 3
        {3, 1002, 1000, 1000, true},                                 // deviation 4
        {3, 1000, 1000, 1000, false}, {3, 1000, 1000, 1003, true},   // deviations 3, 3, 6
        {3, 2, 1, 0, false},          {4, 1000, 1002, 1000, true},
        {19, 1, 500, 9000, true},     {20, 1, 500, 9000, false},                       // twenty at most
        {25, 1, 500, 9000, false},    {3, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFE, false},  // no wrap in the sum
        {3, 0xFFFFFFFF, 0, 0, true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(needAnotherClockSample(c.taken, c.newest, c.middle, c.oldest), c.another)
            << "after " << c.taken << " samples with " << c.newest << ", " << c.middle << ", " << c.oldest;
}

TEST(CpuClock, FigureOfOneSample)
{
    EXPECT_EQ(cyclesPerMicrosecond(100000, 100.0), 1000u);
    EXPECT_EQ(cyclesPerMicrosecond(100099, 100.0), 1000u);
    EXPECT_EQ(cyclesPerMicrosecond(239955, 100.0), 2399u);
    EXPECT_EQ(cyclesPerMicrosecond(4000000000u, 0.5), 0xFFFFFFFFu);  // saturates
    EXPECT_EQ(cyclesPerMicrosecond(5, 0.0), 0xFFFFFFFFu);
    EXPECT_EQ(cyclesPerMicrosecond(0, 100.0), 0u);
}

TEST(CpuClock, TenthsRounding)
{
    const struct {
        uint32_t cycles;
        float microseconds;
        uint32_t raw, rounded, elapsed;
    } cases[] = {
        {239955, 100.0f, 2399, 2399, 100},  // 2399.55: neither digit rounds up
        {239956, 100.0f, 2399, 2400, 100},  // 2399.56: the hundredths raise the tenths
        {239960, 100.0f, 2399, 2400, 100},  // 2399.60
        {239950, 100.0f, 2399, 2399, 100},  // 2399.50
        {239959, 100.0f, 2399, 2400, 100},
        {49750, 100.0f, 497, 497, 100},  // 497.50
        {49766, 100.0f, 497, 498, 100},
        {1500000, 3000.0f, 500, 500, 3000},
        {0, 300.0f, 0, 0, 300},
        {719856600, 300000.5f, 2399, 2399, 300000},  // 2399.51..., elapsed truncated
    };
    for (const auto& c : cases) {
        const ClockFigures figures = clockFromTotals(c.cycles, c.microseconds);
        EXPECT_EQ(figures.rawSpeed, c.raw) << c.cycles << " cycles in " << c.microseconds << " us";
        EXPECT_EQ(figures.rounded, c.rounded) << c.cycles << " cycles in " << c.microseconds << " us";
        EXPECT_EQ(figures.elapsedMicroseconds, c.elapsed) << c.cycles << " cycles in " << c.microseconds;
    }
}

}  // namespace
}  // namespace kel
