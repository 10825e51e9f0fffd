// The room grid of the editor's "Major Change" tab, driven as a person
// drives it: mouse presses on the boxes, the grid's pop-up menu answered
// through the pop-up hook, the station boxes with the mouse and keys; then
// the boxes, the model, the temporary folder and a saved file are read.

#include "editorhelpers.h"

#include "app/racktemplates.h"
#include "platform/combobox.h"
#include "platform/commandbutton.h"
#include "platform/frame.h"
#include "platform/menu.h"
#include "platform/picturebox.h"
#include "platform/scrollbar.h"
#include "platform/tabcontrol.h"

#include <QClipboard>
#include <QDir>
#include <QScopeGuard>

using namespace kvx;

using test::insertAt;
using test::PopupChooser;
using test::pressBox;

namespace {

constexpr quint32 Green = 0x87F411;

// A room of the given size with racks at some places; every place's stations
// and cards are sized, as a loaded file sizes them.
Exchange roomOf(int shoots, int places, const QList<QPair<QPoint, QByteArray>> &racks = {})
{
    Exchange x = test::testRoom();
    x.NoOfShoots = shoots;
    x.NoOfRacks = places;
    x.RackName.redim({shoots, places});
    x.sizeRoomTables(shoots, places);
    for (const auto &[at, name] : racks)
        test::putRack(x, at.x(), at.y(), name, {"ST" + name});
    for (LooseTable *ring : {&x.MisRing, &x.Mas1Ring, &x.Mas2Ring})
        test::putRing(*ring, {});
    return x;
}

frmAlter *openOnGrid(test::EditorSession &session)
{
    frmAlter *f = session.open();
    if (f)
        f->SSTab1->setTab(1);
    return f;
}

void removeAt(frmAlter *f, int i)
{
    PopupChooser chooser({QStringLiteral("Remove")});
    pressBox(f, i, Qt::RightButton);
}

QStringList stations(int s, int p)
{
    QStringList out;
    for (int k = 1; k <= 5; ++k)
        out << ModMain.StationName(s, p, k).str();
    return out;
}

QStringList stationBoxes(frmAlter *f)
{
    QStringList out;
    for (int k = 0; k <= 4; ++k)
        out << f->txtEdShelf(k).Text();
    return out;
}

// The card count of each shelf: entries up to the -1.
QList<int> cardCounts(int s, int p)
{
    QList<int> counts;
    for (int k = 1; k <= 5; ++k) {
        int n = 0;
        while (n < CardsPerShelf && !(ModMain.SlotNo(s, p, k, n + 1) == -1))
            ++n;
        counts << n;
    }
    return counts;
}

// Picks a room size in the two drop-down lists with the keyboard and clicks Update.
void resizeRoom(frmAlter *f, int shoots, int places)
{
    for (int n = f->cmbShoot->ListIndex() + 1; n != shoots; n += shoots > n ? 1 : -1)
        QTest::keyClick(f->cmbShoot, shoots > n ? Qt::Key_Down : Qt::Key_Up);
    for (int n = f->cmbDeRack->ListIndex() + 1; n != places; n += places > n ? 1 : -1)
        QTest::keyClick(f->cmbDeRack, places > n ? Qt::Key_Down : Qt::Key_Up);
    test::click(f->cmdUpdate);
}

QStringList tempEntries(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
}

bool hasFocus(QWidget *w)
{
    return QApplication::focusWidget() == w;
}

} // namespace

class TestEditorRoom : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void gridGeometry_data();
    void gridGeometry();
    void scrolling();
    void selection_data();
    void selection();
    void remove_data();
    void remove();
    void stationNames();
    void insertMenu();
    void insertTemplates_data();
    void insertTemplates();
    void insertRefused_data();
    void insertRefused();
    void templateFileFails_data();
    void templateFileFails();
    void insertIntoGrownRoomIsSaved();

private:
    QTemporaryDir m_temp;
};

void TestEditorRoom::initTestCase()
{
    QVERIFY(m_temp.isValid());
}

void TestEditorRoom::init()
{
    // A temporary folder of the tests' own, to see that no template file stays.
    qputenv("TMPDIR", QFile::encodeName(m_temp.path()));
}

void TestEditorRoom::gridGeometry_data()
{
    QTest::addColumn<int>("shoots");
    QTest::addColumn<int>("places");
    QTest::addColumn<int>("box");
    QTest::addColumn<QPointF>("boxAt");
    QTest::addColumn<QString>("tip");
    QTest::addColumn<QSizeF>("frame");
    QTest::addColumn<bool>("hEnabled");
    QTest::addColumn<bool>("vEnabled");
    QTest::addColumn<QPoint>("maxes");
    QTest::newRow("3 x 4") << 3 << 4 << 7 << QPointF(1390, 505) << "Rack Position   2 , 3" << QSizeF(6975, 2895)
                           << false << false << QPoint(1, 1);
    QTest::newRow("10 places") << 2 << 10 << 20 << QPointF(5835, 505) << "Rack Position   2 , 10"
                               << QSizeF(7435, 2895) << true << false << QPoint(1, 1);
    QTest::newRow("6 shoots") << 6 << 3 << 18 << QPointF(1390, 2045) << "Rack Position   6 , 3"
                              << QSizeF(6975, 2895) << false << false << QPoint(1, 1);
    // 10760 / 6975 and 6280 / 2895 round to 2.
    QTest::newRow("15 x 15") << 15 << 15 << 225 << QPointF(9010, 5510) << "Rack Position   15 , 15"
                             << QSizeF(10760, 6280) << true << true << QPoint(2, 2);
}

void TestEditorRoom::gridGeometry()
{
    QFETCH(int, shoots);
    QFETCH(int, places);
    QFETCH(int, box);
    QFETCH(QPointF, boxAt);
    QFETCH(QString, tip);
    QFETCH(QSizeF, frame);
    QFETCH(bool, hEnabled);
    QFETCH(bool, vEnabled);
    QFETCH(QPoint, maxes);
    test::EditorSession session;
    QVERIFY(session.load(roomOf(shoots, places, {{QPoint(1, 1), "UC-01"}})));
    frmAlter *f = openOnGrid(session);
    QVERIFY(f);

    QCOMPARE(f->lblEdRack.count(), shoots * places + 1);
    QVERIFY(!f->lblEdRack(0).Visible());
    const Label &b = f->lblEdRack(box);
    QVERIFY(b.Visible());
    QCOMPARE(QPointF(b.Left(), b.Top()), boxAt);
    QCOMPARE(QSizeF(b.Width(), b.Height()), QSizeF(615, 285));
    QCOMPARE(b.ToolTipText(), tip);
    QCOMPARE(QSizeF(f->Frame6->Width(), f->Frame6->Height()), frame);
    QCOMPARE(f->HScroll1->isEnabled(), hEnabled);
    QCOMPARE(f->VScroll1->isEnabled(), vEnabled);
    QCOMPARE(QPoint(f->HScroll1->Max(), f->VScroll1->Max()), maxes);
    // A rack's box in the window colour with its name, an empty place in the frame's colour.
    QCOMPARE(f->lblEdRack(1).Caption(), QString("UC-01"));
    QCOMPARE(f->lblEdRack(1).BackColor(), SysWindowBackground);
    QCOMPARE(b.Caption(), QString());
    QCOMPARE(b.BackColor(), f->Frame6->BackColor());
}

void TestEditorRoom::scrolling()
{
    test::EditorSession session;
    QVERIFY(session.load(roomOf(2, 10)));
    frmAlter *f = openOnGrid(session);
    QVERIFY(f);
    QCOMPARE(f->Frame6->Left(), 0.0);
    // The right arrow of the bar.
    QTest::mouseClick(f->HScroll1, Qt::LeftButton, {}, QPoint(f->HScroll1->width() - 3, f->HScroll1->height() / 2));
    QCOMPARE(f->HScroll1->Value(), 1);
    QCOMPARE(f->Frame6->Left(), -460.0);

    // A rebuild keeps the bar's value and puts the grid where that value says.
    resizeRoom(f, 2, 15);
    QCOMPARE(f->HScroll1->Max(), 2);
    QCOMPARE(f->HScroll1->Value(), 1);
    QCOMPARE(f->Frame6->Left(), -(10760.0 - 6975) / 2);
    // A grid that no longer needs the bar is not left shifted behind it.
    resizeRoom(f, 2, 4);
    QVERIFY(!f->HScroll1->isEnabled());
    QCOMPARE(f->HScroll1->Value(), 1);
    QCOMPARE(f->Frame6->Left(), 0.0);
}

void TestEditorRoom::selection_data()
{
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<bool>("popsUp");
    QTest::newRow("left button") << Qt::LeftButton << false;
    QTest::newRow("right button") << Qt::RightButton << true;
}

void TestEditorRoom::selection()
{
    QFETCH(Qt::MouseButton, button);
    QFETCH(bool, popsUp);
    test::EditorSession session;
    QVERIFY(session.load(test::testRoom()));
    frmAlter *f = openOnGrid(session);
    QVERIFY(f);
    QCOMPARE(f->edSelIndex(), 0);
    // The box is selected, with its stations shown, before the menu appears.
    QStringList seenAtPopup;
    setPopupMenuHook([&](Menu *menu) {
        QVERIFY(menu == f->mnuEdit);
        seenAtPopup = stationBoxes(f) << QString::number(f->lblEdRack(5).BackColor(), 16);
    });
    const auto unhook = qScopeGuard([] { setPopupMenuHook({}); });

    pressBox(f, 5, button); // the second UC-01, at 2, 2
    QCOMPARE(f->edSelIndex(), 5);
    QCOMPARE(QPoint(f->edShoot(), f->edPlace()), QPoint(2, 2));
    QCOMPARE(stationBoxes(f), QStringList({"SMM", "SMT", "SMA", "", ""}));
    QCOMPARE(f->lblEdRack(5).BackColor(), Green);
    QCOMPARE(seenAtPopup, popsUp ? QStringList({"SMM", "SMT", "SMA", "", "", "87f411"}) : QStringList());

    // The next box takes the green; the first gets its own colour back.
    pressBox(f, 2, button); // an empty place
    QCOMPARE(f->lblEdRack(5).BackColor(), SysWindowBackground);
    QCOMPARE(f->lblEdRack(2).BackColor(), Green);
    QCOMPARE(stationBoxes(f), QStringList({"", "", "", "", ""}));
    pressBox(f, 1, button);
    QCOMPARE(f->lblEdRack(2).BackColor(), f->Frame6->BackColor());
    QCOMPARE(session.hooks.messages.size(), 0);
}

void TestEditorRoom::remove_data()
{
    QTest::addColumn<int>("box");
    QTest::addColumn<QString>("message");
    QTest::newRow("empty place") << 2 << "Already Vaccunt";
    QTest::newRow("rack") << 5 << "";
}

void TestEditorRoom::remove()
{
    QFETCH(int, box);
    QFETCH(QString, message);
    test::EditorSession session;
    Exchange x = test::testRoom();
    test::putCards(x, 2, 2, 1, test::manyCards(20, "OLD"));
    QVERIFY(session.load(x));
    frmAlter *f = openOnGrid(session);
    QVERIFY(f);
    removeAt(f, box);

    const int s = (box - 1) / 3 + 1;
    const int p = (box - 1) % 3 + 1;
    QCOMPARE(f->lblEdRack(box).Caption(), QString());
    QCOMPARE(ModMain.RackName(s, p).str(), QString());
    QCOMPARE(stations(s, p), QStringList({"", "", "", "", ""}));
    if (!message.isEmpty()) {
        QCOMPARE(session.hooks.messages.size(), 1);
        QCOMPARE(session.hooks.messages[0].text, message);
        QCOMPARE(session.hooks.messages[0].title, QString("InValid Action"));
        QCOMPARE(session.hooks.messages[0].style, int(vbInformation));
        QCOMPARE(f->lblEdRack(box).BackColor(), Green);
        return;
    }
    QCOMPARE(session.hooks.messages.size(), 0);
    QCOMPARE(stationBoxes(f), QStringList({"", "", "", "", ""}));
    // The cards stay in the model, out of sight behind the empty name.
    QCOMPARE(ModMain.CardName(2, 2, 1, 20).str(), QString("OLD20"));
    // Once deselected the box shows an empty place.
    pressBox(f, 1);
    QCOMPARE(f->lblEdRack(box).BackColor(), f->Frame6->BackColor());

    // A 17-card template ends the list at 18; entries 19 and 20 keep the old cards.
    insertAt(f, box, "UE-01");
    QCOMPARE(ModMain.CardName(2, 2, 1, 17).str(), QString("ACTUR5AB"));
    QCOMPARE(ModMain.SlotNo(2, 2, 1, 18), -1);
    QCOMPARE(ModMain.CardName(2, 2, 1, 19).str(), QString("OLD19"));
    QCOMPARE(ModMain.SlotNo(2, 2, 1, 20), 80);
}

void TestEditorRoom::stationNames()
{
    test::EditorSession session;
    QVERIFY(session.load(test::testRoom()));
    frmAlter *f = openOnGrid(session);
    QVERIFY(f);
    pressBox(f, 1);
    TextBox &second = f->txtEdShelf(1);

    // Locked until double-clicked.
    test::click(&second);
    QVERIFY(hasFocus(&second));
    QCOMPARE(second.BackColor(), Green);
    QTest::keyClicks(&second, "XY");
    QCOMPARE(second.Text(), QString("SMT"));
    test::doubleClick(&second);
    QVERIFY(!second.Locked());
    // Commas and line ends are refused, typed or pasted.
    test::typeOver(&second, "S,M");
    QApplication::clipboard()->setText(QStringLiteral("X\r\n2,"));
    QTest::keyClick(&second, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(second.Text(), QString("SMX2"));
    QCOMPARE(ModMain.StationName(1, 1, 2).str(), QString("SMX2"));

    // Down leaves the box locked and white; it wraps from the fifth to the first.
    QTest::keyClick(&second, Qt::Key_Down);
    QVERIFY(hasFocus(&f->txtEdShelf(2)));
    QVERIFY(second.Locked());
    QCOMPARE(second.BackColor(), ColorWhite);
    QTest::keyClick(&f->txtEdShelf(2), Qt::Key_Down);
    QTest::keyClick(&f->txtEdShelf(3), Qt::Key_Down);
    QTest::keyClick(&f->txtEdShelf(4), Qt::Key_Down);
    QVERIFY(hasFocus(&f->txtEdShelf(0)));
    QTest::keyClick(&f->txtEdShelf(0), Qt::Key_Up);
    QVERIFY(hasFocus(&f->txtEdShelf(4)));

    // Selecting another place and back shows what was typed.
    pressBox(f, 3);
    QCOMPARE(stationBoxes(f), QStringList({"SMX", "SMX", "SMXC", "SMX", "SMX"}));
    pressBox(f, 1);
    QCOMPARE(stationBoxes(f), QStringList({"SMC", "SMX2", "SMA", "", ""}));
}

void TestEditorRoom::insertMenu()
{
    test::EditorSession session;
    QVERIFY(session.load(test::testRoom()));
    frmAlter *f = session.open();
    QVERIFY(f);
    QCOMPARE(f->mnuEdit->items(), QList<Menu *>({f->mnuIns, f->mnuRem}));
    QStringList names;
    QStringList disabled;
    for (const Menu *entry : f->mnuIns->items()) {
        if (!entry->Enabled())
            disabled << entry->Caption();
        else if (entry->items().isEmpty())
            names << entry->Caption();
        for (const Menu *item : entry->items())
            names << item->Caption();
    }
    QCOMPARE(names, rackMenuCaptions());
    QCOMPARE(disabled, QStringList({"MTU", "SAM", "ZD", "ZH", "TH"}));
}

void TestEditorRoom::insertTemplates_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("stations");
    QTest::addColumn<QList<int>>("cards");
    QTest::newRow("UE-05") << "UE-05" << QStringList({"SMC", "SMT", "SMT", "SMA", "SMA"})
                           << QList<int>({17, 32, 32, 12, 12});
    QTest::newRow("UD-10") << "UD-10" << QStringList({"SMC", "SMT", "SMT", "SMT", "SMT"})
                           << QList<int>({17, 32, 32, 32, 32});
    QTest::newRow("UC-03") << "UC-03" << QStringList({"SMC", "SMA", "SMA", "SMA", "SMA"})
                           << QList<int>({17, 12, 12, 12, 12});
    QTest::newRow("XA-2B") << "XA-2B" << QStringList({"SMXC", "SMX", "SMX", "", ""}) << QList<int>({34, 22, 22, 0, 0});
    QTest::newRow("XA0") << "XA0" << QStringList({"SMXC", "SMX", "SMX", "", ""}) << QList<int>({34, 16, 16, 0, 0});
    QTest::newRow("XB-3A") << "XB-3A" << QStringList({"SMXC", "SMX", "SMX", "SMX", "SMX"})
                           << QList<int>({34, 34, 34, 34, 34});
    QTest::newRow("CA") << "CA" << QStringList({"SMC1", "STS1", "SMMA", "SSE1", "SMMB"})
                        << QList<int>({17, 12, 14, 21, 14});
    QTest::newRow("SDE-02") << "SDE-02" << QStringList({"", "", "", "", ""}) << QList<int>({0, 0, 0, 0, 0});
}

void TestEditorRoom::insertTemplates()
{
    QFETCH(QString, name);
    QFETCH(QStringList, stations);
    QFETCH(QList<int>, cards);
    test::EditorSession session;
    QVERIFY(session.load(roomOf(2, 3, {{QPoint(1, 1), "UC-01"}})));
    frmAlter *f = openOnGrid(session);
    QVERIFY(f);
    const QStringList temp = tempEntries(m_temp.path());
    insertAt(f, 5, name);

    QCOMPARE(session.hooks.messages.size(), 0);
    QCOMPARE(f->lblEdRack(5).Caption(), name);
    QCOMPARE(ModMain.RackName(2, 2).str(), name);
    QCOMPARE(::stations(2, 2), stations);
    QCOMPARE(cardCounts(2, 2), cards);
    // Read by the data file's rules: slot numbers are numbers.
    QVERIFY(ModMain.SlotNo(2, 2, 1, cards[0] + 1).isNumber());
    // No template file stays behind.
    QCOMPARE(tempEntries(m_temp.path()), temp);

    // The box turns white at once and stays so when the selection moves on;
    // the station boxes show the new stations when the place is chosen again.
    QCOMPARE(f->lblEdRack(5).BackColor(), ColorWhite);
    pressBox(f, 6);
    QCOMPARE(f->lblEdRack(5).BackColor(), ColorWhite);
    pressBox(f, 5);
    QCOMPARE(stationBoxes(f), stations);
}

void TestEditorRoom::insertRefused_data()
{
    QTest::addColumn<int>("box");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("message");
    QTest::newRow("place taken, new name") << 3 << "UE-07"
                                           << "If You Want to Replace the Rack, Please Remove This Rack First";
    QTest::newRow("name in the room") << 2 << "UC-01" << "UC-01     Rack Already Exist.";
}

void TestEditorRoom::insertRefused()
{
    QFETCH(int, box);
    QFETCH(QString, name);
    QFETCH(QString, message);
    test::EditorSession session;
    QVERIFY(session.load(test::testRoom()));
    frmAlter *f = openOnGrid(session);
    QVERIFY(f);
    const int s = (box - 1) / 3 + 1;
    const int p = (box - 1) % 3 + 1;
    const QString before = f->lblEdRack(box).Caption();
    const QStringList stationsBefore = stations(s, p);
    insertAt(f, box, name);

    QCOMPARE(session.hooks.messages.size(), 1);
    QCOMPARE(session.hooks.messages[0].text, message);
    QCOMPARE(session.hooks.messages[0].style, int(vbInformation));
    QCOMPARE(session.hooks.messages[0].title, ProgramTitle);
    QCOMPARE(f->lblEdRack(box).Caption(), before);
    QCOMPARE(ModMain.RackName(s, p).str(), before);
    QCOMPARE(stations(s, p), stationsBefore);
}

void TestEditorRoom::templateFileFails_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("reason");
    QTest::newRow("no temporary folder") << "missing" << ": No temporary folder";
    QTest::newRow("full temporary folder") << "full" << ": No space left on device";
}

void TestEditorRoom::templateFileFails()
{
    QFETCH(QString, folder);
    QFETCH(QString, reason);
    test::EditorSession session;
    QVERIFY(session.load(test::testRoom()));
    frmAlter *f = openOnGrid(session);
    QVERIFY(f);
    const QString temp = m_temp.filePath(folder);
    std::optional<test::TinyDisk> disk;
    if (folder == "full") {
        QVERIFY(QDir().mkpath(temp));
        disk.emplace(temp);
        if (!disk->mounted())
            QSKIP("cannot mount a tmpfs here");
        QVERIFY(disk->fill());
    }
    qputenv("TMPDIR", QFile::encodeName(temp));
    insertAt(f, 2, "UE-05");

    QCOMPARE(session.hooks.messages.size(), 1);
    const QString shown = session.hooks.messages[0].text;
    QVERIFY2(shown.startsWith("Cannot write file ") && shown.endsWith(reason), qPrintable(shown));
    QCOMPARE(tempEntries(temp), disk ? QStringList{"filler"} : QStringList());
    QCOMPARE(session.hooks.messages[0].style, int(vbInformation));
    QCOMPARE(f->lblEdRack(2).Caption(), QString());
    QCOMPARE(ModMain.RackName(1, 2).str(), QString());
    QCOMPARE(stations(1, 2), QStringList({"", "", "", "", ""}));
    QCOMPARE(ModMain.SlotNo(1, 2, 1, 1).isEmpty(), true);

    // With the folder back the same insertion goes through.
    qputenv("TMPDIR", QFile::encodeName(m_temp.path()));
    insertAt(f, 2, "UE-05");
    QCOMPARE(session.hooks.messages.size(), 1);
    QCOMPARE(ModMain.RackName(1, 2).str(), QString("UE-05"));
}

void TestEditorRoom::insertIntoGrownRoomIsSaved()
{
    test::EditorSession session;
    QVERIFY(session.load(test::testRoom()));
    frmAlter *f = openOnGrid(session);
    QVERIFY(f);
    resizeRoom(f, 3, 4);
    QCOMPARE(f->lblEdRack.count(), 13);
    insertAt(f, 12, "XB-4B"); // shoot 3, place 4: outside the room as loaded
    QCOMPARE(session.hooks.messages.size(), 0);
    QCOMPARE(f->lblEdRack(12).Caption(), QString("XB-4B"));

    const QString other = session.path("grown.kvx");
    session.hooks.setNextFile(other);
    f->MnuSavAs->trigger();
    const auto back = test::readBack(other);
    QVERIFY(back);
    QCOMPARE(back->shoots(), 3);
    QCOMPARE(back->racks(), 4);
    QCOMPARE(back->RackName(3, 4).str(), QString("XB-4B"));
    QCOMPARE(back->StationName(3, 4, 5).str(), QString("SMX"));
    QCOMPARE(test::shelfOf(*back, 3, 4, 5).count(':'), 34);
    QVERIFY(test::shelfOf(*back, 3, 4, 1).startsWith("0:AE5V40A 10:RCID4"));
    QCOMPARE(test::shelfOf(*back, 2, 2, 1), QString("40:G1"));
}

QTEST_MAIN(TestEditorRoom)
#include "test_editor_room.moc"
