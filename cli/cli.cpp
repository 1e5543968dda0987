#include "cli/cli.h"

#include "measure/atomic_file.h"
#include "measure/csv.h"
#include "measure/picture_svg.h"
#include "measure/recording.h"
#include "runtime/numeric/number_text.h"
#include "runtime/numeric/runtime_error.h"
#include "runtime/text/catalogue.h"
#include "sims/headless.h"
#include "sims/registry.h"

#include <algorithm>
#include <atomic>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <optional>
#include <ostream>
#include <string_view>

#if defined(__unix__) || defined(__APPLE__)
#include <unistd.h>
#endif

// The messages are found by lupdate under the context "cli" and looked up
// in the table made from the same translation files as the windows'.

namespace cli {
namespace {

using measure::Script;
using measure::ScriptEvent;

constexpr std::int64_t kDefaultTicks = 10000;
constexpr std::int64_t kMaxTicksWithoutCsv = 1'000'000'000;

constexpr const char* kUsageText = QT_TRANSLATE_NOOP(
    "cli",
    "usage: springlab run EXPERIMENT [--set KEY=VALUE]... [--ticks N] [--press TICK:X,Y]...\n"
    "                     [--move TICK:X,Y]... [--csv FILE|-] [--columns K1,K2,...] [--record FILE]\n"
    "                     [--picture FILE.svg]\n"
    "       springlab replay RECORDING [--csv FILE|-] [--columns K1,K2,...]\n"
    "       springlab --lang LANGUAGE run|replay ...   (messages in en or ja)\n"
    "\n"
    "Runs an experiment without a window, tick by tick as its window would.\n"
    "  EXPERIMENT   %1\n"
    "  --set        a parameter box by its English key or Japanese label, read with Val\n"
    "               as the box would read it (--set mass=250 or --set 重さ=250)\n"
    "  --ticks      how many ticks (default: until the experiment stops by itself,\n"
    "               at most 10000)\n"
    "  --press      a mouse press after tick TICK (0: before the first) at X,Y twips\n"
    "  --move       the pointer moved there after tick TICK (the rotation's cord follows it)\n"
    "  --csv        the state after every tick as CSV, to FILE or to stdout (-)\n"
    "  --columns    only these quantities, by key\n"
    "  --record     the run written down as a recording, for springlab replay\n"
    "  --picture    the picture after the last tick, as SVG, to FILE\n"
    "Without --csv the state after the last tick is printed.\n"
    "Exit status: 0 done, 2 bad arguments, 3 run-time error or output not written\n"
    "(the rows so far are written).\n"
    "\n"
    "example: springlab run vibration --set viscosity=0 --ticks 100 --csv swing.csv\n");

// The language of this command's messages, for the whole of one cli::main.
thread_local std::string_view t_language = "en";

// `source` in the user's language, with %1, %2... replaced by `args`.
std::string say(std::string_view source, std::initializer_list<std::string_view> args = {})
{
    return rt::text::say(t_language, "cli", source, args);
}

std::string number(std::int64_t n) { return std::to_string(n); }

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
    std::optional<std::string> picture;
};

std::string quoted(std::string_view s)
{
    std::string q;
    q.reserve(s.size() + 2);
    q.append(1, '\'').append(s).append(1, '\'');
    return q;
}

std::int64_t parseTicks(std::string_view text, std::string_view option)
{
    std::int64_t n = 0;
    const auto r = std::from_chars(text.data(), text.data() + text.size(), n);
    if (text.empty() || r.ec != std::errc() || r.ptr != text.data() + text.size() || n < 0)
        throw Usage{say(QT_TRANSLATE_NOOP("cli", "%1 needs a whole number of ticks, not %2"), {option, quoted(text)})};
    return n;
}

// A coordinate as the window's mouse gives it: a single. Any number that
// rounds to a finite single is one (1e-50 is 0).
bool parseTwips(std::string_view text, float& out)
{
    double d = 0;
    const auto r = rt::readNumber(text.data(), text.data() + text.size(), d);
    if (text.empty() || r.ptr != text.data() + text.size() || !measure::fitsSingle(d))
        return false;
    out = static_cast<float>(d);
    return true;
}

// TICK:X,Y with X and Y in twips.
Event parseEvent(std::string_view text, bool press)
{
    const std::string_view option = press ? "--press" : "--move";
    const std::size_t colon = text.find(':');
    const std::size_t comma = text.find(',', colon == std::string_view::npos ? 0 : colon);
    if (colon == std::string_view::npos || comma == std::string_view::npos)
        throw Usage{say(QT_TRANSLATE_NOOP("cli", "%1 takes TICK:X,Y, not %2"), {option, quoted(text)})};
    Event e{parseTicks(text.substr(0, colon), option), press, 0, 0};
    if (!parseTwips(text.substr(colon + 1, comma - colon - 1), e.x) || !parseTwips(text.substr(comma + 1), e.y))
        throw Usage{say(QT_TRANSLATE_NOOP("cli", "%1 needs X,Y in twips as numbers within a single's range, not %2"),
                        {option, quoted(text.substr(colon + 1))})};
    return e;
}

std::string listOf(auto&& range, auto&& name)
{
    std::string list;
    for (const auto& item : range)
        list.append(list.empty() ? "" : ", ").append(name(item));
    return list;
}

std::string experimentList()
{
    return listOf(sims::experiments(), [](auto d) { return std::string(d->name); });
}

// --name value or --name=value; a value given apart is never an option: in
// `--csv --record` the file name was forgotten, it is not "--record".
struct OptionReader {
    const std::vector<std::string>& args;
    std::size_t i = 1;

    std::string_view value(std::string_view name, std::optional<std::string_view> inlineValue)
    {
        if (inlineValue)
            return *inlineValue;
        if (i + 1 == args.size() || args[i + 1].starts_with("--"))
            throw Usage{say(QT_TRANSLATE_NOOP("cli", "%1 needs a value"), {name})};
        return args[++i];
    }
};

std::pair<std::string_view, std::optional<std::string_view>> splitOption(std::string_view arg)
{
    if (const std::size_t eq = arg.find('='); eq != std::string_view::npos)
        return {arg.substr(0, eq), arg.substr(eq + 1)};
    return {arg, std::nullopt};
}

Options parseOptions(const std::vector<std::string>& args)
{
    Options o;
    for (OptionReader reader{args}; reader.i < args.size(); ++reader.i) {
        std::string_view arg = args[reader.i];
        if (!arg.starts_with("--")) {
            if (!o.experiment.empty())
                throw Usage{say(QT_TRANSLATE_NOOP("cli", "one experiment only, %1 is extra"), {quoted(arg)})};
            o.experiment = arg;
            continue;
        }
        const auto [name, inlineValue] = splitOption(arg);
        static constexpr std::string_view kKnown[] = {"--set",    "--ticks",  "--press",  "--move",
                                                      "--csv",    "--columns", "--record", "--picture"};
        if (std::find(std::begin(kKnown), std::end(kKnown), name) == std::end(kKnown))
            throw Usage{say(QT_TRANSLATE_NOOP("cli", "unknown option %1"), {quoted(name)})};
        const std::string_view value = reader.value(name, inlineValue);
        if (name == "--set") {
            const std::size_t eq = value.find('=');
            if (eq == std::string_view::npos)
                throw Usage{say(QT_TRANSLATE_NOOP("cli", "--set takes KEY=VALUE, not %1"), {quoted(value)})};
            o.sets.emplace_back(value.substr(0, eq), value.substr(eq + 1));
        } else if (name == "--ticks") {
            o.ticks = parseTicks(value, name);
        } else if (name == "--press" || name == "--move") {
            o.events.push_back(parseEvent(value, name == "--press"));
        } else if (name == "--csv" || name == "--record") {
            if (value.empty())
                throw Usage{name == "--csv" ? say(QT_TRANSLATE_NOOP("cli", "--csv needs a file name or -"))
                                            : say(QT_TRANSLATE_NOOP("cli", "--record needs a file name"))};
            (name == "--csv" ? o.csv : o.record) = value;
        } else if (name == "--picture") {
            if (value.empty() || value == "-")
                throw Usage{say(QT_TRANSLATE_NOOP("cli", "--picture needs a file name"))};
            o.picture = value;
        } else {
            o.columns = value;
        }
    }
    if (o.experiment.empty())
        throw Usage{say(QT_TRANSLATE_NOOP("cli", "which experiment? (%1)"), {experimentList()})};
    return o;
}

std::vector<int> chooseColumns(const sims::Definition& e, const std::optional<std::string>& keys)
{
    std::vector<int> columns;
    if (!keys) {
        for (std::size_t i = 0; i < e.quantities.size(); ++i)
            columns.push_back(static_cast<int>(i));
        return columns;
    }
    std::string_view rest = *keys;
    while (true) {
        const std::size_t comma = rest.find(',');
        const std::string_view key = rest.substr(0, comma);
        const int index = sims::findQuantity(e, key);
        if (index < 0)
            throw Usage{say(QT_TRANSLATE_NOOP("cli", "no column %1 in %2 (%3)"),
                            {quoted(key), std::string(e.name),
                             listOf(e.quantities, [](const auto& q) { return std::string(q.key); })})};
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
    const sims::Definition* e = sims::findExperiment(o.experiment);
    if (!e)
        throw Usage{say(QT_TRANSLATE_NOOP("cli", "no experiment %1 (%2)"), {quoted(o.experiment), experimentList()})};
    std::vector<std::string> texts = sims::defaultTexts(*e);
    for (const auto& [key, value] : o.sets) {
        const int index = sims::findParameter(*e, key);
        if (index < 0)
            throw Usage{say(QT_TRANSLATE_NOOP("cli", "no parameter %1 in %2 (%3)"),
                            {quoted(key), std::string(e->name),
                             listOf(e->parameters, [](const auto& p) { return std::string(p.key); })})};
        texts[static_cast<std::size_t>(index)] = value;
    }
    Script script{o.experiment, {}, o.ticks, {}};
    ScriptEvent init;
    for (std::size_t i = 0; i < texts.size(); ++i)
        init.texts.emplace_back(e->parameters[i].key, texts[i]);
    script.events.push_back(std::move(init));
    std::vector<Event> events = o.events;
    std::stable_sort(events.begin(), events.end(), [](const Event& a, const Event& b) { return a.tick < b.tick; });
    for (const Event& m : events)
        script.events.push_back({m.tick, m.press ? ScriptEvent::Kind::Press : ScriptEvent::Kind::Move, {}, m.x, m.y});
    return script;
}

// Control characters never reach the terminal as they are: a recording or
// a file name may hold escape sequences, a bell or a line break. They are
// shown as \n, \t, \r or \xHH (and the C1 controls of UTF-8 as \u0080..).
std::string printable(std::string_view s)
{
    std::string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size(); ++i) {
        const auto c = static_cast<unsigned char>(s[i]);
        const auto next = i + 1 < s.size() ? static_cast<unsigned char>(s[i + 1]) : 0u;
        char buffer[8];
        if (c == '\n' || c == '\t' || c == '\r') {
            out += c == '\n' ? "\\n" : c == '\t' ? "\\t" : "\\r";
        } else if (c < 0x20 || c == 0x7F) {
            std::snprintf(buffer, sizeof buffer, "\\x%02X", c);
            out += buffer;
        } else if (c == 0xC2 && next >= 0x80 && next <= 0x9F) {
            std::snprintf(buffer, sizeof buffer, "\\u%04X", next);
            out += buffer;
            ++i;
        } else {
            out.push_back(static_cast<char>(c));
        }
    }
    return out;
}

// A line to stderr: the command's name, then the message made printable.
void tell(std::ostream& err, std::string_view command, std::string_view message)
{
    err << "springlab " << command << ": " << printable(message) << "\n";
}

// What becomes of a run: its CSV, its chosen columns, its recording, its
// last picture.
struct Output {
    std::string command;  // "run" or "replay", for the messages
    std::optional<std::string> csv;
    std::optional<std::string> columns;
    std::optional<std::string> record;
    std::optional<std::string> picture = {};
};

// The events a run of `ticks` ticks can reach: the mouse after the last
// tick never happens.
Script withinTicks(Script script, std::int64_t ticks)
{
    const auto past = std::find_if(script.events.begin(), script.events.end(),
                                   [ticks](const ScriptEvent& e) { return e.tick > ticks; });
    script.events.erase(past, script.events.end());
    return script;
}

// What a recording may hold, checked before a run that is to be recorded,
// so that a long run never ends in a file its reader refuses.
void checkRecordable(const Script& script, std::int64_t ticks)
{
    if (ticks > measure::kMaxTicks)
        throw Usage{say(QT_TRANSLATE_NOOP("cli", "--ticks %1 is more than the %2 ticks --record can hold"),
                        {number(ticks), number(measure::kMaxTicks)})};
    if (script.events.size() + 1 > measure::kMaxEvents)
        throw Usage{say(QT_TRANSLATE_NOOP("cli", "%1 presses and moves are more than the %2 events --record can hold"),
                        {number(static_cast<std::int64_t>(script.events.size() - 1)),
                         number(static_cast<std::int64_t>(measure::kMaxEvents))})};
    const Script first{script.experiment, {script.events.front()}, std::nullopt, {}};
    const std::string text = measure::writeRecording(first);
    const std::size_t line = text.size() - text.find('\n') - 2;
    if (line > measure::kMaxLine)
        throw Usage{say(QT_TRANSLATE_NOOP("cli", "the --set texts are too long for --record: %1 bytes where a line holds %2"),
                        {number(static_cast<std::int64_t>(line)), number(static_cast<std::int64_t>(measure::kMaxLine))})};
    // Whatever else the reader would refuse is refused here, before the run.
    if (const measure::RecordingRead back = measure::readRecording(measure::writeRecording(script)); !back.script)
        throw Usage{"--record: " + back.error};
}

// Progress on a terminal, for runs longer than a second: one line on
// stderr, rewritten in place and cleared at the end (and by a signal).
std::atomic<bool> g_progressShown{false};
constexpr std::string_view kClearLine = "\r\x1b[K";

class Progress {
public:
    Progress(const Environment& env, std::ostream& err, std::int64_t total)
        : m_env(env), m_err(err), m_total(total), m_start(env.progress ? env.now() : Clock::time_point{}),
          m_lastCheck(m_start)
    {
    }
    ~Progress() { clear(); }

    void tick(std::int64_t done)
    {
        if (!m_env.progress || done < m_nextCheck)
            return;
        const Clock::time_point now = m_env.now();
        // The clock is read often enough to redraw about every 0.2 s,
        // whether a tick takes nanoseconds or milliseconds.
        if (now - m_lastCheck < std::chrono::milliseconds(50) && m_every < (1 << 16))
            m_every *= 2;
        m_lastCheck = now;
        m_nextCheck = done + m_every;
        const double seconds = std::chrono::duration<double>(now - m_start).count();
        if (seconds < 1 || now - m_lastShown < std::chrono::milliseconds(200))
            return;
        m_lastShown = now;
        const double rate = done / seconds;
        const auto left = static_cast<std::int64_t>((m_total - done) / std::max(rate, 1e-9));
        char clock[32];
        std::snprintf(clock, sizeof clock, "%lld:%02lld:%02lld", static_cast<long long>(left / 3600),
                      static_cast<long long>(left / 60 % 60), static_cast<long long>(left % 60));
        m_err << kClearLine
              << say(QT_TRANSLATE_NOOP("cli", "tick %1 of %2, %3 ticks/s, %4 left"),
                     {number(done), number(m_total), number(static_cast<std::int64_t>(rate)), clock})
              << std::flush;
        g_progressShown = true;
    }
    void clear()
    {
        if (g_progressShown.exchange(false))
            m_err << kClearLine << std::flush;
    }

private:
    using Clock = std::chrono::steady_clock;
    const Environment& m_env;
    std::ostream& m_err;
    std::int64_t m_total;
    Clock::time_point m_start;
    Clock::time_point m_lastCheck;
    Clock::time_point m_lastShown{};
    std::int64_t m_every = 1;
    std::int64_t m_nextCheck = 1;
};

int runScript(const Script& given, const Output& o, const Environment& env, std::ostream& out, std::ostream& err)
{
    const sims::Definition& definition = *sims::findExperiment(given.experiment);
    sims::HeadlessRun run(definition);
    sims::HeadlessRun* const e = &run;
    const std::vector<int> columns = chooseColumns(definition, o.columns);
    const std::int64_t ticks = given.ticks.value_or(kDefaultTicks);
    const std::int64_t maxTicks = o.csv ? static_cast<std::int64_t>(measure::Recorder::MaxRows) : kMaxTicksWithoutCsv;
    if (ticks > maxTicks)
        throw Usage{o.command == "replay"
                        ? say(QT_TRANSLATE_NOOP("cli", "the recording runs %1 ticks, more than the %2 rows --csv can hold"),
                              {number(ticks), number(maxTicks)})
                    : o.csv ? say(QT_TRANSLATE_NOOP("cli", "--ticks %1 is more than the %2 rows --csv can hold"),
                                  {number(ticks), number(maxTicks)})
                            : say(QT_TRANSLATE_NOOP("cli", "--ticks %1 is more than the %2 ticks a run may take"),
                                  {number(ticks), number(maxTicks)})};
    const Script script = withinTicks(given, ticks);
    if (o.record)
        checkRecordable(script, ticks);

    // The texts of the boxes: a change alters the ones it names.
    std::vector<std::string> texts = sims::defaultTexts(definition);
    auto change = [&](const ScriptEvent& c) {
        for (const auto& [key, text] : c.texts)
            texts[static_cast<std::size_t>(sims::findParameter(definition, key))] = text;
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

    measure::Recorder recorder(definition.quantities.size(), o.csv ? static_cast<std::size_t>(ticks) : 1);
    recorder.reserve(o.csv ? static_cast<std::size_t>(ticks) : 1);
    auto sample = [&e](std::span<double> row) { e->sample(row); };

    // The window's order: InitSimulation, then each tick followed by what
    // the user did before the next one.
    std::int64_t tick = 0;
    std::optional<rt::RuntimeError> failure;
    if (!script.carried.empty())
        e->carry(script.carried);
    Progress progress(env, err, ticks);
    try {
        applyEvents(0);
        while (tick < ticks && !e->stoppedByItself()) {
            ++tick;
            e->step();
            if (o.csv)
                recorder.append(tick, sample);
            applyEvents(tick);
            progress.tick(tick);
        }
    } catch (const rt::RuntimeError& error) {
        failure = error;
    }
    progress.clear();
    if (firstTexts.empty())  // the first change failed part way
        firstTexts = texts;
    if (!o.csv) {
        recorder.clear();
        if (!failure)  // after no tick at all: the state the experiment starts from
            recorder.append(tick, sample);
    }

    int status = kOk;
    if (failure) {
        tell(err, o.command,
             say(QT_TRANSLATE_NOOP("cli", "run-time error %1 at tick %2: %3"),
                 {number(failure->code()), number(tick), rt::text::translate(t_language, "RuntimeError", failure->what())}));
        status = kFailed;
    }
    // The mouse after the run stopped (by itself or at the last tick) never
    // reached the experiment: said, and left out of the recording.
    Script recorded = script;
    const auto notApplied = static_cast<std::int64_t>(given.events.size() - script.events.size())
                            + (script.events.end() - nextEvent);
    if (!failure && notApplied > 0) {
        tell(err, o.command,
             say(QT_TRANSLATE_NOOP("cli", "%1 presses or moves after tick %2 were not applied: the run had ended"),
                 {number(notApplied), number(tick)}));
        recorded.events.erase(recorded.events.begin() + (nextEvent - script.events.begin()), recorded.events.end());
    }
    const measure::CsvTable table{definition.name, measure::parametersOf(definition, firstTexts),
                                  definition.quantities, definition.quantityContext, columns, &recorder};
    if (!o.csv) {
        if (recorder.rows() == 1) {
            out << "tick = " << tick << "\n";
            for (int c : columns) {
                const auto column = static_cast<std::size_t>(c);
                out << definition.quantities[column].key << " = " << measure::formatNumber(recorder.value(0, column)) << "\n";
            }
        }
    } else if (*o.csv == "-") {
        measure::writeCsv(table, [&out](std::string_view piece) {
            if (out)  // a full disk or a closed pipe: the rest is not tried
                out.write(piece.data(), static_cast<std::streamsize>(piece.size()));
        });
    } else if (const std::string error = measure::saveCsv(*o.csv, table, t_language); !error.empty()) {
        tell(err, o.command, error);
        status = kFailed;
    }
    if (o.picture) {
        // The picture after the last tick, as the window would show it.
        const std::string svg = measure::pictureSvg(run.canvas(), definition.clientWidth, definition.clientHeight);
        if (const std::string error = measure::saveFile(*o.picture,
                [&svg](const measure::Sink& sink) { sink(svg); },
                t_language);
            !error.empty()) {
            tell(err, o.command, error);
            status = kFailed;
        }
    }
    if (o.record) {
        const std::string text = measure::writeRecording(recorded);
        const std::string error = measure::saveFile(*o.record,
                [&text](const measure::Sink& sink) { sink(text); },
                t_language);
        if (!error.empty()) {
            tell(err, o.command, error);
            status = kFailed;
        }
    }
    return status;
}

// The file a save would replace is not the file being read or written
// otherwise, by whatever name (a link, "./", another folder's "..").
void checkDistinct(const std::optional<std::string>& a, std::string_view aName, const std::optional<std::string>& b,
                   std::string_view bName)
{
    if (a && b && *a != "-" && *b != "-" && measure::savedFileOf(*a) == measure::savedFileOf(*b))
        throw Usage{say(QT_TRANSLATE_NOOP("cli", "%1 and %2 name the same file %3"), {aName, bName, quoted(*b)})};
}

int replay(const std::vector<std::string>& args, const Environment& env, std::ostream& out, std::ostream& err)
{
    Output o{"replay", {}, {}, {}};
    std::optional<std::string> file;
    for (OptionReader reader{args}; reader.i < args.size(); ++reader.i) {
        const std::string_view arg = args[reader.i];
        const auto [name, inlineValue] = splitOption(arg);
        if (name == "--csv" || name == "--columns") {
            const std::string_view value = reader.value(name, inlineValue);
            if (value.empty())
                throw Usage{say(QT_TRANSLATE_NOOP("cli", "%1 needs a value"), {name})};
            (name == "--csv" ? o.csv : o.columns) = std::string(value);
        } else if (arg.starts_with("--") || file) {
            throw Usage{say(QT_TRANSLATE_NOOP("cli", "unknown argument %1"), {quoted(arg)})};
        } else {
            file = arg;
        }
    }
    if (!file)
        throw Usage{say(QT_TRANSLATE_NOOP("cli", "which recording?"))};
    checkDistinct(file, "RECORDING", o.csv, "--csv");
    const measure::RecordingRead read = measure::loadRecording(*file, t_language);
    if (!read.script)
        throw Usage{read.error};
    return runScript(*read.script, o, env, out, err);
}

// Where the verb stands: first, or after --lang LANGUAGE, the one program
// option that means something to a command.
struct Verb {
    std::size_t at = 0;
    std::optional<std::string> language;
    std::optional<std::string> misplaced;  // another option before the verb
};

std::optional<Verb> findVerb(const std::vector<std::string>& args)
{
    const auto verb = std::find_if(args.begin(), args.end(),
                                   [](const std::string& a) { return a == "run" || a == "replay"; });
    if (verb == args.end() || (verb != args.begin() && !args.front().starts_with("-")))
        return std::nullopt;
    Verb v{static_cast<std::size_t>(verb - args.begin()), {}, {}};
    for (std::size_t i = 0; i < v.at; ++i) {
        const auto [name, inlineValue] = splitOption(args[i]);
        if (name == "--lang" && inlineValue) {
            v.language = std::string(*inlineValue);
        } else if (name == "--lang" && i + 1 < v.at) {
            v.language = args[++i];
        } else {
            v.misplaced = args[i];
            break;
        }
    }
    return v;
}

}  // namespace

bool isCommand(const std::vector<std::string>& args) { return findVerb(args).has_value(); }

std::string_view languageOfLocale(const char* lcAll, const char* lcMessages, const char* lang)
{
    // The first of them that is set and not empty decides, as for gettext.
    for (const char* value : {lcAll, lcMessages, lang})
        if (value && *value)
            return std::string_view(value).starts_with("ja") ? "ja" : "en";
    return "en";
}

void clearProgressLine(int)
{
#if defined(__unix__) || defined(__APPLE__)
    if (g_progressShown.load())
        (void)!::write(2, kClearLine.data(), kClearLine.size());
#endif
}

Environment setUpProcess()
{
    Environment env;
    env.language = languageOfLocale(std::getenv("LC_ALL"), std::getenv("LC_MESSAGES"), std::getenv("LANG"));
#if (defined(__unix__) || defined(__APPLE__)) && !defined(__EMSCRIPTEN__)
    // (Under node, emscripten calls every standard stream a terminal.)
    env.progress = ::isatty(2) == 1;
#endif
    measure::removeTemporaryFilesOnSignals(clearProgressLine);
    return env;
}

int main(const std::vector<std::string>& given, std::ostream& out, std::ostream& err, const Environment& env)
{
    const std::optional<Verb> verb = findVerb(given);
    const std::vector<std::string> args(given.begin() + static_cast<std::ptrdiff_t>(verb ? verb->at : 0), given.end());
    const std::string command = args.empty() ? std::string("run") : args[0];
    struct LanguageScope {
        std::string_view saved = t_language;
        ~LanguageScope() { t_language = saved; }
    } scope;
    t_language = env.language;
    int status = kUsage;
    try {
        if (verb && verb->language) {
            if (!rt::text::hasLanguage(*verb->language))
                throw Usage{say(QT_TRANSLATE_NOOP("cli", "no language %1 (en, ja)"), {quoted(*verb->language)})};
            for (const std::string_view language : rt::text::languages())
                if (language == *verb->language)
                    t_language = language;
        }
        if (verb && verb->misplaced)
            throw Usage{say(QT_TRANSLATE_NOOP("cli", "%1 does not go before %2: only --lang does"),
                            {quoted(*verb->misplaced), command})};
        if (args.size() >= 2 && (args[1] == "--help" || args[1] == "-h")) {
            out << say(kUsageText, {experimentList()});
            status = kOk;
        } else if (command == "replay") {
            status = replay(args, env, out, err);
        } else {
            const Options o = parseOptions(args);
            checkDistinct(o.csv, "--csv", o.record, "--record");
            checkDistinct(o.csv, "--csv", o.picture, "--picture");
            checkDistinct(o.record, "--record", o.picture, "--picture");
            status = runScript(scriptOf(o), {"run", o.csv, o.columns, o.record, o.picture}, env, out, err);
        }
    } catch (const Usage& usage) {
        tell(err, command, usage.message);
        status = kUsage;
    }
    // What was promised on stdout and did not arrive there is a failure, not
    // a success with nothing to show (a full disk, a closed pipe).
    if (!out.flush()) {
        tell(err, command, say(QT_TRANSLATE_NOOP("cli", "the output could not be written")));
        status = kFailed;
    }
    return status;
}

}  // namespace cli
