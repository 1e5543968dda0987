// The three windows whose motion is plain arithmetic, run for hundreds of
// ticks against a reference written here in the order of their formulas:
// every state value and every drawn coordinate must agree bit for bit.
// A rounding error of the last bit grows from tick to tick, so arithmetic
// that is the same in algebra but grouped differently shows here after a
// few ticks even when a tolerance would let it through.

#include "tests/support/typed_windows.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <utility>
#include <vector>

namespace {

using rt::DrawOp;

struct BoxText {
    const char* box;
    const char* text;
};

// Types each text into its box and clicks "変更".
void apply(rt::Form& form, const std::vector<BoxText>& texts)
{
    for (const BoxText& t : texts)
        form.textBox(t.box).setText(QString::fromUtf8(t.text));
    QTest::mouseClick(&form.button("Command1"), Qt::LeftButton);
}

class ErrorsFail {
public:
    ErrorsFail()
    {
        rt::setErrorReporter([](rt::Form&, const rt::RuntimeError& e) {
            ADD_FAILURE() << "run-time error " << e.code();
        });
    }
    ~ErrorsFail() { rt::resetErrorReporter(); }
};

// ------------------------------------------------------------ vibration

struct SpringReference {
    double Force = 0, Stiffness = 0, RestLength = 0, Position = 100, Velocity = 0, Accel = 0, Mass = 0,
           Viscosity = 0;

    void step()
    {
        Force = (Position - RestLength) * (-Stiffness);
        Accel = Force / Mass;
        Velocity = (1 - Viscosity) * (Accel + Velocity);
        Position = Position + Velocity;
    }

    std::vector<DrawOp> picture(rt::Color fore) const
    {
        std::vector<DrawOp> ops{{DrawOp::Kind::Line, 455, 0, 455, 0, fore}};
        const double h = Position / 5;
        for (int i = 1; i <= 40; ++i) {
            const DrawOp& before = ops.back();
            ops.push_back({DrawOp::Kind::Line, before.x2, before.y2, static_cast<float>(455 + 100 * (i % 2)),
                           static_cast<float>(i * h), fore});
        }
        ops.push_back({DrawOp::Kind::Circle, 500, static_cast<float>(Position * 8), 100, 0, fore,
                       rt::RGB(255, 0, 0), true});
        return ops;
    }
};

struct SpringRun {
    const char* name;
    const char* restLength;
    const char* stiffness;
    const char* mass;
    const char* viscosity;
    int pressAtTick;  // 0: no press
    int pressPixelX;
};

class VibrationExact : public ::testing::TestWithParam<SpringRun> {};

TEST_P(VibrationExact, EveryTickMatchesTheFormulasBitForBit)
{
    const SpringRun& run = GetParam();
    const ErrorsFail errorsFail;
    frmVibration window;
    window.Show();
    apply(window, {{"Text2", run.restLength}, {"Text3", run.stiffness}, {"Text4", run.mass}, {"Text5", run.viscosity}});

    SpringReference ref;
    ref.RestLength = rt::Val(run.restLength);
    ref.Stiffness = rt::Val(run.stiffness);
    ref.Mass = rt::Val(run.mass);
    ref.Viscosity = rt::Val(run.viscosity);
    for (int tick = 1; tick <= 600; ++tick) {
        if (tick == run.pressAtTick) {
            QTest::mouseClick(&window, Qt::LeftButton, {}, QPoint(run.pressPixelX, 250));
            ref.Position = run.pressPixelX * 15.0;
            ref.Velocity = 0;
        }
        window.Timer1.fire();
        ref.step();
        ASSERT_EQ(window.Force, ref.Force) << "tick " << tick;
        ASSERT_EQ(window.Accel, ref.Accel) << "tick " << tick;
        ASSERT_EQ(window.Velocity, ref.Velocity) << "tick " << tick;
        ASSERT_EQ(window.Position, ref.Position) << "tick " << tick;
        ASSERT_EQ(window.displayList(), ref.picture(window.ForeColor)) << "tick " << tick;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Vibration, VibrationExact,
    ::testing::Values(SpringRun{"Defaults", "200", "5", "500", "0.002", 0, 0},
                      SpringRun{"DefaultsPressedAt300", "200", "5", "500", "0.002", 37, 20},
                      SpringRun{"OddValues", "123.45", "3.7", "7.3", "0.0173", 0, 0},
                      SpringRun{"UndampedOddValues", "187.3", "2.9", "41.7", "0", 211, 17},
                      SpringRun{"StiffAndLight", "77.7", "0.93", "0.31", "0.11", 0, 0}),
    [](const auto& info) { return std::string(info.param.name); });

// A few values of the default run recorded once, so that the reference
// above cannot drift together with the window.
TEST(VibrationExact, DefaultRunGoldenValues)
{
    const ErrorsFail errorsFail;
    frmVibration window;
    window.Show();
    const struct {
        int tick;
        double position;
    } golden[] = {{1, 100.998},
                  {3, 0x1.a7b8b009d7438p+6},    // 105.93035903335920
                  {6, 0x1.e0ce6d26d8e0ap+6},    // 120.20158825587001
                  {31, 0x1.29059ca4c672ep+8},   // 297.02192144246044, the first peak
                  {62, 0x1.a82249ff37c8ep+6},   // 106.03348540094359, the first trough
                  {400, 0x1.ecdab3438efep+7}};  // 246.42714892502318
    int tick = 0;
    for (const auto& g : golden) {
        while (tick < g.tick) {
            window.Timer1.fire();
            ++tick;
        }
        EXPECT_EQ(window.Position, g.position) << "tick " << g.tick << ": " << std::hexfloat << window.Position;
    }
}

// The zig-zag's heights come from h = Position / 5 in double precision and
// are rounded to single precision only when drawn, so most last-bit changes
// of h vanish in the picture. Lengths of an eighth of a midpoint between two
// singles near 3000 put some corner of the zig-zag on such a midpoint, where
// the last bit of h decides which single is drawn; the first length where
// that shows is taken.
TEST(VibrationExact, SpringHeightIsTheLengthOverFiveToTheLastBit)
{
    const double fifth = 0.2;
    const auto shows = [&](double length) {
        for (int i = 1; i <= 40; ++i)
            if (static_cast<float>(i * (length / 5)) != static_cast<float>(i * (length * fifth)))
                return true;
        return false;
    };
    double length = 0;
    float f = 3000.0f;
    for (int tries = 0; tries < 100000 && length == 0; ++tries, f = std::nextafter(f, 1e9f)) {
        const double candidate = (static_cast<double>(f) + static_cast<double>(std::nextafter(f, 1e9f))) / 16;
        if (shows(candidate))
            length = candidate;
    }
    ASSERT_NE(length, 0) << "no length found where the grouping shows";

    const ErrorsFail errorsFail;
    frmVibration window;
    window.Show();
    apply(window, {{"Text3", "0"}});  // no spring force: the length stays as it is put
    window.Position = length;
    window.Velocity = 0;
    window.Timer1.fire();
    ASSERT_EQ(window.Position, length);
    SpringReference ref;
    ref.Position = length;
    EXPECT_EQ(window.displayList(), ref.picture(window.ForeColor));
}

// ------------------------------------------------------------ rotation

struct CordReference {
    double MouseX = 0, MouseY = 0, BallX = 240, BallY = 240, VelocityX = 0, VelocityY = 0, NegStiffness = 0,
           Relax = 0;

    void step()
    {
        VelocityX = ((BallX - MouseX) * NegStiffness + VelocityX) * Relax;
        VelocityY = ((BallY - MouseY) * NegStiffness + VelocityY) * Relax;
        BallX = BallX + VelocityX;
        BallY = BallY + VelocityY;
    }

    std::vector<DrawOp> picture(rt::Color fore) const
    {
        const auto x = static_cast<float>(BallX), y = static_cast<float>(BallY);
        return {{DrawOp::Kind::Line, static_cast<float>(MouseX), static_cast<float>(MouseY), x, y, fore},
                {DrawOp::Kind::Circle, x, y, 50, 0, fore, rt::RGB(255, 0, 0), true}};
    }
};

struct CordRun {
    const char* name;
    const char* stiffness;
    const char* relax;
    std::vector<QPoint> pointer;  // pixels, visited one after another, 60 ticks each
};

class RotationExact : public ::testing::TestWithParam<CordRun> {};

TEST_P(RotationExact, EveryTickMatchesTheFormulasBitForBit)
{
    const CordRun& run = GetParam();
    const ErrorsFail errorsFail;
    frmRotaion window;
    window.Show();
    // Qt drops a move to where it believes the pointer already is; start
    // from a spot no row visits.
    QTest::mouseMove(&window, QPoint(1, 203));
    apply(window, {{"Text2", run.stiffness}, {"Text3", run.relax}});

    CordReference ref;
    ref.NegStiffness = -rt::Val(run.stiffness);
    ref.Relax = rt::Val(run.relax);
    int tick = 0;
    for (const QPoint& at : run.pointer) {
        QTest::mouseMove(&window, at);
        ref.MouseX = at.x() * 15.0;
        ref.MouseY = at.y() * 15.0;
        ASSERT_EQ(std::pair(window.MouseX, window.MouseY), std::pair(ref.MouseX, ref.MouseY));
        for (int i = 0; i < 60; ++i) {
            ++tick;
            window.Timer1.fire();
            ref.step();
            ASSERT_EQ(window.VelocityX, ref.VelocityX) << "tick " << tick;
            ASSERT_EQ(window.VelocityY, ref.VelocityY) << "tick " << tick;
            ASSERT_EQ(window.BallX, ref.BallX) << "tick " << tick;
            ASSERT_EQ(window.BallY, ref.BallY) << "tick " << tick;
            ASSERT_EQ(window.displayList(), ref.picture(window.ForeColor)) << "tick " << tick;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rotation, RotationExact,
    ::testing::Values(
        CordRun{"DefaultsPointerStill", "0.02", "0.99", {QPoint(200, 100)}},
        CordRun{"DefaultsPointerCircling", "0.02", "0.99",
                {QPoint(200, 100), QPoint(130, 170), QPoint(40, 120), QPoint(90, 20), QPoint(210, 60),
                 QPoint(7, 199), QPoint(150, 150), QPoint(3, 4), QPoint(250, 190)}},
        CordRun{"OddValues", "0.0371", "0.973",
                {QPoint(17, 31), QPoint(263, 157), QPoint(101, 9), QPoint(55, 188), QPoint(199, 77)}},
        CordRun{"NoLoss", "0.013", "1", {QPoint(240, 180), QPoint(33, 44), QPoint(120, 150), QPoint(5, 5)}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(RotationExact, TheWorkedExampleToTheLastBit)
{
    // The pointer not yet over the window: two ticks pull towards (0, 0).
    const ErrorsFail errorsFail;
    frmRotaion window;
    window.Show();
    window.Timer1.fire();
    EXPECT_EQ(window.VelocityX, (240 * -0.02 + 0) * 0.99);
    EXPECT_EQ(window.BallX, 240 + (240 * -0.02 + 0) * 0.99);
    window.Timer1.fire();
    EXPECT_EQ(window.VelocityX, -0x1.2b98b3c08c4cap+3);  // -9.3623904
    EXPECT_EQ(window.VelocityY, -0x1.2b98b3c08c4cap+3);
    EXPECT_EQ(window.BallX, 0x1.c3c56e9f1a0c1p+7);  // 225.8856096
    EXPECT_EQ(window.BallY, 0x1.c3c56e9f1a0c1p+7);
}

// ------------------------------------------------------------ two balls

struct BallRef {
    double X = 0, Y = 0, VelocityX = 0, VelocityY = 0, AccelX = 0, AccelY = 0, Mass = 0;
};

struct BallsReference {
    double RestLength = 0, Stiffness = 0, Resistance = 0, Gravity = 0;
    BallRef Ball1, Ball2;
    double ForceX = 0, ForceY = 0;

    void reset()
    {
        Ball2.X = RestLength + 660;
        Ball1.Y = 720;
        Ball2.Y = 720;
        Ball1.X = 660;
    }

    // How many bounces the step reports.
    int step()
    {
        const double dx = Ball1.X - Ball2.X;
        const double dy = Ball1.Y - Ball2.Y;
        const double d = std::sqrt(dx * dx + dy * dy);
        const double ux = dx / d;
        const double uy = dy / d;
        const double f = (-Stiffness) * (d - RestLength);
        ForceX = ux * f;
        ForceY = uy * f;
        Ball1.AccelX = ForceX * 0.5 / Ball1.Mass;
        Ball1.AccelY = ForceY * 0.5 / Ball1.Mass;
        Ball2.AccelX = (-ForceX) * 0.5 / Ball2.Mass;
        Ball2.AccelY = (-ForceY) * 0.5 / Ball2.Mass;
        Ball1.VelocityX = (Ball1.AccelX + Ball1.VelocityX) * (1 - Resistance);
        Ball1.VelocityY = (Ball1.AccelY + Ball1.VelocityY + Gravity) * (1 - Resistance);
        Ball2.VelocityX = (Ball2.AccelX + Ball2.VelocityX) * (1 - Resistance);
        Ball2.VelocityY = (Ball2.AccelY + Ball2.VelocityY + Gravity) * (1 - Resistance);
        Ball1.X = Ball1.VelocityX + Ball1.X;
        Ball1.Y = Ball1.VelocityY + Ball1.Y;
        Ball2.X = Ball2.VelocityX + Ball2.X;
        Ball2.Y = Ball2.VelocityY + Ball2.Y;
        int bounces = 0;
        if (Ball1.Y > 1380) {
            Ball1.VelocityY = -Ball1.VelocityY;
            Ball1.Y = 1380;
            ++bounces;
        }
        if (Ball2.Y > 1400) {
            Ball2.VelocityY = -Ball2.VelocityY;
            Ball2.Y = 1400;
            ++bounces;
        }
        return bounces;
    }

    bool atRest()
    {
        if (std::fabs(Ball1.VelocityX) < 0.8 && std::fabs(Ball1.VelocityY) < 0.8 && std::fabs(Ball2.VelocityX) < 0.8
            && std::fabs(Ball2.VelocityY) < 0.8 && Ball1.Y > 1375 && Ball2.Y > 1395) {
            Ball1.Y = 1380;
            Ball2.Y = 1400;
            return true;
        }
        return false;
    }
};

void expectSameBall(const two_balls::Ball& actual, const BallRef& expected, const char* which, int tick)
{
    SCOPED_TRACE(::testing::Message() << which << " after tick " << tick);
    EXPECT_EQ(actual.X, expected.X);
    EXPECT_EQ(actual.Y, expected.Y);
    EXPECT_EQ(actual.VelocityX, expected.VelocityX);
    EXPECT_EQ(actual.VelocityY, expected.VelocityY);
    EXPECT_EQ(actual.AccelX, expected.AccelX);
    EXPECT_EQ(actual.AccelY, expected.AccelY);
}

struct BallsRun {
    const char* name;
    const char* restLength;  // Text2
    const char* resistance;  // Text3
    const char* mass1;       // Text4
    const char* mass2;       // Text5
    const char* gravity;     // Text6
    const char* stiffness;   // Text7
    int grabAtTick;          // 0: no press
    QPoint grabPixel;
};

class TwoBallsExact : public ::testing::TestWithParam<BallsRun> {};

TEST_P(TwoBallsExact, EveryTickMatchesTheFormulasBitForBit)
{
    const BallsRun& run = GetParam();
    const ErrorsFail errorsFail;
    int beeps = 0;
    rt::setBeepHandler([&] { ++beeps; });
    frm2Bolls window;
    window.Show();
    apply(window, {{"Text2", run.restLength}, {"Text3", run.resistance}, {"Text4", run.mass1},
                   {"Text5", run.mass2}, {"Text6", run.gravity}, {"Text7", run.stiffness}});

    BallsReference ref;
    ref.RestLength = rt::Val(run.restLength);
    ref.Resistance = rt::Val(run.resistance);
    ref.Stiffness = rt::Val(run.stiffness);
    ref.Gravity = rt::Val(run.gravity);
    ref.Ball1.Mass = rt::Val(run.mass1);
    ref.Ball2.Mass = rt::Val(run.mass2);
    ref.reset();
    int expectedBeeps = 0;
    for (int tick = 1; tick <= 700; ++tick) {
        if (tick == run.grabAtTick) {
            QTest::mouseClick(&window, Qt::LeftButton, {}, run.grabPixel);
            ref.Ball1.X = run.grabPixel.x() * 15.0 / 3;
            ref.Ball1.Y = run.grabPixel.y() * 15.0 / 3;
            ref.Ball1.VelocityX = 0;
            ref.Ball1.VelocityY = 0;
        }
        if (!window.Timer1.isTicking())
            break;
        window.Timer1.fire();
        expectedBeeps += ref.step();
        const auto x1 = static_cast<float>(ref.Ball1.X * 3), y1 = static_cast<float>(ref.Ball1.Y * 3);
        const auto x2 = static_cast<float>(ref.Ball2.X * 3), y2 = static_cast<float>(ref.Ball2.Y * 3);
        const bool rest = ref.atRest();

        expectSameBall(window.Balls.Ball1, ref.Ball1, "Ball1", tick);
        expectSameBall(window.Balls.Ball2, ref.Ball2, "Ball2", tick);
        EXPECT_EQ(window.Balls.ForceX, ref.ForceX) << "tick " << tick;
        EXPECT_EQ(window.Balls.ForceY, ref.ForceY) << "tick " << tick;
        EXPECT_EQ(beeps, expectedBeeps) << "tick " << tick;
        EXPECT_EQ(window.Timer1.isTicking(), !rest) << "tick " << tick;
        const auto& ops = window.displayList();
        ASSERT_EQ(ops.size(), 4u);
        const rt::Color fore = window.ForeColor;
        EXPECT_EQ(ops[1], (DrawOp{DrawOp::Kind::Line, x1, y1, x2, y2, fore})) << "tick " << tick;
        EXPECT_EQ(ops[2], (DrawOp{DrawOp::Kind::Circle, x1, y1, 100, 0, fore, rt::RGB(255, 255, 0), true}))
            << "tick " << tick;
        EXPECT_EQ(ops[3], (DrawOp{DrawOp::Kind::Circle, x2, y2, 50, 0, fore, rt::RGB(255, 0, 0), true}))
            << "tick " << tick;
        if (::testing::Test::HasFailure())
            break;
    }
    rt::setBeepHandler({});
}

INSTANTIATE_TEST_SUITE_P(
    TwoBalls, TwoBallsExact,
    ::testing::Values(BallsRun{"Defaults", "300", "0.02", "1500", "200", "0.98", "10", 0, {}},
                      BallsRun{"DefaultsGrabbedAside", "300", "0.02", "1500", "200", "0.98", "10", 90, QPoint(233, 71)},
                      BallsRun{"OddValues", "287.3", "0.0137", "1234.5", "187.3", "0.913", "7.7", 0, {}},
                      BallsRun{"OddValuesGrabbedLow", "211.1", "0.031", "97.3", "333.3", "1.37", "23.9", 150,
                               QPoint(40, 250)},
                      BallsRun{"SoftAndHeavy", "351.7", "0.007", "5000.1", "4321.9", "0.41", "0.77", 0, {}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
