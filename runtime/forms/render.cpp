#include "runtime/forms/render.h"

#include <QImage>
#include <QPaintEngine>
#include <QPainter>
#include <QPen>
#include <QTransform>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>
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
// the union of its segments' capsules. Qt's stroker builds an outline
// polygon per segment, some microseconds each, which for a cord of 32767
// segments is most of a frame period; filling each capsule ourselves is
// cheaper, but still grows with the segments times the pen's area, while a
// long cord on the screen is mostly segments far shorter than a pixel,
// lying over pixels that are already black.
//
// So a run is rasterised into a mask of one bit per pixel of its box first:
// nearly straight stretches are joined into single lines, a capsule whose
// pixels are all set already is skipped after a cheap look at the mask, and
// only the rest is computed row by row. The mask is then filled run by run
// of set bits, each pixel once: the cost follows the pixels the cord covers.

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

// Where a pixel is sampled: its centre, nudged up and left by a hair so that
// a centre exactly on the capsule's edge counts on the right and bottom
// edges and not on the left and top, as with Qt's fill; a line of width w on
// whole pixels is then w pixels thick, not w + 1.
constexpr double kSample = 0.5 - 1.0 / 1024;

// How far, in device pixels, a joined line may pass from the nodes it
// replaces. Only pixel centres that close to the cord's edge can change,
// a small share of the few that Qt's own flattened round caps already make
// differ.
constexpr double kJoinTolerance = 1.0 / 128;

// Floor and ceiling of a value clamped to [-1, limit] first, limit a pixel
// count: plain x86-64 has no rounding instruction, and these are done for
// every row of every capsule. A NaN (from nodes so far apart that their
// distance overflows) counts as -1, so the row it bounds is left empty.
double clampToRow(double x, double limit)
{
    x = x > -1.0 ? x : -1.0;
    return x < limit ? x : limit;
}
int floorWithin(double x, double limit)
{
    x = clampToRow(x, limit);
    const int i = static_cast<int>(x);
    return x < i ? i - 1 : i;
}
int ceilWithin(double x, double limit)
{
    x = clampToRow(x, limit);
    const int i = static_cast<int>(x);
    return x > i ? i + 1 : i;
}

// One bit per pixel of a rectangle, rows of 64-bit words; bit x of a row is
// pixel x, the lowest bit of each word first.
class CoverageMask {
public:
    void reset(int width, int height)
    {
        m_width = width;
        m_height = height;
        m_words = (width + 63) / 64;
        m_bits.assign(static_cast<std::size_t>(m_words) * static_cast<std::size_t>(height), 0);
    }
    int width() const { return m_width; }
    int height() const { return m_height; }

    // Sets pixels first..last of row y (0 <= first <= last < width).
    void set(int y, int first, int last)
    {
        std::uint64_t* row = rowBits(y);
        const int w0 = first >> 6, w1 = last >> 6;
        const std::uint64_t head = ~std::uint64_t(0) << (first & 63);
        const std::uint64_t tail = ~std::uint64_t(0) >> (63 - (last & 63));
        if (w0 == w1) {
            row[w0] |= head & tail;
            return;
        }
        row[w0] |= head;
        std::fill(row + w0 + 1, row + w1, ~std::uint64_t(0));
        row[w1] |= tail;
    }

    // Whether pixels first..last of row y are all set.
    bool allSet(int y, int first, int last) const
    {
        const std::uint64_t* row = rowBits(y);
        const int w0 = first >> 6, w1 = last >> 6;
        const std::uint64_t head = ~std::uint64_t(0) << (first & 63);
        const std::uint64_t tail = ~std::uint64_t(0) >> (63 - (last & 63));
        if (w0 == w1)
            return (row[w0] & head & tail) == (head & tail);
        if ((row[w0] & head) != head || (row[w1] & tail) != tail)
            return false;
        for (int w = w0 + 1; w < w1; ++w)
            if (row[w] != ~std::uint64_t(0))
                return false;
        return true;
    }

    // Calls fill(first, end) for every run of set pixels of row y, end
    // exclusive, left to right.
    template <typename Fill>
    void forEachRun(int y, Fill&& fill) const
    {
        const std::uint64_t* row = rowBits(y);
        int x = 0;
        while (true) {
            const int first = find(row, x, true);
            if (first >= m_width)
                return;
            // Bits past the width are never set, so a run ends by then.
            x = find(row, first, false);
            fill(first, x);
        }
    }

private:
    std::uint64_t* rowBits(int y) { return m_bits.data() + static_cast<std::size_t>(y) * m_words; }
    const std::uint64_t* rowBits(int y) const
    {
        return m_bits.data() + static_cast<std::size_t>(y) * m_words;
    }

    // The first pixel from x on whose bit is `set`, or the end of the row's
    // words.
    int find(const std::uint64_t* row, int x, bool set) const
    {
        const std::uint64_t flip = set ? 0 : ~std::uint64_t(0);
        int w = x >> 6;
        if (w >= m_words)
            return m_words * 64;
        std::uint64_t bits = (row[w] ^ flip) & (~std::uint64_t(0) << (x & 63));
        while (bits == 0) {
            if (++w == m_words)
                return m_words * 64;
            bits = row[w] ^ flip;
        }
        return w * 64 + std::countr_zero(bits);
    }

    int m_width = 0, m_height = 0, m_words = 0;
    std::vector<std::uint64_t> m_bits;
};

// Rasterises a run's capsules into a mask, in the mask's pixel coordinates.
class CapsuleRaster {
public:
    CapsuleRaster(CoverageMask& mask, double radius)
        : m_mask(mask), m_radius(radius), m_halfWidth(halfWidthTable())
    {
        // Half-widths of the disc for distances from its centre's row that
        // are rounded down to a step of the table: never narrower than the
        // disc at the true distance. Steps of 1/32 pixel, coarser for a pen
        // so wide that the table would outgrow a few thousand entries.
        m_stepsPerPixel = std::clamp(std::floor(kLargestTable / (radius + 1)), 1.0, 32.0);
        const int steps = static_cast<int>(radius * m_stepsPerPixel) + 1;
        m_halfWidth.resize(static_cast<std::size_t>(steps));
        for (int k = 0; k < steps; ++k) {
            const double v = k / m_stepsPerPixel;
            m_halfWidth[static_cast<std::size_t>(k)] =
                std::sqrt(std::max(0.0, radius * radius - v * v)) + 1e-9;
        }
    }

    // The polyline through points[0..count], joining nearly straight
    // stretches into single lines first.
    void polyline(const QPointF* points, std::size_t count)
    {
        std::size_t anchor = 0;
        while (anchor + 1 < count) {
            const std::size_t end = joinFrom(points, anchor, count);
            capsule(points[anchor], points[end]);
            anchor = end;
        }
    }

private:
    static constexpr double kLargestTable = 4096;
    static constexpr double kGrowthBudgetPerSegment = 64;
    static constexpr int kLongestBackoff = 7;

    struct Box {
        double left = 1, top = 1, right = 0, bottom = 0;  // empty unless left <= right
    };

    static double cross(double ax, double ay, double bx, double by) { return ax * by - ay * bx; }

    // The furthest node after points[anchor] that a line from the anchor can
    // reach while passing within kJoinTolerance of every node between: each
    // of them must lie in a narrow cone about the line's direction (the
    // cones, intersected, leave a wedge) and no further out than the line's
    // end. Every node between is then within the tolerance of the line, and
    // so is every point of the segments joining them.
    static std::size_t joinFrom(const QPointF* points, std::size_t anchor, std::size_t count)
    {
        const double ax = points[anchor].x(), ay = points[anchor].y();
        constexpr double tol = kJoinTolerance;
        constexpr double tol2 = tol * tol;
        bool bounded = false;  // no wedge yet: every node so far lies on the anchor
        double lx = 0, ly = 0, rx = 0, ry = 0;  // the wedge's edges, turning from r to l
        double reach2 = 0;                      // squared distance of the furthest node
        double px = 0, py = 0;                  // the last node taken, from the anchor
        std::size_t end = anchor + 1;           // the first node is always taken
        for (std::size_t j = anchor + 1; j < count; ++j) {
            const double vx = points[j].x() - ax, vy = points[j].y() - ay;
            const double d2 = vx * vx + vy * vy;
            if (j > anchor + 1) {
                if (!(d2 >= reach2))
                    break;  // a step back towards the anchor (most steps in a heap)
                if (reach2 > tol2) {
                    // The cone of directions passing within the tolerance of
                    // the last node taken: its direction turned either way by
                    // asin(tol/d), as vectors d times as long. Worked out
                    // only now that a node beyond it is in view.
                    const double c = std::sqrt(reach2 - tol2);
                    const double nlx = px * c - py * tol, nly = py * c + px * tol;
                    const double nrx = px * c + py * tol, nry = py * c - px * tol;
                    if (!bounded) {
                        lx = nlx, ly = nly, rx = nrx, ry = nry;
                        bounded = true;
                    } else {
                        if (cross(rx, ry, nrx, nry) > 0)
                            rx = nrx, ry = nry;
                        if (cross(lx, ly, nlx, nly) < 0)
                            lx = nlx, ly = nly;
                    }
                }
                if (bounded && !(cross(rx, ry, vx, vy) >= 0 && cross(vx, vy, lx, ly) >= 0))
                    break;
            }
            end = j;
            reach2 = d2;
            px = vx;
            py = vy;
        }
        return end;
    }

    void capsule(QPointF a, QPointF b)
    {
        // A line of no length draws nothing, as with Qt's stroke; its
        // neighbours' round ends cover the point anyway.
        if (a.x() == b.x() && a.y() == b.y())
            return;
        const double minX = std::min(a.x(), b.x()), maxX = std::max(a.x(), b.x());
        const double minY = std::min(a.y(), b.y()), maxY = std::max(a.y(), b.y());
        // A pile of short segments mostly lies on pixels already set. A box
        // found covered vouches for every segment inside it, and it grows
        // while the segments after it stay on covered pixels. A look at a
        // large box costs a word per row per 64 pixels; a budget that grows
        // with the segments keeps a cord doubling back over a large covered
        // area from paying that for every segment.
        if (minX >= m_covered.left && maxX <= m_covered.right && minY >= m_covered.top
            && maxY <= m_covered.bottom)
            return;
        // Along a stretched cord every capsule has new pixels, and a look
        // that fails is wasted: after a failure the next few are filled
        // without looking, twice as many after each further failure.
        if (m_skipLooks > 0) {
            --m_skipLooks;
            fillCapsule(a.x(), a.y(), b.x(), b.y());
            return;
        }
        const Box own{minX, minY, maxX, maxY};
        m_growthBudget += kGrowthBudgetPerSegment;
        if (m_covered.left <= m_covered.right && m_growthBudget > 0) {
            const Box grown{std::min(minX, m_covered.left), std::min(minY, m_covered.top),
                            std::max(maxX, m_covered.right), std::max(maxY, m_covered.bottom)};
            const double words = (grown.right - grown.left) / 64 + 2;
            m_growthBudget -= words * (grown.bottom - grown.top + 2 * m_radius + 1);
            if (boxCovered(grown)) {
                m_covered = grown;
                return;
            }
        }
        if (boxCovered(own)) {
            m_covered = own;
            m_lookBackoff = 0;
            return;
        }
        m_covered = Box{};
        m_skipLooks = m_lookBackoff;
        m_lookBackoff = std::min(2 * m_lookBackoff + 1, kLongestBackoff);
        fillCapsule(a.x(), a.y(), b.x(), b.y());
    }

    // Whether every pixel within the radius of the box is set: a superset of
    // the pixels of any segment inside it.
    bool boxCovered(const Box& box) const
    {
        const double minX = box.left, minY = box.top, maxX = box.right, maxY = box.bottom;
        const double width = m_mask.width(), height = m_mask.height();
        const int top = std::max(ceilWithin(minY - m_radius - kSample, height), 0);
        const int bottom =
            std::min(floorWithin(maxY + m_radius - kSample, height), m_mask.height() - 1);
        const auto steps = static_cast<double>(m_halfWidth.size());
        for (int y = top; y <= bottom; ++y) {
            const double yc = y + kSample;
            const double v = std::max({minY - yc, yc - maxY, 0.0}) * m_stepsPerPixel;
            if (v >= steps)
                continue;  // beyond the radius: no pixel of this row
            double w = m_halfWidth[static_cast<std::size_t>(v)];
            int first = std::max(ceilWithin(minX - w - kSample, width), 0);
            int last = std::min(floorWithin(maxX + w - kSample, width), m_mask.width() - 1);
            if (first <= last && !m_mask.allSet(y, first, last)) {
                // The table's widths run up to a pixel wide near the top and
                // bottom of the disc, which at the end of a pile (against a
                // wall, say) is a pixel no segment covers; before giving up,
                // the row's true width.
                const double d = std::max({minY - yc, yc - maxY, 0.0});
                w = std::sqrt(std::max(0.0, m_radius * m_radius - d * d));
                first = std::max(ceilWithin(minX - w - kSample, width), 0);
                last = std::min(floorWithin(maxX + w - kSample, width), m_mask.width() - 1);
                if (first <= last && !m_mask.allSet(y, first, last))
                    return false;
            }
        }
        return true;
    }

    // Sets the pixels whose centres lie within the radius of the segment
    // from (ax, ay) to (bx, by), row by row: a capsule is convex, so each
    // row is one span.
    void fillCapsule(double ax, double ay, double bx, double by)
    {
        const double radius = m_radius;
        const double width = m_mask.width(), height = m_mask.height();
        const int top = std::max(ceilWithin(std::min(ay, by) - radius - kSample, height), 0);
        const int bottom =
            std::min(floorWithin(std::max(ay, by) + radius - kSample, height), m_mask.height() - 1);
        const double dx = bx - ax;
        const double dy = by - ay;
        const double length2 = dx * dx + dy * dy;
        const double length = std::sqrt(length2);
        const double reach = radius * length;  // radius, in units of the cross product
        const double r2 = radius * radius;
        const double invDx = dx != 0 ? 1 / dx : 0;
        const double invDy = dy != 0 ? 1 / dy : 0;

        // Rows beyond the radius of both ends (a long line's middle) meet
        // only the band, whose edges move along the row by the same step
        // every row: no square roots, no tests.
        const double upper = std::min(ay, by) + radius;
        const double lower = std::max(ay, by) - radius;
        const int middleTop = std::max(floorWithin(upper - kSample, height) + 1, top);
        const int middleBottom = std::min(ceilWithin(lower - kSample, height) - 1, bottom);
        if (middleTop <= middleBottom) {
            // Here |dy| is at least twice the radius, and the band is the
            // strip within the radius of the line: a point of such a row on
            // the strip's edge projects onto the segment at va/dy plus or
            // minus r dx/(dy length), strictly between its ends, so the
            // ends' limits on the band never bind. Along the row the strip
            // is centred on u = va dx/dy and reaches |reach/dy| either way.
            const double lean = dx * invDy;
            const double half = std::abs(reach * invDy);
            for (int y = middleTop; y <= middleBottom; ++y) {
                const double centre = ax + lean * (y + kSample - ay);
                const int first = std::max(ceilWithin(centre - half - kSample, width), 0);
                const int last =
                    std::min(floorWithin(centre + half - kSample, width), m_mask.width() - 1);
                if (first <= last)
                    m_mask.set(y, first, last);
            }
        }

        for (int y = top; y <= bottom; ++y) {
            if (y == middleTop && middleTop <= middleBottom) {
                y = middleBottom;
                continue;
            }
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
            const int first = std::max(ceilWithin(lo - kSample, width), 0);
            const int last = std::min(floorWithin(hi - kSample, width), m_mask.width() - 1);
            if (first <= last)
                m_mask.set(y, first, last);
        }
    }

    // Kept between runs, as the mask is: a run allocates nothing once the
    // largest has been drawn.
    static std::vector<double>& halfWidthTable()
    {
        thread_local std::vector<double> table;
        return table;
    }

    CoverageMask& m_mask;
    double m_radius;
    double m_stepsPerPixel = 1;
    std::vector<double>& m_halfWidth;
    // A box whose pixels, to the radius, are known to be set; empty at first.
    Box m_covered;
    double m_growthBudget = 0;  // rows times words of mask still to spend on growing it
    int m_skipLooks = 0;        // capsules still to fill without a look at the mask
    int m_lookBackoff = 0;      // how many to skip after the next failed look
};

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
    const double m11 = toDevice.m11(), m22 = toDevice.m22();
    const double m31 = toDevice.dx(), m32 = toDevice.dy();
    auto map = [=](float x, float y) { return QPointF(x * m11 + m31, y * m22 + m32); };
    thread_local std::vector<QPointF> nodes;
    nodes.resize(count + 1);
    nodes[0] = map(ops[0].x1, ops[0].y1);
    double minX = nodes[0].x(), maxX = minX, minY = nodes[0].y(), maxY = minY;
    for (std::size_t k = 0; k < count; ++k) {
        const QPointF p = map(ops[k].x2, ops[k].y2);
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
    const double pad = radius + 1;
    const QRectF run(QPointF(minX - base.dx() - pad, minY - base.dy() - pad),
                     QPointF(maxX - base.dx() + pad, maxY - base.dy() + pad));
    const QRect box = run.intersected(bounds).toAlignedRect().intersected(bounds.toRect());
    if (box.isEmpty())
        return true;  // nothing of the run shows

    // The run's pixels, in the box's coordinates (a shift by whole pixels,
    // exact in doubles of this size).
    for (QPointF& p : nodes)
        p -= QPointF(base.dx() + box.left(), base.dy() + box.top());
    thread_local CoverageMask mask;
    mask.reset(box.width(), box.height());
    CapsuleRaster(mask, radius).polyline(nodes.data(), nodes.size());

    const QRgb pixel = toQColor(ops[0].color).rgba();
    if (direct) {
        // The raster engine writes through the same pointer it took when
        // the painter began (a detach here would leave it drawing into the
        // old buffer), so the pixels are filled in place, in order.
        auto* image = static_cast<QImage*>(device);
        uchar* bits = const_cast<uchar*>(image->constBits());
        for (int y = 0; y < box.height(); ++y) {
            QRgb* row = reinterpret_cast<QRgb*>(bits + (box.top() + y) * image->bytesPerLine())
                        + box.left();
            mask.forEachRun(y, [row, pixel](int first, int end) {
                std::fill(row + first, row + end, pixel);
            });
        }
        return true;
    }

    // Through the layer, which Qt composites like any image.
    QImage& layer = spanLayer(box.width(), box.height());
    for (int y = 0; y < box.height(); ++y) {
        QRgb* row = reinterpret_cast<QRgb*>(layer.scanLine(y));
        std::fill_n(row, box.width(), QRgb(0));
        mask.forEachRun(y, [row, pixel](int first, int end) {
            std::fill(row + first, row + end, pixel);
        });
    }
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
