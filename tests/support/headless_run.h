#pragma once
// A headless run of an experiment by its name, for tests without windows.

#include "sims/headless.h"
#include "sims/registry.h"

#include <memory>
#include <string_view>

inline std::unique_ptr<sims::HeadlessRun> makeRun(std::string_view name)
{
    const sims::Definition* d = sims::findExperiment(name);
    return d ? std::make_unique<sims::HeadlessRun>(*d) : nullptr;
}
