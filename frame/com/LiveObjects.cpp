#include "frame/com/LiveObjects.h"

#include <atomic>

namespace talvik {

namespace {
std::atomic<std::int32_t> instances{0};
std::atomic<std::int32_t> factories{0};
std::atomic<std::int32_t> locks{0};
}  // namespace

LiveCounts liveCounts() { return {instances.load(), factories.load(), locks.load()}; }

namespace live {
void instanceCreated() { ++instances; }
void instanceDestroyed() { --instances; }
void factoryCreated() { ++factories; }
void factoryDestroyed() { --factories; }
void lock() { ++locks; }
// More unlocks than locks would let the library unload under a holder's feet.
void unlock() {
    std::int32_t n = locks.load();
    while (n > 0 && !locks.compare_exchange_weak(n, n - 1)) {
    }
}
}  // namespace live

}  // namespace talvik
