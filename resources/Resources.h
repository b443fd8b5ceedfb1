#pragma once
// The library's pictures, embedded at build time: the numbered and named bitmap
// resources with the toolbox bitmaps, and the pictures of the controls' design
// templates. Each is the complete BMP file; talvik::decodeBmp turns it into a Bitmap.
#include <cstddef>
#include <optional>
#include <span>
#include <string_view>

#include "frame/host/ResourceStore.h"

namespace talvik::resources {

// The library's pictures as a control's class hands them to the frame.
extern const PictureFiles kPictureFiles;

struct Blob {
    std::string_view id;
    const unsigned char* data;
    std::size_t size;
    // The same picture at twice its width and height; nullptr when there is none.
    const unsigned char* largeData = nullptr;
    std::size_t largeSize = 0;
};

// Numbered and named resources and toolbox bitmaps, by stored name ("101", "SB_TOP_1",
// "CLOCK_FIREFOX", "30000"), in ascending order of the name.
std::span<const Blob> bitmaps();

// Design-template pictures, by "<Control>/<Element>" ("Matrix/Picture1(0)",
// "VelOptionToolBar/Picture4(2)", "Banner/Image1(2)", "URLLink/lblURL").
std::span<const Blob> templates();

// A resource by name without regard to case ("SB_mid_2" finds SB_MID_2, "110" finds
// 110); nullptr when there is none.
const Blob* findBitmap(std::string_view id);

// A template picture by its exact id; nullptr when there is none.
const Blob* findTemplate(std::string_view id);

// The picture manifest (resources/manifest.txt): one line per picture with its kind,
// id, size, bit depth and storage, and a cursor's hot spot.
std::string_view manifest();

struct HotSpot {
    int x = 0;
    int y = 0;
};

// The hot spot of a cursor picture ("URLLink/lblURL"), as the manifest records it.
std::optional<HotSpot> cursorHotSpot(std::string_view templateId);

}  // namespace talvik::resources
