// The embedded pictures against the manifest, the numbered and toolbox bitmaps,
// resource lookup by name, and the BMP decoder on hand-built and damaged files.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "frame/model/Bitmap.h"
#include "frame/host/HostError.h"
#include "frame/host/ResourceStore.h"
#include "resources/Resources.h"

namespace res = talvik::resources;

namespace {

talvik::Bitmap decode(const res::Blob& b) { return talvik::decodeBmp({b.data, b.size}); }

// Every manifest line is embedded once, at its size; a masked picture (an icon or a
// cursor) is a 32-bit file whose alpha is its mask; one marked @2x also comes at twice
// its size, as the same kind of file. Every embedded picture is listed.
TEST(Manifest, EveryEntryIsEmbeddedOnceWithItsSizeAndDepth) {
    std::istringstream in{std::string(res::manifest())};
    std::set<std::string> listed;
    int large = 0;
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream words(line);
        std::string kind, id, storage, word;
        int width = 0, height = 0, depth = 0;
        words >> kind >> id >> width >> height >> depth >> storage;
        bool marked = false;
        while (words >> word) marked |= word == "@2x";
        SCOPED_TRACE(line);
        EXPECT_TRUE(kind == "res" || kind == "toolbox" || kind == "tpl");
        EXPECT_TRUE(listed.insert((kind == "tpl" ? "tpl:" : "bmp:") + id).second);
        const res::Blob* blob = kind == "tpl" ? res::findTemplate(id) : res::findBitmap(id);
        ASSERT_NE(blob, nullptr);
        const talvik::Bitmap bmp = decode(*blob);
        EXPECT_EQ(bmp.width, width);
        EXPECT_EQ(bmp.height, height);
        EXPECT_EQ(bmp.bitDepth, storage == "mask" ? 32 : depth);
        EXPECT_EQ(bmp.hasMask, storage == "mask");
        EXPECT_EQ(blob->largeData != nullptr, marked);
        if (!marked) continue;
        ++large;
        const talvik::Bitmap twice = talvik::decodeBmp({blob->largeData, blob->largeSize});
        EXPECT_EQ(twice.width, 2 * width);
        EXPECT_EQ(twice.height, 2 * height);
        EXPECT_EQ(twice.hasMask, storage == "mask");
    }
    EXPECT_GT(large, 0);
    for (const auto& b : res::bitmaps()) EXPECT_TRUE(listed.count("bmp:" + std::string(b.id))) << b.id;
    for (const auto& b : res::templates()) EXPECT_TRUE(listed.count("tpl:" + std::string(b.id))) << b.id;
    // A skin slice loaded as a picture carries its large bitmap, while its own size stays.
    const talvik::Picture pic = talvik::findResourcePicture(res::kPictureFiles, "SB_top_1");
    ASSERT_FALSE(pic.empty());
    EXPECT_EQ(pic.bitmap()->width, 6);
    ASSERT_NE(pic.bitmap()->large, nullptr);
    EXPECT_EQ(pic.bitmap()->large->width, 12);
    EXPECT_EQ(pic.bitmap()->large->height, 72);
}

TEST(Resources, NumberedAndToolboxBitmapsAreAllThere) {
    const std::set<int> unused = {118, 173, 174, 177};
    for (int n = 101; n <= 194; ++n) EXPECT_EQ(res::findBitmap(std::to_string(n)) != nullptr, !unused.count(n)) << n;
    for (int n = 30000; n <= 30010; ++n) {
        SCOPED_TRACE(n);
        const res::Blob* blob = res::findBitmap(std::to_string(n));
        ASSERT_NE(blob, nullptr);
        const auto bmp = decode(*blob);
        EXPECT_EQ(bmp.width, 16);
        EXPECT_EQ(bmp.height, 15);
        EXPECT_EQ(bmp.bitDepth, 4);
    }
    EXPECT_EQ(res::findBitmap("30011"), nullptr);
}

// Resources are found without regard to case and answer with their stored, upper-case
// name; template pictures only by their exact id.
TEST(Resources, LookupByName) {
    const struct { const char* asked; bool tpl; const char* found; } rows[] = {
        {"SB_mid_2", false, "SB_MID_2"},   {"Clock_Firefox", false, "CLOCK_FIREFOX"},
        {"thu_nho_hover", false, "THU_NHO_HOVER"}, {"110", false, "110"},
        {"SB_MID_4", false, nullptr},      {"118", false, nullptr},
        {"0110", false, nullptr},          {"SB_MID_2 ", false, nullptr},
        {"", false, nullptr},              {"Matrix/Picture4(1)", true, "Matrix/Picture4(1)"},
        {"matrix/picture1(0)", true, nullptr}, {"Matrix/Picture1_0", true, nullptr},
        {"VelOptionToolBar/Picture3(1)", true, nullptr},
    };
    for (const auto& r : rows) {
        const res::Blob* b = r.tpl ? res::findTemplate(r.asked) : res::findBitmap(r.asked);
        EXPECT_EQ(b != nullptr ? b->id : "", r.found != nullptr ? r.found : "") << r.asked;
    }
    for (const auto& b : res::bitmaps())
        EXPECT_FALSE(std::any_of(b.id.begin(), b.id.end(), [](char c) { return c >= 'a' && c <= 'z'; })) << b.id;
}

TEST(Resources, LinkCursorHotSpotIsAtTheFingertip) {
    const auto hs = res::cursorHotSpot("URLLink/lblURL");
    ASSERT_TRUE(hs.has_value());
    EXPECT_EQ(hs->x, 13);
    EXPECT_EQ(hs->y, 5);
    // On the drawn hand, not on its transparent background.
    const auto bmp = decode(*res::findTemplate("URLLink/lblURL"));
    EXPECT_GT(bmp.argb[static_cast<std::size_t>(hs->y * bmp.width + hs->x)] >> 24, 0u);
    EXPECT_FALSE(res::cursorHotSpot("Matrix/imgArrow").has_value());
    EXPECT_FALSE(res::cursorHotSpot("URLLink/nothing").has_value());
}

using Bytes = std::vector<std::uint8_t>;

void put(Bytes& v, std::size_t at, std::uint32_t x, int bytes = 4) {
    for (int i = 0; i < bytes; ++i) v[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(x >> (8 * i));
}

// A BMP file with a 40-byte info header: `palette` as B,G,R,0 quads, then `rows` as given
// (already padded), in file order.
Bytes makeBmp(std::int32_t width, std::int32_t height, int bits, const std::vector<std::uint32_t>& palette,
              const std::vector<Bytes>& rows) {
    Bytes f(54 + palette.size() * 4, 0);
    f[0] = 'B';
    f[1] = 'M';
    put(f, 10, static_cast<std::uint32_t>(f.size()));
    put(f, 14, 40);
    put(f, 18, static_cast<std::uint32_t>(width));
    put(f, 22, static_cast<std::uint32_t>(height));
    put(f, 26, 1, 2);
    put(f, 28, static_cast<std::uint32_t>(bits), 2);
    put(f, 46, static_cast<std::uint32_t>(palette.size()));
    for (std::size_t i = 0; i < palette.size(); ++i) put(f, 54 + i * 4, palette[i]);
    for (const auto& r : rows) f.insert(f.end(), r.begin(), r.end());
    put(f, 2, static_cast<std::uint32_t>(f.size()));
    return f;
}

// 2 x 2, 24 bits, rows of 6 bytes and 2 of padding: red, green in the first row of the
// file, blue, white in the second. A positive height stores the bottom row first.
Bytes tiny24(std::int32_t height) {
    return makeBmp(2, height, 24, {}, {{0x00, 0x00, 0xFF, 0x00, 0xFF, 0x00, 0, 0}, {0xFF, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0, 0}});
}

// 3 x 1, 4 bits: indexes 1, 2, 0 packed as 0x12 0x00, padded to 4 bytes.
Bytes tiny4() { return makeBmp(3, 1, 4, {0x00000000, 0x00800000, 0x0000FF00}, {{0x12, 0x00, 0, 0}}); }

TEST(DecodeBmp, PixelsOfEveryDepthComeOutTopRowFirst) {
    const struct { const char* what; Bytes file; int depth; bool mask; std::vector<std::uint32_t> argb; } rows[] = {
        {"bottom-up", tiny24(2), 24, false, {0xFF0000FF, 0xFFFFFFFF, 0xFFFF0000, 0xFF00FF00}},
        {"top-down", tiny24(-2), 24, false, {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF}},
        {"16 colours", tiny4(), 4, false, {0xFF800000, 0xFF00FF00, 0xFF000000}},
        {"monochrome", makeBmp(10, 1, 1, {0x00000000, 0x00FFFFFF}, {{0b10100000, 0b01000000, 0, 0}}), 1, false,
         {0xFFFFFFFF, 0xFF000000, 0xFFFFFFFF, 0xFF000000, 0xFF000000, 0xFF000000, 0xFF000000, 0xFF000000, 0xFF000000,
          0xFFFFFFFF}},
        {"256 colours", makeBmp(2, 1, 8, {0x00102030, 0x00405060}, {{1, 0, 0, 0}}), 8, false, {0xFF405060, 0xFF102030}},
        {"alpha makes a mask", makeBmp(2, 1, 32, {}, {{0xFF, 0, 0, 0xFF, 0, 0, 0xFF, 0x80}}), 32, true,
         {0xFF0000FF, 0x80FF0000}},
        {"opaque alpha", makeBmp(2, 1, 32, {}, {{0xFF, 0, 0, 0xFF, 0, 0, 0xFF, 0xFF}}), 32, false,
         {0xFF0000FF, 0xFFFF0000}},
        {"a fourth byte zero throughout is no alpha", makeBmp(2, 1, 32, {}, {{0xFF, 0, 0, 0, 0, 0, 0xFF, 0}}), 32, false,
         {0xFF0000FF, 0xFFFF0000}},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.what);
        const talvik::Bitmap bmp = talvik::decodeBmp(r.file);
        EXPECT_EQ(bmp.width * bmp.height, static_cast<std::int32_t>(r.argb.size()));
        EXPECT_EQ(bmp.bitDepth, r.depth);
        EXPECT_EQ(bmp.hasMask, r.mask);
        EXPECT_EQ(bmp.argb, r.argb);
    }
}

Bytes with(Bytes f, std::size_t at, std::uint32_t v, int bytes = 4) {
    put(f, at, v, bytes);
    return f;
}

Bytes cut(Bytes f, std::size_t n) {
    f.resize(std::min(n, f.size()));
    return f;
}

TEST(DecodeBmp, MalformedFilesAreRejectedWithInvalidProcedureCall) {
    const Bytes good = tiny24(2);
    const struct { const char* what; Bytes file; } rows[] = {
        {"empty", {}}, {"shorter than the file header", cut(good, 13)},
        {"shorter than the info header", cut(good, 30)}, {"wrong magic", with(good, 0, 'B' | ('N' << 8), 2)},
        {"unknown header size", with(good, 14, 41)}, {"zero width", with(good, 18, 0)},
        {"negative width", with(good, 18, static_cast<std::uint32_t>(-2))}, {"zero height", with(good, 22, 0)},
        {"most negative height", with(good, 22, 0x80000000u)}, {"two planes", with(good, 26, 2, 2)},
        {"16 bits", with(good, 28, 16, 2)}, {"7 bits", with(good, 28, 7, 2)},
        {"run-length compressed", with(good, 30, 1)}, {"bit fields on 24 bits", with(good, 30, 3)},
        {"absurd width", with(good, 18, 1000000)}, {"absurd area", with(with(good, 18, 30000), 22, 30000)},
        {"rows beyond the data", with(good, 22, 3)}, {"pixel data cut short", cut(good, good.size() - 3)},
        {"pixel offset past the end", with(good, 10, 4000)}, {"pixel offset inside the header", with(good, 10, 20)},
        {"more colours than the depth allows", with(tiny4(), 46, 17)},
        {"palette beyond the data", with(tiny4(), 46, 16)},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.what);
        try {
            talvik::decodeBmp(r.file);
            ADD_FAILURE() << "decoded";
        } catch (const talvik::HostError& e) {
            EXPECT_EQ(e.number, 5);
            EXPECT_EQ(e.description, "Invalid procedure call or argument");
        }
    }
}

TEST(DecodeBmp, EveryTruncationOfARealPictureIsRejected) {
    const res::Blob* blob = res::findTemplate("Matrix/Picture1(0)");
    ASSERT_NE(blob, nullptr);
    const Bytes file(blob->data, blob->data + blob->size);
    for (std::size_t n = 0; n < file.size(); ++n)
        EXPECT_THROW(talvik::decodeBmp(cut(file, n)), talvik::HostError) << n;
    EXPECT_NO_THROW(talvik::decodeBmp(file));
}

}  // namespace
