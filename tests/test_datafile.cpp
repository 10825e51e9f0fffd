// The data file where no file can show a case: loose values and their tables,
// what the editor can leave in the model but no file can hold, the ring
// controls, saving; then the golden files of kvx-check (tests/data/kvx-check),
// the sample exchange and the rack templates. A case that only loads or saves
// a file belongs in the golden files.
#include "model/exchangediff.h"
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
#include <QTemporaryDir>
#include <QTest>

#include <array>
#include <bit>
#include <cmath>
#include <functional>
#include <limits>
#include <map>
#include <tuple>

#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace kvx;

namespace {

// An exchange and its ring controls as a user left them in the editor.
struct Model : RingControls
{
    Exchange x;
    bool ticked3 = false, ticked4 = false;
    QByteArray texts[5];
    bool masTicked(int k) const override { return k == 3 ? ticked3 : ticked4; }
    QByteArray misText() const override { return texts[0]; }
    QByteArray masText(int k) const override { return texts[k]; }
};

// The golden files' example: the rack UC-01 at place 1 of 2, two cards on its first shelf.
Exchange example()
{
    Exchange x;
    ExchangeReader().read(test::readFile(QFINDTESTDATA("data/kvx-check/example.kvx")), x);
    return x;
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
Run run(const QString &tool, const QStringList &args)
{
    QProcess p;
    p.setWorkingDirectory(QFINDTESTDATA("data/kvx-check"));
    p.start(qEnvironmentVariable("KVX_BUILD_DIR", QCoreApplication::applicationDirPath() + "/..") + '/' + tool, args);
    Run r;
    if (p.waitForFinished(20000) && p.exitStatus() == QProcess::NormalExit)
        r = {p.exitCode(), p.readAllStandardOutput(), p.readAllStandardError()};
    return r;
}

using Edit = std::function<void(Model &)>;

} // namespace

Q_DECLARE_METATYPE(Edit)

class TestDataFile : public QObject
{
    Q_OBJECT

private slots:
    // Loose values: what a file cannot show.
    void looseValues()
    {
        QVERIFY(Loose() == "" && Loose() == 0 && !(Loose() == -1)); // empty is both "" and 0
        QVERIFY(Loose("12") == 12 && Loose("-1") == -1); // a typed "-1" ends a list like -1
        QVERIFY(Loose(5) == "5" && !(Loose("UC-01") == "uc-01"));
        QVERIFY_THROWS_EXCEPTION(PlatformError, (void)(Loose("ABC") == -1));
        QVERIFY(!Loose("ABC").readsAsNumber());
        QVERIFY(FieldReader("\"\",").readLoose().isText()); // a quoted empty field is the empty text
        const std::pair<Loose, const char *> forms[] = {{Loose(0), " 0 "}, {Loose(-1), "-1 "}, {Loose(255), " 255 "}, {Loose("12"), "12"}, {Loose(), ""}};
        for (const auto &[value, printed] : forms)
            QCOMPARE(value.printForm(), QByteArray(printed));
        // A text is shared by the copies of a value and by the reader that
        // read it; each copy lives on its own.
        QList<Loose> read;
        {
            FieldReader in(QByteArray("ACTUR5A,ACTUR5A,\"ACTUR5A\",ACTUR5B,7\r\n"));
            int line = 0, column = 0;
            while (!in.atEnd())
                read << in.nextLoose(&line, &column);
        }
        Loose copy = read[0];
        read[0] = Loose(5);
        read[1] = read[3];
        Loose &same = copy;
        copy = same;
        const Loose moved = std::move(copy);
        QVERIFY(copy.isEmpty()); // NOLINT(bugprone-use-after-move): a moved-from value is empty
        QCOMPARE(moved.text() + read[1].text() + read[2].text() + read[4].text(), QByteArray("ACTUR5AACTUR5BACTUR5A7"));
    }

    void everyNumberStaysANumber_data()
    {
        QTest::addColumn<double>("value");
        using Lim = std::numeric_limits<double>;
        const auto nan = [](quint64 bits) { return std::bit_cast<double>(bits); };
        // The last three are NaNs whose bits are those an empty value or a text is kept in.
        const std::pair<const char *, double> rows[] = {
            {"zero", 0.0}, {"minus zero", -0.0}, {"largest", Lim::max()}, {"lowest", Lim::lowest()}, {"tiniest", Lim::denorm_min()},
            {"infinity", Lim::infinity()}, {"minus infinity", -Lim::infinity()}, {"quiet NaN", Lim::quiet_NaN()},
            {"NaN of 0/0", nan(0xFFF8'0000'0000'0000ull)}, {"signalling NaN", nan(0x7FF0'0000'0000'0001ull)},
            {"NaN like a text", nan(0xFFF7'0000'1234'5678ull)}, {"NaN like a short text", nan(0xFFFB'0000'0041'4243ull)},
            {"NaN like the empty value", nan(0xFFF1'0000'0000'0000ull)}};
        for (const auto &[name, value] : rows)
            QTest::newRow(name) << value;
    }

    // A value keeps its number in the bits of a double and marks an empty value
    // and a text with bit patterns of NaNs: no number may be taken for either.
    void everyNumberStaysANumber()
    {
        QFETCH(double, value);
        Loose v(value);
        QVERIFY(v.isNumber() && !v.isEmpty() && !v.isText() && v.textBytes().isEmpty());
        QVERIFY(std::isnan(value) ? std::isnan(v.number()) : v.number() == value);
        QVERIFY(value != 0 || v.text() == "0");
        const Loose moved = std::move(v);
        QVERIFY(moved.isNumber() && v.isEmpty()); // NOLINT(bugprone-use-after-move): a moved-from value is empty
    }

    // Bounds and rank are checked. Written in any order, far apart or close,
    // emptied or not, every element reads as a plain map says and only the
    // values are stored: in a copy, in the table moved to, and in tables that
    // grew or shrank.
    void tables()
    {
        LooseTable t{30000, 30000, 5, 35};
        QCOMPARE(t.heldBytes(), 0); // holding nothing, it costs nothing
        QVERIFY(t(30000, 30000, 5, 35).isEmpty());
        QVERIFY_THROWS_EXCEPTION(PlatformError, t(30001, 1, 1, 1));
        QVERIFY_THROWS_EXCEPTION(PlatformError, t(1, 1, 1, 36));
        QVERIFY_THROWS_EXCEPTION(PlatformError, t(-1, 1, 1, 1));
        QVERIFY_THROWS_EXCEPTION(PlatformError, t(1, 1, 1)); // wrong rank
        QVERIFY_THROWS_EXCEPTION(PlatformError, (void)LooseTable{}(1));
        std::map<std::array<int, 4>, QByteArray> model;
        quint32 seed = 1;
        for (int i = 1; i <= 20000; ++i) {
            seed = seed * 1103515245u + 12345u;
            const std::array<int, 4> at = {int(seed >> 30) % 3 + 1, int(seed >> 20) % 400 + 1, int(seed >> 12) % 6, int(seed >> 4) % 36};
            const Loose v = i % 5 == 0 ? Loose() : i % 2 ? Loose(i) : Loose("TEXT" + QByteArray::number(i));
            t.set(v, at[0], at[1], at[2], at[3]);
            if (v.isEmpty())
                model.erase(at);
            else
                model[at] = v.text();
        }
        const LooseTable copy(t);
        LooseTable grown(std::move(t));
        QVERIFY(!t.isSized()); // NOLINT(bugprone-use-after-move): a table moved from is unsized
        QVERIFY_THROWS_EXCEPTION(PlatformError, t.set(Loose(1), 1, 1, 1, 1));
        t = copy;
        t.redimPreserve({2, 300, 5, 35});
        grown.redimPreserve({30001, 30001, 6, 36});
        qsizetype kept = 0;
        for (int i = 0; i < 3 * 400 * 6 * 36; ++i) {
            const int s = i / (400 * 6 * 36) + 1, p = i / (6 * 36) % 400 + 1, k = i / 36 % 6, n = i % 36;
            const auto it = model.find({s, p, k, n});
            const QByteArray v = it == model.end() ? QByteArray() : it->second;
            QCOMPARE(copy(s, p, k, n).text(), v);
            QCOMPARE(grown(s, p, k, n).text(), v);
            if (s <= 2 && p <= 300) {
                QCOMPARE(t(s, p, k, n).text(), v);
                kept += v.isEmpty() ? 0 : 1;
            }
        }
        QCOMPARE(copy.storedValues(), qsizetype(model.size()));
        QCOMPARE(grown.storedValues(), qsizetype(model.size()));
        QCOMPARE(t.storedValues(), kept);
    }

    // What the editor can leave in the model but no file can hold, and ring
    // controls no file leads to. A row whose mention starts with "\r\n" is
    // written, the mention is in what it wrote, and it reads back.
    void writer_data()
    {
        QTest::addColumn<Edit>("edit");
        QTest::addColumn<QString>("mention");
        QTest::newRow("line end in a station") << Edit([](Model &m) { m.x.StationName.at(1, 1, 3) = "SM\r\nC"; }) << "shelf 3 of rack UC-01";
        QTest::newRow("value opening with a quote") << Edit([](Model &m) { m.x.CardName.at(1, 1, 1, 1) = " \"ACALA"; }) << "card name";
        QTest::newRow("slot that is not a number") << Edit([](Model &m) { m.x.SlotNo.at(1, 1, 1, 1) = "ABC"; }) << "\"ABC\"";
        QTest::newRow("fifteen ring members") << Edit([](Model &m) { m.texts[1] = "A,B,C,D,E,F,G,H,I,J,K,L,M,N,O"; }) << "MAS1";
        QTest::newRow("star as a ring member") << Edit([](Model &m) { m.texts[0] = "UC-01,*"; }) << "MIS";
        QTest::newRow("list without its end marker ends") << Edit([](Model &m) { m.x.SlotNo.at(1, 1, 1, 3) = Loose(); })
                                                           << "\r\n 5 ,ACAJA4, 0 , 9 ,ACALA, 2 ,-1 \r\n-1 \r\n";
        QTest::newRow("slot typed as text") << Edit([](Model &m) { m.x.SlotNo.at(1, 1, 1, 1) = "5", m.x.CardType.at(1, 1, 1, 1) = "0"; })
                                            << "\r\n5,ACAJA4,0, 9 ,ACALA, 2 ,-1 \r\n";
        // The header counts MAS3 and MAS4 only together.
        QTest::newRow("MAS4 ticked alone") << Edit([](Model &m) { m.ticked4 = true; }) << "\r\nMAS2\r\n,*, 0 \r\nMAS4\r\n,*,\r\n";
    }

    void writer()
    {
        QFETCH(Edit, edit);
        QFETCH(QString, mention);
        Model m;
        m.x = example();
        edit(m);
        ExchangeWriter writer;
        QByteArray bytes;
        const bool written = writer.write(m.x, m, &bytes);
        QCOMPARE(written, mention.startsWith("\r\n"));
        if (!written) {
            QVERIFY2(writer.errorString().contains(mention), qPrintable(writer.errorString()));
            return;
        }
        QVERIFY2(bytes.contains(mention.toLatin1()), bytes.constData());
        Exchange back;
        QVERIFY(ExchangeReader().read(bytes, back) && back.SlotNo(1, 1, 1, 1).isNumber() && back.NoOfMas == 2);
    }

    // Files no golden file should hold: a line of 10 MB, rooms of 2,000 racks.
    // Nothing out of proportion is allocated for them.
    void brokenFiles_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("expected");
        QTest::newRow("10 MB line") << QByteArray("\"X\",1,1,2\r\n" + QByteArray(10 << 20, 'U'))
                                    << "expected the rack name at shoot 1, place 1, found a field of more than 65536 bytes";
        // The racks read up to the rings, which are missing.
        const auto room = [](const QByteArray &record) {
            return "\"X\",40,50,2\n" + QByteArray("A,").repeated(49).append("A\n").repeated(40) + record.repeated(2000);
        };
        QTest::newRow("room of empty shelves") << room("A\n,,,,\n-1\n-1\n-1\n-1\n-1\n") << "name of ring MIS";
        QTest::newRow("room of stations and cards")
            << room("A\nSMXC,SMX,,SMX,SMX\n 4 ,RCID4, 3 , 8 ,ACALA, 2 ,-1 \n-1 \n 5 ,PWR, 1 ,-1 \n-1 \n-1 \n") << "name of ring MIS";
    }

    void brokenFiles()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, expected);
        Exchange x;
        ExchangeReader reader;
        QVERIFY(!reader.read(bytes, x));
        QVERIFY2(reader.errorString().contains(expected), qPrintable(reader.errorString()));
        qsizetype held = 0;
        for (const LooseTable *t : {&x.RackName, &x.StationName, &x.SlotNo, &x.CardName, &x.CardType})
            held += t->heldBytes();
        QVERIFY2(held <= 3 * bytes.size() + 4096, qPrintable(QString::number(held)));
    }

    // A save the writer refuses or the disk does not take leaves the old file.
    void saveIsAtomic()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("room.kvx");
        QVERIFY(test::writeFile(path, "OLD CONTENT"));
        static_cast<Exchange &>(ModMain) = example();
        ModMain.CardName.at(1, 2, 1, 1) = "A,B"; // not written: no rack there
        const std::tuple<const char *, const char *, int> saves[] = {
            {"BAD \"NAME\"", "room.kvx", ErrBadData}, {"GOOD", "no/such/folder/room.kvx", ErrPathAccess}, {"GOOD", "room.kvx", 0}};
        for (const auto &[site, file, error] : saves) {
            ModMain.SiteName = site;
            ModMain.SaveFile = dir.filePath(file);
            try {
                SaveExchange();
                QCOMPARE(0, error);
            } catch (const PlatformError &e) {
                QCOMPARE(e.number(), error);
                QVERIFY(error != ErrPathAccess || e.description().startsWith("Cannot write file "));
                QCOMPARE(test::readFile(path), QByteArray("OLD CONTENT"));
            }
            QVERIFY(!Files::IsOpen(ModMain.SaveFileNo));
        }
        QVERIFY(test::readFile(path).startsWith("\"GOOD\",1,2,2\r\nUC-01,\r\n"));
    }

    void saveKeepsTheFile_data()
    {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<QString>("reason"); // empty: the save goes through
        const QString full = "No space left on device", notRegular = "Not a regular file";
        const std::tuple<const char *, const char *, QString> rows[] = {
            {"full disk", "full", full}, {"another owner's file on a full disk", "full owner", full}, {"full device", "device", full},
            {"mode 0444", "0444", ""}, {"another owner's file", "owner", ""}, {"two hard links", "links", ""}, {"symbolic link", "symlink", ""},
            {"folder the user cannot write", "nobody", ""}, {"FIFO", "fifo", notRegular}, {"folder", "folder", notRegular}};
        for (const auto &[name, setup, reason] : rows)
            QTest::newRow(name) << QString(setup) << reason;
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
        if (setup == "fifo")
            QCOMPARE(::mkfifo(QFile::encodeName(path), 0644), 0);
        else if (setup == "folder")
            QVERIFY(QDir().mkdir(path));
        else if (setup != "device")
            QVERIFY(test::writeFile(file, old));
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
            QCOMPARE(test::readFile(file), saved ? fresh : old);
        QCOMPARE(std::tie(after.st_mode, after.st_uid, after.st_gid, after.st_nlink),
                 std::tie(before.st_mode, before.st_uid, before.st_gid, before.st_nlink));
        if (setup == "links")
            QCOMPARE(test::readFile(dir.filePath("other.kvx")), fresh);
        QCOMPARE(QFileInfo(path).isSymLink(), setup == "symlink");
        QCOMPARE(QDir(folder).entryList(QDir::AllEntries | QDir::System | QDir::Hidden), entries);
    }

    // kvx-check on the golden files: NAME.kvx, or the command line in
    // NAME.args. NAME.check: "exit N", then the lines kvx-check prints, the
    // summaries on standard output and the rest on standard error; under
    // --diff the differences on standard output, unless a file does not load
    // (exit 2), and the warnings on standard error. For a file,
    // --normalize prints the same report when it does not load,
    // NAME.normalize-error when it cannot be saved, else NAME.normalized or
    // NAME.kvx itself.
    void golden_data()
    {
        QTest::addColumn<QString>("file");
        const QStringList cases = QDir(QFINDTESTDATA("data/kvx-check")).entryList({"*.kvx", "*.args"}, QDir::Files, QDir::Name);
        QVERIFY(cases.size() >= 10);
        for (const QString &file : cases)
            QTest::newRow(qPrintable(file)) << file;
    }

    void golden()
    {
        QFETCH(QString, file);
        const QString base = QFINDTESTDATA("data/kvx-check") + '/' + file.left(file.lastIndexOf('.'));
        const bool commandLine = file.endsWith(".args");
        const QStringList args = commandLine ? QString(test::readFile(base + ".args")).simplified().split(' ', Qt::SkipEmptyParts) : QStringList{file};
        const QByteArray checked = test::readFile(base + ".check");
        QVERIFY2(checked.startsWith("exit "), "every case needs its .check file");
        const QByteArray report = checked.mid(checked.indexOf('\n') + 1);
        const Run r = run("kvx-check", args);
        const int exitCode = checked.mid(5, checked.indexOf('\n') - 5).toInt();
        QCOMPARE(r.exitCode, exitCode);
        // Summaries (a diff's lines) go to standard output, everything else to standard error; an inventory's CSV is NAME.csv.
        const bool diffing = args.contains("--diff") && exitCode != 2;
        const bool csv = QFile::exists(base + ".csv");
        QByteArray summaries, others;
        for (const QByteArray &line : report.split('\n')) {
            const bool out = diffing ? !line.contains(": warning: ") : line.contains(": ok (") && !csv;
            (out ? summaries : others) += line.isEmpty() ? QByteArray() : line + '\n';
        }
        QCOMPARE(QString::fromUtf8(r.out), QString::fromUtf8(csv ? test::readFile(base + ".csv") : summaries));
        QCOMPARE(QString::fromUtf8(r.err), QString::fromUtf8(others));
        if (commandLine)
            return;

        const Run n = run("kvx-check", {"--normalize", file});
        const bool cannotSave = QFile::exists(base + ".normalize-error");
        if (cannotSave || r.exitCode != 0) {
            QVERIFY(n.exitCode == 1 && n.out.isEmpty());
            QCOMPARE(QString::fromUtf8(n.err), QString::fromUtf8(cannotSave ? test::readFile(base + ".normalize-error") : report));
            return;
        }
        QCOMPARE(n.exitCode, 0);
        QCOMPARE(n.out, test::readFile(QFile::exists(base + ".normalized") ? base + ".normalized" : base + ".kvx"));
        // What Save writes, the next Save writes again unchanged.
        Exchange x;
        QByteArray again;
        QVERIFY(ExchangeReader().read(n.out, x) && ExchangeWriter().write(x, ModelRingControls(x), &again));
        QCOMPARE(again, n.out);
    }

    // A FIFO or a folder is refused at once, for nothing may wait on a FIFO.
    void refusesWhatIsNotARegularFile()
    {
        QTemporaryDir dir;
        const QString fifo = dir.filePath("fifo"), folder = dir.filePath("folder");
        QVERIFY(::mkfifo(QFile::encodeName(fifo), 0644) == 0 && QDir().mkdir(folder));
        for (const QStringList &args : {QStringList{fifo}, QStringList{"--normalize", folder}}) {
            const Run r = run("kvx-check", args);
            QCOMPARE(std::tuple(r.exitCode, r.out, r.err), std::tuple(1, QByteArray(), QFile::encodeName(args.last()) + ": cannot open: Not a regular file\n"));
        }
    }

    // --diff walks the racks, never the places of both rooms together: 1 x
    // 100,000 against 100,000 x 2 would be 10^10 places. The rack standing in
    // both is compared all the same.
    void diffOfRoomsOfOtherShapes()
    {
        Exchange wide = example(), tall = example();
        wide.NoOfRacks = 100000;
        wide.RackName.redimPreserve({1, 100000});
        tall.NoOfShoots = 100000;
        tall.RackName.redimPreserve({100000, 2});
        tall.CardName.set(Loose("ACAJB4"), 1, 1, 1, 2);
        QStringList lines;
        for (const ExchangeDifference &d : diffExchanges(wide, tall))
            lines << d.line;
        QCOMPARE(lines, QStringList({"room: 1 x 100000 -> 100000 x 2", "UC-01 shelf 1 slot 9: ACALA image 2 -> ACAJB4 image 2"}));
    }

    // The exchange a new user sees first is what make-sample builds from the
    // templates by way of the template file; it loads without a warning and
    // saves unchanged.
    void sample()
    {
        const QString file = QFINDTESTDATA("../app/config.kvx");
        QTemporaryDir dir;
        QCOMPARE(run("make-sample", {dir.filePath("config.kvx")}).exitCode, 0);
        QCOMPARE(test::readFile(dir.filePath("config.kvx")), test::readFile(file));
        const Run r = run("kvx-check", {"--normalize", file});
        QVERIFY2(r.exitCode == 0 && r.err.isEmpty(), r.err.constData());
        QCOMPARE(r.out, test::readFile(file));
    }

    // The template a new rack gets by the start of its name, the last match
    // winning; every name the Insert menu offers gets its entry's family, and
    // the entries without names get none.
    void nameTests_data()
    {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<QByteArray>("family"); // empty for none
        const char *const rows[][3] = {
            {"XA0 is not an XA- rack", "XA0", "XA0"}, {"XA- with any suffix", "XA-9Z", "XA"}, {"XA without dash or 0", "XA1", ""},
            {"any C name", "CX-7", "CA"}, {"SDE alone", "SDE", "SDE"}, {"SD without E", "SD-01", ""},
            {"letter case counts", "uc-01", ""}, {"shorter than a test", "U", ""}, {"empty", "", ""}};
        for (const auto &row : rows)
            QTest::newRow(row[0]) << QByteArray(row[1]) << QByteArray(row[2]);
        for (const RackMenuEntry &entry : rackMenu()) {
            for (const QString &name : entry.names)
                QTest::newRow(qPrintable("menu " + name)) << name.toLatin1() << QByteArray(entry.caption);
            if (entry.names.isEmpty())
                QTest::newRow(entry.caption) << QByteArray(entry.caption) << QByteArray();
        }
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
        Exchange x = example();
        const qsizetype stored = x.StationName.storedValues() + x.SlotNo.storedValues();
        FieldReader in(templateFileText(*templateForFamily("UD")));
        try {
            readRackTemplate(in, x, 1, 3);
            QFAIL("a place outside the tables was written");
        } catch (const PlatformError &e) {
            QCOMPARE(e.number(), int(ErrSubscript));
        }
        QCOMPARE(x.StationName.storedValues() + x.SlotNo.storedValues(), stored);
        QCOMPARE(in.line(), 1);
    }
};

QTEST_GUILESS_MAIN(TestDataFile)
#include "test_datafile.moc"
