#include "windows.h"

#include "frm_elastic_code.h"
#include "frm_rotaion.h"
#include "frm_two_bolls.h"
#include "frm_vibration.h"
#include "language.h"
#include "measurement_window.h"
#include "rotation_quantities.h"
#include "rubber_cord_quantities.h"
#include "two_balls_quantities.h"
#include "vibration_quantities.h"

#include <QKeySequence>
#include <QScreen>
#include <QShortcut>

Windows::Windows() = default;
Windows::~Windows() = default;

namespace {

std::size_t indexOf(Sim sim) { return static_cast<std::size_t>(sim); }

// The name the measurement tables know the experiment by.
std::string_view experimentName(Sim sim)
{
    switch (sim) {
    case Sim::Rotation:
        return "rotation";
    case Sim::Vibration:
        return "vibration";
    case Sim::TwoBalls:
        return "two-balls";
    case Sim::RubberCord:
        break;
    }
    return "rubber-cord";
}

template <typename Window, typename Sample>
measure::Source sourceOf(Window& window, std::string_view name, Sample sample)
{
    return {&window, &window.Timer1, name, [&window, sample](std::span<double> row) { sample(window, row); }};
}

}  // namespace

template <typename Window>
Window& Windows::made(std::unique_ptr<Window>& slot, Sim sim)
{
    if (!slot) {
        slot = std::make_unique<Window>();
        // Ctrl+G: the graphs of this experiment. The window's own code
        // knows nothing of it.
        auto* shortcut = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_G), slot.get());
        shortcut->setObjectName(QStringLiteral("measureShortcut"));
        QObject::connect(shortcut, &QShortcut::activated, slot.get(), [this, sim] { openMeasurement(sim); });
    }
    return *slot;
}

frmRotaion& Windows::rotation() { return made(m_rotation, Sim::Rotation); }
frm2Bolls& Windows::twoBalls() { return made(m_twoBalls, Sim::TwoBalls); }
frmElasticCode& Windows::rubberCord() { return made(m_rubberCord, Sim::RubberCord); }
frmVibration& Windows::vibration() { return made(m_vibration, Sim::Vibration); }

rt::Form& Windows::window(Sim sim)
{
    switch (sim) {
    case Sim::Rotation:
        return rotation();
    case Sim::Vibration:
        return vibration();
    case Sim::TwoBalls:
        return twoBalls();
    case Sim::RubberCord:
        break;
    }
    return rubberCord();
}

measure::MeasurementWindow* Windows::measurementIfMade(Sim sim) const { return m_measurements[indexOf(sim)].get(); }

measure::MeasurementWindow& Windows::measurement(Sim sim)
{
    auto& slot = m_measurements[indexOf(sim)];
    if (slot)
        return *slot;
    // Each window's live model, sampled through its experiment's table.
    const std::string_view name = experimentName(sim);
    measure::Source source;
    switch (sim) {
    case Sim::Rotation:
        source = sourceOf(rotation(), name, [](const frmRotaion& w, std::span<double> row) {
            measure::sampleInto(rotation::quantities(), w.Mass, row);
        });
        break;
    case Sim::Vibration:
        source = sourceOf(vibration(), name, [](const frmVibration& w, std::span<double> row) {
            measure::sampleInto(vibration::quantities(), w.Spring, row);
        });
        break;
    case Sim::TwoBalls:
        source = sourceOf(twoBalls(), name, [](const frm2Bolls& w, std::span<double> row) {
            measure::sampleInto(two_balls::quantities(), w.Balls, row);
        });
        break;
    case Sim::RubberCord:
        source = sourceOf(rubberCord(), name, [](const frmElasticCode& w, std::span<double> row) {
            measure::sampleInto(rubber_cord::quantities(), rubber_cord::measureCord(w.Chain), row);
        });
        break;
    }
    slot = std::make_unique<measure::MeasurementWindow>(
        std::move(source), [] { return currentLanguage() == Language::English; });
    return *slot;
}

rt::Form& Windows::show(SimulationWindow sim)
{
    rt::Form& form = window(sim);
    form.Show();
    return form;
}

void Windows::openMeasurement(Sim sim)
{
    measure::MeasurementWindow& m = measurement(sim);
    rt::Form& w = window(sim);
    const bool first = !m.isVisible() && m.recorder().rows() == 0;
    // Attached before the window loads, so the recording starts at its
    // first tick.
    w.Show();
    if (first) {
        // Beside the experiment, where the screen has room.
        QPoint at = w.frameGeometry().topRight() + QPoint(8, 0);
        if (const QScreen* screen = w.screen()) {
            const QRect room = screen->availableGeometry();
            if (at.x() + m.sizeHint().width() > room.right())
                at.setX(std::max(room.left(), room.right() - m.sizeHint().width()));
        }
        m.move(at);
    }
    m.show();
    m.raise();
    m.activateWindow();
}
