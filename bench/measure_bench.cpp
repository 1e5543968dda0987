// What recording costs, side by side in one run: each window's tick (step
// and picture, as the timer runs it) with and without a row of the recorder
// after it, for the vibration and the 32767-node rubber cord; and runs
// without a window (`springlab run`) to their end.

#include "cli/cli.h"
#include "tests/support/typed_windows.h"
#include "measure/recorder.h"
#include "measure/recording.h"
#include "sims/rubber_cord/rubber_cord_quantities.h"
#include "sims/vibration/vibration_quantities.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include <unistd.h>

namespace {

// Keeps recording past the recorder's capacity: a full recorder starts
// over, which costs nothing (no memory is given back or taken).
template <class Sample>
void record(measure::Recorder& rec, std::int64_t tick, Sample&& sample)
{
    if (rec.full())
        rec.clear();
    rec.append(tick, sample);
}

// A window's tick as its timer runs it, with a recorded row after each
// when the benchmark's argument is 1. `view` gives what the table samples.
template <class Window, class State, class View>
void windowTick(benchmark::State& state, const char* box, const char* text,
                std::span<const sims::Quantity<State>> table, View view)
{
    const bool recording = state.range(0) != 0;
    Window window;
    window.Show();
    window.textBox(box).setText(QString::fromUtf8(text));
    QTest::mouseClick(&window.button("Command1"), Qt::LeftButton);
    measure::Recorder rec(table.size());
    rec.reserve(measure::Recorder::MaxRows);
    std::int64_t tick = 0;
    for (auto _ : state) {
        window.Timer1.fire();
        if (recording)
            record(rec, ++tick, [&](std::span<double> row) { sims::sampleInto(table, view(window), row); });
    }
    benchmark::DoNotOptimize(rec.rows());
}

void BM_VibrationWindowTick(benchmark::State& state)
{
    // Undamped, so the swing never settles.
    windowTick<frmVibration>(state, "Text5", "0", vibration::quantities(),
                             [](frmVibration& w) -> auto& { return w.Spring; });
}
BENCHMARK(BM_VibrationWindowTick)->ArgName("recording")->Arg(0)->Arg(1);

void BM_VibrationModelStep(benchmark::State& state)
{
    const bool recording = state.range(0) != 0;
    vibration::Model m{.Stiffness = 5, .RestLength = 200, .Mass = 500, .Viscosity = 0};
    m.Reset();
    measure::Recorder rec(vibration::quantities().size());
    rec.reserve(measure::Recorder::MaxRows);
    std::int64_t tick = 0;
    for (auto _ : state) {
        m.Step();
        if (recording)
            record(rec, ++tick, [&](std::span<double> row) { sims::sampleInto(vibration::quantities(), m, row); });
    }
    benchmark::DoNotOptimize(m.Position);
}
BENCHMARK(BM_VibrationModelStep)->ArgName("recording")->Arg(0)->Arg(1);

void BM_RubberCordWindowTick(benchmark::State& state)
{
    windowTick<frmElasticCode>(state, "Text2", "32767", rubber_cord::quantities(),
                               [](frmElasticCode& w) { return rubber_cord::measureCord(w.Chain); });
}
BENCHMARK(BM_RubberCordWindowTick)->ArgName("recording")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void runCommand(benchmark::State& state, std::vector<std::string> args)
{
    for (auto _ : state) {
        std::ostringstream out, err;
        if (cli::main(args, out, err) != 0)
            state.SkipWithError(err.str().c_str());
        benchmark::DoNotOptimize(out.str().size());
    }
}
BENCHMARK_CAPTURE(runCommand, TwoBallsToRestCsv, {"run", "two-balls", "--csv", "-"})
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(runCommand, Vibration100000TicksCsv, {"run", "vibration", "--ticks", "100000", "--csv", "-"})
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(runCommand, Vibration100000Ticks, {"run", "vibration", "--ticks", "100000"})
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(runCommand, RubberCord32767Nodes10Ticks,
                  {"run", "rubber-cord", "--set", "nodes=32767", "--ticks", "10", "--csv", "-"})
    ->Unit(benchmark::kMillisecond);

// Reading a small recording from its file: the buffer is as large as the
// file, not the largest recording there may be.
void BM_LoadSmallRecording(benchmark::State& state)
{
    const auto path = std::filesystem::temp_directory_path() / ("springlab_bench_" + std::to_string(::getpid()) + ".jsonl");
    std::ofstream(path) << "{\"format\":\"springlab-recording\",\"version\":2,\"experiment\":\"vibration\"}\n"
                           "{\"tick\":0,\"change\":{}}\n{\"tick\":100,\"end\":true}\n";
    for (auto _ : state) {
        const measure::RecordingRead read = measure::loadRecording(path.string());
        if (!read.script)
            state.SkipWithError(read.error.c_str());
        benchmark::DoNotOptimize(read.script);
    }
    std::filesystem::remove(path);
}
BENCHMARK(BM_LoadSmallRecording)->Unit(benchmark::kMicrosecond);

}  // namespace
