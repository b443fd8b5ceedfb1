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

// Memory a run may gain between its start (after warming up) and its end. The address
// sanitizer keeps freed blocks in a quarantine that fills over a long run, so it gets more.
#if defined(__SANITIZE_ADDRESS__)
inline constexpr long kGrowthMarginKb = 64 * 1024;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
inline constexpr long kGrowthMarginKb = 64 * 1024;
#else
inline constexpr long kGrowthMarginKb = 4 * 1024;
#endif
#else
inline constexpr long kGrowthMarginKb = 4 * 1024;
#endif

}  // namespace talvik::campaigns
