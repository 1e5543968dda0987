#pragma once
// The relaxation as a skewed wavefront, written once for every register
// width. Each source file that runs it (chain_relax_fast.cpp for the portable
// and SSE2 lanes, chain_relax_avx2.cpp for AVX2) includes this file with its
// own lane type and its own compiler options.
//
// Why a wavefront gives the same bits as the plain loop
// -----------------------------------------------------
// Correction (p, i), pass p at segment i, reads node i as (p, i-1) has just
// left it and node i+1 as (p-1, i+1) left it, and nothing else. Run
// correction (p, i) at step t = i + 2p: both of its inputs were made at step
// t-1, and the corrections of one step (pass p at segment t-2p) touch
// disjoint pairs of nodes. So every correction sees exactly the operands it
// sees in the plain order and does the same IEEE operations on them in the
// same order: the same bits, whatever the lanes do around it.
//
// The passes as lanes
// -------------------
// A sweep of K = kPassesPerSweep passes runs the cord from end to end, one
// step at a time; pass k of the sweep lives in register r = k % R, lane
// l = k / R, so pass k-1 is the same lane of register r-1 (register R-1, one
// lane down, for r = 0): the hand-over between passes is a register move
// plus one lane rotation per step. Each pass keeps two nodes: `a`, the first
// node of the segment it has just corrected, which the next pass reads one
// step later as its far node, and `b`, the second node, which is its own
// near node next step. Pass 0 reads its far node from memory; the sweep's
// last pass writes its `a` back, node by node, 2(K-1) segments behind the
// front. Nothing else goes to memory.
//
// Ends of the cord
// ----------------
// A lane whose segment lies outside 0..N-1, or whose pass is beyond the
// sweep's count, makes no correction: it hands its two nodes on as they came
// (a = near node, b = far node). That alone carries node 0 and node N
// between passes at the ends, with no special case. A pending pull puts the
// target into the near node of every pass at segment 0.
//
// Lanes that make no correction work on zeros (d = 0, taken as 1, f * 0), so
// they never make an infinity or a NaN of their own; a fault in a real
// correction leaves in the nodes exactly what the plain loop leaves, which is
// where the faults are read from (relaxFaultsOf).
//
// Everything compiled here has internal linkage, so nothing compiled for one
// instruction set can stand in for another's at link time; and it uses
// nothing from the standard library that could be instantiated out of line.

#include "sims/rubber_cord/relax_sweep.h"

#include <cstddef>

namespace {

// Lanes provides, for its vector type Vec and mask type Mask:
//   kLanes; splat, load (kLanes doubles), add, sub, mul, div, sqrt;
//   greaterEqual, less, equal -> Mask (equal must be quiet: it sees d,
//   which may be NaN; the others only ever see whole numbers); both (and);
//   select(m, a, b) = m ? a : b; keep(m, a) = m ? a : +0;
//   rotateUp (lane l <- lane l-1, lane 0 <- the top lane); first (lane 0);
//   withFirst(v, x) (lane 0 replaced by x).
template <class Lanes, int R>
class Wavefront {
public:
    using Vec = typename Lanes::Vec;
    using Mask = typename Lanes::Mask;
    static constexpr int K = Lanes::kLanes * R;
    static_assert(K == kPassesPerSweep);

    explicit Wavefront(const RelaxSweep& job)
        : m_job(job),
          m_length(Lanes::splat(job.segmentLength)),
          m_stiffness(Lanes::splat(job.stiffness)),
          m_pullX(Lanes::splat(job.pullX)),
          m_pullY(Lanes::splat(job.pullY))
    {
    }

    // True when every coordinate written back was finite. (It also looks at
    // the nodes in flight in the other lanes: from finite nodes, an infinity
    // or a NaN anywhere means a fault, and the caller then reads which from
    // the nodes.)
    bool sweep()
    {
        double twoK[Lanes::kLanes];
        double real[Lanes::kLanes];
        for (int r = 0; r < R; ++r) {
            for (int l = 0; l < Lanes::kLanes; ++l) {
                const int k = r + R * l;
                twoK[l] = 2.0 * k;
                real[l] = k < m_job.passes ? 1.0 : 0.0;
            }
            m_twoK[r] = Lanes::load(twoK);
            m_real[r] = Lanes::equal(Lanes::load(real), Lanes::splat(1.0));
            m_ax[r] = m_ay[r] = m_bx[r] = m_by[r] = Lanes::splat(0.0);
        }

        // Step t runs pass k at segment t - 2k. From step -1 (pass 0 picks
        // up node 0) until the last pass has handed node N back.
        const std::ptrdiff_t n = m_job.segments;
        const std::ptrdiff_t last = n + 2 * (K - 1) + 1;
        // Every lane inside the cord, past segment 0 and a real pass: no
        // masks needed.
        std::ptrdiff_t steadyFrom = 2 * K - 1;
        std::ptrdiff_t steadyTo = n - 1;
        if (m_job.passes < K || steadyFrom > steadyTo) {
            steadyFrom = last + 1;
            steadyTo = last;
        }
        std::ptrdiff_t t = -1;
        for (; t < steadyFrom && t <= last; ++t)
            step<true>(t);
        for (; t <= steadyTo; ++t)
            step<false>(t);
        for (; t <= last; ++t)
            step<true>(t);
        double finiteness = 0;
        Vec lanes = m_finiteness;
        for (int l = 0; l < Lanes::kLanes; ++l) {
            finiteness += Lanes::first(lanes);
            lanes = Lanes::rotateUp(lanes);
        }
        return finiteness == 0;
    }

private:
    static constexpr double kHalfShare = 0.5;


    template <bool Edges>
    void step(std::ptrdiff_t t)
    {
        ChainModel::Node* const nodes = m_job.nodes;
        // The last pass's first node from the step before leaves through the
        // rotation into lane 0: it is final for this sweep.
        Vec carryX = Lanes::rotateUp(m_ax[R - 1]);
        Vec carryY = Lanes::rotateUp(m_ay[R - 1]);
        const std::ptrdiff_t done = t - 1 - 2 * (K - 1);
        if (!Edges || (done >= 0 && done <= m_job.segments)) {
            nodes[done].X = Lanes::first(carryX);
            nodes[done].Y = Lanes::first(carryY);
        }
        // Pass 0's far node comes from memory, as the sweep before left it.
        double inX = 0;
        double inY = 0;
        if (!Edges || t + 1 <= m_job.segments) {
            inX = nodes[t + 1].X;
            inY = nodes[t + 1].Y;
        }
        // Whatever the last pass hands on (the node just written back in
        // lane 0, nodes still in flight in the others) is summed as
        // x - x: 0 while everything is finite.
        m_finiteness = Lanes::add(m_finiteness, Lanes::add(Lanes::sub(carryX, carryX), Lanes::sub(carryY, carryY)));
        carryX = Lanes::withFirst(carryX, inX);
        carryY = Lanes::withFirst(carryY, inY);

        const Vec tv = Lanes::splat(static_cast<double>(t));
        // Downwards, so each register still reads the `a` its lower
        // neighbour made in the step before.
        for (int r = R - 1; r >= 1; --r)
            correct<Edges>(r, tv, m_ax[r - 1], m_ay[r - 1]);
        correct<Edges>(0, tv, carryX, carryY);
    }

    template <bool Edges>
    void correct(int r, Vec tv, Vec farX, Vec farY)
    {
        Vec nearX = m_bx[r];
        Vec nearY = m_by[r];
        if constexpr (!Edges) {
            segment(nearX, nearY, farX, farY, m_length, m_stiffness);
            m_ax[r] = nearX;
            m_ay[r] = nearY;
            m_bx[r] = farX;
            m_by[r] = farY;
        } else {
            const Vec zero = Lanes::splat(0.0);
            const Vec seg = Lanes::sub(tv, m_twoK[r]);
            const Vec segments = Lanes::splat(static_cast<double>(m_job.segments));
            const Mask inside = Lanes::both(
                Lanes::both(Lanes::greaterEqual(seg, zero), Lanes::less(seg, segments)),
                m_real[r]);
            if (m_job.pullOn) {
                // The pull puts node 0 back on the target before each pass.
                const Mask pulled = Lanes::both(Lanes::equal(seg, zero), m_real[r]);
                nearX = Lanes::select(pulled, m_pullX, nearX);
                nearY = Lanes::select(pulled, m_pullY, nearY);
            }
            // Lanes outside work on zeros and then hand their nodes on.
            Vec ax = Lanes::keep(inside, nearX);
            Vec ay = Lanes::keep(inside, nearY);
            Vec bx = Lanes::keep(inside, farX);
            Vec by = Lanes::keep(inside, farY);
            segment(ax, ay, bx, by, Lanes::keep(inside, m_length),
                    Lanes::keep(inside, m_stiffness));
            m_ax[r] = Lanes::select(inside, ax, nearX);
            m_ay[r] = Lanes::select(inside, ay, nearY);
            m_bx[r] = Lanes::select(inside, bx, farX);
            m_by[r] = Lanes::select(inside, by, farY);
        }
    }

    // One correction per lane, operation for operation the plain loop's.
    static void segment(Vec& ax, Vec& ay, Vec& bx, Vec& by, Vec length, Vec stiffness)
    {
        const Vec dx = Lanes::sub(bx, ax);
        const Vec dy = Lanes::sub(by, ay);
        Vec d = Lanes::sqrt(Lanes::add(Lanes::mul(dx, dx), Lanes::mul(dy, dy)));
        d = Lanes::select(Lanes::equal(d, Lanes::splat(0.0)), Lanes::splat(1.0), d);
        const Vec f = Lanes::div(
            Lanes::mul(Lanes::add(Lanes::sub(d, length), stiffness), Lanes::splat(kHalfShare)), d);
        const Vec fx = Lanes::mul(f, dx);
        const Vec fy = Lanes::mul(f, dy);
        ax = Lanes::add(ax, fx);
        bx = Lanes::sub(bx, fx);
        ay = Lanes::add(ay, fy);
        by = Lanes::sub(by, fy);
    }

    const RelaxSweep m_job;
    const Vec m_length;
    const Vec m_stiffness;
    const Vec m_pullX;
    const Vec m_pullY;

    // Per register: each lane's pass (as 2k), whether it is a real pass,
    // and the two nodes it carries.
    Vec m_twoK[R];
    Mask m_real[R];
    Vec m_ax[R];
    Vec m_ay[R];
    Vec m_bx[R];
    Vec m_by[R];
    Vec m_finiteness = Lanes::splat(0.0);
};

}  // namespace
