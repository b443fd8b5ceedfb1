#include "frame/host/ResourceStore.h"

#include <map>
#include <mutex>
#include <string>
#include <utility>

#include "frame/host/HostError.h"

namespace talvik {

namespace {

// Decoded pictures are immutable, so one handle per picture serves every control.
struct Cache {
    std::mutex mutex;
    std::map<std::pair<const PictureFiles*, std::string>, Picture, std::less<>> pictures;
};

Cache& cache() {
    static Cache c;
    return c;
}

Picture decodeCached(const PictureFiles& files, std::string key, const PictureFile& file, std::string origin) {
    Cache& c = cache();
    const std::lock_guard lock(c.mutex);
    auto slot = std::pair(&files, std::move(key));
    if (const auto it = c.pictures.find(slot); it != c.pictures.end()) return it->second;
    Bitmap b = decodeBmp(file.bytes);
    if (!file.large.empty()) {
        Bitmap large = decodeBmp(file.large);
        // A large picture of any other size would be drawn distorted: it is left out.
        if (large.width == 2 * b.width && large.height == 2 * b.height)
            b.large = std::make_shared<const Bitmap>(std::move(large));
    }
    b.origin = std::move(origin);
    Picture p(std::make_shared<const Bitmap>(std::move(b)));
    c.pictures.emplace(std::move(slot), p);
    return p;
}

}  // namespace

Picture findResourcePicture(const PictureFiles& files, std::string_view id) {
    const std::optional<PictureFile> file = files.bitmap != nullptr ? files.bitmap(id) : std::nullopt;
    if (!file) return {};
    const std::string name = "res:" + std::string(file->id);
    return decodeCached(files, name, *file, name);
}

Picture templatePicture(const PictureFiles& files, std::string_view control, std::string_view element) {
    const std::string key = std::string(control) + "/" + std::string(element);
    const std::optional<PictureFile> file =
        files.templatePicture != nullptr ? files.templatePicture(key) : std::nullopt;
    if (!file) err::invalidCall();
    return decodeCached(files, "tpl:" + key, *file, "tpl:" + std::string(element));
}

}  // namespace talvik
