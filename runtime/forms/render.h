#pragma once
// Replays a window's display list with a QPainter: twips are scaled to
// device-independent pixels (15 twips to one), so the picture is crisp at
// any device pixel ratio. Used by the window's paint event, by the tests and
// by the benchmarks, so all three see the same picture.

#include "runtime/canvas/canvas.h"
#include "runtime/canvas/scale.h"

#include <QColor>
#include <vector>

class QPainter;

namespace rt {

QColor toQColor(Color c);
Color fromQColor(const QColor& c);

// How thick polylines are drawn. A long run of connected thick lines of one
// colour and width (a cord of thousands of segments) costs Qt's stroker
// milliseconds per thousand segments; Spans fills the same pixels (every
// pixel whose centre lies within half the pen's width of a segment, nearly
// straight stretches taken as one line) through a mask of the run's pixels,
// at a cost that follows the pixels covered rather than the segments (the
// rasterizer of runtime/canvas/raster.h). Stroke draws every line with Qt,
// the reference the fast way is tested against.
enum class ThickLines { Spans, Stroke };

// Fills the painter's whole device with the background, then draws the ops.
void renderPicture(QPainter& painter, const std::vector<DrawOp>& ops, Color background,
                   ThickLines thickLines = ThickLines::Spans);

}  // namespace rt
