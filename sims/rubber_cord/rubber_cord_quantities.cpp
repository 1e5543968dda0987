#include "sims/rubber_cord/rubber_cord_quantities.h"

#include "sims/experiment.h"

#include <algorithm>
#include <cmath>

namespace rubber_cord {

CordMeasures measureCord(const ChainModel& chain)
{
    const auto nodes = chain.nodes();
    CordMeasures m;
    if (nodes.empty())  // a failed reset leaves no cord
        return m;
    const ChainModel::Parameters& p = chain.parameters();
    m.X0 = nodes[0].X;
    m.Y0 = nodes[0].Y;
    m.NominalLength = p.NodeCount * p.SegmentLength;

    // The largest stretch from the largest squared length: one root for
    // the greatest, the same double as the greatest of the roots.
    double longest2 = 0;
    double kinetic2 = nodes[0].VX * nodes[0].VX + nodes[0].VY * nodes[0].VY;
    for (std::size_t i = 1; i < nodes.size(); ++i) {
        const double dx = nodes[i].X - nodes[i - 1].X;
        const double dy = nodes[i].Y - nodes[i - 1].Y;
        const double d2 = dx * dx + dy * dy;
        m.TotalLength += std::sqrt(d2);
        longest2 = std::max(longest2, d2);
        kinetic2 += nodes[i].VX * nodes[i].VX + nodes[i].VY * nodes[i].VY;
    }
    m.LargestStretch = nodes.size() > 1 ? std::sqrt(longest2) - p.SegmentLength : 0;
    m.Kinetic = 0.5 * kinetic2;
    return m;
}

namespace {

const sims::Quantity<CordMeasures> kQuantities[] = {
    {{"x0", QT_TRANSLATE_NOOP("RubberCordQuantities", "節点0のx"), "unit"}, [](const CordMeasures& m) { return m.X0; }},
    {{"y0", QT_TRANSLATE_NOOP("RubberCordQuantities", "節点0のy"), "unit"}, [](const CordMeasures& m) { return m.Y0; }},
    {{"length", QT_TRANSLATE_NOOP("RubberCordQuantities", "全長"), "unit"}, [](const CordMeasures& m) { return m.TotalLength; }},
    {{"nominal_length", QT_TRANSLATE_NOOP("RubberCordQuantities", "節点の数×節点間の長さ"), "unit"},
     [](const CordMeasures& m) { return m.NominalLength; }},
    {{"largest_stretch", QT_TRANSLATE_NOOP("RubberCordQuantities", "最大の伸び"), "unit"},
     [](const CordMeasures& m) { return m.LargestStretch; }},
    {{"kinetic", QT_TRANSLATE_NOOP("RubberCordQuantities", "運動エネルギー"), "unit²/tick²"},
     [](const CordMeasures& m) { return m.Kinetic; }},
};


}  // namespace

std::span<const sims::Quantity<CordMeasures>> quantities() { return kQuantities; }


}  // namespace rubber_cord
