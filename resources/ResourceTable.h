#pragma once
// The tables that talvik_embed generates (ResourceData.cpp in the build directory).
// Private to talvik_resources: use resources/Resources.h.
#include <cstddef>

#include "resources/Resources.h"

namespace talvik::resources::detail {

extern const Blob kBitmaps[];  // sorted by id
extern const std::size_t kBitmapsCount;
extern const Blob kTemplates[];  // sorted by id
extern const std::size_t kTemplatesCount;
extern const unsigned char* const kManifest;
extern const std::size_t kManifestSize;

}  // namespace talvik::resources::detail
