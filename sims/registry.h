#pragma once
// The one list of experiments that everything loops over: the launcher's
// buttons, --open, the menus, the measurement windows, recordings, the
// command line and the browser. Adding an experiment is a folder under sims/
// and a line in registry.cpp. Plain C++.

#include "sims/experiment.h"

#include <span>
#include <string_view>

namespace sims {

// In the launcher's order.
std::span<const Definition* const> experiments();

// The experiment of that name ("two-balls"); null if there is none.
const Definition* findExperiment(std::string_view name);

}  // namespace sims
