#include "measure/csv.h"

#include "runtime/numeric/number_text.h"
#include "runtime/text/catalogue.h"
#include "runtime/numeric/runtime_error.h"
#include "runtime/numeric/val.h"

#include <charconv>
#include <cmath>

namespace measure {
namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";
constexpr std::string_view kTickTitle = "時刻 tick [tick]";
constexpr std::size_t kFlushSize = 1 << 16;
constexpr std::size_t kMaxColumns = 256;

void appendNumber(std::string& out, double v)
{
    rt::appendShortest(out, v);
}

bool parseNumber(std::string_view field, double& out)
{
    const char* first = field.data();
    const char* last = first + field.size();
    if (first != last && *first == '+')  // the writer never writes one
        return false;
    const auto result = rt::readNumber(first, last, out);
    return result.ec == std::errc() && result.ptr == last;
}

std::vector<std::string_view> splitFields(std::string_view line)
{
    std::vector<std::string_view> fields;
    for (std::size_t start = 0;;) {
        const std::size_t comma = line.find(',', start);
        fields.push_back(line.substr(start, comma - start));
        if (comma == std::string_view::npos)
            return fields;
        start = comma + 1;
        if (fields.size() > kMaxColumns)
            return fields;
    }
}

}  // namespace

std::vector<ParameterValue> parametersOf(const sims::Definition& experiment, std::span<const std::string> texts)
{
    std::vector<ParameterValue> values;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        ParameterValue v{std::string(experiment.parameters[i].key), std::string(sims::labelText(experiment, i)),
                         std::nullopt};
        try {
            v.value = rt::Val(texts[i]);
        } catch (const rt::RuntimeError&) {
            // Written as "?": the run itself reports the error.
        }
        values.push_back(std::move(v));
    }
    return values;
}

std::string formatNumber(double v)
{
    std::string s;
    appendNumber(s, v);
    return s;
}

std::string columnTitle(const sims::QuantityInfo& q, std::string_view context)
{
    std::string title;
    title.append(q.name).append(" ").append(rt::text::translate("en", context, q.name));
    title.append(" [").append(q.unit).append("]");
    return title;
}

void writeCsv(const CsvTable& table, const Sink& sink)
{
    std::string out;
    out.reserve(kFlushSize + 1024);
    out.append(kBom).append("# SpringLab ").append(table.experiment).append("\n");
    for (const ParameterValue& p : table.parameters) {
        out.append("# ").append(p.key).append(" = ");
        if (p.value)
            appendNumber(out, *p.value);
        else
            out.append("?");
        out.append(" (").append(p.label).append(")\n");
    }
    out.append(kTickTitle);
    for (int c : table.columns)
        out.append(",").append(columnTitle(table.quantities[static_cast<std::size_t>(c)], table.quantityContext));
    out.append("\n");

    const Recorder& rec = *table.recorder;
    for (std::size_t r = 0; r < rec.rows(); ++r) {
        char buffer[24];
        out.append(buffer, std::to_chars(buffer, buffer + sizeof buffer, rec.tick(r)).ptr);
        for (int c : table.columns) {
            out.push_back(',');
            appendNumber(out, rec.value(r, static_cast<std::size_t>(c)));
        }
        out.push_back('\n');
        if (out.size() >= kFlushSize) {
            sink(out);
            out.clear();
        }
    }
    sink(out);
}

std::string saveCsv(const std::string& path, const CsvTable& table, std::string_view language)
{
    return saveFile(path, [&table](const Sink& sink) { writeCsv(table, sink); }, language);
}

CsvReadResult readCsv(std::string_view text, std::size_t maxRows)
{
    CsvReadResult result;
    CsvData data;
    if (text.starts_with(kBom))
        text.remove_prefix(kBom.size());

    std::size_t lineNumber = 0;
    auto fail = [&](const std::string& why) {
        result.error = "line " + std::to_string(lineNumber) + ": " + why;
        return result;
    };
    bool haveHeader = false;
    while (!text.empty()) {
        ++lineNumber;
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (line.ends_with('\r'))
            line.remove_suffix(1);

        if (!haveHeader && line.starts_with('#')) {
            line.remove_prefix(1);
            while (line.starts_with(' '))
                line.remove_prefix(1);
            const std::size_t eq = line.find(" = ");
            if (eq == std::string_view::npos) {
                if (line.starts_with("SpringLab "))
                    data.experiment = line.substr(10);
                continue;
            }
            std::string_view value = line.substr(eq + 3);
            value = value.substr(0, value.find(' '));
            data.parameters.emplace_back(std::string(line.substr(0, eq)), std::string(value));
            continue;
        }
        if (!haveHeader) {
            for (std::string_view f : splitFields(line))
                data.header.emplace_back(f);
            if (data.header.size() > kMaxColumns)
                return fail("more than " + std::to_string(kMaxColumns) + " columns");
            if (data.header.front() != kTickTitle)
                return fail("the first column is not the tick");
            haveHeader = true;
            continue;
        }
        if (line.empty() && text.empty())
            break;  // the line feed that ends the last row
        const std::vector<std::string_view> fields = splitFields(line);
        if (fields.size() != data.header.size())
            return fail(std::to_string(fields.size()) + " fields where the header has "
                        + std::to_string(data.header.size()));
        if (data.rows.size() == maxRows)
            return fail("more than " + std::to_string(maxRows) + " rows");
        std::vector<double>& row = data.rows.emplace_back(fields.size());
        for (std::size_t i = 0; i < fields.size(); ++i)
            if (!parseNumber(fields[i], row[i]))
                return fail("field " + std::to_string(i + 1) + " is not a number");
    }
    if (!haveHeader)
        return fail("no header row");
    result.data = std::move(data);
    return result;
}

}  // namespace measure
