#pragma once

#include <QByteArray>
#include <QString>

#include <variant>

namespace kvx {

// The loose value of the model: empty, a number or a text. Texts are bytes
// as they stand in the data file, so a name read is written back unchanged.
// A comparison with a number is numeric, one with a text textual; empty
// equals both "" and 0.
class Loose
{
public:
    Loose() = default;
    Loose(double v) : m_v(v) {}
    Loose(int v) : m_v(double(v)) {}
    Loose(qint64 v) : m_v(double(v)) {}
    Loose(const QByteArray &t) : m_v(t) {}
    Loose(const char *t) : m_v(QByteArray(t)) {}
    static Loose fromString(const QString &s) { return Loose(s.toUtf8()); }

    bool isEmpty() const { return std::holds_alternative<std::monostate>(m_v); }
    bool isNumber() const { return std::holds_alternative<double>(m_v); }
    bool isText() const { return std::holds_alternative<QByteArray>(m_v); }

    // Numeric value; a text must read as a number (else a type mismatch error).
    double number() const;
    // Whole number, rounded half to even; overflow beyond 32 bits is an error.
    int toInt() const;
    // True when number() would succeed.
    bool readsAsNumber() const;

    // The joined form: numbers in their shortest form, no blanks.
    QByteArray text() const;
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
    std::variant<std::monostate, double, QByteArray> m_v;
};

// Number syntax of the data file: optional sign, digits, optional decimal point.
bool parseNumber(QByteArrayView bytes, double *out);
// Shortest decimal form with no exponent and no blanks.
QByteArray numberText(double v);
// Round half to even, as the program's whole-number conversions do.
double roundHalfEven(double v);
QString displayText(const QByteArray &bytes);

} // namespace kvx
