// The editor's "Ring Change" tab: the ring rows filled at load, the MAS3 and
// MAS4 boxes deciding what Save writes, member lists as typed, and the
// colour swatches with the colour dialog answered through the hooks.

#include "editorhelpers.h"

#include "platform/menu.h"
#include "platform/tabcontrol.h"

#include <QClipboard>

using namespace kvx;

namespace {

QStringList ringTexts(frmAlter *f)
{
    QStringList out{f->txtMis->Text()};
    for (int k = 1; k <= 4; ++k)
        out << f->txtMas(k).Text();
    return out;
}

QList<int> ticks(frmAlter *f)
{
    QList<int> out{f->chkMis->Value()};
    for (int k = 1; k <= 4; ++k)
        out << f->chkmas(k).Value();
    return out;
}

QStringList members(const LooseTable &ring)
{
    QStringList out;
    for (int n = 1; n <= ring.bound(0); ++n)
        out << ring(n).str();
    return out;
}

// The five ring tables exactly as held: "unsized", or every entry, a number
// marked with "#" and an empty entry shown as "~".
QStringList ringTables(const Exchange &x)
{
    QStringList out;
    for (int k = 0; k <= 4; ++k) {
        const LooseTable &ring = x.ring(k);
        if (!ring.isSized()) {
            out << QStringLiteral("unsized");
            continue;
        }
        QStringList entries;
        for (int n = 1; n <= ring.bound(0); ++n) {
            const Loose &entry = ring(n);
            entries << (entry.isEmpty() ? QStringLiteral("~") : (entry.isNumber() ? "#" : "") + entry.str());
        }
        out << entries.join(',');
    }
    return out;
}

frmAlter *openOnRings(test::EditorSession &session, int noOfMas)
{
    if (!session.load(test::testRoom(noOfMas)))
        return nullptr;
    frmAlter *f = session.open();
    if (f)
        f->SSTab1->setTab(2);
    return f;
}

} // namespace

class TestEditorRings : public QObject
{
    Q_OBJECT

private slots:
    void loadFillsTheRings_data();
    void loadFillsTheRings();
    void ringCountWhenSaving_data();
    void ringCountWhenSaving();
    void tickedRingWithoutMembers();
    void memberTextAsTyped();
    void tooManyMembersAreRefused_data();
    void tooManyMembersAreRefused();
    void colours_data();
    void colours();
};

void TestEditorRings::loadFillsTheRings_data()
{
    QTest::addColumn<int>("noOfMas");
    QTest::addColumn<QList<int>>("ticked");
    QTest::addColumn<QStringList>("texts");
    QTest::newRow("two MAS rings") << 2 << QList<int>({1, 1, 1, 0, 0})
                                   << QStringList({"UC-01,UD-02", "UC-01", "XA0", "", ""});
    QTest::newRow("three") << 3 << QList<int>({1, 1, 1, 1, 0}) << QStringList({"UC-01,UD-02", "UC-01", "XA0", "UD-02,XA0", ""});
    QTest::newRow("four") << 4 << QList<int>({1, 1, 1, 1, 1})
                          << QStringList({"UC-01,UD-02", "UC-01", "XA0", "UD-02,XA0", "SDE-01"});
}

void TestEditorRings::loadFillsTheRings()
{
    QFETCH(int, noOfMas);
    QFETCH(QList<int>, ticked);
    QFETCH(QStringList, texts);
    test::EditorSession session;
    frmAlter *f = openOnRings(session, noOfMas);
    QVERIFY(f);
    QCOMPARE(ticks(f), ticked);
    QCOMPARE(ringTexts(f), texts);
    QCOMPARE(frmSwitch::get().MnuMAS3->Enabled(), noOfMas >= 3);
    QCOMPARE(frmSwitch::get().MnuMAS4->Enabled(), noOfMas >= 4);
    // MIS, MAS1 and MAS2 always exist: a click does not clear them.
    test::click(f->chkMis);
    test::click(&f->chkmas(2));
    QCOMPARE(f->chkMis->Value(), 1);
    QCOMPARE(f->chkmas(2).Value(), 1);
    QCOMPARE(f->frameMas(2).Caption(), QString("MAS2 "));
    QCOMPARE(f->frameMas(2).geometry(), f->frameMas(1).rect());
    QCOMPARE(f->clrMis->BackColor(), quint32(255));
    QCOMPARE(f->clrMas(2).BackColor(), quint32(0x20000));
}

void TestEditorRings::ringCountWhenSaving_data()
{
    QTest::addColumn<int>("noOfMas");
    QTest::addColumn<QList<int>>("clicked"); // the MAS boxes clicked
    QTest::addColumn<int>("saved");          // NoOfMas after the save
    QTest::addColumn<QStringList>("records");
    QTest::addColumn<QString>("mis"); // typed over MIS; empty: left as it was
    const QStringList four{"MIS", "MAS1", "MAS2", "MAS3"};
    QTest::newRow("tick MAS3") << 2 << QList<int>({3}) << 3 << four << "";
    QTest::newRow("clear MAS4") << 4 << QList<int>({4}) << 3 << four << "";
    QTest::newRow("MAS4 alone") << 2 << QList<int>({4}) << 2 << QStringList({"MIS", "MAS1", "MAS2", "MAS4"}) << "";
    QTest::newRow("clear both") << 4 << QList<int>({3, 4}) << 2 << QStringList({"MIS", "MAS1", "MAS2"}) << "";
    QTest::newRow("tick both") << 2 << QList<int>({3, 4}) << 4 << QStringList({"MIS", "MAS1", "MAS2", "MAS3", "MAS4"}) << "";
    QTest::newRow("tick MAS3, new MIS members") << 2 << QList<int>({3}) << 3 << four << " XA0 , 12 ,UC-01";
    QTest::newRow("clear MAS4, new MIS members") << 4 << QList<int>({4}) << 3 << four << "SDE-01";
}

void TestEditorRings::ringCountWhenSaving()
{
    QFETCH(int, noOfMas);
    QFETCH(QList<int>, clicked);
    QFETCH(int, saved);
    QFETCH(QStringList, records);
    QFETCH(QString, mis);
    test::EditorSession session;
    frmAlter *f = openOnRings(session, noOfMas);
    QVERIFY(f);
    if (!mis.isEmpty()) {
        test::click(f->txtMis);
        test::typeOver(f->txtMis, mis);
    }
    for (int k : clicked) {
        test::click(&f->chkmas(k));
        if (f->chkmas(k).Value() == 1) {
            test::click(&f->txtMas(k));
            QTest::keyClicks(&f->txtMas(k), QStringLiteral("UC-01,UD-0%1").arg(k));
        }
    }
    f->MnuSav->trigger();
    QCOMPARE(session.hooks.messages.size(), 0);
    QCOMPARE(ModMain.NoOfMas, saved);

    const QByteArray bytes = test::fileBytes(session.dataFile);
    QVERIFY(bytes.startsWith("\"TEST SITE\",2,3," + QByteArray::number(saved) + "\r\n"));
    QStringList found;
    for (const QByteArray &line : bytes.split('\n')) {
        if (line == "MIS\r" || (line.startsWith("MAS") && line.size() == 5))
            found << QString::fromLatin1(line.chopped(1));
    }
    QCOMPARE(found, records);
    const auto back = test::readBack(session.dataFile);
    QVERIFY(back);
    QCOMPARE(back->NoOfMas, saved);
    if (saved >= 3 && noOfMas == 2)
        QCOMPARE(members(back->Mas3Ring).mid(0, 3), QStringList({"UC-01", "UD-03", "*"}));

    // The model holds the rings as reading the file gives them, blanks around
    // names dropped and a name that reads as a number a number.
    QCOMPARE(ringTables(ModMain), ringTables(*back));
    if (mis.contains("12"))
        QCOMPARE(ringTables(ModMain)[0].section(',', 0, 3), QString("XA0,#12,UC-01,*"));
    // Closed and opened again, the editor shows them; a card saved later keeps them.
    session.hooks.setNextAnswer(vbNo);
    f->mnuEx->trigger();
    f = session.open();
    QVERIFY(f);
    QCOMPARE(ticks(f), QList<int>({1, 1, 1, saved >= 3, saved >= 4}));
    QStringList texts;
    for (int k = 0; k <= 4; ++k)
        texts << (k <= saved ? displayText(ringMemberText(back->ring(k))) : QString());
    QCOMPARE(ringTexts(f), texts);
    f->SSTab1->setTab(0);
    test::doubleClick(&f->txtCard(1));
    test::typeOver(&f->txtCard(1), "NEW");
    test::click(&f->txtCard(2));
    f->MnuSav->trigger();
    QCOMPARE(session.hooks.messages.size(), 1); // the Exit question only
    const auto again = test::readBack(session.dataFile);
    QVERIFY(again);
    QCOMPARE(again->CardName(1, 1, 1, 1).str(), QString("NEW"));
    QCOMPARE(again->NoOfMas, saved);
    QCOMPARE(ringTables(*again), ringTables(*back));
}

void TestEditorRings::tickedRingWithoutMembers()
{
    test::EditorSession session;
    frmAlter *f = openOnRings(session, 2);
    QVERIFY(f);
    test::click(&f->chkmas(3));
    f->MnuSav->trigger();
    QCOMPARE(ModMain.NoOfMas, 3);
    // As the file gives it: one empty member before the end of the list.
    QCOMPARE(members(ModMain.Mas3Ring).mid(0, 2), QStringList({"", "*"}));
    session.hooks.setNextAnswer(vbNo);
    f->mnuEx->trigger();

    // Opened again: MAS3 is ticked and empty.
    f = session.open();
    QVERIFY(f);
    QCOMPARE(f->chkmas(3).Value(), 1);
    QCOMPARE(f->txtMas(3).Text(), QString());
    QCOMPARE(session.hooks.messages.size(), 1); // the Exit question only
    f->MnuSav->trigger();
    QCOMPARE(session.hooks.messages.size(), 1);
    const auto back = test::readBack(session.dataFile);
    QVERIFY(back);
    QCOMPARE(members(back->Mas3Ring).mid(0, 2), QStringList({"", "*"}));
}

void TestEditorRings::memberTextAsTyped()
{
    test::EditorSession session;
    frmAlter *f = openOnRings(session, 2);
    QVERIFY(f);
    test::click(f->txtMis);
    QTest::keyClick(f->txtMis, Qt::Key_End);
    QTest::keyClicks(f->txtMis, ",XA0");
    QApplication::clipboard()->setText(QStringLiteral(",SDE\r\n-01"));
    QTest::keyClick(f->txtMis, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(f->txtMis->Text(), QString("UC-01,UD-02,XA0,SDE-01"));
    // Typed lists enter the model only when they are saved.
    QCOMPARE(members(ModMain.MisRing).mid(0, 3), QStringList({"UC-01", "UD-02", "*"}));
    f->MnuSav->trigger();
    QVERIFY(test::fileBytes(session.dataFile).contains("\r\nMIS\r\nUC-01,UD-02,XA0,SDE-01,*, 255 \r\n"));
}

void TestEditorRings::tooManyMembersAreRefused_data()
{
    QTest::addColumn<bool>("saveAs");
    QTest::newRow("Save") << false;
    QTest::newRow("Save As") << true;
}

void TestEditorRings::tooManyMembersAreRefused()
{
    QFETCH(bool, saveAs);
    test::EditorSession session;
    frmAlter *f = openOnRings(session, 2);
    QVERIFY(f);
    QStringList names;
    for (int n = 1; n <= 15; ++n)
        names << QStringLiteral("R%1").arg(n);
    test::click(&f->txtMas(1));
    test::typeOver(&f->txtMas(1), names.join(','));
    const QByteArray before = test::fileBytes(session.dataFile);
    if (saveAs) {
        session.hooks.setNextFile(session.path("new.kvx"));
        f->MnuSavAs->trigger();
    } else {
        f->MnuSav->trigger();
    }
    QCOMPARE(session.hooks.messages.size(), 1);
    QCOMPARE(session.hooks.messages[0].style, int(vbInformation));
    QVERIFY2(session.hooks.messages[0].text.contains("MAS1"), qPrintable(session.hooks.messages[0].text));
    QCOMPARE(test::fileBytes(session.dataFile), before);
    QVERIFY(!QFile::exists(session.path("new.kvx")));
    QCOMPARE(ModMain.NoOfMas, 2);
    QVERIFY(f->hasUnsavedEdits());

    // Fourteen names are the most a file holds, and they are written.
    names.removeLast();
    test::typeOver(&f->txtMas(1), names.join(','));
    const QString target = saveAs ? session.path("new.kvx") : session.dataFile;
    if (saveAs) {
        session.hooks.setNextFile(target);
        f->MnuSavAs->trigger();
    } else {
        f->MnuSav->trigger();
    }
    QCOMPARE(session.hooks.messages.size(), 1);
    QVERIFY(!f->hasUnsavedEdits());
    const auto back = test::readBack(target);
    QVERIFY(back);
    QCOMPARE(members(back->Mas1Ring), names + QStringList({"*"}));
}

void TestEditorRings::colours_data()
{
    QTest::addColumn<int>("ring"); // 0 MIS, 1..4 MAS
    QTest::newRow("MIS") << 0;
    QTest::newRow("MAS2") << 2;
    QTest::newRow("MAS4") << 4;
}

void TestEditorRings::colours()
{
    QFETCH(int, ring);
    test::EditorSession session;
    frmAlter *f = openOnRings(session, 4);
    QVERIFY(f);
    Label *swatch = ring == 0 ? f->clrMis : &f->clrMas(ring);
    Container *frame = ring == 0 ? f->Frame5 : &f->frameMas(ring == 1 ? 0 : ring);
    const auto model = [ring] { return ring == 0 ? qint64(ModMain.MisColor) : qint64(ModMain.MasColor(ring).number()); };
    const qint64 before = model();

    // Cancel changes nothing.
    test::clickItem(frame, *swatch);
    QCOMPARE(session.hooks.colorRequests, 1);
    QCOMPARE(model(), before);
    QCOMPARE(qint64(swatch->BackColor()), before);

    session.hooks.setNextColor(0x123456);
    test::clickItem(frame, *swatch);
    QCOMPARE(session.hooks.colorRequests, 2);
    QCOMPARE(model(), qint64(0x123456));
    QCOMPARE(swatch->BackColor(), quint32(0x123456));
    f->MnuSav->trigger();
    const auto back = test::readBack(session.dataFile);
    QVERIFY(back);
    QCOMPARE(ring == 0 ? qint64(back->MisColor) : qint64(back->MasColor(ring).number()), qint64(0x123456));
}

QTEST_MAIN(TestEditorRings)
#include "test_editor_rings.moc"
