#include "render.h"

#include <QImage>
#include <QPaintEngine>
#include <QPainter>
#include <QPen>
#include <QTransform>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>

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
// A thick line with round caps covers the pixels whose centres lie within
// half the pen's width of it: a capsule. A polyline drawn line by line is
// the union of its segments' capsules, so a run of them can be filled
// capsule by capsule, each one row by row as a single span (a capsule is
// convex), straight into 32-bit pixels. Qt's stroker builds an outline
// polygon per segment instead, some microseconds each, which for a cord of
// 32767 segments is most of a frame period.

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

// Rows of 32-bit pixels to fill, with the rectangle that may be touched.
struct SpanTarget {
    uchar* bits = nullptr;
    qsizetype bytesPerLine = 0;
    int left = 0, top = 0, right = 0, bottom = 0;  // clip, right and bottom exclusive
    QRgb pixel = 0;
    QRgb* row(int y) const { return reinterpret_cast<QRgb*>(bits + y * bytesPerLine); }
};

// Where a pixel is sampled: its centre, nudged up and left by a hair so that
// a centre exactly on the capsule's edge counts on the right and bottom
// edges and not on the left and top, as with Qt's fill; a line of width w on
// whole pixels is then w pixels thick, not w + 1.
constexpr double kSample = 0.5 - 1.0 / 1024;

// Fills the pixels of the target whose centres lie within `radius` of the
// segment from (ax, ay) to (bx, by), in the target's pixel coordinates.
void fillCapsule(const SpanTarget& target, double ax, double ay, double bx, double by,
                 double radius)
{
    const double top = std::max(std::ceil(std::min(ay, by) - radius - kSample),
                                static_cast<double>(target.top));
    const double bottom = std::min(std::floor(std::max(ay, by) + radius - kSample),
                                   static_cast<double>(target.bottom - 1));
    if (!(top <= bottom))
        return;
    const double dx = bx - ax;
    const double dy = by - ay;
    const double length2 = dx * dx + dy * dy;
    const double length = std::sqrt(length2);
    const double reach = radius * length;  // radius, in units of the cross product
    const double r2 = radius * radius;
    const double invDx = dx != 0 ? 1 / dx : 0;
    const double invDy = dy != 0 ? 1 / dy : 0;
    const double clipLeft = target.left;
    const double clipRight = target.right - 1;

    for (int y = static_cast<int>(top); y <= static_cast<int>(bottom); ++y) {
        const double yc = y + kSample;
        double lo = std::numeric_limits<double>::infinity();
        double hi = -lo;
        // The round ends.
        const double va = yc - ay;
        const double vb = yc - by;
        const double ha = r2 - va * va;
        if (ha >= 0) {
            const double w = std::sqrt(ha);
            lo = std::min(lo, ax - w);
            hi = std::max(hi, ax + w);
        }
        const double hb = r2 - vb * vb;
        if (hb >= 0) {
            const double w = std::sqrt(hb);
            lo = std::min(lo, bx - w);
            hi = std::max(hi, bx + w);
        }
        // The band between them: u = x - ax such that the point projects
        // onto the segment (0 <= u dx + v dy <= length^2) and lies within
        // the radius of its line (|u dy - v dx| <= radius * length).
        if (length > 0) {
            double uLo = -std::numeric_limits<double>::infinity();
            double uHi = -uLo;
            const double along = va * dy;
            const double across = va * dx;
            bool inBand = true;
            if (dx != 0) {
                const double u1 = -along * invDx;
                const double u2 = (length2 - along) * invDx;
                uLo = std::max(uLo, std::min(u1, u2));
                uHi = std::min(uHi, std::max(u1, u2));
            } else {
                inBand = along >= 0 && along <= length2;
            }
            if (dy != 0) {
                const double u1 = (across - reach) * invDy;
                const double u2 = (across + reach) * invDy;
                uLo = std::max(uLo, std::min(u1, u2));
                uHi = std::min(uHi, std::max(u1, u2));
            } else {
                inBand = inBand && std::abs(across) <= reach;
            }
            if (inBand && uLo <= uHi) {
                lo = std::min(lo, ax + uLo);
                hi = std::max(hi, ax + uHi);
            }
        }
        const double first = std::max(std::ceil(lo - kSample), clipLeft);
        const double last = std::min(std::floor(hi - kSample), clipRight);
        if (first <= last) {
            QRgb* row = target.row(y);
            std::fill(row + static_cast<int>(first), row + static_cast<int>(last) + 1,
                      target.pixel);
        }
    }
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

    // The nodes in device pixels: node 0 is the run's start, node k the end
    // of op k-1.
    thread_local std::vector<QPointF> nodes;
    nodes.resize(count + 1);
    nodes[0] = toDevice.map(QPointF(ops[0].x1, ops[0].y1));
    double minX = nodes[0].x(), maxX = minX, minY = nodes[0].y(), maxY = minY;
    for (std::size_t k = 0; k < count; ++k) {
        const QPointF p = toDevice.map(QPointF(ops[k].x2, ops[k].y2));
        nodes[k + 1] = p;
        minX = std::min(minX, p.x());
        maxX = std::max(maxX, p.x());
        minY = std::min(minY, p.y());
        maxY = std::max(maxY, p.y());
    }
    if (!std::isfinite(minX) || !std::isfinite(maxX) || !std::isfinite(minY)
        || !std::isfinite(maxY))
        return false;

    // Opaque pixels simply replace what lies under them only when painting
    // over, fully opaque; anything else is left to Qt.
    if (painter.compositionMode() != QPainter::CompositionMode_SourceOver
        || painter.opacity() != 1.0)
        return false;

    SpanTarget target;
    target.pixel = toQColor(ops[0].color).rgba();
    QPaintDevice* device = painter.device();
    const bool direct = device->devType() == QInternal::Image
                        && painter.paintEngine()->paintDevice() == device
                        && isSpanFormat(static_cast<QImage*>(device)->format())
                        && !painter.hasClipping();
    QImage* image = nullptr;
    QRect box;
    QTransform layerOrigin;
    if (direct) {
        // The raster engine writes through the same pointer it took when
        // the painter began (a detach here would leave it drawing into the
        // old buffer), so the pixels are filled in place, in order.
        image = static_cast<QImage*>(device);
        target.bits = const_cast<uchar*>(image->constBits());
        target.bytesPerLine = image->bytesPerLine();
        target.right = image->width();
        target.bottom = image->height();
    } else {
        // The device's pixels, with no world transform: the device pixel
        // ratio and any offset of a widget within its window.
        painter.save();
        painter.resetTransform();
        const QTransform base = painter.deviceTransform();
        painter.restore();
        if (base.type() > QTransform::TxScale || base.m11() <= 0 || base.m22() <= 0)
            return false;
        // The run's box in those pixels, within the device's bounds.
        const double ratio = std::max(base.m11(), base.m22());
        const double pad = radius + 1;
        const QRectF bounds(0, 0, std::ceil(device->width() * ratio),
                            std::ceil(device->height() * ratio));
        const QRectF run(QPointF(minX - base.dx() - pad, minY - base.dy() - pad),
                         QPointF(maxX - base.dx() + pad, maxY - base.dy() + pad));
        box = run.intersected(bounds).toAlignedRect().intersected(bounds.toRect());
        if (box.isEmpty())
            return true;  // nothing of the run shows
        image = &spanLayer(box.width(), box.height());
        for (int y = 0; y < box.height(); ++y)
            std::fill_n(reinterpret_cast<QRgb*>(image->scanLine(y)), box.width(), QRgb(0));
        target.bits = image->bits();
        target.bytesPerLine = image->bytesPerLine();
        target.right = box.width();
        target.bottom = box.height();
        for (QPointF& p : nodes)
            p -= QPointF(base.dx() + box.left(), base.dy() + box.top());
        layerOrigin = QTransform::fromScale(1 / base.m11(), 1 / base.m22());
    }

    for (std::size_t k = 0; k < count; ++k) {
        // A line of no length draws nothing, as with Qt's stroke; its
        // neighbours' round ends cover the point anyway.
        if (ops[k].x1 == ops[k].x2 && ops[k].y1 == ops[k].y2)
            continue;
        fillCapsule(target, nodes[k].x(), nodes[k].y(), nodes[k + 1].x(), nodes[k + 1].y(),
                    radius);
    }

    if (!direct) {
        painter.save();
        painter.resetTransform();
        painter.setWorldTransform(layerOrigin);
        painter.drawImage(QPointF(box.topLeft()), *image, QRectF(0, 0, box.width(), box.height()));
        painter.restore();
    }
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
