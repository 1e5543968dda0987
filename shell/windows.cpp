#include "shell/windows.h"

#include "sims/rubber_cord/frm_elastic_code.h"
#include "sims/rotation/frm_rotaion.h"
#include "sims/two_balls/frm_two_bolls.h"
#include "sims/vibration/frm_vibration.h"
#include "shell/language.h"
#include "measure/atomic_file.h"
#include "measure/csv.h"
#include "measure/experiment.h"
#include "measure/measurement_window.h"
#include "sims/rotation/rotation_quantities.h"
#include "sims/rubber_cord/rubber_cord_quantities.h"
#include "sims/two_balls/two_balls_quantities.h"
#include "sims/vibration/vibration_quantities.h"

#include <QKeySequence>
#include <QScreen>
#include <QShortcut>

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

Windows::Windows() = default;
Windows::~Windows() = default;

namespace {

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
    slot->setRecordSwitch([this, sim] { return recording(sim); },
                          [this, sim] {
                              if (m_recordingSwitch)
                                  m_recordingSwitch(sim, !recording(sim));
                          });
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

std::optional<Sim> Windows::simNamed(std::string_view experiment)
{
    for (Sim sim : kSims)
        if (experimentName(sim) == experiment)
            return sim;
    return std::nullopt;
}

RecordedWindow Windows::recordedWindow(Sim sim)
{
    switch (sim) {
    case Sim::Rotation: {
        frmRotaion& w = rotation();
        return {&w, &w.Timer1, experimentName(sim), [&w] { return measure::carriedOf(w.Mass); },
                [&w](std::span<const double> v) { measure::carryInto(w.Mass, v); }};
    }
    case Sim::TwoBalls: {
        frm2Bolls& w = twoBalls();
        return {&w, &w.Timer1, experimentName(sim), [&w] { return measure::carriedOf(w.Balls); },
                [&w](std::span<const double> v) { measure::carryInto(w.Balls, v); }};
    }
    case Sim::Vibration:
        return {&vibration(), &vibration().Timer1, experimentName(sim), {}, {}};
    case Sim::RubberCord:
        break;
    }
    return {&rubberCord(), &rubberCord().Timer1, experimentName(sim), {}, {}};
}

void Windows::startRecording(Sim sim)
{
    auto& slot = m_recorders[indexOf(sim)];
    if (slot)
        return;
    slot = std::make_unique<WindowRecorder>(recordedWindow(sim));
    // A closed window starts its recording as it loads.
    if (!window(sim).isLoaded())
        window(sim).Show();
    if (measure::MeasurementWindow* m = measurementIfMade(sim))
        m->recordingChanged();
}

std::optional<measure::Script> Windows::stopRecording(Sim sim)
{
    std::unique_ptr<WindowRecorder> recorder = std::move(m_recorders[indexOf(sim)]);
    if (measure::MeasurementWindow* m = measurementIfMade(sim))
        m->recordingChanged();
    if (!recorder || !recorder->started())
        return std::nullopt;
    return recorder->script();
}

QString Windows::saveRecording(const measure::Script& script, const QString& path)
{
    const std::string text = measure::writeRecording(script);
    return QString::fromStdString(
        measure::saveFile(path.toStdString(), [&text](const measure::Sink& sink) { sink(text); }));
}

void Windows::replay(Sim sim, measure::Script script)
{
    auto& slot = m_replays[indexOf(sim)];
    slot.reset();  // a replay running there ends first
    slot = std::make_unique<WindowReplay>(recordedWindow(sim), std::move(script));
    slot->start();
}

QString Windows::replay(const QString& path)
{
    measure::RecordingRead read = measure::loadRecording(path.toStdString());
    if (!read.script)
        return QString::fromStdString(read.error);
    const std::optional<Sim> sim = simNamed(read.script->experiment);
    if (!sim)  // the reader knows no other experiments
        return path + QStringLiteral(": an unknown experiment");
    replay(*sim, std::move(*read.script));
    return {};
}
