// Control arrays: loading from the template, errors, stacking of loaded
// elements, events that carry the index, and the statement-skipping helper.

#include "controlshelpers.h"

#include "platform/controlarray.h"
#include "platform/form.h"
#include "platform/frame.h"
#include "platform/image.h"
#include "platform/label.h"
#include "platform/textbox.h"

#include <QPointer>
#include <QTest>

#include <functional>

using namespace kvx;

namespace {

int errorOf(const std::function<void()> &statement)
{
    try {
        statement();
    } catch (const PlatformError &error) {
        return error.number();
    }
    return 0;
}

// The room plan's arrays in miniature: labels designed above the images.
struct Room
{
    Form form;
    Container *room = form.clientArea();
    Image *img0 = room->create<Image>();
    Label *lbl0 = room->create<Label>();
    ControlArray<Image> imgRack{img0};
    ControlArray<Label> lblRack{lbl0};

    Room()
    {
        img0->setVisible(false);
        lbl0->setVisible(false);
    }
};

} // namespace

class TestControlsArrays : public QObject
{
    Q_OBJECT

private slots:
    void errors_data();
    void errors();
    void loadCopiesTheTemplateAsItIsNow();
    void loadedLabelsCopyFontColoursAndSize();
    void loadedElementsStackAboveTheirTemplate_data();
    void loadedElementsStackAboveTheirTemplate();
    void eventsCarryTheIndex();
    void unloadRemovesTheElement();
    void designElementsWithoutTemplateZero();
    void windowedElements();
    void skipErrorRunsOneStatement();
};

void TestControlsArrays::errors_data()
{
    QTest::addColumn<std::function<void(ControlArray<Image> &)>>("statement");
    QTest::addColumn<int>("error");
    using Statement = std::function<void(ControlArray<Image> &)>;
    QTest::newRow("load an element that exists")
        << Statement([](ControlArray<Image> &a) { a.Load(1); a.Load(1); }) << int(ErrElementExists);
    QTest::newRow("load the template") << Statement([](ControlArray<Image> &a) { a.Load(0); }) << int(ErrElementExists);
    QTest::newRow("touch a missing element")
        << Statement([](ControlArray<Image> &a) { a(5).setLeft(10); }) << int(ErrNoElement);
    QTest::newRow("unload a missing element") << Statement([](ControlArray<Image> &a) { a.Unload(7); })
                                              << int(ErrNoElement);
    QTest::newRow("unload twice")
        << Statement([](ControlArray<Image> &a) { a.Load(2); a.Unload(2); a.Unload(2); }) << int(ErrNoElement);
    QTest::newRow("touch an unloaded element")
        << Statement([](ControlArray<Image> &a) { a.Load(2); a.Unload(2); a(2).setVisible(true); })
        << int(ErrNoElement);
    QTest::newRow("unload the template") << Statement([](ControlArray<Image> &a) { a.Unload(0); })
                                         << int(ErrDesignElement);
    QTest::newRow("negative index") << Statement([](ControlArray<Image> &a) { a.Load(-1); }) << int(ErrNoElement);
    QTest::newRow("load, unload and load again")
        << Statement([](ControlArray<Image> &a) { a.Load(3); a.Unload(3); a.Load(3); }) << 0;
}

void TestControlsArrays::errors()
{
    QFETCH(std::function<void(ControlArray<Image> &)>, statement);
    QFETCH(int, error);
    Room room;
    QCOMPARE(errorOf([&] { statement(room.imgRack); }), error);
}

void TestControlsArrays::loadCopiesTheTemplateAsItIsNow()
{
    QTemporaryDir dir;
    Room room;
    room.img0->setPicture(test::solidPicture(dir, QSize(140, 263), Qt::gray));
    room.img0->setStretch(true);
    room.img0->Move(100, 200, 2160, 3945);
    room.img0->setToolTipText(QStringLiteral("template"));
    // A visible template still gives hidden elements.
    room.img0->setVisible(true);

    Image *first = room.imgRack.Load(1);
    QCOMPARE(&room.imgRack(1), first);
    QCOMPARE(first->Index(), 1);
    QVERIFY(!first->Visible());
    QCOMPARE(first->Left(), 100.0);
    QCOMPARE(first->Top(), 200.0);
    QCOMPARE(first->Width(), 2160.0);
    QCOMPARE(first->Height(), 3945.0);
    QVERIFY(first->Stretch());
    QCOMPARE(first->Picture().naturalPixels(), QSize(140, 263));
    QCOMPARE(first->ToolTipText(), QStringLiteral("template"));
    QCOMPARE(first->container(), room.room);

    // A template changed later gives later elements the new values only.
    room.img0->Move(0, 0, 2160 * 0.8, 3945 * 0.75);
    room.img0->setStretch(false);
    Image *second = room.imgRack.Load(2);
    QCOMPARE(second->Width(), 1728.0);
    QCOMPARE(second->Height(), 2958.75);
    QVERIFY(!second->Stretch());
    QCOMPARE(first->Width(), 2160.0);
    QVERIFY(first->Stretch());
    QCOMPARE(room.imgRack.count(), 3);
    QCOMPARE(room.imgRack.ubound(), 2);
}

void TestControlsArrays::loadedLabelsCopyFontColoursAndSize()
{
    Room room;
    room.lbl0->setFontDesc({QStringLiteral("MS Sans Serif"), 9.75, true});
    room.lbl0->setForeColor(ColorBlue);
    room.lbl0->setBackStyle(Label::Transparent);
    room.lbl0->setAutoSize(true);
    room.lbl0->setCaption(QStringLiteral("XXXX"));
    Label *label = room.lblRack.Load(1);
    QCOMPARE(label->fontDesc(), room.lbl0->fontDesc());
    QCOMPARE(label->ForeColor(), ColorBlue);
    QCOMPARE(label->BackStyle(), int(Label::Transparent));
    QCOMPARE(label->Width(), room.lbl0->Width());
    // The copy sizes itself to its own caption.
    label->setCaption(QStringLiteral("X"));
    QVERIFY(label->Width() < room.lbl0->Width());
}

void TestControlsArrays::loadedElementsStackAboveTheirTemplate_data()
{
    QTest::addColumn<LoadStacking>("stacking");
    QTest::addColumn<int>("restackFirst"); // 0 none, 1 img1 brought to the front, 2 lbl1 put on img0
    QTest::addColumn<QStringList>("bottomToTop");
    QTest::newRow("newer above") << LoadStacking::NewerAbove << 0
                                 << QStringList({"img0", "img1", "img2", "lbl0", "lbl1", "lbl2"});
    QTest::newRow("newer below") << LoadStacking::NewerBelow << 0
                                 << QStringList({"img0", "img2", "img1", "lbl0", "lbl2", "lbl1"});
    QTest::newRow("element loaded last brought to the front")
        << LoadStacking::NewerAbove << 1 << QStringList({"img0", "img2", "lbl0", "lbl1", "lbl2", "img1"});
    QTest::newRow("other control put on the template") << LoadStacking::NewerAbove << 2
                                                       << QStringList({"img0", "img2", "lbl1", "img1", "lbl0", "lbl2"});
}

void TestControlsArrays::loadedElementsStackAboveTheirTemplate()
{
    QFETCH(LoadStacking, stacking);
    QFETCH(int, restackFirst);
    QFETCH(QStringList, bottomToTop);
    Room room;
    room.imgRack.setLoadStacking(stacking);
    room.lblRack.setLoadStacking(stacking);
    for (int i = 1; i <= 2; ++i) {
        room.lblRack.Load(i);
        room.imgRack.Load(i);
        if (i == 1 && restackFirst == 1)
            room.imgRack(1).bringToFront();
        if (i == 1 && restackFirst == 2)
            room.lblRack(1).stackAbove(*room.img0);
    }
    QStringList names;
    for (LightControl *item : room.room->items())
        names << (dynamic_cast<Label *>(item) ? QStringLiteral("lbl") : QStringLiteral("img")) + QString::number(item->Index());
    QCOMPARE(names, bottomToTop);
}

void TestControlsArrays::eventsCarryTheIndex()
{
    Room room;
    room.img0->Move(0, 0, 1500, 1500);
    QList<int> clicked;
    QList<QPair<int, int>> pressed;
    room.imgRack.on(&Image::Click, [&](int index) { clicked << index; });
    room.imgRack.Load(1)->Move(0, 0, 1500, 1500);
    room.imgRack.on(&Image::MouseDown, [&](int index, int button, int, double, double) {
        pressed << qMakePair(index, button);
    });
    room.imgRack.Load(2)->Move(1500, 0, 1500, 1500);
    room.imgRack(1).setVisible(true);
    room.imgRack(2).setVisible(true);
    room.form.resize(300, 200);
    room.form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&room.form));

    QWindow *window = room.form.windowHandle();
    QTest::mouseClick(window, Qt::LeftButton, {}, room.room->mapTo(&room.form, QPoint(150, 50)));
    QTest::mouseClick(window, Qt::RightButton, {}, room.room->mapTo(&room.form, QPoint(50, 50)));
    QTest::mouseClick(window, Qt::LeftButton, {}, room.room->mapTo(&room.form, QPoint(50, 60)));
    QCOMPARE(clicked, QList<int>({2, 1}));
    QCOMPARE(pressed, (QList<QPair<int, int>>{{2, 1}, {1, 2}, {1, 1}}));
}

void TestControlsArrays::unloadRemovesTheElement()
{
    Room room;
    room.img0->Move(0, 0, 1500, 1500);
    room.imgRack.Load(1)->setVisible(true);
    int clicks = 0;
    int background = 0;
    room.imgRack.on(&Image::Click, [&](int) { ++clicks; });
    room.room->Click = [&] { ++background; };
    room.form.resize(200, 200);
    room.form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&room.form));
    const int items = room.room->itemCount();
    room.imgRack.Unload(1);
    QCOMPARE(room.room->itemCount(), items - 1);
    QVERIFY(!room.imgRack.exists(1));
    QCOMPARE(room.imgRack.count(), 1);
    QCOMPARE(room.imgRack.ubound(), 0);
    QTest::mouseClick(room.form.windowHandle(), Qt::LeftButton, {}, room.room->mapTo(&room.form, QPoint(50, 50)));
    QCOMPARE(clicks, 0);
    QCOMPARE(background, 1);
}

void TestControlsArrays::designElementsWithoutTemplateZero()
{
    // Arrays whose design elements start at 1, as check boxes numbered by ring.
    Form form;
    ControlArray<Label> clrMas;
    for (int i = 1; i <= 4; ++i) {
        Label *swatch = form.clientArea()->create<Label>();
        swatch->setTag(QString::number(i));
        clrMas.add(i, swatch);
    }
    QVERIFY(!clrMas.exists(0));
    QCOMPARE(clrMas.lbound(), 1);
    QCOMPARE(clrMas.ubound(), 4);
    QCOMPARE(clrMas(3).Tag(), QStringLiteral("3"));
    QCOMPARE(clrMas(3).Index(), 3);
    // A loaded element copies the lowest design element.
    QCOMPARE(clrMas.Load(5)->Tag(), QStringLiteral("1"));
    QCOMPARE(errorOf([&] { clrMas.Unload(2); }), int(ErrDesignElement));
}

void TestControlsArrays::windowedElements()
{
    Form form;
    Frame *holder = new Frame(form.clientArea());
    holder->Move(0, 0, 3000, 3000);
    auto *template0 = new TextBox(holder);
    template0->Move(240, -285, 615, 285);
    template0->setLocked(true);
    template0->setBackColor(ColorWhite);
    template0->setRefusedCharacters(QStringLiteral(","));
    template0->setVisible(false);
    auto *other = new TextBox(holder);
    other->setArrayIndex(nullptr, -1);
    ControlArray<TextBox> txtSlot(template0);
    QList<int> focused;
    txtSlot.on(&TextBox::GotFocus, [&](int index) { focused << index; });

    TextBox *row1 = txtSlot.Load(1);
    row1->setTop(40);
    TextBox *row2 = txtSlot.Load(2);
    row2->setTop(365);
    QVERIFY(!row1->Visible());
    QVERIFY(row1->Locked());
    QCOMPARE(row1->BackColor(), ColorWhite);
    QCOMPARE(row1->refusedCharacters(), QStringLiteral(","));
    QCOMPARE(row1->Left(), 240.0);
    QCOMPARE(row1->Width(), 615.0);
    QCOMPARE(row1->parentWidget(), holder);

    // Stacked just above the template: beneath the control made after it.
    const QObjectList children = holder->children();
    QVERIFY(children.indexOf(row1) > children.indexOf(template0));
    QVERIFY(children.indexOf(row2) > children.indexOf(row1));
    QVERIFY(children.indexOf(row2) < children.indexOf(other));

    form.resize(300, 300);
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    row1->setVisible(true);
    row2->setVisible(true);
    row2->SetFocus();
    row1->SetFocus();
    QCOMPARE(focused, QList<int>({2, 1}));

    QPointer<TextBox> gone(row1);
    txtSlot.Unload(1);
    QVERIFY(!txtSlot.exists(1));
    QVERIFY(!row1->isVisible());
    QTRY_VERIFY(gone.isNull());
}

void TestControlsArrays::skipErrorRunsOneStatement()
{
    Room room;
    QStringList ran;
    // The room plan builder's pattern: each statement on its own.
    QVERIFY(skipError([&] { room.imgRack.Load(1); ran << "load 1"; }));
    QVERIFY(!skipError([&] { room.imgRack.Load(1); ran << "load 1 again"; }));
    QVERIFY(skipError([&] { room.imgRack(1).setLeft(10); ran << "move 1"; }));
    QVERIFY(!skipError([&] { room.imgRack(9).setLeft(10); ran << "move 9"; }));
    QCOMPARE(ran, QStringList({"load 1", "move 1"}));
    QCOMPARE(room.imgRack(1).Left(), 10.0);
    // Only platform errors are skipped.
    QVERIFY_THROWS_EXCEPTION(std::logic_error, skipError([] { throw std::logic_error("bug"); }));
}

QTEST_MAIN(TestControlsArrays)
#include "test_controls_arrays.moc"
