#pragma once

// Shared by the editor tests: a small room written as a data file and loaded
// as the program loads it, the editor opened on it, and the clicks and keys
// of a person on its real widgets.

#include "viewerhelpers.h"

#include "editor/frmalter.h"
#include "model/exchangereader.h"
#include "model/exchangewriter.h"
#include "platform/core/files.h"
#include "platform/listbox.h"
#include "platform/menu.h"
#include "platform/tabcontrol.h"
#include "viewer/loadexchange.h"

namespace kvx::test {

struct Card
{
    int slot;
    QByteArray name;
    int type;
};

inline void putCards(Exchange &x, int s, int p, int shelf, const QList<Card> &cards)
{
    int n = 0;
    for (const Card &c : cards) {
        ++n;
        x.SlotNo.set(Loose(c.slot), s, p, shelf, n);
        x.CardName.set(Loose(c.name), s, p, shelf, n);
        x.CardType.set(Loose(c.type), s, p, shelf, n);
    }
    if (n < CardsPerShelf)
        x.SlotNo.set(Loose(-1), s, p, shelf, n + 1);
}

inline QList<Card> manyCards(int count, const QByteArray &prefix)
{
    QList<Card> cards;
    for (int n = 1; n <= count; ++n)
        cards.append({4 * n, prefix + QByteArray::number(n), n % 14});
    return cards;
}

inline void putRack(Exchange &x, int s, int p, const QByteArray &name, const QList<QByteArray> &stations)
{
    x.RackName.set(Loose(name), s, p);
    for (int k = 1; k <= 5; ++k)
        x.StationName.set(Loose(k <= stations.size() ? stations[k - 1] : QByteArray()), s, p, k);
    for (int k = 1; k <= 5; ++k)
        x.SlotNo.set(Loose(-1), s, p, k, 1);
}

inline void putRing(LooseTable &ring, const QList<QByteArray> &members)
{
    ring.redim({RingEntries});
    int n = 0;
    for (const QByteArray &m : members)
        ring.set(Loose(m), ++n);
    ring.set(Loose("*"), n + 1);
}

// Two shoots of three places. UC-01 stands twice, at 1,1 and at 2,2, each
// with stations and cards of its own; UD-02 has 34 cards on shelf 5 and the
// second UC-01 35.
inline Exchange testRoom(int noOfMas = 2)
{
    Exchange x;
    x.SiteName = Loose("TEST SITE");
    x.NoOfShoots = 2;
    x.NoOfRacks = 3;
    x.NoOfMas = noOfMas;
    x.RackName.redim({2, 3});
    x.sizeRoomTables(2, 3);
    putRack(x, 1, 1, "UC-01", {"SMC", "SMT", "SMA"});
    putCards(x, 1, 1, 1, {{5, "C1", 0}, {9, "C2", 1}, {13, "C3", 2}, {17, "C4", 3}, {21, "C5", 4}});
    putCards(x, 1, 1, 2, {{1, "D1", 5}});
    putCards(x, 1, 1, 3, {{2, "E1", 6}, {3, "E2", 7}, {4, "E3", 8}});
    putRack(x, 1, 3, "UD-02", {"SMX", "SMX", "SMXC", "SMX", "SMX"});
    putCards(x, 1, 3, 1, {{1, "U1", 0}});
    putCards(x, 1, 3, 3, {{7, "F1", 9}, {8, "F2", 10}});
    putCards(x, 1, 3, 5, manyCards(34, "K"));
    putRack(x, 2, 1, "XA0", {"STS", "SSE"});
    putRack(x, 2, 2, "UC-01", {"SMM", "SMT", "SMA"});
    putCards(x, 2, 2, 1, {{40, "G1", 11}});
    putCards(x, 2, 2, 3, {{50, "H1", 12}});
    putCards(x, 2, 2, 5, manyCards(35, "L"));
    putRack(x, 2, 3, "SDE-01", {});
    putRing(x.MisRing, {"UC-01", "UD-02"});
    putRing(x.Mas1Ring, {"UC-01"});
    putRing(x.Mas2Ring, {"XA0"});
    if (noOfMas >= 3)
        putRing(x.Mas3Ring, {"UD-02", "XA0"});
    if (noOfMas >= 4)
        putRing(x.Mas4Ring, {"SDE-01"});
    x.MisColor = 255;
    for (int k = 1; k <= noOfMas; ++k)
        x.MasColor.set(Loose(0x10000 * k), k);
    return x;
}

inline QByteArray fileOf(const Exchange &x)
{
    QByteArray out;
    ExchangeWriter writer;
    if (!writer.write(x, ModelRingControls(x), &out))
        qWarning("%s", qPrintable(writer.errorString()));
    return out;
}

// What a file holds, read with the program's reader.
inline std::optional<Exchange> readBack(const QString &path)
{
    Exchange x;
    return ExchangeReader().read(readFile(path), x) ? std::optional(x) : std::nullopt;
}

// The slot numbers and names of one shelf of a file's exchange, "5:C1 9:C2".
inline QString shelfOf(const Exchange &x, int s, int p, int shelf)
{
    QStringList cards;
    for (int n = 1; n <= CardsPerShelf; ++n) {
        const Loose &slot = x.SlotNo(s, p, shelf, n);
        if (slot == -1)
            break;
        cards << slot.str() + QLatin1Char(':') + x.CardName(s, p, shelf, n).str();
    }
    return cards.join(QLatin1Char(' '));
}

// A program folder with answering hooks and a data file loaded as the program
// loads it; open() shows the editor on it and waits until it is active.
struct EditorSession : ProgramFixture
{
    ~EditorSession() { frmAlter::discard(); }

    bool load(const QByteArray &bytes)
    {
        ModMain.DataFile = Files::bytesFromPath(dataFile);
        return writeFile(dataFile, bytes) && LoadExchange(OnLoadFailure::KeepExchange);
    }
    frmAlter *open()
    {
        frmAlter::showEditor();
        frmAlter *form = frmAlter::loaded();
        return form && QTest::qWaitForWindowActive(form) ? form : nullptr;
    }
    // Loads x and opens the editor on the given tab.
    frmAlter *open(const Exchange &x, int tab = 0)
    {
        frmAlter *form = load(fileOf(x)) ? open() : nullptr;
        if (form)
            form->SSTab1->setTab(tab);
        return form;
    }

    QString dataFile = path(QStringLiteral("room.kvx"));
};

// Clicks and keys of a person, on the real widgets.
inline void click(QWidget *widget, QPoint at = {})
{
    QTest::mouseClick(widget, Qt::LeftButton, {}, at.isNull() ? widget->rect().center() : at);
}

inline void doubleClick(QWidget *widget)
{
    QTest::mouseDClick(widget, Qt::LeftButton, {}, widget->rect().center());
}

// Selects all of a box and types over it.
inline void typeOver(QWidget *box, const QString &text)
{
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    if (text.isEmpty())
        QTest::keyClick(box, Qt::Key_Delete);
    else
        QTest::keyClicks(box, text);
}

// A click on a lightweight control, at its middle within its container.
inline void clickItem(Container *container, const LightControl &item)
{
    click(container, item.pixelRect().center() + container->clientOrigin());
}

// Chooses an entry of the rack list with the mouse.
inline void chooseRack(ListBox *list, int index)
{
    QListWidgetItem *entry = list->item(index);
    list->scrollToItem(entry);
    click(list->viewport(), list->visualItemRect(entry).center());
}

// A mouse click on box i of the grid, where a person would click it.
inline void pressBox(frmAlter *f, int i, Qt::MouseButton button = Qt::LeftButton)
{
    const LightControl &box = f->lblEdRack(i);
    QTest::mouseClick(f->Frame6, button, {}, box.pixelRect().center() + f->Frame6->clientOrigin());
}

// Answers the next pop-up menus by choosing the item at the end of a path of
// captions, e.g. {"Insert", "UE", "UE-05"}.
struct PopupChooser
{
    explicit PopupChooser(QStringList path = {}) : path(std::move(path))
    {
        setPopupMenuHook([this](Menu *menu) {
            Menu *item = menu;
            for (const QString &caption : this->path) {
                Menu *next = nullptr;
                for (Menu *candidate : item->items()) {
                    if (candidate->Caption() == caption)
                        next = candidate;
                }
                QVERIFY2(next, qPrintable(caption));
                item = next;
            }
            item->trigger();
        });
    }
    ~PopupChooser() { setPopupMenuHook({}); }

    QStringList path;
};

// Chooses a rack name from the Insert submenu of the grid's menu over box i.
inline void insertAt(frmAlter *f, int i, const QString &name)
{
    PopupChooser chooser;
    for (const Menu *entry : f->mnuIns->items()) {
        if (entry->Caption() == name && entry->items().isEmpty())
            chooser.path = QStringList({"Insert", name});
        for (const Menu *item : entry->items()) {
            if (item->Caption() == name)
                chooser.path = QStringList({"Insert", entry->Caption(), name});
        }
    }
    QVERIFY2(!chooser.path.isEmpty(), qPrintable(name));
    pressBox(f, i, Qt::RightButton);
}

} // namespace kvx::test
