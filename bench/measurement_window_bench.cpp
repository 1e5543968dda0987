// What recording costs a window's tick: the same window ticked with and
// without a measurement window following it, side by side in one run, for
// the vibration window and the rubber cord of 32767 nodes. The graph is not
// in these figures: it is redrawn from its own timer, at most every 30 ms,
// whatever the tick rate.

#include "tests/support/typed_windows.h"
#include "measure/measurement_window.h"
#include "shell/window_set.h"

#include <QLineEdit>
#include <QPushButton>

#include <benchmark/benchmark.h>

namespace {

template <typename Window>
void tickWindow(benchmark::State& state, Windows& windows, Sim sim, Window& window, bool recorded)
{
    measure::MeasurementWindow* m = recorded ? &windows.measurement(sim) : nullptr;
    window.Show();
    window.Timer1.setEnabled(false);  // only the ticks fired here
    std::int64_t ticks = 0;
    for (auto _ : state) {
        window.Timer1.fire();
        benchmark::ClobberMemory();
        // The graph's timer runs between ticks on the event loop (some 30
        // times a second); it is left out of the figure, as it costs the
        // same whatever the tick rate.
        if (m && ++ticks % 4096 == 0) {
            state.PauseTiming();
            m->refresh();
            state.ResumeTiming();
        }
    }
    // A full recorder stops recording and would flatter the figure.
    if (m && m->recorder().full())
        state.SkipWithError("the recording filled up; run fewer iterations");
    window.close();
}

void BM_VibrationTick(benchmark::State& state, bool recorded)
{
    Windows windows;
    tickWindow(state, windows, vibration::definition(), vibrationWindow(windows), recorded);
}
BENCHMARK_CAPTURE(BM_VibrationTick, Alone, false)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_VibrationTick, Recorded, true)->Unit(benchmark::kMicrosecond)->UseRealTime();

void BM_RubberCordTick(benchmark::State& state, bool recorded)
{
    Windows windows;
    frmElasticCode& cord = rubberCordWindow(windows);
    if (recorded)
        windows.measurement(rubber_cord::definition());
    cord.Show();
    cord.textBox("Text2").setText(QStringLiteral("32767"));
    cord.button("Command1").click();
    tickWindow(state, windows, rubber_cord::definition(), cord, recorded);
}
BENCHMARK_CAPTURE(BM_RubberCordTick, Alone, false)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_RubberCordTick, Recorded, true)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
