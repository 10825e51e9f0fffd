#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

// Runs the built kvx-check on the cases of tests/data/kvx-check (see the
// README there): each NAME.kvx comes with what checking and normalizing it
// must print.

namespace {

struct Run
{
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

QString program()
{
    const QString build = qEnvironmentVariable("KVX_BUILD_DIR", QCoreApplication::applicationDirPath() + QStringLiteral("/.."));
    return build + QStringLiteral("/kvx-check");
}

QString dataDir()
{
    return QFINDTESTDATA("data/kvx-check");
}

// Runs kvx-check in the data folder, so that reports name the files as given.
Run run(const QStringList &args, QProcess::ProcessChannelMode mode = QProcess::SeparateChannels)
{
    QProcess p;
    p.setProcessChannelMode(mode);
    p.setWorkingDirectory(dataDir());
    p.start(program(), args);
    Run r;
    if (!p.waitForFinished(20000) || p.exitStatus() != QProcess::NormalExit)
        return r;
    r.exitCode = p.exitCode();
    r.out = p.readAllStandardOutput();
    r.err = p.readAllStandardError();
    return r;
}

QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void addCaseRows()
{
    QTest::addColumn<QString>("name");
    const QStringList cases = QDir(dataDir()).entryList({QStringLiteral("*.kvx")}, QDir::Files, QDir::Name);
    QVERIFY(cases.size() >= 10);
    for (const QString &file : cases)
        QTest::newRow(qPrintable(file)) << file.chopped(4);
}

} // namespace

class TstKvxCheck : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void check_data() { addCaseRows(); }
    void check();
    void normalize_data() { addCaseRows(); }
    void normalize();
    void severalFilesOneBad();
    void usageErrors_data();
    void usageErrors();
    void unreadableFile_data();
    void unreadableFile();
};

void TstKvxCheck::initTestCase()
{
    QVERIFY2(QFile::exists(program()), qPrintable(program()));
    QVERIFY(!dataDir().isEmpty());
}

void TstKvxCheck::check()
{
    QFETCH(QString, name);
    // NAME.check: "exit N", then the lines kvx-check prints.
    const QByteArray expected = fileBytes(dataDir() + QLatin1Char('/') + name + QStringLiteral(".check"));
    QVERIFY2(expected.startsWith("exit "), "every case needs its .check file");
    const qsizetype firstEnd = expected.indexOf('\n');
    const int exitCode = expected.mid(5, firstEnd - 5).toInt();

    const Run r = run({name + QStringLiteral(".kvx")}, QProcess::MergedChannels);
    QCOMPARE(r.exitCode, exitCode);
    QCOMPARE(QString::fromUtf8(r.out), QString::fromUtf8(expected.mid(firstEnd + 1)));
}

void TstKvxCheck::normalize()
{
    QFETCH(QString, name);
    const QString base = dataDir() + QLatin1Char('/') + name;
    const QByteArray checked = fileBytes(base + QStringLiteral(".check"));
    const Run r = run({QStringLiteral("--normalize"), name + QStringLiteral(".kvx")});

    if (QFile::exists(base + QStringLiteral(".normalize-error"))) {
        QCOMPARE(r.exitCode, 1);
        QVERIFY(r.out.isEmpty());
        QCOMPARE(QString::fromUtf8(r.err), QString::fromUtf8(fileBytes(base + QStringLiteral(".normalize-error"))));
        return;
    }
    if (checked.startsWith("exit 1")) {
        // A file that does not load gives the same report and no bytes.
        QCOMPARE(r.exitCode, 1);
        QVERIFY(r.out.isEmpty());
        QCOMPARE(QString::fromUtf8(r.err), QString::fromUtf8(checked.mid(checked.indexOf('\n') + 1)));
        return;
    }
    // A good file without NAME.normalized is written back byte for byte.
    const QString normalized = base + QStringLiteral(".normalized");
    const QByteArray expected = fileBytes(QFile::exists(normalized) ? normalized : base + QStringLiteral(".kvx"));
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(r.out, expected);

    // What Save writes, the next Save writes again unchanged.
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString again = dir.filePath(QStringLiteral("again.kvx"));
    QFile f(again);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(r.out);
    f.close();
    const Run second = run({QStringLiteral("--normalize"), again});
    QCOMPARE(second.exitCode, 0);
    QCOMPARE(second.out, r.out);
}

void TstKvxCheck::severalFilesOneBad()
{
    const Run r = run({QStringLiteral("example.kvx"), QStringLiteral("bad-slot.kvx"), QStringLiteral("full-shelf.kvx")});
    QCOMPARE(r.exitCode, 1);
    QCOMPARE(r.out, QByteArray("example.kvx: ok (1 shoots x 2 places, 1 racks, 2 MAS rings)\n"
                               "full-shelf.kvx: ok (1 shoots x 2 places, 1 racks, 2 MAS rings)\n"));
    QVERIFY2(r.err.startsWith("bad-slot.kvx:5:4: expected the slot number of shelf 1's card 2"), r.err.constData());
    QCOMPARE(r.err.count('\n'), 1);
}

void TstKvxCheck::usageErrors_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::newRow("no file") << QStringList();
    QTest::newRow("--normalize without a file") << QStringList{QStringLiteral("--normalize")};
    QTest::newRow("--normalize with two files")
        << QStringList{QStringLiteral("--normalize"), QStringLiteral("example.kvx"), QStringLiteral("blanks.kvx")};
    QTest::newRow("unknown option") << QStringList{QStringLiteral("--fix"), QStringLiteral("example.kvx")};
}

void TstKvxCheck::usageErrors()
{
    QFETCH(QStringList, args);
    const Run r = run(args);
    QCOMPARE(r.exitCode, 2);
    QVERIFY(r.out.isEmpty());
    QVERIFY2(r.err.contains("usage: kvx-check FILE..."), r.err.constData());
}

void TstKvxCheck::unreadableFile_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("reason");
    QTest::newRow("missing") << "missing" << "No such file or directory";
    QTest::newRow("FIFO") << "fifo" << "Not a regular file";
    QTest::newRow("folder") << "folder" << "Not a regular file";
}

// One line for the file, at once: nothing waits on a FIFO.
void TstKvxCheck::unreadableFile()
{
    QFETCH(QString, kind);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("room.kvx"));
    if (kind == "fifo")
        QCOMPARE(::mkfifo(QFile::encodeName(name).constData(), 0644), 0);
    if (kind == "folder")
        QVERIFY(QDir().mkdir(name));
    for (const QStringList &args : {QStringList{name}, QStringList{QStringLiteral("--normalize"), name}}) {
        const Run r = run(args);
        QCOMPARE(r.exitCode, 1);
        QVERIFY(r.out.isEmpty());
        QCOMPARE(QString::fromUtf8(r.err), name + QStringLiteral(": cannot open: ") + reason + QLatin1Char('\n'));
    }
}

QTEST_GUILESS_MAIN(TstKvxCheck)
#include "test_kvxcheck.moc"
