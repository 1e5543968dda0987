// The experiments through their tables: the recorded series against the
// models' known numbers, and what the energies may and may not do.

#include "sims/rubber_cord/chain_model.h"
#include "tests/support/headless_run.h"
#include "measure/recorder.h"
#include "sims/vibration/vibration_quantities.h"

#include "runtime/numeric/runtime_error.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>
#include <numeric>
#include <string>

namespace {

using measure::Recorder;

using Sets = std::initializer_list<std::pair<const char*, const char*>>;

// The experiment initialised with the default texts changed by `sets`.
std::unique_ptr<sims::HeadlessRun> started(std::string_view name, Sets sets)
{
    auto e = makeRun(name);
    std::vector<std::string> texts = sims::defaultTexts(e->definition());
    for (auto [key, text] : sets)
        texts.at(static_cast<std::size_t>(sims::findParameter(e->definition(), key))) = text;
    e->init(texts);
    return e;
}

// Runs `ticks` ticks, recording every quantity after each tick.
Recorder record(std::string_view name, int ticks, Sets sets = {})
{
    auto e = started(name, sets);
    Recorder rec(e->definition().quantities.size());
    for (int t = 1; t <= ticks && !e->stoppedByItself(); ++t) {
        e->step();
        rec.append(t, [&](std::span<double> row) { e->sample(row); });
    }
    return rec;
}

std::vector<double> column(const Recorder& rec, std::string_view experiment, std::string_view key)
{
    const int c = sims::findQuantity(*sims::findExperiment(experiment), key);
    EXPECT_GE(c, 0) << key;
    std::vector<double> values;
    for (std::size_t r = 0; r < rec.rows(); ++r)
        values.push_back(rec.value(r, static_cast<std::size_t>(c)));
    return values;
}

TEST(RecordedSeries, VibrationFirstTickAndFirstMaximum)
{
    const Recorder rec = record("vibration", 100);
    const auto position = column(rec, "vibration", "position");
    EXPECT_EQ(rec.tick(0), 1);
    EXPECT_EQ(position[0], 100.998);
    EXPECT_EQ(column(rec, "vibration", "velocity")[0], 0.998);
    EXPECT_EQ(column(rec, "vibration", "force")[0], 500);
    const auto peak = std::max_element(position.begin(), position.begin() + 50);
    EXPECT_EQ(rec.tick(static_cast<std::size_t>(peak - position.begin())), 31);
    EXPECT_NEAR(*peak, 297.02, 0.005);
}

TEST(RecordedSeries, TwoBallsMark31BouncesAndRestAtTick262)
{
    const Recorder rec = record("two-balls", 10000);
    EXPECT_EQ(rec.rows(), 262u);
    const auto bounces = column(rec, "two-balls", "bounces");
    EXPECT_EQ(std::accumulate(bounces.begin(), bounces.end(), 0.0), 31);
    EXPECT_EQ(std::find(bounces.begin(), bounces.end(), 1.0) - bounces.begin() + 1, 42);  // the first bounce
    EXPECT_EQ(column(rec, "two-balls", "height1").back(), 0);  // put on its floor at rest
}

TEST(RecordedSeries, RubberCordMeasuresFromOnePassOverTheNodes)
{
    const Recorder rec = record("rubber-cord", 30, {{"nodes", "50"}});
    ChainModel chain;
    chain.ResetChain(50, 10, 0.98, 0.05, 0.5);
    for (int t = 0; t < 30; ++t)
        chain.StepChain();
    // Written out the slow way: every root, then the greatest.
    double length = 0, longest = 0, kinetic = 0;
    const auto nodes = chain.nodes();
    for (std::size_t i = 0; i < nodes.size(); ++i) {
        kinetic += 0.5 * (nodes[i].VX * nodes[i].VX + nodes[i].VY * nodes[i].VY);
        if (i == 0)
            continue;
        const double d = std::sqrt((nodes[i].X - nodes[i - 1].X) * (nodes[i].X - nodes[i - 1].X)
                                   + (nodes[i].Y - nodes[i - 1].Y) * (nodes[i].Y - nodes[i - 1].Y));
        length += d;
        longest = std::max(longest, d);
    }
    EXPECT_EQ(column(rec, "rubber-cord", "x0").back(), nodes[0].X);
    EXPECT_EQ(column(rec, "rubber-cord", "y0").back(), nodes[0].Y);
    EXPECT_EQ(column(rec, "rubber-cord", "length").back(), length);
    EXPECT_EQ(column(rec, "rubber-cord", "nominal_length").back(), 500);
    EXPECT_EQ(column(rec, "rubber-cord", "largest_stretch").back(), longest - 10);
    EXPECT_NEAR(column(rec, "rubber-cord", "kinetic").back(), kinetic, 1e-9 * kinetic);
}

TEST(RecordedSeries, RotationDistanceAndSpeedAfterTheWorkedTick)
{
    auto e = started("rotation", {});
    e->move(3000, 1500);
    e->step();
    double row[4];
    e->sample(row);
    EXPECT_DOUBLE_EQ(row[0], 294.648);
    EXPECT_DOUBLE_EQ(row[1], 264.948);
    EXPECT_DOUBLE_EQ(row[2], std::hypot(3000 - 294.648, 1500 - 264.948));
    EXPECT_DOUBLE_EQ(row[3], std::hypot(54.648, 24.948));
}

// With damping the total energy never grows from one swing to the next:
// within a swing the semi-implicit step lets it wobble by up to ω/2 of
// itself (see below), so the test compares the largest value of each swing
// (63 ticks, about 2π/ω with ω = 0.1) with the swing before.
TEST(VibrationEnergy, NeverGrowsFromSwingToSwingWithDamping)
{
    constexpr std::size_t kSwing = 63;
    for (const char* viscosity : {"0.0001", "0.002", "0.05", "0.5"}) {
        const auto total = column(record("vibration", 20000, {{"viscosity", viscosity}}), "vibration", "total");
        double previous = std::numeric_limits<double>::infinity();
        for (std::size_t start = 0; start + kSwing <= total.size(); start += kSwing) {
            const double largest = *std::max_element(total.begin() + static_cast<std::ptrdiff_t>(start),
                                                     total.begin() + static_cast<std::ptrdiff_t>(start + kSwing));
            if (largest < 1e-12 * total.front())
                break;  // down to the rounding of the rest position
            ASSERT_LE(largest, previous) << viscosity << " swing from tick " << start + 1;
            previous = largest;
        }
    }
}

// Without damping the step keeps I = v² + ω²·x² − ω²·x·v exactly (x from
// the rest length, ω² = Stiffness / Mass), and E = ½m(v² + ω²x²) differs
// from ½m·I by ½m·ω²·x·v, at most (ω/2)·E. So the total energy stays within
// ½m·I / (1 ± ω/2) of the invariant of the first tick, for ever.
TEST(VibrationEnergy, UndampedStaysWithinTheBoundOfTheSemiImplicitStep)
{
    auto e = started("vibration", {{"viscosity", "0"}});
    const double m = 500, k = 5, rest = 200, omega2 = k / m, omega = std::sqrt(omega2);
    double row[6];
    e->step();
    e->sample(row);
    const double x0 = row[0] - rest, v0 = row[1];
    const double invariant = 0.5 * m * (v0 * v0 + omega2 * x0 * x0 - omega2 * x0 * v0);
    const double low = invariant / (1 + omega / 2) * (1 - 1e-9);
    const double high = invariant / (1 - omega / 2) * (1 + 1e-9);
    double seenLow = row[5], seenHigh = row[5];
    for (int t = 2; t <= 1000000; ++t) {
        e->step();
        e->sample(row);
        seenLow = std::min(seenLow, row[5]);
        seenHigh = std::max(seenHigh, row[5]);
    }
    EXPECT_GE(seenLow, low);
    EXPECT_LE(seenHigh, high);
    EXPECT_GT(seenHigh - seenLow, 0.5 * (high - low));  // the bound is close, not loose
}

TEST(Experiments, ReadTheirBoxesInTheWindowsOrder)
{
    // Two bad boxes: the one the window reads first raises its error. Only
    // the timer box fails otherwise than by overflow, so it is one of each.
    struct Case {
        const char* experiment;
        const char* first;
        const char* second;
        rt::ErrorNumber expected;
    };
    const Case cases[] = {
        {"vibration", "timer", "length", rt::ErrorNumber::InvalidPropertyValue},
        {"rotation", "stiffness", "timer", rt::ErrorNumber::Overflow},
        {"rotation", "relax", "timer", rt::ErrorNumber::Overflow},
        {"two-balls", "mass2", "timer", rt::ErrorNumber::InvalidPropertyValue},
        {"rubber-cord", "timer", "nodes", rt::ErrorNumber::InvalidPropertyValue},
    };
    for (const Case& c : cases) {
        auto e = makeRun(c.experiment);
        std::vector<std::string> texts = sims::defaultTexts(e->definition());
        // The timer box refuses -1; every other box overflows on 1e999.
        auto bad = [](std::string_view key) { return key == "timer" ? "-1" : "1e999"; };
        texts.at(static_cast<std::size_t>(sims::findParameter(e->definition(), c.first))) = bad(c.first);
        texts.at(static_cast<std::size_t>(sims::findParameter(e->definition(), c.second))) = bad(c.second);
        try {
            e->init(texts);
            ADD_FAILURE() << c.experiment << ": no error";
        } catch (const rt::RuntimeError& error) {
            EXPECT_EQ(error.number(), c.expected) << c.experiment << " " << c.first;
        }
    }
}

}  // namespace

namespace {

// Every quantity of every experiment at tick 57 of its defaults (the
// rotation with its pointer at 3000, 1500), pinned to the bit. The models'
// states there are pinned elsewhere; these hold the quantities' own
// arithmetic: regrouping an energy or a length changes a last bit here.
struct PinnedRow {
    const char* experiment;
    std::vector<double> values;
};

class PinnedQuantities : public ::testing::TestWithParam<PinnedRow> {};

TEST_P(PinnedQuantities, AtTick57ToTheBit)
{
    const PinnedRow& p = GetParam();
    auto run = makeRun(p.experiment);
    run->init(sims::defaultTexts(run->definition()));
    if (std::string_view(p.experiment) == "rotation")
        run->move(3000, 1500);
    for (int t = 0; t < 57; ++t)
        run->step();
    std::vector<double> row(run->definition().quantities.size());
    run->sample(row);
    ASSERT_EQ(row.size(), p.values.size());
    for (std::size_t i = 0; i < row.size(); ++i)
        EXPECT_EQ(std::bit_cast<std::uint64_t>(row[i]), std::bit_cast<std::uint64_t>(p.values[i]))
            << run->definition().quantities[i].key << ": " << row[i];
}

INSTANTIATE_TEST_SUITE_P(
    Experiments, PinnedQuantities,
    ::testing::Values(
        PinnedRow{"rotation", {0x1.b06d28eb5870ap+11, 0x1.ab6ecc5150bfdp+10, 0x1.f9054a9df5415p+8, 0x1.3cb375cb3abd9p+8}},
        PinnedRow{"vibration",
                  {0x1.dc74ec877b4c5p+6, -0x1.4d8b70d19dd0ap+2, 0x1.7a5ef386458c4p+8, 0x1.a86497184baebp+12,
                   0x1.ff224e5c5686cp+13, 0x1.69aa4cf43e2f1p+14}},
        PinnedRow{"two-balls",
                  {0x1.ed3777dd157ep+7, 0x1.e8becff3aecc8p+7, 0x1.ee9f6b7b570a9p+2, 0x1.26492ab846866p+3,
                   0x1.2944e9ee1ef19p+8, 0x1.c4d11bb8073d5p+19, 0x0p+0}},
        PinnedRow{"rubber-cord",
                  {0x1.a16fecfd58392p+7, 0x1.9c67ba497007ep+9, 0x1.dc2dfa523a02fp+9, 0x1.f4p+9, -0x1.d8b288d2eep-2,
                   0x1.ea18b11822e66p+13}}),
    [](const auto& info) {
        std::string name = info.param.experiment;
        std::replace(name.begin(), name.end(), '-', '_');
        return name;
    });

}  // namespace
