#include "platform/core/fields.h"

#include "platform/core/errors.h"

#include <cstring>
#include <limits>

namespace kvx {

namespace {
bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}
bool isLineEnd(char c)
{
    return c == '\r' || c == '\n';
}
bool isControl(unsigned char c)
{
    return (c < 0x20 && c != '\t') || c == 0x7f;
}

[[noreturn]] void raiseControlByte(unsigned char c)
{
    raiseError(ErrBadData,
               QStringLiteral("a control byte 0x%1 where text was expected").arg(int(c), 2, 16, QLatin1Char('0')));
}

void checkText(const char *d, qsizetype begin, qsizetype end)
{
    for (qsizetype i = begin; i < end; ++i) {
        if (isControl(static_cast<unsigned char>(d[i])))
            raiseControlByte(static_cast<unsigned char>(d[i]));
    }
}
} // namespace

void FieldReader::endField()
{
    if (m_pos >= m_data.size())
        return;
    const char c = m_data.at(m_pos);
    if (c == ',') {
        ++m_pos;
        ++m_column;
        return;
    }
    if (c == '\r') {
        ++m_pos;
        if (m_pos < m_data.size() && m_data.at(m_pos) == '\n')
            ++m_pos;
    } else {
        ++m_pos; // '\n'
    }
    ++m_line;
    m_column = 1;
}

FieldReader::FieldReader(QByteArray data) : m_data(std::move(data))
{
    // Text editors may start a UTF-8 file with a byte order mark: it is no
    // part of the first field.
    if (m_data.startsWith("\xEF\xBB\xBF"))
        m_pos = 3;
}

FieldReader::Span FieldReader::scan()
{
    if (atEnd())
        raiseError(ErrPastEnd, QStringLiteral("Input past end of file"));
    Span f;
    f.line = m_line;
    f.column = m_column;
    const qsizetype n = m_data.size();
    const char *d = m_data.constData(); // no detach check per byte
    while (m_pos < n && isBlank(d[m_pos]))
        ++m_pos;
    qsizetype begin = m_pos, end = m_pos;
    if (m_pos < n && d[m_pos] == '"') {
        f.quoted = true;
        begin = m_pos + 1;
        qsizetype close = m_data.indexOf('"', begin);
        if (close < 0)
            close = n;
        end = close;
        // A value never holds a line end: a quote left open is a broken file.
        for (qsizetype i = begin; i < end; ++i) {
            if (isLineEnd(d[i]))
                raiseError(ErrBadData, QStringLiteral("a double quote that is not closed on its line"));
        }
        m_pos = std::min(close + 1, n);
        while (m_pos < n && d[m_pos] != ',' && !isLineEnd(d[m_pos]))
            ++m_pos;
        checkText(d, begin, end);
    } else {
        // One pass finds the field's end and refuses a control byte in it:
        // most bytes of a data file lie above the comma and are passed at once.
        for (; m_pos < n; ++m_pos) {
            const auto c = static_cast<unsigned char>(d[m_pos]);
            if (c > ',' && c != 0x7f)
                continue;
            if (c == ',' || isLineEnd(char(c)))
                break;
            if (isControl(c))
                raiseControlByte(c);
        }
        end = m_pos;
        while (end > begin && isBlank(d[end - 1]))
            --end;
    }
    if (end - begin > MaxFieldLength)
        raiseError(ErrBadData, QStringLiteral("a field of more than %1 bytes").arg(MaxFieldLength));
    f.begin = m_lastBegin = begin;
    f.end = m_lastEnd = end;
    endField();
    return f;
}

Field FieldReader::next()
{
    const Span span = scan();
    Field f;
    f.bytes = m_data.sliced(span.begin, span.end - span.begin);
    f.quoted = span.quoted;
    f.line = span.line;
    f.column = span.column;
    return f;
}

Loose FieldReader::nextLoose(int *line, int *column)
{
    const Span span = scan();
    *line = span.line;
    *column = span.column;
    const QByteArrayView bytes(m_data.constData() + span.begin, span.end - span.begin);
    if (bytes.isEmpty())
        return span.quoted ? sharedText(bytes) : Loose();
    // Most fields are short whole numbers or names: both are told at once.
    const char first = bytes.front();
    if (bytes.size() <= 9 && (first == '-' || (first >= '0' && first <= '9'))) {
        qsizetype i = first == '-' ? 1 : 0;
        int whole = 0;
        for (; i < bytes.size() && bytes[i] >= '0' && bytes[i] <= '9'; ++i)
            whole = whole * 10 + (bytes[i] - '0');
        if (i == bytes.size() && i > (first == '-' ? 1 : 0))
            return Loose(first == '-' ? -double(whole) : double(whole));
    } else if ((first >= 'A' && first <= 'Z') || (first >= 'a' && first <= 'z')) {
        return sharedText(bytes);
    }
    double v = 0;
    if (parseNumber(bytes, &v))
        return Loose(v);
    return sharedText(bytes);
}

const Loose &FieldReader::sharedText(QByteArrayView bytes)
{
    // Names repeat down a shelf and from rack to rack; the texts seen last
    // are shared rather than copied again, the one matched last tried first.
    const auto same = [&bytes](const Loose &seenText) {
        const QByteArrayView seen = seenText.textBytes();
        return seenText.isText() && seen.size() == bytes.size()
               && (bytes.isEmpty() || std::memcmp(seen.data(), bytes.data(), size_t(bytes.size())) == 0);
    };
    if (same(m_recentTexts[m_lastRecent]))
        return m_recentTexts[m_lastRecent];
    for (int i = 0; i < RecentTexts; ++i) {
        if (same(m_recentTexts[i])) {
            m_lastRecent = i;
            return m_recentTexts[i];
        }
    }
    m_lastRecent = m_nextRecent;
    m_nextRecent = (m_nextRecent + 1) % RecentTexts;
    m_recentTexts[m_lastRecent] = Loose(bytes.toByteArray());
    return m_recentTexts[m_lastRecent];
}

Loose FieldReader::toLoose(const Field &f)
{
    if (f.bytes.isEmpty() && !f.quoted)
        return {};
    double v = 0;
    if (parseNumber(f.bytes, &v))
        return Loose(v);
    return Loose(f.bytes);
}

int FieldReader::toLong(const Field &f)
{
    if (f.bytes.trimmed().isEmpty())
        return 0;
    double v = 0;
    if (!parseNumber(f.bytes, &v))
        raiseError(ErrTypeMismatch, QStringLiteral("Type mismatch"));
    v = roundHalfEven(v);
    if (v > std::numeric_limits<int>::max() || v < std::numeric_limits<int>::min())
        raiseError(ErrOverflow, QStringLiteral("Overflow"));
    return int(v);
}

Loose FieldReader::readLoose()
{
    return toLoose(next());
}

QByteArray FieldReader::readText()
{
    return next().bytes;
}

} // namespace kvx
