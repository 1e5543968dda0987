#include "sims/registry.h"

#include "sims/rotation/rotation_experiment.h"
#include "sims/rubber_cord/rubber_cord_experiment.h"
#include "sims/two_balls/two_balls_experiment.h"
#include "sims/vibration/vibration_experiment.h"

namespace sims {

std::span<const Definition* const> experiments()
{
    static const Definition* const all[] = {
        &rotation::definition(),
        &vibration::definition(),
        &two_balls::definition(),
        &rubber_cord::definition(),
    };
    return all;
}

const Definition* findExperiment(std::string_view name)
{
    for (const Definition* d : experiments())
        if (d->name == name)
            return d;
    return nullptr;
}

}  // namespace sims
