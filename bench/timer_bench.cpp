// How many ticks a window really gets from its timer: at an interval of 10 ms
// the motion should play at close to 100 ticks a second, which a coarse
// timer would not give, nor a tick and repaint that take longer than the
// period. The figure is the counter ticks_per_second.
//
// The windows are shown and painted on the offscreen platform at the device
// pixel ratio the program was started with (bench_main.cpp starts it at 2,
// as at 200 % zoom or on a HiDPI screen; device_pixel_ratio says which).

#include "sims/rubber_cord/cord_poses.h"
#include "tests/support/typed_windows.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <functional>

namespace {

// Runs the event loop for a second per iteration and counts the changes of
// `probe` seen on a 1 ms poll: one per tick of the window being watched.
template <typename Value>
double ticksPerSecond(benchmark::State& state, const std::function<Value()>& probe)
{
    double ticks = 0;
    double seconds = 0;
    for (auto _ : state) {
        int count = 0;
        QObject counter;
        Value last = probe();
        QTimer poll;
        poll.setTimerType(Qt::PreciseTimer);
        QObject::connect(&poll, &QTimer::timeout, &counter, [&] {
            const Value now = probe();
            if (now != last) {
                last = now;
                ++count;
            }
        });
        QElapsedTimer clock;
        clock.start();
        QEventLoop loop;
        QTimer::singleShot(1000, &loop, &QEventLoop::quit);
        poll.start(1);
        loop.exec();
        ticks += count;
        seconds += static_cast<double>(clock.nsecsElapsed()) / 1e9;
    }
    return ticks / seconds;
}

void BM_VibrationTicksPerSecond(benchmark::State& state)
{
    frmVibration window;
    window.Show();  // the load starts the timer at the default 10 ms
    // Each tick moves the ball, so a changed Position is one more tick seen.
    state.counters["ticks_per_second"] =
        ticksPerSecond<double>(state, [&] { return window.Position; });
    state.counters["device_pixel_ratio"] = window.devicePixelRatioF();
}
BENCHMARK(BM_VibrationTicksPerSecond)->Iterations(2)->Unit(benchmark::kMillisecond)->UseRealTime();

// The largest rubber cord, settled on the floor, on its timer at the default
// 10 ms, each tick stepped, drawn and painted into the window's backing
// store, with the vibration window animating beside it.
void BM_ElasticCodeTicksPerSecond(benchmark::State& state)
{
    frmVibration beside;
    beside.Show();
    frmElasticCode window;
    window.Show();
    window.textBox("Text2").setText(QString::number(state.range(0)));
    window.button("Command1").click();  // "変更" reads the boxes and starts the timer
    window.Chain = cord_poses::settled(static_cast<std::int16_t>(state.range(0)));
    if (window.Chain.NodeCount() != state.range(0) || !window.Timer1.isTicking())
        state.SkipWithError("the window did not take the node count");
    // Every tick draws a new picture.
    state.counters["ticks_per_second"] =
        ticksPerSecond<std::uint64_t>(state, [&] { return window.pictureGeneration(); });
    state.counters["device_pixel_ratio"] = window.devicePixelRatioF();
}
BENCHMARK(BM_ElasticCodeTicksPerSecond)
    ->Arg(100)->Arg(32767)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
