// The fast relaxation paths against the plain loop, bit for bit: whole
// courses of ticks in lockstep, single relaxation calls with any number of
// passes, and the floating-point faults they raise.

#include "sims/rubber_cord/chain_model.h"
#include "sims/rubber_cord/chain_relax_fast.h"
#include "runtime/numeric/float_check.h"
#include "runtime/numeric/runtime_error.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

namespace {

using Node = ChainModel::Node;
using Nodes = std::vector<Node>;

const char* nameOf(RelaxPath path)
{
    static const char* const names[] = {"Auto", "Plain", "Portable", "Sse2", "Avx2"};
    return names[static_cast<int>(path)];
}

// Every path that is not the plain loop and runs here, with Auto (which
// picks one).
std::vector<RelaxPath> fastPaths()
{
    std::vector<RelaxPath> paths;
    for (RelaxPath p : {RelaxPath::Auto, RelaxPath::Portable, RelaxPath::Sse2, RelaxPath::Avx2})
        if (relaxPathAvailable(p))
            paths.push_back(p);
    return paths;
}

// Empty when the two cords match bit for bit, otherwise the first node
// that differs.
std::string firstDifference(std::span<const Node> expected, std::span<const Node> actual)
{
    if (expected.size() != actual.size())
        return "node counts differ";
    for (std::size_t i = 0; i < expected.size(); ++i)
        if (std::memcmp(&expected[i], &actual[i], sizeof(Node)) != 0)
            return "node " + std::to_string(i) + " differs";
    return {};
}

// The error a tick raised, 0 for none.
int stepOutcome(ChainModel& m)
{
    try {
        m.StepChain();
    } catch (const rt::RuntimeError& e) {
        return static_cast<int>(e.number());
    }
    return 0;
}

// A cord of the default parameters after some ticks of the plain loop.
Nodes cordAfter(std::int16_t nodeCount, int ticks)
{
    ChainModel m;
    m.setRelaxPath(RelaxPath::Plain);
    m.ResetChain(nodeCount, 10, 0.98, 0.05, 0.5);
    for (int i = 0; i < ticks; ++i)
        m.StepChain();
    return {m.nodes().begin(), m.nodes().end()};
}

// One relaxation of `nodes` (segment length 10, stiffness 0.5) by every
// fast path against the plain loop.
void expectEveryPathMatches(const Nodes& nodes, double pullX, double pullY,
                            int passes = ChainModel::RelaxPasses)
{
    Nodes expected = nodes;
    relaxChainPlain(expected, 10, 0.5, pullX, pullY, passes);
    for (RelaxPath path : fastPaths()) {
        Nodes actual = nodes;
        relaxChain(path, actual, 10, 0.5, pullX, pullY, passes);
        EXPECT_EQ(firstDifference(expected, actual), "") << nameOf(path);
    }
}

template <typename Row>
std::string rowName(const ::testing::TestParamInfo<Row>& info)
{
    return info.param.name;
}

struct Course {
    const char* name;
    std::int16_t nodeCount;
    double segmentLength = 10, gravity = 0.98, viscosity = 0.05, stiffness = 0.5;
    int ticks = 2000;
};

class Lockstep : public ::testing::TestWithParam<Course> {};

// A plain cord and one cord per fast path run the same course, pulled at the
// same ticks inside and outside the area; after every tick all of them must
// hold the same bits and have raised the same error.
TEST_P(Lockstep, EveryPathLeavesThePlainLoopsBits)
{
    const Course& c = GetParam();
    const std::vector<RelaxPath> paths = fastPaths();
    std::vector<ChainModel> cords(paths.size() + 1);  // the plain one first
    for (std::size_t p = 0; p < cords.size(); ++p) {
        cords[p].setRelaxPath(p == 0 ? RelaxPath::Plain : paths[p - 1]);
        cords[p].ResetChain(c.nodeCount, c.segmentLength, c.gravity, c.viscosity, c.stiffness);
    }
    for (int tick = 0; tick < c.ticks; ++tick) {
        bool press = true;
        float x = 0, y = 0;
        if (c.ticks < 50 && tick % 7 == 3)  // short courses get presses too
            x = float(tick * 400), y = 700;
        else if (tick % 97 == 13)  // inside the frame, wandering
            x = float(300 + (tick * 37) % 5400), y = float(300 + (tick * 53) % 3900);
        else if (tick % 89 == 40)  // beyond the right wall and below the floor
            x = 9000, y = 6000;
        else if (tick % 151 == 75)  // above and left of the area
            x = -3000, y = -450;
        else
            press = false;
        std::vector<int> errors;
        for (ChainModel& m : cords) {
            if (press)
                m.PullChain(x, y);
            errors.push_back(stepOutcome(m));
        }
        for (std::size_t p = 1; p < cords.size(); ++p) {
            ASSERT_EQ(errors[p], errors[0]) << nameOf(paths[p - 1]) << ", tick " << tick;
            ASSERT_EQ(firstDifference(cords[0].nodes(), cords[p].nodes()), "")
                << nameOf(paths[p - 1]) << ", tick " << tick;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(ChainRelaxFast, Lockstep,
                         ::testing::Values(Course{"Nodes0", 0}, Course{"Nodes1", 1}, Course{"Nodes2", 2},
                                           Course{"Nodes3", 3}, Course{"Nodes7", 7}, Course{"Nodes39", 39},
                                           Course{"Nodes40", 40}, Course{"Nodes41", 41},
                                           Course{"Nodes100", 100}, Course{"Nodes1000", 1000},
                                           // The plain loop takes 26 ms a tick here: a short course.
                                           Course{"Nodes32767", 32767, 10, 0.98, 0.05, 0.5, 12},
                                           // Every node starts on the same point.
                                           Course{"CoincidingNodes", 100, 0, 0.98, 0.05, 0.5, 300},
                                           Course{"StiffnessAboveLength", 100, 3, 0.98, 0.05, 8, 500},
                                           Course{"NegativeLengthNoGravity", 41, -5, 0, 0.2, 0, 300}),
                         rowName<Course>);

// One relaxation call from a cord's state after some ticks, any number of
// passes, pulled or not: the passes a sweep of lanes does not divide evenly
// and the pull's repeat on every pass.
struct Call {
    const char* name;
    std::int16_t nodeCount;
    int passes;
    double pullX, pullY;  // model units; pullX 0 = none
};

class SingleCall : public ::testing::TestWithParam<Call> {};

TEST_P(SingleCall, MatchesThePlainLoop)
{
    const Call& c = GetParam();
    expectEveryPathMatches(cordAfter(c.nodeCount, 25), c.pullX, c.pullY, c.passes);
}

INSTANTIATE_TEST_SUITE_P(
    ChainRelaxFast, SingleCall,
    ::testing::Values(Call{"NoPass", 100, 0, 0, 0}, Call{"NoPassPulled", 100, 0, 500, 500},
                      Call{"OnePass", 100, 1, 0, 0}, Call{"OnePassPulled", 100, 1, 500, 500},
                      Call{"NinePasses", 100, 9, 0, 0}, Call{"FortyOnePasses", 100, 41, 0, 0},
                      Call{"EightyThreePassesPulled", 300, 83, 900, 100},
                      Call{"PulledFarOutside", 1000, 40, -4000, 9000},
                      Call{"OneSegmentManyPasses", 1, 123, 700, 700},
                      Call{"FewerSegmentsThanPasses", 5, 40, 0, 0},
                      // Long cords: several sweeps one after the other.
                      Call{"LongTwoSweeps", 5000, 40, 0, 0},
                      Call{"LongFiveSweepsPulled", 3000, 83, 900, 100},
                      Call{"LongOddPasses", 2500, 41, -50, 700}),
    rowName<Call>);

TEST(ChainRelaxFast, LargestCordLaterInItsCourse)
{
    // 2000 ticks of the plain loop at 32767 nodes would take a minute: the
    // cord runs its course the fast way, and at checkpoints one relaxation
    // of its state, pulled, is checked against the plain loop.
    ChainModel m;
    m.ResetChain(32767, 10, 0.98, 0.05, 0.5);
    for (int tick = 1; tick <= 600; ++tick) {
        if (tick % 50 == 20)
            m.PullChain(static_cast<float>(300 + (tick * 37) % 5400), 2000);
        ASSERT_EQ(stepOutcome(m), 0) << "tick " << tick;
        if (tick % 150 == 0) {
            SCOPED_TRACE("tick " + std::to_string(tick));
            expectEveryPathMatches(Nodes(m.nodes().begin(), m.nodes().end()), tick % 300 == 0 ? 700 : 0, 400);
        }
    }
}

// The faults a relaxation raises: none from lanes that make no correction,
// and a genuine fault in a real one raised as in the plain loop.
struct Flags {
    const char* name;
    std::int16_t nodeCount;
    double stiffness;
    int badNode;  // a node given badValue in X, or -1
    double badValue;
    rt::FloatFaults plainRaises;  // the faults the plain loop raises
    double shift = 0;  // added to every node's X first
    double pullX = 0, pullY = 0;  // model units; pullX 0 = none
    int passes = ChainModel::RelaxPasses;
};

class FloatFlags : public ::testing::TestWithParam<Flags> {};

rt::FloatFaults flagsAfter(RelaxPath path, Nodes nodes, const Flags& f)
{
    rt::clearFloatStatus();
    relaxChain(path, nodes, 10, f.stiffness, f.pullX, f.pullY, f.passes);
    const rt::FloatFaults raised = rt::floatStatus();
    rt::clearFloatStatus();
    return raised;
}

// The faults of the loop that tests every operation as it goes.
rt::FloatFaults referenceFlags(Nodes nodes, const Flags& f)
{
    rt::clearFloatStatus();
    relaxChainChecked(nodes, 10, f.stiffness, f.pullX, f.pullY, f.passes);
    const rt::FloatFaults raised = rt::floatStatus();
    rt::clearFloatStatus();
    return raised;
}

TEST_P(FloatFlags, SameAsThePlainLoop)
{
    const Flags& f = GetParam();
    Nodes nodes = cordAfter(f.nodeCount, 10);
    for (Node& n : nodes)
        n.X = n.X + f.shift;
    if (f.badNode >= 0)
        nodes[static_cast<std::size_t>(f.badNode)].X = f.badValue;
    const rt::FloatFaults expected = flagsAfter(RelaxPath::Plain, nodes, f);
    EXPECT_EQ(expected, f.plainRaises) << "the case does not test what it says";
    EXPECT_EQ(referenceFlags(nodes, f), expected) << "the faults read from the nodes";
    for (RelaxPath path : fastPaths())
        EXPECT_EQ(flagsAfter(path, nodes, f), expected) << nameOf(path);
}

constexpr double kInf = std::numeric_limits<double>::infinity();
// An overflow's infinities go on to meet in inf - inf or inf / inf.
constexpr rt::FloatFaults kOverflow = rt::kFloatOverflow | rt::kFloatInvalid;

INSTANTIATE_TEST_SUITE_P(
    ChainRelaxFast, FloatFlags,
    ::testing::Values(Flags{"SoundCordOneSegment", 1, 0.5, -1, 0, 0},
                      Flags{"SoundCordFiveSegments", 5, 0.5, -1, 0, 0},
                      Flags{"SoundCordLong", 500, 0.5, -1, 0, 0},
                      Flags{"OverflowNearTheFreeEnd", 100, 0.5, 99, 1e200, kOverflow},
                      Flags{"OverflowAtNodeZero", 100, 0.5, 0, -1e200, kOverflow},
                      Flags{"InfinityInTheMiddle", 100, 0.5, 50, kInf, rt::kFloatInvalid},
                      Flags{"InfinityAtTheFreeEnd", 3, 0.5, 3, kInf, rt::kFloatInvalid},
                      Flags{"HugeStiffness", 100, 1e300, -1, 0, kOverflow},
                      // Sound differences between neighbours, but any two
                      // nodes' coordinates (or a node's and zero) squared
                      // would overflow: a lane working on anything but its
                      // own segment would raise a flag.
                      Flags{"FarFromTheOriginShort", 3, 0.5, -1, 0, 0, 1.5e154},
                      Flags{"FarFromTheOriginLong", 500, 0.5, -1, 0, 0, 1.5e154},
                      Flags{"LongSound", 5000, 0.5, -1, 0, 0, 1.5e154},
                      Flags{"LongOverflow", 5000, 0.5, 4000, 1e200, kOverflow},
                      Flags{"HugeStiffnessOneSegment", 1, 1e308, -1, 0, kOverflow},
                      Flags{"HugeNegativeStiffness", 100, -1e308, -1, 0, kOverflow},
                      // Pulled: node 0 goes back on the target before every
                      // pass, whatever the correction left on it.
                      Flags{"PulledSound", 100, 0.5, -1, 0, 0, 0, 700, 400},
                      Flags{"PulledOverflowNearTheFreeEnd", 100, 0.5, 99, 1e200, kOverflow, 0, 700, 400},
                      Flags{"PulledOverflowAtNodeOne", 100, 0.5, 1, -1e200, kOverflow, 0, 700, 400},
                      Flags{"PulledHugeStiffness", 100, 1e300, -1, 0, kOverflow, 0, 700, 400},
                      Flags{"PulledFarFromTheOrigin", 50, 0.5, -1, 0, kOverflow, 1.5e154, 700, 400},
                      Flags{"PulledHugeStiffnessOneSegment", 1, 1.7e308, -1, 0, kOverflow, 0, 700, 400, 3},
                      // Coordinates so large that neighbours differ by whole
                      // powers of ten, pulled to a target as large.
                      Flags{"HugeCoordinatesOnePass", 1, 1.7e308, 1, 1.000001e308, kOverflow, 1e308, 0, 0, 1},
                      Flags{"HugeCoordinatesPulledTwoPasses", 1, 1.7e308, 1, 1.000001e308, kOverflow, 1e308, 1e308, 60, 2},
                      Flags{"LongHugeCoordinates", 40, 1.7e308, 40, 1.000001e308, kOverflow, 1e308, 0, 0, 1},
                      Flags{"LongOverflowPulled", 40, 1e300, 39, 1e300, kOverflow, 0, 1e300, 60, 7}),
    rowName<Flags>);

// Two nodes a subnormal distance apart, pushed apart by a stiffness so
// large that the correction overflows to infinity in both directions: the
// last correction of the phase leaves infinities and no NaN, so only the
// overflow is raised; one more correction meets inf - inf.
struct Tiny {
    const char* name;
    int passes;
    double pullX;
    rt::FloatFaults plainRaises;
};

class TinySegment : public ::testing::TestWithParam<Tiny> {};

TEST_P(TinySegment, SameAsThePlainLoop)
{
    const Tiny& t = GetParam();
    Nodes nodes(2);
    nodes[1].X = 1e-160;
    nodes[1].Y = 1e-160;
    Flags f{t.name, 1, 1e300, -1, 0, t.plainRaises, 0, t.pullX, 0, t.passes};
    const rt::FloatFaults expected = flagsAfter(RelaxPath::Plain, nodes, f);
    EXPECT_EQ(expected, t.plainRaises) << "the case does not test what it says";
    EXPECT_EQ(referenceFlags(nodes, f), expected) << "the faults read from the nodes";
    for (RelaxPath path : fastPaths())
        EXPECT_EQ(flagsAfter(path, nodes, f), expected) << nameOf(path);
}

INSTANTIATE_TEST_SUITE_P(ChainRelaxFast, TinySegment,
                         ::testing::Values(Tiny{"OnePass", 1, 0, rt::kFloatOverflow},
                                           Tiny{"TwoPasses", 2, 0, kOverflow},
                                           Tiny{"OnePassPulled", 1, 1e-300, rt::kFloatOverflow},
                                           Tiny{"TwoPassesPulled", 2, 1e-300, kOverflow}),
                         rowName<Tiny>);

TEST(ChainRelaxFast, AutoTakesTheWavefrontOnlyForLongCords)
{
    EXPECT_EQ(relaxPathFor(0), RelaxPath::Plain);
    EXPECT_EQ(relaxPathFor(3), RelaxPath::Plain);
    EXPECT_NE(relaxPathFor(32767), RelaxPath::Plain);
    EXPECT_TRUE(relaxPathAvailable(relaxPathFor(32767)));
}

}  // namespace
