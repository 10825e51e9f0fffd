#pragma once

#include <QAtomicInt>
#include <QByteArray>
#include <QString>

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
    Loose(double v) noexcept : m_kind(Kind::Number) { m_p.number = v; }
    Loose(int v) noexcept : Loose(double(v)) {}
    Loose(qint64 v) noexcept : Loose(double(v)) {}
    Loose(const QByteArray &t);
    Loose(const char *t) : Loose(QByteArray(t)) {}
    static Loose fromString(const QString &s) { return Loose(s.toUtf8()); }

    Loose(const Loose &other) noexcept : m_p(other.m_p), m_kind(other.m_kind)
    {
        if (isText())
            m_p.text->ref.ref();
    }
    Loose(Loose &&other) noexcept : m_p(other.m_p), m_kind(other.m_kind) { other.m_kind = Kind::Empty; }
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
        if (isText() && !m_p.text->ref.deref())
            delete m_p.text;
    }
    void swap(Loose &other) noexcept
    {
        std::swap(m_p, other.m_p);
        std::swap(m_kind, other.m_kind);
    }

    bool isEmpty() const { return m_kind == Kind::Empty; }
    bool isNumber() const { return m_kind == Kind::Number; }
    bool isText() const { return m_kind == Kind::Text; }

    // Numeric value; a text must read as a number (else a type mismatch error).
    double number() const;
    // Whole number, rounded half to even; overflow beyond 32 bits is an error.
    int toInt() const;
    // True when number() would succeed.
    bool readsAsNumber() const;

    // The joined form: numbers in their shortest form, no blanks.
    QByteArray text() const;
    // The bytes of a text as they stand; nothing for an empty value or a number.
    QByteArrayView textBytes() const { return isText() ? QByteArrayView(m_p.text->bytes) : QByteArrayView(); }
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
    // to 16 bytes.
    struct Text
    {
        QAtomicInt ref{1};
        QByteArray bytes;
    };
    enum class Kind : quint8 { Empty, Number, Text };
    union Payload {
        double number;
        Text *text;
    };

    Payload m_p{0.0};
    Kind m_kind = Kind::Empty;
};

static_assert(sizeof(Loose) == 16);

// Number syntax of the data file: optional sign, digits, optional decimal point.
bool parseNumber(QByteArrayView bytes, double *out);
// Shortest decimal form with no exponent and no blanks.
QByteArray numberText(double v);
// Round half to even, as the program's whole-number conversions do.
double roundHalfEven(double v);
QString displayText(const QByteArray &bytes);

} // namespace kvx
