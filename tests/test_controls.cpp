// The platform's controls as the windows use them, driven by clicks and keys:
// control arrays, stacking and hit testing of lightweight controls, picture
// box drawing, and the scroll bars.

#include "controlshelpers.h"

#include "platform/checkbox.h"
#include "platform/combobox.h"
#include "platform/controlarray.h"
#include "platform/form.h"
#include "platform/frame.h"
#include "platform/image.h"
#include "platform/label.h"
#include "platform/listbox.h"
#include "platform/picturebox.h"
#include "platform/scrollbar.h"
#include "platform/shape.h"

#include <QStyleOptionSlider>
#include <QTest>

#include <functional>
#include <numbers>

using namespace kvx;

namespace {

constexpr double Pi = std::numbers::pi;
const QColor Blue(0, 0, 255);

int errorOf(const std::function<void()> &statement)
{
    try {
        statement();
    } catch (const PlatformError &error) {
        return error.number();
    }
    return 0;
}

// A form whose clicks go through its window, as a person's do.
struct Window
{
    Form form;
    Container *client = form.clientArea();

    Window() { form.resize(400, 300); }
    bool show()
    {
        form.show();
        form.activateWindow();
        return QTest::qWaitForWindowActive(&form);
    }
    void click(QWidget *widget, QPoint at, Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mouseClick(form.windowHandle(), button, {}, widget->mapTo(&form, at));
    }
};

// Overlapping controls; every event lands in the log. Pixels:
//   imgA 0..100 x 0..100 bottom; lblB 50..150 x 50..150 above it;
//   shp 0..200 x 110..150, a drawing only; imgD 120..180 x 0..40 under the
//   windowed frame frm; imgC 0..200 x 0..200 on top, hidden.
struct Scene : Window
{
    Image *imgA = client->create<Image>();
    Label *lblB = client->create<Label>();
    Shape *shp = client->create<Shape>();
    Image *imgD = client->create<Image>();
    Image *imgC = client->create<Image>();
    Frame *frm = new Frame(client);
    QStringList log;

    Scene()
    {
        const std::tuple<LightControl *, QString, QRect> items[] = {
            {imgA, "A", {0, 0, 1500, 1500}}, {lblB, "B", {750, 750, 1500, 1500}}, {shp, "S", {0, 1650, 3000, 600}},
            {imgD, "D", {1800, 0, 900, 600}}, {imgC, "C", {0, 0, 3000, 3000}}};
        for (const auto &[item, name, twips] : items) {
            item->Move(twips.x(), twips.y(), twips.width(), twips.height());
            item->Click = [this, name] { log << name + ":click"; };
            item->MouseDown = [this, name](int button, int, double x, double y) {
                log << QStringLiteral("%1:down%2@%3,%4").arg(name).arg(button).arg(x).arg(y);
            };
            item->MouseUp = [this, name](int button, int, double, double) {
                log << name + ":up" + QString::number(button);
            };
        }
        imgC->setVisible(false);
        frm->Move(1800, 0, 900, 600);
        frm->Click = [this] { log << "frame:click"; };
        client->Click = [this] { log << "background:click"; };
        client->MouseDown = [this](int button, int, double, double) {
            log << "background:down" + QString::number(button);
        };
    }
};

// The room plan's arrays in miniature: a label template above an image template.
struct Room : Window
{
    Image *img0 = client->create<Image>();
    Label *lbl0 = client->create<Label>();
    ControlArray<Image> imgRack{img0};
    ControlArray<Label> lblRack{lbl0};

    Room()
    {
        img0->setVisible(false);
        lbl0->setVisible(false);
    }
};

QRect sliderPart(ScrollBar *bar, QStyle::SubControl part)
{
    QStyleOptionSlider option;
    option.initFrom(bar);
    option.orientation = bar->orientation();
    option.maximum = bar->maximum();
    option.sliderPosition = option.sliderValue = bar->value();
    option.singleStep = bar->singleStep();
    option.pageStep = bar->pageStep();
    return bar->style()->subControlRect(QStyle::CC_ScrollBar, &option, part, bar);
}

} // namespace

class TestControls : public QObject
{
    Q_OBJECT

private slots:
    void mouseGoesToTopmost_data();
    void mouseGoesToTopmost();
    void errors_data();
    void errors();
    void loadCopiesTheTemplateAsItIsNow();
    void drawing_data();
    void drawing();
    void scrollBarChange_data();
    void scrollBarChange();
};

using SceneChange = std::function<void(Scene &)>;

void TestControls::mouseGoesToTopmost_data()
{
    QTest::addColumn<SceneChange>("change");
    QTest::addColumn<int>("button");
    QTest::addColumn<QPoint>("press");
    QTest::addColumn<QPoint>("release");
    QTest::addColumn<QString>("log"); // positions in twips within the control
    const SceneChange none = [](Scene &) {};
    const SceneChange showC = [](Scene &s) { s.imgC->setVisible(true); };
    const SceneChange showCBehind = [](Scene &s) {
        s.imgC->setVisible(true);
        s.imgC->sendToBack();
    };
    const int left = Qt::LeftButton, right = Qt::RightButton;
    const auto row = [](const char *name, SceneChange change, int button, QPoint press, QPoint release, const char *to) {
        QTest::newRow(name) << change << button << press << release << QString::fromLatin1(to);
    };
    row("uncovered part of the bottom image", none, left, {10, 10}, {10, 10}, "A:down1@150,150 A:up1 A:click");
    row("covered part of the bottom image", none, left, {60, 70}, {60, 70}, "B:down1@150,300 B:up1 B:click");
    row("right button", none, right, {60, 70}, {60, 70}, "B:down2@150,300 B:up2");
    row("released away from the image: no click", none, left, {10, 10}, {250, 10}, "A:down1@150,150 A:up1");
    row("shape lets the mouse through", none, left, {10, 120}, {10, 120}, "background:down1 background:click");
    row("windowed frame above an image", none, left, {150, 20}, {150, 20}, "frame:click");
    row("right button on the background", none, right, {250, 10}, {250, 10}, "background:down2");
    const SceneChange declared = [](Scene &s) { s.client->setStackingOrder({s.imgA, s.lblB}); };
    row("order declared from the top down", declared, left, {60, 60}, {60, 60}, "A:down1@900,900 A:up1 A:click");
    row("hidden item shown", showC, left, {60, 60}, {60, 60}, "C:down1@900,900 C:up1 C:click");
    row("sent to the back, covered", showCBehind, left, {60, 60}, {60, 60}, "B:down1@150,150 B:up1 B:click");
    row("sent to the back, alone", showCBehind, left, {10, 190}, {10, 190}, "C:down1@150,2850 C:up1 C:click");
    const SceneChange unloadOnPress = [](Scene &s) {
        s.imgA->MouseDown = [&s](int, int, double, double) { s.imgA->unload(); };
        s.click(s.client, QPoint(10, 10));
    };
    row("unloaded by its own MouseDown", unloadOnPress, left, {10, 10}, {10, 10}, "background:down1 background:click");
}

void TestControls::mouseGoesToTopmost()
{
    QFETCH(SceneChange, change);
    QFETCH(int, button);
    QFETCH(QPoint, press);
    QFETCH(QPoint, release);
    QFETCH(QString, log);
    Scene scene;
    QVERIFY(scene.show());
    change(scene);
    scene.log.clear();
    QWindow *window = scene.form.windowHandle();
    QTest::mousePress(window, Qt::MouseButton(button), {}, scene.client->mapTo(&scene.form, press));
    QTest::mouseRelease(window, Qt::MouseButton(button), {}, scene.client->mapTo(&scene.form, release));
    QCOMPARE(scene.log.join(u' '), log);
}

using RoomStatement = std::function<void(Room &)>;

void TestControls::errors_data()
{
    QTest::addColumn<RoomStatement>("statement");
    QTest::addColumn<int>("error");
    const int exists = ErrElementExists, missing = ErrNoElement, invalid = ErrInvalidProperty;
    const auto row = [](const char *name, RoomStatement statement, int error) {
        QTest::newRow(name) << statement << error;
    };
    row("load an element that exists", [](Room &r) { r.imgRack.Load(1); r.imgRack.Load(1); }, exists);
    row("load the template", [](Room &r) { r.imgRack.Load(0); }, exists);
    row("touch a missing element", [](Room &r) { r.imgRack(5).setLeft(10); }, missing);
    row("unload a missing element", [](Room &r) { r.imgRack.Unload(7); }, missing);
    row("unload twice", [](Room &r) { r.imgRack.Load(2); r.imgRack.Unload(2); r.imgRack.Unload(2); }, missing);
    row("touch an unloaded one", [](Room &r) { r.imgRack.Load(2); r.imgRack.Unload(2); r.imgRack(2).Move(0, 0); }, missing);
    row("unload the template", [](Room &r) { r.imgRack.Unload(0); }, int(ErrDesignElement));
    row("negative index", [](Room &r) { r.imgRack.Load(-1); }, missing);
    row("load, unload and load again", [](Room &r) { r.imgRack.Load(3); r.imgRack.Unload(3); r.imgRack.Load(3); }, 0);
    row("negative width", [](Room &r) { r.img0->setWidth(-1); }, invalid);
    const auto bar = [](Room &r) {
        auto *bar = new HScrollBar(r.client);
        bar->setMax(100);
        return bar;
    };
    row("scroll bar value above Max", [bar](Room &r) { bar(r)->setValue(101); }, invalid);
    row("scroll bar value below Min", [bar](Room &r) { bar(r)->setValue(-1); }, invalid);
    row("scroll bar value at Max", [bar](Room &r) { bar(r)->setValue(100); }, 0);
    row("list index past the end", [](Room &r) { (new ListBox(r.client))->setListIndex(0); }, invalid);
    row("combo index past the end", [](Room &r) { (new ComboBox(r.client))->setListIndex(0); }, invalid);
    row("check box value 2", [](Room &r) { (new CheckBox(r.client))->setValue(2); }, invalid);
}

void TestControls::errors()
{
    QFETCH(RoomStatement, statement);
    QFETCH(int, error);
    Room room;
    room.img0->Move(0, 0, 100, 100);
    QCOMPARE(errorOf([&] { statement(room); }), error);
    QCOMPARE(room.img0->Width(), 100.0); // a refused size leaves the size as it was
}

void TestControls::loadCopiesTheTemplateAsItIsNow()
{
    Room room;
    room.img0->setPicture(test::solidPicture(QSize(140, 263), Qt::gray));
    room.img0->setStretch(true);
    room.img0->Move(100, 200, 2160, 3945);
    room.img0->setToolTipText(QStringLiteral("template"));
    room.img0->setVisible(true); // a visible template still gives hidden elements
    room.lbl0->setFontDesc({QStringLiteral("MS Sans Serif"), 9.75, true});
    room.lbl0->setForeColor(ColorBlue);
    room.lbl0->setAutoSize(true);
    room.lbl0->setCaption(QStringLiteral("XXXX"));

    Image *first = room.imgRack.Load(1);
    QCOMPARE(&room.imgRack(1), first);
    QCOMPARE(first->Index(), 1);
    QVERIFY(!first->Visible());
    QCOMPARE(QRectF(first->Left(), first->Top(), first->Width(), first->Height()), QRectF(100, 200, 2160, 3945));
    QVERIFY(first->Stretch());
    QCOMPARE(first->Picture().naturalPixels(), QSize(140, 263));
    QCOMPARE(first->ToolTipText(), QStringLiteral("template"));
    Label *label = room.lblRack.Load(1);
    QCOMPARE(label->fontDesc(), room.lbl0->fontDesc());
    QCOMPARE(label->ForeColor(), ColorBlue);
    label->setCaption(QStringLiteral("X")); // the copy sizes itself to its own caption
    QVERIFY(label->Width() < room.lbl0->Width());

    // A template changed later gives later elements the new values only.
    room.img0->Move(0, 0, 1728, 2958.75);
    room.img0->setStretch(false);
    Image *second = room.imgRack.Load(2);
    room.lblRack.Load(2);
    QCOMPARE(QSizeF(second->Width(), second->Height()), QSizeF(1728, 2958.75));
    QVERIFY(!second->Stretch() && first->Stretch());
    QCOMPARE(first->Width(), 2160.0);
    QCOMPARE(room.imgRack.count(), 3);
    QCOMPARE(room.imgRack.ubound(), 2);
    // Each element stacks above its template and the elements loaded before it.
    QStringList names;
    for (LightControl *item : room.client->items())
        names << (dynamic_cast<Label *>(item) ? "lbl" : "img") + QString::number(item->Index());
    QCOMPARE(names, QStringList({"img0", "img1", "img2", "lbl0", "lbl1", "lbl2"}));
}

using Drawing = std::function<void(PictureBox &)>;

void TestControls::drawing_data()
{
    QTest::addColumn<Drawing>("draw");
    QTest::addColumn<QList<QPoint>>("drawn"); // in blue
    QTest::addColumn<QList<QPoint>>("blank");
    QTest::addColumn<int>("slack"); // pixels around each point
    using Points = QList<QPoint>;
    const auto row = [](const char *name, Drawing draw, Points drawn, Points blank, int slack) {
        QTest::newRow(name) << draw << drawn << blank << slack;
    };
    const auto arc = [](double start, double end, double aspect = 1) {
        return Drawing([=](PictureBox &b) {
            b.setDrawWidth(2);
            b.Circle(1500, 1500, 1200, ColorBlue, start, end, aspect);
        });
    };
    // Circles: centre (100, 100), radius 80 pixels; screen y grows downwards.
    const QPoint top(100, 20), bottom(100, 180), left(20, 100), right(180, 100);
    const QPoint ne(157, 43), nw(43, 43), se(157, 157), sw(43, 157);
    row("0 to pi: the upper half", arc(0, Pi), {top, ne}, {bottom, se}, 2);
    row("pi to 0: the lower half", arc(Pi, 0), {bottom, sw}, {top, nw}, 2);
    row("pi/2 to 3pi/2: the left half", arc(Pi / 2, 3 * Pi / 2), {left, nw}, {right, se}, 2);
    row("3pi/2 to pi/2: the right half", arc(3 * Pi / 2, Pi / 2), {right, se}, {left, nw}, 2);
    row("aspect 0.5: flattened", arc(0, 2 * Pi, 0.5), {right, left, {100, 60}, {100, 140}}, {top, bottom}, 2);
    row("aspect 2: narrowed", arc(0, 2 * Pi, 2), {top, bottom, {60, 100}, {140, 100}}, {left, right}, 2);
    row("negative start: radius to the start", arc(-0.0001, Pi / 2), {{140, 100}, top}, {{100, 60}}, 2);
    row("negative end: radius to the end", arc(0, -Pi / 2), {{100, 60}, right}, {{140, 100}}, 2);
    const auto survive = [arc](PictureBox &b) {
        arc(0, Pi)(b);
        auto *cover = new QWidget(b.parentWidget()); // covered by another widget, then uncovered
        cover->setAutoFillBackground(true);
        cover->setGeometry(b.geometry());
        cover->show();
        QCoreApplication::processEvents();
        delete cover;
        b.setVisible(false); // hidden, shown again and made larger
        QCoreApplication::processEvents();
        b.setVisible(true);
        b.setWidth(3600);
        QCoreApplication::processEvents();
    };
    row("kept when covered, hidden and enlarged", survive, {top, ne}, {bottom}, 2);
    row("until Cls", [arc](PictureBox &b) { arc(0, Pi)(b), b.Cls(); }, {}, {top, ne}, 2);
    const auto line = [](double x1, double y1, double x2, double y2, PictureBox::LineMode mode, int width = 1) {
        return Drawing([=](PictureBox &b) {
            b.setForeColor(ColorBlue);
            b.setDrawWidth(width);
            b.Line(x1, y1, x2, y2, std::nullopt, mode);
        });
    };
    row("line in the fore colour", line(150, 150, 2850, 150, PictureBox::Segment), {{12, 10}, {188, 10}}, {{99, 14}}, 1);
    row("box: the outline", line(600, 600, 1200, 1200, PictureBox::Box), {{40, 40}, {80, 60}, {60, 80}}, {{60, 60}}, 1);
    row("filled box", line(600, 600, 1200, 1200, PictureBox::BoxFilled), {{60, 60}, {41, 79}}, {{60, 84}}, 0);
    row("DrawWidth 5: five rows", line(150, 1500, 2850, 1500, PictureBox::Segment, 5), {{100, 98}, {100, 102}},
        {{100, 105}, {100, 95}}, 0);
    const auto picture = [](PictureBox &b) { b.setPicture(test::solidPicture(QSize(50, 40), Blue)); };
    row("picture at its natural size, from the top left", picture, {{0, 0}, {49, 39}}, {{53, 20}, {20, 43}}, 0);
    const auto covered = [](PictureBox &b) {
        b.Line(0, 300, 2850, 300, ColorBlue);
        Label *label = b.create<Label>();
        label->setBackColor(ColorWhite);
        label->Move(300, 0, 300, 600);
    };
    row("an opaque label above the drawing", covered, {{10, 20}, {50, 20}}, {{30, 20}}, 0);
}

void TestControls::drawing()
{
    QFETCH(Drawing, draw);
    QFETCH(QList<QPoint>, drawn);
    QFETCH(QList<QPoint>, blank);
    QFETCH(int, slack);
    Window w;
    auto *box = new PictureBox(w.client);
    box->setBorderStyle(0);
    box->setBackColor(ColorWhite);
    box->Move(0, 0, 3000, 3000);
    QVERIFY(w.show());
    draw(*box);
    const QImage image = test::grabImage(*box);
    const auto at = [](QPoint p) { return QByteArray::number(p.x()) + ',' + QByteArray::number(p.y()); };
    for (const QPoint &p : drawn)
        QVERIFY2(test::colorNear(image, p, Blue, slack), at(p).constData());
    for (const QPoint &p : blank)
        QVERIFY2(!test::colorNear(image, p, Blue, slack + 2), at(p).constData());
}

using BarAction = std::function<void(Window &, ScrollBar &, QList<int> &)>;

void TestControls::scrollBarChange_data()
{
    QTest::addColumn<BarAction>("action");
    QTest::addColumn<QList<int>>("changes"); // Value at each Change; -1 marks a point of the action
    QTest::newRow("set by code, once per change")
        << BarAction([](Window &, ScrollBar &bar, QList<int> &) { bar.setValue(50); bar.setValue(50); })
        << QList<int>{50};
    QTest::newRow("click on the arrow") << BarAction([](Window &w, ScrollBar &bar, QList<int> &) {
        w.click(&bar, sliderPart(&bar, QStyle::SC_ScrollBarAddLine).center());
    }) << QList<int>{1};
    QTest::newRow("click on the track") << BarAction([](Window &w, ScrollBar &bar, QList<int> &) {
        bar.setValue(50);
        const QRect track = sliderPart(&bar, QStyle::SC_ScrollBarSubPage);
        w.click(&bar, QPoint(track.left() + 2, track.center().y()));
    }) << QList<int>{50, 40};
    QTest::newRow("thumb dragged, reported on release") << BarAction([](Window &w, ScrollBar &bar, QList<int> &changes) {
        const QPoint grip = sliderPart(&bar, QStyle::SC_ScrollBarSlider).center();
        QTest::mousePress(w.form.windowHandle(), Qt::LeftButton, {}, bar.mapTo(&w.form, grip));
        for (int dx = 20; dx <= 400; dx += 20) {
            const QPoint at = grip + QPoint(dx, 0);
            QMouseEvent move(QEvent::MouseMove, at, bar.mapToGlobal(at), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
            QCoreApplication::sendEvent(&bar, &move);
        }
        changes << -1;
        const QPoint end(bar.width() - 1, grip.y());
        QTest::mouseRelease(w.form.windowHandle(), Qt::LeftButton, {}, bar.mapTo(&w.form, end));
    }) << QList<int>{-1, 100};
    QTest::newRow("Max lowered below Value moves it") << BarAction([](Window &, ScrollBar &bar, QList<int> &) {
        bar.setValue(50);
        bar.setMax(30);
        bar.setMax(0);
        bar.setMax(60);
    }) << QList<int>{50, 30, 0};
}

void TestControls::scrollBarChange()
{
    QFETCH(BarAction, action);
    QFETCH(QList<int>, changes);
    Window w;
    auto *bar = new HScrollBar(w.client);
    bar->Move(0, 0, 3000, 255);
    bar->setMax(100);
    bar->setLargeChange(10);
    QList<int> seen;
    bar->Change = [&] { seen << bar->Value(); };
    QVERIFY(w.show());
    action(w, *bar, seen);
    QCOMPARE(seen, changes);
}

QTEST_MAIN(TestControls)
#include "test_controls.moc"
