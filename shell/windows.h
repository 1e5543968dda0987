#pragma once
// The program's one instance of each simulation window, each made on first
// use and kept for the whole run: closing a window only unloads it, and the
// window's own state outlives that. Each simulation window may have one
// measurement window, also made on first use and kept: it follows its
// simulation window through every close and reopen.

#include "shell/window_recording.h"

#include <QString>

#include <array>
#include <functional>
#include <memory>
#include <string_view>
#include <optional>

class frm2Bolls;
class frmElasticCode;
class frmRotaion;
class frmVibration;
namespace measure {
class MeasurementWindow;
}
namespace rt {
class Form;
}

// The four experiments, in the launcher's order.
enum class Sim { Rotation, Vibration, TwoBalls, RubberCord };
inline constexpr Sim kSims[] = {Sim::Rotation, Sim::Vibration, Sim::TwoBalls, Sim::RubberCord};
using SimulationWindow = Sim;

// The experiment's name as the measurement tables and the command line
// spell it: "rotation", "vibration", "two-balls", "rubber-cord".
std::string_view experimentName(Sim sim);

class Windows {
public:
    Windows();
    ~Windows();
    Windows(const Windows&) = delete;
    Windows& operator=(const Windows&) = delete;

    frmRotaion& rotation();
    frm2Bolls& twoBalls();
    frmElasticCode& rubberCord();
    frmVibration& vibration();
    rt::Form& window(Sim sim);

    // The measurement window of the experiment, attached to its window.
    measure::MeasurementWindow& measurement(Sim sim);
    // Shows the experiment's window (loading it if it is closed) and its
    // measurement window beside it. Ctrl+G in a simulation window does this.
    void openMeasurement(Sim sim);

    // Makes the window if need be and shows it, as its launcher button does.
    rt::Form& show(SimulationWindow window);

    // A recording of the experiment's window, from its next load or "変更"
    // (the window is shown, and so loaded, if it is closed).
    void startRecording(Sim sim);
    bool recording(Sim sim) const { return m_recorders[indexOf(sim)] != nullptr; }
    WindowRecorder* recorder(Sim sim) const { return m_recorders[indexOf(sim)].get(); }
    // Ends the recording; what was recorded, or nothing if the window never
    // read its boxes meanwhile.
    std::optional<measure::Script> stopRecording(Sim sim);
    // Writes it to a temporary file renamed to `path`; an empty string on
    // success, else the reason.
    static QString saveRecording(const measure::Script& script, const QString& path);

    // Replays a recording in its experiment's window; an empty string when
    // it has started, else why not (the file's error, naming the line).
    QString replay(const QString& path);
    WindowReplay* replayIfRunning(Sim sim) const { return m_replays[indexOf(sim)].get(); }
    void replay(Sim sim, measure::Script script);

    // What 記録開始 / 記録終了 in a measurement window does (the launcher
    // sets it: ending a recording asks where to save it).
    void setRecordingSwitch(std::function<void(Sim, bool on)> toggle) { m_recordingSwitch = std::move(toggle); }

    // The experiment the name stands for.
    static std::optional<Sim> simNamed(std::string_view experiment);
    RecordedWindow recordedWindow(Sim sim);

    // Those made so far, for tests.
    frmRotaion* rotationIfMade() const { return m_rotation.get(); }
    frm2Bolls* twoBallsIfMade() const { return m_twoBalls.get(); }
    frmElasticCode* rubberCordIfMade() const { return m_rubberCord.get(); }
    frmVibration* vibrationIfMade() const { return m_vibration.get(); }
    measure::MeasurementWindow* measurementIfMade(Sim sim) const;

private:
    static std::size_t indexOf(Sim sim) { return static_cast<std::size_t>(sim); }
    template <typename Window>
    Window& made(std::unique_ptr<Window>& slot, Sim sim);

    std::unique_ptr<frmRotaion> m_rotation;
    std::unique_ptr<frm2Bolls> m_twoBalls;
    std::unique_ptr<frmElasticCode> m_rubberCord;
    std::unique_ptr<frmVibration> m_vibration;
    // After the windows they follow, so they go first.
    std::array<std::unique_ptr<measure::MeasurementWindow>, 4> m_measurements;
    std::array<std::unique_ptr<WindowRecorder>, 4> m_recorders;
    std::array<std::unique_ptr<WindowReplay>, 4> m_replays;
    std::function<void(Sim, bool)> m_recordingSwitch;
};
