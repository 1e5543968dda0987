#include "cli/cli.h"

#include "measure/csv.h"
#include "measure/experiment.h"
#include "measure/recording.h"
#include "runtime/numeric/number_text.h"
#include "runtime/numeric/runtime_error.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>
#include <ostream>
#include <string_view>
#include <type_traits>

namespace cli {
namespace {

using measure::Script;
using measure::ScriptEvent;

constexpr std::int64_t kDefaultTicks = 10000;
constexpr std::int64_t kMaxTicksWithoutCsv = 1'000'000'000;

constexpr std::string_view kUsageText =
    "usage: springlab run EXPERIMENT [--set KEY=VALUE]... [--ticks N] [--press TICK:X,Y]...\n"
    "                     [--move TICK:X,Y]... [--csv FILE|-] [--columns K1,K2,...] [--record FILE]\n"
    "       springlab replay RECORDING [--csv FILE|-] [--columns K1,K2,...]\n"
    "\n"
    "Runs an experiment without a window, tick by tick as its window would.\n"
    "  EXPERIMENT   vibration, rotation, two-balls or rubber-cord\n"
    "  --set        a parameter box by its English key or Japanese label, read with Val\n"
    "               as the box would read it (--set mass=250 or --set 重さ=250)\n"
    "  --ticks      how many ticks (default: until the experiment stops by itself,\n"
    "               at most 10000)\n"
    "  --press      a mouse press after tick TICK (0: before the first) at X,Y twips\n"
    "  --move       the pointer moved there after tick TICK (the rotation's cord follows it)\n"
    "  --csv        the state after every tick as CSV, to FILE or to stdout (-)\n"
    "  --columns    only these quantities, by key\n"
    "  --record     the run written down as a recording, for springlab replay\n"
    "Without --csv the state after the last tick is printed.\n"
    "Exit status: 0 done, 2 bad arguments, 3 run-time error (the rows so far are written).\n"
    "\n"
    "example: springlab run vibration --set viscosity=0 --ticks 100 --csv swing.csv\n";

struct Usage {
    std::string message;
};

struct Event {
    std::int64_t tick = 0;
    bool press = false;
    float x = 0;
    float y = 0;
};

struct Options {
    std::string experiment;
    std::vector<std::pair<std::string, std::string>> sets;
    std::optional<std::int64_t> ticks;
    std::vector<Event> events;
    std::optional<std::string> csv;
    std::optional<std::string> columns;
    std::optional<std::string> record;
};

std::string quoted(std::string_view s) { return "'" + std::string(s) + "'"; }

template <class Number>
bool parseWhole(std::string_view text, Number& out)
{
    std::from_chars_result r;
    if constexpr (std::is_floating_point_v<Number>)
        r = rt::readNumber(text.data(), text.data() + text.size(), out);
    else
        r = std::from_chars(text.data(), text.data() + text.size(), out);
    return !text.empty() && r.ec == std::errc() && r.ptr == text.data() + text.size();
}

std::int64_t parseTicks(std::string_view text, std::string_view option)
{
    std::int64_t n = 0;
    if (!parseWhole(text, n) || n < 0)
        throw Usage{std::string(option) + " needs a whole number of ticks, not " + quoted(text)};
    return n;
}

// TICK:X,Y with X and Y in twips.
Event parseEvent(std::string_view text, bool press)
{
    const std::string option = press ? "--press" : "--move";
    const std::size_t colon = text.find(':');
    const std::size_t comma = text.find(',', colon == std::string_view::npos ? 0 : colon);
    if (colon == std::string_view::npos || comma == std::string_view::npos)
        throw Usage{option + " takes TICK:X,Y, not " + quoted(text)};
    Event e{parseTicks(text.substr(0, colon), option), press, 0, 0};
    const std::string_view x = text.substr(colon + 1, comma - colon - 1);
    const std::string_view y = text.substr(comma + 1);
    if (!parseWhole(x, e.x) || !parseWhole(y, e.y) || !std::isfinite(e.x) || !std::isfinite(e.y))
        throw Usage{option + " needs X,Y in twips as numbers, not " + quoted(text.substr(colon + 1))};
    return e;
}

std::string listOf(auto&& range, auto&& name)
{
    std::string list;
    for (const auto& item : range)
        list.append(list.empty() ? "" : ", ").append(name(item));
    return list;
}

Options parseOptions(const std::vector<std::string>& args)
{
    Options o;
    for (std::size_t i = 1; i < args.size(); ++i) {
        std::string_view arg = args[i];
        if (!arg.starts_with("--")) {
            if (!o.experiment.empty())
                throw Usage{"one experiment only, " + quoted(arg) + " is extra"};
            o.experiment = arg;
            continue;
        }
        // --name value or --name=value.
        std::string_view name = arg;
        std::optional<std::string_view> inlineValue;
        if (const std::size_t eq = arg.find('='); eq != std::string_view::npos) {
            name = arg.substr(0, eq);
            inlineValue = arg.substr(eq + 1);
        }
        static constexpr std::string_view kKnown[] = {"--set", "--ticks", "--press", "--move", "--csv", "--columns", "--record"};
        if (std::find(std::begin(kKnown), std::end(kKnown), name) == std::end(kKnown))
            throw Usage{"unknown option " + quoted(name)};
        if (!inlineValue && i + 1 == args.size())
            throw Usage{std::string(name) + " needs a value"};
        const std::string_view value = inlineValue ? *inlineValue : std::string_view(args[++i]);
        if (name == "--set") {
            const std::size_t eq = value.find('=');
            if (eq == std::string_view::npos)
                throw Usage{"--set takes KEY=VALUE, not " + quoted(value)};
            o.sets.emplace_back(value.substr(0, eq), value.substr(eq + 1));
        } else if (name == "--ticks") {
            o.ticks = parseTicks(value, name);
        } else if (name == "--press" || name == "--move") {
            o.events.push_back(parseEvent(value, name == "--press"));
        } else if (name == "--csv") {
            if (value.empty())
                throw Usage{"--csv needs a file name or -"};
            o.csv = value;
        } else if (name == "--record") {
            o.record = value;
        } else {
            o.columns = value;
        }
    }
    if (o.experiment.empty())
        throw Usage{"which experiment? (" + listOf(measure::experimentNames(), [](auto s) { return std::string(s); })
                    + ")"};
    return o;
}

std::vector<int> chooseColumns(const measure::Experiment& e, const std::optional<std::string>& keys)
{
    std::vector<int> columns;
    if (!keys) {
        for (std::size_t i = 0; i < e.quantities().size(); ++i)
            columns.push_back(static_cast<int>(i));
        return columns;
    }
    std::string_view rest = *keys;
    while (true) {
        const std::size_t comma = rest.find(',');
        const std::string_view key = rest.substr(0, comma);
        const int index = measure::findQuantity(e, key);
        if (index < 0)
            throw Usage{"no column " + quoted(key) + " in " + std::string(e.name()) + " ("
                        + listOf(e.quantities(), [](const auto& q) { return std::string(q.key); }) + ")"};
        columns.push_back(index);
        if (comma == std::string_view::npos)
            return columns;
        rest.remove_prefix(comma + 1);
    }
}

// The script of `springlab run`: the texts as one change before the first
// tick, then the mouse in tick order (the same tick keeps the given order).
Script scriptOf(const Options& o)
{
    const std::unique_ptr<measure::Experiment> e = measure::makeExperiment(o.experiment);
    if (!e)
        throw Usage{"no experiment " + quoted(o.experiment) + " ("
                    + listOf(measure::experimentNames(), [](auto s) { return std::string(s); }) + ")"};
    std::vector<std::string> texts = measure::defaultTexts(*e);
    for (const auto& [key, value] : o.sets) {
        const int index = measure::findParameter(*e, key);
        if (index < 0)
            throw Usage{"no parameter " + quoted(key) + " in " + std::string(e->name()) + " ("
                        + listOf(e->parameters(), [](const auto& p) { return std::string(p.key); }) + ")"};
        texts[static_cast<std::size_t>(index)] = value;
    }
    Script script{o.experiment, {}, o.ticks, {}};
    ScriptEvent init;
    for (std::size_t i = 0; i < texts.size(); ++i)
        init.texts.emplace_back(e->parameters()[i].key, texts[i]);
    script.events.push_back(std::move(init));
    std::vector<Event> events = o.events;
    std::stable_sort(events.begin(), events.end(), [](const Event& a, const Event& b) { return a.tick < b.tick; });
    for (const Event& m : events)
        script.events.push_back({m.tick, m.press ? ScriptEvent::Kind::Press : ScriptEvent::Kind::Move, {}, m.x, m.y});
    return script;
}

// What becomes of a run: its CSV, its chosen columns, its recording.
struct Output {
    std::string command;  // "run" or "replay", for the messages
    std::optional<std::string> csv;
    std::optional<std::string> columns;
    std::optional<std::string> record;
};

int runScript(const Script& script, const Output& o, std::ostream& out, std::ostream& err)
{
    std::unique_ptr<measure::Experiment> e = measure::makeExperiment(script.experiment);
    const std::vector<int> columns = chooseColumns(*e, o.columns);
    const std::int64_t ticks = script.ticks.value_or(kDefaultTicks);
    const std::int64_t maxTicks = o.csv ? static_cast<std::int64_t>(measure::Recorder::MaxRows) : kMaxTicksWithoutCsv;
    if (ticks > maxTicks)
        throw Usage{std::to_string(ticks) + " ticks are more than the " + std::to_string(maxTicks)
                    + (o.csv ? " rows a CSV holds" : " ticks a run may take")};

    // The texts of the boxes: a change alters the ones it names.
    std::vector<std::string> texts = measure::defaultTexts(*e);
    auto change = [&](const ScriptEvent& c) {
        for (const auto& [key, text] : c.texts)
            texts[static_cast<std::size_t>(measure::findParameter(*e, key))] = text;
        e->init(texts);
    };
    std::vector<std::string> firstTexts;
    auto nextEvent = script.events.begin();
    auto applyEvents = [&](std::int64_t tick) {
        for (; nextEvent != script.events.end() && nextEvent->tick == tick; ++nextEvent) {
            switch (nextEvent->kind) {
            case ScriptEvent::Kind::Change: change(*nextEvent); break;
            case ScriptEvent::Kind::Press: e->press(nextEvent->x, nextEvent->y); break;
            case ScriptEvent::Kind::Move: e->move(nextEvent->x, nextEvent->y); break;
            // The timer held or run by hand: the same ticks, the same states.
            case ScriptEvent::Kind::Pause:
            case ScriptEvent::Kind::Resume:
            case ScriptEvent::Kind::Step: break;
            }
            if (firstTexts.empty())
                firstTexts = texts;
        }
    };

    measure::Recorder recorder(e->quantities().size(), o.csv ? static_cast<std::size_t>(ticks) : 1);
    recorder.reserve(o.csv ? static_cast<std::size_t>(ticks) : 1);
    auto sample = [&e](std::span<double> row) { e->sample(row); };

    // The window's order: InitSimulation, then each tick followed by what
    // the user did before the next one.
    std::int64_t tick = 0;
    std::optional<rt::RuntimeError> failure;
    if (!script.carried.empty())
        e->carry(script.carried);
    try {
        applyEvents(0);
        while (tick < ticks && !e->stoppedByItself()) {
            ++tick;
            e->step();
            if (o.csv)
                recorder.append(tick, sample);
            applyEvents(tick);
        }
    } catch (const rt::RuntimeError& error) {
        failure = error;
    }
    if (firstTexts.empty())  // the first change failed part way
        firstTexts = texts;
    if (!o.csv) {
        recorder.clear();
        if (!failure)  // after no tick at all: the state the experiment starts from
            recorder.append(tick, sample);
    }

    const std::string prefix = "springlab " + o.command + ": ";
    int status = kOk;
    if (failure) {
        err << prefix << "run-time error " << failure->code() << " at tick " << tick << ": " << failure->what() << "\n";
        status = kFailed;
    }
    const measure::CsvTable table{e->name(), measure::parametersOf(*e, firstTexts), e->quantities(), columns,
                                  &recorder};
    if (!o.csv) {
        if (recorder.rows() == 1) {
            out << "tick = " << tick << "\n";
            for (int c : columns) {
                const auto column = static_cast<std::size_t>(c);
                out << e->quantities()[column].key << " = " << measure::formatNumber(recorder.value(0, column)) << "\n";
            }
        }
    } else if (*o.csv == "-") {
        measure::writeCsv(table, [&out](std::string_view piece) {
            out.write(piece.data(), static_cast<std::streamsize>(piece.size()));
        });
        out.flush();
    } else if (const std::string error = measure::saveCsv(*o.csv, table); !error.empty()) {
        err << prefix << error << "\n";
        status = kFailed;
    }
    if (o.record) {
        const std::string text = measure::writeRecording(script);
        const std::string error = measure::saveFile(*o.record, [&text](const measure::Sink& sink) { sink(text); });
        if (!error.empty()) {
            err << prefix << error << "\n";
            status = kFailed;
        }
    }
    return status;
}

int replay(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    Output o{"replay", {}, {}, {}};
    std::optional<std::string> file;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        if (arg == "--csv" || arg == "--columns") {
            if (i + 1 == args.size())
                throw Usage{std::string(arg) + " needs a value"};
            (arg == "--csv" ? o.csv : o.columns) = args[++i];
        } else if (arg.starts_with("--") || file) {
            throw Usage{"unknown argument " + quoted(arg)};
        } else {
            file = arg;
        }
    }
    if (!file)
        throw Usage{"which recording?"};
    const measure::RecordingRead read = measure::loadRecording(*file);
    if (!read.script)
        throw Usage{read.error};
    return runScript(*read.script, o, out, err);
}

}  // namespace

bool isCommand(const std::vector<std::string>& args)
{
    return !args.empty() && (args[0] == "run" || args[0] == "replay");
}

int main(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    if (args.size() >= 2 && (args[1] == "--help" || args[1] == "-h")) {
        out << kUsageText;
        return kOk;
    }
    try {
        if (args[0] == "replay")
            return replay(args, out, err);
        const Options o = parseOptions(args);
        return runScript(scriptOf(o), {"run", o.csv, o.columns, o.record}, out, err);
    } catch (const Usage& usage) {
        err << "springlab " << args[0] << ": " << usage.message << "\n";
        return kUsage;
    }
}

}  // namespace cli
