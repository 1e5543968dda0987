#include "runtime/canvas/raster.h"

#include "runtime/canvas/scale.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <utility>
#include <vector>

namespace rt {

namespace {

// A thick line with round caps covers the pixels whose centres lie within
// half the pen's width of it: a capsule. A polyline drawn line by line is
// the union of its segments' capsules. Qt's stroker builds an outline
// polygon per segment, some microseconds each, which for a cord of 32767
// segments is most of a frame period; filling each capsule ourselves is
// cheaper, but still grows with the segments times the pen's area, while a
// long cord on the screen is mostly segments far shorter than a pixel,
// lying over pixels that are already black.
//
// So a polyline is rasterised into a mask of one bit per pixel of its box first:
// nearly straight stretches are joined into single lines, a capsule whose
// pixels are all set already is skipped after a cheap look at the mask, and
// only the rest is computed row by row. The mask is then filled run by run
// of set bits, each pixel once: the cost follows the pixels the cord covers.

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
// Floor and ceiling of a value known to lie in [-1, a pixel count].
int floorOf(double x)
{
    const int i = static_cast<int>(x);
    // A comparison turned into a number rather than a branch: whether a
    // span ends on one pixel or the next is a coin toss along a slanted
    // line, and a mispredicted branch per row costs more than the row.
    return i - static_cast<int>(x < i);
}
int ceilOf(double x)
{
    const int i = static_cast<int>(x);
    return i + static_cast<int>(x > i);
}
int floorWithin(double x, double limit)
{
    return floorOf(clampToRow(x, limit));
}
int ceilWithin(double x, double limit)
{
    return ceilOf(clampToRow(x, limit));
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

    // The same for a span of 63 pixels at most, so within two words: both
    // words are written, with the same bits when the span ends in the first.
    void setNarrow(int y, int first, int last)
    {
        std::uint64_t* row = rowBits(y);
        const int w0 = first >> 6, w1 = last >> 6;
        const std::uint64_t head = ~std::uint64_t(0) << (first & 63);
        const std::uint64_t tail = ~std::uint64_t(0) >> (63 - (last & 63));
        const std::uint64_t same = w0 == w1 ? ~std::uint64_t(0) : 0;
        row[w0] |= head & (tail | ~same);
        row[w1] |= tail & (head | ~same);
    }

    // Pixels first..last (a span as setNarrow takes) of rows top..bottom.
    void setNarrowRows(int top, int bottom, int first, int last)
    {
        const int w0 = first >> 6, w1 = last >> 6;
        const std::uint64_t head = ~std::uint64_t(0) << (first & 63);
        const std::uint64_t tail = ~std::uint64_t(0) >> (63 - (last & 63));
        const std::uint64_t same = w0 == w1 ? ~std::uint64_t(0) : 0;
        const std::uint64_t bits0 = head & (tail | ~same), bits1 = tail & (head | ~same);
        std::uint64_t* row = rowBits(top);
        for (int y = top; y <= bottom; ++y, row += m_words) {
            row[w0] |= bits0;
            row[w1] |= bits1;
        }
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

    // The polyline through points[0..count], less (left, top) (whole
    // pixels, no greater than any point's coordinates, so that the shift is
    // exact), joining nearly straight stretches into single lines first.
    // Joining looks only at differences between points, which the shift
    // leaves alone.
    void polyline(const DevicePoint* points, std::size_t count, double left, double top)
    {
        std::size_t anchor = 0;
        while (anchor + 1 < count) {
            const std::size_t end = joinFrom(points, anchor, count);
            capsule(DevicePoint{points[anchor].x - left, points[anchor].y - top},
                    DevicePoint{points[end].x - left, points[end].y - top});
            anchor = end;
        }
    }

private:
    static constexpr double kLargestTable = 4096;
    static constexpr double kGrowthBudgetPerSegment = 64;
    static constexpr int kLongestBackoff = 7;
    // Middle rows of lines leaning further than this from upright (pixels
    // along per row down) are set row by row: their span moves too often
    // for a search of its blocks to pay.
    static constexpr double kSteepLean = 0.25;
    // Nor does it pay for a line a few rows tall (a short joined stretch).
    static constexpr int kShortestBlockSearch = 16;

    struct Box {
        double left = 1, top = 1, right = 0, bottom = 0;  // empty unless left <= right
    };

    static double cross(double ax, double ay, double bx, double by) { return ax * by - ay * bx; }

    // The furthest node after points[anchor] that a line from the anchor can
    // reach while passing within kJoinTolerance of every node between, each
    // further from the anchor than the one before.
    //
    // Directions are measured against e, the first node further than the
    // tolerance from the anchor (as a vector from it): a direction is
    // e + s perp(e), perp(e) being e turned a quarter, and a node v lies
    // within the tolerance of that line when |cross(e, v) - s dot(e, v)|
    // <= tol |e| (the true distance divides by |e| sqrt(1 + s^2), never
    // less than |e|, so this errs on the safe side by a factor that differs
    // from 1 by s^2, a few parts in a million for the cord). Each node thus
    // bounds s to an interval; the intervals, intersected, leave the
    // directions still open, and a node is reached when its own direction
    // lies in them. Joining costs a few multiplications and a division per
    // node, with no square root but one per joined line.
    static std::size_t joinFrom(const DevicePoint* points, std::size_t anchor, std::size_t count)
    {
        const double ax = points[anchor].x, ay = points[anchor].y;
        constexpr double tol = kJoinTolerance;
        constexpr double tol2 = tol * tol;
        // 0: no e yet, every node so far lies on the anchor; 1: e alone
        // bounds the directions (|s| <= slack / |e|^2, tested without
        // dividing, since most stretches in a heap end here); 2: sLo, sHi.
        int bounds = 0;
        double ex = 0, ey = 0;  // e, the direction directions are measured from
        double e2 = 0;          // |e|^2
        double slack = 0;       // tol |e|
        // The directions e + s perp(e) still open, sLo <= s <= sHi. Each
        // further node's own bounds take a division, but nothing waits on
        // it: the next node is tested against the bounds of the nodes before
        // it (one maximum and one minimum on from the last), so the
        // divisions of successive nodes overlap.
        double sLo = 0, sHi = 0;
        double reach2 = 0;      // squared distance of the furthest node
        double px = 0, py = 0;  // the last node taken, from the anchor
        std::size_t end = anchor + 1;  // the first node is always taken
        for (std::size_t j = anchor + 1; j < count; ++j) {
            const double vx = points[j].x - ax, vy = points[j].y - ay;
            const double d2 = vx * vx + vy * vy;
            if (j > anchor + 1) {
                if (!(d2 >= reach2))
                    break;  // a step back towards the anchor (most steps in a heap)
                if (reach2 > tol2) {
                    // The last node taken bounds the directions, worked out
                    // only now that a node beyond it is in view.
                    if (bounds == 0) {
                        ex = px, ey = py, e2 = reach2;
                        slack = tol * std::sqrt(reach2);  // cross(e, e) = 0, dot(e, e) = |e|^2
                        bounds = 1;
                    } else {
                        if (bounds == 1) {
                            sHi = slack / e2;
                            sLo = -sHi;
                            bounds = 2;
                        }
                        // dot(e, p) > tol^2: p is further than the tolerance
                        // and passed the test below, so the bounds are finite.
                        const double inv = 1 / (ex * px + ey * py);
                        const double across = cross(ex, ey, px, py);
                        sLo = std::max(sLo, (across - slack) * inv);
                        sHi = std::min(sHi, (across + slack) * inv);
                    }
                }
                if (bounds != 0) {
                    const double along = ex * vx + ey * vy;
                    const double across = cross(ex, ey, vx, vy);
                    const bool open =
                        bounds == 1
                            ? std::abs(across) * e2 <= slack * along
                            : across >= sLo * along && across <= sHi * along;
                    if (!(along > 0 && open))
                        break;
                }
            }
            end = j;
            reach2 = d2;
            px = vx;
            py = vy;
        }
        return end;
    }

    void capsule(DevicePoint a, DevicePoint b)
    {
        // A line of no length draws nothing, as with Qt's stroke; its
        // neighbours' round ends cover the point anyway.
        if (a.x == b.x && a.y == b.y)
            return;
        const double minX = std::min(a.x, b.x), maxX = std::max(a.x, b.x);
        const double minY = std::min(a.y, b.y), maxY = std::max(a.y, b.y);
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
            fillCapsule(a.x, a.y, b.x, b.y);
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
        fillCapsule(a.x, a.y, b.x, b.y);
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
        int middleTop = std::max(floorWithin(upper - kSample, height) + 1, top);
        const int middleBottom = std::min(ceilWithin(lower - kSample, height) - 1, bottom);
        const int middleEnd = middleBottom;  // rows from middleTop to here are the band's alone
        const bool hasMiddle = middleTop <= middleBottom;
        const int middleStart = middleTop;
        if (hasMiddle) {
            // Here |dy| is at least twice the radius, and the band is the
            // strip within the radius of the line: a point of such a row on
            // the strip's edge projects onto the segment at va/dy plus or
            // minus r dx/(dy length), strictly between its ends, so the
            // ends' limits on the band never bind. Along the row the strip
            // is centred on u = va dx/dy and reaches |reach/dy| either way.
            const double lean = dx * invDy;
            const double half = std::abs(reach * invDy);
            // Most capsules lie well inside the mask, with spans a pixel wide
            // at least (so never empty) and narrower than a word: then no
            // clamp can bind, every span is set by two writes, and nothing in
            // a row waits on a branch that a slanted edge makes
            // unpredictable.
            const double minX = std::min(ax, bx), maxX = std::max(ax, bx);
            if (minX - half > 0 && maxX + half < width - 1 && half >= 0.5 && half < 31) {
                const auto spanAt = [=](int y) {
                    const double centre = ax + lean * (y + kSample - ay);
                    return std::pair{ceilOf(centre - half - kSample),
                                     floorOf(centre + half - kSample)};
                };
                if (std::abs(lean) > kSteepLean || middleBottom - middleTop < kShortestBlockSearch) {
                    for (int y = middleTop; y <= middleBottom; ++y) {
                        const auto [first, last] = spanAt(y);
                        m_mask.setNarrow(y, first, last);
                    }
                } else {
                    // A line closer to upright keeps one span for many rows.
                    // Every step of the span's formula rounds monotonically
                    // in y, so its ends never move back: the rows sharing a
                    // span are one block, whose end a galloping search
                    // finds, and the block is set a word or two per row.
                    for (int y = middleTop; y <= middleBottom;) {
                        const auto span = spanAt(y);
                        int same = y;       // the last row known to share it
                        int step = 1;
                        while (same + step <= middleBottom && spanAt(same + step) == span) {
                            same += step;
                            step *= 2;
                        }
                        int differs = std::min(same + step, middleBottom + 1);
                        while (differs - same > 1) {
                            const int mid = same + (differs - same) / 2;
                            (spanAt(mid) == span ? same : differs) = mid;
                        }
                        m_mask.setNarrowRows(y, same, span.first, span.second);
                        y = same + 1;
                    }
                }
                middleTop = middleBottom + 1;  // done
            }
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
            if (y == middleStart && hasMiddle) {
                y = middleEnd;
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

}  // namespace

DeviceBounds boundsOf(const DevicePoint* points, std::size_t count)
{
    DeviceBounds b{points[0].x, points[0].y, points[0].x, points[0].y};
    for (std::size_t k = 1; k < count; ++k) {
        b.minX = std::min(b.minX, points[k].x);
        b.maxX = std::max(b.maxX, points[k].x);
        b.minY = std::min(b.minY, points[k].y);
        b.maxY = std::max(b.maxY, points[k].y);
    }
    return b;
}

bool fillThickPolyline(const PixelBuffer& target, const DevicePoint* nodes, std::size_t count,
                       double radius, std::uint32_t pixel)
{
    if (count == 0)
        return true;
    return fillThickPolyline(target, nodes, count, boundsOf(nodes, count), radius, pixel);
}

bool fillThickPolyline(const PixelBuffer& target, const DevicePoint* nodes, std::size_t count,
                       const DeviceBounds& bounds, double radius, std::uint32_t pixel)
{
    if (count == 0)
        return true;
    const double minX = bounds.minX, minY = bounds.minY, maxX = bounds.maxX, maxY = bounds.maxY;
    // Products of two coordinates must stay finite for the joining's
    // bounds to mean anything; a picture's coordinates, singles at most,
    // are far inside this.
    constexpr double kFarthest = 1e150;
    if (!(std::max(-minX, maxX) < kFarthest && std::max(-minY, maxY) < kFarthest))
        return false;

    // The rectangle of the buffer the polyline may touch, in whole device
    // pixels.
    const double pad = radius + 1;
    const double left = std::max(std::floor(minX - pad), static_cast<double>(target.left));
    const double top = std::max(std::floor(minY - pad), static_cast<double>(target.top));
    const double right =
        std::min(std::ceil(maxX + pad), static_cast<double>(target.left) + target.width);
    const double bottom =
        std::min(std::ceil(maxY + pad), static_cast<double>(target.top) + target.height);
    if (!(left < right && top < bottom))
        return true;  // nothing of it shows
    const int boxLeft = static_cast<int>(left), boxTop = static_cast<int>(top);
    const int boxWidth = static_cast<int>(right) - boxLeft;
    const int boxHeight = static_cast<int>(bottom) - boxTop;

    // The mask is kept between calls: a cord allocates nothing once the
    // largest has been drawn.
    thread_local CoverageMask mask;
    mask.reset(boxWidth, boxHeight);
    CapsuleRaster(mask, radius).polyline(nodes, count, left, top);

    for (int y = 0; y < boxHeight; ++y) {
        std::uint32_t* row =
            target.pixels + (boxTop - target.top + y) * target.stride + (boxLeft - target.left);
        mask.forEachRun(y, [row, pixel](int first, int end) {
            std::fill(row + first, row + end, pixel);
        });
    }
    return true;
}

namespace {

// Sets the pixels of row y whose centres lie from lo to hi.
void fillRowSpan(const PixelBuffer& target, int y, double lo, double hi, std::uint32_t pixel)
{
    const int first = std::max(ceilWithin(lo - kSample, target.width), 0);
    const int last = std::min(floorWithin(hi - kSample, target.width), target.width - 1);
    if (first <= last) {
        std::uint32_t* row = target.pixels + y * target.stride;
        std::fill(row + first, row + last + 1, pixel);
    }
}

// The rows whose centres lie from top to bottom, as [first, last].
std::pair<int, int> rowsBetween(const PixelBuffer& target, double top, double bottom)
{
    return {std::max(ceilWithin(top - kSample, target.height), 0),
            std::min(floorWithin(bottom - kSample, target.height), target.height - 1)};
}

void fillBox(const PixelBuffer& target, double x1, double y1, double x2, double y2,
             std::uint32_t pixel)
{
    const auto [first, last] = rowsBetween(target, std::min(y1, y2), std::max(y1, y2));
    for (int y = first; y <= last; ++y)
        fillRowSpan(target, y, std::min(x1, x2), std::max(x1, x2), pixel);
}

// ------------------------------------------------------------ thin lines
//
// A line no wider than a device pixel is drawn as the desktop's painter
// draws it: one pixel per row (or column, for a line nearer level), the
// line's coordinates cut to 1/64 pixel, its position along the minor axis
// stepped in 1/65536 pixel from the first pixel centre on the major axis,
// each end reaching half a pixel further when the pen has caps. A closed
// outline (a box) is one path: a pixel two sides share is drawn once, and
// a corner the rounding leaves open is closed.
// Cuts the line from (x1, y1) to (x2, y2) to the band [lo, hi] of its
// first coordinate (call again with the coordinates swapped for the
// second), in floating point, as the desktop cuts a thin line to a pixel
// beyond the device: the fixed-point steps that follow cannot overflow.
// True when nothing of it is left; *endCut when its end was moved.
bool cutToBand(double& a1, double& b1, double& a2, double& b2, double lo, double hi, bool* endCut)
{
    if (a1 < lo) {
        if (a2 <= lo)
            return true;
        b1 += (b2 - b1) / (a2 - a1) * (lo - a1);
        a1 = lo;
    } else if (a1 > hi) {
        if (a2 >= hi)
            return true;
        b1 += (b2 - b1) / (a2 - a1) * (hi - a1);
        a1 = hi;
    }
    if (a2 < lo) {
        *endCut = true;
        b2 += (b2 - b1) / (a2 - a1) * (lo - a2);
        a2 = lo;
    } else if (a2 > hi) {
        *endCut = true;
        b2 += (b2 - b1) / (a2 - a1) * (hi - a2);
        a2 = hi;
    }
    return false;
}

// The same in both coordinates, to a pixel beyond the buffer's edges.
bool cutToBuffer(const PixelBuffer& target, double& x1, double& y1, double& x2, double& y2,
                 bool* endCut)
{
    return !(std::isfinite(x1) && std::isfinite(y1) && std::isfinite(x2) && std::isfinite(y2))
           || cutToBand(x1, y1, x2, y2, -1, target.width + 1, endCut)
           || cutToBand(y1, x1, y2, x2, -1, target.height + 1, endCut);
}

class ThinStroke {
public:
    ThinStroke(const PixelBuffer& target, std::uint32_t pixel)
        : m_target(target),
          m_pixel(pixel)
    {
    }

    // One line with both ends capped; a line of no length is one pixel,
    // the one its point rounds to.
    void line(DevicePoint a, DevicePoint b)
    {
        m_last = {};
        if (a.x == b.x && a.y == b.y) {
            plot(static_cast<int>(std::floor(a.x + 0.5)), static_cast<int>(std::floor(a.y + 0.5)));
            return;
        }
        segment(a.x, a.y, b.x, b.y, kCapBegin | kCapEnd);
    }

    // The closed outline through corners[0..4), no caps.
    void closedQuad(const DevicePoint* corners)
    {
        m_last = {};
        lastPixelOf(corners[3], corners[0]);
        DevicePoint from = corners[0];
        for (int k = 1; k < 4; ++k) {
            const Pixel before = m_last;
            const bool shown = segment(from.x, from.y, corners[k].x, corners[k].y, 0);
            // A side that drew no pixel of its own (shorter than a pixel)
            // does not move the start of the next: a run of tiny sides
            // still joins up.
            if (!shown || before != m_last || k == 1 || k == 3)
                from = corners[k];
        }
        segment(from.x, from.y, corners[0].x, corners[0].y, 0);
    }

private:
    static constexpr int kCapBegin = 1, kCapEnd = 2;
    enum Direction { kNone = 0, kDown = 1, kUp = 2, kRight = 4, kLeft = 8 };
    static constexpr int kVertical = kDown | kUp, kHorizontal = kRight | kLeft;

    static constexpr int kNoPixel = std::numeric_limits<int>::min();
    struct Pixel {
        int x = kNoPixel, y = kNoPixel;
        bool operator==(const Pixel&) const = default;
    };

    static int fixed6(double v) { return static_cast<int>(v * 64.); }
    static int ratio16(int num, int den)
    {
        return static_cast<int>(static_cast<std::int64_t>(num) * 65536 / den);
    }
    static int swapCaps(int caps) { return ((caps & kCapBegin) << 1) | ((caps & kCapEnd) >> 1); }

    void plot(int x, int y)
    {
        if (x < 0 || y < 0 || x >= m_target.width || y >= m_target.height)
            return;
        m_target.pixels[y * m_target.stride + x] = m_pixel;
    }

    bool clip(double& x1, double& y1, double& x2, double& y2)
    {
        bool endCut = false;
        const bool gone = cutToBuffer(m_target, x1, y1, x2, y2, &endCut);
        if (gone || endCut)
            m_last = {};
        return gone;
    }

    // The pixels of one line along its major axis, both axes handled by
    // one routine with the roles of x and y swapped for a line nearer
    // upright. `major`/`minor` are the line's ends in 1/64 pixel.
    struct Axis {
        int a1, b1, a2, b2;  // major and minor coordinates of the two ends
    };

    bool segment(double rx1, double ry1, double rx2, double ry2, int caps)
    {
        bool drawn = std::abs(rx2 - rx1) + std::abs(ry2 - ry1) >= 1.0;
        if (clip(rx1, ry1, rx2, ry2))
            return true;
        const int x1 = fixed6(rx1), y1 = fixed6(ry1), x2 = fixed6(rx2), y2 = fixed6(ry2);
        const bool upright = std::abs(x2 - x1) < std::abs(y2 - y1);
        if (!upright && x1 == x2)
            return true;
        Axis l = upright ? Axis{y1, x1, y2, x2} : Axis{x1, y1, x2, y2};
        int dir = upright ? kDown : kRight;
        const int reverse = upright ? kUp : kLeft;
        const int mask = upright ? kVertical : kHorizontal;
        bool swapped = false;
        if (l.a1 > l.a2) {
            swapped = true;
            std::swap(l.a1, l.a2);
            std::swap(l.b1, l.b2);
            caps = swapCaps(caps);
            dir = reverse;
        }
        const int inc = ratio16(l.b2 - l.b1, l.a2 - l.a1);
        int b = l.b1 * 1024;
        // Turning straight back on itself: the turn gets a cap.
        if ((m_lastDir ^ mask) == dir)
            caps |= swapped ? kCapEnd : kCapBegin;
        if (caps & kCapBegin) {
            l.a1 -= 32;
            b -= inc >> 1;
        }
        if (caps & kCapEnd)
            l.a2 += 32;

        int a = (l.a1 + 32) >> 6;
        int as = (l.a2 + 32) >> 6;
        const auto at = [upright](int major, int minor) {
            return upright ? Pixel{minor, major} : Pixel{major, minor};
        };
        const auto majorOf = [upright](Pixel p) { return upright ? p.y : p.x; };
        // The cap reached back past the pixel the closing side ended on:
        // start where that side left off.
        if ((caps & kCapBegin) && m_last.x != kNoPixel && majorOf(m_last) == a + 1)
            ++a;
        Pixel last = m_last;
        if (a != as) {
            // The minor coordinate is taken at the pixel's centre going
            // down the minor axis, at its near edge going up.
            b += (((a * 64) + (inc > 0 ? 32 : 0) - l.a1) * inc) >> 6;
            Pixel first = at(a, b >> 16);
            last = at(as - 1, (b + (as - a - 1) * inc) >> 16);
            if (swapped)
                std::swap(first, last);
            const bool axisAligned = std::abs(inc) < (1 << 14);
            if (m_last.x != kNoPixel) {
                if (first == m_last) {
                    // The pixel the side before ended on: not twice.
                    if (swapped) {
                        --as;
                    } else {
                        ++a;
                        b += inc;
                    }
                } else if (m_lastDir != dir
                           && ((axisAligned && m_lastAxisAligned && m_last.x != first.x
                                && m_last.y != first.y)
                               || std::abs(m_last.x - first.x) > 1
                               || std::abs(m_last.y - first.y) > 1)) {
                    // A corner left open: one more pixel closes it.
                    if (swapped) {
                        ++as;
                    } else {
                        --a;
                        b -= inc;
                    }
                } else if (m_lastDir == dir && std::abs(majorOf(m_last) - majorOf(first)) > 1
                           && std::abs(minorOf(m_last, upright) - minorOf(first, upright)) <= 1) {
                    // Going on the same way with a gap along the line: a
                    // half step closes it.
                    b += inc >> 1;
                    last = at(majorOf(last), swapped ? b >> 16 : (b + (as - a - 1) * inc) >> 16);
                }
            }
            m_lastDir = dir;
            m_lastAxisAligned = axisAligned;
            for (; a < as; ++a, b += inc) {
                const Pixel p = at(a, b >> 16);
                plot(p.x, p.y);
            }
            drawn = true;
        }
        m_last = last;
        return drawn;
    }

    static int minorOf(Pixel p, bool upright) { return upright ? p.x : p.y; }

    // Where the closing side from p to q ends and which way it runs, as if
    // drawn: the first side then neither repeats nor leaves open its
    // corner.
    void lastPixelOf(DevicePoint p, DevicePoint q)
    {
        double x1 = p.x, y1 = p.y, x2 = q.x, y2 = q.y;
        m_last = {};
        if (clip(x1, y1, x2, y2))
            return;
        const int fx1 = fixed6(x1), fy1 = fixed6(y1), fx2 = fixed6(x2), fy2 = fixed6(y2);
        const bool upright = std::abs(fx2 - fx1) < std::abs(fy2 - fy1);
        if (!upright && fx1 == fx2)
            return;
        Axis l = upright ? Axis{fy1, fx1, fy2, fx2} : Axis{fx1, fy1, fx2, fy2};
        const bool swapped = l.a1 > l.a2;
        if (swapped) {
            std::swap(l.a1, l.a2);
            std::swap(l.b1, l.b2);
        }
        const int inc = ratio16(l.b2 - l.b1, l.a2 - l.a1);
        int b = l.b1 * 1024;
        const int a = (l.a1 + 32) >> 6;
        const int as = (l.a2 + 32) >> 6;
        if (a == as)
            return;
        b += (((a * 64) + (inc > 0 ? 32 : 0) - l.a1) * inc) >> 6;
        const int major = swapped ? a : as - 1;
        const int minor = swapped ? b >> 16 : (b + (as - a - 1) * inc) >> 16;
        m_last = upright ? Pixel{minor, major} : Pixel{major, minor};
        m_lastDir = upright ? (swapped ? kUp : kDown) : (swapped ? kLeft : kRight);
        m_lastAxisAligned = std::abs(inc) < (1 << 14);
    }

    const PixelBuffer& m_target;
    std::uint32_t m_pixel;
    Pixel m_last;
    int m_lastDir = kNone;
    bool m_lastAxisAligned = false;
};

// ------------------------------------------------------------ circles
//
// Circles are drawn antialiased, as on the desktop: a pixel takes the
// share of it the disc (or the outline's ring) covers, found from its
// centre's distance to the edge (a straight edge through the pixel, which
// a circle several pixels across is, to a few hundredths), and is blended
// over what lies beneath. Only sums, products and square roots, all
// exactly rounded: the same bytes on every machine.

// How much of a pixel whose centre lies `inside` pixels within an edge
// (negative: outside) the edge's inner side covers, 0 to 1.
double edgeCover(double inside)
{
    const double c = inside + 0.5;
    return c < 0 ? 0 : (c > 1 ? 1 : c);
}

// Mixes `pixel` into *at by `cover` (0 to 1), byte by byte: the layout of
// the word does not matter, and the opaque byte stays opaque.
void blendPixel(std::uint32_t* at, std::uint32_t pixel, double cover)
{
    const auto alpha = static_cast<std::uint32_t>(cover * 255 + 0.5);
    if (alpha == 0)
        return;
    if (alpha >= 255) {
        *at = pixel;
        return;
    }
    std::uint32_t mixed = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        const std::uint32_t s = (pixel >> shift) & 0xFF, d = (*at >> shift) & 0xFF;
        mixed |= ((s * alpha + d * (255 - alpha) + 127) / 255) << shift;
    }
    *at = mixed;
}

// A line one pixel wide, antialiased as the desktop draws a thin pen's
// curves: along its major axis a pixel per step, its coverage shared
// between the two pixels nearest the line across it by their distance
// from it, the end pixels taking the part of a step the line spans.
void smoothThinLine(const PixelBuffer& target, double rx1, double ry1, double rx2, double ry2,
                    std::uint32_t pen)
{
    bool endCut = false;
    if (cutToBuffer(target, rx1, ry1, rx2, ry2, &endCut))
        return;
    const auto fixed6 = [](double v) { return static_cast<int>(v * 64.); };
    int x1 = fixed6(rx1), y1 = fixed6(ry1), x2 = fixed6(rx2), y2 = fixed6(ry2);
    const bool upright = std::abs(x2 - x1) < std::abs(y2 - y1);
    if (upright) {
        std::swap(x1, y1);
        std::swap(x2, y2);
    }
    if (x1 == x2)
        return;
    const int inc = static_cast<int>(static_cast<std::int64_t>(y2 - y1) * 65536 / (x2 - x1));
    if (x1 > x2) {
        std::swap(x1, x2);
        std::swap(y1, y2);
    }
    const auto plot = [&](int major, int minor, int cover) {
        const int x = upright ? minor : major, y = upright ? major : minor;
        if (x >= 0 && y >= 0 && x < target.width && y < target.height)
            blendPixel(target.pixels + y * target.stride + x, pen, cover / 255.0);
    };
    int y = (y1 - 32) * 1024;
    y -= (((x1 & 63) - 32) * inc) >> 6;
    int x = x1 >> 6;
    const int xs = x2 >> 6;
    const int startShare = x == xs ? x2 - x1 : 64 - (x1 & 63);
    const int endShare = x == xs ? 0 : x2 & 63;
    const auto step = [&](int share) {
        const int alpha = (y >> 8) & 255;
        plot(x, y >> 16, (255 - alpha) * share >> 6);
        plot(x, (y >> 16) + 1, alpha * share >> 6);
        y += inc;
        ++x;
    };
    step(startShare);
    while (x < xs)
        step(64);
    if (endShare)
        step(endShare);
}

// The outline of a circle with a thin pen, as the desktop draws it: four
// cubic arcs, each halved until flat to a quarter pixel or so, the pieces'
// chords drawn by smoothThinLine. Halving a circular arc's cubic at its
// middle is halving its angle, so the pieces' ends are found with square
// roots alone.
void smoothThinCircle(const PixelBuffer& target, double cx, double cy, double r, std::uint32_t pen)
{
    struct Unit {
        double x, y;
    };
    // Whether the cubic of the arc from a to b (unit vectors a quarter
    // turn apart at most) is flat enough to be drawn as its chord.
    const auto flat = [r](Unit a, Unit b) {
        const double cosine = a.x * b.x + a.y * b.y;
        const double sine = std::abs(a.x * b.y - a.y * b.x);
        const double half = sine / (1 + cosine);                  // tan of half the angle
        const double kappa = 4.0 / 3 * half / (1 + std::sqrt(1 + half * half));  // 4/3 tan(angle/4)
        const double turn = a.x * b.y - a.y * b.x < 0 ? -1 : 1;
        const double p0x = a.x * r, p0y = a.y * r, p3x = b.x * r, p3y = b.y * r;
        const double c1x = p0x - turn * a.y * kappa * r, c1y = p0y + turn * a.x * kappa * r;
        const double c2x = p3x + turn * b.y * kappa * r, c2y = p3y - turn * b.x * kappa * r;
        const double dx = p3x - p0x, dy = p3y - p0y;
        const double len = 0.25 * (std::abs(dx) + std::abs(dy));
        return std::abs(dx * (p0y - c2y) - dy * (p0x - c2x)) < len
               && std::abs(dx * (p0y - c1y) - dy * (p0x - c1x)) < len;
    };
    const auto arc = [&](const auto& self, Unit a, Unit b, int level) -> void {
        if (level > 0 && !flat(a, b)) {
            const double mx = a.x + b.x, my = a.y + b.y;
            const double norm = std::sqrt(mx * mx + my * my);
            const Unit m{mx / norm, my / norm};
            self(self, a, m, level - 1);
            self(self, m, b, level - 1);
            return;
        }
        smoothThinLine(target, cx + a.x * r, cy + a.y * r, cx + b.x * r, cy + b.y * r, pen);
    };
    const Unit quarter[5] = {{1, 0}, {0, -1}, {-1, 0}, {0, 1}, {1, 0}};
    for (int k = 0; k < 4; ++k)
        arc(arc, quarter[k], quarter[k + 1], 6);
}

// The desktop strokes a wide circle's outline along chords of it, flat to
// a fraction of a pixel, which lie inside the circle: its ring sits that
// much further in, a twentieth of a pixel on the whole, as found against
// its pixels for the balls' sizes at 200 % (then no pixel of the ring is
// more than a tenth of a colour's range apart).
constexpr double kChordSag = 0.05;

// A disc of radius r about (cx, cy) when `fill`, then the ring from
// r - half to r + half about it in `pen` (none when half is 0).
void drawSmoothCircle(const PixelBuffer& target, double cx, double cy, double r, double half,
                      const std::uint32_t* fill, std::uint32_t pen)
{
    const double outer = r + half + 1;
    const auto [first, last] = rowsBetween(target, cy - outer, cy + outer);
    const int left = std::max(static_cast<int>(clampToRow(cx - outer, target.width)), 0);
    const int right =
        std::min(static_cast<int>(clampToRow(cx + outer + 1, target.width)), target.width - 1);
    for (int y = first; y <= last; ++y) {
        std::uint32_t* row = target.pixels + y * target.stride;
        const double v = y + 0.5 - cy;
        for (int x = left; x <= right; ++x) {
            const double u = x + 0.5 - cx;
            const double d = std::sqrt(u * u + v * v);
            if (fill)
                blendPixel(row + x, *fill, edgeCover(r - d));
            if (half > 0)
                blendPixel(row + x, pen,
                           edgeCover(r + half - kChordSag - d) - edgeCover(r - half - kChordSag - d));
        }
    }
}

}  // namespace

void rasterPicture(const PixelBuffer& target, const std::vector<DrawOp>& ops, Color background,
                   double scale, PixelLayout layout)
{
    const auto pixelOf = [layout](Color c) {
        return layout == PixelLayout::Argb ? argbPixel(c) : rgbaPixel(c);
    };
    for (int y = 0; y < target.height; ++y)
        std::fill_n(target.pixels + y * target.stride, target.width, pixelOf(background));

    thread_local std::vector<DevicePoint> nodes;
    const auto at = [scale](float x, float y) { return DevicePoint{x * scale, y * scale}; };
    // A pen no wider than a device pixel draws one pixel wide lines.
    const auto thin = [scale](const DrawOp& op) { return op.width * kTwipsPerPixel * scale <= 1; };
    for (std::size_t i = 0; i < ops.size(); ++i) {
        const DrawOp& op = ops[i];
        const double radius = op.width * kTwipsPerPixel * scale / 2;
        switch (op.kind) {
        case DrawOp::Kind::Line: {
            if (thin(op)) {
                ThinStroke(target, pixelOf(op.color)).line(at(op.x1, op.y1), at(op.x2, op.y2));
                break;
            }
            // The run of connected lines of this colour and width, as one
            // polyline: the cord's tens of thousands of lines cost what the
            // pixels they cover cost.
            nodes.assign({at(op.x1, op.y1), at(op.x2, op.y2)});
            while (i + 1 < ops.size() && ops[i + 1].kind == DrawOp::Kind::Line
                   && ops[i + 1].width == op.width && ops[i + 1].color == op.color
                   && ops[i + 1].x1 == ops[i].x2 && ops[i + 1].y1 == ops[i].y2) {
                ++i;
                nodes.push_back(at(ops[i].x2, ops[i].y2));
            }
            fillThickPolyline(target, nodes.data(), nodes.size(), radius, pixelOf(op.color));
            break;
        }
        case DrawOp::Kind::Box:
        case DrawOp::Kind::FilledBox: {
            const DevicePoint a = at(op.x1, op.y1), b = at(op.x2, op.y2);
            if (op.kind == DrawOp::Kind::FilledBox && std::isfinite(a.x) && std::isfinite(a.y)
                && std::isfinite(b.x) && std::isfinite(b.y))
                fillBox(target, a.x, a.y, b.x, b.y, pixelOf(op.color));
            // The outline runs round the normalized box from its top left.
            const DevicePoint lo{std::min(a.x, b.x), std::min(a.y, b.y)};
            const DevicePoint hi{std::max(a.x, b.x), std::max(a.y, b.y)};
            nodes.assign({lo, {hi.x, lo.y}, hi, {lo.x, hi.y}, lo});
            if (thin(op)) {
                ThinStroke(target, pixelOf(op.color)).closedQuad(nodes.data());
                break;
            }
            fillThickPolyline(target, nodes.data(), nodes.size(), radius, pixelOf(op.color));
            break;
        }
        case DrawOp::Kind::Circle: {
            const DevicePoint c = at(op.x1, op.y1);
            const double r = op.x2 * scale;
            if (!std::isfinite(c.x) || !std::isfinite(c.y) || !std::isfinite(r))
                break;
            const std::uint32_t fill = pixelOf(op.fillColor);
            drawSmoothCircle(target, c.x, c.y, r, thin(op) ? 0 : radius, op.filled ? &fill : nullptr,
                             pixelOf(op.color));
            if (thin(op) && r >= 0)
                smoothThinCircle(target, c.x, c.y, r, pixelOf(op.color));
            break;
        }
        }
    }
}

}  // namespace rt
