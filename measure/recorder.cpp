#include "measure/recorder.h"

#include <algorithm>

namespace measure {

Recorder::Recorder(std::size_t columns, std::size_t maxRows)
    : m_maxRows(std::min(maxRows, MaxRows)), m_row(columns, 0.0)
{
    m_chunks.reserve((m_maxRows + ChunkRows - 1) / ChunkRows);
}

void Recorder::reserve(std::size_t rows)
{
    const std::size_t want = (std::min(rows, m_maxRows) + ChunkRows - 1) / ChunkRows;
    while (m_chunks.size() < want)
        m_chunks.push_back(std::make_unique<double[]>(ChunkRows * (m_row.size() + 1)));
}

void Recorder::store(std::int64_t tick)
{
    if (m_rows / ChunkRows == m_chunks.size())
        reserve(m_rows + 1);
    double* block = chunk(m_rows);
    const std::size_t r = m_rows % ChunkRows;
    // Ticks stay far below 2^53, so a double holds them exactly.
    block[r] = static_cast<double>(tick);
    for (std::size_t c = 0; c < m_row.size(); ++c)
        block[(c + 1) * ChunkRows + r] = m_row[c];
    ++m_rows;
}

std::int64_t Recorder::tick(std::size_t row) const
{
    return static_cast<std::int64_t>(chunk(row)[row % ChunkRows]);
}

double Recorder::value(std::size_t row, std::size_t column) const
{
    return chunk(row)[(column + 1) * ChunkRows + row % ChunkRows];
}

}  // namespace measure
