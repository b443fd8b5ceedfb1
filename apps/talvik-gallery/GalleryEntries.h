#pragma once
// What the gallery shows: one entry a control placement.
#include <string>
#include <vector>

#include "frame/host/PropertyBag.h"

namespace talvik {

struct GalleryEntry {
    std::string className;  // entries of one class are shown together, in this order
    std::string title;
    // Restored from these properties; with none the control is placed new
    // (InitProperties).
    PropertyBag properties;
    // The size the container gives the control, in twips; 0 keeps the control's own.
    float width = 0, height = 0;
};

std::vector<GalleryEntry> galleryEntries();

}  // namespace talvik
