// Picture boxes: Line and Circle drawing with the classic angle and aspect
// rules, drawing that survives being covered, hidden or resized until Cls,
// and the picture drawn unscaled from the top left.

#include "controlshelpers.h"

#include "platform/form.h"
#include "platform/label.h"
#include "platform/picturebox.h"

#include <QTest>

#include <numbers>

using namespace kvx;

namespace {

constexpr double Pi = std::numbers::pi;
const QColor Red(255, 0, 0);
const QColor Blue(0, 0, 255);
const QColor White(255, 255, 255);

// A 200 x 200 pixel white box without border on a shown form.
struct Board
{
    Form form;
    PictureBox *box = new PictureBox(form.clientArea());

    Board()
    {
        box->setBorderStyle(0);
        box->setBackColor(ColorWhite);
        box->Move(0, 0, 3000, 3000);
        form.resize(260, 240);
        form.show();
    }
    QImage shot() { return test::grabImage(*box); }
};

} // namespace

class TestControlsDrawing : public QObject
{
    Q_OBJECT

private slots:
    void circleAnglesAndAspect_data();
    void circleAnglesAndAspect();
    void negativeAnglesDrawTheRadius();
    void lineSegmentsAndBoxes();
    void drawingSurvivesUntilCls();
    void pictureIsDrawnUnscaledUnderTheControls();
    void borderMovesTheClientArea();
};

void TestControlsDrawing::circleAnglesAndAspect_data()
{
    QTest::addColumn<double>("start");
    QTest::addColumn<double>("end");
    QTest::addColumn<double>("aspect");
    QTest::addColumn<QList<QPoint>>("drawn");
    QTest::addColumn<QList<QPoint>>("blank");
    // Centre (100, 100), radius 80 pixels; screen y grows downwards.
    const QPoint top(100, 20), bottom(100, 180), left(20, 100), right(180, 100);
    QTest::newRow("0 to pi: the upper half") << 0.0 << Pi << 1.0 << QList<QPoint>{top, QPoint(157, 43)}
                                            << QList<QPoint>{bottom, QPoint(157, 157)};
    QTest::newRow("pi to 0: the lower half") << Pi << 0.0 << 1.0 << QList<QPoint>{bottom, QPoint(43, 157)}
                                            << QList<QPoint>{top, QPoint(43, 43)};
    QTest::newRow("pi/2 to 3pi/2: the left half")
        << Pi / 2 << 3 * Pi / 2 << 1.0 << QList<QPoint>{left, QPoint(43, 43)} << QList<QPoint>{right, QPoint(157, 157)};
    QTest::newRow("3pi/2 to pi/2: the right half")
        << 3 * Pi / 2 << Pi / 2 << 1.0 << QList<QPoint>{right, QPoint(157, 157)} << QList<QPoint>{left, QPoint(43, 43)};
    QTest::newRow("aspect 0.5: radius across, flattened")
        << 0.0 << 2 * Pi << 0.5 << QList<QPoint>{right, left, QPoint(100, 60), QPoint(100, 140)}
        << QList<QPoint>{top, bottom};
    QTest::newRow("aspect 2: radius upright, narrowed")
        << 0.0 << 2 * Pi << 2.0 << QList<QPoint>{top, bottom, QPoint(60, 100), QPoint(140, 100)}
        << QList<QPoint>{left, right};
}

void TestControlsDrawing::circleAnglesAndAspect()
{
    QFETCH(double, start);
    QFETCH(double, end);
    QFETCH(double, aspect);
    QFETCH(QList<QPoint>, drawn);
    QFETCH(QList<QPoint>, blank);
    Board board;
    board.box->setDrawWidth(2);
    board.box->Circle(1500, 1500, 1200, ColorBlue, start, end, aspect);
    const QImage image = board.shot();
    for (const QPoint &p : drawn)
        QVERIFY2(test::colorNear(image, p, Blue, 2), qPrintable(QStringLiteral("nothing drawn at %1,%2").arg(p.x()).arg(p.y())));
    for (const QPoint &p : blank)
        QVERIFY2(!test::colorNear(image, p, Blue, 4), qPrintable(QStringLiteral("drawn at %1,%2").arg(p.x()).arg(p.y())));
}

void TestControlsDrawing::negativeAnglesDrawTheRadius()
{
    Board board;
    board.box->Circle(1500, 1500, 1200, ColorBlue, -0.0001, Pi / 2);
    QImage image = board.shot();
    // Radius to the start (three o'clock), none to the end (twelve o'clock).
    QVERIFY(test::colorNear(image, QPoint(140, 100), Blue));
    QVERIFY(!test::colorNear(image, QPoint(100, 60), Blue));
    board.box->Cls();
    board.box->Circle(1500, 1500, 1200, ColorBlue, 0, -Pi / 2);
    image = board.shot();
    QVERIFY(test::colorNear(image, QPoint(100, 60), Blue));
    QVERIFY(!test::colorNear(image, QPoint(140, 100), Blue));
}

void TestControlsDrawing::lineSegmentsAndBoxes()
{
    Board board;
    board.box->setForeColor(ColorRed);
    board.box->Line(150, 150, 2850, 150);
    board.box->Line(600, 600, 1200, 1200, ColorBlue, PictureBox::Box);
    board.box->Line(1500, 1500, 2100, 2100, ColorBlue, PictureBox::BoxFilled);
    const QImage image = board.shot();
    for (int x = 12; x <= 188; x += 22)
        QVERIFY(test::colorNear(image, QPoint(x, 10), Red));
    QVERIFY(!test::colorNear(image, QPoint(100, 14), Red));
    // An outline: corners and edges, not the inside.
    QVERIFY(test::colorNear(image, QPoint(40, 40), Blue));
    QVERIFY(test::colorNear(image, QPoint(80, 60), Blue));
    QCOMPARE(image.pixelColor(60, 60), White);
    // Filled: the inside as well.
    QCOMPARE(image.pixelColor(120, 120), Blue);

    // DrawWidth widens what is drawn afterwards only.
    board.box->Cls();
    board.box->setDrawWidth(5);
    board.box->Line(150, 1500, 2850, 1500, ColorRed);
    const QImage wide = board.shot();
    int rows = 0;
    for (int y = 90; y <= 110; ++y)
        rows += wide.pixelColor(100, y) == Red;
    QCOMPARE(rows, 5);
}

void TestControlsDrawing::drawingSurvivesUntilCls()
{
    Board board;
    QVERIFY(QTest::qWaitForWindowExposed(&board.form));
    board.box->setDrawWidth(2);
    board.box->Line(150, 150, 2850, 150, ColorRed);
    board.box->Circle(1500, 1500, 1200, ColorBlue, 0, Pi);
    const auto intact = [&] {
        const QImage image = board.shot();
        return test::colorNear(image, QPoint(100, 10), Red) && test::colorNear(image, QPoint(100, 20), Blue, 2);
    };
    QVERIFY(intact());

    // Covered by another widget, then uncovered.
    auto *cover = new QWidget(board.form.clientArea());
    cover->setAutoFillBackground(true);
    cover->setGeometry(0, 0, 260, 240);
    cover->show();
    QCoreApplication::processEvents();
    cover->hide();
    QCoreApplication::processEvents();
    QVERIFY(intact());

    // Hidden and shown again, and made larger.
    board.box->setVisible(false);
    QCoreApplication::processEvents();
    board.box->setVisible(true);
    board.box->setWidth(3600);
    QCoreApplication::processEvents();
    QVERIFY(intact());
    QCOMPARE(board.box->width(), 240);

    board.box->Cls();
    QCOMPARE(board.box->drawingCount(), 0);
    const QImage cleared = board.shot();
    QVERIFY(!test::colorNear(cleared, QPoint(100, 10), Red, 3));
    QVERIFY(!test::colorNear(cleared, QPoint(100, 20), Blue, 3));
}

void TestControlsDrawing::pictureIsDrawnUnscaledUnderTheControls()
{
    QTemporaryDir dir;
    Board board;
    board.box->setPicture(test::solidPicture(dir, QSize(50, 40), Qt::red));
    board.box->Line(0, 300, 2850, 300, ColorBlue);
    Label *label = board.box->create<Label>();
    label->setBackColor(ColorWhite);
    label->Move(300, 0, 300, 600);
    const QImage image = board.shot();
    QCOMPARE(image.pixelColor(5, 30), Red);
    QCOMPARE(image.pixelColor(49, 39), Red);
    QCOMPARE(image.pixelColor(51, 30), White);
    QCOMPARE(image.pixelColor(5, 41), White);
    // Drawing lies on the picture; an opaque label lies on the drawing.
    QVERIFY(test::colorNear(image, QPoint(10, 20), Blue));
    QCOMPARE(image.pixelColor(25, 20), White);
}

void TestControlsDrawing::borderMovesTheClientArea()
{
    Board board;
    board.box->setBorderStyle(1);
    const QPoint origin = board.box->clientOrigin();
    QVERIFY(origin.x() > 0);
    Label *label = board.box->create<Label>();
    label->setBackColor(ColorRed);
    label->Move(0, 0, 150, 150);
    auto *child = new PictureBox(board.box);
    child->Move(300, 0, 150, 150);
    QCOMPARE(child->pos(), origin + QPoint(20, 0));
    const QImage image = board.shot();
    QCOMPARE(image.pixelColor(origin), Red);
    QCOMPARE(image.pixelColor(origin + QPoint(9, 9)), Red);
    QVERIFY(image.pixelColor(origin - QPoint(1, 1)) != Red);
    // Removing the border moves the windowed child with the client area.
    board.box->setBorderStyle(0);
    QCOMPARE(child->pos(), QPoint(20, 0));
    QCOMPARE(board.box->ScaleWidth(), 3000.0);
}

QTEST_MAIN(TestControlsDrawing)
#include "test_controls_drawing.moc"
