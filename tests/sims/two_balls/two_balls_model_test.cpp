#include "two_balls_model.h"

#include "runtime_error.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace {

using two_balls::Ball;
using two_balls::Bounces;
using two_balls::Model;

// The window's default boxes, after the reset.
Model defaultModel()
{
    Model m;
    m.RestLength = 300;
    m.Resistance = 0.02;
    m.Stiffness = 10;
    m.Gravity = 0.98;
    m.Ball1.Mass = 1500;
    m.Ball2.Mass = 200;
    m.ResetBalls();
    return m;
}

bool sameBall(const Ball& a, const Ball& b)
{
    return a.X == b.X && a.Y == b.Y && a.VelocityX == b.VelocityX && a.VelocityY == b.VelocityY;
}

const auto byName = [](const auto& info) { return std::string(info.param.name); };

TEST(TwoBallModel, FirstStepFromRestIsGravityLessResistance)
{
    Model m = defaultModel();
    EXPECT_EQ(m.StepBalls(), Bounces{});
    for (const Ball& b : {m.Ball1, m.Ball2}) {
        EXPECT_EQ(b.VelocityX, 0);
        EXPECT_NEAR(b.VelocityY, 0.9604, 1e-15);
        EXPECT_NEAR(b.Y, 720.9604, 1e-12);
    }
    EXPECT_EQ(m.Ball1.X, 660);
    EXPECT_EQ(m.Ball2.X, 960);
}

TEST(TwoBallModel, DefaultRunBouncesFirstOnStep42AndRestsOnStep262)
{
    Model m = defaultModel();
    int step = 0, bounces1 = 0, bounces2 = 0, firstBounce = 0;
    bool rest = false;
    while (!rest && step < 10000) {
        const Bounces b = m.StepBalls();
        ++step;
        if (b.Ball1 && firstBounce == 0)
            firstBounce = step;
        bounces1 += b.Ball1;
        bounces2 += b.Ball2;
        rest = m.TestAtRest();
    }
    EXPECT_EQ(firstBounce, 42);
    EXPECT_EQ(step, 262);
    EXPECT_EQ(bounces1, 20);
    EXPECT_EQ(bounces2, 11);
    EXPECT_EQ(m.Ball1.Y, 1380);
    EXPECT_EQ(m.Ball2.Y, 1400);
}

TEST(TwoBallModel, VelocityIsSummedLeftToRight)
{
    // Ball2 one unit straight above Ball1 on a spring of no length pulls
    // Ball1 up with 2^54 * 0.5 / 1 = 2^53. Only (accel + velocity) + gravity
    // gives 1; accel + (velocity + gravity) loses the gravity to rounding.
    const double big = 9007199254740992.0;  // 2^53
    Model m;
    m.Stiffness = 2 * big;
    m.Gravity = 1;
    m.Ball1 = {0, 1, 0, big, 0, 0, 1};
    m.Ball2 = {0, 0, 0, 0, 0, 0, 1};
    m.StepBalls();
    EXPECT_EQ(m.Ball1.AccelY, -big);
    EXPECT_EQ(m.Ball1.VelocityY, 1);
    EXPECT_EQ(m.Ball1.Y, 2);
}

TEST(TwoBallModel, AccelerationIsHalfTheForceThenDividedByTheMass)
{
    Model m;
    m.Stiffness = 1;
    m.Ball1 = {0, 0, 0, 0, 0, 0, 3};
    m.Ball2 = {7.1, 0, 0, 0, 0, 0, 3};  // stretched by 7.1: pulls Ball1 towards +x
    m.StepBalls();
    ASSERT_EQ(m.ForceX, 7.1);
    ASSERT_NE(7.1 * 0.5 / 3, 7.1 * (0.5 / 3));  // the case tells the two apart
    EXPECT_EQ(m.Ball1.AccelX, 7.1 * 0.5 / 3);
    EXPECT_EQ(m.Ball2.AccelX, -7.1 * 0.5 / 3);
}

struct FloorCase {
    const char* name;
    double y1, y2;  // before a step that moves each ball 4 units down
    Bounces expected;
};
void PrintTo(const FloorCase& c, std::ostream* os) { *os << c.name; }

class FloorTest : public ::testing::TestWithParam<FloorCase> {};

TEST_P(FloorTest, BouncesOnlyPastTheFloor)
{
    const FloorCase& c = GetParam();
    // No spring force, gravity or resistance: each ball moves by exactly
    // its velocity.
    Model m;
    m.Ball1 = {100, c.y1, 0.5, 4, 0, 0, 1};
    m.Ball2 = {400, c.y2, 0, 4, 0, 0, 1};
    EXPECT_EQ(m.StepBalls(), c.expected);
    EXPECT_EQ(m.Ball1.Y, c.expected.Ball1 ? 1380 : c.y1 + 4);
    EXPECT_EQ(m.Ball1.VelocityY, c.expected.Ball1 ? -4 : 4);
    EXPECT_EQ(m.Ball2.Y, c.expected.Ball2 ? 1400 : c.y2 + 4);
    EXPECT_EQ(m.Ball2.VelocityY, c.expected.Ball2 ? -4 : 4);
    EXPECT_EQ(m.Ball1.X, 100.5);  // a bounce leaves x alone
}

INSTANTIATE_TEST_SUITE_P(TwoBallModel, FloorTest,
                         ::testing::Values(FloorCase{"Ball1ExactlyOnFloor", 1376, 1000, {}},
                                           FloorCase{"Ball2ExactlyOnFloor", 1000, 1396, {}},
                                           FloorCase{"Ball1Past", 1377, 1000, {true, false}},
                                           FloorCase{"Ball2Past", 1000, 1397, {false, true}},
                                           FloorCase{"BothPast", 1379.5, 1399.5, {true, true}}),
                         byName);

struct RestCase {
    const char* name;
    void (*change)(Model&);
    bool atRest;
};
void PrintTo(const RestCase& c, std::ostream* os) { *os << c.name; }

class RestTest : public ::testing::TestWithParam<RestCase> {};

TEST_P(RestTest, AllSixBoundsAreStrict)
{
    Model m;
    m.Ball1 = {660, 1375.001, -0.79, -0.2, 0, 0, 1500};
    m.Ball2 = {960, 1396, -0.3, 0.79, 0, 0, 200};
    GetParam().change(m);
    const Model before = m;

    EXPECT_EQ(m.TestAtRest(), GetParam().atRest);
    if (GetParam().atRest) {
        EXPECT_EQ(m.Ball1.Y, 1380);
        EXPECT_EQ(m.Ball2.Y, 1400);
        m.Ball1.Y = before.Ball1.Y;
        m.Ball2.Y = before.Ball2.Y;
    }
    EXPECT_TRUE(sameBall(m.Ball1, before.Ball1) && sameBall(m.Ball2, before.Ball2));
}

INSTANTIATE_TEST_SUITE_P(
    TwoBallModel, RestTest,
    ::testing::Values(
        RestCase{"JustInside", [](Model&) {}, true},
        RestCase{"Ball1VelocityXAtBound", [](Model& m) { m.Ball1.VelocityX = -0.8; }, false},
        RestCase{"Ball1VelocityYAtBound", [](Model& m) { m.Ball1.VelocityY = 0.8; }, false},
        RestCase{"Ball2VelocityXAtBound", [](Model& m) { m.Ball2.VelocityX = 0.8; }, false},
        RestCase{"Ball2VelocityYAtBound", [](Model& m) { m.Ball2.VelocityY = -0.8; }, false},
        RestCase{"Ball1OnRestLine", [](Model& m) { m.Ball1.Y = 1375; }, false},
        RestCase{"Ball2OnRestLine", [](Model& m) { m.Ball2.Y = 1395; }, false}),
    byName);

TEST(TwoBallModel, GrabPutsBall1AtThePointerAtRestAndLeavesBall2)
{
    Model m = defaultModel();
    for (int i = 0; i < 30; ++i)
        m.StepBalls();
    m.Ball1.VelocityX = 2.5;
    const Ball ball2 = m.Ball2;

    m.GrabBall1(1980, 2160);
    EXPECT_TRUE(sameBall(m.Ball1, Ball{660, 720, 0, 0}));
    EXPECT_TRUE(sameBall(m.Ball2, ball2));

    m.GrabBall1(1000, 1);  // divided in double, not in single precision
    EXPECT_EQ(m.Ball1.X, 1000.0 / 3);
    EXPECT_EQ(m.Ball1.Y, 1.0 / 3);
}

TEST(TwoBallModel, GrabBelowTheFloorIsClampedOnlyByTheNextStep)
{
    Model m = defaultModel();
    m.GrabBall1(1980, 4500);
    EXPECT_EQ(m.Ball1.Y, 1500);
    EXPECT_TRUE(m.StepBalls().Ball1);
    EXPECT_EQ(m.Ball1.Y, 1380);
}

TEST(TwoBallModel, FullResistanceOrNoGravityNeverMovesNorRests)
{
    for (const bool noGravity : {false, true}) {
        Model m = defaultModel();
        if (noGravity) {
            m.Gravity = 0;
        } else {
            m.Resistance = 1;
            m.Ball1.VelocityX = 7;
            m.Ball2.VelocityY = -3;
        }
        for (int i = 0; i < 500; ++i) {
            m.StepBalls();
            ASSERT_FALSE(m.TestAtRest());
        }
        EXPECT_TRUE(sameBall(m.Ball1, Ball{660, 720, 0, 0})) << noGravity;
        EXPECT_TRUE(sameBall(m.Ball2, Ball{960, 720, 0, 0})) << noGravity;
    }
}

TEST(TwoBallModel, ResetKeepsTheVelocities)
{
    Model m = defaultModel();
    for (int i = 0; i < 20; ++i)
        m.StepBalls();
    const Ball ball1 = m.Ball1;
    ASSERT_GT(ball1.VelocityY, 5);

    m.ResetBalls();
    EXPECT_TRUE(sameBall(m.Ball1, Ball{660, 720, ball1.VelocityX, ball1.VelocityY}));
    EXPECT_EQ(m.Ball2.Y, 720);
    m.StepBalls();
    EXPECT_GT(m.Ball1.Y, 720 + ball1.VelocityY);  // still falling, faster than before
}

struct FaultCase {
    const char* name;
    void (*setUp)(Model&);
    rt::ErrorNumber error;
};
void PrintTo(const FaultCase& c, std::ostream* os) { *os << c.name; }

class FaultTest : public ::testing::TestWithParam<FaultCase> {};

TEST_P(FaultTest, StepRaisesTheRuntimeError)
{
    Model m = defaultModel();
    GetParam().setUp(m);
    int steps = 0;
    try {
        for (; steps < 5000; ++steps)
            m.StepBalls();
        FAIL() << "no error after " << steps << " steps";
    } catch (const rt::RuntimeError& e) {
        EXPECT_EQ(e.number(), GetParam().error) << "after " << steps << " steps";
    }
}

INSTANTIATE_TEST_SUITE_P(
    TwoBallModel, FaultTest,
    ::testing::Values(
        // Both centres on one point: 0 / 0, which the processor flags as an
        // invalid operation rather than a division by zero.
        FaultCase{"ZeroRestLength",
                  [](Model& m) {
                      m.RestLength = 0;
                      m.ResetBalls();
                  },
                  rt::ErrorNumber::InvalidOperation},
        // A separation too small to square: a true x / 0.
        FaultCase{"SeparationUnderflowsToZero",
                  [](Model& m) {
                      m.Ball1 = {1e-200, 0, 0, 0, 0, 0, 1};
                      m.Ball2 = {0, 0, 0, 0, 0, 0, 1};
                  },
                  rt::ErrorNumber::DivisionByZero},
        FaultCase{"Ball1MassZeroWithoutForce", [](Model& m) { m.Ball1.Mass = 0; },
                  rt::ErrorNumber::InvalidOperation},
        FaultCase{"Ball2MassZeroUnderForce",
                  [](Model& m) {
                      m.Ball2.Mass = 0;
                      m.Ball2.X = 1000;
                  },
                  rt::ErrorNumber::DivisionByZero},
        FaultCase{"NegativeResistance", [](Model& m) { m.Resistance = -1; },
                  rt::ErrorNumber::Overflow},
        FaultCase{"ResistanceAboveTwo", [](Model& m) { m.Resistance = 2.5; },
                  rt::ErrorNumber::Overflow}),
    byName);

}  // namespace
