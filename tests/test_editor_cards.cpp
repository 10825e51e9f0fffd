// The card rows of the editor's "Small Change" tab, driven as a person drives
// them: clicks, double-clicks, typing, arrow keys and the Add, Insert and
// Delete buttons; then the rows, the model and the saved file are read.

#include "editorhelpers.h"

#include "art/art.h"
#include "platform/commandbutton.h"
#include "platform/image.h"
#include "platform/picturebox.h"
#include "platform/scrollbar.h"

#include <QClipboard>
#include <QMessageBox>
#include <QRegularExpression>
#include <QTimer>

using namespace kvx;
using test::hasFocus;

namespace {

constexpr quint32 Highlight = 0x87F411;
const QStringList FiveRows = {"5:C1:0", "9:C2:1", "13:C3:2", "17:C4:3", "21:C5:4"};

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

bool rowLocked(frmAlter *f, int n)
{
    return f->txtSlot(n).Locked() && f->txtCard(n).Locked() && f->txtType(n).Locked();
}

// The rows shown highlighted.
QList<int> highlighted(frmAlter *f)
{
    QList<int> out;
    for (int n = 1; n <= f->cardRows(); ++n) {
        if (f->txtCard(n).BackColor() == Highlight)
            out << n;
    }
    return out;
}

ControlArray<TextBox> &column(frmAlter *f, int c)
{
    return c == 0 ? f->txtSlot : c == 1 ? f->txtCard : f->txtType;
}

// Saves to the loaded file and reads one shelf back.
QString savedShelf(test::EditorSession &session, frmAlter *f, int shelf = 1, int s = 1, int p = 1)
{
    f->MnuSav->trigger();
    const auto x = test::readBack(session.dataFile);
    return x ? test::shelfOf(*x, s, p, shelf) : QStringLiteral("(unreadable)");
}

} // namespace

class TestEditorCards : public QObject
{
    Q_OBJECT

private slots:
    void rowOperations_data();
    void rowOperations();
    void thirtyFiveRowsAtMost_data();
    void thirtyFiveRowsAtMost();
    void commitChecksTheRow_data();
    void commitChecksTheRow();
    void typingRules();
    void arrowKeys_data();
    void arrowKeys();
    void detailsPanel_data();
    void detailsPanel();
    void scrolling();
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
    // A card behind the end marker, as an earlier rack at this place could leave it.
    ModMain.SlotNo.set(Loose(60), 1, 1, 1, 7);
    ModMain.CardName.set(Loose("GHOST"), 1, 1, 1, 7);
    frmAlter *f = session.open();
    QVERIFY(f);
    if (current)
        test::click(&f->txtCard(current));
    for (const QString &press : presses)
        test::click(press == "Add" ? f->cmdAdd : press == "Insert" ? f->cmdInsert : f->cmdDelete);

    QCOMPARE(session.hooks.messages.size(), 0);
    QCOMPARE(rows(f), after);
    QVERIFY(!f->txtSlot.exists(after.size() + 1));
    QCOMPARE(f->frameHolder->Height(), (after.size() + 1) * 325.0);
    // The model holds what the rows show, an empty row as empty entries, and
    // the list ends right behind the last row.
    QStringList model;
    for (int n = 1; n <= after.size(); ++n)
        model << slot(1, 1, 1, n).str() + ':' + ModMain.CardName(1, 1, 1, n).str() + ':' + ModMain.CardType(1, 1, 1, n).str();
    QCOMPARE(model, after);
    QCOMPARE(slot(1, 1, 1, marker), -1);
    QCOMPARE(f->txtSlot(0).Text(), QString()); // the template row is untouched
    if (focused) {
        QVERIFY(hasFocus(&f->txtSlot(focused)));
        QCOMPARE(f->lblSpy->Caption(), QString::number(focused));
    } else {
        QVERIFY(!hasFocus(&f->txtSlot(1)) && !hasFocus(&f->txtCard(1)));
    }
    if (current == 0 && presses == QStringList({"Insert"})) // the panel shows the empty row 0
        QVERIFY(f->lblSpy->Caption() == "0" && f->imgmodel->Picture() == Art::card(0));
    // Rows never filled are not saved; no card is lost or doubled.
    QStringList cards = after.filter(QRegularExpression("^\\d"));
    cards.replaceInStrings(QRegularExpression(":\\d+$"), QString());
    QCOMPARE(savedShelf(session, f), cards.join(' '));
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
    frmAlter *f = session.open(test::testRoom());
    QVERIFY(f);
    CommandButton *press = button == "Add" ? f->cmdAdd : f->cmdInsert;
    test::chooseRack(f->lstRackName, 1); // UD-02, 34 cards on shelf 5
    test::clickOption(&f->optStation(4));
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
    QCOMPARE(rows(f), full);
    QVERIFY(!f->txtSlot.exists(36));
}

void TestEditorCards::commitChecksTheRow_data()
{
    QTest::addColumn<int>("column"); // 0 slot, 1 card name, 2 image type
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("message"); // empty: stored
    QTest::addColumn<char>("leave"); // by a click on row 4 'r', on shelf 3 's', Down 'd', or Save 'v'
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
    // Save stores the row open for typing, or stops with its message.
    QTest::newRow("name, saved") << 1 << "C2X" << "" << 'v';
    QTest::newRow("type 99, saved") << 2 << "99" << typeWrong << 'v';
}

void TestEditorCards::commitChecksTheRow()
{
    QFETCH(int, column);
    QFETCH(QString, typed);
    QFETCH(QString, message);
    QFETCH(char, leave);
    test::EditorSession session;
    frmAlter *f = session.open(test::testRoom());
    QVERIFY(f);
    TextBox *box = &::column(f, column)(2);
    LooseTable *table = column == 0 ? &ModMain.SlotNo : column == 1 ? &ModMain.CardName : &ModMain.CardType;
    const QString before = (*table)(1, 1, 1, 2).str();
    const QByteArray loaded = test::fileBytes(session.dataFile);
    test::doubleClick(box);
    test::typeOver(box, typed);
    if (leave == 's' || leave == 'd') {
        // A real message box, which takes the focus while it is open.
        setMsgBoxHook([&session](const MsgBoxCall &call) {
            session.hooks.messages.append(call);
            QMessageBox box;
            QTimer::singleShot(0, &box, &QDialog::accept);
            box.exec();
            return int(vbOK);
        });
    }
    int current = 2;
    if (leave == 's') {
        // Refused, it is told only once the button is let go and has done its work.
        OptionButton &shelf3 = f->optStation(2);
        QTest::mousePress(&shelf3, Qt::LeftButton, {}, QPoint(6, shelf3.height() / 2));
        QCOMPARE(session.hooks.messages.size(), 0);
        QTest::mouseRelease(&shelf3, Qt::LeftButton, {}, QPoint(6, shelf3.height() / 2));
        QTRY_COMPARE(session.hooks.messages.size(), 1);
        QVERIFY(shelf3.Value() && !shelf3.isDown());
        QCOMPARE(f->detStation(), 2);
        current = 1;
    } else if (leave == 'd') {
        QTest::keyClick(box, Qt::Key_Down);
        QTRY_COMPARE(session.hooks.messages.size(), 1);
        current = 3;
    } else if (leave == 'r') {
        test::click(&f->txtSlot(4));
        current = 4;
    } else {
        f->MnuSav->trigger();
    }
    // Leaving or saving the row locks it; one row stays current.
    QVERIFY(leave == 's' || rowLocked(f, 2));
    QCOMPARE(highlighted(f), QList<int>{current});
    QCOMPARE(f->curRow(), current);
    if (message.isEmpty()) {
        QCOMPARE(session.hooks.messages.size(), 0);
        QCOMPARE((*table)(1, 1, 1, 2).str(), typed);
        QVERIFY((*table)(1, 1, 1, 2).isText()); // as typed
        // The boxes left as they were keep their values untouched.
        QVERIFY(column == 0 || slot(1, 1, 1, 2).isNumber());
        QVERIFY(column == 2 || ModMain.CardType(1, 1, 1, 2).isNumber());
        if (leave == 'v')
            QCOMPARE(test::shelfOf(*test::readBack(session.dataFile), 1, 1, 1), QString("5:C1 9:C2X 13:C3 17:C4 21:C5"));
        return;
    }
    QTRY_COMPARE(session.hooks.messages.size(), 1);
    QCOMPARE(session.hooks.messages[0].text, message);
    // The model keeps the row as it was, the boxes show it again, the file stays.
    QCOMPARE((*table)(1, 1, 1, 2).str(), before);
    if (leave != 's')
        QCOMPARE(rows(f), FiveRows);
    QCOMPARE(test::fileBytes(session.dataFile), loaded);
}

void TestEditorCards::typingRules()
{
    test::EditorSession session;
    frmAlter *f = session.open(test::testRoom());
    QVERIFY(f);
    // A locked row takes no typing, and leaving it neither unlocks nor stores it.
    test::click(&f->txtCard(1));
    QTest::keyClicks(&f->txtCard(1), "XYZ");
    test::click(&f->txtCard(2));
    QCOMPARE(f->txtCard(1).Text(), QString("C1"));
    QVERIFY(rowLocked(f, 1));
    // Commas and line ends are refused, typed or pasted, the first one pasted too.
    test::doubleClick(&f->txtCard(2));
    test::typeOver(&f->txtCard(2), "A,B");
    QCOMPARE(f->txtCard(2).Text(), QString("AB"));
    QApplication::clipboard()->setText(QStringLiteral(",AB\r\nX,YZ"));
    QTest::keyClick(&f->txtCard(2), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(&f->txtCard(2), Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(f->txtCard(2).Text(), QString("ABXYZ"));
    // A second double-click on the open row stores it and locks it.
    test::doubleClick(&f->txtCard(2));
    QVERIFY(rowLocked(f, 2));
    QCOMPARE(ModMain.CardName(1, 1, 1, 2).str(), QString("ABXYZ"));
    QCOMPARE(session.hooks.messages.size(), 0);
}

void TestEditorCards::arrowKeys_data()
{
    QTest::addColumn<int>("column"); // 0 slot, 1 card name, 2 image type
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("typed"); // into the opened row before the key; empty: the row stays locked
    QTest::addColumn<Qt::Key>("key");
    QTest::addColumn<int>("to");
    QTest::newRow("Up at row 1 stays") << 1 << 1 << "" << Qt::Key_Up << 1;
    QTest::newRow("Down from row 1") << 1 << 1 << "" << Qt::Key_Down << 2;
    QTest::newRow("Down, image type") << 2 << 4 << "" << Qt::Key_Down << 5;
    QTest::newRow("Down at the last row stays") << 2 << 5 << "" << Qt::Key_Down << 5;
    QTest::newRow("Up from the last row") << 2 << 5 << "" << Qt::Key_Up << 4;
    QTest::newRow("Down leaves an open row, storing it") << 0 << 4 << "18" << Qt::Key_Down << 5;
    QTest::newRow("Up leaves an open row, storing it") << 0 << 4 << "18" << Qt::Key_Up << 3;
}

void TestEditorCards::arrowKeys()
{
    QFETCH(int, column);
    QFETCH(int, row);
    QFETCH(QString, typed);
    QFETCH(Qt::Key, key);
    QFETCH(int, to);
    test::EditorSession session;
    frmAlter *f = session.open(test::testRoom());
    QVERIFY(f);
    TextBox *box = &::column(f, column)(row);
    test::click(box);
    if (!typed.isEmpty()) {
        test::doubleClick(box);
        test::typeOver(box, typed);
    }
    QTest::keyClick(box, key);
    // The same column moves, and only the row reached is current.
    QVERIFY(hasFocus(&::column(f, column)(to)));
    QCOMPARE(f->curRow(), to);
    QCOMPARE(highlighted(f), QList<int>{to});
    QCOMPARE(f->lblSpy->Caption(), QString::number(to));
    if (!typed.isEmpty()) {
        QCOMPARE(slot(1, 1, 1, row).str(), typed);
        QVERIFY(rowLocked(f, row));
    }
    QCOMPARE(session.hooks.messages.size(), 0);
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
    frmAlter *f = session.open(test::testRoom());
    QVERIFY(f);
    test::chooseRack(f->lstRackName, 1);  // UD-02 at shoot 1, place 3
    test::clickOption(&f->optStation(2)); // its shelf 3: SMXC
    test::doubleClick(&f->txtType(2));
    test::typeOver(&f->txtType(2), type);
    // Moving within the open row shows the row as typed.
    test::click(&f->txtSlot(2));
    const QStringList shown = {f->lblDetCard->Caption(), f->lblDetslot->Caption(), f->lblDetType->Caption(),
                               f->lbldetrack->Caption(), f->lbldetshelf->Caption(), f->lbldetrow->Caption(),
                               f->lbldetcol->Caption()};
    QCOMPARE(shown, QStringList({"F2", "8", type, "UD-02", "SMXC", "1", "3"}));
    QVERIFY(f->imgmodel->Picture() == (picture < 0 ? Picture() : Art::card(picture)));
}

void TestEditorCards::scrolling()
{
    test::EditorSession session;
    frmAlter *f = session.open(test::testRoom());
    QVERIFY(f);
    test::chooseRack(f->lstRackName, 3); // the second UC-01: 35 cards on shelf 5
    test::clickOption(&f->optStation(4));
    QCOMPARE(f->VScroll->Max(), (36 * 325 - 3375) * 10 / 3375);
    const auto inView = [f](int n) {
        const double middle = f->txtCard(n).Top() + f->txtCard(n).Height() / 2 + f->frameHolder->Top();
        return middle > 0 && middle < f->pic->Height();
    };
    // Down from row 10 to 35 keeps the current row inside the visible area.
    test::click(&f->txtCard(10));
    for (int n = 10; n < 35; ++n) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
        QVERIFY2(inView(n + 1), qPrintable(QString::number(n + 1)));
    }
    QVERIFY(!inView(1));

    // A short list after a scrolled long one starts at its first row.
    test::clickOption(&f->optStation(0));
    QCOMPARE(f->VScroll->Max(), 0);
    QCOMPARE(f->VScroll->Value(), 0);
    QCOMPARE(f->frameHolder->Top(), 0.0);
    // Rows added with nothing to scroll keep the first row in view; those
    // beyond the visible area are scrolled into view.
    for (int n = 0; n < 14; ++n) {
        test::click(f->cmdAdd);
        QVERIFY(inView(f->cardRows()));
        QCOMPARE(f->frameHolder->Top() == 0.0, f->VScroll->Max() == 0);
    }
    QVERIFY(f->VScroll->Max() > 0);
}

QTEST_MAIN(TestEditorCards)
#include "test_editor_cards.moc"
