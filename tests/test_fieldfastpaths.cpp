#include "app/exchangefile.h"
#include "platform/errors.h"
#include "platform/fields.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTest>

#include <cmath>

using namespace kvx;

// The reader and writer take short cuts for the usual values of a data file
// (whole numbers, plain names). Each short cut must give exactly what the
// general path gives.

namespace {

// The general path: the number syntax of the data file, then a full conversion.
bool referenceNumber(const QByteArray &bytes, double *out)
{
    static const QRegularExpression syntax(QStringLiteral("^[ \\t]*[+-]?(\\d+(\\.\\d*)?|\\.\\d+)[ \\t]*$"));
    if (!syntax.match(QString::fromLatin1(bytes)).hasMatch())
        return false;
    bool ok = false;
    const double v = bytes.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(v))
        return false;
    *out = v;
    return true;
}

QString describe(const Loose &v)
{
    if (v.isEmpty())
        return QStringLiteral("empty");
    if (v.isNumber())
        return QStringLiteral("number %1%2").arg(std::signbit(v.number()) ? "-" : "+").arg(std::abs(v.number()), 0, 'g', 17);
    return QStringLiteral("text \"%1\"").arg(QString::fromLatin1(v.text()));
}

// Every field of data, read both ways, as one line per field.
QStringList readBothWays(const QByteArray &data, QStringList *general)
{
    QStringList fast;
    FieldReader a(data), b(data);
    while (!a.atEnd() || !b.atEnd()) {
        QString g, f;
        try {
            const Field field = a.next();
            g = QStringLiteral("%1:%2 %3").arg(field.line).arg(field.column).arg(describe(FieldReader::toLoose(field)));
        } catch (const PlatformError &e) {
            g = QStringLiteral("error %1 %2").arg(e.number()).arg(e.description());
        }
        try {
            int line = 0, column = 0;
            const Loose v = b.nextLoose(&line, &column);
            f = QStringLiteral("%1:%2 %3").arg(line).arg(column).arg(describe(v));
        } catch (const PlatformError &e) {
            f = QStringLiteral("error %1 %2").arg(e.number()).arg(e.description());
        }
        general->append(g);
        fast.append(f);
        if (g.startsWith(QLatin1String("error")))
            break;
    }
    return fast;
}

} // namespace

class TstFieldFastPaths : public QObject
{
    Q_OBJECT

private slots:
    void parseNumber_data();
    void parseNumber();
    void nextLooseIsToLooseOfNext_data();
    void nextLooseIsToLooseOfNext();
    void writerPrintsNumbersInPrintForm();
};

void TstFieldFastPaths::parseNumber_data()
{
    QTest::addColumn<QByteArray>("bytes");
    for (const char *s : {"0", "-0", "+0", "5", " 5 ", "\t-12\t", "007", "-1", "147", "123456789012345",
                          "-999999999999999", "1234567890123456", "99999999999999999999", "00000000000000000001",
                          "1.5", "-1.", "1.", ".5", "-.5", ".", "-", "+", "", " ", "+.", "--1", "1 2", "1e5",
                          "12a", "0x10", "1,5", "4294967296", "-2147483649"})
        QTest::newRow(s) << QByteArray(s);
}

void TstFieldFastPaths::parseNumber()
{
    QFETCH(QByteArray, bytes);
    double expected = 0, got = 0;
    const bool reference = referenceNumber(bytes, &expected);
    QCOMPARE(kvx::parseNumber(bytes, &got), reference);
    if (!reference)
        return;
    // Exactly the same double, not merely a close one.
    QVERIFY2(got == expected, qPrintable(QString::number(got, 'g', 17)));
    QCOMPARE(std::signbit(got), std::signbit(expected));
}

void TstFieldFastPaths::nextLooseIsToLooseOfNext_data()
{
    QTest::addColumn<QByteArray>("data");
    const QDir cases(QFINDTESTDATA("data/kvx-check"));
    for (const QString &name : cases.entryList({QStringLiteral("*.kvx")}, QDir::Files)) {
        QFile f(cases.filePath(name));
        QVERIFY(f.open(QIODevice::ReadOnly));
        QTest::newRow(qPrintable(name)) << f.readAll();
    }
    QTest::newRow("quotes and blanks") << QByteArray("a,\"q,1\" x ,  \"\" ,, 12 ,-0,\" 7\",\r\n\r\n -3.25 \n\"open");
    QTest::newRow("control byte") << QByteArray("1,ab\x02" "c,2");
    QTest::newRow("tab inside") << QByteArray("a\tb,\t5\t");
}

void TstFieldFastPaths::nextLooseIsToLooseOfNext()
{
    QFETCH(QByteArray, data);
    QStringList general;
    const QStringList fast = readBothWays(data, &general);
    QCOMPARE(fast, general);
}

void TstFieldFastPaths::writerPrintsNumbersInPrintForm()
{
    const QList<double> values = {0, -0.0, 5, -1, 147, 999999999999999, -999999999999999, 1e15, 2.5, -7.125, 1e20};
    Exchange x;
    x.SiteName = Loose("S");
    x.NoOfShoots = 1;
    x.NoOfRacks = 1;
    x.RackName.redim({1, 1});
    x.RackName.set(Loose("UC-01"), 1, 1);
    x.sizeRoomTables(1, 1);
    for (int k = 0; k <= 2; ++k)
        x.ring(k).set(Loose("*"), 1);
    QByteArray expected;
    for (int n = 1; n <= values.size(); ++n) {
        // A slot of -1 would end the list: the values go into name and type.
        const Loose v(values[n - 1]);
        x.SlotNo.set(Loose(n), 1, 1, 1, n);
        x.CardName.set(v, 1, 1, 1, n);
        x.CardType.set(v, 1, 1, 1, n);
        expected += Loose(n).printForm() + ',' + v.printForm() + ',' + v.printForm() + ',';
    }
    QByteArray out;
    ExchangeWriter writer;
    QVERIFY2(writer.write(x, ModelRingControls(x), &out), qPrintable(writer.errorString()));
    const QList<QByteArray> lines = out.split('\n');
    QCOMPARE(lines[4], expected + "-1 \r");
}

QTEST_GUILESS_MAIN(TstFieldFastPaths)
#include "test_fieldfastpaths.moc"
