// The commands of the main window that reload the exchange (Open, Refresh),
// with the editor open too, and how the program ends: closing the window
// remembers the data file in "kvx.ini", Exit does not.

#include "editorhelpers.h"
#include "viewerhelpers.h"

#include "dialogs/frmaboutme.h"
#include "dialogs/frmaboutprg.h"
#include "editor/frmalter.h"
#include "platform/combobox.h"
#include "platform/tabcontrol.h"

#include <QPointer>
#include <QScopeGuard>
#include <QTest>

using namespace kvx;
using kvx::test::TestRoom;

namespace {

TestRoom bigRoom()
{
    TestRoom room = test::fullRoom(4, 10);
    room.site = "FIRST SITE";
    return room;
}

TestRoom smallRoom()
{
    TestRoom room;
    room.site = "SECOND SITE";
    room.rows = {{"NEW-1", "", "NEW-3"}};
    room.noOfMas = 4;
    return room;
}

// The names the plan and the ring schematic show, loaded elements only.
QStringList namesShown(const frmSwitch &form)
{
    QStringList names;
    for (int i = 1; i <= form.lblRack.ubound(); ++i) {
        if (form.lblRack.exists(i))
            names << form.lblRack(i).Caption();
    }
    for (int i = 1; i <= form.lblRingRack.ubound(); ++i) {
        if (form.lblRingRack.exists(i))
            names << form.lblRingRack(i).Caption();
    }
    return names;
}

// Every control of the plan and of the schematic: templates and loaded elements.
int controlsShown(const frmSwitch &form)
{
    return form.PicRoom->itemCount() + form.PicRing->itemCount();
}

// The editor's room: the site, its size, the rack list, the grid's places,
// the ticked rings and the member lists, for comparing with the model's.
QStringList editorRoom(const frmAlter &f)
{
    QStringList room{f.txtSiteName->Text(), f.cmbShoot->Text() + 'x' + f.cmbDeRack->Text()};
    for (int i = 0; i < f.lstRackName->ListCount(); ++i)
        room << f.lstRackName->List(i);
    room << QString::number(f.lblEdRack.count() - 1);
    room << QString::number(f.chkmas(3).Value() + f.chkmas(4).Value()) << f.txtMis->Text();
    for (int k = 1; k <= 4; ++k)
        room << f.txtMas(k).Text();
    return room;
}

QStringList modelRoom()
{
    QStringList room{ModMain.SiteName.str(), ModMain.NoOfShoots.str() + 'x' + ModMain.NoOfRacks.str()};
    for (int s = 1; s <= ModMain.shoots(); ++s) {
        for (int p = 1; p <= ModMain.racks(); ++p) {
            if (!(ModMain.RackName(s, p) == ""))
                room << ModMain.RackName(s, p).str();
        }
    }
    room << QString::number(ModMain.shoots() * ModMain.racks());
    room << QString::number(ModMain.NoOfMas.toInt() - 2);
    for (int k = 0; k <= 4; ++k)
        room << (k <= ModMain.NoOfMas.toInt() ? displayText(ringMemberText(ModMain.ring(k))) : QString());
    return room;
}

} // namespace

class TestViewerMenus : public QObject
{
    Q_OBJECT

private slots:
    void openShowsAnotherExchange();
    void openOfABadFileKeepsTheExchange();
    void openCancelledChangesNothing();
    void refreshShowsTheFileAsSaved();
    void refreshOfABadFileKeepsTheExchange();
    void refreshThatCannotRebuildSaysSo();
    void loadWithTheEditorOpen_data();
    void loadWithTheEditorOpen();
    void closingRemembersTheFile_data();
    void closingRemembersTheFile();
    void exitForgetsTheOpenedFile();
    void menusOpenTheOtherWindows_data();
    void menusOpenTheOtherWindows();
};

void TestViewerMenus::openShowsAnotherExchange()
{
    test::ProgramFixture program;
    QVERIFY(program.start(bigRoom()));
    frmSwitch &form = frmSwitch::get();
    QVERIFY(!form.MnuMAS3->Enabled());
    form.HScroll1->setValue(0); // scrolled to the left edge of the big room
    QCOMPARE(form.PicRoom->Left(), 0.0);
    form.HScroll1->setValue(form.HScroll1->Max());
    QVERIFY(form.PicRoom->Left() < 0);

    const QString other = program.path(QStringLiteral("other.kvx"));
    QVERIFY(test::writeFile(other, test::roomFile(smallRoom())));
    program.hooks.setNextFile(other);
    form.MnuOpen->trigger();

    QCOMPARE(program.hooks.messages.size(), 0);
    QCOMPARE(program.hooks.fileRequests.size(), 1);
    const FileDialogRequest &request = program.hooks.fileRequests[0];
    QVERIFY(!request.save);
    QCOMPARE(request.title, QStringLiteral("Select an Exchange Data File"));
    QCOMPARE(request.filter, QStringLiteral("KVX Data files ( *.kvx )| *.kvx|All Files ( *.*)| *.*"));
    QCOMPARE(filterPatterns(request.filter), (QStringList{"KVX Data files ( *.kvx )", "All Files ( *.*)"}));
    QCOMPARE(request.initDir, AppPath());

    QCOMPARE(form.windowTitle(), QStringLiteral("SECOND SITE"));
    QCOMPARE(ModMain.DataFile.text(), other.toUtf8());
    QCOMPARE(ModMain.RackIndex, 2);
    // Nothing of the old room stays behind: its 40 racks and 40 grid places are gone.
    QCOMPARE(namesShown(form), (QStringList{"NEW-1", "NEW-3", "NEW-1", "", "NEW-3"}));
    QCOMPARE(form.shpRack.count(), 1 + 3);
    QCOMPARE(form.imgEFL.count(), 1 + 2);
    QCOMPARE(form.imgEF.count(), 1 + 2);
    // Templates (4 in the plan, 3 in the schematic) plus 2 racks, 2 names, 4 panels, 3 places, 3 names.
    QCOMPARE(controlsShown(form), 4 + 3 + 2 + 2 + 4 + 3 + 3);
    QVERIFY(form.MnuMAS3->Enabled() && form.MnuMAS4->Enabled());
    // The small room fits the viewport: it stands at its left edge, not where the old room was scrolled to.
    QCOMPARE(form.HScroll1->Max(), 0);
    QCOMPARE(form.PicRoom->Left(), 0.0);
}

void TestViewerMenus::openOfABadFileKeepsTheExchange()
{
    test::ProgramFixture program;
    QVERIFY(program.start(bigRoom()));
    frmSwitch &form = frmSwitch::get();
    const QByteArray shownFile = ModMain.DataFile.text();
    // An edit made in the editor and not saved yet.
    ModMain.StationName.set(Loose("EDITED"), 1, 1, 1);
    const int controls = controlsShown(form);
    const QStringList names = namesShown(form);

    const QString bad = program.path(QStringLiteral("bad.kvx"));
    QVERIFY(test::writeFile(bad, "\"BROKEN\",2,2,2\r\nA,B\r\n"));
    program.hooks.setNextFile(bad);
    QVERIFY(!test::endsProgram([&] { form.MnuOpen->trigger(); }));

    QCOMPARE(program.hooks.messages.size(), 1);
    QCOMPARE(program.hooks.messages[0].text, QStringLiteral("Data File Currupted. Cannot Load"));
    QCOMPARE(form.windowTitle(), QStringLiteral("FIRST SITE"));
    QCOMPARE(ModMain.DataFile.text(), shownFile);
    QCOMPARE(ModMain.StationName(1, 1, 1).text(), QByteArray("EDITED"));
    QCOMPARE(ModMain.RackIndex, 40);
    QCOMPARE(controlsShown(form), controls);
    QCOMPARE(namesShown(form), names);
}

void TestViewerMenus::openCancelledChangesNothing()
{
    test::ProgramFixture program;
    QVERIFY(program.start(bigRoom()));
    frmSwitch &form = frmSwitch::get();
    const QStringList names = namesShown(form);
    const double left = form.PicRoom->Left();
    program.hooks.setNextFile(std::nullopt);
    form.MnuOpen->trigger();
    QCOMPARE(program.hooks.fileRequests.size(), 1);
    QCOMPARE(program.hooks.messages.size(), 0);
    QCOMPARE(form.windowTitle(), QStringLiteral("FIRST SITE"));
    QCOMPARE(namesShown(form), names);
    QCOMPARE(form.PicRoom->Left(), left);
}

void TestViewerMenus::refreshShowsTheFileAsSaved()
{
    test::ProgramFixture program;
    QVERIFY(program.start(bigRoom()));
    frmSwitch &form = frmSwitch::get();
    // The editor's last room change named another size than the plan shown.
    ModMain.OldNoOfShoots = 1;
    ModMain.OldNoOfRacks = 2;
    // A rack view and a shelf view are open on a rack of the old plan.
    form.frameRackBig->setVisible(true);
    form.FrameROpen->setVisible(true);
    form.picShelfBig->setVisible(true);
    ModMain.SelRack = &form.lblRack(3);

    QVERIFY(program.write(QStringLiteral("config.kvx"), test::roomFile(smallRoom())));
    form.mnuRefresh->trigger();

    QCOMPARE(program.hooks.messages.size(), 0);
    QCOMPARE(form.windowTitle(), QStringLiteral("SECOND SITE"));
    QCOMPARE(namesShown(form), (QStringList{"NEW-1", "NEW-3", "NEW-1", "", "NEW-3"}));
    QCOMPARE(controlsShown(form), 4 + 3 + 2 + 2 + 4 + 3 + 3);
    QVERIFY(!form.frameRackBig->Visible());
    QVERIFY(!form.FrameROpen->Visible());
    QVERIFY(!form.picShelfBig->Visible());
    QCOMPARE(ModMain.SelRack, nullptr);
}

void TestViewerMenus::refreshOfABadFileKeepsTheExchange()
{
    test::ProgramFixture program;
    QVERIFY(program.start(bigRoom()));
    frmSwitch &form = frmSwitch::get();
    const QStringList names = namesShown(form);
    QVERIFY(program.write(QStringLiteral("config.kvx"), "not a data file"));
    QVERIFY(!test::endsProgram([&] { form.mnuRefresh->trigger(); }));
    QCOMPARE(program.hooks.messages.size(), 1);
    QCOMPARE(program.hooks.messages[0].text, QStringLiteral("Data File Currupted. Cannot Load"));
    QCOMPARE(form.windowTitle(), QStringLiteral("FIRST SITE"));
    QCOMPARE(namesShown(form), names);
}

void TestViewerMenus::refreshThatCannotRebuildSaysSo()
{
    test::ProgramFixture program;
    QVERIFY(program.start(bigRoom()));
    frmSwitch &form = frmSwitch::get();
    // Narrower than the margins around the viewport: the viewport cannot be sized.
    form.setWidth(300);
    QVERIFY(!test::endsProgram([&] { form.mnuRefresh->trigger(); }));
    QCOMPARE(program.hooks.messages.size(), 1);
    QVERIFY(program.hooks.messages[0].text.startsWith(QStringLiteral("The room plan could not be built: ")));
    QCOMPARE(program.hooks.messages[0].style, int(vbCritical));
    // Once the window is wide again, Refresh builds the whole plan.
    form.setWidth(15360);
    form.mnuRefresh->trigger();
    QCOMPARE(program.hooks.messages.size(), 1);
    QCOMPARE(ModMain.RackIndex, 40);
    QCOMPARE(form.shpRack.count(), 1 + 40);
}

void TestViewerMenus::loadWithTheEditorOpen_data()
{
    QTest::addColumn<bool>("refresh"); // F5, else Ctrl+O
    QTest::addColumn<QString>("edit"); // made in the editor first; empty: none
    QTest::addColumn<int>("answer");   // to "Save Changes?"
    QTest::addColumn<QString>("file"); // what is loaded: "other", "broken"; "unwritable": the data file is a folder
    QTest::addColumn<QString>("shown"); // the site shown afterwards
    QTest::addColumn<QStringList>("told"); // the messages, by their start
    const QString ask = QStringLiteral("Do you want to Save the Changes");
    const QString broken = QStringLiteral("Data File Currupted. Cannot Load");
    const QString unwritable = QStringLiteral("Cannot write file ");
    // Each kind of edit in one row at least: every one of them is asked about.
    const QStringList edits[] = {{"slot", "site", "tick", "members", "colour", "rack"},
                                 {"station", "size", "remove", "add", "insert", "delete"}};
    for (const bool refresh : {false, true}) {
        const QStringList &edit = edits[refresh];
        const auto row = [refresh](const char *name) -> QTestData & {
            return QTest::addRow("%s, %s", refresh ? "Refresh" : "Open", name) << refresh;
        };
        row("no edits") << "" << 0 << "other" << "SECOND SITE" << QStringList();
        // Refresh reads again the file the edits were just saved to.
        row("Yes") << edit[0] << int(vbYes) << "other" << (refresh ? "TEST SITE" : "SECOND SITE") << QStringList{ask};
        row("No") << edit[1] << int(vbNo) << "other" << "SECOND SITE" << QStringList{ask};
        row("Cancel") << edit[2] << int(vbCancel) << "other" << "TEST SITE" << QStringList{ask};
        row("No, failed load") << edit[3] << int(vbNo) << "broken" << "TEST SITE" << QStringList{ask, broken};
        row("Yes, failed save") << edit[4] << int(vbYes) << "unwritable" << "TEST SITE" << QStringList{ask, unwritable};
        row("No, another edit") << edit[5] << int(vbNo) << "other" << "SECOND SITE" << QStringList{ask};
    }
    // Typed into a row not yet stored: lost to a load all the same.
    QTest::newRow("Open, Cancel, a row open for typing") << false << "typing" << int(vbCancel) << "other"
                                                         << "TEST SITE" << QStringList{ask};
}

namespace {

// An edit of one kind, made as a person makes it.
void makeEdit(frmAlter *f, const QString &edit, test::Hooks &hooks)
{
    if (edit == "slot") {
        test::doubleClick(&f->txtSlot(1));
        test::typeOver(&f->txtSlot(1), "77");
        test::click(&f->txtCard(2));
    } else if (edit == "typing") {
        test::doubleClick(&f->txtCard(1));
        test::typeOver(&f->txtCard(1), "TYPED");
    } else if (edit == "add" || edit == "insert" || edit == "delete") {
        test::click(&f->txtCard(2));
        test::click(edit == "add" ? f->cmdAdd : edit == "insert" ? f->cmdInsert : f->cmdDelete);
    } else if (edit == "site") {
        f->SSTab1->setTab(1);
        test::click(f->txtSiteName);
        QTest::keyClicks(f->txtSiteName, "X");
    } else if (edit == "station") {
        f->SSTab1->setTab(1);
        test::pressBox(f, 1);
        test::doubleClick(&f->txtEdShelf(0));
        test::typeOver(&f->txtEdShelf(0), "NEW");
    } else if (edit == "size") {
        f->SSTab1->setTab(1);
        QTest::keyClick(f->cmbShoot, Qt::Key_Down);
        test::click(f->cmdUpdate);
    } else if (edit == "remove") {
        f->SSTab1->setTab(1);
        // SDE-01, whose stations are empty: removing it changes no station.
        test::PopupChooser chooser({QStringLiteral("Remove")});
        test::pressBox(f, 6, Qt::RightButton);
    } else if (edit == "rack") {
        f->SSTab1->setTab(1);
        test::insertAt(f, 2, "UE-05");
    } else if (edit == "tick" || edit == "members") {
        f->SSTab1->setTab(2);
        test::click(edit == "tick" ? static_cast<QWidget *>(&f->chkmas(3)) : &f->txtMas(1));
        if (edit == "members")
            QTest::keyClicks(&f->txtMas(1), ",XA0");
    } else if (edit == "colour") {
        f->SSTab1->setTab(2);
        hooks.setNextColor(0x00FF00);
        test::clickItem(&f->frameMas(2), f->clrMas(2));
    } else {
        f->SSTab1->setTab(2);
    }
}

// What a save from the editor would write now.
QByteArray toBeSaved()
{
    QByteArray out;
    ExchangeWriter().write(ModMain, *ringControls(), &out);
    return out;
}

} // namespace

void TestViewerMenus::loadWithTheEditorOpen()
{
    QFETCH(bool, refresh);
    QFETCH(QString, edit);
    QFETCH(int, answer);
    QFETCH(QString, file);
    QFETCH(QString, shown);
    QFETCH(QStringList, told);
    test::ProgramFixture program;
    const auto closeEditor = qScopeGuard([] { frmAlter::discard(); });
    const QString config = program.path(QStringLiteral("config.kvx"));
    QVERIFY(test::writeFile(config, test::fileOf(test::testRoom())));
    Main();
    frmSwitch &form = frmSwitch::get();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QTest::keyClick(&form, Qt::Key_E, Qt::ControlModifier);
    frmAlter *f = frmAlter::loaded();
    QVERIFY(f && QTest::qWaitForWindowActive(f));
    makeEdit(f, edit, program.hooks);
    QCOMPARE(program.hooks.messages.size(), 0);
    QCOMPARE(f->hasUnsavedEdits(), !edit.isEmpty());
    const QByteArray edited = toBeSaved();
    const QStringList editorBefore = editorRoom(*f);
    const int tab = f->SSTab1->Tab();
    const QRect where = f->geometry();
    const QPointer<frmAlter> before(f);

    // A smaller room with four MAS rings, in another file or over the data file.
    Exchange other = test::testRoom(4);
    other.SiteName = Loose("SECOND SITE");
    other.NoOfShoots = 1;
    other.RackName.redimPreserve({1, 3});
    const QString target = refresh ? config : program.path(QStringLiteral("other.kvx"));
    QVERIFY(test::writeFile(target, file == "broken" ? QByteArray("not a data file") : test::fileOf(other)));
    if (file == "unwritable")
        QVERIFY(QFile::remove(config) && QDir().mkdir(config));
    if (answer)
        program.hooks.setNextAnswer(answer);
    program.hooks.setNextFile(target);
    form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QTest::keyClick(&form, refresh ? Qt::Key_F5 : Qt::Key_O, refresh ? Qt::NoModifier : Qt::ControlModifier);

    QCOMPARE(program.hooks.messages.size(), told.size());
    for (int i = 0; i < told.size(); ++i)
        QVERIFY2(program.hooks.messages[i].text.startsWith(told[i]), qPrintable(program.hooks.messages[i].text));
    if (!edit.isEmpty()) {
        QCOMPARE(program.hooks.messages[0].title, QStringLiteral("Save Changes?"));
        QCOMPARE(program.hooks.messages[0].style, 35);
    }
    // Open asks before the file is chosen; Cancel and a failed save choose none.
    const bool chosen = !refresh && answer != vbCancel && file != "unwritable";
    QCOMPARE(program.hooks.fileRequests.size(), chosen ? 1 : 0);
    QCOMPARE(form.windowTitle(), shown);
    const bool saved = answer == vbYes && file != "unwritable";
    if (saved)
        QCOMPARE(test::readFile(config), edited);

    // The editor stands where it stood, on the tab it was on, and shows the
    // exchange the main window shows.
    frmAlter *g = frmAlter::loaded();
    QVERIFY(g);
    QCOMPARE(g->SSTab1->Tab(), tab);
    QCOMPARE(g->geometry(), where);
    QVERIFY(g->isVisible());
    const bool loaded = before.isNull();
    QCOMPARE(loaded, shown != "TEST SITE" || (refresh && saved));
    QCOMPARE(g->hasUnsavedEdits(), !edit.isEmpty() && !loaded && !saved);
    if (!loaded) {
        // The same window, with the edit as it was made.
        QCOMPARE(editorRoom(*g), editorBefore);
        QCOMPARE(toBeSaved(), edited);
        return;
    }
    QCOMPARE(editorRoom(*g), modelRoom());

    // Every rack of the list can be chosen, and Save writes the exchange as loaded.
    g->SSTab1->setTab(0);
    for (int i = 0; i < g->lstRackName->ListCount(); ++i)
        test::chooseRack(g->lstRackName, i);
    const QByteArray expected = test::fileOf(ModMain);
    g->MnuSav->trigger();
    QCOMPARE(program.hooks.messages.size(), told.size());
    QCOMPARE(test::readFile(Files::pathFromBytes(ModMain.DataFile.text())), expected);
}

void TestViewerMenus::closingRemembersTheFile_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<bool>("quoted");
    QTest::newRow("plain path") << "rooms" << false;
    QTest::newRow("path with a comma") << "north,south" << true;
    QTest::newRow("settings file on a full device") << "full" << false;
}

void TestViewerMenus::closingRemembersTheFile()
{
    QFETCH(QString, folder);
    QFETCH(bool, quoted);
    test::ProgramFixture program;
    QVERIFY(program.start(bigRoom()));
    QVERIFY(QDir(program.path(QString())).mkpath(folder));
    const QString other = program.path(folder + QStringLiteral("/second.kvx"));
    QVERIFY(test::writeFile(other, test::roomFile(smallRoom())));
    program.hooks.setNextFile(other);
    frmSwitch::get().MnuOpen->trigger();
    QCOMPARE(frmSwitch::get().windowTitle(), QStringLiteral("SECOND SITE"));

    const QString settings = program.path(QStringLiteral("kvx.ini"));
    if (folder == "full" && test::fullDevice(settings) != settings)
        QSKIP("needs root to make a device node");
    QVERIFY(test::endsProgram([] { frmSwitch::get().close(); }));
    if (folder == "full") {
        QCOMPARE(program.hooks.messages.size(), 1);
        QCOMPARE(program.hooks.messages[0].text, "Cannot write file " + settings + ": No space left on device");
        return;
    }
    const QByteArray path = other.toUtf8();
    QCOMPARE(test::readFile(program.path(QStringLiteral("kvx.ini"))),
             (quoted ? '"' + path + '"' : path) + "\r\n");

    // The next start shows the file opened last.
    frmSwitch::discard();
    ModMain = ModMainState();
    Main();
    QCOMPARE(ModMain.DataFile.text(), path);
    QCOMPARE(frmSwitch::get().windowTitle(), QStringLiteral("SECOND SITE"));
}

void TestViewerMenus::exitForgetsTheOpenedFile()
{
    test::ProgramFixture program;
    QVERIFY(program.start(bigRoom()));
    const QString other = program.path(QStringLiteral("second.kvx"));
    QVERIFY(test::writeFile(other, test::roomFile(smallRoom())));
    program.hooks.setNextFile(other);
    frmSwitch::get().MnuOpen->trigger();
    QVERIFY(test::endsProgram([] { frmSwitch::get().MnuEnd->trigger(); }));
    QVERIFY(!QFile::exists(program.path(QStringLiteral("kvx.ini"))));

    frmSwitch::discard();
    ModMain = ModMainState();
    Main();
    QCOMPARE(frmSwitch::get().windowTitle(), QStringLiteral("FIRST SITE"));
}


void TestViewerMenus::menusOpenTheOtherWindows_data()
{
    QTest::addColumn<QString>("command");
    QTest::newRow("Ctrl+E opens the editor") << "editor";
    QTest::newRow("Program") << "program";
    QTest::newRow("Ctrl+U opens Programmer") << "programmer";
}

void TestViewerMenus::menusOpenTheOtherWindows()
{
    QFETCH(QString, command);
    test::ProgramFixture program;
    QVERIFY(program.start(bigRoom()));
    frmSwitch &form = frmSwitch::get();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QWidget *shown = nullptr;
    if (command == "editor") {
        QTest::keyClick(&form, Qt::Key_E, Qt::ControlModifier);
        shown = frmAlter::loaded();
    } else if (command == "program") {
        form.MnuPrg->trigger();
        shown = &frmAboutPrg::get();
    } else {
        QTest::keyClick(&form, Qt::Key_U, Qt::ControlModifier);
        shown = &frmAboutME::get();
    }
    QVERIFY(shown && shown->isVisible());
    // The main window stays usable: the windows are modeless.
    QVERIFY(!shown->isModal());
    frmAlter::discard();
    frmAboutPrg::discard();
    frmAboutME::discard();
}

QTEST_MAIN(TestViewerMenus)
#include "test_viewer_menus.moc"
