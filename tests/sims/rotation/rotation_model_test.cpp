// The rotating mass's physics on its own: the worked ticks, the written
// order of the arithmetic, and the overflow of a growing motion.

#include "sims/rotation/rotation_model.h"

#include "runtime/numeric/runtime_error.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

using rotation::Model;

// The window's default boxes, after the reset.
Model defaultMass()
{
    Model m{.NegStiffness = -0.02, .Relax = 0.99};
    m.Reset();
    return m;
}

auto state(const Model& m) { return std::tuple(m.VelocityX, m.VelocityY, m.BallX, m.BallY); }

TEST(RotationModel, WorkedTicksWithThePointerAwayAndAtTheCorner)
{
    Model m = defaultMass();
    m.MovePointer(3000, 1500);
    m.Step();
    EXPECT_DOUBLE_EQ(m.VelocityX, 54.648);
    EXPECT_DOUBLE_EQ(m.VelocityY, 24.948);
    EXPECT_DOUBLE_EQ(m.BallX, 294.648);
    EXPECT_DOUBLE_EQ(m.BallY, 264.948);

    Model corner = defaultMass();
    corner.Step();
    EXPECT_DOUBLE_EQ(corner.VelocityX, -4.752);
    EXPECT_DOUBLE_EQ(corner.BallY, 235.248);
    corner.Step();
    EXPECT_NEAR(corner.VelocityY, -9.3624, 5e-5);
    EXPECT_NEAR(corner.BallX, 225.8856, 5e-5);
    EXPECT_EQ(corner.BallX, corner.BallY);
}

TEST(RotationModel, StepUsesThePositionsBeforeTheMoveInTheWrittenGrouping)
{
    // Written out line by line: a step that moved X before computing the
    // Y velocity, or grouped the products otherwise, differs in the bits.
    Model m{.MouseX = 1234.5, .MouseY = 77.25, .BallX = 3.1, .BallY = 987.6, .VelocityX = 0.7,
            .VelocityY = -1.3, .NegStiffness = -0.0371, .Relax = 0.987};
    const Model before = m;
    m.Step();
    const double vx = ((before.BallX - before.MouseX) * before.NegStiffness + before.VelocityX) * before.Relax;
    const double vy = ((before.BallY - before.MouseY) * before.NegStiffness + before.VelocityY) * before.Relax;
    EXPECT_EQ(state(m), std::tuple(vx, vy, before.BallX + vx, before.BallY + vy));

    m.Reset();
    EXPECT_EQ(state(m), std::tuple(0.0, 0.0, 240.0, 240.0));
    EXPECT_EQ(std::pair(m.MouseX, m.MouseY), std::pair(1234.5, 77.25));  // the pointer stays
}

TEST(RotationModel, GrowingMotionStopsAtItsFirstOverflow)
{
    Model m{.NegStiffness = -0.02, .Relax = 3};
    m.Reset();
    int ticks = 0;
    rt::ErrorNumber error{};
    try {
        for (; ticks < 100000; ++ticks)
            m.Step();
    } catch (const rt::RuntimeError& e) {
        error = e.number();
    }
    EXPECT_EQ(error, rt::ErrorNumber::Overflow);
    EXPECT_LT(ticks, 2000);  // tripling each tick leaves the doubles within a thousand ticks
}

}  // namespace
