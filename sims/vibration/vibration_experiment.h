#pragma once
// The spring-vibration experiment: a ball hanging on a vertical spring,
// with the parameter boxes on the right. Its model is vibration_model.h; a
// press pulls the ball to the depth given by the pointer's x and lets it go.

#include "sims/experiment.h"
#include "sims/vibration/vibration_model.h"

namespace vibration {

const sims::Definition& definition();

class Experiment final : public sims::Experiment {
public:
    // Lives as long as the window: closing it keeps the state.
    Model Spring;

    void initSimulation(sims::Host& host, sims::Texts texts) override;
    void tick(sims::Host& host, rt::Canvas& canvas) override;
    void mouseDown(sims::Host& host, float x, float y, sims::Texts texts) override;
    void sample(std::span<double> row) const override;
};

}  // namespace vibration
