#include "platform/core/loosetable.h"

#include "platform/core/errors.h"

#include <algorithm>

namespace kvx {

namespace {

const Loose &emptyLoose()
{
    static const Loose empty;
    return empty;
}

// A block started behind a full one fills too, as a file is read; one
// started anywhere else may stay alone.
constexpr int FirstCapacity = 4;

} // namespace

void LooseTable::subscriptError()
{
    raiseError(ErrSubscript, QStringLiteral("Subscript out of range"));
}

LooseTable::LooseTable(const LooseTable &other) : m_bounds(other.m_bounds), m_strides(other.m_strides)
{
    m_blocks.reserve(other.m_blocks.size());
    for (const Block &from : other.m_blocks) {
        Block &to = m_blocks.emplace_back(makeBlock(from.base, from.count));
        std::copy(from.offsets.get(), from.offsets.get() + from.count, to.offsets.get());
        std::copy(from.values.get(), from.values.get() + from.count, to.values.get());
        to.count = from.count;
    }
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
    m_strides = std::move(other.m_strides);
    m_blocks = std::move(other.m_blocks);
    m_cursor = 0;
    other.erase();
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
    // Positions run over every element, so their count must fit 63 bits.
    std::vector<qint64> strides(bounds.size());
    qint64 elements = 1;
    for (size_t d = bounds.size(); d-- > 0;) {
        if (bounds[d] < 0)
            subscriptError();
        strides[d] = elements;
        if (__builtin_mul_overflow(elements, qint64(bounds[d]) + 1, &elements))
            raiseError(ErrOverflow, QStringLiteral("Overflow"));
    }
    m_bounds = bounds;
    m_strides = std::move(strides);
    m_blocks.clear();
    m_cursor = 0;
}

void LooseTable::redimPreserve(const std::vector<int> &bounds)
{
    LooseTable grown;
    grown.redim(bounds);
    if (bounds.size() != m_bounds.size()) {
        *this = std::move(grown);
        return;
    }
    // The elements kept stay in index order, so each one goes at the end.
    std::vector<int> index(m_bounds.size());
    for (const Block &block : m_blocks) {
        for (int k = 0; k < block.count; ++k) {
            qint64 pos = block.position(k);
            bool fits = true;
            for (size_t d = m_bounds.size(); d-- > 0;) {
                index[d] = int(pos % (qint64(m_bounds[d]) + 1));
                pos /= qint64(m_bounds[d]) + 1;
                fits = fits && index[d] <= bounds[d];
            }
            if (fits && !block.values[k].isEmpty())
                grown.insert(grown.position(index.data(), grown.rank())) = block.values[k];
        }
    }
    *this = std::move(grown);
}

void LooseTable::erase()
{
    m_bounds.clear();
    m_strides.clear();
    m_blocks.clear();
    m_cursor = 0;
}

size_t LooseTable::blockFor(qint64 pos) const
{
    const size_t n = m_blocks.size();
    const size_t b = m_cursor;
    if (b < n && m_blocks[b].base <= pos) {
        if (b + 1 == n || m_blocks[b + 1].base > pos)
            return b;
        if (b + 2 == n || m_blocks[b + 2].base > pos)
            return m_cursor = b + 1;
    }
    const auto after = std::upper_bound(m_blocks.begin(), m_blocks.end(), pos,
                                        [](qint64 p, const Block &block) { return p < block.base; });
    if (after == m_blocks.begin())
        return NoBlock;
    return m_cursor = size_t(after - m_blocks.begin()) - 1;
}

int LooseTable::slotIn(const Block &block, qint64 pos)
{
    const qint64 step = pos - block.base;
    if (step < 0 || step > MaxStep)
        return -1;
    const quint16 *begin = block.offsets.get();
    const quint16 *end = begin + block.count;
    const quint16 *at = std::lower_bound(begin, end, quint16(step));
    return at != end && *at == step ? int(at - begin) : -1;
}

const Loose *LooseTable::find(qint64 pos) const
{
    const size_t b = blockFor(pos);
    if (b == NoBlock)
        return nullptr;
    const Block &block = m_blocks[b];
    // A list walked in order finds the element after the one found last.
    int k = m_cursorSlot + 1;
    if (k >= block.count || block.position(k) != pos)
        k = slotIn(block, pos);
    if (k < 0)
        return nullptr;
    m_cursorSlot = k;
    return &block.values[k];
}

LooseTable::Block LooseTable::makeBlock(qint64 base, int capacity)
{
    Block block;
    block.base = base;
    block.capacity = std::max(capacity, 1);
    block.offsets = std::make_unique_for_overwrite<quint16[]>(size_t(block.capacity));
    block.values = std::make_unique<Loose[]>(size_t(block.capacity));
    return block;
}

void LooseTable::grow(Block &block)
{
    Block bigger = makeBlock(block.base, std::min(2 * block.capacity, MaxBlock));
    std::copy(block.offsets.get(), block.offsets.get() + block.count, bigger.offsets.get());
    std::move(block.values.get(), block.values.get() + block.count, bigger.values.get());
    bigger.count = block.count;
    block = std::move(bigger);
}

void LooseTable::split(size_t b)
{
    Block &full = m_blocks[b];
    const int keep = full.count / 2;
    Block upper = makeBlock(full.position(keep), MaxBlock);
    for (int k = keep; k < full.count; ++k) {
        upper.offsets[k - keep] = quint16(full.position(k) - upper.base);
        upper.values[k - keep] = std::move(full.values[k]);
    }
    upper.count = full.count - keep;
    full.count = keep;
    m_blocks.insert(m_blocks.begin() + qsizetype(b) + 1, std::move(upper));
}

Loose &LooseTable::insert(qint64 pos)
{
    // A file is read in index order: each element goes after the last.
    if (m_blocks.empty() || pos > m_blocks.back().last()) {
        const bool room =
            !m_blocks.empty() && m_blocks.back().count < MaxBlock && pos - m_blocks.back().base <= MaxStep;
        if (!room) {
            const bool filling = !m_blocks.empty() && m_blocks.back().count == MaxBlock;
            m_blocks.push_back(makeBlock(pos, filling ? MaxBlock : FirstCapacity));
        }
        m_cursor = m_blocks.size() - 1;
        return insertInto(m_cursor, pos);
    }
    const size_t found = blockFor(pos);
    const size_t b = found == NoBlock ? 0 : found;
    Block &block = m_blocks[b];
    const int k = slotIn(block, pos);
    if (k >= 0)
        return block.values[k];
    const qint64 base = std::min(block.base, pos);
    if (std::max(block.last(), pos) - base > MaxStep) {
        // Too far from the block's elements: a block of its own, in order.
        const size_t at = pos < block.base ? b : b + 1;
        m_blocks.insert(m_blocks.begin() + qsizetype(at), makeBlock(pos, FirstCapacity));
        m_cursor = at;
        return insertInto(at, pos);
    }
    if (block.count == MaxBlock) {
        split(b);
        return insert(pos);
    }
    return insertInto(b, pos);
}

// The block has room, and the position fits its steps once rebased.
Loose &LooseTable::insertInto(size_t b, qint64 pos)
{
    Block &block = m_blocks[b];
    if (block.count == block.capacity)
        grow(block);
    if (pos < block.base) {
        const quint16 shift = quint16(block.base - pos);
        for (int k = 0; k < block.count; ++k)
            block.offsets[k] = quint16(block.offsets[k] + shift);
        block.base = pos;
    }
    const quint16 step = quint16(pos - block.base);
    quint16 *offsets = block.offsets.get();
    // Mostly the element goes last: no search then.
    const bool last = block.count == 0 || step > offsets[block.count - 1];
    const int k = last ? block.count : int(std::lower_bound(offsets, offsets + block.count, step) - offsets);
    std::copy_backward(offsets + k, offsets + block.count, offsets + block.count + 1);
    std::move_backward(block.values.get() + k, block.values.get() + block.count, block.values.get() + block.count + 1);
    offsets[k] = step;
    block.values[k] = Loose();
    ++block.count;
    return block.values[k];
}

void LooseTable::remove(qint64 pos)
{
    const size_t b = blockFor(pos);
    if (b == NoBlock)
        return;
    Block &block = m_blocks[b];
    const int k = slotIn(block, pos);
    if (k < 0)
        return;
    std::copy(block.offsets.get() + k + 1, block.offsets.get() + block.count, block.offsets.get() + k);
    std::move(block.values.get() + k + 1, block.values.get() + block.count, block.values.get() + k);
    block.values[--block.count] = Loose();
    if (block.count == 0) {
        m_blocks.erase(m_blocks.begin() + qsizetype(b));
        m_cursor = 0;
    }
}

const Loose &LooseTable::get(const int *index, int count) const
{
    const Loose *value = find(position(index, count));
    return value ? *value : emptyLoose();
}

Loose &LooseTable::ref(const int *index, int count)
{
    return insert(position(index, count));
}

void LooseTable::assignAt(qint64 pos, Loose &&value)
{
    if (value.isEmpty())
        remove(pos);
    else
        insert(pos) = std::move(value);
}

qsizetype LooseTable::storedValues() const
{
    qsizetype n = 0;
    for (const Block &block : m_blocks)
        n += block.count;
    return n;
}

qsizetype LooseTable::heldBytes() const
{
    qsizetype bytes = qsizetype(m_blocks.capacity() * sizeof(Block));
    for (const Block &block : m_blocks)
        bytes += block.capacity * qsizetype(sizeof(quint16) + sizeof(Loose));
    return bytes;
}

} // namespace kvx
