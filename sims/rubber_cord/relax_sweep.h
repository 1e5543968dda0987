#pragma once
// One sweep of the relaxation wavefront, as the dispatcher hands it to a
// lane width's kernel (chain_relax_kernel.h). Plain data: the kernels are compiled for different
// instruction sets and share nothing else.

#include "sims/rubber_cord/chain_model.h"

#include <cstddef>

// Passes per sweep, for every lane width: the 40 passes of a tick make two
// sweeps, one per core.
constexpr int kPassesPerSweep = 20;

struct RelaxSweep {
    ChainModel::Node* nodes = nullptr;
    std::ptrdiff_t segments = 0;  // N >= 1; nodes 0..N
    double segmentLength = 0;
    double stiffness = 0;
    bool pullOn = false;
    double pullX = 0;
    double pullY = 0;
    int passes = 0;  // 1..kPassesPerSweep
};

// Returns whether every coordinate it wrote back was finite: only then can
// the caller skip looking for the phase's faults in the nodes.
using SweepFunction = bool (*)(const RelaxSweep&);
