#include "CrashCatcher.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

#if defined(__SANITIZE_ADDRESS__)
#define KEL_FUZZ_SANITIZED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define KEL_FUZZ_SANITIZED 1
#endif
#endif
#ifdef KEL_FUZZ_SANITIZED
#include <dlfcn.h>
#include <sanitizer/common_interface_defs.h>
#endif

namespace kelfuzz {

namespace {

CrashCatcher* g_catcher = nullptr;

uint64_t nowMilliseconds()
{
    using namespace std::chrono;
    return static_cast<uint64_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

[[noreturn]] void endProcess()
{
#ifdef _WIN32
    // Not ExitProcess: after a crash, the DLLs' detach code may hang.
    TerminateProcess(GetCurrentProcess(), 1);
#endif
    _exit(1);
}

void onSignal(int number)
{
    char why[32];
    std::snprintf(why, sizeof why, "signal %d", number);
    g_catcher->keepAndExit("crash", why);
}

#ifdef _WIN32
LONG WINAPI onUnhandledException(EXCEPTION_POINTERS* exception)
{
    char why[48];
    std::snprintf(why, sizeof why, "exception 0x%08lx",
                  static_cast<unsigned long>(exception->ExceptionRecord->ExceptionCode));
    g_catcher->keepAndExit("crash", why);
}
#endif

#ifdef KEL_FUZZ_SANITIZED
void onSanitizerDeath() { g_catcher->keepAndExit("crash", "sanitizer report above"); }

void setSanitizerDeathCallbacks()
{
    __sanitizer_set_death_callback(onSanitizerDeath);
    // g++ links UBSan as a library of its own, with its own copy of the
    // callback: the call above reaches AddressSanitizer's only.
    using SetCallback = void (*)(void (*)(void));
    if (void* ubsan = dlopen("libubsan.so.1", RTLD_LAZY | RTLD_NOLOAD)) {
        if (auto set = reinterpret_cast<SetCallback>(dlsym(ubsan, "__sanitizer_set_death_callback")))
            set(onSanitizerDeath);
        dlclose(ubsan);
    }
}
#endif

void installHandlers()
{
    // A sanitizer reports bad accesses itself and then calls back; the
    // signals it leaves alone are caught here.
#ifdef KEL_FUZZ_SANITIZED
    setSanitizerDeathCallbacks();
    const int signals[] = {SIGILL, SIGABRT};
#else
    const int signals[] = {SIGSEGV, SIGILL, SIGFPE, SIGABRT};
#endif
    for (int number : signals)
        std::signal(number, onSignal);
#ifdef _WIN32
    SetUnhandledExceptionFilter(onUnhandledException);
#endif
}

}  // namespace

CrashCatcher::CrashCatcher(std::string prefix, unsigned timeoutSeconds)
    : prefix_(std::move(prefix)), timeoutSeconds_(timeoutSeconds)
{
    g_catcher = this;
    installHandlers();
    if (timeoutSeconds_)
        watchdog_ = std::thread(&CrashCatcher::watch, this);
}

CrashCatcher::~CrashCatcher()
{
    stopping_ = true;
    if (watchdog_.joinable())
        watchdog_.join();
}

void CrashCatcher::running(const std::string& input)
{
    current_ = &input;
    runStarted_ = nowMilliseconds();
}

void CrashCatcher::finished()
{
    runStarted_ = 0;
    current_ = nullptr;
}

std::string CrashCatcher::hashName(const std::string& input)
{
    uint64_t hash = 0xCBF29CE484222325ULL;
    for (unsigned char c : input) {
        hash ^= c;
        hash *= 0x100000001B3ULL;
    }
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(hash));
    return hex;
}

void CrashCatcher::keepAndExit(const char* kind, const char* why)
{
    if (keeping_.test_and_set()) {
        // Another thread is keeping the input already and will end the process.
        for (;;)
            std::this_thread::sleep_for(std::chrono::seconds(1));
    }
    const std::string* input = current_.load();
    if (!input) {
        std::fprintf(stderr, "kel-fuzz: %s outside a run (%s)\n", kind, why);
        std::fflush(stderr);
        endProcess();
    }
    const std::string path = prefix_ + kind + "-" + hashName(*input);
    std::FILE* file = std::fopen(path.c_str(), "wb");
    const bool written = file && std::fwrite(input->data(), 1, input->size(), file) == input->size();
    if (file)
        std::fclose(file);
    std::fprintf(stderr, "kel-fuzz: %s (%s) on an input of %u bytes, %s %s\n", kind, why,
                 static_cast<unsigned>(input->size()), written ? "kept as" : "COULD NOT WRITE", path.c_str());
    std::fflush(stderr);
    endProcess();
}

void CrashCatcher::watch()
{
    const uint64_t limit = uint64_t(timeoutSeconds_) * 1000;
    while (!stopping_) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        const uint64_t started = runStarted_;
        if (started && nowMilliseconds() - started > limit)
            keepAndExit("timeout", "run too long");
    }
}

}  // namespace kelfuzz
