#pragma once
// An experiment run without a window: the command line, replays of
// recordings and the browser's module drive it tick by tick. It lends the
// experiment a timer that only keeps its state (a headless run does not wait)
// and a canvas that nobody shows: the picture is drawn all the same, with its
// coordinates rounded to single precision as on the window, so a picture that
// leaves the range of a single stops the run at the same tick. Plain C++.

#include "sims/experiment.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace sims {

class HeadlessRun : private Host {
public:
    explicit HeadlessRun(const Definition& definition);

    const Definition& definition() const { return m_definition; }
    Experiment& experiment() { return *m_experiment; }
    const Experiment& experiment() const { return *m_experiment; }
    const rt::Canvas& canvas() const { return m_canvas; }

    // What the window's load or "変更" does with these texts (in the
    // parameters' order); they stay the boxes' texts for later presses.
    void init(std::vector<std::string> texts);
    void step();
    void press(float x, float y);
    void move(float x, float y);
    void sample(std::span<double> row) const { m_experiment->sample(row); }

    std::vector<double> carried() const { return m_experiment->carried(); }
    void carry(std::span<const double> values) { m_experiment->carry(values); }

    // True once the window would have stopped its own timer (the two balls at
    // rest, the rotation frozen by a press); a press can start it again.
    bool stoppedByItself() const { return !m_timerEnabled; }
    std::int32_t interval() const { return m_interval; }
    // Knocks in the latest tick, and in the whole run.
    int beeps() const { return m_beeps; }
    std::int64_t allBeeps() const { return m_allBeeps; }

private:
    void setTimerEnabled(bool on) override { m_timerEnabled = on; }
    void setTimerInterval(std::int32_t milliseconds) override;
    void beep() override
    {
        ++m_beeps;
        ++m_allBeeps;
    }

    const Definition& m_definition;
    std::unique_ptr<Experiment> m_experiment;
    rt::Canvas m_canvas;
    std::vector<std::string> m_texts;
    std::int32_t m_interval = 0;
    bool m_timerEnabled = true;
    int m_beeps = 0;
    std::int64_t m_allBeeps = 0;
};

}  // namespace sims
