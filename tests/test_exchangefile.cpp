// Reading and writing data files: the example file byte for byte, full
// shelves running on, rings, and everything the writer must refuse.
#include "app/exchangefile.h"
#include "platform/errors.h"
#include "platform/files.h"
#include "support/testhooks.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

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

void fillShelf(Exchange &x, int s, int p, int shelf, int cards)
{
    for (int n = 1; n <= cards; ++n) {
        x.SlotNo.at(s, p, shelf, n) = n * 4;
        x.CardName.at(s, p, shelf, n) = QByteArray("C") + QByteArray::number(n);
        x.CardType.at(s, p, shelf, n) = n % 14;
    }
    if (cards < CardsPerShelf)
        x.SlotNo.at(s, p, shelf, cards + 1) = -1;
}

void addRack(Exchange &x, int s, int p, const QByteArray &name, int fullShelf = 0)
{
    x.RackName.at(s, p) = name;
    for (int k = 1; k <= 5; ++k) {
        x.StationName.at(s, p, k) = "ST" + QByteArray::number(k);
        fillShelf(x, s, p, k, k == fullShelf ? 35 : k);
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

QByteArray write(const Exchange &x)
{
    return write(x, ModelRingControls(x));
}

bool read(const QByteArray &bytes, Exchange &x, QString *error = nullptr)
{
    ExchangeReader r;
    const bool ok = r.read(bytes, x);
    if (error)
        *error = QStringLiteral("%1:%2: %3").arg(r.errorLine()).arg(r.errorColumn()).arg(r.errorString());
    return ok;
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

bool sameCards(const Exchange &a, const Exchange &b, int s, int p, int shelf)
{
    for (int n = 1; n <= CardsPerShelf; ++n) {
        if (!a.SlotNo(s, p, shelf, n).sameText(b.SlotNo(s, p, shelf, n))
            || !a.CardName(s, p, shelf, n).sameText(b.CardName(s, p, shelf, n))
            || !a.CardType(s, p, shelf, n).sameText(b.CardType(s, p, shelf, n)))
            return false;
        if (a.SlotNo(s, p, shelf, n) == -1)
            break;
    }
    return true;
}

} // namespace

class TestExchangeFile : public QObject
{
    Q_OBJECT

private slots:
    void exampleRoundTrip();
    void fullShelfRunsOn_data();
    void fullShelfRunsOn();
    void shelfEndsAtFirstEmpty();
    void emptySlotInsideListIsSkipped();
    void slotTextAndNumberForms();
    void rings();
    void ringCountRules_data();
    void ringCountRules();
    void nameMismatchGoesOn();
    void writerRefuses_data();
    void writerRefuses();
    void brokenFiles_data();
    void brokenFiles();
    void saveIsAtomic();
    void saveKeepsTheFile_data();
    void saveKeepsTheFile();
};

void TestExchangeFile::exampleRoundTrip()
{
    const QByteArray bytes = readAll(QFINDTESTDATA("data/example.kvx"));
    QVERIFY(!bytes.isEmpty());
    Exchange x;
    QString error;
    QVERIFY2(read(bytes, x, &error), qPrintable(error));
    QCOMPARE(x.SiteName.text(), QByteArray("DEMO SITE"));
    QCOMPARE(x.shoots(), 1);
    QCOMPARE(x.racks(), 2);
    QVERIFY(x.RackName(1, 2) == "");
    QCOMPARE(x.StationName(1, 1, 2).text(), QByteArray("SMT"));
    QVERIFY(x.StationName(1, 1, 3) == "");
    QCOMPARE(x.SlotNo(1, 1, 1, 2).number(), 9.0);
    QVERIFY(x.SlotNo(1, 1, 1, 3) == -1);
    QVERIFY(x.SlotNo(1, 1, 2, 1) == -1); // a shelf with no cards
    QCOMPARE(x.MisColor, 255);
    QCOMPARE(x.MasColor(1).number(), 65280.0);
    QCOMPARE(x.ring(2)(1).text(), QByteArray());
    QVERIFY(x.ring(2)(2) == "*");
    QVERIFY(!x.Mas3Ring.isSized());
    QCOMPARE(write(x), bytes);
}

void TestExchangeFile::fullShelfRunsOn_data()
{
    QTest::addColumn<int>("shelf");
    QTest::addColumn<bool>("lastRack");
    for (int shelf = 1; shelf <= 5; ++shelf) {
        QTest::addRow("shelf %d, another rack follows", shelf) << shelf << false;
        QTest::addRow("shelf %d of the last rack, rings follow", shelf) << shelf << true;
    }
}

void TestExchangeFile::fullShelfRunsOn()
{
    QFETCH(int, shelf);
    QFETCH(bool, lastRack);
    Exchange x = room(1, 2);
    addRack(x, 1, lastRack ? 2 : 1, "UC-01", shelf);
    addRack(x, 1, lastRack ? 1 : 2, "UD-02");
    const QByteArray bytes = write(x);
    // The full shelf has neither -1 nor a line end: its last card runs on.
    const QByteArray last = " 140 ,C35, 7 ,";
    const qsizetype at = bytes.indexOf(last);
    QVERIFY(at > 0);
    const QByteArray after = bytes.mid(at + last.size(), 8);
    QVERIFY2(!after.startsWith("-1") && !after.startsWith("\r\n"), after.constData());
    Exchange back;
    QString error;
    QVERIFY2(read(bytes, back, &error), qPrintable(error));
    for (int p = 1; p <= 2; ++p)
        for (int k = 1; k <= 5; ++k)
            QVERIFY(sameCards(x, back, 1, p, k));
    QCOMPARE(back.StationName(1, lastRack ? 1 : 2, 1).text(), QByteArray("ST1"));
    QCOMPARE(write(back), bytes);
}

void TestExchangeFile::shelfEndsAtFirstEmpty()
{
    Exchange x = room(1, 1);
    x.RackName.at(1, 1) = "UC-01";
    fillShelf(x, 1, 1, 1, 3);
    x.SlotNo.at(1, 1, 1, 4) = Loose(); // no end marker: the list ends at the first empty entry
    const QByteArray bytes = write(x);
    QVERIFY(bytes.contains("\r\n 4 ,C1, 1 , 8 ,C2, 2 , 12 ,C3, 3 ,-1 \r\n-1 \r\n"));
}

void TestExchangeFile::emptySlotInsideListIsSkipped()
{
    Exchange x = room(1, 1);
    x.RackName.at(1, 1) = "UC-01";
    fillShelf(x, 1, 1, 1, 3);
    x.SlotNo.at(1, 1, 1, 2) = Loose(); // an edited row left without a slot number
    Exchange back;
    QVERIFY(read(write(x), back));
    QCOMPARE(back.CardName(1, 1, 1, 1).text(), QByteArray("C1"));
    QCOMPARE(back.CardName(1, 1, 1, 2).text(), QByteArray("C3")); // not lost behind the gap
    QVERIFY(back.SlotNo(1, 1, 1, 3) == -1);
}

void TestExchangeFile::slotTextAndNumberForms()
{
    Exchange x = room(1, 1);
    x.RackName.at(1, 1) = "UC-01";
    x.SlotNo.at(1, 1, 1, 1) = "12"; // typed in the editor
    x.CardName.at(1, 1, 1, 1) = "ACALA";
    x.CardType.at(1, 1, 1, 1) = "2";
    x.SlotNo.at(1, 1, 1, 2) = 12;
    x.CardName.at(1, 1, 1, 2) = "ACALA";
    x.CardType.at(1, 1, 1, 2) = 2;
    x.SlotNo.at(1, 1, 1, 3) = -1;
    const QByteArray bytes = write(x);
    QVERIFY(bytes.contains("\r\n12,ACALA,2, 12 ,ACALA, 2 ,-1 \r\n"));
    Exchange back;
    QVERIFY(read(bytes, back));
    QCOMPARE(back.SlotNo(1, 1, 1, 1).number(), 12.0);
    QCOMPARE(back.SlotNo(1, 1, 1, 2).number(), 12.0);
}

void TestExchangeFile::rings()
{
    Exchange x = room(1, 1);
    x.MisColor = 0;
    x.MasColor.at(1) = 255;
    TypedRings rings;
    rings.texts[0] = ""; // an empty member list
    QList<QByteArray> fourteen;
    for (int i = 1; i <= 14; ++i)
        fourteen << "R" + QByteArray::number(i);
    rings.texts[1] = fourteen.join(',');
    rings.texts[2] = "UC-01,UD-02";
    const QByteArray bytes = write(x, rings);
    QVERIFY(bytes.contains("MIS\r\n,*, 0 \r\n")); // MisColor is always written
    QVERIFY(bytes.endsWith("MAS2\r\nUC-01,UD-02,*,\r\n")); // a colour never set prints nothing
    Exchange back;
    QVERIFY(read(bytes, back));
    QVERIFY(back.MisRing(1) == "");
    QVERIFY(back.MisRing(2) == "*");
    QCOMPARE(back.Mas1Ring(14).text(), QByteArray("R14"));
    QVERIFY(back.Mas1Ring(15) == "*");
    QVERIFY(back.MasColor(2).isEmpty());
    QCOMPARE(ModelRingControls(back).masText(1), rings.texts[1]);
}

void TestExchangeFile::ringCountRules_data()
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

void TestExchangeFile::ringCountRules()
{
    QFETCH(bool, tick3);
    QFETCH(bool, tick4);
    QFETCH(int, noOfMas);
    QFETCH(QStringList, records);
    Exchange x = room(1, 1);
    TypedRings rings;
    rings.ticked3 = tick3;
    rings.ticked4 = tick4;
    rings.texts[3] = "UC-01";
    rings.texts[4] = "UD-02";
    ExchangeWriter w;
    QByteArray bytes;
    int mas = 0;
    QVERIFY(w.write(x, rings, &bytes, &mas));
    QCOMPARE(mas, noOfMas);
    QVERIFY(bytes.startsWith("\"TEST\",1,1," + QByteArray::number(noOfMas) + "\r\n"));
    for (const char *ring : {"MAS3", "MAS4"})
        QCOMPARE(bytes.contains(QByteArray("\r\n") + ring + "\r\n"), records.contains(QLatin1String(ring)));
    // The reader takes as many MAS rings as the header says and ignores the rest.
    Exchange back;
    QVERIFY(read(bytes, back));
    QCOMPARE(back.Mas3Ring.isSized(), noOfMas >= 3);
    QCOMPARE(back.Mas4Ring.isSized(), noOfMas == 4);
    if (noOfMas >= 3)
        QCOMPARE(back.Mas3Ring(1).text(), QByteArray("UC-01"));
}

void TestExchangeFile::nameMismatchGoesOn()
{
    QByteArray bytes = readAll(QFINDTESTDATA("data/example.kvx"));
    bytes.replace("\r\nUC-01\r\nSMC", "\r\nUC-99\r\nSMC");
    ExchangeReader r;
    QList<int> calls;
    r.setNameMismatchHandler([&](const QByteArray &found, int s, int p, int line) {
        QCOMPARE(found, QByteArray("UC-99"));
        calls << s << p << line;
    });
    Exchange x;
    QVERIFY(r.read(bytes, x));
    QCOMPARE(calls, (QList<int>{1, 1, 3}));
    QCOMPARE(x.StationName(1, 1, 1).text(), QByteArray("SMC"));
}

void TestExchangeFile::writerRefuses_data()
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
}

void TestExchangeFile::writerRefuses()
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
    QString error;
    QVERIFY(write(x, rings, &error).isEmpty());
    QVERIFY2(error.contains(mention), qPrintable(error));
}

void TestExchangeFile::brokenFiles_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("expected");
    const QByteArray example = readAll(QFINDTESTDATA("data/example.kvx"));
    QTest::newRow("empty file") << QByteArray() << "site name";
    QTest::newRow("ends early") << example.left(example.indexOf("MAS1")) << "name of ring MAS1";
    QTest::newRow("slot not a number") << QByteArray(example).replace(" 9 ,", "ABC,") << "slot number of shelf 1's card 2";
    QTest::newRow("hundred thousand squared") << QByteArray("\"X\",100000,100000,2\r\n,,,\r\n") << "number of shoots";
    QTest::newRow("more places than bytes") << QByteArray("\"X\",30000,30000,2\r\n,,,\r\n") << "room that fits";
    QTest::newRow("zero shoots") << QByteArray("\"X\",0,2,2\r\n") << "number of shoots";
    QTest::newRow("negative places") << QByteArray("\"X\",1,-2,2\r\n") << "number of places";
    QTest::newRow("fraction of shoots") << QByteArray("\"X\",1.5,2,2\r\n") << "number of shoots";
    QTest::newRow("one MAS ring") << QByteArray(example).replace(",1,2,2\r\n", ",1,2,1\r\n") << "MAS rings";
    QTest::newRow("five MAS rings") << QByteArray(example).replace(",1,2,2\r\n", ",1,2,5\r\n") << "MAS rings";
    QTest::newRow("colour too large") << QByteArray(example).replace(" 255 ", " 99999999999 ") << "colour of ring MIS";
    QTest::newRow("binary") << QByteArray("\"X\",1,1,2\r\n\x01\x02\x03\r\n") << "rack name at shoot 1";
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

void TestExchangeFile::brokenFiles()
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

void TestExchangeFile::saveIsAtomic()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("room.kvx");
    QVERIFY(writeAll(path, "OLD CONTENT"));

    static_cast<Exchange &>(ModMain) = room(1, 1);
    ModMain.SaveFile = path;
    ModMain.NoOfMas = 2;
    ModMain.CardName.at(1, 1, 1, 1) = "A,B"; // not reachable: no rack there
    ModMain.SiteName = "BAD \"NAME\"";
    try {
        SaveExchange();
        QFAIL("saved a site name with a double quote");
    } catch (const PlatformError &e) {
        QCOMPARE(e.number(), int(ErrBadData));
    }
    QCOMPARE(readAll(path), QByteArray("OLD CONTENT"));

    ModMain.SiteName = "GOOD";
    ModMain.SaveFile = dir.filePath("no/such/folder/room.kvx");
    try {
        SaveExchange();
        QFAIL("saved into a folder that does not exist");
    } catch (const PlatformError &e) {
        QCOMPARE(e.number(), int(ErrPathAccess));
        QVERIFY(e.description().startsWith("Cannot write file "));
    }
    QVERIFY(!Files::IsOpen(ModMain.SaveFileNo));

    ModMain.SaveFile = path;
    SaveExchange();
    QVERIFY(readAll(path).startsWith("\"GOOD\",1,1,2\r\n"));
}

void TestExchangeFile::saveKeepsTheFile_data()
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
void TestExchangeFile::saveKeepsTheFile()
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

QTEST_GUILESS_MAIN(TestExchangeFile)
#include "test_exchangefile.moc"
