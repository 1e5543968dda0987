#pragma once
// What the rubber-cord experiment measures and reads.
//
// The cord's measures come from one pass over its nodes (CordMeasures), so
// sampling a cord of 32767 nodes costs one square root per segment, next to
// the 40 relaxation passes of its tick. Every node counts as a unit mass for
// the kinetic energy, ½·Σ(VX² + VY²) in unit²/tick²: the model has no mass.

#include "sims/rubber_cord/chain_model.h"
#include "sims/quantity.h"

#include <span>

namespace rubber_cord {

struct CordMeasures {
    double X0 = 0;              // node 0, units
    double Y0 = 0;              // units, downward
    double TotalLength = 0;     // sum of the segments' lengths, units
    double NominalLength = 0;   // NodeCount × SegmentLength, units
    double LargestStretch = 0;  // greatest segment length less SegmentLength, units
    double Kinetic = 0;         // unit²/tick²
};

CordMeasures measureCord(const ChainModel& chain);

std::span<const sims::Quantity<CordMeasures>> quantities();


}  // namespace rubber_cord
