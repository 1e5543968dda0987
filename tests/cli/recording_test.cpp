// Recordings: written by `springlab run --record`, replayed by `springlab
// replay` to the same bits, and read from hostile text without harm.

#include "cli/cli.h"
#include "measure/recording.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

namespace {

struct Result {
    int status;
    std::string out;
    std::string err;
};

Result command(const std::vector<std::string>& args)
{
    std::ostringstream out, err;
    const int status = cli::main(args, out, err);
    return {status, out.str(), err.str()};
}

std::string tempPath(const std::string& name)
{
    return (std::filesystem::temp_directory_path() / ("springlab_" + std::to_string(::getpid()) + "_" + name)).string();
}

struct ReplayCase {
    const char* name;
    std::vector<std::string> runArgs;
    int status;
};

class Replay : public ::testing::TestWithParam<ReplayCase> {};

// The replay's CSV is the run's, byte for byte: every tick's state the same
// bits, a failing tick included.
TEST_P(Replay, GivesTheRunsCsvByteForByte)
{
    const std::string recording = tempPath(std::string(GetParam().name) + ".jsonl");
    std::vector<std::string> args = {"run"};
    args.insert(args.end(), GetParam().runArgs.begin(), GetParam().runArgs.end());
    args.insert(args.end(), {"--csv", "-", "--record", recording});
    const Result run = command(args);
    EXPECT_EQ(run.status, GetParam().status) << run.err;
    const Result replay = command({"replay", recording, "--csv", "-"});
    EXPECT_EQ(replay.status, run.status);
    EXPECT_EQ(replay.out, run.out);
    // The same message, after the command's name.
    auto message = [](const std::string& err) { return err.empty() ? err : err.substr(err.find(':')); };
    EXPECT_EQ(message(replay.err), message(run.err));
    std::filesystem::remove(recording);
}

INSTANTIATE_TEST_SUITE_P(
    Experiments, Replay,
    ::testing::Values(
        ReplayCase{"Vibration", {"vibration", "--set", "重さ=250", "--ticks", "300", "--press", "120:4500,900"}, 0},
        ReplayCase{"Rotation",
                   {"rotation", "--move", "0:3000,1500", "--move", "50:1000.5,200.25", "--press", "80:1000.5,200.25"},
                   0},
        ReplayCase{"TwoBalls", {"two-balls", "--set", "gravity=2", "--press", "100:1500,2250"}, 0},
        ReplayCase{"RubberCord", {"rubber-cord", "--set", "nodes=40", "--ticks", "80", "--press", "30:600,600"}, 0},
        ReplayCase{"RunTimeError", {"rotation", "--set", "relax=1.5", "--move", "0:3000,1500"}, 3},
        ReplayCase{"ErrorOnTheFirstChange", {"rubber-cord", "--set", "nodes=-5"}, 3}),
    [](const auto& info) { return std::string(info.param.name); });

// What `run --record` writes, `replay` reads and runs the same way; the
// mouse after the run's end is said to be left out, not written in a
// recording that its reader would refuse.
struct RecordedRunCase {
    const char* name;
    std::vector<std::string> runArgs;
    std::string err;  // the whole of the run's stderr
    std::string outStart;
};

class RecordedRun : public ::testing::TestWithParam<RecordedRunCase> {};

TEST_P(RecordedRun, ReplaysAsItRan)
{
    const RecordedRunCase& c = GetParam();
    const std::string recording = tempPath(std::string(c.name) + ".jsonl");
    std::vector<std::string> args = {"run"};
    args.insert(args.end(), c.runArgs.begin(), c.runArgs.end());
    args.insert(args.end(), {"--record", recording});
    const Result run = command(args);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, c.err);
    EXPECT_EQ(run.out.substr(0, c.outStart.size()), c.outStart);
    const Result replay = command({"replay", recording});
    std::filesystem::remove(recording);
    EXPECT_EQ(replay.status, 0) << replay.err;
    EXPECT_EQ(replay.err, "");
    EXPECT_EQ(replay.out, run.out);
}

INSTANTIATE_TEST_SUITE_P(
    Table, RecordedRun,
    ::testing::Values(
        RecordedRunCase{"PressAfterTheLastTick", {"two-balls", "--press", "500:1500,2250", "--ticks", "100"},
                        "springlab run: 1 presses or moves after tick 100 were not applied: the run had ended\n",
                        "tick = 100\n"},
        RecordedRunCase{"PressAfterItStoppedByItself", {"two-balls", "--press", "300:1500,2250"},
                        "springlab run: 1 presses or moves after tick 262 were not applied: the run had ended\n",
                        "tick = 262\n"},
        RecordedRunCase{"DefaultLengthWithoutAnEnd", {"vibration"}, "", "tick = 10000\n"},
        RecordedRunCase{"LargestSingle", {"rotation", "--ticks", "3", "--move", "2:3.4028235e38,-3.4028235e38"}, "",
                        "tick = 3\n"},
        RecordedRunCase{"TinyNumberIsZero", {"two-balls", "--ticks", "9", "--press", "5:1e-50,1"}, "", "tick = 9\n"}),
    [](const auto& info) { return std::string(info.param.name); });

// Out of tick order on the command line, the mouse still comes in tick
// order (the same tick keeps the order given).
TEST(Recording, EventsAreSortedByTick)
{
    const Result given = command({"run", "rotation", "--ticks", "40", "--move", "30:100,100", "--move", "10:2000,900",
                                  "--move", "10:2500,900", "--csv", "-"});
    const Result sorted = command({"run", "rotation", "--ticks", "40", "--move", "10:2000,900", "--move",
                                   "10:2500,900", "--move", "30:100,100", "--csv", "-"});
    EXPECT_EQ(given.status, 0);
    EXPECT_EQ(given.out, sorted.out);
}

// A byte-order mark, as an editor may save it, does not make a recording
// unreadable.
TEST(Recording, ByteOrderMarkIsAccepted)
{
    const measure::RecordingRead read = measure::readRecording(
        "\xEF\xBB\xBF{\"format\":\"springlab-recording\",\"version\":2,\"experiment\":\"vibration\"}\n"
        "{\"tick\":0,\"change\":{}}\n");
    EXPECT_TRUE(read.script) << read.error;
}

TEST(Recording, ChangesAfterTheStartReadTheBoxesAgain)
{
    // Written by hand: the spring restarted with another mass at tick 50.
    const std::string recording = tempPath("change.jsonl");
    {
        std::ofstream f(recording);
        f << "{\"format\":\"springlab-recording\",\"version\":1,\"experiment\":\"vibration\"}\n"
             "{\"tick\":0,\"change\":{}}\n"
             "{\"tick\":50,\"change\":{\"mass\":\"250\"}}\n"
             "{\"tick\":51,\"end\":true}\n";
    }
    const Result replay = command({"replay", recording, "--columns", "velocity"});
    std::filesystem::remove(recording);
    EXPECT_EQ(replay.status, 0) << replay.err;
    // The restart's first tick: Velocity 0.998 * 2, as with the mass halved.
    EXPECT_EQ(replay.out, "tick = 51\nvelocity = 1.996\n");
}

TEST(Recording, WrittenTextReadsBackAsTheSameScript)
{
    measure::Script script{"two-balls", {}, 77, {0.1, -5e-324, 0, 1.7976931348623157e308}};
    script.events.push_back({0, measure::ScriptEvent::Kind::Change, {{"mass1", "質量"}, {"timer", "1\"0\\\n\t"}}, 0, 0});
    script.events.push_back({3, measure::ScriptEvent::Kind::Press, {}, 0.1f, -3.4e38f});
    script.events.push_back({3, measure::ScriptEvent::Kind::Move, {}, 1e-45f, 7});
    script.events.push_back({5, measure::ScriptEvent::Kind::Pause, {}, 0, 0});
    script.events.push_back({6, measure::ScriptEvent::Kind::Step, {}, 0, 0});
    script.events.push_back({6, measure::ScriptEvent::Kind::Resume, {}, 0, 0});
    const measure::RecordingRead read = measure::readRecording(measure::writeRecording(script));
    ASSERT_TRUE(read.script) << read.error;
    EXPECT_EQ(measure::writeRecording(*read.script), measure::writeRecording(script));
    EXPECT_EQ(read.script->events[0].texts[1].second, "1\"0\\\n\t");
    EXPECT_EQ(read.script->events[1].y, -3.4e38f);
    EXPECT_EQ(read.script->events[2].x, 1e-45f);
    EXPECT_EQ(read.script->carried, script.carried);
    EXPECT_EQ(read.script->events[4].kind, measure::ScriptEvent::Kind::Step);
}

struct HostileCase {
    const char* name;
    std::string text;
    const char* error;
};

class HostileRecording : public ::testing::TestWithParam<HostileCase> {};

TEST_P(HostileRecording, RefusedWithTheLineNamed)
{
    const measure::RecordingRead read = measure::readRecording(GetParam().text);
    EXPECT_FALSE(read.script);
    EXPECT_EQ(read.error, GetParam().error);
}

const std::string kHead = "{\"format\":\"springlab-recording\",\"version\":1,\"experiment\":\"vibration\"}\n";
const std::string kStart = kHead + "{\"tick\":0,\"change\":{}}\n";

INSTANTIATE_TEST_SUITE_P(
    Table, HostileRecording,
    ::testing::Values(
        HostileCase{"Empty", "", "an empty file, not a recording"},
        HostileCase{"OnlyBlankLines", "\n \r\n", "an empty file, not a recording"},
        HostileCase{"NotJson", "hello\n", "line 1: a value expected at column 1"},
        HostileCase{"OtherFormat", "{\"format\":\"csv\"}\n",
                    "line 1: not a SpringLab recording (\"format\" is not \"springlab-recording\")"},
        HostileCase{"WrongVersion", "{\"format\":\"springlab-recording\",\"version\":3,\"experiment\":\"vibration\"}\n",
                    "line 1: a recording of another version (this program reads versions 1 and 2)"},
        HostileCase{"UnknownExperiment",
                    "{\"format\":\"springlab-recording\",\"version\":1,\"experiment\":\"pendulum\"}\n",
                    "line 1: an unknown experiment \"pendulum\" (rotation, vibration, two-balls, rubber-cord)"},
        HostileCase{"ExperimentNotAText", "{\"format\":\"springlab-recording\",\"version\":1,\"experiment\":7}\n",
                    "line 1: \"experiment\" must name one of rotation, vibration, two-balls, rubber-cord"},
        HostileCase{"EndFalse", kStart + "{\"tick\":5,\"end\":false}\n", "line 3: \"end\" must be true"},
        HostileCase{"SameBoxTwice", kStart + "{\"tick\":1,\"change\":{\"timer\":\"10\",\"タイマー\":\"20\"}}\n",
                    "line 3: \"timer\" and \"タイマー\" are the same box"},
        HostileCase{"BomInTheMiddle", kStart + "\xEF\xBB\xBF{\"tick\":1,\"end\":true}\n",
                    "line 3: a value expected at column 1"},
        HostileCase{"NoStart", kHead, "line 1: no change at tick 0"},
        HostileCase{"StartsWithAPress", kHead + "{\"tick\":0,\"press\":[1,2]}\n",
                    "line 2: the first event must be the change at tick 0"},
        HostileCase{"NegativeTick", kStart + "{\"tick\":-1,\"press\":[1,2]}\n",
                    "line 3: \"tick\" must be a whole number from 0 to 10000000"},
        HostileCase{"HugeTick", kStart + "{\"tick\":1e300,\"end\":true}\n",
                    "line 3: \"tick\" must be a whole number from 0 to 10000000"},
        HostileCase{"FractionalTick", kStart + "{\"tick\":2.5,\"press\":[1,2]}\n",
                    "line 3: \"tick\" must be a whole number from 0 to 10000000"},
        HostileCase{"TicksGoBack", kStart + "{\"tick\":9,\"press\":[1,2]}\n{\"tick\":8,\"press\":[1,2]}\n",
                    "line 4: tick 8 comes after tick 9"},
        HostileCase{"BadPoint", kStart + "{\"tick\":1,\"press\":[1]}\n", "line 3: \"press\" must be [X,Y] in twips"},
        HostileCase{"PointBeyondASingle", kStart + "{\"tick\":1,\"move\":[1e39,0]}\n",
                    "line 3: \"move\" must be [X,Y] in twips"},
        HostileCase{"InfiniteNumber", kStart + "{\"tick\":1,\"move\":[1e999,0]}\n",
                    "line 3: a value expected at column 19"},
        HostileCase{"UnknownBox", kStart + "{\"tick\":1,\"change\":{\"colour\":\"red\"}}\n",
                    "line 3: \"colour\" is not a text box of vibration"},
        HostileCase{"NumberForText", kStart + "{\"tick\":1,\"change\":{\"mass\":5}}\n",
                    "line 3: \"mass\" must be a text in quotes"},
        HostileCase{"UnknownEvent", kStart + "{\"tick\":1,\"jump\":true}\n", "line 3: an unknown event"},
        HostileCase{"TwoEvents", kStart + "{\"tick\":1,\"press\":[1,2],\"move\":[1,2]}\n",
                    "line 3: an event is {\"tick\":N, and one of \"change\", \"press\", \"move\", \"end\"}"},
        HostileCase{"AfterTheEnd", kStart + "{\"tick\":5,\"end\":true}\n{\"tick\":6,\"press\":[1,2]}\n",
                    "line 4: nothing may follow the end"},
        HostileCase{"DuplicateKey", kStart + "{\"tick\":1,\"tick\":2}\n", "line 3: a key appears twice"},
        HostileCase{"TooDeep", kStart + "{\"tick\":1,\"press\":[[[[1]]]]}\n", "line 3: nested too deep"},
        HostileCase{"LongArray", kStart + "{\"tick\":1,\"press\":[1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1]}\n",
                    "line 3: an array too long"},
        HostileCase{"OpenString", kStart + "{\"tick\":1,\"change\":{\"mass\":\"5}}\n",
                    "line 3: a string without its closing quote"},
        HostileCase{"ControlInString", kStart + "{\"tick\":1,\"change\":{\"mass\":\"5\x01\"}}\n",
                    "line 3: a control character in a string"},
        HostileCase{"Surrogate", kStart + "{\"tick\":1,\"change\":{\"mass\":\"\\ud800\"}}\n",
                    "line 3: a surrogate in a \\u escape"},
        HostileCase{"Trailing", kStart + "{\"tick\":1,\"end\":true} x\n", "line 3: something follows the object"},
        HostileCase{"LongLine", kStart + std::string(70000, ' ') + "\n", "line 3: a line longer than 65536 bytes"}),
    [](const auto& info) { return std::string(info.param.name); });

// A bounded fuzz run inside the suite (and so under the sanitizers): random
// bytes changed, dropped and repeated in a valid recording are read or
// refused with a line named, never more.
TEST(HostileRecording, MutatedRecordingsAreReadOrRefused)
{
    measure::Script script{"rubber-cord", {}, 40, {}};
    script.events.push_back({0, measure::ScriptEvent::Kind::Change, {{"nodes", "20"}, {"gravity", "0.5"}}, 0, 0});
    script.events.push_back({10, measure::ScriptEvent::Kind::Press, {}, 300, 450});
    script.events.push_back({12, measure::ScriptEvent::Kind::Change, {{"stiffness", "1"}}, 0, 0});
    const std::string valid = measure::writeRecording(script);
    std::mt19937 random(20261207);
    for (int i = 0; i < 20000; ++i) {
        std::string text = valid;
        const int edits = 1 + static_cast<int>(random() % 4);
        for (int k = 0; k < edits; ++k) {
            const std::size_t at = random() % text.size();
            switch (random() % 3) {
            case 0: text[at] = static_cast<char>(random() % 256); break;
            case 1: text.erase(at, 1 + random() % 8); break;
            default: text.insert(at, text.substr(at, 1 + random() % 16)); break;
            }
            if (text.empty())
                text.push_back('{');
        }
        const measure::RecordingRead read = measure::readRecording(text);
        ASSERT_TRUE(read.script.has_value() == read.error.empty()) << text;
        if (!read.script) {
            ASSERT_TRUE(read.error.rfind("line ", 0) == 0 || read.error == "an empty file, not a recording")
                << read.error;
        }
    }
}

}  // namespace
