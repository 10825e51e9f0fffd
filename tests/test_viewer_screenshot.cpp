// Renders the main window on the sample exchange, the room plan and the MIS
// ring view, at 1024 x 768 and 1920 x 1080, to PNG files under the build
// folder for people to look at; a few pixel checks catch what failed to paint.

#include "viewerhelpers.h"

#include <QTest>

using namespace kvx;

class TestViewerScreenshot : public QObject
{
    Q_OBJECT

private slots:
    void render_data();
    void render();
};

void TestViewerScreenshot::render_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::newRow("1024x768") << 1024 << 768;
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

    const QString folder = qEnvironmentVariable("KVX_BUILD_DIR", QDir::currentPath()) + QStringLiteral("/screenshots");
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

QTEST_MAIN(TestViewerScreenshot)
#include "test_viewer_screenshot.moc"
