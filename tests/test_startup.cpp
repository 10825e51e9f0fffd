// Start-up: finding the data file, the desktop question, the scale factors,
// reloads and their ring menus, a load that fails, a misnamed rack record.
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

using namespace kvx;

namespace {

QByteArray exampleBytes(int noOfMas = 2)
{
    QFile f(QFINDTESTDATA("data/example.kvx"));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QByteArray bytes = f.readAll();
    if (noOfMas >= 3)
        bytes.append("MAS3\r\nUC-01,*, 16711680 \r\n");
    if (noOfMas == 4)
        bytes.append("MAS4\r\n,*, 65535 \r\n");
    bytes.replace(",1,2,2\r\n", ",1,2," + QByteArray::number(noOfMas) + "\r\n");
    return bytes;
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
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
        QDir::setCurrent(m_cwd);
        m_hooks.reset();
        m_dir.reset();
    }

    void findsTheDataFile_data()
    {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<QString>("message"); // empty: starts with the window shown
        QTest::addColumn<bool>("ends");
        QTest::newRow("default file") << "config" << "" << false;
        QTest::newRow("no settings, no default file") << "" << "DataFile config.kvx missing. Can't Run" << true;
        QTest::newRow("default file in capitals") << "CONFIG" << "DataFile config.kvx missing. Can't Run" << true;
        QTest::newRow("settings name a file") << "ini:other.kvx" << "" << false;
        QTest::newRow("settings name a missing file") << "ini:missing.kvx" << "Data File Currupted. Cannot Load" << true;
        QTest::newRow("settings name a FIFO") << "ini:fifo.kvx" << "Data File Currupted. Cannot Load" << true;
        QTest::newRow("settings with an empty first field") << "ini-empty" << "" << false;
        QTest::newRow("settings file empty") << "ini-nothing" << "" << false;
        QTest::newRow("settings not text") << "ini-binary" << "Data File Currupted.  Please check or change kvx.ini file" << false;
        QTest::newRow("data file broken") << "broken" << "Data File Currupted. Cannot Load" << true;
        QTest::newRow("room too large to show")
            << "huge" << "The room of 1001 shoots x 1000 places is too large to show: at most 1000000 places. Cannot Load" << true;
    }

    void findsTheDataFile()
    {
        QFETCH(QString, setup);
        QFETCH(QString, message);
        QFETCH(bool, ends);
        const QString app = m_dir->path();
        QTemporaryDir cwd; // the current directory differs from the program's folder
        QDir::setCurrent(cwd.path());
        if (setup == "config")
            writeFile(app + "/config.kvx", exampleBytes());
        if (setup == "CONFIG")
            writeFile(app + "/CONFIG.KVX", exampleBytes());
        if (setup == "broken")
            writeFile(app + "/config.kvx", exampleBytes().left(40));
        if (setup == "huge")
            writeFile(app + "/config.kvx", "\"X\",1001,1000,2\n" + QByteArray(999, ',').append('\n').repeated(1001)
                                                + "MIS\n*,1\nMAS1\n*,1\nMAS2\n*,1\n");
        if (setup.startsWith("ini:")) {
            writeFile(app + "/kvx.ini", (app + "/" + setup.mid(4)).toUtf8() + "\r\n");
            if (setup.endsWith("other.kvx"))
                writeFile(app + "/other.kvx", exampleBytes());
            if (setup.endsWith("fifo.kvx"))
                QCOMPARE(::mkfifo(QFile::encodeName(app + "/fifo.kvx").constData(), 0644), 0);
        }
        if (setup == "ini-empty" || setup == "ini-nothing") {
            writeFile(app + "/kvx.ini", setup == "ini-empty" ? ",ignored\r\n" : "");
            writeFile(cwd.path() + "/config.kvx", exampleBytes()); // "config.kvx" relative to the current directory
        }
        if (setup == "ini-binary")
            writeFile(app + "/kvx.ini", QByteArray("\x01\x02", 2));

        const bool ended = test::endsProgram([] { Main(); });
        QCOMPARE(ended, ends);
        if (message.isEmpty()) {
            QCOMPARE(m_hooks->messages.size(), 0);
            QVERIFY(frmSwitch::isLoaded() && frmSwitch::get().isVisible());
            QCOMPARE(frmSwitch::get().windowTitle(), QString("DEMO SITE"));
            if (setup.startsWith("ini-"))
                QCOMPARE(ModMain.DataFile.text(), QByteArray("config.kvx"));
            return;
        }
        QCOMPARE(m_hooks->messages.size(), 1);
        QCOMPARE(m_hooks->messages[0].text, message);
        QCOMPARE(m_hooks->messages[0].title, ProgramTitle);
        QCOMPARE(m_hooks->messages[0].style, setup == "ini-binary" ? int(vbInformation) : int(vbOKOnly));
        QVERIFY(!frmSwitch::isLoaded() || !frmSwitch::get().isVisible());
    }

    void desktopQuestion_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("asked");
        QTest::addColumn<bool>("ends");
        QTest::addColumn<double>("xFactor");
        QTest::addColumn<double>("yFactor");
        QTest::newRow("1024 x 768") << 15360 << 11520 << 0 << false << false << 1.0 << 1.0;
        QTest::newRow("exactly 15000 wide") << 15000 << 11250 << 0 << false << false << 15000 / 15360.0 << 11250 / 11520.0;
        QTest::newRow("800 x 600, Yes") << 12000 << 9000 << int(vbYes) << true << false << 0.78125 << 0.78125;
        QTest::newRow("800 x 600, No") << 12000 << 9000 << int(vbNo) << true << true << 0.0 << 0.0;
        QTest::newRow("1920 x 1080") << 28800 << 16200 << 0 << false << false << 1.875 << 1.40625;
    }

    void desktopQuestion()
    {
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(int, answer);
        QFETCH(bool, asked);
        QFETCH(bool, ends);
        QFETCH(double, xFactor);
        QFETCH(double, yFactor);
        Screen::setSizeTwips(width, height);
        writeFile(m_dir->path() + "/config.kvx", exampleBytes());
        if (answer)
            m_hooks->setNextAnswer(answer);
        QCOMPARE(test::endsProgram([] { Main(); }), ends);
        QCOMPARE(m_hooks->messages.size(), asked ? 1 : 0);
        if (asked) {
            const MsgBoxCall &q = m_hooks->messages[0];
            QCOMPARE(q.style, 36);
            QCOMPARE(q.title, QString("Increase Your Desktop"));
            QCOMPARE(q.text, QString("Your Desktop Settings are not sufficient.  Please set it to 1024 x 768 mode.\r\n"
                                     " Otherwise You cannot view properly.  Do you want to continue anyway"));
            QCOMPARE(ModMain.Answer, answer);
        }
        if (ends) {
            QVERIFY(ModMain.SiteName.isEmpty()); // ended before the file was read
            return;
        }
        QCOMPARE(double(ModMain.XFactor), double(float(xFactor)));
        QCOMPARE(ModMain.YFactor, yFactor);
        // The window fills the screen.
        QCOMPARE(frmSwitch::get().Width(), width);
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

    // The ring menus follow the file; a failed reload keeps the exchange, where
    // at start-up the same failure ends the program.
    void reloads()
    {
        QFETCH(int, first);
        QFETCH(int, then);
        QFETCH(bool, mas3);
        QFETCH(bool, mas4);
        const QString path = m_dir->path() + "/x.kvx";
        writeFile(path, exampleBytes(first));
        ModMain.DataFile = path.toUtf8();
        QVERIFY(LoadExchange());
        writeFile(path, then ? exampleBytes(then) : "\"OTHER\",1,1,2\r\nUC-01\r\n");
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
        QCOMPARE(ModMain.SiteName.text(), QByteArray("DEMO SITE"));
        QCOMPARE(ModMain.NoOfMas.toInt(), 3);
        QCOMPARE(ModMain.Mas3Ring(1).text(), QByteArray("UC-01"));
        QVERIFY(test::endsProgram([] { LoadExchange(); }));
    }

    // The message comes from the program's own thread, once per misnamed record,
    // before the window shows the exchange.
    void misnamedRackRecordIsReported()
    {
        QByteArray bytes = exampleBytes();
        QVERIFY(bytes.contains("\r\nUC-01\r\nSMC"));
        bytes.replace("\r\nUC-01\r\nSMC", "\r\nUC-09\r\nSMC");
        writeFile(m_dir->path() + "/config.kvx", bytes);
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
        QVERIFY(fromMainThread);
        QVERIFY(!windowShown);
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
