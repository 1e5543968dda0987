// The rubber cord's cost: the model's tick (dominated by its 40 relaxation
// passes, one square root and one division per segment each), the
// relaxation on its own, the replay of a picture, and the window's whole
// tick (step, display list, replay into an image of the window's size).
//
// Every benchmark takes the node count as its argument: 100 is the default
// cord, 32767 the largest the node-count box accepts.

#include "chain_model.h"
#include "frm_elastic_code.h"
#include "render.h"

#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace {

constexpr int kSettleTicks = 5;  // past the first tick's unfolding at the wall

ChainModel defaultCord(std::int16_t nodeCount)
{
    ChainModel m;
    m.ResetChain(nodeCount, 10, 0.98, 0.05, 0.5);
    for (int i = 0; i < kSettleTicks; ++i)
        m.StepChain();
    return m;
}

void setCorrections(benchmark::State& state, std::int64_t nodeCount)
{
    // Segment corrections per second: the figure that stays comparable
    // across node counts.
    state.SetItemsProcessed(state.iterations() * ChainModel::RelaxPasses * nodeCount);
}

void BM_StepChain(benchmark::State& state)
{
    const auto n = static_cast<std::int16_t>(state.range(0));
    ChainModel m = defaultCord(n);
    for (auto _ : state) {
        m.StepChain();
        benchmark::DoNotOptimize(m.nodes().data());
        benchmark::ClobberMemory();
    }
    setCorrections(state, n);
}
BENCHMARK(BM_StepChain)->Arg(100)->Arg(1000)->Arg(32767)->Unit(benchmark::kMicrosecond);

// The relaxation phase alone, as StepChain runs it: the reference that any
// faster relaxation is timed against (and must match bit for bit).
void BM_RelaxChainPlain(benchmark::State& state)
{
    const auto n = static_cast<std::int16_t>(state.range(0));
    const ChainModel m = defaultCord(n);
    std::vector<ChainModel::Node> nodes(m.nodes().begin(), m.nodes().end());
    const auto& p = m.parameters();
    for (auto _ : state) {
        relaxChainPlain(nodes, p.SegmentLength, p.Stiffness, 0, 0);
        benchmark::DoNotOptimize(nodes.data());
        benchmark::ClobberMemory();
    }
    setCorrections(state, n);
}
BENCHMARK(BM_RelaxChainPlain)->Arg(100)->Arg(1000)->Arg(32767)->Unit(benchmark::kMicrosecond);

// A window loaded with the given node count, its timer held still so only
// the benchmark ticks it.
class BenchWindow {
public:
    explicit BenchWindow(benchmark::State& state)
    {
        rt::setErrorReporter([&state](rt::Form&, const rt::RuntimeError& e) {
            state.SkipWithError(e.what());
        });
        window.Show();  // the load puts the boxes back to their default texts
        window.textBox("Text2").setText(QString::number(state.range(0)));
        window.button("Command1").click();  // "変更" reads them
        window.Timer1.setEnabled(false);
        if (window.Chain.NodeCount() != state.range(0))
            state.SkipWithError("the window did not take the node count");
        for (int i = 0; i < kSettleTicks; ++i)
            window.Timer1.fire();
    }
    ~BenchWindow() { rt::resetErrorReporter(); }

    // The paint event's work, into an image of the window's size at one
    // device pixel per pixel.
    void render()
    {
        QPainter painter(&image);
        rt::renderPicture(painter, window.displayList(), window.BackColor);
    }

    frmElasticCode window;
    QImage image{578, 309, QImage::Format_ARGB32_Premultiplied};
};

void BM_RenderCordPicture(benchmark::State& state)
{
    BenchWindow bench(state);
    for (auto _ : state) {
        bench.render();
        benchmark::DoNotOptimize(bench.image.constBits());
    }
}
BENCHMARK(BM_RenderCordPicture)->Arg(100)->Arg(32767)->Unit(benchmark::kMicrosecond);

void BM_ElasticCodeTick(benchmark::State& state)
{
    BenchWindow bench(state);
    for (auto _ : state) {
        bench.window.Timer1.fire();  // StepChain, then Cls and the polyline
        bench.render();
        benchmark::DoNotOptimize(bench.image.constBits());
    }
    setCorrections(state, state.range(0));
}
BENCHMARK(BM_ElasticCodeTick)->Arg(100)->Arg(32767)->Unit(benchmark::kMicrosecond);

}  // namespace
