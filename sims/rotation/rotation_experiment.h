#pragma once
// The rubber-cord rotation experiment: a mass tied by an elastic cord to the
// mouse pointer. Moving the pointer drags the mass after it; circling it
// swings the mass round. Every move of the pointer over the client area
// moves the cord's end, even while frozen; a press freezes the animation
// (timer off); "変更" reads the boxes again and starts over from (240, 240)
// at rest. The physics is rotation_model.h.

#include "sims/experiment.h"
#include "sims/rotation/rotation_model.h"

namespace rotation {

const sims::Definition& definition();

class Experiment final : public sims::Experiment {
public:
    // Lives as long as the window; the pointer is kept across "変更".
    Model Mass;

    void initSimulation(sims::Host& host, sims::Texts texts) override;
    void tick(sims::Host& host, rt::Canvas& canvas) override;
    void mouseDown(sims::Host& host, float x, float y, sims::Texts texts) override;
    void mouseMove(sims::Host& host, float x, float y) override;
    void sample(std::span<double> row) const override;
    // The pointer (x, y).
    std::vector<double> carried() const override;
    void carry(std::span<const double> values) override;
};

}  // namespace rotation
