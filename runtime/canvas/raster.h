#pragma once
// The thick-line rasterizer: a polyline of thick, round-capped lines drawn
// straight into a buffer of 32-bit pixels, with no window system behind it.
// The desktop's replay (runtime/forms/render.h) hands it the image a
// window is painted into; a browser hands it a canvas's RGBA pixels.
//
// A line of pen width w covers the pixels whose centres lie within w/2 of
// it (a capsule); a polyline covers the union of its lines' capsules, and a
// cord of tens of thousands of lines is drawn at a cost that follows the
// pixels it covers rather than its lines.

#include "runtime/canvas/canvas.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace rt {

// A rectangle of 32-bit pixels, row after row. The caller owns the memory
// and chooses what a pixel's 32 bits mean (see the pixel helpers below).
struct PixelBuffer {
    std::uint32_t* pixels = nullptr;
    int width = 0;              // pixels
    int height = 0;             // pixels
    std::ptrdiff_t stride = 0;  // pixels from the start of one row to the next
    // The device pixel that pixels[0] is: a buffer may hold only a part of
    // the device (a layer the size of what a polyline covers).
    int left = 0, top = 0;
};

// A point in device pixels: (0, 0) is the top left corner of the device's
// first pixel, whose centre is (0.5, 0.5).
struct DevicePoint {
    double x = 0, y = 0;
};

// The smallest box holding some points.
struct DeviceBounds {
    double minX = 0, minY = 0, maxX = 0, maxY = 0;
};
DeviceBounds boundsOf(const DevicePoint* points, std::size_t count);  // count > 0

// A colour as an opaque 32-bit pixel: 0xAARRGGBB as one word (Qt's 32-bit
// image formats), or bytes R, G, B, A in memory on a little-endian machine
// (a canvas's ImageData, WebAssembly's memory).
constexpr std::uint32_t argbPixel(Color c)
{
    return 0xFF000000u | (static_cast<std::uint32_t>(redOf(c)) << 16)
           | (static_cast<std::uint32_t>(greenOf(c)) << 8) | static_cast<std::uint32_t>(blueOf(c));
}
constexpr std::uint32_t rgbaPixel(Color c) { return 0xFF000000u | (c & 0x00FFFFFFu); }

// Sets to `pixel` every pixel of `target` whose centre lies within `radius`
// of the polyline through nodes[0..count) (a line of no length draws
// nothing). Nodes may lie anywhere, far outside the buffer included; the
// pixels outside it are never touched. False, with nothing drawn, when a
// node is not finite or lies beyond 1e150 pixels.
//
// The result is exact but for pixels whose centres lie within 1/128 pixel
// of the edge: nearly straight stretches of the polyline are drawn as one
// line.
bool fillThickPolyline(const PixelBuffer& target, const DevicePoint* nodes, std::size_t count,
                       double radius, std::uint32_t pixel);
// The same with the nodes' bounds known already (found while the nodes
// were made: a pass over tens of thousands of nodes saved).
bool fillThickPolyline(const PixelBuffer& target, const DevicePoint* nodes, std::size_t count,
                       const DeviceBounds& bounds, double radius, std::uint32_t pixel);

// How a colour is laid out in the buffer's 32-bit pixels.
enum class PixelLayout { Argb, Rgba };  // argbPixel, rgbaPixel

// A whole picture: `background` everywhere, then the display list in its
// order, at `scale` device pixels per twip (1/15 at 100 %, twice that on a
// screen of device pixel ratio 2). A browser draws a window's picture into a
// canvas's pixels so, and it shows what the desktop's replay shows.
//
// A pen wider than a device pixel follows the thick line's rule: a pixel is
// drawn when its centre lies on the shape, no antialiasing. A line of pen
// width w pixels covers the centres within w * 15 * scale / 2 of it,
// round-capped, a run of connected lines of one colour and width as one
// polyline; a box, its four sides so. A pen a device pixel wide or less
// draws as the desktop's painter does: a pixel per step along the line's
// longer axis, the line cut to 1/64 pixel, its ends reaching half a pixel
// further; a box's outline as one closed path. A filled box also covers
// every centre inside it. Circles are antialiased, as on the desktop: the
// disc in the fill colour when filled, then the outline (a thin pen's along
// the chords the desktop flattens it into), each pixel blended by the share
// of it covered. Nothing is drawn for a shape with a coordinate beyond
// doubles; nothing outside the buffer is touched; the same bytes on every
// machine (sums, products, quotients and square roots only).
void rasterPicture(const PixelBuffer& target, const std::vector<DrawOp>& ops, Color background,
                   double scale, PixelLayout layout);

}  // namespace rt
