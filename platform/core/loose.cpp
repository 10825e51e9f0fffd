#include "platform/core/loose.h"

#include "platform/core/errors.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <new>

namespace kvx {

namespace {
bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}
} // namespace

bool parseNumber(QByteArrayView bytes, double *out)
{
    qsizetype b = 0, e = bytes.size();
    while (b < e && isBlank(bytes[b]))
        ++b;
    while (e > b && isBlank(bytes[e - 1]))
        --e;
    qsizetype i = b;
    const bool negative = i < e && bytes[i] == '-';
    if (i < e && (bytes[i] == '+' || negative))
        ++i;
    qsizetype digits = 0;
    qint64 whole = 0;
    while (i < e && bytes[i] >= '0' && bytes[i] <= '9') {
        if (digits < 18)
            whole = whole * 10 + (bytes[i] - '0');
        ++i;
        ++digits;
    }
    const qsizetype wholeDigits = digits;
    if (i < e && bytes[i] == '.') {
        ++i;
        while (i < e && bytes[i] >= '0' && bytes[i] <= '9') {
            ++i;
            ++digits;
        }
    }
    if (digits == 0 || i != e)
        return false;
    // Whole numbers of up to 15 digits are exact in a double: the usual case
    // of a data file, read without a copy or a general conversion.
    if (digits == wholeDigits && digits <= 15 && bytes[e - 1] != '.') {
        if (out)
            *out = negative ? -double(whole) : double(whole);
        return true;
    }
    const QByteArray s = bytes.sliced(b, e - b).toByteArray();
    bool ok = false;
    const double v = s.toDouble(&ok);
    if (!ok || !std::isfinite(v))
        return false;
    if (out)
        *out = v;
    return true;
}

QByteArray numberText(double v)
{
    if (v == 0)
        return "0";
    if (std::abs(v) < 1e15 && v == std::trunc(v))
        return QByteArray::number(qint64(v));
    char buf[400];
    const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed);
    if (r.ec != std::errc())
        return QByteArray::number(v, 'f', 6);
    return QByteArray(buf, int(r.ptr - buf));
}

double roundHalfEven(double v)
{
    return std::nearbyint(v); // the default rounding mode rounds halves to even
}

QString displayText(const QByteArray &bytes)
{
    QString s = QString::fromUtf8(bytes);
    if (s.contains(QChar::ReplacementCharacter))
        return QString::fromLatin1(bytes);
    return s;
}

Loose::Loose(const QByteArray &t)
{
    setText(t);
}

Loose::Loose(const char *t)
{
    setText(QByteArrayView(t));
}

void Loose::setText(QByteArrayView bytes)
{
    if (bytes.size() <= ShortMax) {
        quint64 bits = ShortTag + (quint64(bytes.size()) << 48);
        if (!bytes.isEmpty())
            std::memcpy(reinterpret_cast<char *>(&bits) + PayloadOffset, bytes.data(), size_t(bytes.size()));
        m_bits = bits;
        return;
    }
    void *memory = ::operator new(sizeof(Text) + size_t(bytes.size()));
    Text *text = new (memory) Text{QAtomicInt(1), bytes.size()};
    std::memcpy(static_cast<char *>(memory) + sizeof(Text), bytes.data(), size_t(bytes.size()));
    const auto address = quint64(quintptr(text));
    if (address & TagMask)
        qFatal("Loose: a text lies above the 48-bit addresses it can be kept at");
    m_bits = SharedTag | address;
}

double Loose::number() const
{
    if (isEmpty())
        return 0;
    if (isNumber())
        return numberData();
    double v = 0;
    const QByteArrayView t = textBytes();
    if (t.trimmed().isEmpty())
        return 0; // an empty text counts as 0, like an empty value
    if (!parseNumber(t, &v))
        raiseError(ErrTypeMismatch,
                   QStringLiteral("Type mismatch: \"%1\" is not a number").arg(displayText(t.toByteArray())));
    return v;
}

bool Loose::readsAsNumber() const
{
    if (!isText())
        return true;
    const QByteArrayView t = textBytes();
    return t.trimmed().isEmpty() || parseNumber(t, nullptr);
}

int Loose::toInt() const
{
    const double v = roundHalfEven(number());
    if (v > std::numeric_limits<int>::max() || v < std::numeric_limits<int>::min())
        raiseError(ErrOverflow, QStringLiteral("Overflow: %1").arg(QString::fromLatin1(text())));
    return int(v);
}

QByteArray Loose::text() const
{
    if (isEmpty())
        return {};
    if (isNumber())
        return numberText(numberData());
    return textBytes().toByteArray();
}

void Loose::freeText(Text *text)
{
    text->~Text();
    ::operator delete(text);
}

QString Loose::str() const
{
    return displayText(text());
}

QByteArray Loose::printForm() const
{
    if (isNumber()) {
        const QByteArray digits = numberText(numberData());
        return (numberData() < 0 ? digits : " " + digits) + ' ';
    }
    return text();
}

} // namespace kvx
