#pragma once

#include "model/modmain.h"
#include "platform/core/fields.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <optional>
#include <unordered_map>

class QIODevice;

namespace kvx {

// Reads a data file into an Exchange. On failure the Exchange is left half
// filled and must be thrown away; errorString() says what was expected and
// what was found, errorLine() and errorColumn() where.
class ExchangeReader
{
public:
    // A rack record whose name differs from the grid: the load goes on.
    using NameMismatch = std::function<void(const QByteArray &found, int shoot, int place, int line)>;
    void setNameMismatchHandler(NameMismatch handler) { m_onMismatch = std::move(handler); }

    bool read(FieldReader &in, Exchange &out);
    bool read(const QByteArray &data, Exchange &out);
    bool read(QIODevice &device, Exchange &out);

    QString errorString() const { return m_error; }
    int errorLine() const { return m_errorLine; }
    int errorColumn() const { return m_errorColumn; }

private:
    void readHeader(FieldReader &in, Exchange &x);
    void ReadRoomGrid(FieldReader &in, Exchange &x);
    void ReadRacks(FieldReader &in, Exchange &x);
    void ReadRings(FieldReader &in, Exchange &x);
    // The fields of a rack grid and record, put into words only when a file
    // fails: describing each of 100,000 fields up front costs more than reading it.
    enum class Want { Described, RackAt, Record, Station, Slot, CardName, ImageCode };

    int readSize(FieldReader &in, int lowest, int highest);
    Field field(FieldReader &in, const QString &what);
    Field field(FieldReader &in, Want want, int shoot, int place, int shelf = 0, int card = 0);
    Field take(FieldReader &in);
    Loose looseField(FieldReader &in, Want want, int shoot, int place, int shelf = 0, int card = 0);
    void want(Want want, int shoot, int place, int shelf, int card);
    QString expected(const Exchange &x) const;
    [[noreturn]] void fail(const QString &found);

    NameMismatch m_onMismatch;
    // The grid's names that read as numbers, as written: (shoot, place) key.
    std::unordered_map<qint64, QByteArray> m_gridTexts;
    QString m_expected;
    Want m_want = Want::Described;
    int m_shoot = 0, m_place = 0, m_shelf = 0, m_card = 0;
    QString m_error;
    int m_errorLine = 0;
    int m_errorColumn = 0;
};

// Reads a data file for a command line: each warning, and the failure, is
// one line for standard error naming the file as given ("NAME:LINE:COLUMN:
// expected ..., found ..."), handed to report.
std::optional<Exchange> readDataFile(const QByteArray &name, const std::function<void(const QByteArray &)> &report);

} // namespace kvx
