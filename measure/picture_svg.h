#pragma once
// A picture as SVG: the display list after a tick, drawn in twips on the
// client area, for a worksheet, and as the reference the browser's picture
// is held to. Plain C++: no Qt.
//
// The drawing's user units are twips (viewBox "0 0 width height"), its size
// in CSS pixels 15 twips each, so it shows at the window's 100 % size and
// scales without loss. Every coordinate is the display list's single as it
// stands (shortest round-trip text); pens are their width in pixels, with
// round caps, as the window draws them.

#include "runtime/canvas/canvas.h"

#include <string>

namespace measure {

std::string pictureSvg(const rt::Canvas& canvas, int widthTwips, int heightTwips);

}  // namespace measure
