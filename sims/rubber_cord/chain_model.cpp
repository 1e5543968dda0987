#include "sims/rubber_cord/chain_model.h"

#include "sims/rubber_cord/chain_relax_fast.h"
#include "runtime/numeric/float_check.h"
#include "runtime/numeric/runtime_error.h"

#include <cmath>

using rt::Checked;

namespace {

constexpr double kHalfShare = 0.5;  // each end of a segment takes half its error

// A pull target this far from the origin (2^1020, a sixteenth of the
// largest double) keeps node 0's correction from overflowing: see
// relaxFaultsReadable.
constexpr double kLargestReadablePull = 0x1p1020;

[[noreturn]] void noSuchNode() { throw rt::RuntimeError(rt::ErrorNumber::SubscriptOutOfRange); }

}  // namespace

void ChainModel::ResetChain(std::int16_t nodeCount, double segmentLength, double gravity,
                            double viscosity, double stiffness)
{
    m_parameters = {nodeCount, segmentLength, gravity, viscosity, stiffness};
    m_pullX = 0;
    m_pullY = 0;
    if (nodeCount < 0) {
        // There is no node 0 to make: the old cord goes too, so nothing can
        // step or draw a cord that no longer matches its count.
        m_nodes.clear();
        noSuchNode();
    }

    // The only allocation of the model: every tick works in this array.
    m_nodes.assign(static_cast<std::size_t>(nodeCount) + 1, Node{});
    for (std::size_t i = 0; i < m_nodes.size(); ++i) {
        Node& n = m_nodes[i];
        n.OldX = static_cast<double>(i) * segmentLength;
        n.OldY = AreaMin;
        n.X = static_cast<double>(i) * segmentLength;
        n.Y = AreaMin;
    }
}

void ChainModel::PullChain(float pointerX, float pointerY)
{
    m_pullX = static_cast<double>(pointerX) / DisplayScale;
    m_pullY = static_cast<double>(pointerY) / DisplayScale;
}

const ChainModel::Node& ChainModel::node(int i) const
{
    if (i < 0 || static_cast<std::size_t>(i) >= m_nodes.size())
        noSuchNode();
    return m_nodes[static_cast<std::size_t>(i)];
}

void ChainModel::StepChain()
{
    if (m_nodes.empty())
        noSuchNode();

    // The status is sticky, so one test after each phase catches a fault
    // anywhere in it, and a diverging cord stops here, before the window has
    // cleared or drawn anything. The relaxation raises its faults into the
    // status like any tested operation.
    rt::clearFloatStatus();
    const NodesFinite finite = integrate();
    rt::checkFloatStatus();
    relaxChain(m_relaxPath, m_nodes, m_parameters.SegmentLength, m_parameters.Stiffness, m_pullX,
               m_pullY, RelaxPasses, finite);
    rt::checkFloatStatus();
    releasePull();
    updateVelocities();
    rt::checkFloatStatus();
}

namespace {

// x - x is 0 for a finite x and NaN for an infinity or a NaN, so a sum of
// such differences is 0 exactly when all are finite: one test, no branch.
inline double finiteness(double x) { return x - x; }

// One node's integration, on doubles or on tested numbers. Returns, for
// doubles, whether every value it read or made was finite: only then can no
// operation have raised a fault, and the node is left with finite
// coordinates.
template <typename Number>
bool integrateNode(ChainModel::Node& n, double gravity)
{
    // Floor contact is judged on where the last tick left the node, gravity
    // included, so a resting node is slowed every tick. A comparison with a
    // NaN is an invalid operation too.
    if (Number(n.Y) >= ChainModel::AreaMaxY)
        n.VY = Number(n.VY) * ChainModel::FloorFactor;

    const Number tx = Number(n.VX) + n.X;
    n.OldX = n.X;
    n.X = tx;
    if (tx < ChainModel::AreaMin)
        n.X = ChainModel::AreaMin;
    if (Number(n.X) > ChainModel::AreaMaxX)
        n.X = ChainModel::AreaMaxX;

    const Number ty = Number(n.VY) + n.Y;
    n.OldY = n.Y;
    n.Y = ty;
    if (ty < ChainModel::AreaMin)
        n.Y = ChainModel::AreaMin;
    if (Number(n.Y) > ChainModel::AreaMaxY)
        n.Y = ChainModel::AreaMaxY;

    // Gravity after the clamp: a node on the floor shows 1380 + Gravity.
    n.Y = Number(gravity) + n.Y;

    // ty covers the old Y (the first comparison) and VY; the clamps leave X
    // and Y finite whenever tx and ty are.
    return finiteness(tx) + finiteness(ty) + finiteness(n.Y) == 0;
}

}  // namespace

NodesFinite ChainModel::integrate()
{
    // Each node is integrated untested; one that met an infinity or a NaN is
    // integrated again from its old values with every operation tested, for
    // the faults (the rare case: the tick is about to stop).
    const double gravity = m_parameters.Gravity;
    bool finite = true;
    for (Node& n : m_nodes) {
        const double oldVY = n.VY;  // the one input the node does not keep
        if (!integrateNode<double>(n, gravity)) [[unlikely]] {
            Node again = n;
            again.X = n.OldX;
            again.Y = n.OldY;
            again.VY = oldVY;
            integrateNode<Checked>(again, gravity);
            finite = false;
        }
    }
    return finite ? NodesFinite::Known : NodesFinite::Unknown;
}

namespace {

// The plain loop, on doubles or on tested numbers (rt::Checked): the same
// operations in the same order either way.
template <typename Number>
void relaxLoop(std::span<ChainModel::Node> nodes, double segmentLength, double stiffness, double pullX,
               double pullY, int passes)
{
    using std::sqrt;
    const std::size_t segments = nodes.empty() ? 0 : nodes.size() - 1;
    for (int pass = 0; pass < passes; ++pass) {
        // The pulled end is put back on the target before every pass, so the
        // cord is dragged by it throughout; only the last pass's correction
        // stays on node 0.
        if (pullX != 0) {
            nodes[0].X = pullX;
            nodes[0].Y = pullY;
        }
        // Gauss-Seidel: each segment sees the positions the previous one
        // has just corrected.
        for (std::size_t i = 0; i < segments; ++i) {
            ChainModel::Node& a = nodes[i];
            ChainModel::Node& b = nodes[i + 1];
            const Number dx = Number(b.X) - a.X;
            const Number dy = Number(b.Y) - a.Y;
            Number d = sqrt(dx * dx + dy * dy);
            // Coinciding nodes have no direction to push along; with d = 1
            // the correction is f * 0 and neither node moves.
            if (d == 0)
                d = 1;
            const Number f = ((d - segmentLength) + stiffness) * kHalfShare / d;
            a.X = a.X + f * dx;
            b.X = b.X - f * dx;
            a.Y = a.Y + f * dy;
            b.Y = b.Y - f * dy;
        }
    }
}

}  // namespace

bool relaxFaultsReadable(std::span<const ChainModel::Node> nodes, NodesFinite nodesFinite,
                         double segmentLength, double stiffness, double pullX, double pullY)
{
    if (!(std::isfinite(segmentLength) && std::isfinite(stiffness) && std::fabs(pullX) <= kLargestReadablePull
          && std::fabs(pullY) <= kLargestReadablePull))
        return false;
    if (nodesFinite == NodesFinite::Known)
        return true;
    bool finite = true;
    for (const ChainModel::Node& n : nodes)
        // int, not bool, operands: no branch per node, and no warning from
        // clang (the WebAssembly build) about & between bools.
        finite &= static_cast<int>(std::isfinite(n.X)) & static_cast<int>(std::isfinite(n.Y));
    return finite;
}

rt::FloatFaults relaxFaultsOf(std::span<const ChainModel::Node> nodes)
{
    bool infinite = false;
    for (const ChainModel::Node& n : nodes) {
        if (std::isnan(n.X) || std::isnan(n.Y))
            return rt::kFloatOverflow | rt::kFloatInvalid;
        infinite |= static_cast<int>(std::isinf(n.X)) | static_cast<int>(std::isinf(n.Y));
    }
    return infinite ? rt::kFloatOverflow : 0;
}

void relaxChainChecked(std::span<ChainModel::Node> nodes, double segmentLength, double stiffness,
                       double pullX, double pullY, int passes)
{
    relaxLoop<Checked>(nodes, segmentLength, stiffness, pullX, pullY, passes);
}

void relaxChainPlain(std::span<ChainModel::Node> nodes, double segmentLength, double stiffness,
                     double pullX, double pullY, int passes, NodesFinite nodesFinite)
{
    if (!relaxFaultsReadable(nodes, nodesFinite, segmentLength, stiffness, pullX, pullY)) {
        relaxChainChecked(nodes, segmentLength, stiffness, pullX, pullY, passes);
        return;
    }
    relaxLoop<double>(nodes, segmentLength, stiffness, pullX, pullY, passes);
    rt::raiseFloatFaults(relaxFaultsOf(nodes));
}

void ChainModel::releasePull()
{
    m_pullX = 0;
    m_pullY = 0;
}

void ChainModel::updateVelocities()
{
    // Everything that moved a node this tick (its own motion, the walls,
    // gravity, the corrections, a pull) becomes its velocity for the next.
    // Untested first: every fault here leaves an infinity or a NaN in the
    // velocity, and only then is the node's arithmetic done again, tested.
    const double keep = 1 - Checked(m_parameters.Viscosity);
    for (Node& n : m_nodes) {
        n.VX = (n.X - n.OldX) * keep;
        n.VY = (n.Y - n.OldY) * keep;
        if (finiteness(n.VX) + finiteness(n.VY) != 0) [[unlikely]] {
            (void)((Checked(n.X) - n.OldX) * keep);
            (void)((Checked(n.Y) - n.OldY) * keep);
        }
    }
}
