// Every window at every size: the picture replayed at the zoom in real
// pixels, presses mapped back to the same twips, animations running on
// through a change of zoom, captions that fit in both languages, the light
// look under a dark desktop palette, and Enter doing what "変更" does.

#include "shell/frm_main.h"
#include "tests/support/typed_windows.h"
#include "shell/language.h"
#include "shell/window_set.h"

#include <QApplication>
#include <QFontMetrics>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QToolButton>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

namespace {

// Back to 100 % and Japanese whatever a test did.
class AtDefaults : public ::testing::Test {
protected:
    void TearDown() override
    {
        rt::setZoomPercent(100);
        setLanguage(Language::Japanese);
    }
};

// ------------------------------------------------------------ the windows

// One simulation window as the tests drive it.
struct SimCase {
    const char* name;
    rt::Form& (*open)(Windows&);
    void (*stopAndTick)(rt::Form&, int ticks);
    // What the window has read from its boxes and the model's state.
    std::vector<double> (*state)(rt::Form&);
    std::vector<std::pair<const char*, const char*>> edits;  // box, another value
};

template <typename W>
void stopAndTick(rt::Form& form, int ticks)
{
    auto& window = static_cast<W&>(form);
    window.Timer1.setEnabled(false);
    for (int i = 0; i < ticks; ++i)
        window.Timer1.fire();
}

const SimCase kSims[] = {
    {"frmVibration",
     [](Windows& w) -> rt::Form& { vibrationWindow(w).Show(); return vibrationWindow(w); },
     stopAndTick<frmVibration>,
     [](rt::Form& f) {
         auto& w = static_cast<frmVibration&>(f);
         return std::vector<double>{double(w.Timer1.Interval()), w.RestLength, w.Stiffness, w.Mass,
                                    w.Viscosity, w.Position, w.Velocity, double(w.Timer1.isTicking())};
     },
     {{"Text1", "20"}, {"Text2", "150"}, {"Text3", "7"}, {"Text4", "300"}, {"Text5", "0.01"}}},
    {"frmRotaion",
     [](Windows& w) -> rt::Form& { rotationWindow(w).Show(); return rotationWindow(w); },
     stopAndTick<frmRotaion>,
     [](rt::Form& f) {
         auto& w = static_cast<frmRotaion&>(f);
         return std::vector<double>{double(w.Timer1.Interval()), w.NegStiffness, w.Relax, w.BallX,
                                    w.BallY, w.VelocityX, w.VelocityY, double(w.Timer1.isTicking())};
     },
     {{"Text1", "20"}, {"Text2", "0.05"}, {"Text3", "0.9"}}},
    {"frm2Bolls",
     [](Windows& w) -> rt::Form& { twoBallsWindow(w).Show(); return twoBallsWindow(w); },
     stopAndTick<frm2Bolls>,
     [](rt::Form& f) {
         auto& w = static_cast<frm2Bolls&>(f);
         const two_balls::Model& m = w.Balls;
         return std::vector<double>{double(w.Timer1.Interval()), m.RestLength, m.Stiffness,
                                    m.Resistance, m.Gravity, m.Ball1.Mass, m.Ball2.Mass, m.Ball1.X,
                                    m.Ball1.Y, m.Ball2.X, m.Ball2.Y, m.Ball1.VelocityY,
                                    double(w.Timer1.isTicking())};
     },
     {{"Text1", "20"}, {"Text2", "250"}, {"Text3", "0.05"}, {"Text4", "1000"}, {"Text5", "300"},
      {"Text6", "0.5"}, {"Text7", "12"}}},
    {"frmElasticCode",
     [](Windows& w) -> rt::Form& { rubberCordWindow(w).Show(); return rubberCordWindow(w); },
     stopAndTick<frmElasticCode>,
     [](rt::Form& f) {
         auto& w = static_cast<frmElasticCode&>(f);
         const ChainModel::Parameters& p = w.Chain.parameters();
         std::vector<double> state{double(w.Timer1.Interval()), double(p.NodeCount), p.SegmentLength,
                                   p.Gravity, p.Viscosity, p.Stiffness, double(w.Timer1.isTicking())};
         for (const ChainModel::Node& node : w.Chain.nodes())
             state.insert(state.end(), {node.X, node.Y, node.VX, node.VY});
         return state;
     },
     {{"Text1", "20"}, {"Text2", "50"}, {"Text3", "12"}, {"Text4", "0.5"}, {"Text5", "0.1"},
      {"Text6", "0.3"}}},
};

// ------------------------------------------------------------ pixels

// The centre of the pixels of one colour within a rectangle of the client
// area given in twips, and how many there are.
struct Blob {
    double x = 0, y = 0;
    int count = 0;
};

Blob blobOf(const rt::Form& window, const QImage& image, QColor color, QRectF twips)
{
    const QPointF from = window.pixelOf(twips.left(), twips.top());
    const QPointF to = window.pixelOf(twips.right(), twips.bottom());
    Blob blob;
    for (int y = std::max(0, int(from.y())); y < std::min(image.height(), int(to.y())); ++y)
        for (int x = std::max(0, int(from.x())); x < std::min(image.width(), int(to.x())); ++x)
            if (image.pixelColor(x, y) == color) {
                blob.x += x + 0.5;
                blob.y += y - window.clientTop() + 0.5;
                ++blob.count;
            }
    if (blob.count > 0) {
        blob.x /= blob.count;
        blob.y /= blob.count;
    }
    return blob;
}

// A known point of a window's picture: where the shapes of one colour
// within a region lie, with the window in a known state.
struct PictureCase {
    const char* name;
    std::size_t sim;  // index into kSims
    void (*settle)(rt::Form&);
    QColor color;
    QRectF region;             // twips
    QPointF (*expected)(rt::Form&);  // the shape's centre in twips, from the model
};

const QColor kRed(255, 0, 0), kYellow(255, 255, 0), kBlack(0, 0, 0);

const PictureCase kPictures[] = {
    // The ball hanging at the spring's natural length, where a tick leaves it.
    {"VibrationBallAtRest", 0,
     [](rt::Form& f) {
         auto& w = static_cast<frmVibration&>(f);
         w.Timer1.setEnabled(false);
         w.Position = w.RestLength;
         w.Velocity = 0;
         w.Timer1.fire();
     },
     kRed, QRectF(0, 0, 1400, 4515),
     [](rt::Form& f) { return QPointF(500, static_cast<frmVibration&>(f).Position * 8); }},
    {"TwoBallsLargeAtRest", 2, [](rt::Form& f) { stopAndTick<frm2Bolls>(f, 262); }, kYellow,
     QRectF(0, 0, 6400, 4500),
     [](rt::Form& f) {
         const auto& b = static_cast<frm2Bolls&>(f).Balls.Ball1;
         return QPointF(b.X * 3, b.Y * 3);
     }},
    {"TwoBallsSmallAtRest", 2, [](rt::Form& f) { stopAndTick<frm2Bolls>(f, 262); }, kRed,
     QRectF(0, 0, 6400, 4500),
     [](rt::Form& f) {
         const auto& b = static_cast<frm2Bolls&>(f).Balls.Ball2;
         return QPointF(b.X * 3, b.Y * 3);
     }},
    // The cord settled on the floor: a black band inside the frame (where
    // its nodes are is checked node by node below).
    {"CordOnTheFloor", 3, [](rt::Form& f) { stopAndTick<frmElasticCode>(f, 300); }, kBlack,
     QRectF(200, 200, 5360, 4100), nullptr},
};

class ZoomedPicture : public AtDefaults, public ::testing::WithParamInterface<PictureCase> {};

TEST_P(ZoomedPicture, KnownPointsLieAtTheZoomTimesTheirPlaceAtFullSize)
{
    const PictureCase& c = GetParam();
    Windows windows;
    rt::Form& window = kSims[c.sim].open(windows);
    c.settle(window);

    Blob full;
    for (int zoom : {100, 200, 300}) {
        SCOPED_TRACE(zoom);
        rt::setZoomPercent(zoom);
        const double scale = zoom / 100.0;
        EXPECT_EQ(window.size().width(), qRound(window.clientWidthTwips() * scale / 15));
        const QImage image = window.grab().toImage();
        const Blob blob = blobOf(window, image, c.color, c.region);
        ASSERT_GT(blob.count, 0);
        // Where the model puts it, in pixels of this zoom (outlines and the
        // floor line, as thick as the zoom, cover an edge of the fill).
        if (c.expected) {
            const QPointF twips = c.expected(window);
            EXPECT_NEAR(blob.x, twips.x() * scale / 15, scale);
            EXPECT_NEAR(blob.y, twips.y() * scale / 15, scale);
        }
        if (zoom == 100) {
            full = blob;
            continue;
        }
        // The same shape drawn larger, not a stretched image of the small one:
        // at the zoom times its place, with the zoom squared times its area.
        EXPECT_NEAR(blob.x, full.x * scale, 1.0);
        EXPECT_NEAR(blob.y, full.y * scale, 1.0);
        EXPECT_NEAR(blob.count, full.count * scale * scale, 0.3 * full.count * scale * scale);
    }
}

INSTANTIATE_TEST_SUITE_P(Windows, ZoomedPicture, ::testing::ValuesIn(kPictures),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(AtDefaults, EveryTenthNodeOfTheCordIsBlackAtEveryZoom)
{
    Windows windows;
    rt::Form& window = kSims[3].open(windows);
    stopAndTick<frmElasticCode>(window, 300);
    const auto nodes = static_cast<frmElasticCode&>(window).Chain.nodes();
    for (int zoom : {100, 200, 300}) {
        rt::setZoomPercent(zoom);
        const QImage image = window.grab().toImage();
        for (std::size_t i = 0; i < nodes.size(); i += 10) {
            const QPoint at = window.pixelOf(3 * nodes[i].X, 3 * nodes[i].Y).toPoint();
            EXPECT_EQ(image.pixelColor(at), kBlack) << "node " << i << " at " << zoom << " %";
        }
        // The ground just above the cord is clear: a line 5 pixels thick
        // at 100 % is 5 times the zoom.
        const QPoint above = window.pixelOf(3 * nodes[50].X, 3 * nodes[50].Y).toPoint()
                             - QPoint(0, qRound(5 * zoom / 100.0));
        EXPECT_NE(image.pixelColor(above), kBlack) << zoom;
    }
}

// ------------------------------------------------------------ presses

class ZoomedPress : public AtDefaults,
                    public ::testing::WithParamInterface<std::tuple<std::size_t, int>> {};

TEST_P(ZoomedPress, ReachesTheModelAsTheSameTwips)
{
    const auto [sim, zoom] = GetParam();
    Windows windows;
    rt::Form& window = kSims[sim].open(windows);
    rt::setZoomPercent(zoom);
    // 1200 and 900 twips are whole pixels at every zoom level.
    const QPoint at = window.pixelOf(1200, 900).toPoint();
    ASSERT_EQ(QPointF(at), window.pixelOf(1200, 900));
    QTest::mouseMove(&window, at);
    QTest::mousePress(&window, Qt::LeftButton, Qt::NoModifier, at);
    QTest::mouseRelease(&window, Qt::LeftButton, Qt::NoModifier, at);
    if (auto* w = dynamic_cast<frmVibration*>(&window)) {
        EXPECT_EQ(w->Position, 1200.0);  // the press's x is the new length
    } else if (auto* w = dynamic_cast<frmRotaion*>(&window)) {
        EXPECT_EQ(std::pair(w->MouseX, w->MouseY), std::pair(1200.0, 900.0));
        EXPECT_FALSE(w->Timer1.isTicking());
    } else if (auto* w = dynamic_cast<frm2Bolls*>(&window)) {
        EXPECT_EQ(std::pair(w->Balls.Ball1.X, w->Balls.Ball1.Y), std::pair(400.0, 300.0));
    } else if (auto* w = dynamic_cast<frmElasticCode*>(&window)) {
        EXPECT_EQ(std::pair(w->Chain.PullX(), w->Chain.PullY()), std::pair(400.0, 300.0));
    }
}

INSTANTIATE_TEST_SUITE_P(Windows, ZoomedPress,
                         ::testing::Combine(::testing::Range<std::size_t>(0, std::size(kSims)),
                                            ::testing::ValuesIn(rt::kZoomLevels)),
                         [](const auto& info) {
                             return std::string(kSims[std::get<0>(info.param)].name) + "_"
                                    + std::to_string(std::get<1>(info.param));
                         });

// ------------------------------------------------------------ running on

class ZoomWhileRunning : public AtDefaults, public ::testing::WithParamInterface<std::size_t> {};

TEST_P(ZoomWhileRunning, KeepsStateTicksAndPicture)
{
    const SimCase& sim = kSims[GetParam()];
    // The same run twice: once at 100 % throughout, once zoomed twice on
    // the way. Every tick is fired by hand, so both count the same ticks.
    Windows plain;
    rt::Form& reference = sim.open(plain);
    sim.stopAndTick(reference, 40);

    Windows zoomed;
    rt::Form& window = sim.open(zoomed);
    sim.stopAndTick(window, 15);
    rt::setZoomPercent(200);
    sim.stopAndTick(window, 15);
    rt::setZoomPercent(300);
    sim.stopAndTick(window, 10);

    EXPECT_EQ(sim.state(window), sim.state(reference));
    EXPECT_EQ(window.displayList(), reference.displayList());
}

TEST_P(ZoomWhileRunning, TheTimerRunsOnThroughTheChange)
{
    const SimCase& sim = kSims[GetParam()];
    Windows windows;
    rt::Form& window = sim.open(windows);
    const std::vector<double> before = sim.state(window);
    rt::setZoomPercent(250);
    EXPECT_EQ(sim.state(window), before);  // nothing reset, the timer still on
    const rt::RealTimeouts realTicks;
    EXPECT_TRUE(QTest::qWaitFor([&] { return sim.state(window) != before; }, 10000));
}

INSTANTIATE_TEST_SUITE_P(Windows, ZoomWhileRunning, ::testing::Range<std::size_t>(0, std::size(kSims)),
                         [](const auto& info) { return std::string(kSims[info.param].name); });

// ------------------------------------------------------------ Enter

class EnterInABox : public AtDefaults,
                    public ::testing::WithParamInterface<std::tuple<std::size_t, std::size_t>> {};

TEST_P(EnterInABox, ReadsTheBoxesAsTheApplyButtonDoes)
{
    const auto [simIndex, boxIndex] = GetParam();
    const SimCase& sim = kSims[simIndex];
    auto edited = [&](rt::Form& window) {
        sim.stopAndTick(window, 5);  // the model away from its start
        for (const auto& [box, value] : sim.edits)
            window.textBox(box).setText(QString::fromLatin1(value));
    };

    Windows byButton;
    rt::Form& clicked = sim.open(byButton);
    edited(clicked);
    QTest::mouseClick(&clicked.button("Command1"), Qt::LeftButton);

    Windows byEnter;
    rt::Form& window = sim.open(byEnter);
    edited(window);
    const std::vector<double> before = sim.state(window);
    QLineEdit& box = window.textBox(sim.edits[boxIndex].first);
    box.setFocus();
    QTest::keyClick(&box, Qt::Key_Return);

    EXPECT_NE(sim.state(window), before);
    EXPECT_EQ(sim.state(window), sim.state(clicked));
    EXPECT_EQ(box.text(), QString::fromLatin1(sim.edits[boxIndex].second));
}

std::vector<std::tuple<std::size_t, std::size_t>> everyBox()
{
    std::vector<std::tuple<std::size_t, std::size_t>> boxes;
    for (std::size_t sim = 0; sim < std::size(kSims); ++sim)
        for (std::size_t box = 0; box < kSims[sim].edits.size(); ++box)
            boxes.emplace_back(sim, box);
    return boxes;
}

INSTANTIATE_TEST_SUITE_P(Windows, EnterInABox, ::testing::ValuesIn(everyBox()),
                         [](const auto& info) {
                             const SimCase& sim = kSims[std::get<0>(info.param)];
                             return std::string(sim.name) + "_" + sim.edits[std::get<1>(info.param)].first;
                         });

// ------------------------------------------------------------ captions

struct CaptionCase {
    std::size_t window;  // 0..3 the simulations, 4 the launcher
    Language language;
    int zoom;
};

class CaptionsFit : public AtDefaults, public ::testing::WithParamInterface<CaptionCase> {};

TEST_P(CaptionsFit, EveryCaptionShowsWholeInItsControl)
{
    const CaptionCase& c = GetParam();
    setLanguage(c.language);
    rt::setZoomPercent(c.zoom);
    Windows windows;
    frmMain launcher(windows);
    rt::Form& window = c.window < std::size(kSims) ? kSims[c.window].open(windows) : launcher;
    if (&window == &launcher)
        launcher.Show();

    int captions = 0;
    for (QLabel* label : window.findChildren<QLabel*>(Qt::FindDirectChildrenOnly)) {
        SCOPED_TRACE(label->objectName().toStdString() + ": " + label->text().toStdString());
        const QFontMetrics metrics(label->font());
        const QRect room = label->contentsRect();
        const QRect needed = metrics.boundingRect(QRect(0, 0, room.width(), 0),
                                                  Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
                                                  label->text());
        EXPECT_LE(needed.width(), room.width());
        // The last line may reach into the space below its glyphs' baseline.
        EXPECT_LE(needed.height() - metrics.descent(), room.height());
        // A one-line label's word in English takes room to its left rather
        // than a smaller font ("Gravity" where the design holds "重力").
        if (c.language == Language::English && label->height() < 2 * QFontMetrics(window.font()).height()) {
            EXPECT_EQ(label->font().pointSizeF(), window.font().pointSizeF());
        }
        ++captions;
    }
    for (QPushButton* button : window.findChildren<QPushButton*>(Qt::FindDirectChildrenOnly)) {
        SCOPED_TRACE(button->objectName().toStdString() + ": " + button->text().toStdString());
        const QFontMetrics metrics(button->font());
        EXPECT_LE(metrics.horizontalAdvance(button->text()), button->contentsRect().width() - 4);
        EXPECT_LE(metrics.tightBoundingRect(button->text()).height(), button->contentsRect().height());
        ++captions;
    }
    EXPECT_GE(captions, 4);
    // Translated where the language is English: no caption left in Japanese.
    if (c.language == Language::English)
        for (QWidget* child : window.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            QString text;
            if (auto* label = qobject_cast<QLabel*>(child))
                text = label->text();
            else if (auto* button = qobject_cast<QPushButton*>(child))
                text = button->text();
            for (QChar ch : text)
                EXPECT_LT(ch.unicode(), 0x3000) << text.toStdString();
        }
}

std::vector<CaptionCase> captionCases()
{
    std::vector<CaptionCase> cases;
    for (std::size_t window = 0; window <= std::size(kSims); ++window)
        for (Language language : {Language::Japanese, Language::English})
            for (int zoom : {100, 300})
                cases.push_back({window, language, zoom});
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Windows, CaptionsFit, ::testing::ValuesIn(captionCases()),
                         [](const auto& info) {
                             const CaptionCase& c = info.param;
                             const std::string name =
                                 c.window < std::size(kSims) ? kSims[c.window].name : "frmMain";
                             return name + "_" + languageCode(c.language).toStdString() + "_"
                                    + std::to_string(c.zoom);
                         });

// ------------------------------------------------------------ the launcher's menus

struct MenuCase {
    Language language;
    int zoom;
};

class LauncherMenus : public AtDefaults, public ::testing::WithParamInterface<MenuCase> {};

// All four menus show on the narrow launcher, none behind the bar's »,
// and its client area stays 3720 × 3090 twips.
TEST_P(LauncherMenus, AllShowWithoutTheOverflowButton)
{
    setLanguage(GetParam().language);
    rt::setZoomPercent(GetParam().zoom);
    Windows windows;
    frmMain launcher(windows);
    launcher.Show();
    QApplication::processEvents();
    QMenuBar& bar = launcher.menuBar();
    ASSERT_EQ(bar.actions().size(), 4);
    for (QAction* menu : bar.actions()) {
        const QRect place = bar.actionGeometry(menu);
        EXPECT_FALSE(place.isEmpty()) << menu->text().toStdString();
        EXPECT_LE(place.right(), bar.width()) << menu->text().toStdString();
    }
    auto* overflow = bar.findChild<QToolButton*>(QStringLiteral("qt_menubar_ext_button"));
    EXPECT_TRUE(!overflow || !overflow->isVisible());
    const double zoom = GetParam().zoom / 100.0;
    EXPECT_EQ(launcher.width(), qRound(248 * zoom));
    EXPECT_EQ(launcher.height() - bar.height(), qRound(206 * zoom));
    // The titles follow the zoom: no style sheet fixed their font.
    EXPECT_DOUBLE_EQ(bar.font().pointSizeF(), launcher.font().pointSizeF());
}

INSTANTIATE_TEST_SUITE_P(Zooms, LauncherMenus,
                         ::testing::ValuesIn([] {
                             std::vector<MenuCase> cases;
                             for (Language language : {Language::Japanese, Language::English})
                                 for (int zoom : rt::kZoomLevels)
                                     cases.push_back({language, zoom});
                             return cases;
                         }()),
                         [](const auto& info) {
                             return languageCode(info.param.language).toStdString() + "_"
                                    + std::to_string(info.param.zoom);
                         });

// ------------------------------------------------------------ zooms that fit the screen

struct ScreenCase {
    const char* name;
    QRect area;    // the screen's available area
    int largest;   // the largest zoom at which every window fits it
};

class ZoomOnScreen : public AtDefaults, public ::testing::WithParamInterface<ScreenCase> {
protected:
    void TearDown() override
    {
        AtDefaults::TearDown();
        rt::setAvailableArea([](const QWidget&) { return QRect(0, 0, 8000, 6000); });
    }
};

// The zoom menu offers the levels at which every window, open or not yet
// made, fits the screen, and says why the others are not offered; asked for
// a larger one (a key, the command line), the zoom takes the largest that
// fits; a window the zoom grows stays on its screen, and going back puts
// it where it was.
TEST_P(ZoomOnScreen, OnlyLevelsThatFitAndWindowsStayWhereTheyWere)
{
    const ScreenCase& c = GetParam();
    rt::setAvailableArea([&c](const QWidget&) { return c.area; });
    Windows windows;
    frmMain launcher(windows);
    launcher.Show();
    for (int level : rt::kZoomLevels) {
        QAction& action = launcher.zoomAction(level);
        EXPECT_EQ(action.isEnabled(), level <= c.largest) << level;
        EXPECT_EQ(action.toolTip() == QStringLiteral("画面に収まりません"), level > c.largest) << level;
    }
    setLanguage(Language::English);
    EXPECT_EQ(rt::zoomFits(400), c.largest == 400);
    EXPECT_EQ(launcher.zoomAction(400).toolTip() == QStringLiteral("does not fit the screen"), c.largest < 400);

    rt::Form& balls = twoBallsWindow(windows);  // the widest window
    balls.Show();
    // Near the bottom right corner, whole at 100 %.
    const QPoint home(c.area.right() - 600, c.area.bottom() - 420);
    balls.move(home);
    rt::setZoomPercent(400);
    EXPECT_EQ(rt::zoomPercent(), c.largest);
    for (rt::Form* window : {&balls, static_cast<rt::Form*>(&launcher)}) {
        EXPECT_TRUE(c.area.contains(window->frameGeometry())) << window->objectName().toStdString();
    }
    rt::setZoomPercent(100);
    EXPECT_EQ(balls.pos(), home);
}

INSTANTIATE_TEST_SUITE_P(Screens, ZoomOnScreen,
                         ::testing::Values(ScreenCase{"Wide1920x1200", QRect(0, 0, 1920, 1200), 300},
                                           ScreenCase{"Laptop1280x800", QRect(0, 0, 1280, 800), 200},
                                           ScreenCase{"Old1024x768", QRect(0, 0, 1024, 768), 150},
                                           ScreenCase{"RightOfAnother", QRect(1920, 0, 1280, 800), 200},
                                           ScreenCase{"Large4K", QRect(0, 0, 3840, 2160), 400}),
                         [](const auto& info) { return std::string(info.param.name); });

// ------------------------------------------------------------ the look

TEST_F(AtDefaults, UnderADarkDesktopPaletteTheFloorAndCordStayBlackOnLight)
{
    const QPalette before = QApplication::palette();
    QPalette dark(QColor(230, 230, 230), QColor(30, 30, 30));
    dark.setColor(QPalette::Base, QColor(20, 20, 20));
    dark.setColor(QPalette::Text, QColor(230, 230, 230));
    QApplication::setPalette(dark);

    Windows windows;
    frm2Bolls& balls = twoBallsWindow(windows);
    balls.Show();
    stopAndTick<frm2Bolls>(balls, 262);
    frmElasticCode& cord = rubberCordWindow(windows);
    cord.Show();
    stopAndTick<frmElasticCode>(cord, 300);
    QApplication::setPalette(dark);  // also after the windows exist

    auto isLight = [](QColor c) { return c.red() > 200 && c.green() > 200 && c.blue() > 200; };
    for (int zoom : {100, 200}) {
        SCOPED_TRACE(zoom);
        rt::setZoomPercent(zoom);
        const QImage floor = balls.grab().toImage();
        // The floor line at x = 6000 twips, well right of the balls.
        const QPoint onFloor = balls.pixelOf(6000, 4250).toPoint();
        bool black = false;
        for (int dy = -1; dy <= 1; ++dy)
            black = black || floor.pixelColor(onFloor.x(), onFloor.y() + dy) == QColor(Qt::black);
        EXPECT_TRUE(black);
        EXPECT_TRUE(isLight(floor.pixelColor(balls.pixelOf(6000, 3900).toPoint())));
        EXPECT_TRUE(isLight(floor.pixelColor(balls.pixelOf(6000, 4600).toPoint())));

        const QImage picture = cord.grab().toImage();
        const Blob band = blobOf(cord, picture, kBlack, QRectF(200, 200, 5360, 4100));
        EXPECT_GT(band.count, 100);
        EXPECT_TRUE(isLight(picture.pixelColor(cord.pixelOf(2000, 2000).toPoint())));
        // The boxes stay white with black digits too.
        EXPECT_EQ(cord.textBox("Text1").palette().color(QPalette::Base), QColor(Qt::white));
        EXPECT_EQ(cord.textBox("Text1").palette().color(QPalette::Text), QColor(Qt::black));
    }
    QApplication::setPalette(before);
}

TEST_F(AtDefaults, WindowsHaveNoMaximiseButton)
{
    Windows windows;
    frmMain launcher(windows);
    std::vector<QWidget*> all{&launcher};
    for (const SimCase& sim : kSims)
        all.push_back(&sim.open(windows));
    for (QWidget* window : all) {
        EXPECT_FALSE(window->windowFlags() & Qt::WindowMaximizeButtonHint) << window->objectName().toStdString();
        EXPECT_TRUE(window->windowFlags() & Qt::WindowCloseButtonHint);
        EXPECT_EQ(window->minimumSize(), window->maximumSize());
    }
}

}  // namespace

namespace {

// Controls and client areas at the levels between the whole ones, where
// twips land on half pixels: the pixels are rounded to the nearest, halves
// away from zero, worked out here by hand.
struct GeometryCase {
    const char* name;
    const char* experiment;
    const char* control;  // null: the client area
    int zoom;
    QRect pixels;
};

class ZoomedGeometry : public AtDefaults, public ::testing::WithParamInterface<GeometryCase> {};

TEST_P(ZoomedGeometry, RoundsTwipsToTheNearestPixel)
{
    const GeometryCase& c = GetParam();
    Windows windows;
    ExperimentWindow& window = windows.show(*sims::findExperiment(c.experiment));
    rt::setZoomPercent(c.zoom);
    if (c.control)
        EXPECT_EQ(window.control(c.control).geometry(), c.pixels);
    else
        EXPECT_EQ(window.size(), c.pixels.size());
    window.close();
}

INSTANTIATE_TEST_SUITE_P(
    Levels, ZoomedGeometry,
    ::testing::Values(
        // 7680, 960, 855 × 270 twips
        GeometryCase{"BallsBox125", "two-balls", "Text2", 125, QRect(640, 80, 71, 23)},
        GeometryCase{"BallsBox150", "two-balls", "Text2", 150, QRect(768, 96, 86, 27)},
        GeometryCase{"BallsBox250", "two-balls", "Text2", 250, QRect(1280, 160, 143, 45)},
        // 1440, 2160, 975 × 375 twips
        GeometryCase{"VibrationLabel125", "vibration", "Label5", 125, QRect(120, 180, 81, 31)},
        GeometryCase{"VibrationLabel150", "vibration", "Label5", 150, QRect(144, 216, 98, 38)},
        GeometryCase{"VibrationLabel250", "vibration", "Label5", 250, QRect(240, 360, 163, 63)},
        // 5040, 720, 615 × 270 twips
        GeometryCase{"RotationBox125", "rotation", "Text1", 125, QRect(420, 60, 51, 23)},
        GeometryCase{"RotationBox150", "rotation", "Text1", 150, QRect(504, 72, 62, 27)},
        GeometryCase{"RotationBox250", "rotation", "Text1", 250, QRect(840, 120, 103, 45)},
        // 8670 × 4635 twips
        GeometryCase{"CordClient125", "rubber-cord", nullptr, 125, QRect(0, 0, 723, 386)},
        GeometryCase{"CordClient150", "rubber-cord", nullptr, 150, QRect(0, 0, 867, 464)},
        GeometryCase{"CordClient250", "rubber-cord", nullptr, 250, QRect(0, 0, 1445, 773)}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
