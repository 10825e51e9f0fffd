// The card rows of the editor's "Small Change" tab, driven as a person
// drives them: clicks and double-clicks on the row boxes, typing, the arrow
// keys and the Add, Insert and Delete buttons; then the rows, the model and
// the saved file are read.

#include "editorhelpers.h"

#include "art/art.h"
#include "platform/commandbutton.h"
#include "platform/image.h"
#include "platform/menu.h"
#include "platform/picturebox.h"
#include "platform/scrollbar.h"

#include <QClipboard>

using namespace kvx;

namespace {

constexpr quint32 Highlight = 0x87F411;

// The rows as "slot:name:type", row 1 first.
QStringList rows(frmAlter *f)
{
    QStringList out;
    for (int n = 1; n <= f->cardRows(); ++n)
        out << f->txtSlot(n).Text() + ':' + f->txtCard(n).Text() + ':' + f->txtType(n).Text();
    return out;
}

const Loose &slot(int s, int p, int shelf, int n)
{
    return ModMain.SlotNo(s, p, shelf, n);
}

bool hasFocus(QWidget *widget)
{
    return QApplication::focusWidget() == widget;
}

bool rowLocked(frmAlter *f, int n)
{
    return f->txtSlot(n).Locked() && f->txtCard(n).Locked() && f->txtType(n).Locked();
}

// Saves to the loaded file and reads shelf 1 of rack 1,1 back.
QString savedShelf(test::EditorSession &session, frmAlter *f, int shelf = 1, int s = 1, int p = 1)
{
    f->MnuSav->trigger();
    const auto x = test::readBack(session.dataFile);
    return x ? test::shelfOf(*x, s, p, shelf) : QStringLiteral("(unreadable)");
}

const QStringList FiveRows = {"5:C1:0", "9:C2:1", "13:C3:2", "17:C4:3", "21:C5:4"};

} // namespace

class TestEditorCards : public QObject
{
    Q_OBJECT

private slots:
    void rowsOfTheFirstShelf();
    void insertAtRow2();
    void insertWithNoCurrentRow();
    void deleteAtRow2();
    void deleteTheLastRowTwice();
    void deleteWithNoCurrentRow();
    void addFillsANewRow();
    void addLeavesNoGhostBehind();
    void thirtyFiveRowsAtMost_data();
    void thirtyFiveRowsAtMost();
    void commitOnFocusChange();
    void commitChecksTheRow_data();
    void commitChecksTheRow();
    void lockedRowsRefuseTyping();
    void refusedCharacters();
    void arrowKeys();
    void detailsPanel_data();
    void detailsPanel();
    void scrolling();
    void saveCommitsTheOpenRow();
};

void TestEditorCards::rowsOfTheFirstShelf()
{
    test::EditorSession session;
    QVERIFY(session.load(test::testRoom()));
    frmAlter *f = session.open();
    QVERIFY(f);
    QCOMPARE(rows(f), FiveRows);
    QCOMPARE(f->curRow(), 0);
    for (int n = 1; n <= 5; ++n) {
        QVERIFY(rowLocked(f, n));
        QCOMPARE(f->txtCard(n).BackColor(), ColorWhite);
        QCOMPARE(f->txtSlot(n).Top(), 325.0 * n - 285);
    }
    QCOMPARE(f->frameHolder->Height(), 6 * 325.0);
    // An empty shelf has no rows and takes no focus.
    test::clickOption(&f->optStation(3));
    QCOMPARE(f->cardRows(), 0);
    QVERIFY(!f->txtSlot.exists(1));
    QVERIFY(hasFocus(&f->optStation(3)));
}

void TestEditorCards::insertAtRow2()
{
    test::EditorSession session;
    QVERIFY(session.load(test::testRoom()));
    frmAlter *f = session.open();
    QVERIFY(f);
    test::click(&f->txtSlot(2));
    QCOMPARE(f->curRow(), 2);
    QCOMPARE(f->txtSlot(2).BackColor(), Highlight);
    test::click(f->cmdInsert);

    QCOMPARE(rows(f), QStringList({"5:C1:0", "::", "9:C2:1", "13:C3:2", "17:C4:3", "21:C5:4"}));
    QVERIFY(hasFocus(&f->txtSlot(2)));
    QCOMPARE(f->curRow(), 2);
    QCOMPARE(f->lblSpy->Caption(), QString("2"));
    // The new row is empty in the model too, and the list ends right behind it.
    QVERIFY(slot(1, 1, 1, 2).isEmpty());
    QVERIFY(ModMain.CardName(1, 1, 1, 2).isEmpty());
    QCOMPARE(slot(1, 1, 1, 3), 9);
    QCOMPARE(slot(1, 1, 1, 7), -1);
    // Never filled, it is not saved, and the card that moved down is there once.
    QCOMPARE(savedShelf(session, f), QString("5:C1 9:C2 13:C3 17:C4 21:C5"));
}

void TestEditorCards::insertWithNoCurrentRow()
{
    test::EditorSession session;
    QVERIFY(session.load(test::testRoom()));
    frmAlter *f = session.open();
    QVERIFY(f);
    test::click(f->cmdInsert);

    QCOMPARE(rows(f), QStringList({"::", "5:C1:0", "9:C2:1", "13:C3:2", "17:C4:3", "21:C5:4"}));
    QVERIFY(slot(1, 1, 1, 1).isEmpty());
    QCOMPARE(slot(1, 1, 1, 2), 5);
    QCOMPARE(slot(1, 1, 1, 7), -1);
    // No row receives the focus; the panel shows the empty row 0.
    QVERIFY(hasFocus(f->cmdInsert));
    QCOMPARE(f->curRow(), 0);
    QCOMPARE(f->lblSpy->Caption(), QString("0"));
    QCOMPARE(f->lblDetCard->Caption(), QString());
    QCOMPARE(f->lblDetslot->Caption(), QString());
    QVERIFY(f->imgmodel->Picture() == Art::card(0));
    QCOMPARE(f->txtSlot(0).BackColor(), ColorWhite);
}

void TestEditorCards::deleteAtRow2()
{
    test::EditorSession session;
    QVERIFY(session.load(test::testRoom()));
    frmAlter *f = session.open();
    QVERIFY(f);
    test::click(&f->txtCard(2));
    test::click(f->cmdDelete);

    QCOMPARE(rows(f), QStringList({"5:C1:0", "13:C3:2", "17:C4:3", "21:C5:4"}));
    QVERIFY(!f->txtSlot.exists(5));
    QCOMPARE(f->frameHolder->Height(), 5 * 325.0);
    QCOMPARE(slot(1, 1, 1, 2), 13);
    QCOMPARE(slot(1, 1, 1, 5), -1);
    QCOMPARE(savedShelf(session, f), QString("5:C1 13:C3 17:C4 21:C5"));
}

void TestEditorCards::deleteTheLastRowTwice()
{
    test::EditorSession session;
    QVERIFY(session.load(test::testRoom()));
    frmAlter *f = session.open();
    QVERIFY(f);
    test::click(&f->txtType(5));
    test::click(f->cmdDelete);
    QCOMPARE(rows(f), FiveRows.mid(0, 4));
    QCOMPARE(slot(1, 1, 1, 4), 17);
    QCOMPARE(slot(1, 1, 1, 5), -1);
    // The current row now points past the end: the next Delete takes the new last row.
    QCOMPARE(f->curRow(), 5);
    test::click(f->cmdDelete);
    QCOMPARE(rows(f), FiveRows.mid(0, 3));
    QCOMPARE(slot(1, 1, 1, 4), -1);
    QCOMPARE(savedShelf(session, f), QString("5:C1 9:C2 13:C3"));
}

void TestEditorCards::deleteWithNoCurrentRow()
{
    test::EditorSession session;
    QVERIFY(session.load(test::testRoom()));
    frmAlter *f = session.open();
    QVERIFY(f);
    test::click(f->cmdDelete);
    QCOMPARE(rows(f), FiveRows.mid(1));
    QCOMPARE(f->txtSlot(0).Text(), QString()); // the template row is untouched
    // An empty shelf ignores Delete.
    test::clickOption(&f->optStation(3));
    test::click(f->cmdDelete);
    QCOMPARE(f->cardRows(), 0);
    QCOMPARE(slot(1, 1, 4, 1), -1);
}

void TestEditorCards::addFillsANewRow()
{
    test::EditorSession session;
    QVERIFY(session.load(test::testRoom()));
    frmAlter *f = session.open();
    QVERIFY(f);
    test::click(f->cmdAdd);
    QCOMPARE(f->cardRows(), 6);
    QCOMPARE(rows(f).last(), QString("::"));
    QCOMPARE(f->txtSlot(6).BackColor(), Highlight);
    QVERIFY(rowLocked(f, 6));
    QVERIFY(slot(1, 1, 1, 6).isEmpty());
    QCOMPARE(slot(1, 1, 1, 7), -1);

    // Double-click to open the row, fill its three boxes, leave it.
    test::doubleClick(&f->txtSlot(6));
    QVERIFY(!rowLocked(f, 6) && !f->txtType(6).Locked());
    test::typeOver(&f->txtSlot(6), "30");
    test::click(&f->txtCard(6));
    test::typeOver(&f->txtCard(6), "NEW");
    test::click(&f->txtType(6));
    test::typeOver(&f->txtType(6), "7");
    QVERIFY(slot(1, 1, 1, 6).isEmpty()); // nothing stored while the row is open
    test::click(&f->txtCard(1));
    QVERIFY(rowLocked(f, 6));
    QCOMPARE(slot(1, 1, 1, 6), 30);
    QCOMPARE(ModMain.CardName(1, 1, 1, 6).str(), QString("NEW"));
    QCOMPARE(ModMain.CardType(1, 1, 1, 6), 7);
    QCOMPARE(savedShelf(session, f), QString("5:C1 9:C2 13:C3 17:C4 21:C5 30:NEW"));
}

void TestEditorCards::addLeavesNoGhostBehind()
{
    test::EditorSession session;
    QVERIFY(session.load(test::testRoom()));
    // A card left behind the end marker, as an earlier rack at this place could leave it.
    ModMain.SlotNo.set(Loose(60), 1, 1, 1, 7);
    ModMain.CardName.set(Loose("GHOST"), 1, 1, 1, 7);
    ModMain.CardType.set(Loose(1), 1, 1, 1, 7);
    frmAlter *f = session.open();
    QVERIFY(f);
    test::click(f->cmdAdd);
    test::doubleClick(&f->txtSlot(6));
    test::typeOver(&f->txtSlot(6), "30");
    test::click(&f->txtType(6));
    test::typeOver(&f->txtType(6), "2");
    test::click(&f->txtCard(2));
    QCOMPARE(slot(1, 1, 1, 7), -1);
    QCOMPARE(savedShelf(session, f), QString("5:C1 9:C2 13:C3 17:C4 21:C5 30:"));
}

void TestEditorCards::thirtyFiveRowsAtMost_data()
{
    QTest::addColumn<QString>("button");
    QTest::newRow("Add") << "Add";
    QTest::newRow("Insert") << "Insert";
}

void TestEditorCards::thirtyFiveRowsAtMost()
{
    QFETCH(QString, button);
    test::EditorSession session;
    QVERIFY(session.load(test::testRoom()));
    frmAlter *f = session.open();
    QVERIFY(f);
    CommandButton *press = button == "Add" ? f->cmdAdd : f->cmdInsert;
    test::chooseRack(f->lstRackName, 1); // UD-02, 34 cards on shelf 5
    test::clickOption(&f->optStation(4));
    QCOMPARE(f->cardRows(), 34);
    test::click(&f->txtSlot(34));
    test::click(press);
    QCOMPARE(f->cardRows(), 35);
    QCOMPARE(session.hooks.messages.size(), 0);
    // A full shelf has no end marker: the 35th entry is the last card or the new one.
    QVERIFY(slot(1, 3, 5, 35) != -1);
    const QStringList full = rows(f);

    test::click(press);
    QCOMPARE(session.hooks.messages.size(), 1);
    QCOMPARE(session.hooks.messages[0].text, QString("At present it is not possible to equip more than 35 Cards"));
    QCOMPARE(session.hooks.messages[0].title, QString("Configuration Error"));
    QCOMPARE(session.hooks.messages[0].style, int(vbInformation));
    QCOMPARE(rows(f), full);
    QVERIFY(!f->txtSlot.exists(36));
}

void TestEditorCards::commitOnFocusChange()
{
    test::EditorSession session;
    QVERIFY(session.load(test::testRoom()));
    frmAlter *f = session.open();
    QVERIFY(f);
    test::doubleClick(&f->txtSlot(1));
    QVERIFY(!rowLocked(f, 1));
    test::typeOver(&f->txtSlot(1), "17");
    test::click(&f->txtCard(3));
    QCOMPARE(slot(1, 1, 1, 1), 17);
    QVERIFY(slot(1, 1, 1, 1).isText()); // stored as typed
    QVERIFY(rowLocked(f, 1));
    QCOMPARE(f->curRow(), 3);
    // Unchanged boxes keep their values as they were.
    QVERIFY(ModMain.CardType(1, 1, 1, 1).isNumber());
    QCOMPARE(session.hooks.messages.size(), 0);
    // Leaving a locked row neither unlocks nor stores it.
    test::click(&f->txtCard(4));
    QVERIFY(rowLocked(f, 3));
}

void TestEditorCards::commitChecksTheRow_data()
{
    QTest::addColumn<int>("column"); // 0 slot, 1 card name, 2 image type
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("message"); // empty: stored
    const QString slotWrong = QStringLiteral("The slot number of row 2 must be a number, 0 or more.");
    const QString typeWrong = QStringLiteral("The image type of row 2 must be a whole number from 0 to 13.");
    QTest::newRow("slot 40") << 0 << "40" << "";
    QTest::newRow("slot 0") << 0 << "0" << "";
    QTest::newRow("slot empty") << 0 << "" << slotWrong;
    QTest::newRow("slot not a number") << 0 << "4a" << slotWrong;
    QTest::newRow("slot -1") << 0 << "-1" << slotWrong;
    QTest::newRow("name") << 1 << "RCID4" << "";
    QTest::newRow("name empty") << 1 << "" << "";
    QTest::newRow("type 13") << 2 << "13" << "";
    QTest::newRow("type 14") << 2 << "14" << typeWrong;
    QTest::newRow("type 2.5") << 2 << "2.5" << typeWrong;
    QTest::newRow("type empty") << 2 << "" << typeWrong;
    QTest::newRow("type not a number") << 2 << "x" << typeWrong;
}

void TestEditorCards::commitChecksTheRow()
{
    QFETCH(int, column);
    QFETCH(QString, typed);
    QFETCH(QString, message);
    test::EditorSession session;
    QVERIFY(session.load(test::testRoom()));
    frmAlter *f = session.open();
    QVERIFY(f);
    TextBox *box = column == 0 ? &f->txtSlot(2) : column == 1 ? &f->txtCard(2) : &f->txtType(2);
    LooseTable *table = column == 0 ? &ModMain.SlotNo : column == 1 ? &ModMain.CardName : &ModMain.CardType;
    const QString before = (*table)(1, 1, 1, 2).str();
    test::doubleClick(box);
    test::typeOver(box, typed);
    test::click(&f->txtSlot(4));
    QVERIFY(rowLocked(f, 2));
    if (message.isEmpty()) {
        QCOMPARE(session.hooks.messages.size(), 0);
        QCOMPARE((*table)(1, 1, 1, 2).str(), typed);
        QCOMPARE(box->Text(), typed);
        return;
    }
    QCOMPARE(session.hooks.messages.size(), 1);
    QCOMPARE(session.hooks.messages[0].text, message);
    QCOMPARE(session.hooks.messages[0].style, int(vbInformation));
    // The model keeps the row as it was, and the boxes show it again.
    QCOMPARE((*table)(1, 1, 1, 2).str(), before);
    QCOMPARE(rows(f), FiveRows);
}

void TestEditorCards::lockedRowsRefuseTyping()
{
    test::EditorSession session;
    QVERIFY(session.load(test::testRoom()));
    frmAlter *f = session.open();
    QVERIFY(f);
    test::click(&f->txtCard(1));
    QTest::keyClicks(&f->txtCard(1), "XYZ");
    test::click(&f->txtCard(2));
    QCOMPARE(f->txtCard(1).Text(), QString("C1"));
    QCOMPARE(ModMain.CardName(1, 1, 1, 1).str(), QString("C1"));
    // A second double-click on the open row stores it and locks it.
    test::doubleClick(&f->txtCard(2));
    test::typeOver(&f->txtCard(2), "C2B");
    test::doubleClick(&f->txtCard(2));
    QVERIFY(rowLocked(f, 2));
    QCOMPARE(ModMain.CardName(1, 1, 1, 2).str(), QString("C2B"));
}

void TestEditorCards::refusedCharacters()
{
    test::EditorSession session;
    QVERIFY(session.load(test::testRoom()));
    frmAlter *f = session.open();
    QVERIFY(f);
    test::doubleClick(&f->txtCard(1));
    test::typeOver(&f->txtCard(1), "A,B");
    QCOMPARE(f->txtCard(1).Text(), QString("AB"));
    QApplication::clipboard()->setText(QStringLiteral("X\r\nY,Z"));
    QTest::keyClick(&f->txtCard(1), Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(f->txtCard(1).Text(), QString("ABXYZ"));
    test::click(&f->txtCard(2));
    QCOMPARE(ModMain.CardName(1, 1, 1, 1).str(), QString("ABXYZ"));
}

void TestEditorCards::arrowKeys()
{
    test::EditorSession session;
    QVERIFY(session.load(test::testRoom()));
    frmAlter *f = session.open();
    QVERIFY(f);
    test::click(&f->txtCard(1));
    QTest::keyClick(&f->txtCard(1), Qt::Key_Up);
    QVERIFY(hasFocus(&f->txtCard(1)));
    QCOMPARE(f->curRow(), 1);
    QTest::keyClick(&f->txtCard(1), Qt::Key_Down);
    QVERIFY(hasFocus(&f->txtCard(2)));
    QCOMPARE(f->curRow(), 2);
    QCOMPARE(f->txtCard(1).BackColor(), ColorWhite);
    QCOMPARE(f->txtCard(2).BackColor(), Highlight);
    QCOMPARE(f->lblSpy->Caption(), QString("2"));
    // The same column moves; at the last row Down stays.
    test::click(&f->txtType(4));
    QTest::keyClick(&f->txtType(4), Qt::Key_Down);
    QVERIFY(hasFocus(&f->txtType(5)));
    QTest::keyClick(&f->txtType(5), Qt::Key_Down);
    QVERIFY(hasFocus(&f->txtType(5)));
    QCOMPARE(f->curRow(), 5);
    QTest::keyClick(&f->txtType(5), Qt::Key_Up);
    QVERIFY(hasFocus(&f->txtType(4)));
    // Leaving an open row with the arrow keys stores it.
    test::doubleClick(&f->txtSlot(4));
    test::typeOver(&f->txtSlot(4), "18");
    QTest::keyClick(&f->txtSlot(4), Qt::Key_Down);
    QCOMPARE(slot(1, 1, 1, 4), 18);
    QVERIFY(rowLocked(f, 4));
}

void TestEditorCards::detailsPanel_data()
{
    QTest::addColumn<QString>("type");
    QTest::addColumn<int>("picture"); // -1: none
    QTest::newRow("type 5") << "5" << 5;
    QTest::newRow("type 13") << "13" << 13;
    QTest::newRow("empty type") << "" << 0;
    QTest::newRow("type 14 names no picture") << "14" << -1;
    QTest::newRow("not a number") << "A" << -1;
}

void TestEditorCards::detailsPanel()
{
    QFETCH(QString, type);
    QFETCH(int, picture);
    test::EditorSession session;
    QVERIFY(session.load(test::testRoom()));
    frmAlter *f = session.open();
    QVERIFY(f);
    test::clickOption(&f->optStation(2)); // shelf 3 of UC-01: SMA
    test::doubleClick(&f->txtType(2));
    test::typeOver(&f->txtType(2), type);
    // Moving within the open row shows the row as typed.
    test::click(&f->txtSlot(2));
    QCOMPARE(f->lblDetType->Caption(), type);
    QCOMPARE(f->lblDetCard->Caption(), QString("E2"));
    QCOMPARE(f->lblDetslot->Caption(), QString("3"));
    QCOMPARE(f->lbldetrack->Caption(), QString("UC-01"));
    QCOMPARE(f->lbldetshelf->Caption(), QString("SMA"));
    QCOMPARE(f->lbldetrow->Caption(), QString("1"));
    QCOMPARE(f->lbldetcol->Caption(), QString("1"));
    QVERIFY(f->imgmodel->Picture() == (picture < 0 ? Picture() : Art::card(picture)));
}

void TestEditorCards::scrolling()
{
    test::EditorSession session;
    QVERIFY(session.load(test::testRoom()));
    frmAlter *f = session.open();
    QVERIFY(f);
    test::chooseRack(f->lstRackName, 3); // the second UC-01: 35 cards on shelf 5
    test::clickOption(&f->optStation(4));
    QCOMPARE(f->cardRows(), 35);
    QCOMPARE(f->VScroll->Max(), (36 * 325 - 3375) * 10 / 3375);
    QCOMPARE(f->frameHolder->Top(), 0.0);
    // Down from row 10 to 35 keeps the current row inside the visible area.
    const auto inView = [f](int n) {
        const double middle = f->txtCard(n).Top() + f->txtCard(n).Height() / 2 + f->frameHolder->Top();
        return middle > 0 && middle < f->pic->Height();
    };
    test::click(&f->txtCard(10));
    for (int n = 10; n < 35; ++n) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
        QVERIFY2(inView(n + 1), qPrintable(QString::number(n + 1)));
    }
    QCOMPARE(f->curRow(), 35);
    QVERIFY(f->VScroll->Value() > 0);
    QVERIFY(!inView(1));

    // A short list after a scrolled long one starts at its first row.
    test::clickOption(&f->optStation(0));
    QCOMPARE(f->cardRows(), 1);
    QCOMPARE(f->VScroll->Max(), 0);
    QCOMPARE(f->VScroll->Value(), 0);
    QCOMPARE(f->frameHolder->Top(), 0.0);
    // With nothing to scroll, marking rows and adding them keeps the first row in view.
    for (int n = 0; n < 9; ++n)
        test::click(f->cmdAdd);
    QCOMPARE(f->cardRows(), 10);
    QCOMPARE(f->VScroll->Max(), 0);
    QCOMPARE(f->frameHolder->Top(), 0.0);
    // Rows added beyond the visible area are scrolled into view.
    for (int n = 0; n < 5; ++n) {
        test::click(f->cmdAdd);
        QVERIFY(inView(f->cardRows()));
    }
    QVERIFY(f->VScroll->Max() > 0);
    QVERIFY(f->frameHolder->Top() < 0);
}

void TestEditorCards::saveCommitsTheOpenRow()
{
    test::EditorSession session;
    QVERIFY(session.load(test::testRoom()));
    frmAlter *f = session.open();
    QVERIFY(f);
    test::doubleClick(&f->txtCard(3));
    test::typeOver(&f->txtCard(3), "C3X");
    QCOMPARE(savedShelf(session, f), QString("5:C1 9:C2 13:C3X 17:C4 21:C5"));
    QVERIFY(rowLocked(f, 3));
    // An open row that cannot be stored stops the save, with its message.
    const QByteArray saved = test::fileBytes(session.dataFile);
    test::doubleClick(&f->txtType(3));
    test::typeOver(&f->txtType(3), "99");
    f->MnuSav->trigger();
    QCOMPARE(session.hooks.messages.size(), 1);
    QCOMPARE(test::fileBytes(session.dataFile), saved);
}

QTEST_MAIN(TestEditorCards)
#include "test_editor_cards.moc"
