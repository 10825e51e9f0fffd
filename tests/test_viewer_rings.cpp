// The ring views: the schematic of the room, the five ring commands, the
// links of a ring (which side each half circle bulges to, how a ring is
// walked), the station pop-up of a clicked rack name, the way back to the
// room, and an error escaping a handler.

#include "viewerhelpers.h"

#include "platform/application.h"

#include <QTimer>

#include <cmath>

using namespace kvx;
using kvx::test::TestRoom;

namespace {

// The centre of a place's rectangle in the schematic's pixels.
QPointF centreOf(int shoot, int place)
{
    const frmSwitch &form = frmSwitch::get();
    return QRectF(test::widgetRect(form.shpRack((shoot - 1) * ModMain.racks() + place))).center();
}

// Of a rack named Rsp.
QPointF centreOf(const QByteArray &rack)
{
    return centreOf(rack.at(1) - '0', rack.at(2) - '0');
}

Menu *ringItem(frmSwitch &form, int k)
{
    Menu *items[] = {form.MnuMIS, form.MnuMAS1, form.MnuMAS2, form.MnuMAS3, form.MnuMAS4};
    return items[k];
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
    void ringLinks_data();
    void ringLinks();
    void stationPopup_data();
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
    QCOMPARE(QSizeF(form.PicRing->Width(), form.PicRing->Height()), QSizeF(form.PicSwitch->Width(), form.PicSwitch->Height()));
    QCOMPARE(form.lblRing->Left() + form.lblRing->Width() / 2, form.PicRing->Width() / 2);
    QCOMPARE(form.shpRack.count(), 1 + shoots * 3);
    for (int i : {1, 3, 4, 5, 6}) {
        const int r = (i - 1) / 3 + 1;
        const int c = (i - 1) % 3 + 1;
        const Shape &shape = form.shpRack(i);
        const Label &name = form.lblRingRack(i);
        QCOMPARE(QRectF(shape.Left(), shape.Top(), shape.Width(), shape.Height()),
                 QRectF(c * pitchX, r * pitchY, width, height));
        QVERIFY(shape.Visible() && name.Visible());
        QCOMPARE(name.Top(), shape.Top());
        QCOMPARE(name.Left() + name.Width() / 2, shape.Left() + shape.Width() / 2);
        QCOMPARE(shape.BorderStyle(), i == 5 ? int(Shape::Dot) : int(Shape::Solid));
        QCOMPARE(name.Caption(), i == 5 ? QString() : QStringLiteral("R%1%2").arg(r).arg(c));
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
// outwards, are drawn inside the picture too. The MIS ring of 15 x 15 is
// the ring view's screenshot.
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
    const auto line = [&](int s, int p, int ds, int dp) {
        QByteArrayList members;
        for (; members.size() < 14 && s >= 1 && s <= shoots && p >= 1 && p <= places; s += ds, p += dp)
            members << room.rows[s - 1][p - 1];
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
    for (int k = 0; k < 5; ++k) {
        ringItem(form, k)->trigger();
        const QImage shot = test::grabImage(*form.PicRing);
        if (k == 0 && shoots == 15)
            QVERIFY(test::grabImage(form).save(test::screenshotFolder() + QStringLiteral("/ring-mis-15x15-%1x%2.png").arg(screen.width()).arg(screen.height())));
        const QByteArrayList &members = room.rings[size_t(k)];
        for (qsizetype m = 0; m + 1 < members.size(); ++m) {
            const auto centre = [&](const QByteArray &rack) { return centreOf(rack.mid(2, 2).toInt(), rack.mid(5, 2).toInt()); };
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
            QVERIFY2(picture.contains(outer.toPoint()) && test::colorNear(shot, outer.toPoint(), test::qtColor(room.colours[size_t(k)]), 3),
                     qPrintable(members[m] + " to " + members[m + 1]));
        }
    }
}

void TestViewerRings::ringCommands_data()
{
    QTest::addColumn<int>("ring");
    QTest::addColumn<int>("noOfMas");
    QTest::addColumn<QByteArray>("colourText"); // a MAS colour the file holds as a text
    QTest::newRow("MIS") << 0 << 4 << QByteArray();
    QTest::newRow("MAS1") << 1 << 4 << QByteArray();
    QTest::newRow("MAS2") << 2 << 4 << QByteArray();
    QTest::newRow("MAS3") << 3 << 4 << QByteArray();
    QTest::newRow("MAS4") << 4 << 4 << QByteArray();
    QTest::newRow("MAS3 in a text colour draws black") << 3 << 4 << QByteArray("RED");
    QTest::newRow("MAS3 of 3 rings") << 3 << 3 << QByteArray();
    QTest::newRow("MAS4 of 3 rings is greyed") << 4 << 3 << QByteArray();
    QTest::newRow("MAS3 of 2 rings is greyed") << 3 << 2 << QByteArray();
}

void TestViewerRings::ringCommands()
{
    QFETCH(int, ring);
    QFETCH(int, noOfMas);
    QFETCH(QByteArray, colourText);
    test::ProgramFixture program;
    TestRoom room = test::fullRoom(3, 3);
    room.noOfMas = noOfMas;
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
    QCOMPARE(form.MnuMAS3->Enabled(), noOfMas >= 3);
    QCOMPARE(form.MnuMAS4->Enabled(), noOfMas == 4);
    form.MnuMAS1->trigger(); // another ring first: its mark and its drawing must go
    ringItem(form, ring)->trigger();
    const bool shown = ring <= noOfMas;
    for (int k = 0; k < 5; ++k)
        QCOMPARE(ringItem(form, k)->Checked(), k == (shown ? ring : 1));
    if (!shown)
        return; // a greyed item does nothing
    static const char *const names[] = {"MIS", "MAS1", "MAS2", "MAS3", "MAS4"};
    QCOMPARE(form.lblRing->Caption(), QString::fromLatin1(names[ring]) + QStringLiteral(" Ring Lay Out"));
    QCOMPARE(form.lblRing->ForeColor(), room.colours[size_t(ring)]);
    QVERIFY(form.PicRing->Visible() && !form.PicRoom->Visible());
    QVERIFY(!form.HScroll1->Visible() && !form.VScroll1->Visible());
    QCOMPARE(form.PicRing->drawingCount(), 3); // two member boxes and a half circle

    // Drawn in the ring's colour (ringLinks checks the half circles' sides).
    const QImage shot = test::grabImage(*form.PicRing);
    QVERIFY(test::colorNear(shot, centreOf(pairs[ring][0]).toPoint(), test::qtColor(room.colours[size_t(ring)])));
    QVERIFY(test::colorNear(shot, centreOf(pairs[ring][1]).toPoint(), test::qtColor(room.colours[size_t(ring)])));
}

void TestViewerRings::ringLinks_data()
{
    QTest::addColumn<QSize>("room"); // shoots x places
    QTest::addColumn<QByteArrayList>("members");
    QTest::addColumn<int>("links");
    QTest::addColumn<QPointF>("bulge"); // of a single link, from its middle in units of its radius
    const QSize square(3, 3);
    const double s = 1 / std::sqrt(2.0);
    QTest::newRow("same row, first left: below") << square << QByteArrayList{"R21", "R23"} << 1 << QPointF(0, 1);
    QTest::newRow("same row, first right: above") << square << QByteArrayList{"R23", "R21"} << 1 << QPointF(0, -1);
    QTest::newRow("same column, first above: left") << square << QByteArrayList{"R12", "R32"} << 1 << QPointF(-1, 0);
    QTest::newRow("same column, first below: right") << square << QByteArrayList{"R32", "R12"} << 1 << QPointF(1, 0);
    // Down to the right: the arctangent is negative and 2 x PI is added; the arc goes over the upper right.
    QTest::newRow("diagonal, negative arctangent") << square << QByteArrayList{"R11", "R33"} << 1 << QPointF(s, -s);
    QTest::newRow("diagonal, negative arctangent, back") << square << QByteArrayList{"R33", "R11"} << 1 << QPointF(s, -s);
    QTest::newRow("diagonal, positive arctangent") << square << QByteArrayList{"R13", "R31"} << 1 << QPointF(-s, -s);
    // Places are counted shoot by shoot: with shoot and place swapped R13 and
    // R23 would be drawn at the places of R21 and R22.
    QTest::newRow("2 x 4 room, same column") << QSize(2, 4) << QByteArrayList{"R13", "R23"} << 1 << QPointF(-1, 0);
    QTest::newRow("4 x 2 room, same row") << QSize(4, 2) << QByteArrayList{"R41", "R42"} << 1 << QPointF(0, 1);
    QTest::newRow("ends at slot 1") << square << QByteArrayList{} << 0 << QPointF();
    QTest::newRow("ends at slot 2") << square << QByteArrayList{"R11"} << 0 << QPointF();
    QTest::newRow("closed ring P Q R P") << square << QByteArrayList{"R11", "R12", "R22", "R11"} << 3 << QPointF();
    QByteArrayList fifteen;
    for (int n = 0; n < 15; ++n)
        fifteen << "R" + QByteArray::number(n % 3 + 1) + QByteArray::number(n / 3 % 3 + 1);
    QTest::newRow("15 members, no end") << square << fifteen << 14 << QPointF();
    // The pair ending at the unknown member repeats its first end (a link of
    // size 0); the next pair runs from that end.
    QTest::newRow("a member of no rack") << square << QByteArrayList{"R11", "R12", "NOWHERE", "R13"} << 3 << QPointF();
    QTest::newRow("unknown first member") << square << QByteArrayList{"NOWHERE", "R12", "R13"} << 1 << QPointF();
}

void TestViewerRings::ringLinks()
{
    QFETCH(QSize, room);
    QFETCH(QByteArrayList, members);
    QFETCH(int, links);
    QFETCH(QPointF, bulge);
    test::ProgramFixture program;
    TestRoom plan = test::fullRoom(room.width(), room.height());
    // A file holds at most 14 members; the fifteenth, with no "*", only the model can.
    plan.rings[0] = members.mid(0, 14);
    QVERIFY(program.start(plan));
    if (members.size() == 15)
        ModMain.MisRing.set(Loose(members[14]), 15);
    frmSwitch &form = frmSwitch::get();
    form.MnuMIS->trigger();
    QCOMPARE(form.PicRing->drawingCount(), 3 * links);
    if (bulge.isNull())
        return;

    const QPointF a = centreOf(members[0]), b = centreOf(members[1]);
    const QPointF d = b - a;
    const double radius = std::hypot(d.x(), d.y()) / 2;
    // The point of the half circle furthest from the line A B lies on the
    // perpendicular through the middle, on the side the rule names.
    QPointF normal(-d.y() / (2 * radius), d.x() / (2 * radius));
    if (QPointF::dotProduct(normal, bulge) < 0)
        normal = -normal;
    const QImage shot = test::grabImage(*form.PicRing);
    const QColor colour = test::qtColor(plan.colours[0]);
    QVERIFY(test::colorNear(shot, a.toPoint(), colour));
    QVERIFY(test::colorNear(shot, b.toPoint(), colour));
    QVERIFY2(test::colorNear(shot, ((a + b) / 2 + radius * normal).toPoint(), colour, 3), "no arc on the named side");
    QVERIFY2(!test::colorNear(shot, ((a + b) / 2 - radius * normal).toPoint(), colour, 3), "an arc on the other side");
}

void TestViewerRings::stationPopup_data()
{
    QTest::addColumn<int>("index"); // of the name clicked; 0: beside the names
    QTest::addColumn<QStringList>("shelves");
    QTest::newRow("first place of shoot 2") << 5 << QStringList{"R21/1", "R21/2", "R21/3", "R21/4", "R21/5"};
    QTest::newRow("last place of shoot 1") << 4 << QStringList{"R14/1", "R14/2", "R14/3", "R14/4", "R14/5"};
    QTest::newRow("last place of the last shoot") << 8 << QStringList{"R24/1", "R24/2", "R24/3", "R24/4", "R24/5"};
    QTest::newRow("one station") << 7 << QStringList{"ONLY", "", "", "", ""};
    QTest::newRow("beside the names") << 0 << QStringList();
}

// The pop-up only informs: the captions of its five items are the stations
// of the rack at that place.
void TestViewerRings::stationPopup()
{
    QFETCH(int, index);
    QFETCH(QStringList, shelves);
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
    const QPoint at = index ? test::widgetRect(form.lblRingRack(index)).center() : QPoint(3, form.PicRing->height() - 3);
    QTest::mouseClick(form.PicRing, Qt::LeftButton, {}, at);
    QCOMPARE(shown, index ? QList<QStringList>{shelves} : QList<QStringList>());
    QVERIFY(!form.MnuST->Visible());
}

void TestViewerRings::backToTheRoomAndRefresh()
{
    test::ProgramFixture program;
    TestRoom room = test::fullRoom(3, 3);
    room.rings[0] = {"R21", "R23", "R33"};
    QVERIFY(program.start(room));
    frmSwitch &form = frmSwitch::get();
    form.MnuMIS->trigger();
    QCOMPARE(form.PicRing->drawingCount(), 6);

    form.MnuSwitch->trigger();
    QVERIFY(form.PicRoom->Visible() && !form.PicRing->Visible());
    QVERIFY(form.HScroll1->Visible() && form.VScroll1->Visible());
    // The same ring again is drawn from a cleared picture.
    form.MnuMIS->trigger();
    QCOMPARE(form.PicRing->drawingCount(), 6);

    // A refresh in the ring view rebuilds the schematic; the view stays, without links.
    form.mnuRefresh->trigger();
    QVERIFY(form.PicRing->Visible() && !form.PicRoom->Visible());
    QVERIFY(!form.HScroll1->Visible() && !form.VScroll1->Visible());
    QCOMPARE(form.PicRing->drawingCount(), 0);
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
