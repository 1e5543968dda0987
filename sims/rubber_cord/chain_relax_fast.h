#pragma once
// The relaxation phase at full speed.
//
// The plain loop (relaxChainPlain) is one long chain of dependent square
// roots and divisions: each correction waits for the one before, and the
// processor's dividers idle most of the time. The wavefront paths run many
// passes at once, each a few segments behind the one before, in the lanes of
// vector registers (chain_relax_kernel.h), all on the window's one thread.
// Every correction still does the same IEEE operations on the same operands
// in the same order, so the nodes come out bit for bit as the plain loop
// leaves them, and the faults read from them (relaxFaultsOf) are the plain
// loop's.

#include "sims/rubber_cord/chain_model.h"

#include <cstddef>
#include <span>

// Whether this build and this processor can run the path. Auto, Plain and
// Portable always can.
bool relaxPathAvailable(RelaxPath path);

// The path Auto takes for a cord with this many segments.
RelaxPath relaxPathFor(std::size_t segments);

// The relaxation phase as relaxChainPlain defines it, run by the given path
// (Auto: relaxPathFor the cord's segments; a path the processor lacks runs
// as Auto).
void relaxChain(RelaxPath path, std::span<ChainModel::Node> nodes, double segmentLength,
                double stiffness, double pullX, double pullY,
                int passes = ChainModel::RelaxPasses, NodesFinite nodesFinite = NodesFinite::Unknown);
