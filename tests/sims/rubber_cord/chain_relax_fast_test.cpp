// The fast relaxation paths against the plain loop, bit for bit: whole
// courses of ticks in lockstep, single relaxation calls with any number of
// passes, and the floating-point flags they leave.

#include "chain_model.h"
#include "chain_relax_fast.h"
#include "runtime_error.h"

#include <gtest/gtest.h>

#include <cfenv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace {

using Node = ChainModel::Node;

// Every path that is not the plain loop, with Auto (which picks one).
constexpr RelaxPath kFastPaths[] = {RelaxPath::Auto, RelaxPath::Portable, RelaxPath::Sse2,
                                    RelaxPath::Avx2};

const char* nameOf(RelaxPath path)
{
    switch (path) {
    case RelaxPath::Auto:
        return "Auto";
    case RelaxPath::Plain:
        return "Plain";
    case RelaxPath::Portable:
        return "Portable";
    case RelaxPath::Sse2:
        return "Sse2";
    case RelaxPath::Avx2:
        return "Avx2";
    }
    return "?";
}

std::vector<RelaxPath> availableFastPaths()
{
    std::vector<RelaxPath> paths;
    for (RelaxPath p : kFastPaths)
        if (relaxPathAvailable(p))
            paths.push_back(p);
    return paths;
}

std::uint64_t bitsOf(double x)
{
    std::uint64_t b;
    std::memcpy(&b, &x, sizeof b);
    return b;
}

// Empty when the two cords match bit for bit in every field of every node,
// otherwise where they first differ.
std::optional<std::string> firstDifference(std::span<const Node> expected,
                                           std::span<const Node> actual)
{
    if (expected.size() != actual.size())
        return "node counts differ";
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const Node& e = expected[i];
        const Node& a = actual[i];
        const double fe[] = {e.X, e.Y, e.OldX, e.OldY, e.VX, e.VY};
        const double fa[] = {a.X, a.Y, a.OldX, a.OldY, a.VX, a.VY};
        static const char* const names[] = {"X", "Y", "OldX", "OldY", "VX", "VY"};
        for (int f = 0; f < 6; ++f)
            if (bitsOf(fe[f]) != bitsOf(fa[f]))
                return "node " + std::to_string(i) + " " + names[f] + ": "
                       + std::to_string(fe[f]) + " expected, got " + std::to_string(fa[f]);
    }
    return std::nullopt;
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

struct Course {
    const char* name;
    std::int16_t nodeCount;
    double segmentLength, gravity, viscosity, stiffness;
    int ticks;
};
void PrintTo(const Course& c, std::ostream* os) { *os << c.name; }

class Lockstep : public ::testing::TestWithParam<Course> {};

// A plain cord and one cord per fast path run the same course, pulled at the
// same ticks inside and outside the area; after every tick all of them must
// hold the same bits.
TEST_P(Lockstep, EveryPathLeavesThePlainLoopsBits)
{
    const Course& c = GetParam();
    const std::vector<RelaxPath> paths = availableFastPaths();
    ChainModel plain;
    plain.setRelaxPath(RelaxPath::Plain);
    plain.ResetChain(c.nodeCount, c.segmentLength, c.gravity, c.viscosity, c.stiffness);
    std::vector<ChainModel> fast(paths.size());
    for (std::size_t p = 0; p < paths.size(); ++p) {
        fast[p].setRelaxPath(paths[p]);
        fast[p].ResetChain(c.nodeCount, c.segmentLength, c.gravity, c.viscosity, c.stiffness);
    }

    for (int tick = 0; tick < c.ticks; ++tick) {
        std::optional<std::pair<float, float>> press;
        if (tick % 97 == 13)  // inside the frame, wandering
            press = {static_cast<float>(300 + (tick * 37) % 5400),
                     static_cast<float>(300 + (tick * 53) % 3900)};
        else if (tick % 89 == 40)  // beyond the right wall and below the floor
            press = {9000.0f, 6000.0f};
        else if (tick % 151 == 75)  // above and left of the area
            press = {-3000.0f, -450.0f};
        if (c.ticks < 50 && tick % 7 == 3)  // short courses get presses too
            press = {static_cast<float>(tick * 400), 700.0f};
        if (press) {
            plain.PullChain(press->first, press->second);
            for (ChainModel& m : fast)
                m.PullChain(press->first, press->second);
        }
        const int expectedError = stepOutcome(plain);
        for (std::size_t p = 0; p < paths.size(); ++p) {
            ASSERT_EQ(stepOutcome(fast[p]), expectedError)
                << nameOf(paths[p]) << ", tick " << tick;
            const auto diff = firstDifference(plain.nodes(), fast[p].nodes());
            ASSERT_FALSE(diff) << nameOf(paths[p]) << ", tick " << tick << ": " << *diff;
        }
    }
}

std::string courseName(const ::testing::TestParamInfo<Course>& info) { return info.param.name; }

INSTANTIATE_TEST_SUITE_P(
    ChainRelaxFast, Lockstep,
    ::testing::Values(Course{"Nodes0", 0, 10, 0.98, 0.05, 0.5, 2000},
                      Course{"Nodes1", 1, 10, 0.98, 0.05, 0.5, 2000},
                      Course{"Nodes2", 2, 10, 0.98, 0.05, 0.5, 2000},
                      Course{"Nodes3", 3, 10, 0.98, 0.05, 0.5, 2000},
                      Course{"Nodes7", 7, 10, 0.98, 0.05, 0.5, 2000},
                      Course{"Nodes39", 39, 10, 0.98, 0.05, 0.5, 2000},
                      Course{"Nodes40", 40, 10, 0.98, 0.05, 0.5, 2000},
                      Course{"Nodes41", 41, 10, 0.98, 0.05, 0.5, 2000},
                      Course{"Nodes100", 100, 10, 0.98, 0.05, 0.5, 2000},
                      Course{"Nodes1000", 1000, 10, 0.98, 0.05, 0.5, 2000},
                      // The plain loop takes 26 ms a tick here: a short course.
                      Course{"Nodes32767", 32767, 10, 0.98, 0.05, 0.5, 12},
                      // Every node starts on the same point.
                      Course{"CoincidingNodes", 100, 0, 0.98, 0.05, 0.5, 300},
                      Course{"StiffnessAboveLength", 100, 3, 0.98, 0.05, 8, 500},
                      Course{"NegativeLengthNoGravity", 41, -5, 0, 0.2, 0, 300}),
    courseName);

// One relaxation call from a cord's state after some ticks, any number of
// passes, pulled or not: the passes a sweep of lanes does not divide evenly
// and the pull's repeat on every pass.
struct Call {
    const char* name;
    std::int16_t nodeCount;
    int passes;
    double pullX, pullY;  // model units; pullX 0 = none
};
void PrintTo(const Call& c, std::ostream* os) { *os << c.name; }

class SingleCall : public ::testing::TestWithParam<Call> {};

TEST_P(SingleCall, MatchesThePlainLoop)
{
    const Call& c = GetParam();
    ChainModel m;
    m.setRelaxPath(RelaxPath::Plain);
    m.ResetChain(c.nodeCount, 10, 0.98, 0.05, 0.5);
    for (int i = 0; i < 25; ++i)
        m.StepChain();
    std::vector<Node> expected(m.nodes().begin(), m.nodes().end());
    relaxChainPlain(expected, 10, 0.5, c.pullX, c.pullY, c.passes);
    for (RelaxPath path : availableFastPaths()) {
        std::vector<Node> actual(m.nodes().begin(), m.nodes().end());
        relaxChain(path, actual, 10, 0.5, c.pullX, c.pullY, c.passes);
        const auto diff = firstDifference(expected, actual);
        EXPECT_FALSE(diff) << nameOf(path) << ": " << *diff;
    }
}

std::string callName(const ::testing::TestParamInfo<Call>& info) { return info.param.name; }

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
    callName);

TEST(ChainRelaxFast, LargestCordLaterInItsCourse)
{
    // 2000 ticks of the plain loop at 32767 nodes would take a minute: the
    // cord runs its course the fast way, and at checkpoints one relaxation
    // of its state, pulled, is checked against the plain loop.
    ChainModel m;
    m.ResetChain(32767, 10, 0.98, 0.05, 0.5);
    int checkpoints = 0;
    for (int tick = 1; tick <= 600; ++tick) {
        if (tick % 50 == 20)
            m.PullChain(static_cast<float>(300 + (tick * 37) % 5400), 2000);
        ASSERT_EQ(stepOutcome(m), 0) << "tick " << tick;
        if (tick % 150 != 0)
            continue;
        ++checkpoints;
        const double pullX = tick % 300 == 0 ? 700 : 0;
        std::vector<Node> expected(m.nodes().begin(), m.nodes().end());
        relaxChainPlain(expected, 10, 0.5, pullX, 400);
        for (RelaxPath path : availableFastPaths()) {
            std::vector<Node> actual(m.nodes().begin(), m.nodes().end());
            relaxChain(path, actual, 10, 0.5, pullX, 400);
            const auto diff = firstDifference(expected, actual);
            ASSERT_FALSE(diff) << nameOf(path) << ", tick " << tick << ": " << *diff;
        }
    }
    EXPECT_EQ(checkpoints, 4);
}

// The sticky flags after a relaxation: none from lanes that make no
// correction, and a genuine fault in a real one raised as in the plain loop.
struct Flags {
    const char* name;
    std::int16_t nodeCount;
    double segmentLength, stiffness;
    int badNode;     // a node given badValue in X, or -1
    double badValue;
    double shift = 0;  // added to every node's X first
};
void PrintTo(const Flags& f, std::ostream* os) { *os << f.name; }

class FloatFlags : public ::testing::TestWithParam<Flags> {};

constexpr int kTestedFlags = FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW;

int flagsAfter(RelaxPath path, std::vector<Node> nodes, const Flags& f)
{
    std::feclearexcept(FE_ALL_EXCEPT);
    relaxChain(path, nodes, f.segmentLength, f.stiffness, 0, 0);
    const int raised = std::fetestexcept(kTestedFlags);
    std::feclearexcept(FE_ALL_EXCEPT);
    return raised;
}

TEST_P(FloatFlags, SameAsThePlainLoop)
{
    const Flags& f = GetParam();
    ChainModel m;
    m.ResetChain(f.nodeCount, 10, 0.98, 0.05, 0.5);
    for (int i = 0; i < 10; ++i)
        m.StepChain();
    std::vector<Node> nodes(m.nodes().begin(), m.nodes().end());
    for (Node& n : nodes)
        n.X = n.X + f.shift;
    if (f.badNode >= 0)
        nodes[static_cast<std::size_t>(f.badNode)].X = f.badValue;
    const int expected = flagsAfter(RelaxPath::Plain, nodes, f);
    for (RelaxPath path : availableFastPaths())
        EXPECT_EQ(flagsAfter(path, nodes, f), expected) << nameOf(path);
}

TEST(FloatFlags, TheCasesRaiseWhatTheySay)
{
    // The cases below are only worth their salt if the plain loop raises a
    // flag where one is expected.
    ChainModel m;
    m.ResetChain(100, 10, 0.98, 0.05, 0.5);
    m.StepChain();
    std::vector<Node> nodes(m.nodes().begin(), m.nodes().end());
    nodes[99].X = 1e200;
    EXPECT_EQ(flagsAfter(RelaxPath::Plain, nodes, Flags{"", 100, 10, 0.5, 99, 1e200}) & FE_OVERFLOW,
              FE_OVERFLOW);
}

std::string flagsName(const ::testing::TestParamInfo<Flags>& info) { return info.param.name; }

const double kInf = std::numeric_limits<double>::infinity();

INSTANTIATE_TEST_SUITE_P(
    ChainRelaxFast, FloatFlags,
    ::testing::Values(Flags{"SoundCordOneSegment", 1, 10, 0.5, -1, 0},
                      Flags{"SoundCordFiveSegments", 5, 10, 0.5, -1, 0},
                      Flags{"SoundCordLong", 500, 10, 0.5, -1, 0},
                      Flags{"OverflowNearTheFreeEnd", 100, 10, 0.5, 99, 1e200},
                      Flags{"OverflowAtNodeZero", 100, 10, 0.5, 0, -1e200},
                      Flags{"InfinityInTheMiddle", 100, 10, 0.5, 50, kInf},
                      Flags{"InfinityAtTheFreeEnd", 3, 10, 0.5, 3, kInf},
                      Flags{"HugeStiffness", 100, 10, 1e300, -1, 0},
                      // Sound differences between neighbours, but any two
                      // nodes' coordinates (or a node's and zero) squared
                      // would overflow: a lane working on anything but its
                      // own segment would raise a flag.
                      Flags{"FarFromTheOriginShort", 3, 10, 0.5, -1, 0, 1.5e154},
                      Flags{"FarFromTheOriginLong", 500, 10, 0.5, -1, 0, 1.5e154},
                      Flags{"LongSound", 5000, 10, 0.5, -1, 0, 1.5e154},
                      Flags{"LongOverflow", 5000, 10, 0.5, 4000, 1e200},
                      Flags{"HugeStiffnessOneSegment", 1, 10, 1e308, -1, 0}),
    flagsName);

TEST(ChainRelaxFast, AutoTakesTheWavefrontOnlyForLongCords)
{
    EXPECT_EQ(relaxPathFor(0), RelaxPath::Plain);
    EXPECT_EQ(relaxPathFor(3), RelaxPath::Plain);
    EXPECT_NE(relaxPathFor(32767), RelaxPath::Plain);
    EXPECT_TRUE(relaxPathAvailable(relaxPathFor(32767)));
}

}  // namespace
