#pragma once
// What an experiment measures, as a table of plain values: the graph, the
// CSV and the command line all read it, so a quantity is added in one place.
// Units are model units and ticks, as the models count them. Plain C++.

#include <cmath>
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

// sqrt(x² + y²) from correctly rounded operations only, so that every
// platform gives the same last bit (the C libraries' hypot differ there).
// Lengths far from 1 are scaled by a power of two first, which is exact, so
// the squares neither overflow nor lose their digits to underflow.
inline double length(double x, double y)
{
    x = std::fabs(x);
    y = std::fabs(y);
    const double big = x > y ? x : y;
    if (!(big <= 0x1p+500) || big < 0x1p-500) {
        if (std::isinf(x) || std::isinf(y))
            return INFINITY;
        if (big == 0 || std::isnan(big))
            return x + y;
        const double scale = big < 0x1p-500 ? 0x1p+600 : 0x1p-600;
        x *= scale;
        y *= scale;
        return std::sqrt(x * x + y * y) / scale;
    }
    return std::sqrt(x * x + y * y);
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
