// The rubber cord's cost, the plain way and the fast way side by side in
// one run: the model's tick (dominated by its 40 relaxation passes, one
// square root and one division per segment each), the relaxation on its own
// by each path, the replay of a picture (Qt's strokes or spans) with the
// cord in each of its poses (cord_poses.h), and the window's whole tick
// (step, display list, replay into an image of the window's size) at device
// pixel ratios 1 to 3.
//
// Every benchmark takes the node count as its first argument: 100 is the
// default cord, 32767 the largest the node-count box accepts.

#include "sims/rubber_cord/chain_model.h"
#include "sims/rubber_cord/chain_relax_fast.h"
#include "sims/rubber_cord/cord_poses.h"
#include "tests/support/typed_windows.h"
#include "runtime/forms/render.h"

#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <utility>
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

bool skipUnavailable(benchmark::State& state, RelaxPath path)
{
    if (relaxPathAvailable(path))
        return false;
    state.SkipWithError("this processor lacks the path");
    return true;
}

// One model tick, relaxed by the plain loop or as Auto chooses.
void BM_StepChain(benchmark::State& state, RelaxPath path)
{
    const auto n = static_cast<std::int16_t>(state.range(0));
    ChainModel m = defaultCord(n);
    m.setRelaxPath(path);
    for (auto _ : state) {
        m.StepChain();
        benchmark::DoNotOptimize(m.nodes().data());
        benchmark::ClobberMemory();
    }
    setCorrections(state, n);
}
BENCHMARK_CAPTURE(BM_StepChain, Plain, RelaxPath::Plain)
    ->Arg(100)->Arg(1000)->Arg(32767)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_StepChain, Fast, RelaxPath::Auto)
    ->Arg(100)->Arg(1000)->Arg(32767)->Unit(benchmark::kMicrosecond)->UseRealTime();

// The relaxation phase alone, as StepChain runs it: the plain loop, the
// reference that every faster path must match bit for bit, and each path
// forced whatever the cord's length (Auto takes the plain loop for the
// shortest cords).
void BM_RelaxChain(benchmark::State& state, RelaxPath path)
{
    if (skipUnavailable(state, path))
        return;
    const auto n = static_cast<std::int16_t>(state.range(0));
    const ChainModel m = defaultCord(n);
    std::vector<ChainModel::Node> nodes(m.nodes().begin(), m.nodes().end());
    const auto& p = m.parameters();
    for (auto _ : state) {
        relaxChain(path, nodes, p.SegmentLength, p.Stiffness, 0, 0);
        benchmark::DoNotOptimize(nodes.data());
        benchmark::ClobberMemory();
    }
    setCorrections(state, n);
}
BENCHMARK_CAPTURE(BM_RelaxChain, Plain, RelaxPath::Plain)
    ->Arg(100)->Arg(1000)->Arg(32767)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_RelaxChain, Portable, RelaxPath::Portable)
    ->Arg(100)->Arg(1000)->Arg(32767)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_RelaxChain, Sse2, RelaxPath::Sse2)
    ->Arg(100)->Arg(1000)->Arg(32767)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_RelaxChain, Avx2, RelaxPath::Avx2)
    ->Arg(100)->Arg(1000)->Arg(32767)->Unit(benchmark::kMicrosecond)->UseRealTime();

// The cord's poses: settled on the floor, mid-yank, and the zig-zag that
// covers the whole frame (cord_poses.h). Each is worked out once per node
// count and kept, the largest taking a second or two of ticks to reach.
enum class Pose { Settled, MidYank, ZigZag };

const ChainModel& poseModel(Pose pose, std::int16_t nodeCount)
{
    static std::map<std::pair<Pose, std::int16_t>, ChainModel> made;
    const auto key = std::make_pair(pose == Pose::ZigZag ? Pose::Settled : pose, nodeCount);
    auto found = made.find(key);
    if (found == made.end())
        found = made.emplace(key, key.first == Pose::MidYank ? cord_poses::midYank(nodeCount)
                                                             : cord_poses::settled(nodeCount))
                    .first;
    return found->second;
}

// A window loaded with the given node count and the cord in the given pose,
// its timer held still so only the benchmark ticks it, and an image of its
// surface at the device pixel ratio given as the second argument.
class BenchWindow {
public:
    BenchWindow(benchmark::State& state, RelaxPath path, Pose pose = Pose::Settled)
        : ratio(static_cast<double>(state.range(1))),
          image(static_cast<int>(578 * ratio), static_cast<int>(309 * ratio),
                QImage::Format_ARGB32_Premultiplied),
          m_pose(pose),
          m_path(path)
    {
        image.setDevicePixelRatio(ratio);
        rt::setErrorReporter([&state](rt::Form&, const rt::RuntimeError& e) {
            state.SkipWithError(e.what());
        });
        window.Show();  // the load puts the boxes back to their default texts
        window.textBox("Text2").setText(QString::number(state.range(0)));
        window.button("Command1").click();  // "変更" reads them
        window.Timer1.setEnabled(false);
        if (window.Chain.NodeCount() != state.range(0))
            state.SkipWithError("the window did not take the node count");
        restorePose();
        window.Timer1.fire();
        ops = window.displayList();
        if (pose == Pose::ZigZag)
            ops = cord_poses::withCordAt(ops, cord_poses::zigZag(static_cast<int>(state.range(0))));
    }
    ~BenchWindow() { rt::resetErrorReporter(); }

    void restorePose()
    {
        window.Chain = poseModel(m_pose, static_cast<std::int16_t>(window.Chain.NodeCount()));
        window.Chain.setRelaxPath(m_path);
    }

    // The paint event's work, into the image.
    void render(rt::ThickLines thickLines, const std::vector<rt::DrawOp>& picture)
    {
        QPainter painter(&image);
        rt::renderPicture(painter, picture, window.BackColor, thickLines);
    }

    frmElasticCode window;
    double ratio;
    QImage image;
    std::vector<rt::DrawOp> ops;  // the picture of the pose

private:
    Pose m_pose;
    RelaxPath m_path;
};

// The picture of a cord in each pose replayed into an image at device pixel
// ratios 1 to 3 (200 % and 300 % zoom, or a HiDPI screen).
void BM_RenderCordPicture(benchmark::State& state, rt::ThickLines thickLines, Pose pose)
{
    BenchWindow bench(state, RelaxPath::Auto, pose);
    for (auto _ : state) {
        bench.render(thickLines, bench.ops);
        benchmark::DoNotOptimize(bench.image.constBits());
    }
}
BENCHMARK_CAPTURE(BM_RenderCordPicture, Stroke, rt::ThickLines::Stroke, Pose::Settled)
    ->Args({100, 1})->Args({32767, 1})->Args({32767, 2})->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_RenderCordPicture, Spans, rt::ThickLines::Spans, Pose::Settled)
    ->Args({100, 1})->Args({1000, 1})->Args({32767, 1})->Args({32767, 2})->Args({32767, 3})
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_RenderCordPicture, SpansMidYank, rt::ThickLines::Spans, Pose::MidYank)
    ->Args({100, 1})->Args({1000, 1})->Args({32767, 1})->Args({32767, 2})->Args({32767, 3})
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_RenderCordPicture, SpansZigZag, rt::ThickLines::Spans, Pose::ZigZag)
    ->Args({32767, 1})->Args({32767, 2})->Args({32767, 3})->Unit(benchmark::kMicrosecond);

// The same replay onto a pixmap, whose pixels the replay cannot write: the
// runs go through a layer that Qt then composites, as on a window's backing
// store.
void BM_RenderCordPictureLayer(benchmark::State& state, Pose pose)
{
    BenchWindow bench(state, RelaxPath::Auto, pose);
    QPixmap pixmap(bench.image.size());
    pixmap.setDevicePixelRatio(bench.ratio);
    for (auto _ : state) {
        QPainter painter(&pixmap);
        rt::renderPicture(painter, bench.ops, bench.window.BackColor);
        painter.end();
        benchmark::DoNotOptimize(&pixmap);
    }
}
BENCHMARK_CAPTURE(BM_RenderCordPictureLayer, Settled, Pose::Settled)
    ->Args({100, 1})->Args({32767, 1})->Args({32767, 2})->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_RenderCordPictureLayer, MidYank, Pose::MidYank)
    ->Args({32767, 2})->Unit(benchmark::kMicrosecond);

// The window's own paint, controls included, at a zoom (third argument,
// percent): the picture is replayed from its twips at that scale, so the
// cost grows with the pixels covered, not with a bitmap stretched after.
void BM_PaintCordWindowAtZoom(benchmark::State& state)
{
    BenchWindow bench(state, RelaxPath::Auto);
    rt::setZoomPercent(static_cast<int>(state.range(2)));
    QImage image(bench.window.size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        bench.window.render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
    rt::setZoomPercent(100);
}
BENCHMARK(BM_PaintCordWindowAtZoom)
    ->Args({100, 1, 100})->Args({100, 1, 400})
    ->Args({32767, 1, 100})->Args({32767, 1, 200})->Args({32767, 1, 400})
    ->Unit(benchmark::kMicrosecond);

// The window's whole tick: the timer's handler (StepChain, then Cls and the
// polyline into the display list) and the replay, every tick from the same
// pose. Plain: the plain loop and Qt's strokes; Fast: what the program does.
void BM_ElasticCodeTick(benchmark::State& state, RelaxPath path, rt::ThickLines thickLines,
                        Pose pose)
{
    BenchWindow bench(state, path, pose);
    for (auto _ : state) {
        state.PauseTiming();
        bench.restorePose();
        state.ResumeTiming();
        bench.window.Timer1.fire();
        bench.render(thickLines, bench.window.displayList());
        benchmark::DoNotOptimize(bench.image.constBits());
    }
    setCorrections(state, state.range(0));
}
BENCHMARK_CAPTURE(BM_ElasticCodeTick, Plain, RelaxPath::Plain, rt::ThickLines::Stroke,
                  Pose::Settled)
    ->Args({100, 1})->Args({32767, 1})->Args({32767, 2})->Unit(benchmark::kMicrosecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_ElasticCodeTick, Fast, RelaxPath::Auto, rt::ThickLines::Spans, Pose::Settled)
    ->Args({100, 1})->Args({1000, 1})->Args({32767, 1})->Args({32767, 2})->Args({32767, 3})
    ->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_ElasticCodeTick, FastMidYank, RelaxPath::Auto, rt::ThickLines::Spans,
                  Pose::MidYank)
    ->Args({100, 1})->Args({32767, 1})->Args({32767, 2})->Args({32767, 3})
    ->Unit(benchmark::kMicrosecond)->UseRealTime();

}  // namespace
