#pragma once
// The rubber cord: a row of point nodes 0..NodeCount moved by position-based
// steps inside a walled area. Neighbours (i, i+1) form NodeCount segments;
// no node is fixed. There is no force and no mass anywhere: a node moves by
// its velocity, the walls, gravity and the segment corrections, and its new
// velocity is simply how far it actually went during the tick.
//
// Units: positions in model units (drawn at DisplayScale = 3 twips per unit),
// velocities in units per tick, one tick = one period of the window's timer.
//
// One tick, in this order, every loop by ascending index:
//  1. Integration, node by node:
//       if Y >= 1380 (on the floor):  VY = VY * 0.8
//       OldX = X;  X = clamp(VX + X, 60, 1860)
//       OldY = Y;  Y = clamp(VY + Y, 60, 1380)
//       Y = Gravity + Y                      (no clamp: may lie below the floor)
//  2. Relaxation, RelaxPasses (40) Gauss-Seidel passes; each pass first puts
//     node 0 back on a pending pull target, then for segment i = 0..N-1,
//     j = i + 1, with the positions the previous segment left:
//       dx = X(j) - X(i);  dy = Y(j) - Y(i)
//       d  = sqrt(dx*dx + dy*dy),  1 when d == 0
//       f  = ((d - SegmentLength) + Stiffness) * 0.5 / d
//       X(i) += f*dx;  X(j) -= f*dx;  Y(i) += f*dy;  Y(j) -= f*dy
//     which sets the segment's length to SegmentLength - Stiffness, each end
//     taking half of the error. No clamp in this phase. The order above is
//     the definition (relaxChainPlain); long cords are relaxed by a
//     wavefront that runs many passes at once (chain_relax_fast.h) and
//     leaves the same bits.
//  3. The pull is released.
//  4. Velocities: VX = (X - OldX) * (1 - Viscosity), likewise VY.
//
// A press pulls node 0 to the pointer (twips / 3) during the next tick's
// relaxation only; PullX == 0 means no pull is pending.
//
// Errors (rt::RuntimeError): a negative node count leaves no node 0 and is
// the subscript-out-of-range error, raised by ResetChain and by any step or
// read of a cord without nodes; a floating-point overflow, division by zero
// or invalid operation in a tick (rt::Checked's faults) is raised at the end
// of the phase where it happened, before the window draws anything.
//
// Every parameter value is accepted as it stands (negative lengths, gravity,
// viscosity or stiffness included).

#include "runtime/numeric/float_check.h"

#include <cstdint>
#include <span>
#include <vector>

// Which code runs the relaxation phase. Every path gives the same nodes bit
// for bit; they differ only in speed. Auto takes the plain loop for short
// cords and the fastest wavefront this processor has for long ones
// (chain_relax_fast.h); the others force one path, for tests and benchmarks.
// A forced path the processor lacks runs as Auto.
// Whether the caller has just seen every node's coordinates to be finite
// (StepChain, while integrating), which spares the relaxation a look at
// every node before it starts.
enum class NodesFinite { Unknown, Known };

enum class RelaxPath {
    Auto,
    Plain,     // relaxChainPlain: one segment after another
    Portable,  // the wavefront in plain C++, on any processor
    Sse2,      // the wavefront two passes to a register (every x86-64)
    Avx2,      // the wavefront four passes to a register, where the processor has AVX2
};

class ChainModel {
public:
    struct Node {
        double X = 0;     // model units, growing to the right
        double Y = 0;     // model units, growing downward
        double OldX = 0;  // X at the start of the last tick's integration
        double OldY = 0;  // Y at the start of the last tick's integration
        double VX = 0;    // units per tick, already damped
        double VY = 0;    // units per tick, already damped
    };

    struct Parameters {
        std::int16_t NodeCount = 0;  // segments; the cord has NodeCount + 1 nodes
        double SegmentLength = 0;    // model units
        double Gravity = 0;          // model units per tick, added to Y every tick
        double Viscosity = 0;        // share of the velocity lost per tick
        double Stiffness = 0;        // model units taken off each segment's rest length
    };

    static constexpr double AreaMin = 60;     // left wall and ceiling, also Y at reset
    static constexpr double AreaMaxX = 1860;  // right wall
    static constexpr double AreaMaxY = 1380;  // floor
    static constexpr double FloorFactor = 0.8;
    static constexpr int RelaxPasses = 40;
    static constexpr double DisplayScale = 3;  // twips per model unit

    // Stores the parameters, lays a fresh cord straight along the ceiling
    // (node i at (i * SegmentLength, 60), at rest) and clears the pull.
    void ResetChain(std::int16_t nodeCount, double segmentLength, double gravity,
                    double viscosity, double stiffness);

    // One tick: integration, relaxation, release of the pull, velocities.
    void StepChain();

    // A press at the pointer, in twips: node 0 goes there during the next
    // tick's relaxation. A pointer X of 0 means no pull.
    void PullChain(float pointerX, float pointerY);

    std::int16_t NodeCount() const { return m_parameters.NodeCount; }
    const Parameters& parameters() const { return m_parameters; }

    // Node i, 0..NodeCount; any other index is the subscript-out-of-range
    // error.
    const Node& node(int i) const;
    std::span<const Node> nodes() const { return m_nodes; }

    double PullX() const { return m_pullX; }
    double PullY() const { return m_pullY; }

    // The code StepChain relaxes with; Auto unless a test or benchmark
    // forces one. It changes no result, so a reset keeps it.
    void setRelaxPath(RelaxPath path) { m_relaxPath = path; }
    RelaxPath relaxPath() const { return m_relaxPath; }

private:
    NodesFinite integrate();
    void releasePull();
    void updateVelocities();

    Parameters m_parameters;
    std::vector<Node> m_nodes;
    double m_pullX = 0;  // model units; 0 = no pull pending
    double m_pullY = 0;
    RelaxPath m_relaxPath = RelaxPath::Auto;
};

// The relaxation phase on its own, exactly as StepChain runs it: `passes`
// Gauss-Seidel passes over the segments in ascending order, node 0 put back
// on (pullX, pullY) at the start of every pass when pullX != 0. The faults
// of its operations are raised into the floating-point status
// (rt::floatStatus) as if each were tested. Kept as a free function so that
// a faster version can be checked against it bit for bit and timed beside
// it.
void relaxChainPlain(std::span<ChainModel::Node> nodes, double segmentLength, double stiffness,
                     double pullX, double pullY, int passes = ChainModel::RelaxPasses,
                     NodesFinite nodesFinite = NodesFinite::Unknown);

// The same loop with every operation tested as it goes (rt::Checked): the
// reference for the faults, and the way a cord is relaxed when its faults
// cannot be read from its result (relaxFaultsReadable).
void relaxChainChecked(std::span<ChainModel::Node> nodes, double segmentLength, double stiffness,
                       double pullX, double pullY, int passes = ChainModel::RelaxPasses);

// Every path relaxes untested and reads the phase's faults from the nodes
// it leaves (relaxFaultsOf), which gives exactly the tested loop's faults
// whenever, before the phase, every coordinate is finite and
// relaxFaultsReadable holds: the segment length and the stiffness finite,
// the pull target within 2^1020.
// Why, for a correction of segment (i, i+1) by f = ((d - L) + S) / 2 / d:
//  - From finite values the first fault can only be an overflow, and the
//    first NaN only an invalid operation; d is never 0, so there is no
//    division by zero, and the sum of squares is never negative.
//  - An overflow in dx, dy, their squares or their sum makes d infinite and
//    f = inf / inf a NaN; one in (d - L) + S or in the division makes f
//    infinite; f * dx from a finite f and a.X + f * dx cannot overflow
//    (|f * dx| stays below about 0.62 of the largest double, and a
//    coordinate large enough to overflow with it has neighbours that differ
//    by 0 or by a square that overflows). So a fault sends an infinity or a
//    NaN into node i + 1 through b.X - f * dx, and every NaN made in a
//    correction reaches node i + 1 the same way.
//  - A node other than node 0 never gets finite again: the next correction
//    that reads it has an infinite d, so f = NaN, and NaN stays NaN. Node 0
//    loses its value to the pull before every pass, but with the pull target
//    within 2^1020 its own correction cannot overflow either.
// So the nodes end with a NaN exactly when an invalid operation happened
// (after an overflow, which every fault starts with), otherwise with an
// infinity exactly when an overflow happened.
bool relaxFaultsReadable(std::span<const ChainModel::Node> nodes, NodesFinite nodesFinite,
                         double segmentLength, double stiffness, double pullX, double pullY);
rt::FloatFaults relaxFaultsOf(std::span<const ChainModel::Node> nodes);
