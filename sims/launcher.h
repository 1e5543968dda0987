#pragma once
// The launcher's window as the designer laid it out: one button per
// experiment (each experiment names its own, Definition::launcherButton).
// Plain C++: the desktop builds its launcher from it, the browser shows the
// same buttons.

#include "runtime/canvas/design_table.h"

namespace sims {

const rt::FormDesign& launcher();

}  // namespace sims
