#include "measure/recording.h"

#include "runtime/numeric/number_text.h"
#include "runtime/text/catalogue.h"

#include <charconv>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <system_error>
#include <cmath>
#include <limits>
#include <map>
#include <memory>
#include <variant>

namespace measure {
namespace {

constexpr std::string_view kFormat = "springlab-recording";
constexpr int kVersion = 2;

// The little of JSON a recording uses: objects, arrays, strings, numbers
// and true, nested at most three deep.
struct Json;
using JsonObject = std::map<std::string, Json, std::less<>>;
using JsonArray = std::vector<Json>;
struct Json {
    std::variant<std::nullptr_t, bool, double, std::string, std::shared_ptr<JsonArray>, std::shared_ptr<JsonObject>>
        value;
};

// What is wrong with a line: a text of the translation files (context
// "measure") and what goes into its %1, %2...
struct BadJson {
    const char* why;
    std::vector<std::string> args = {};
};

class JsonParser {
public:
    explicit JsonParser(std::string_view text) : m_text(text) {}

    Json document()
    {
        Json v = value(0);
        skipBlanks();
        if (m_pos != m_text.size())
            throw BadJson{QT_TRANSLATE_NOOP("measure", "something follows the object")};
        return v;
    }

private:
    static constexpr int kMaxDepth = 3;

    void skipBlanks()
    {
        while (m_pos < m_text.size() && (m_text[m_pos] == ' ' || m_text[m_pos] == '\t' || m_text[m_pos] == '\r'))
            ++m_pos;
    }
    bool take(char c)
    {
        skipBlanks();
        if (m_pos < m_text.size() && m_text[m_pos] == c) {
            ++m_pos;
            return true;
        }
        return false;
    }
    void expect(char c)
    {
        if (!take(c))
            throw BadJson{QT_TRANSLATE_NOOP("measure", "'%1' expected at column %2"),
                {std::string(1, c), std::to_string(m_pos + 1)}};
    }

    Json value(int depth)
    {
        if (depth > kMaxDepth)
            throw BadJson{QT_TRANSLATE_NOOP("measure", "nested too deep")};
        skipBlanks();
        if (m_pos == m_text.size())
            throw BadJson{QT_TRANSLATE_NOOP("measure", "the line ends too soon")};
        const char c = m_text[m_pos];
        if (c == '{')
            return object(depth);
        if (c == '[')
            return array(depth);
        if (c == '"')
            return {string()};
        if (m_text.substr(m_pos).starts_with("true")) {
            m_pos += 4;
            return {true};
        }
        if (m_text.substr(m_pos).starts_with("false")) {
            m_pos += 5;
            return {false};
        }
        return {number()};
    }

    Json object(int depth)
    {
        expect('{');
        auto members = std::make_shared<JsonObject>();
        if (!take('}')) {
            do {
                skipBlanks();
                std::string key = string();
                expect(':');
                Json v = value(depth + 1);
                if (!members->emplace(std::move(key), std::move(v)).second)
                    throw BadJson{QT_TRANSLATE_NOOP("measure", "a key appears twice")};
            } while (take(','));
            expect('}');
        }
        return {members};
    }

    Json array(int depth)
    {
        expect('[');
        auto items = std::make_shared<JsonArray>();
        if (!take(']')) {
            do {
                if (items->size() == 16)
                    throw BadJson{QT_TRANSLATE_NOOP("measure", "an array too long")};
                items->push_back(value(depth + 1));
            } while (take(','));
            expect(']');
        }
        return {items};
    }

    std::string string()
    {
        if (m_pos == m_text.size() || m_text[m_pos] != '"')
            throw BadJson{QT_TRANSLATE_NOOP("measure", "a string expected at column %1"), {std::to_string(m_pos + 1)}};
        ++m_pos;
        std::string s;
        while (true) {
            if (m_pos == m_text.size())
                throw BadJson{QT_TRANSLATE_NOOP("measure", "a string without its closing quote")};
            const char c = m_text[m_pos++];
            if (c == '"')
                return s;
            if (static_cast<unsigned char>(c) < 0x20)
                throw BadJson{QT_TRANSLATE_NOOP("measure", "a control character in a string")};
            if (c != '\\') {
                s.push_back(c);
                continue;
            }
            if (m_pos == m_text.size())
                throw BadJson{QT_TRANSLATE_NOOP("measure", "a string without its closing quote")};
            const char e = m_text[m_pos++];
            switch (e) {
            case '"': case '\\': case '/': s.push_back(e); break;
            case 'n': s.push_back('\n'); break;
            case 't': s.push_back('\t'); break;
            case 'r': s.push_back('\r'); break;
            case 'b': s.push_back('\b'); break;
            case 'f': s.push_back('\f'); break;
            case 'u': s += unicodeEscape(); break;
            default: throw BadJson{QT_TRANSLATE_NOOP("measure", "an unknown escape in a string")};
            }
        }
    }

    // \uXXXX as UTF-8; surrogates are refused (the writer never makes them).
    std::string unicodeEscape()
    {
        unsigned code = 0;
        if (m_text.size() - m_pos < 4
            || std::from_chars(m_text.data() + m_pos, m_text.data() + m_pos + 4, code, 16).ptr
                   != m_text.data() + m_pos + 4)
            throw BadJson{QT_TRANSLATE_NOOP("measure", "a bad \\u escape")};
        m_pos += 4;
        if (code >= 0xD800 && code <= 0xDFFF)
            throw BadJson{QT_TRANSLATE_NOOP("measure", "a surrogate in a \\u escape")};
        std::string out;
        if (code < 0x80) {
            out.push_back(static_cast<char>(code));
        } else if (code < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (code >> 6)));
            out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xE0 | (code >> 12)));
            out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
        }
        return out;
    }

    double number()
    {
        double v = 0;
        const char* first = m_text.data() + m_pos;
        const char* last = m_text.data() + m_text.size();
        const auto r = rt::readNumber(first, last, v);
        if (r.ec != std::errc() || !std::isfinite(v) || *first == '+')
            throw BadJson{QT_TRANSLATE_NOOP("measure", "a value expected at column %1"), {std::to_string(m_pos + 1)}};
        m_pos += static_cast<std::size_t>(r.ptr - first);
        return v;
    }

    std::string_view m_text;
    std::size_t m_pos = 0;
};

void appendJsonString(std::string& out, std::string_view s)
{
    out.push_back('"');
    for (const char c : s) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out.push_back('\\');
            out.push_back(c);
        } else if (u < 0x20) {
            char buffer[8];
            std::snprintf(buffer, sizeof buffer, "\\u%04x", u);
            out.append(buffer);
        } else {
            out.push_back(c);
        }
    }
    out.push_back('"');
}

// The shortest text that reads back to the same bits.
template <class Number>
void appendNumber(std::string& out, Number v)
{
    rt::appendShortest(out, v);
}

const JsonObject* asObject(const Json& j)
{
    const auto* p = std::get_if<std::shared_ptr<JsonObject>>(&j.value);
    return p ? p->get() : nullptr;
}

const Json* member(const JsonObject& o, std::string_view key)
{
    const auto it = o.find(key);
    return it == o.end() ? nullptr : &it->second;
}

std::int64_t tickOf(const Json& j)
{
    const double* d = std::get_if<double>(&j.value);
    if (!d || *d < 0 || *d > static_cast<double>(kMaxTicks) || std::floor(*d) != *d)
        throw BadJson{QT_TRANSLATE_NOOP("measure", "\"tick\" must be a whole number from 0 to %1"),
            {std::to_string(kMaxTicks)}};
    return static_cast<std::int64_t>(*d);
}

// [X,Y] in twips, each a single as the window's mouse gives it.
std::pair<float, float> pointOf(const Json& j, std::string_view what)
{
    const auto* items = std::get_if<std::shared_ptr<JsonArray>>(&j.value);
    const BadJson why{QT_TRANSLATE_NOOP("measure", "\"%1\" must be [X,Y] in twips"), {std::string(what)}};
    if (!items || (*items)->size() != 2)
        throw why;
    float xy[2];
    for (int i = 0; i < 2; ++i) {
        const double* d = std::get_if<double>(&(**items)[static_cast<std::size_t>(i)].value);
        if (!d || !fitsSingle(*d))
            throw why;
        xy[i] = static_cast<float>(*d);
    }
    return {xy[0], xy[1]};
}

std::string say(std::string_view language, std::string_view source, const std::vector<std::string>& args = {})
{
    return rt::text::say(language, "measure", source, args);
}

}  // namespace

std::string writeRecording(const Script& script)
{
    std::string out = "{\"format\":\"springlab-recording\",\"version\":2,\"experiment\":";
    appendJsonString(out, script.experiment);
    if (!script.carried.empty()) {
        out += ",\"carry\":[";
        for (std::size_t i = 0; i < script.carried.size(); ++i) {
            if (i > 0)
                out += ",";
            appendNumber(out, script.carried[i]);
        }
        out += "]";
    }
    out += "}\n";
    for (const ScriptEvent& e : script.events) {
        out += "{\"tick\":" + std::to_string(e.tick) + ",";
        if (e.kind == ScriptEvent::Kind::Pause || e.kind == ScriptEvent::Kind::Resume
            || e.kind == ScriptEvent::Kind::Step) {
            out += e.kind == ScriptEvent::Kind::Pause ? "\"pause\":true}\n"
                   : e.kind == ScriptEvent::Kind::Resume ? "\"resume\":true}\n"
                                                         : "\"step\":true}\n";
        } else if (e.kind == ScriptEvent::Kind::Change) {
            out += "\"change\":{";
            for (std::size_t i = 0; i < e.texts.size(); ++i) {
                if (i > 0)
                    out += ",";
                appendJsonString(out, e.texts[i].first);
                out += ":";
                appendJsonString(out, e.texts[i].second);
            }
            out += "}}\n";
        } else {
            out += e.kind == ScriptEvent::Kind::Press ? "\"press\":[" : "\"move\":[";
            appendNumber(out, e.x);
            out += ",";
            appendNumber(out, e.y);
            out += "]}\n";
        }
    }
    if (script.ticks)
        out += "{\"tick\":" + std::to_string(*script.ticks) + ",\"end\":true}\n";
    return out;
}

RecordingRead readRecording(std::string_view text, std::string_view language)
{
    RecordingRead result;
    Script script;
    const sims::Definition* definition = nullptr;
    std::unique_ptr<sims::Experiment> experiment;
    std::size_t lineNumber = 0;
    std::int64_t lastTick = 0;
    int fileVersion = 0;
    // A byte-order mark, as some editors put before UTF-8, is no text.
    if (text.starts_with("\xEF\xBB\xBF"))
        text.remove_prefix(3);
    try {
        while (!text.empty()) {
            ++lineNumber;
            const std::size_t end = text.find('\n');
            const std::string_view line = text.substr(0, end);
            text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
            if (line.size() > kMaxLine)
                throw BadJson{QT_TRANSLATE_NOOP("measure", "a line longer than %1 bytes"), {std::to_string(kMaxLine)}};
            if (line.find_first_not_of(" \t\r") == std::string_view::npos)
                continue;
            const Json json = JsonParser(line).document();
            const JsonObject* o = asObject(json);
            if (!o)
                throw BadJson{QT_TRANSLATE_NOOP("measure", "each line must be one JSON object")};

            if (!experiment) {
                const Json* format = member(*o, "format");
                const Json* version = member(*o, "version");
                const Json* name = member(*o, "experiment");
                const auto* formatText = format ? std::get_if<std::string>(&format->value) : nullptr;
                if (!formatText || *formatText != kFormat)
                    throw BadJson{
                        QT_TRANSLATE_NOOP("measure", "not a SpringLab recording (\"format\" is not \"springlab-recording\")")};
                const double* v = version ? std::get_if<double>(&version->value) : nullptr;
                if (!v || (*v != 1 && *v != kVersion))
                    throw BadJson{
                        QT_TRANSLATE_NOOP("measure", "a recording of another version (this program reads versions 1 and 2)")};
                fileVersion = static_cast<int>(*v);
                const auto* nameText = name ? std::get_if<std::string>(&name->value) : nullptr;
                definition = nameText ? sims::findExperiment(*nameText) : nullptr;
                experiment = definition ? definition->make() : nullptr;
                if (!experiment) {
                    std::string names;
                    for (const sims::Definition* d : sims::experiments())
                        names.append(names.empty() ? "" : ", ").append(d->name);
                    if (nameText)
                        throw BadJson{QT_TRANSLATE_NOOP("measure", "an unknown experiment \"%1\" (%2)"),
                            {*nameText, names}};
                    throw BadJson{QT_TRANSLATE_NOOP("measure", "\"experiment\" must name one of %1"), {names}};
                }
                script.experiment = *nameText;
                const std::size_t expected = experiment->carried().size();
                if (const Json* carry = member(*o, "carry")) {
                    const auto* items = std::get_if<std::shared_ptr<JsonArray>>(&carry->value);
                    if (fileVersion < 2 || !items || (*items)->size() != expected || expected == 0)
                        throw BadJson{QT_TRANSLATE_NOOP("measure", "\"carry\" must be %1 numbers for %2"),
                                      {std::to_string(expected), script.experiment}};
                    for (const Json& item : **items) {
                        const double* d = std::get_if<double>(&item.value);
                        if (!d)
                            throw BadJson{QT_TRANSLATE_NOOP("measure", "\"carry\" must hold numbers")};
                        script.carried.push_back(*d);
                    }
                }
                if (o->size() != 3 + (script.carried.empty() ? 0u : 1u))
                    throw BadJson{QT_TRANSLATE_NOOP("measure", "an unknown member in the first line")};
                continue;
            }
            if (script.ticks)
                throw BadJson{QT_TRANSLATE_NOOP("measure", "nothing may follow the end")};
            const Json* tick = member(*o, "tick");
            if (!tick || o->size() != 2)
                throw BadJson{
                    QT_TRANSLATE_NOOP("measure", "an event is {\"tick\":N, and one of \"change\", \"press\", \"move\", \"end\"}")};
            ScriptEvent e;
            e.tick = tickOf(*tick);
            if (e.tick < lastTick)
                throw BadJson{QT_TRANSLATE_NOOP("measure", "tick %1 comes after tick %2"),
                    {std::to_string(e.tick), std::to_string(lastTick)}};
            lastTick = e.tick;
            if (script.events.size() == kMaxEvents)
                throw BadJson{QT_TRANSLATE_NOOP("measure", "more than %1 events"), {std::to_string(kMaxEvents)}};
            if (const Json* end = member(*o, "end")) {
                if (!std::get_if<bool>(&end->value) || !std::get<bool>(end->value))
                    throw BadJson{QT_TRANSLATE_NOOP("measure", "\"end\" must be true")};
                script.ticks = e.tick;
                continue;
            }
            if (const Json* change = member(*o, "change")) {
                const JsonObject* texts = asObject(*change);
                if (!texts)
                    throw BadJson{QT_TRANSLATE_NOOP("measure", "\"change\" must be an object of texts")};
                std::vector<std::string_view> boxes(definition->parameters.size());
                for (const auto& [key, value] : *texts) {
                    const int box = sims::findParameter(*definition, key);
                    if (box < 0)
                        throw BadJson{QT_TRANSLATE_NOOP("measure", "\"%1\" is not a text box of %2"),
                            {key, script.experiment}};
                    const auto* s = std::get_if<std::string>(&value.value);
                    if (!s)
                        throw BadJson{QT_TRANSLATE_NOOP("measure", "\"%1\" must be a text in quotes"), {key}};
                    // A box by its key and by its label: which text it holds would
                    // depend on the order of the keys.
                    std::string_view& seen = boxes[static_cast<std::size_t>(box)];
                    if (!seen.empty())
                        throw BadJson{QT_TRANSLATE_NOOP("measure", "\"%1\" and \"%2\" are the same box"),
                            {std::string(seen), key}};
                    seen = key;
                    e.texts.emplace_back(key, *s);
                }
            } else if (const Json* press = member(*o, "press")) {
                e.kind = ScriptEvent::Kind::Press;
                std::tie(e.x, e.y) = pointOf(*press, "press");
            } else if (const Json* move = member(*o, "move")) {
                e.kind = ScriptEvent::Kind::Move;
                std::tie(e.x, e.y) = pointOf(*move, "move");
            } else if (const Json* mark = member(*o, "pause") ? member(*o, "pause")
                                          : member(*o, "resume") ? member(*o, "resume")
                                                                 : member(*o, "step")) {
                if (fileVersion < 2 || !std::get_if<bool>(&mark->value) || !std::get<bool>(mark->value))
                    throw BadJson{
                        QT_TRANSLATE_NOOP("measure", "\"pause\", \"resume\" and \"step\" are true, from version 2 on")};
                e.kind = member(*o, "pause") ? ScriptEvent::Kind::Pause
                         : member(*o, "resume") ? ScriptEvent::Kind::Resume
                                                : ScriptEvent::Kind::Step;
            } else {
                throw BadJson{QT_TRANSLATE_NOOP("measure", "an unknown event")};
            }
            if (script.events.empty() && (e.kind != ScriptEvent::Kind::Change || e.tick != 0))
                throw BadJson{QT_TRANSLATE_NOOP("measure", "the first event must be the change at tick 0")};
            script.events.push_back(std::move(e));
        }
        if (!experiment) {
            result.error = say(language, QT_TRANSLATE_NOOP("measure", "an empty file, not a recording"));
            return result;
        }
        if (script.events.empty())
            throw BadJson{QT_TRANSLATE_NOOP("measure", "no change at tick 0")};
    } catch (const BadJson& bad) {
        result.error = say(language, QT_TRANSLATE_NOOP("measure", "line %1: %2"),
                           {std::to_string(lineNumber), say(language, bad.why, bad.args)});
        return result;
    }
    result.script = std::move(script);
    return result;
}

RecordingRead loadRecording(const std::string& path, std::string_view language)
{
    RecordingRead result;
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        result.error = say(language, QT_TRANSLATE_NOOP("measure", "%1: cannot be opened"), {path});
        return result;
    }
    // A recording is small: a larger file is not one. The buffer grows with
    // what is read, so a short file costs a short buffer.
    std::string text;
    std::error_code ec;
    if (const auto size = std::filesystem::file_size(path, ec); !ec && size <= kMaxRecordingBytes)
        text.reserve(static_cast<std::size_t>(size));
    char chunk[1 << 16];
    while (in && text.size() <= kMaxRecordingBytes) {
        in.read(chunk, sizeof chunk);
        text.append(chunk, static_cast<std::size_t>(in.gcount()));
    }
    if (text.size() > kMaxRecordingBytes) {
        result.error = say(language, kTooLargeForRecording, {path});
        return result;
    }
    result = readRecording(text, language);
    if (!result.script)
        result.error = say(language, QT_TRANSLATE_NOOP("measure", "%1: %2"), {path, result.error});
    return result;
}

}  // namespace measure
