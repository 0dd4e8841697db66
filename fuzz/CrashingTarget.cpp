// A fuzz target that fails on purpose, by the first word of its input, so
// that a test can check that the mutating driver keeps what brought it down:
// "trap" (illegal instruction), "abort", "null" (a write through a null
// pointer: UndefinedBehaviorSanitizer's to report where it runs), "wild" (a
// write to address 16: AddressSanitizer's) and "hang" (never returns).
// Anything else passes.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

bool startsWith(const uint8_t* data, std::size_t size, const char* word)
{
    const std::size_t length = std::strlen(word);
    return size >= length && std::memcmp(data, word, length) == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    if (startsWith(data, size, "trap"))
        __builtin_trap();
    if (startsWith(data, size, "abort"))
        std::abort();
    if (startsWith(data, size, "null")) {
        volatile int* volatile nowhere = nullptr;
        *nowhere = 1;
    }
    if (startsWith(data, size, "wild")) {
        volatile int* volatile wild = reinterpret_cast<int*>(static_cast<uintptr_t>(16));
        *wild = 1;
    }
    if (startsWith(data, size, "hang")) {
        for (volatile bool forever = true; forever;) {}
    }
    return 0;
}
