#pragma once
// What an experiment measures, as a table of plain values: the graph, the
// CSV and the command line all read it, so a quantity is added in one place.
// Units are model units and ticks, as the models count them. Plain C++.

#include <cstddef>
#include <span>
#include <string_view>
#include <vector>

namespace sims {

// One measured quantity: a column of a recording.
struct QuantityInfo {
    std::string_view key;   // ASCII, for scripts: "position"
    const char* name;       // Japanese source text, translated in the experiment's quantity context
    std::string_view unit;  // "unit/tick"
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

// The table's infos alone, for the experiment's definition.
template <class State>
std::vector<QuantityInfo> infosOf(std::span<const Quantity<State>> table)
{
    std::vector<QuantityInfo> infos;
    for (const Quantity<State>& q : table)
        infos.push_back(q.info);
    return infos;
}

}  // namespace sims
