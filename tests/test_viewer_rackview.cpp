// The rack and shelf views, driven as a user drives them: clicks where a
// rack, door or shelf is seen, mouse buttons on the doors, the animation's
// ticks, Esc, "X" and clicks on the floor; then the views' controls and the
// selection are read.

#include "rackviewhelpers.h"

#include "art/art.h"

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

// Writes a shelf's list into the model, as the editor does (a view reads the
// model when it opens), with the end mark after it unless told otherwise.
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

// UC-03 opened, its doors too, and the shelf (0 to 4) clicked.
bool openShelf(int shelf)
{
    return test::openRack(QStringLiteral("UC-03")) && test::openDoors()
           && test::clickOn(frmSwitch::get().imgShelf(shelf));
}

template<typename C>
QRectF geometry(const C &control)
{
    return {control.Left(), control.Top(), control.Width(), control.Height()};
}

QString vertical(const QString &name)
{
    QString s;
    for (QChar c : name)
        s += QString(c) + QLatin1Char(' ');
    return s;
}

// The card copies are exactly those laid last.
bool cardsLaid(const frmSwitch &form, int count)
{
    return form.CardCount == count && form.imgCard.count() == count + 1 && form.lblCard.count() == count + 1;
}

const double DoorTop = 7350.0 / 7330 * 810;

} // namespace

Q_DECLARE_METATYPE(Card)

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
    void entriesItCannotDraw_data();
    void entriesItCannotDraw();
    void closesInOrder_data();
    void closesInOrder();
    void anotherShelfOrACloseWhileGrowing_data();
    void anotherShelfOrACloseWhileGrowing();
    void rebuildClosesTheViews_data();
    void rebuildClosesTheViews();
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
    QCOMPARE(ModMain.SelRackType.str(), rack.left(2));
    QCOMPARE(ModMain.SelRack, &form.lblRack(index));
    const QList<double> tops = ueUd ? QList<double>{1400, 2745, 3700, 5100, 6045}
                                    : QList<double>{1020, 2280, 3540, 4770, 6060};
    for (int k = 0; k < 5; ++k) {
        const Image &shelf = form.imgShelf(k);
        QCOMPARE(geometry(shelf), QRectF(0, tops[k], 4350, 945));
        QVERIFY(shelf.Picture() == Art::shelf());
        QCOMPARE(shelf.ToolTipText(), QStringLiteral("Shelf  %1").arg(k + 1));
        QCOMPARE(shelf.Visible(), shelves[k] == QLatin1Char('1'));
    }

    // The shelf's own event, as a click through an open door raises it (a
    // power rack's doors never open); the level shows once the cards are laid.
    form.imgShelf(3).Click();
    QCOMPARE(form.LblLevel->Caption(), QStringLiteral("*100*"));
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
                QTest::addRow("%s, %s door, %s button", rack, left ? "left" : "right",
                              button == Qt::LeftButton ? "left" : "right")
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
        QCOMPARE(program.hooks.messages[0].style, 16);
        QCOMPARE(program.hooks.messages[0].title, ProgramTitle);
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
    QVERIFY(form.TimShelfEnlarger->Enabled() && form.TimShelfEnlarger->Interval() == 10);

    const double left = box.Left();
    double step = 0;
    for (int tick = 1; tick <= 6; ++tick) {
        QVERIFY(cardsLaid(form, 0)); // the growing box carries no card
        form.TimShelfEnlarger->fireTick();
        step = tick == 1 ? left - box.Left() : step;
        const QRectF want(left - tick * step, top, 13150 * xf * tick / 6, 4050 * ModMain.YFactor * tick / 6);
        QCOMPARE(geometry(box), want);
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
    QTest::newRow("1024x768") << QSize(1024, 768);
    QTest::newRow("800x600") << QSize(800, 600);
    QTest::newRow("1920x1080") << QSize(1920, 1080);
}

void TestViewerRackView::cardsStandAtTheirSlots()
{
    QFETCH(QSize, screen);
    test::ProgramFixture program(screen.width(), screen.height());
    frmSwitch &form = start(program);
    const double xf = ModMain.XFactor;
    const double yf = ModMain.YFactor;
    const Cards cards{{Loose(0), "ACALA", Loose(2)},
                      {Loose(40), "ICID", Loose(13)},
                      {Loose(120), "RCHIS", Loose(9)},
                      {Loose(147), "RCID4", Loose(0)}};
    putCards(2, cards);
    QVERIFY(openShelf(1));
    test::growShelf();

    QVERIFY(cardsLaid(form, int(cards.size())));
    const QRect shelf(QPoint(0, 0), form.picShelfBig->size());
    for (int n = 1; n <= form.CardCount; ++n) {
        const Card &want = cards[n - 1];
        const int code = want.code.toInt();
        const Image &card = form.imgCard(n);
        const Label &name = form.lblCard(n);
        const Picture picture = Art::card(code);
        const double cardTop = (code == 13 ? 1560 : 360) * yf;
        QCOMPARE(geometry(card), QRectF(77 * (want.slot.number() + 5) * xf, cardTop,
                                        picture.naturalWidthTwips() * xf, picture.naturalHeightTwips() * yf));
        QVERIFY(card.Picture() == picture && card.Stretch() && card.Visible() && name.Visible());
        QCOMPARE(name.Caption(), vertical(want.name));
        const QString tip = want.name + QStringLiteral(" @  Slot Number ") + want.slot.str();
        QCOMPARE(card.ToolTipText(), tip);
        QCOMPARE(name.ToolTipText(), tip);
        if (code == 13) {
            QCOMPARE(name.Left(), card.Left() + 300 * xf);
            QCOMPARE(name.Top(), card.Top() + 50 * yf);
            QCOMPARE(name.fontDesc().name, QStringLiteral("Small Fonts"));
            QCOMPARE(name.FontSize(), 5.0);
        } else {
            QCOMPARE(name.Left(), card.Left() + 140 * xf);
            QCOMPARE(name.Top(), 1320 * yf);
            QCOMPARE(name.FontSize(), screen.width() < 1000 ? 6.0 : 8.25);
            // No wider than on the design screen: it wraps one character a line there too.
            QCOMPARE(name.Width(), std::min(140 * xf, 140.0));
        }
        // Every name on its card, every card on the shelf.
        QVERIFY(name.pixelRect().left() >= card.pixelRect().left());
        QVERIFY(name.pixelRect().right() <= card.pixelRect().right());
        QVERIFY(shelf.contains(card.pixelRect()));
    }
    QCOMPARE(form.lblShelfName->Caption(), QStringLiteral("UC-03/2"));
    QCOMPARE(form.LblLevel->Caption(), QStringLiteral("*85*"));
    QVERIFY(shelf.contains(form.cmdShelfEx->geometry()));
    // Off the design screen a copy of the shelf picture scaled by the factors lies under the cards.
    const bool design = screen == QSize(1024, 768);
    QCOMPARE(form.imgShelfBig.exists(1), !design);
    if (!design) {
        QVERIFY(form.imgShelfBig(1).Visible() && form.imgShelfBig(1).Picture() == Art::shelfBig());
        QCOMPARE(geometry(form.imgShelfBig(1)), QRectF(0, 0, 13110 * xf, 3975 * yf));
    }
}

void TestViewerRackView::entriesItCannotDraw_data()
{
    QTest::addColumn<Card>("second");
    QTest::addColumn<int>("cards");
    QTest::addColumn<int>("code"); // the second card's picture, -1 the blank card
    QTest::newRow("code 14") << Card{Loose(20), "B2", Loose(14)} << 3 << -1;
    QTest::newRow("code 2.5") << Card{Loose(20), "B2", Loose(2.5)} << 3 << -1;
    QTest::newRow("code X") << Card{Loose(20), "B2", Loose("X")} << 3 << -1;
    QTest::newRow("texts reading as numbers") << Card{Loose("12"), "B2", Loose("7")} << 3 << 7;
    QTest::newRow("slot text abc ends the list") << Card{Loose("abc"), "B2", Loose(4)} << 1 << 0;
    QTest::newRow("negative slot ends the list") << Card{Loose(-3), "B2", Loose(4)} << 1 << 0;
}

void TestViewerRackView::entriesItCannotDraw()
{
    QFETCH(Card, second);
    QFETCH(int, cards);
    QFETCH(int, code);
    test::ProgramFixture program;
    frmSwitch &form = start(program);
    // The card after the end mark is never shown.
    putCards(3, {{Loose(10), "A1", Loose(0)}, second, {Loose(30), "C3", Loose(3)}, {Loose(-1), "", Loose()},
                 {Loose(50), "D5", Loose(5)}}, false);
    QVERIFY(openShelf(2));
    test::growShelf();

    QVERIFY(cardsLaid(form, cards));
    if (cards == 1)
        return;
    const Image &card = form.imgCard(2);
    QCOMPARE(form.lblCard(2).Caption(), QStringLiteral("B 2 "));
    QCOMPARE(card.Left(), 77 * (second.slot.number() + 5));
    QVERIFY(form.imgCard(3).Picture() == Art::card(3));
    if (code >= 0) {
        QVERIFY(card.Picture() == Art::card(code));
        return;
    }
    // A plain card of code 0's size, none of the fourteen.
    for (int c = 0; c < Art::CardCodes; ++c)
        QVERIFY(!(card.Picture() == Art::card(c)));
    QVERIFY(!card.Picture().isNull() && card.Visible());
    QCOMPARE(QSizeF(card.Width(), card.Height()), QSizeF(315, 3165));
}

void TestViewerRackView::closesInOrder_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("clicks on the floor") << "floor";
    QTest::newRow("Esc") << "esc";
    QTest::newRow("X, then a click on the floor") << "x";
    QTest::newRow("another key, then Esc") << "key";
}

void TestViewerRackView::closesInOrder()
{
    QFETCH(QString, how);
    test::ProgramFixture program;
    frmSwitch &form = start(program);
    QVERIFY(openShelf(4));
    test::growShelf();
    QCOMPARE(form.focusWidget(), static_cast<QWidget *>(form.picShelfBig));

    // The shelf view closes first, its cards with it; the rack view stays.
    if (how == QLatin1String("floor"))
        QVERIFY(test::clickFloor());
    else if (how == QLatin1String("x"))
        QTest::mouseClick(form.cmdShelfEx, Qt::LeftButton);
    else
        test::pressKey(how == QLatin1String("esc") ? Qt::Key_Escape : Qt::Key_A);
    const bool shelfOpen = how == QLatin1String("key");
    QCOMPARE(form.picShelfBig->Visible(), shelfOpen);
    QVERIFY(cardsLaid(form, shelfOpen ? 3 : 0));
    QVERIFY(form.frameRackBig->Visible() && form.frameLOpen->Visible() && form.FrameROpen->Visible());
    if (how != QLatin1String("x"))
        QCOMPARE(form.focusWidget(), static_cast<QWidget *>(form.PicRoom));

    // Then the rack view; a click on the floor shuts its doors, Esc leaves them.
    const bool byKey = how == QLatin1String("esc") || how == QLatin1String("key");
    if (byKey)
        test::pressKey(Qt::Key_Escape);
    else
        QVERIFY(test::clickFloor());
    QVERIFY(!form.frameRackBig->Visible() && !form.frameLOpen->Visible() && !form.FrameROpen->Visible());
    QCOMPARE(form.ImgD_C_L->Visible(), !byKey);
    QCOMPARE(form.picShelfBig->Visible(), shelfOpen);
}

void TestViewerRackView::anotherShelfOrACloseWhileGrowing_data()
{
    QTest::addColumn<QSize>("screen");
    QTest::addColumn<bool>("byKey");
    QTest::newRow("1024x768, Esc") << QSize(1024, 768) << true;
    QTest::newRow("800x600, click on the floor") << QSize(800, 600) << false;
}

void TestViewerRackView::anotherShelfOrACloseWhileGrowing()
{
    QFETCH(QSize, screen);
    QFETCH(bool, byKey);
    test::ProgramFixture program(screen.width(), screen.height());
    frmSwitch &form = start(program);
    const int controls = form.picShelfBig->itemCount();
    QVERIFY(openShelf(4));
    test::growShelf();
    // Another shelf (the top one shows above the box) replaces the view: the cards go at once.
    QVERIFY(test::clickOn(form.imgShelf(0)));
    QVERIFY(cardsLaid(form, 0));
    QCOMPARE(form.picShelfBig->Top(), form.frameRackBig->Top() + form.imgShelf(0).Top());
    QCOMPARE(form.lblShelfName->Caption(), QString());

    // Closed while it grows: the animation stops, a tick already due lays nothing.
    test::growShelf(3);
    if (byKey)
        test::pressKey(Qt::Key_Escape);
    else
        QVERIFY(test::clickFloor());
    QVERIFY(!form.picShelfBig->Visible() && !form.TimShelfEnlarger->Enabled());
    test::growShelf(3);
    QVERIFY(cardsLaid(form, 0));
    QVERIFY(!form.imgShelfBig.exists(1));
    // The next opening lays its cards once, and nothing of the earlier ones is left.
    QVERIFY(test::clickOn(form.imgShelf(0)));
    test::growShelf();
    QVERIFY(cardsLaid(form, CardsPerShelf));
    QCOMPARE(form.picShelfBig->itemCount(), controls + 2 * CardsPerShelf + (form.imgShelfBig.exists(1) ? 1 : 0));
    QCOMPARE(form.lblShelfName->Caption(), QStringLiteral("UC-03/1"));
}

void TestViewerRackView::rebuildClosesTheViews_data()
{
    QTest::addColumn<int>("ticks");
    QTest::newRow("cards shown") << 6;
    QTest::newRow("box growing") << 2;
}

void TestViewerRackView::rebuildClosesTheViews()
{
    QFETCH(int, ticks);
    test::ProgramFixture program(800, 600);
    frmSwitch &form = start(program);
    QVERIFY(openShelf(4));
    test::growShelf(ticks);
    form.mnuRefresh->trigger();
    QVERIFY(!form.picShelfBig->Visible() && !form.TimShelfEnlarger->Enabled());
    QVERIFY(!form.frameRackBig->Visible() && !form.frameLOpen->Visible() && !form.FrameROpen->Visible());
    QVERIFY(cardsLaid(form, 0));
    QVERIFY(!form.imgShelfBig.exists(1));
    QCOMPARE(ModMain.SelRack, nullptr);
    // The new plan's racks open as before; the reloaded file's shelves hold no card.
    QVERIFY(openShelf(4));
    test::growShelf();
    QVERIFY(cardsLaid(form, 0));
    QCOMPARE(form.lblShelfName->Caption(), QStringLiteral("UC-03/5"));
}

QTEST_MAIN(TestViewerRackView)
#include "test_viewer_rackview.moc"
