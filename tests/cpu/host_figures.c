/* Measures, on the Linux host, the rate of the time-stamp counter against
 * CLOCK_MONOTONIC_RAW over 100 ms, counts the online processors, reads the
 * memory as the kernel reports it and the processor's brand string as the
 * processor answers a native program, so that the Wine tests have figures
 * taken independently of the collectors. Writes to the file named by its
 * argument:
 *   MHZ PROCESSORS
 *   MEMTOTAL_KB
 *   BRAND STRING (the rest of the line, possibly empty)
 * The kernel's "model name" is only printed: it is read once at boot, and a
 * virtual machine restored on another host can name a processor other than
 * the one it now runs on. */
#include <cpuid.h>
#include <stdio.h>
#include <string.h>
#include <time.h>
#include <unistd.h>
#include <x86intrin.h>

static double seconds(const struct timespec* t) { return (double)t->tv_sec + (double)t->tv_nsec / 1e9; }

/* A time-stamp reading bracketed by two clock readings; the midpoint of the
 * clock readings is its time. A bracket the scheduler broke into puts that
 * time off by up to half its width (on a busy host a quarter of the rate,
 * once), so the narrowest of up to a thousand tries is taken, stopping at
 * one of 20 us. */
static void stamp(unsigned long long* cycles, double* at)
{
    double narrowest = 1e9; /* seconds: wider than any bracket */
    for (int i = 0; i < 1000 && narrowest >= 20e-6; ++i) {
        struct timespec before, after;
        unsigned long long reading;
        double width;
        clock_gettime(CLOCK_MONOTONIC_RAW, &before);
        reading = __rdtsc();
        clock_gettime(CLOCK_MONOTONIC_RAW, &after);
        width = seconds(&after) - seconds(&before);
        if (width < narrowest) {
            narrowest = width;
            *cycles = reading;
            *at = (seconds(&before) + seconds(&after)) / 2;
        }
    }
}

/* The value of the first line of a /proc file starting with key, or "". */
static void procValue(const char* path, const char* key, char* value, size_t size)
{
    char line[512];
    FILE* file = fopen(path, "r");
    value[0] = '\0';
    if (file == NULL)
        return;
    while (fgets(line, sizeof line, file) != NULL) {
        const char* colon = strchr(line, ':');
        if (strncmp(line, key, strlen(key)) != 0 || colon == NULL)
            continue;
        colon++;
        while (*colon == ' ' || *colon == '\t')
            colon++;
        snprintf(value, size, "%s", colon);
        value[strcspn(value, "\n")] = '\0';
        break;
    }
    fclose(file);
}

/* The 48 bytes of the brand-string leaves up to the first NUL, or "" when
 * the processor has no such leaves. */
static void brandString(char brand[49])
{
    unsigned regs[12] = {0};
    brand[0] = '\0';
    if (__get_cpuid_max(0x80000000, NULL) < 0x80000004)
        return;
    for (unsigned i = 0; i < 3; ++i)
        __get_cpuid(0x80000002 + i, &regs[4 * i], &regs[4 * i + 1], &regs[4 * i + 2], &regs[4 * i + 3]);
    memcpy(brand, regs, 48);
    brand[48] = '\0';
}

int main(int argc, char** argv)
{
    char memTotal[64], modelName[256], brand[49];
    unsigned long long startCycles, endCycles;
    double start, end;
    FILE* out;
    long processors = sysconf(_SC_NPROCESSORS_ONLN);

    if (argc != 2) {
        fprintf(stderr, "usage: host_figures OUTPUT\n");
        return 2;
    }
    stamp(&startCycles, &start);
    do
        stamp(&endCycles, &end);
    while (end - start < 0.1);

    out = fopen(argv[1], "w");
    if (out == NULL) {
        perror(argv[1]);
        return 1;
    }
    procValue("/proc/meminfo", "MemTotal", memTotal, sizeof memTotal);
    procValue("/proc/cpuinfo", "model name", modelName, sizeof modelName);
    brandString(brand);
    fprintf(out, "%.3f %ld\n%s\n%s\n", (double)(endCycles - startCycles) / (end - start) / 1e6, processors,
            memTotal, brand);
    printf(
        "host: time-stamp counter %.3f MHz, %ld processors, MemTotal %s, brand string \"%s\", "
        "the kernel's model name \"%s\"\n",
        (double)(endCycles - startCycles) / (end - start) / 1e6, processors, memTotal, brand, modelName);
    return fclose(out) == 0 ? 0 : 1;
}
