#include "shell/window_set.h"

#include "measure/atomic_file.h"
#include "measure/measurement_window.h"
#include "runtime/forms/form.h"
#include "runtime/text/catalogue.h"
#include "sims/registry.h"

#include <QKeySequence>
#include <QScreen>
#include <QShortcut>

#include <algorithm>
#include <cassert>

namespace {

WindowMaker& windowMaker()
{
    static WindowMaker maker;
    return maker;
}

}  // namespace

void setWindowMaker(WindowMaker maker) { windowMaker() = std::move(maker); }

Windows::Windows()
{
    // Each window is made when first shown; the zoom leaves room for it
    // from the start.
    static const bool expected = [] {
        for (const sims::Definition* d : sims::experiments())
            rt::expectWindow(d->clientWidth, d->clientHeight);
        return true;
    }();
    (void)expected;
    for (std::size_t i = 0; i < sims::experiments().size(); ++i)
        m_slots.push_back(std::make_unique<Slot>());
}

Windows::~Windows() = default;

Windows::Slot& Windows::slot(const sims::Definition& experiment) const
{
    const auto all = sims::experiments();
    const auto it = std::find(all.begin(), all.end(), &experiment);
    assert(it != all.end());
    return *m_slots[static_cast<std::size_t>(it - all.begin())];
}

ExperimentWindow& Windows::window(const sims::Definition& experiment)
{
    Slot& s = slot(experiment);
    if (!s.window) {
        s.window = windowMaker() ? windowMaker()(experiment) : std::make_unique<ExperimentWindow>(experiment);
        // Ctrl+G: the graphs of this experiment. The window's own code
        // knows nothing of it.
        auto* shortcut = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_G), s.window.get());
        shortcut->setObjectName(QStringLiteral("measureShortcut"));
        QObject::connect(shortcut, &QShortcut::activated, s.window.get(),
                         [this, &experiment] { openMeasurement(experiment); });
    }
    return *s.window;
}

ExperimentWindow& Windows::window(std::string_view experiment)
{
    const sims::Definition* d = sims::findExperiment(experiment);
    assert(d);
    return window(*d);
}

ExperimentWindow* Windows::windowIfMade(const sims::Definition& experiment) const
{
    return slot(experiment).window.get();
}

ExperimentWindow& Windows::show(const sims::Definition& experiment)
{
    ExperimentWindow& w = window(experiment);
    w.Show();
    return w;
}

measure::MeasurementWindow* Windows::measurementIfMade(const sims::Definition& experiment) const
{
    return slot(experiment).measurement.get();
}

measure::MeasurementWindow& Windows::measurement(const sims::Definition& experiment)
{
    Slot& s = slot(experiment);
    if (s.measurement)
        return *s.measurement;
    s.measurement = std::make_unique<measure::MeasurementWindow>(window(experiment));
    s.measurement->setRecordSwitch([this, &experiment] { return recording(experiment); },
                                   [this, &experiment] {
                                       if (m_recordingSwitch)
                                           m_recordingSwitch(experiment, !recording(experiment));
                                   });
    return *s.measurement;
}

void Windows::openMeasurement(const sims::Definition& experiment)
{
    measure::MeasurementWindow& m = measurement(experiment);
    rt::Form& w = window(experiment);
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

WindowRecorder* Windows::recorder(const sims::Definition& experiment) const { return slot(experiment).recorder.get(); }

void Windows::startRecording(const sims::Definition& experiment)
{
    Slot& s = slot(experiment);
    if (s.recorder)
        return;
    ExperimentWindow& w = window(experiment);
    s.recorder = std::make_unique<WindowRecorder>(w);
    // A closed window starts its recording as it loads.
    if (!w.isLoaded())
        w.Show();
    if (s.measurement)
        s.measurement->recordingChanged();
}

std::optional<measure::Script> Windows::stopRecording(const sims::Definition& experiment)
{
    Slot& s = slot(experiment);
    std::unique_ptr<WindowRecorder> recorder = std::move(s.recorder);
    if (s.measurement)
        s.measurement->recordingChanged();
    if (!recorder || !recorder->started())
        return std::nullopt;
    return recorder->script();
}

QString Windows::saveRecording(const measure::Script& script, const QString& path)
{
    const std::string text = measure::writeRecording(script);
    return QString::fromStdString(
        measure::saveFile(path.toStdString(), [&text](const measure::Sink& sink) { sink(text); }, rt::languageCode()));
}

WindowReplay* Windows::replayIfRunning(const sims::Definition& experiment) const { return slot(experiment).replay.get(); }

void Windows::replay(const sims::Definition& experiment, measure::Script script)
{
    Slot& s = slot(experiment);
    s.replay.reset();  // a replay running there ends first
    s.replay = std::make_unique<WindowReplay>(window(experiment), std::move(script));
    s.replay->start();
}

QString Windows::replay(const QString& path)
{
    measure::RecordingRead read = measure::loadRecording(path.toStdString(), rt::languageCode());
    if (!read.script)
        return QString::fromStdString(read.error);
    const sims::Definition* experiment = sims::findExperiment(read.script->experiment);
    if (!experiment)  // the reader knows no other experiments
        return QString::fromStdString(rt::text::say(rt::languageCode(), "measure",
                                                    QT_TRANSLATE_NOOP("measure", "%1: an unknown experiment"),
                                                    {path.toStdString()}));
    replay(*experiment, std::move(*read.script));
    return {};
}
