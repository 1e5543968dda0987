#pragma once
// Recorded ticks as CSV, for spreadsheets and scripts. Plain C++: no Qt.
//
// The format, line by line (UTF-8, lines end in LF):
//   <BOM>               EF BB BF, so spreadsheet programs read the
//                       Japanese headers as UTF-8
//   # SpringLab <experiment>
//   # <key> = <value> (<Japanese label>)     one per parameter, the number
//                       its box gave when read with Val (shortest form), or
//                       "?" where the box's text could not be read
//   時刻 tick [tick],<ja> <en> [<unit>],...    the header: each column's
//                       Japanese and English name and its unit
//   1,100.998,...       one row per tick: the tick, then the state after it
// Numbers are written in the shortest form that reads back as the same
// double (rt::appendShortest); nothing is rounded. Names and units hold no comma,
// quote or line break, so no field is ever quoted. Comment lines start with
// '#': `pandas.read_csv(path, comment="#", encoding="utf-8-sig")` reads the
// table, and a spreadsheet shows them as single-cell rows above it.

#include "measure/atomic_file.h"
#include "measure/recorder.h"
#include "sims/experiment.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace measure {

struct ParameterValue {
    std::string key;
    std::string label;
    std::optional<double> value;  // none when the text raised an error
};

// The parameters of `experiment` as its boxes' texts give them.
std::vector<ParameterValue> parametersOf(const sims::Definition& experiment, std::span<const std::string> texts);

struct CsvTable {
    std::string_view experiment;
    std::vector<ParameterValue> parameters;
    std::span<const sims::QuantityInfo> quantities;
    std::string_view quantityContext;  // where the quantities' names are translated
    std::vector<int> columns;  // indices into quantities, in the order written
    const Recorder* recorder = nullptr;
};

// The whole CSV, handed to `sink` in pieces of some tens of kilobytes.
void writeCsv(const CsvTable& table, const Sink& sink);

// Writes the CSV to a temporary file beside `path`, flushes it to the disk
// and renames it to `path`, so the file is either complete or untouched.
// Returns an empty string on success, or a message naming the file and the
// reason; the recorded data are not touched either way.
std::string saveCsv(const std::string& path, const CsvTable& table, std::string_view language = "en");

// A number in the shortest form that reads back as the same double.
std::string formatNumber(double v);

// The header cell of a quantity: "<ja> <en> [<unit>]", its names translated
// in `context`.
std::string columnTitle(const sims::QuantityInfo& q, std::string_view context);

// A CSV as this program writes it, read back from untrusted text.
struct CsvData {
    std::string experiment;
    std::vector<std::pair<std::string, std::string>> parameters;  // key, value text
    std::vector<std::string> header;
    std::vector<std::vector<double>> rows;
};

struct CsvReadResult {
    std::optional<CsvData> data;
    std::string error;  // "line 7: ..." when data is empty
};

CsvReadResult readCsv(std::string_view text, std::size_t maxRows = Recorder::MaxRows);

}  // namespace measure
