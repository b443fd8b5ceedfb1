// The process's resident size, for the long runs that must stay flat.
#pragma once

#include <unistd.h>

#include <cstdio>

namespace talvik::campaigns {

inline long residentKb() {
    long pages = 0, resident = 0;
    if (std::FILE* f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2) resident = 0;
        std::fclose(f);
    }
    return resident * (::sysconf(_SC_PAGESIZE) / 1024);
}

#if defined(__SANITIZE_ADDRESS__)
#define TALVIK_CAMPAIGN_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TALVIK_CAMPAIGN_ASAN 1
#endif
#endif

// Memory a run may gain between its start (after warming up) and its end. The address
// sanitizer keeps freed blocks in a quarantine, which fills over the run, so it gets more.
#ifdef TALVIK_CAMPAIGN_ASAN
inline constexpr long kGrowthMarginKb = 48 * 1024;
#else
inline constexpr long kGrowthMarginKb = 4 * 1024;
#endif

}  // namespace talvik::campaigns

#ifdef TALVIK_CAMPAIGN_ASAN
// A quarantine far smaller than the sanitizer's 256 MB, so that it is full after the
// warm-up and the resident size says something; ASAN_OPTIONS still overrides it. (Each
// campaign program includes this header in one file only.)
extern "C" const char* __asan_default_options() { return "quarantine_size_mb=16"; }
#endif

namespace talvik::campaigns {

}  // namespace talvik::campaigns
