#include "sims/rubber_cord/chain_relax_fast.h"

#include "sims/rubber_cord/chain_relax_kernel.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

#if defined(__SSE2__)
#include <emmintrin.h>
#define SPRINGLAB_RELAX_SSE2 1
#endif

#ifdef SPRINGLAB_RELAX_AVX2
// chain_relax_avx2.cpp, compiled for AVX2; called only where the processor
// has it.
bool relaxSweepAvx2(const RelaxSweep& job);
#endif

namespace {

// Below this many segments the wavefront's start and end (about two steps
// per pass in flight) cost more than the plain loop saves.
constexpr std::size_t kWavefrontMinSegments = 24;

// One pass per lane in plain C++. Without vector registers the wavefront
// still pays: the 20 independent corrections of a step overlap in the
// processor's pipelines instead of waiting for each other.
struct ScalarLanes {
    static constexpr int kLanes = 1;
    using Vec = double;
    using Mask = bool;
    static Vec splat(double x) { return x; }
    static Vec load(const double* p) { return p[0]; }
    static Vec add(Vec a, Vec b) { return a + b; }
    static Vec sub(Vec a, Vec b) { return a - b; }
    static Vec mul(Vec a, Vec b) { return a * b; }
    static Vec div(Vec a, Vec b) { return a / b; }
    static Vec sqrt(Vec a) { return std::sqrt(a); }
    static Mask greaterEqual(Vec a, Vec b) { return a >= b; }
    static Mask less(Vec a, Vec b) { return a < b; }
    static Mask equal(Vec a, Vec b) { return a == b; }
    static Mask both(Mask a, Mask b) { return a && b; }
    static Vec select(Mask m, Vec a, Vec b) { return m ? a : b; }
    static Vec keep(Mask m, Vec a) { return m ? a : 0.0; }
    static Vec rotateUp(Vec a) { return a; }
    static double first(Vec a) { return a; }
    static Vec withFirst(Vec, double x) { return x; }
};

bool sweepPortable(const RelaxSweep& job)
{
    return Wavefront<ScalarLanes, kPassesPerSweep>(job).sweep();
}

#ifdef SPRINGLAB_RELAX_SSE2
// Two passes to an SSE2 register. The compares are quiet (no flag for a
// NaN); the masks are all-ones or all-zeros per lane.
struct Sse2Lanes {
    static constexpr int kLanes = 2;
    using Vec = __m128d;
    using Mask = __m128d;
    static Vec splat(double x) { return _mm_set1_pd(x); }
    static Vec load(const double* p) { return _mm_loadu_pd(p); }
    static Vec add(Vec a, Vec b) { return _mm_add_pd(a, b); }
    static Vec sub(Vec a, Vec b) { return _mm_sub_pd(a, b); }
    static Vec mul(Vec a, Vec b) { return _mm_mul_pd(a, b); }
    static Vec div(Vec a, Vec b) { return _mm_div_pd(a, b); }
    static Vec sqrt(Vec a) { return _mm_sqrt_pd(a); }
    // Only ever given whole numbers, so the signalling form is harmless.
    static Mask greaterEqual(Vec a, Vec b) { return _mm_cmpge_pd(a, b); }
    static Mask less(Vec a, Vec b) { return _mm_cmplt_pd(a, b); }
    static Mask equal(Vec a, Vec b) { return _mm_cmpeq_pd(a, b); }
    static Mask both(Mask a, Mask b) { return _mm_and_pd(a, b); }
    static Vec select(Mask m, Vec a, Vec b)
    {
        return _mm_or_pd(_mm_and_pd(m, a), _mm_andnot_pd(m, b));
    }
    static Vec keep(Mask m, Vec a) { return _mm_and_pd(m, a); }
    static Vec rotateUp(Vec a) { return _mm_shuffle_pd(a, a, 1); }
    static double first(Vec a) { return _mm_cvtsd_f64(a); }
    static Vec withFirst(Vec v, double x) { return _mm_move_sd(v, _mm_set_sd(x)); }
};

bool sweepSse2(const RelaxSweep& job)
{
    return Wavefront<Sse2Lanes, kPassesPerSweep / Sse2Lanes::kLanes>(job).sweep();
}
#endif

bool cpuHasAvx2()
{
#if defined(SPRINGLAB_RELAX_AVX2)
    static const bool has = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx2") != 0;
    }();
    return has;
#else
    return false;
#endif
}

RelaxPath fastestPath()
{
    if (cpuHasAvx2())
        return RelaxPath::Avx2;
#ifdef SPRINGLAB_RELAX_SSE2
    return RelaxPath::Sse2;
#else
    return RelaxPath::Portable;
#endif
}

}  // namespace

bool relaxPathAvailable(RelaxPath path)
{
    switch (path) {
    case RelaxPath::Auto:
    case RelaxPath::Plain:
    case RelaxPath::Portable:
        return true;
    case RelaxPath::Sse2:
#ifdef SPRINGLAB_RELAX_SSE2
        return true;
#else
        return false;
#endif
    case RelaxPath::Avx2:
        return cpuHasAvx2();
    }
    return false;
}

RelaxPath relaxPathFor(std::size_t segments)
{
    return segments < kWavefrontMinSegments ? RelaxPath::Plain : fastestPath();
}

void relaxChain(RelaxPath path, std::span<ChainModel::Node> nodes, double segmentLength,
                double stiffness, double pullX, double pullY, int passes, NodesFinite nodesFinite)
{
    const std::size_t segments = nodes.empty() ? 0 : nodes.size() - 1;
    if (path == RelaxPath::Auto || !relaxPathAvailable(path))
        path = relaxPathFor(segments);
    // Without a segment a pass only puts node 0 on the pull.
    if (segments == 0 || passes <= 0)
        path = RelaxPath::Plain;

    SweepFunction sweep = nullptr;
    switch (path) {
    case RelaxPath::Auto:
    case RelaxPath::Plain:
        relaxChainPlain(nodes, segmentLength, stiffness, pullX, pullY, passes, nodesFinite);
        return;
    case RelaxPath::Portable:
        sweep = sweepPortable;
        break;
    case RelaxPath::Sse2:
#ifdef SPRINGLAB_RELAX_SSE2
        sweep = sweepSse2;
#endif
        break;
    case RelaxPath::Avx2:
#ifdef SPRINGLAB_RELAX_AVX2
        sweep = relaxSweepAvx2;
#endif
        break;
    }

    if (sweep == nullptr) {  // not built in; relaxPathAvailable has ruled it out
        relaxChainPlain(nodes, segmentLength, stiffness, pullX, pullY, passes, nodesFinite);
        return;
    }
    // The lanes compute untested; a cord whose faults its result would not
    // show (it already holds an infinity or a NaN) takes the tested loop.
    if (!relaxFaultsReadable(nodes, nodesFinite, segmentLength, stiffness, pullX, pullY)) {
        relaxChainChecked(nodes, segmentLength, stiffness, pullX, pullY, passes);
        return;
    }

    RelaxSweep job;
    job.nodes = nodes.data();
    job.segments = static_cast<std::ptrdiff_t>(segments);
    job.segmentLength = segmentLength;
    job.stiffness = stiffness;
    job.pullOn = pullX != 0;  // the plain loop's test, made once
    job.pullX = pullX;
    job.pullY = pullY;
    bool finite = true;
    for (int first = 0; first < passes; first += kPassesPerSweep) {
        job.passes = std::min(kPassesPerSweep, passes - first);
        finite &= sweep(job);
    }
    // Every sweep writes every node back, so finite coordinates throughout
    // mean no fault; otherwise the nodes tell which.
    if (!finite)
        rt::raiseFloatFaults(relaxFaultsOf(nodes));
}
