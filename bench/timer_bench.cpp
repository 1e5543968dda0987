// How many ticks a window really gets from its timer: at an interval of 10 ms
// the motion should play at close to 100 ticks a second, which a coarse
// timer would not give. The figure is the counter ticks_per_second.

#include "frm_vibration.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <benchmark/benchmark.h>

namespace {

void BM_VibrationTicksPerSecond(benchmark::State& state)
{
    frmVibration window;
    window.Show();  // the load starts the timer at the default 10 ms
    double ticks = 0;
    double seconds = 0;
    for (auto _ : state) {
        const double start = window.Position;
        int count = 0;
        // Count ticks through the window's own state: each tick moves the
        // ball, so a changed Position is one more tick seen.
        QObject counter;
        double last = start;
        QTimer probe;
        probe.setTimerType(Qt::PreciseTimer);
        QObject::connect(&probe, &QTimer::timeout, &counter, [&] {
            if (window.Position != last) {
                last = window.Position;
                ++count;
            }
        });
        QElapsedTimer clock;
        clock.start();
        QEventLoop loop;
        QTimer::singleShot(1000, &loop, &QEventLoop::quit);
        probe.start(1);
        loop.exec();
        ticks += count;
        seconds += static_cast<double>(clock.nsecsElapsed()) / 1e9;
    }
    state.counters["ticks_per_second"] = ticks / seconds;
}
BENCHMARK(BM_VibrationTicksPerSecond)->Iterations(2)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
