#include "model/exchangediff.h"

#include "model/exchangetexts.h"

#include <QSet>
#include <QStringBuilder>

#include <array>
#include <vector>

namespace kvx {

namespace {

using Differences = QList<ExchangeDifference>;

// A value in a line; an empty one would leave a gap nobody can read.
QString shown(const QString &value)
{
    return value.isEmpty() ? QStringLiteral("none") : value;
}

QString arrow(const QString &expected, const QString &actual)
{
    return shown(expected) + QStringLiteral(" -> ") + shown(actual);
}

// A colour is used as a number: an empty one and 0 paint alike.
bool sameNumber(const Loose &a, const Loose &b)
{
    return a.readsAsNumber() && b.readsAsNumber() ? a.number() == b.number() : a.sameText(b);
}

struct PlacedRack
{
    int shoot, place;
    const Loose *name;
};

// The racks in shoot-major order. Only racks are listed, never the places of
// both rooms together: a room of 1 x 100,000 against one of 100,000 x 1 would
// be 10^10 places.
std::vector<PlacedRack> racksOf(const Exchange &x)
{
    std::vector<PlacedRack> racks;
    for (int s = 1; s <= x.shoots(); ++s) {
        for (int p = 1; p <= x.racks(); ++p) {
            const Loose &name = x.RackName(s, p);
            if (!(name == ""))
                racks.push_back({s, p, &name});
        }
    }
    return racks;
}

void repeatedNames(const std::vector<PlacedRack> &racks, QSet<QByteArray> &repeated)
{
    QSet<QByteArray> seen;
    for (const PlacedRack &rack : racks) {
        const QByteArray name = rack.name->text();
        if (seen.contains(name))
            repeated.insert(name);
        seen.insert(name);
    }
}

struct Card
{
    double slot; // read once: matching two lists compares slots 35 x 35 times
    const Loose *name, *type;

    QString slotText() const { return QString::fromLatin1(numberText(slot)); }
    QString text() const { return shown(name->str()) % QLatin1String(" image ") % shown(type->str()); }
    bool sameAs(const Card &other) const
    {
        return slot == other.slot && name->sameText(*other.name) && type->sameText(*other.type);
    }
};

using Cards = std::array<Card, CardsPerShelf>;

// A shelf's list as the views walk it: up to -1, or all 35 entries.
int cardsOf(const Exchange &x, const PlacedRack &rack, int shelf, Cards &cards)
{
    int n = 0;
    for (; n < CardsPerShelf; ++n) {
        const Loose &slot = x.SlotNo(rack.shoot, rack.place, shelf, n + 1);
        if (slot.isEmpty() || !slot.readsAsNumber() || slot.number() == -1)
            break;
        cards[n] = {slot.number(), &x.CardName(rack.shoot, rack.place, shelf, n + 1),
                    &x.CardType(rack.shoot, rack.place, shelf, n + 1)};
    }
    return n;
}

class Differ
{
public:
    Differ(const Exchange &expected, const Exchange &actual) : e(expected), a(actual) {}

    Differences run()
    {
        if (!e.SiteName.sameText(a.SiteName))
            add(QStringLiteral("site name"), {}, e.SiteName.str(), a.SiteName.str(),
                QStringLiteral("site name: \"%1\" -> \"%2\"").arg(e.SiteName.str(), a.SiteName.str()));
        const QString roomE = room(e), roomA = room(a);
        if (roomE != roomA)
            add(QStringLiteral("room"), {}, roomE, roomA, QStringLiteral("room: ") + arrow(roomE, roomA));
        compareRacks();
        for (int k = 0; k <= 4; ++k)
            compareRing(k);
        const int masE = e.NoOfMas.toInt(), masA = a.NoOfMas.toInt();
        if (masE != masA)
            add(QStringLiteral("rings"), {}, QString::number(masE), QString::number(masA),
                QStringLiteral("rings: %1 -> %2").arg(masE).arg(masA));
        return std::move(out);
    }

private:
    // `what` is a literal, which costs no copy.
    void add(QString what, QString where, QString expected, QString actual, QString line)
    {
        out.append({std::move(line), std::move(what), std::move(where), std::move(expected), std::move(actual)});
    }

    static QString room(const Exchange &x) { return QStringLiteral("%1 x %2").arg(x.shoots()).arg(x.racks()); }

    // A rack is where it stands: one that moved is removed at its old place
    // and added at its new one. Racks are merged in shoot-major order; the
    // shelves of those that stayed follow all the places.
    void compareRacks()
    {
        const std::vector<PlacedRack> racksE = racksOf(e), racksA = racksOf(a);
        repeatedNames(racksE, repeated);
        repeatedNames(racksA, repeated);
        std::vector<std::pair<PlacedRack, PlacedRack>> stayed;
        size_t i = 0, j = 0;
        while (i < racksE.size() || j < racksA.size()) {
            const PlacedRack *x = i < racksE.size() ? &racksE[i] : nullptr;
            const PlacedRack *y = j < racksA.size() ? &racksA[j] : nullptr;
            const bool removed = !y || (x && std::pair(x->shoot, x->place) < std::pair(y->shoot, y->place));
            const bool added = !removed && (!x || std::pair(y->shoot, y->place) < std::pair(x->shoot, x->place));
            const PlacedRack &at = removed ? *x : *y;
            const QString where = QStringLiteral("shoot %1 place %2").arg(at.shoot).arg(at.place);
            if (removed) {
                add(QStringLiteral("rack"), where, x->name->str(), {},
                    where + QStringLiteral(": rack %1 removed").arg(x->name->str()));
                ++i;
                continue;
            }
            if (added) {
                add(QStringLiteral("rack"), where, {}, y->name->str(),
                    where + QStringLiteral(": rack %1 added").arg(y->name->str()));
                ++j;
                continue;
            }
            // Another rack in the same place is another rack: its shelves are
            // its template's, not a change to the old one's.
            if (x->name->sameText(*y->name))
                stayed.emplace_back(*x, *y);
            else
                add(QStringLiteral("rack"), where, x->name->str(), y->name->str(),
                    where + QStringLiteral(": ") + arrow(x->name->str(), y->name->str()));
            ++i;
            ++j;
        }
        for (const auto &[x, y] : stayed)
            compareShelves(x, y);
    }

    // The rack's name, and its place where the name alone does not tell the rack.
    QString label(const PlacedRack &rack) const
    {
        const QString name = rack.name->str();
        if (!repeated.contains(rack.name->text()))
            return name;
        return QStringLiteral("%1 (shoot %2 place %3)").arg(name).arg(rack.shoot).arg(rack.place);
    }

    void compareShelves(const PlacedRack &x, const PlacedRack &y)
    {
        const QString rack = label(x);
        for (int shelf = 1; shelf <= ShelvesPerRack; ++shelf) {
            const QString where = QStringLiteral("%1 shelf %2").arg(rack).arg(shelf);
            const Loose &stationE = e.StationName(x.shoot, x.place, shelf);
            const Loose &stationA = a.StationName(y.shoot, y.place, shelf);
            if (!stationE.sameText(stationA))
                add(QStringLiteral("station"), where, stationE.str(), stationA.str(),
                    where + QStringLiteral(": station ") + arrow(stationE.str(), stationA.str()));
            Cards cardsE, cardsA;
            const int n = cardsOf(e, x, shelf, cardsE), m = cardsOf(a, y, shelf, cardsA);
            bool same = n == m;
            for (int k = 0; same && k < n; ++k)
                same = cardsE[k].sameAs(cardsA[k]);
            if (!same)
                compareCards(where, cardsE, n, cardsA, m);
        }
    }

    // The two lists are matched as lists: the longest run of slots in the same
    // order in both. A matched card whose name or image differs is changed;
    // the other cards are removed or added where they stand in the lists.
    void compareCards(const QString &where, const Cards &x, int n, const Cards &y, int m)
    {
        // longest[i][j]: the longest matching run of x[i..] and y[j..].
        std::array<std::array<quint8, CardsPerShelf + 1>, CardsPerShelf + 1> longest{};
        for (int i = n - 1; i >= 0; --i) {
            for (int j = m - 1; j >= 0; --j) {
                longest[i][j] = x[i].slot == y[j].slot ? quint8(longest[i + 1][j + 1] + 1)
                                                       : std::max(longest[i + 1][j], longest[i][j + 1]);
            }
        }
        int i = 0, j = 0;
        while (i < n || j < m) {
            if (i < n && j < m && x[i].slot == y[j].slot && longest[i][j] == longest[i + 1][j + 1] + 1) {
                if (!x[i].sameAs(y[j])) {
                    const QString at = where % QLatin1String(" slot ") % x[i].slotText();
                    const QString was = x[i].text(), is = y[j].text();
                    add(QStringLiteral("card"), at, was, is, at % QLatin1String(": ") % arrow(was, is));
                }
                ++i;
                ++j;
            } else if (j == m || (i < n && longest[i + 1][j] >= longest[i][j + 1])) {
                cardLine(where, x[i++], true);
            } else {
                cardLine(where, y[j++], false);
            }
        }
    }

    void cardLine(const QString &where, const Card &card, bool removed)
    {
        const QString slot = card.slotText(), text = card.text();
        QString line = where % QLatin1String(": card ") % shown(card.name->str()) % QLatin1String(" at slot ") % slot
                       % (removed ? QLatin1String(" removed") : QLatin1String(" added"));
        add(QStringLiteral("card"), where % QLatin1String(" slot ") % slot, removed ? text : QString(),
            removed ? QString() : text, std::move(line));
    }

    // A ring the other exchange does not have shows as "none"; the count of
    // rings follows the rings.
    void compareRing(int k)
    {
        const bool inE = k <= e.NoOfMas.toInt(), inA = k <= a.NoOfMas.toInt();
        if (!inE && !inA)
            return;
        const QString ring = QString::fromLatin1(exchangetexts::RingNames[k]);
        const QString membersE = inE ? members(e.ring(k)) : QString();
        const QString membersA = inA ? members(a.ring(k)) : QString();
        if (membersE != membersA)
            add(QStringLiteral("members"), ring, membersE, membersA,
                ring + QStringLiteral(": members ") + arrow(membersE, membersA));
        const Loose colourE = inE ? colour(e, k) : Loose(), colourA = inA ? colour(a, k) : Loose();
        if (inE != inA || !sameNumber(colourE, colourA)) {
            const QString textE = inE ? colourE.str() : QString(), textA = inA ? colourA.str() : QString();
            add(QStringLiteral("colour"), ring, textE, textA, ring + QStringLiteral(": colour ") + arrow(textE, textA));
        }
    }

    // The members before the "*", as the editor's ring boxes show them.
    static QString members(const LooseTable &ring)
    {
        QByteArray list;
        for (int n = 1; ring.isSized() && n <= RingEntries && !(ring(n) == "*"); ++n)
            list += (n > 1 ? "," : "") + ring(n).text();
        return displayText(list);
    }

    // A colour never set is 0, as the ring view paints it.
    static Loose colour(const Exchange &x, int k)
    {
        const Loose c = k == 0 ? Loose(x.MisColor) : x.MasColor(k);
        return c.isEmpty() ? Loose(0) : c;
    }

    const Exchange &e;
    const Exchange &a;
    QSet<QByteArray> repeated;
    Differences out;
};

} // namespace

QList<ExchangeDifference> diffExchanges(const Exchange &expected, const Exchange &actual)
{
    return Differ(expected, actual).run();
}

} // namespace kvx
