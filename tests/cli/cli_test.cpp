// `springlab run` from the outside: its exit statuses and messages, and the
// rows it writes when a run fails part way.

#include "cli/cli.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace {

struct Result {
    int status;
    std::string out;
    std::string err;
};

Result run(std::vector<std::string> args)
{
    args.insert(args.begin(), "run");
    std::ostringstream out, err;
    const int status = cli::main(args, out, err);
    return {status, out.str(), err.str()};
}

struct StatusCase {
    const char* name;
    std::vector<std::string> args;
    int status;
    std::string err;  // the whole of stderr
    std::string outStart;
};

class RunStatus : public ::testing::TestWithParam<StatusCase> {};

TEST_P(RunStatus, ExitStatusAndMessage)
{
    const StatusCase& c = GetParam();
    const Result r = run(c.args);
    EXPECT_EQ(r.status, c.status);
    EXPECT_EQ(r.err, c.err);
    EXPECT_EQ(r.out.substr(0, c.outStart.size()), c.outStart);
}

// In the launcher's order, as the registry lists them.
const std::string kNames = "(rotation, vibration, two-balls, rubber-cord)";

INSTANTIATE_TEST_SUITE_P(
    Table, RunStatus,
    ::testing::Values(
        StatusCase{"NoExperiment", {}, 2, "springlab run: which experiment? " + kNames + "\n", ""},
        StatusCase{"UnknownExperiment", {"pendulum"}, 2, "springlab run: no experiment 'pendulum' " + kNames + "\n", ""},
        StatusCase{"TwoExperiments", {"vibration", "rotation"}, 2,
                   "springlab run: one experiment only, 'rotation' is extra\n", ""},
        StatusCase{"UnknownOption", {"vibration", "--speed", "2"}, 2, "springlab run: unknown option '--speed'\n", ""},
        StatusCase{"OptionWithoutValue", {"vibration", "--ticks"}, 2, "springlab run: --ticks needs a value\n", ""},
        StatusCase{"UnknownKey", {"vibration", "--set", "colour=red"}, 2,
                   "springlab run: no parameter 'colour' in vibration (timer, length, stiffness, mass, viscosity)\n", ""},
        StatusCase{"SetWithoutValue", {"vibration", "--set", "mass"}, 2,
                   "springlab run: --set takes KEY=VALUE, not 'mass'\n", ""},
        StatusCase{"NegativeTicks", {"vibration", "--ticks", "-1"}, 2,
                   "springlab run: --ticks needs a whole number of ticks, not '-1'\n", ""},
        StatusCase{"TicksNotWhole", {"vibration", "--ticks=1.5"}, 2,
                   "springlab run: --ticks needs a whole number of ticks, not '1.5'\n", ""},
        StatusCase{"TooManyRows", {"vibration", "--ticks", "1000001", "--csv", "-"}, 2,
                   "springlab run: --ticks 1000001 is more than the 1000000 rows --csv can hold\n", ""},
        StatusCase{"PressWithoutComma", {"two-balls", "--press", "5:100"}, 2,
                   "springlab run: --press takes TICK:X,Y, not '5:100'\n", ""},
        StatusCase{"PressNotANumber", {"two-balls", "--press", "5:1,nan"}, 2,
                   "springlab run: --press needs X,Y in twips as numbers within a single's range, not '1,nan'\n", ""},
        StatusCase{"UnknownColumn", {"rotation", "--columns", "x,angle"}, 2,
                   "springlab run: no column 'angle' in rotation (x, y, distance, speed)\n", ""},
        StatusCase{"EmptyCsvName", {"rotation", "--csv="}, 2, "springlab run: --csv needs a file name or -\n", ""},
        StatusCase{"Help", {"--help"}, 0, "", "usage: springlab run EXPERIMENT"},
        StatusCase{"ThreeTicks", {"vibration", "--ticks", "3", "--columns", "position"}, 0, "",
                   "tick = 3\nposition = 105.9303590333592\n"},
        StatusCase{"NoTicksGiveTheStart", {"vibration", "--ticks", "0", "--columns", "position,velocity"}, 0, "",
                   "tick = 0\nposition = 100\nvelocity = 0\n"},
        StatusCase{"JapaneseLabel", {"vibration", "--ticks", "1", "--set", "重さ=250", "--columns", "velocity"}, 0, "",
                   "tick = 1\nvelocity = 1.996\n"},
        StatusCase{"TwoBallsStopAtRest", {"two-balls", "--columns", "bounces"}, 0, "", "tick = 262\nbounces = 1\n"},
        StatusCase{"DivisionByZero", {"vibration", "--set", "mass=0"}, 3,
                   "springlab run: run-time error 11 at tick 1: Division by zero.\n", ""},
        StatusCase{"RefusedTimer", {"two-balls", "--set", "タイマー=70000"}, 3,
                   "springlab run: run-time error 380 at tick 0: Invalid property value.\n", ""},
        StatusCase{"TimerOverflow", {"rubber-cord", "--set", "timer=1e10"}, 3,
                   "springlab run: run-time error 6 at tick 0: Overflow.\n", ""},
        StatusCase{"NoNodes", {"rubber-cord", "--set", "nodes=-1"}, 3,
                   "springlab run: run-time error 9 at tick 0: Subscript out of range.\n", ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(RunFailure, WritesTheRowsBeforeTheFailingTick)
{
    // A relaxation above 1 makes the swing grow until its picture leaves
    // the range of a single (as on the window), long before the doubles do.
    const Result r = run({"rotation", "--set", "relax=1.5", "--move", "0:3000,1500", "--csv", "-", "--columns", "x"});
    EXPECT_EQ(r.status, 3);
    const std::size_t at = r.err.find("at tick ");
    ASSERT_NE(at, std::string::npos) << r.err;
    const int failedTick = std::stoi(r.err.substr(at + 8));
    EXPECT_GT(failedTick, 100);
    const std::string lastRow = std::to_string(failedTick - 1) + ",";
    const std::size_t last = r.out.rfind('\n', r.out.size() - 2);
    EXPECT_EQ(r.out.substr(last + 1, lastRow.size()), lastRow);
}

TEST(RunFailure, AnUnwritableFileIsReportedWithItsName)
{
    const Result r = run({"vibration", "--ticks", "5", "--csv", "/nonexistent-folder/run.csv"});
    EXPECT_EQ(r.status, 3);
    EXPECT_EQ(r.err.rfind("springlab run: /nonexistent-folder/run.csv: ", 0), 0u) << r.err;
}

}  // namespace
