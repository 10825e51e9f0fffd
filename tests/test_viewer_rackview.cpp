// The rack and shelf views, driven as a user drives them: clicks where a
// rack, door or shelf is seen, mouse buttons on the doors, the animation's
// ticks, Esc, "X" and clicks on the floor; then the views' controls and the
// selection are read. On the sample exchange: the screenshots of the views
// and two reference images.

#include "viewerhelpers.h"

#include "art/art.h"
#include "model/racktemplates.h"

#include <algorithm>
#include <cmath>

using namespace kvx;

namespace {

struct Card
{
    Loose slot;
    QString name;
    Loose code;
};
using Cards = QList<Card>;

// Shoot 2 is the front row. UC-05 stands twice; UC-01 has stations on shelves 1, 3, 5.
test::TestRoom room()
{
    test::TestRoom r;
    r.rows = {{"UC-01", "UE-01", "ue-02", "UC-05", "UC-06", "UC-07", "UC-08", "UC-09"},
              {"UC-02", "UD-01", "SD-01", "UC-05", "SDE-02", "UC-03", "", ""}};
    r.stations["UC-01"] = {"SMC", "", "SMA", "", "SMA"};
    return r;
}

// Writes a shelf's list of UC-03 into the model, as the editor does (a view
// reads the model when it opens), with the end mark after it unless told otherwise.
void putCards(int shelf, const Cards &cards, bool endMark = true)
{
    int k = 0;
    for (const Card &card : cards) {
        ModMain.SlotNo.set(card.slot, 2, 6, shelf, ++k);
        ModMain.CardName.set(Loose::fromString(card.name), 2, 6, shelf, k);
        ModMain.CardType.set(card.code, 2, 6, shelf, k);
    }
    if (endMark && k < CardsPerShelf)
        ModMain.SlotNo.set(Loose(-1), 2, 6, shelf, k + 1);
}

// The program on room(), UC-03's first shelf full, its fifth with three cards.
frmSwitch &start(test::ProgramFixture &program)
{
    if (!program.start(room()))
        qFatal("the program did not start");
    Cards full;
    for (int n = 1; n <= CardsPerShelf; ++n)
        full.append({Loose(4 * n), QStringLiteral("C%1").arg(n), Loose(n % 13)});
    putCards(1, full);
    putCards(5, {{Loose(0), "ACALA", Loose(2)}, {Loose(60), "AE5V40A", Loose(1)}, {Loose(147), "RCID4", Loose(0)}});
    frmSwitch &form = frmSwitch::get();
    form.activateWindow();
    if (!QTest::qWaitForWindowActive(&form))
        qFatal("the window was not activated");
    return form;
}

// The program on the sample exchange.
frmSwitch *startSample(test::ProgramFixture &program)
{
    QFile sample(QStringLiteral(KVX_SAMPLE_FILE));
    if (!sample.open(QIODevice::ReadOnly) || !program.start(sample.readAll()))
        return nullptr;
    frmSwitch &form = frmSwitch::get();
    return QTest::qWaitForWindowExposed(&form) ? &form : nullptr;
}

// UC-03 opened, its doors too, and the shelf (0 to 4) clicked.
bool openShelf(int shelf)
{
    return test::openRack(QStringLiteral("UC-03")) && test::openDoors() && test::clickOn(frmSwitch::get().imgShelf(shelf));
}

template<typename C>
QRectF geometry(const C &control)
{
    return {control.Left(), control.Top(), control.Width(), control.Height()};
}

// The card copies are exactly those laid last.
bool cardsLaid(const frmSwitch &form, int count)
{
    return form.CardCount == count && form.imgCard.count() == count + 1 && form.lblCard.count() == count + 1;
}

// Scrolls with the bars so that the room's point (x, y) stands as near the
// viewport's centre as the bars go.
void scrollToShow(double x, double y)
{
    frmSwitch &form = frmSwitch::get();
    const auto value = [](double at, double viewport, double room, int max) {
        return max ? std::clamp(int(std::lround((viewport / 2 - at) / (viewport - room) * max)), 0, max) : 0;
    };
    form.HScroll1->setValue(value(x, form.PicSwitch->Width(), form.PicRoom->Width(), form.HScroll1->Max()));
    form.VScroll1->setValue(value(y, form.PicSwitch->Height(), form.PicRoom->Height(), form.VScroll1->Max()));
}

// Opens the rack's fullest shelf (the last of them) through both doors; its card count.
int openFullestShelf()
{
    frmSwitch &form = frmSwitch::get();
    int fullest = -1, most = -1;
    for (int k = 0; k < 5; ++k) {
        int cards = 0;
        while (cards < 35 && ModMain.SlotNo(form.SelShoot, form.SelPlace, k + 1, cards + 1).number() >= 0)
            ++cards;
        if (form.imgShelf(k).Visible() && cards >= most) {
            most = cards;
            fullest = k;
        }
    }
    if (fullest < 0 || !test::clickOn(form.imgShelf(fullest)))
        return -1;
    test::growShelf();
    return most;
}

const double DoorTop = 7350.0 / 7330 * 810;

// Where two images differ by more than the tolerance in a channel.
struct Difference
{
    int count = 0;
    QRect box;
};

Difference difference(const QImage &actual, const QImage &expected, int tolerance)
{
    Difference d;
    for (int y = 0; y < actual.height(); ++y) {
        for (int x = 0; x < actual.width(); ++x) {
            const QRgb a = actual.pixel(x, y), e = expected.pixel(x, y);
            if (std::abs(qRed(a) - qRed(e)) > tolerance || std::abs(qGreen(a) - qGreen(e)) > tolerance
                || std::abs(qBlue(a) - qBlue(e)) > tolerance) {
                ++d.count;
                d.box |= QRect(x, y, 1, 1);
            }
        }
    }
    return d;
}

} // namespace

Q_DECLARE_METATYPE(Card)
Q_DECLARE_METATYPE(Cards)

class TestViewerRackView : public QObject
{
    Q_OBJECT

private slots:
    void opensCentredOnTheRack_data();
    void opensCentredOnTheRack();
    void doorsFollowTheButtons_data();
    void doorsFollowTheButtons();
    void shelvesOnlyThroughAnOpenDoor();
    void shelfGrowsInSixTicks_data();
    void shelfGrowsInSixTicks();
    void cardsStandAtTheirSlots_data();
    void cardsStandAtTheirSlots();
    void closingPaths_data();
    void closingPaths();
    void smallRoomShelfView_data();
    void smallRoomShelfView();
    void sampleExchangeScreenshots_data();
    void sampleExchangeScreenshots();
    void matchesTheReferenceImage_data();
    void matchesTheReferenceImage();
};

void TestViewerRackView::opensCentredOnTheRack_data()
{
    QTest::addColumn<QString>("rack");
    QTest::addColumn<QPoint>("place"); // shoot, place
    QTest::addColumn<bool>("ueUd");
    QTest::addColumn<QString>("shelves"); // 1 shown, 0 hidden
    QTest::addColumn<QString>("level");   // of the fourth shelf
    QTest::newRow("at the room's left border") << "UC-02" << QPoint(2, 1) << false << "11111" << "*147*";
    QTest::newRow("UE rack") << "UE-01" << QPoint(1, 2) << true << "11111" << "*150*";
    QTest::newRow("UD rack") << "UD-01" << QPoint(2, 2) << true << "11111" << "*150*";
    QTest::newRow("power rack") << "SD-01" << QPoint(2, 3) << false << "11111" << "*147*";
    QTest::newRow("lower-case ue is another rack") << "ue-02" << QPoint(1, 3) << false << "11111" << "*147*";
    QTest::newRow("shelves with a station") << "UC-01" << QPoint(1, 1) << false << "10101" << "*147*";
    // The front UC-05 is clicked; the back one comes first shoot by shoot.
    QTest::newRow("twin names") << "UC-05" << QPoint(1, 4) << false << "11111" << "*147*";
}

void TestViewerRackView::opensCentredOnTheRack()
{
    QFETCH(QString, rack);
    QFETCH(QPoint, place);
    QFETCH(bool, ueUd);
    QFETCH(QString, shelves);
    QFETCH(QString, level);
    test::ProgramFixture program;
    frmSwitch &form = start(program);
    const int index = test::rackIndex(rack);
    QVERIFY(test::openRack(rack));

    // Centred on the rack clicked; the open doors beside it, at the closed doors' height.
    const Image &plan = form.imgRack(index);
    const QRectF big(plan.Left() - (4440 - 2160) / 2.0, plan.Top() - (7350 - 3945) / 2.0, 4440, 7350);
    QCOMPARE(geometry(*form.frameRackBig), big);
    QCOMPARE(geometry(*form.frameLOpen), QRectF(big.left() - 2190, big.top() + DoorTop, 2190, 6315));
    QCOMPARE(geometry(*form.FrameROpen), QRectF(big.right(), big.top() + DoorTop, 2190, 6315));
    QCOMPARE(geometry(*form.ImgD_C_L), QRectF(0, DoorTop, 2190, 6315));
    QCOMPARE(geometry(*form.ImgD_C_R), QRectF(2190, DoorTop, 2190, 6315));
    QVERIFY(form.frameRackBig->Visible() && form.ImgD_C_L->Visible() && form.ImgD_C_R->Visible());
    QVERIFY(!form.frameLOpen->Visible() && !form.FrameROpen->Visible());
    // The name rests on the doors, centred.
    QCOMPARE(form.lblRackName->Caption(), rack);
    QCOMPARE(form.lblRackName->Left() + form.lblRackName->Width() / 2, 2220.0);
    QCOMPARE(form.lblRackName->Top() + form.lblRackName->Height(), DoorTop);
    QVERIFY(form.ImgRackBig->Picture() == (ueUd ? Art::rackFrontSmt() : Art::rackFrontOther()));
    QCOMPARE(QPoint(form.SelShoot, form.SelPlace), place);
    QCOMPARE(ModMain.SelRack, &form.lblRack(index));
    const QList<double> tops = ueUd ? QList<double>{1400, 2745, 3700, 5100, 6045} : QList<double>{1020, 2280, 3540, 4770, 6060};
    for (int k = 0; k < 5; ++k) {
        QCOMPARE(geometry(form.imgShelf(k)), QRectF(0, tops[k], 4350, 945));
        QCOMPARE(form.imgShelf(k).Visible(), shelves[k] == QLatin1Char('1'));
    }
    // The shelf's own event, as a click through an open door raises it (a
    // power rack's doors never open); the level shows once the cards are laid.
    form.imgShelf(3).Click();
    test::growShelf();
    QCOMPARE(form.LblLevel->Caption(), level);
}

void TestViewerRackView::doorsFollowTheButtons_data()
{
    QTest::addColumn<QString>("rack");
    QTest::addColumn<bool>("leftDoor");
    QTest::addColumn<Qt::MouseButton>("button");
    for (const char *rack : {"UC-06", "UE-01", "SDE-02"}) {
        for (bool left : {true, false}) {
            for (Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton})
                QTest::addRow("%s, %s door, %s button", rack, left ? "left" : "right", button == Qt::LeftButton ? "left" : "right")
                    << QString::fromLatin1(rack) << left << button;
        }
    }
}

void TestViewerRackView::doorsFollowTheButtons()
{
    QFETCH(QString, rack);
    QFETCH(bool, leftDoor);
    QFETCH(Qt::MouseButton, button);
    test::ProgramFixture program;
    frmSwitch &form = start(program);
    QVERIFY(test::openRack(rack));
    Image *shut = leftDoor ? form.ImgD_C_L : form.ImgD_C_R;
    Frame *open = leftDoor ? form.frameLOpen : form.FrameROpen;
    const bool power = rack.startsWith(QLatin1String("SD"));
    const bool opens = !power && button == (leftDoor ? Qt::LeftButton : Qt::RightButton);

    QVERIFY(test::clickOn(*shut, button));
    QCOMPARE(shut->Visible(), !opens);
    QCOMPARE(open->Visible(), opens);
    QVERIFY(form.ImgD_C_L->Visible() + form.ImgD_C_R->Visible() == 2 - opens); // the other door stays shut
    QCOMPARE(program.hooks.messages.size(), power ? 1 : 0);
    if (power) {
        QCOMPARE(program.hooks.messages[0].text, QStringLiteral("Please Avoid Opening Power Rack"));
        for (int k = 0; k < 5; ++k)
            QVERIFY(!test::visiblePointOf(form.imgShelf(k)));
    }
    if (!opens)
        return;
    // Open, the same button leaves it open and the other one shuts it.
    const Image &opened = leftDoor ? *form.imgD_O_L : *form.imgD_O_R;
    QVERIFY(test::clickOn(opened, button));
    QVERIFY(open->Visible() && !shut->Visible());
    QVERIFY(test::clickOn(opened, button == Qt::LeftButton ? Qt::RightButton : Qt::LeftButton));
    QVERIFY(!open->Visible() && shut->Visible());
}

void TestViewerRackView::shelvesOnlyThroughAnOpenDoor()
{
    test::ProgramFixture program;
    frmSwitch &form = start(program);
    QVERIFY(test::openRack(QStringLiteral("UC-03")));
    const QPoint leftHalf = test::pointOf(form.imgShelf(2), 0.25);
    const QPoint rightHalf = test::pointOf(form.imgShelf(2), 0.75);
    // Shut, the left door takes the press (and opens), not the shelf.
    test::clickRoom(leftHalf);
    QVERIFY(form.frameLOpen->Visible() && !form.picShelfBig->Visible());
    // The right half still lies under the shut right door, which the left button leaves shut.
    test::clickRoom(rightHalf);
    QVERIFY(form.ImgD_C_R->Visible() && !form.picShelfBig->Visible());
    test::clickRoom(leftHalf);
    QVERIFY(form.picShelfBig->Visible());
    QCOMPARE(form.SelShelf, 2);
}

void TestViewerRackView::shelfGrowsInSixTicks_data()
{
    QTest::addColumn<QSize>("screen");
    QTest::addColumn<bool>("scrolledRight");
    QTest::newRow("1024x768, room at its left end") << QSize(1024, 768) << false;
    QTest::newRow("1024x768, room at its right end") << QSize(1024, 768) << true;
    QTest::newRow("800x600") << QSize(800, 600) << false;
}

void TestViewerRackView::shelfGrowsInSixTicks()
{
    QFETCH(QSize, screen);
    QFETCH(bool, scrolledRight);
    test::ProgramFixture program(screen.width(), screen.height());
    frmSwitch &form = start(program);
    const double xf = ModMain.XFactor;
    form.HScroll1->setValue(scrolledRight ? form.HScroll1->Max() : 0);
    QVERIFY(openShelf(0));
    // Over the shelf clicked, first.
    PictureBox &box = *form.picShelfBig;
    const double top = form.frameRackBig->Top() + form.imgShelf(0).Top();
    QCOMPARE(geometry(box), QRectF(form.frameRackBig->Left(), top, 4350 * xf, 945 * ModMain.YFactor));
    const double left = box.Left();
    double step = 0;
    for (int tick = 1; tick <= 6; ++tick) {
        QVERIFY(cardsLaid(form, 0)); // the growing box carries no card
        form.TimShelfEnlarger->fireTick();
        step = tick == 1 ? left - box.Left() : step;
        QCOMPARE(geometry(box), QRectF(left - tick * step, top, 13150 * xf * tick / 6, 4050 * ModMain.YFactor * tick / 6));
    }
    // 1100 (scaled) twips from the window's edge, whatever the scroll.
    const double windowLeft = form.PicRoom->Left() + form.PicSwitch->Left() + box.Left();
    QVERIFY2(std::abs(windowLeft - 1100 * xf) <= 0.5, qPrintable(QString::number(windowLeft)));
    QVERIFY(!form.TimShelfEnlarger->Enabled());
    QVERIFY(cardsLaid(form, CardsPerShelf));
}

void TestViewerRackView::cardsStandAtTheirSlots_data()
{
    QTest::addColumn<QSize>("screen");
    QTest::addColumn<Cards>("cards"); // UC-03's third shelf, no end mark written
    QTest::addColumn<int>("laid");
    const Cards good{{Loose(0), "ACALA", Loose(2)}, {Loose(40), "ICID", Loose(13)}, {Loose(120), "RCHIS", Loose(9)},
                     {Loose(147), "RCID4", Loose(0)}, {Loose(-1), "", Loose()}};
    for (const QSize screen : {QSize(1024, 768), QSize(800, 600), QSize(1920, 1080)})
        QTest::addRow("%dx%d", screen.width(), screen.height()) << screen << good << 4;
    // A card after the end mark is never shown; a code not among the
    // fourteen shows a blank card; a slot that is no number ends the list.
    const auto second = [](const Card &card) {
        return Cards{{Loose(10), "A1", Loose(0)}, card, {Loose(30), "C3", Loose(3)}, {Loose(-1), "", Loose()}, {Loose(50), "D5", Loose(5)}};
    };
    const QSize design(1024, 768);
    QTest::newRow("code 14") << design << second({Loose(20), "B2", Loose(14)}) << 3;
    QTest::newRow("code 2.5") << design << second({Loose(20), "B2", Loose(2.5)}) << 3;
    QTest::newRow("code X") << design << second({Loose(20), "B2", Loose("X")}) << 3;
    QTest::newRow("texts reading as numbers") << design << second({Loose("12"), "B2", Loose("7")}) << 3;
    QTest::newRow("slot text abc ends the list") << design << second({Loose("abc"), "B2", Loose(4)}) << 1;
    QTest::newRow("negative slot ends the list") << design << second({Loose(-3), "B2", Loose(4)}) << 1;
}

void TestViewerRackView::cardsStandAtTheirSlots()
{
    QFETCH(QSize, screen);
    QFETCH(Cards, cards);
    QFETCH(int, laid);
    test::ProgramFixture program(screen.width(), screen.height());
    frmSwitch &form = start(program);
    const double xf = ModMain.XFactor;
    const double yf = ModMain.YFactor;
    putCards(3, cards, false);
    QVERIFY(openShelf(2));
    test::growShelf();

    QVERIFY(cardsLaid(form, laid));
    const QRect shelf(QPoint(0, 0), form.picShelfBig->size());
    for (int n = 1; n <= laid; ++n) {
        const Card &want = cards[n - 1];
        const int code = want.code.readsAsNumber() && want.code.number() == int(want.code.number()) ? int(want.code.number()) : -1;
        const bool known = code >= 0 && code < Art::CardCodes;
        const Image &card = form.imgCard(n);
        const Label &name = form.lblCard(n);
        // A code not among the fourteen: a plain card of code 0's size.
        const Picture size = Art::card(known ? code : 0);
        QCOMPARE(geometry(card), QRectF(77 * (want.slot.number() + 5) * xf, (code == 13 ? 1560 : 360) * yf,
                                        size.naturalWidthTwips() * xf, size.naturalHeightTwips() * yf));
        for (int c = 0; c < Art::CardCodes; ++c)
            QCOMPARE(card.Picture() == Art::card(c), c == code);
        QVERIFY(!card.Picture().isNull() && card.Visible() && name.Visible());
        QString vertical;
        for (QChar c : want.name)
            vertical += QString(c) + QLatin1Char(' ');
        QCOMPARE(name.Caption(), vertical);
        if (code == 13) {
            QCOMPARE(QPointF(name.Left(), name.Top()), QPointF(card.Left() + 300 * xf, card.Top() + 50 * yf));
        } else {
            QCOMPARE(QPointF(name.Left(), name.Top()), QPointF(card.Left() + 140 * xf, 1320 * yf));
            // No wider than on the design screen: it wraps one character a line there too.
            QCOMPARE(name.Width(), std::min(140 * xf, 140.0));
        }
        // Every name on its card, every card on the shelf.
        QVERIFY(name.pixelRect().left() >= card.pixelRect().left() && name.pixelRect().right() <= card.pixelRect().right());
        QVERIFY(shelf.contains(card.pixelRect()));
    }
    QCOMPARE(form.lblShelfName->Caption(), QStringLiteral("UC-03/3"));
    QCOMPARE(form.LblLevel->Caption(), QStringLiteral("*109*"));
    QVERIFY(shelf.contains(form.cmdShelfEx->geometry()));
    // Off the design screen a copy of the shelf picture scaled by the factors lies under the cards.
    const bool design = screen == QSize(1024, 768);
    QCOMPARE(form.imgShelfBig.exists(1), !design);
    if (!design)
        QCOMPARE(geometry(form.imgShelfBig(1)), QRectF(0, 0, 13110 * xf, 3975 * yf));
}

void TestViewerRackView::closingPaths_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<int>("ticks"); // of the shelf animation before
    QTest::addColumn<QSize>("screen");
    const QSize design(1024, 768), small(800, 600);
    QTest::newRow("click on the floor") << "floor" << 6 << design;
    QTest::newRow("Esc") << "esc" << 6 << design;
    QTest::newRow("X, then a click on the floor") << "x" << 6 << design;
    QTest::newRow("another key, then Esc") << "key" << 6 << design;
    QTest::newRow("Esc while it grows") << "esc" << 3 << design;
    QTest::newRow("a click on the floor while it grows, 800x600") << "floor" << 3 << small;
    QTest::newRow("another shelf, 800x600") << "shelf" << 6 << small;
    QTest::newRow("Refresh, cards shown, 800x600") << "refresh" << 6 << small;
    QTest::newRow("Refresh while it grows, 800x600") << "refresh" << 2 << small;
}

// The shelf view closes first, its cards and its animation with it; then the rack view.
void TestViewerRackView::closingPaths()
{
    QFETCH(QString, how);
    QFETCH(int, ticks);
    QFETCH(QSize, screen);
    test::ProgramFixture program(screen.width(), screen.height());
    frmSwitch &form = start(program);
    const int controls = form.picShelfBig->itemCount();
    QVERIFY(openShelf(4));
    test::growShelf(ticks);
    if (how == "floor")
        QVERIFY(test::clickFloor());
    else if (how == "x")
        QTest::mouseClick(form.cmdShelfEx, Qt::LeftButton);
    else if (how == "shelf")
        QVERIFY(test::clickOn(form.imgShelf(0))); // the top one shows above the box
    else if (how == "refresh")
        form.mnuRefresh->trigger();
    else
        test::pressKey(how == "esc" ? Qt::Key_Escape : Qt::Key_A);

    const bool shelfOpen = how == "key" || how == "shelf";
    QCOMPARE(form.picShelfBig->Visible(), shelfOpen);
    QCOMPARE(form.TimShelfEnlarger->Enabled(), how == "shelf");
    QCOMPARE(form.frameRackBig->Visible(), how != "refresh");
    QVERIFY(form.frameLOpen->Visible() == (how != "refresh") && form.FrameROpen->Visible() == (how != "refresh"));
    // A tick already due lays nothing once closed; another shelf lays its own cards once.
    test::growShelf(how == "shelf" ? 6 : 3);
    QVERIFY(cardsLaid(form, how == "key" ? 3 : how == "shelf" ? CardsPerShelf : 0));
    QCOMPARE(form.imgShelfBig.exists(1), shelfOpen && screen != QSize(1024, 768));
    if (how == "shelf") {
        QCOMPARE(form.picShelfBig->itemCount(), controls + 2 * CardsPerShelf + 1);
        QCOMPARE(form.lblShelfName->Caption(), QStringLiteral("UC-03/1"));
        return;
    }
    if (how == "refresh") {
        // The new plan's racks open as before; the reloaded file's shelves hold no card.
        QVERIFY(openShelf(4));
        test::growShelf();
        QVERIFY(cardsLaid(form, 0));
        QCOMPARE(form.lblShelfName->Caption(), QStringLiteral("UC-03/5"));
        return;
    }
    // Then the rack view: a click on the floor shuts its doors, Esc leaves them.
    const bool byKey = how == "esc" || how == "key";
    if (byKey)
        test::pressKey(Qt::Key_Escape);
    else
        QVERIFY(test::clickFloor());
    QVERIFY(!form.frameRackBig->Visible() && !form.frameLOpen->Visible() && !form.FrameROpen->Visible());
    QCOMPARE(form.ImgD_C_L->Visible(), !byKey);
    QCOMPARE(form.picShelfBig->Visible(), how == "key");
}

void TestViewerRackView::smallRoomShelfView_data()
{
    QTest::addColumn<QSize>("screen");
    QTest::addColumn<int>("places");
    for (const QSize screen : {QSize(800, 600), QSize(1024, 768), QSize(1280, 1024), QSize(1920, 1080)}) {
        for (const int places : {1, 4})
            QTest::addRow("1 x %d at %dx%d", places, screen.width(), screen.height()) << screen << places;
    }
}

// In a room narrower than the shelf view, the view of the last rack's
// fullest shelf is seen whole: its close control and its last slot.
void TestViewerRackView::smallRoomShelfView()
{
    QFETCH(QSize, screen);
    QFETCH(int, places);
    test::ProgramFixture program(screen.width(), screen.height());
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
    const auto seen = [&](const QRect &inShelf) {
        return viewport.contains(QRect(form.picShelfBig->mapTo(form.PicSwitch, inShelf.topLeft()), inShelf.size()));
    };
    QVERIFY(seen(form.cmdShelfEx->geometry()));
    int last = 1;
    for (int n = 2; n <= form.CardCount; ++n)
        last = form.imgCard(n).Left() > form.imgCard(last).Left() ? n : last;
    QCOMPARE(ModMain.SlotNo(1, places, 2, last).number(), 145.0);
    QVERIFY(seen(test::widgetRect(form.imgCard(last))));
    if (places == 1)
        QVERIFY(test::grabImage(form).save(test::screenshotFolder() + QStringLiteral("/shelfview-1x1-%1x%2.png").arg(screen.width()).arg(screen.height())));
}

void TestViewerRackView::sampleExchangeScreenshots_data()
{
    QTest::addColumn<QSize>("screen");
    // The design size, and one where short cards' names once read two characters a line.
    for (const QSize screen : {QSize(1024, 768), QSize(1280, 1024)})
        QTest::addRow("%dx%d", screen.width(), screen.height()) << screen;
}

// For people to look at: the room plan, the MIS ring view, the rack view
// shut and open, and the full shelf of a rack of every family. A few pixel
// checks catch a picture that failed to paint.
void TestViewerRackView::sampleExchangeScreenshots()
{
    QFETCH(QSize, screen);
    test::ProgramFixture program(screen.width(), screen.height());
    frmSwitch *form = startSample(program);
    QVERIFY(form);
    const QString folder = test::screenshotFolder();
    const QString size = QStringLiteral("%1x%2").arg(screen.width()).arg(screen.height());
    QVERIFY(test::grabImage(*form).save(folder + QStringLiteral("/roomplan-%1.png").arg(size)));
    form->MnuMIS->trigger();
    QVERIFY(test::grabImage(*form).save(folder + QStringLiteral("/ring-mis-%1.png").arg(size)));
    form->MnuSwitch->trigger();

    const QStringList racks{"UE-01", "UD-01", "UC-01", "XA-1A", "XA0", "XB-1A", "CA"};
    for (const QString &rack : racks) {
        const Image &plan = form->imgRack(test::rackIndex(rack));
        scrollToShow(plan.Left() + plan.Width() / 2, plan.Top() + plan.Height() / 2);
        QVERIFY2(test::openRack(rack), qPrintable(rack));
        const QString name = QString(rack).remove(QLatin1Char('-'));
        const bool front = rack == racks[0] || rack == racks[2]; // the two rack fronts
        if (front)
            QVERIFY(test::grabImage(*form).save(folder + QStringLiteral("/rackview-shut-%1-%2.png").arg(name, size)));
        QVERIFY(test::openDoors());
        if (front)
            QVERIFY(test::grabImage(*form).save(folder + QStringLiteral("/rackview-open-%1-%2.png").arg(name, size)));
        const int cards = openFullestShelf();
        QCOMPARE(form->CardCount, cards);
        const PictureBox &box = *form->picShelfBig;
        scrollToShow(box.Left() + box.Width() / 2, box.Top() + box.Height() / 2);
        const QImage shot = test::grabImage(*form);
        QVERIFY(shot.save(folder + QStringLiteral("/shelfview-%1-%2.png").arg(name, size)));
        // The last card painted.
        const QPoint card = test::widgetRect(form->imgCard(form->CardCount)).center();
        QVERIFY(shot.pixelColor(form->picShelfBig->mapTo(form, card)) != test::qtColor(box.BackColor()));
        QVERIFY(test::clickFloor() && test::clickFloor());
        QVERIFY(!form->frameRackBig->Visible());
    }
}

void TestViewerRackView::matchesTheReferenceImage_data()
{
    QTest::addColumn<QString>("view");
    QTest::newRow("room plan") << "roomplan";
    QTest::newRow("shelf view of UC-01") << "shelfview-UC01";
}

// The sample exchange at 1024 x 768 as the references were drawn (offscreen
// platform, Liberation fonts): a few pixels a few levels off pass, a rack,
// card or name moved or missing does not. KVX_UPDATE_REFERENCES=1 writes
// new references.
void TestViewerRackView::matchesTheReferenceImage()
{
    QFETCH(QString, view);
    test::ProgramFixture program;
    frmSwitch *form = startSample(program);
    QVERIFY(form);
    QImage actual = test::grabImage(*form->PicSwitch);
    if (view != "roomplan") {
        const Image &rack = form->imgRack(test::rackIndex(QStringLiteral("UC-01")));
        scrollToShow(rack.Left() + rack.Width() / 2, rack.Top() + rack.Height() / 2);
        QVERIFY(test::openRack(QStringLiteral("UC-01")) && test::openDoors());
        QVERIFY(openFullestShelf() > 0);
        actual = test::grabImage(*form->picShelfBig);
    }
    const QString name = QStringLiteral("reference-%1-1024x768.png").arg(view);
    const QString reference = QStringLiteral(KVX_TEST_DATA_DIR "/") + name;
    if (qEnvironmentVariableIntValue("KVX_UPDATE_REFERENCES"))
        QVERIFY(actual.save(reference));
    const QImage expected = QImage(reference).convertToFormat(QImage::Format_RGB32);
    QVERIFY2(!expected.isNull(), qPrintable("no reference " + reference));
    const QString saved = test::screenshotFolder() + "/actual-" + name;
    const Difference d = actual.size() == expected.size() ? difference(actual, expected, 8) : Difference{-1, {}};
    if (d.count == 0)
        return;
    QVERIFY(actual.save(saved));
    const QString where = d.count < 0 ? QStringLiteral("the size is %1x%2, not %3x%4")
                                            .arg(actual.width()).arg(actual.height()).arg(expected.width()).arg(expected.height())
                                      : QStringLiteral("%1 pixels differ within %2x%3 at (%4, %5)")
                                            .arg(d.count).arg(d.box.width()).arg(d.box.height()).arg(d.box.x()).arg(d.box.y());
    QVERIFY2(d.count >= 0 && d.count <= 20, qPrintable(where + "; the image drawn is " + saved));
}

QTEST_MAIN(TestViewerRackView)
#include "test_viewer_rackview.moc"
