// Hostile texts in every parameter box of every window. Whatever is typed,
// "変更" and the ticks, moves and presses that follow end either in a moving
// picture or in a run-time error with a known number, reported through the
// runtime with that window's timer off; never in a crash. Putting the default
// texts back and pressing "変更" then brings the window back to life.

#include "frm_elastic_code.h"
#include "frm_rotaion.h"
#include "frm_two_bolls.h"
#include "frm_vibration.h"

#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <ostream>
#include <set>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace {

// ---------------------------------------------------------------- windows

enum class Window { Vibration, Rotation, TwoBalls, RubberCord };

const char* nameOf(Window window)
{
    switch (window) {
    case Window::Vibration: return "Vibration";
    case Window::Rotation: return "Rotation";
    case Window::TwoBalls: return "TwoBalls";
    case Window::RubberCord: return "RubberCord";
    }
    return "?";
}

// A window under test, whichever of the four it is.
struct Subject {
    std::unique_ptr<rt::Form> form;
    rt::Timer* timer = nullptr;
};

template <typename Form>
Subject make()
{
    auto form = std::make_unique<Form>();
    Subject subject;
    subject.timer = &form->Timer1;
    subject.form = std::move(form);
    return subject;
}

Subject open(Window window)
{
    Subject subject;
    switch (window) {
    case Window::Vibration: subject = make<frmVibration>(); break;
    case Window::Rotation: subject = make<frmRotaion>(); break;
    case Window::TwoBalls: subject = make<frm2Bolls>(); break;
    case Window::RubberCord: subject = make<frmElasticCode>(); break;
    }
    subject.form->Show();
    return subject;
}

std::vector<const char*> boxesOf(Window window)
{
    switch (window) {
    case Window::Vibration: return {"Text1", "Text2", "Text3", "Text4", "Text5"};
    case Window::Rotation: return {"Text1", "Text2", "Text3"};
    case Window::TwoBalls: return {"Text1", "Text2", "Text3", "Text4", "Text5", "Text6", "Text7"};
    case Window::RubberCord: return {"Text1", "Text2", "Text3", "Text4", "Text5", "Text6"};
    }
    return {};
}

// Every error number the program may raise. Anything else reaching the
// reporter is a fault in itself.
const std::set<int> kKnownErrors = {6, 9, 11, 16, 380};

// A spot on every window's own surface, clear of all controls (pixels):
// 300 twips across, 1500 down.
const QPoint kSurfacePoint(20, 100);

// ---------------------------------------------------------------- texts

enum class Text {
    Empty,
    Blanks,
    Letters,
    MinusZero,
    Largest,
    TooLarge,
    TooLargeNegative,
    HexNoDigits,
    HexWord,
    HexLong,
    Octal,
    DExponent,
    DoubleMinus,
    PlusPoint,
    TrailingPoint,
    DecimalComma,
    FullWidthDigits,
    LongNumber,
    LongFraction,
    LineFeedsAndTabs,
};

struct TextCase {
    Text id;
    const char* name;
    // Typed key by key rather than set: the few a user would type.
    bool typed;
};

const TextCase kTexts[] = {
    {Text::Empty, "Empty", false},
    {Text::Blanks, "Blanks", false},
    {Text::Letters, "Letters", true},
    {Text::MinusZero, "MinusZero", false},
    {Text::Largest, "Largest", false},
    {Text::TooLarge, "TooLarge", false},
    {Text::TooLargeNegative, "TooLargeNegative", false},
    {Text::HexNoDigits, "HexNoDigits", false},
    {Text::HexWord, "HexWord", true},
    {Text::HexLong, "HexLong", false},
    {Text::Octal, "Octal", false},
    {Text::DExponent, "DExponent", false},
    {Text::DoubleMinus, "DoubleMinus", true},
    {Text::PlusPoint, "PlusPoint", true},
    {Text::TrailingPoint, "TrailingPoint", false},
    {Text::DecimalComma, "DecimalComma", true},
    {Text::FullWidthDigits, "FullWidthDigits", true},
    {Text::LongNumber, "LongNumber", false},
    {Text::LongFraction, "LongFraction", false},
    {Text::LineFeedsAndTabs, "LineFeedsAndTabs", false},
};

QString textOf(Text id)
{
    switch (id) {
    case Text::Empty: return {};
    case Text::Blanks: return QStringLiteral("   ");
    case Text::Letters: return QStringLiteral("abc");
    case Text::MinusZero: return QStringLiteral("-0");
    case Text::Largest: return QStringLiteral("1e308");
    case Text::TooLarge: return QStringLiteral("1e309");
    case Text::TooLargeNegative: return QStringLiteral("-1e309");
    case Text::HexNoDigits: return QStringLiteral("&H");
    case Text::HexWord: return QStringLiteral("&HFFFF");
    case Text::HexLong: return QStringLiteral("&HFFFFFFFF");
    case Text::Octal: return QStringLiteral("&O777");
    case Text::DExponent: return QStringLiteral("1d3");
    case Text::DoubleMinus: return QStringLiteral("--5");
    case Text::PlusPoint: return QStringLiteral("+.5");
    case Text::TrailingPoint: return QStringLiteral("5.");
    case Text::DecimalComma: return QStringLiteral("1,5");
    case Text::FullWidthDigits: return QStringLiteral("１０");
    case Text::LongNumber: return QString(100000, QLatin1Char('9'));
    case Text::LongFraction:
        return QStringLiteral("0.") + QString(99997, QLatin1Char('0')) + QLatin1Char('1');
    case Text::LineFeedsAndTabs: return QStringLiteral("1\n2\t3");
    }
    return {};
}

// What Val makes of each text, as far as the windows can tell: the texts
// that overflow in Val itself fail in "変更" whichever box holds them.
enum class Reads {
    Zero, MinusZero, Largest, Overflow, MinusOne, Octal511, Thousand, Half, Five, One, OneTwoThree
};

Reads readsAs(Text id)
{
    switch (id) {
    case Text::Empty:
    case Text::Blanks:
    case Text::Letters:
    case Text::HexNoDigits:
    case Text::DoubleMinus:
    case Text::FullWidthDigits:
    case Text::LongFraction: return Reads::Zero;
    case Text::MinusZero: return Reads::MinusZero;
    case Text::Largest: return Reads::Largest;
    case Text::TooLarge:
    case Text::TooLargeNegative:
    case Text::LongNumber: return Reads::Overflow;
    case Text::HexWord:
    case Text::HexLong: return Reads::MinusOne;
    case Text::Octal: return Reads::Octal511;
    case Text::DExponent: return Reads::Thousand;
    case Text::PlusPoint: return Reads::Half;
    case Text::TrailingPoint: return Reads::Five;
    case Text::DecimalComma: return Reads::One;
    case Text::LineFeedsAndTabs: return Reads::OneTwoThree;
    }
    return Reads::Zero;
}

// ---------------------------------------------------------------- outcomes

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

constexpr Expect runs{Expect::Runs};
constexpr Expect silent{Expect::Silent};
constexpr Expect atChange(int error) { return {Expect::AtChange, error}; }
constexpr Expect firstTick(int error) { return {Expect::OnFirstTick, error}; }
constexpr Expect laterTick(int error) { return {Expect::OnLaterTick, error}; }

// The outcome of each reading in one box, the other boxes at their
// defaults, over the run of `runOnce` below.
struct BoxRow {
    Window window;
    const char* box;
    Expect zero, minusZero, largest, minusOne, octal511, thousand, half, five, one, oneTwoThree;
};

// Every timer box the same way: the rounded value goes to the Interval,
// which takes 0 to 65 535 (0: no ticks); 1e308 does not fit in 32 bits.
constexpr BoxRow timerRow(Window window)
{
    return {window, "Text1", silent, silent, atChange(6), atChange(380), runs, runs, silent, runs, runs,
            runs};
}

const BoxRow kRows[] = {
    timerRow(Window::Vibration),
    // Rest length: 1e308 overflows the first force.
    {Window::Vibration, "Text2", runs, runs, firstTick(6), runs, runs, runs, runs, runs, runs, runs},
    // Stiffness: 1e308 overflows the first force; -1 pushes the ball away
    // from its rest length, too slowly to overflow within the run.
    {Window::Vibration, "Text3", runs, runs, firstTick(6), runs, runs, runs, runs, runs, runs, runs},
    // Mass: 0 divides the first force by zero; a negative mass, or one that
    // makes stiffness / mass greater than 4, lets the swing grow until a
    // coordinate no longer fits in single precision.
    {Window::Vibration, "Text4", firstTick(11), firstTick(11), runs, laterTick(6), runs, runs,
     laterTick(6), runs, laterTick(6), runs},
    // Viscosity: the factor 1 - v multiplies every velocity; beyond -1 it
    // grows until the drawing overflows (2 per tick, v = -1, stays in range).
    {Window::Vibration, "Text5", runs, runs, firstTick(6), runs, laterTick(6), laterTick(6), runs,
     laterTick(6), runs, laterTick(6)},

    timerRow(Window::Rotation),
    // Spring constant: an explicit step, stable only for small constants;
    // the mass runs away from the pointer and the drawing overflows.
    {Window::Rotation, "Text2", runs, runs, firstTick(6), laterTick(6), laterTick(6), laterTick(6),
     runs, laterTick(6), runs, laterTick(6)},
    // Relaxation: above 1 every swing grows.
    {Window::Rotation, "Text3", runs, runs, firstTick(6), runs, laterTick(6), laterTick(6), runs,
     laterTick(6), runs, laterTick(6)},

    timerRow(Window::TwoBalls),
    // Spring length 0 puts both centres on one point: 0 / 0. 1e308
    // overflows the first spring force.
    {Window::TwoBalls, "Text2", firstTick(16), firstTick(16), firstTick(6), runs, runs, runs, runs, runs,
     runs, runs},
    // Resistance: |1 - r| above 1 makes the motion grow; 1 stops it dead.
    {Window::TwoBalls, "Text3", runs, runs, firstTick(6), laterTick(6), laterTick(6), laterTick(6), runs,
     laterTick(6), runs, laterTick(6)},
    // Masses: 0 gives 0 / 0 on the first tick whatever the force; a small
    // or negative mass makes the spring run away.
    {Window::TwoBalls, "Text4", firstTick(16), firstTick(16), runs, laterTick(6), runs, runs,
     laterTick(6), runs, laterTick(6), runs},
    {Window::TwoBalls, "Text5", firstTick(16), firstTick(16), runs, laterTick(6), runs, runs,
     laterTick(6), runs, laterTick(6), runs},
    // Gravity 1e308: the balls bounce on their floors with velocities near
    // the top of the range. "変更" keeps the velocities, so the run on the
    // default texts throws the balls out of single-precision range at once;
    // that error stops them, and the next "変更" starts from rest.
    {Window::TwoBalls, "Text6", runs, runs, {Expect::Runs, 0, 6}, runs, runs, runs, runs, runs, runs,
     runs},
    {Window::TwoBalls, "Text7", runs, runs, laterTick(6), runs, runs, runs, runs, runs, runs, runs},

    timerRow(Window::RubberCord),
    // Node count: rounded into 16 bits (0.5 to 0); -1 leaves no node 0.
    {Window::RubberCord, "Text2", runs, runs, atChange(6), atChange(9), runs, runs, runs, runs, runs,
     runs},
    // Segment length and spring constant 1e308: the first correction is
    // inf - inf. Gravity and viscosity 1e308 overflow the first step. The
    // walls hold every other cord in range.
    {Window::RubberCord, "Text3", runs, runs, firstTick(16), runs, runs, runs, runs, runs, runs, runs},
    {Window::RubberCord, "Text4", runs, runs, firstTick(6), runs, runs, runs, runs, runs, runs, runs},
    {Window::RubberCord, "Text5", runs, runs, firstTick(6), runs, runs, runs, runs, runs, runs, runs},
    {Window::RubberCord, "Text6", runs, runs, firstTick(16), runs, runs, runs, runs, runs, runs, runs},
};

Expect expectFor(const BoxRow& row, Text text)
{
    switch (readsAs(text)) {
    case Reads::Zero: return row.zero;
    case Reads::MinusZero: return row.minusZero;
    case Reads::Largest: return row.largest;
    case Reads::Overflow: return atChange(6);
    case Reads::MinusOne: return row.minusOne;
    case Reads::Octal511: return row.octal511;
    case Reads::Thousand: return row.thousand;
    case Reads::Half: return row.half;
    case Reads::Five: return row.five;
    case Reads::One: return row.one;
    case Reads::OneTwoThree: return row.oneTwoThree;
    }
    return runs;
}

// ---------------------------------------------------------------- the run

constexpr int kTicksPerPhase = 100;  // before the press, and again after it

struct Observation {
    std::vector<int> atChange;  // errors reported by the click on "変更"
    bool tickingAfterChange = false;
    bool enabledAfterChange = false;
    std::int32_t intervalAfterChange = -1;
    int firstTickError = 0;      // the first error raised by a tick
    int firstErrorTick = 0;      // its tick, counted from 1; 0 when none
    bool drew = false;           // some tick left a picture
    std::vector<int> all;        // every error, in order
};

class Harness {
public:
    explicit Harness(Window window) : m_window(window)
    {
        rt::setErrorReporter([this](rt::Form& form, const rt::RuntimeError& error) {
            m_errors.push_back(error.code());
            // The runtime has already stopped the window's timers.
            EXPECT_FALSE(m_subject.timer->isTicking()) << "error " << error.code();
            EXPECT_EQ(&form, m_subject.form.get());
        });
        m_subject = open(window);
        for (const char* box : boxesOf(window))
            m_defaults.push_back(m_subject.form->textBox(box).text());
    }
    ~Harness() { rt::resetErrorReporter(); }
    Harness(const Harness&) = delete;
    Harness& operator=(const Harness&) = delete;

    rt::Form& form() { return *m_subject.form; }
    rt::Timer& timer() { return *m_subject.timer; }
    const std::vector<int>& errors() const { return m_errors; }

    void enter(const char* box, const QString& text, bool typed)
    {
        QLineEdit& edit = form().textBox(box);
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
                QTest::sendKeyEvent(QTest::Click, &edit, Qt::Key_unknown, QString(c),
                                    Qt::NoModifier);
        }
        EXPECT_EQ(edit.text(), text) << "the keys did not all reach the box";
    }

    void clickChange() { QTest::mouseClick(&form().button("Command1"), Qt::LeftButton); }

    // A real tick only comes while the timer runs; returns false when none
    // came.
    bool tick()
    {
        if (!timer().isTicking())
            return false;
        timer().fire();
        return true;
    }

    // The last picture of a run that ran away holds coordinates near the
    // top of the single range: it must still paint.
    void paint()
    {
        const QImage image = form().grab().toImage();
        EXPECT_EQ(image.size(), form().size());
    }

    // The hostile run: "変更", ticks, a press, ticks, with the pointer moving
    // over the surface in between.
    Observation runOnce(int ticksPerPhase)
    {
        Observation seen;
        QTest::mouseMove(&form(), kSurfacePoint);
        clickChange();
        seen.atChange = m_errors;
        seen.tickingAfterChange = timer().isTicking();
        seen.enabledAfterChange = timer().Enabled();
        seen.intervalAfterChange = timer().Interval();
        int count = 0;
        auto ticks = [&] {
            for (int i = 0; i < ticksPerPhase && tick(); ++i) {
                ++count;
                if (!form().displayList().empty())
                    seen.drew = true;
                if (seen.firstErrorTick == 0 && m_errors.size() > seen.atChange.size()) {
                    seen.firstErrorTick = count;
                    seen.firstTickError = m_errors.back();
                }
            }
        };
        ticks();
        paint();
        QTest::mouseMove(&form(), kSurfacePoint + QPoint(7, 5));
        QTest::mousePress(&form(), Qt::LeftButton, {}, kSurfacePoint);
        QTest::mouseRelease(&form(), Qt::LeftButton, {}, kSurfacePoint);
        ticks();
        paint();
        seen.all = m_errors;
        return seen;
    }

    // The way back: the default texts, "変更", and the picture moves again.
    void recover(int errorOnTheWayBack)
    {
        const std::vector<const char*> boxes = boxesOf(m_window);
        for (std::size_t i = 0; i < boxes.size(); ++i)
            form().textBox(boxes[i]).setText(m_defaults[i]);
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
        EXPECT_TRUE(timer().isTicking()) << "the default texts did not start the timer";
        EXPECT_EQ(timer().Interval(), 10);
        std::vector<rt::DrawOp> previous;
        for (int i = 0; i < 5; ++i) {
            ASSERT_TRUE(tick()) << "the timer stopped on tick " << i + 1 << " after recovery";
            EXPECT_FALSE(form().displayList().empty());
            EXPECT_NE(form().displayList(), previous) << "the picture stood still";
            previous = form().displayList();
        }
        EXPECT_EQ(m_errors.size(), before) << "error " << m_errors.back() << " after recovery";
        EXPECT_TRUE(form().isVisible());
        EXPECT_TRUE(form().isLoaded());
    }

private:
    Window m_window;
    Subject m_subject;
    std::vector<QString> m_defaults;
    std::vector<int> m_errors;
};

void check(const Observation& seen, const Expect& expect)
{
    for (const int error : seen.all)
        EXPECT_TRUE(kKnownErrors.contains(error)) << "unknown error number " << error;
    switch (expect.kind) {
    case Expect::Runs:
        EXPECT_TRUE(seen.all.empty()) << "error " << seen.all.front();
        EXPECT_TRUE(seen.tickingAfterChange);
        EXPECT_TRUE(seen.drew);
        break;
    case Expect::Silent:
        EXPECT_TRUE(seen.all.empty()) << "error " << seen.all.front();
        EXPECT_FALSE(seen.tickingAfterChange);
        EXPECT_EQ(seen.intervalAfterChange, 0);
        EXPECT_TRUE(seen.enabledAfterChange);
        EXPECT_FALSE(seen.drew);
        break;
    case Expect::AtChange:
        EXPECT_EQ(seen.atChange, std::vector<int>{expect.error});
        EXPECT_FALSE(seen.tickingAfterChange);
        // A press may read the same box again (the two-ball timer box).
        for (const int error : seen.all)
            EXPECT_EQ(error, expect.error);
        break;
    case Expect::OnFirstTick:
    case Expect::OnLaterTick:
        EXPECT_TRUE(seen.atChange.empty()) << "error " << seen.atChange.front() << " at 変更";
        EXPECT_TRUE(seen.tickingAfterChange);
        EXPECT_EQ(seen.firstTickError, expect.error);
        if (expect.kind == Expect::OnFirstTick)
            EXPECT_EQ(seen.firstErrorTick, 1);
        else
            EXPECT_GT(seen.firstErrorTick, 1);
        break;
    }
}

std::string describe(const Observation& seen)
{
    std::ostringstream s;
    s << "at 変更:";
    for (const int e : seen.atChange)
        s << ' ' << e;
    s << (seen.tickingAfterChange ? ", ticking" : ", no ticks") << ", first tick error "
      << seen.firstTickError << " on tick " << seen.firstErrorTick
      << (seen.drew ? ", drew" : ", no picture") << ", all errors:";
    for (const int e : seen.all)
        s << ' ' << e;
    return s.str();
}

// ---------------------------------------------------------------- every box, every text

struct HostileCase {
    Window window;
    const char* box;
    TextCase text;
    Expect expect;
};

void PrintTo(const HostileCase& c, std::ostream* os)
{
    *os << nameOf(c.window) << " " << c.box << " " << c.text.name;
}

std::vector<HostileCase> everyBoxAndText()
{
    std::vector<HostileCase> cases;
    for (const BoxRow& row : kRows)
        for (const TextCase& text : kTexts)
            cases.push_back({row.window, row.box, text, expectFor(row, text.id)});
    return cases;
}

class HostileText : public ::testing::TestWithParam<HostileCase> {};

TEST_P(HostileText, EndsInAPictureOrAKnownErrorAndRecovers)
{
    const HostileCase& c = GetParam();
    Harness harness(c.window);
    harness.enter(c.box, textOf(c.text.id), c.text.typed);
    // 32767 characters at most (the box's own limit), and Val reads them all.
    EXPECT_LE(harness.form().textBox(c.box).text().size(), 32767);
    const Observation seen = harness.runOnce(kTicksPerPhase);
    SCOPED_TRACE(describe(seen));
    check(seen, c.expect);
    harness.recover(c.expect.errorOnTheWayBack);
}

INSTANTIATE_TEST_SUITE_P(EveryBox, HostileText, ::testing::ValuesIn(everyBoxAndText()),
                         [](const ::testing::TestParamInfo<HostileCase>& info) {
                             const HostileCase& c = info.param;
                             std::ostringstream name;
                             name << nameOf(c.window) << '_' << c.box << '_' << c.text.name;
                             return name.str();
                         });

// ---------------------------------------------------------------- whole-number boxes

// The boxes that become whole numbers, at the edges of what they take: the
// timer's Interval (0 to 65 535, rounded from a 32-bit integer) and the
// rubber cord's node count (16 bits; negative leaves no node 0).
struct EdgeCase {
    const char* name;
    Window window;
    const char* box;
    const char* text;
    Expect expect;
    int value;  // the Interval or node count that "変更" leaves
    int ticksPerPhase;
};

void PrintTo(const EdgeCase& c, std::ostream* os) { *os << c.name; }

const EdgeCase kEdges[] = {
    {"VibrationTimerLargest", Window::Vibration, "Text1", "65535", runs, 65535, 3},
    {"VibrationTimerTieUpOutOfRange", Window::Vibration, "Text1", "65535.5", atChange(380), 10, 3},
    {"RotationTimerJustAbove", Window::Rotation, "Text1", "65536", atChange(380), 10, 3},
    {"RotationTimerTieToEvenDown", Window::Rotation, "Text1", "10.5", runs, 10, 3},
    {"TwoBallsTimerTieToEvenUp", Window::TwoBalls, "Text1", "11.5", runs, 12, 3},
    {"TwoBallsTimerLargestLong", Window::TwoBalls, "Text1", "2147483647", atChange(380), 10, 3},
    {"TwoBallsTimerBeyondLong", Window::TwoBalls, "Text1", "2147483648", atChange(6), 10, 3},
    {"RubberCordTimerSmallestLong", Window::RubberCord, "Text1", "-2147483648", atChange(380), 10, 3},
    {"RubberCordTimerBelowLong", Window::RubberCord, "Text1", "-2147483649", atChange(6), 10, 3},
    {"RubberCordTimerMinusHalf", Window::RubberCord, "Text1", "-0.5", silent, 0, 3},
    {"RubberCordTimerBlanksInside", Window::RubberCord, "Text1", "1\n2\t3", runs, 123, 3},
    // The longest cord there is: a tick costs tens of milliseconds, so few.
    {"RubberCordLongestCord", Window::RubberCord, "Text2", "32767", runs, 32767, 1},
    {"RubberCordCountTieUpOutOfRange", Window::RubberCord, "Text2", "32767.5", atChange(6), 100, 3},
    {"RubberCordCountJustAbove", Window::RubberCord, "Text2", "32768", atChange(6), 100, 3},
    {"RubberCordCountSmallest", Window::RubberCord, "Text2", "-32768", atChange(9), -32768, 3},
    {"RubberCordCountBelow", Window::RubberCord, "Text2", "-32769", atChange(6), 100, 3},
    {"RubberCordCountMinusHalf", Window::RubberCord, "Text2", "-0.5", runs, 0, 3},
    {"RubberCordCountTieToEvenUp", Window::RubberCord, "Text2", "1.5", runs, 2, 3},
};

class WholeNumberBox : public ::testing::TestWithParam<EdgeCase> {};

TEST_P(WholeNumberBox, TakesWhatFitsAndRefusesTheRest)
{
    const EdgeCase& c = GetParam();
    Harness harness(c.window);
    harness.enter(c.box, QString::fromUtf8(c.text), false);
    const Observation seen = harness.runOnce(c.ticksPerPhase);
    SCOPED_TRACE(describe(seen));
    check(seen, c.expect);
    if (std::string_view(c.box) == "Text1") {
        EXPECT_EQ(seen.intervalAfterChange, c.value);
    } else {
        // A refused count leaves the cord as it was, a negative one none.
        const auto& window = static_cast<const frmElasticCode&>(harness.form());
        EXPECT_EQ(window.Chain.NodeCount(), c.value);
        EXPECT_EQ(window.Chain.nodes().size(), c.value < 0 ? 0u : std::size_t(c.value) + 1);
    }
    harness.recover(0);
}

INSTANTIATE_TEST_SUITE_P(Edges, WholeNumberBox, ::testing::ValuesIn(kEdges),
                         [](const ::testing::TestParamInfo<EdgeCase>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
