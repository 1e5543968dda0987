#pragma once
// An experiment's window as the measurement window and recordings see it:
// its form and timer (to follow its events and to pause it), its definition
// and live experiment (to sample it), and the two things a window answers
// about its boxes: the box of a parameter, and "apply" (its button).

#include "runtime/forms/form.h"
#include "sims/experiment.h"

#include <cstddef>

class QLineEdit;

namespace measure {

class ExperimentFace {
public:
    virtual rt::Form& form() = 0;
    virtual rt::Timer& timer() = 0;
    virtual const sims::Definition& definition() const = 0;
    virtual sims::Experiment& experiment() = 0;
    // The text box of definition().parameters[i].
    virtual QLineEdit& parameterBox(std::size_t i) const = 0;
    // What a click on "変更" does, through the window's event dispatch.
    virtual void apply() = 0;

protected:
    ~ExperimentFace() = default;
};

}  // namespace measure
