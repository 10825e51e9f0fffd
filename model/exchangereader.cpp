#include "model/exchangereader.h"

#include "model/exchangetexts.h"
#include "platform/core/errors.h"
#include "platform/core/files.h"

#include <QFile>
#include <QIODevice>

#include <charconv>
#include <cmath>

namespace kvx {

using namespace exchangetexts;

namespace {

// A slot, name or type that stops being read: the reader's own error type.
struct ReadFailure
{
    QString found;
};

} // namespace

// ---------------------------------------------------------------- reading

Field ExchangeReader::take(FieldReader &in)
{
    m_errorLine = in.line();
    m_errorColumn = in.column();
    Field f = in.next();
    m_errorLine = f.line;
    m_errorColumn = f.column;
    return f;
}

Field ExchangeReader::field(FieldReader &in, const QString &what)
{
    m_want = Want::Described;
    m_expected = what;
    return take(in);
}

void ExchangeReader::want(Want want, int shoot, int place, int shelf, int card)
{
    m_want = want;
    m_shoot = shoot;
    m_place = place;
    m_shelf = shelf;
    m_card = card;
}

Field ExchangeReader::field(FieldReader &in, Want what, int shoot, int place, int shelf, int card)
{
    want(what, shoot, place, shelf, card);
    return take(in);
}

Loose ExchangeReader::looseField(FieldReader &in, Want what, int shoot, int place, int shelf, int card)
{
    want(what, shoot, place, shelf, card);
    m_errorLine = in.line();
    m_errorColumn = in.column();
    return in.nextLoose(&m_errorLine, &m_errorColumn);
}

QString ExchangeReader::expected(const Exchange &x) const
{
    if (m_want == Want::Described)
        return m_expected;
    if (m_want == Want::RackAt)
        return QStringLiteral("the rack name at shoot %1, place %2").arg(m_shoot).arg(m_place);
    const QString rack = rackLabel(x.RackName(m_shoot, m_place), m_shoot, m_place);
    const QString card = cardLabel(m_shelf, m_card, rack);
    switch (m_want) {
    case Want::Record:
        return QStringLiteral("the record of %1").arg(rack);
    case Want::Station:
        return QStringLiteral("the station of shelf %1 of %2").arg(m_shelf).arg(rack);
    case Want::Slot:
        return QStringLiteral("the slot number of %1 (a number, or -1 to end the list)").arg(card);
    case Want::CardName:
        return QStringLiteral("the card name of %1").arg(card);
    default:
        return QStringLiteral("the image code of %1").arg(card);
    }
}

void ExchangeReader::fail(const QString &found)
{
    throw ReadFailure{found};
}

int ExchangeReader::readSize(FieldReader &in, int lowest, int highest)
{
    const Field f = field(in, m_expected);
    double v = 0;
    if (!parseNumber(f.bytes, &v) || v != roundHalfEven(v) || v < lowest || v > highest)
        fail(quoted(f.bytes));
    return int(v);
}

void ExchangeReader::readHeader(FieldReader &in, Exchange &x)
{
    x.SiteName = FieldReader::toLoose(field(in, QStringLiteral("the site name")));
    m_expected = QStringLiteral("the number of shoots (a whole number from 1 to 32767)");
    const int shoots = readSize(in, 1, 32767);
    const int claimLine = m_errorLine, claimColumn = m_errorColumn;
    m_expected = QStringLiteral("the number of places per shoot (a whole number from 1 to 32767)");
    const int places = readSize(in, 1, 32767);
    m_expected = QStringLiteral("the number of MAS rings (2, 3 or 4)");
    const int mas = readSize(in, 2, 4);
    // Every place of the grid takes at least one byte: a file that claims more
    // places than it has bytes cannot be a room, whatever it says.
    if (qint64(shoots) * places > in.size()) {
        // Point at the size claimed, not at the ring count read last.
        m_errorLine = claimLine;
        m_errorColumn = claimColumn;
        m_expected = QStringLiteral("a room that fits the file");
        fail(QStringLiteral("%1 x %2 places in a file of %3 bytes").arg(shoots).arg(places).arg(in.size()));
    }
    x.NoOfShoots = shoots;
    x.NoOfRacks = places;
    x.NoOfMas = mas;
    x.sizeRoomTables(shoots, places);
}

void ExchangeReader::ReadRoomGrid(FieldReader &in, Exchange &x)
{
    const int shoots = x.shoots(), places = x.racks();
    x.RackName.redim({shoots, places});
    for (int s = 1; s <= shoots; ++s) {
        for (int p = 1; p <= places; ++p) {
            const Loose name = looseField(in, Want::RackAt, s, p);
            // A name such as "007" is kept as the number 7; its record is
            // still headed by the text the grid was written with.
            if (name.isNumber())
                m_gridTexts.emplace(qint64(s) * (places + 1) + p, in.lastBytes().toByteArray());
            x.RackName.set(name, s, p);
        }
    }
}

void ExchangeReader::ReadRacks(FieldReader &in, Exchange &x)
{
    const int shoots = x.shoots(), places = x.racks();
    for (int s = 1; s <= shoots; ++s) {
        for (int p = 1; p <= places; ++p) {
            const Loose &name = x.RackName(s, p);
            if (name == "")
                continue;
            const Field head = field(in, Want::Record, s, p);
            const QByteArray gridText = name.isNumber() ? m_gridTexts[qint64(s) * (places + 1) + p] : name.text();
            if (head.bytes != gridText && m_onMismatch)
                m_onMismatch(head.bytes, s, p, head.line);
            for (int k = 1; k <= ShelvesPerRack; ++k)
                x.StationName.set(looseField(in, Want::Station, s, p, k), s, p, k);
            // The tables are filled in index order: each value goes at the
            // end of its table, and a shelf holding only -1 costs that one.
            for (int shelf = 1; shelf <= ShelvesPerRack; ++shelf) {
                for (int n = 1; n <= CardsPerShelf; ++n) {
                    Loose slot = looseField(in, Want::Slot, s, p, shelf, n);
                    if (!slot.readsAsNumber())
                        fail(quoted(slot.text()));
                    const bool end = slot == -1;
                    x.SlotNo.set(std::move(slot), s, p, shelf, n);
                    if (end)
                        break;
                    x.CardName.set(looseField(in, Want::CardName, s, p, shelf, n), s, p, shelf, n);
                    x.CardType.set(looseField(in, Want::ImageCode, s, p, shelf, n), s, p, shelf, n);
                }
            }
        }
    }
}

void ExchangeReader::ReadRings(FieldReader &in, Exchange &x)
{
    const int mas = x.NoOfMas.toInt();
    x.MisRing.redim({RingEntries});
    x.Mas1Ring.redim({RingEntries});
    x.Mas2Ring.redim({RingEntries});
    if (mas >= 3)
        x.Mas3Ring.redim({RingEntries});
    else
        x.Mas3Ring.erase();
    if (mas >= 4)
        x.Mas4Ring.redim({RingEntries});
    else
        x.Mas4Ring.erase();
    for (int k = 0; k <= mas; ++k) {
        const QString ring = QString::fromLatin1(RingNames[k]);
        field(in, QStringLiteral("the name of ring %1").arg(ring));
        LooseTable &members = x.ring(k);
        for (int n = 1; n <= RingEntries; ++n) {
            const Field f =
                field(in, QStringLiteral("member %1 of ring %2 (a rack name, or * to end the list)").arg(n).arg(ring));
            const Loose member = FieldReader::toLoose(f);
            members.set(member, n);
            if (member == "*")
                break;
            // A ring holds at most 14 members: without the "*" among the
            // first 15 fields the next field would be taken for the colour.
            if (n == RingEntries) {
                m_expected = QStringLiteral("\"*\" to end the member list of ring %1 (at most %2 members)")
                                 .arg(ring)
                                 .arg(RingEntries - 1);
                fail(quoted(f.bytes));
            }
        }
        const Field colour = field(in, QStringLiteral("the colour of ring %1 (a whole number)").arg(ring));
        if (k == 0) {
            try {
                x.MisColor = FieldReader::toLong(colour);
            } catch (const PlatformError &) {
                fail(quoted(colour.bytes));
            }
        } else {
            x.MasColor.set(FieldReader::toLoose(colour), k);
        }
    }
}

bool ExchangeReader::read(FieldReader &in, Exchange &x)
{
    m_error.clear();
    m_errorLine = m_errorColumn = 0;
    m_gridTexts.clear();
    try {
        readHeader(in, x);
        ReadRoomGrid(in, x);
        ReadRacks(in, x);
        ReadRings(in, x);
        return true;
    } catch (const ReadFailure &failure) {
        m_error = QStringLiteral("expected %1, found %2").arg(expected(x), failure.found);
    } catch (const PlatformError &e) {
        const QString found = e.number() == ErrPastEnd ? QStringLiteral("the end of the file") : e.description();
        m_error = QStringLiteral("expected %1, found %2").arg(expected(x), found);
    }
    return false;
}

bool ExchangeReader::read(const QByteArray &data, Exchange &out)
{
    FieldReader in(data);
    return read(in, out);
}

bool ExchangeReader::read(QIODevice &device, Exchange &out)
{
    const QByteArray data = device.read(Files::MaxInputSize + 1);
    if (data.size() > Files::MaxInputSize) {
        m_error = QStringLiteral("expected a data file, found more than %1 bytes").arg(Files::MaxInputSize);
        m_errorLine = m_errorColumn = 0;
        return false;
    }
    return read(data, out);
}

std::optional<Exchange> readDataFile(const QByteArray &name, const std::function<void(const QByteArray &)> &report)
{
    QFile file;
    QString reason;
    if (!Files::openRegularFile(file, QFile::decodeName(name), &reason)) {
        report(name + ": cannot open: " + reason.toUtf8());
        return std::nullopt;
    }
    Exchange x;
    ExchangeReader reader;
    reader.setNameMismatchHandler([&](const QByteArray &found, int shoot, int place, int line) {
        const QString text = QStringLiteral(
                                 "warning: the record of the rack at shoot %1, place %2 is named \"%3\", "
                                 "the rack grid says \"%4\"; the record is read all the same")
                                 .arg(shoot)
                                 .arg(place)
                                 .arg(displayText(found), x.RackName(shoot, place).str());
        report(name + ':' + QByteArray::number(line) + ": " + text.toUtf8());
    });
    if (reader.read(file, x))
        return x;
    QByteArray where = name + ':';
    if (reader.errorLine() > 0)
        where += QByteArray::number(reader.errorLine()) + ':' + QByteArray::number(reader.errorColumn()) + ':';
    report(where + ' ' + reader.errorString().toUtf8());
    return std::nullopt;
}

} // namespace kvx
