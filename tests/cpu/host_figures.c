/* Measures, on the Linux host, the rate of the time-stamp counter against
 * CLOCK_MONOTONIC_RAW over 100 ms, and counts the online processors, so that
 * the Wine tests have figures taken independently of the collector. Writes
 * one line "MHZ PROCESSORS" to the file named by its argument. */
#include <stdio.h>
#include <time.h>
#include <unistd.h>
#include <x86intrin.h>

static double seconds(const struct timespec* t)
{
    return (double)t->tv_sec + (double)t->tv_nsec / 1e9;
}

/* A time-stamp reading bracketed by two clock readings; the midpoint of the
 * clock readings is its time. */
static void stamp(unsigned long long* cycles, double* at)
{
    struct timespec before, after;
    clock_gettime(CLOCK_MONOTONIC_RAW, &before);
    *cycles = __rdtsc();
    clock_gettime(CLOCK_MONOTONIC_RAW, &after);
    *at = (seconds(&before) + seconds(&after)) / 2;
}

int main(int argc, char** argv)
{
    unsigned long long startCycles, endCycles;
    double start, end;
    FILE* out;
    long processors = sysconf(_SC_NPROCESSORS_ONLN);

    if (argc != 2) {
        fprintf(stderr, "usage: host_tsc_rate OUTPUT\n");
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
    fprintf(out, "%.3f %ld\n", (double)(endCycles - startCycles) / (end - start) / 1e6, processors);
    printf("host: time-stamp counter %.3f MHz, %ld processors\n",
           (double)(endCycles - startCycles) / (end - start) / 1e6, processors);
    return fclose(out) == 0 ? 0 : 1;
}
