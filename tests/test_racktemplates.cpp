#include "app/racktemplates.h"
#include "platform/errors.h"

#include <QSet>
#include <QTest>

using namespace kvx;

namespace {

// A card list in the form "15 AE5V40A 1; 138 AE5V40A 1; ...".
QByteArray listText(const std::vector<TemplateCard> &cards)
{
    QList<QByteArray> parts;
    for (const TemplateCard &c : cards)
        parts << QByteArray::number(c.slot) + ' ' + c.name + ' ' + QByteArray::number(c.type);
    return parts.join("; ");
}

QByteArray shelfText(const Exchange &x, int s, int p, int shelf)
{
    QList<QByteArray> parts;
    for (int n = 1; n <= CardsPerShelf && !(x.SlotNo(s, p, shelf, n) == -1); ++n)
        parts << x.SlotNo(s, p, shelf, n).text() + ' ' + x.CardName(s, p, shelf, n).text() + ' '
                     + x.CardType(s, p, shelf, n).text();
    return parts.join("; ");
}

Exchange room(int shoots, int places)
{
    Exchange x;
    x.NoOfShoots = shoots;
    x.NoOfRacks = places;
    x.RackName.redim({shoots, places});
    x.sizeRoomTables(shoots, places);
    return x;
}

} // namespace

class TstRackTemplates : public QObject
{
    Q_OBJECT

private slots:
    void cardLists_data();
    void cardLists();
    void templates_data();
    void templates();
    void menuNamesPickOneTemplate();
    void nameTests_data();
    void nameTests();
    void fileTextLayout();
    void fileTextRoundTrips();
    void placeOutsideTablesWritesNothing();
};

void TstRackTemplates::cardLists_data()
{
    QTest::addColumn<char>("letter");
    QTest::addColumn<int>("count");
    QTest::addColumn<QByteArray>("cards");
    // Written out card by card, D and F expanded from their pieces.
    QTest::newRow("A") << 'A' << 17
                       << QByteArray("15 AE5V40A 1; 138 AE5V40A 1; 54 ACAJB4 0; 58 ACAJA4 0; 66 ACAJB4 0; 70 ACAJA4 0; "
                                     "78 ACAJB4 0; 82 ACAJA4 0; 24 ACALA 2; 96 ACMCS 2; 102 ACMCS 2; 108 ACMCS 2; "
                                     "90 ACTUR5AB 0; 114 ACTUR5AB 0; 120 ACTUR5AB 0; 126 ACTUR5AB 0; 132 ACTUR5AB 0");
    QTest::newRow("B") << 'B' << 32
                       << QByteArray("9 ACALA 2; 19 ACAJA4 0; 15 ACAJB4 0; 0 AE5V40A 1; 145 AE5V40A 1; 31 ACMGS 0; "
                                     "35 ICTSM 0; 39 ICTSM 0; 49 ICIDS 4; 53 ICIDS 4; 73 ICIDS 4; 77 ICIDS 4; "
                                     "97 ICIDS 4; 101 ICIDS 4; 121 ICIDS 4; 125 ICIDS 4; 57 ICTRQ 6; 61 ICTRQ 6; "
                                     "65 ICTRQ 6; 69 ICTRQ 6; 81 ICTRQ 6; 85 ICTRQ 6; 89 ICTRQ 6; 93 ICTRQ 6; "
                                     "105 ICTRQ 6; 109 ICTRQ 6; 113 ICTRQ 6; 117 ICTRQ 6; 129 ICTRQ 6; 133 ICTRQ 6; "
                                     "137 ICTRQ 6; 141 ICTRQ 6");
    QTest::newRow("C") << 'C' << 12
                       << QByteArray("23 ACALA 2; 33 ACAJA4 0; 29 ACAJB4 0; 14 AE5V40A 1; 142 AE5V40A 1; 71 ACHIL2 0; "
                                     "65 ACHIL2 0; 113 ACTUR5AB 0; 41 ACTUR5AB 0; 47 ACMCS 0; 119 ICID 3; 125 ICID 3");
    QTest::newRow("D") << 'D' << 34
                       << QByteArray("0 AE5V40A 1; 10 RCID4 0; 14 RCID4 0; 18 RCID4 0; 22 RCID4 0; 26 RCID4 0; "
                                     "30 RCID4 0; 34 RCID4 0; 38 RCID4 0; 42 RCID4 0; 46 RCID4 0; 50 RCID4 0; "
                                     "54 RCID4 0; 58 RCID4 0; 62 RCID4 0; 66 RCID4 0; 70 RCID4 0; 82 RCID4 0; "
                                     "86 RCID4 0; 90 RCID4 0; 94 RCID4 0; 98 RCID4 0; 102 RCID4 0; 106 RCID4 0; "
                                     "110 RCID4 0; 114 RCID4 0; 118 RCID4 0; 122 RCID4 0; 126 RCID4 0; 130 RCID4 0; "
                                     "134 RCID4 0; 138 RCID4 0; 142 RCID4 0; 146 AE5V40A 1");
    QTest::newRow("E") << 'E' << 22
                       << QByteArray("32 RSIMT 13; 60 RSIMT 13; 88 RSIMT 13; 116 RSIMT 13; 20 ACAJA4 0; 16 ACAJB4 0; "
                                     "0 AE5V40A 1; 146 AE5V40A 1; 9 ACALA 0; 28 RCMP4 0; 32 RCMT4 0; 38 RCMT4 0; "
                                     "60 RCMT4 0; 66 RCMT4 0; 88 RCMT4 0; 94 RCMT4 0; 116 RCMT4 0; 122 RCMT4 0; "
                                     "44 RCSM4 0; 72 RCSM4 0; 100 RCSM4 0; 128 RCSM4 0");
    QTest::newRow("F") << 'F' << 34
                       << QByteArray("32 RSIMT 13; 60 RSIMT 13; 88 RSIMT 13; 116 RSIMT 13; 48 RSIMT 13; 76 RSIMT 13; "
                                     "104 RSIMT 13; 132 RSIMT 13; 20 ACAJA4 0; 16 ACAJB4 0; 0 AE5V40A 1; "
                                     "146 AE5V40A 1; 9 ACALA 0; 28 RCMP4 0; 32 RCMT4 0; 38 RCMT4 0; 60 RCMT4 0; "
                                     "66 RCMT4 0; 88 RCMT4 0; 94 RCMT4 0; 116 RCMT4 0; 122 RCMT4 0; 44 RCSM4 0; "
                                     "72 RCSM4 0; 100 RCSM4 0; 128 RCSM4 0; 48 RCMT4 0; 110 RCMT4 0; 54 RCMT4 0; "
                                     "76 RCMT4 0; 82 RCMT4 0; 104 RCMT4 0; 132 RCMT4 0; 138 RCMT4 0");
    QTest::newRow("G") << 'G' << 16
                       << QByteArray("32 RSIMT 13; 60 RSIMT 13; 20 ACAJA4 0; 16 ACAJB4 0; 0 AE5V40A 1; 146 AE5V40A 1; "
                                     "9 ACALA 0; 28 RCMP4 0; 32 RCMT4 0; 38 RCMT4 0; 60 RCMT4 0; 66 RCMT4 0; "
                                     "44 RCSM4 0; 72 RCSM4 0; 100 RCSM4 0; 128 RCSM4 0");
    QTest::newRow("J") << 'J' << 12
                       << QByteArray("28 ACALA 2; 130 ACALA 2; 40 RCHOR 10; 52 RCHOR 10; 64 RCHOR 10; 84 RCHIS 9; "
                                     "110 RCHIS 9; 1 AE5V40A 1; 10 AE5V40A 1; 19 AE5V40A 1; 134 AE5V40A 1; 144 AE5V40A 1");
    QTest::newRow("K") << 'K' << 14
                       << QByteArray("0 AE5V40A 1; 9 ACALA 2; 13 ACAJB4 0; 17 ACAJA4 0; 25 ACUTG2 0; 29 ACMGS 0; "
                                     "33 ACUTG2 0; 37 ACMGS 0; 57 ACBSG 0; 69 ACCSG 7; 81 ACFTD 0; 88 ACDDG4 11; "
                                     "128 AE12V 0; 146 AE5V40A 1");
    QTest::newRow("M") << 'M' << 21
                       << QByteArray("59 ACALA 2; 71 ACSTG1 12; 103 ACTUJ 0; 109 ACTUJ 0; 127 ACRAL2 0; 138 AE5V40A 1; "
                                     "147 AE5V40A 1; 95 ACV11 8; 99 ACV11 8; 1 ACALA 2; 7 ACALA 2; 11 ACALA 2; "
                                     "17 ACALA 2; 21 ACALA 2; 31 ACALA 2; 49 ACALA 2; 27 ACREBA 0; 37 ACTLC 0; "
                                     "43 ACTLC 0; 63 ICMPN2 4; 67 ICSMP 5");
}

void TstRackTemplates::cardLists()
{
    QFETCH(char, letter);
    QFETCH(int, count);
    QFETCH(QByteArray, cards);
    const std::vector<TemplateCard> list = templateCardList(letter);
    QCOMPARE(int(list.size()), count);
    QCOMPARE(listText(list), cards);
}

void TstRackTemplates::templates_data()
{
    QTest::addColumn<QByteArray>("family");
    QTest::addColumn<QByteArray>("stations");
    QTest::addColumn<QByteArray>("lists"); // one letter per shelf, '-' for none
    QTest::addColumn<int>("lastCardOfShelf1"); // its image code, -1 when as in the list

    QTest::newRow("UE") << QByteArray("UE") << QByteArray("SMC,SMT,SMT,SMA,SMA") << QByteArray("ABBCC") << -1;
    QTest::newRow("UD") << QByteArray("UD") << QByteArray("SMC,SMT,SMT,SMT,SMT") << QByteArray("ABBBB") << -1;
    QTest::newRow("UC") << QByteArray("UC") << QByteArray("SMC,SMA,SMA,SMA,SMA") << QByteArray("ACCCC") << 8;
    QTest::newRow("XA") << QByteArray("XA") << QByteArray("SMXC,SMX,SMX,,") << QByteArray("DEE--") << -1;
    QTest::newRow("XA0") << QByteArray("XA0") << QByteArray("SMXC,SMX,SMX,,") << QByteArray("DGG--") << -1;
    QTest::newRow("XB") << QByteArray("XB") << QByteArray("SMXC,SMX,SMX,SMX,SMX") << QByteArray("DFFFF") << -1;
    QTest::newRow("CA") << QByteArray("CA") << QByteArray("SMC1,STS1,SMMA,SSE1,SMMB") << QByteArray("AJKMK") << 6;
    QTest::newRow("SDE") << QByteArray("SDE") << QByteArray(",,,,") << QByteArray("-----") << -1;
}

void TstRackTemplates::templates()
{
    QFETCH(QByteArray, family);
    QFETCH(QByteArray, stations);
    QFETCH(QByteArray, lists);
    QFETCH(int, lastCardOfShelf1);

    const RackTemplate *t = templateForFamily(family);
    QVERIFY(t);
    QList<QByteArray> names;
    for (const char *s : t->stations)
        names << s;
    QCOMPARE(names.join(','), stations);
    for (int k = 0; k < ShelvesPerRack; ++k) {
        std::vector<TemplateCard> expected = templateCardList(lists[k]);
        if (k == 0 && lastCardOfShelf1 >= 0)
            expected.back().type = lastCardOfShelf1;
        QCOMPARE(listText(t->shelves[size_t(k)]), listText(expected));
    }
}

void TstRackTemplates::menuNamesPickOneTemplate()
{
    const QStringList names = rackMenuCaptions();
    QCOMPARE(names.size(), 49);
    QCOMPARE(QSet<QString>(names.begin(), names.end()).size(), 49);
    // Each insertable entry's names get the template of that entry's family.
    int disabled = 0;
    for (const RackMenuEntry &entry : rackMenu()) {
        if (entry.names.isEmpty()) {
            ++disabled;
            QVERIFY2(!kvx::templateForRackName(entry.caption), entry.caption);
            continue;
        }
        QCOMPARE(entry.submenu, entry.names.size() > 1);
        for (const QString &name : entry.names) {
            const RackTemplate *t = kvx::templateForRackName(name.toLatin1());
            QVERIFY2(t, qPrintable(name));
            QCOMPARE(QByteArray(t->family), QByteArray(entry.caption));
        }
    }
    QCOMPARE(disabled, 5);
}

void TstRackTemplates::nameTests_data()
{
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QByteArray>("family"); // empty for none
    QTest::newRow("XA0 is not an XA- rack") << QByteArray("XA0") << QByteArray("XA0");
    QTest::newRow("XA- with any suffix") << QByteArray("XA-9Z") << QByteArray("XA");
    QTest::newRow("XA without dash or 0") << QByteArray("XA1") << QByteArray();
    QTest::newRow("any C name") << QByteArray("CX-7") << QByteArray("CA");
    QTest::newRow("SDE alone") << QByteArray("SDE") << QByteArray("SDE");
    QTest::newRow("SD without E") << QByteArray("SD-01") << QByteArray();
    QTest::newRow("letter case counts") << QByteArray("uc-01") << QByteArray();
    QTest::newRow("shorter than a test") << QByteArray("U") << QByteArray();
    QTest::newRow("empty") << QByteArray() << QByteArray();
}

void TstRackTemplates::nameTests()
{
    QFETCH(QByteArray, name);
    QFETCH(QByteArray, family);
    const RackTemplate *t = kvx::templateForRackName(name);
    QCOMPARE(t ? QByteArray(t->family) : QByteArray(), family);
}

void TstRackTemplates::fileTextLayout()
{
    QCOMPARE(templateFileText(*templateForFamily("SDE")), QByteArray(",,,,\r\n-1\r\n-1\r\n-1\r\n-1\r\n-1\r\n"));

    const QByteArray uc = templateFileText(*templateForFamily("UC"));
    const QList<QByteArray> lines = uc.split('\n');
    QCOMPARE(lines.size(), 7); // six lines and nothing after the last line end
    QVERIFY(lines.last().isEmpty());
    for (int i = 0; i < 6; ++i)
        QVERIFY2(lines[i].endsWith('\r') && !lines[i].chopped(1).contains('\r'), lines[i].constData());
    QCOMPARE(lines[0], QByteArray("SMC,SMA,SMA,SMA,SMA\r"));
    QVERIFY(lines[1].startsWith("15,AE5V40A,1,138,AE5V40A,1,54,ACAJB4,0,"));
    QVERIFY(lines[1].endsWith(",132,ACTUR5AB,8,-1\r"));
    QCOMPARE(lines[2], QByteArray("23,ACALA,2,33,ACAJA4,0,29,ACAJB4,0,14,AE5V40A,1,142,AE5V40A,1,71,ACHIL2,0,"
                                  "65,ACHIL2,0,113,ACTUR5AB,0,41,ACTUR5AB,0,47,ACMCS,0,119,ICID,3,125,ICID,3,-1\r"));
}

void TstRackTemplates::fileTextRoundTrips()
{
    for (const RackTemplate &t : rackTemplates()) {
        Exchange x = room(1, 1);
        FieldReader in(templateFileText(t));
        readRackTemplate(in, x, 1, 1);
        QVERIFY2(in.atEnd(), t.family);
        for (int k = 1; k <= ShelvesPerRack; ++k) {
            QCOMPARE(x.StationName(1, 1, k).text(), QByteArray(t.stations[size_t(k - 1)]));
            const auto &cards = t.shelves[size_t(k - 1)];
            QCOMPARE(shelfText(x, 1, 1, k), listText(cards));
            for (size_t n = 0; n < cards.size(); ++n) {
                // Numbers come back as numbers, names as texts.
                QVERIFY(x.SlotNo(1, 1, k, int(n + 1)).isNumber());
                QVERIFY(x.CardType(1, 1, k, int(n + 1)).isNumber());
                QVERIFY(x.CardName(1, 1, k, int(n + 1)).isText());
            }
            QVERIFY(x.SlotNo(1, 1, k, int(cards.size()) + 1) == -1);
        }
    }
}







void TstRackTemplates::placeOutsideTablesWritesNothing()
{
    // The grid can outgrow the tables of the last load; nothing is written then.
    Exchange x = room(1, 1);
    FieldReader in(templateFileText(*templateForFamily("UD")));
    try {
        readRackTemplate(in, x, 1, 2);
        QFAIL("a place outside the tables was written");
    } catch (const PlatformError &e) {
        QCOMPARE(e.number(), int(ErrSubscript));
    }
    QCOMPARE(x.StationName.storedValues() + x.SlotNo.storedValues(), 0);
    QCOMPARE(in.line(), 1);
}

QTEST_GUILESS_MAIN(TstRackTemplates)
#include "test_racktemplates.moc"
