// The data file: its field rules, loose values and their tables, the reader
// and writer where a file alone cannot show a case, saving, the golden files
// of kvx-check (tests/data/kvx-check), the sample exchange and the rack
// templates. A case that only loads or saves a file belongs in the golden files.
#include "model/exchangereader.h"
#include "model/exchangewriter.h"
#include "model/racktemplates.h"
#include "platform/core/errors.h"
#include "platform/core/files.h"
#include "platform/core/loosetable.h"
#include "support/testhooks.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

#include <array>
#include <map>

#include <bit>
#include <cmath>
#include <limits>

#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace kvx;

namespace {

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool writeAll(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size() && f.flush();
}

// Ring controls as a user left them in the editor.
struct TypedRings : RingControls
{
    bool ticked3 = false, ticked4 = false;
    QByteArray texts[5];
    bool masTicked(int k) const override { return k == 3 ? ticked3 : ticked4; }
    QByteArray misText() const override { return texts[0]; }
    QByteArray masText(int k) const override { return texts[k]; }
};

Exchange room(int shoots, int places)
{
    Exchange x;
    x.SiteName = "TEST";
    x.NoOfShoots = shoots;
    x.NoOfRacks = places;
    x.NoOfMas = 2;
    x.RackName.redim({shoots, places});
    x.sizeRoomTables(shoots, places);
    for (int k = 0; k <= 2; ++k)
        x.ring(k).at(1) = "*";
    return x;
}

// A rack whose shelf k holds k cards.
void addRack(Exchange &x, int s, int p, const QByteArray &name)
{
    x.RackName.at(s, p) = name;
    for (int k = 1; k <= ShelvesPerRack; ++k) {
        x.StationName.at(s, p, k) = "ST" + QByteArray::number(k);
        for (int n = 1; n <= k; ++n) {
            x.SlotNo.at(s, p, k, n) = n * 4;
            x.CardName.at(s, p, k, n) = "C" + QByteArray::number(n);
            x.CardType.at(s, p, k, n) = n % 14;
        }
        x.SlotNo.at(s, p, k, k + 1) = -1;
    }
}

QByteArray write(const Exchange &x, const RingControls &rings, QString *error = nullptr)
{
    ExchangeWriter w;
    QByteArray out;
    const bool ok = w.write(x, rings, &out);
    if (error)
        *error = w.errorString();
    return ok ? out : QByteArray();
}

bool read(const QByteArray &bytes, Exchange &x, QString *error = nullptr)
{
    ExchangeReader r;
    const bool ok = r.read(bytes, x);
    if (error)
        *error = QStringLiteral("%1:%2: %3").arg(r.errorLine()).arg(r.errorColumn()).arg(r.errorString());
    return ok;
}

// A shelf's cards as "slot name type; ...", up to the end of the list.
QByteArray shelfText(const Exchange &x, int s, int p, int shelf)
{
    QList<QByteArray> parts;
    for (int n = 1; n <= CardsPerShelf && !(x.SlotNo(s, p, shelf, n) == -1); ++n)
        parts << x.SlotNo(s, p, shelf, n).text() + ' ' + x.CardName(s, p, shelf, n).text() + ' ' + x.CardType(s, p, shelf, n).text();
    return parts.join("; ");
}

// Root passes folder permissions: the save runs in a child that is nobody.
bool saveAsNobody(const QString &path, QByteArrayView bytes)
{
    const pid_t child = ::fork();
    if (child == 0) {
        const bool dropped = ::setgroups(0, nullptr) == 0 && ::setgid(65534) == 0 && ::setuid(65534) == 0;
        ::_exit(dropped && Files::writeFileSafely(path, bytes, nullptr) ? 0 : 1);
    }
    int status = 0;
    return child > 0 && ::waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

struct Run
{
    int exitCode = -1;
    QByteArray out, err;
};

// Runs a built tool in the golden files' folder, so that reports name the files as given.
Run run(const QString &tool, const QStringList &args, QProcess::ProcessChannelMode mode = QProcess::SeparateChannels)
{
    QProcess p;
    p.setProcessChannelMode(mode);
    p.setWorkingDirectory(QFINDTESTDATA("data/kvx-check"));
    p.start(qEnvironmentVariable("KVX_BUILD_DIR", QCoreApplication::applicationDirPath() + "/..") + '/' + tool, args);
    Run r;
    if (p.waitForFinished(20000) && p.exitStatus() == QProcess::NormalExit)
        r = {p.exitCode(), p.readAllStandardOutput(), mode == QProcess::MergedChannels ? QByteArray() : p.readAllStandardError()};
    return r;
}

void addGoldenRows()
{
    QTest::addColumn<QString>("name");
    const QStringList cases = QDir(QFINDTESTDATA("data/kvx-check")).entryList({"*.kvx"}, QDir::Files, QDir::Name);
    QVERIFY(cases.size() >= 10);
    for (const QString &file : cases)
        QTest::newRow(qPrintable(file)) << file.chopped(4);
}

} // namespace

class TestDataFile : public QObject
{
    Q_OBJECT

private slots:
    // Fields and loose values.
    void splitsFields_data()
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

    void splitsFields()
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

    void fieldKinds_data()
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

    // Both readers of a field, the general one and the data file's shorter way.
    void fieldKinds()
    {
        QFETCH(QByteArray, input);
        QFETCH(int, kind);
        QFETCH(QByteArray, text);
        FieldReader in(input), fast(input);
        int line = 0, column = 0;
        const Loose v = in.readLoose(), w = fast.nextLoose(&line, &column);
        for (const Loose &got : {v, w}) {
            QCOMPARE(int(got.isEmpty() ? 0 : got.isNumber() ? 1 : 2), kind);
            QCOMPARE(got.text(), text);
        }
        QCOMPARE(w.isNumber() && std::signbit(w.number()), v.isNumber() && std::signbit(v.number()));
    }

    void refusesWhatIsNotText_data()
    {
        QTest::addColumn<QByteArray>("input");
        QTest::newRow("NUL byte") << QByteArray("ab\0cd,", 6);
        QTest::newRow("escape") << QByteArray("a\x1b,");
        QTest::newRow("control byte in quotes") << QByteArray("\"a\x01z\",");
        QTest::newRow("10 MB line") << QByteArray(10 * 1024 * 1024, 'A');
    }

    void refusesWhatIsNotText()
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

    void tracksLineAndColumn_data()
    {
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<QList<int>>("where"); // line and column of each field; -1 where refused
        QTest::newRow("commas, quotes, empty line") << QByteArray("a,b\r\n\"x,y\",c\r\n\r\nd") << QList<int>{1, 1, 1, 2, 2, 1, 2, 2, 3, 1, 4, 1};
        QTest::newRow("lone LF and lone CR") << QByteArray("a\nb\rc,d\r\n") << QList<int>{1, 1, 2, 1, 3, 1, 3, 2};
        QTest::newRow("byte order mark and blanks") << QByteArray("\xEF\xBB\xBF a , b") << QList<int>{1, 1, 1, 2};
        QTest::newRow("quote not read across the line end") << QByteArray("\"SITE,1,1,2\r\nUC-01\r\n") << QList<int>{-1};
    }

    void tracksLineAndColumn()
    {
        QFETCH(QByteArray, input);
        QFETCH(QList<int>, where);
        // The general reader and the data file's shorter way.
        for (const bool fast : {false, true}) {
            FieldReader in(input);
            QList<int> got;
            try {
                while (!in.atEnd()) {
                    Field f;
                    if (fast)
                        in.nextLoose(&f.line, &f.column);
                    else
                        f = in.next();
                    got << f.line << f.column;
                }
            } catch (const PlatformError &) {
                got << -1;
            }
            QCOMPARE(got, where);
        }
    }

    void readsWholeNumbers_data()
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

    void readsWholeNumbers()
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

    void printForms_data()
    {
        QTest::addColumn<Loose>("value");
        QTest::addColumn<QByteArray>("printed");
        QTest::addColumn<QByteArray>("joined");
        QTest::newRow("positive") << Loose(255) << QByteArray(" 255 ") << QByteArray("255");
        QTest::newRow("zero") << Loose(0) << QByteArray(" 0 ") << QByteArray("0");
        QTest::newRow("minus one") << Loose(-1) << QByteArray("-1 ") << QByteArray("-1");
        QTest::newRow("fraction") << Loose(2.5) << QByteArray(" 2.5 ") << QByteArray("2.5");
        QTest::newRow("large, no exponent") << Loose(1e20) << QByteArray(" 100000000000000000000 ") << QByteArray("100000000000000000000");
        QTest::newRow("text unchanged") << Loose("12") << QByteArray("12") << QByteArray("12");
        QTest::newRow("six-byte text") << Loose("UC-101") << QByteArray("UC-101") << QByteArray("UC-101");
        QTest::newRow("seven-byte text") << Loose(QByteArray("ACTUR5A")) << QByteArray("ACTUR5A") << QByteArray("ACTUR5A");
        QTest::newRow("empty text") << Loose("") << QByteArray() << QByteArray();
        QTest::newRow("empty prints nothing") << Loose() << QByteArray() << QByteArray();
    }

    void printForms()
    {
        QFETCH(Loose, value);
        QFETCH(QByteArray, printed);
        QFETCH(QByteArray, joined);
        QCOMPARE(value.printForm(), printed);
        QCOMPARE(value.text(), joined);
        QVERIFY(value.isNumber() || (value == joined && value.sameText(Loose(joined))));
        if (value.isNumber()) // whatever is printed reads back as the same value
            QCOMPARE(FieldReader(printed + ",").readLoose().number(), value.number());
    }

    void comparisons()
    {
        QVERIFY(Loose() == "" && Loose() == 0 && !(Loose() == -1)); // empty is both "" and 0
        QVERIFY(Loose("12") == 12 && Loose("-1") == -1); // a typed "-1" ends a list like -1
        QVERIFY(Loose(5) == "5" && !(Loose("UC-01") == "uc-01"));
        QVERIFY_THROWS_EXCEPTION(PlatformError, (void)(Loose("ABC") == -1));
        QVERIFY(!Loose("ABC").readsAsNumber());
    }

    // A text is shared by the copies of a value and by the reader that read it;
    // each copy lives on its own.
    void valuesOutliveWhatTheyWereCopiedFrom()
    {
        QList<Loose> read;
        {
            FieldReader in(QByteArray("UC-101,UC-101,\"UC-101\",UD-102,7\r\n"));
            int line = 0, column = 0;
            for (int i = 0; i < 5; ++i)
                read << in.nextLoose(&line, &column);
        }
        QCOMPARE(read[2].text(), QByteArray("UC-101"));
        QVERIFY(read[4].isNumber());
        Loose copy = read[0];
        read[0] = Loose(5);
        read[1] = read[3];
        QCOMPARE(copy.text(), QByteArray("UC-101"));
        QCOMPARE(read[1].text(), QByteArray("UD-102"));
        Loose &same = copy;
        copy = same;
        Loose moved = std::move(copy);
        QVERIFY(copy.isEmpty()); // NOLINT(bugprone-use-after-move): a moved-from value is empty
        copy = Loose("again");
        QCOMPARE(moved.text(), QByteArray("UC-101"));
    }

    void everyNumberStaysANumber_data()
    {
        QTest::addColumn<double>("value");
        using Lim = std::numeric_limits<double>;
        QTest::newRow("zero") << 0.0;
        QTest::newRow("minus zero") << -0.0;
        QTest::newRow("largest") << Lim::max();
        QTest::newRow("lowest") << Lim::lowest();
        QTest::newRow("tiniest") << Lim::denorm_min();
        QTest::newRow("infinity") << Lim::infinity();
        QTest::newRow("minus infinity") << -Lim::infinity();
        QTest::newRow("quiet NaN") << Lim::quiet_NaN();
        QTest::newRow("NaN of 0/0") << std::bit_cast<double>(0xFFF8'0000'0000'0000ull);
        // NaNs whose bits are those an empty value or a text is kept in.
        QTest::newRow("NaN like a text") << std::bit_cast<double>(0xFFF7'0000'1234'5678ull);
        QTest::newRow("NaN like a short text") << std::bit_cast<double>(0xFFFB'0000'0041'4243ull);
        QTest::newRow("NaN like the empty value") << std::bit_cast<double>(0xFFF1'0000'0000'0000ull);
        QTest::newRow("signalling NaN") << std::bit_cast<double>(0x7FF0'0000'0000'0001ull);
    }

    // A value keeps its number in the bits of a double and marks an empty value
    // and a text with bit patterns of NaNs: no number may be taken for either.
    void everyNumberStaysANumber()
    {
        QFETCH(double, value);
        const Loose v(value);
        QVERIFY(v.isNumber() && !v.isEmpty() && !v.isText() && v.textBytes().isEmpty());
        QVERIFY(std::isnan(value) ? std::isnan(v.number()) : v.number() == value);
        if (value == 0)
            QCOMPARE(v.text(), QByteArray("0"));
        Loose copy = v;
        Loose moved = std::move(copy);
        QVERIFY(moved.isNumber());
        QVERIFY(copy.isEmpty()); // NOLINT(bugprone-use-after-move): a moved-from value is empty
    }

    void tableBoundsAndStorage()
    {
        LooseTable t{3, 4, 5, 35};
        QVERIFY(t(3, 4, 5, 35).isEmpty());
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
        LooseTable huge{30000, 30000, 5, 35}; // holding nothing, it costs nothing
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

    void tableGrowKeepsContents()
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
    void tableCopiesAndMovesKeepValues()
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

    // Reading and writing exchanges the golden files cannot show.
    void ringCountRules_data()
    {
        QTest::addColumn<bool>("tick3");
        QTest::addColumn<bool>("tick4");
        QTest::addColumn<int>("noOfMas");
        QTest::addColumn<QStringList>("records");
        QTest::newRow("two") << false << false << 2 << QStringList{"MAS2"};
        QTest::newRow("MAS3 ticked") << true << false << 3 << QStringList{"MAS2", "MAS3"};
        QTest::newRow("both ticked") << true << true << 4 << QStringList{"MAS2", "MAS3", "MAS4"};
        QTest::newRow("MAS4 alone") << false << true << 2 << QStringList{"MAS2", "MAS4"};
    }

    void ringCountRules()
    {
        QFETCH(bool, tick3);
        QFETCH(bool, tick4);
        QFETCH(int, noOfMas);
        QFETCH(QStringList, records);
        TypedRings rings;
        rings.ticked3 = tick3;
        rings.ticked4 = tick4;
        rings.texts[3] = "UC-01";
        rings.texts[4] = "UD-02";
        ExchangeWriter w;
        QByteArray bytes;
        int mas = 0;
        QVERIFY(w.write(room(1, 1), rings, &bytes, &mas));
        QCOMPARE(mas, noOfMas);
        QVERIFY(bytes.startsWith("\"TEST\",1,1," + QByteArray::number(noOfMas) + "\r\n"));
        for (const char *ring : {"MAS3", "MAS4"})
            QCOMPARE(bytes.contains(QByteArray("\r\n") + ring + "\r\n"), records.contains(QLatin1String(ring)));
        // The reader takes as many MAS rings as the header says and ignores the rest.
        Exchange back;
        QVERIFY(read(bytes, back));
        QCOMPARE(back.Mas3Ring.isSized(), noOfMas >= 3);
        QCOMPARE(back.Mas4Ring.isSized(), noOfMas == 4);
        QVERIFY(noOfMas < 3 || back.Mas3Ring(1) == "UC-01");
    }

    // What the editor can leave in the model but no file can hold. A row whose
    // mention starts with "\r\n" is written, and the mention is in what it wrote.
    void writerRefuses_data()
    {
        QTest::addColumn<QString>("what");
        QTest::addColumn<QString>("mention");
        QTest::newRow("comma in a card name") << "card" << "shelf 2's card 1 of rack UC-01";
        QTest::newRow("line end in a station") << "station" << "shelf 3 of rack UC-01";
        QTest::newRow("quote in the site name") << "site" << "site name";
        QTest::newRow("value opening with a quote") << "quoted" << "card name";
        QTest::newRow("slot that is not a number") << "slot" << "\"ABC\"";
        QTest::newRow("rack name of blanks") << "blank rack" << "shoot 1, place 2";
        QTest::newRow("fifteen ring members") << "ring15" << "MAS1";
        QTest::newRow("star as a ring member") << "ringstar" << "MIS";
        QTest::newRow("list without its end marker ends") << "no end" << "\r\n 4 ,C1, 1 ,-1 \r\n 4 ,C1, 1 , 8 ,C2, 2 ,-1 \r\n";
        QTest::newRow("slot typed as text") << "typed slot" << "\r\n12,ACALA,2, 8 ,C2, 2 ,-1 \r\n";
    }

    void writerRefuses()
    {
        QFETCH(QString, what);
        QFETCH(QString, mention);
        Exchange x = room(1, 2);
        addRack(x, 1, 1, "UC-01");
        TypedRings rings;
        if (what == "card")
            x.CardName.at(1, 1, 2, 1) = "AC,AJA";
        else if (what == "station")
            x.StationName.at(1, 1, 3) = "SM\r\nC";
        else if (what == "site")
            x.SiteName = "THE \"BIG\" ONE";
        else if (what == "quoted")
            x.CardName.at(1, 1, 1, 1) = " \"ACALA";
        else if (what == "slot")
            x.SlotNo.at(1, 1, 1, 1) = "ABC";
        else if (what == "blank rack")
            x.RackName.at(1, 2) = "   ";
        else if (what == "ring15")
            rings.texts[1] = "A,B,C,D,E,F,G,H,I,J,K,L,M,N,O";
        else if (what == "ringstar")
            rings.texts[0] = "UC-01,*";
        else if (what == "no end")
            x.SlotNo.at(1, 1, 2, 3) = Loose(); // the list ends at its last card all the same
        else if (what == "typed slot")
            x.SlotNo.at(1, 1, 2, 1) = "12", x.CardName.at(1, 1, 2, 1) = "ACALA", x.CardType.at(1, 1, 2, 1) = "2";
        QString error;
        const QByteArray bytes = write(x, rings, &error);
        if (mention.startsWith("\r\n")) {
            QVERIFY2(bytes.contains(mention.toLatin1()), bytes.constData());
            Exchange back;
            QVERIFY(read(bytes, back) && back.SlotNo(1, 1, 2, 1).isNumber());
            return;
        }
        QVERIFY(bytes.isEmpty());
        QVERIFY2(error.contains(mention), qPrintable(error));
    }

    // Files no golden file should hold: a room claimed out of all proportion and
    // a line of 10 MB. Nothing out of proportion is allocated for them.
    void brokenFiles_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("expected");
        QTest::newRow("hundred thousand squared") << QByteArray("\"X\",100000,100000,2\r\n,,,\r\n") << "number of shoots";
        QTest::newRow("more places than bytes") << QByteArray("\"X\",30000,30000,2\r\n,,,\r\n") << "room that fits";
        QTest::newRow("10 MB line") << QByteArray("\"X\",1,1,2\r\n" + QByteArray(10 << 20, 'U')) << "rack name at shoot 1";
        // Rooms of 2,000 racks read up to the rings, which are missing.
        const auto room = [](const QByteArray &record) {
            return "\"X\",40,50,2\n" + QByteArray("A,").repeated(49).append("A\n").repeated(40) + record.repeated(2000);
        };
        QTest::newRow("room of empty shelves") << room("A\n,,,,\n-1\n-1\n-1\n-1\n-1\n") << "name of ring MIS";
        QTest::newRow("room of stations and cards")
            << room("A\nSMXC,SMX,,SMX,SMX\n 4 ,RCID4, 3 , 8 ,ACALA, 2 ,-1 \n-1 \n 5 ,PWR, 1 ,-1 \n-1 \n-1 \n")
            << "name of ring MIS";
    }

    void brokenFiles()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, expected);
        Exchange x;
        QString error;
        QVERIFY(!read(bytes, x, &error));
        QVERIFY2(error.contains(expected), qPrintable(error));
        // What was read is held in proportion to the file, whatever room it claims.
        qsizetype held = 0;
        for (const LooseTable *t : {&x.RackName, &x.StationName, &x.SlotNo, &x.CardName, &x.CardType})
            held += t->heldBytes();
        QVERIFY2(held <= 3 * bytes.size() + 4096, qPrintable(QString::number(held)));
    }

    void saveIsAtomic()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("room.kvx");
        QVERIFY(writeAll(path, "OLD CONTENT"));
        static_cast<Exchange &>(ModMain) = room(1, 1);
        ModMain.CardName.at(1, 1, 1, 1) = "A,B"; // not reachable: no rack there
        const struct
        {
            const char *site, *file;
            int error;
        } saves[] = {{"BAD \"NAME\"", "room.kvx", ErrBadData}, {"GOOD", "no/such/folder/room.kvx", ErrPathAccess}, {"GOOD", "room.kvx", 0}};
        for (const auto &save : saves) {
            ModMain.SiteName = save.site;
            ModMain.SaveFile = dir.filePath(save.file);
            try {
                SaveExchange();
                QCOMPARE(0, save.error);
            } catch (const PlatformError &e) {
                QCOMPARE(e.number(), save.error);
                QVERIFY(save.error != ErrPathAccess || e.description().startsWith("Cannot write file "));
                QCOMPARE(readAll(path), QByteArray("OLD CONTENT"));
            }
            QVERIFY(!Files::IsOpen(ModMain.SaveFileNo));
        }
        QVERIFY(readAll(path).startsWith("\"GOOD\",1,1,2\r\n"));
    }

    void saveKeepsTheFile_data()
    {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<QString>("reason"); // empty: the save goes through
        QTest::newRow("full disk") << "full" << "No space left on device";
        QTest::newRow("another owner's file on a full disk") << "full owner" << "No space left on device";
        QTest::newRow("full device") << "device" << "No space left on device";
        QTest::newRow("mode 0444") << "0444" << "";
        QTest::newRow("another owner's file") << "owner" << "";
        QTest::newRow("two hard links") << "links" << "";
        QTest::newRow("symbolic link") << "symlink" << "";
        QTest::newRow("folder the user cannot write") << "nobody" << "";
        QTest::newRow("FIFO") << "fifo" << "Not a regular file";
        QTest::newRow("folder") << "folder" << "Not a regular file";
    }

    // The old file stays whole when a save fails; a save keeps the file's mode,
    // owner, group and links, and leaves no other file behind.
    void saveKeepsTheFile()
    {
        QFETCH(QString, setup);
        QFETCH(QString, reason);
        const bool root = ::geteuid() == 0;
        if (!root && (setup.contains("owner") || setup == "nobody"))
            QSKIP("needs root to give files away");
        QTemporaryDir dir;
        QCOMPARE(::chmod(QFile::encodeName(dir.path()), 0755), 0); // for nobody to reach
        const QString folder = dir.filePath("room");
        QVERIFY(QDir().mkdir(folder));
        std::optional<test::TinyDisk> disk;
        if (setup.contains("full")) {
            disk.emplace(folder);
            if (!disk->mounted())
                QSKIP("cannot mount a tmpfs here");
        }
        // The name saved to, and the file it writes.
        const QString path = setup == "device" ? test::fullDevice(folder + "/room.kvx") : folder + "/room.kvx";
        const QString file = setup == "symlink" ? folder + "/real.kvx" : path;
        const QByteArray old = "OLD CONTENT\r\n", fresh(8192, 'N');
        if (setup == "device")
            QVERIFY(!path.isEmpty());
        else if (setup == "fifo")
            QCOMPARE(::mkfifo(QFile::encodeName(path), 0644), 0);
        else if (setup == "folder")
            QVERIFY(QDir().mkdir(path));
        else
            QVERIFY(writeAll(file, old));
        if (setup == "symlink")
            QVERIFY(QFile::link("real.kvx", path));
        if (setup == "links")
            QCOMPARE(::link(QFile::encodeName(path), QFile::encodeName(dir.filePath("other.kvx"))), 0);
        if (setup == "0444") // and, where it can be given, a group that is not the saver's
            QVERIFY(::chmod(QFile::encodeName(path), 0444) == 0 && (!root || ::chown(QFile::encodeName(path), 0, 65534) == 0));
        if (setup.contains("owner") || setup == "nobody")
            QCOMPARE(::chown(QFile::encodeName(path), 65534, 65534), 0);
        if (disk)
            QVERIFY(disk->fill());
        const QStringList entries = QDir(folder).entryList(QDir::AllEntries | QDir::System | QDir::Hidden);
        struct stat before, after;
        QCOMPARE(::lstat(QFile::encodeName(file), &before), 0);

        QString error;
        const bool saved = setup == "nobody" ? saveAsNobody(path, fresh) : Files::writeFileSafely(path, fresh, &error);
        QCOMPARE(error, reason.isEmpty() ? QString() : "Cannot write file " + QDir::toNativeSeparators(path) + ": " + reason);
        QCOMPARE(saved, reason.isEmpty());
        QCOMPARE(::lstat(QFile::encodeName(file), &after), 0);
        if (S_ISREG(before.st_mode))
            QCOMPARE(readAll(file), saved ? fresh : old);
        QCOMPARE(after.st_mode, before.st_mode);
        QCOMPARE(after.st_uid, before.st_uid);
        QCOMPARE(after.st_gid, before.st_gid);
        QCOMPARE(after.st_nlink, before.st_nlink);
        if (setup == "links")
            QCOMPARE(readAll(dir.filePath("other.kvx")), fresh);
        QCOMPARE(QFileInfo(path).isSymLink(), setup == "symlink");
        QCOMPARE(QDir(folder).entryList(QDir::AllEntries | QDir::System | QDir::Hidden), entries);
    }

    // kvx-check on the golden files.
    void check_data() { addGoldenRows(); }
    // NAME.check: "exit N", then the lines kvx-check prints; --normalize
    // prints the same report for a file that does not load, NAME.normalize-error
    // for one that cannot be saved, else NAME.normalized or NAME.kvx itself.
    void golden_data() { addGoldenRows(); }
    void golden()
    {
        QFETCH(QString, name);
        const QString base = QFINDTESTDATA("data/kvx-check") + '/' + name;
        const QByteArray checked = readAll(base + ".check");
        QVERIFY2(checked.startsWith("exit "), "every case needs its .check file");
        const QByteArray report = checked.mid(checked.indexOf('\n') + 1);
        const Run r = run("kvx-check", {name + ".kvx"}, QProcess::MergedChannels);
        QCOMPARE(r.exitCode, checked.mid(5, checked.indexOf('\n') - 5).toInt());
        QCOMPARE(QString::fromUtf8(r.out), QString::fromUtf8(report));

        const Run n = run("kvx-check", {"--normalize", name + ".kvx"});
        const bool cannotSave = QFile::exists(base + ".normalize-error");
        if (cannotSave || r.exitCode != 0) {
            QCOMPARE(n.exitCode, 1);
            QVERIFY(n.out.isEmpty());
            QCOMPARE(QString::fromUtf8(n.err), QString::fromUtf8(cannotSave ? readAll(base + ".normalize-error") : report));
            return;
        }
        QCOMPARE(n.exitCode, 0);
        QCOMPARE(n.out, readAll(QFile::exists(base + ".normalized") ? base + ".normalized" : base + ".kvx"));
        // What Save writes, the next Save writes again unchanged.
        QTemporaryDir dir;
        QVERIFY(writeAll(dir.filePath("again.kvx"), n.out));
        const Run again = run("kvx-check", {"--normalize", dir.filePath("again.kvx")});
        QCOMPARE(again.exitCode, 0);
        QCOMPARE(again.out, n.out);
    }

    // kvx-check's exit code and streams for a command line. "@fifo" and
    // "@folder" name a FIFO and a folder made for the row: refused at once,
    // for nothing may wait on a FIFO.
    void commandLine_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QByteArray>("out");
        QTest::addColumn<QByteArray>("err"); // all of stderr; a part of it for a usage error
        const QByteArray usage = "usage: kvx-check FILE...\n", none;
        QTest::newRow("no file") << QStringList() << 2 << none << usage;
        QTest::newRow("--normalize without a file") << QStringList{"--normalize"} << 2 << none << usage;
        QTest::newRow("--normalize with two files") << QStringList{"--normalize", "example.kvx", "blanks.kvx"} << 2 << none << usage;
        QTest::newRow("unknown option") << QStringList{"--fix", "example.kvx"} << 2 << none << usage;
        QTest::newRow("several files, one bad") << QStringList{"example.kvx", "bad-slot.kvx", "full-shelf.kvx"} << 1
                                                << QByteArray("example.kvx: ok (1 shoots x 2 places, 1 racks, 2 MAS rings)\n"
                                                              "full-shelf.kvx: ok (1 shoots x 2 places, 1 racks, 2 MAS rings)\n")
                                                << readAll(QFINDTESTDATA("data/kvx-check/bad-slot.check")).mid(7);
        QTest::newRow("missing file") << QStringList{"missing.kvx"} << 1 << none << QByteArray("missing.kvx: cannot open: No such file or directory\n");
        QTest::newRow("FIFO") << QStringList{"@fifo"} << 1 << none << QByteArray("@fifo: cannot open: Not a regular file\n");
        QTest::newRow("FIFO normalized") << QStringList{"--normalize", "@fifo"} << 1 << none << QByteArray("@fifo: cannot open: Not a regular file\n");
        QTest::newRow("folder normalized") << QStringList{"--normalize", "@folder"} << 1 << none << QByteArray("@folder: cannot open: Not a regular file\n");
    }

    void commandLine()
    {
        QFETCH(QStringList, args);
        QFETCH(int, exitCode);
        QFETCH(QByteArray, out);
        QFETCH(QByteArray, err);
        QTemporaryDir dir;
        QCOMPARE(::mkfifo(QFile::encodeName(dir.filePath("@fifo")), 0644), 0);
        QVERIFY(QDir().mkdir(dir.filePath("@folder")));
        args.replaceInStrings("@", dir.path() + "/@");
        err.replace("@", QFile::encodeName(dir.path()) + "/@");
        const Run r = run("kvx-check", args);
        QCOMPARE(r.exitCode, exitCode);
        QCOMPARE(r.out, out);
        QVERIFY2(exitCode == 2 ? r.err.contains(err) : r.err == err, r.err.constData());
    }

    // The exchange a new user sees first is what make-sample builds from the
    // templates; it loads without a warning and saves unchanged.
    void sample()
    {
        const QByteArray bytes = readAll(QFINDTESTDATA("../app/config.kvx"));
        QTemporaryDir dir;
        QVERIFY(!bytes.isEmpty());
        QCOMPARE(run("make-sample", {dir.filePath("config.kvx")}).exitCode, 0);
        QCOMPARE(readAll(dir.filePath("config.kvx")), bytes);
        Exchange x;
        ExchangeReader reader;
        int mismatches = 0;
        reader.setNameMismatchHandler([&](const QByteArray &, int, int, int) { ++mismatches; });
        QVERIFY2(reader.read(bytes, x), qPrintable(reader.errorString()));
        QCOMPARE(mismatches, 0);
        QCOMPARE(write(x, ModelRingControls(x)), bytes);
    }

    // A template inserted into a place by way of the template file, then saved in
    // a data file and loaded again: every station and card as the template has it.
    void templatesThroughTheFile()
    {
        for (const RackTemplate &t : rackTemplates()) {
            Exchange x = room(1, 2);
            x.RackName.at(1, 2) = t.family;
            FieldReader in(templateFileText(t));
            readRackTemplate(in, x, 1, 2);
            QVERIFY2(in.atEnd(), t.family);
            Exchange back;
            QVERIFY(read(write(x, ModelRingControls(x)), back));
            for (int k = 1; k <= ShelvesPerRack; ++k) {
                QList<QByteArray> cards;
                for (const TemplateCard &c : t.shelves[size_t(k - 1)])
                    cards << QByteArray::number(c.slot) + ' ' + c.name + ' ' + QByteArray::number(c.type);
                for (const Exchange *e : {&x, &back}) {
                    QCOMPARE(e->StationName(1, 2, k).text(), QByteArray(t.stations[size_t(k - 1)]));
                    QCOMPARE(shelfText(*e, 1, 2, k), cards.join("; "));
                    QVERIFY(e->SlotNo(1, 2, k, int(cards.size()) + 1) == -1);
                    QVERIFY(cards.isEmpty() || (e->SlotNo(1, 2, k, 1).isNumber() && e->CardName(1, 2, k, 1).isText()));
                }
            }
        }
    }

    // Every name the Insert menu offers gets the template of its entry's family;
    // the entries without names get none.
    void menuNamesPickOneTemplate()
    {
        const QStringList names = rackMenuCaptions();
        QCOMPARE(QSet<QString>(names.begin(), names.end()).size(), names.size());
        for (const RackMenuEntry &entry : rackMenu()) {
            QVERIFY2(!entry.names.isEmpty() || !templateForRackName(entry.caption), entry.caption);
            QCOMPARE(entry.submenu, entry.names.size() > 1);
            for (const QString &name : entry.names) {
                const RackTemplate *t = templateForRackName(name.toLatin1());
                QVERIFY2(t && QByteArray(t->family) == entry.caption, qPrintable(name));
            }
        }
    }

    void nameTests_data()
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

    void nameTests()
    {
        QFETCH(QByteArray, name);
        QFETCH(QByteArray, family);
        const RackTemplate *t = templateForRackName(name);
        QCOMPARE(t ? QByteArray(t->family) : QByteArray(), family);
    }

    // The grid can outgrow the tables of the last load; nothing is written then.
    void placeOutsideTablesWritesNothing()
    {
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
};

QTEST_GUILESS_MAIN(TestDataFile)
#include "test_datafile.moc"
