// Makes the README's pictures: each window as a person sees it, in a given
// state, grabbed from a real X display (run under xvfb-run by
// tools/screenshots.sh). Writes PNG files into the folder given.

#include "frm_elastic_code.h"
#include "frm_main.h"
#include "frm_rotaion.h"
#include "frm_two_bolls.h"
#include "frm_vibration.h"
#include "windows.h"

#include <QApplication>
#include <QDir>
#include <QTest>

#include <cmath>
#include <cstdio>

namespace {

void save(QWidget& window, const QDir& folder, const char* file)
{
    QApplication::processEvents();
    QTest::qWait(50);
    const QString path = folder.filePath(QString::fromLatin1(file));
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

}  // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    rt::applyApplicationLook();
    QApplication::setCursorFlashTime(0);  // a steady text cursor: the same picture every run
    const QDir folder(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("docs"));

    Windows windows;
    frmMain launcher(windows);
    launcher.Show();
    save(launcher, folder, "launcher.png");

    frmVibration& vibration = windows.vibration();
    vibration.Show();
    ticks(vibration, 31);  // the first maximum of the swing
    save(vibration, folder, "vibration.png");
    frmRotaion& rotation = windows.rotation();
    rotation.Show();
    // The pointer circles about (1800, 1500) twips and the mass swings
    // after it (set directly: a warped X pointer arrives too late to count).
    for (int i = 0; i < 150; ++i) {
        const double angle = i * 0.08;
        rotation.MouseX = 1800 + 600 * std::cos(angle);
        rotation.MouseY = 1500 + 600 * std::sin(angle);
        ticks(rotation, 1);
    }
    save(rotation, folder, "rotation.png");

    frm2Bolls& twoBalls = windows.twoBalls();
    twoBalls.Show();
    ticks(twoBalls, 262);  // the tick on which the pair comes to rest
    save(twoBalls, folder, "two_balls.png");

    frmElasticCode& cord = windows.rubberCord();
    cord.Show();
    ticks(cord, 300);  // fallen and settled on the floor
    save(cord, folder, "rubber_cord.png");
    return 0;
}
