// Picture boxes: Line and Circle drawing with the classic angle and aspect
// rules, drawing that survives being covered, hidden or resized until Cls,
// and the picture drawn unscaled from the top left.

#include "controlshelpers.h"

#include "platform/form.h"
#include "platform/label.h"
#include "platform/picturebox.h"
#include "platform/services.h"

#include <QPainter>
#include <QTest>
#include <QTextOption>

#include <numbers>

using namespace kvx;

Q_DECLARE_METATYPE(kvx::FontDesc)

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
    void captionsDrawAsTheirTextLayout_data();
    void captionsDrawAsTheirTextLayout();
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

void TestControlsDrawing::captionsDrawAsTheirTextLayout_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<FontDesc>("font");
    QTest::addColumn<int>("alignment");
    QTest::addColumn<bool>("autoSize");
    QTest::addColumn<int>("width"); // twips; a label that does not size itself
    const FontDesc rackName{QStringLiteral("MS Sans Serif"), 9.75, true};
    const FontDesc plain{QStringLiteral("MS Sans Serif"), 8.25};
    const FontDesc tiny{QStringLiteral("Small Fonts"), 6.75};
    const FontDesc serif{QStringLiteral("MS Serif"), 13.5};
    const FontDesc underlined{QStringLiteral("MS Serif"), 13.5, false, false, true};
    QTest::newRow("rack name, sized") << "UE-101" << rackName << int(Label::LeftJustify) << true << 0;
    QTest::newRow("rack name, centred") << "XA-2B" << rackName << int(Label::Center) << false << 1500;
    QTest::newRow("right") << "SDE-02" << plain << int(Label::RightJustify) << false << 1500;
    QTest::newRow("signs and blanks") << "1/2.5 A B" << plain << int(Label::LeftJustify) << false << 1800;
    QTest::newRow("tiny, hinted") << "SLOT 35" << tiny << int(Label::Center) << false << 900;
    QTest::newRow("serif") << "MAS3" << serif << int(Label::Center) << true << 0;
    QTest::newRow("wider than the label, cut") << "UC-401" << rackName << int(Label::Center) << true << 0;
    QTest::newRow("wider than the label, wrapped") << "XB-3A XB-3B" << plain << int(Label::LeftJustify) << false
                                                   << 500;
    QTest::newRow("one long word, wrapped anywhere") << "ABCDEFGHIJKL" << plain << int(Label::Center) << false
                                                     << 450;
    QTest::newRow("trailing blank") << "UD-02 " << plain << int(Label::RightJustify) << false << 1500;
    QTest::newRow("lower case") << "Card 12" << plain << int(Label::Center) << false << 1500;
    QTest::newRow("underlined") << "MIS" << underlined << int(Label::Center) << true << 0;
}

// Rack and card names are drawn without a text layout; what they show must
// not change for that, whatever the alignment, font or wrapping.
void TestControlsDrawing::captionsDrawAsTheirTextLayout()
{
    QFETCH(QString, caption);
    QFETCH(FontDesc, font);
    QFETCH(int, alignment);
    QFETCH(bool, autoSize);
    QFETCH(int, width);
    Board board;
    Label *label = board.box->create<Label>();
    label->setBackColor(ColorWhite);
    label->setForeColor(ColorBlue);
    label->setFontDesc(font);
    label->setAlignment(alignment);
    label->Move(150, 300, width ? width : 600, 600);
    label->setCaption(caption);
    label->setAutoSize(autoSize);
    if (QTest::currentDataTag() == QByteArray("wider than the label, cut")) {
        label->setAutoSize(false);
        label->setWidth(label->Width() - 8 * TwipsPerPixel);
    }
    const QImage shot = board.shot();
    const QRect area(label->Left() / TwipsPerPixel, label->Top() / TwipsPerPixel, label->Width() / TwipsPerPixel,
                     label->Height() / TwipsPerPixel);

    QImage expected(shot.size(), shot.format());
    expected.fill(Qt::white);
    {
        QPainter p(&expected);
        p.setClipRect(area);
        p.setFont(label->font());
        p.setPen(Blue);
        const Qt::Alignment horizontal = alignment == Label::RightJustify ? Qt::AlignRight
                                         : alignment == Label::Center   ? Qt::AlignHCenter
                                                                        : Qt::AlignLeft;
        QTextOption option(horizontal | Qt::AlignTop);
        option.setWrapMode(label->AutoSize() ? QTextOption::NoWrap : QTextOption::WrapAtWordBoundaryOrAnywhere);
        p.drawText(QRectF(area), caption, option);
    }
    QCOMPARE(shot.copy(area), expected.copy(area));
    // Something was drawn: the caption is not lost to a blank label.
    bool inked = false;
    for (int y = area.top(); y <= area.bottom() && !inked; ++y) {
        for (int x = area.left(); x <= area.right() && !inked; ++x)
            inked = shot.pixelColor(x, y) != White;
    }
    QVERIFY(inked);
}

QTEST_MAIN(TestControlsDrawing)
#include "test_controls_drawing.moc"
