#pragma once
// Recordings made in a simulation window, and recordings replayed in one.
//
// A WindowRecorder follows a window from outside, as the measurement window
// does: it starts at the window's next reading of its boxes (its load or a
// click on "変更"), because only there does a run have a known start; what
// the window keeps across that reading (the two balls' velocities, the
// rotation's pointer) goes into the recording as its "carry". From then on
// it keeps the texts read at every "変更", the presses and moves in twips
// with the tick after which they came, and the pauses and steps of the
// measurement window.
//
// A WindowReplay puts a recording back into the window: the boxes' texts
// and the carried state, then the window's own button, then tick after tick
// through the window's timer with the recorded presses and moves between
// them, at the interval the window's timer has. The window's own timeouts
// are held meanwhile, so every tick is one the replay gave; after the last
// tick the window runs on by itself, as it did when the recording ended.

#include "measure/recording.h"
#include "measure/experiment_face.h"
#include "runtime/forms/form.h"

#include <QObject>
#include <QTimer>

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string_view>
#include <vector>

class WindowRecorder : private rt::Form::Listener {
public:
    explicit WindowRecorder(measure::ExperimentFace& window);
    ~WindowRecorder();
    WindowRecorder(const WindowRecorder&) = delete;
    WindowRecorder& operator=(const WindowRecorder&) = delete;

    // False until the window has read its boxes.
    bool started() const { return !m_script.events.empty(); }
    // True once the recording holds as many ticks or events as a recording
    // may: it ends there, and what came later is not in it.
    bool full() const { return m_full; }
    std::int64_t tick() const { return m_tick; }
    // The recording so far, ending at the latest tick.
    measure::Script script() const;

private:
    void formEventRan(rt::FormEvent event) override;
    void add(measure::ScriptEvent event);
    void noteHold();

    measure::ExperimentFace& m_window;
    measure::Script m_script;
    std::int64_t m_tick = 0;
    bool m_paused = false;
    bool m_full = false;
};

class WindowReplay : public QObject {
    Q_OBJECT

public:
    // The script must be one for the window's experiment.
    WindowReplay(measure::ExperimentFace& window, measure::Script script);
    ~WindowReplay() override;

    // Shows the window and puts it at the recording's start; then the ticks
    // follow at the window timer's interval (unless tests hold timeouts and
    // call advance()).
    void start();
    // One tick and what was recorded after it; false once the replay is over.
    bool advance();
    bool finished() const { return m_finished; }
    std::int64_t tick() const { return m_tick; }

signals:
    void ended();

private:
    void applyEvents();
    void finish();
    void pace();

    measure::ExperimentFace& m_window;
    measure::Script m_script;
    std::size_t m_next = 0;
    std::int64_t m_tick = 0;
    std::int64_t m_lastTick = 0;
    bool m_finished = false;
    QTimer m_pacer;
};
