// The embedded pictures against the manifest and the sizes the controls lay out with,
// resource lookup by name, and the BMP decoder on hand-built and damaged files.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <limits>
#include <map>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "frame/Bitmap.h"
#include "frame/HostError.h"
#include "resources/Resources.h"

namespace res = talvik::resources;

namespace {

// ----------------------------------------------------------------------------- manifest

struct ManifestEntry {
    std::string kind;  // res, toolbox, tpl
    std::string id;
    int width = 0;
    int height = 0;
    int depth = 0;
    std::string storage;  // plain or mask
    std::optional<std::pair<int, int>> hotspot;
};

std::vector<ManifestEntry> parseManifest() {
    std::vector<ManifestEntry> out;
    std::istringstream in{std::string(res::manifest())};
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream words(line);
        ManifestEntry e;
        words >> e.kind >> e.id >> e.width >> e.height >> e.depth >> e.storage;
        std::string word;
        if (words >> word && word == "hotspot") {
            int x = 0, y = 0;
            words >> x >> y;
            e.hotspot = {x, y};
        }
        out.push_back(e);
    }
    return out;
}

const res::Blob* blobFor(const ManifestEntry& e) {
    return e.kind == "tpl" ? res::findTemplate(e.id) : res::findBitmap(e.id);
}

talvik::Bitmap decode(const res::Blob& b) { return talvik::decodeBmp({b.data, b.size}); }

std::string upper(std::string s) {
    for (auto& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

TEST(Manifest, ListsEveryPictureOnce) {
    const auto entries = parseManifest();
    ASSERT_FALSE(entries.empty());
    std::set<std::string> seen;
    for (const auto& e : entries) {
        EXPECT_TRUE(seen.insert(e.kind + ":" + e.id).second) << e.id;
        EXPECT_TRUE(e.kind == "res" || e.kind == "toolbox" || e.kind == "tpl") << e.id;
        EXPECT_TRUE(e.storage == "plain" || e.storage == "mask") << e.id;
    }
}

TEST(Manifest, EveryEntryIsEmbeddedWithItsSizeAndDepth) {
    for (const auto& e : parseManifest()) {
        SCOPED_TRACE(e.kind + " " + e.id);
        const res::Blob* blob = blobFor(e);
        ASSERT_NE(blob, nullptr);
        const talvik::Bitmap bmp = decode(*blob);
        EXPECT_EQ(bmp.width, e.width);
        EXPECT_EQ(bmp.height, e.height);
        if (e.storage == "mask") {
            // An icon or cursor: a 32-bit file whose alpha is its transparency mask.
            EXPECT_EQ(bmp.bitDepth, 32);
            EXPECT_TRUE(bmp.hasMask);
        } else {
            EXPECT_EQ(bmp.bitDepth, e.depth);
            EXPECT_FALSE(bmp.hasMask);
        }
    }
}

TEST(Manifest, EveryEmbeddedPictureIsListed) {
    std::set<std::string> listed;
    for (const auto& e : parseManifest()) listed.insert((e.kind == "tpl" ? "tpl:" : "bmp:") + e.id);
    for (const auto& b : res::bitmaps()) EXPECT_TRUE(listed.count("bmp:" + std::string(b.id))) << b.id;
    for (const auto& b : res::templates()) EXPECT_TRUE(listed.count("tpl:" + std::string(b.id))) << b.id;
}

// ----------------------------------------------------------------------------- design sizes

struct SizeGroup {
    std::vector<std::string> ids;
    int width;
    int height;
};

std::vector<std::string> numbers(std::initializer_list<int> ns) {
    std::vector<std::string> out;
    for (int n : ns) out.push_back(std::to_string(n));
    return out;
}

// Pixel sizes the layouts take from the bitmaps: the nine slices of the six skins, the
// buttons of the scroll, zoom and navigation boxes, the clock face and the toolbox.
const std::vector<SizeGroup> kResourceSizes = {
    {numbers({101, 102, 103}), 3, 3},
    {numbers({104, 105, 106}), 3, 76},
    {numbers({107, 108, 109}), 3, 21},
    {numbers({119, 121}), 29, 21},
    {numbers({120}), 11, 21},
    {numbers({122, 124}), 29, 86},
    {numbers({123}), 14, 86},
    {numbers({125, 127}), 29, 38},
    {numbers({126}), 10, 38},
    {numbers({137}), 23, 18},
    {numbers({138}), 5, 18},
    {numbers({139}), 30, 18},
    {numbers({140}), 23, 8},
    {numbers({141}), 5, 8},
    {numbers({142}), 30, 8},
    {numbers({143}), 23, 30},
    {numbers({144}), 8, 30},
    {numbers({145}), 30, 30},
    {numbers({128}), 24, 20},
    {numbers({129}), 5, 20},
    {numbers({130}), 26, 20},
    {numbers({131}), 24, 9},
    {numbers({132}), 6, 9},
    {numbers({133}), 26, 9},
    {numbers({134}), 24, 30},
    {numbers({135}), 6, 30},
    {numbers({136}), 26, 30},
    {numbers({175}), 8, 29},
    {numbers({176}), 7, 29},
    {numbers({191, 192, 193, 194}), 77, 29},
    {numbers({178}), 10, 11},
    {numbers({179}), 12, 11},
    {numbers({180}), 77, 11},
    {numbers({181}), 11, 24},
    {numbers({182}), 10, 24},
    {numbers({183}), 9, 24},
    {{"SB_TOP_1"}, 6, 36},
    {{"SB_TOP_2"}, 7, 36},
    {{"SB_TOP_3"}, 93, 36},
    {{"SB_MID_1"}, 6, 8},
    {{"SB_MID_2"}, 8, 8},
    {{"SB_MID_3"}, 93, 8},
    {{"SB_BOTTOM_1"}, 6, 10},
    {{"SB_BOTTOM_2"}, 8, 10},
    {{"SB_BOTTOM_3"}, 93, 10},
    {numbers({110, 111, 112, 113, 114, 115, 116, 117, 146, 147, 148, 149, 150, 151, 152, 153, 154, 155, 156,
              157, 184, 185, 186, 187}),
     43, 33},
    {numbers({158, 159, 160, 161, 162, 163, 164, 165, 166, 167, 168, 169, 170, 171, 172, 188, 189, 190}), 54,
     61},
    {{"THU_NHO_NORMAL", "THU_NHO_HOVER", "PHONG_TO_NORMAL", "PHONG_TO_HOVER", "FIT_NORMAL", "FIT_HOVER"}, 57, 64},
    {{"SB_FIRST_NORMAL", "SB_FIRST_HOVER", "SB_LAST_NORMAL", "SB_LAST_HOVER"}, 46, 46},
    {{"SB_PRE_NORMAL", "SB_PRE_HOVER", "SB_NEXT_NORMAL", "SB_NEXT_HOVER"}, 45, 46},
    {{"SCROLL_NORMAL_1", "SCROLL_NORMAL_2", "SCROLL_NORMAL_3", "SCROLL_NORMAL_4", "SCROLL_1", "SCROLL_2",
      "SCROLL_3", "SCROLL_4"},
     40, 48},
    {{"CLOCK_FIREFOX"}, 122, 122},
};

TEST(Resources, EveryResourceHasTheSizeItsLayoutUses) {
    for (const auto& group : kResourceSizes)
        for (const auto& id : group.ids) {
            SCOPED_TRACE(id);
            const res::Blob* blob = res::findBitmap(id);
            ASSERT_NE(blob, nullptr);
            const auto bmp = decode(*blob);
            EXPECT_EQ(bmp.width, group.width);
            EXPECT_EQ(bmp.height, group.height);
            EXPECT_EQ(bmp.bitDepth, 24);
        }
}

TEST(Resources, NumbersFrom101To194AreAllPresentExceptTheUnusedOnes) {
    const std::set<int> unused = {118, 173, 174, 177};
    for (int n = 101; n <= 194; ++n) {
        if (unused.count(n)) continue;
        EXPECT_NE(res::findBitmap(std::to_string(n)), nullptr) << n;
    }
}

TEST(Resources, UnusedResourcesAreNotRequired) {
    // No control loads these, so neither the manifest nor the library has to carry them.
    const std::set<std::string> unused = {"118", "173", "174", "177", "CATBANNER", "LEOBANNER", "BGRTIMERPIC"};
    for (const auto& e : parseManifest()) EXPECT_EQ(unused.count(e.id), 0u) << e.id;
}

TEST(Resources, ToolboxHasOneSixteenColourBitmapPerPublicControl) {
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

TEST(Resources, StoredNamesAreUpperCase) {
    for (const auto& b : res::bitmaps()) EXPECT_EQ(std::string(b.id), upper(std::string(b.id)));
}

struct Lookup {
    const char* asked;
    const char* found;  // nullptr: no such resource
};

class BitmapLookup : public ::testing::TestWithParam<Lookup> {};

TEST_P(BitmapLookup, MatchesStoredNameWithoutRegardToCase) {
    const Lookup& c = GetParam();
    const res::Blob* b = res::findBitmap(c.asked);
    if (c.found == nullptr) {
        EXPECT_EQ(b, nullptr);
    } else {
        ASSERT_NE(b, nullptr);
        EXPECT_EQ(b->id, c.found);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Names, BitmapLookup,
    ::testing::Values(Lookup{"SB_mid_2", "SB_MID_2"}, Lookup{"Clock_Firefox", "CLOCK_FIREFOX"},
                      Lookup{"SB_bottom_1", "SB_BOTTOM_1"}, Lookup{"sb_top_3", "SB_TOP_3"},
                      Lookup{"Scroll_Normal_4", "SCROLL_NORMAL_4"}, Lookup{"thu_nho_hover", "THU_NHO_HOVER"},
                      Lookup{"110", "110"}, Lookup{"194", "194"}, Lookup{"30010", "30010"},
                      Lookup{"SB_MID_4", nullptr}, Lookup{"118", nullptr}, Lookup{"0110", nullptr},
                      Lookup{"SB_MID_2 ", nullptr}, Lookup{"", nullptr}));

struct TemplateCase {
    const char* id;
    bool present;
};

class TemplateLookup : public ::testing::TestWithParam<TemplateCase> {};

TEST_P(TemplateLookup, MatchesExactly) {
    const auto& c = GetParam();
    const res::Blob* b = res::findTemplate(c.id);
    EXPECT_EQ(b != nullptr, c.present);
    if (b != nullptr) {
        EXPECT_EQ(b->id, c.id);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Ids, TemplateLookup,
    ::testing::Values(TemplateCase{"Matrix/Picture1(0)", true}, TemplateCase{"Matrix/Picture4(1)", true},
                      TemplateCase{"Matrix/imgArrow", true}, TemplateCase{"VelOptionToolBar/Picture4(2)", true},
                      TemplateCase{"VelOptionToolBar/Picture3(0)", true}, TemplateCase{"Banner/Image1(2)", true},
                      TemplateCase{"vltGraphButton/Image2(1)", true}, TemplateCase{"URLLink/lblURL", true},
                      TemplateCase{"matrix/picture1(0)", false}, TemplateCase{"Matrix/Picture1_0", false},
                      TemplateCase{"VelOptionToolBar/Picture3(1)", false}, TemplateCase{"Matrix/Picture5(0)", false}));

struct TemplateSize {
    const char* id;
    int width;
    int height;
    bool masked;
};

class TemplatePicture : public ::testing::TestWithParam<TemplateSize> {};

TEST_P(TemplatePicture, HasTheSizeAndTransparencyOfItsElement) {
    const auto& c = GetParam();
    const res::Blob* blob = res::findTemplate(c.id);
    ASSERT_NE(blob, nullptr);
    const auto bmp = decode(*blob);
    EXPECT_EQ(bmp.width, c.width);
    EXPECT_EQ(bmp.height, c.height);
    EXPECT_EQ(bmp.hasMask, c.masked);
    if (c.masked) {
        // Icons have a fully transparent background: the top-left corner shows through.
        EXPECT_EQ(bmp.argb.front() >> 24, 0u);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Elements, TemplatePicture,
    ::testing::Values(
        TemplateSize{"Matrix/Picture1(0)", 16, 16, true}, TemplateSize{"Matrix/Picture2(1)", 16, 16, true},
        TemplateSize{"Matrix/Picture3(0)", 16, 16, true}, TemplateSize{"Matrix/Picture4(1)", 16, 16, true},
        TemplateSize{"Matrix/imgArrow", 16, 16, true}, TemplateSize{"VelOptionToolBar/Picture1(0)", 32, 32, true},
        TemplateSize{"VelOptionToolBar/Picture2(1)", 32, 32, true},
        TemplateSize{"VelOptionToolBar/Picture3(0)", 256, 28, false},
        TemplateSize{"VelOptionToolBar/Picture4(0)", 40, 40, true},
        TemplateSize{"VelOptionToolBar/Picture4(2)", 40, 40, false},
        TemplateSize{"VelOptionToolBar/Picture4(3)", 40, 40, false}, TemplateSize{"Banner/Image1(0)", 5, 122, false},
        TemplateSize{"Banner/Image1(1)", 5, 122, false}, TemplateSize{"Banner/Image1(2)", 183, 122, false},
        TemplateSize{"vltGraphButton/Image1(0)", 3, 31, false}, TemplateSize{"vltGraphButton/Image2(0)", 3, 31, false},
        TemplateSize{"vltGraphButton/Image3(0)", 3, 31, false}, TemplateSize{"vltGraphButton/Image1(1)", 3, 31, false},
        TemplateSize{"vltGraphButton/Image2(1)", 4, 31, false}, TemplateSize{"vltGraphButton/Image3(1)", 3, 31, false},
        TemplateSize{"URLLink/lblURL", 32, 32, true}));

TEST(Resources, LinkCursorHotSpotIsAtTheFingertip) {
    const auto hs = res::cursorHotSpot("URLLink/lblURL");
    ASSERT_TRUE(hs.has_value());
    EXPECT_EQ(hs->x, 13);
    EXPECT_EQ(hs->y, 5);
    // The hot spot lies on the drawn hand, not on its transparent background.
    const auto bmp = decode(*res::findTemplate("URLLink/lblURL"));
    EXPECT_GT(bmp.argb[static_cast<std::size_t>(hs->y * bmp.width + hs->x)] >> 24, 0u);
    EXPECT_FALSE(res::cursorHotSpot("Matrix/imgArrow").has_value());
    EXPECT_FALSE(res::cursorHotSpot("URLLink/nothing").has_value());
}

// ----------------------------------------------------------------------------- decoder

void put16(std::vector<std::uint8_t>& v, std::size_t at, std::uint32_t x) {
    v[at] = static_cast<std::uint8_t>(x);
    v[at + 1] = static_cast<std::uint8_t>(x >> 8);
}
void put32(std::vector<std::uint8_t>& v, std::size_t at, std::uint32_t x) {
    for (int i = 0; i < 4; ++i) v[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(x >> (8 * i));
}

// A BMP file with a 40-byte info header: `palette` as B,G,R,0 quads, then `rows` as given
// (already padded), in file order.
std::vector<std::uint8_t> makeBmp(std::int32_t width, std::int32_t height, int bits,
                                  const std::vector<std::uint32_t>& palette,
                                  const std::vector<std::vector<std::uint8_t>>& rows) {
    std::vector<std::uint8_t> f(54 + palette.size() * 4, 0);
    f[0] = 'B';
    f[1] = 'M';
    put32(f, 10, static_cast<std::uint32_t>(f.size()));
    put32(f, 14, 40);
    put32(f, 18, static_cast<std::uint32_t>(width));
    put32(f, 22, static_cast<std::uint32_t>(height));
    put16(f, 26, 1);
    put16(f, 28, static_cast<std::uint32_t>(bits));
    put32(f, 46, static_cast<std::uint32_t>(palette.size()));
    for (std::size_t i = 0; i < palette.size(); ++i) put32(f, 54 + i * 4, palette[i]);
    for (const auto& r : rows) f.insert(f.end(), r.begin(), r.end());
    put32(f, 2, static_cast<std::uint32_t>(f.size()));
    return f;
}

// 2 x 2, 24 bits. In file order the first row is the bottom one (for a positive height):
// red, green / blue, white; each row 6 bytes plus 2 of padding.
std::vector<std::uint8_t> tiny24(std::int32_t height) {
    return makeBmp(2, height, 24, {},
                   {{0x00, 0x00, 0xFF, 0x00, 0xFF, 0x00, 0, 0}, {0xFF, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0, 0}});
}

TEST(DecodeBmp, BottomUpRowsComeOutTopFirst) {
    const auto bmp = talvik::decodeBmp(tiny24(2));
    ASSERT_EQ(bmp.width, 2);
    ASSERT_EQ(bmp.height, 2);
    EXPECT_EQ(bmp.bitDepth, 24);
    EXPECT_FALSE(bmp.hasMask);
    EXPECT_EQ(bmp.argb, (std::vector<std::uint32_t>{0xFF0000FF, 0xFFFFFFFF, 0xFFFF0000, 0xFF00FF00}));
}

TEST(DecodeBmp, TopDownRowsKeepTheirOrder) {
    const auto bmp = talvik::decodeBmp(tiny24(-2));
    ASSERT_EQ(bmp.height, 2);
    EXPECT_EQ(bmp.argb, (std::vector<std::uint32_t>{0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF}));
}

TEST(DecodeBmp, SixteenColourPixelsIndexThePalette) {
    // 3 x 1, 4 bits: indexes 1, 2, 0 packed as 0x12 0x00, padded to 4 bytes.
    const auto f = makeBmp(3, 1, 4, {0x00000000, 0x00800000, 0x0000FF00}, {{0x12, 0x00, 0, 0}});
    const auto bmp = talvik::decodeBmp(f);
    EXPECT_EQ(bmp.bitDepth, 4);
    EXPECT_EQ(bmp.argb, (std::vector<std::uint32_t>{0xFF800000, 0xFF00FF00, 0xFF000000}));
}

TEST(DecodeBmp, MonochromeAndEightBitPixels) {
    const auto mono = talvik::decodeBmp(makeBmp(10, 1, 1, {0x00000000, 0x00FFFFFF}, {{0b10100000, 0b01000000, 0, 0}}));
    EXPECT_EQ(mono.bitDepth, 1);
    const std::vector<std::uint32_t> expectMono = {0xFFFFFFFF, 0xFF000000, 0xFFFFFFFF, 0xFF000000, 0xFF000000,
                                                   0xFF000000, 0xFF000000, 0xFF000000, 0xFF000000, 0xFFFFFFFF};
    EXPECT_EQ(mono.argb, expectMono);
    const auto eight = talvik::decodeBmp(makeBmp(2, 1, 8, {0x00102030, 0x00405060}, {{1, 0, 0, 0}}));
    EXPECT_EQ(eight.argb, (std::vector<std::uint32_t>{0xFF405060, 0xFF102030}));
}

TEST(DecodeBmp, ThirtyTwoBitAlphaMakesAMask) {
    // 2 x 1, B,G,R,A: an opaque blue pixel and a half-transparent red one.
    const auto masked = talvik::decodeBmp(makeBmp(2, 1, 32, {}, {{0xFF, 0, 0, 0xFF, 0, 0, 0xFF, 0x80}}));
    EXPECT_EQ(masked.bitDepth, 32);
    EXPECT_TRUE(masked.hasMask);
    EXPECT_EQ(masked.argb, (std::vector<std::uint32_t>{0xFF0000FF, 0x80FF0000}));
    const auto opaque = talvik::decodeBmp(makeBmp(2, 1, 32, {}, {{0xFF, 0, 0, 0xFF, 0, 0, 0xFF, 0xFF}}));
    EXPECT_FALSE(opaque.hasMask);
    // A file that leaves the fourth byte zero throughout does not use alpha.
    const auto unused = talvik::decodeBmp(makeBmp(2, 1, 32, {}, {{0xFF, 0, 0, 0, 0, 0, 0xFF, 0}}));
    EXPECT_FALSE(unused.hasMask);
    EXPECT_EQ(unused.argb, (std::vector<std::uint32_t>{0xFF0000FF, 0xFFFF0000}));
}

struct Damage {
    const char* what;
    std::vector<std::uint8_t> file;
};

std::vector<std::uint8_t> with(std::vector<std::uint8_t> f, std::size_t at, std::uint32_t v, int bytes = 4) {
    if (bytes == 2)
        put16(f, at, v);
    else
        put32(f, at, v);
    return f;
}

std::vector<std::uint8_t> cut(std::vector<std::uint8_t> f, std::size_t n) {
    f.resize(std::min(n, f.size()));
    return f;
}

std::vector<Damage> damagedFiles() {
    const auto good = tiny24(2);
    const auto pal = makeBmp(3, 1, 4, {0, 0x00800000, 0x0000FF00}, {{0x12, 0x00, 0, 0}});
    return {
        {"empty", {}},
        {"shorter than the file header", cut(good, 13)},
        {"shorter than the info header", cut(good, 30)},
        {"wrong magic", with(good, 0, 'B' | ('N' << 8), 2)},
        {"unknown header size", with(good, 14, 41)},
        {"zero width", with(good, 18, 0)},
        {"negative width", with(good, 18, static_cast<std::uint32_t>(-2))},
        {"zero height", with(good, 22, 0)},
        {"most negative height", with(good, 22, 0x80000000u)},
        {"two planes", with(good, 26, 2, 2)},
        {"16 bits", with(good, 28, 16, 2)},
        {"7 bits", with(good, 28, 7, 2)},
        {"run-length compressed", with(good, 30, 1)},
        {"absurd width", with(good, 18, 1000000)},
        {"absurd area", with(with(good, 18, 30000), 22, 30000)},
        {"rows beyond the data", with(good, 22, 3)},
        {"pixel data cut short", cut(good, good.size() - 3)},
        {"pixel offset past the end", with(good, 10, 4000)},
        {"pixel offset inside the header", with(good, 10, 20)},
        {"more colours than the depth allows", with(pal, 46, 17)},
        {"palette beyond the data", with(pal, 46, 16)},
        {"bit fields on 24 bits", with(good, 30, 3)},
    };
}

class DecodeBmpRejects : public ::testing::TestWithParam<Damage> {};

TEST_P(DecodeBmpRejects, WithInvalidProcedureCall) {
    const auto& d = GetParam();
    try {
        talvik::decodeBmp(d.file);
        FAIL() << d.what << ": decoded";
    } catch (const talvik::HostError& e) {
        EXPECT_EQ(e.number, 5) << d.what;
        EXPECT_EQ(e.description, "Invalid procedure call or argument") << d.what;
    }
}

INSTANTIATE_TEST_SUITE_P(Damaged, DecodeBmpRejects, ::testing::ValuesIn(damagedFiles()),
                         [](const ::testing::TestParamInfo<Damage>& info) {
                             std::string name;
                             for (const char* p = info.param.what; *p; ++p)
                                 name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
                             return name;
                         });

TEST(DecodeBmp, EveryTruncationOfARealPictureIsRejected) {
    // Cutting an embedded picture anywhere short of its pixel rows must fail cleanly.
    const res::Blob* blob = res::findTemplate("Matrix/Picture1(0)");
    ASSERT_NE(blob, nullptr);
    const std::vector<std::uint8_t> file(blob->data, blob->data + blob->size);
    for (std::size_t n = 0; n < file.size(); ++n) {
        const std::vector<std::uint8_t> part(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(n));
        EXPECT_THROW(talvik::decodeBmp(part), talvik::HostError) << n;
    }
    EXPECT_NO_THROW(talvik::decodeBmp(file));
}

}  // namespace
