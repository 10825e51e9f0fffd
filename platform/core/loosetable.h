#pragma once

#include "platform/core/loose.h"

#include <initializer_list>
#include <memory>
#include <vector>

namespace kvx {

// A bounds-checked array of loose values, every dimension running 0..bound.
// Storage follows content: the table holds only the elements given a value,
// in index order, about ten bytes each, so an empty place costs nothing and a
// shelf that holds only its end mark costs one value, whatever size the table
// was given.
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

    // The element; a reference that lasts until the table next changes.
    template<typename... I>
    const Loose &operator()(I... idx) const
    {
        const int index[] = {int(idx)...};
        return get(index, int(sizeof...(I)));
    }
    // Writable element, stored from now on even if left empty; the reference
    // lasts until the table next changes.
    template<typename... I>
    Loose &at(I... idx)
    {
        const int index[] = {int(idx)...};
        return ref(index, int(sizeof...(I)));
    }
    // Assigns; an empty value gives its element's storage back. The value is
    // copied first, so it may be an element of this same table.
    template<typename... I>
    void set(const Loose &value, I... idx)
    {
        const int index[] = {int(idx)...};
        assign(index, int(sizeof...(I)), Loose(value));
    }
    template<typename... I>
    void set(Loose &&value, I... idx)
    {
        const int index[] = {int(idx)...};
        assign(index, int(sizeof...(I)), std::move(value));
    }

    const Loose &get(const int *index, int count) const;
    Loose &ref(const int *index, int count);
    void assign(const int *index, int count, Loose &&value)
    {
        const qint64 pos = position(index, count);
        if (!append(pos, value))
            assignAt(pos, std::move(value));
    }

    // Elements stored, and the bytes that holds; for tests and benchmarks of
    // the memory rule (the texts themselves are not counted).
    qsizetype storedValues() const;
    qsizetype heldBytes() const;

private:
    // Elements in index order, in blocks of at most MaxBlock; a block keeps
    // its elements' positions as 16-bit steps from its base, which is at or
    // below its first element's position.
    struct Block
    {
        qint64 base = 0;
        std::unique_ptr<quint16[]> offsets;
        std::unique_ptr<Loose[]> values;
        int count = 0;
        int capacity = 0;

        qint64 position(int k) const { return base + offsets[k]; }
        qint64 last() const { return position(count - 1); }
    };
    static constexpr int MaxBlock = 64;
    static constexpr qint64 MaxStep = 0xFFFF;
    static constexpr size_t NoBlock = size_t(-1);

    // The element's position in index order; raises the subscript error
    // for a wrong rank or an index out of its bounds. Every model access
    // passes here: inline, and one unsigned compare checks both ends.
    qint64 position(const int *index, int count) const
    {
        if (count != rank() || count == 0)
            subscriptError();
        const int *bounds = m_bounds.data();
        const qint64 *strides = m_strides.data();
        qint64 pos = 0;
#pragma GCC unroll 4
        for (int d = 0; d < count; ++d) {
            if (unsigned(index[d]) > unsigned(bounds[d]))
                subscriptError();
            pos += index[d] * strides[d];
        }
        return pos;
    }
    [[noreturn]] static void subscriptError();
    // The last block whose base is at or below the position, or NoBlock.
    size_t blockFor(qint64 pos) const;
    // Index of the element within its block, or -1.
    static int slotIn(const Block &block, qint64 pos);
    const Loose *find(qint64 pos) const;
    Loose &insert(qint64 pos);
    Loose &insertInto(size_t b, qint64 pos);
    void remove(qint64 pos);
    // A file is read in index order: a value that goes last into a block
    // with room is put there at once. False when it takes the longer way.
    bool append(qint64 pos, Loose &value)
    {
        if (m_blocks.empty() || value.isEmpty())
            return false;
        Block &block = m_blocks.back();
        const qint64 step = pos - block.base;
        if (block.count == block.capacity || step > MaxStep || step <= block.offsets[block.count - 1])
            return false;
        block.offsets[block.count] = quint16(step);
        block.values[block.count++] = std::move(value);
        return true;
    }
    void assignAt(qint64 pos, Loose &&value);
    static Block makeBlock(qint64 base, int capacity);
    static void grow(Block &block);
    void split(size_t b);

    std::vector<int> m_bounds;
    // Positions one step of each index apart.
    std::vector<qint64> m_strides;
    std::vector<Block> m_blocks;
    // The block and the element found last: lists are read and written in
    // order. Only hints, checked before use.
    mutable size_t m_cursor = 0;
    mutable int m_cursorSlot = -1;
};

} // namespace kvx
