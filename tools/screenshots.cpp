// Makes the README's pictures: each window as a person sees it, in a given
// state, grabbed from a real X display (run under xvfb-run by
// tools/screenshots.sh). Writes PNG files into the folder given.
//
// With --every as a second argument it writes each window at each zoom in
// both languages instead, for looking them over.

#include "shell/app_setup.h"
#include "shell/frm_main.h"
#include "tests/support/typed_windows.h"
#include "shell/language.h"
#include "measure/measurement_window.h"
#include "shell/window_set.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QTest>

#include <cmath>
#include <cstdio>

namespace {

void save(QWidget& window, const QDir& folder, const QString& file)
{
    QApplication::processEvents();
    QTest::qWait(50);
    const QString path = folder.filePath(file);
    if (!window.grab().save(path))
        std::fprintf(stderr, "screenshots: cannot write %s\n", qPrintable(path));
    else
        std::printf("%s\n", qPrintable(path));
}

template <typename Window>
void ticks(Window& window, int count)
{
    window.Timer1.setEnabled(false);  // the picture is the state after exactly these ticks
    for (int i = 0; i < count; ++i)
        window.Timer1.fire();
}

// Every window in the state its picture shows, each saved as
// <name><suffix>.png when its name is among those wanted.
void shoot(const QDir& folder, const QString& suffix, const QStringList& wanted)
{
    auto saveAs = [&](QWidget& window, const char* name) {
        if (wanted.isEmpty() || wanted.contains(QLatin1String(name)))
            save(window, folder, QLatin1String(name) + suffix + QStringLiteral(".png"));
    };
    Windows windows;
    frmMain launcher(windows);
    launcher.Show();
    saveAs(launcher, "launcher");

    frmVibration& vibration = vibrationWindow(windows);
    vibration.Show();
    ticks(vibration, 31);  // the first maximum of the swing
    saveAs(vibration, "vibration");

    frmRotaion& rotation = rotationWindow(windows);
    rotation.Show();
    // The pointer circles about (1800, 1500) twips and the mass swings
    // after it (set directly: a warped X pointer arrives too late to count).
    for (int i = 0; i < 150; ++i) {
        const double angle = i * 0.08;
        rotation.MouseX = 1800 + 600 * std::cos(angle);
        rotation.MouseY = 1500 + 600 * std::sin(angle);
        ticks(rotation, 1);
    }
    saveAs(rotation, "rotation");

    frm2Bolls& twoBalls = twoBallsWindow(windows);
    twoBalls.Show();
    ticks(twoBalls, 262);  // the tick on which the pair comes to rest
    saveAs(twoBalls, "two_balls");

    frmElasticCode& cord = rubberCordWindow(windows);
    cord.Show();
    ticks(cord, 300);  // fallen and settled on the floor
    saveAs(cord, "rubber_cord");
}

// A measurement window beside its experiment, both in one picture.
void shootMeasurement(const QDir& folder, const sims::Definition& sim, int tickCount, const QString& file,
                      bool paused = false)
{
    Windows windows;
    windows.openMeasurement(sim);
    ticks(windows.window(sim), tickCount);
    rt::Form& window = windows.window(sim);
    measure::MeasurementWindow& measurement = windows.measurement(sim);
    window.move(0, 0);
    measurement.resize(760, 480);
    measurement.move(window.frameGeometry().right() + 8, 0);
    measurement.setPaused(paused);
    measurement.refresh();
    QApplication::processEvents();
    QTest::qWait(100);
    // Both windows as they stand on the screen, on a plain desk.
    const QRect both = window.geometry().united(measurement.geometry());
    QImage picture(both.size(), QImage::Format_RGB32);
    picture.fill(QColor(0xd8, 0xd8, 0xd8));
    {
        QPainter painter(&picture);
        painter.drawPixmap(window.geometry().topLeft() - both.topLeft(), window.grab());
        painter.drawPixmap(measurement.geometry().topLeft() - both.topLeft(), measurement.grab());
    }
    const QString path = folder.filePath(file);
    if (!picture.save(path))
        std::fprintf(stderr, "screenshots: cannot write %s\n", qPrintable(path));
    else
        std::printf("%s\n", qPrintable(path));
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    setUpApplication(app);
    QApplication::setCursorFlashTime(0);  // a steady text cursor: the same picture every run
    const QDir folder(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("docs"));

    if (argc > 2 && qstrcmp(argv[2], "--every") == 0) {
        for (Language language : {Language::Japanese, Language::English}) {
            setLanguage(language);
            for (int zoom : {100, 200, 300}) {
                rt::setZoomPercent(zoom);
                shoot(folder, QStringLiteral("_%1_%2").arg(languageCode(language)).arg(zoom), {});
            }
        }
        return 0;
    }

    shoot(folder, QString(), {});
    shootMeasurement(folder, vibration::definition(), 400, QStringLiteral("measurement_vibration.png"));
    shootMeasurement(folder, two_balls::definition(), 200, QStringLiteral("measurement_two_balls.png"),
                     true);
    rt::setZoomPercent(200);
    shoot(folder, QStringLiteral("_200"), {QStringLiteral("vibration")});
    rt::setZoomPercent(100);
    setLanguage(Language::English);
    shoot(folder, QStringLiteral("_en"), {QStringLiteral("launcher"), QStringLiteral("two_balls")});
    shootMeasurement(folder, vibration::definition(), 400, QStringLiteral("measurement_vibration_en.png"));
    return 0;
}
