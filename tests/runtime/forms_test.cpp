// The forms layer: display list, timer, load/unload, error dispatch, mouse
// routing and the replayed picture in real pixels.

#include "runtime/forms/form.h"
#include "runtime/forms/render.h"

#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <initializer_list>
#include <utility>
#include <vector>

namespace {

using rt::ControlKind;
using rt::DrawOp;

const rt::ControlDef kControls[] = {
    {ControlKind::Label, "Label1", "ラベル", 1500, 0, 900, 300, 0},
    {ControlKind::TextBox, "Text1", "10", 1500, 300, 900, 270, 2},
    {ControlKind::CommandButton, "Command1", "変更", 1500, 600, 900, 300, 1},
};

class TestForm : public rt::Form {
public:
    TestForm() : Form("frmTest", "テスト", 3000, 1500, kControls), Timer1(*this, [this] { ++ticks; })
    {
        onClick(button("Command1"), [this] {
            if (failOnClick)
                throw rt::RuntimeError(rt::ErrorNumber::DivisionByZero);
        });
    }
    int loads = 0, ticks = 0, presses = 0, moves = 0;
    bool failOnClick = false;
    float lastX = -1, lastY = -1;
    rt::Timer Timer1;

protected:
    void Form_Load() override
    {
        ++loads;
        Timer1.setInterval(10);
    }
    void Form_MouseDown(int, int, float x, float y) override
    {
        ++presses;
        lastX = x;
        lastY = y;
    }
    void Form_MouseMove(int, int, float, float) override { ++moves; }
};

// How many pixels of one column have exactly this colour.
int rowsOf(const QImage& image, int x, const QColor& color)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        count += image.pixelColor(x, y) == color ? 1 : 0;
    return count;
}

class FormsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        rt::setErrorReporter([this](rt::Form& form, const rt::RuntimeError& e) {
            errors.push_back({&form, e.code()});
        });
        form.Show();
    }
    void TearDown() override { rt::resetErrorReporter(); }

    struct Recorded {
        const rt::Form* form;
        int number;
    };
    std::vector<Recorded> errors;
    TestForm form;
};

TEST_F(FormsTest, LineCircleAndPenPositionAndOverflow)
{
    form.Cls();
    form.Line(10, 20, 30, 40);
    form.LineTo(50, 60, rt::RGB(1, 2, 3));
    form.Circle(5, 5, 1);  // a new window's FillStyle: an outline only
    form.FillStyle = rt::kSolid;
    form.FillColor = rt::RGB(255, 0, 0);
    form.Circle(100, 200, 50);
    form.Line(0, 0, 9, 9, rt::RGB(0, 0, 0), rt::LineShape::FilledBox);
    const rt::Color fore = form.ForeColor;
    EXPECT_EQ(form.displayList(),
              (std::vector<DrawOp>{{DrawOp::Kind::Line, 10, 20, 30, 40, fore, 0, false, 1},
                                   {DrawOp::Kind::Line, 30, 40, 50, 60, rt::RGB(1, 2, 3), 0, false, 1},
                                   {DrawOp::Kind::Circle, 5, 5, 1, 0, fore, 0, false, 1},
                                   {DrawOp::Kind::Circle, 100, 200, 50, 0, fore, rt::RGB(255, 0, 0), true, 1},
                                   {DrawOp::Kind::FilledBox, 0, 0, 9, 9, rt::RGB(0, 0, 0), 0, false, 1}}));
    EXPECT_EQ(std::pair(form.CurrentX, form.CurrentY), std::pair(9.0f, 9.0f));

    // A coordinate beyond single precision is the overflow error, and no line.
    form.runEvent([&] { form.Line(0, 0, 0, 1e39); });
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].number, 6);
    EXPECT_EQ(form.displayList().size(), 5u);

    form.Cls();
    EXPECT_TRUE(form.displayList().empty());
    EXPECT_EQ(std::pair(form.CurrentX, form.CurrentY), std::pair(0.0f, 0.0f));
}

TEST_F(FormsTest, TimerIntervalRangeAndEnabled)
{
    EXPECT_TRUE(form.Timer1.isTicking());
    form.Timer1.setInterval(0);
    EXPECT_TRUE(form.Timer1.Enabled());
    EXPECT_FALSE(form.Timer1.isTicking());  // enabled but silent
    form.Timer1.setInterval(65535);
    EXPECT_TRUE(form.Timer1.isTicking());
    for (int bad : {-1, 65536, 70000}) {
        try {
            form.Timer1.setInterval(bad);
            ADD_FAILURE() << bad;
        } catch (const rt::RuntimeError& e) {
            EXPECT_EQ(e.number(), rt::ErrorNumber::InvalidPropertyValue);
        }
    }
    EXPECT_EQ(form.Timer1.Interval(), 65535);
    form.Timer1.setEnabled(false);
    EXPECT_FALSE(form.Timer1.isTicking());

    // Real ticks arrive on the event loop (how many is for the benchmarks),
    // and none while the test holds the clock.
    form.Timer1.setInterval(5);
    form.Timer1.setEnabled(true);
    // A witness timer of the same period, started after the window's: once
    // it has fired three times, the window's timer has timed out too, however
    // slow the machine, and none of those timeouts may have become a tick.
    QTimer witness;
    int witnessed = 0;
    QObject::connect(&witness, &QTimer::timeout, [&] { ++witnessed; });
    witness.setTimerType(Qt::PreciseTimer);
    witness.start(5);
    ASSERT_TRUE(QTest::qWaitFor([&] { return witnessed >= 3; }, 10000));
    EXPECT_EQ(form.ticks, 0);
    const rt::RealTimeouts realTicks;
    form.Timer1.setEnabled(true);
    EXPECT_TRUE(QTest::qWaitFor([&] { return form.ticks >= 3; }, 10000));
}

TEST_F(FormsTest, ErrorInAnEventStopsThatWindowsTimerOnly)
{
    TestForm other;
    other.Show();
    form.failOnClick = true;
    QTest::mouseClick(&form.button("Command1"), Qt::LeftButton);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].number, 11);
    EXPECT_EQ(errors[0].form, &form);
    EXPECT_FALSE(form.Timer1.isTicking());
    EXPECT_TRUE(other.Timer1.isTicking());
    EXPECT_TRUE(form.isVisible());
}

TEST_F(FormsTest, ShowLoadsOnceAndCloseUnloads)
{
    form.Show();
    EXPECT_EQ(form.loads, 1);
    QLineEdit& box = form.textBox("Text1");
    EXPECT_FALSE(box.testAttribute(Qt::WA_InputMethodEnabled));
    box.setText(QStringLiteral("99"));
    form.Cls();
    form.Line(1, 1, 2, 2);
    form.close();
    EXPECT_FALSE(form.isLoaded());
    EXPECT_FALSE(form.Timer1.isTicking());

    form.Show();
    EXPECT_EQ(form.loads, 2);
    EXPECT_EQ(box.text(), QStringLiteral("10"));
    EXPECT_TRUE(form.displayList().empty());
    // The input method stays off after reloading; pasted full-width digits
    // are no number.
    EXPECT_FALSE(box.testAttribute(Qt::WA_InputMethodEnabled));
    box.setText(QStringLiteral("１０"));
    EXPECT_EQ(rt::Val(box.text()), 0.0);
}

TEST_F(FormsTest, MouseInTwipsOnTheWindowOnlyNeverThroughControls)
{
    QTest::mousePress(&form, Qt::LeftButton, {}, QPoint(20, 30));
    EXPECT_EQ(form.presses, 1);
    EXPECT_EQ(std::pair(form.lastX, form.lastY), std::pair(300.0f, 450.0f));
    QTest::mouseRelease(&form, Qt::LeftButton, {}, QPoint(20, 30));

    // A press on a label or box stays with that control, and so does a move.
    for (QWidget* control : std::initializer_list<QWidget*>{&form.label("Label1"), &form.textBox("Text1")}) {
        QTest::mousePress(control, Qt::LeftButton, {}, QPoint(3, 3));
        QTest::mouseRelease(control, Qt::LeftButton, {}, QPoint(3, 3));
    }
    EXPECT_EQ(form.presses, 1);
    const int movesBefore = form.moves;
    QTest::mouseMove(&form.label("Label1"), QPoint(5, 5));
    EXPECT_EQ(form.moves, movesBefore);
}

TEST_F(FormsTest, PictureIsReplayedInRealPixels)
{
    form.Cls();
    form.DrawWidth = 5;
    form.Line(150, 300, 1500, 300, rt::RGB(0, 0, 255));  // 10..100 px at y = 20
    form.DrawWidth = 1;
    form.FillStyle = rt::kSolid;
    form.FillColor = rt::RGB(255, 0, 0);
    form.Circle(600, 900, 150);  // centre (40, 60) px, radius 10 px
    const QImage image = form.grab().toImage();

    EXPECT_EQ(image.pixelColor(50, 20), QColor(0, 0, 255));
    EXPECT_EQ(rowsOf(image, 50, QColor(0, 0, 255)), 5);  // DrawWidth 5: five pixels thick
    EXPECT_EQ(image.pixelColor(40, 60), QColor(255, 0, 0));
    EXPECT_EQ(image.pixelColor(5, 90), rt::toQColor(form.BackColor));
}

TEST(Render, SameRegardlessOfDevicePixelRatio)
{
    const std::vector<DrawOp> ops{{DrawOp::Kind::Line, 0, 150, 1500, 150, rt::RGB(0, 0, 0)}};
    QImage crisp(200, 40, QImage::Format_RGB32);
    crisp.setDevicePixelRatio(2);
    QPainter painter(&crisp);
    rt::renderPicture(painter, ops, rt::RGB(255, 255, 255));
    painter.end();
    // A one-pixel line at y = 10 is two device pixels thick at ratio 2,
    // solid, not smeared over three.
    EXPECT_EQ(rowsOf(crisp, 60, QColor(0, 0, 0)), 2);
    EXPECT_EQ(rowsOf(crisp, 60, QColor(255, 255, 255)), 38);
}

}  // namespace
