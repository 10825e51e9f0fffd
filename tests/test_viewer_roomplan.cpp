// The room plan, its scrolling and the menus that reload the exchange, on a
// 1024 x 768 screen (both factors 1): where racks, names and end panels
// stand, the room's size and the bars' ranges; Open and Refresh, alone and
// with the editor open; closing the window and Exit with kvx.ini.

#include "editorhelpers.h"
#include "viewerhelpers.h"

#include "dialogs/frmaboutme.h"
#include "dialogs/frmaboutprg.h"
#include "editor/frmalter.h"
#include "platform/combobox.h"
#include "platform/tabcontrol.h"

#include <QPointer>
#include <QScopeGuard>
#include <QWheelEvent>

using namespace kvx;
using kvx::test::TestRoom;

namespace {

// Design sizes at 1024 x 768: the rack picture, the left end panel, the viewport.
constexpr double W = 2160;
constexpr double H = 3945;
constexpr double LeftPanel = 90;
constexpr double Viewport = 15360 - 3 * 255;
constexpr double ViewportHeight = 11520 - 4 * 255;

// A control expected at Left, standing `back` rows behind the front row.
struct At
{
    double left;
    int back;
};

struct Layout
{
    QList<QByteArrayList> rows;
    QByteArrayList names; // in creation order
    QList<At> racks, leftPanels, rightPanels;
    QList<bool> rightVisible;
};

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

void resizeWindow(frmSwitch &form, int widthTwips, int heightTwips)
{
    // A size that differs first, so that the window is resized whatever it was.
    form.setWidth(widthTwips + 1500);
    form.setHeight(heightTwips + 1500);
    QCoreApplication::processEvents();
    form.setWidth(widthTwips);
    form.setHeight(heightTwips);
    QCoreApplication::processEvents();
}

} // namespace

Q_DECLARE_METATYPE(Layout)

class TestViewerRoomPlan : public QObject
{
    Q_OBJECT

private slots:
    void placesRacksNamesAndPanels_data();
    void placesRacksNamesAndPanels();
    void frontRowsStandInFront();
    void roomSizeAndScrollBars_data();
    void roomSizeAndScrollBars();
    void scrollRange_data();
    void scrollRange();
    void wheelScrollsTheRoom_data();
    void wheelScrollsTheRoom();
    void openAndRefresh_data();
    void openAndRefresh();
    void loadWithTheEditorOpen_data();
    void loadWithTheEditorOpen();
    void closeAndExit_data();
    void closeAndExit();
    void menusOpenTheOtherWindows_data();
    void menusOpenTheOtherWindows();
};

void TestViewerRoomPlan::placesRacksNamesAndPanels_data()
{
    QTest::addColumn<Layout>("layout");
    // Shoot 3 (the front row) is empty: its first empty place puts imgEF(1)
    // against the template's right side and the end of the row puts imgEF(2)
    // there again; only imgEF(1) is hidden. Shoot 2 is one run from place 1,
    // shoot 1 has racks at places 1, 2 and 4.
    QTest::newRow("empty front row, a full run, places 1 2 4") << Layout{
        {{"UC-01", "UC-02", "", "UC-04"}, {"UD-01", "UD-02", "UD-03", "UD-04"}, {"", "", "", ""}},
        {"UD-01", "UD-02", "UD-03", "UD-04", "UC-01", "UC-02", "UC-04"},
        {{2520, 1}, {4680, 1}, {6840, 1}, {9000, 1}, {2880, 2}, {5040, 2}, {9360, 2}},
        {{2520 - LeftPanel, 1}, {2880 - LeftPanel, 2}, {9360 - LeftPanel, 2}},
        {{2160, 0}, {2160, 0}, {11160, 1}, {7200, 2}, {11520, 2}},
        {false, true, true, true, true}};
    // The front row's run ends the row: its panel is imgEF(1), hidden, but
    // the next shoot begins empty and puts a second panel there, which stays.
    QTest::newRow("full front row, next shoot starts empty") << Layout{
        {{"", "Y2", "Y3"}, {"X1", "X2", "X3"}}, {"X1", "X2", "X3", "Y2", "Y3"},
        {{2160, 0}, {4320, 0}, {6480, 0}, {4680, 1}, {6840, 1}}, {{2160 - LeftPanel, 0}, {4680 - LeftPanel, 1}},
        {{8640, 0}, {8640, 0}, {9000, 1}}, {false, true, true}};
    QTest::newRow("front row with a gap") << Layout{
        {{"A1", "", "A3"}}, {"A1", "A3"}, {{2160, 0}, {6480, 0}}, {{2160 - LeftPanel, 0}, {6480 - LeftPanel, 0}},
        {{4320, 0}, {8640, 0}}, {false, true}};
}

void TestViewerRoomPlan::placesRacksNamesAndPanels()
{
    QFETCH(Layout, layout);
    test::ProgramFixture program;
    TestRoom room;
    room.rows = layout.rows;
    QVERIFY(program.start(room));
    frmSwitch &form = frmSwitch::get();
    const double front = form.PicRoom->Height() - 2.5 * H;
    const auto topOf = [&](int back) { return front - back * H / 4; };

    QCOMPARE(ModMain.RackIndex, int(layout.racks.size()));
    QCOMPARE(form.imgRack.count(), ModMain.RackIndex + 1);
    for (int i = 1; i <= ModMain.RackIndex; ++i) {
        const Image &rack = form.imgRack(i);
        const Label &name = form.lblRack(i);
        QCOMPARE(QPointF(rack.Left(), rack.Top()), QPointF(layout.racks[i - 1].left, topOf(layout.racks[i - 1].back)));
        QVERIFY(rack.Visible() && name.Visible());
        QCOMPARE(name.Caption(), QString::fromLatin1(layout.names[i - 1]));
        QCOMPARE(name.Top(), rack.Top() + 200);
        QCOMPARE(name.Left() + name.Width() / 2, rack.Left() + W / 2);
    }
    QCOMPARE(form.EFLCount.toInt(), int(layout.leftPanels.size()));
    for (int n = 1; n <= form.EFLCount.toInt(); ++n) {
        const Image &panel = form.imgEFL(n);
        QCOMPARE(QPointF(panel.Left(), panel.Top()),
                 QPointF(layout.leftPanels[n - 1].left, topOf(layout.leftPanels[n - 1].back)));
        QVERIFY(panel.Visible());
    }
    QCOMPARE(int(form.EFCount), int(layout.rightPanels.size()));
    for (int n = 1; n <= form.EFCount; ++n) {
        const Image &panel = form.imgEF(n);
        QCOMPARE(QPointF(panel.Left(), panel.Top()),
                 QPointF(layout.rightPanels[n - 1].left, topOf(layout.rightPanels[n - 1].back)));
        QCOMPARE(panel.Visible(), layout.rightVisible[n - 1]);
    }
}

// Rows further back go beneath the rows in front; names stay on top.
void TestViewerRoomPlan::frontRowsStandInFront()
{
    test::ProgramFixture program;
    TestRoom room;
    room.rows = {{"UC-01", "UC-02", "", "UC-04"}, {"UD-01", "UD-02", "UD-03", "UD-04"}};
    QVERIFY(program.start(room));
    frmSwitch &form = frmSwitch::get();
    PictureBox &plan = *form.PicRoom;
    const auto topmostAt = [&](double x, double y) { return plan.itemAt(QPoint(pixelsFromTwips(x), pixelsFromTwips(y))); };
    const Image &frontRack = form.imgRack(1); // UD-01
    const Image &backRack = form.imgRack(5);  // UC-01, a row further back and W/6 to the right
    const Image &backPanel = form.imgEF(2);   // after UC-02, UD-03 stands in front of it
    QCOMPARE(topmostAt(backRack.Left() + 100, frontRack.Top() + 600), &frontRack);
    QCOMPARE(topmostAt(backRack.Left() + 100, backRack.Top() + 600), &backRack);
    QCOMPARE(topmostAt(backPanel.Left() + 50, form.imgRack(3).Top() + 600), &form.imgRack(3));
    QCOMPARE(topmostAt(backPanel.Left() + 50, backPanel.Top() + 300), &backPanel);
    for (int i = 1; i <= ModMain.RackIndex; ++i)
        QCOMPARE(plan.itemAt(form.lblRack(i).pixelRect().center()), &form.lblRack(i));

}

void TestViewerRoomPlan::roomSizeAndScrollBars_data()
{
    QTest::addColumn<int>("shoots");
    QTest::addColumn<int>("places");
    QTest::addColumn<double>("height");
    QTest::addColumn<double>("width");
    QTest::addColumn<int>("hMax"); // the room's overflow in percent of the viewport
    QTest::addColumn<int>("vMax");
    // A room narrower than the viewport is drawn as wide as the viewport.
    QTest::newRow("1 shoot of 2") << 1 << 2 << 1.5 * ViewportHeight << Viewport << 0 << 50;
    QTest::newRow("1 shoot of 7") << 1 << 7 << 1.5 * ViewportHeight << (7 + 1 + 1 / 4.0) * W << 22 << 50;
    QTest::newRow("4 shoots of 10") << 4 << 10 << 1.5 * ViewportHeight << 12 * W << 78 << 50;
    QTest::newRow("7 shoots of 2") << 7 << 2 << 1.5 * ViewportHeight + 2 * H / 3 << Viewport << 0 << 75;
    QTest::newRow("7 shoots of 7") << 7 << 7 << 1.5 * ViewportHeight + 2 * H / 3 << (7 + 1 + 7 / 4.0) * W << 44 << 75;
}

void TestViewerRoomPlan::roomSizeAndScrollBars()
{
    QFETCH(int, shoots);
    QFETCH(int, places);
    QFETCH(double, height);
    QFETCH(double, width);
    QFETCH(int, hMax);
    QFETCH(int, vMax);
    test::ProgramFixture program;
    QVERIFY(program.start(test::fullRoom(shoots, places)));
    frmSwitch &form = frmSwitch::get();
    QCOMPARE(QSizeF(form.PicSwitch->Width(), form.PicSwitch->Height()), QSizeF(Viewport, ViewportHeight));
    QCOMPARE(QSizeF(form.PicRoom->Width(), form.PicRoom->Height()), QSizeF(width, height));
    // The front row stands 2.5 rack heights above the room's bottom; the back row inside the room.
    QCOMPARE(form.imgRack(1).Top(), height - 2.5 * H);
    QVERIFY(form.imgRack(ModMain.RackIndex).Top() > 0);
    // The bars under and beside the viewport; the room starts centred by them.
    QCOMPARE(QPointF(form.HScroll1->Left(), form.HScroll1->Top()), QPointF(255, ViewportHeight));
    QCOMPARE(QPointF(form.VScroll1->Left(), form.VScroll1->Height()), QPointF(255 + Viewport, ViewportHeight));
    QCOMPARE(form.HScroll1->Width(), Viewport);
    QCOMPARE(form.HScroll1->Max(), hMax);
    QCOMPARE(form.VScroll1->Max(), vMax);
    QCOMPARE(form.HScroll1->Value(), int(roundHalfEven(hMax / 2.0)));
    QCOMPARE(form.VScroll1->Value(), int(roundHalfEven(vMax / 2.0)));
    QCOMPARE(form.PicRoom->Left(), hMax ? (Viewport - width) * form.HScroll1->Value() / hMax : 0.0);
    QCOMPARE(form.PicRoom->Top(), (ViewportHeight - height) * form.VScroll1->Value() / vMax);
}

void TestViewerRoomPlan::scrollRange_data()
{
    QTest::addColumn<double>("room");
    QTest::addColumn<int>("max");
    QTest::addColumn<int>("value");
    QTest::addColumn<double>("left");
    // A viewport of 2000 twips; the room was scrolled to -300 before the resize.
    QTest::newRow("exactly as wide: the room stays") << 2000.0 << 0 << 0 << -300.0;
    QTest::newRow("0.5 % rounds to the even 0") << 2010.0 << 0 << 0 << -300.0;
    QTest::newRow("1.5 % rounds to 2") << 2030.0 << 2 << 1 << -15.0;
    QTest::newRow("one and a half viewports, a quarter") << 3000.0 << 50 << 25 << -500.0;
}

void TestViewerRoomPlan::scrollRange()
{
    QFETCH(double, room);
    QFETCH(int, max);
    QFETCH(int, value);
    QFETCH(double, left);
    test::ProgramFixture program;
    QVERIFY(program.start(test::fullRoom(1, 1)));
    frmSwitch &form = frmSwitch::get();
    form.PicRoom->setLeft(-300);
    form.PicRoom->setWidth(room);
    resizeWindow(form, 2000 + 3 * 255, 11520);
    QCOMPARE(form.PicSwitch->Width(), 2000.0);
    QCOMPARE(form.HScroll1->Width(), 2000.0);
    QCOMPARE(form.HScroll1->Max(), max);
    if (max > 0)
        form.HScroll1->setValue(value);
    QCOMPARE(form.PicRoom->Left(), left);
}

void TestViewerRoomPlan::wheelScrollsTheRoom_data()
{
    QTest::addColumn<int>("turn"); // in eighths of a degree: 120 is one notch, away from the user
    QTest::addColumn<bool>("shift");
    QTest::addColumn<int>("hMove");
    QTest::addColumn<int>("vMove");
    QTest::newRow("a notch towards the user: down a page") << -120 << false << 0 << 10;
    QTest::newRow("two notches away: up two pages") << 240 << false << 0 << -20;
    QTest::newRow("Shift: sideways") << -120 << true << 10 << 0;
    QTest::newRow("half a notch: not yet") << -60 << false << 0 << 0;
}

void TestViewerRoomPlan::wheelScrollsTheRoom()
{
    QFETCH(int, turn);
    QFETCH(bool, shift);
    QFETCH(int, hMove);
    QFETCH(int, vMove);
    test::ProgramFixture program;
    QVERIFY(program.start(test::fullRoom(4, 10)));
    frmSwitch &form = frmSwitch::get();
    const int h = form.HScroll1->Value(), v = form.VScroll1->Value();
    // The room's controls leave the wheel to the window (Qt passes it on to the parent).
    const QPointF at = form.PicSwitch->mapTo(&form, form.PicSwitch->rect().center());
    QWheelEvent wheel(at, form.mapToGlobal(at), QPoint(), QPoint(0, turn), Qt::NoButton,
                      shift ? Qt::ShiftModifier : Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(form.PicRoom, &wheel);
    QVERIFY(!wheel.isAccepted());
    QApplication::sendEvent(&form, &wheel);
    QCOMPARE(form.HScroll1->Value(), h + hMove);
    QCOMPARE(form.VScroll1->Value(), v + vMove);
    QCOMPARE(form.PicRoom->Top(), (form.PicSwitch->Height() - form.PicRoom->Height()) * (v + vMove) / form.VScroll1->Max());
}

void TestViewerRoomPlan::openAndRefresh_data()
{
    QTest::addColumn<bool>("refresh");
    QTest::addColumn<QString>("file");    // what Open chooses or Refresh reads: "other", "broken", "cancel"
    QTest::addColumn<QString>("told");    // the message, by its start
    const QString broken = QStringLiteral("Data File Currupted. Cannot Load");
    QTest::newRow("Open another exchange") << false << "other" << "";
    QTest::newRow("Refresh of a file saved over") << true << "other" << "";
    QTest::newRow("Open of a broken file") << false << "broken" << broken;
    QTest::newRow("Refresh of a broken file") << true << "broken" << broken;
    QTest::newRow("Open cancelled") << false << "cancel" << "";
    // Narrower than the margins around the viewport: the plan cannot be built.
    QTest::newRow("Refresh in a narrow window") << true << "narrow" << "The room plan could not be built: ";
}

void TestViewerRoomPlan::openAndRefresh()
{
    QFETCH(bool, refresh);
    QFETCH(QString, file);
    QFETCH(QString, told);
    test::ProgramFixture program;
    QVERIFY(program.start(bigRoom()));
    frmSwitch &form = frmSwitch::get();
    form.HScroll1->setValue(form.HScroll1->Max()); // scrolled to the big room's right end
    const double left = form.PicRoom->Left();
    // The editor's last room change named another size than the plan shown.
    ModMain.OldNoOfShoots = 1;
    ModMain.OldNoOfRacks = 2;
    ModMain.StationName.set(Loose("EDITED"), 1, 1, 1); // not saved yet
    // A rack view and a shelf view are open on a rack of the old plan.
    form.frameRackBig->setVisible(true);
    form.picShelfBig->setVisible(true);
    ModMain.SelRack = &form.lblRack(3);
    const QByteArray shownFile = ModMain.DataFile.text();
    const QStringList names = namesShown(form);
    const int controls = controlsShown(form);

    const QString target = refresh ? program.path(QStringLiteral("config.kvx")) : program.path(QStringLiteral("other.kvx"));
    if (file != "narrow" && file != "cancel")
        QVERIFY(test::writeFile(target, file == "other" ? test::roomFile(smallRoom()) : QByteArray("\"BROKEN\",2,2,2\r\nA,B\r\n")));
    if (file == "narrow")
        form.setWidth(300);
    if (!refresh)
        program.hooks.setNextFile(file == "cancel" ? std::nullopt : std::optional<QString>(target));
    QVERIFY(!test::endsProgram([&] { (refresh ? form.mnuRefresh : form.MnuOpen)->trigger(); }));

    QCOMPARE(program.hooks.fileRequests.size(), refresh ? 0 : 1);
    QCOMPARE(program.hooks.messages.size(), told.isEmpty() ? 0 : 1);
    if (!told.isEmpty())
        QVERIFY2(program.hooks.messages[0].text.startsWith(told), qPrintable(program.hooks.messages[0].text));
    if (file != "other") {
        // The exchange shown stays, with its unsaved edit, its plan and its place.
        QCOMPARE(form.windowTitle(), QStringLiteral("FIRST SITE"));
        QCOMPARE(ModMain.DataFile.text(), shownFile);
        if (file == "narrow") {
            form.setWidth(15360);
            form.mnuRefresh->trigger();
            QCOMPARE(program.hooks.messages.size(), 1);
        } else {
            QCOMPARE(ModMain.StationName(1, 1, 1).text(), QByteArray("EDITED"));
            QCOMPARE(form.PicRoom->Left(), left);
        }
        QCOMPARE(namesShown(form), names);
        QCOMPARE(controlsShown(form), controls);
        return;
    }
    QCOMPARE(form.windowTitle(), QStringLiteral("SECOND SITE"));
    QCOMPARE(ModMain.DataFile.text(), target.toUtf8());
    // Nothing of the old room stays behind: its 40 racks and 40 grid places are gone.
    QCOMPARE(namesShown(form), (QStringList{"NEW-1", "NEW-3", "NEW-1", "", "NEW-3"}));
    // Templates (4 in the plan, 3 in the schematic) plus 2 racks, 2 names, 4 panels, 3 places, 3 names.
    QCOMPARE(controlsShown(form), 4 + 3 + 2 + 2 + 4 + 3 + 3);
    QVERIFY(form.MnuMAS3->Enabled() && form.MnuMAS4->Enabled());
    QVERIFY(!form.frameRackBig->Visible() && !form.picShelfBig->Visible());
    QCOMPARE(ModMain.SelRack, nullptr);
    // The small room fits: it stands at the viewport's left edge, not where the old one was scrolled to.
    QCOMPARE(form.HScroll1->Max(), 0);
    QCOMPARE(form.PicRoom->Left(), 0.0);
}

namespace {

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

void TestViewerRoomPlan::loadWithTheEditorOpen_data()
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

void TestViewerRoomPlan::loadWithTheEditorOpen()
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

void TestViewerRoomPlan::closeAndExit_data()
{
    QTest::addColumn<QString>("folder"); // of the data file opened
    QTest::addColumn<bool>("byExit"); // else the window is closed
    QTest::addColumn<bool>("quoted");
    QTest::newRow("close, plain path") << "rooms" << false << false;
    QTest::newRow("close, path with a comma") << "north,south" << false << true;
    QTest::newRow("close, kvx.ini on a full device") << "full" << false << false;
    QTest::newRow("Exit forgets the file opened") << "rooms" << true << false;
}

// Closing the window remembers the data file in kvx.ini for the next start; Exit does not.
void TestViewerRoomPlan::closeAndExit()
{
    QFETCH(QString, folder);
    QFETCH(bool, byExit);
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
    QVERIFY(test::endsProgram([byExit] { byExit ? frmSwitch::get().MnuEnd->trigger() : (void)frmSwitch::get().close(); }));
    if (folder == "full") {
        QCOMPARE(program.hooks.messages.size(), 1);
        QCOMPARE(program.hooks.messages[0].text, "Cannot write file " + settings + ": No space left on device");
        return;
    }
    const QByteArray path = other.toUtf8();
    QCOMPARE(test::readFile(settings), byExit ? QByteArray() : (quoted ? '"' + path + '"' : path) + "\r\n");
    QCOMPARE(QFile::exists(settings), !byExit);

    frmSwitch::discard();
    ModMain = ModMainState();
    Main();
    QCOMPARE(frmSwitch::get().windowTitle(), byExit ? QStringLiteral("FIRST SITE") : QStringLiteral("SECOND SITE"));
}

void TestViewerRoomPlan::menusOpenTheOtherWindows_data()
{
    QTest::addColumn<bool>("programmer");
    QTest::newRow("Program") << false;
    QTest::newRow("Ctrl+U opens Programmer") << true;
}

// Modeless, so that the main window stays usable (Ctrl+E: loadWithTheEditorOpen).
void TestViewerRoomPlan::menusOpenTheOtherWindows()
{
    QFETCH(bool, programmer);
    test::ProgramFixture program;
    QVERIFY(program.start(bigRoom()));
    frmSwitch &form = frmSwitch::get();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    const auto closeAll = qScopeGuard([] {
        frmAboutPrg::discard();
        frmAboutME::discard();
    });
    if (programmer)
        QTest::keyClick(&form, Qt::Key_U, Qt::ControlModifier);
    else
        form.MnuPrg->trigger();
    QWidget *shown = programmer ? static_cast<QWidget *>(&frmAboutME::get()) : &frmAboutPrg::get();
    QVERIFY(shown->isVisible() && !shown->isModal());
}

QTEST_MAIN(TestViewerRoomPlan)
#include "test_viewer_roomplan.moc"
