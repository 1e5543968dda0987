#pragma once
// The measurement window of one experiment: live graphs of its measured
// quantities against the tick, pause and single step, and the recorded data
// to a CSV file, a picture or the clipboard.
//
// It follows a simulation window from outside: the window tells of every
// event it ran (rt::Form::Listener), and after each tick the window's live
// model is sampled through the experiment's table into a Recorder. A load or
// a click on the window's button (every window's button re-reads its boxes
// and puts the model at its start) begins a new recording at tick 0. The
// graph is redrawn from the recorder at most every kRefreshMs, never once per
// tick. Pause holds the window's timer (rt::Timer::setHeld) without touching
// its boxes or state; a step fires exactly one tick through the window's own
// tick path.

#include "measure/csv.h"
#include "measure/experiment_face.h"
#include "measure/recorder.h"
#include "runtime/forms/form.h"

#include <QColor>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <vector>

class QCheckBox;
class QChart;
class QChartView;
class QLabel;
class QLineSeries;
class QPushButton;
class QScatterSeries;
class QValueAxis;

class QPainter;

namespace measure {

class MeasurementWindow : public QWidget, private rt::Form::Listener {
    Q_OBJECT

public:
    static constexpr std::size_t kShownTicks = 10'000;
    static constexpr int kRefreshMs = 30;

    explicit MeasurementWindow(ExperimentFace& source);
    ~MeasurementWindow() override;

    rt::Form& form() const { return m_source.form(); }
    const Recorder& recorder() const { return m_recorder; }
    std::span<const sims::QuantityInfo> quantities() const { return m_source.definition().quantities; }
    std::int64_t lastTick() const { return m_tick; }

    bool paused() const;
    void setPaused(bool paused);
    // Pauses, then runs one tick of the window; nothing when the window's
    // own code has stopped its timer (the balls at rest, the mass frozen).
    void step();

    // 記録開始 / 記録終了: a recording of the run's inputs. This window only
    // shows the button; whoever keeps the recordings says what it does.
    // Without a switch the button is hidden.
    void setRecordSwitch(std::function<bool()> recording, std::function<void()> toggle);
    // To be called when a recording starts or ends elsewhere.
    void recordingChanged() { retranslate(); }
    QPushButton& recordButton() const { return *m_recordButton; }

    bool curveShown(int quantity) const;
    void showCurve(int quantity, bool shown);

    // Writes the whole recording; an empty string on success, else the
    // message also shown to the user. The recording stays either way.
    QString saveCsv(const QString& path);
    // PNG or SVG by the file's suffix: the graph under a heading that says
    // what it shows (the experiment, the shown quantities with their
    // colours, the parameters as the boxes were read), which the file's
    // title and description repeat.
    QString saveGraph(const QString& path);
    // The heading's lines, as saveGraph writes them.
    QStringList graphHeading() const;
    // The ticks on the graph and the shown columns, tab-separated, with a
    // header row.
    QString visibleText() const;
    void copyVisible() const;

    // Brings the graph up to date with the recording now.
    void refresh();
    QChart& chart() const { return *m_chart; }
    QPushButton& pauseButton() const { return *m_pauseButton; }
    QPushButton& stepButton() const { return *m_stepButton; }
    QLabel& pausedBanner() const { return *m_pausedBanner; }

    // The last message shown after a failed save (tests read it).
    const QString& lastError() const { return m_lastError; }
    // Where messages go; a message box by default.
    void setMessageSink(std::function<void(const QString&)> sink) { m_messageSink = std::move(sink); }

protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void formEventRan(rt::FormEvent event) override;
    void newRecording();
    void scheduleRefresh();
    void keepMemoryAhead();
    void followZoom();
    void retranslate();
    void updateStatus();
    // A text of the table in measure_texts.h, in the program's language.
    static QString text(const char* name);
    QString quantityName(const sims::QuantityInfo& q) const;
    QString quantityTitle(const sims::QuantityInfo& q) const;
    QColor curveColour(std::size_t quantity) const;
    void paintGraph(QPainter& painter, const QSize& size, int headingHeight) const;
    int headingHeight() const;
    std::pair<std::size_t, std::size_t> shownRows() const;
    void report(const QString& message);
    void chooseCsvFile();
    void chooseGraphFile();

    ExperimentFace& m_source;
    Recorder m_recorder;
    std::vector<ParameterValue> m_parameters;  // the boxes as last read
    std::int64_t m_tick = 0;
    int m_bounceColumn = -1;
    bool m_dirty = false;
    bool m_reportedFull = false;
    QTimer m_refreshTimer;
    QString m_lastError;
    std::function<void(const QString&)> m_messageSink;
    std::function<bool()> m_recording;
    std::function<void()> m_toggleRecording;

    QChart* m_chart;
    QChartView* m_view;
    QValueAxis* m_tickAxis;
    QValueAxis* m_valueAxis;
    std::vector<QLineSeries*> m_curves;  // one per quantity (none for marks)
    QScatterSeries* m_marks = nullptr;
    std::vector<QCheckBox*> m_boxes;
    QLabel* m_pausedBanner;
    QLabel* m_status;
    QPushButton* m_pauseButton;
    QPushButton* m_stepButton;
    QPushButton* m_csvButton;
    QPushButton* m_graphButton;
    QPushButton* m_copyButton;
    QPushButton* m_recordButton;
};

}  // namespace measure
