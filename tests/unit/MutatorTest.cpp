// The fuzz driver's mutator: a seed names one sequence of inputs everywhere,
// inputs stay within their bound, and every kind of change really happens.
#include "fuzz/Mutator.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kelfuzz {
namespace {

const std::string kSeedInput =
    "[HKEY_LOCAL_MACHINE\\Enum]\n\"Class\"=\"Display\"\n\n=====\n[version]\nmajor = 4\n";

std::vector<std::string> sequence(uint64_t seed, std::size_t count)
{
    Mutator mutator(seed);
    const std::vector<std::string> pool = {kSeedInput, "donor bytes"};
    std::vector<std::string> inputs;
    for (std::size_t i = 0; i < count; ++i) {
        std::string input = kSeedInput;
        mutator.mutate(input, pool, 4096);
        inputs.push_back(input);
    }
    return inputs;
}

TEST(Mutator, OneSeedGivesOneSequence)
{
    const auto first = sequence(42, 500);
    const auto second = sequence(42, 500);
    for (std::size_t i = 0; i < first.size(); ++i)
        ASSERT_EQ(first[i], second[i]) << "input " << i << " of two runs with seed 42";
}

TEST(Mutator, AnotherSeedGivesAnotherSequence)
{
    const auto first = sequence(1, 50);
    const auto second = sequence(2, 50);
    std::size_t same = 0;
    for (std::size_t i = 0; i < first.size(); ++i)
        same += first[i] == second[i];
    EXPECT_LT(same, 5u) << "of 50 inputs from seeds 1 and 2";
}

TEST(Mutator, BelowStaysBelowItsLimit)
{
    Mutator mutator(7);
    EXPECT_EQ(0u, mutator.below(0));
    for (std::size_t limit : {1u, 2u, 3u, 255u, 1000u}) {
        for (int i = 0; i < 1000; ++i) {
            const std::size_t value = mutator.below(limit);
            ASSERT_LT(value, limit) << "limit " << limit;
        }
    }
}

TEST(Mutator, InputsStayWithinTheirMaximumLength)
{
    const std::vector<std::string> pool = {std::string(5000, 'x')};
    for (std::size_t maxLength : {0u, 1u, 16u, 300u, 4096u}) {
        Mutator mutator(maxLength);
        for (int i = 0; i < 300; ++i) {
            std::string input = i % 2 ? pool[0] : std::string("short");
            mutator.mutate(input, pool, maxLength);
            ASSERT_LE(input.size(), maxLength) << "mutation " << i;
        }
    }
}

// Over many mutations of one input, each kind of change shows in the result.
TEST(Mutator, EveryKindOfChangeHappens)
{
    const std::string donor = "<<DONOR-CHUNK-QQQQQQQQQQQQQQQQQQQQQQQQQQQQQQQQ>>";
    const std::vector<std::string> pool = {donor};
    Mutator mutator(3);
    bool grew = false, shrank = false, spliced = false, number = false, singleBit = false;
    for (int i = 0; i < 3000; ++i) {
        std::string input = kSeedInput;
        mutator.mutate(input, pool, 4096);
        grew = grew || input.size() > kSeedInput.size();
        shrank = shrank || input.size() < kSeedInput.size();
        spliced = spliced || input.find("QQQQ") != std::string::npos;
        number = number || input.find("4294967295") != std::string::npos ||
                 input.find(std::string(4, '\xFF')) != std::string::npos;
        if (input.size() == kSeedInput.size()) {
            int bits = 0;
            for (std::size_t at = 0; at < input.size(); ++at)
                bits += __builtin_popcount(static_cast<unsigned char>(input[at] ^ kSeedInput[at]));
            singleBit = singleBit || bits == 1;
        }
    }
    EXPECT_TRUE(grew);
    EXPECT_TRUE(shrank);
    EXPECT_TRUE(spliced) << "no chunk of the donor input in 3000 mutations";
    EXPECT_TRUE(number) << "no 0xFFFFFFFF, as digits or bytes, in 3000 mutations";
    EXPECT_TRUE(singleBit) << "no input one bit away from the seed in 3000 mutations";
}

}  // namespace
}  // namespace kelfuzz
