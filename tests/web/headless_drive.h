#pragma once
// A run driven natively as `springlab run` and api_drive.mjs drive it, for
// the tests that hold the browser's run against the desktop's: the texts
// set, InitSimulation, the mouse at tick 0, then each tick followed by the
// mouse after it, until the last tick, the timer stopping itself or the
// experiment's error.

#include "runtime/numeric/runtime_error.h"
#include "sims/headless.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace webtest {

// The command line's --set KEY=TEXT, --press T:X,Y and --move T:X,Y.
struct Mouse {
    std::int64_t tick;
    bool press;
    float x, y;
};

// Every call that knocked, as "tick:knocks" joined by spaces (api_drive's
// "knocks" line).
inline std::string drive(sims::HeadlessRun& run, const std::vector<std::string>& options, std::int64_t ticks)
{
    std::vector<std::string> texts = sims::defaultTexts(run.definition());
    std::vector<Mouse> mouse;
    for (std::size_t i = 0; i + 1 < options.size(); i += 2) {
        const std::string& value = options[i + 1];
        if (options[i] == "--set") {
            const std::size_t eq = value.find('=');
            texts.at(static_cast<std::size_t>(sims::findParameter(run.definition(), value.substr(0, eq))))
                = value.substr(eq + 1);
        } else {
            char* end = nullptr;
            const std::int64_t tick = std::strtoll(value.c_str(), &end, 10);
            const float x = std::strtof(end + 1, &end);
            mouse.push_back({tick, options[i] == "--press", x, std::strtof(end + 1, nullptr)});
        }
    }
    std::string knocks;
    std::int64_t tick = 0;
    auto call = [&](auto&& f) {
        const std::int64_t before = run.allBeeps();
        bool ok = true;
        try {
            f();
        } catch (const rt::RuntimeError&) {
            ok = false;
        }
        if (const std::int64_t n = run.allBeeps() - before) {
            if (!knocks.empty())
                knocks.push_back(' ');
            knocks.append(std::to_string(tick)).push_back(':');
            knocks.append(std::to_string(n));
        }
        return ok;
    };
    auto mouseAt = [&] {
        for (const Mouse& m : mouse)
            if (m.tick == tick
                && !call([&] { m.press ? run.press(m.x, m.y) : run.move(m.x, m.y); }))
                return false;
        return true;
    };
    if (!call([&] { run.init(texts); }) || !mouseAt())
        return knocks;
    while (tick < ticks && !run.stoppedByItself()) {
        ++tick;
        if (!call([&] { run.step(); }) || !mouseAt())
            break;
    }
    return knocks;
}

}  // namespace webtest
