// A run recorded in its window replays to the same bits, tick for tick,
// both without a window (`springlab replay`) and in a fresh window; and a
// damaged recording opened in the window is refused with its line named.

#include "cli/cli.h"
#include "measure/csv.h"
#include "tests/support/headless_run.h"
#include "shell/frm_main.h"
#include "tests/support/typed_windows.h"
#include "measure/measurement_window.h"
#include "measure/recording.h"
#include "sims/rotation/rotation_quantities.h"
#include "sims/rubber_cord/rubber_cord_quantities.h"
#include "sims/two_balls/two_balls_quantities.h"
#include "sims/vibration/vibration_quantities.h"
#include "shell/language.h"
#include "shell/window_set.h"

#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <sstream>

namespace {

using Row = std::vector<double>;

// The window's live state through its experiment's table, as a CSV row
// (the tick first).
Row sampleOf(Windows& w, Sim sim, std::int64_t tick)
{
    Row row{static_cast<double>(tick)};
    auto into = [&row](auto table, const auto& state) {
        row.resize(1 + table.size());
        sims::sampleInto(table, state, std::span<double>(row).subspan(1));
    };
    if (sim == rotation::definition())
        into(rotation::quantities(), rotationWindow(w).Mass);
    else if (sim == vibration::definition())
        into(vibration::quantities(), vibrationWindow(w).Spring);
    else if (sim == two_balls::definition())
        into(two_balls::quantities(), twoBallsWindow(w).Balls);
    else
        into(rubber_cord::quantities(), rubber_cord::measureCord(rubberCordWindow(w).Chain));
    return row;
}

// Equal to the bit, NaN or not.
::testing::AssertionResult sameBits(const std::vector<Row>& expected, const std::vector<Row>& actual)
{
    if (expected.size() != actual.size())
        return ::testing::AssertionFailure() << expected.size() << " ticks expected, " << actual.size() << " given";
    for (std::size_t r = 0; r < expected.size(); ++r)
        for (std::size_t c = 0; c < expected[r].size(); ++c)
            if (c >= actual[r].size()
                || std::bit_cast<std::uint64_t>(expected[r][c]) != std::bit_cast<std::uint64_t>(actual[r][c]))
                return ::testing::AssertionFailure() << "row " << r << " column " << c << " differs";
    return ::testing::AssertionSuccess();
}

// The state after each tick, taken as the tick ends (before anything the
// replay does next), as the measurement window takes it.
class TickSampler : public rt::Form::Listener {
public:
    TickSampler(Windows& w, Sim sim, const std::vector<int>& errors) : m_w(w), m_sim(sim), m_errors(errors)
    {
        w.window(sim).addListener(this);
    }
    ~TickSampler() { m_w.window(m_sim).removeListener(this); }
    void formEventRan(rt::FormEvent event) override
    {
        if (event != rt::FormEvent::Tick)
            return;
        ++m_tick;
        if (m_errors.empty())
            rows.push_back(sampleOf(m_w, m_sim, m_tick));
    }
    std::vector<Row> rows;

private:
    Windows& m_w;
    Sim m_sim;
    const std::vector<int>& m_errors;
    std::int64_t m_tick = 0;
};

struct Input {
    enum What { Press, Move, Change, Pause, Resume } what;
    int tick;  // after this tick of the recording
    int x = 0;  // pixels
    int y = 0;
    const char* key = nullptr;  // Change: the box, by parameter key
    const char* text = nullptr;
};

struct Case {
    const char* name;
    Sim sim;
    int warmTicks;  // run before the recording starts (0: the window is closed)
    std::vector<Input> warm;
    std::vector<Input> inputs;  // the first is the "変更" the recording starts at
    int ticks;
    bool fails = false;
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

// The ticks run by hand between the pauses and resumes.
std::ptrdiff_t stepsOf(const Case& c)
{
    std::ptrdiff_t steps = 0;
    for (const Input& in : c.inputs)
        if (in.what == Input::Pause || in.what == Input::Resume)
            steps += in.what == Input::Pause ? -in.tick : in.tick;
    return steps;
}

class Recorded : public ::testing::TestWithParam<Case> {
protected:
    void SetUp() override
    {
        rt::setErrorReporter([this](rt::Form&, const rt::RuntimeError& e) { m_errors.push_back(e.code()); });
        rt::setBeepHandler([] {});
    }
    void TearDown() override { rt::resetErrorReporter(); }

    void apply(Windows& w, Sim sim, const std::vector<Input>& inputs, int tick)
    {
        rt::Form& form = w.window(sim);
        const auto e = makeRun(static_cast<const sims::Definition&>(sim).name);
        for (const Input& in : inputs) {
            if (in.tick != tick)
                continue;
            switch (in.what) {
            case Input::Press: QTest::mousePress(&form, Qt::LeftButton, {}, QPoint(in.x, in.y)); break;
            case Input::Move: QTest::mouseMove(&form, QPoint(in.x, in.y)); break;
            case Input::Change: {
                const std::size_t i = static_cast<std::size_t>(sims::findParameter(e->definition(), in.key));
                form.textBox(std::string(e->definition().parameters[i].box).c_str()).setText(QString::fromUtf8(in.text));
                QTest::mouseClick(&form.button("Command1"), Qt::LeftButton);
                break;
            }
            case Input::Pause: w.measurement(sim).setPaused(true); break;
            case Input::Resume: w.measurement(sim).setPaused(false); break;
            }
        }
    }

    std::vector<int> m_errors;
};

TEST_P(Recorded, ReplaysToTheSameBitsHeadlessAndInTheWindow)
{
    const Case& c = GetParam();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("run.jsonl"));

    // The original run: some ticks before the recording, so that what the
    // window carries over (velocities, pointer) is not its fresh state.
    std::vector<Row> original;
    {
        Windows w;
        rt::Form& form = w.window(c.sim);
        rt::Timer& timer = w.window(c.sim).Timer1;
        if (c.warmTicks > 0) {
            form.Show();
            for (int t = 1; t <= c.warmTicks; ++t) {
                timer.fire();
                apply(w, c.sim, c.warm, t);
            }
        }
        w.startRecording(c.sim);
        ASSERT_EQ(w.recorder(c.sim)->started(), c.warmTicks == 0);  // a closed window loads into it
        apply(w, c.sim, c.inputs, 0);
        ASSERT_TRUE(w.recorder(c.sim)->started());
        for (int t = 1; t <= c.ticks && m_errors.empty() && timer.Enabled(); ++t) {
            if (timer.held())
                w.measurement(c.sim).step();
            else
                timer.fire();
            if (!m_errors.empty())
                break;
            original.push_back(sampleOf(w, c.sim, t));
            apply(w, c.sim, c.inputs, t);
        }
        const std::optional<measure::Script> script = w.stopRecording(c.sim);
        ASSERT_TRUE(script);
        EXPECT_EQ(std::count_if(script->events.begin(), script->events.end(),
                                [](const measure::ScriptEvent& e) { return e.kind == measure::ScriptEvent::Kind::Step; }),
                  stepsOf(c));
        EXPECT_EQ(script->carried.empty(), c.warmTicks == 0 || c.sim == vibration::definition() || c.sim == rubber_cord::definition());
        ASSERT_EQ(Windows::saveRecording(*script, path), QString());
        form.close();
    }
    ASSERT_FALSE(original.empty());
    EXPECT_EQ(m_errors.size(), c.fails ? 1u : 0u);

    // Without a window.
    std::ostringstream out, err;
    const int status = cli::main({"replay", path.toStdString(), "--csv", "-"}, out, err);
    EXPECT_EQ(status, c.fails ? cli::kFailed : cli::kOk) << err.str();
    const measure::CsvReadResult csv = measure::readCsv(out.str());
    ASSERT_TRUE(csv.data) << csv.error;
    EXPECT_TRUE(sameBits(original, csv.data->rows));

    // In a fresh window, tick by tick.
    m_errors.clear();
    Windows fresh;
    TickSampler sampler(fresh, c.sim, m_errors);
    ASSERT_EQ(fresh.replay(path), QString());
    WindowReplay* replay = fresh.replayIfRunning(c.sim);
    ASSERT_NE(replay, nullptr);
    while (replay->advance()) {
    }
    EXPECT_TRUE(replay->finished());
    EXPECT_TRUE(sameBits(original, sampler.rows));
    EXPECT_EQ(m_errors.size(), c.fails ? 1u : 0u);
    fresh.window(c.sim).close();
}

using I = Input;
INSTANTIATE_TEST_SUITE_P(
    Experiments, Recorded,
    ::testing::Values(
        Case{"VibrationFromAClosedWindow", vibration::definition(), 0, {},
             {{I::Change, 0, 0, 0, "length", "150"}, {I::Press, 40, 20, 10}, {I::Change, 80, 0, 0, "mass", "250"}},
             150},
        Case{"VibrationFailsAfterAChange", vibration::definition(), 20, {{I::Press, 5, 30, 10}},
             {{I::Change, 0, 0, 0, "viscosity", "0"}, {I::Change, 30, 0, 0, "mass", "0"}}, 100, true},
        Case{"RotationKeepsThePointerPausedAndStepped", rotation::definition(), 30, {{I::Move, 10, 200, 100}},
             {{I::Change, 0, 0, 0, "relax", "0.95"}, {I::Move, 20, 100, 150}, {I::Pause, 40}, {I::Move, 43, 60, 60},
              {I::Resume, 45}, {I::Move, 90, 40, 40}, {I::Press, 90, 40, 40}},
             200},
        Case{"TwoBallsKeepTheirVelocities", two_balls::definition(), 60, {{I::Press, 10, 100, 150}},
             {{I::Change, 0, 0, 0, "gravity", "1.5"}, {I::Press, 100, 120, 140}, {I::Pause, 150}, {I::Resume, 153}},
             400},
        Case{"RubberCordYanked", rubber_cord::definition(), 10, {},
             {{I::Change, 0, 0, 0, "nodes", "30"}, {I::Press, 20, 50, 50}, {I::Change, 40, 0, 0, "segment_length", "15"}},
             80}),
    [](const auto& info) { return std::string(info.param.name); });

// On the event loop: the replay gives the ticks at the timer's interval,
// and after its last tick the window's own timer takes over.
TEST(ReplayOnScreen, RunsAtTheTimersPaceThenTheWindowGoesOn)
{
    using Kind = measure::ScriptEvent::Kind;
    measure::Script script{"vibration", {}, 30, {}};
    script.events.push_back({0, Kind::Change, {{"timer", "5"}, {"length", "120"}}, 0, 0});
    script.events.push_back({10, Kind::Press, {}, 3000, 0});
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("paced.jsonl"));
    ASSERT_EQ(Windows::saveRecording(script, path), QString());
    std::ostringstream out, err;
    ASSERT_EQ(cli::main({"replay", path.toStdString(), "--csv", "-"}, out, err), cli::kOk) << err.str();
    const measure::CsvReadResult csv = measure::readCsv(out.str());
    ASSERT_TRUE(csv.data) << csv.error;

    const std::vector<int> noErrors;
    Windows w;
    TickSampler sampler(w, vibration::definition(), noErrors);
    rt::RealTimeouts real;
    ASSERT_EQ(w.replay(path), QString());
    WindowReplay& replay = *w.replayIfRunning(vibration::definition());
    ASSERT_TRUE(QTest::qWaitFor([&] { return replay.finished(); }, 10000));
    EXPECT_EQ(replay.tick(), 30);
    ASSERT_GE(sampler.rows.size(), 30u);
    sampler.rows.resize(30);
    EXPECT_TRUE(sameBits(csv.data->rows, sampler.rows));
    EXPECT_FALSE(vibrationWindow(w).Timer1.held());
    EXPECT_TRUE(QTest::qWaitFor([&] { return vibrationWindow(w).Timer1.isTicking(); }, 10000));
    vibrationWindow(w).close();
}

// The launcher's menu and the measurement window's button start the same
// recording.
TEST(RecordingControls, MenuAndMeasurementWindowAgree)
{
    Windows w;
    frmMain launcher(w);
    measure::MeasurementWindow& m = w.measurement(two_balls::definition());
    EXPECT_EQ(m.recordButton().text(), QStringLiteral("記録開始"));
    launcher.recordAction(2).trigger();
    ASSERT_TRUE(w.recording(two_balls::definition()));
    EXPECT_TRUE(twoBallsWindow(w).isLoaded());  // opened, so the recording starts
    EXPECT_TRUE(w.recorder(two_balls::definition())->started());
    EXPECT_EQ(m.recordButton().text(), QStringLiteral("記録終了…"));
    twoBallsWindow(w).Timer1.fire();
    const std::optional<measure::Script> script = w.stopRecording(two_balls::definition());
    ASSERT_TRUE(script);
    EXPECT_EQ(script->ticks, 1);
    EXPECT_EQ(m.recordButton().text(), QStringLiteral("記録開始"));
    EXPECT_FALSE(w.stopRecording(two_balls::definition()));  // nothing more to stop

    // A window already open records from its next "変更" only.
    w.startRecording(two_balls::definition());
    twoBallsWindow(w).Timer1.fire();
    EXPECT_FALSE(w.recorder(two_balls::definition())->started());
    EXPECT_FALSE(w.stopRecording(two_balls::definition()));
    twoBallsWindow(w).close();
}

// ---------------------------------------------------------------- damaged

struct Hostile {
    const char* name;
    const char* text;
    const char* message;  // part of the message
};

// The reader's own words, in English.
class HostileInTheWindow : public ::testing::TestWithParam<Hostile> {
protected:
    void SetUp() override { setLanguage(Language::English); }
    void TearDown() override { setLanguage(Language::Japanese); }
};

TEST_P(HostileInTheWindow, RefusedWithItsLineNamed)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bad.jsonl"));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(GetParam().text);
    f.close();
    Windows w;
    const QString error = w.replay(path);
    EXPECT_TRUE(error.contains(QString::fromUtf8(GetParam().message))) << error.toStdString();
    EXPECT_TRUE(error.startsWith(path)) << error.toStdString();
    for (const sims::Definition* sim : sims::experiments())
        EXPECT_EQ(w.replayIfRunning(*sim), nullptr);
}

#define HEAD2 "{\"format\":\"springlab-recording\",\"version\":2,\"experiment\":\"two-balls\""
INSTANTIATE_TEST_SUITE_P(
    Recordings, HostileInTheWindow,
    ::testing::Values(
        Hostile{"Empty", "", "an empty file, not a recording"},
        Hostile{"FutureVersion", "{\"format\":\"springlab-recording\",\"version\":3,\"experiment\":\"rotation\"}\n",
                "line 1: a recording of another version"},
        Hostile{"Truncated", HEAD2 "}\n{\"tick\":0,\"change\":{\"gravity\":\"1", "line 2: a string without"},
        Hostile{"CarryTooShort", HEAD2 ",\"carry\":[1,2]}\n", "line 1: \"carry\" must be 4 numbers"},
        Hostile{"CarryForVibration",
                "{\"format\":\"springlab-recording\",\"version\":2,\"experiment\":\"vibration\",\"carry\":[1]}\n",
                "line 1: \"carry\" must be 0 numbers"},
        Hostile{"CarryInVersion1",
                "{\"format\":\"springlab-recording\",\"version\":1,\"experiment\":\"rotation\",\"carry\":[1,2]}\n",
                "line 1: \"carry\" must be"},
        Hostile{"PauseInVersion1",
                "{\"format\":\"springlab-recording\",\"version\":1,\"experiment\":\"rotation\"}\n"
                "{\"tick\":0,\"change\":{}}\n{\"tick\":3,\"pause\":true}\n",
                "line 3: \"pause\", \"resume\" and \"step\" are true, from version 2 on"},
        Hostile{"StepFalse", HEAD2 "}\n{\"tick\":0,\"change\":{}}\n{\"tick\":3,\"step\":false}\n", "line 3:"},
        Hostile{"NegativeTick", HEAD2 "}\n{\"tick\":0,\"change\":{}}\n{\"tick\":-4,\"press\":[1,2]}\n",
                "line 3: \"tick\" must be a whole number"},
        Hostile{"HugeTick", HEAD2 "}\n{\"tick\":0,\"change\":{}}\n{\"tick\":1e300,\"end\":true}\n",
                "line 3: \"tick\" must be a whole number"},
        Hostile{"UnknownMember", HEAD2 ",\"colour\":\"red\"}\n", "line 1: an unknown member"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace

// ---------------------------------------------------------------- in the user's language

// A refused recording or a failed save is told in the windows' language,
// the system's reason included, and names the file as it was given.
struct Spoken {
    const char* name;
    Language language;
    enum Action { Replay, SaveRecording, SaveCsv } action;
    const char* file;     // under a fresh folder; "missing/..." is in no folder
    const char* content;  // written there first, for Replay
    const char* message;  // what follows "<path>: "
};

class SpokenInTheWindow : public ::testing::TestWithParam<Spoken> {
protected:
    void TearDown() override { setLanguage(Language::Japanese); }
};

TEST_P(SpokenInTheWindow, MessageInTheChosenLanguage)
{
    const Spoken& c = GetParam();
    setLanguage(c.language);
    QTemporaryDir dir;
    const QString path = dir.filePath(QString::fromUtf8(c.file));
    Windows w;
    QString error;
    if (c.action == Spoken::Replay) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(c.content);
        f.close();
        error = w.replay(path);
    } else if (c.action == Spoken::SaveRecording) {
        measure::Script script{"vibration", {measure::ScriptEvent{}}, 5, {}};
        error = Windows::saveRecording(script, path);
    } else {
        measure::MeasurementWindow& m = w.measurement(vibration::definition());
        m.setMessageSink([](const QString&) {});
        m.saveCsv(path);
        error = m.lastError();
    }
    EXPECT_TRUE(error.contains(path + QStringLiteral(": ") + QString::fromUtf8(c.message))) << error.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Messages, SpokenInTheWindow,
    ::testing::Values(
        Spoken{"FirstEventJapanese", Language::Japanese, Spoken::Replay, "a.jsonl",
               HEAD2 "}\n{\"tick\":3,\"press\":[1,2]}\n",
               "2 行目: 最初のイベントはティック 0 の change でなければなりません"},
        Spoken{"FirstEventEnglish", Language::English, Spoken::Replay, "a.jsonl",
               HEAD2 "}\n{\"tick\":3,\"press\":[1,2]}\n", "line 2: the first event must be the change at tick 0"},
        Spoken{"ColumnJapanese", Language::Japanese, Spoken::Replay, "a.jsonl", HEAD2 "}\n{\"tick\" 0}\n",
               "2 行目: 9 桁目に ':' が必要です"},
        Spoken{"EmptyJapanese", Language::Japanese, Spoken::Replay, "a.jsonl", "", "空のファイルで、記録ではありません"},
        Spoken{"RecordingNoFolderJapanese", Language::Japanese, Spoken::SaveRecording, "missing/a.jsonl", "",
               "そこにはファイルを作れません: そのようなファイルやフォルダはありません"},
        Spoken{"RecordingNoFolderEnglish", Language::English, Spoken::SaveRecording, "missing/a.jsonl", "",
               "cannot create a file there: No such file or directory"},
        Spoken{"CsvNoFolderJapanese", Language::Japanese, Spoken::SaveCsv, "missing/a.csv", "",
               "そこにはファイルを作れません: そのようなファイルやフォルダはありません"},
        Spoken{"CsvIntoAFolderEnglish", Language::English, Spoken::SaveCsv, "", "",
               "not saved: it is not an ordinary file"}),
    [](const auto& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------- presses on the real event loop

// The window's ticks as they run, counted apart from the recorder.
class TickCounter : public rt::Form::Listener {
public:
    explicit TickCounter(rt::Form& form) : m_form(form) { form.addListener(this); }
    ~TickCounter() { m_form.removeListener(this); }
    void formEventRan(rt::FormEvent event) override { ticks += event == rt::FormEvent::Tick; }
    std::int64_t ticks = 0;

private:
    rt::Form& m_form;
};

// With the window's own timer on the event loop, each press is recorded
// against the ticks the window had run when it came, and a hold of the
// timer (the measurement window's pause) where it happened: a window held
// when its recording starts, presses a moment apart, a pause between them.
struct Session {
    const char* name;
    const char* steps;  // H hold, R release, P press, W until the timer has ticked a few times
};

class PressesOnTheEventLoop : public ::testing::TestWithParam<Session> {};

TEST_P(PressesOnTheEventLoop, AreRecordedAtTheTicksTheyCameAfter)
{
    using Kind = measure::ScriptEvent::Kind;
    Windows w;
    frmVibration& window = vibrationWindow(w);
    window.Show();
    const std::string_view steps = GetParam().steps;
    std::size_t at = 0;
    if (steps.starts_with('H')) {  // held before the recording starts
        window.Timer1.setHeld(true);
        ++at;
    }
    w.startRecording(vibration::definition());
    TickCounter counter(window);
    window.button("Command1").click();
    std::vector<std::pair<Kind, std::int64_t>> expected{{Kind::Change, 0}};
    if (window.Timer1.held())
        expected.emplace_back(Kind::Pause, 0);
    rt::RealTimeouts real;
    for (; at < steps.size(); ++at) {
        switch (steps[at]) {
        case 'H':
            window.Timer1.setHeld(true);
            expected.emplace_back(Kind::Pause, counter.ticks);
            break;
        case 'R':
            window.Timer1.setHeld(false);
            expected.emplace_back(Kind::Resume, counter.ticks);
            break;
        case 'P':
            window.mouseDownAt(rt::kLeftButton, 0, 300, 150);
            expected.emplace_back(Kind::Press, counter.ticks);
            break;
        case 'W': {
            const std::int64_t before = counter.ticks;
            ASSERT_TRUE(QTest::qWaitFor([&] { return counter.ticks >= before + 3; }, 10000));
            break;
        }
        }
    }
    const std::optional<measure::Script> script = w.stopRecording(vibration::definition());
    ASSERT_TRUE(script);
    std::vector<std::pair<Kind, std::int64_t>> recorded;
    for (const measure::ScriptEvent& e : script->events)
        if (e.kind != Kind::Move)
            recorded.emplace_back(e.kind, e.tick);
    // A release shows when the next input or tick comes: the one at the
    // end of a session has nothing after it.
    if (steps.ends_with('R'))
        expected.pop_back();
    EXPECT_EQ(recorded, expected);
    window.close();
}

INSTANTIATE_TEST_SUITE_P(Sessions, PressesOnTheEventLoop,
                         ::testing::Values(Session{"Running", "PWPWP"}, Session{"HeldAtTheStart", "HPPRWP"},
                                           Session{"PausedBetweenPresses", "PWHPRWP"}),
                         [](const auto& info) { return std::string(info.param.name); });
