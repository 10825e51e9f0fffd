// The room plan and its scrolling, on a 1024 x 768 screen (both factors 1):
// where racks, names and end panels stand, which of them is in front, the
// size of the room and the scroll bars' ranges and offsets.

#include "viewerhelpers.h"

#include "art/art.h"
#include "art/roompictures.h"

#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>

using namespace kvx;
using kvx::test::TestRoom;

namespace {

// Design sizes at 1024 x 768: the rack picture, the left end panel
// (120 x 11520 / 15360) and the viewport.
constexpr double W = 2160;
constexpr double H = 3945;
constexpr double LeftPanel = 90;
constexpr double Viewport = 15360 - 3 * 255;     // 14595
constexpr double ViewportHeight = 11520 - 4 * 255; // 10500

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
    QList<At> racks;
    QList<At> leftPanels;
    QList<At> rightPanels;
    QList<bool> rightVisible;
};

} // namespace

Q_DECLARE_METATYPE(Layout)

class TestViewerRoomPlan : public QObject
{
    Q_OBJECT

private slots:
    void placesRacksNamesAndPanels_data();
    void placesRacksNamesAndPanels();
    void roomSize_data();
    void roomSize();
    void frontRowsStandInFront();
    void picturesMadeAheadFitTheRoom();
    void startsCentred();
    void scrollRange_data();
    void scrollRange();
    void pageClickMovesTheRoom();
    void enlargedWindowKeepsTheOffset();
    void wheelScrollsTheRoom_data();
    void wheelScrollsTheRoom();

private:
    static void resizeWindow(frmSwitch &form, int widthTwips, int heightTwips);
};

void TestViewerRoomPlan::resizeWindow(frmSwitch &form, int widthTwips, int heightTwips)
{
    // A size that differs first, so that the window is resized whatever it was.
    form.setWidth(widthTwips + 1500);
    form.setHeight(heightTwips + 1500);
    QCoreApplication::processEvents();
    form.setWidth(widthTwips);
    form.setHeight(heightTwips);
    QCoreApplication::processEvents();
}

void TestViewerRoomPlan::placesRacksNamesAndPanels_data()
{
    QTest::addColumn<Layout>("layout");

    // Shoot 3 (the front row) is empty: its first empty place puts imgEF(1)
    // against the template's right side and the end of the row puts imgEF(2)
    // there again; only imgEF(1) is hidden. Shoot 2 is one run from place 1,
    // shoot 1 has racks at places 1, 2 and 4.
    Layout runs;
    runs.rows = {{"UC-01", "UC-02", "", "UC-04"}, {"UD-01", "UD-02", "UD-03", "UD-04"}, {"", "", "", ""}};
    runs.names = {"UD-01", "UD-02", "UD-03", "UD-04", "UC-01", "UC-02", "UC-04"};
    runs.racks = {{2520, 1}, {4680, 1}, {6840, 1}, {9000, 1}, {2880, 2}, {5040, 2}, {9360, 2}};
    runs.leftPanels = {{2520 - LeftPanel, 1}, {2880 - LeftPanel, 2}, {9360 - LeftPanel, 2}};
    runs.rightPanels = {{2160, 0}, {2160, 0}, {11160, 1}, {7200, 2}, {11520, 2}};
    runs.rightVisible = {false, true, true, true, true};
    QTest::newRow("empty front row, a full run, places 1 2 4") << runs;

    // The front row's run ends at the end of the row: its panel is imgEF(1),
    // hidden, but the next shoot begins with an empty place and puts a second
    // panel at the same spot, which stays.
    Layout doubled;
    doubled.rows = {{"", "Y2", "Y3"}, {"X1", "X2", "X3"}};
    doubled.names = {"X1", "X2", "X3", "Y2", "Y3"};
    doubled.racks = {{2160, 0}, {4320, 0}, {6480, 0}, {4680, 1}, {6840, 1}};
    doubled.leftPanels = {{2160 - LeftPanel, 0}, {4680 - LeftPanel, 1}};
    doubled.rightPanels = {{8640, 0}, {8640, 0}, {9000, 1}};
    doubled.rightVisible = {false, true, true};
    QTest::newRow("full front row, next shoot starts empty") << doubled;

    // A front row whose first run ends inside the row shows no right panel for it.
    Layout gapInFront;
    gapInFront.rows = {{"A1", "", "A3"}};
    gapInFront.names = {"A1", "A3"};
    gapInFront.racks = {{2160, 0}, {6480, 0}};
    gapInFront.leftPanels = {{2160 - LeftPanel, 0}, {6480 - LeftPanel, 0}};
    gapInFront.rightPanels = {{4320, 0}, {8640, 0}};
    gapInFront.rightVisible = {false, true};
    QTest::newRow("front row with a gap") << gapInFront;
}

void TestViewerRoomPlan::placesRacksNamesAndPanels()
{
    QFETCH(Layout, layout);
    test::ProgramFixture program;
    TestRoom room;
    room.rows = layout.rows;
    QVERIFY(program.start(room));
    frmSwitch &form = frmSwitch::get();

    const double front = 15750 - 2.5 * H; // the template's Top
    QCOMPARE(form.imgRack(0).Top(), front);
    const auto topOf = [&](int back) { return front - back * H / 4; };

    QCOMPARE(ModMain.RackIndex, int(layout.racks.size()));
    QCOMPARE(form.imgRack.count(), ModMain.RackIndex + 1);
    QCOMPARE(form.lblRack.count(), ModMain.RackIndex + 1);
    for (int i = 1; i <= ModMain.RackIndex; ++i) {
        const Image &rack = form.imgRack(i);
        const Label &name = form.lblRack(i);
        const At want = layout.racks[i - 1];
        QCOMPARE(rack.Left(), want.left);
        QCOMPARE(rack.Top(), topOf(want.back));
        QCOMPARE(rack.Width(), W);
        QCOMPARE(rack.Height(), H);
        QVERIFY(rack.Visible());
        QCOMPARE(name.Caption(), QString::fromLatin1(layout.names[i - 1]));
        QVERIFY(name.Visible());
        QCOMPARE(name.Top(), rack.Top() + 200);
        // Centred on the rack, measured on the label's own width.
        QVERIFY(name.Width() > 0 && name.Width() < W);
        QCOMPARE(name.Left() + name.Width() / 2, rack.Left() + W / 2);
        QVERIFY(rack.ToolTipText().startsWith(QStringLiteral("RackPosition ")));
    }
    // The first run starts at place 1: its left panel ends exactly where the rack begins.
    QCOMPARE(form.imgEFL(1).Left() + form.imgEFL(1).Width(), form.imgRack(1).Left());

    QCOMPARE(form.EFLCount.toInt(), int(layout.leftPanels.size()));
    QCOMPARE(form.imgEFL.count(), form.EFLCount.toInt() + 1);
    for (int n = 1; n <= form.EFLCount.toInt(); ++n) {
        const Image &panel = form.imgEFL(n);
        QCOMPARE(panel.Width(), LeftPanel);
        QCOMPARE(panel.Left(), layout.leftPanels[n - 1].left);
        QCOMPARE(panel.Top(), topOf(layout.leftPanels[n - 1].back));
        QVERIFY(panel.Visible());
    }
    QCOMPARE(int(form.EFCount), int(layout.rightPanels.size()));
    QCOMPARE(form.imgEF.count(), form.EFCount + 1);
    for (int n = 1; n <= form.EFCount; ++n) {
        const Image &panel = form.imgEF(n);
        QCOMPARE(panel.Width(), 165.0);
        QCOMPARE(panel.Height(), H);
        QCOMPARE(panel.Left(), layout.rightPanels[n - 1].left);
        QCOMPARE(panel.Top(), topOf(layout.rightPanels[n - 1].back));
        QCOMPARE(panel.Visible(), layout.rightVisible[n - 1]);
    }
}

void TestViewerRoomPlan::roomSize_data()
{
    QTest::addColumn<int>("shoots");
    QTest::addColumn<int>("places");
    QTest::addColumn<double>("height");
    QTest::addColumn<double>("width");
    // A room narrower than the viewport is drawn as wide as the viewport.
    QTest::newRow("1 shoot of 2") << 1 << 2 << 1.5 * ViewportHeight << Viewport;
    QTest::newRow("1 shoot of 7") << 1 << 7 << 1.5 * ViewportHeight << (7 + 1 + 1 / 4.0) * W;
    QTest::newRow("5 shoots of 7") << 5 << 7 << 1.5 * ViewportHeight << (7 + 1 + 5 / 4.0) * W;
    QTest::newRow("7 shoots of 2") << 7 << 2 << 1.5 * ViewportHeight + 2 * H / 3 << Viewport;
    QTest::newRow("7 shoots of 7") << 7 << 7 << 1.5 * ViewportHeight + 2 * H / 3 << (7 + 1 + 7 / 4.0) * W;
}

void TestViewerRoomPlan::roomSize()
{
    QFETCH(int, shoots);
    QFETCH(int, places);
    QFETCH(double, height);
    QFETCH(double, width);
    test::ProgramFixture program;
    QVERIFY(program.start(test::fullRoom(shoots, places)));
    frmSwitch &form = frmSwitch::get();
    QCOMPARE(form.PicSwitch->Width(), Viewport);
    QCOMPARE(form.PicSwitch->Height(), ViewportHeight);
    QCOMPARE(form.PicRoom->Height(), height);
    QCOMPARE(form.PicRoom->Width(), width);
    // The front row stands 2.5 rack heights above the room's bottom; the back
    // row stays inside the room.
    QCOMPARE(form.imgRack(1).Top(), height - 2.5 * H);
    QVERIFY(form.imgRack(ModMain.RackIndex).Top() > 0);
    QVERIFY(form.VScroll1->Visible());
}

// The pictures compiled in for the first paint of a room are made at the
// sizes a 1024 x 768 screen shows the racks and end panels: painting the
// room renders none of them again.
void TestViewerRoomPlan::picturesMadeAheadFitTheRoom()
{
    test::ProgramFixture program;
    TestRoom room;
    room.rows = {{"UC-01", "UC-02", "", "UC-04"}, {"UD-01", "UD-02", "UD-03", "UD-04"}};
    QVERIFY(program.start(room));
    frmSwitch &form = frmSwitch::get();
    QMap<QString, QSize> made;
    for (int i = 0; i < Art::RoomPictureCount; ++i)
        made.insert(QString::fromLatin1(Art::RoomPictures[i].name),
                    QSize(Art::RoomPictures[i].width, Art::RoomPictures[i].height));
    QCOMPARE(made.size(), 3);
    QCOMPARE(form.imgRack(1).pixelRect().size(), made.value("rack"));
    QCOMPARE(form.imgEFL(1).pixelRect().size(), made.value("end-left"));
    QCOMPARE(form.imgEF(2).pixelRect().size(), made.value("end-right"));
    QVERIFY(form.imgEF(2).Visible() && form.imgEFL(1).Visible());

    const int racks = Art::rack().cachedRenderings();
    const int lefts = Art::endLeft().cachedRenderings();
    const int rights = Art::endRight().cachedRenderings();
    (void)test::grabImage(*form.PicRoom);
    QCOMPARE(Art::rack().cachedRenderings(), racks);
    QCOMPARE(Art::endLeft().cachedRenderings(), lefts);
    QCOMPARE(Art::endRight().cachedRenderings(), rights);
}

void TestViewerRoomPlan::frontRowsStandInFront()
{
    test::ProgramFixture program;
    TestRoom room;
    room.rows = {{"UC-01", "UC-02", "", "UC-04"}, {"UD-01", "UD-02", "UD-03", "UD-04"}};
    QVERIFY(program.start(room));
    frmSwitch &form = frmSwitch::get();
    PictureBox &plan = *form.PicRoom;
    const auto topmostAt = [&](double x, double y) {
        return plan.itemAt(QPoint(pixelsFromTwips(x), pixelsFromTwips(y)));
    };
    const Image &frontRack = form.imgRack(1);    // UD-01
    const Image &backRack = form.imgRack(5);     // UC-01, a row further back and W/6 to the right
    const Image &backPanel = form.imgEF(2);      // after UC-02, in front of which UD-03 stands
    const Image &frontRackOverPanel = form.imgRack(3);
    QVERIFY(backRack.Left() < frontRack.Left() + W && backRack.Top() + H > frontRack.Top());
    QCOMPARE(topmostAt(backRack.Left() + 100, frontRack.Top() + 600), &frontRack);
    QCOMPARE(topmostAt(backRack.Left() + 100, backRack.Top() + 600), &backRack);
    QCOMPARE(topmostAt(backPanel.Left() + 50, frontRackOverPanel.Top() + 600), &frontRackOverPanel);
    QCOMPARE(topmostAt(backPanel.Left() + 50, backPanel.Top() + 300), &backPanel);
    // A name is never hidden by a rack.
    for (int i = 1; i <= ModMain.RackIndex; ++i) {
        const QRect name = form.lblRack(i).pixelRect();
        QCOMPARE(plan.itemAt(name.center()), &form.lblRack(i));
    }

    // On the screen: the front rack's picture, not the floor, where the rows overlap.
    const QImage shot = test::grabImage(plan);
    const QRect front = test::widgetRect(frontRack);
    QVERIFY(shot.pixelColor(front.center()) != test::qtColor(plan.BackColor()));
}

void TestViewerRoomPlan::startsCentred()
{
    test::ProgramFixture program;
    QVERIFY(program.start(test::fullRoom(4, 10)));
    frmSwitch &form = frmSwitch::get();
    // Room 12 rack widths (25920 twips) in a viewport of 14595: 77.6 % overflow.
    QCOMPARE(form.HScroll1->Max(), 78);
    QCOMPARE(form.HScroll1->Value(), 39);
    QCOMPARE(form.PicRoom->Left(), (Viewport - 25920) / 2);
    QCOMPARE(form.VScroll1->Max(), 50);
    QCOMPARE(form.VScroll1->Value(), 25);
    QCOMPARE(form.PicRoom->Top(), -(1.5 * ViewportHeight - ViewportHeight) / 2);
    // The bars sit under and beside the viewport, one step of a tenth of the viewport.
    QCOMPARE(form.HScroll1->Top(), ViewportHeight);
    QCOMPARE(form.HScroll1->Left(), 255.0);
    QCOMPARE(form.HScroll1->Width(), Viewport);
    QCOMPARE(form.VScroll1->Left(), 255 + Viewport);
    QCOMPARE(form.VScroll1->Height(), ViewportHeight);
    QCOMPARE(form.HScroll1->LargeChange(), 10);
    QCOMPARE(form.VScroll1->LargeChange(), 10);
}

void TestViewerRoomPlan::scrollRange_data()
{
    QTest::addColumn<double>("room");
    QTest::addColumn<int>("max");
    QTest::addColumn<int>("value");
    QTest::addColumn<double>("left");
    // A viewport of 2000 twips.
    QTest::newRow("exactly as wide") << 2000.0 << 0 << 0 << 0.0;
    QTest::newRow("0.5 % rounds to the even 0") << 2010.0 << 0 << 0 << 0.0;
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
    form.PicRoom->setLeft(0);
    form.PicRoom->setWidth(room);
    resizeWindow(form, 2000 + 3 * 255, 11520);
    QCOMPARE(form.PicSwitch->Width(), 2000.0);
    QCOMPARE(form.HScroll1->Width(), 2000.0);
    QCOMPARE(form.HScroll1->Max(), max);
    if (max > 0)
        form.HScroll1->setValue(value);
    QCOMPARE(form.PicRoom->Left(), left);
}

void TestViewerRoomPlan::pageClickMovesTheRoom()
{
    test::ProgramFixture program;
    QVERIFY(program.start(test::fullRoom(4, 10)));
    frmSwitch &form = frmSwitch::get();
    QScrollBar &bar = *form.HScroll1;
    QCOMPARE(bar.value(), 39);
    // A click on the track right of the thumb: one page, a tenth of the viewport.
    QTest::mouseClick(&bar, Qt::LeftButton, {}, QPoint(bar.width() - 30, bar.height() / 2));
    QCOMPARE(form.HScroll1->Value(), 49);
    QCOMPARE(form.PicRoom->Left(), 49.0 / 78 * (Viewport - 25920));
}

void TestViewerRoomPlan::enlargedWindowKeepsTheOffset()
{
    test::ProgramFixture program;
    QVERIFY(program.start(test::fullRoom(4, 10)));
    frmSwitch &form = frmSwitch::get();
    form.VScroll1->setValue(form.VScroll1->Max());
    const double bottom = ViewportHeight - 1.5 * ViewportHeight;
    QCOMPARE(form.PicRoom->Top(), bottom);
    // Tall enough for the whole room: the bar loses its range, the room stays.
    resizeWindow(form, 15360, 17000);
    QVERIFY(form.PicSwitch->Height() > form.PicRoom->Height());
    QCOMPARE(form.VScroll1->Max(), 0);
    QCOMPARE(form.VScroll1->Value(), 0);
    QCOMPARE(form.PicRoom->Top(), bottom);
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
    QVERIFY(v >= 20 && v + 10 <= form.VScroll1->Max());
    // The room's controls leave the wheel to the window, as a turn over the
    // room reaches it (Qt passes an unaccepted wheel event to the parent).
    const QPointF at = form.PicSwitch->mapTo(&form, form.PicSwitch->rect().center());
    QWheelEvent wheel(at, form.mapToGlobal(at), QPoint(), QPoint(0, turn), Qt::NoButton,
                      shift ? Qt::ShiftModifier : Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(form.PicRoom, &wheel);
    QVERIFY(!wheel.isAccepted());
    QApplication::sendEvent(&form, &wheel);
    QCOMPARE(form.HScroll1->Value(), h + hMove);
    QCOMPARE(form.VScroll1->Value(), v + vMove);
    // The room follows its bars.
    QCOMPARE(form.PicRoom->Top(), (form.PicSwitch->Height() - form.PicRoom->Height()) * (v + vMove) / form.VScroll1->Max());
}

QTEST_MAIN(TestViewerRoomPlan)
#include "test_viewer_roomplan.moc"
