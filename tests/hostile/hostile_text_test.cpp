// Hostile texts in every parameter box of every window. Whatever is typed,
// "変更" and the ticks, moves and presses that follow end either in a moving
// picture or in a run-time error with a known number, reported through the
// runtime with that window's timer off; never in a crash. Putting the default
// texts back and pressing "変更" then brings the window back to life.

#include "tests/support/typed_windows.h"

#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <ostream>
#include <set>
#include <string>
#include <vector>

namespace {

enum class Window { Vibration, Rotation, TwoBalls, RubberCord };
const char* const kWindowNames[] = {"Vibration", "Rotation", "TwoBalls", "RubberCord"};
constexpr int kBoxCounts[] = {5, 3, 7, 6};  // Text1 (the timer) to TextN

// Every error number the program may raise. Anything else reaching the
// reporter is a fault in itself.
const std::set<int> kKnownErrors = {6, 9, 11, 16, 380};

// A spot on every window's own surface, clear of all controls (pixels).
const QPoint kSurfacePoint(20, 100);

// What Val makes of a text, as far as the windows can tell. The texts that
// overflow in Val itself fail in "変更" whichever box holds them.
enum Reading { Zero, MinusZero, Largest, MinusOne, Octal511, Thousand, Half, Five, One, N123, Overflow };

struct TextCase {
    const char* name;
    QString text;
    bool typed;  // key by key rather than set: the few a user would type
    Reading reads;
};

const TextCase kTexts[] = {
    {"Empty", "", false, Zero},
    {"Blanks", "   ", false, Zero},
    {"Letters", "abc", true, Zero},
    {"MinusZero", "-0", false, MinusZero},
    {"Largest", "1e308", false, Largest},
    {"TooLarge", "1e309", false, Overflow},
    {"TooLargeNegative", "-1e309", false, Overflow},
    {"HexNoDigits", "&H", false, Zero},
    {"HexWord", "&HFFFF", true, MinusOne},
    {"HexLong", "&HFFFFFFFF", false, MinusOne},
    {"Octal", "&O777", false, Octal511},
    {"DExponent", "1d3", false, Thousand},
    {"DoubleMinus", "--5", true, Zero},
    {"PlusPoint", "+.5", true, Half},
    {"TrailingPoint", "5.", false, Five},
    {"DecimalComma", "1,5", true, One},
    {"FullWidthDigits", "１０", true, Zero},
    {"LongNumber", QString(100000, QLatin1Char('9')), false, Overflow},
    {"LongFraction", "0." + QString(99997, QLatin1Char('0')) + "1", false, Zero},
    {"LineFeedsAndTabs", "1\n2\t3", false, N123},
};

struct Expect {
    enum Kind {
        Runs,         // no error: the picture moves
        Silent,       // no error, but an interval of 0: no ticks at all
        AtChange,     // the error, raised by "変更" itself
        OnFirstTick,  // "変更" passes; the first tick raises the error
        OnLaterTick,  // "変更" passes; a later tick raises the error
    };
    Kind kind = Runs;
    int error = 0;
    // Non-zero when the first run on the default texts still fails once,
    // with this error, before "変更" brings the window back.
    int errorOnTheWayBack = 0;
};

// Short names for the table below: Runs, Silent, at "変更" (Change), on the
// First tick, on a Later tick, and the error number.
constexpr Expect R{Expect::Runs}, S{Expect::Silent};
constexpr Expect C6{Expect::AtChange, 6}, C9{Expect::AtChange, 9}, C380{Expect::AtChange, 380};
constexpr Expect F6{Expect::OnFirstTick, 6}, F11{Expect::OnFirstTick, 11}, F16{Expect::OnFirstTick, 16};
constexpr Expect L6{Expect::OnLaterTick, 6};

// The outcome of each reading (0, -0, 1e308, -1, 511, 1000, 0.5, 5, 1, 123;
// Overflow fails at "変更" in every box) in one box, the other boxes at their
// defaults, over `runOnce` below.
struct BoxRow {
    Window window;
    const char* box;
    Expect byReading[Overflow];
};

using enum Window;
const BoxRow kRows[] = {
    // Every timer box the same way: the rounded value goes to the Interval,
    // which takes 0 to 65 535 (0: no ticks); 1e308 does not fit in 32 bits.
    {Vibration, "Text1", {S, S, C6, C380, R, R, S, R, R, R}},
    // Rest length and stiffness: 1e308 overflows the first force; a
    // stiffness of -1 pushes the ball away, too slowly to overflow here.
    {Vibration, "Text2", {R, R, F6, R, R, R, R, R, R, R}},
    {Vibration, "Text3", {R, R, F6, R, R, R, R, R, R, R}},
    // Mass: 0 divides the first force by zero; a negative mass, or one that
    // makes stiffness / mass greater than 4, lets the swing grow until a
    // coordinate no longer fits in single precision.
    {Vibration, "Text4", {F11, F11, R, L6, R, R, L6, R, L6, R}},
    // Viscosity: the factor 1 - v multiplies every velocity; beyond -1 it
    // grows until the drawing overflows (2 per tick, v = -1, stays in range).
    {Vibration, "Text5", {R, R, F6, R, L6, L6, R, L6, R, L6}},
    {Rotation, "Text1", {S, S, C6, C380, R, R, S, R, R, R}},
    // Spring constant: an explicit step, stable only for small constants;
    // the mass runs away from the pointer and the drawing overflows.
    {Rotation, "Text2", {R, R, F6, L6, L6, L6, R, L6, R, L6}},
    // Relaxation: above 1 every swing grows.
    {Rotation, "Text3", {R, R, F6, R, L6, L6, R, L6, R, L6}},
    {TwoBalls, "Text1", {S, S, C6, C380, R, R, S, R, R, R}},
    // Spring length 0 puts both centres on one point: 0 / 0. 1e308
    // overflows the first spring force.
    {TwoBalls, "Text2", {F16, F16, F6, R, R, R, R, R, R, R}},
    // Resistance: |1 - r| above 1 makes the motion grow; 1 stops it dead.
    {TwoBalls, "Text3", {R, R, F6, L6, L6, L6, R, L6, R, L6}},
    // Masses: 0 gives 0 / 0 on the first tick whatever the force; a small
    // or negative mass makes the spring run away.
    {TwoBalls, "Text4", {F16, F16, R, L6, R, R, L6, R, L6, R}},
    {TwoBalls, "Text5", {F16, F16, R, L6, R, R, L6, R, L6, R}},
    // Gravity 1e308 leaves the bouncing balls near the top of the range, and
    // "変更" keeps velocities: the run on the default texts fails once more,
    // which stops the balls, and the next "変更" starts from rest.
    {TwoBalls, "Text6", {R, R, {Expect::Runs, 0, 6}, R, R, R, R, R, R, R}},
    {TwoBalls, "Text7", {R, R, L6, R, R, R, R, R, R, R}},
    {RubberCord, "Text1", {S, S, C6, C380, R, R, S, R, R, R}},
    // Node count: rounded into 16 bits (0.5 to 0); -1 leaves no node 0.
    {RubberCord, "Text2", {R, R, C6, C9, R, R, R, R, R, R}},
    // Segment length and spring constant 1e308: the first correction is
    // inf - inf. Gravity and viscosity 1e308 overflow the first step. The
    // walls hold every other cord in range.
    {RubberCord, "Text3", {R, R, F16, R, R, R, R, R, R, R}},
    {RubberCord, "Text4", {R, R, F6, R, R, R, R, R, R, R}},
    {RubberCord, "Text5", {R, R, F6, R, R, R, R, R, R, R}},
    {RubberCord, "Text6", {R, R, F16, R, R, R, R, R, R, R}},
};

struct Observation {
    std::vector<int> atChange;  // errors reported by the click on "変更"
    bool tickingAfterChange = false, enabledAfterChange = false;
    std::int32_t intervalAfterChange = -1;
    int firstTickError = 0;  // the first error raised by a tick
    int firstErrorTick = 0;  // its tick, counted from 1; 0 when none
    bool drew = false;       // some tick left a picture
    std::vector<int> all;    // every error, in order
};

template <typename F>
std::unique_ptr<rt::Form> make(rt::Timer*& timer)
{
    auto form = std::make_unique<F>();
    timer = &form->Timer1;
    return form;
}

// The boxes that become whole numbers, at the edges of what they take, and
// the value they then hold: the timer's Interval (0 to 65 535, rounded from
// a 32-bit integer) and the rubber cord's node count (16 bits; negative
// leaves no node 0, a refused count the cord as it was).
struct EdgeCase {
    const char* name;
    Window window;
    const char* box;
    const char* text;
    Expect expect;
    int value;  // the Interval or node count that "変更" leaves
    int ticksPerPhase = 3;
};

const EdgeCase kEdges[] = {
    {"VibrationTimerLargest", Vibration, "Text1", "65535", R, 65535},
    {"VibrationTimerTieUpOutOfRange", Vibration, "Text1", "65535.5", C380, 10},
    {"RotationTimerJustAbove", Rotation, "Text1", "65536", C380, 10},
    {"RotationTimerTieToEvenDown", Rotation, "Text1", "10.5", R, 10},
    {"TwoBallsTimerTieToEvenUp", TwoBalls, "Text1", "11.5", R, 12},
    {"TwoBallsTimerLargestLong", TwoBalls, "Text1", "2147483647", C380, 10},
    {"TwoBallsTimerBeyondLong", TwoBalls, "Text1", "2147483648", C6, 10},
    {"RubberCordTimerSmallestLong", RubberCord, "Text1", "-2147483648", C380, 10},
    {"RubberCordTimerBelowLong", RubberCord, "Text1", "-2147483649", C6, 10},
    {"RubberCordTimerMinusHalf", RubberCord, "Text1", "-0.5", S, 0},
    {"RubberCordTimerBlanksInside", RubberCord, "Text1", "1\n2\t3", R, 123},
    // The longest cord there is: a tick costs milliseconds, so few.
    {"RubberCordLongestCord", RubberCord, "Text2", "32767", R, 32767, 1},
    {"RubberCordCountTieUpOutOfRange", RubberCord, "Text2", "32767.5", C6, 100},
    {"RubberCordCountJustAbove", RubberCord, "Text2", "32768", C6, 100},
    {"RubberCordCountSmallest", RubberCord, "Text2", "-32768", C9, -32768},
    {"RubberCordCountBelow", RubberCord, "Text2", "-32769", C6, 100},
    {"RubberCordCountMinusHalf", RubberCord, "Text2", "-0.5", R, 0},
    {"RubberCordCountTieToEvenUp", RubberCord, "Text2", "1.5", R, 2},
};

struct HostileCase {
    std::string name;
    Window window;
    const char* box;
    QString text;
    bool typed;
    Expect expect;
    std::optional<int> value{};  // the Interval or node count "変更" must leave
    int ticksPerPhase = 100;
};

void PrintTo(const HostileCase& c, std::ostream* os) { *os << c.name; }

std::vector<HostileCase> everyCase()
{
    std::vector<HostileCase> cases;
    for (const BoxRow& row : kRows)
        for (const TextCase& t : kTexts)
            cases.push_back({std::string(kWindowNames[int(row.window)]) + '_' + row.box + '_' + t.name,
                             row.window, row.box, t.text, t.typed,
                             t.reads == Overflow ? C6 : row.byReading[t.reads]});
    for (const EdgeCase& e : kEdges)
        cases.push_back({e.name, e.window, e.box, e.text, false, e.expect, e.value, e.ticksPerPhase});
    return cases;
}

// One window, shown, with every error it reports recorded.
class HostileText : public ::testing::TestWithParam<HostileCase> {
protected:
    void open(Window window)
    {
        rt::setErrorReporter([this](rt::Form& form, const rt::RuntimeError& error) {
            m_errors.push_back(error.code());
            // The runtime has already stopped the window's timers.
            EXPECT_FALSE(m_timer->isTicking()) << "error " << error.code();
            EXPECT_EQ(&form, m_form.get());
        });
        switch (window) {
        case Vibration: m_form = make<frmVibration>(m_timer); break;
        case Rotation: m_form = make<frmRotaion>(m_timer); break;
        case TwoBalls: m_form = make<frm2Bolls>(m_timer); break;
        case RubberCord: m_form = make<frmElasticCode>(m_timer); break;
        }
        m_form->Show();
        for (int i = 1; i <= kBoxCounts[static_cast<int>(window)]; ++i)
            m_defaults.push_back(box(i).text());
    }
    void TearDown() override { rt::resetErrorReporter(); }

    QLineEdit& box(int i) { return m_form->textBox(("Text" + std::to_string(i)).c_str()); }

    void enter(const char* name, const QString& text, bool typed)
    {
        QLineEdit& edit = m_form->textBox(name);
        if (!typed) {
            edit.setText(text);
            return;
        }
        edit.clear();
        edit.setFocus();
        for (const QChar c : text) {
            if (c.unicode() < 0x80)
                QTest::keyClick(&edit, c.toLatin1());
            else  // what a keyboard layout with full-width digits sends
                QTest::sendKeyEvent(QTest::Click, &edit, Qt::Key_unknown, QString(c), Qt::NoModifier);
        }
        EXPECT_EQ(edit.text(), text) << "the keys did not all reach the box";
    }

    void clickChange() { QTest::mouseClick(&m_form->button("Command1"), Qt::LeftButton); }

    // A real tick only comes while the timer runs; false when none came.
    bool tick() { return m_timer->isTicking() && (m_timer->fire(), true); }

    // The hostile run: "変更", ticks, a press, ticks, with the pointer moving
    // over the surface in between.
    Observation runOnce(int ticksPerPhase)
    {
        Observation seen;
        QTest::mouseMove(m_form.get(), kSurfacePoint);
        clickChange();
        seen.atChange = m_errors;
        seen.tickingAfterChange = m_timer->isTicking();
        seen.enabledAfterChange = m_timer->Enabled();
        seen.intervalAfterChange = m_timer->Interval();
        int count = 0;
        auto ticks = [&] {
            for (int i = 0; i < ticksPerPhase && tick(); ++i) {
                ++count;
                seen.drew = seen.drew || !m_form->displayList().empty();
                if (seen.firstErrorTick == 0 && m_errors.size() > seen.atChange.size()) {
                    seen.firstErrorTick = count;
                    seen.firstTickError = m_errors.back();
                }
            }
            // The last picture of a run that ran away holds coordinates near
            // the top of the single range: it must still paint.
            EXPECT_EQ(m_form->grab().toImage().size(), m_form->size());
        };
        ticks();
        QTest::mouseMove(m_form.get(), kSurfacePoint + QPoint(7, 5));
        QTest::mousePress(m_form.get(), Qt::LeftButton, {}, kSurfacePoint);
        QTest::mouseRelease(m_form.get(), Qt::LeftButton, {}, kSurfacePoint);
        ticks();
        seen.all = m_errors;
        return seen;
    }

    static void check(const Observation& seen, const Expect& expect)
    {
        for (const int error : seen.all)
            EXPECT_TRUE(kKnownErrors.contains(error)) << "unknown error number " << error;
        if (expect.kind == Expect::Runs || expect.kind == Expect::Silent) {
            EXPECT_TRUE(seen.all.empty()) << "error " << seen.all.front();
        }
        EXPECT_EQ(seen.tickingAfterChange, expect.kind != Expect::Silent && expect.kind != Expect::AtChange);
        switch (expect.kind) {
        case Expect::Runs: EXPECT_TRUE(seen.drew); break;
        case Expect::Silent:
            EXPECT_EQ(seen.intervalAfterChange, 0);
            EXPECT_TRUE(seen.enabledAfterChange);
            EXPECT_FALSE(seen.drew);
            break;
        case Expect::AtChange:
            EXPECT_EQ(seen.atChange, std::vector<int>{expect.error});
            // A press may read the same box again (the two-ball timer box).
            for (const int error : seen.all)
                EXPECT_EQ(error, expect.error);
            break;
        case Expect::OnFirstTick:
        case Expect::OnLaterTick:
            EXPECT_TRUE(seen.atChange.empty()) << "error " << seen.atChange.front() << " at 変更";
            EXPECT_EQ(seen.firstTickError, expect.error);
            if (expect.kind == Expect::OnFirstTick)
                EXPECT_EQ(seen.firstErrorTick, 1);
            else
                EXPECT_GT(seen.firstErrorTick, 1);
            break;
        }
    }

    // The way back: the default texts, "変更", and the picture moves again.
    void recover(int errorOnTheWayBack)
    {
        for (std::size_t i = 0; i < m_defaults.size(); ++i)
            box(static_cast<int>(i) + 1).setText(m_defaults[i]);
        if (errorOnTheWayBack != 0) {
            const std::size_t before = m_errors.size();
            clickChange();
            for (int i = 0; i < 5 && tick(); ++i) {
            }
            ASSERT_EQ(m_errors.size(), before + 1);
            EXPECT_EQ(m_errors.back(), errorOnTheWayBack);
        }
        const std::size_t before = m_errors.size();
        clickChange();
        EXPECT_TRUE(m_timer->isTicking()) << "the default texts did not start the timer";
        EXPECT_EQ(m_timer->Interval(), 10);
        std::vector<rt::DrawOp> previous;
        for (int i = 0; i < 5; ++i) {
            ASSERT_TRUE(tick()) << "the timer stopped on tick " << i + 1 << " after recovery";
            EXPECT_FALSE(m_form->displayList().empty());
            EXPECT_NE(m_form->displayList(), previous) << "the picture stood still";
            previous = m_form->displayList();
        }
        EXPECT_EQ(m_errors.size(), before) << "error " << m_errors.back() << " after recovery";
        EXPECT_TRUE(m_form->isVisible());
        EXPECT_TRUE(m_form->isLoaded());
    }

    std::unique_ptr<rt::Form> m_form;
    rt::Timer* m_timer = nullptr;
    std::vector<QString> m_defaults;
    std::vector<int> m_errors;
};

TEST_P(HostileText, EndsInAPictureOrAKnownErrorAndRecovers)
{
    const HostileCase& c = GetParam();
    open(c.window);
    enter(c.box, c.text, c.typed);
    // 32767 characters at most (the box's own limit), and Val reads them all.
    EXPECT_LE(m_form->textBox(c.box).text().size(), 32767);
    const Observation seen = runOnce(c.ticksPerPhase);
    SCOPED_TRACE("errors at 変更 " + ::testing::PrintToString(seen.atChange) + ", all "
                 + ::testing::PrintToString(seen.all));
    check(seen, c.expect);
    if (c.value && c.box == std::string("Text1")) {
        EXPECT_EQ(seen.intervalAfterChange, *c.value);
    } else if (c.value) {
        const auto& window = static_cast<const frmElasticCode&>(*m_form);
        EXPECT_EQ(window.Chain.NodeCount(), *c.value);
        EXPECT_EQ(window.Chain.nodes().size(), *c.value < 0 ? 0u : std::size_t(*c.value) + 1);
    }
    recover(c.expect.errorOnTheWayBack);
}

INSTANTIATE_TEST_SUITE_P(EveryBox, HostileText, ::testing::ValuesIn(everyCase()),
                         [](const auto& info) { return info.param.name; });

}  // namespace
