// The measurement window against the simulation windows it follows: what it
// records from their live models, pause and single step, saving and copying.

#include "measure/csv.h"
#include "tests/support/headless_run.h"
#include "shell/frm_main.h"
#include "shell/language.h"
#include "tests/support/typed_windows.h"
#include "measure/measurement_window.h"
#include "shell/window_set.h"

#include <QAction>
#include <QApplication>
#include <QChart>
#include <QCheckBox>
#include <QLegend>
#include <QXYSeries>
#include <QClipboard>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QPushButton>
#include <QScatterSeries>
#include <QShortcut>
#include <QTemporaryDir>
#include <QTest>
#include <QValueAxis>

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

namespace {

using measure::MeasurementWindow;

rt::Timer& timerOf(Windows& windows, Sim sim)
{
    return windows.window(sim).Timer1;
}

QLineSeries& curve(const MeasurementWindow& m, std::string_view key)
{
    const auto infos = m.quantities();
    for (std::size_t i = 0; i < infos.size(); ++i)
        if (infos[i].key == key)
            return *qobject_cast<QLineSeries*>(m.chart().series().at(static_cast<qsizetype>(i)));
    throw std::logic_error("no such curve");
}

const QScatterSeries* marks(const MeasurementWindow& m)
{
    for (QAbstractSeries* s : m.chart().series())
        if (auto* scatter = qobject_cast<QScatterSeries*>(s))
            return scatter;
    return nullptr;
}

bool sameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

class MeasurementTest : public ::testing::Test {
protected:
    void TearDown() override { QApplication::closeAllWindows(); }
    Windows windows;
};

struct Recording {
    const char* name;
    Sim sim;
    int ticks;
};

class RecordedSeries : public MeasurementTest, public ::testing::WithParamInterface<Recording> {};

// Tick by tick, the row recorded from the window's live model is the state
// a headless run of the same experiment reaches: the same doubles, bit for
// bit, numbered from the window's first tick.
TEST_P(RecordedSeries, EqualsTheModelTickByTick)
{
    const Recording run = GetParam();
    windows.openMeasurement(run.sim);
    const MeasurementWindow& m = windows.measurement(run.sim);
    auto model = makeRun(run.name);
    model->init(sims::defaultTexts(model->definition()));
    std::vector<double> expected(model->definition().quantities.size());
    rt::Timer& timer = timerOf(windows, run.sim);
    for (int t = 1; t <= run.ticks; ++t) {
        timer.fire();
        model->step();
        model->sample(expected);
        ASSERT_EQ(m.recorder().rows(), static_cast<std::size_t>(t));
        ASSERT_EQ(m.recorder().tick(static_cast<std::size_t>(t - 1)), t);
        for (std::size_t c = 0; c < expected.size(); ++c)
            ASSERT_TRUE(sameBits(m.recorder().value(static_cast<std::size_t>(t - 1), c), expected[c]))
                << run.name << " tick " << t << " " << model->definition().quantities[c].key;
    }
}

INSTANTIATE_TEST_SUITE_P(Experiments, RecordedSeries,
                         ::testing::Values(Recording{"rotation", rotation::definition(), 200}, Recording{"vibration", vibration::definition(), 200},
                                           Recording{"two-balls", two_balls::definition(), 262},
                                           Recording{"rubber-cord", rubber_cord::definition(), 30}),
                         [](const auto& info) {
                             std::string name = info.param.name;
                             std::erase(name, '-');
                             return name;
                         });

TEST_F(MeasurementTest, VibrationGraphShowsTheWorkedTickAndTheFirstMaximum)
{
    windows.openMeasurement(vibration::definition());
    MeasurementWindow& m = windows.measurement(vibration::definition());
    for (int t = 0; t < 100; ++t)
        vibrationWindow(windows).Timer1.fire();
    m.refresh();
    const QList<QPointF> points = curve(m, "position").points();
    ASSERT_EQ(points.size(), 100);
    EXPECT_EQ(points[0], QPointF(1, 100.998));
    const auto peak = std::max_element(points.begin(), points.begin() + 50,
                                       [](QPointF a, QPointF b) { return a.y() < b.y(); });
    EXPECT_EQ(peak->x(), 31);
    EXPECT_NEAR(peak->y(), 297.02, 0.005);
    // The axes take in the whole swing.
    auto* values = qobject_cast<QValueAxis*>(m.chart().axes(Qt::Vertical).front());
    EXPECT_LT(values->min(), 100.998);
    EXPECT_GT(values->max(), peak->y());
}

TEST_F(MeasurementTest, TwoBallsShow31BounceMarksByTheRestAtTick262)
{
    windows.openMeasurement(two_balls::definition());
    MeasurementWindow& m = windows.measurement(two_balls::definition());
    for (int t = 0; t < 400 && twoBallsWindow(windows).Timer1.Enabled(); ++t)
        twoBallsWindow(windows).Timer1.fire();
    m.refresh();
    EXPECT_EQ(m.lastTick(), 262);
    ASSERT_NE(marks(m), nullptr);
    // A tick with both balls bouncing gets one mark: count the bounces.
    double bounces = 0;
    const int column = sims::findQuantity(*sims::findExperiment("two-balls"), "bounces");
    for (std::size_t r = 0; r < m.recorder().rows(); ++r)
        bounces += m.recorder().value(r, static_cast<std::size_t>(column));
    EXPECT_EQ(bounces, 31);
    EXPECT_GE(marks(m)->count(), 1);
    EXPECT_LE(marks(m)->count(), 31);
    EXPECT_EQ(marks(m)->points().front().x(), 42);  // the first bounce
}

// The graph follows the recording from a timer, not from every tick, and
// keeps the last 10 000 ticks of it.
TEST_F(MeasurementTest, GraphRefreshesFromItsOwnTimerAndKeepsTheLastTenThousandTicks)
{
    windows.openMeasurement(vibration::definition());
    MeasurementWindow& m = windows.measurement(vibration::definition());
    for (int t = 0; t < 10'050; ++t)
        vibrationWindow(windows).Timer1.fire();
    EXPECT_EQ(curve(m, "position").count(), 0);  // not once per tick
    ASSERT_TRUE(QTest::qWaitFor([&] { return curve(m, "position").count() > 0; }, 10000));
    const QList<QPointF> points = curve(m, "position").points();
    ASSERT_EQ(points.size(), 10'000);
    EXPECT_EQ(points.front().x(), 51);
    EXPECT_EQ(points.back().x(), 10'050);
    EXPECT_EQ(m.recorder().rows(), 10'050u);  // the recording keeps them all

    // The copy is what the graph shows: its ticks, the shown columns.
    m.showCurve(sims::findQuantity(*sims::findExperiment("vibration"), "total"), true);
    m.copyVisible();
    const QStringList lines = QApplication::clipboard()->text().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 10'001);
    EXPECT_EQ(lines[0], QStringLiteral("時刻 [tick]\t位置 [unit]\t全エネルギー [mass·unit²/tick²]"));
    const QStringList first = lines[1].split(QLatin1Char('\t'));
    ASSERT_EQ(first.size(), 3);
    EXPECT_EQ(first[0], QStringLiteral("51"));
    EXPECT_EQ(first[1].toDouble(), points.front().y());
}

TEST_F(MeasurementTest, PauseHoldsTheTimerStepRunsOneTickResumeGoesOn)
{
    windows.openMeasurement(vibration::definition());
    MeasurementWindow& m = windows.measurement(vibration::definition());
    frmVibration& w = vibrationWindow(windows);
    frmVibration twin;  // ticked by hand alongside
    twin.Show();
    for (int t = 0; t < 5; ++t) {
        w.Timer1.fire();
        twin.Timer1.fire();
    }
    w.textBox("Text5").setText(QStringLiteral("0.5"));  // typed, not applied

    m.setPaused(true);
    EXPECT_FALSE(w.Timer1.isTicking());
    EXPECT_TRUE(w.Timer1.Enabled());
    EXPECT_FALSE(m.pausedBanner().isHidden());
    EXPECT_EQ(m.pausedBanner().text(), QStringLiteral("一時停止中"));
    EXPECT_EQ(m.pauseButton().text(), QStringLiteral("再開"));
    EXPECT_EQ(w.textBox("Text5").text(), QStringLiteral("0.5"));
    EXPECT_EQ(w.Position, twin.Position);

    for (int i = 0; i < 10; ++i) {
        m.step();
        twin.Timer1.fire();
    }
    EXPECT_EQ(m.lastTick(), 15);
    EXPECT_TRUE(m.paused());
    EXPECT_TRUE(sameBits(w.Position, twin.Position));
    EXPECT_TRUE(sameBits(w.Velocity, twin.Velocity));
    EXPECT_TRUE(sameBits(w.Force, twin.Force));
    EXPECT_EQ(w.displayList(), twin.displayList());  // the picture of the step too

    m.setPaused(false);
    EXPECT_TRUE(w.Timer1.isTicking());
    EXPECT_TRUE(m.pausedBanner().isHidden());
    rt::RealTimeouts ticking;
    EXPECT_TRUE(QTest::qWaitFor([&] { return m.lastTick() > 17; }, 10000));
}

TEST_F(MeasurementTest, KeysPauseAndStepAndTheirTooltipsSayWhich)
{
    windows.openMeasurement(rotation::definition());
    MeasurementWindow& m = windows.measurement(rotation::definition());
    ASSERT_TRUE(QTest::qWaitForWindowActive(&m));
    QTest::keyClick(&m, Qt::Key_Space);
    EXPECT_TRUE(m.paused());
    QTest::keyClick(&m, Qt::Key_Right);
    QTest::keyClick(&m, Qt::Key_Right);
    EXPECT_EQ(m.lastTick(), 2);
    QTest::keyClick(&m, Qt::Key_Space);
    EXPECT_FALSE(m.paused());
    EXPECT_TRUE(m.pauseButton().toolTip().contains(QStringLiteral("Space")));
    EXPECT_TRUE(m.stepButton().toolTip().contains(QStringLiteral("→")));
}

// A tick that fails leaves its infinity in the recording; the graph leaves
// it out and keeps finite axes, even next to the largest doubles.
TEST_F(MeasurementTest, GraphSurvivesTheTickThatOverflowed)
{
    int errors = 0;
    rt::setErrorReporter([&](rt::Form&, const rt::RuntimeError&) { ++errors; });
    windows.openMeasurement(vibration::definition());
    MeasurementWindow& m = windows.measurement(vibration::definition());
    m.showCurve(2, true);  // force
    frmVibration& w = vibrationWindow(windows);
    w.textBox("Text2").setText(QStringLiteral("1.7e308"));
    w.button("Command1").click();
    w.Timer1.fire();
    rt::resetErrorReporter();
    ASSERT_EQ(errors, 1);
    ASSERT_EQ(m.recorder().rows(), 1u);
    EXPECT_TRUE(std::isinf(m.recorder().value(0, 2)));
    m.refresh();
    EXPECT_EQ(curve(m, "force").count(), 0);
    EXPECT_EQ(curve(m, "position").count(), 1);
    auto* values = qobject_cast<QValueAxis*>(m.chart().axes(Qt::Vertical).front());
    EXPECT_TRUE(std::isfinite(values->min()) && std::isfinite(values->max()));
    EXPECT_LT(values->min(), values->max());
    EXPECT_FALSE(m.grab().isNull());
}

// A window that stopped its own timer is not stepped past its stop.
TEST_F(MeasurementTest, StepLeavesAWindowThatStoppedItself)
{
    windows.openMeasurement(two_balls::definition());
    MeasurementWindow& m = windows.measurement(two_balls::definition());
    while (twoBallsWindow(windows).Timer1.Enabled())
        twoBallsWindow(windows).Timer1.fire();
    const double y = twoBallsWindow(windows).Balls.Ball1.Y;
    m.step();
    EXPECT_EQ(m.lastTick(), 262);
    EXPECT_EQ(twoBallsWindow(windows).Balls.Ball1.Y, y);
}

// One measurement window per experiment, from the menu or Ctrl+G, that stays
// with its window through a close and reopen; a new recording begins
// whenever the window reads its boxes.
TEST_F(MeasurementTest, FollowsItsWindowThroughCloseAndReopen)
{
    frmMain launcher(windows);
    launcher.Show();
    launcher.measureAction(1).trigger();  // バネの振動
    MeasurementWindow* m = windows.measurementIfMade(vibration::definition());
    ASSERT_NE(m, nullptr);
    EXPECT_TRUE(m->isVisible());
    EXPECT_TRUE(vibrationWindow(windows).isVisible());
    EXPECT_EQ(launcher.measureAction(1).text(), QStringLiteral("バネの振動"));

    vibrationWindow(windows).Timer1.fire();
    m->setPaused(true);
    vibrationWindow(windows).close();
    m->close();
    vibrationWindow(windows).Show();
    // Closing the graphs gave the experiment back running.
    EXPECT_TRUE(vibrationWindow(windows).Timer1.isTicking());
    auto* shortcut = vibrationWindow(windows).findChild<QShortcut*>(QStringLiteral("measureShortcut"));
    ASSERT_NE(shortcut, nullptr);
    EXPECT_EQ(shortcut->key(), QKeySequence(Qt::CTRL | Qt::Key_G));
    emit shortcut->activated();
    EXPECT_EQ(windows.measurementIfMade(vibration::definition()), m);
    EXPECT_TRUE(m->isVisible());
    EXPECT_EQ(m->recorder().rows(), 0u);  // the reload put the model at its start
    m->step();
    EXPECT_EQ(m->recorder().tick(0), 1);
    EXPECT_EQ(m->recorder().value(0, 0), 100.998);

    // 変更 with a new value: a new recording, with that value.
    vibrationWindow(windows).textBox("Text2").setText(QStringLiteral("250"));
    vibrationWindow(windows).button("Command1").click();
    EXPECT_EQ(m->recorder().rows(), 0u);
    m->step();
    // From 100 towards the new rest length: force 5·150, the velocity 750/500 damped.
    EXPECT_EQ(m->recorder().value(0, 0), 100 + (1 - 0.002) * (750.0 / 500));
}

class SavedData : public MeasurementTest {
protected:
    void SetUp() override
    {
        windows.openMeasurement(vibration::definition());
        m = &windows.measurement(vibration::definition());
        m->setMessageSink([this](const QString& message) { messages << message; });
        vibrationWindow(windows).textBox("Text5").setText(QStringLiteral("0"));
        vibrationWindow(windows).button("Command1").click();
        for (int t = 0; t < 500; ++t)
            vibrationWindow(windows).Timer1.fire();
    }
    MeasurementWindow* m = nullptr;
    QStringList messages;
    QTemporaryDir dir;
};

TEST_F(SavedData, CsvReadsBackAsTheSameDoublesUnderNamedColumns)
{
    const QString path = dir.filePath(QStringLiteral("振動.csv"));
    EXPECT_EQ(m->saveCsv(path), QString());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_TRUE(bytes.startsWith("\xEF\xBB\xBF"));
    const auto read = measure::readCsv(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    ASSERT_TRUE(read.data) << read.error;
    const measure::CsvData& data = *read.data;
    EXPECT_EQ(data.experiment, "vibration");
    ASSERT_EQ(data.header.size(), 7u);
    EXPECT_EQ(data.header[1], "位置 position (spring length) [unit]");
    EXPECT_EQ(data.header[6], "全エネルギー total energy [mass·unit²/tick²]");
    // The boxes as 変更 read them.
    EXPECT_NE(std::find(data.parameters.begin(), data.parameters.end(), std::pair<std::string, std::string>("viscosity", "0")),
              data.parameters.end());
    ASSERT_EQ(data.rows.size(), 500u);
    for (std::size_t r = 0; r < data.rows.size(); ++r) {
        ASSERT_EQ(data.rows[r][0], static_cast<double>(r + 1));
        for (std::size_t c = 0; c < 6; ++c)
            ASSERT_TRUE(sameBits(data.rows[r][c + 1], m->recorder().value(r, c))) << r << " " << c;
    }
}

TEST_F(SavedData, AnUnwritablePlaceIsReportedAndTheRecordingStays)
{
    QFile blocker(dir.filePath(QStringLiteral("a-file")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    for (const QString& path : {dir.filePath(QStringLiteral("a-file/data.csv")),
                                dir.filePath(QStringLiteral("missing/data.csv")), QStringLiteral("/proc/data.csv")}) {
        const QString error = m->saveCsv(path);
        EXPECT_FALSE(error.isEmpty()) << path.toStdString();
        EXPECT_TRUE(error.contains(QStringLiteral("記録はこの窓に残っています"))) << error.toStdString();
        EXPECT_TRUE(error.contains(path)) << error.toStdString();
    }
    EXPECT_EQ(messages.size(), 3);
    EXPECT_EQ(m->recorder().rows(), 500u);
    // Saved elsewhere, whole.
    EXPECT_EQ(m->saveCsv(dir.filePath(QStringLiteral("ok.csv"))), QString());
    EXPECT_EQ(m->saveGraph(dir.filePath(QStringLiteral("missing/graph.png"))).isEmpty(), false);
}

TEST_F(SavedData, GraphAsPngAndSvg)
{
    m->resize(800, 500);
    const QString png = dir.filePath(QStringLiteral("graph.png"));
    const QString svg = dir.filePath(QStringLiteral("graph.svg"));
    EXPECT_EQ(m->saveGraph(png), QString());
    EXPECT_EQ(m->saveGraph(svg), QString());
    const QImage image(png);
    ASSERT_FALSE(image.isNull());
    // The curve is drawn: the pen of the first series shows in the picture.
    const QColor pen = curve(*m, "position").color();
    int curvePixels = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            curvePixels += image.pixelColor(x, y) == pen;
    EXPECT_GT(curvePixels, 200);
    QFile file(svg);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    EXPECT_TRUE(text.contains("<svg"));
    EXPECT_TRUE(text.contains("<path") || text.contains("<polyline"));
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("graph.png~"))));
}

TEST_F(MeasurementTest, GrowsWithTheProgramsZoom)
{
    windows.openMeasurement(rotation::definition());
    const MeasurementWindow& m = windows.measurement(rotation::definition());
    const qreal normal = m.pauseButton().font().pointSizeF();
    const QSize normalHint = m.sizeHint();
    rt::setZoomPercent(200);
    QApplication::processEvents();  // the layout takes the new sizes
    EXPECT_DOUBLE_EQ(m.pauseButton().font().pointSizeF(), 2 * normal);
    EXPECT_DOUBLE_EQ(m.pausedBanner().font().pointSizeF(), 2 * normal);
    EXPECT_GT(m.sizeHint().width(), normalHint.width() * 3 / 2);
    EXPECT_GE(m.width(), m.minimumSizeHint().width());
    rt::setZoomPercent(100);
    EXPECT_DOUBLE_EQ(m.pauseButton().font().pointSizeF(), normal);
}

TEST(MeasurementNames, FollowTheLanguage)
{
    for (const bool english : {false, true}) {
        Windows windows;
        vibrationWindow(windows).Show();
        setLanguage(english ? Language::English : Language::Japanese);
        MeasurementWindow m(vibrationWindow(windows));
        const QString expected = english ? QStringLiteral("kinetic energy [mass·unit²/tick²]")
                                         : QStringLiteral("運動エネルギー [mass·unit²/tick²]");
        EXPECT_EQ(curve(m, "kinetic").name(), expected);
        vibrationWindow(windows).close();
    }
    setLanguage(Language::Japanese);
}

}  // namespace

namespace {

// What the measurement window does around the experiment it follows: its
// zoom keys, its size after a zoom and back, its title, and what closing it
// while paused leaves behind.
TEST_F(MeasurementTest, ZoomKeysWorkHereAndTheWindowShrinksBackWithTheZoom)
{
    windows.openMeasurement(vibration::definition());
    MeasurementWindow& m = windows.measurement(vibration::definition());
    QApplication::processEvents();
    const QSize normal = m.size();
    struct Key {
        QKeySequence keys;
        int zoom;
    };
    for (const Key& k : {Key{QKeySequence(Qt::CTRL | Qt::Key_Plus), 125}, Key{QKeySequence(Qt::CTRL | Qt::Key_Equal), 150},
                         Key{QKeySequence(Qt::CTRL | Qt::Key_Minus), 125}, Key{QKeySequence(Qt::CTRL | Qt::Key_0), 100}}) {
        bool found = false;
        for (QShortcut* s : m.findChildren<QShortcut*>())
            if (s->key() == k.keys) {
                emit s->activated();
                found = true;
            }
        ASSERT_TRUE(found) << k.keys.toString().toStdString();
        EXPECT_EQ(rt::zoomPercent(), k.zoom) << k.keys.toString().toStdString();
    }
    rt::setZoomPercent(300);
    QApplication::processEvents();
    const QSize grown = m.size();
    EXPECT_GT(grown.width(), normal.width() * 2);
    rt::setZoomPercent(100);
    QApplication::processEvents();
    EXPECT_LT(m.width(), grown.width() / 2);  // not left grown
    EXPECT_EQ(m.size(), m.sizeHint());
}

TEST_F(MeasurementTest, ClosingItWhilePausedGivesTheExperimentBackRunning)
{
    windows.openMeasurement(vibration::definition());
    MeasurementWindow& m = windows.measurement(vibration::definition());
    frmVibration& w = vibrationWindow(windows);
    EXPECT_EQ(m.windowTitle(), QStringLiteral("バネの振動の計測"));
    m.setPaused(true);
    ASSERT_FALSE(w.Timer1.isTicking());
    m.close();
    EXPECT_FALSE(m.paused());
    EXPECT_TRUE(w.Timer1.isTicking());
    // A press and a bad value reach the experiment again.
    const double before = w.Position;
    w.mouseDownAt(rt::kLeftButton, 0, 1600, 100);
    EXPECT_NE(w.Position, before);
}

TEST(QtOwnTexts, FollowTheChosenLanguage)
{
    setLanguage(Language::English);
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Cancel"));
    setLanguage(Language::Japanese);
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("キャンセル"));
}

TEST(FileDialogs, OpenWhereTheLastOneWasAndProposeTheName)
{
    EXPECT_EQ(rt::dialogPath(QStringLiteral("a.csv")), QDir::current().filePath(QStringLiteral("a.csv")));
    QTemporaryDir dir;
    rt::rememberDialogPath(dir.filePath(QStringLiteral("two-balls-2026-12-07.jsonl")));
    EXPECT_EQ(rt::dialogPath(QStringLiteral("b.png")), QDir(dir.path()).filePath(QStringLiteral("b.png")));
    rt::rememberDialogPath(QString());  // a cancelled dialog changes nothing
    EXPECT_EQ(rt::dialogPath(QString()), QDir(dir.path()).filePath(QString()));
}

}  // namespace

namespace {

// Every label of an axis is a round number: the step between them is 1, 2,
// 2.5 or 5 times a power of ten, and the ends are whole steps.
::testing::AssertionResult round(const QValueAxis& axis)
{
    const double step = (axis.max() - axis.min()) / (axis.tickCount() - 1);
    const double power = std::pow(10.0, std::floor(std::log10(step)));
    const double mantissa = step / power;
    bool nice = false;
    for (double m : {1.0, 2.0, 2.5, 5.0, 10.0})
        nice = nice || std::abs(mantissa - m) < 1e-9;
    const double ends = axis.min() / step;
    if (nice && std::abs(ends - std::round(ends)) < 1e-6)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << axis.min() << " to " << axis.max() << " in " << axis.tickCount() << " ticks";
}

TEST_F(MeasurementTest, AxesReadInRoundNumbersEmptyOrFull)
{
    windows.openMeasurement(vibration::definition());
    MeasurementWindow& m = windows.measurement(vibration::definition());
    const auto axes = m.chart().axes();
    ASSERT_EQ(axes.size(), 2);
    m.refresh();  // nothing recorded yet
    for (QAbstractAxis* axis : axes)
        EXPECT_TRUE(round(*static_cast<QValueAxis*>(axis)));
    for (int t = 0; t < 97; ++t)
        vibrationWindow(windows).Timer1.fire();
    m.refresh();
    for (QAbstractAxis* axis : axes)
        EXPECT_TRUE(round(*static_cast<QValueAxis*>(axis)));
}

}  // namespace

namespace {

// A step taken while the experiment runs pauses it first: the banner shows,
// the timer is held, and exactly one tick is taken.
TEST_F(MeasurementTest, AStepWhileRunningPausesThenTakesOneTick)
{
    windows.openMeasurement(vibration::definition());
    MeasurementWindow& m = windows.measurement(vibration::definition());
    frmVibration& w = vibrationWindow(windows);
    frmVibration twin;
    twin.Show();
    for (int t = 0; t < 3; ++t) {
        w.Timer1.fire();
        twin.Timer1.fire();
    }
    ASSERT_FALSE(m.paused());
    ASSERT_TRUE(w.Timer1.isTicking());
    m.step();
    twin.Timer1.fire();
    EXPECT_TRUE(m.paused());
    EXPECT_FALSE(w.Timer1.isTicking());
    EXPECT_FALSE(m.pausedBanner().isHidden());
    EXPECT_EQ(m.lastTick(), 4);
    EXPECT_EQ(w.Position, twin.Position);
}

}  // namespace
namespace {

// ---------------------------------------------------------------- the names beside the graph

struct PanelCase {
    const char* name;
    Language language;
    int zoom;
};

class NamesBesideTheGraph : public ::testing::TestWithParam<PanelCase> {
protected:
    void TearDown() override
    {
        QApplication::closeAllWindows();
        rt::setZoomPercent(100);
        setLanguage(Language::Japanese);
    }
};

// Every quantity's name shows whole beside its curve's colour, the longest
// English one included, in the language switched to while the window is
// open.
TEST_P(NamesBesideTheGraph, ShowWholeWithTheirCurvesColour)
{
    const PanelCase& c = GetParam();
    rt::setZoomPercent(c.zoom);
    Windows windows;
    windows.openMeasurement(two_balls::definition());
    MeasurementWindow& m = windows.measurement(two_balls::definition());
    m.show();
    QApplication::processEvents();
    setLanguage(c.language);
    QApplication::processEvents();

    EXPECT_FALSE(m.chart().legend()->isVisible());
    const auto infos = m.quantities();
    const auto boxes = m.findChildren<QCheckBox*>();
    ASSERT_EQ(boxes.size(), static_cast<qsizetype>(infos.size()));
    for (std::size_t i = 0; i < infos.size(); ++i) {
        const QCheckBox& box = *m.findChild<QCheckBox*>(QString::fromLatin1(infos[i].key.data(),
                                                                            static_cast<qsizetype>(infos[i].key.size())));
        SCOPED_TRACE(box.text().toStdString());
        EXPECT_GE(box.width(), box.sizeHint().width());
        EXPECT_TRUE(box.visibleRegion().boundingRect().width() >= box.sizeHint().width());
        const QImage swatch = box.icon().pixmap(box.iconSize()).toImage();
        const QAbstractSeries* series = m.chart().series().at(static_cast<qsizetype>(i));
        const QColor colour = qobject_cast<const QXYSeries*>(series)->color();
        EXPECT_EQ(swatch.pixelColor(swatch.width() / 2, swatch.height() / 2), colour);
    }
}

INSTANTIATE_TEST_SUITE_P(Zooms, NamesBesideTheGraph,
                         ::testing::Values(PanelCase{"English100", Language::English, 100},
                                           PanelCase{"English125", Language::English, 125},
                                           PanelCase{"English150", Language::English, 150},
                                           PanelCase{"English250", Language::English, 250},
                                           PanelCase{"English400", Language::English, 400},
                                           PanelCase{"Japanese100", Language::Japanese, 100},
                                           PanelCase{"Japanese300", Language::Japanese, 300}),
                         [](const auto& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------- the saved graph says what it shows

struct HeadingCase {
    const char* name;
    Language language;
    const char* suffix;
    std::vector<const char*> words;  // in the picture's text and its title or description
};

class SavedGraphHeading : public ::testing::TestWithParam<HeadingCase> {
protected:
    void TearDown() override
    {
        QApplication::closeAllWindows();
        setLanguage(Language::Japanese);
    }
};

TEST_P(SavedGraphHeading, NamesTheExperimentQuantitiesAndParameters)
{
    const HeadingCase& c = GetParam();
    setLanguage(c.language);
    Windows windows;
    windows.openMeasurement(vibration::definition());
    MeasurementWindow& m = windows.measurement(vibration::definition());
    vibrationWindow(windows).textBox("Text3").setText(QStringLiteral("7.5"));
    vibrationWindow(windows).button("Command1").click();
    for (int t = 0; t < 50; ++t)
        vibrationWindow(windows).Timer1.fire();
    m.resize(800, 500);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("graph.") + QLatin1String(c.suffix));
    ASSERT_EQ(m.saveGraph(path), QString());
    QString metadata;
    if (QLatin1String(c.suffix) == QLatin1String("png")) {
        const QImage image(path);
        ASSERT_FALSE(image.isNull());
        metadata = image.text(QStringLiteral("Title")) + QLatin1Char('\n') + image.text(QStringLiteral("Description"));
        // The heading is drawn above the graph: dark text on white there.
        int dark = 0;
        for (int y = 0; y < image.height() / 10; ++y)
            for (int x = 0; x < image.width(); ++x)
                dark += qGray(image.pixel(x, y)) < 100;
        EXPECT_GT(dark, 50);
    } else {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        metadata = QString::fromUtf8(file.readAll());
    }
    for (const char* word : c.words)
        EXPECT_TRUE(metadata.contains(QString::fromUtf8(word))) << word << " in " << metadata.toStdString();
    EXPECT_EQ(m.graphHeading().size(), 3);
    EXPECT_TRUE(m.graphHeading()[2].contains(QStringLiteral("7.5")));
}

INSTANTIATE_TEST_SUITE_P(
    Files, SavedGraphHeading,
    ::testing::Values(HeadingCase{"PngJapanese", Language::Japanese, "png", {"バネの振動", "位置 [unit]", "バネ定数 = 7.5"}},
                      HeadingCase{"SvgJapanese", Language::Japanese, "svg", {"<title>バネの振動", "位置 [unit]", "= 7.5"}},
                      HeadingCase{"PngEnglish", Language::English, "png",
                                  {"Vibration of a Spring", "position (spring length) [unit]", "= 7.5"}},
                      HeadingCase{"SvgEnglish", Language::English, "svg", {"<desc>", "position (spring length)", "= 7.5"}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
