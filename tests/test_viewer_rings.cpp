// The ring views: the schematic of the room, the five ring commands, the
// half circle of each direction rule checked on the screen, the ring walk,
// the station pop-up of a clicked rack name and the way back to the room.

#include "viewerhelpers.h"

#include "platform/application.h"

#include <QDir>
#include <QTest>
#include <QTimer>

#include <cmath>

using namespace kvx;
using kvx::test::TestRoom;

namespace {

// A 3 x 3 room of racks R11 .. R33 whose MIS ring is the given list.
TestRoom roomWithMis(const QByteArrayList &members)
{
    TestRoom room = test::fullRoom(3, 3);
    room.rings[0] = members;
    return room;
}

// The centre of a place's rectangle in the schematic's pixels.
QPointF centreOf(const Shape &place)
{
    return QRectF(test::widgetRect(place)).center();
}

Menu *ringItem(frmSwitch &form, int k)
{
    Menu *items[] = {form.MnuMIS, form.MnuMAS1, form.MnuMAS2, form.MnuMAS3, form.MnuMAS4};
    return items[k];
}

int shoot(const QByteArray &name)
{
    return name.at(1) - '0';
}

int place(const QByteArray &name)
{
    return name.at(2) - '0';
}

} // namespace

class TestViewerRings : public QObject
{
    Q_OBJECT

private slots:
    void schematic_data();
    void schematic();
    void schematicFitsThePicture_data();
    void schematicFitsThePicture();
    void ringCommands_data();
    void ringCommands();
    void masItemsFollowTheRings_data();
    void masItemsFollowTheRings();
    void linkDirections_data();
    void linkDirections();
    void ringWalk_data();
    void ringWalk();
    void anotherRingReplacesTheDrawing();
    void drawingSurvivesBeingCovered();
    void stationPopup();
    void backToTheRoomAndRefresh();
    void errorInAHandlerIsShownAndTheProgramGoesOn();
};

void TestViewerRings::schematic_data()
{
    QTest::addColumn<int>("shoots");
    QTest::addColumn<double>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<double>("pitchX");
    QTest::addColumn<int>("pitchY");
    // The viewport is 14595 x 10500 twips.
    // Two rows would end on the picture's bottom edge: they are laid out as three.
    QTest::newRow("2 shoots of 3") << 2 << 14595 * 0.6 / 3 << 2100 << 14595 * 0.7 / 3 << 2450;
    // 10500 x 0.6 / 24 = 262.5 rounds to the even 262; 306.25 to 306.
    QTest::newRow("24 shoots of 3") << 24 << 14595 * 0.6 / 3 << 262 << 14595 * 0.7 / 3 << 306;
}

void TestViewerRings::schematic()
{
    QFETCH(int, shoots);
    QFETCH(double, width);
    QFETCH(int, height);
    QFETCH(double, pitchX);
    QFETCH(int, pitchY);
    test::ProgramFixture program;
    TestRoom room = test::fullRoom(shoots, 3);
    room.rows[1][1] = ""; // shoot 2, place 2: element 5
    QVERIFY(program.start(room));
    frmSwitch &form = frmSwitch::get();
    QCOMPARE(form.PicRing->Width(), form.PicSwitch->Width());
    QCOMPARE(form.PicRing->Height(), form.PicSwitch->Height());
    QCOMPARE(form.lblRing->Left() + form.lblRing->Width() / 2, form.PicRing->Width() / 2);
    QCOMPARE(form.shpRack.count(), 1 + shoots * 3);
    QCOMPARE(form.lblRingRack.count(), 1 + shoots * 3);
    for (int i : {1, 3, 4, 5, 6}) {
        const int r = (i - 1) / 3 + 1;
        const int c = (i - 1) % 3 + 1;
        const Shape &shape = form.shpRack(i);
        const Label &name = form.lblRingRack(i);
        QCOMPARE(shape.Left(), c * pitchX);
        QCOMPARE(shape.Top(), double(r * pitchY));
        QCOMPARE(shape.Width(), width);
        QCOMPARE(shape.Height(), double(height));
        QVERIFY(shape.Visible() && name.Visible());
        QCOMPARE(name.Top(), shape.Top());
        QCOMPARE(name.Left() + name.Width() / 2, shape.Left() + shape.Width() / 2);
        const bool empty = i == 5;
        QCOMPARE(shape.BorderStyle(), empty ? int(Shape::Dot) : int(Shape::Solid));
        QCOMPARE(name.Caption(), empty ? QString() : QStringLiteral("R%1%2").arg(r).arg(c));
    }
}

void TestViewerRings::schematicFitsThePicture_data()
{
    QTest::addColumn<int>("shoots");
    QTest::addColumn<int>("places");
    QTest::addColumn<QSize>("screen");
    QTest::newRow("1 x 1") << 1 << 1 << QSize(1024, 768);
    QTest::newRow("1 x 4") << 1 << 4 << QSize(1024, 768);
    for (const QSize screen : {QSize(800, 600), QSize(1024, 768), QSize(1280, 1024), QSize(1920, 1080)})
        QTest::addRow("15 x 15 at %dx%d", screen.width(), screen.height()) << 15 << 15 << screen;
}

// Every rectangle and seven-character name lies inside the picture, no two
// names overlap, and rings run along the grid's four borders, each bulging
// outwards, are drawn inside the picture too.
void TestViewerRings::schematicFitsThePicture()
{
    QFETCH(int, shoots);
    QFETCH(int, places);
    QFETCH(QSize, screen);
    test::ProgramFixture program(screen.width(), screen.height());
    TestRoom room;
    for (int s = 1; s <= shoots; ++s) {
        room.rows << QByteArrayList();
        for (int p = 1; p <= places; ++p)
            room.rows.last() << QStringLiteral("XB%1-%2").arg(s, 2, 10, QLatin1Char('0')).arg(p, 2, 10, QLatin1Char('0')).toLatin1();
    }
    const auto at = [&](int s, int p) { return room.rows[s - 1][p - 1]; };
    const auto line = [&](int s0, int p0, int ds, int dp) {
        QByteArrayList members;
        for (int s = s0, p = p0; members.size() < 14 && s >= 1 && s <= shoots && p >= 1 && p <= places; s += ds, p += dp)
            members << at(s, p);
        return members;
    };
    room.noOfMas = 4;
    room.rings = {line(shoots, 1, 0, 1), line(shoots, places, -1, 0), line(1, places, 0, -1), line(1, 1, 1, 0), line(1, 1, 0, 1)};
    QVERIFY(program.start(room));
    frmSwitch &form = frmSwitch::get();
    const QRect picture = form.PicRing->rect();
    for (int i = 1; i <= shoots * places; ++i) {
        const Label &name = form.lblRingRack(i);
        QVERIFY(picture.contains(test::widgetRect(form.shpRack(i))));
        QVERIFY(picture.contains(test::widgetRect(name)));
        QVERIFY2(name.Width() <= form.shpRack(i).Width(), qPrintable(name.Caption()));
        if (i % places != 0)
            QVERIFY(name.Left() + name.Width() < form.lblRingRack(i + 1).Left());
    }
    Menu *items[] = {form.MnuMIS, form.MnuMAS1, form.MnuMAS2, form.MnuMAS3, form.MnuMAS4};
    for (int k = 0; k < 5; ++k) {
        items[k]->trigger();
        const QImage shot = test::grabImage(*form.PicRing);
        if (k == 0 && shoots == 15) {
            const QString folder = qEnvironmentVariable("KVX_BUILD_DIR", QDir::currentPath()) + QStringLiteral("/screenshots");
            QVERIFY(QDir().mkpath(folder));
            QVERIFY(test::grabImage(form).save(folder + QStringLiteral("/ring-mis-15x15-%1x%2.png").arg(screen.width()).arg(screen.height())));
        }
        const QColor colour = test::qtColor(room.colours[size_t(k)]);
        const QByteArrayList &members = room.rings[size_t(k)];
        for (qsizetype m = 0; m + 1 < members.size(); ++m) {
            const auto centre = [&](const QByteArray &rack) {
                const int i = (rack.mid(2, 2).toInt() - 1) * places + rack.mid(5, 2).toInt();
                return QRectF(test::widgetRect(form.shpRack(i))).center();
            };
            const QPointF a = centre(members[m]), b = centre(members[m + 1]);
            // The half circle's outermost point: below a row walked to the
            // right, above one walked to the left, left of a column walked
            // down, right of one walked up.
            const double r = std::hypot(b.x() - a.x(), b.y() - a.y()) / 2;
            QPointF outer = (a + b) / 2;
            if (a.y() == b.y())
                outer.ry() += a.x() < b.x() ? r : -r;
            else
                outer.rx() += a.y() < b.y() ? -r : r;
            QVERIFY2(picture.contains(outer.toPoint()) && test::colorNear(shot, outer.toPoint(), colour, 3),
                     qPrintable(members[m] + " to " + members[m + 1]));
        }
    }
}

void TestViewerRings::ringCommands_data()
{
    QTest::addColumn<int>("ring");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QByteArray>("colourText"); // a MAS colour the file holds as a text
    QTest::newRow("MIS") << 0 << "MIS Ring Lay Out" << QByteArray();
    QTest::newRow("MAS1") << 1 << "MAS1 Ring Lay Out" << QByteArray();
    QTest::newRow("MAS2") << 2 << "MAS2 Ring Lay Out" << QByteArray();
    QTest::newRow("MAS3") << 3 << "MAS3 Ring Lay Out" << QByteArray();
    QTest::newRow("MAS4") << 4 << "MAS4 Ring Lay Out" << QByteArray();
    QTest::newRow("MAS3 in a text colour draws black") << 3 << "MAS3 Ring Lay Out" << QByteArray("RED");
}

void TestViewerRings::ringCommands()
{
    QFETCH(int, ring);
    QFETCH(QString, title);
    QFETCH(QByteArray, colourText);
    test::ProgramFixture program;
    TestRoom room = test::fullRoom(3, 3);
    room.noOfMas = 4;
    // Each ring joins two places of its own row, the first left of the second.
    const QByteArrayList pairs[] = {{"R11", "R12"}, {"R12", "R13"}, {"R21", "R22"}, {"R22", "R23"}, {"R31", "R32"}};
    for (int k = 0; k < 5; ++k)
        room.rings[size_t(k)] = pairs[k];
    QVERIFY(program.start(room));
    if (!colourText.isEmpty()) {
        ModMain.MasColor.set(Loose(colourText), ring);
        room.colours[size_t(ring)] = 0;
    }
    frmSwitch &form = frmSwitch::get();
    form.MnuMAS1->trigger(); // another ring first: its check mark must go
    ringItem(form, ring)->trigger();

    QCOMPARE(form.lblRing->Caption(), title);
    QCOMPARE(form.lblRing->ForeColor(), room.colours[size_t(ring)]);
    for (int k = 0; k < 5; ++k)
        QCOMPARE(ringItem(form, k)->Checked(), k == ring);
    QVERIFY(form.PicRing->Visible());
    QVERIFY(!form.PicRoom->Visible());
    QVERIFY(!form.HScroll1->Visible() && !form.VScroll1->Visible());
    QCOMPARE(form.PicRing->drawingCount(), 3); // two member boxes and a half circle

    // On the screen: both member boxes and the bottom of the half circle, in the ring's colour.
    const QImage shot = test::grabImage(*form.PicRing);
    const QColor colour = test::qtColor(room.colours[size_t(ring)]);
    const QByteArray &a = pairs[ring][0];
    const QByteArray &b = pairs[ring][1];
    const QPointF ca = centreOf(form.shpRack((shoot(a) - 1) * 3 + place(a)));
    const QPointF cb = centreOf(form.shpRack((shoot(b) - 1) * 3 + place(b)));
    QVERIFY(test::colorNear(shot, ca.toPoint(), colour));
    QVERIFY(test::colorNear(shot, cb.toPoint(), colour));
    const QPointF bottom((ca.x() + cb.x()) / 2, ca.y() + (cb.x() - ca.x()) / 2);
    QVERIFY(test::colorNear(shot, bottom.toPoint(), colour, 3));
}

void TestViewerRings::masItemsFollowTheRings_data()
{
    QTest::addColumn<int>("noOfMas");
    QTest::newRow("2 rings") << 2;
    QTest::newRow("3 rings") << 3;
    QTest::newRow("4 rings") << 4;
}

void TestViewerRings::masItemsFollowTheRings()
{
    QFETCH(int, noOfMas);
    test::ProgramFixture program;
    TestRoom room = test::fullRoom(2, 2);
    room.noOfMas = noOfMas;
    QVERIFY(program.start(room));
    frmSwitch &form = frmSwitch::get();
    QCOMPARE(form.MnuMAS3->Enabled(), noOfMas >= 3);
    QCOMPARE(form.MnuMAS4->Enabled(), noOfMas == 4);
    // A greyed item does nothing when chosen.
    form.MnuMAS4->trigger();
    QCOMPARE(form.PicRing->Visible(), noOfMas == 4);
    QCOMPARE(form.MnuMAS4->Checked(), noOfMas == 4);
}

void TestViewerRings::linkDirections_data()
{
    QTest::addColumn<QByteArray>("from");
    QTest::addColumn<QByteArray>("to");
    QTest::addColumn<QPointF>("bulge"); // from the link's middle, in units of its radius
    const double s = 1 / std::sqrt(2.0);
    QTest::newRow("same row, first left: below") << QByteArray("R21") << QByteArray("R23") << QPointF(0, 1);
    QTest::newRow("same row, first right: above") << QByteArray("R23") << QByteArray("R21") << QPointF(0, -1);
    QTest::newRow("same column, first above: left") << QByteArray("R12") << QByteArray("R32") << QPointF(-1, 0);
    QTest::newRow("same column, first below: right") << QByteArray("R32") << QByteArray("R12") << QPointF(1, 0);
    // Down to the right: the arctangent is negative and 2 x PI is added; the arc goes over the upper right.
    QTest::newRow("diagonal, negative arctangent") << QByteArray("R11") << QByteArray("R33") << QPointF(s, -s);
    QTest::newRow("diagonal, negative arctangent, back") << QByteArray("R33") << QByteArray("R11") << QPointF(s, -s);
    QTest::newRow("diagonal, positive arctangent") << QByteArray("R13") << QByteArray("R31") << QPointF(-s, -s);
}

void TestViewerRings::linkDirections()
{
    QFETCH(QByteArray, from);
    QFETCH(QByteArray, to);
    QFETCH(QPointF, bulge);
    test::ProgramFixture program;
    const TestRoom room = roomWithMis({from, to});
    QVERIFY(program.start(room));
    frmSwitch &form = frmSwitch::get();
    form.MnuMIS->trigger();
    QCOMPARE(form.PicRing->drawingCount(), 3);

    const QPointF a = centreOf(form.shpRack((shoot(from) - 1) * 3 + place(from)));
    const QPointF b = centreOf(form.shpRack((shoot(to) - 1) * 3 + place(to)));
    const QPointF middle = (a + b) / 2;
    const QPointF d = b - a;
    const double radius = std::hypot(d.x(), d.y()) / 2;
    // The point of the half circle furthest from the line A B lies on the
    // perpendicular through the middle, on the side the rule names.
    QPointF normal(-d.y() / (2 * radius), d.x() / (2 * radius));
    if (QPointF::dotProduct(normal, bulge) < 0)
        normal = -normal;
    const QImage shot = test::grabImage(*form.PicRing);
    const QColor colour = test::qtColor(room.colours[0]);
    QVERIFY(test::colorNear(shot, a.toPoint(), colour));
    QVERIFY(test::colorNear(shot, b.toPoint(), colour));
    QVERIFY2(test::colorNear(shot, (middle + radius * normal).toPoint(), colour, 3), "no arc on the named side");
    QVERIFY2(!test::colorNear(shot, (middle - radius * normal).toPoint(), colour, 3), "an arc on the other side");
}

void TestViewerRings::ringWalk_data()
{
    QTest::addColumn<QByteArrayList>("members");
    QTest::addColumn<int>("links");
    QTest::newRow("ends at slot 1") << QByteArrayList{} << 0;
    QTest::newRow("ends at slot 2") << QByteArrayList{"R11"} << 0;
    QTest::newRow("closed ring P Q R P") << QByteArrayList{"R11", "R12", "R22", "R11"} << 3;
    QByteArrayList fifteen;
    for (int n = 0; n < 15; ++n)
        fifteen << "R" + QByteArray::number(n % 3 + 1) + QByteArray::number(n / 3 % 3 + 1);
    QTest::newRow("15 members, no end") << fifteen << 14;
    // The pair ending at the unknown member repeats its first end (a link of
    // size 0); the next pair runs from that end.
    QTest::newRow("a member of no rack") << QByteArrayList{"R11", "R12", "NOWHERE", "R13"} << 3;
    QTest::newRow("unknown first member") << QByteArrayList{"NOWHERE", "R12", "R13"} << 1;
}

void TestViewerRings::ringWalk()
{
    QFETCH(QByteArrayList, members);
    QFETCH(int, links);
    test::ProgramFixture program;
    // A file holds at most 14 members; the fifteenth, with no "*", only the model can.
    QVERIFY(program.start(roomWithMis(members.mid(0, 14))));
    if (members.size() == 15)
        ModMain.MisRing.set(Loose(members[14]), 15);
    frmSwitch &form = frmSwitch::get();
    form.MnuMIS->trigger();
    QVERIFY(form.MnuMIS->Checked());
    QCOMPARE(form.lblRing->Caption(), QStringLiteral("MIS Ring Lay Out"));
    QCOMPARE(form.PicRing->drawingCount(), 3 * links);
}

void TestViewerRings::anotherRingReplacesTheDrawing()
{
    test::ProgramFixture program;
    TestRoom room = roomWithMis({"R21", "R23"});
    room.rings[2] = {"R11", "R31"};
    QVERIFY(program.start(room));
    frmSwitch &form = frmSwitch::get();
    form.MnuMIS->trigger();
    const QPointF below = (centreOf(form.shpRack(4)) + centreOf(form.shpRack(6))) / 2
                          + QPointF(0, (centreOf(form.shpRack(6)).x() - centreOf(form.shpRack(4)).x()) / 2);
    QVERIFY(test::colorNear(test::grabImage(*form.PicRing), below.toPoint(), test::qtColor(room.colours[0]), 3));

    form.MnuMAS2->trigger();
    QVERIFY(!form.MnuMIS->Checked());
    QVERIFY(form.MnuMAS2->Checked());
    QCOMPARE(form.PicRing->drawingCount(), 3);
    const QImage shot = test::grabImage(*form.PicRing);
    QVERIFY(!test::colorNear(shot, below.toPoint(), test::qtColor(room.colours[0]), 3));
    QVERIFY(test::colorNear(shot, centreOf(form.shpRack(7)).toPoint(), test::qtColor(room.colours[2])));
}

void TestViewerRings::drawingSurvivesBeingCovered()
{
    test::ProgramFixture program;
    const TestRoom room = roomWithMis({"R21", "R23"});
    QVERIFY(program.start(room));
    frmSwitch &form = frmSwitch::get();
    form.MnuMIS->trigger();
    QVERIFY(QTest::qWaitForWindowExposed(&form));

    // Another window over the ring view, then gone again: the view is painted anew.
    QWidget cover;
    cover.setGeometry(form.geometry());
    cover.show();
    QVERIFY(QTest::qWaitForWindowExposed(&cover));
    cover.hide();
    form.PicRing->repaint();
    const QPointF a = centreOf(form.shpRack(4));
    const QPointF b = centreOf(form.shpRack(6));
    const QPointF bottom((a.x() + b.x()) / 2, a.y() + (b.x() - a.x()) / 2);
    const QImage shot = test::grabImage(*form.PicRing);
    QVERIFY(test::colorNear(shot, bottom.toPoint(), test::qtColor(room.colours[0]), 3));
    QVERIFY(test::colorNear(shot, a.toPoint(), test::qtColor(room.colours[0])));
}

void TestViewerRings::stationPopup()
{
    test::ProgramFixture program;
    TestRoom room;
    room.rows = {{"R11", "R12", "R13", "R14"}, {"R21", "", "R23", "R24"}};
    room.stations["R23"] = {"ONLY", "", "", "", ""};
    QVERIFY(program.start(room));
    frmSwitch &form = frmSwitch::get();
    QList<QStringList> shown;
    setPopupMenuHook([&](Menu *menu) {
        QCOMPARE(menu, form.MnuST);
        QStringList captions;
        for (int k = 1; k <= 5; ++k)
            captions << form.MnuSlf[size_t(k)]->Caption();
        shown << captions;
    });
    form.MnuMIS->trigger();

    // Shoot 2, place 1 of a room of 4 places per shoot is element 5.
    QCOMPARE(form.lblRingRack(5).Caption(), QStringLiteral("R21"));
    QTest::mouseClick(form.PicRing, Qt::LeftButton, {}, test::widgetRect(form.lblRingRack(5)).center());
    QTest::mouseClick(form.PicRing, Qt::LeftButton, {}, test::widgetRect(form.lblRingRack(7)).center());
    // A click beside the names shows nothing.
    QTest::mouseClick(form.PicRing, Qt::LeftButton, {}, QPoint(3, form.PicRing->height() - 3));
    QCOMPARE(shown.size(), 2);
    QCOMPARE(shown[0], (QStringList{"R21/1", "R21/2", "R21/3", "R21/4", "R21/5"}));
    QCOMPARE(shown[1], (QStringList{"ONLY", "", "", "", ""}));
    QVERIFY(form.MnuST->items().size() == 5 && !form.MnuST->Visible());
}

void TestViewerRings::backToTheRoomAndRefresh()
{
    test::ProgramFixture program;
    QVERIFY(program.start(roomWithMis({"R21", "R23", "R33"})));
    frmSwitch &form = frmSwitch::get();
    form.MnuMAS1->trigger();
    form.MnuMIS->trigger();
    QCOMPARE(form.PicRing->drawingCount(), 6);

    form.MnuSwitch->trigger();
    QVERIFY(form.PicRoom->Visible());
    QVERIFY(!form.PicRing->Visible());
    QVERIFY(form.HScroll1->Visible() && form.VScroll1->Visible());
    QVERIFY(form.MnuMIS->Checked());
    QCOMPARE(form.PicRing->drawingCount(), 6);

    // The same ring again is drawn from a cleared picture.
    form.MnuMIS->trigger();
    QCOMPARE(form.PicRing->drawingCount(), 6);

    // A refresh in the ring view rebuilds the schematic; the view stays, without links.
    form.mnuRefresh->trigger();
    QVERIFY(form.PicRing->Visible());
    QVERIFY(!form.PicRoom->Visible());
    QVERIFY(!form.HScroll1->Visible() && !form.VScroll1->Visible());
    QCOMPARE(form.PicRing->drawingCount(), 0);
    QCOMPARE(form.lblRing->Caption(), QStringLiteral("MIS Ring Lay Out"));
    QVERIFY(form.MnuMIS->Checked());
    QCOMPARE(form.shpRack.count(), 1 + 9);
}

void TestViewerRings::errorInAHandlerIsShownAndTheProgramGoesOn()
{
    test::ProgramFixture program;
    QVERIFY(program.start(test::fullRoom(3, 3)));
    QTimer::singleShot(0, [] { raiseError(ErrSubscript, QStringLiteral("Subscript out of range")); });
    bool nextEventRan = false;
    QTimer::singleShot(1, [&nextEventRan] { nextEventRan = true; });
    QTRY_VERIFY(nextEventRan);
    QCOMPARE(program.hooks.messages.size(), 1);
    QCOMPARE(program.hooks.messages[0].text, QStringLiteral("Subscript out of range"));
    QVERIFY(frmSwitch::get().isVisible());
}

// The program's own application object, so that its handling of errors that
// escape an event handler is the one under test.
int main(int argc, char *argv[])
{
    kvx::Application app(argc, argv);
    app.setAttribute(Qt::AA_Use96Dpi, true);
    TestViewerRings tc;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&tc, argc, argv);
}
#include "test_viewer_rings.moc"
