#include "model/exchangewriter.h"

#include "model/exchangereader.h"
#include "model/exchangetexts.h"
#include "platform/core/errors.h"
#include "platform/core/files.h"

#include <QList>

#include <charconv>
#include <cmath>

namespace kvx {

using namespace exchangetexts;

// ---------------------------------------------------------------- rings

QByteArray ringMemberText(const LooseTable &ring)
{
    QByteArray s;
    if (!ring.isSized())
        return s;
    QByteArray separator;
    for (int n = 1; n <= std::min(RingEntries, ring.bound(0)); ++n) {
        const Loose &entry = ring(n);
        if (entry == "*")
            break;
        s += separator + entry.text();
        separator = ",";
    }
    return s;
}

bool ModelRingControls::masTicked(int k) const
{
    const int mas = m_x.NoOfMas.readsAsNumber() ? m_x.NoOfMas.toInt() : 2;
    return (k == 3 && mas >= 3) || (k == 4 && mas >= 4);
}

QByteArray ModelRingControls::misText() const
{
    return ringMemberText(m_x.MisRing);
}

QByteArray ModelRingControls::masText(int k) const
{
    if (k >= 3 && !masTicked(k))
        return {};
    return ringMemberText(m_x.ring(k));
}

// ---------------------------------------------------------------- writing

namespace {

struct WriteFailure
{
    QString message;
};

// Why the reader could not load a value back as it was, or an empty string.
// Between double quotes, as the site name is written, a comma is text.
QString unreadable(const QByteArray &t, bool inQuotes = false)
{
    if (!inQuotes && t.contains(','))
        return QStringLiteral("a comma");
    if (t.contains('\r') || t.contains('\n'))
        return QStringLiteral("a line end");
    for (char c : t) {
        const auto u = static_cast<unsigned char>(c);
        if ((u < 0x20 && c != '\t') || u == 0x7f)
            return QStringLiteral("a control character");
    }
    if (inQuotes && t.contains('"'))
        return QStringLiteral("a double quote");
    if (t.trimmed().startsWith('"'))
        return QStringLiteral("a double quote at its start");
    if (t.size() > FieldReader::MaxFieldLength)
        return QStringLiteral("more than %1 characters").arg(FieldReader::MaxFieldLength);
    return {};
}

// True for the usual value: no separator, no control byte, no double quote.
bool plain(QByteArrayView t)
{
    if (t.size() > FieldReader::MaxFieldLength)
        return false;
    for (char c : t) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7f || c == ',' || c == '"')
            return false;
    }
    return true;
}

// `what` names the value; it is called only when the value is refused, so
// that a good file costs no words.
template<typename Describe>
void check(const Loose &v, Describe what, bool inQuotes = false)
{
    if (!v.isText())
        return;
    if (plain(v.textBytes()))
        return;
    const QString why = unreadable(v.text(), inQuotes);
    if (!why.isEmpty())
        throw WriteFailure{
            QStringLiteral("%1 %2 holds %3, which a data file cannot carry").arg(what(), quoted(v.text()), why)};
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

// A text with blanks around it, as a quoted field or typing may leave it, is
// written as the reader will read it back: without the blanks, and as a
// number where it then reads as one. So what one Save writes, the next
// writes again. Other values are returned as they are, without a copy.
const Loose &readBack(const Loose &v, Loose &scratch)
{
    const QByteArrayView t = v.textBytes();
    if (t.isEmpty() || (!isBlank(t.front()) && !isBlank(t.back())))
        return v;
    qsizetype b = 0, e = t.size();
    while (b < e && isBlank(t[b]))
        ++b;
    while (e > b && isBlank(t[e - 1]))
        --e;
    double n = 0;
    scratch = parseNumber(t.sliced(b, e - b), &n) ? Loose(n) : Loose(t.sliced(b, e - b).toByteArray());
    return scratch;
}

// Loose::text() appended in place, without a copy of a text.
void appendText(QByteArray &out, const Loose &v)
{
    if (!v.isText()) {
        out += v.text();
        return;
    }
    const QByteArrayView bytes = v.textBytes();
    out.append(bytes.data(), bytes.size());
}

// Loose::printForm() appended in place: a big room has 100,000 numbers.
void appendPrintForm(QByteArray &out, const Loose &value)
{
    Loose scratch;
    const Loose &v = readBack(value, scratch);
    if (v.isText()) {
        appendText(out, v);
        return;
    }
    if (v.isNumber()) {
        const double d = v.number();
        if (d == std::trunc(d) && std::abs(d) < 1e15) {
            char form[24];
            char *end = form;
            if (!(d < 0))
                *end++ = ' ';
            end = std::to_chars(end, form + sizeof form - 1, qint64(d)).ptr;
            *end++ = ' ';
            out.append(form, end - form);
            return;
        }
    }
    out += v.printForm();
}

// Elements beyond a table's bounds hold nothing.
const Loose &element(const LooseTable &t, int s, int p, int k, int n = -1)
{
    static const Loose empty;
    if (!t.isSized() || s > t.bound(0) || p > t.bound(1) || k > t.bound(2) || (n >= 0 && n > t.bound(3)))
        return empty;
    return n < 0 ? t(s, p, k) : t(s, p, k, n);
}

} // namespace

void ExchangeWriter::WriteRoomGrid(const Exchange &x, QByteArray &out)
{
    const int shoots = x.shoots(), places = x.racks();
    for (int s = 1; s <= shoots; ++s) {
        for (int p = 1; p <= places; ++p) {
            const Loose &name = x.RackName(s, p);
            check(name, [&] { return QStringLiteral("The rack name at shoot %1, place %2").arg(s).arg(p); });
            if (name.isText() && !name.textBytes().isEmpty() && name.textBytes().trimmed().isEmpty())
                throw WriteFailure{
                    QStringLiteral("The rack name at shoot %1, place %2 is only blanks, which a data file cannot carry")
                        .arg(s)
                        .arg(p)};
            if (p > 1)
                out += ',';
            Loose scratch;
            appendText(out, readBack(name, scratch));
        }
        out += "\r\n";
    }
}

void ExchangeWriter::writeCards(const Exchange &x, int s, int p, int shelf, QByteArray &out)
{
    int written = 0;
    for (int n = 1; n <= CardsPerShelf; ++n) {
        const Loose &slot = element(x.SlotNo, s, p, shelf, n);
        // A card whose slot number was left empty (or blank, as a quoted
        // field may leave it) is skipped, not taken for the end of the list,
        // so no card behind it is lost.
        if (slot.isEmpty() || (slot.isText() && slot.text().trimmed().isEmpty()))
            continue;
        const auto card = [&] { return cardLabel(shelf, n, rackLabel(x.RackName(s, p), s, p)); };
        if (!slot.readsAsNumber())
            throw WriteFailure{
                QStringLiteral("The slot number %1 of %2 is not a number").arg(quoted(slot.text()), card())};
        if (slot == -1)
            break;
        const Loose &name = element(x.CardName, s, p, shelf, n);
        const Loose &type = element(x.CardType, s, p, shelf, n);
        check(slot, [&] { return QStringLiteral("The slot number of %1").arg(card()); });
        check(name, [&] { return QStringLiteral("The card name of %1").arg(card()); });
        check(type, [&] { return QStringLiteral("The image code of %1").arg(card()); });
        appendPrintForm(out, slot);
        out += ',';
        appendPrintForm(out, name);
        out += ',';
        appendPrintForm(out, type);
        out += ',';
        ++written;
    }
    // A full shelf runs on into whatever follows, with no end marker.
    if (written < CardsPerShelf)
        out += "-1 \r\n";
}

void ExchangeWriter::WriteRacks(const Exchange &x, QByteArray &out)
{
    const int shoots = x.shoots(), places = x.racks();
    for (int s = 1; s <= shoots; ++s) {
        for (int p = 1; p <= places; ++p) {
            const Loose &name = x.RackName(s, p);
            if (name == "")
                continue;
            appendPrintForm(out, name);
            out += "\r\n";
            for (int k = 1; k <= ShelvesPerRack; ++k) {
                const Loose &station = element(x.StationName, s, p, k);
                check(station, [&] {
                    return QStringLiteral("The station of shelf %1 of %2").arg(k).arg(rackLabel(name, s, p));
                });
                if (k > 1)
                    out += ',';
                Loose scratch;
                appendText(out, readBack(station, scratch));
            }
            out += "\r\n";
            for (int shelf = 1; shelf <= ShelvesPerRack; ++shelf)
                writeCards(x, s, p, shelf, out);
        }
    }
}

void ExchangeWriter::writeRing(const char *name, const QByteArray &members, const Loose &color, QByteArray &out)
{
    const QList<QByteArray> names = members.split(',');
    const QString ring = QString::fromLatin1(name);
    if (names.size() > RingEntries - 1)
        throw WriteFailure{QStringLiteral("Ring %1 has %2 members; a data file holds at most %3")
                               .arg(ring)
                               .arg(names.size())
                               .arg(RingEntries - 1)};
    QByteArray list;
    for (qsizetype i = 0; i < names.size(); ++i) {
        const QByteArray &member = names[i];
        if (member.trimmed() == "*")
            throw WriteFailure{QStringLiteral("Ring %1 has the member \"*\", which ends a member list").arg(ring)};
        const QString why = unreadable(member);
        if (!why.isEmpty())
            throw WriteFailure{QStringLiteral("The member %1 of ring %2 holds %3, which a data file cannot carry")
                                   .arg(quoted(member), ring, why)};
        if (i > 0)
            list += ',';
        // As the reader will hold it: without blanks, a number where it reads as one.
        const QByteArray name = member.trimmed();
        double n = 0;
        list += parseNumber(name, &n) ? numberText(n) : name;
    }
    check(color, [&] { return QStringLiteral("The colour of ring %1").arg(ring); });
    out += name;
    out += "\r\n" + list + ",*,";
    appendPrintForm(out, color);
    out += "\r\n";
}

void ExchangeWriter::WriteRings(const Exchange &x, const RingControls &rings, int noOfMas, QByteArray &out)
{
    Q_UNUSED(noOfMas);
    writeRing("MIS", rings.misText(), Loose(x.MisColor), out);
    writeRing("MAS1", rings.masText(1), x.MasColor(1), out);
    writeRing("MAS2", rings.masText(2), x.MasColor(2), out);
    if (rings.masTicked(3))
        writeRing("MAS3", rings.masText(3), x.MasColor(3), out);
    if (rings.masTicked(4))
        writeRing("MAS4", rings.masText(4), x.MasColor(4), out);
}

bool ExchangeWriter::write(const Exchange &x, const RingControls &rings, QByteArray *out)
{
    m_error.clear();
    QByteArray bytes;
    int noOfMas = 2;
    if (rings.masTicked(3))
        noOfMas = rings.masTicked(4) ? 4 : 3;
    try {
        const Loose &site = x.SiteName;
        check(
            site, [] { return QStringLiteral("The site name"); }, true);
        bytes.reserve(64 * 1024);
        bytes += '"' + site.text() + "\"," + x.NoOfShoots.text() + ',' + x.NoOfRacks.text() + ','
                 + QByteArray::number(noOfMas) + "\r\n";
        WriteRoomGrid(x, bytes);
        WriteRacks(x, bytes);
        WriteRings(x, rings, noOfMas, bytes);
    } catch (const WriteFailure &failure) {
        m_error = failure.message;
        return false;
    } catch (const PlatformError &e) {
        m_error = e.description();
        return false;
    }
    *out = std::move(bytes);
    return true;
}

// ---------------------------------------------------------------- saving

namespace {

const RingControls *g_ringControls = nullptr;

// The rings as a load of a file with these rings would give them: a room
// without racks is written with the same rings and read back, so every rule
// of the reader applies, at the cost of the rings alone.
Exchange ringsAsSaved(const Exchange &x, const RingControls &rings)
{
    Exchange ringsOnly;
    ringsOnly.NoOfShoots = 1;
    ringsOnly.NoOfRacks = 1;
    ringsOnly.RackName.redim({1, 1});
    ringsOnly.MisColor = x.MisColor;
    ringsOnly.MasColor = x.MasColor;
    QByteArray bytes;
    ExchangeWriter writer;
    if (!writer.write(ringsOnly, rings, &bytes))
        raiseError(ErrBadData, writer.errorString());
    Exchange back;
    ExchangeReader reader;
    if (!reader.read(bytes, back))
        raiseError(ErrBadData, QStringLiteral("The rings cannot be read back: %1").arg(reader.errorString()));
    return back;
}

} // namespace

void setRingControls(const RingControls *controls)
{
    g_ringControls = controls;
}

const RingControls *ringControls()
{
    return g_ringControls;
}

void SaveExchange()
{
    const ModelRingControls fromModel(ModMain);
    const RingControls &rings = g_ringControls ? *g_ringControls : fromModel;
    ExchangeWriter writer;
    QByteArray bytes;
    if (!writer.write(ModMain, rings, &bytes))
        raiseError(ErrBadData, writer.errorString());
    Exchange saved = ringsAsSaved(ModMain, rings);
    const Files::FileNumber fileNo;
    ModMain.SaveFileNo = qint16(fileNo);
    Files::OpenForOutput(fileNo, ModMain.SaveFile);
    Files::Print(fileNo, bytes);
    Files::Close(fileNo);
    // The model holds what was saved, so that the editor opened again shows
    // it and a later save writes it again.
    ModMain.NoOfMas = saved.NoOfMas;
    for (int k = 0; k <= 4; ++k)
        ModMain.ring(k) = std::move(saved.ring(k));
}

} // namespace kvx
