// Start-up: finding the data file and the settings file, the desktop
// question, the scale factors, reloads and their ring menus, a load that
// fails, a misnamed rack record.
#include "app/startup.h"
#include "model/modmain.h"
#include "support/testhooks.h"
#include "viewer/frmswitch.h"
#include "viewer/loadexchange.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <sys/stat.h>

#include <tuple>

using namespace kvx;

namespace {

// The example data file with as many MAS rings as asked.
QByteArray exampleBytes(int noOfMas = 2)
{
    QFile f(QFINDTESTDATA("data/example.kvx"));
    QByteArray bytes = f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    bytes.replace(",1,2,2\r\n", ",1,2," + QByteArray::number(noOfMas) + "\r\n");
    return bytes + (noOfMas >= 3 ? "MAS3\r\nUC-01,*, 16711680 \r\n" : "") + (noOfMas == 4 ? "MAS4\r\n,*, 65535 \r\n" : "");
}

} // namespace

class TestStartup : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_hooks = std::make_unique<test::Hooks>();
        m_cwd = QDir::currentPath();
        setAppPath(m_dir->path());
        Screen::setSizeTwips(1024 * 15, 768 * 15);
        ModMain = ModMainState();
    }

    void cleanup()
    {
        frmSwitch::discard();
        qunsetenv("XDG_DATA_HOME");
        qunsetenv("XDG_CONFIG_HOME");
        QDir::setCurrent(m_cwd);
        m_hooks.reset();
        m_dir.reset();
    }

    void findsTheDataFile_data()
    {
        QTest::addColumn<QByteArray>("ini");   // kvx.ini in the program's folder; "-" for none
        QTest::addColumn<QString>("file");     // a file made for the row; the data file read when it loads
        QTest::addColumn<QByteArray>("bytes"); // its bytes: the example's when empty, a FIFO for "fifo"
        QTest::addColumn<QString>("message");  // empty: starts with the window shown
        QTest::addColumn<bool>("ends");
        // "@" stands for the program's folder, which is not the current one.
        const QByteArray none = "-", example;
        const QString missing = "DataFile config.kvx missing. Can't Run", corrupted = "Data File Currupted. Cannot Load";
        QTest::newRow("default file") << none << "@/config.kvx" << example << "" << false;
        QTest::newRow("no settings, no default file") << none << "" << example << missing << true;
        QTest::newRow("default file in capitals") << none << "@/CONFIG.KVX" << example << missing << true;
        QTest::newRow("settings name a file") << QByteArray("@/other.kvx\r\n") << "@/other.kvx" << example << "" << false;
        QTest::newRow("settings name a missing file") << QByteArray("@/missing.kvx\r\n") << "" << example << corrupted << true;
        QTest::newRow("settings name a FIFO") << QByteArray("@/fifo.kvx\r\n") << "@/fifo.kvx" << QByteArray("fifo") << corrupted << true;
        QTest::newRow("settings with an empty first field") << QByteArray(",ignored\r\n") << "config.kvx" << example << "" << false;
        QTest::newRow("settings file empty") << QByteArray("") << "config.kvx" << example << "" << false;
        QTest::newRow("settings not text") << QByteArray("\x01\x02") << "" << example
                                           << "Data File Currupted.  Please check or change kvx.ini file" << false;
        QTest::newRow("data file broken") << none << "@/config.kvx" << exampleBytes().left(40) << corrupted << true;
        QTest::newRow("room too large to show")
            << none << "@/config.kvx"
            << "\"X\",1001,1000,2\n" + QByteArray(999, ',').append('\n').repeated(1001) + "MIS\n*,1\nMAS1\n*,1\nMAS2\n*,1\n"
            << "The room of 1001 shoots x 1000 places is too large to show: at most 1000000 places. Cannot Load" << true;
    }

    void findsTheDataFile()
    {
        QFETCH(QByteArray, ini);
        QFETCH(QString, file);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, message);
        QFETCH(bool, ends);
        const QString app = m_dir->path();
        QTemporaryDir cwd;
        QDir::setCurrent(cwd.path());
        if (ini != "-")
            QVERIFY(test::writeFile(app + "/kvx.ini", ini.replace("@", QFile::encodeName(app))));
        file.replace("@", app);
        if (bytes == "fifo")
            QCOMPARE(::mkfifo(QFile::encodeName(file).constData(), 0644), 0);
        else if (!file.isEmpty())
            QVERIFY(test::writeFile(file, bytes.isEmpty() ? exampleBytes() : bytes));

        // The command line's export starts from the same file.
        QVERIFY(file.isEmpty() || message.contains("missing") || startDataFile() == file);
        QCOMPARE(test::endsProgram([] { Main(); }), ends);
        if (message.isEmpty()) {
            QCOMPARE(m_hooks->messages.size(), 0);
            QVERIFY(frmSwitch::isLoaded() && frmSwitch::get().isVisible());
            QCOMPARE(frmSwitch::get().windowTitle(), QString("DEMO SITE"));
            QCOMPARE(ModMain.DataFile.text(), QFile::encodeName(file));
            return;
        }
        QCOMPARE(m_hooks->messages.size(), 1);
        const MsgBoxCall &m = m_hooks->messages[0];
        QCOMPARE(std::tuple(m.text, m.title, m.style), std::tuple(message, ProgramTitle, message.contains("kvx.ini") ? int(vbInformation) : int(vbOKOnly)));
        QVERIFY(!frmSwitch::isLoaded() || !frmSwitch::get().isVisible());
    }

    // An installed program (its sample in share/kvx410 beside its bin folder)
    // keeps kvx.ini and the user's copy of the sample in the user's folders,
    // even when it may write its own folder, as root may.
    void installedKeepsTheUsersFilesInTheirFolders_data()
    {
        QTest::addColumn<QString>("ini");    // kvx.ini in the user's folder, naming a file of the data folder
        QTest::addColumn<bool>("sample");    // installed with the sample
        QTest::addColumn<QString>("shown");  // the data file shown, in the user's data folder; empty: none
        QTest::newRow("first start: the sample copied") << "" << true << "config.kvx";
        QTest::newRow("kvx.ini names the file opened last") << "other.kvx" << true << "other.kvx";
        QTest::newRow("installed without the sample") << "" << false << "";
    }

    void installedKeepsTheUsersFilesInTheirFolders()
    {
        QFETCH(QString, ini);
        QFETCH(bool, sample);
        QFETCH(QString, shown);
        const QString root = m_dir->path(), data = root + "/data/kvx410", config = root + "/config/kvx410";
        QVERIFY(QDir().mkpath(root + "/bin") && QDir().mkpath(root + "/share/kvx410") && QDir().mkpath(data));
        setAppPath(root + "/bin");
        qputenv("XDG_DATA_HOME", QFile::encodeName(root + "/data"));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(root + "/config"));
        if (sample)
            QVERIFY(test::writeFile(root + "/share/kvx410/config.kvx", exampleBytes()));
        if (!ini.isEmpty()) {
            QVERIFY(QDir().mkpath(config));
            QVERIFY(test::writeFile(data + "/" + ini, exampleBytes()));
            QVERIFY(test::writeFile(config + "/kvx.ini", QFile::encodeName(data + "/" + ini) + "\r\n"));
        }
        // The command line's export reads the installed sample before the first start has copied it.
        QCOMPARE(startDataFile(), ini.isEmpty() ? root + "/share/kvx410/config.kvx" : data + "/" + ini);
        QCOMPARE(test::endsProgram([] { Main(); }), shown.isEmpty());
        if (shown.isEmpty()) {
            QCOMPARE(m_hooks->messages.value(0).text, QString("DataFile config.kvx missing. Can't Run"));
            return;
        }
        QCOMPARE(ModMain.DataFile.text(), QFile::encodeName(data + "/" + shown));
        QVERIFY(QFile::exists(data + "/config.kvx") == (ini.isEmpty()));
        QVERIFY(test::endsProgram([] { frmSwitch::get().close(); }));
        QCOMPARE(m_hooks->messages.size(), 0);
        QFile written(config + "/kvx.ini");
        QVERIFY(written.open(QIODevice::ReadOnly));
        QCOMPARE(written.readAll(), QFile::encodeName(data + "/" + shown) + "\r\n");
        QVERIFY(QDir(root + "/bin").isEmpty());
    }

    void desktopQuestion_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<int>("answer"); // to the question; 0 when it is not asked
        QTest::addColumn<double>("xFactor");
        QTest::addColumn<double>("yFactor");
        QTest::newRow("1024 x 768") << 15360 << 11520 << 0 << 1.0 << 1.0;
        QTest::newRow("exactly 15000 wide") << 15000 << 11250 << 0 << 15000 / 15360.0 << 11250 / 11520.0;
        QTest::newRow("800 x 600, Yes") << 12000 << 9000 << int(vbYes) << 0.78125 << 0.78125;
        QTest::newRow("800 x 600, No: the program ends") << 12000 << 9000 << int(vbNo) << 0.0 << 0.0;
        QTest::newRow("1920 x 1080") << 28800 << 16200 << 0 << 1.875 << 1.40625;
    }

    void desktopQuestion()
    {
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(int, answer);
        QFETCH(double, xFactor);
        QFETCH(double, yFactor);
        Screen::setSizeTwips(width, height);
        QVERIFY(test::writeFile(m_dir->path() + "/config.kvx", exampleBytes()));
        if (answer)
            m_hooks->setNextAnswer(answer);
        QCOMPARE(test::endsProgram([] { Main(); }), answer == vbNo);
        QCOMPARE(m_hooks->messages.size(), answer ? 1 : 0);
        if (answer) {
            const MsgBoxCall &q = m_hooks->messages[0];
            QCOMPARE(std::tuple(q.text, q.title, q.style, ModMain.Answer),
                     std::tuple(QString("Your Desktop Settings are not sufficient.  Please set it to 1024 x 768 mode.\r\n"
                                        " Otherwise You cannot view properly.  Do you want to continue anyway"),
                                QString("Increase Your Desktop"), 36, answer));
        }
        if (answer == vbNo) {
            QVERIFY(ModMain.SiteName.isEmpty()); // ended before the file was read
            return;
        }
        QCOMPARE(double(ModMain.XFactor), double(float(xFactor)));
        QCOMPARE(ModMain.YFactor, yFactor);
        QCOMPARE(frmSwitch::get().Width(), width); // the window fills the screen
    }

    void reloads_data()
    {
        QTest::addColumn<int>("first"); // MAS rings of the file loaded first
        QTest::addColumn<int>("then");  // and of the file loaded next; 0 for a broken file
        QTest::addColumn<bool>("mas3");
        QTest::addColumn<bool>("mas4");
        QTest::newRow("2 then 4") << 2 << 4 << true << true;
        QTest::newRow("4 then 3") << 4 << 3 << true << false;
        QTest::newRow("4 then 2, the colours stay") << 4 << 2 << false << false;
        QTest::newRow("3 then a broken file") << 3 << 0 << true << false;
    }

    // The ring menus follow the file; a reload that fails keeps the exchange
    // shown and the program going.
    void reloads()
    {
        QFETCH(int, first);
        QFETCH(int, then);
        QFETCH(bool, mas3);
        QFETCH(bool, mas4);
        const QString path = m_dir->path() + "/x.kvx";
        QVERIFY(test::writeFile(path, exampleBytes(first)));
        ModMain.DataFile = path.toUtf8();
        QVERIFY(LoadExchange());
        QVERIFY(test::writeFile(path, then ? exampleBytes(then) : "\"OTHER\",1,1,2\r\nUC-01\r\n"));
        bool loaded = false;
        QVERIFY(!test::endsProgram([&] { loaded = LoadExchange(OnLoadFailure::KeepExchange); }));
        QCOMPARE(loaded, then > 0);
        QCOMPARE(frmSwitch::get().MnuMAS3->Enabled(), mas3);
        QCOMPARE(frmSwitch::get().MnuMAS4->Enabled(), mas4);
        if (first == 4) // the MAS colours outlive a file with fewer rings
            QCOMPARE(ModMain.MasColor(4).number(), 65535.0);
        if (then)
            return;
        QCOMPARE(m_hooks->messages.size(), 1);
        QCOMPARE(m_hooks->messages[0].text, QString("Data File Currupted. Cannot Load"));
        QCOMPARE(std::tuple(ModMain.SiteName.text(), ModMain.NoOfMas.toInt(), ModMain.Mas3Ring(1).text()),
                 std::tuple(QByteArray("DEMO SITE"), 3, QByteArray("UC-01")));
    }

    // The message comes from the program's own thread, once per misnamed record,
    // before the window shows the exchange.
    void misnamedRackRecordIsReported()
    {
        QByteArray bytes = exampleBytes();
        QVERIFY(test::writeFile(m_dir->path() + "/config.kvx", bytes.replace("\r\nUC-01\r\nSMC", "\r\nUC-09\r\nSMC")));
        QList<MsgBoxCall> messages;
        bool fromMainThread = true;
        bool windowShown = false;
        setMsgBoxHook([&](const MsgBoxCall &call) {
            messages.append(call);
            fromMainThread = fromMainThread && QThread::currentThread() == qApp->thread();
            windowShown = windowShown || (frmSwitch::isLoaded() && frmSwitch::get().isVisible());
            return int(vbOK);
        });
        QVERIFY(!test::endsProgram([] { Main(); }));
        QCOMPARE(messages.size(), 1);
        QCOMPARE(messages[0].text, QString("Error"));
        QCOMPARE(messages[0].style, int(vbCritical));
        QVERIFY(fromMainThread && !windowShown);
        QVERIFY(frmSwitch::get().isVisible());
        QCOMPARE(frmSwitch::get().lblRack(1).Caption(), QString("UC-01"));
    }

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<test::Hooks> m_hooks;
    QString m_cwd;
};

QTEST_MAIN(TestStartup)
#include "test_startup.moc"
