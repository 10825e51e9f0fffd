#pragma once

#include "app/modmain.h"
#include "platform/fields.h"

#include <QByteArray>
#include <QString>

#include <functional>
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

// The editor's ring controls, as the writer reads them: whether MAS3 and
// MAS4 are ticked, and the member lists as typed.
class RingControls
{
public:
    virtual ~RingControls() = default;
    virtual bool masTicked(int k) const = 0;         // k = 3 or 4
    virtual QByteArray misText() const = 0;
    virtual QByteArray masText(int k) const = 0;     // k = 1..4
};

// The ring controls as the editor fills them when it opens on a model.
class ModelRingControls : public RingControls
{
public:
    explicit ModelRingControls(const Exchange &x) : m_x(x) {}
    bool masTicked(int k) const override;
    QByteArray misText() const override;
    QByteArray masText(int k) const override;

private:
    const Exchange &m_x;
};

// The member list of a ring as one text: names joined by commas up to "*".
QByteArray ringMemberText(const LooseTable &ring);

// Writes an Exchange in the data file's format. Refuses, naming the value and
// its place, anything the reader could not load back as it was.
class ExchangeWriter
{
public:
    bool write(const Exchange &x, const RingControls &rings, QByteArray *out);
    QString errorString() const { return m_error; }

private:
    void WriteRoomGrid(const Exchange &x, QByteArray &out);
    void WriteRacks(const Exchange &x, QByteArray &out);
    void WriteRings(const Exchange &x, const RingControls &rings, int noOfMas, QByteArray &out);
    void writeCards(const Exchange &x, int s, int p, int shelf, QByteArray &out);
    void writeRing(const char *name, const QByteArray &members, const Loose &color, QByteArray &out);

    QString m_error;
};

// Where the editor's ring controls are; without an editor the writer takes
// the rings of the model as the editor would show them.
void setRingControls(const RingControls *controls);
const RingControls *ringControls();

// Writes ModMain to ModMain.SaveFile, then sets NoOfMas and the ring members
// as a load of the file would. A value the file cannot carry, or a file that
// cannot be written, raises a PlatformError and leaves the file on disk and
// the model as they were.
void SaveExchange();

} // namespace kvx
