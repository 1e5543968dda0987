// The rubber-cord chain model on its own: the worked numbers of the default
// cord, the single node, the pull, the corrections and determinism.

#include "sims/rubber_cord/chain_model.h"
#include "runtime/numeric/runtime_error.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <string>

namespace {

using Node = ChainModel::Node;

void reset(ChainModel& m, std::int16_t nodeCount = 100) { m.ResetChain(nodeCount, 10, 0.98, 0.05, 0.5); }

ChainModel defaultCord(std::int16_t nodeCount = 100)
{
    ChainModel m;
    reset(m, nodeCount);
    return m;
}

void steps(ChainModel& m, int ticks)
{
    for (int i = 0; i < ticks; ++i)
        m.StepChain();
}

bool sameBits(const ChainModel& a, const ChainModel& b)
{
    return a.nodes().size() == b.nodes().size()
           && std::memcmp(a.nodes().data(), b.nodes().data(), a.nodes().size_bytes()) == 0
           && a.PullX() == b.PullX() && a.PullY() == b.PullY();
}

bool insideArea(const Node& n) { return n.X >= 60 && n.X <= 1860 && n.Y >= 60 && n.Y <= 1380.98; }

rt::ErrorNumber errorOf(const std::function<void()>& f)
{
    try {
        f();
    } catch (const rt::RuntimeError& e) {
        return e.number();
    }
    return rt::ErrorNumber{0};
}

TEST(ChainModel, ResetMakesEveryNodeOrNoneForANegativeCount)
{
    ChainModel m = defaultCord(32767);
    ASSERT_EQ(m.nodes().size(), 32768u);
    EXPECT_EQ(m.node(32767).X, 327670);
    EXPECT_EQ(m.node(32767).OldY, 60);

    EXPECT_EQ(errorOf([&] { m.ResetChain(-1, 10, 0.98, 0.05, 0.5); }), rt::ErrorNumber::SubscriptOutOfRange);
    EXPECT_EQ(errorOf([&] { m.StepChain(); }), rt::ErrorNumber::SubscriptOutOfRange);
    EXPECT_EQ(errorOf([&] { m.node(0); }), rt::ErrorNumber::SubscriptOutOfRange);
    reset(m);  // a good reset afterwards gives a whole cord again
    EXPECT_NO_THROW(m.StepChain());
    ChainModel fresh;
    EXPECT_EQ(errorOf([&] { fresh.StepChain(); }), rt::ErrorNumber::SubscriptOutOfRange);
}

TEST(ChainModel, FirstTickFoldsTheWallEndBackAndForth)
{
    // Nodes 0 to 5 are clamped onto the wall where node 6 lies; the passes
    // free them one after another, each thrown past its neighbour.
    ChainModel m = defaultCord();
    m.StepChain();
    for (int i = 0; i <= 6; ++i)
        EXPECT_NEAR(m.node(i).X, i % 2 == 0 ? 63.5 : 54, i % 2 == 0 ? 0.25 : 0.15) << "node " << i;
    EXPECT_NEAR(m.node(7).X, 73.3, 0.05);
    for (const Node& n : m.nodes())
        EXPECT_EQ(n.Y, 60.98);
}

TEST(ChainModel, SingleNodeSlidesFallsAndRestsJustBelowTheFloor)
{
    ChainModel m = defaultCord(0);
    const Node& n = m.node(0);
    m.StepChain();
    EXPECT_EQ(n.X, 60);
    EXPECT_EQ(n.VX, 57);
    EXPECT_EQ(n.VY, (60.98 - 60) * (1 - 0.05));  // 0.931

    int ticks = 1;
    for (; n.Y < 1380 && ticks < 1000; ++ticks)
        m.StepChain();
    ASSERT_LT(ticks, 1000) << "never reached the floor";
    // The landing tick still carries the fall's speed; from the next tick on
    // each tick clamps it to 1380 and adds gravity again.
    for (int i = 0; i < 50; ++i) {
        m.StepChain();
        EXPECT_EQ(n.Y, 1380.98);
        EXPECT_EQ(n.VY, 0);
    }
    EXPECT_GT(n.VX, 0);  // still sliding right, ever slower
    EXPECT_LT(n.VX, 1);
}

TEST(ChainModel, NodeLeavingTheFloorIsSlowedByTheFloor)
{
    // Pulled below the floor and clamped back onto it, the node has a large
    // upward velocity; the floor takes a fifth of it before the node rises.
    ChainModel m = defaultCord(0);
    m.StepChain();
    m.PullChain(2700, 6000);  // (900, 2000)
    steps(m, 2);
    const Node& n = m.node(0);
    ASSERT_EQ(n.Y, 1380.98);
    const double up = (1380.98 - 2000) * (1 - 0.05);
    EXPECT_EQ(n.VY, up);
    m.StepChain();
    EXPECT_EQ(n.Y, 0.98 + (up * 0.8 + 1380.98));  // about 911.5
}

TEST(ChainModel, CoincidingNodesLeaveEachOtherAlone)
{
    ChainModel m;
    m.ResetChain(3, 0, 0.98, 0.05, 0.5);  // all four nodes at (0, 60)
    for (int tick = 1; tick <= 3; ++tick) {
        ASSERT_NO_THROW(m.StepChain());
        for (const Node& n : m.nodes())
            EXPECT_TRUE(n.X == m.node(0).X && n.Y == m.node(0).Y);
    }
    EXPECT_GT(m.node(0).X, 60);  // they slide off the wall together
}

TEST(ChainModel, ViscosityOneLeavesNoVelocity)
{
    ChainModel m;
    m.ResetChain(100, 10, 0.98, 1, 0.5);
    double y = 60;
    for (int tick = 0; tick < 20; ++tick) {
        m.StepChain();
        y = 0.98 + y;
        for (const Node& n : m.nodes())
            ASSERT_TRUE(n.VX == 0 && n.VY == 0);
    }
    EXPECT_EQ(m.node(50).Y, y);  // only gravity moves the level cord down
}

TEST(ChainModel, PullPutsNodeZeroOnTheTargetBeforeEveryPass)
{
    // One segment of rest length 10. Were the target set only once, the
    // segment would be settled after the first pass with node 0 far from
    // it; set before every pass, node 0 ends a hair's breadth from it.
    ChainModel m;
    m.ResetChain(1, 10, 0, 0.05, 0);
    m.PullChain(3000, 1500);  // (1000, 500) model units
    m.StepChain();
    const Node& n0 = m.node(0);
    EXPECT_LT(std::hypot(n0.X - 1000, n0.Y - 500), 1e-6);
    EXPECT_FALSE(n0.X == 1000 && n0.Y == 500) << "the last pass's correction must stay on node 0";
    EXPECT_NEAR(std::hypot(m.node(1).X - 1000, m.node(1).Y - 500), 10, 1e-6);
    EXPECT_EQ(m.PullX(), 0);
}

struct OutsidePull {
    const char* name;
    float pointerX, pointerY;  // twips
};

class PullOutsideTheArea : public ::testing::TestWithParam<OutsidePull> {};

TEST_P(PullOutsideTheArea, EndsTheTickOutsideAndTheNextClampsIt)
{
    const OutsidePull& p = GetParam();
    ChainModel cord = defaultCord();
    steps(cord, 50);
    cord.PullChain(p.pointerX, p.pointerY);
    cord.StepChain();
    EXPECT_FALSE(insideArea(cord.node(0))) << cord.node(0).X << ", " << cord.node(0).Y;

    // Without segments nothing corrects the pull: the node ends the tick on
    // the target, and the next integration puts it on the area's edge.
    ChainModel single = defaultCord(0);
    const Node& n = single.node(0);
    single.StepChain();
    single.PullChain(p.pointerX, p.pointerY);
    single.StepChain();
    EXPECT_EQ(n.X, static_cast<double>(p.pointerX) / 3);
    EXPECT_EQ(n.Y, static_cast<double>(p.pointerY) / 3);
    single.StepChain();
    EXPECT_TRUE(insideArea(n)) << n.X << ", " << n.Y;
    EXPECT_TRUE(n.X == 60 || n.X == 1860 || n.Y == 60.98 || n.Y == 1380.98) << n.X << ", " << n.Y;
}

INSTANTIATE_TEST_SUITE_P(ChainModel, PullOutsideTheArea,
                         ::testing::Values(OutsidePull{"RightOfTheWall", 7000, 600},
                                           OutsidePull{"AboveAndLeft", -3000, -3000},
                                           OutsidePull{"BelowTheFloor", 2700, 6000}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ChainModel, PressesWithoutEffectLeaveTheSameCord)
{
    // Two cords 30 ticks into their course, one driven one way and the other
    // the plain way, hold the same bits 5 ticks later.
    auto sameAfter = [](const std::function<void(ChainModel&)>& driven,
                        const std::function<void(ChainModel&)>& plain) {
        ChainModel a = defaultCord();
        ChainModel b = defaultCord();
        steps(a, 30);
        steps(b, 30);
        driven(a);
        plain(b);
        steps(a, 5);
        steps(b, 5);
        return sameBits(a, b);
    };
    EXPECT_TRUE(sameAfter([](ChainModel& m) { m.PullChain(0, 900); }, [](ChainModel&) {}))
        << "a press at the left edge sets no pull";
    EXPECT_TRUE(sameAfter([](ChainModel& m) { m.PullChain(300, 300); m.PullChain(4000, 900); },
                          [](ChainModel& m) { m.PullChain(4000, 900); }))
        << "a later press replaces an earlier one";
    EXPECT_TRUE(sameAfter([](ChainModel& m) { m.PullChain(4000, 900); reset(m); },
                          [](ChainModel& m) { reset(m); }))
        << "a reset discards the press";
}

struct Correction {
    const char* name;
    double stiffness;
    double length;  // of the segment after one pass
    bool reversed;  // direction after the pass against the one before
};

class OnePassCorrection : public ::testing::TestWithParam<Correction> {};

TEST_P(OnePassCorrection, SetsTheLengthMovingBothEndsAlike)
{
    // A segment (30, 40) long 50, corrected towards 100 - Stiffness.
    Node nodes[2] = {{.X = 60, .Y = 60}, {.X = 90, .Y = 100}};
    relaxChainPlain(nodes, 100, GetParam().stiffness, 0, 0, 1);
    const double dx = nodes[1].X - nodes[0].X;
    const double dy = nodes[1].Y - nodes[0].Y;
    EXPECT_NEAR(std::hypot(dx, dy), GetParam().length, 1e-9);
    EXPECT_EQ(dx * 30 + dy * 40 < 0, GetParam().reversed);
    EXPECT_NEAR(nodes[0].X + nodes[1].X, 150, 1e-9);  // the midpoint stays put
    EXPECT_NEAR(nodes[0].Y + nodes[1].Y, 160, 1e-9);
}

INSTANTIATE_TEST_SUITE_P(ChainModel, OnePassCorrection,
                         ::testing::Values(Correction{"StiffnessZero", 0, 100, false},
                                           Correction{"StiffnessShortens", 0.5, 99.5, false},
                                           Correction{"NegativeStiffnessLengthens", -20, 120, false},
                                           Correction{"StiffnessAboveLengthReverses", 150, 50, true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ChainModel, SameInputsGiveBitIdenticalCords)
{
    // The third cord first runs a different course: a reset must leave
    // nothing of it behind.
    ChainModel a = defaultCord();
    ChainModel b = defaultCord();
    ChainModel c;
    c.ResetChain(50, 7, 1.5, 0.1, 0.2);
    steps(c, 40);
    c.PullChain(4500, 300);
    reset(c);
    for (int tick = 0; tick < 2000; ++tick) {
        for (ChainModel* m : {&a, &b, &c}) {
            if (tick % 97 == 13)
                m->PullChain(static_cast<float>(300 + (tick * 37) % 5400),
                             static_cast<float>(300 + (tick * 53) % 3900));
            m->StepChain();
        }
    }
    EXPECT_TRUE(sameBits(a, b));
    EXPECT_TRUE(sameBits(a, c));
}

}  // namespace
