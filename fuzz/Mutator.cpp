#include "Mutator.h"

#include <algorithm>
#include <cstdio>
#include <iterator>

namespace kelfuzz {

namespace {

// Type limits, and sizes around the collectors' 256/260-byte buffers.
const uint64_t kInteresting[] = {
    0,
    1,
    2,
    7,
    8,
    15,
    16,
    31,
    32,
    63,
    64,
    100,
    127,
    128,
    255,
    256,
    257,
    259,
    260,
    261,
    511,
    512,
    1000,
    1024,
    4096,
    32767,
    32768,
    65535,
    65536,
    0x7FFFFFFF,
    0x80000000,
    0xFFFFFFFE,
    0xFFFFFFFF,
    0x100000000,
    0x7FFFFFFFFFFFFFFF,
    0x8000000000000000,
    0xFFFFFFFFFFFFFFFF,
};

// Bytes that end or separate things in the .reg and .ini texts.
const char kSpecialBytes[] = {'\0', '\n', '\r', '=', '"', '\\', '[', ']', ',', ':', '@', '%', ';', '\xFF'};

constexpr std::size_t kMaxChunk = 64;

}  // namespace

uint64_t Mutator::next()
{
    // splitmix64: small, fast, and the same everywhere.
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

std::size_t Mutator::below(std::size_t limit) { return limit ? static_cast<std::size_t>(next() % limit) : 0; }

uint8_t Mutator::randomByte()
{
    if (below(2) == 0)
        return static_cast<uint8_t>(kSpecialBytes[below(std::size(kSpecialBytes))]);
    return static_cast<uint8_t>(next());
}

uint64_t Mutator::interestingInteger()
{
    const uint64_t value = kInteresting[below(std::size(kInteresting))];
    switch (below(4)) {
    case 0:
        return value - 1;
    case 1:
        return value + 1;
    case 2:
        return ~value + 1;  // the negative
    default:
        return value;
    }
}

void Mutator::flipBit(std::string& input)
{
    if (input.empty())
        return;
    input[below(input.size())] ^= static_cast<char>(1u << below(8));
}

void Mutator::insertBytes(std::string& input)
{
    const std::size_t at = below(input.size() + 1);
    const std::size_t count = 1 + below(below(2) ? 4 : kMaxChunk);
    std::string bytes;
    if (below(2) == 0) {
        bytes.assign(count, static_cast<char>(randomByte()));
    } else {
        for (std::size_t i = 0; i < count; ++i)
            bytes += static_cast<char>(randomByte());
    }
    input.insert(at, bytes);
}

void Mutator::eraseBytes(std::string& input)
{
    if (input.empty())
        return;
    const std::size_t at = below(input.size());
    input.erase(at, 1 + below(std::min(kMaxChunk, input.size() - at)));
}

void Mutator::overwriteBytes(std::string& input)
{
    if (input.empty())
        return;
    const std::size_t at = below(input.size());
    const std::size_t count = 1 + below(std::min<std::size_t>(8, input.size() - at));
    for (std::size_t i = 0; i < count; ++i)
        input[at + i] = static_cast<char>(randomByte());
}

void Mutator::spliceChunk(std::string& input, const std::string& donor)
{
    if (donor.empty())
        return;
    const std::size_t from = below(donor.size());
    const std::string chunk = donor.substr(from, 1 + below(std::min(kMaxChunk * 4, donor.size() - from)));
    const std::size_t at = below(input.size() + 1);
    if (below(2) == 0 || at == input.size())
        input.insert(at, chunk);
    else
        input.replace(at, std::min(chunk.size(), input.size() - at), chunk);
}

void Mutator::crossOver(std::string& input, const std::string& donor)
{
    // The head of one input on the tail of another: a registry of one
    // machine with the machine.ini of the next.
    const std::size_t keep = below(input.size() + 1);
    const std::size_t from = below(donor.size() + 1);
    input = input.substr(0, keep) + donor.substr(from);
}

void Mutator::writeInteger(std::string& input)
{
    static const std::size_t kWidths[] = {1, 2, 4, 8};
    const std::size_t width = kWidths[below(4)];
    uint64_t value = interestingInteger();
    const bool bigEndian = below(2) == 0;
    std::string bytes(width, '\0');
    for (std::size_t i = 0; i < width; ++i, value >>= 8)
        bytes[bigEndian ? width - 1 - i : i] = static_cast<char>(value & 0xFF);
    const std::size_t at = below(input.size() + 1);
    input.replace(at, std::min(width, input.size() - at), bytes);
}

void Mutator::writeDecimal(std::string& input)
{
    // The texts hold numbers as digits: dword:, sizes, clock rates, versions.
    char digits[24];
    const uint64_t value = interestingInteger();
    if (below(2) == 0)
        std::snprintf(digits, sizeof digits, "%llu", static_cast<unsigned long long>(value));
    else
        std::snprintf(digits, sizeof digits, "%08llx", static_cast<unsigned long long>(value & 0xFFFFFFFF));
    const std::size_t at = below(input.size() + 1);
    const std::string text(digits);
    if (below(2) == 0)
        input.insert(at, text);
    else
        input.replace(at, std::min(text.size(), input.size() - at), text);
}

void Mutator::mutate(std::string& input, const std::vector<std::string>& pool, std::size_t maxLength)
{
    const std::size_t steps = 1 + below(4);
    for (std::size_t step = 0; step < steps; ++step) {
        const std::string* donor = pool.empty() ? &input : &pool[below(pool.size())];
        switch (below(9)) {
        case 0:
            flipBit(input);
            break;
        case 1:
            insertBytes(input);
            break;
        case 2:
            eraseBytes(input);
            break;
        case 3:
            overwriteBytes(input);
            break;
        case 4:
            spliceChunk(input, *donor);
            break;
        case 5:
            crossOver(input, *donor);
            break;
        case 6:
            writeInteger(input);
            break;
        case 7:
            writeDecimal(input);
            break;
        default:
            flipBit(input);
            flipBit(input);
            break;
        }
    }
    if (input.size() > maxLength)
        input.resize(maxLength);
}

}  // namespace kelfuzz
