// The editor window as a person uses it: opening it, choosing racks and
// shelves, the room's name and size, Save, Save As and Exit with their
// dialogs answered through the hooks, and a round trip of the sample file.

#include "editorhelpers.h"

#include "platform/combobox.h"
#include "platform/commandbutton.h"
#include "platform/menu.h"
#include "platform/picturebox.h"
#include "platform/scrollbar.h"
#include "platform/tabcontrol.h"

#include <QDir>
#include <QScreen>
#include <QProcess>

using namespace kvx;

namespace {

QStringList listEntries(const ListBox *list)
{
    QStringList out;
    for (int i = 0; i < list->ListCount(); ++i)
        out << list->List(i);
    return out;
}

QStringList stationCaptions(frmAlter *f)
{
    QStringList out;
    for (int k = 0; k <= 4; ++k)
        out << f->optStation(k).Caption();
    return out;
}

QStringList cardNames(frmAlter *f)
{
    QStringList out;
    for (int n = 1; n <= f->cardRows(); ++n)
        out << f->txtCard(n).Text();
    return out;
}

QString kvxCheck()
{
    return qEnvironmentVariable("KVX_BUILD_DIR", QCoreApplication::applicationDirPath() + QStringLiteral("/..")) +
           QStringLiteral("/kvx-check");
}

} // namespace

class TestEditorWindow : public QObject
{
    Q_OBJECT

private slots:
    void loadSteps();
    void rackAndShelfChoice();
    void roomWithoutRacks();
    void showingAgainBringsItForward();
    void placedBesideTheMainWindow();
    void siteNameOnEveryKeystroke();
    void roomGrows_data();
    void roomGrows();
    void bigRoomKeepsItsSize();
    void saveAsThenSave();
    void exit_data();
    void exit();
    void exitNoKeepsTheModelEdits();
    void closeBoxAsksNothing();
    void saveFailureIsShown_data();
    void saveFailureIsShown();
    void roundTripOfTheSample();
    void untouchedBytesSurvive();
};

void TestEditorWindow::loadSteps()
{
    test::EditorSession session;
    QVERIFY(session.load(test::testRoom()));
    frmAlter *f = session.open();
    QVERIFY(f);
    QCOMPARE(f->Caption(), QString("KVX-410 Configuration Editor"));
    QCOMPARE(f->ScaleWidth(), 8880.0);
    QCOMPARE(f->ScaleHeight(), 5895.0);
    QCOMPARE(f->mnuFile->Caption(), QString("&File"));
    QStringList items;
    for (const Menu *item : f->mnuFile->items())
        items << item->Caption();
    QCOMPARE(items, QStringList({"&Save", "Save &As", "-", "E&xit"}));
    QCOMPARE(f->mnuEdit->Caption(), QString("&Edit"));
    QVERIFY(!f->mnuEdit->action()->isVisible());
    QCOMPARE(f->SSTab1->Tabs(), 3);
    QCOMPARE(f->SSTab1->TabCaption(0), QString("Small Change"));
    QCOMPARE(f->SSTab1->TabCaption(1), QString("Major Change"));
    QCOMPARE(f->SSTab1->TabCaption(2), QString("Ring Change"));
    QCOMPARE(f->SSTab1->Tab(), 0);
    QVERIFY(ringControls() == f);

    // The racks in shoot-major order, the first one chosen with its first shelf.
    QCOMPARE(listEntries(f->lstRackName), QStringList({"UC-01", "UD-02", "XA0", "UC-01", "SDE-01"}));
    QCOMPARE(f->lstRackName->ListIndex(), 0);
    QCOMPARE(f->lblPosition->Caption(), QString("1 X 1"));
    QVERIFY(f->optStation(0).Value());
    QCOMPARE(stationCaptions(f), QStringList({"SMC", "SMT", "SMA", "", ""}));
    QCOMPARE(cardNames(f), QStringList({"C1", "C2", "C3", "C4", "C5"}));

    QCOMPARE(f->txtSiteName->Text(), QString("TEST SITE"));
    QCOMPARE(f->cmbShoot->ListCount(), 15);
    QCOMPARE(f->cmbShoot->ListIndex(), 1);
    QCOMPARE(f->cmbDeRack->ListIndex(), 2);
    QCOMPARE(session.hooks.messages.size(), 0);
}

void TestEditorWindow::rackAndShelfChoice()
{
    test::EditorSession session;
    QVERIFY(session.load(test::testRoom()));
    frmAlter *f = session.open();
    QVERIFY(f);
    // The second of two racks with one name shows its own place.
    test::chooseRack(f->lstRackName, 3);
    QCOMPARE(f->lstRackName->Text(), QString("UC-01"));
    QCOMPARE(f->lblPosition->Caption(), QString("2 X 2"));
    QCOMPARE(stationCaptions(f), QStringList({"SMM", "SMT", "SMA", "", ""}));
    QCOMPARE(cardNames(f), QStringList({"G1"}));

    // Shelf 3 stays chosen from rack to rack.
    test::chooseRack(f->lstRackName, 0);
    test::clickOption(&f->optStation(2));
    QCOMPARE(f->detStation(), 2);
    QCOMPARE(cardNames(f), QStringList({"E1", "E2", "E3"}));
    QVERIFY(QApplication::focusWidget() == &f->txtCard(1));
    QCOMPARE(f->curRow(), 1);
    test::chooseRack(f->lstRackName, 1);
    QCOMPARE(f->lblPosition->Caption(), QString("1 X 3"));
    QVERIFY(f->optStation(2).Value());
    QCOMPARE(cardNames(f), QStringList({"F1", "F2"}));
    QCOMPARE(f->curRow(), 0);
    // An empty shelf shows no rows and keeps the focus where it was.
    test::clickOption(&f->optStation(3));
    QCOMPARE(f->cardRows(), 0);
    QVERIFY(QApplication::focusWidget() == &f->optStation(3));
}

void TestEditorWindow::roomWithoutRacks()
{
    test::EditorSession session;
    Exchange x = test::testRoom();
    for (int s = 1; s <= 2; ++s) {
        for (int p = 1; p <= 3; ++p)
            x.RackName.set(Loose(""), s, p);
    }
    QVERIFY(session.load(x));
    frmAlter *f = session.open();
    QVERIFY(f);
    QCOMPARE(f->lstRackName->ListCount(), 0);
    QCOMPARE(f->lblPosition->Caption(), QString());
    QCOMPARE(f->cardRows(), 0);
    QVERIFY(!f->cmdAdd->Enabled() && !f->cmdInsert->Enabled() && !f->cmdDelete->Enabled());
    QVERIFY(!f->pic->Enabled() && !f->VScroll->Enabled());
    for (int k = 0; k <= 4; ++k)
        QVERIFY(!f->optStation(k).Enabled());
    QCOMPARE(session.hooks.messages.size(), 0);
    // The rest of the window works as usual.
    QCOMPARE(f->txtSiteName->Text(), QString("TEST SITE"));
    f->MnuSav->trigger();
    QCOMPARE(session.hooks.messages.size(), 0);
    QVERIFY(test::readBack(session.dataFile));
}

void TestEditorWindow::showingAgainBringsItForward()
{
    test::EditorSession session;
    QVERIFY(session.load(test::testRoom()));
    frmAlter *f = session.open();
    QVERIFY(f);
    f->SSTab1->setTab(2);
    test::click(&f->txtMas(1));
    QTest::keyClicks(&f->txtMas(1), ",XA0");
    f->SSTab1->setTab(0);
    test::chooseRack(f->lstRackName, 1);
    f->hide();
    frmAlter::showEditor();
    QCOMPARE(frmAlter::loaded(), f);
    QVERIFY(QTest::qWaitForWindowActive(f));
    // Not loaded again: the typed list and the chosen rack are as they were.
    QCOMPARE(f->txtMas(1).Text(), QString("UC-01,XA0"));
    QCOMPARE(f->lstRackName->ListIndex(), 1);
}

void TestEditorWindow::placedBesideTheMainWindow()
{
    test::EditorSession session;
    QVERIFY(session.load(test::testRoom()));
    frmSwitch &main = frmSwitch::get();
    main.Show();
    QVERIFY(QTest::qWaitForWindowExposed(&main));
    frmAlter *f = session.open();
    QVERIFY(f);
    const QRect screen = f->screen()->availableGeometry();
    QVERIFY2(screen.contains(f->geometry()), qPrintable(QString("%1,%2").arg(f->x()).arg(f->y())));
    // On the main window's right, as far as the screen allows.
    QVERIFY(f->geometry().right() >= std::min(main.frameGeometry().right(), screen.right()) - 16);
    QVERIFY(f->y() > main.y());
}

void TestEditorWindow::siteNameOnEveryKeystroke()
{
    test::EditorSession session;
    QVERIFY(session.load(test::testRoom()));
    frmAlter *f = session.open();
    QVERIFY(f);
    f->SSTab1->setTab(1);
    test::click(f->txtSiteName);
    QTest::keyClick(f->txtSiteName, Qt::Key_End);
    QTest::keyClick(f->txtSiteName, Qt::Key_2);
    QCOMPARE(ModMain.SiteName.str(), QString("TEST SITE2"));
    QTest::keyClick(f->txtSiteName, Qt::Key_Backspace);
    QCOMPARE(ModMain.SiteName.str(), QString("TEST SITE"));
    // What the file cannot carry in the header is not taken.
    QTest::keyClicks(f->txtSiteName, "\",B");
    QCOMPARE(f->txtSiteName->Text(), QString("TEST SITEB"));
    f->MnuSav->trigger();
    QVERIFY(test::fileBytes(session.dataFile).startsWith("\"TEST SITEB\",2,3,2\r\n"));
}

void TestEditorWindow::roomGrows_data()
{
    QTest::addColumn<int>("shoots");
    QTest::addColumn<int>("places");
    QTest::addColumn<QList<int>>("nameBounds");
    QTest::addColumn<QStringList>("savedGrid");
    QTest::newRow("both grow") << 3 << 4 << QList<int>({3, 4})
                               << QStringList({"UC-01,,UD-02,", "XA0,UC-01,SDE-01,", ",,,"});
    QTest::newRow("places grow, shoots shrink") << 1 << 4 << QList<int>({1, 4}) << QStringList({"UC-01,,UD-02,"});
    QTest::newRow("shrinks") << 1 << 2 << QList<int>({2, 3}) << QStringList({"UC-01,"});
    QTest::newRow("same size") << 2 << 3 << QList<int>({2, 3}) << QStringList({"UC-01,,UD-02", "XA0,UC-01,SDE-01"});
}

void TestEditorWindow::roomGrows()
{
    QFETCH(int, shoots);
    QFETCH(int, places);
    QFETCH(QList<int>, nameBounds);
    QFETCH(QStringList, savedGrid);
    test::EditorSession session;
    QVERIFY(session.load(test::testRoom()));
    frmAlter *f = session.open();
    QVERIFY(f);
    f->SSTab1->setTab(1);
    // Chosen with the keyboard, as a person would in a closed drop-down list.
    for (int n = 2; n != shoots; n += shoots > n ? 1 : -1)
        QTest::keyClick(f->cmbShoot, shoots > n ? Qt::Key_Down : Qt::Key_Up);
    for (int n = 3; n != places; n += places > n ? 1 : -1)
        QTest::keyClick(f->cmbDeRack, places > n ? Qt::Key_Down : Qt::Key_Up);
    QCOMPARE(f->cmbShoot->Text(), QString::number(shoots));
    QCOMPARE(f->cmbDeRack->Text(), QString::number(places));
    test::click(f->cmdUpdate);

    QCOMPARE(ModMain.NoOfShoots, shoots);
    QCOMPARE(ModMain.NoOfRacks, places);
    QCOMPARE(ModMain.OldNoOfShoots, 2);
    QCOMPARE(ModMain.OldNoOfRacks, 3);
    QCOMPARE(QList<int>(ModMain.RackName.bounds().begin(), ModMain.RackName.bounds().end()), nameBounds);
    // The station and card tables cover the room and never lose a listed rack.
    for (const LooseTable *t : {&ModMain.StationName, &ModMain.SlotNo, &ModMain.CardName, &ModMain.CardType}) {
        QVERIFY(t->bound(0) >= std::max(shoots, 2));
        QVERIFY(t->bound(1) >= std::max(places, 3));
    }
    QCOMPARE(ModMain.SlotNo(2, 2, 1, 1), 40);
    test::chooseRack(f->lstRackName, 3);
    QCOMPARE(cardNames(f), QStringList({"G1"}));

    f->MnuSav->trigger();
    QCOMPARE(session.hooks.messages.size(), 0);
    const QList<QByteArray> lines = test::fileBytes(session.dataFile).split('\n');
    QCOMPARE(lines[0], QByteArray("\"TEST SITE\",") + QByteArray::number(shoots) + ',' + QByteArray::number(places) + ",2\r");
    for (int s = 0; s < savedGrid.size(); ++s)
        QCOMPARE(QString::fromLatin1(lines[s + 1]), savedGrid[s] + '\r');
    const auto back = test::readBack(session.dataFile);
    QVERIFY(back);
    QCOMPARE(test::shelfOf(*back, 1, 1, 1), QString("5:C1 9:C2 13:C3 17:C4 21:C5"));
}

void TestEditorWindow::bigRoomKeepsItsSize()
{
    test::EditorSession session;
    Exchange x = test::testRoom();
    x.NoOfShoots = 20;
    x.NoOfRacks = 16;
    x.RackName.redimPreserve({20, 16});
    x.sizeRoomTables(20, 16);
    test::putRack(x, 20, 16, "UC-99", {"SMC"});
    QVERIFY(session.load(x));
    frmAlter *f = session.open();
    QVERIFY(f);
    QCOMPARE(f->cmbShoot->ListCount(), 20);
    QCOMPARE(f->cmbDeRack->ListCount(), 16);
    QCOMPARE(f->cmbShoot->Text(), QString("20"));
    QCOMPARE(f->cmbDeRack->Text(), QString("16"));
    test::click(f->cmdUpdate);
    QCOMPARE(ModMain.NoOfShoots, 20);
    QCOMPARE(ModMain.NoOfRacks, 16);
    QCOMPARE(ModMain.RackName(20, 16).str(), QString("UC-99"));
}

void TestEditorWindow::saveAsThenSave()
{
    test::EditorSession session;
    QVERIFY(session.load(test::testRoom()));
    frmAlter *f = session.open();
    QVERIFY(f);
    const QString other = session.path("other.kvx");
    f->SSTab1->setTab(1);
    test::click(f->txtSiteName);
    QTest::keyClick(f->txtSiteName, Qt::Key_End);
    QTest::keyClicks(f->txtSiteName, " B");
    const QByteArray loaded = test::fileBytes(session.dataFile);

    session.hooks.setNextFile(other);
    f->MnuSavAs->trigger();
    QCOMPARE(session.hooks.fileRequests.size(), 1);
    const FileDialogRequest request = session.hooks.fileRequests[0];
    QVERIFY(request.save);
    QCOMPARE(request.filter, QString("KVX Data Files (*.kvx)|*.kvx|All Files (*.*)| *.*"));
    // Each type's pattern is shown once in the dialog.
    QCOMPARE(filterPatterns(request.filter), (QStringList{"KVX Data Files (*.kvx)", "All Files (*.*)"}));
    QCOMPARE(request.defaultExt, QString("kvx"));
    QCOMPARE(request.initDir, AppPath());
    QVERIFY(test::fileBytes(other).startsWith("\"TEST SITE B\""));
    QCOMPARE(test::fileBytes(session.dataFile), loaded);

    // Save writes the file the exchange was loaded from, not the last one chosen.
    const QByteArray savedAs = test::fileBytes(other);
    QTest::keyClicks(f->txtSiteName, "C");
    f->MnuSav->trigger();
    QVERIFY(test::fileBytes(session.dataFile).startsWith("\"TEST SITE BC\""));
    QCOMPARE(test::fileBytes(other), savedAs);
    QCOMPARE(ModMain.DataFile.text(), Files::bytesFromPath(session.dataFile));
    QCOMPARE(session.hooks.messages.size(), 0);
}

void TestEditorWindow::exit_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("file"); // what the save dialog answers; empty: Cancel
    QTest::addColumn<bool>("stays");
    QTest::newRow("Yes, then Cancel") << int(vbYes) << "" << true;
    QTest::newRow("Yes, then a file") << int(vbYes) << "saved.kvx" << true;
    QTest::newRow("No") << int(vbNo) << "" << false;
    QTest::newRow("Cancel") << int(vbCancel) << "" << true;
}

void TestEditorWindow::exit()
{
    QFETCH(int, answer);
    QFETCH(QString, file);
    QFETCH(bool, stays);
    test::EditorSession session;
    QVERIFY(session.load(test::testRoom()));
    frmAlter *f = session.open();
    QVERIFY(f);
    const QByteArray loaded = test::fileBytes(session.dataFile);
    session.hooks.setNextAnswer(answer);
    if (!file.isEmpty())
        session.hooks.setNextFile(session.path(file));
    f->mnuEx->trigger();

    QCOMPARE(session.hooks.messages.size(), 1);
    QCOMPARE(session.hooks.messages[0].text, QString("Do you want to Save the Changes"));
    QCOMPARE(session.hooks.messages[0].title, QString("Save Changes?"));
    QCOMPARE(session.hooks.messages[0].style, 35);
    QCOMPARE(session.hooks.fileRequests.size(), answer == vbYes ? 1 : 0);
    QStringList files({"room.kvx"});
    if (!file.isEmpty())
        files.append(file); // after "room.kvx" by name
    QCOMPARE(QDir(session.dir.path()).entryList(QDir::Files, QDir::Name), files);
    QCOMPARE(test::fileBytes(session.dataFile), loaded);
    QCOMPARE(frmAlter::loaded() == f, stays);
    QCOMPARE(f->isVisible(), stays);
    QCOMPARE(ringControls() == f, stays);
}

void TestEditorWindow::exitNoKeepsTheModelEdits()
{
    test::EditorSession session;
    QVERIFY(session.load(test::testRoom()));
    frmAlter *f = session.open();
    QVERIFY(f);
    test::doubleClick(&f->txtCard(1));
    test::typeOver(&f->txtCard(1), "EDITED");
    test::click(&f->txtCard(2));
    f->SSTab1->setTab(1);
    test::click(f->txtSiteName);
    QTest::keyClicks(f->txtSiteName, "X");
    f->SSTab1->setTab(2);
    session.hooks.setNextColor(0x00FF00);
    test::clickItem(&f->frameMas(2), f->clrMas(2));
    test::click(&f->txtMas(2));
    QTest::keyClicks(&f->txtMas(2), ",UC-01");
    session.hooks.setNextAnswer(vbNo);
    f->mnuEx->trigger();
    QVERIFY(!frmAlter::loaded());

    f = session.open();
    QVERIFY(f);
    QCOMPARE(f->txtCard(1).Text(), QString("EDITED"));
    QCOMPARE(f->txtSiteName->Text(), ModMain.SiteName.str());
    QVERIFY(f->txtSiteName->Text().endsWith("X"));
    QCOMPARE(f->clrMas(2).BackColor(), quint32(0x00FF00));
    // Typed member lists live in the window only.
    QCOMPARE(f->txtMas(2).Text(), QString("XA0"));
}

void TestEditorWindow::closeBoxAsksNothing()
{
    test::EditorSession session;
    QVERIFY(session.load(test::testRoom()));
    frmAlter *f = session.open();
    QVERIFY(f);
    QVERIFY(f->close());
    QCOMPARE(session.hooks.messages.size(), 0);
    QVERIFY(!frmAlter::loaded());
    QVERIFY(!f->txtSlot.exists(1)); // the rows are gone
    QVERIFY(!ringControls());
}

void TestEditorWindow::saveFailureIsShown_data()
{
    QTest::addColumn<bool>("saveAs");
    QTest::addColumn<QString>("target"); // relative to the program folder
    QTest::newRow("Save, folder gone") << false << "gone/room.kvx";
    QTest::newRow("Save As, folder gone") << true << "gone/new.kvx";
    QTest::newRow("Save As, a folder") << true << "folder";
}

void TestEditorWindow::saveFailureIsShown()
{
    QFETCH(bool, saveAs);
    QFETCH(QString, target);
    test::EditorSession session;
    QVERIFY(session.load(test::testRoom()));
    frmAlter *f = session.open();
    QVERIFY(f);
    QVERIFY(QDir(session.dir.path()).mkdir("folder"));
    const QString path = session.path(target);
    if (saveAs) {
        session.hooks.setNextFile(path);
        f->MnuSavAs->trigger();
    } else {
        ModMain.DataFile = Files::bytesFromPath(path);
        f->MnuSav->trigger();
    }
    QCOMPARE(session.hooks.messages.size(), 1);
    const MsgBoxCall shown = session.hooks.messages[0];
    QCOMPARE(shown.style, int(vbInformation));
    QVERIFY2(shown.text.startsWith("Cannot write file " + QDir::toNativeSeparators(path) + ": "), qPrintable(shown.text));
    QVERIFY(shown.text.size() > QString("Cannot write file " + path + ": ").size());
    QVERIFY(frmAlter::loaded() == f);
}

void TestEditorWindow::roundTripOfTheSample()
{
    test::EditorSession session;
    QVERIFY(session.loadBytes(test::fileBytes(QFINDTESTDATA("../app/config.kvx"))));
    frmAlter *f = session.open();
    QVERIFY(f);
    // Look around as a person would before saving: racks, shelves, tabs.
    test::chooseRack(f->lstRackName, 5);
    test::clickOption(&f->optStation(1));
    test::click(&f->txtCard(1));
    f->SSTab1->setTab(2);
    const QString copy = session.path("copy.kvx");
    session.hooks.setNextFile(copy);
    f->MnuSavAs->trigger();
    QCOMPARE(session.hooks.messages.size(), 0);

    QProcess check;
    check.start(kvxCheck(), {QStringLiteral("--normalize"), session.dataFile});
    QVERIFY(check.waitForFinished(20000));
    QCOMPARE(check.exitCode(), 0);
    const QByteArray normalized = check.readAllStandardOutput();
    QVERIFY(normalized.size() > 1000);
    QCOMPARE(test::fileBytes(copy), normalized);
}

void TestEditorWindow::untouchedBytesSurvive()
{
    // Names that are not UTF-8, as an older file may hold them.
    Exchange x = test::testRoom();
    x.SiteName = Loose("CENTRAL \xC9" "CHANGE");
    x.CardName.set(Loose("C\xE9" "1"), 1, 1, 1, 1);
    test::putRing(x.Mas1Ring, {"UC-01", "\xC9X"});
    test::EditorSession session;
    QVERIFY(session.load(x));
    const QByteArray loaded = test::fileBytes(session.dataFile);
    frmAlter *f = session.open();
    QVERIFY(f);
    QCOMPARE(f->txtCard(1).Text(), QString::fromUtf8("C\u00e91"));
    // Opened, looked at and left as they were.
    test::doubleClick(&f->txtCard(1));
    test::click(&f->txtCard(2));
    f->SSTab1->setTab(1);
    test::click(f->txtSiteName);
    f->SSTab1->setTab(2);
    test::click(&f->txtMas(1));
    f->MnuSav->trigger();
    QCOMPARE(session.hooks.messages.size(), 0);
    QCOMPARE(test::fileBytes(session.dataFile), loaded);
}

QTEST_MAIN(TestEditorWindow)
#include "test_editor_window.moc"
