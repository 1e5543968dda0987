#include "sims/two_balls/two_balls_model.h"

#include "runtime/numeric/runtime_error.h"

#include <gtest/gtest.h>

#include <tuple>
#include <utility>

namespace {

using two_balls::Ball;
using two_balls::Bounces;
using two_balls::Model;

// The window's default boxes, after the reset.
Model defaultModel()
{
    Model m{.RestLength = 300, .Stiffness = 10, .Resistance = 0.02, .Gravity = 0.98, .Ball1 = {.Mass = 1500},
            .Ball2 = {.Mass = 200}, .LastBounces = {}};
    m.ResetBalls();
    return m;
}

bool sameBall(const Ball& a, const Ball& b)
{
    return a.X == b.X && a.Y == b.Y && a.VelocityX == b.VelocityX && a.VelocityY == b.VelocityY;
}

TEST(TwoBallModel, DefaultRunBouncesFirstOnStep42AndRestsOnStep262)
{
    Model m = defaultModel();
    EXPECT_EQ(m.StepBalls(), Bounces{});
    for (const Ball& b : {m.Ball1, m.Ball2}) {  // the first step: gravity less resistance
        EXPECT_EQ(b.VelocityX, 0);
        EXPECT_EQ(b.VelocityY, 0.98 * (1 - 0.02));  // 0.9604
        EXPECT_EQ(b.Y, 0.98 * (1 - 0.02) + 720);
    }
    EXPECT_EQ(std::pair(m.Ball1.X, m.Ball2.X), std::pair(660.0, 960.0));

    int step = 1, bounces1 = 0, bounces2 = 0, firstBounce = 0;
    for (bool rest = m.TestAtRest(); !rest && step < 10000; rest = m.TestAtRest()) {
        const Bounces b = m.StepBalls();
        ++step;
        if (b.Ball1 && firstBounce == 0)
            firstBounce = step;
        bounces1 += b.Ball1;
        bounces2 += b.Ball2;
    }
    EXPECT_EQ(std::tuple(firstBounce, step, bounces1, bounces2), std::tuple(42, 262, 20, 11));
    EXPECT_EQ(std::pair(m.Ball1.Y, m.Ball2.Y), std::pair(1380.0, 1400.0));
}

TEST(TwoBallModel, ArithmeticRunsInTheWrittenOrder)
{
    // Half the force, then divided by the mass: 7.1 * 0.5 / 3 differs from
    // 7.1 * (0.5 / 3) in the last bit.
    Model m;
    m.Stiffness = 1;
    m.Ball1 = {0, 0, 0, 0, 0, 0, 3};
    m.Ball2 = {7.1, 0, 0, 0, 0, 0, 3};
    m.StepBalls();
    ASSERT_EQ(m.ForceX, 7.1);
    ASSERT_NE(7.1 * 0.5 / 3, 7.1 * (0.5 / 3));
    EXPECT_EQ(m.Ball1.AccelX, 7.1 * 0.5 / 3);
    EXPECT_EQ(m.Ball2.AccelX, -7.1 * 0.5 / 3);

    // The velocity summed left to right: Ball2 one unit above Ball1 on a
    // spring of no length pulls Ball1 up by 2^53; only (accel + velocity) +
    // gravity gives 1, accel + (velocity + gravity) loses the gravity.
    const double big = 9007199254740992.0;  // 2^53
    m = Model{};
    m.Stiffness = 2 * big;
    m.Gravity = 1;
    m.Ball1 = {0, 1, 0, big, 0, 0, 1};
    m.Ball2 = {0, 0, 0, 0, 0, 0, 1};
    m.StepBalls();
    EXPECT_EQ(std::tuple(m.Ball1.AccelY, m.Ball1.VelocityY, m.Ball1.Y), std::tuple(-big, 1.0, 2.0));
}

TEST(TwoBallModel, BouncesOnlyPastTheFloor)
{
    // y of each ball before a step that moves both 4 units down.
    const struct {
        double y1, y2;
        Bounces expected;
    } cases[] = {{1376, 1000, {}}, {1000, 1396, {}},  // exactly on the floor
                 {1377, 1000, {true, false}}, {1000, 1397, {false, true}}, {1379.5, 1399.5, {true, true}}};
    // y and velocity after the step: on the floor going up, or 4 lower.
    const auto after = [](bool bounced, double y, double floor) {
        return bounced ? std::pair(floor, -4.0) : std::pair(y + 4, 4.0);
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.y1 << ", " << c.y2);
        Model m;  // no spring, gravity or resistance: each ball moves by its velocity
        m.Ball1 = {100, c.y1, 0.5, 4, 0, 0, 1};
        m.Ball2 = {400, c.y2, 0, 4, 0, 0, 1};
        EXPECT_EQ(m.StepBalls(), c.expected);
        EXPECT_EQ(std::pair(m.Ball1.Y, m.Ball1.VelocityY), after(c.expected.Ball1, c.y1, 1380));
        EXPECT_EQ(std::pair(m.Ball2.Y, m.Ball2.VelocityY), after(c.expected.Ball2, c.y2, 1400));
        EXPECT_EQ(m.Ball1.X, 100.5);  // a bounce leaves x alone
    }
}

TEST(TwoBallModel, AllSixRestBoundsAreStrict)
{
    const auto nearlyAtRest = [] {
        Model m;
        m.Ball1 = {660, 1375.001, -0.79, -0.2, 0, 0, 1500};
        m.Ball2 = {960, 1396, -0.3, 0.79, 0, 0, 200};
        return m;
    };
    const struct {
        Ball Model::*ball;
        double Ball::*field;
        double value;
    } onABound[] = {{&Model::Ball1, &Ball::VelocityX, -0.8}, {&Model::Ball1, &Ball::VelocityY, 0.8},
                    {&Model::Ball2, &Ball::VelocityX, 0.8},  {&Model::Ball2, &Ball::VelocityY, -0.8},
                    {&Model::Ball1, &Ball::Y, 1375},         {&Model::Ball2, &Ball::Y, 1395}};
    for (const auto& c : onABound) {
        SCOPED_TRACE(c.value);
        Model m = nearlyAtRest();
        (m.*c.ball).*c.field = c.value;
        const Model before = m;
        EXPECT_FALSE(m.TestAtRest());
        EXPECT_TRUE(sameBall(m.Ball1, before.Ball1) && sameBall(m.Ball2, before.Ball2));
    }
    Model m = nearlyAtRest();
    EXPECT_TRUE(m.TestAtRest());
    EXPECT_TRUE(sameBall(m.Ball1, Ball{660, 1380, -0.79, -0.2}));
    EXPECT_TRUE(sameBall(m.Ball2, Ball{960, 1400, -0.3, 0.79}));
}

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
    EXPECT_EQ(std::pair(m.Ball1.X, m.Ball1.Y), std::pair(1000.0 / 3, 1.0 / 3));

    // Below the floor: put there, and clamped only by the next step.
    m.GrabBall1(1980, 4500);
    EXPECT_EQ(m.Ball1.Y, 1500);
    EXPECT_TRUE(m.StepBalls().Ball1);
    EXPECT_EQ(m.Ball1.Y, 1380);
}

TEST(TwoBallModel, FullResistanceOrNoGravityNeverMovesNorRests)
{
    Model resisted = defaultModel(), weightless = defaultModel();
    resisted.Resistance = 1;
    resisted.Ball1.VelocityX = 7;
    resisted.Ball2.VelocityY = -3;
    weightless.Gravity = 0;
    for (Model m : {resisted, weightless}) {
        for (int i = 0; i < 500; ++i) {
            m.StepBalls();
            ASSERT_FALSE(m.TestAtRest());
        }
        EXPECT_TRUE(sameBall(m.Ball1, Ball{660, 720, 0, 0}));
        EXPECT_TRUE(sameBall(m.Ball2, Ball{960, 720, 0, 0}));
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

TEST(TwoBallModel, FaultsRaiseTheRuntimeError)
{
    const struct {
        const char* name;
        void (*setUp)(Model&);
        rt::ErrorNumber error;
    } cases[] = {
        // Coinciding centres are 0 / 0, which the processor flags as an
        // invalid operation; a separation too small to square is a true x / 0.
        {"ZeroRestLength", [](Model& m) { m.RestLength = 0; m.ResetBalls(); }, rt::ErrorNumber::InvalidOperation},
        {"SeparationUnderflowsToZero",
         [](Model& m) { m.Ball1 = {1e-200, 0, 0, 0, 0, 0, 1}; m.Ball2 = {0, 0, 0, 0, 0, 0, 1}; },
         rt::ErrorNumber::DivisionByZero},
        {"Ball1MassZeroWithoutForce", [](Model& m) { m.Ball1.Mass = 0; }, rt::ErrorNumber::InvalidOperation},
        {"Ball2MassZeroUnderForce", [](Model& m) { m.Ball2.Mass = 0; m.Ball2.X = 1000; },
         rt::ErrorNumber::DivisionByZero},
        {"NegativeResistance", [](Model& m) { m.Resistance = -1; }, rt::ErrorNumber::Overflow},
        {"ResistanceAboveTwo", [](Model& m) { m.Resistance = 2.5; }, rt::ErrorNumber::Overflow}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Model m = defaultModel();
        c.setUp(m);
        try {
            for (int step = 0; step < 5000; ++step)
                m.StepBalls();
            ADD_FAILURE() << "no error";
        } catch (const rt::RuntimeError& e) {
            EXPECT_EQ(e.number(), c.error);
        }
    }
}

}  // namespace
