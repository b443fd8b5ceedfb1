#include "resources/Resources.h"

#include <algorithm>
#include <charconv>

#include "frame/text/Text.h"
#include "resources/ResourceTable.h"

namespace talvik::resources {
namespace {

std::string_view nextWord(std::string_view& line) {
    const auto start = line.find_first_not_of(" \t\r");
    if (start == std::string_view::npos) {
        line = {};
        return {};
    }
    line.remove_prefix(start);
    const auto end = std::min(line.find_first_of(" \t\r"), line.size());
    const auto word = line.substr(0, end);
    line.remove_prefix(end);
    return word;
}

std::optional<int> toInt(std::string_view s) {
    int v = 0;
    const auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (ec != std::errc() || p != s.data() + s.size()) return std::nullopt;
    return v;
}

}  // namespace

std::span<const Blob> bitmaps() { return {detail::kBitmaps, detail::kBitmapsCount}; }

std::span<const Blob> templates() { return {detail::kTemplates, detail::kTemplatesCount}; }

const Blob* findBitmap(std::string_view id) {
    // Stored names are upper case, so a case-insensitive match is the stored name that
    // equals the upper-cased request.
    for (const Blob& b : bitmaps())
        if (equalsNoCase(b.id, id)) return &b;
    return nullptr;
}

const Blob* findTemplate(std::string_view id) {
    const auto all = templates();
    const auto it = std::lower_bound(all.begin(), all.end(), id,
                                     [](const Blob& b, std::string_view key) { return b.id < key; });
    return it != all.end() && it->id == id ? &*it : nullptr;
}

namespace {
std::optional<PictureFile> bitmapFile(std::string_view id) {
    const Blob* b = findBitmap(id);
    if (b == nullptr) return std::nullopt;
    return PictureFile{b->id, {b->data, b->size}, {b->largeData, b->largeSize}};
}
std::optional<PictureFile> templateFile(std::string_view id) {
    const Blob* b = findTemplate(id);
    if (b == nullptr) return std::nullopt;
    return PictureFile{b->id, {b->data, b->size}, {b->largeData, b->largeSize}};
}
}  // namespace

const PictureFiles kPictureFiles{&bitmapFile, &templateFile};

std::string_view manifest() {
    return {reinterpret_cast<const char*>(detail::kManifest), detail::kManifestSize};
}

std::optional<HotSpot> cursorHotSpot(std::string_view templateId) {
    std::string_view text = manifest();
    while (!text.empty()) {
        const auto eol = std::min(text.find('\n'), text.size());
        std::string_view line = text.substr(0, eol);
        text.remove_prefix(std::min(eol + 1, text.size()));
        if (nextWord(line) != "tpl" || nextWord(line) != templateId) continue;
        for (auto w = nextWord(line); !w.empty(); w = nextWord(line)) {
            if (w != "hotspot") continue;
            const auto x = toInt(nextWord(line));
            const auto y = toInt(nextWord(line));
            if (x && y) return HotSpot{*x, *y};
        }
        return std::nullopt;
    }
    return std::nullopt;
}

}  // namespace talvik::resources
