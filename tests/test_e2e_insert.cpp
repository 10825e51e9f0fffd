// From the editor to the room: a rack inserted into an empty place, saved,
// and shown by the main window after Refresh, with its template's cards on
// its shelves.
#include "editorhelpers.h"
#include "viewerhelpers.h"

#include "platform/label.h"
#include "platform/tabcontrol.h"

#include <QTest>

using namespace kvx;

class TestInsertEndToEnd : public QObject
{
    Q_OBJECT

private slots:
    void insertedRackStandsInTheRoomAfterRefresh();
};

void TestInsertEndToEnd::insertedRackStandsInTheRoomAfterRefresh()
{
    test::ProgramFixture program;
    test::TestRoom room;
    room.rows = {{"UC-01", "", "UD-02"}};
    QVERIFY(program.start(room));
    QCOMPARE(test::rackIndex("UE-05"), 0);

    frmAlter::showEditor();
    frmAlter *editor = frmAlter::loaded();
    QVERIFY(editor && QTest::qWaitForWindowExposed(editor));
    editor->SSTab1->setTab(1);
    test::insertAt(editor, 2, QStringLiteral("UE-05"));
    QCOMPARE(editor->lblEdRack(2).Caption(), QString("UE-05"));
    editor->MnuSav->trigger();
    QCOMPARE(program.hooks.messages.size(), 0);

    frmSwitch &form = frmSwitch::get();
    form.mnuRefresh->trigger();
    QVERIFY(test::rackIndex("UE-05") > 0);
    QVERIFY(test::openRack("UE-05"));
    QVERIFY(test::openDoors());
    QVERIFY(test::clickOn(form.imgShelf(0)));
    test::growShelf();
    // Shelf 1 of a UE rack: the 17 cards of its template, the first at slot 15.
    QCOMPARE(form.lblShelfName->Caption(), QString("SMC"));
    QCOMPARE(form.CardCount, 17);
    QCOMPARE(form.lblCard(1).ToolTipText(), QString("AE5V40A @  Slot Number 15"));
    frmAlter::discard();
}

QTEST_MAIN(TestInsertEndToEnd)
#include "test_e2e_insert.moc"
