#include "runtime/forms/render.h"

#include "runtime/canvas/raster.h"

#include <QImage>
#include <QPaintEngine>
#include <QPainter>
#include <QPen>
#include <QTransform>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace rt {

QColor toQColor(Color c) { return QColor(redOf(c), greenOf(c), blueOf(c)); }

Color fromQColor(const QColor& c) { return RGB(c.red(), c.green(), c.blue()); }

namespace {

QPen penFor(const DrawOp& op)
{
    // Pen widths are whole pixels; in twip coordinates that is 15 per pixel.
    // Thick lines have round ends and joins, so a polyline drawn segment by
    // segment shows no gaps at its corners.
    QPen pen(toQColor(op.color), op.width * kTwipsPerPixel, Qt::SolidLine, Qt::RoundCap,
             Qt::RoundJoin);
    return pen;
}

// ------------------------------------------------------------ thick runs
//
// Qt's stroker builds an outline polygon per segment, some microseconds
// each, which for a cord of 32767 segments is most of a frame period. A run
// of connected thick lines of one colour and width is drawn instead by the
// program's own rasterizer (runtime/canvas/raster.h), straight into the
// image's pixels when the painter allows it.

// Shorter runs are not worth the setup; they keep Qt's strokes.
constexpr std::size_t kMinSpanRun = 8;

// How many ops from ops[first] on form one run of thick, connected lines of
// one colour and width, each starting where the one before ended.
std::size_t thickRunLength(const std::vector<DrawOp>& ops, std::size_t first)
{
    const DrawOp& head = ops[first];
    if (head.kind != DrawOp::Kind::Line || head.width <= 1)
        return 0;
    std::size_t end = first + 1;
    while (end < ops.size()) {
        const DrawOp& op = ops[end];
        const DrawOp& before = ops[end - 1];
        if (op.kind != DrawOp::Kind::Line || op.width != head.width || op.color != head.color
            || op.x1 != before.x2 || op.y1 != before.y2)
            break;
        ++end;
    }
    return end - first;
}


// A layer for runs drawn on a device whose pixels the replay cannot reach
// (a widget's backing store, a pixmap, a clipped painter): the run goes into
// it, then Qt composites it like any image. Kept between frames.
QImage& spanLayer(int width, int height)
{
    thread_local QImage layer;
    if (layer.width() < width || layer.height() < height)
        layer = QImage(std::max(width, layer.width()), std::max(height, layer.height()),
                       QImage::Format_ARGB32_Premultiplied);
    return layer;
}

bool isSpanFormat(QImage::Format format)
{
    return format == QImage::Format_RGB32 || format == QImage::Format_ARGB32
           || format == QImage::Format_ARGB32_Premultiplied;
}

// Draws the run ops[0..count) by spans when the painter allows it (a scale
// and a translation only, the same scale both ways, painting over at full
// opacity); false when it has drawn nothing and the caller must stroke the
// run.
bool fillThickRun(QPainter& painter, const DrawOp* ops, std::size_t count)
{
    const QTransform toDevice = painter.deviceTransform();  // twips -> device pixels
    if (toDevice.type() > QTransform::TxScale)
        return false;
    const double scale = std::abs(toDevice.m11());
    if (scale == 0 || std::abs(std::abs(toDevice.m22()) - scale) > 1e-9 * scale)
        return false;
    const double radius = ops[0].width * kTwipsPerPixel * scale / 2;

    // Opaque pixels simply replace what lies under them only when painting
    // over, fully opaque; anything else is left to Qt.
    if (painter.compositionMode() != QPainter::CompositionMode_SourceOver
        || painter.opacity() != 1.0)
        return false;

    QPaintDevice* device = painter.device();
    const bool direct = device->devType() == QInternal::Image
                        && painter.paintEngine()->paintDevice() == device
                        && isSpanFormat(static_cast<QImage*>(device)->format())
                        && !painter.hasClipping();
    // The device's pixels with no world transform (the device pixel ratio
    // and any offset of a widget within its window), and the rectangle of
    // them the run may touch.
    QTransform base;
    QRectF bounds;
    if (direct) {
        const auto* image = static_cast<const QImage*>(device);
        bounds = QRectF(0, 0, image->width(), image->height());
    } else {
        painter.save();
        painter.resetTransform();
        base = painter.deviceTransform();
        painter.restore();
        if (base.type() > QTransform::TxScale || base.m11() <= 0 || base.m22() <= 0)
            return false;
        const double ratio = std::max(base.m11(), base.m22());
        bounds = QRectF(0, 0, std::ceil(device->width() * ratio),
                        std::ceil(device->height() * ratio));
    }

    // The nodes in the device's pixels, less the offset of the device
    // within its window: node 0 is the run's start, node k the end of op
    // k-1.
    const double m11 = toDevice.m11(), m22 = toDevice.m22();
    const double m31 = toDevice.dx() - base.dx(), m32 = toDevice.dy() - base.dy();
    auto map = [=](float x, float y) { return DevicePoint{x * m11 + m31, y * m22 + m32}; };
    thread_local std::vector<DevicePoint> nodes;
    nodes.resize(count + 1);
    nodes[0] = map(ops[0].x1, ops[0].y1);
    DeviceBounds b{nodes[0].x, nodes[0].y, nodes[0].x, nodes[0].y};
    for (std::size_t k = 0; k < count; ++k) {
        const DevicePoint p = map(ops[k].x2, ops[k].y2);
        nodes[k + 1] = p;
        b.minX = std::min(b.minX, p.x);
        b.maxX = std::max(b.maxX, p.x);
        b.minY = std::min(b.minY, p.y);
        b.maxY = std::max(b.maxY, p.y);
    }
    if (!std::isfinite(b.minX) || !std::isfinite(b.maxX) || !std::isfinite(b.minY)
        || !std::isfinite(b.maxY))
        return false;

    const std::uint32_t pixel = argbPixel(ops[0].color);
    if (direct) {
        // The raster engine writes through the same pointer it took when
        // the painter began (a detach here would leave it drawing into the
        // old buffer), so the pixels are filled in place, in order.
        auto* image = static_cast<QImage*>(device);
        const PixelBuffer target{reinterpret_cast<std::uint32_t*>(const_cast<uchar*>(image->constBits())),
                                 image->width(), image->height(),
                                 image->bytesPerLine() / static_cast<std::ptrdiff_t>(sizeof(QRgb))};
        return fillThickPolyline(target, nodes.data(), nodes.size(), b, radius, pixel);
    }

    // Through a layer of the run's box, which Qt then composites like any
    // image.
    const double pad = radius + 1;
    const QRectF run(QPointF(b.minX - pad, b.minY - pad), QPointF(b.maxX + pad, b.maxY + pad));
    const QRect box = run.intersected(bounds).toAlignedRect().intersected(bounds.toRect());
    if (box.isEmpty())
        return true;  // nothing of the run shows
    QImage& layer = spanLayer(box.width(), box.height());
    for (int y = 0; y < box.height(); ++y)
        std::fill_n(reinterpret_cast<QRgb*>(layer.scanLine(y)), box.width(), QRgb(0));
    const PixelBuffer target{reinterpret_cast<std::uint32_t*>(layer.bits()), box.width(),
                             box.height(),
                             layer.bytesPerLine() / static_cast<std::ptrdiff_t>(sizeof(QRgb)),
                             box.left(), box.top()};
    if (!fillThickPolyline(target, nodes.data(), nodes.size(), b, radius, pixel))
        return false;
    painter.save();
    painter.resetTransform();
    painter.setWorldTransform(QTransform::fromScale(1 / base.m11(), 1 / base.m22()));
    painter.drawImage(QPointF(box.topLeft()), layer, QRectF(0, 0, box.width(), box.height()));
    painter.restore();
    return true;
}

}  // namespace

void renderPicture(QPainter& painter, const std::vector<DrawOp>& ops, Color background,
                   ThickLines thickLines)
{
    painter.save();
    const QPaintDevice* device = painter.device();
    painter.fillRect(QRectF(0, 0, device->width(), device->height()), toQColor(background));
    painter.scale(1.0 / kTwipsPerPixel, 1.0 / kTwipsPerPixel);

    QPen currentPen;
    bool havePen = false;
    auto usePen = [&](const DrawOp& op) {
        const QPen pen = penFor(op);
        if (!havePen || pen != currentPen) {
            painter.setPen(pen);
            currentPen = pen;
            havePen = true;
        }
    };

    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setBrush(Qt::NoBrush);
    std::size_t strokeUntil = 0;  // ops of a run already found not to be filled
    for (std::size_t i = 0; i < ops.size(); ++i) {
        const DrawOp& op = ops[i];
        if (thickLines == ThickLines::Spans && i >= strokeUntil) {
            const std::size_t run = thickRunLength(ops, i);
            if (run >= kMinSpanRun && fillThickRun(painter, &ops[i], run)) {
                i += run - 1;
                continue;
            }
            strokeUntil = i + run;
        }
        switch (op.kind) {
        case DrawOp::Kind::Line:
            usePen(op);
            painter.drawLine(QPointF(op.x1, op.y1), QPointF(op.x2, op.y2));
            break;
        case DrawOp::Kind::Box:
        case DrawOp::Kind::FilledBox: {
            usePen(op);
            const QRectF box = QRectF(QPointF(op.x1, op.y1), QPointF(op.x2, op.y2)).normalized();
            if (op.kind == DrawOp::Kind::FilledBox)
                painter.setBrush(toQColor(op.color));
            painter.drawRect(box);
            painter.setBrush(Qt::NoBrush);
            break;
        }
        case DrawOp::Kind::Circle:
            // Circles are antialiased: a ball a few pixels across looks
            // ragged otherwise. Lines stay sharp-edged.
            usePen(op);
            painter.setRenderHint(QPainter::Antialiasing, true);
            if (op.filled)
                painter.setBrush(toQColor(op.fillColor));
            painter.drawEllipse(QPointF(op.x1, op.y1), op.x2, op.x2);
            painter.setBrush(Qt::NoBrush);
            painter.setRenderHint(QPainter::Antialiasing, false);
            break;
        }
    }
    painter.restore();
}

}  // namespace rt
