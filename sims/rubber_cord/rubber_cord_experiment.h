#pragma once
// The rubber-cord experiment: a cord of nodes falling inside an olive frame,
// yanked by a press of the mouse.
//
// The physics is ChainModel's (chain_model.h); the six boxes go into it,
// each tick steps it once and draws the frame and the cord, node i at
// (3 * X(i), 3 * Y(i)) twips. A press anywhere on the client area drags
// node 0 to the pointer for the next tick.

#include "sims/experiment.h"
#include "sims/rubber_cord/chain_model.h"

namespace rubber_cord {

const sims::Definition& definition();

class Experiment final : public sims::Experiment {
public:
    ChainModel Chain;

    void initSimulation(sims::Host& host, sims::Texts texts) override;
    void tick(sims::Host& host, rt::Canvas& canvas) override;
    void mouseDown(sims::Host& host, float x, float y, sims::Texts texts) override;
    void sample(std::span<double> row) const override;
};

}  // namespace rubber_cord
