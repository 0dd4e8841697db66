#include "MutatingDriver.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size);

namespace kelfuzz {

namespace {

// Inputs grown from the seeds that are mutated further in turn.
constexpr std::size_t kMaxDescendants = 256;

}  // namespace

bool MutatingDriver::parseOptions(int argc, char** argv, Options* options, std::string* error)
{
    const struct {
        const char* name;
        unsigned long long* value;
    } numbers[] = {{"-seed=", &options->seed},
                   {"-max_total_time=", &options->seconds},
                   {"-runs=", &options->runs},
                   {"-max_len=", &options->maxLength},
                   {"-timeout=", &options->timeout}};
    const char kPrefixFlag[] = "-artifact_prefix=";
    bool seeded = false;
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        if (arg[0] != '-') {
            options->directories.push_back(arg);
            continue;
        }
        if (std::strncmp(arg, kPrefixFlag, sizeof kPrefixFlag - 1) == 0) {
            options->artifactPrefix = arg + sizeof kPrefixFlag - 1;
            continue;
        }
        const auto* flag = std::find_if(std::begin(numbers), std::end(numbers), [arg](const auto& number) {
            return std::strncmp(arg, number.name, std::strlen(number.name)) == 0;
        });
        if (flag == std::end(numbers)) {
            *error = std::string("unknown option ") + arg;
            return false;
        }
        const char* digits = arg + std::strlen(flag->name);
        char* end = nullptr;
        *flag->value = std::strtoull(digits, &end, 10);
        if (end == digits || *end != '\0') {
            *error = std::string("not a number: ") + arg;
            return false;
        }
        seeded = seeded || flag->value == &options->seed;
    }
    if (!seeded || (options->seconds == 0 && options->runs == kNoLimit)) {
        *error = "a seed, and a time or a number of runs, are needed";
        return false;
    }
    return true;
}

bool MutatingDriver::loadInputs(const std::vector<std::string>& directories, std::vector<std::string>* inputs,
                                std::string* error)
{
    std::vector<std::filesystem::path> paths;
    for (const std::string& directory : directories) {
        std::error_code failure;
        for (std::filesystem::directory_iterator it(directory, failure), end; !failure && it != end;
             it.increment(failure)) {
            // Hidden files (.keep) hold a directory in git, not an input.
            if (it->is_regular_file() && it->path().filename().string().rfind('.', 0) != 0)
                paths.push_back(it->path());
        }
        if (failure) {
            *error = "cannot list " + directory + ": " + failure.message();
            return false;
        }
    }
    std::sort(paths.begin(), paths.end());
    for (const auto& path : paths) {
        std::ifstream file(path, std::ios::binary);
        inputs->emplace_back(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    }
    return true;
}

MutatingDriver::MutatingDriver(const Options& options)
    : options_(options), catcher_(options.artifactPrefix, static_cast<unsigned>(options.timeout)),
      mutator_(options.seed)
{
}

void MutatingDriver::replay(const std::vector<std::string>& inputs)
{
    for (const std::string& input : inputs)
        run(input);
    pool_ = inputs;
    if (pool_.empty())
        pool_.emplace_back();
    seeds_ = pool_.size();
}

void MutatingDriver::mutate()
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(options_.seconds);
    const auto timeLeft = [&] {
        return options_.seconds == 0 || std::chrono::steady_clock::now() < deadline;
    };
    for (unsigned long long runs = 0; runs < options_.runs && timeLeft(); ++runs) {
        std::string input = pool_[mutator_.below(pool_.size())];
        mutator_.mutate(input, pool_, static_cast<std::size_t>(options_.maxLength));
        run(input);
        keepSome(input);
    }
}

void MutatingDriver::run(const std::string& input)
{
    catcher_.running(input);
    LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(input.data()), input.size());
    catcher_.finished();
    ++executions_;
    digest_ = CrashCatcher::hashName(digest_ + CrashCatcher::hashName(input));
}

// Without coverage to go by, every eighth mutant is kept for mutating further,
// so that changes pile up; the oldest make way.
void MutatingDriver::keepSome(const std::string& input)
{
    if (mutator_.below(8) != 0)
        return;
    if (pool_.size() < seeds_ + kMaxDescendants)
        pool_.push_back(input);
    else
        pool_[seeds_ + kept_ % kMaxDescendants] = input;
    ++kept_;
}

}  // namespace kelfuzz
