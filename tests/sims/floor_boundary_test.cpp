// The rubber cord's floor: a node that starts a tick on the floor line or
// below it is slowed by the floor; one a hair above it is not. The node is
// put exactly where it should be by a pull, which alone may leave it on the
// line itself rather than a gravity's step below it.

#include "sims/rubber_cord/chain_model.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct FloorRow {
    const char* name;
    float pullYTwips;  // where the press puts the node: three twips per unit
    bool slowed;
};

class CordFloor : public ::testing::TestWithParam<FloorRow> {};

TEST_P(CordFloor, SlowsOnlyANodeOnOrBelowTheFloorLine)
{
    // One node, resting just below the floor (1380 + gravity).
    ChainModel m;
    m.ResetChain(0, 10, 0.98, 0.05, 0.5);
    const ChainModel::Node& n = m.node(0);
    for (int tick = 0; tick < 200 && !(n.Y == 1380.98 && n.VY == 0); ++tick)
        m.StepChain();
    ASSERT_EQ(n.Y, 1380.98);
    ASSERT_EQ(n.VY, 0);

    // The press lifts it to the line (or near it); it leaves the tick moving up.
    m.PullChain(300, GetParam().pullYTwips);
    m.StepChain();
    const double y = static_cast<double>(GetParam().pullYTwips) / 3;
    ASSERT_EQ(n.Y, y);
    const double up = (y - 1380.98) * (1 - 0.05);
    ASSERT_EQ(n.VY, up);

    // The next tick, in the order of the integration.
    const double vy = GetParam().slowed ? up * 0.8 : up;
    double expectedY = vy + y;
    if (expectedY < 60)
        expectedY = 60;
    if (expectedY > 1380)
        expectedY = 1380;
    expectedY = 0.98 + expectedY;
    m.StepChain();
    EXPECT_EQ(n.Y, expectedY);
    EXPECT_EQ(n.OldY, y);
    EXPECT_EQ(n.VY, (expectedY - y) * (1 - 0.05));
}

INSTANTIATE_TEST_SUITE_P(ChainModel, CordFloor,
                         ::testing::Values(FloorRow{"ExactlyOnTheFloor", 4140, true},
                                           FloorRow{"JustAboveTheFloor", 4139.9f, false},
                                           FloorRow{"AUnitAboveTheFloor", 4137, false}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
