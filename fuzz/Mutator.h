// Blind mutations of fuzz inputs for the driver that runs where libFuzzer is
// not (MinGW): bit flips, byte inserts, erases and overwrites, chunks spliced
// from other inputs, and integers around type and buffer limits. Everything
// comes from one seeded generator of its own, so a seed names the same
// sequence of inputs with every compiler and library.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace kelfuzz {

class Mutator {
public:
    explicit Mutator(uint64_t seed) : state_(seed) {}

    // Changes input by one to four mutations, taking chunks from pool
    // (which may hold input itself), and keeps it within maxLength bytes.
    void mutate(std::string& input, const std::vector<std::string>& pool, std::size_t maxLength);

    // A number below limit (0 for a limit of 0).
    std::size_t below(std::size_t limit);

private:
    uint64_t next();
    void flipBit(std::string& input);
    void insertBytes(std::string& input);
    void eraseBytes(std::string& input);
    void overwriteBytes(std::string& input);
    void spliceChunk(std::string& input, const std::string& donor);
    void crossOver(std::string& input, const std::string& donor);
    void writeInteger(std::string& input);
    void writeDecimal(std::string& input);
    uint8_t randomByte();
    uint64_t interestingInteger();

    uint64_t state_;
};

}  // namespace kelfuzz
