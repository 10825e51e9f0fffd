// The commands of the main window that reload the exchange (Open, Refresh),
// and how the program ends: closing the window remembers the data file in
// "kvx.ini", Exit does not.

#include "viewerhelpers.h"

#include "dialogs/frmaboutme.h"
#include "dialogs/frmaboutprg.h"
#include "editor/frmalter.h"

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

void TestViewerMenus::closingRemembersTheFile_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<bool>("quoted");
    QTest::newRow("plain path") << "rooms" << false;
    QTest::newRow("path with a comma") << "north,south" << true;
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

    QVERIFY(test::endsProgram([] { frmSwitch::get().close(); }));
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
