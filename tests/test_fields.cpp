// The field rules of the program's files, the loose value and its tables.
#include "platform/errors.h"
#include "platform/fields.h"
#include "platform/loosetable.h"

#include <QTest>

#include <array>
#include <bit>
#include <cmath>
#include <limits>
#include <map>

using namespace kvx;

class TestFields : public QObject
{
    Q_OBJECT

private slots:
    void splitsFields_data();
    void splitsFields();
    void fieldKinds_data();
    void fieldKinds();
    void refusesWhatIsNotText_data();
    void refusesWhatIsNotText();
    void tracksLineAndColumn();
    void readsWholeNumbers_data();
    void readsWholeNumbers();
    void printForms_data();
    void printForms();
    void comparisons();
    void valuesOutliveWhatTheyWereCopiedFrom();
    void everyNumberStaysANumber_data();
    void everyNumberStaysANumber();
    void tableBoundsAndStorage();
    void tableGrowKeepsContents();
    void tableCopiesAndMovesKeepValues();
};

void TestFields::splitsFields_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QList<QByteArray>>("fields");
    using L = QList<QByteArray>;
    QTest::newRow("commas and CRLF") << QByteArray("a,b\r\nc\r\n") << L{"a", "b", "c"};
    QTest::newRow("empty at line end") << QByteArray("UC-01,\r\nX\r\n") << L{"UC-01", "", "X"};
    QTest::newRow("two commas") << QByteArray("a,,b\r\n") << L{"a", "", "b"};
    QTest::newRow("blanks dropped") << QByteArray("SMC , SMT,\tSMA \t,x\r\n") << L{"SMC", "SMT", "SMA", "x"};
    QTest::newRow("inner blanks kept") << QByteArray("DEMO SITE,x\r\n") << L{"DEMO SITE", "x"};
    QTest::newRow("quoted keeps comma") << QByteArray("\"A, B\",1\r\n") << L{"A, B", "1"};
    QTest::newRow("after closing quote skipped") << QByteArray("\"A\" junk,2\r\n") << L{"A", "2"};
    QTest::newRow("lone LF and lone CR") << QByteArray("a\nb\rc\r\n") << L{"a", "b", "c"};
    QTest::newRow("run-on card lines") << QByteArray(" 5 ,ACAJA4, 0 ,-1 \r\n") << L{"5", "ACAJA4", "0", "-1"};
    QTest::newRow("last field without line end") << QByteArray("a,b") << L{"a", "b"};
    QTest::newRow("byte order mark skipped") << QByteArray("\xEF\xBB\xBF\"S\",1") << L{"S", "1"};
}

void TestFields::splitsFields()
{
    QFETCH(QByteArray, input);
    QFETCH(QList<QByteArray>, fields);
    FieldReader in(input);
    QList<QByteArray> got;
    while (!in.atEnd())
        got << in.next().bytes;
    QCOMPARE(got, fields);
    QVERIFY_THROWS_EXCEPTION(PlatformError, in.next());
}

void TestFields::fieldKinds_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<int>("kind"); // 0 empty, 1 number, 2 text
    QTest::addColumn<QByteArray>("text");
    QTest::newRow("empty") << QByteArray(",") << 0 << QByteArray();
    QTest::newRow("integer") << QByteArray(" 255 ,") << 1 << QByteArray("255");
    QTest::newRow("negative") << QByteArray("-1 ,") << 1 << QByteArray("-1");
    QTest::newRow("plus sign") << QByteArray("+7,") << 1 << QByteArray("7");
    QTest::newRow("decimal point") << QByteArray("2.50,") << 1 << QByteArray("2.5");
    QTest::newRow("trailing point") << QByteArray("12.,") << 1 << QByteArray("12");
    QTest::newRow("leading zeros") << QByteArray("007,") << 1 << QByteArray("7");
    QTest::newRow("exponent is text") << QByteArray("1e5,") << 2 << QByteArray("1e5");
    QTest::newRow("rack name") << QByteArray("UC-01,") << 2 << QByteArray("UC-01");
    QTest::newRow("quoted digits are a number") << QByteArray("\"12\",") << 1 << QByteArray("12");
    QTest::newRow("quoted empty is text") << QByteArray("\"\",") << 2 << QByteArray();
    QTest::newRow("huge number is text") << QByteArray(QByteArray(400, '9') + ",") << 2 << QByteArray(400, '9');
    QTest::newRow("lone minus is text") << QByteArray("-,") << 2 << QByteArray("-");
    QTest::newRow("minus zero") << QByteArray("-0,") << 1 << QByteArray("0");
    QTest::newRow("digits then letters") << QByteArray("-12a,") << 2 << QByteArray("-12a");
    QTest::newRow("nine digits") << QByteArray("999999999,") << 1 << QByteArray("999999999");
    QTest::newRow("ten digits") << QByteArray("-1234567890,") << 1 << QByteArray("-1234567890");
    QTest::newRow("point first") << QByteArray("-.5,") << 1 << QByteArray("-0.5");
    QTest::newRow("lower-case name") << QByteArray("ictrq,") << 2 << QByteArray("ictrq");
}

void TestFields::fieldKinds()
{
    QFETCH(QByteArray, input);
    QFETCH(int, kind);
    QFETCH(QByteArray, text);
    FieldReader in(input);
    const Loose v = in.readLoose();
    QCOMPARE(int(v.isEmpty() ? 0 : v.isNumber() ? 1 : 2), kind);
    QCOMPARE(v.text(), text);
    // The data file's reader takes a shorter way to the same value.
    FieldReader fast(input);
    int line = 0, column = 0;
    const Loose w = fast.nextLoose(&line, &column);
    QCOMPARE(int(w.isEmpty() ? 0 : w.isNumber() ? 1 : 2), kind);
    QCOMPARE(w.text(), text);
    QCOMPARE(w.isNumber() && std::signbit(w.number()), v.isNumber() && std::signbit(v.number()));
}

void TestFields::refusesWhatIsNotText_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::newRow("NUL byte") << QByteArray("ab\0cd,", 6);
    QTest::newRow("escape") << QByteArray("a\x1b,");
    QTest::newRow("10 MB line") << QByteArray(10 * 1024 * 1024, 'A');
}

void TestFields::refusesWhatIsNotText()
{
    QFETCH(QByteArray, input);
    FieldReader in(input);
    try {
        in.next();
        QFAIL("no error");
    } catch (const PlatformError &e) {
        QCOMPARE(e.number(), int(ErrBadData));
    }
}

void TestFields::tracksLineAndColumn()
{
    FieldReader in("a,b\r\n\"x,y\",c\r\n\r\nd");
    Field f = in.next();
    QCOMPARE(f.line, 1);
    QCOMPARE(f.column, 1);
    f = in.next();
    QCOMPARE(f.column, 2);
    f = in.next();
    QCOMPARE(f.line, 2);
    QCOMPARE(f.bytes, QByteArray("x,y"));
    f = in.next();
    QCOMPARE(f.line, 2);
    QCOMPARE(f.column, 2);
    f = in.next(); // the empty line is one empty field
    QCOMPARE(f.line, 3);
    QVERIFY(f.bytes.isEmpty());
    f = in.next();
    QCOMPARE(f.line, 4);
    QCOMPARE(f.column, 1);
    // A quote left open is not read across the line end.
    FieldReader open("\"SITE,1,1,2\r\nUC-01\r\n");
    QVERIFY_THROWS_EXCEPTION(PlatformError, open.next());
}

void TestFields::readsWholeNumbers_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("error");
    QTest::newRow("plain") << QByteArray("255") << 255 << 0;
    QTest::newRow("empty is 0") << QByteArray("") << 0 << 0;
    QTest::newRow("half to even down") << QByteArray("2.5") << 2 << 0;
    QTest::newRow("half to even up") << QByteArray("3.5") << 4 << 0;
    QTest::newRow("largest") << QByteArray("2147483647") << 2147483647 << 0;
    QTest::newRow("too large") << QByteArray("2147483648") << 0 << int(ErrOverflow);
    QTest::newRow("text") << QByteArray("red") << 0 << int(ErrTypeMismatch);
}

void TestFields::readsWholeNumbers()
{
    QFETCH(QByteArray, input);
    QFETCH(int, value);
    QFETCH(int, error);
    FieldReader in(input + "\r\n");
    try {
        QCOMPARE(in.readLong(), value);
        QCOMPARE(error, 0);
    } catch (const PlatformError &e) {
        QCOMPARE(e.number(), error);
    }
}

void TestFields::printForms_data()
{
    QTest::addColumn<Loose>("value");
    QTest::addColumn<QByteArray>("printed");
    QTest::addColumn<QByteArray>("joined");
    QTest::newRow("positive") << Loose(255) << QByteArray(" 255 ") << QByteArray("255");
    QTest::newRow("zero") << Loose(0) << QByteArray(" 0 ") << QByteArray("0");
    QTest::newRow("minus one") << Loose(-1) << QByteArray("-1 ") << QByteArray("-1");
    QTest::newRow("fraction") << Loose(2.5) << QByteArray(" 2.5 ") << QByteArray("2.5");
    QTest::newRow("large, no exponent") << Loose(1e20) << QByteArray(" 100000000000000000000 ")
                                        << QByteArray("100000000000000000000");
    QTest::newRow("text unchanged") << Loose("12") << QByteArray("12") << QByteArray("12");
    QTest::newRow("six-byte text") << Loose("UC-101") << QByteArray("UC-101") << QByteArray("UC-101");
    QTest::newRow("seven-byte text") << Loose(QByteArray("ACTUR5A")) << QByteArray("ACTUR5A") << QByteArray("ACTUR5A");
    QTest::newRow("empty text") << Loose("") << QByteArray() << QByteArray();
    QTest::newRow("empty prints nothing") << Loose() << QByteArray() << QByteArray();
}

void TestFields::printForms()
{
    QFETCH(Loose, value);
    QFETCH(QByteArray, printed);
    QFETCH(QByteArray, joined);
    QCOMPARE(value.printForm(), printed);
    QCOMPARE(value.text(), joined);
    QVERIFY(value.isNumber() || (value == joined && value.sameText(Loose(joined))));
    // Whatever is printed reads back as the same value.
    if (value.isNumber()) {
        FieldReader in(printed + ",");
        QCOMPARE(in.readLoose().number(), value.number());
    }
}

// A text is shared by the copies of a value and by the reader that read it;
// each copy lives on its own.
void TestFields::valuesOutliveWhatTheyWereCopiedFrom()
{
    QList<Loose> read;
    {
        FieldReader in(QByteArray("UC-101,UC-101,\"UC-101\",UD-102,7\r\n"));
        int line = 0, column = 0;
        for (int i = 0; i < 5; ++i)
            read << in.nextLoose(&line, &column);
    }
    QCOMPARE(read[0].text(), QByteArray("UC-101"));
    QCOMPARE(read[2].text(), QByteArray("UC-101"));
    QCOMPARE(read[3].text(), QByteArray("UD-102"));
    QVERIFY(read[4].isNumber());

    Loose copy = read[0];
    read[0] = Loose(5);
    read[1] = read[3];
    QCOMPARE(copy.text(), QByteArray("UC-101"));
    QCOMPARE(read[1].text(), QByteArray("UD-102"));
    QCOMPARE(read[0].number(), 5.0);

    Loose &same = copy;
    copy = same;
    QCOMPARE(copy.text(), QByteArray("UC-101"));
    Loose moved = std::move(copy);
    QVERIFY(copy.isEmpty()); // NOLINT(bugprone-use-after-move): a moved-from value is empty
    QCOMPARE(moved.text(), QByteArray("UC-101"));
    copy = Loose("again");
    QCOMPARE(copy.text(), QByteArray("again"));
    QCOMPARE(moved.text(), QByteArray("UC-101"));
}

void TestFields::everyNumberStaysANumber_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QByteArray>("text");
    QTest::newRow("zero") << 0.0 << QByteArray("0");
    QTest::newRow("minus zero") << -0.0 << QByteArray("0");
    QTest::newRow("largest") << std::numeric_limits<double>::max() << QByteArray();
    QTest::newRow("lowest") << std::numeric_limits<double>::lowest() << QByteArray();
    QTest::newRow("tiniest") << std::numeric_limits<double>::denorm_min() << QByteArray();
    QTest::newRow("infinity") << std::numeric_limits<double>::infinity() << QByteArray();
    QTest::newRow("minus infinity") << -std::numeric_limits<double>::infinity() << QByteArray();
    QTest::newRow("quiet NaN") << std::numeric_limits<double>::quiet_NaN() << QByteArray();
    QTest::newRow("NaN of 0/0") << std::bit_cast<double>(0xFFF8'0000'0000'0000ull) << QByteArray();
    // NaNs whose bits are those an empty value or a text is kept in.
    QTest::newRow("NaN like a text") << std::bit_cast<double>(0xFFF7'0000'1234'5678ull) << QByteArray();
    QTest::newRow("NaN like a short text") << std::bit_cast<double>(0xFFFB'0000'0041'4243ull) << QByteArray();
    QTest::newRow("NaN like the empty value") << std::bit_cast<double>(0xFFF1'0000'0000'0000ull) << QByteArray();
    QTest::newRow("signalling NaN") << std::bit_cast<double>(0x7FF0'0000'0000'0001ull) << QByteArray();
}

// A value keeps its number in the bits of a double and marks an empty value
// and a text with bit patterns of NaNs: no number may be taken for either.
void TestFields::everyNumberStaysANumber()
{
    QFETCH(double, value);
    QFETCH(QByteArray, text);
    const Loose v(value);
    QVERIFY(v.isNumber());
    QVERIFY(!v.isEmpty() && !v.isText());
    QVERIFY(v.textBytes().isEmpty());
    const double back = v.number();
    if (std::isnan(value))
        QVERIFY(std::isnan(back));
    else
        QCOMPARE(back, value);
    if (!text.isEmpty())
        QCOMPARE(v.text(), text);
    // Copies and moves keep it a number.
    Loose copy = v;
    Loose moved = std::move(copy);
    QVERIFY(moved.isNumber());
    QVERIFY(copy.isEmpty()); // NOLINT(bugprone-use-after-move): a moved-from value is empty
}

void TestFields::comparisons()
{
    // Empty equals both "" and 0.
    QVERIFY(Loose() == "");
    QVERIFY(Loose() == 0);
    QVERIFY(!(Loose() == -1));
    // A typed slot number compares as a number; "-1" ends a list like -1.
    QVERIFY(Loose("12") == 12);
    QVERIFY(Loose("-1") == -1);
    // Numbers compare with texts through their text.
    QVERIFY(Loose(5) == "5");
    QVERIFY(!(Loose("UC-01") == "uc-01"));
    // A text that is not a number cannot be compared with one.
    QVERIFY_THROWS_EXCEPTION(PlatformError, (void)(Loose("ABC") == -1));
    QVERIFY(!Loose("ABC").readsAsNumber());
}

void TestFields::tableBoundsAndStorage()
{
    LooseTable t{3, 4, 5, 35};
    QCOMPARE(t(3, 4, 5, 35).isEmpty(), true);
    QVERIFY_THROWS_EXCEPTION(PlatformError, t(4, 1, 1, 1));
    QVERIFY_THROWS_EXCEPTION(PlatformError, t(1, 1, 1, 36));
    QVERIFY_THROWS_EXCEPTION(PlatformError, t(-1, 1, 1, 1));
    QVERIFY_THROWS_EXCEPTION(PlatformError, t(1, 1, 1)); // wrong rank
    // Reading and writing empties stores nothing; a value stores itself alone.
    t.set(Loose(), 2, 2, 2, 2);
    QCOMPARE(t.storedValues(), 0);
    t.set(Loose(7), 2, 2, 2, 2);
    t.set(Loose("X"), 2, 2, 2, 9);
    QCOMPARE(t.storedValues(), 2);
    QCOMPARE(t(2, 2, 2, 2).number(), 7.0);
    QCOMPARE(t(2, 2, 2, 9).text(), QByteArray("X"));
    QVERIFY(t(2, 2, 3, 2).isEmpty());
    // Emptied, a value gives its storage back.
    t.set(Loose(), 2, 2, 2, 2);
    QCOMPARE(t.storedValues(), 1);
    QVERIFY(t(2, 2, 2, 2).isEmpty());
    // A huge table that holds nothing costs nothing.
    LooseTable huge{30000, 30000, 5, 35};
    QCOMPARE(huge.heldBytes(), 0);
    // Written in any order, far apart or close, emptied or not, every element
    // reads as a plain map says, also in a copy and once the table shrank.
    std::map<std::array<int, 4>, int> model;
    quint32 seed = 1;
    for (int i = 1; i <= 20000; ++i) {
        seed = seed * 1103515245u + 12345u;
        const std::array<int, 4> at = {int(seed >> 30) % 3 + 1, int(seed >> 20) % 400 + 1, int(seed >> 12) % 6,
                                       int(seed >> 4) % 36};
        huge.set(i % 5 ? Loose(i) : Loose(), at[0], at[1], at[2], at[3]);
        if (i % 5)
            model[at] = i;
        else
            model.erase(at);
    }
    const LooseTable copy(huge);
    huge.redimPreserve({2, 300, 5, 35});
    qsizetype kept = 0;
    for (int s = 1; s <= 3; ++s) {
        for (int p = 1; p <= 400; ++p) {
            for (int k = 0; k <= 5; ++k) {
                for (int n = 0; n <= 35; ++n) {
                    const auto it = model.find({s, p, k, n});
                    const double v = it == model.end() ? 0 : it->second;
                    QCOMPARE(copy(s, p, k, n).number(), v);
                    if (s <= 2 && p <= 300) {
                        QCOMPARE(huge(s, p, k, n).number(), v);
                        kept += v ? 1 : 0;
                    }
                }
            }
        }
    }
    QCOMPARE(copy.storedValues(), qsizetype(model.size()));
    QCOMPARE(huge.storedValues(), kept);
    LooseTable unsized;
    QVERIFY_THROWS_EXCEPTION(PlatformError, unsized(1));
}

void TestFields::tableGrowKeepsContents()
{
    LooseTable t{2, 3};
    t.at(1, 1) = "UC-01";
    t.at(2, 3) = "UD-02";
    t.redimPreserve({4, 5});
    QCOMPARE(t(1, 1).text(), QByteArray("UC-01"));
    QCOMPARE(t(2, 3).text(), QByteArray("UD-02"));
    QVERIFY(t(4, 5).isEmpty());
    t.redimPreserve({1, 5});
    QCOMPARE(t(1, 1).text(), QByteArray("UC-01"));
    QVERIFY_THROWS_EXCEPTION(PlatformError, t(2, 3));
}

// Values written out of order, and copies and moves, keep every value.
void TestFields::tableCopiesAndMovesKeepValues()
{
    LooseTable t{15, 15, 5, 35};
    t.set(Loose(5), 1, 1, 1, 1);
    for (int s = 15; s >= 1; --s) {
        for (int p = 1; p <= 15; ++p)
            t.set(Loose(s * 100 + p), s, p, 2, 35);
    }
    QCOMPARE(t.storedValues(), 226);
    QCOMPARE(t(1, 1, 1, 1).number(), 5.0);
    QCOMPARE(t(9, 15, 2, 35).number(), 915.0);

    LooseTable copy(t);
    copy.set(Loose("changed"), 7, 8, 2, 35);
    QCOMPARE(t(7, 8, 2, 35).number(), 708.0);
    QCOMPARE(copy(15, 15, 2, 35).number(), 1515.0);
    QCOMPARE(copy(1, 1, 1, 1).number(), 5.0);

    LooseTable moved(std::move(copy));
    QCOMPARE(moved(7, 8, 2, 35).text(), QByteArray("changed"));
    QVERIFY(!copy.isSized());
    QVERIFY_THROWS_EXCEPTION(PlatformError, copy.set(Loose(1), 1, 1, 1, 1));
    copy.redim({2, 3});
    copy.set(Loose("again"), 2, 3);
    QCOMPARE(copy(2, 3).text(), QByteArray("again"));

    t = std::move(moved);
    QCOMPARE(t(7, 8, 2, 35).text(), QByteArray("changed"));
    QCOMPARE(t.storedValues(), 226);
}

QTEST_GUILESS_MAIN(TestFields)
#include "test_fields.moc"
