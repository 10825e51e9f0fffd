// The editor window as a person uses it: the rack and shelf choice, the
// room's name and size, Save, Save As and Exit with their dialogs answered
// through the hooks, the "Ring Change" tab, and the room grid of the "Major
// Change" tab with its pop-up menu, station boxes and rack insertion.

#include "editorhelpers.h"
#include "viewerhelpers.h"

#include "model/racktemplates.h"
#include "platform/combobox.h"
#include "platform/commandbutton.h"
#include "platform/picturebox.h"
#include "platform/scrollbar.h"

#include <QClipboard>
#include <QDir>
#include <QProcess>
#include <QScopeGuard>
#include <QScreen>

using namespace kvx;
using test::hasFocus;
using test::insertAt;
using test::pressBox;

namespace {

constexpr quint32 Green = 0x87F411;

template<typename Each>
QStringList listOf(int first, int last, Each each)
{
    QStringList out;
    for (int n = first; n <= last; ++n)
        out << each(n);
    return out;
}

QStringList cardNames(frmAlter *f)
{
    return listOf(1, f->cardRows(), [f](int n) { return f->txtCard(n).Text(); });
}

QStringList stationBoxes(frmAlter *f)
{
    return listOf(0, 4, [f](int k) { return f->txtEdShelf(k).Text(); });
}

QStringList stations(const Exchange &x, int s, int p)
{
    return listOf(1, 5, [&](int k) { return x.StationName(s, p, k).str(); });
}

QStringList ringTexts(frmAlter *f)
{
    return listOf(0, 4, [f](int k) { return k ? f->txtMas(k).Text() : f->txtMis->Text(); });
}

QList<int> ticks(frmAlter *f)
{
    return {f->chkMis->Value(), f->chkmas(1).Value(), f->chkmas(2).Value(), f->chkmas(3).Value(), f->chkmas(4).Value()};
}

QStringList members(const LooseTable &ring)
{
    return listOf(1, ring.bound(0), [&](int n) { return ring(n).str(); });
}

// The five ring tables exactly as held: "unsized", or every entry, a number
// marked with "#" and an empty entry shown as "~".
QStringList ringTables(const Exchange &x)
{
    return listOf(0, 4, [&](int k) {
        const LooseTable &ring = x.ring(k);
        if (!ring.isSized())
            return QStringLiteral("unsized");
        return listOf(1, ring.bound(0), [&](int n) {
                   return ring(n).isEmpty() ? QStringLiteral("~") : (ring(n).isNumber() ? "#" : "") + ring(n).str();
               }).join(',');
    });
}

// Shelf k of a rack's template as test::shelfOf gives it.
QString templateShelf(const QString &rack, int k)
{
    QStringList cards;
    for (const TemplateCard &card : templateForRackName(rack.toUtf8())->shelves[size_t(k - 1)])
        cards << QStringLiteral("%1:%2").arg(card.slot).arg(QLatin1String(card.name));
    return cards.join(' ');
}

// A room of the given size with racks at some places and empty rings.
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

// Picks a room size in the two drop-down lists with the keyboard and clicks Update.
void resizeRoom(frmAlter *f, int shoots, int places)
{
    for (int n = f->cmbShoot->ListIndex() + 1; n != shoots; n += shoots > n ? 1 : -1)
        QTest::keyClick(f->cmbShoot, shoots > n ? Qt::Key_Down : Qt::Key_Up);
    for (int n = f->cmbDeRack->ListIndex() + 1; n != places; n += places > n ? 1 : -1)
        QTest::keyClick(f->cmbDeRack, places > n ? Qt::Key_Down : Qt::Key_Up);
    test::click(f->cmdUpdate);
}

// Selects all of a box and pastes text over it.
void pasteOver(QWidget *box, const QString &text)
{
    QApplication::clipboard()->setText(text);
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
}

QStringList folderEntries(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
}

} // namespace

class TestEditor : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void rackAndShelfChoice();
    void roomWithoutRacks();
    void openedBesideTheMainWindowOnce();
    void roomSizeUpdate_data();
    void roomSizeUpdate();
    void bigRoomKeepsItsSize();
    void saveAsThenSave();
    void closing_data();
    void closing();
    void saveRefused_data();
    void saveRefused();
    void untouchedBytesSurvive_data();
    void untouchedBytesSurvive();
    void ringCountWhenSaving_data();
    void ringCountWhenSaving();
    void colours();
    void gridGeometry_data();
    void gridGeometry();
    void gridScrolling();
    void selection_data();
    void selection();
    void remove_data();
    void remove();
    void stationNames();
    void insertMenu();
    void insert_data();
    void insert();
    void insertedRackShownAfterRefresh();

private:
    QTemporaryDir m_temp;
};

void TestEditor::init()
{
    // A temporary folder of the tests' own, to see that no template file stays.
    QVERIFY(m_temp.isValid());
    qputenv("TMPDIR", QFile::encodeName(m_temp.path()));
}

void TestEditor::rackAndShelfChoice()
{
    test::EditorSession session;
    frmAlter *f = session.open(test::testRoom());
    QVERIFY(f);
    QVERIFY(ringControls() == f);
    // The racks in shoot-major order, the first one chosen with its first shelf.
    QCOMPARE(listOf(0, 4, [f](int i) { return f->lstRackName->List(i); }),
             QStringList({"UC-01", "UD-02", "XA0", "UC-01", "SDE-01"}));
    QCOMPARE(f->lblPosition->Caption(), QString("1 X 1"));
    QCOMPARE(listOf(0, 4, [f](int k) { return f->optStation(k).Caption(); }), QStringList({"SMC", "SMT", "SMA", "", ""}));
    QCOMPARE(cardNames(f), QStringList({"C1", "C2", "C3", "C4", "C5"}));
    QCOMPARE(f->txtSiteName->Text(), QString("TEST SITE"));
    QCOMPARE(QPoint(f->cmbShoot->Text().toInt(), f->cmbDeRack->Text().toInt()), QPoint(2, 3));
    QVERIFY(!f->hasUnsavedEdits());
    // The second of two racks with one name shows its own place.
    test::chooseRack(f->lstRackName, 3);
    QCOMPARE(f->lblPosition->Caption(), QString("2 X 2"));
    QCOMPARE(f->optStation(0).Caption(), QString("SMM"));
    QCOMPARE(cardNames(f), QStringList({"G1"}));
    // Shelf 3 stays chosen from rack to rack.
    test::chooseRack(f->lstRackName, 0);
    test::clickOption(&f->optStation(2));
    QCOMPARE(cardNames(f), QStringList({"E1", "E2", "E3"}));
    QVERIFY(hasFocus(&f->txtCard(1)));
    test::chooseRack(f->lstRackName, 1);
    QCOMPARE(f->lblPosition->Caption(), QString("1 X 3"));
    QCOMPARE(cardNames(f), QStringList({"F1", "F2"}));
    QCOMPARE(f->curRow(), 0);
    // An empty shelf shows no rows and keeps the focus where it was.
    test::clickOption(&f->optStation(3));
    QCOMPARE(f->cardRows(), 0);
    QVERIFY(hasFocus(&f->optStation(3)));
    QCOMPARE(session.hooks.messages.size(), 0);
}

void TestEditor::roomWithoutRacks()
{
    test::EditorSession session;
    frmAlter *f = session.open(roomOf(2, 3));
    QVERIFY(f);
    QCOMPARE(f->lstRackName->ListCount(), 0);
    QVERIFY(!f->cmdAdd->Enabled() && !f->cmdInsert->Enabled() && !f->cmdDelete->Enabled());
    QVERIFY(!f->pic->Enabled() && !f->optStation(4).Enabled());
    // The rest of the window works as usual.
    QCOMPARE(f->txtSiteName->Text(), QString("TEST SITE"));
    f->MnuSav->trigger();
    QCOMPARE(session.hooks.messages.size(), 0);
    QVERIFY(test::readBack(session.dataFile));
}

void TestEditor::openedBesideTheMainWindowOnce()
{
    test::EditorSession session;
    QVERIFY(session.load(test::testRoom()));
    frmSwitch &main = frmSwitch::get();
    main.Show();
    QVERIFY(QTest::qWaitForWindowExposed(&main));
    frmAlter *f = session.open();
    QVERIFY(f);
    // On the main window's right, as far as the screen allows.
    const QRect screen = f->screen()->availableGeometry();
    QVERIFY(screen.contains(f->geometry()));
    QVERIFY(f->geometry().right() >= std::min(main.frameGeometry().right(), screen.right()) - 16);
    QVERIFY(f->y() > main.y());
    // Shown again it is not loaded again: the typed list and the chosen rack are as they were.
    test::chooseRack(f->lstRackName, 1);
    f->SSTab1->setTab(2);
    test::click(&f->txtMas(1));
    QTest::keyClicks(&f->txtMas(1), ",XA0");
    f->hide();
    QCOMPARE(session.open(), f);
    QCOMPARE(f->txtMas(1).Text(), QString("UC-01,XA0"));
    QCOMPARE(f->lstRackName->ListIndex(), 1);
}

void TestEditor::roomSizeUpdate_data()
{
    QTest::addColumn<int>("shoots");
    QTest::addColumn<int>("places");
    QTest::addColumn<QList<int>>("nameBounds");
    QTest::addColumn<QStringList>("savedGrid");
    // Both grow, and XB-4B goes into shoot 3, place 4: outside the room as loaded.
    QTest::newRow("both grow") << 3 << 4 << QList<int>({3, 4}) << QStringList({"UC-01,,UD-02,", "XA0,UC-01,SDE-01,", ",,,XB-4B"});
    QTest::newRow("places grow, shoots shrink") << 1 << 4 << QList<int>({1, 4}) << QStringList({"UC-01,,UD-02,"});
    QTest::newRow("shrinks") << 1 << 2 << QList<int>({2, 3}) << QStringList({"UC-01,"});
    QTest::newRow("same size") << 2 << 3 << QList<int>({2, 3}) << QStringList({"UC-01,,UD-02", "XA0,UC-01,SDE-01"});
}

void TestEditor::roomSizeUpdate()
{
    QFETCH(int, shoots);
    QFETCH(int, places);
    QFETCH(QList<int>, nameBounds);
    QFETCH(QStringList, savedGrid);
    test::EditorSession session;
    frmAlter *f = session.open(test::testRoom(), 1);
    QVERIFY(f);
    resizeRoom(f, shoots, places);
    QCOMPARE(QPoint(ModMain.NoOfShoots.toInt(), ModMain.NoOfRacks.toInt()), QPoint(shoots, places));
    QCOMPARE(QPoint(ModMain.OldNoOfShoots.toInt(), ModMain.OldNoOfRacks.toInt()), QPoint(2, 3));
    QCOMPARE(QList<int>(ModMain.RackName.bounds().begin(), ModMain.RackName.bounds().end()), nameBounds);
    // The station and card tables cover the room and never lose a listed rack.
    for (const LooseTable *t : {&ModMain.StationName, &ModMain.SlotNo, &ModMain.CardName, &ModMain.CardType})
        QVERIFY(t->bound(0) >= std::max(shoots, 2) && t->bound(1) >= std::max(places, 3));
    test::chooseRack(f->lstRackName, 3);
    QCOMPARE(cardNames(f), QStringList({"G1"}));
    if (shoots == 3)
        insertAt(f, 12, "XB-4B");

    f->MnuSav->trigger();
    QCOMPARE(session.hooks.messages.size(), 0);
    const QList<QByteArray> lines = test::fileBytes(session.dataFile).split('\n');
    QCOMPARE(lines[0], "\"TEST SITE\"," + QByteArray::number(shoots) + ',' + QByteArray::number(places) + ",2\r");
    for (int s = 0; s < savedGrid.size(); ++s)
        QCOMPARE(QString::fromLatin1(lines[s + 1]), savedGrid[s] + '\r');
    const auto back = test::readBack(session.dataFile);
    QVERIFY(back);
    QCOMPARE(test::shelfOf(*back, 1, 1, 1), QString("5:C1 9:C2 13:C3 17:C4 21:C5"));
    for (int k = 1; shoots == 3 && k <= 5; ++k) {
        QCOMPARE(back->StationName(3, 4, k).str(), QString::fromLatin1(templateForRackName("XB-4B")->stations[size_t(k - 1)]));
        QCOMPARE(test::shelfOf(*back, 3, 4, k), templateShelf("XB-4B", k));
    }
}

void TestEditor::bigRoomKeepsItsSize()
{
    test::EditorSession session;
    frmAlter *f = session.open(roomOf(20, 16, {{QPoint(20, 16), "UC-99"}}), 1);
    QVERIFY(f);
    QCOMPARE(QPoint(f->cmbShoot->ListCount(), f->cmbDeRack->ListCount()), QPoint(20, 16));
    test::click(f->cmdUpdate);
    QCOMPARE(QPoint(ModMain.NoOfShoots.toInt(), ModMain.NoOfRacks.toInt()), QPoint(20, 16));
    QCOMPARE(ModMain.RackName(20, 16).str(), QString("UC-99"));
}

void TestEditor::saveAsThenSave()
{
    test::EditorSession session;
    frmAlter *f = session.open(test::testRoom(), 1);
    QVERIFY(f);
    const QByteArray loaded = test::fileBytes(session.dataFile);
    // The site name follows every keystroke; what the header cannot carry is not taken.
    test::click(f->txtSiteName);
    QTest::keyClick(f->txtSiteName, Qt::Key_End);
    QTest::keyClick(f->txtSiteName, Qt::Key_2);
    QCOMPARE(ModMain.SiteName.str(), QString("TEST SITE2"));
    QTest::keyClick(f->txtSiteName, Qt::Key_Backspace);
    QCOMPARE(ModMain.SiteName.str(), QString("TEST SITE"));
    QTest::keyClicks(f->txtSiteName, "\", B");

    const QString other = session.path("other.kvx");
    session.hooks.setNextFile(other);
    f->MnuSavAs->trigger();
    QCOMPARE(session.hooks.fileRequests.size(), 1);
    const FileDialogRequest request = session.hooks.fileRequests[0];
    QVERIFY(request.save);
    // Each type's pattern is shown once in the dialog.
    QCOMPARE(filterPatterns(request.filter), (QStringList{"KVX Data Files (*.kvx)", "All Files (*.*)"}));
    QCOMPARE(request.defaultExt, QString("kvx"));
    QCOMPARE(request.initDir, AppPath());
    QVERIFY(test::fileBytes(other).startsWith("\"TEST SITE B\",2,3,2\r\n"));
    QCOMPARE(test::fileBytes(session.dataFile), loaded);

    // Save writes the file the exchange was loaded from, not the last one chosen.
    const QByteArray savedAs = test::fileBytes(other);
    QTest::keyClicks(f->txtSiteName, "C");
    f->MnuSav->trigger();
    QVERIFY(test::fileBytes(session.dataFile).startsWith("\"TEST SITE BC\""));
    QCOMPARE(test::fileBytes(other), savedAs);
    QCOMPARE(session.hooks.messages.size(), 0);
}

void TestEditor::closing_data()
{
    QTest::addColumn<int>("answer");   // to "Save Changes?" after Exit; 0: the close box
    QTest::addColumn<QString>("file"); // what the save dialog answers; empty: Cancel
    QTest::addColumn<bool>("stays");
    QTest::newRow("Exit, Yes, then Cancel") << int(vbYes) << "" << true;
    QTest::newRow("Exit, Yes, then a file") << int(vbYes) << "saved.kvx" << true;
    QTest::newRow("Exit, No") << int(vbNo) << "" << false;
    QTest::newRow("Exit, Cancel") << int(vbCancel) << "" << true;
    QTest::newRow("close box") << 0 << "" << false;
}

void TestEditor::closing()
{
    QFETCH(int, answer);
    QFETCH(QString, file);
    QFETCH(bool, stays);
    test::EditorSession session;
    frmAlter *f = session.open(test::testRoom());
    QVERIFY(f);
    const QByteArray loaded = test::fileBytes(session.dataFile);
    // Edits of each tab: a card, the site name, a ring's colour and members.
    test::doubleClick(&f->txtCard(1));
    test::typeOver(&f->txtCard(1), "EDITED");
    test::click(&f->txtCard(2));
    f->SSTab1->setTab(1);
    test::typeOver(f->txtSiteName, "NEW SITE");
    f->SSTab1->setTab(2);
    session.hooks.setNextColor(0x00FF00);
    test::clickItem(&f->frameMas(2), f->clrMas(2));
    test::click(&f->txtMas(2));
    test::typeOver(&f->txtMas(2), "XA0,UC-01");
    if (!file.isEmpty())
        session.hooks.setNextFile(session.path(file));
    session.hooks.setNextAnswer(answer);
    if (answer)
        f->mnuEx->trigger();
    else
        QVERIFY(f->close());

    QCOMPARE(session.hooks.messages.size(), answer ? 1 : 0);
    if (answer)
        QVERIFY(session.hooks.messages[0].text == "Do you want to Save the Changes" && session.hooks.messages[0].style == 35);
    QCOMPARE(session.hooks.fileRequests.size(), answer == vbYes ? 1 : 0);
    QCOMPARE(test::fileBytes(session.dataFile), loaded);
    QCOMPARE(folderEntries(session.dir.path()), QStringList({"room.kvx", file}).mid(0, file.isEmpty() ? 1 : 2));
    if (!file.isEmpty()) {
        const auto saved = test::readBack(session.path(file));
        QVERIFY(saved);
        QCOMPARE(saved->CardName(1, 1, 1, 1).str(), QString("EDITED"));
        QCOMPARE(members(saved->Mas2Ring).mid(0, 3), QStringList({"XA0", "UC-01", "*"}));
    }
    QCOMPARE(frmAlter::loaded() == f, stays);
    QCOMPARE(f->isVisible(), stays);
    QCOMPARE(ringControls() == f, stays);
    if (stays)
        return;
    QVERIFY(!f->txtSlot.exists(1)); // the rows are gone
    // Opened again, the model keeps the edits; typed member lists lived in the window only.
    f = session.open();
    QVERIFY(f);
    QCOMPARE(QStringList({f->txtCard(1).Text(), f->txtSiteName->Text(), f->txtMas(2).Text()}),
             QStringList({"EDITED", "NEW SITE", "XA0"}));
    QCOMPARE(f->clrMas(2).BackColor(), quint32(0x00FF00));
}

void TestEditor::saveRefused_data()
{
    QTest::addColumn<bool>("saveAs");
    QTest::addColumn<QString>("target"); // relative to the program folder; empty: the data file
    QTest::addColumn<int>("names");      // typed into MAS1; 0: none
    QTest::addColumn<QString>("told");   // in the message; empty: saved
    QTest::newRow("Save, folder gone") << false << "gone/room.kvx" << 0 << "Cannot write file ";
    QTest::newRow("Save As, folder gone") << true << "gone/new.kvx" << 0 << "Cannot write file ";
    QTest::newRow("Save As, a folder") << true << "folder" << 0 << "Cannot write file ";
    QTest::newRow("Save, disk full") << false << "disk/room.kvx" << 0 << "No space left on device";
    QTest::newRow("Save, 15 ring members") << false << "" << 15 << "MAS1";
    QTest::newRow("Save As, 15 ring members") << true << "new.kvx" << 15 << "MAS1";
    // Fourteen names are the most a file holds, and they are written.
    QTest::newRow("Save, 14 ring members") << false << "" << 14 << "";
    QTest::newRow("Save As, 14 ring members") << true << "new.kvx" << 14 << "";
}

void TestEditor::saveRefused()
{
    QFETCH(bool, saveAs);
    QFETCH(QString, target);
    QFETCH(int, names);
    QFETCH(QString, told);
    test::EditorSession session;
    QVERIFY(QDir(session.dir.path()).mkdir("folder") && QDir(session.dir.path()).mkdir("disk"));
    std::optional<test::TinyDisk> disk;
    if (target.startsWith("disk/")) {
        disk.emplace(session.path("disk"));
        if (!disk->mounted())
            QSKIP("cannot mount a tmpfs here");
        session.dataFile = session.path(target);
    }
    frmAlter *f = session.open(test::testRoom(), 2);
    QVERIFY(f);
    QVERIFY(!disk || disk->fill());
    const QStringList typed = listOf(1, names, [](int n) { return QStringLiteral("R%1").arg(n); });
    if (names) {
        test::click(&f->txtMas(1));
        test::typeOver(&f->txtMas(1), typed.join(','));
    }
    const QByteArray before = test::fileBytes(session.dataFile);
    const QString path = target.isEmpty() ? session.dataFile : session.path(target);
    if (saveAs) {
        session.hooks.setNextFile(path);
        f->MnuSavAs->trigger();
    } else {
        ModMain.DataFile = Files::bytesFromPath(path);
        f->MnuSav->trigger();
    }
    QVERIFY(frmAlter::loaded() == f);
    if (told.isEmpty()) {
        QCOMPARE(session.hooks.messages.size(), 0);
        QVERIFY(!f->hasUnsavedEdits());
        const auto back = test::readBack(path);
        QVERIFY(back);
        QCOMPARE(members(back->Mas1Ring), typed + QStringList({"*"}));
        return;
    }
    QCOMPARE(session.hooks.messages.size(), 1);
    const QString shown = session.hooks.messages[0].text;
    QCOMPARE(session.hooks.messages[0].style, int(vbInformation));
    QVERIFY2(shown.contains(told), qPrintable(shown));
    if (!names)
        QVERIFY(shown.startsWith("Cannot write file " + QDir::toNativeSeparators(path) + ": ") && !shown.endsWith(": "));
    // What stood on disk stays as it was, and the edits are still to be saved.
    QCOMPARE(test::fileBytes(session.dataFile), before);
    QVERIFY(!QFile::exists(session.path("new.kvx")));
    QCOMPARE(f->hasUnsavedEdits(), names > 0);
}

void TestEditor::untouchedBytesSurvive_data()
{
    QTest::addColumn<bool>("sample"); // else names that are not UTF-8, as an older file may hold them
    QTest::newRow("the sample") << true;
    QTest::newRow("names not UTF-8") << false;
}

void TestEditor::untouchedBytesSurvive()
{
    QFETCH(bool, sample);
    Exchange x = test::testRoom();
    x.SiteName = Loose("CENTRAL \xC9" "CHANGE");
    x.CardName.set(Loose("C\xE9" "1"), 1, 1, 1, 1);
    test::putRing(x.Mas1Ring, {"UC-01", "\xC9X"});
    test::EditorSession session;
    QVERIFY(session.loadBytes(sample ? test::fileBytes(QFINDTESTDATA("../app/config.kvx")) : test::fileOf(x)));
    frmAlter *f = session.open();
    QVERIFY(f);
    QVERIFY(sample || f->txtCard(1).Text() == QString::fromUtf8("C\u00e91"));
    const QStringList racks = listOf(0, f->lstRackName->ListCount() - 1, [f](int i) { return f->lstRackName->List(i); });
    test::chooseRack(f->lstRackName, racks.indexOf("UC-01")); // with cards on its first shelf
    // Opened, looked at and left as they were; each tab to a PNG for people to look at.
    test::doubleClick(&f->txtCard(1));
    test::click(&f->txtCard(2));
    const QString folder = qEnvironmentVariable("KVX_BUILD_DIR", QDir::currentPath()) + "/screenshots";
    QVERIFY(QDir().mkpath(folder));
    const char *const tabs[] = {"small", "major", "ring"};
    for (int tab = 0; tab < 3; ++tab) {
        f->SSTab1->setTab(tab);
        test::click(tab == 1 ? f->txtSiteName : tab == 2 ? &f->txtMas(1) : &f->txtCard(2));
        QVERIFY(!sample || f->grab().save(folder + "/editor-" + tabs[tab] + "-change.png"));
    }
    // Saved as another file: the bytes the checker makes of the file read.
    session.hooks.setNextFile(session.path("copy.kvx"));
    f->MnuSavAs->trigger();
    QCOMPARE(session.hooks.messages.size(), 0);
    QProcess check;
    check.start(qEnvironmentVariable("KVX_BUILD_DIR", QCoreApplication::applicationDirPath() + "/..") + "/kvx-check",
                {QStringLiteral("--normalize"), session.dataFile});
    QVERIFY(check.waitForFinished(20000) && check.exitCode() == 0);
    const QByteArray normalized = check.readAllStandardOutput();
    QCOMPARE(test::fileBytes(session.path("copy.kvx")), normalized);
    QVERIFY(sample || normalized == test::fileBytes(session.dataFile));
}

void TestEditor::ringCountWhenSaving_data()
{
    QTest::addColumn<int>("noOfMas");
    QTest::addColumn<QList<int>>("clicked"); // the MAS boxes clicked
    QTest::addColumn<bool>("typed");         // members typed into the boxes ticked
    QTest::addColumn<int>("saved");          // NoOfMas after the save
    QTest::addColumn<QString>("mis");        // pasted over MIS; empty: left as it was
    QTest::addColumn<QStringList>("records"); // the ring records written
    const QStringList three{"MIS", "MAS1", "MAS2"};
    const QStringList four = three + QStringList{"MAS3"};
    QTest::newRow("tick MAS3") << 2 << QList<int>({3}) << true << 3 << "" << four;
    QTest::newRow("tick MAS3, no members") << 2 << QList<int>({3}) << false << 3 << "" << four;
    QTest::newRow("three, untouched") << 3 << QList<int>() << true << 3 << "" << four;
    QTest::newRow("clear MAS4") << 4 << QList<int>({4}) << true << 3 << "" << four;
    QTest::newRow("MAS4 alone") << 2 << QList<int>({4}) << true << 2 << "" << three + QStringList{"MAS4"};
    QTest::newRow("clear both") << 4 << QList<int>({3, 4}) << true << 2 << "" << three;
    QTest::newRow("tick both") << 2 << QList<int>({3, 4}) << true << 4 << "" << four + QStringList{"MAS4"};
    // Line ends are refused, pasted first or later.
    QTest::newRow("tick MAS3, new MIS members") << 2 << QList<int>({3}) << true << 3 << "\r\n XA0 , 12 ,\r\nUC-01" << four;
    QTest::newRow("clear MAS4, new MIS members") << 4 << QList<int>({4}) << true << 3 << "SDE-01" << four;
}

void TestEditor::ringCountWhenSaving()
{
    QFETCH(int, noOfMas);
    QFETCH(QList<int>, clicked);
    QFETCH(bool, typed);
    QFETCH(int, saved);
    QFETCH(QString, mis);
    QFETCH(QStringList, records);
    test::EditorSession session;
    const Exchange room = test::testRoom(noOfMas);
    frmAlter *f = session.open(room, 2);
    QVERIFY(f);
    const QStringList loadedRings = ringTables(ModMain);
    // As loaded: MIS, MAS1 and MAS2 always ticked, a click does not clear them.
    test::click(&f->chkmas(2));
    QCOMPARE(ticks(f), QList<int>({1, 1, 1, noOfMas >= 3, noOfMas >= 4}));
    QCOMPARE(ringTexts(f), listOf(0, 4, [&](int k) { return k <= noOfMas ? displayText(ringMemberText(room.ring(k))) : ""; }));
    QCOMPARE(frmSwitch::get().MnuMAS3->Enabled(), noOfMas >= 3);
    QCOMPARE(frmSwitch::get().MnuMAS4->Enabled(), noOfMas >= 4);
    if (!mis.isEmpty()) {
        test::click(f->txtMis);
        pasteOver(f->txtMis, mis);
        QCOMPARE(f->txtMis->Text(), QString(mis).remove('\r').remove('\n'));
    }
    for (int k : clicked) {
        test::click(&f->chkmas(k));
        if (typed && f->chkmas(k).Value() == 1) {
            test::click(&f->txtMas(k));
            QTest::keyClicks(&f->txtMas(k), QStringLiteral("UC-01,UD-0%1").arg(k));
        }
    }
    // Typed lists enter the model only when they are saved.
    QCOMPARE(ringTables(ModMain), loadedRings);
    f->MnuSav->trigger();
    QCOMPARE(session.hooks.messages.size(), 0);
    QCOMPARE(ModMain.NoOfMas, saved);
    const QByteArray bytes = test::fileBytes(session.dataFile);
    QVERIFY(bytes.startsWith("\"TEST SITE\",2,3," + QByteArray::number(saved) + "\r\n"));
    QStringList found;
    for (const QByteArray &line : bytes.split('\n')) {
        if (line == "MIS\r" || (line.startsWith("MAS") && line.size() == 5))
            found << QString::fromLatin1(line.chopped(1));
    }
    QCOMPARE(found, records);
    const auto back = test::readBack(session.dataFile);
    QVERIFY(back);
    // A new ring as typed; untyped, one empty member before the end of the list.
    if (saved >= 3 && noOfMas == 2)
        QCOMPARE(members(back->Mas3Ring).mid(0, typed ? 3 : 2), typed ? QStringList({"UC-01", "UD-03", "*"}) : QStringList({"", "*"}));
    // The model holds the rings as reading the file gives them, blanks around
    // names dropped and a name that reads as a number a number.
    QCOMPARE(ringTables(ModMain), ringTables(*back));
    if (mis.contains("12"))
        QCOMPARE(ringTables(ModMain)[0].section(',', 0, 3), QString("XA0,#12,UC-01,*"));

    // Closed and opened again, the editor shows them, and saved again they stay.
    session.hooks.setNextAnswer(vbNo);
    f->mnuEx->trigger();
    f = session.open();
    QVERIFY(f);
    QCOMPARE(ticks(f), QList<int>({1, 1, 1, saved >= 3, saved >= 4}));
    QCOMPARE(ringTexts(f), listOf(0, 4, [&](int k) { return k <= saved ? displayText(ringMemberText(back->ring(k))) : ""; }));
    f->MnuSav->trigger();
    QCOMPARE(session.hooks.messages.size(), 1); // the Exit question only
    QCOMPARE(ringTables(*test::readBack(session.dataFile)), ringTables(*back));
}

void TestEditor::colours()
{
    test::EditorSession session;
    frmAlter *f = session.open(test::testRoom(4), 2);
    QVERIFY(f);
    const auto colourIn = [](const Exchange &x, int ring) { return ring ? qint64(x.MasColor(ring).number()) : qint64(x.MisColor); };
    for (const int ring : {0, 2, 4}) { // MIS, MAS2 and MAS4
        Label *swatch = ring == 0 ? f->clrMis : &f->clrMas(ring);
        Container *frame = ring == 0 ? f->Frame5 : &f->frameMas(ring);
        const qint64 loaded = ring ? 0x10000 * ring : 255;
        // Cancel changes nothing.
        test::clickItem(frame, *swatch);
        QCOMPARE(colourIn(ModMain, ring), loaded);
        QCOMPARE(qint64(swatch->BackColor()), loaded);
        session.hooks.setNextColor(0x123456 + ring);
        test::clickItem(frame, *swatch);
        QCOMPARE(colourIn(ModMain, ring), qint64(0x123456 + ring));
        QCOMPARE(swatch->BackColor(), quint32(0x123456 + ring));
    }
    QCOMPARE(session.hooks.colorRequests, 6);
    f->MnuSav->trigger();
    const auto back = test::readBack(session.dataFile);
    QVERIFY(back);
    for (const int ring : {0, 2, 4})
        QCOMPARE(colourIn(*back, ring), qint64(0x123456 + ring));
}

void TestEditor::gridGeometry_data()
{
    QTest::addColumn<int>("shoots");
    QTest::addColumn<int>("places");
    QTest::addColumn<int>("box");
    QTest::addColumn<QPointF>("boxAt");
    QTest::addColumn<QSizeF>("frame");
    QTest::addColumn<QPoint>("maxes"); // of the bars; 0 for a disabled one
    QTest::newRow("3 x 4") << 3 << 4 << 7 << QPointF(1390, 505) << QSizeF(6975, 2895) << QPoint(0, 0);
    QTest::newRow("10 places") << 2 << 10 << 20 << QPointF(5835, 505) << QSizeF(7435, 2895) << QPoint(1, 0);
    QTest::newRow("6 shoots") << 6 << 3 << 18 << QPointF(1390, 2045) << QSizeF(6975, 2895) << QPoint(0, 0);
    // 10760 / 6975 and 6280 / 2895 round to 2.
    QTest::newRow("15 x 15") << 15 << 15 << 225 << QPointF(9010, 5510) << QSizeF(10760, 6280) << QPoint(2, 2);
}

void TestEditor::gridGeometry()
{
    QFETCH(int, shoots);
    QFETCH(int, places);
    QFETCH(int, box);
    QFETCH(QPointF, boxAt);
    QFETCH(QSizeF, frame);
    QFETCH(QPoint, maxes);
    test::EditorSession session;
    frmAlter *f = session.open(roomOf(shoots, places, {{QPoint(1, 1), "UC-01"}}), 1);
    QVERIFY(f);
    QCOMPARE(f->lblEdRack.count(), shoots * places + 1);
    const Label &b = f->lblEdRack(box);
    QVERIFY(b.Visible() && !f->lblEdRack(0).Visible());
    QCOMPARE(QPointF(b.Left(), b.Top()), boxAt);
    QCOMPARE(QSizeF(f->Frame6->Width(), f->Frame6->Height()), frame);
    QCOMPARE(QPoint(f->HScroll1->isEnabled() * f->HScroll1->Max(), f->VScroll1->isEnabled() * f->VScroll1->Max()), maxes);
    QCOMPARE(QStringList({f->lblEdRack(1).Caption(), b.Caption()}), QStringList({"UC-01", ""}));
}

void TestEditor::gridScrolling()
{
    test::EditorSession session;
    frmAlter *f = session.open(roomOf(2, 10), 1);
    QVERIFY(f);
    // The right arrow of the bar.
    QTest::mouseClick(f->HScroll1, Qt::LeftButton, {}, QPoint(f->HScroll1->width() - 3, f->HScroll1->height() / 2));
    QCOMPARE(f->Frame6->Left(), -460.0);
    // A rebuild keeps the bar's value and puts the grid where that value says.
    resizeRoom(f, 2, 15);
    QCOMPARE(f->HScroll1->Value(), 1);
    QCOMPARE(f->Frame6->Left(), -(10760.0 - 6975) / 2);
    // A grid that no longer needs the bar is not left shifted behind it.
    resizeRoom(f, 2, 4);
    QVERIFY(!f->HScroll1->isEnabled());
    QCOMPARE(f->Frame6->Left(), 0.0);
}

void TestEditor::selection_data()
{
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::newRow("left button") << Qt::LeftButton;
    QTest::newRow("right button") << Qt::RightButton;
}

void TestEditor::selection()
{
    QFETCH(Qt::MouseButton, button);
    test::EditorSession session;
    frmAlter *f = session.open(test::testRoom(), 1);
    QVERIFY(f);
    // The box is selected, with its stations shown, before the menu appears.
    QStringList seenAtPopup;
    setPopupMenuHook([&](Menu *menu) {
        QVERIFY(menu == f->mnuEdit);
        seenAtPopup = stationBoxes(f) << QString::number(f->lblEdRack(5).BackColor(), 16);
    });
    const auto unhook = qScopeGuard([] { setPopupMenuHook({}); });
    pressBox(f, 5, button); // the second UC-01, at 2, 2
    QCOMPARE(QList<int>({f->edSelIndex(), f->edShoot(), f->edPlace()}), QList<int>({5, 2, 2}));
    QCOMPARE(stationBoxes(f), QStringList({"SMM", "SMT", "SMA", "", ""}));
    QCOMPARE(f->lblEdRack(5).BackColor(), Green);
    const QStringList popup = {"SMM", "SMT", "SMA", "", "", "87f411"};
    QCOMPARE(seenAtPopup, button == Qt::RightButton ? popup : QStringList());
    // The next box takes the green; the first gets its own colour back.
    pressBox(f, 2, button); // an empty place
    QCOMPARE(f->lblEdRack(5).BackColor(), SysWindowBackground);
    QCOMPARE(f->lblEdRack(2).BackColor(), Green);
    QCOMPARE(stationBoxes(f), QStringList({"", "", "", "", ""}));
    pressBox(f, 1, button);
    QCOMPARE(f->lblEdRack(2).BackColor(), f->Frame6->BackColor());
    QCOMPARE(session.hooks.messages.size(), 0);
}

void TestEditor::remove_data()
{
    QTest::addColumn<int>("box"); // in two shoots of three places
    QTest::addColumn<QString>("message");
    QTest::newRow("empty place") << 2 << "Already Vaccunt";
    QTest::newRow("rack at 2, 2") << 5 << "";
    // Off the diagonal, where shoot and place taken for each other point elsewhere.
    QTest::newRow("rack at 2, 1") << 4 << "";
    QTest::newRow("rack at 1, 3") << 3 << "";
}

void TestEditor::remove()
{
    QFETCH(int, box);
    QFETCH(QString, message);
    Exchange x = test::testRoom();
    if (message.isEmpty())
        test::putRack(x, 1, 2, "UE-02", {"SME"});
    test::EditorSession session;
    frmAlter *f = session.open(x, 1);
    QVERIFY(f);
    const int s = (box - 1) / 3 + 1;
    const int p = (box - 1) % 3 + 1;
    const QString cards = test::shelfOf(ModMain, s, p, 5);
    test::PopupChooser chooser({QStringLiteral("Remove")});
    pressBox(f, box, Qt::RightButton);
    QCOMPARE(f->lblEdRack(box).Caption(), QString());
    QCOMPARE(stations(ModMain, s, p), QStringList({"", "", "", "", ""}));
    // Only that place is emptied: the grid shows what the model holds.
    const QStringList named = listOf(1, 6, [](int i) { return ModMain.RackName((i - 1) / 3 + 1, (i - 1) % 3 + 1).str(); });
    QCOMPARE(named, listOf(1, 6, [f](int i) { return f->lblEdRack(i).Caption(); }));
    QCOMPARE(named.count(QString()), 1);
    if (!message.isEmpty()) {
        QCOMPARE(session.hooks.messages.size(), 1);
        QCOMPARE(session.hooks.messages[0].text, message);
        QCOMPARE(f->lblEdRack(box).BackColor(), Green);
        return;
    }
    QCOMPARE(session.hooks.messages.size(), 0);
    QCOMPARE(stationBoxes(f), QStringList({"", "", "", "", ""}));
    QCOMPARE(test::shelfOf(ModMain, s, p, 5), cards); // out of sight behind the empty name
    // Once deselected the box shows an empty place.
    pressBox(f, 1);
    QCOMPARE(f->lblEdRack(box).BackColor(), f->Frame6->BackColor());
}

void TestEditor::stationNames()
{
    test::EditorSession session;
    frmAlter *f = session.open(test::testRoom(), 1);
    QVERIFY(f);
    pressBox(f, 1);
    TextBox &second = f->txtEdShelf(1);
    // Locked until double-clicked.
    test::click(&second);
    QCOMPARE(second.BackColor(), Green);
    QTest::keyClicks(&second, "XY");
    QCOMPARE(second.Text(), QString("SMT"));
    test::doubleClick(&second);
    // Commas and line ends are refused, typed or pasted.
    test::typeOver(&second, "S,M");
    QApplication::clipboard()->setText(QStringLiteral("X\r\n2,"));
    QTest::keyClick(&second, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(ModMain.StationName(1, 1, 2).str(), QString("SMX2"));
    // Down leaves the box locked and white; it wraps from the fifth to the first.
    QTest::keyClick(&second, Qt::Key_Down);
    QVERIFY(hasFocus(&f->txtEdShelf(2)));
    QVERIFY(second.Locked() && second.BackColor() == ColorWhite);
    for (int k = 2; k <= 4; ++k)
        QTest::keyClick(&f->txtEdShelf(k), Qt::Key_Down);
    QVERIFY(hasFocus(&f->txtEdShelf(0)));
    QTest::keyClick(&f->txtEdShelf(0), Qt::Key_Up);
    QVERIFY(hasFocus(&f->txtEdShelf(4)));
    // Selecting another place and back shows what was typed.
    pressBox(f, 3);
    QCOMPARE(stationBoxes(f), QStringList({"SMX", "SMX", "SMXC", "SMX", "SMX"}));
    pressBox(f, 1);
    QCOMPARE(stationBoxes(f), QStringList({"SMC", "SMX2", "SMA", "", ""}));
}

void TestEditor::insertMenu()
{
    test::EditorSession session;
    frmAlter *f = session.open(test::testRoom());
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

void TestEditor::insert_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("box"); // in two shoots of three places, UC-01 at 1, 1 and UD-02 at 1, 3
    QTest::addColumn<QString>("temp"); // the temporary folder: "" as it is, "missing" or "full"
    QTest::addColumn<QString>("message"); // what is told; empty: inserted
    for (const char *name : {"UE-05", "UD-10", "UC-03", "XA-2B", "XA0", "XB-3A", "CA", "SDE-02"})
        QTest::newRow(name) << name << 5 << "" << "";
    QTest::newRow("place taken") << "UE-07" << 3 << "" << "If You Want to Replace the Rack, Please Remove This Rack First";
    QTest::newRow("name in the room") << "UC-01" << 2 << "" << "UC-01     Rack Already Exist.";
    QTest::newRow("no temporary folder") << "UE-05" << 2 << "missing" << ": No temporary folder";
    QTest::newRow("full temporary folder") << "UE-05" << 2 << "full" << ": No space left on device";
}

void TestEditor::insert()
{
    QFETCH(QString, name);
    QFETCH(int, box);
    QFETCH(QString, temp);
    QFETCH(QString, message);
    test::EditorSession session;
    frmAlter *f = session.open(roomOf(2, 3, {{QPoint(1, 1), "UC-01"}, {QPoint(1, 3), "UD-02"}}), 1);
    QVERIFY(f);
    const int s = (box - 1) / 3 + 1;
    const int p = (box - 1) % 3 + 1;
    const QString folder = temp.isEmpty() ? m_temp.path() : m_temp.filePath(temp);
    std::optional<test::TinyDisk> disk;
    if (temp == "full") {
        QVERIFY(QDir().mkpath(folder));
        disk.emplace(folder);
        if (!disk->mounted())
            QSKIP("cannot mount a tmpfs here");
        QVERIFY(disk->fill());
    }
    qputenv("TMPDIR", QFile::encodeName(folder));
    const QStringList tempBefore = folderEntries(folder);
    const QString before = ModMain.RackName(s, p).str();
    const QStringList stationsBefore = stations(ModMain, s, p);
    insertAt(f, box, name);
    QCOMPARE(folderEntries(folder), tempBefore); // no template file stays behind
    if (!message.isEmpty()) {
        // Refused: the place stays as it was.
        QCOMPARE(session.hooks.messages.size(), 1);
        const QString told = session.hooks.messages[0].text;
        QVERIFY2(told.contains(message) && (temp.isEmpty() || told.startsWith("Cannot write file ")), qPrintable(told));
        QCOMPARE(f->lblEdRack(box).Caption(), before);
        QCOMPARE(ModMain.RackName(s, p).str(), before);
        QCOMPARE(stations(ModMain, s, p), stationsBefore);
        QCOMPARE(ModMain.SlotNo(s, p, 1, 1).isEmpty(), before.isEmpty());
        if (temp.isEmpty())
            return;
        // With the folder back the same insertion goes through.
        qputenv("TMPDIR", QFile::encodeName(m_temp.path()));
        insertAt(f, box, name);
        QCOMPARE(session.hooks.messages.size(), 1);
    }
    QCOMPARE(session.hooks.messages.size(), message.isEmpty() ? 0 : 1);
    QCOMPARE(f->lblEdRack(box).Caption(), name);
    QCOMPARE(ModMain.RackName(s, p).str(), name);
    // The stations and cards of the rack's family, read by the data file's rules.
    const RackTemplate *t = templateForRackName(name.toUtf8());
    for (int k = 1; k <= 5; ++k) {
        QCOMPARE(ModMain.StationName(s, p, k).str(), QString::fromLatin1(t->stations[size_t(k - 1)]));
        QCOMPARE(test::shelfOf(ModMain, s, p, k), templateShelf(name, k));
    }
    QVERIFY(ModMain.SlotNo(s, p, 1, int(t->shelves[0].size()) + 1).isNumber());
    // The box turns white at once and stays so when the selection moves on;
    // the station boxes show the new stations when the place is chosen again.
    QCOMPARE(f->lblEdRack(box).BackColor(), ColorWhite);
    pressBox(f, 6);
    QCOMPARE(f->lblEdRack(box).BackColor(), ColorWhite);
    pressBox(f, box);
    QCOMPARE(stationBoxes(f), stations(ModMain, s, p));
}

void TestEditor::insertedRackShownAfterRefresh()
{
    // The program as started, its editor inserting into an empty place, Save, then Refresh.
    test::ProgramFixture program;
    test::TestRoom room;
    room.rows = {{"UC-01", "", "UD-02"}};
    QVERIFY(program.start(room));
    const auto close = qScopeGuard([] { frmAlter::discard(); });
    frmAlter::showEditor();
    frmAlter *f = frmAlter::loaded();
    QVERIFY(f && QTest::qWaitForWindowExposed(f));
    f->SSTab1->setTab(1);
    insertAt(f, 2, QStringLiteral("UE-05"));
    f->MnuSav->trigger();
    QCOMPARE(program.hooks.messages.size(), 0);
    frmSwitch &form = frmSwitch::get();
    form.mnuRefresh->trigger();
    QVERIFY(test::openRack("UE-05") && test::openDoors());
    QVERIFY(test::clickOn(form.imgShelf(0)));
    test::growShelf();
    QCOMPARE(form.lblShelfName->Caption(), QString("SMC"));
    QCOMPARE(form.CardCount, int(templateForRackName("UE-05")->shelves[0].size()));
}

QTEST_MAIN(TestEditor)
#include "test_editor.moc"
