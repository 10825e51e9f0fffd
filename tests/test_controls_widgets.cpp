// Windowed controls driven by mouse and keyboard: scroll bar Change rules,
// refused characters in text boxes, key codes, lists, check and option
// boxes, the tab control and the timer.

#include "platform/checkbox.h"
#include "platform/combobox.h"
#include "platform/commandbutton.h"
#include "platform/errors.h"
#include "platform/form.h"
#include "platform/frame.h"
#include "platform/listbox.h"
#include "platform/optionbutton.h"
#include "platform/menu.h"
#include "platform/picturebox.h"
#include "platform/programstyle.h"
#include "platform/scrollbar.h"
#include "platform/tabcontrol.h"
#include "platform/textbox.h"
#include "platform/timer.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QMenuBar>
#include <QToolButton>
#include <QGuiApplication>
#include <QStyleOptionSlider>
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

QRect sliderPart(ScrollBar *bar, QStyle::SubControl part)
{
    QStyleOptionSlider option;
    option.initFrom(bar);
    option.orientation = bar->orientation();
    option.minimum = bar->minimum();
    option.maximum = bar->maximum();
    option.sliderPosition = bar->sliderPosition();
    option.sliderValue = bar->value();
    option.singleStep = bar->singleStep();
    option.pageStep = bar->pageStep();
    option.upsideDown = false;
    return bar->style()->subControlRect(QStyle::CC_ScrollBar, &option, part, bar);
}

// A shown and active form; clicks go through its window like a person's.
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

bool libraryLoaded(const QByteArray &part)
{
    QFile maps(QStringLiteral("/proc/self/maps"));
    return maps.open(QIODevice::ReadOnly) && maps.readAll().contains(part);
}

} // namespace

class TestControlsWidgets : public QObject
{
    Q_OBJECT

private slots:
    // First: it checks which libraries the process has loaded.
    void menuBarReadsNoImageFile();
    void scrollBarChange();
    void scrollBarDragReportsOnRelease();
    void textBoxRefusesCharacters();
    void textBoxEvents();
    void listBoxListIndexRaisesClick();
    void comboBoxStartsUnchosen();
    void checkAndOptionButtons();
    void tabControlShowsOneTabAtATime();
    void commandButtonClick();
    void timerTicks();
    void pictureBoxKeyPress();
    void formSizeAndEvents();
};

// The program's style draws the arrow of the menu bar's overflow button: a
// window with menus reads no image file, so no image-format plugin starts.
void TestControlsWidgets::menuBarReadsNoImageFile()
{
    QApplication::setStyle(createProgramStyle());
    Window w;
    Menu exchange(w.form.menuBar(), QStringLiteral("&Exchange"));
    Menu open(&exchange, QStringLiteral("&Open"));
    QVERIFY(w.show());
    QVERIFY(!libraryLoaded("/imageformats/"));

    auto *overflow = w.form.menuBar()->findChild<QToolButton *>();
    QVERIFY(overflow);
    const QImage arrow = overflow->icon().pixmap(QSize(16, 16)).toImage();
    QCOMPARE(arrow.size(), QSize(16, 16));
    int ink = 0;
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x)
            ink += qAlpha(arrow.pixel(x, y)) > 128;
    }
    QVERIFY2(ink > 10 && ink < 100, qPrintable(QString::number(ink)));
}

void TestControlsWidgets::scrollBarChange()
{
    Window w;
    auto *bar = new HScrollBar(w.client);
    bar->Move(0, 0, 3000, 255);
    bar->setMax(100);
    bar->setSmallChange(1);
    bar->setLargeChange(10);
    QList<int> changes;
    bar->Change = [&] { changes << bar->Value(); };
    QVERIFY(w.show());

    bar->setValue(50);
    bar->setValue(50);
    QCOMPARE(changes, QList<int>({50}));
    QCOMPARE(errorOf([&] { bar->setValue(101); }), int(ErrInvalidProperty));
    QCOMPARE(errorOf([&] { bar->setValue(-1); }), int(ErrInvalidProperty));

    // A click on the right arrow, then one on the track left of the thumb.
    const QRect arrow = sliderPart(bar, QStyle::SC_ScrollBarAddLine);
    w.click(bar, arrow.center());
    QCOMPARE(changes, QList<int>({50, 51}));
    const QRect track = sliderPart(bar, QStyle::SC_ScrollBarSubPage);
    w.click(bar, QPoint(track.left() + 2, track.center().y()));
    QCOMPARE(changes, QList<int>({50, 51, 41}));

    // Lowering Max below Value moves Value and reports it; raising it does not.
    bar->setMax(30);
    QCOMPARE(bar->Value(), 30);
    bar->setMax(0);
    QCOMPARE(bar->Value(), 0);
    bar->setMax(60);
    QCOMPARE(changes, QList<int>({50, 51, 41, 30, 0}));
}

void TestControlsWidgets::scrollBarDragReportsOnRelease()
{
    Window w;
    auto *bar = new VScrollBar(w.client);
    bar->Move(0, 0, 255, 3000);
    bar->setMax(100);
    int changes = 0;
    bar->Change = [&] { ++changes; };
    QVERIFY(w.show());

    const QPoint grip = sliderPart(bar, QStyle::SC_ScrollBarSlider).center();
    QTest::mousePress(w.form.windowHandle(), Qt::LeftButton, {}, bar->mapTo(&w.form, grip));
    for (int dy = 10; dy <= 60; dy += 10) {
        QMouseEvent move(QEvent::MouseMove, grip + QPoint(0, dy), bar->mapToGlobal(grip + QPoint(0, dy)),
                         Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(bar, &move);
    }
    QVERIFY(bar->isSliderDown());
    QVERIFY(bar->sliderPosition() > 0);
    QCOMPARE(changes, 0);
    QCOMPARE(bar->Value(), 0);
    QTest::mouseRelease(w.form.windowHandle(), Qt::LeftButton, {}, bar->mapTo(&w.form, grip + QPoint(0, 60)));
    QCOMPARE(changes, 1);
    QVERIFY(bar->Value() > 0);
}

void TestControlsWidgets::textBoxRefusesCharacters()
{
    Window w;
    auto *box = new TextBox(w.client);
    box->Move(0, 0, 3000, 285);
    box->setRefusedCharacters(QStringLiteral(",\r\n"));
    int changes = 0;
    box->Change = [&] { ++changes; };
    QVERIFY(w.show());
    box->SetFocus();

    QTest::keyClicks(box, QStringLiteral("UC,01"));
    QTest::keyClick(box, Qt::Key_Return);
    QCOMPARE(box->Text(), QStringLiteral("UC01"));
    QCOMPARE(changes, 4);

    QGuiApplication::clipboard()->setText(QStringLiteral("A,B\nC"));
    box->paste();
    QCOMPARE(box->Text(), QStringLiteral("UC01ABC"));

    // Text set by code is taken as it is: member lists carry commas.
    box->setText(QStringLiteral("UC-01,UD-02"));
    QCOMPARE(box->Text(), QStringLiteral("UC-01,UD-02"));

    // A window may also refuse a key in KeyPress.
    box->setText(QString());
    box->KeyPress = [](int &keyAscii) {
        if (keyAscii == 'x')
            keyAscii = 0;
    };
    QTest::keyClicks(box, QStringLiteral("axb"));
    QCOMPARE(box->Text(), QStringLiteral("ab"));

    box->setMaxLength(3);
    box->setText(QString());
    QTest::keyClicks(box, QStringLiteral("12345"));
    QCOMPARE(box->Text(), QStringLiteral("123"));
}

void TestControlsWidgets::textBoxEvents()
{
    Window w;
    auto *first = new TextBox(w.client);
    first->Move(0, 0, 1500, 285);
    auto *second = new TextBox(w.client);
    second->Move(0, 400, 1500, 285);
    second->setLocked(true);
    QStringList log;
    first->GotFocus = [&] { log << "first got"; };
    first->LostFocus = [&] { log << "first lost"; };
    second->GotFocus = [&] { log << "second got"; };
    first->KeyDown = [&](int &keyCode, int shift) { log << QStringLiteral("key %1 %2").arg(keyCode).arg(shift); };
    first->KeyPress = [&](int &keyAscii) { log << QStringLiteral("ascii %1").arg(keyAscii); };
    second->DblClick = [&] { log << "second dblclick"; };
    QVERIFY(w.show());

    w.click(first, QPoint(5, 5));
    QTest::keyClick(first, Qt::Key_Down);
    QTest::keyClick(first, Qt::Key_Up, Qt::ShiftModifier);
    QTest::keyClick(first, Qt::Key_Escape);
    w.click(second, QPoint(5, 5));
    QTest::mouseDClick(second, Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(log.join(u'|'), QStringLiteral("first got|key 40 0|key 16 1|key 38 1|key 27 0|ascii 27|first lost|second got|"
                                            "second dblclick"));
    // Locked: it takes the focus and the double-click, not typing.
    QTest::keyClicks(second, QStringLiteral("abc"));
    QCOMPARE(second->Text(), QString());
}

void TestControlsWidgets::listBoxListIndexRaisesClick()
{
    Window w;
    auto *list = new ListBox(w.client);
    list->Move(0, 0, 1815, 1500);
    QList<int> clicks;
    list->Click = [&] { clicks << list->ListIndex(); };
    for (const char *name : {"UC-01", "UD-02", "UE-03"})
        list->AddItem(QString::fromLatin1(name));
    QVERIFY(w.show());
    QCOMPARE(list->ListIndex(), -1);
    QVERIFY(clicks.isEmpty());

    list->setListIndex(0);
    QCOMPARE(list->Text(), QStringLiteral("UC-01"));
    w.click(list->viewport(), list->visualItemRect(list->item(2)).center());
    QCOMPARE(list->ListIndex(), 2);
    QCOMPARE(list->List(1), QStringLiteral("UD-02"));
    QCOMPARE(list->ListCount(), 3);
    QCOMPARE(clicks, QList<int>({0, 2}));
    QCOMPARE(errorOf([&] { list->setListIndex(3); }), int(ErrInvalidProperty));

    list->Clear();
    QCOMPARE(list->ListIndex(), -1);
    QCOMPARE(clicks.size(), 2);
}

void TestControlsWidgets::comboBoxStartsUnchosen()
{
    Window w;
    auto *combo = new ComboBox(w.client);
    int clicks = 0;
    combo->Click = [&] { ++clicks; };
    for (int i = 1; i <= 15; ++i)
        combo->AddItem(QString::number(i));
    QCOMPARE(combo->ListIndex(), -1);
    combo->setListIndex(4);
    QCOMPARE(combo->Text(), QStringLiteral("5"));
    QCOMPARE(clicks, 1);
    QCOMPARE(errorOf([&] { combo->setListIndex(15); }), int(ErrInvalidProperty));
}

void TestControlsWidgets::checkAndOptionButtons()
{
    Window w;
    auto *check = new CheckBox(w.client);
    check->Move(0, 0, 1500, 255);
    QList<int> checks;
    check->Click = [&] { checks << check->Value(); };
    // Two containers, two groups of options.
    auto *frameA = new Frame(w.client);
    frameA->Move(0, 600, 3000, 900);
    auto *frameB = new Frame(w.client);
    frameB->Move(3000, 600, 3000, 900);
    OptionButton *a1 = new OptionButton(frameA), *a2 = new OptionButton(frameA), *b1 = new OptionButton(frameB);
    a1->Move(120, 300, 900, 255);
    a2->Move(1200, 300, 900, 255);
    b1->Move(120, 300, 900, 255);
    QStringList options;
    a1->Click = [&] { options << "a1"; };
    a2->Click = [&] { options << "a2"; };
    b1->Click = [&] { options << "b1"; };
    QVERIFY(w.show());

    check->setValue(1);
    check->setValue(1);
    w.click(check, QPoint(8, 8));
    QCOMPARE(checks, QList<int>({1, 0}));
    QCOMPARE(errorOf([&] { check->setValue(2); }), int(ErrInvalidProperty));

    a1->setValue(true);
    b1->setValue(true);
    w.click(a2, QPoint(6, 8));
    QVERIFY(a2->Value());
    QVERIFY(!a1->Value());
    QVERIFY(b1->Value());
    QCOMPARE(options, QStringList({"a1", "b1", "a2"}));
}

void TestControlsWidgets::tabControlShowsOneTabAtATime()
{
    Window w;
    auto *tabs = new TabControl(w.client);
    tabs->Move(0, 120, 5000, 3000);
    Container *small = tabs->addTab(QStringLiteral("Small Change"));
    Container *major = tabs->addTab(QStringLiteral("Major Change"));
    tabs->addTab(QStringLiteral("Ring Change"));
    auto *button = new CommandButton(major);
    button->Move(600, 600, 975, 375);
    QList<int> previous;
    tabs->Click = [&](int tab) { previous << tab; };
    QVERIFY(w.show());

    QCOMPARE(tabs->Tab(), 0);
    QVERIFY(small->isVisible());
    QVERIFY(!button->isVisible());
    // Positions on a tab count from the tab control's top left corner.
    QCOMPARE(button->mapTo(tabs, QPoint(0, 0)), QPoint(40, 40));

    tabs->setTab(1);
    QVERIFY(button->isVisible());
    QVERIFY(!small->isVisible());
    auto *bar = tabs->findChild<QTabBar *>();
    w.click(bar, bar->tabRect(2).center());
    QCOMPARE(tabs->Tab(), 2);
    QCOMPARE(previous, QList<int>({0, 1}));
    QCOMPARE(tabs->TabCaption(2), QStringLiteral("Ring Change"));
}

void TestControlsWidgets::commandButtonClick()
{
    Window w;
    auto *button = new CommandButton(w.client);
    button->Move(12800, 0, 255, 300);
    button->setCaption(QStringLiteral("X"));
    button->setBackColor(ColorYellow);
    int clicks = 0;
    button->Click = [&] { ++clicks; };
    w.form.resize(900, 100);
    QVERIFY(w.show());
    w.click(button, QPoint(8, 10));
    w.click(button, QPoint(8, 10), Qt::RightButton);
    QCOMPARE(clicks, 1);
    QCOMPARE(button->geometry(), QRect(853, 0, 17, 20));
}

void TestControlsWidgets::timerTicks()
{
    Form form;
    auto *timer = new Timer(&form);
    int ticks = 0;
    timer->Tick = [&] { ++ticks; };
    timer->setEnabled(false);
    timer->setInterval(10);
    timer->fireTick();
    QCOMPARE(ticks, 1);
    QTest::qWait(40);
    QCOMPARE(ticks, 1);

    timer->setEnabled(true);
    QTRY_VERIFY(ticks >= 4);
    // The handler that lays the cards switches its own timer off.
    timer->Tick = [&] {
        ++ticks;
        timer->setEnabled(false);
    };
    const int before = ticks;
    QTRY_COMPARE(ticks, before + 1);
    QTest::qWait(40);
    QCOMPARE(ticks, before + 1);
}

void TestControlsWidgets::pictureBoxKeyPress()
{
    Window w;
    auto *room = new PictureBox(w.client);
    room->Move(0, 0, 3000, 3000);
    auto *shelf = new PictureBox(room);
    shelf->Move(300, 300, 1500, 900);
    shelf->setVisible(false);
    QList<int> roomKeys, shelfKeys;
    room->KeyPress = [&](int &keyAscii) { roomKeys << keyAscii; };
    shelf->KeyPress = [&](int &keyAscii) {
        shelfKeys << keyAscii;
        room->SetFocus();
    };
    // Visible is the control's own setting, also before its window is shown.
    QVERIFY(room->Visible());
    QVERIFY(!shelf->Visible());
    QVERIFY(w.show());

    shelf->setVisible(true);
    shelf->SetFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_A);
    QCOMPARE(shelfKeys, QList<int>({27}));
    QCOMPARE(roomKeys, QList<int>({27, 'a'}));
}

void TestControlsWidgets::formSizeAndEvents()
{
    struct Window : Form
    {
        int loads = 0, resizes = 0, unloads = 0;
        bool allowUnload = false;
        void Form_Load() override { ++loads; }
        void Form_Resize() override { ++resizes; }
        bool Form_Unload() override
        {
            ++unloads;
            return allowUnload;
        }
    } form;
    form.Load();
    form.Load();
    QCOMPARE(form.loads, 1);
    form.setCaption(QStringLiteral("KVX 410 Switch Room"));
    form.Show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    // Outer size: the window frame is known once the window is shown.
    form.setWidth(15360);
    form.setHeight(11520);
    QCOMPARE(form.Width(), 15360);
    QCOMPARE(form.Height(), 11520);
    QVERIFY(form.resizes >= 1);
    const int resizes = form.resizes;
    form.setWidth(12000);
    QCOMPARE(form.resizes, resizes + 1);
    QCOMPARE(form.ScaleWidth(), 12000.0 - (form.frameGeometry().width() - form.width()) * 15);
    QCOMPARE(form.windowTitle(), QStringLiteral("KVX 410 Switch Room"));

    QVERIFY(!form.Unload());
    QVERIFY(form.isVisible());
    form.allowUnload = true;
    QVERIFY(form.Unload());
    QVERIFY(!form.isVisible());
    QCOMPARE(form.unloads, 2);
}

QTEST_MAIN(TestControlsWidgets)
#include "test_controls_widgets.moc"
