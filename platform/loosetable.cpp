#include "platform/loosetable.h"

#include "platform/errors.h"

namespace kvx {

namespace {
const Loose &emptyLoose()
{
    static const Loose empty;
    return empty;
}

constexpr int FirstBlockRows = 4;
constexpr int MaxBlockRows = 64;
} // namespace

LooseTable::LooseTable(const LooseTable &other) : m_bounds(other.m_bounds)
{
    const int width = m_bounds.empty() ? 0 : m_bounds.back() + 1;
    for (const auto &[key, row] : other.m_rows)
        std::copy(row, row + width, makeRow(key));
}

LooseTable::LooseTable(LooseTable &&other) noexcept
{
    *this = std::move(other);
}

LooseTable &LooseTable::operator=(LooseTable &&other) noexcept
{
    if (this == &other)
        return *this;
    m_bounds = std::move(other.m_bounds);
    m_rows = std::move(other.m_rows);
    m_blocks = std::move(other.m_blocks);
    m_blockRows = other.m_blockRows;
    m_blockUsed = other.m_blockUsed;
    m_lastKey = other.m_lastKey;
    m_lastRow = other.m_lastRow;
    other.m_bounds.clear();
    other.clearRows();
    return *this;
}

LooseTable &LooseTable::operator=(const LooseTable &other)
{
    if (this != &other) {
        LooseTable copy(other);
        *this = std::move(copy);
    }
    return *this;
}

void LooseTable::redim(const std::vector<int> &bounds)
{
    for (int b : bounds) {
        if (b < 0)
            raiseError(ErrSubscript, QStringLiteral("Subscript out of range"));
    }
    m_bounds = bounds;
    clearRows();
}

void LooseTable::clearRows()
{
    m_rows.clear();
    m_blocks.clear();
    m_blockRows = 0;
    m_blockUsed = 0;
    m_lastKey = -1;
    m_lastRow = nullptr;
}

void LooseTable::redimPreserve(const std::vector<int> &bounds)
{
    LooseTable grown;
    grown.redim(bounds);
    if (bounds.size() != m_bounds.size()) {
        *this = std::move(grown);
        return;
    }
    const int lead = rank() - 1;
    const int oldWidth = m_bounds.back() + 1;
    const int newWidth = bounds.back() + 1;
    std::vector<int> index(size_t(rank()), 0);
    for (const auto &[key, row] : m_rows) {
        // Unpack the old row key into its leading indexes.
        qint64 k = key;
        bool fits = true;
        for (int d = lead - 1; d >= 0; --d) {
            index[size_t(d)] = int(k % (m_bounds[size_t(d)] + 1));
            k /= (m_bounds[size_t(d)] + 1);
            fits = fits && index[size_t(d)] <= bounds[size_t(d)];
        }
        if (!fits)
            continue;
        for (int n = 0; n < std::min(oldWidth, newWidth); ++n) {
            if (row[n].isEmpty())
                continue;
            index[size_t(lead)] = n;
            grown.ref(index.data(), rank()) = row[n];
        }
    }
    *this = std::move(grown);
}

void LooseTable::erase()
{
    m_bounds.clear();
    clearRows();
}

qint64 LooseTable::rowKey(const int *index, int count) const
{
    if (count != rank() || count == 0)
        raiseError(ErrSubscript, QStringLiteral("Subscript out of range"));
    // Every model access passes here: one unsigned compare checks both ends.
    const int *bounds = m_bounds.data();
    qint64 key = 0;
    for (int d = 0; d < count - 1; ++d) {
        if (unsigned(index[d]) > unsigned(bounds[d]))
            raiseError(ErrSubscript, QStringLiteral("Subscript out of range"));
        key = key * (bounds[d] + 1) + index[d];
    }
    if (unsigned(index[count - 1]) > unsigned(bounds[count - 1]))
        raiseError(ErrSubscript, QStringLiteral("Subscript out of range"));
    return key;
}

Loose *LooseTable::findRow(qint64 key) const
{
    if (key == m_lastKey)
        return m_lastRow;
    const auto it = m_rows.find(key);
    if (it == m_rows.end())
        return nullptr;
    m_lastKey = key;
    m_lastRow = it->second;
    return m_lastRow;
}

Loose *LooseTable::makeRow(qint64 key)
{
    if (Loose *row = findRow(key))
        return row;
    const size_t width = size_t(m_bounds.back()) + 1;
    if (m_blockUsed == m_blockRows) {
        m_blockRows = m_blocks.empty() ? FirstBlockRows : std::min(2 * m_blockRows, MaxBlockRows);
        m_blocks.emplace_back(new Loose[width * size_t(m_blockRows)]);
        m_blockUsed = 0;
    }
    Loose *p = m_blocks.back().get() + width * size_t(m_blockUsed++);
    m_rows.emplace(key, p);
    m_lastKey = key;
    m_lastRow = p;
    return p;
}

Loose *LooseTable::row(const int *leading, int count)
{
    if (count != rank() - 1)
        raiseError(ErrSubscript, QStringLiteral("Subscript out of range"));
    int index[8] = {};
    std::copy(leading, leading + count, index);
    return makeRow(rowKey(index, rank()));
}

const Loose &LooseTable::get(const int *index, int count) const
{
    const qint64 key = rowKey(index, count);
    const Loose *row = findRow(key);
    return row ? row[index[count - 1]] : emptyLoose();
}

Loose &LooseTable::ref(const int *index, int count)
{
    const qint64 key = rowKey(index, count);
    return makeRow(key)[index[count - 1]];
}

void LooseTable::assign(const int *index, int count, const Loose &value)
{
    const qint64 key = rowKey(index, count);
    Loose *row = value.isEmpty() ? findRow(key) : makeRow(key);
    if (row)
        row[index[count - 1]] = value;
}

} // namespace kvx
