#pragma once
// The two-ball spring experiment: a large and a small ball joined by a
// spring, falling onto a floor line, with the parameter boxes on the right.
//
// Each tick steps the model (two_balls_model.h), knocks once per floor
// bounce, redraws the floor, the spring and the balls at DisplayScale twips
// per unit, and stops the timer once the pair lies still on its floors.
// "変更" reads every box and puts the balls back at their start (their
// velocities kept); a press anywhere puts the large ball at the pointer at
// rest and starts the timer again.

#include "sims/experiment.h"
#include "sims/two_balls/two_balls_model.h"

namespace two_balls {

const sims::Definition& definition();

class Experiment final : public sims::Experiment {
public:
    // Lives as long as the window: closing and reopening it keeps the
    // velocities the balls had.
    Model Balls;

    void initSimulation(sims::Host& host, sims::Texts texts) override;
    void tick(sims::Host& host, rt::Canvas& canvas) override;
    void mouseDown(sims::Host& host, float x, float y, sims::Texts texts) override;
    void sample(std::span<double> row) const override;
    // The velocities: ball 1 x, y, ball 2 x, y.
    std::vector<double> carried() const override;
    void carry(std::span<const double> values) override;
};

}  // namespace two_balls
