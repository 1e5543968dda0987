#pragma once
// What an experiment measures and what it reads, as tables of plain values.
//
// Each experiment has one table of its measured quantities (the graph, the
// CSV and the command line all read it, so a quantity is added in one place)
// and one table of its parameters (its boxes). Units are model units and
// ticks, as the models count them. Plain C++: no Qt.

#include <span>
#include <string_view>

namespace measure {

// One measured quantity: a column of a recording.
struct QuantityInfo {
    std::string_view key;     // ASCII, for scripts: "position"
    std::string_view nameJa;  // "位置"
    std::string_view nameEn;  // "position (spring length)"
    std::string_view unit;    // "unit/tick"
};

// A quantity with the way to compute it from a state of type State (the
// model itself, or a summary made once per sample).
template <class State>
struct Quantity {
    QuantityInfo info;
    double (*value)(const State&);
};

// Every quantity of the table, in its order, into row[0..table.size()).
template <class State>
void sampleInto(std::span<const Quantity<State>> table, const State& state, std::span<double> row)
{
    for (std::size_t i = 0; i < table.size(); ++i)
        row[i] = table[i].value(state);
}

// One parameter box of an experiment's window.
struct Parameter {
    std::string_view key;          // ASCII: "mass"
    std::string_view label;        // the window's label caption: "重さ"
    std::string_view box;          // the text box: "Text4"
    std::string_view defaultText;  // the box's text when the window opens: "500"
};

}  // namespace measure
