#pragma once
// Text as Qt shows it: caption bytes decoded by their encoding, the library's font faces
// mapped to faces this machine has, and text extents in twips.
#include <QFont>
#include <QString>
#include <string_view>

#include "frame/model/Elements.h"

class QPaintDevice;

namespace talvik {

// Caption bytes as text, read by the label's encoding (Windows-1252 or TCVN3).
QString decodeText(std::string_view bytes, TextEncoding encoding = TextEncoding::Windows1252);

// The Qt font for a library font at 96 DPI, with fallbacks for faces this machine
// lacks ("MS Sans Serif" to the system sans serif, "Times New Roman" to a serif with
// the same metrics).
QFont qtFont(const Font& font);
// The same font sized for drawing on `device`, where the widget it belongs to has
// `widgetDpi`: a picture rendered to an image of another resolution keeps the layout.
QFont qtFontFor(const Font& font, qreal widgetDpi, const QPaintDevice& device);

// The extent of a text in twips at 96 DPI, whatever the screen: layouts compare it with
// twip positions, which do not change with the screen either.
TextExtent measureText(std::string_view bytes, const Font& font);

}  // namespace talvik
