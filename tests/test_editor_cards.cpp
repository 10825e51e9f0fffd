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
#include <QMessageBox>
#include <QTimer>
#include <QRegularExpression>

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
    void rowOperations_data();
    void rowOperations();
    void addedRowFilledLeavesNoGhost();
    void thirtyFiveRowsAtMost_data();
    void thirtyFiveRowsAtMost();
    void commitChecksTheRow_data();
    void commitChecksTheRow();
    void typingRules();
    void arrowKeys();
    void detailsPanel_data();
    void detailsPanel();
    void scrolling();
    void saveCommitsTheOpenRow();
};

void TestEditorCards::rowOperations_data()
{
    QTest::addColumn<int>("current"); // the row clicked first; 0: none
    QTest::addColumn<QStringList>("presses");
    QTest::addColumn<QStringList>("after");
    QTest::addColumn<int>("focused"); // the row whose slot box has the focus after; 0: none
    QTest::addColumn<int>("marker");  // where the list ends with -1
    QTest::newRow("Insert at row 2 of 5") << 2 << QStringList({"Insert"})
                                          << QStringList({"5:C1:0", "::", "9:C2:1", "13:C3:2", "17:C4:3", "21:C5:4"}) << 2 << 7;
    QTest::newRow("Insert with no current row") << 0 << QStringList({"Insert"}) << QStringList({"::"}) + FiveRows << 0 << 7;
    QTest::newRow("Add") << 3 << QStringList({"Add"}) << FiveRows + QStringList({"::"}) << 0 << 7;
    QTest::newRow("Delete at row 2 of 5") << 2 << QStringList({"Delete"})
                                          << QStringList({"5:C1:0", "13:C3:2", "17:C4:3", "21:C5:4"}) << 0 << 5;
    QTest::newRow("Delete the last row") << 5 << QStringList({"Delete"}) << FiveRows.mid(0, 4) << 0 << 5;
    // The current row then points past the end: Delete takes the new last row.
    QTest::newRow("Delete the last row twice") << 5 << QStringList({"Delete", "Delete"}) << FiveRows.mid(0, 3) << 0 << 4;
    QTest::newRow("Delete the last row twice, then Insert") << 5 << QStringList({"Delete", "Delete", "Insert"})
                                                            << FiveRows.mid(0, 3) + QStringList({"::"}) << 4 << 5;
    QTest::newRow("Delete with no current row") << 0 << QStringList({"Delete"}) << FiveRows.mid(1) << 0 << 5;
}

void TestEditorCards::rowOperations()
{
    QFETCH(int, current);
    QFETCH(QStringList, presses);
    QFETCH(QStringList, after);
    QFETCH(int, focused);
    QFETCH(int, marker);
    test::EditorSession session;
    QVERIFY(session.load(test::testRoom()));
    frmAlter *f = session.open();
    QVERIFY(f);
    if (current) {
        test::click(&f->txtCard(current));
        QCOMPARE(f->curRow(), current);
        QCOMPARE(f->txtSlot(current).BackColor(), Highlight);
    }
    for (const QString &press : presses)
        test::click(press == "Add" ? f->cmdAdd : press == "Insert" ? f->cmdInsert : f->cmdDelete);

    QCOMPARE(session.hooks.messages.size(), 0);
    QCOMPARE(rows(f), after);
    QVERIFY(!f->txtSlot.exists(after.size() + 1));
    QCOMPARE(f->frameHolder->Height(), (after.size() + 1) * 325.0);
    // The model holds what the rows show, an empty row as empty entries, and
    // the list ends right behind the last row.
    QStringList model;
    for (int n = 1; n <= after.size(); ++n) {
        model << slot(1, 1, 1, n).str() + ':' + ModMain.CardName(1, 1, 1, n).str() + ':' +
                     ModMain.CardType(1, 1, 1, n).str();
    }
    QCOMPARE(model, after);
    QCOMPARE(slot(1, 1, 1, marker), -1);
    QCOMPARE(f->txtSlot(0).Text(), QString()); // the template row is untouched
    QCOMPARE(f->txtSlot(0).BackColor(), ColorWhite);
    if (focused) {
        QVERIFY(hasFocus(&f->txtSlot(focused)));
        QCOMPARE(f->lblSpy->Caption(), QString::number(focused));
    } else {
        QVERIFY(!hasFocus(&f->txtSlot(1)) && !hasFocus(&f->txtCard(1)));
    }
    if (presses == QStringList({"Insert"}) && current == 0) {
        // The panel shows the empty row 0.
        QCOMPARE(f->lblSpy->Caption(), QString("0"));
        QCOMPARE(f->lblDetCard->Caption(), QString());
        QVERIFY(f->imgmodel->Picture() == Art::card(0));
    }
    // Rows never filled are not saved; no card is lost or doubled.
    QStringList cards = after.filter(QRegularExpression("^\\d"));
    cards.replaceInStrings(QRegularExpression(":\\d+$"), QString());
    QCOMPARE(savedShelf(session, f), cards.join(' '));
}

void TestEditorCards::addedRowFilledLeavesNoGhost()
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
    QVERIFY(rowLocked(f, 6));
    // Double-click to open the row, fill its three boxes, leave it.
    test::doubleClick(&f->txtSlot(6));
    QVERIFY(!rowLocked(f, 6));
    test::typeOver(&f->txtSlot(6), "30");
    test::click(&f->txtCard(6));
    test::typeOver(&f->txtCard(6), "NEW");
    test::click(&f->txtType(6));
    test::typeOver(&f->txtType(6), "7");
    QVERIFY(slot(1, 1, 1, 6).isEmpty()); // nothing stored while the row is open
    test::click(&f->txtCard(1));
    QVERIFY(rowLocked(f, 6));
    QCOMPARE(slot(1, 1, 1, 6), 30);
    QCOMPARE(ModMain.CardType(1, 1, 1, 6), 7);
    QCOMPARE(slot(1, 1, 1, 7), -1);
    QCOMPARE(savedShelf(session, f), QString("5:C1 9:C2 13:C3 17:C4 21:C5 30:NEW"));
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

void TestEditorCards::commitChecksTheRow_data()
{
    QTest::addColumn<int>("column"); // 0 slot, 1 card name, 2 image type
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("message"); // empty: stored
    QTest::addColumn<char>("leave");       // by a click on row 4 'r', on shelf 3 's', or Down 'd'
    const QString slotWrong = QStringLiteral("The slot number of row 2 must be a number, 0 or more.");
    const QString typeWrong = QStringLiteral("The image type of row 2 must be a whole number from 0 to 13.");
    QTest::newRow("slot 40") << 0 << "40" << "" << 'r';
    QTest::newRow("slot 0") << 0 << "0" << "" << 'r';
    QTest::newRow("slot empty") << 0 << "" << slotWrong << 'r';
    QTest::newRow("slot not a number") << 0 << "4a" << slotWrong << 'r';
    QTest::newRow("slot -1") << 0 << "-1" << slotWrong << 'r';
    QTest::newRow("name") << 1 << "RCID4" << "" << 'r';
    QTest::newRow("name empty") << 1 << "" << "" << 'r';
    QTest::newRow("type 13") << 2 << "13" << "" << 'r';
    QTest::newRow("type 14") << 2 << "14" << typeWrong << 'r';
    QTest::newRow("type 2.5") << 2 << "2.5" << typeWrong << 'r';
    QTest::newRow("type empty") << 2 << "" << typeWrong << 'r';
    QTest::newRow("type not a number") << 2 << "x" << typeWrong << 'r';
    // The click or key that left a refused row still does its work.
    QTest::newRow("type 99, left for shelf 3") << 2 << "99" << typeWrong << 's';
    QTest::newRow("type 99, left by Down") << 2 << "99" << typeWrong << 'd';
}

void TestEditorCards::commitChecksTheRow()
{
    QFETCH(int, column);
    QFETCH(QString, typed);
    QFETCH(QString, message);
    QFETCH(char, leave);
    test::EditorSession session;
    QVERIFY(session.load(test::testRoom()));
    frmAlter *f = session.open();
    QVERIFY(f);
    TextBox *box = column == 0 ? &f->txtSlot(2) : column == 1 ? &f->txtCard(2) : &f->txtType(2);
    LooseTable *table = column == 0 ? &ModMain.SlotNo : column == 1 ? &ModMain.CardName : &ModMain.CardType;
    const QString before = (*table)(1, 1, 1, 2).str();
    test::doubleClick(box);
    test::typeOver(box, typed);
    if (leave != 'r') {
        // A real message box, which takes the focus while it is open.
        setMsgBoxHook([&session](const MsgBoxCall &call) {
            session.hooks.messages.append(call);
            QMessageBox box;
            QTimer::singleShot(0, &box, &QDialog::accept);
            box.exec();
            return int(vbOK);
        });
    }
    if (leave == 's') {
        // Refused, it is told only once the button is let go and has done its work.
        OptionButton &shelf3 = f->optStation(2);
        QTest::mousePress(&shelf3, Qt::LeftButton, {}, QPoint(6, shelf3.height() / 2));
        QCOMPARE(session.hooks.messages.size(), 0);
        QTest::mouseRelease(&shelf3, Qt::LeftButton, {}, QPoint(6, shelf3.height() / 2));
        QTRY_COMPARE(session.hooks.messages.size(), 1);
        QVERIFY(shelf3.Value() && !shelf3.isDown());
        QCOMPARE(f->detStation(), 2);
        QCOMPARE(f->curRow(), 1);
    } else if (leave == 'd') {
        QTest::keyClick(box, Qt::Key_Down);
        QTRY_COMPARE(session.hooks.messages.size(), 1);
        QCOMPARE(f->curRow(), 3);
        QVERIFY(rowLocked(f, 2));
    } else {
        // Leaving the row, by a click on another row, stores it and locks it.
        test::click(&f->txtSlot(4));
        QVERIFY(rowLocked(f, 2));
        QCOMPARE(f->curRow(), 4);
    }
    int current = 0;
    for (int n = 1; n <= f->cardRows(); ++n)
        current += f->txtCard(n).BackColor() == Highlight ? 1 : 0;
    QCOMPARE(current, 1);
    if (message.isEmpty()) {
        QCOMPARE(session.hooks.messages.size(), 0);
        QCOMPARE((*table)(1, 1, 1, 2).str(), typed);
        QVERIFY((*table)(1, 1, 1, 2).isText()); // as typed
        QCOMPARE(box->Text(), typed);
        // The boxes left as they were keep their values untouched.
        QVERIFY(column == 0 || slot(1, 1, 1, 2).isNumber());
        QVERIFY(column == 2 || ModMain.CardType(1, 1, 1, 2).isNumber());
        return;
    }
    QTRY_COMPARE(session.hooks.messages.size(), 1);
    QCOMPARE(session.hooks.messages[0].text, message);
    QCOMPARE(session.hooks.messages[0].style, int(vbInformation));
    // The model keeps the row as it was, and the boxes show it again.
    QCOMPARE((*table)(1, 1, 1, 2).str(), before);
    if (leave != 's')
        QCOMPARE(rows(f), FiveRows);
}

void TestEditorCards::typingRules()
{
    test::EditorSession session;
    QVERIFY(session.load(test::testRoom()));
    frmAlter *f = session.open();
    QVERIFY(f);
    // A locked row takes no typing, and leaving it neither unlocks nor stores it.
    test::click(&f->txtCard(1));
    QTest::keyClicks(&f->txtCard(1), "XYZ");
    test::click(&f->txtCard(2));
    QCOMPARE(f->txtCard(1).Text(), QString("C1"));
    QVERIFY(rowLocked(f, 1));
    // Commas and line ends are refused, typed or pasted.
    test::doubleClick(&f->txtCard(2));
    test::typeOver(&f->txtCard(2), "A,B");
    QApplication::clipboard()->setText(QStringLiteral("X\r\nY,Z"));
    QTest::keyClick(&f->txtCard(2), Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(f->txtCard(2).Text(), QString("ABXYZ"));
    // A second double-click on the open row stores it and locks it.
    test::doubleClick(&f->txtCard(2));
    QVERIFY(rowLocked(f, 2));
    QCOMPARE(ModMain.CardName(1, 1, 1, 2).str(), QString("ABXYZ"));
    QCOMPARE(session.hooks.messages.size(), 0);
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
