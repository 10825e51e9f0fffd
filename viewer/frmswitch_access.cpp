// What a screen reader is told of the main window. Racks, shelves, cards,
// doors and ring places are painted items of a few widgets: each view lists
// the ones a user can act on, in reading order, and names them from the
// plan and the model ("Rack UC-01, shoot 1, place 7").

#include "viewer/frmswitch.h"

#include "model/modmain.h"
#include "platform/accessible.h"

namespace kvx {

namespace {

template<typename T>
void addVisible(QList<const LightControl *> &list, const T *control)
{
    if (control->Visible())
        list << control;
}

// What the model holds there, or nothing where a room edited since has no such place.
template<typename... I>
Loose modelAt(const LooseTable &table, I... at)
{
    Loose value;
    skipError([&] { value = table(at...); });
    return value;
}

int cardsOnShelf(int shoot, int place, int shelf)
{
    int n = 0;
    while (n < CardsPerShelf) {
        const Loose slot = modelAt(ModMain.SlotNo, shoot, place, shelf, n + 1);
        if (!slot.readsAsNumber() || slot.number() < 0)
            break;
        ++n;
    }
    return n;
}

AccessibleItem door(const QString &side, bool shut)
{
    return {QAccessible::Button,
            QStringLiteral("%1 door, %2").arg(side, shut ? QStringLiteral("shut") : QStringLiteral("open")),
            QStringLiteral("The left mouse button or Space, the right mouse button or the Menu key")};
}

} // namespace

void frmSwitch::connectAccessibility()
{
    PicSwitch->setAccessibleName(QStringLiteral("Switch room"));
    HScroll1->setAccessibleName(QStringLiteral("Scroll the room sideways"));
    VScroll1->setAccessibleName(QStringLiteral("Scroll the room up and down"));

    PicRoom->setAccessibleName(QStringLiteral("Room plan"));
    PicRoom->setAccessibleDescription(
        QStringLiteral("The arrow keys, Home and End move among the racks; Enter opens one"));
    PicRoom->setAccessibleItems(std::make_unique<AccessibleItems>(
        QAccessible::List,
        [this] {
            QList<const LightControl *> racks;
            for (const int i : m_readingOrder) {
                if (imgRack.exists(i))
                    addVisible(racks, &imgRack(i));
            }
            return racks;
        },
        [this](const LightControl &rack) {
            RackPlace shown{};
            const QString name = lblRack(rack.Index()).Caption();
            return AccessibleItem{QAccessible::ListItem, rackText(rack.Index()),
                                  viewPlaceOf(name, shown) ? stationsText(shown) : QString()};
        }));

    frameRackBig->setAccessibleName(QStringLiteral("Rack view"));
    frameRackBig->setAccessibleDescription(
        QStringLiteral("Left and Right choose a door, Up and Down a shelf; Enter opens a shelf, Esc closes"));
    frameRackBig->setAccessibleItems(std::make_unique<AccessibleItems>(
        QAccessible::Grouping,
        [this] {
            QList<const LightControl *> items;
            addVisible(items, lblRackName);
            addVisible(items, ImgD_C_L);
            addVisible(items, ImgD_C_R);
            for (int k = 0; k < ShelvesPerRack; ++k)
                addVisible(items, &imgShelf(k));
            return items;
        },
        [this](const LightControl &item) {
            if (&item == lblRackName)
                return AccessibleItem{QAccessible::StaticText, lblRackName->Caption(), {}};
            if (&item == ImgD_C_L || &item == ImgD_C_R)
                return door(&item == ImgD_C_L ? QStringLiteral("Left") : QStringLiteral("Right"), true);
            const int shelf = item.Index() + 1;
            const int cards = cardsOnShelf(SelShoot, SelPlace, shelf);
            return AccessibleItem{QAccessible::ListItem,
                                  QStringLiteral("Shelf %1, %2")
                                      .arg(shelf)
                                      .arg(modelAt(ModMain.StationName, SelShoot, SelPlace, shelf).str()),
                                  cards == 1 ? QStringLiteral("1 card") : QStringLiteral("%1 cards").arg(cards)};
        }));
    for (Frame *open : {frameLOpen, FrameROpen}) {
        const bool left = open == frameLOpen;
        open->setAccessibleName(left ? QStringLiteral("Left door") : QStringLiteral("Right door"));
        Image *image = left ? imgD_O_L : imgD_O_R;
        open->setAccessibleItems(std::make_unique<AccessibleItems>(
            QAccessible::Grouping, [image] { return QList<const LightControl *>{image}; },
            [left](const LightControl &) {
                return door(left ? QStringLiteral("Left") : QStringLiteral("Right"), false);
            }));
    }

    picShelfBig->setAccessibleName(QStringLiteral("Shelf view"));
    picShelfBig->setAccessibleDescription(QStringLiteral("Left and Right move among the cards; Esc closes"));
    cmdShelfEx->setAccessibleName(QStringLiteral("Close the shelf view"));
    picShelfBig->setAccessibleItems(std::make_unique<AccessibleItems>(
        QAccessible::List,
        [this] {
            QList<const LightControl *> items;
            addVisible(items, lblShelfName);
            addVisible(items, LblLevel);
            for (const int n : cardsInSlotOrder()) {
                if (imgCard.exists(n))
                    addVisible(items, &imgCard(n));
            }
            return items;
        },
        [this](const LightControl &item) {
            if (&item == lblShelfName)
                return AccessibleItem{
                    QAccessible::StaticText, QStringLiteral("Station %1").arg(lblShelfName->Caption()), {}};
            if (&item == LblLevel)
                return AccessibleItem{QAccessible::StaticText, QStringLiteral("Level %1").arg(LblLevel->Caption()), {}};
            return AccessibleItem{QAccessible::ListItem, cardText(item.Index()), item.ToolTipText()};
        }));

    PicRing->setAccessibleName(QStringLiteral("Token ring layout"));
    PicRing->setAccessibleDescription(
        QStringLiteral("Tab moves among the ring's members; Enter lists a member's stations"));
    PicRing->setAccessibleItems(std::make_unique<AccessibleItems>(
        QAccessible::List,
        [this] {
            QList<const LightControl *> places;
            for (int i = 1; i <= shpRack.ubound(); ++i) {
                if (shpRack.exists(i) && lblRingRack.exists(i) && !lblRingRack(i).Caption().isEmpty())
                    addVisible(places, &shpRack(i));
            }
            return places;
        },
        [this](const LightControl &box) {
            const int i = box.Index();
            const int places = std::max(1, ModMain.racks());
            const RackPlace place{(i - 1) / places + 1, (i - 1) % places + 1};
            const auto member = std::find(m_ringMembers.begin(), m_ringMembers.end(), i);
            QString description = stationsText(place);
            if (member != m_ringMembers.end() && PicRing->drawingCount() > 0)
                description = QStringLiteral("Ring member %1. ").arg(member - m_ringMembers.begin() + 1) + description;
            return AccessibleItem{QAccessible::ListItem,
                                  QStringLiteral("Rack %1, shoot %2, place %3")
                                      .arg(lblRingRack(i).Caption())
                                      .arg(place.shoot)
                                      .arg(place.place),
                                  description};
        }));
}

QString frmSwitch::rackText(int Index) const
{
    const RackPlace &place = m_rackPlaces[size_t(Index - 1)];
    return QStringLiteral("Rack %1, shoot %2, place %3")
        .arg(lblRack(Index).Caption())
        .arg(place.shoot)
        .arg(place.place);
}

QString frmSwitch::stationsText(const RackPlace &place) const
{
    QStringList stations;
    for (int k = 1; k <= ShelvesPerRack; ++k) {
        const QString name = modelAt(ModMain.StationName, place.shoot, place.place, k).str();
        if (!name.isEmpty())
            stations << QStringLiteral("%1 (shelf %2)").arg(name).arg(k);
    }
    return stations.isEmpty() ? QStringLiteral("No stations")
                              : QStringLiteral("Stations: ") + stations.join(QStringLiteral(", "));
}

// The card laid as the n-th of the shelf shown: its list entry n.
QString frmSwitch::cardText(int n) const
{
    const int shelf = SelShelf + 1;
    return QStringLiteral("Card %1, slot %2, image %3")
        .arg(modelAt(ModMain.CardName, SelShoot, SelPlace, shelf, n).str(),
             QString::fromLatin1(modelAt(ModMain.SlotNo, SelShoot, SelPlace, shelf, n).text()),
             QString::fromLatin1(modelAt(ModMain.CardType, SelShoot, SelPlace, shelf, n).text()));
}

// Where the rack views of a rack of this name read the model: the first place
// of the name, shoot by shoot, as a click finds it.
bool frmSwitch::viewPlaceOf(const QString &rackName, RackPlace &place) const
{
    const QByteArray bytes = rackName.toUtf8();
    for (const bool asText : {false, true}) {
        for (int s = 1; s <= ModMain.shoots(); ++s) {
            for (int p = 1; p <= ModMain.racks(); ++p) {
                const Loose &stored = ModMain.RackName(s, p);
                if (asText ? stored.str() == rackName : stored == bytes) {
                    place = {s, p};
                    return true;
                }
            }
        }
    }
    return false;
}

} // namespace kvx
