#include "app/exchangefile.h"
#include "app/racktemplates.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>

using namespace kvx;

namespace {

QByteArray sampleBytes()
{
    QFile f(QFINDTESTDATA("../app/config.kvx"));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

struct Rgb
{
    int r, g, b;
};

Rgb rgb(qint64 colour)
{
    return {int(colour & 0xff), int((colour >> 8) & 0xff), int((colour >> 16) & 0xff)};
}

} // namespace

// The exchange a new user sees first: it must load, show every kind of rack
// as its template builds it, and draw five distinct rings over real racks.
class TstSample : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void roomShape();
    void racksAreTemplates();
    void rings();
    void ringColours();
    void savesUnchanged();
    void generatorMakesTheSameFile();

private:
    QByteArray m_bytes;
    Exchange m_x;
    QList<QByteArray> m_mismatches;
};

void TstSample::initTestCase()
{
    m_bytes = sampleBytes();
    QVERIFY(!m_bytes.isEmpty());
    ExchangeReader reader;
    reader.setNameMismatchHandler([this](const QByteArray &found, int, int, int) { m_mismatches << found; });
    QVERIFY2(reader.read(m_bytes, m_x), qPrintable(reader.errorString()));
    QVERIFY(m_mismatches.isEmpty());
}

void TstSample::roomShape()
{
    QVERIFY(m_x.shoots() >= 3 && m_x.shoots() <= 5);
    QVERIFY(m_x.racks() >= 8 && m_x.racks() <= 12);
    QVERIFY(!m_x.SiteName.text().trimmed().isEmpty());
    QVERIFY(m_x.SiteName.text() != "DEMO SITE");

    // Gaps stand between runs of racks, not only at the ends of a shoot.
    int gaps = 0;
    for (int s = 1; s <= m_x.shoots(); ++s) {
        for (int p = 2; p < m_x.racks(); ++p) {
            if (m_x.RackName(s, p) == "" && !(m_x.RackName(s, p - 1) == "") && !(m_x.RackName(s, p + 1) == ""))
                ++gaps;
        }
    }
    QVERIFY2(gaps >= 2, qPrintable(QString::number(gaps)));
}

void TstSample::racksAreTemplates()
{
    const QStringList menu = rackMenuCaptions();
    QSet<QByteArray> names, families;
    for (int s = 1; s <= m_x.shoots(); ++s) {
        for (int p = 1; p <= m_x.racks(); ++p) {
            const QByteArray name = m_x.RackName(s, p).text();
            if (name.isEmpty())
                continue;
            QVERIFY2(menu.contains(QString::fromLatin1(name)), name.constData());
            QVERIFY2(!names.contains(name), name.constData());
            names.insert(name);
            const RackTemplate *t = templateForRackName(name);
            families.insert(t->family);
            for (int k = 1; k <= ShelvesPerRack; ++k) {
                QCOMPARE(m_x.StationName(s, p, k).text(), QByteArray(t->stations[size_t(k - 1)]));
                const auto &cards = t->shelves[size_t(k - 1)];
                for (size_t n = 0; n < cards.size(); ++n) {
                    const int e = int(n) + 1;
                    QVERIFY(m_x.SlotNo(s, p, k, e) == cards[n].slot);
                    QCOMPARE(m_x.CardName(s, p, k, e).text(), QByteArray(cards[n].name));
                    QVERIFY(m_x.CardType(s, p, k, e) == cards[n].type);
                }
                QVERIFY(m_x.SlotNo(s, p, k, int(cards.size()) + 1) == -1);
            }
        }
    }
    QCOMPARE(families.size(), int(rackTemplates().size()));
}

void TstSample::rings()
{
    QCOMPARE(m_x.NoOfMas.toInt(), 4);
    for (int k = 0; k <= 4; ++k) {
        const LooseTable &ring = m_x.ring(k);
        QSet<QByteArray> seen;
        int n = 1;
        for (; n <= RingEntries && !(ring(n) == "*"); ++n) {
            const QByteArray member = ring(n).text();
            // A rack appears once, but for the first, named again to close the loop.
            const bool closesTheLoop = n > 1 && member == ring(1).text() && ring(n + 1) == "*";
            QVERIFY2(!seen.contains(member) || closesTheLoop, member.constData());
            seen.insert(member);
            bool inRoom = false;
            for (int s = 1; s <= m_x.shoots() && !inRoom; ++s) {
                for (int p = 1; p <= m_x.racks() && !inRoom; ++p)
                    inRoom = m_x.RackName(s, p).text() == member;
            }
            QVERIFY2(inRoom, member.constData());
        }
        const int members = n - 1;
        QVERIFY2(members >= 3 && members <= RingEntries - 1, qPrintable(QString::number(members)));
    }
}

void TstSample::ringColours()
{
    QList<qint64> colours = {m_x.MisColor};
    for (int k = 1; k <= 4; ++k) {
        QVERIFY(m_x.MasColor(k).isNumber());
        colours << qint64(m_x.MasColor(k).number());
    }
    for (int i = 0; i < colours.size(); ++i) {
        QVERIFY(colours[i] >= 0 && colours[i] <= 0xFFFFFF);
        // Saturated, so that no ring looks like the grey room under it.
        const Rgb a = rgb(colours[i]);
        QVERIFY(std::max({a.r, a.g, a.b}) - std::min({a.r, a.g, a.b}) >= 100);
        for (int j = 0; j < i; ++j) {
            const Rgb b = rgb(colours[j]);
            const double distance = std::hypot(a.r - b.r, a.g - b.g, a.b - b.b);
            QVERIFY2(distance >= 100, qPrintable(QStringLiteral("rings %1 and %2").arg(i).arg(j)));
        }
    }
}

void TstSample::savesUnchanged()
{
    // Opening the sample in the editor and saving it must not change a byte.
    ExchangeWriter writer;
    QByteArray written;
    int noOfMas = 0;
    QVERIFY2(writer.write(m_x, ModelRingControls(m_x), &written, &noOfMas), qPrintable(writer.errorString()));
    QCOMPARE(noOfMas, 4);
    QCOMPARE(written, m_bytes);
}

void TstSample::generatorMakesTheSameFile()
{
    const QString build = qEnvironmentVariable("KVX_BUILD_DIR", QCoreApplication::applicationDirPath() + QStringLiteral("/.."));
    const QString program = build + QStringLiteral("/make-sample");
    QVERIFY2(QFile::exists(program), qPrintable(program));
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString out = dir.filePath(QStringLiteral("config.kvx"));
    QProcess p;
    p.start(program, {out});
    QVERIFY(p.waitForFinished(10000));
    QCOMPARE(p.exitCode(), 0);
    QFile f(out);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), m_bytes);
}

QTEST_GUILESS_MAIN(TstSample)
#include "test_sample.moc"
