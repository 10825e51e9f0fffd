#pragma once

#include "platform/core/loose.h"

#include <QByteArray>

#include <array>

namespace kvx {

// One field of a sequential text file, with where it stood.
struct Field
{
    QByteArray bytes;
    bool quoted = false;
    int line = 0;   // 1-based line of the field's first byte
    int column = 0; // 1-based number of the field on its line
};

// Reads comma-separated fields by the rules of the program's files: a comma
// or a line end (CR LF, a lone CR or a lone LF) ends a field; blanks before a
// field are skipped; a field that starts with a double quote runs to the next
// double quote and the rest up to the separator is dropped; trailing blanks
// of an unquoted field are dropped.
class FieldReader
{
public:
    // Longest field accepted; a longer one cannot be a value of the program.
    static constexpr int MaxFieldLength = 65536;

    explicit FieldReader(QByteArray data = {});

    bool atEnd() const { return m_pos >= m_data.size(); }
    qsizetype size() const { return m_data.size(); }
    // Where the next field starts.
    int line() const { return m_line; }
    int column() const { return m_column; }

    // Throws PlatformError: ErrPastEnd at the end of the data, ErrBadData for
    // a field that holds control bytes or is too long.
    Field next();
    // next() read straight into a loose value, as toLoose(next()) but without
    // copying a number's bytes; where the field stood goes to line and column.
    Loose nextLoose(int *line, int *column);
    // The bytes of the field read last, as they stand between its blanks.
    QByteArrayView lastBytes() const { return QByteArrayView(m_data).sliced(m_lastBegin, m_lastEnd - m_lastBegin); }

    // The field as a loose value: a number where it reads as one, quoted or
    // not; empty for an empty field, the empty text for "".
    Loose readLoose();
    QByteArray readText();

    static Loose toLoose(const Field &f);
    // A whole number: empty gives 0, fractions round half to even; a field
    // that is not a number, or too large for 32 bits, is an error.
    static int toLong(const Field &f);

private:
    struct Span
    {
        qsizetype begin = 0;
        qsizetype end = 0;
        bool quoted = false;
        int line = 0;
        int column = 0;
    };
    Span scan();
    void endField();
    const Loose &sharedText(QByteArrayView bytes);

    static constexpr int RecentTexts = 16;
    std::array<Loose, RecentTexts> m_recentTexts;
    int m_nextRecent = 0;
    int m_lastRecent = 0;

    QByteArray m_data;
    qsizetype m_pos = 0;
    qsizetype m_lastBegin = 0;
    qsizetype m_lastEnd = 0;
    int m_line = 1;
    int m_column = 1;
};

} // namespace kvx
