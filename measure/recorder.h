#pragma once
// The recorded ticks of a run: a column store of doubles, one row per tick,
// up to MaxRows rows. Plain C++: no Qt.
//
// Memory comes in chunks of ChunkRows rows, taken when a chunk fills up (or
// all at once by reserve()), so appending a row allocates nothing on all
// other ticks: it samples the quantities into a row kept for the purpose and
// copies them into their columns.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace measure {

class Recorder {
public:
    static constexpr std::size_t MaxRows = 1'000'000;
    static constexpr std::size_t ChunkRows = 16384;

    // `columns` quantities per row, besides the tick.
    explicit Recorder(std::size_t columns, std::size_t maxRows = MaxRows);

    // Takes the memory for `rows` rows now (at most maxRows()), so that no
    // later append allocates.
    void reserve(std::size_t rows);

    // One row: the tick, then sample(std::span<double>) fills the quantities.
    // False, and nothing recorded, once the recorder is full.
    template <class Sample>
    bool append(std::int64_t tick, Sample&& sample)
    {
        if (m_rows == m_maxRows)
            return false;
        sample(std::span<double>(m_row));
        store(tick);
        return true;
    }

    void clear() { m_rows = 0; }

    std::size_t rows() const { return m_rows; }
    std::size_t columns() const { return m_row.size(); }
    std::size_t maxRows() const { return m_maxRows; }
    bool full() const { return m_rows == m_maxRows; }

    std::int64_t tick(std::size_t row) const;
    double value(std::size_t row, std::size_t column) const;

private:
    void store(std::int64_t tick);
    double* chunk(std::size_t row) const { return m_chunks[row / ChunkRows].get(); }

    std::size_t m_maxRows;
    std::size_t m_rows = 0;
    std::vector<double> m_row;                     // the row being sampled
    std::vector<std::unique_ptr<double[]>> m_chunks;  // column-major blocks; column 0 is the tick
};

}  // namespace measure
