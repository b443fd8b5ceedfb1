#pragma once
// What keeps the library loaded: live control instances, live class factories and
// server locks. DllCanUnloadNow answers from these counts.
#include <cstdint>

namespace talvik {

struct LiveCounts {
    std::int32_t instances = 0;
    std::int32_t factories = 0;
    std::int32_t locks = 0;

    bool none() const { return instances == 0 && factories == 0 && locks == 0; }
};

LiveCounts liveCounts();

namespace live {
void instanceCreated();
void instanceDestroyed();
void factoryCreated();
void factoryDestroyed();
void lock();
void unlock();
}  // namespace live

}  // namespace talvik
