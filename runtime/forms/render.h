#pragma once
// Replays a window's display list with a QPainter: twips are scaled to
// device-independent pixels (15 twips to one), so the picture is crisp at
// any device pixel ratio. Used by the window's paint event, by the tests and
// by the benchmarks, so all three see the same picture.

#include "canvas.h"

#include <QColor>
#include <vector>

class QPainter;

namespace rt {

constexpr double kTwipsPerPixel = 15.0;

QColor toQColor(Color c);
Color fromQColor(const QColor& c);

// Fills the painter's whole device with the background, then draws the ops.
void renderPicture(QPainter& painter, const std::vector<DrawOp>& ops, Color background);

}  // namespace rt
