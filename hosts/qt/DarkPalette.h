#pragma once
// A dark palette as desktop dark themes have it: light text on dark grey, and a medium
// blue highlight. What the gallery switches to and the legibility tests draw under.
#include <QPalette>

namespace talvik {

QPalette darkPalette();

}  // namespace talvik
