#pragma once

#include "platform/loose.h"

#include <QList>

#include <initializer_list>
#include <memory>
#include <unordered_map>
#include <vector>

namespace kvx {

// A bounds-checked array of loose values, every dimension running 0..bound.
// Storage follows content: a row of the last dimension is allocated only when
// a non-empty value is written into it, so the rows of an empty place or an
// empty shelf cost nothing, whatever size the table was given.
class LooseTable
{
public:
    LooseTable() = default;
    explicit LooseTable(std::initializer_list<int> bounds) { redim(bounds); }
    LooseTable(const LooseTable &other);
    LooseTable &operator=(const LooseTable &other);
    // A table moved from is left unsized.
    LooseTable(LooseTable &&other) noexcept;
    LooseTable &operator=(LooseTable &&other) noexcept;

    // Sizes the table afresh: every element becomes empty.
    void redim(std::initializer_list<int> bounds) { redim(std::vector<int>(bounds)); }
    void redim(const std::vector<int> &bounds);
    // Sizes the table keeping the elements whose indexes still exist.
    void redimPreserve(const std::vector<int> &bounds);
    // An unsized table: any access is a subscript error.
    void erase();

    bool isSized() const { return !m_bounds.empty(); }
    int rank() const { return int(m_bounds.size()); }
    int bound(int dim) const { return m_bounds.at(dim); }
    const std::vector<int> &bounds() const { return m_bounds; }

    template<typename... I>
    const Loose &operator()(I... idx) const
    {
        const int index[] = {int(idx)...};
        return get(index, int(sizeof...(I)));
    }
    // Writable element; allocates its row.
    template<typename... I>
    Loose &at(I... idx)
    {
        const int index[] = {int(idx)...};
        return ref(index, int(sizeof...(I)));
    }
    // Assigns, without allocating a row for an empty value written where
    // everything is empty already.
    template<typename... I>
    void set(const Loose &value, I... idx)
    {
        const int index[] = {int(idx)...};
        assign(index, int(sizeof...(I)), value);
    }

    // The writable row of the last dimension under the given leading indexes
    // (rank - 1 of them), for filling a list without a look-up per element.
    Loose *row(const int *leading, int count);

    const Loose &get(const int *index, int count) const;
    Loose &ref(const int *index, int count);
    void assign(const int *index, int count, const Loose &value);

    // Number of rows that hold storage; for tests of the memory rule.
    qsizetype allocatedRows() const { return qsizetype(m_rows.size()); }

private:
    qint64 rowKey(const int *index, int count) const;
    Loose *findRow(qint64 key) const;
    Loose *makeRow(qint64 key);
    void clearRows();

    std::vector<int> m_bounds;
    std::unordered_map<qint64, Loose *> m_rows;
    // Rows are cut from blocks that double in size up to a limit: a large
    // room's thousands of rows cost a few dozen allocations, a small table
    // stays small.
    std::vector<std::unique_ptr<Loose[]>> m_blocks;
    int m_blockRows = 0;
    int m_blockUsed = 0;
    // The last row looked up: lists are walked along the last dimension.
    mutable qint64 m_lastKey = -1;
    mutable Loose *m_lastRow = nullptr;
};

} // namespace kvx
