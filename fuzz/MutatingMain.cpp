// kel_fuzz_mutating -seed=N [-max_total_time=S] [-runs=N] [-max_len=N]
//                   [-timeout=S] [-artifact_prefix=P] DIR...
// The whole-machine fuzz target under the mutating driver: for Wine, where
// MinGW brings no libFuzzer. -runs=0 replays the directories only. Exits 0
// when the time or runs are up without a crash, 1 on a crash or timeout (its
// input kept), 2 on a usage error.

#include "MutatingDriver.h"

#include <chrono>
#include <cstdio>

int main(int argc, char** argv)
{
    kelfuzz::MutatingDriver::Options options;
    std::vector<std::string> inputs;
    std::string error;
    if (!kelfuzz::MutatingDriver::parseOptions(argc, argv, &options, &error) ||
        !kelfuzz::MutatingDriver::loadInputs(options.directories, &inputs, &error)) {
        std::fprintf(stderr,
                     "kel-fuzz: %s\nusage: kel_fuzz_mutating -seed=N [-max_total_time=S] [-runs=N] "
                     "[-max_len=N] [-timeout=S] [-artifact_prefix=P] DIR...\n",
                     error.c_str());
        return 2;
    }
    const auto start = std::chrono::steady_clock::now();
    kelfuzz::MutatingDriver driver(options);
    driver.replay(inputs);
    std::printf("kel-fuzz: seed %llu: %u inputs replayed\n", static_cast<unsigned long long>(options.seed),
                static_cast<unsigned>(inputs.size()));
    std::fflush(stdout);
    driver.mutate();
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("kel-fuzz: seed %llu: %llu executions in %.1f s (%.0f/s), no crash; digest %s\n",
                static_cast<unsigned long long>(options.seed), driver.executions(), seconds,
                seconds > 0 ? driver.executions() / seconds : 0.0, driver.digest().c_str());
    return 0;
}
