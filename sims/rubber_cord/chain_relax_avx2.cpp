// The relaxation wavefront four passes to a register. This file alone is
// compiled for AVX2 (never the whole program: it must start on any x86-64),
// and chain_relax_fast.cpp calls it only when the processor reports AVX2.
// AVX2 brings no fused multiply-add here: each product is rounded on its
// own, as in the plain loop.

#include "sims/rubber_cord/chain_relax_kernel.h"

#include <immintrin.h>

namespace {

struct Avx2Lanes {
    static constexpr int kLanes = 4;
    using Vec = __m256d;
    using Mask = __m256d;
    static Vec splat(double x) { return _mm256_set1_pd(x); }
    static Vec load(const double* p) { return _mm256_loadu_pd(p); }
    static Vec add(Vec a, Vec b) { return _mm256_add_pd(a, b); }
    static Vec sub(Vec a, Vec b) { return _mm256_sub_pd(a, b); }
    static Vec mul(Vec a, Vec b) { return _mm256_mul_pd(a, b); }
    static Vec div(Vec a, Vec b) { return _mm256_div_pd(a, b); }
    static Vec sqrt(Vec a) { return _mm256_sqrt_pd(a); }
    // Quiet compares: no flag for a NaN.
    static Mask greaterEqual(Vec a, Vec b) { return _mm256_cmp_pd(a, b, _CMP_GE_OQ); }
    static Mask less(Vec a, Vec b) { return _mm256_cmp_pd(a, b, _CMP_LT_OQ); }
    static Mask equal(Vec a, Vec b) { return _mm256_cmp_pd(a, b, _CMP_EQ_OQ); }
    static Mask both(Mask a, Mask b) { return _mm256_and_pd(a, b); }
    static Vec select(Mask m, Vec a, Vec b) { return _mm256_blendv_pd(b, a, m); }
    static Vec keep(Mask m, Vec a) { return _mm256_and_pd(m, a); }
    // {3, 0, 1, 2}: lane l takes lane l-1, lane 0 the top lane.
    static Vec rotateUp(Vec a) { return _mm256_permute4x64_pd(a, 0x93); }
    static double first(Vec a) { return _mm256_cvtsd_f64(a); }
    static Vec withFirst(Vec v, double x)
    {
        return _mm256_blend_pd(v, _mm256_castpd128_pd256(_mm_set_sd(x)), 1);
    }
};
constexpr int kAvx2Registers = kPassesPerSweep / Avx2Lanes::kLanes;

}  // namespace

bool relaxSweepAvx2(const RelaxSweep& job) { return Wavefront<Avx2Lanes, kAvx2Registers>(job).sweep(); }
