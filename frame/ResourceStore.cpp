#include "frame/ResourceStore.h"

#include <map>
#include <mutex>
#include <string>

#include "frame/HostError.h"
#include "resources/Resources.h"

namespace talvik {

namespace {

// Decoded pictures are immutable, so one handle per picture serves every control.
struct Cache {
    std::mutex mutex;
    std::map<std::string, Picture, std::less<>> pictures;
};

Cache& cache() {
    static Cache c;
    return c;
}

Picture decodeCached(const std::string& key, const resources::Blob& blob, std::string origin) {
    Cache& c = cache();
    const std::lock_guard lock(c.mutex);
    if (const auto it = c.pictures.find(key); it != c.pictures.end()) return it->second;
    Bitmap b = decodeBmp({blob.data, blob.size});
    b.origin = std::move(origin);
    Picture p(std::make_shared<const Bitmap>(std::move(b)));
    c.pictures.emplace(key, p);
    return p;
}

}  // namespace

Picture findResourcePicture(std::string_view id) {
    const resources::Blob* blob = resources::findBitmap(id);
    if (blob == nullptr) return {};
    return decodeCached("res:" + std::string(blob->id), *blob, "res:" + std::string(blob->id));
}

Picture templatePicture(std::string_view control, std::string_view element) {
    const std::string key = std::string(control) + "/" + std::string(element);
    const resources::Blob* blob = resources::findTemplate(key);
    if (blob == nullptr) err::invalidCall();
    return decodeCached("tpl:" + key, *blob, "tpl:" + std::string(element));
}

}  // namespace talvik
