// Renders the main window on the sample exchange, the room plan, the MIS
// ring view, the rack view with its doors shut and open and the full shelf
// of a rack of every family, at the four usual screen sizes, to PNG files
// under the build folder for people to look at; a few pixel checks catch
// what failed to paint.

#include "rackviewhelpers.h"

#include "app/racktemplates.h"

#include <QTest>

#include <algorithm>
#include <cmath>

using namespace kvx;

class TestViewerScreenshot : public QObject
{
    Q_OBJECT

private slots:
    void render_data();
    void render();
    void rackAndShelfViews_data();
    void rackAndShelfViews();
    void smallRoomShelfView_data();
    void smallRoomShelfView();

private:
    static QString folder();
    static void scrollToShow(double x, double y);
};

// Scrolls with the bars, as a user would, so that the room's point (x, y)
// stands as near the viewport's centre as the bars go.
void TestViewerScreenshot::scrollToShow(double x, double y)
{
    frmSwitch &form = frmSwitch::get();
    const auto value = [](double at, double viewport, double room, int max) {
        if (max == 0)
            return 0;
        const double offset = viewport / 2 - at;
        return std::clamp(int(std::lround(offset / (viewport - room) * max)), 0, max);
    };
    form.HScroll1->setValue(value(x, form.PicSwitch->Width(), form.PicRoom->Width(), form.HScroll1->Max()));
    form.VScroll1->setValue(value(y, form.PicSwitch->Height(), form.PicRoom->Height(), form.VScroll1->Max()));
}

QString TestViewerScreenshot::folder()
{
    return qEnvironmentVariable("KVX_BUILD_DIR", QDir::currentPath()) + QStringLiteral("/screenshots");
}

void TestViewerScreenshot::render_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::newRow("800x600") << 800 << 600;
    QTest::newRow("1024x768") << 1024 << 768;
    QTest::newRow("1280x1024") << 1280 << 1024;
    QTest::newRow("1920x1080") << 1920 << 1080;
}

void TestViewerScreenshot::render()
{
    QFETCH(int, width);
    QFETCH(int, height);
    test::ProgramFixture program(width, height);
    QFile sample(QStringLiteral(KVX_SAMPLE_FILE));
    QVERIFY(sample.open(QIODevice::ReadOnly));
    QVERIFY(program.write(QStringLiteral("config.kvx"), sample.readAll()));
    Main();
    QVERIFY(frmSwitch::isLoaded());
    frmSwitch &form = frmSwitch::get();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QCOMPARE(form.windowTitle(), QStringLiteral("KINGSBRIDGE TRUNK EXCHANGE"));

    const QString folder = TestViewerScreenshot::folder();
    QVERIFY(QDir().mkpath(folder));
    const QString size = QStringLiteral("%1x%2").arg(width).arg(height);

    const QImage room = test::grabImage(form);
    QVERIFY(room.save(folder + QStringLiteral("/roomplan-%1.png").arg(size)));
    // Every rack picture and its name painted where the plan put them.
    const QImage plan = test::grabImage(*form.PicRoom);
    const QColor floor = test::qtColor(form.PicRoom->BackColor());
    for (int i = 1; i <= ModMain.RackIndex; ++i) {
        const QRect rack = test::widgetRect(form.imgRack(i));
        QVERIFY2(plan.pixelColor(rack.center().x(), rack.bottom() - 5) != floor, qPrintable(form.lblRack(i).Caption()));
        QVERIFY2(test::colorNear(plan, test::widgetRect(form.lblRack(i)).center(), QColor(0, 0, 255), 6),
                 qPrintable(form.lblRack(i).Caption()));
    }

    form.MnuMIS->trigger();
    const QImage ring = test::grabImage(form);
    QVERIFY(ring.save(folder + QStringLiteral("/ring-mis-%1.png").arg(size)));
    // The first link (CA to UC-01, one row) ends on the member boxes' centres.
    const QImage schematic = test::grabImage(*form.PicRing);
    const QColor mis = test::qtColor(quint32(ModMain.MisColor));
    for (int i = 1; i <= 2; ++i) {
        const int index = i == 1 ? 5 : 7; // CA at place 5, UC-01 at place 7 of shoot 1
        const QPoint centre = test::widgetRect(form.shpRack(index)).center();
        QVERIFY(test::colorNear(schematic, centre, mis, 2));
    }
}

void TestViewerScreenshot::rackAndShelfViews_data()
{
    render_data();
}

void TestViewerScreenshot::rackAndShelfViews()
{
    QFETCH(int, width);
    QFETCH(int, height);
    test::ProgramFixture program(width, height);
    QFile sample(QStringLiteral(KVX_SAMPLE_FILE));
    QVERIFY(sample.open(QIODevice::ReadOnly));
    QVERIFY(program.write(QStringLiteral("config.kvx"), sample.readAll()));
    Main();
    QVERIFY(frmSwitch::isLoaded());
    frmSwitch &form = frmSwitch::get();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QVERIFY(QDir().mkpath(folder()));
    const QString size = QStringLiteral("%1x%2").arg(width).arg(height);

    // A rack of every family, its fullest shelf opened through both doors.
    const QStringList racks{"UE-01", "UD-01", "UC-01", "XA-1A", "XA0", "XB-1A", "CA"};
    for (const QString &rack : racks) {
        const Image &plan = form.imgRack(test::rackIndex(rack));
        scrollToShow(plan.Left() + plan.Width() / 2, plan.Top() + plan.Height() / 2);
        QVERIFY2(test::openRack(rack), qPrintable(rack));
        QCOMPARE(form.lblRackName->Caption(), rack);
        const QString name = QString(rack).remove(QLatin1Char('-'));
        const bool front = rack == racks[0] || rack == racks[2]; // the two rack fronts
        if (front)
            QVERIFY(test::grabImage(form).save(folder() + QStringLiteral("/rackview-shut-%1-%2.png").arg(name, size)));
        QVERIFY(test::openDoors());
        if (front)
            QVERIFY(test::grabImage(form).save(folder() + QStringLiteral("/rackview-open-%1-%2.png").arg(name, size)));

        int fullest = -1;
        int most = -1;
        for (int k = 0; k < 5; ++k) {
            int cards = 0;
            while (cards < 35 && ModMain.SlotNo(form.SelShoot, form.SelPlace, k + 1, cards + 1).number() >= 0)
                ++cards;
            // The last of the fullest: XB's holds the short cards laid over others.
            if (form.imgShelf(k).Visible() && cards >= most) {
                most = cards;
                fullest = k;
            }
        }
        QVERIFY(fullest >= 0);
        QVERIFY(test::clickOn(form.imgShelf(fullest)));
        test::growShelf();
        QCOMPARE(form.CardCount, most);
        const PictureBox &box = *form.picShelfBig;
        scrollToShow(box.Left() + box.Width() / 2, box.Top() + box.Height() / 2);
        const QImage shot = test::grabImage(form);
        QVERIFY(shot.save(folder() + QStringLiteral("/shelfview-%1-%2.png").arg(name, size)));
        // The last card painted.
        const QPoint card = test::widgetRect(form.imgCard(form.CardCount)).center();
        QVERIFY(shot.pixelColor(form.picShelfBig->mapTo(&form, card)) != test::qtColor(box.BackColor()));
        // A click on the floor closes the shelf view, a second one the rack view.
        QVERIFY(test::clickFloor() && test::clickFloor());
        QVERIFY(!form.frameRackBig->Visible());
    }
}

void TestViewerScreenshot::smallRoomShelfView_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("places");
    for (const QSize screen : {QSize(800, 600), QSize(1024, 768), QSize(1280, 1024), QSize(1920, 1080)}) {
        for (const int places : {1, 4})
            QTest::addRow("1 x %d at %dx%d", places, screen.width(), screen.height()) << screen.width() << screen.height() << places;
    }
}

// In a room narrower than the shelf view, the view of the last rack's
// fullest shelf is seen whole: its close control and its last slot.
void TestViewerScreenshot::smallRoomShelfView()
{
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(int, places);
    test::ProgramFixture program(width, height);
    QVERIFY(program.start(test::fullRoom(1, places)));
    frmSwitch &form = frmSwitch::get();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    // A UE rack's second shelf holds a card at slot 145, near the shelf's end.
    applyRackTemplate(*templateForRackName("UE-01"), ModMain, 1, places);
    QVERIFY(test::openRack(QStringLiteral("R1%1").arg(places)) && test::openDoors());
    QVERIFY(test::clickOn(form.imgShelf(1)));
    test::growShelf();
    // Seen where it lies inside both the viewport and the room it is drawn on.
    const QRect viewport = form.PicSwitch->rect() & form.PicRoom->geometry();
    const auto seen = [&](const QRect &inShelf) { return viewport.contains(QRect(form.picShelfBig->mapTo(form.PicSwitch, inShelf.topLeft()), inShelf.size())); };
    QVERIFY(seen(form.cmdShelfEx->geometry()));
    int last = 1;
    for (int n = 2; n <= form.CardCount; ++n)
        last = form.imgCard(n).Left() > form.imgCard(last).Left() ? n : last;
    QCOMPARE(ModMain.SlotNo(1, places, 2, last).number(), 145.0);
    QVERIFY(seen(test::widgetRect(form.imgCard(last))));
    if (places == 1)
        QVERIFY(test::grabImage(form).save(folder() + QStringLiteral("/shelfview-1x1-%1x%2.png").arg(width).arg(height)));
}

QTEST_MAIN(TestViewerScreenshot)
#include "test_viewer_screenshot.moc"
