// Where each model's arithmetic faults stop it: for hostile parameters and
// presses, the run-time error raised (or none), the tick it is raised in and
// the state the failing step leaves behind, bit for bit. The state pins down
// the point inside the tick: a vibration that stops at the division has a
// new Force and the old Accel, one that stops at the velocity a new Accel.
//
// The expected values were recorded once from the processor's own
// floating-point status flags; the models' explicit checks must give the
// same answer on every platform.

#include "sims/rotation/rotation_model.h"
#include "sims/rubber_cord/chain_model.h"
#include "sims/rubber_cord/chain_relax_fast.h"
#include "sims/two_balls/two_balls_model.h"
#include "sims/vibration/vibration_model.h"
#include "runtime/numeric/runtime_error.h"
#include "runtime/numeric/val.h"

#include <gtest/gtest.h>

#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <initializer_list>
#include <string>

namespace {

// FNV-1a over the bits of the given doubles: equal only for equal bits
// (0 and -0, or two NaNs with different payloads, differ).
class Fingerprint {
public:
    void add(double x)
    {
        std::uint64_t bits;
        std::memcpy(&bits, &x, sizeof bits);
        for (int i = 0; i < 8; ++i) {
            m_hash ^= (bits >> (8 * i)) & 0xff;
            m_hash *= 0x100000001b3ULL;
        }
    }
    void add(std::initializer_list<double> xs)
    {
        for (double x : xs)
            add(x);
    }
    std::uint64_t value() const { return m_hash; }

private:
    std::uint64_t m_hash = 0xcbf29ce484222325ULL;
};

struct Outcome {
    int error = 0;  // the run-time error's number, 0 for none
    int tick = 0;   // the tick that raised it, or the last tick run
    std::uint64_t state = 0;

    bool operator==(const Outcome&) const = default;
};

void PrintTo(const Outcome& o, std::ostream* os)
{
    char text[80];
    std::snprintf(text, sizeof text, "{%d, %d, 0x%016" PRIx64 "}", o.error, o.tick, o.state);
    *os << text;
}

// Runs `step` for up to `ticks` ticks, calling `press` before each; stops at
// the first run-time error.
Outcome run(int ticks, const std::function<void(int)>& press, const std::function<void()>& step,
            const std::function<std::uint64_t()>& state)
{
    for (int tick = 1; tick <= ticks; ++tick) {
        press(tick);
        try {
            step();
        } catch (const rt::RuntimeError& e) {
            return {e.code(), tick, state()};
        }
    }
    return {0, ticks, state()};
}

template <typename Row>
std::string rowName(const ::testing::TestParamInfo<Row>& info)
{
    return info.param.name;
}

// A press at a given tick, in twips as the window passes them on.
struct Press {
    int tick = 0;  // 0: none
    float x = 0;
    float y = 0;
};

constexpr float kFar = 3.4e38f;  // near the largest single: a press far off the window

// ------------------------------------------------------------ vibration

struct SpringRow {
    const char* name;
    const char* restLength;
    const char* stiffness;
    const char* mass;
    const char* viscosity;
    Press press;
    Outcome expected;
};

class VibrationFaultPoint : public ::testing::TestWithParam<SpringRow> {};

TEST_P(VibrationFaultPoint, StopsWhereTheFlagsStoppedIt)
{
    const SpringRow& r = GetParam();
    vibration::Model m;
    m.RestLength = rt::Val(r.restLength);
    m.Stiffness = rt::Val(r.stiffness);
    m.Mass = rt::Val(r.mass);
    m.Viscosity = rt::Val(r.viscosity);
    m.Reset();
    const Outcome got = run(
        3000, [&](int tick) { if (tick == r.press.tick) m.Pull(r.press.x); }, [&] { m.Step(); },
        [&] {
            Fingerprint f;
            f.add({m.Force, m.Position, m.Velocity, m.Accel});
            return f.value();
        });
    EXPECT_EQ(got, r.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, VibrationFaultPoint,
    ::testing::Values(
        SpringRow{"Defaults", "200", "5", "500", "0.002", {}, {0, 3000, 0x7f52365fecb1288d}},
        SpringRow{"MassZero", "200", "5", "0", "0.002", {}, {11, 1, 0xb5936c6194e7216a}},
        SpringRow{"MassZeroAtRestLength", "100", "5", "0", "0.002", {}, {16, 1, 0xa12e0a7afe443031}},
        SpringRow{"MassZeroNoStiffness", "200", "0", "0", "0", {}, {16, 1, 0x053fcbe87800bdb1}},
        SpringRow{"MassSubnormal", "200", "5", "1e-320", "0.002", {}, {6, 1, 0xb5936c6194e7216a}},
        SpringRow{"MassSubnormalNoForce", "100", "5", "1e-320", "0", {}, {0, 3000, 0x9f95a37afce8b464}},
        SpringRow{"MassNegativeHuge", "200", "5", "-1e308", "0", {}, {0, 3000, 0x516ed197edfc4079}},
        SpringRow{"StiffnessHuge", "200", "1e308", "500", "0.002", {}, {6, 1, 0x9a94f549fde27f09}},
        SpringRow{"StiffnessNegativeHuge", "200", "-1e308", "500", "0.002", {}, {6, 1, 0x020db6b77a83e889}},
        SpringRow{"RestLengthHugeOverflowsTheStretch", "-1e308", "-1e308", "500", "0.002", {}, {6, 1, 0x9a94f549fde27f09}},
        SpringRow{"RestLengthNegativeHuge", "-1.7e308", "1", "1", "0", {}, {6, 2, 0x6cf9b2ec907602ac}},
        SpringRow{"ViscosityNegativeGrows", "200", "5", "500", "-1", {}, {6, 1052, 0x035d906a72da9a04}},
        SpringRow{"ViscosityHuge", "200", "5", "500", "1e308", {}, {6, 2, 0x3ee6de580f66aa31}},
        SpringRow{"ViscosityOneAfterOverflow", "200", "1e308", "1e-10", "1", {}, {6, 1, 0x9a94f549fde27f09}},
        SpringRow{"HexStiffnessMinusOne", "200", "&HFFFF", "500", "0", {}, {0, 3000, 0x551eb16a944a65c7}},
        SpringRow{"HexMassMostNegative", "200", "5", "&H8000", "&H7FFF", {}, {6, 69, 0x63b4872f8a2e5185}},
        SpringRow{"PressFarRight", "200", "1e300", "1", "0", {5, kFar, 0}, {6, 2, 0x94be8a4440a96f04}},
        SpringRow{"PressFarLeftUndamped", "200", "5", "500", "0", {7, -kFar, 0}, {0, 3000, 0x9ed259af989e2faf}}),
    rowName<SpringRow>);

// ------------------------------------------------------------ rotation

struct RotationRow {
    const char* name;
    const char* stiffness;  // the box's value; the model keeps it negated
    const char* relax;
    Press pointer;  // the pointer moves there at the tick
    Outcome expected;
};

class RotationFaultPoint : public ::testing::TestWithParam<RotationRow> {};

TEST_P(RotationFaultPoint, StopsWhereTheFlagsStoppedIt)
{
    const RotationRow& r = GetParam();
    rotation::Model m;
    m.Reset();
    m.NegStiffness = -rt::Val(r.stiffness);
    m.Relax = rt::Val(r.relax);
    const Outcome got = run(
        3000, [&](int tick) { if (tick == r.pointer.tick) m.MovePointer(r.pointer.x, r.pointer.y); },
        [&] { m.Step(); },
        [&] {
            Fingerprint f;
            f.add({m.VelocityX, m.VelocityY, m.BallX, m.BallY});
            return f.value();
        });
    EXPECT_EQ(got, r.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, RotationFaultPoint,
    ::testing::Values(
        RotationRow{"Defaults", "0.02", "0.99", {3, 3000, 1500}, {0, 3000, 0xd4ac5a4b9134e8b6}},
        RotationRow{"RelaxAboveOneGrows", "0.02", "1.5", {3, 3000, 1500}, {6, 2120, 0xb6be34d9dcb4aa40}},
        RotationRow{"RelaxHuge", "0.02", "1e308", {}, {6, 1, 0x25936f5a3f437eb8}},
        RotationRow{"StiffnessHuge", "1e308", "0.99", {}, {6, 1, 0x25936f5a3f437eb8}},
        RotationRow{"StiffnessNegativeHuge", "-1e308", "1", {}, {6, 1, 0xbe1aadecc2a21538}},
        RotationRow{"OverflowTimesNoRelax", "1e308", "0", {}, {16, 1, 0x57e2018f09dc1f80}},
        RotationRow{"StiffnessSubnormal", "1e-320", "1", {2, 100, 100}, {0, 3000, 0x2a026de9f5cb7389}},
        RotationRow{"HexStiffness", "&HFFFF", "&H7FFF", {}, {6, 64, 0x769499ce64c5a9e4}},
        RotationRow{"PointerFarAway", "1e300", "0.5", {4, kFar, -kFar}, {6, 2, 0x13ffd9ca4e46337a}},
        RotationRow{"PointerFarAwayGentle", "0.02", "0.99", {4, -kFar, kFar}, {0, 3000, 0x98ca67ffd01269e5}}),
    rowName<RotationRow>);

// ------------------------------------------------------------ two balls

struct BallsRow {
    const char* name;
    const char* restLength;
    const char* resistance;
    const char* stiffness;
    const char* gravity;
    const char* mass1;
    const char* mass2;
    Press grab;  // Ball1 grabbed there at the tick
    Outcome expected;
};

class TwoBallsFaultPoint : public ::testing::TestWithParam<BallsRow> {};

TEST_P(TwoBallsFaultPoint, StopsWhereTheFlagsStoppedIt)
{
    const BallsRow& r = GetParam();
    two_balls::Model m;
    m.RestLength = rt::Val(r.restLength);
    m.Resistance = rt::Val(r.resistance);
    m.Stiffness = rt::Val(r.stiffness);
    m.Gravity = rt::Val(r.gravity);
    m.Ball1.Mass = rt::Val(r.mass1);
    m.Ball2.Mass = rt::Val(r.mass2);
    m.ResetBalls();
    const Outcome got = run(
        3000, [&](int tick) { if (tick == r.grab.tick) m.GrabBall1(r.grab.x, r.grab.y); },
        [&] { m.StepBalls(); },
        [&] {
            Fingerprint f;
            for (const two_balls::Ball& b : {m.Ball1, m.Ball2})
                f.add({b.X, b.Y, b.VelocityX, b.VelocityY, b.AccelX, b.AccelY});
            f.add({m.ForceX, m.ForceY});
            return f.value();
        });
    EXPECT_EQ(got, r.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, TwoBallsFaultPoint,
    ::testing::Values(
        BallsRow{"Defaults", "300", "0.02", "10", "0.98", "1500", "200", {}, {0, 3000, 0x4c32131200c06ecb}},
        BallsRow{"RestLengthZero", "0", "0.02", "10", "0.98", "1500", "200", {}, {16, 1, 0xe64811d8f78062e5}},
        BallsRow{"Mass1Zero", "300", "0.02", "10", "0.98", "0", "200", {}, {16, 1, 0x0187f1f406e6ed46}},
        BallsRow{"Mass2Zero", "300", "0.02", "10", "0.98", "1500", "0", {}, {16, 1, 0x9ab42055a844b406}},
        BallsRow{"BothMassesZero", "300", "0.02", "10", "0.98", "0", "0", {}, {16, 1, 0x0187f1f406e6ed46}},
        BallsRow{"Mass1Subnormal", "300", "0.02", "10", "0.98", "1e-320", "200", {4, 600, 900}, {6, 4, 0x5ac00f1637ddaffc}},
        BallsRow{"ResistanceNegative", "300", "-1", "10", "0.98", "1500", "200", {}, {6, 561, 0x7d66545b95b489a5}},
        BallsRow{"ResistanceHuge", "300", "1e308", "10", "0.98", "1500", "200", {}, {6, 2, 0x71be4a6643a60efa}},
        BallsRow{"GravityHuge", "300", "0.02", "10", "1e308", "1500", "200", {}, {0, 3000, 0x545cfeda76478bee}},
        BallsRow{"GravityNegativeHuge", "300", "0", "10", "-1e308", "1500", "200", {}, {6, 2, 0x515afdb879e70bf5}},
        BallsRow{"StiffnessHugeStretched", "300", "0.02", "1e308", "0.98", "1500", "200", {3, 9000, 2000}, {6, 3, 0x6d069fa60b44094a}},
        BallsRow{"RestLengthHuge", "1e308", "0.02", "10", "0.98", "1500", "200", {}, {6, 1, 0x0ff022b65fae53d6}},
        BallsRow{"RestLengthNegativeHuge", "-1.7e308", "0", "1", "0", "1", "1", {}, {6, 1, 0x1f8aa566b577bf89}},
        BallsRow{"GrabOntoBall2", "300", "0.02", "10", "0", "1500", "200", {1, 2880, 2160}, {16, 1, 0x4754d93efcfa6265}},
        BallsRow{"GrabFarAway", "300", "0", "1e300", "0.98", "1", "1", {2, kFar, -kFar}, {6, 2, 0xa595a8c1e409b3b2}},
        BallsRow{"HexValues", "&H7FFF", "&HFFFF", "&H8000", "&HFFFFFFFF", "&H10", "&HF", {}, {6, 1022, 0x9ed90b0b8442b30b}}),
    rowName<BallsRow>);

// ------------------------------------------------------------ rubber cord

struct CordRow {
    const char* name;
    const char* nodeCount;
    const char* segmentLength;
    const char* gravity;
    const char* viscosity;
    const char* stiffness;
    Press pull;
    Outcome expected;
    int ticks = 400;
};

class CordFaultPoint : public ::testing::TestWithParam<CordRow> {};

// Every relaxation path must stop at the same point: the plain loop for
// short cords, the wavefronts for the rows with 30 or more segments.
TEST_P(CordFaultPoint, StopsWhereTheFlagsStoppedItOnEveryPath)
{
    const CordRow& r = GetParam();
    for (RelaxPath path : {RelaxPath::Plain, RelaxPath::Portable, RelaxPath::Sse2, RelaxPath::Avx2}) {
        if (!relaxPathAvailable(path))
            continue;
        SCOPED_TRACE("path " + std::to_string(static_cast<int>(path)));
        ChainModel m;
        m.setRelaxPath(path);
        m.ResetChain(static_cast<std::int16_t>(rt::Val(r.nodeCount)), rt::Val(r.segmentLength),
                     rt::Val(r.gravity), rt::Val(r.viscosity), rt::Val(r.stiffness));
        const Outcome got = run(
            r.ticks, [&](int tick) { if (tick == r.pull.tick) m.PullChain(r.pull.x, r.pull.y); },
            [&] { m.StepChain(); },
            [&] {
                Fingerprint f;
                for (const ChainModel::Node& n : m.nodes())
                    f.add({n.X, n.Y, n.OldX, n.OldY, n.VX, n.VY});
                f.add({m.PullX(), m.PullY()});
                return f.value();
            });
        EXPECT_EQ(got, r.expected);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Faults, CordFaultPoint,
    ::testing::Values(
        CordRow{"Defaults", "100", "10", "0.98", "0.05", "0.5", {30, 900, 2400}, {0, 400, 0x07674d2b3358aa3c}},
        CordRow{"NoSegment", "0", "10", "1e308", "0.05", "0.5", {}, {0, 400, 0x2177d99010e487aa}},
        CordRow{"GravityHuge", "5", "10", "1e308", "0.05", "0.5", {}, {0, 400, 0xda850e89dc8b6605}},
        CordRow{"GravityHugeLong", "40", "10", "1e308", "0.05", "0.5", {}, {0, 400, 0x340693f147f4e7ca}},
        CordRow{"GravityNegativeHuge", "40", "10", "-1e308", "0", "0.5", {}, {6, 2, 0x3bedaec5ea490048}},
        CordRow{"GravityHugeViscosityOne", "40", "10", "1e308", "1", "0.5", {}, {0, 400, 0xc1c45ba0341ee6de}},
        CordRow{"GravityHugePulled", "40", "10", "1.5e308", "0", "1e308", {1, 600, 600}, {16, 1, 0x5c4d83b6dc5583a2}},
        CordRow{"GravityLargestFallOverflows", "5", "10", "1.7e308", "0", "0.5", {}, {6, 2, 0xd0456060dad3a4ff}},
        CordRow{"GravityLargestFallOverflowsLong", "40", "10", "1.7e308", "0", "0.5", {}, {6, 2, 0xb3b6f674c170a1c5}},
        CordRow{"ViscosityNegativeHuge", "30", "10", "0.98", "-1e308", "0.5", {}, {6, 1, 0xb4b238532d0948c4}},
        CordRow{"SegmentNegativeHugeStiffnessHuge", "30", "-1e308", "0.98", "0.05", "1e308", {}, {16, 1, 0xd74052e00334166d}},
        CordRow{"SegmentNegativeHugeStiffnessHugePulled", "30", "-1e308", "0", "0", "1e308", {1, 600, 600}, {16, 1, 0x9c9b28aeff78024d}},
        CordRow{"ViscosityNegativeGrows", "30", "10", "0.98", "-1", "0.5", {}, {0, 400, 0x19c0e6093c2e628d}},
        CordRow{"ViscosityHuge", "30", "10", "0.98", "1e308", "0.5", {}, {6, 1, 0x8f146262bb4292c4}},
        CordRow{"StiffnessHuge", "3", "10", "0.98", "0.05", "1e308", {}, {16, 2, 0x15b182a1e49d3a19}},
        CordRow{"StiffnessHugeLong", "60", "10", "0.98", "0.05", "1e308", {}, {16, 1, 0x8ac34d8b61b8b18e}},
        CordRow{"StiffnessNegativeHugeLong", "60", "10", "0.98", "0.05", "-1e308", {}, {16, 1, 0x8ac34d8b61b8b18e}},
        CordRow{"SegmentHuge", "30", "1e308", "0.98", "0.05", "0.5", {}, {16, 1, 0xb988065ad67c70ed}},
        CordRow{"SegmentNegativeHuge", "30", "-1e308", "0.98", "0.05", "-1e308", {}, {0, 400, 0x5fb1dfd48dcb6136}},
        CordRow{"SegmentSubnormal", "30", "1e-320", "0", "0", "1e-320", {}, {0, 400, 0xecc19c6e55b3dfe5}},
        CordRow{"SegmentZeroStiffnessHuge", "30", "0", "0", "0", "1e308", {}, {0, 400, 0xecc19c6e55b3dfe5}},
        CordRow{"PulledFarAway", "50", "10", "0.98", "0.05", "0.5", {3, kFar, kFar}, {0, 400, 0xa3214b671f9655ed}},
        CordRow{"PulledFarAwayStiff", "50", "10", "0.98", "0.05", "1e300", {3, -kFar, kFar}, {16, 1, 0x6661b0246b6fa6e2}},
        CordRow{"HexValues", "&H1F", "&HFFFF", "&H7FFF", "&HFFFE", "&H8000", {}, {0, 400, 0x6ed035327544a5b1}}),
    rowName<CordRow>);

}  // namespace
