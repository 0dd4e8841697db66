// Keeps the input that brought the fuzzed code down. While an input runs,
// a crash (an access violation, an illegal instruction or trap, abort(), or
// a sanitizer's report) or a run longer than the time allowed writes the
// input to <prefix>crash-<hash> or <prefix>timeout-<hash> and ends the
// process with a non-zero status. There is one catcher per process.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>
#include <thread>

namespace kelfuzz {

class CrashCatcher {
public:
    // prefix: directory (with its separator) or file-name prefix for the
    // inputs kept; timeoutSeconds 0 lets a run take as long as it takes.
    CrashCatcher(std::string prefix, unsigned timeoutSeconds);
    ~CrashCatcher();
    CrashCatcher(const CrashCatcher&) = delete;
    CrashCatcher& operator=(const CrashCatcher&) = delete;

    // Marks input as running until finished() is called; the bytes must
    // stay unchanged until then.
    void running(const std::string& input);
    void finished();

    // The name an input is kept under: 16 hex digits of its FNV-1a hash.
    static std::string hashName(const std::string& input);

    // Writes the running input as <prefix><kind>-<hash> and ends the process.
    [[noreturn]] void keepAndExit(const char* kind, const char* why);

private:
    void watch();

    std::string prefix_;
    unsigned timeoutSeconds_;
    std::atomic<const std::string*> current_{nullptr};
    std::atomic<uint64_t> runStarted_{0};
    std::atomic<bool> stopping_{false};
    std::atomic_flag keeping_ = ATOMIC_FLAG_INIT;
    std::thread watchdog_;
};

}  // namespace kelfuzz
