// Lightweight controls in their container, used as a person would: clicks at
// real pixel positions, tooltips and pointers from the same hit test.

#include "controlshelpers.h"

#include "platform/errors.h"
#include "platform/fonts.h"
#include "platform/form.h"
#include "platform/frame.h"
#include "platform/image.h"
#include "platform/label.h"
#include "platform/shape.h"

#include <QFontInfo>
#include <QHelpEvent>
#include <QSignalSpy>
#include <QTest>
#include <QToolTip>

using namespace kvx;

namespace {

// A shown form with overlapping controls; every event lands in the log.
// Pixels (15 twips each):
//   imgA    0..100 x 0..100         bottom
//   lblB   50..150 x 50..150        above imgA
//   shp     0..200 x 110..150       above both, a drawing only
//   imgD  120..180 x 0..40          under the frame
//   frm   120..180 x 0..40          windowed, so above everything
//   imgC    0..200 x 0..200         on top, hidden
struct Scene
{
    Form form;
    Container *client = form.clientArea();
    Image *imgA = client->create<Image>();
    Label *lblB = client->create<Label>();
    Shape *shp = client->create<Shape>();
    Image *imgD = client->create<Image>();
    Image *imgC = client->create<Image>();
    Frame *frm = new Frame(client);
    QStringList log;

    Scene()
    {
        imgA->Move(0, 0, 1500, 1500);
        lblB->Move(750, 750, 1500, 1500);
        shp->Move(0, 1650, 3000, 600);
        imgD->Move(1800, 0, 900, 600);
        imgC->Move(0, 0, 3000, 3000);
        imgC->setVisible(false);
        frm->Move(1800, 0, 900, 600);
        watch(imgA, QStringLiteral("A"));
        watch(lblB, QStringLiteral("B"));
        watch(shp, QStringLiteral("S"));
        watch(imgC, QStringLiteral("C"));
        watch(imgD, QStringLiteral("D"));
        client->Click = [this] { log << QStringLiteral("background:click"); };
        client->MouseDown = [this](int button, int, double, double) {
            log << QStringLiteral("background:down%1").arg(button);
        };
        frm->Click = [this] { log << QStringLiteral("frame:click"); };
        form.resize(300, 250);
        form.show();
    }

    void watch(LightControl *item, const QString &name)
    {
        item->Click = [this, name] { log << name + QStringLiteral(":click"); };
        item->MouseDown = [this, name](int button, int, double x, double y) {
            log << QStringLiteral("%1:down%2@%3,%4").arg(name).arg(button).arg(x).arg(y);
        };
        item->MouseUp = [this, name](int button, int, double, double) {
            log << QStringLiteral("%1:up%2").arg(name).arg(button);
        };
    }

    // Clicks go to the window, which hands them to the widget under the mouse.
    void click(Qt::MouseButton button, QPoint at)
    {
        QTest::mouseClick(form.windowHandle(), button, {}, client->mapTo(&form, at));
    }

    // Who received the click: the name before ":click".
    QString clickAt(QPoint at)
    {
        log.clear();
        click(Qt::LeftButton, at);
        const QStringList clicks = log.filter(QStringLiteral(":click"));
        return clicks.size() == 1 ? clicks.first().section(u':', 0, 0) : clicks.join(u' ');
    }
};

} // namespace

class TestControlsItems : public QObject
{
    Q_OBJECT

private slots:
    void clickGoesToTopmost_data();
    void clickGoesToTopmost();
    void restackingChangesWhoIsHit();
    void leftAndRightButtons();
    void handlerMayUnloadItsOwnControl();
    void tooltipsFollowTheHitTest();
    void pointerFollowsTheItemUnderTheMouse();
    void labelAutoSize_data();
    void labelAutoSize();
    void namesMeasureAsShaped_data();
    void namesMeasureAsShaped();
    void sizeGivenAfterACaptionHolds_data();
    void sizeGivenAfterACaptionHolds();
    void longerCaptionIsPaintedWhole();
    void everyMovedItemIsRepainted_data();
    void everyMovedItemIsRepainted();
    void fixedLabelWrapsAtItsWidth();
    void imageNaturalSizeAndStretch();
    void negativeSizeIsRefused();
    void classicFacesResolveToInstalledFonts_data();
    void classicFacesResolveToInstalledFonts();
};

void TestControlsItems::clickGoesToTopmost_data()
{
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<QString>("receiver");
    QTest::newRow("uncovered part of the bottom image") << QPoint(10, 10) << "A";
    QTest::newRow("covered part of the bottom image") << QPoint(60, 60) << "B";
    QTest::newRow("label alone") << QPoint(140, 140) << "B";
    QTest::newRow("shape lets the click through") << QPoint(10, 120) << "background";
    QTest::newRow("windowed frame above an image") << QPoint(150, 20) << "frame";
    QTest::newRow("empty background") << QPoint(250, 10) << "background";
}

void TestControlsItems::clickGoesToTopmost()
{
    QFETCH(QPoint, at);
    QFETCH(QString, receiver);
    Scene scene;
    QVERIFY(QTest::qWaitForWindowExposed(&scene.form));
    QCOMPARE(scene.clickAt(at), receiver);
}

void TestControlsItems::restackingChangesWhoIsHit()
{
    Scene scene;
    QVERIFY(QTest::qWaitForWindowExposed(&scene.form));
    scene.imgA->bringToFront();
    QCOMPARE(scene.clickAt(QPoint(60, 60)), QStringLiteral("A"));
    QCOMPARE(scene.clickAt(QPoint(140, 140)), QStringLiteral("B"));
    scene.imgA->stackUnder(*scene.lblB);
    QCOMPARE(scene.clickAt(QPoint(60, 60)), QStringLiteral("B"));

    // Declared from the top down, as the windows give their stacking orders.
    scene.client->setStackingOrder({scene.imgA, scene.lblB});
    QCOMPARE(scene.clickAt(QPoint(60, 60)), QStringLiteral("A"));
    const QList<LightControl *> order = scene.client->items();
    QCOMPARE(order.last(), scene.imgA);
    QCOMPARE(order.at(order.size() - 2), scene.lblB);

    // A hidden control becomes hittable once shown.
    scene.imgC->setVisible(true);
    QCOMPARE(scene.clickAt(QPoint(60, 60)), QStringLiteral("A"));
    QCOMPARE(scene.clickAt(QPoint(10, 190)), QStringLiteral("C"));
    scene.imgC->sendToBack();
    QCOMPARE(scene.clickAt(QPoint(10, 190)), QStringLiteral("C"));
    QCOMPARE(scene.clickAt(QPoint(10, 10)), QStringLiteral("A"));
}

void TestControlsItems::leftAndRightButtons()
{
    Scene scene;
    QVERIFY(QTest::qWaitForWindowExposed(&scene.form));

    scene.click(Qt::RightButton, QPoint(60, 70));
    QCOMPARE(scene.log, QStringList({"B:down2@150,300", "B:up2"}));

    scene.log.clear();
    scene.click(Qt::LeftButton, QPoint(60, 70));
    QCOMPARE(scene.log, QStringList({"B:down1@150,300", "B:up1", "B:click"}));

    // A press on a control is not a press on the background.
    scene.log.clear();
    scene.click(Qt::RightButton, QPoint(250, 10));
    QCOMPARE(scene.log, QStringList({"background:down2"}));

    // Released away from the control: no click.
    scene.log.clear();
    QWindow *window = scene.form.windowHandle();
    QTest::mousePress(window, Qt::LeftButton, {}, scene.client->mapTo(&scene.form, QPoint(10, 10)));
    QTest::mouseRelease(window, Qt::LeftButton, {}, scene.client->mapTo(&scene.form, QPoint(250, 10)));
    QCOMPARE(scene.log, QStringList({"A:down1@150,150", "A:up1"}));
}

void TestControlsItems::handlerMayUnloadItsOwnControl()
{
    Scene scene;
    QVERIFY(QTest::qWaitForWindowExposed(&scene.form));
    const int before = scene.client->itemCount();
    scene.imgA->MouseDown = [&scene](int, int, double, double) { scene.imgA->unload(); };
    scene.click(Qt::LeftButton, QPoint(10, 10));
    QCOMPARE(scene.client->itemCount(), before - 1);
    QVERIFY(!scene.log.contains(QStringLiteral("A:click")));
    // Its place is background now.
    QCOMPARE(scene.clickAt(QPoint(10, 10)), QStringLiteral("background"));
}

void TestControlsItems::tooltipsFollowTheHitTest()
{
    Scene scene;
    QVERIFY(QTest::qWaitForWindowExposed(&scene.form));
    scene.imgA->setToolTipText(QStringLiteral("RackPosition 3 x 5"));
    scene.lblB->setToolTipText(QStringLiteral("name"));

    QCOMPARE(scene.client->itemAt(QPoint(10, 10)), scene.imgA);
    QCOMPARE(scene.client->itemAt(QPoint(60, 60)), scene.lblB);
    QCOMPARE(scene.client->itemAt(QPoint(10, 120)), nullptr);

    const auto hover = [&](QPoint at) {
        QHelpEvent help(QEvent::ToolTip, at, scene.client->mapToGlobal(at));
        QCoreApplication::sendEvent(scene.client, &help);
    };
    hover(QPoint(10, 10));
    QVERIFY(QToolTip::isVisible());
    QCOMPARE(QToolTip::text(), QStringLiteral("RackPosition 3 x 5"));
    hover(QPoint(60, 60));
    QCOMPARE(QToolTip::text(), QStringLiteral("name"));
    hover(QPoint(250, 10));
    QTRY_VERIFY(!QToolTip::isVisible());
}

void TestControlsItems::pointerFollowsTheItemUnderTheMouse()
{
    Scene scene;
    QVERIFY(QTest::qWaitForWindowExposed(&scene.form));
    scene.imgA->setMousePointer(QCursor(Qt::PointingHandCursor));
    // Moves go through the window; a move to where the mouse already is would be dropped.
    const auto moveTo = [&](QPoint at) {
        QTest::mouseMove(scene.form.windowHandle(), scene.client->mapTo(&scene.form, at));
    };
    moveTo(QPoint(251, 33));
    moveTo(QPoint(11, 13));
    QTRY_COMPARE(scene.client->cursor().shape(), Qt::PointingHandCursor);
    moveTo(QPoint(251, 13));
    QTRY_COMPARE(scene.client->cursor().shape(), Qt::ArrowCursor);
    // Covered by the label, the image's pointer does not show.
    moveTo(QPoint(61, 63));
    QTRY_COMPARE(scene.client->cursor().shape(), Qt::ArrowCursor);
    moveTo(QPoint(31, 33));
    QTRY_COMPARE(scene.client->cursor().shape(), Qt::PointingHandCursor);
}

void TestControlsItems::labelAutoSize_data()
{
    QTest::addColumn<QString>("shortCaption");
    QTest::addColumn<QString>("longCaption");
    QTest::addColumn<bool>("wordWrap");
    QTest::newRow("single line grows in width") << "UC-01" << "UC-01 UC-02 UC-03" << false;
    QTest::newRow("word wrap grows in height") << "UC" << "UC-01 UC-02 UC-03 UC-04 UC-05" << true;
}

void TestControlsItems::labelAutoSize()
{
    QFETCH(QString, shortCaption);
    QFETCH(QString, longCaption);
    QFETCH(bool, wordWrap);
    Form form;
    Label *label = form.clientArea()->create<Label>();
    label->setFontDesc({QStringLiteral("MS Sans Serif"), 9.75, true});
    label->Move(0, 0, 1200, 300);
    label->setWordWrap(wordWrap);
    label->setAutoSize(true);
    label->setCaption(shortCaption);
    const double shortWidth = label->Width();
    const double shortHeight = label->Height();
    label->setCaption(longCaption);
    if (wordWrap) {
        QCOMPARE(label->Width(), 1200.0);
        QVERIFY2(label->Height() >= 2 * shortHeight, qPrintable(QString::number(label->Height())));
    } else {
        QVERIFY(label->Width() > 2 * shortWidth);
        QCOMPARE(label->Height(), shortHeight);
        const QFontMetrics metrics(label->font());
        QVERIFY(label->Width() >= metrics.horizontalAdvance(longCaption) * 15);
    }
    // Whole pixels, so that the label is painted where it says it is.
    QCOMPARE(std::fmod(label->Width(), 15.0), 0.0);
    QCOMPARE(std::fmod(label->Height(), 15.0), 0.0);
}

// Names are measured character by character; the width must be the one the
// text is drawn with, shaped as a whole, in every face the windows use.
void TestControlsItems::namesMeasureAsShaped_data()
{
    QTest::addColumn<QString>("face");
    QTest::addColumn<double>("points");
    QTest::addColumn<bool>("bold");
    QTest::newRow("rack names") << "MS Sans Serif" << 9.75 << true;
    QTest::newRow("rack view name") << "MS Sans Serif" << 13.5 << true;
    QTest::newRow("card names") << "MS Sans Serif" << 8.25 << true;
    QTest::newRow("shelf name") << "Arial" << 12.0 << true;
    QTest::newRow("shelf level") << "Arial" << 6.75 << false;
    QTest::newRow("small fonts") << "Small Fonts" << 6.0 << false;
    QTest::newRow("ring title") << "MS Serif" << 24.0 << false;
}

void TestControlsItems::namesMeasureAsShaped()
{
    QFETCH(QString, face);
    QFETCH(double, points);
    QFETCH(bool, bold);
    const QStringList names = {QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ"), QStringLiteral("0123456789 -./"),
                               QStringLiteral("AV-1 TY.LT/WA"), QStringLiteral("UC-01"), QStringLiteral("XA-1A"),
                               QStringLiteral("SDE-02"), QStringLiteral("ICTRQ"), QStringLiteral("AE5V40A")};
    Form form;
    for (const QString &name : names) {
        Label *label = form.clientArea()->create<Label>();
        label->setFontDesc({face, points, bold});
        label->setAutoSize(true);
        label->setCaption(name);
        const QFontMetricsF shaped(label->font());
        QCOMPARE(label->Width(), std::ceil(shaped.horizontalAdvance(name)) * 15);
    }
}

// A caption's size is worked out when it is needed; what is set after the
// caption must win over it, whether or not the window is on the screen.
void TestControlsItems::sizeGivenAfterACaptionHolds_data()
{
    QTest::addColumn<bool>("shown");
    QTest::newRow("window hidden") << false;
    QTest::newRow("window shown") << true;
}

void TestControlsItems::sizeGivenAfterACaptionHolds()
{
    QFETCH(bool, shown);
    Form form;
    form.resize(300, 200);
    if (shown) {
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
    }
    Label *measured = form.clientArea()->create<Label>();
    measured->setAutoSize(true);
    measured->setCaption(QStringLiteral("UC-01 UC-02"));
    const double captionWidth = measured->Width();
    const double captionHeight = measured->Height();
    QVERIFY(captionWidth > 600);

    Label *widened = form.clientArea()->create<Label>();
    widened->setAutoSize(true);
    widened->setCaption(QStringLiteral("UC-01 UC-02"));
    widened->setWidth(3000);
    QCOMPARE(widened->Width(), 3000.0);
    QCOMPARE(widened->Height(), captionHeight);

    Label *fixed = form.clientArea()->create<Label>();
    fixed->Move(0, 0, 45, 45);
    fixed->setAutoSize(true);
    fixed->setCaption(QStringLiteral("UC-01 UC-02"));
    fixed->setAutoSize(false);
    QCOMPARE(fixed->Width(), captionWidth);
    fixed->setCaption(QStringLiteral("UC"));
    QCOMPARE(fixed->Width(), captionWidth);

    Label *moved = form.clientArea()->create<Label>();
    moved->setAutoSize(true);
    moved->setCaption(QStringLiteral("UC-01 UC-02"));
    moved->Move(450, 300);
    QCOMPARE(moved->pixelRect(), QRect(30, 20, int(captionWidth / 15), int(captionHeight / 15)));
}

// A caption that grows while the label is on the screen is painted to its end.
void TestControlsItems::everyMovedItemIsRepainted_data()
{
    QTest::addColumn<int>("items");
    QTest::newRow("a few") << 3;
    QTest::newRow("as many as a room rebuilds") << Container::MaxDirtyRects + 40;
}

// However many items change between two paints, the next paint covers where
// each of them was and where each now is; a few changes repaint no more
// than they touch.
void TestControlsItems::everyMovedItemIsRepainted()
{
    QFETCH(int, items);
    Form form;
    form.resize(600, 400);
    Container *client = form.clientArea();
    QList<Image *> images;
    for (int i = 0; i < items; ++i) {
        Image *image = client->create<Image>();
        image->Move((i % 20) * 300, (i / 20) * 300, 150, 150);
        images.append(image);
    }
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QCoreApplication::processEvents();

    struct PaintLog : QObject
    {
        QRegion painted;
        bool eventFilter(QObject *, QEvent *event) override
        {
            if (event->type() == QEvent::Paint)
                painted += static_cast<QPaintEvent *>(event)->region();
            return false;
        }
    } log;
    client->installEventFilter(&log);
    QList<QRect> touched;
    for (Image *image : images) {
        touched.append(image->pixelRect());
        image->setLeft(image->Left() + 90);
        touched.append(image->pixelRect());
    }
    QCoreApplication::processEvents();
    client->removeEventFilter(&log);
    for (const QRect &rect : touched) {
        const QRect inClient = rect.translated(client->clientOrigin()) & client->rect();
        QVERIFY2(inClient.isEmpty() || log.painted.contains(inClient),
                 qPrintable(QStringLiteral("%1,%2 not repainted").arg(rect.x()).arg(rect.y())));
    }
    if (items < Container::MaxDirtyRects)
        QVERIFY(!log.painted.contains(QPoint(590, 390)));
}

void TestControlsItems::longerCaptionIsPaintedWhole()
{
    Form form;
    form.resize(400, 100);
    form.clientArea()->setBackColor(ColorWhite);
    Label *label = form.clientArea()->create<Label>();
    label->setBackStyle(Label::Transparent);
    label->setForeColor(ColorBlack);
    label->setAutoSize(true);
    label->Move(150, 150);
    label->setCaption(QStringLiteral("UC"));
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    const QImage before = test::grabImage(*form.clientArea());
    label->setCaption(QStringLiteral("UC-01 UC-02 UC-03"));
    QCoreApplication::processEvents();
    const QImage after = test::grabImage(*form.clientArea());
    auto rightmostInk = [](const QImage &image) {
        for (int x = image.width() - 1; x >= 0; --x) {
            for (int y = 0; y < image.height(); ++y) {
                if (image.pixelColor(x, y).lightness() < 128)
                    return x;
            }
        }
        return -1;
    };
    const int end = 10 + int(label->Width() / 15);
    QVERIFY2(rightmostInk(before) < 40, qPrintable(QString::number(rightmostInk(before))));
    QVERIFY2(rightmostInk(after) > end - 8 && rightmostInk(after) <= end,
             qPrintable(QStringLiteral("%1 of %2").arg(rightmostInk(after)).arg(end)));
}

void TestControlsItems::fixedLabelWrapsAtItsWidth()
{
    Form form;
    form.clientArea()->setBackColor(ColorWhite);
    Label *label = form.clientArea()->create<Label>();
    label->setBackStyle(Label::Transparent);
    label->setForeColor(ColorBlack);
    label->setFontDesc({QStringLiteral("MS Sans Serif"), 8.25, true});
    label->Move(150, 150, 140, 1695);
    label->setCaption(QStringLiteral("A C A J "));
    QCOMPARE(label->Width(), 140.0);
    form.resize(100, 200);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));

    // One letter per line: count the bands of rows that carry ink.
    const QImage image = test::grabImage(*form.clientArea());
    int bands = 0;
    bool inBand = false;
    for (int y = 0; y < image.height(); ++y) {
        bool ink = false;
        for (int x = 0; x < image.width(); ++x)
            ink = ink || image.pixelColor(x, y).lightness() < 128;
        if (ink && !inBand)
            ++bands;
        inBand = ink;
    }
    QCOMPARE(bands, 4);
}

void TestControlsItems::imageNaturalSizeAndStretch()
{
    QTemporaryDir dir;
    const Picture card = test::solidPicture(dir, QSize(21, 211), Qt::red);
    Form form;
    form.clientArea()->setBackColor(ColorWhite);
    Image *image = form.clientArea()->create<Image>();
    image->Move(150, 150, 3000, 3000);
    image->setPicture(card);
    QCOMPARE(image->Width(), 315.0);
    QCOMPARE(image->Height(), 3165.0);

    // Stretched, a new size scales the picture; the size stays as assigned.
    image->setStretch(true);
    image->setWidth(315 * 1.5);
    QCOMPARE(image->Width(), 472.5);
    form.resize(200, 300);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QImage shot = test::grabImage(*form.clientArea());
    QCOMPARE(shot.pixelColor(10 + 30, 100), QColor(Qt::red));
    QCOMPARE(shot.pixelColor(10 + 33, 100), QColor(Qt::white));

    // Not stretched, the picture keeps its natural size inside a larger control.
    image->setStretch(false);
    shot = test::grabImage(*form.clientArea());
    QCOMPARE(shot.pixelColor(10 + 20, 100), QColor(Qt::red));
    QCOMPARE(shot.pixelColor(10 + 25, 100), QColor(Qt::white));
}

void TestControlsItems::negativeSizeIsRefused()
{
    Form form;
    Image *image = form.clientArea()->create<Image>();
    image->Move(0, 0, 100, 100);
    try {
        image->setWidth(-1);
        QFAIL("a negative width was taken");
    } catch (const PlatformError &error) {
        QCOMPARE(error.number(), int(ErrInvalidProperty));
    }
    QCOMPARE(image->Width(), 100.0);
}

void TestControlsItems::classicFacesResolveToInstalledFonts_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<double>("points");
    QTest::addColumn<int>("pixels");
    QTest::addColumn<QString>("face");
    QTest::newRow("MS Sans Serif 8.25") << "MS Sans Serif" << 8.25 << 11 << "Liberation Sans";
    QTest::newRow("MS Sans Serif 9.75") << "MS Sans Serif" << 9.75 << 13 << "Liberation Sans";
    QTest::newRow("Small Fonts 5") << "Small Fonts" << 5.0 << 7 << "DejaVu Sans";
    QTest::newRow("Arial 12") << "Arial" << 12.0 << 16 << "Liberation Sans";
    QTest::newRow("Arial Black 13.5") << "Arial Black" << 13.5 << 18 << "Liberation Sans";
    QTest::newRow("MS Serif 24") << "MS Serif" << 24.0 << 32 << "Liberation Serif";
    QTest::newRow("unknown face") << "No Such Face" << 10.0 << 13 << "DejaVu Sans";
}

void TestControlsItems::classicFacesResolveToInstalledFonts()
{
    QFETCH(QString, name);
    QFETCH(double, points);
    QFETCH(int, pixels);
    QFETCH(QString, face);
    const QFont font = classicFont({name, points});
    const QFontInfo used(font);
    // The face actually used is the installed stand-in, not a guess of fontconfig.
    QCOMPARE(used.family(), face);
    QCOMPARE(used.pixelSize(), pixels);
}

QTEST_MAIN(TestControlsItems)
#include "test_controls_items.moc"
