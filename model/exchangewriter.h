#pragma once

#include "model/modmain.h"

#include <QByteArray>
#include <QString>

namespace kvx {

// The editor's ring controls, as the writer reads them: whether MAS3 and
// MAS4 are ticked, and the member lists as typed.
class RingControls
{
public:
    virtual ~RingControls() = default;
    virtual bool masTicked(int k) const = 0; // k = 3 or 4
    virtual QByteArray misText() const = 0;
    virtual QByteArray masText(int k) const = 0; // k = 1..4
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
