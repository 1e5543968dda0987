#include "shell/window_recording.h"


#include <QLineEdit>
#include <QPushButton>

#include <algorithm>
#include <string>

namespace {

// A script without an end runs as long as a headless run of it would.
constexpr std::int64_t kTicksWithoutEnd = 10000;

}  // namespace

// ---------------------------------------------------------------- recorder

WindowRecorder::WindowRecorder(measure::ExperimentFace& window) : m_window(window)
{
    m_script.experiment = m_window.definition().name;
    m_window.form().addListener(this);
}

WindowRecorder::~WindowRecorder() { m_window.form().removeListener(this); }

measure::Script WindowRecorder::script() const
{
    measure::Script script = m_script;
    script.ticks = m_tick;
    return script;
}

void WindowRecorder::add(measure::ScriptEvent event)
{
    if (m_full)
        return;
    // Only the last place of the pointer before a tick or a press counts:
    // a moving mouse gives dozens of moves per tick.
    if (event.kind == measure::ScriptEvent::Kind::Move && !m_script.events.empty()
        && m_script.events.back().kind == measure::ScriptEvent::Kind::Move && m_script.events.back().tick == event.tick)
        m_script.events.back() = std::move(event);
    else if (m_script.events.size() + 1 < measure::kMaxEvents)  // and room for the end
        m_script.events.push_back(std::move(event));
    else
        m_full = true;  // a replay must never miss an input: the recording ends here
}

// A hold or release of the timer is written down at the tick it happened
// after, before the next input or tick: a window held when the recording
// starts, or one paused between two presses, shows so in the recording, and
// its presses stay at the ticks the window had run when they came.
void WindowRecorder::noteHold()
{
    if (m_window.timer().held() == m_paused)
        return;
    m_paused = m_window.timer().held();
    add({m_tick, m_paused ? measure::ScriptEvent::Kind::Pause : measure::ScriptEvent::Kind::Resume, {}, 0, 0});
}

void WindowRecorder::formEventRan(rt::FormEvent event)
{
    using Kind = measure::ScriptEvent::Kind;
    switch (event) {
    case rt::FormEvent::Load:
    case rt::FormEvent::Click: {
        // The boxes as the window has just read them.
        if (!started())
            m_script.carried = m_window.experiment().carried();
        measure::ScriptEvent change;
        change.tick = m_tick;
        const auto parameters = m_window.definition().parameters;
        for (std::size_t i = 0; i < parameters.size(); ++i)
            change.texts.emplace_back(parameters[i].key, m_window.parameterBox(i).text().toStdString());
        add(std::move(change));
        noteHold();
        return;
    }
    case rt::FormEvent::Tick:
        if (!started() || m_full)
            return;
        if (m_tick == measure::kMaxTicks) {
            m_full = true;
            return;
        }
        // The hold as it was when this tick came: after the one before.
        noteHold();
        ++m_tick;
        // A tick while the timer is held is one run by hand.
        if (m_paused)
            add({m_tick, Kind::Step, {}, 0, 0});
        return;
    case rt::FormEvent::MouseDown:
    case rt::FormEvent::MouseMove:
        if (started()) {
            noteHold();
            add({m_tick, event == rt::FormEvent::MouseDown ? Kind::Press : Kind::Move, {},
                 m_window.form().lastMouseX(), m_window.form().lastMouseY()});
        }
        return;
    case rt::FormEvent::Other:
        return;
    }
}

// ---------------------------------------------------------------- replay

WindowReplay::WindowReplay(measure::ExperimentFace& window, measure::Script script)
    : m_window(window),
      m_script(std::move(script)),
      m_lastTick(m_script.ticks.value_or(kTicksWithoutEnd))
{
    connect(&m_pacer, &QTimer::timeout, this, [this] { pace(); });
}

WindowReplay::~WindowReplay()
{
    if (!m_finished)
        m_window.timer().setHeld(false);
}

void WindowReplay::start()
{
    rt::Form& form = m_window.form();
    form.Show();
    // The window's own timeouts would add ticks the recording never had.
    m_window.timer().setHeld(true);
    // Boxes a change does not name keep the text a fresh window has.
    const sims::Definition& definition = m_window.definition();
    for (std::size_t i = 0; i < definition.parameters.size(); ++i) {
        const std::string_view text = sims::defaultText(definition, i);
        m_window.parameterBox(i).setText(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    }
    if (!m_script.carried.empty())
        m_window.experiment().carry(m_script.carried);
    applyEvents();
    m_pacer.start(std::max(1, static_cast<int>(m_window.timer().Interval())));
}

void WindowReplay::applyEvents()
{
    rt::Form& form = m_window.form();
    using Kind = measure::ScriptEvent::Kind;
    for (; m_next < m_script.events.size() && m_script.events[m_next].tick <= m_tick; ++m_next) {
        const measure::ScriptEvent& e = m_script.events[m_next];
        switch (e.kind) {
        case Kind::Change:
            for (const auto& [key, text] : e.texts) {
                const int index = sims::findParameter(m_window.definition(), key);
                m_window.parameterBox(static_cast<std::size_t>(index)).setText(QString::fromStdString(text));
            }
            m_window.apply();
            break;
        case Kind::Press:
            form.mouseDownAt(rt::kLeftButton, 0, e.x, e.y);
            break;
        case Kind::Move:
            form.mouseMoveAt(0, 0, e.x, e.y);
            break;
        case Kind::Pause:
        case Kind::Resume:
        case Kind::Step:
            break;
        }
    }
}

bool WindowReplay::advance()
{
    if (m_finished)
        return false;
    const rt::Timer& timer = m_window.timer();
    // The window stopped by itself (at rest, frozen, a run-time error) or
    // was closed: the run it recorded ended there too.
    if (m_tick >= m_lastTick || !m_window.form().isLoaded() || !timer.Enabled() || timer.Interval() <= 0) {
        finish();
        return false;
    }
    m_window.timer().fire();
    ++m_tick;
    applyEvents();
    return true;
}

void WindowReplay::pace()
{
    if (rt::realTimeoutsHeld())
        return;  // tests give the ticks
    // A "変更" may have given the timer another interval.
    if (advance())
        m_pacer.setInterval(std::max(1, static_cast<int>(m_window.timer().Interval())));
}

void WindowReplay::finish()
{
    m_finished = true;
    m_pacer.stop();
    m_window.timer().setHeld(false);
    emit ended();
}
