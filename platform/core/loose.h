#pragma once

#include <QAtomicInt>
#include <QByteArray>
#include <QString>

#include <bit>
#include <limits>
#include <utility>

namespace kvx {

// The loose value of the model: empty, a number or a text. Texts are bytes
// as they stand in the data file, so a name read is written back unchanged.
// A comparison with a number is numeric, one with a text textual; empty
// equals both "" and 0.
class Loose
{
public:
    Loose() noexcept = default;
    Loose(double v) noexcept : m_bits(bitsOf(v)) {}
    Loose(int v) noexcept : Loose(double(v)) {}
    Loose(qint64 v) noexcept : Loose(double(v)) {}
    Loose(const QByteArray &t);
    Loose(const char *t);
    static Loose fromString(const QString &s) { return Loose(s.toUtf8()); }

    Loose(const Loose &other) noexcept : m_bits(other.m_bits)
    {
        if (isShared())
            textData()->ref.ref();
    }
    Loose(Loose &&other) noexcept : m_bits(other.m_bits) { other.m_bits = EmptyBits; }
    Loose &operator=(const Loose &other) noexcept
    {
        Loose(other).swap(*this);
        return *this;
    }
    Loose &operator=(Loose &&other) noexcept
    {
        Loose(std::move(other)).swap(*this);
        return *this;
    }
    ~Loose()
    {
        if (isShared() && !textData()->ref.deref())
            freeText(textData());
    }
    void swap(Loose &other) noexcept { std::swap(m_bits, other.m_bits); }

    bool isEmpty() const { return m_bits == EmptyBits; }
    bool isNumber() const { return !isEmpty() && !isText(); }
    bool isText() const { return unsigned(m_bits >> 48) - unsigned(SharedTag >> 48) <= unsigned(ShortMax + 1); }

    // Numeric value; a text must read as a number (else a type mismatch error).
    double number() const;
    // Whole number, rounded half to even; overflow beyond 32 bits is an error.
    int toInt() const;
    // True when number() would succeed.
    bool readsAsNumber() const;

    // The joined form: numbers in their shortest form, no blanks.
    QByteArray text() const;
    // The bytes of a text as they stand; nothing for an empty value or a
    // number. A short text's bytes lie in the value: the view lasts while
    // the value does, unchanged.
    QByteArrayView textBytes() const
    {
        if (isShared())
            return {textData()->bytes(), textData()->size};
        if (isText())
            return {reinterpret_cast<const char *>(&m_bits) + PayloadOffset, shortLength()};
        return {};
    }
    // The text for a person to read (UTF-8 where the bytes are UTF-8, else Latin-1).
    QString str() const;
    // The numeric print form of the file writer: " 5 ", "-1 "; texts unchanged.
    QByteArray printForm() const;

    bool operator==(double n) const { return number() == n; }
    bool operator==(int n) const { return number() == double(n); }
    bool operator==(const char *t) const { return isText() ? textBytes() == QByteArrayView(t) : text() == t; }
    bool operator==(const QByteArray &t) const { return isText() ? textBytes() == QByteArrayView(t) : text() == t; }

    // Textual comparison of two loose values.
    bool sameText(const Loose &other) const
    {
        if (isText() && other.isText())
            return textBytes() == other.textBytes();
        return text() == other.text();
    }
    // The same kind and the same number or bytes: what putting a value back
    // must give, where the loose comparisons would take "" for 0.
    bool identical(const Loose &other) const
    {
        return isShared() && other.isShared() ? textBytes() == other.textBytes() : m_bits == other.m_bits;
    }

private:
    // A text of up to six bytes is kept in the value itself. A longer one is
    // held once, its bytes right behind its count in one allocation, and
    // shared by its copies: a model holds tens of thousands of values, mostly
    // short names or repeats of a few, so a value is kept to the eight bytes
    // of a double and most texts cost nothing more.
    struct Text
    {
        QAtomicInt ref;
        qsizetype size;
        const char *bytes() const { return reinterpret_cast<const char *>(this + 1); }
    };
    static void freeText(Text *text);
    // A value is the bits of its number, or a pattern no number takes: every
    // NaN is kept as the one quiet NaN, and these are NaNs of another sign
    // and payload. The top 16 bits tell which: the empty value; a shared
    // text, its pointer in the low 48 bits, where every address of a user
    // process lies; a short text of length n (ShortTag + n), its bytes in
    // the low 48 bits, in memory order.
    static constexpr quint64 EmptyBits = 0xFFF1'0000'0000'0000ull;
    static constexpr quint64 SharedTag = 0xFFF7'0000'0000'0000ull;
    static constexpr quint64 ShortTag = 0xFFF8'0000'0000'0000ull;
    static constexpr int ShortMax = 6;
    static constexpr quint64 TagMask = 0xFFFF'0000'0000'0000ull;
    static constexpr quint64 PointerMask = ~TagMask;
    // Where the low 48 bits lie in memory.
    static constexpr int PayloadOffset = std::endian::native == std::endian::little ? 0 : 2;
    static quint64 bitsOf(double v) noexcept
    {
        return std::bit_cast<quint64>(v != v ? std::numeric_limits<double>::quiet_NaN() : v);
    }
    void setText(QByteArrayView bytes);
    bool isShared() const { return (m_bits & TagMask) == SharedTag; }
    int shortLength() const { return int((m_bits >> 48) - (ShortTag >> 48)); }
    double numberData() const { return std::bit_cast<double>(m_bits); }
    Text *textData() const { return reinterpret_cast<Text *>(quintptr(m_bits & PointerMask)); }

    quint64 m_bits = EmptyBits;
};

static_assert(sizeof(Loose) == 8);

// Number syntax of the data file: optional sign, digits, optional decimal point.
bool parseNumber(QByteArrayView bytes, double *out);
// Shortest decimal form with no exponent and no blanks.
QByteArray numberText(double v);
// Round half to even, as the program's whole-number conversions do.
double roundHalfEven(double v);
QString displayText(const QByteArray &bytes);

} // namespace kvx
