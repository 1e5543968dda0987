#pragma once
// The program's one window of each experiment, each made on first use and
// kept for the whole run: closing a window only unloads it, and the
// experiment's state outlives that. Each experiment window may have one
// measurement window, also made on first use and kept: it follows its
// experiment window through every close and reopen. Everything here loops
// over the registry of experiments (sims/registry.h).

#include "shell/experiment_window.h"
#include "shell/window_recording.h"
#include "sims/experiment.h"

#include <QString>

#include <functional>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

namespace measure {
class MeasurementWindow;
}

// How an experiment's window is made: an ExperimentWindow by default. Tests
// make windows of their own kinds, which name the experiment's state.
using WindowMaker = std::function<std::unique_ptr<ExperimentWindow>(const sims::Definition&)>;
void setWindowMaker(WindowMaker maker);

class Windows {
public:
    Windows();
    ~Windows();
    Windows(const Windows&) = delete;
    Windows& operator=(const Windows&) = delete;

    // The experiment's window, made if need be (not shown).
    ExperimentWindow& window(const sims::Definition& experiment);
    // By the experiment's name ("two-balls"); the name must be registered.
    ExperimentWindow& window(std::string_view experiment);
    ExperimentWindow* windowIfMade(const sims::Definition& experiment) const;

    // Makes the window if need be and shows it, as its launcher button does.
    ExperimentWindow& show(const sims::Definition& experiment);

    // The measurement window of the experiment, attached to its window.
    measure::MeasurementWindow& measurement(const sims::Definition& experiment);
    measure::MeasurementWindow* measurementIfMade(const sims::Definition& experiment) const;
    // Shows the experiment's window (loading it if it is closed) and its
    // measurement window beside it. Ctrl+G in an experiment window does this.
    void openMeasurement(const sims::Definition& experiment);

    // A recording of the experiment's window, from its next load or "変更"
    // (the window is shown, and so loaded, if it is closed).
    void startRecording(const sims::Definition& experiment);
    bool recording(const sims::Definition& experiment) const { return recorder(experiment) != nullptr; }
    WindowRecorder* recorder(const sims::Definition& experiment) const;
    // Ends the recording; what was recorded, or nothing if the window never
    // read its boxes meanwhile.
    std::optional<measure::Script> stopRecording(const sims::Definition& experiment);
    // Writes it to a temporary file renamed to `path`; an empty string on
    // success, else the reason.
    static QString saveRecording(const measure::Script& script, const QString& path);

    // Replays a recording in its experiment's window; an empty string when
    // it has started, else why not (the file's error, naming the line).
    QString replay(const QString& path);
    void replay(const sims::Definition& experiment, measure::Script script);
    WindowReplay* replayIfRunning(const sims::Definition& experiment) const;

    // What 記録開始 / 記録終了 in a measurement window does (the launcher
    // sets it: ending a recording asks where to save it).
    void setRecordingSwitch(std::function<void(const sims::Definition&, bool on)> toggle)
    {
        m_recordingSwitch = std::move(toggle);
    }

private:
    // What the program keeps of one experiment. The measurement window,
    // recorder and replay follow the experiment window, so they go first.
    struct Slot {
        std::unique_ptr<ExperimentWindow> window;
        std::unique_ptr<measure::MeasurementWindow> measurement;
        std::unique_ptr<WindowRecorder> recorder;
        std::unique_ptr<WindowReplay> replay;
    };
    Slot& slot(const sims::Definition& experiment) const;

    std::vector<std::unique_ptr<Slot>> m_slots;  // in the registry's order
    std::function<void(const sims::Definition&, bool)> m_recordingSwitch;
};
