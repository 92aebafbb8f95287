// What memory given back to the system costs on this machine, so that fault and madvise counts
// from machines of other kinds can be read against each other: one minor page fault (a page of
// anonymous memory touched for the first time, zeroed by the kernel), and one madvise
// (MADV_DONTNEED) of an 80 KB block of touched pages, as Chromium's allocator gives back its
// blocks, with a second thread of the process running meanwhile (as llvmpipe's are), so that the
// kernel flushes that CPU's TLB too. Medians over the rounds; prints one JSON object.
//   fault_cost
#define _GNU_SOURCE
#include <pthread.h>
#include <stdatomic.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/mman.h>
#include <time.h>
#include <unistd.h>

static const size_t kRegionBytes = 16u << 20;  // 4,096 pages of 4 KiB
static const size_t kBlockBytes = 80u << 10;   // the allocator's block
enum { kRounds = 15 };

static atomic_int gStop, gSpinning;

static void* spin(void* unused) {
    atomic_store(&gSpinning, 1);
    while (!atomic_load(&gStop)) {
    }
    return unused;
}

static double nowMicroseconds(void) {
    struct timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * 1e6 + now.tv_nsec / 1e3;
}

static int byValue(const void* a, const void* b) {
    const double x = *(const double*)a, y = *(const double*)b;
    return (x > y) - (x < y);
}

static double median(double* values, int count) {
    qsort(values, count, sizeof *values, byValue);
    return values[count / 2];
}

static void touch(volatile char* region, size_t bytes, size_t page) {
    for (size_t at = 0; at < bytes; at += page) region[at] = 1;
}

int main(void) {
    const size_t page = (size_t)sysconf(_SC_PAGESIZE);
    char* region = mmap(NULL, kRegionBytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS,
                        -1, 0);
    if (region == MAP_FAILED) return perror("mmap"), 1;
    madvise(region, kRegionBytes, MADV_NOHUGEPAGE);  // one fault per page, as the allocator's are
    double faultUs[kRounds], madviseUs[kRounds];
    const size_t blocks = kRegionBytes / kBlockBytes;
    for (int round = 0; round < kRounds; ++round) {
        madvise(region, kRegionBytes, MADV_DONTNEED);
        double start = nowMicroseconds();
        touch(region, kRegionBytes, page);
        faultUs[round] = (nowMicroseconds() - start) / (kRegionBytes / page);
        pthread_t other;
        atomic_store(&gStop, 0);
        atomic_store(&gSpinning, 0);
        if (pthread_create(&other, NULL, spin, NULL) != 0) return fputs("no thread\n", stderr), 1;
        while (!atomic_load(&gSpinning)) {
        }
        start = nowMicroseconds();
        for (size_t block = 0; block < blocks; ++block) {
            madvise(region + block * kBlockBytes, kBlockBytes, MADV_DONTNEED);
        }
        madviseUs[round] = (nowMicroseconds() - start) / blocks;
        atomic_store(&gStop, 1);
        pthread_join(other, NULL);
    }
    printf("{\"platform\": \"probe\", \"minor_fault_us\": %.2f, \"madvise_80k_us\": %.2f}\n",
           median(faultUs, kRounds), median(madviseUs, kRounds));
    return 0;
}
