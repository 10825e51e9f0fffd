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
    Loose(const char *t) : Loose(QByteArray(t)) {}
    static Loose fromString(const QString &s) { return Loose(s.toUtf8()); }

    Loose(const Loose &other) noexcept : m_bits(other.m_bits)
    {
        if (isText())
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
        if (isText() && !textData()->ref.deref())
            delete textData();
    }
    void swap(Loose &other) noexcept { std::swap(m_bits, other.m_bits); }

    bool isEmpty() const { return m_bits == EmptyBits; }
    bool isNumber() const { return !isEmpty() && !isText(); }
    bool isText() const { return (m_bits & TagMask) == TextTag; }

    // Numeric value; a text must read as a number (else a type mismatch error).
    double number() const;
    // Whole number, rounded half to even; overflow beyond 32 bits is an error.
    int toInt() const;
    // True when number() would succeed.
    bool readsAsNumber() const;

    // The joined form: numbers in their shortest form, no blanks.
    QByteArray text() const;
    // The bytes of a text as they stand; nothing for an empty value or a number.
    QByteArrayView textBytes() const { return isText() ? QByteArrayView(textData()->bytes) : QByteArrayView(); }
    // The text for a person to read (UTF-8 where the bytes are UTF-8, else Latin-1).
    QString str() const;
    // The numeric print form of the file writer: " 5 ", "-1 "; texts unchanged.
    QByteArray printForm() const;

    bool operator==(double n) const { return number() == n; }
    bool operator==(int n) const { return number() == double(n); }
    bool operator==(const char *t) const { return text() == t; }
    bool operator==(const QByteArray &t) const { return text() == t; }

    // Textual comparison of two loose values.
    bool sameText(const Loose &other) const { return text() == other.text(); }

private:
    // A text is held once and shared by its copies: a model holds tens of
    // thousands of values, mostly repeats of a few names, so a value is kept
    // to the eight bytes of a double.
    struct Text
    {
        QAtomicInt ref{1};
        QByteArray bytes;
    };
    // A value is the bits of its number, or one of two patterns no number
    // takes: every NaN is kept as the one quiet NaN, and these two are NaNs
    // of another sign and payload. A text's pointer fills the low 48 bits,
    // where every address of a user process lies.
    static constexpr quint64 EmptyBits = 0xFFFA'0000'0000'0000ull;
    static constexpr quint64 TextTag = 0xFFF9'0000'0000'0000ull;
    static constexpr quint64 TagMask = 0xFFFF'0000'0000'0000ull;
    static constexpr quint64 PointerMask = ~TagMask;
    static quint64 bitsOf(double v) noexcept
    {
        return std::bit_cast<quint64>(v != v ? std::numeric_limits<double>::quiet_NaN() : v);
    }
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
