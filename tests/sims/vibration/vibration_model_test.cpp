// The spring's physics on its own: the worked numbers of the default run, the
// bounds of the undamped swing, and the errors a step raises.

#include "sims/vibration/vibration_model.h"

#include "runtime/numeric/runtime_error.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

namespace {

using vibration::Model;

// The window's default boxes, after the reset.
Model defaultSpring(double viscosity = 0.002)
{
    Model m{.Stiffness = 5, .RestLength = 200, .Mass = 500, .Viscosity = viscosity};
    m.Reset();
    return m;
}

TEST(VibrationModel, FirstTickThenPeakAtTick31AndTroughAtTick62)
{
    Model m = defaultSpring();
    m.Step();
    EXPECT_EQ(std::tuple(m.Force, m.Accel, m.Velocity, m.Position), std::tuple(500, 1, 0.998, 100.998));

    // The first maximum and the next minimum, found as the turning points.
    int tick = 1, peakTick = 0, troughTick = 0;
    double peak = m.Position, trough = 0;
    for (; tick < 100; ++tick) {
        const double before = m.Position;
        m.Step();
        if (peakTick == 0 && m.Position < before) {
            peakTick = tick;
            peak = before;
        } else if (peakTick != 0 && troughTick == 0 && m.Position > before) {
            troughTick = tick;
            trough = before;
        }
    }
    EXPECT_EQ(std::pair(peakTick, troughTick), std::pair(31, 62));
    EXPECT_NEAR(peak, 297.02, 0.005);
    EXPECT_NEAR(trough, 106.03, 0.005);
}

TEST(VibrationModel, UndampedSwingStaysWithinItsBoundsAndFullDampingHolds)
{
    Model free = defaultSpring(0);
    double low = free.Position, high = free.Position;
    for (int i = 0; i < 1000000; ++i) {
        free.Step();
        low = std::min(low, free.Position);
        high = std::max(high, free.Position);
    }
    EXPECT_GE(low, 99.8);
    EXPECT_LE(high, 300.2);

    Model held = defaultSpring(1);
    for (int i = 0; i < 100; ++i) {
        held.Step();
        ASSERT_EQ(std::pair(held.Velocity, held.Position), std::pair(0.0, 100.0)) << i;
    }
}

TEST(VibrationModel, PullSetsTheLengthAtRest)
{
    Model m = defaultSpring();
    m.Step();
    m.Pull(300);
    EXPECT_EQ(std::pair(m.Position, m.Velocity), std::pair(300.0, 0.0));
    m.Step();
    EXPECT_EQ(std::tuple(m.Force, m.Velocity, m.Position), std::tuple(-500, -0.998, 299.002));

    m.Pull(0);
    m.Step();
    EXPECT_EQ(m.Position, 1.996);
}

struct FaultCase {
    const char* name;
    Model spring;
    rt::ErrorNumber expected;
};

class VibrationFault : public ::testing::TestWithParam<FaultCase> {};

TEST_P(VibrationFault, StepStopsAtTheFirstFaultyLine)
{
    Model m = GetParam().spring;
    m.Reset();
    try {
        for (int i = 0; i < 100000; ++i)
            m.Step();
        FAIL() << "no error";
    } catch (const rt::RuntimeError& e) {
        EXPECT_EQ(e.number(), GetParam().expected);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Errors, VibrationFault,
    ::testing::Values(
        FaultCase{"MassZero", {.Stiffness = 5, .RestLength = 200, .Mass = 0}, rt::ErrorNumber::DivisionByZero},
        FaultCase{"MassZeroAtRestLength", {.Stiffness = 5, .RestLength = 100, .Mass = 0},
                  rt::ErrorNumber::InvalidOperation},
        FaultCase{"GrowingSwing", {.Stiffness = 5, .RestLength = 200, .Mass = 500, .Viscosity = -1},
                  rt::ErrorNumber::Overflow}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
