// The experiments for the browser: the module's C exports, which
// springlab.mjs wraps for JavaScript. Everything the page shows comes from
// here (names, captions, design tables, defaults, quantities, the picture,
// the CSV and recordings), so no formula, default or caption is written
// twice. Every call catches rt::RuntimeError and keeps it (number, message,
// tick) for the page to ask, as the window shows it in a message box.
//
// Experiments are numbered sessions. Bytes (JSON, CSV, recordings) are
// handed back in one buffer that the next call may replace: the wrapper
// copies them out at once.

#include "measure/csv.h"
#include "measure/measure_texts.h"
#include "measure/picture_svg.h"
#include "measure/recorder.h"
#include "measure/recording.h"
#include "runtime/canvas/raster.h"
#include "runtime/canvas/scale.h"
#include "runtime/numeric/runtime_error.h"
#include "runtime/text/catalogue.h"
#include "sims/headless.h"
#include "sims/launcher.h"
#include "sims/registry.h"

#include <emscripten/emscripten.h>

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace {

std::string g_bytes;  // what the latest call handed back

void appendJsonString(std::string& out, std::string_view s)
{
    out += '"';
    for (const char c : s) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            static const char hex[] = "0123456789abcdef";
            out += "\\u00";
            out += hex[(c >> 4) & 0xF];
            out += hex[c & 0xF];
        } else {
            out += c;
        }
    }
    out += '"';
}

// Appends "name":value, members of a JSON object.
struct JsonFields {
    std::string& j;

    void field(std::string_view name, std::string_view value, bool comma = true)
    {
        appendJsonString(j, name);
        j += ':';
        appendJsonString(j, value);
        if (comma)
            j += ',';
    }
    void number(std::string_view name, long long value)
    {
        appendJsonString(j, name);
        j += ':' + std::to_string(value) + ',';
    }
};

// A window's design (the launcher's, an experiment's) as the members
// formName, caption, clientWidth, clientHeight and controls, in one shape.
void appendForm(std::string& j, const rt::FormDesign& form)
{
    JsonFields f{j};
    static const char* const kinds[] = {"label", "textBox", "commandButton"};
    f.field("formName", form.formName);
    f.field("caption", form.caption);
    f.number("clientWidth", form.clientWidth);
    f.number("clientHeight", form.clientHeight);
    j += "\"controls\":[";
    for (std::size_t i = 0; i < form.controls.size(); ++i) {
        const rt::ControlDef& c = form.controls[i];
        j += i ? ",{" : "{";
        f.field("kind", kinds[static_cast<int>(c.kind)]);
        f.field("name", c.name);
        f.field("text", c.text);
        f.number("left", c.left);
        f.number("top", c.top);
        f.number("width", c.width);
        f.number("height", c.height);
        f.number("tabIndex", c.tabIndex);
        appendJsonString(j, "backColor");
        j += c.backColor == rt::kDefaultColor ? ":null}" : ":" + std::to_string(c.backColor) + "}";
    }
    j += ']';
}

std::string launcher()
{
    std::string j = "{";
    appendForm(j, sims::launcher());
    const sims::LauncherMenus& m = sims::launcherMenus();
    JsonFields f{j};
    j += ",\"menus\":{";
    f.field("view", m.view);
    f.field("zoom", m.zoom);
    f.field("language", m.language);
    f.field("measure", m.measure);
    f.field("record", m.record);
    f.field("replay", m.replay);
    f.field("help", m.help);
    f.field("about", m.about);
    f.field("aboutTitle", m.aboutTitle, false);
    j += "},\"aboutLines\":[";
    appendJsonString(j, sims::aboutTexts().description);
    j += ',';
    appendJsonString(j, sims::aboutTexts().licence);
    return j + "]}";
}

// The page's own texts (Japanese sources, translated in the context "web"),
// marked here so that the translation tools find them.
const std::pair<const char*, const char*> kPageTexts[] = {
    {"close", QT_TRANSLATE_NOOP("web", "閉じる")},
    {"fitToScreen", QT_TRANSLATE_NOOP("web", "画面に合わせる")},
};

// What every face shares beyond the windows: the zoom steps, twips per
// pixel, the version, and the page's texts with the error box's.
std::string page()
{
    std::string j = "{\"zoomLevels\":[";
    for (const int level : rt::kZoomLevels)
        j += (level == rt::kZoomLevels[0] ? "" : ",") + std::to_string(level);
    j += "],\"twipsPerPixel\":" + std::to_string(static_cast<int>(rt::kTwipsPerPixel)) + ',';
    JsonFields f{j};
    f.field("version", SPRINGLAB_VERSION);
    j += "\"texts\":{";
    for (const auto& [name, text] : kPageTexts)
        f.field(name, text);
    f.field("errorBox", rt::errorReportText(), false);
    return j + "}}";
}

// The languages with their own names, and every translation by language,
// context and source: {"languages":[{"code","name"}],"texts":{"en":{"frmMain":{"source":"translation"}}}}.
std::string texts()
{
    std::string j = "{\"languages\":[";
    JsonFields f{j};
    bool first = true;
    // Japanese first, as the language menu lists them.
    std::vector<std::string_view> codes{"ja"};
    for (const std::string_view code : rt::text::languages())
        if (code != "ja")
            codes.push_back(code);
    for (const std::string_view code : codes) {
        j += first ? "{" : ",{";
        first = false;
        f.field("code", code);
        f.field("name", rt::text::languageName(code), false);
        j += '}';
    }
    j += "],\"texts\":{";
    std::string_view language, context;
    for (const rt::text::Entry& e : rt::text::entries()) {
        if (e.language != language) {
            j += language.empty() ? "" : "}},";
            appendJsonString(j, e.language);
            j += ":{";
            language = e.language;
            context = {};
        }
        if (e.context != context) {
            j += context.empty() ? "" : "},";
            appendJsonString(j, e.context);
            j += ":{";
            context = e.context;
        } else {
            j += ',';
        }
        f.field(e.source, e.translation, false);
    }
    return j + (language.empty() ? "}}" : "}}}}");
}

std::string catalogue()
{
    std::string j = "[";
    JsonFields f{j};
    bool firstExperiment = true;
    for (const sims::Definition* d : sims::experiments()) {
        j += firstExperiment ? "{" : ",{";
        firstExperiment = false;
        f.field("name", d->name);
        f.field("icon", d->icon);
        f.field("launcherButton", d->launcherButton);
        appendForm(j, {d->formName, d->caption, d->clientWidth, d->clientHeight, d->controls});
        j += ",\"parameters\":[";
        for (std::size_t i = 0; i < d->parameters.size(); ++i) {
            const sims::Parameter& p = d->parameters[i];
            j += i ? ",{" : "{";
            f.field("key", p.key);
            f.field("box", p.box);
            f.field("label", sims::labelText(*d, i));
            f.field("defaultText", sims::defaultText(*d, i), false);
            j += '}';
        }
        j += "],\"quantities\":[";
        for (std::size_t i = 0; i < d->quantities.size(); ++i) {
            const sims::QuantityInfo& q = d->quantities[i];
            j += i ? ",{" : "{";
            f.field("key", q.key);
            f.field("name", q.name);
            f.field("nameEn", rt::text::translate("en", d->quantityContext, q.name));
            f.field("unit", q.unit, false);
            j += '}';
        }
        j += "]}";
    }
    return j + "]";
}

// One experiment as its window runs it, with what it did written down: the
// recorded ticks for the CSV and the events for a recording. A recording
// read back drives it too: its events are applied after their ticks.
class Session {
public:
    explicit Session(const sims::Definition& d)
        : m_definition(d), m_run(d), m_texts(sims::defaultTexts(d)), m_recorder(d.quantities.size())
    {
        m_log.experiment = std::string(d.name);
    }

    const sims::Definition& definition() const { return m_definition; }
    sims::HeadlessRun& run() { return m_run; }
    std::int64_t tick() const { return m_tick; }
    const measure::Recorder& recorder() const { return m_recorder; }

    bool setText(std::string_view key, std::string text)
    {
        const int i = sims::findParameter(m_definition, key);
        if (i < 0)
            return false;
        m_texts[static_cast<std::size_t>(i)] = std::move(text);
        return true;
    }

    // Each call does what it says unless the experiment raises its error,
    // which is kept; the return is false then.
    bool init()
    {
        measure::ScriptEvent change{m_tick, measure::ScriptEvent::Kind::Change, {}, 0, 0};
        for (std::size_t i = 0; i < m_texts.size(); ++i)
            change.texts.emplace_back(std::string(m_definition.parameters[i].key), m_texts[i]);
        return apply(change);
    }
    bool press(float x, float y) { return apply({m_tick, measure::ScriptEvent::Kind::Press, {}, x, y}); }
    bool move(float x, float y) { return apply({m_tick, measure::ScriptEvent::Kind::Move, {}, x, y}); }

    // One tick, recorded, then the loaded recording's events after it. A
    // tick run by hand (the timer held by the measurement panel) goes into
    // the recording as the desktop's recorder writes it: the pause before
    // the first such tick, "step" after each, the resume before the next
    // tick the timer runs.
    bool step(bool byHand)
    {
        return guarded([this, byHand] {
            ++m_tick;
            m_run.step();
            m_recorder.append(m_tick - m_recordBase, [this](std::span<double> row) { m_run.sample(row); });
            if (byHand != m_loggedHeld) {
                m_loggedHeld = byHand;
                log({m_tick - 1, byHand ? measure::ScriptEvent::Kind::Pause : measure::ScriptEvent::Kind::Resume, {}, 0, 0});
            }
            if (byHand)
                log({m_tick, measure::ScriptEvent::Kind::Step, {}, 0, 0});
            applyScript();
        });
    }

    // The recording starts again at the next reading of the boxes (変更), as
    // a recording started on a running window does: only there does a run
    // have a known start. What the experiment keeps across that reading
    // goes into it as its carry, and its ticks count from there.
    void startRecording() { m_logWaits = true; }
    bool recordingWaits() const { return m_logWaits; }
    const std::vector<std::string>& texts() const { return m_texts; }

    // The recording's carried state and its events at tick 0.
    bool load(const measure::Script& script)
    {
        m_script = script;
        m_log.carried = script.carried;
        if (!script.carried.empty())
            m_run.carry(script.carried);
        return guarded([this] { applyScript(); });
    }
    std::optional<std::int64_t> scriptTicks() const
    {
        return m_script ? m_script->ticks : std::nullopt;
    }

    // The CSV starts again after this tick, its ticks counted from 1, as
    // the measurement window counts from its opening or the last 変更.
    void clearRecorded()
    {
        m_recorder.clear();
        m_csvTexts.clear();
        m_recordBase = m_tick;
    }
    std::string csv() const
    {
        std::vector<int> columns;
        for (std::size_t i = 0; i < m_definition.quantities.size(); ++i)
            columns.push_back(static_cast<int>(i));
        const measure::CsvTable table{m_definition.name,
                                      measure::parametersOf(m_definition, m_csvTexts.empty() ? m_texts : m_csvTexts),
                                      m_definition.quantities, m_definition.quantityContext, columns, &m_recorder};
        std::string out;
        measure::writeCsv(table, [&out](std::string_view piece) { out.append(piece); });
        return out;
    }
    std::string recording() const
    {
        measure::Script s = m_log;
        s.ticks = m_tick - m_logBase;
        return measure::writeRecording(s);
    }

    std::optional<rt::RuntimeError> error;
    std::int64_t errorTick = 0;
    // The knocks the latest init, step, press or move asked for (a step
    // of a replay with its events after it counts as one).
    int beeps = 0;

private:
    template <class F>
    bool guarded(F&& f)
    {
        error.reset();
        const std::int64_t before = m_run.allBeeps();
        try {
            f();
            beeps = static_cast<int>(m_run.allBeeps() - before);
            return true;
        } catch (const rt::RuntimeError& e) {
            beeps = static_cast<int>(m_run.allBeeps() - before);
            error = e;
            errorTick = m_tick;
            return false;
        }
    }

    bool apply(measure::ScriptEvent event)
    {
        return guarded([this, &event] { applyEvent(event); });
    }

    void log(measure::ScriptEvent event)
    {
        if (m_logWaits)
            return;
        event.tick -= m_logBase;
        m_log.events.push_back(std::move(event));
    }

    void applyEvent(const measure::ScriptEvent& event)
    {
        if (m_logWaits && event.kind == measure::ScriptEvent::Kind::Change) {
            m_logWaits = false;
            m_log = measure::Script{std::string(m_definition.name), {}, std::nullopt, m_run.carried()};
            m_logBase = m_tick;
            m_loggedHeld = false;
        }
        measure::ScriptEvent logged = event;
        logged.tick = m_tick;
        log(std::move(logged));
        switch (event.kind) {
        case measure::ScriptEvent::Kind::Change:
            for (const auto& [key, text] : event.texts)
                setText(key, text);
            // The CSV's parameters are the boxes as the recorded run first read them.
            if (m_csvTexts.empty())
                m_csvTexts = m_texts;
            m_run.init(m_texts);
            break;
        case measure::ScriptEvent::Kind::Press: m_run.press(event.x, event.y); break;
        case measure::ScriptEvent::Kind::Move: m_run.move(event.x, event.y); break;
        case measure::ScriptEvent::Kind::Pause:
        case measure::ScriptEvent::Kind::Resume:
        case measure::ScriptEvent::Kind::Step: break;
        }
    }

    void applyScript()
    {
        if (!m_script)
            return;
        for (; m_nextEvent < m_script->events.size() && m_script->events[m_nextEvent].tick == m_tick; ++m_nextEvent)
            applyEvent(m_script->events[m_nextEvent]);
    }

    const sims::Definition& m_definition;
    sims::HeadlessRun m_run;
    std::vector<std::string> m_texts;
    std::vector<std::string> m_csvTexts;
    measure::Recorder m_recorder;
    measure::Script m_log;
    std::optional<measure::Script> m_script;
    std::size_t m_nextEvent = 0;
    std::int64_t m_tick = 0;
    std::int64_t m_recordBase = 0;  // the tick the CSV counts from
    std::int64_t m_logBase = 0;     // the tick the recording counts from
    bool m_logWaits = false;        // for the next 変更 to start the recording
    bool m_loggedHeld = false;      // the recording's last word on a pause
};

std::map<int, std::unique_ptr<Session>> g_sessions;
int g_nextId = 1;
std::vector<double> g_numbers;  // the latest display list or quantities
// The latest picture's pixels: grown when a bigger one is asked for, never
// shrunk, so a page drawing every frame allocates nothing.
std::vector<std::uint32_t> g_pixels;

Session* session(int id)
{
    const auto it = g_sessions.find(id);
    return it == g_sessions.end() ? nullptr : it->second.get();
}

int add(const sims::Definition& d)
{
    g_sessions.emplace(g_nextId, std::make_unique<Session>(d));
    return g_nextId++;
}

// The numbers of a call that failed: -1 for "no such session".
constexpr int kNoSession = -1;
constexpr int kNotAPoint = 2;

int status(Session* s, bool ok) { return s ? (ok ? 0 : 1) : kNoSession; }

}  // namespace

extern "C" {

// The bytes handed back by the latest call that returned bytes.
EMSCRIPTEN_KEEPALIVE const char* sl_bytes() { return g_bytes.data(); }
EMSCRIPTEN_KEEPALIVE int sl_bytes_length() { return static_cast<int>(g_bytes.size()); }
EMSCRIPTEN_KEEPALIVE const double* sl_numbers() { return g_numbers.data(); }
EMSCRIPTEN_KEEPALIVE int sl_numbers_length() { return static_cast<int>(g_numbers.size()); }

// The experiments as JSON, into the bytes.
EMSCRIPTEN_KEEPALIVE void sl_catalogue() { g_bytes = catalogue(); }

// A new session of the named experiment with its default texts, before
// InitSimulation; 0 for an unknown name.
EMSCRIPTEN_KEEPALIVE int sl_make(const char* name)
{
    const sims::Definition* d = sims::findExperiment(name);
    return d ? add(*d) : 0;
}

// A session driven by a recording (JSON Lines text of `length` bytes), its
// events at tick 0 applied; 0 and the reader's message in the bytes if the
// text is refused.
EMSCRIPTEN_KEEPALIVE int sl_open_recording(const char* text, int length)
{
    const measure::RecordingRead read = measure::readRecording(std::string_view(text, static_cast<std::size_t>(length)));
    if (!read.script) {
        g_bytes = read.error;
        return 0;
    }
    const int id = add(*sims::findExperiment(read.script->experiment));
    session(id)->load(*read.script);
    return id;
}

// The launcher's design as JSON, into the bytes.
EMSCRIPTEN_KEEPALIVE void sl_launcher() { g_bytes = launcher(); }
EMSCRIPTEN_KEEPALIVE void sl_page() { g_bytes = page(); }

// The languages and every translation as JSON, into the bytes.
EMSCRIPTEN_KEEPALIVE void sl_texts() { g_bytes = texts(); }

// The session's experiment's name, into the bytes.
EMSCRIPTEN_KEEPALIVE void sl_experiment_name(int id)
{
    Session* s = session(id);
    g_bytes = s ? std::string(s->definition().name) : "";
}

EMSCRIPTEN_KEEPALIVE void sl_free(int id) { g_sessions.erase(id); }

// 0 done; 1 an unknown key (by key or Japanese label).
EMSCRIPTEN_KEEPALIVE int sl_set_text(int id, const char* key, const char* text)
{
    Session* s = session(id);
    return s ? (s->setText(key, text) ? 0 : 1) : kNoSession;
}

// 0 done; 1 a run-time error (sl_error_*).
EMSCRIPTEN_KEEPALIVE int sl_init(int id)
{
    Session* s = session(id);
    return status(s, s && s->init());
}
// `byHand` 1: a tick run by hand while the timer is held (a single step).
EMSCRIPTEN_KEEPALIVE int sl_step(int id, int byHand)
{
    Session* s = session(id);
    return status(s, s && s->step(byHand != 0));
}
// The pointer in twips; 2 (and nothing done) for a coordinate that is no
// finite single, which no window gives and no recording could hold.
EMSCRIPTEN_KEEPALIVE int sl_press(int id, double x, double y)
{
    Session* s = session(id);
    if (s && !(measure::fitsSingle(x) && measure::fitsSingle(y)))
        return kNotAPoint;
    return status(s, s && s->press(static_cast<float>(x), static_cast<float>(y)));
}
EMSCRIPTEN_KEEPALIVE int sl_move(int id, double x, double y)
{
    Session* s = session(id);
    if (s && !(measure::fitsSingle(x) && measure::fitsSingle(y)))
        return kNotAPoint;
    return status(s, s && s->move(static_cast<float>(x), static_cast<float>(y)));
}

EMSCRIPTEN_KEEPALIVE double sl_tick(int id)
{
    Session* s = session(id);
    return s ? static_cast<double>(s->tick()) : kNoSession;
}
// 1 once the window would have stopped its own timer.
EMSCRIPTEN_KEEPALIVE int sl_stopped(int id)
{
    Session* s = session(id);
    return s ? (s->run().stoppedByItself() ? 1 : 0) : kNoSession;
}
EMSCRIPTEN_KEEPALIVE int sl_interval(int id)
{
    Session* s = session(id);
    return s ? s->run().interval() : kNoSession;
}
// The last tick a loaded recording names; -1 without one.
EMSCRIPTEN_KEEPALIVE double sl_script_ticks(int id)
{
    Session* s = session(id);
    return s && s->scriptTicks() ? static_cast<double>(*s->scriptTicks()) : -1;
}

// The latest call's error number (0: none), its tick, and its message in
// "ja" (as written) or "en", into the bytes.
EMSCRIPTEN_KEEPALIVE int sl_error_number(int id)
{
    Session* s = session(id);
    return s && s->error ? s->error->code() : 0;
}
EMSCRIPTEN_KEEPALIVE double sl_error_tick(int id)
{
    Session* s = session(id);
    return s && s->error ? static_cast<double>(s->errorTick) : -1;
}
EMSCRIPTEN_KEEPALIVE void sl_error_message(int id, const char* language)
{
    Session* s = session(id);
    g_bytes = s && s->error ? std::string(rt::text::translate(language, "RuntimeError", s->error->what())) : "";
}

// The picture as it stands, into the numbers: per drawing operation its
// kind (0 line, 1 box, 2 filled box, 3 circle), x1, y1, x2, y2 in twips,
// colour, fill colour, filled (0 or 1) and pen width.
EMSCRIPTEN_KEEPALIVE int sl_display_list(int id)
{
    Session* s = session(id);
    g_numbers.clear();
    if (!s)
        return kNoSession;
    for (const rt::DrawOp& op : s->run().canvas().displayList())
        g_numbers.insert(g_numbers.end(), {static_cast<double>(op.kind), op.x1, op.y1, op.x2, op.y2,
                                           static_cast<double>(op.color), static_cast<double>(op.fillColor),
                                           op.filled ? 1.0 : 0.0, static_cast<double>(op.width)});
    return 0;
}

// The knocks the session's latest init, step, press or move asked for.
EMSCRIPTEN_KEEPALIVE int sl_beeps(int id)
{
    Session* s = session(id);
    return s ? s->beeps : kNoSession;
}

// The picture as it stands in width x height RGBA pixels (bytes R, G, B, A)
// at `scale` device pixels per twip, on the window's background, as the
// window paints it; the pixels' address, valid until the next call. Null
// for no such session, a size of no pixels or beyond 2^28 of them, or a
// scale that is no positive number up to a million.
EMSCRIPTEN_KEEPALIVE std::uint32_t* sl_raster(int id, int width, int height, double scale)
{
    Session* s = session(id);
    if (!s || width <= 0 || height <= 0 || static_cast<std::int64_t>(width) * height > (std::int64_t{1} << 28)
        || !(scale > 0 && scale < 1e6))
        return nullptr;
    const std::size_t count = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    if (g_pixels.size() < count)
        g_pixels.resize(count);
    const rt::Canvas& canvas = s->run().canvas();
    rt::rasterPicture({g_pixels.data(), width, height, width}, canvas.displayList(), canvas.BackColor, scale,
                      rt::PixelLayout::Rgba);
    return g_pixels.data();
}

// The picture as it stands as SVG in twips, as `springlab run --picture`
// writes it, into the bytes.
EMSCRIPTEN_KEEPALIVE void sl_picture_svg(int id)
{
    Session* s = session(id);
    g_bytes = s ? measure::pictureSvg(s->run().canvas(), s->definition().clientWidth, s->definition().clientHeight) : "";
}

// The quantities of the current state, in the definition's order, into the
// numbers.
EMSCRIPTEN_KEEPALIVE int sl_sample(int id)
{
    Session* s = session(id);
    if (!s)
        return kNoSession;
    g_numbers.assign(s->definition().quantities.size(), 0.0);
    s->run().sample(g_numbers);
    return 0;
}

// The recorded ticks as `springlab run ... --csv` writes them, into the bytes.
EMSCRIPTEN_KEEPALIVE void sl_csv(int id)
{
    Session* s = session(id);
    g_bytes = s ? s->csv() : "";
}
// Forgets the recorded ticks: the next CSV starts at the next tick.
EMSCRIPTEN_KEEPALIVE void sl_clear_recorded(int id)
{
    if (Session* s = session(id))
        s->clearRecorded();
}
// Everything the session did, as a recording, into the bytes: 0. A run the
// reader would refuse (too many ticks or events, texts too long for a line)
// is never handed out as a recording: 1 and the reader's message instead.
EMSCRIPTEN_KEEPALIVE int sl_recording(int id)
{
    Session* s = session(id);
    if (!s)
        return kNoSession;
    g_bytes = s->recording();
    if (const measure::RecordingRead back = measure::readRecording(g_bytes); !back.script) {
        g_bytes = back.error;
        return 1;
    }
    return 0;
}

// Starts the recording again at the next 変更; sl_recording_waits says 1
// until then.
EMSCRIPTEN_KEEPALIVE void sl_start_recording(int id)
{
    if (Session* s = session(id))
        s->startRecording();
}
EMSCRIPTEN_KEEPALIVE int sl_recording_waits(int id)
{
    Session* s = session(id);
    return s ? (s->recordingWaits() ? 1 : 0) : kNoSession;
}

// The boxes' texts as the run last read or was given them, a JSON array in
// the parameters' order, into the bytes (a replay's boxes show them).
EMSCRIPTEN_KEEPALIVE void sl_box_texts(int id)
{
    Session* s = session(id);
    g_bytes = "[";
    if (s)
        for (std::size_t i = 0; i < s->texts().size(); ++i) {
            if (i)
                g_bytes += ',';
            appendJsonString(g_bytes, s->texts()[i]);
        }
    g_bytes += ']';
}

// The measurement panel's and the recordings' texts (Japanese, by name,
// with the context each is translated in) and the largest recording, as
// JSON into the bytes.
EMSCRIPTEN_KEEPALIVE void sl_measure_texts()
{
    auto table = [](std::string_view context, std::span<const measure::NamedText> texts) {
        std::string j = "{\"context\":";
        appendJsonString(j, context);
        for (const measure::NamedText& t : texts) {
            j += ',';
            appendJsonString(j, t.name);
            j += ':';
            appendJsonString(j, t.source);
        }
        return j + '}';
    };
    g_bytes = "{\"measurement\":" + table(measure::kMeasurementContext, measure::measurementTexts())
              + ",\"recording\":" + table("frmMain", measure::recordingTexts())
              + ",\"maxRecordingBytes\":" + std::to_string(measure::kMaxRecordingBytes) + ",\"tooLarge\":";
    appendJsonString(g_bytes, measure::kTooLargeForRecording);
    g_bytes += '}';
}

// The ticks recorded for the CSV, and 1 once the recorder is full (later
// ticks are run but not recorded).
EMSCRIPTEN_KEEPALIVE double sl_recorded_rows(int id)
{
    Session* s = session(id);
    return s ? static_cast<double>(s->recorder().rows()) : kNoSession;
}
EMSCRIPTEN_KEEPALIVE int sl_recorder_full(int id)
{
    Session* s = session(id);
    return s ? (s->recorder().full() ? 1 : 0) : kNoSession;
}

}  // extern "C"
