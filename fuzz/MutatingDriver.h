// Runs LLVMFuzzerTestOneInput where libFuzzer is not (MinGW, and compilers
// without it): replays the inputs given, then mutates them blindly with a
// fixed seed for a bounded time or number of runs. A crash or a run over the
// timeout keeps its input (see CrashCatcher) and ends the process.
//
// The same seed runs the same inputs in the same order; digest() folds the
// hash of every input run, so two runs of one seed and run count compare.
#pragma once

#include "CrashCatcher.h"
#include "Mutator.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kelfuzz {

class MutatingDriver {
public:
    static constexpr unsigned long long kNoLimit = ~0ULL;

    struct Options {
        unsigned long long seed = 0;
        unsigned long long seconds = 0;      // 0: no time limit
        unsigned long long runs = kNoLimit;  // mutated runs after the replay; 0: replay only
        unsigned long long maxLength = 4096;
        unsigned long long timeout = 10;  // seconds one run may take; 0: no limit
        std::string artifactPrefix;
        std::vector<std::string> directories;
    };

    // The options from libFuzzer-style flags (-seed=, -max_total_time=,
    // -runs=, -max_len=, -timeout=, -artifact_prefix=) and directories;
    // false with a message in *error when they name no seed or no bound.
    static bool parseOptions(int argc, char** argv, Options* options, std::string* error);
    // Every regular file of the directories but hidden ones, in path order,
    // so that a seed means the same whatever order the file system lists.
    static bool loadInputs(const std::vector<std::string>& directories, std::vector<std::string>* inputs,
                           std::string* error);

    explicit MutatingDriver(const Options& options);

    // Runs each input as it is; they become the pool mutations start from.
    void replay(const std::vector<std::string>& inputs);
    // Runs mutants until the time or the run count is up.
    void mutate();

    unsigned long long executions() const { return executions_; }
    const std::string& digest() const { return digest_; }

private:
    void run(const std::string& input);
    void keepSome(const std::string& input);

    const Options options_;
    CrashCatcher catcher_;
    Mutator mutator_;
    std::vector<std::string> pool_;
    std::size_t seeds_ = 0;
    std::size_t kept_ = 0;
    unsigned long long executions_ = 0;
    std::string digest_;
};

}  // namespace kelfuzz
