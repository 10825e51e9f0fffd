// The pictures: every one is present at its pixel size and draws something,
// the rack fronts carry their shelves where the rack view puts them, the
// places where names are written stay readable, and Picture renders sharp
// at the real pixel size and reuses its renderings.

#include "art/art.h"
#include "art/roompictures.h"
#include "platform/picture.h"
#include "platform/svgrendering.h"

#include <QDir>
#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QSet>
#include <QSvgRenderer>
#include <QTest>

#include <cmath>

namespace {

struct Expected
{
    const char *name;
    int width;
    int height;
};

// Pixel sizes the windows were laid out for.
const Expected ExpectedPictures[] = {
    {"rack", 140, 263},
    {"end-right", 10, 263},
    {"end-left", 8, 263},
    {"rack-front-smt", 293, 490},
    {"rack-front-other", 296, 490},
    {"door-closed-left", 146, 421},
    {"door-closed-right", 146, 421},
    {"door-open-left", 146, 422},
    {"door-open-right", 146, 422},
    {"door-cursor", 32, 32},
    {"shelf", 290, 63},
    {"shelf-big", 874, 265},
    {"card-0", 21, 211},
    {"card-1", 45, 211},
    {"card-2", 21, 211},
    {"card-3", 21, 211},
    {"card-4", 21, 211},
    {"card-5", 21, 211},
    {"card-6", 21, 211},
    {"card-7", 21, 211},
    {"card-8", 21, 211},
    {"card-9", 104, 211},
    {"card-10", 21, 211},
    {"card-11", 38, 211},
    {"card-12", 89, 211},
    {"card-13", 51, 60},
    {"icon", 32, 32},
    {"about", 81, 113},
};

// Rack front and shelf geometry of the rack view, in twips.
constexpr double FrontWidth = 4440;
constexpr double FrontHeight = 7350;
constexpr double ShelfHeight = 945;
const QList<double> TopsSmt = {1400, 2745, 3700, 5100, 6045};
const QList<double> TopsOther = {1020, 2280, 3540, 4770, 6060};

QString screenshotDir()
{
    const QString build = qEnvironmentVariable("KVX_BUILD_DIR", QDir::currentPath());
    const QString dir = QDir(build).filePath(QStringLiteral("screenshots"));
    QDir().mkpath(dir);
    return dir;
}

QFont captionFont()
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(11);
    return font;
}

int luminance(QRgb c)
{
    return (qRed(c) * 299 + qGreen(c) * 587 + qBlue(c) * 114) / 1000;
}

// Mean luminance of the opaque pixels of a rectangle of the image.
double meanLuminance(const QImage &image, const QRect &area)
{
    const QRect r = area & image.rect();
    double sum = 0;
    int count = 0;
    for (int y = r.top(); y <= r.bottom(); ++y) {
        for (int x = r.left(); x <= r.right(); ++x) {
            const QRgb c = image.pixel(x, y);
            if (qAlpha(c) < 128)
                continue;
            sum += luminance(c);
            ++count;
        }
    }
    return count ? sum / count : -1;
}

// Why a rendering looks empty, or an empty string when it does not.
QString emptiness(const QImage &image)
{
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    QSet<QRgb> colours;
    qint64 opaque = 0;
    for (int y = 0; y < argb.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(argb.constScanLine(y));
        for (int x = 0; x < argb.width(); ++x) {
            if (qAlpha(line[x]) == 0)
                continue;
            ++opaque;
            if (colours.size() < 64)
                colours.insert(line[x]);
        }
    }
    const qint64 all = qint64(argb.width()) * argb.height();
    if (opaque * 20 < all)
        return QStringLiteral("almost all transparent");
    if (colours.size() < 8)
        return QStringLiteral("only %1 colours").arg(colours.size());
    return {};
}

// Sum of squared differences between neighbouring pixels: high for crisp
// edges, low for a blurred picture of the same size.
double edgeEnergy(const QImage &image)
{
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    double sum = 0;
    for (int y = 0; y < argb.height(); ++y) {
        for (int x = 1; x < argb.width(); ++x) {
            const double d = luminance(argb.pixel(x, y)) - luminance(argb.pixel(x - 1, y));
            sum += d * d;
        }
    }
    return sum;
}

int maxDifference(const QImage &a, const QImage &b)
{
    if (a.size() != b.size())
        return 256;
    const QImage x = a.convertToFormat(QImage::Format_ARGB32);
    const QImage y = b.convertToFormat(QImage::Format_ARGB32);
    int worst = 0;
    for (int j = 0; j < x.height(); ++j) {
        for (int i = 0; i < x.width(); ++i) {
            const QRgb p = x.pixel(i, j), q = y.pixel(i, j);
            worst = std::max({worst, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                              std::abs(qBlue(p) - qBlue(q)), std::abs(qAlpha(p) - qAlpha(q))});
        }
    }
    return worst;
}

// Mean difference per colour channel: a maroon and a grey front plate of the
// same brightness still differ.
double meanDifference(const QImage &a, const QImage &b)
{
    const QImage x = a.convertToFormat(QImage::Format_ARGB32);
    const QImage y = b.convertToFormat(QImage::Format_ARGB32);
    double sum = 0;
    for (int j = 0; j < x.height(); ++j) {
        for (int i = 0; i < x.width(); ++i) {
            const QRgb p = x.pixel(i, j), q = y.pixel(i, j);
            sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) + std::abs(qBlue(p) - qBlue(q));
        }
    }
    return sum / (3.0 * x.width() * x.height());
}

// What is wrong with the shelves of a rack front rendered at scale (pixels
// per 15 twips): each shelf shows a light rail at its top and bottom edge,
// a dark card cage inside, and no cage just outside it; between shelves the
// cable duct is not dark. Empty when every shelf is where it should be.
QStringList shelfFaults(const QImage &front, const QList<double> &tops, double scale)
{
    QStringList faults;
    const int x0 = int(front.width() * 0.25), x1 = int(front.width() * 0.75);
    auto row = [&](double y15) {
        const int y = int(std::floor(y15 * scale));
        return meanLuminance(front, QRect(x0, y, x1 - x0, 1));
    };
    const double h = ShelfHeight / 15;
    for (int i = 0; i < tops.size(); ++i) {
        const double t = tops[i] / 15;
        const struct {
            double y;
            bool light;
            const char *what;
        } probes[] = {
            {t + 1.5, true, "top rail"},        {t + 8, false, "cage below the top rail"},
            {t + h - 8, false, "cage above the bottom rail"}, {t + h - 1.5, true, "bottom rail"},
            {t - 2, true, "outside above"},     {t + h + 2, true, "outside below"},
        };
        for (const auto &p : probes) {
            const double l = row(p.y);
            if (p.light ? l < 110 : l > 80)
                faults << QStringLiteral("shelf %1: %2 at y %3 has luminance %4")
                              .arg(i + 1).arg(QLatin1String(p.what)).arg(p.y * scale).arg(l);
        }
        if (i + 1 < tops.size()) {
            const double gapTop = t + h, gapBottom = tops[i + 1] / 15;
            if (gapBottom - gapTop > 6) {
                const double l = row((gapTop + gapBottom) / 2);
                if (l < 110)
                    faults << QStringLiteral("gap below shelf %1 has luminance %2").arg(i + 1).arg(l);
            }
        }
    }
    return faults;
}

} // namespace

class TestArt : public QObject
{
    Q_OBJECT

private slots:
    void gallery();
    void cardsDiffer();
    void namePlacesReadable_data();
    void namePlacesReadable();
    void rackFrontShelves_data();
    void rackFrontShelves();
    void opaque_data();
    void opaque();
    void naturalSize();
    void stretchedRenderIsSharp();
    void paintUsesDevicePixels_data();
    void paintUsesDevicePixels();
    void cacheReusesRenderings();
    void roomPicturesMadeAheadAreTheArt();
    void rotatedPainterStillDraws();
    void doorCursorAndIcon();
};

void TestArt::gallery()
{
    const QList<kvx::Art::Entry> entries = kvx::Art::all();
    QHash<QString, kvx::Picture> byName;
    for (const auto &e : entries)
        byName.insert(e.name, e.picture);

    QStringList faults;
    if (entries.size() != int(std::size(ExpectedPictures)))
        faults << QStringLiteral("%1 pictures listed, %2 expected").arg(entries.size()).arg(std::size(ExpectedPictures));

    struct Cell
    {
        QString caption;
        QImage one, two;
    };
    QList<Cell> cells;
    for (const Expected &e : ExpectedPictures) {
        const QString name = QString::fromLatin1(e.name);
        const kvx::Picture picture = byName.value(name);
        if (picture.isNull()) {
            faults << name + QStringLiteral(": missing");
            continue;
        }
        const QSize natural = picture.naturalPixels();
        if (natural != QSize(e.width, e.height))
            faults << QStringLiteral("%1: %2 x %3 pixels, expected %4 x %5")
                          .arg(name).arg(natural.width()).arg(natural.height()).arg(e.width).arg(e.height);
        Cell cell{QStringLiteral("%1  %2x%3").arg(name).arg(natural.width()).arg(natural.height()),
                  picture.render(natural, 1), picture.render(natural, 2)};
        for (const QImage *img : {&cell.one, &cell.two}) {
            const QString why = emptiness(*img);
            if (!why.isEmpty())
                faults << QStringLiteral("%1 at %2x renders empty: %3").arg(name).arg(img->devicePixelRatio()).arg(why);
        }
        if (cell.two.size() != natural * 2)
            faults << name + QStringLiteral(": 2x rendering has the wrong size");
        cells << cell;
    }

    // Contact sheet: each picture at 1x and, beside it, its 2x rendering pixel for pixel.
    const int margin = 12, captionHeight = 16, sheetWidth = 2700;
    QList<QRect> places;
    int x = margin, y = margin, rowHeight = 0;
    for (const Cell &c : cells) {
        const int captionWidth = QFontMetrics(captionFont()).horizontalAdvance(c.caption);
        const QSize size(std::max(c.one.width() + margin + c.two.width(), captionWidth), captionHeight + c.two.height());
        if (x + size.width() > sheetWidth - margin && x > margin) {
            x = margin;
            y += rowHeight + margin;
            rowHeight = 0;
        }
        places << QRect(QPoint(x, y), size);
        x += size.width() + 2 * margin;
        rowHeight = std::max(rowHeight, size.height());
    }
    QImage sheet(sheetWidth, y + rowHeight + margin, QImage::Format_ARGB32);
    sheet.fill(QColor(0x55, 0x5a, 0x60));
    {
        QPainter p(&sheet);
        p.setFont(captionFont());
        for (int i = 0; i < cells.size(); ++i) {
            const QRect r = places[i];
            p.setPen(Qt::white);
            p.drawText(r.topLeft() + QPoint(0, 11), cells[i].caption);
            QImage one = cells[i].one, two = cells[i].two;
            one.setDevicePixelRatio(1);
            two.setDevicePixelRatio(1);
            p.drawImage(r.topLeft() + QPoint(0, captionHeight), one);
            p.drawImage(r.topLeft() + QPoint(one.width() + margin, captionHeight), two);
        }
    }
    const QString file = QDir(screenshotDir()).filePath(QStringLiteral("art-gallery.png"));
    QVERIFY2(sheet.save(file), qPrintable(file));
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
}

// Nine of the cards share one size: each must still look like a card of its own.
void TestArt::cardsDiffer()
{
    QList<QImage> renders;
    for (int code = 0; code < kvx::Art::CardCodes; ++code) {
        const kvx::Picture card = kvx::Art::card(code);
        QVERIFY2(!card.isNull(), qPrintable(QString::number(code)));
        renders << card.render(card.naturalPixels());
    }
    for (int a = 0; a < renders.size(); ++a) {
        for (int b = a + 1; b < renders.size(); ++b) {
            if (renders[a].size() != renders[b].size())
                continue;
            const double d = meanDifference(renders[a], renders[b]);
            QVERIFY2(d > 12, qPrintable(QStringLiteral("cards %1 and %2 differ by only %3").arg(a).arg(b).arg(d)));
        }
    }
    QVERIFY(kvx::Art::card(-1).isNull());
    QVERIFY(kvx::Art::card(kvx::Art::CardCodes).isNull());
}

// Where the program writes text over a picture, the picture must let it read:
// white names need a dark ground, the blue rack names a light one.
void TestArt::namePlacesReadable_data()
{
    QTest::addColumn<QString>("picture");
    QTest::addColumn<QRect>("area");
    QTest::addColumn<bool>("dark");

    for (int code = 0; code < 13; ++code) {
        // The card name runs down from 1320 twips, 140 twips in from the card's edge.
        QTest::addRow("card-%d name", code) << QStringLiteral("card-%1").arg(code) << QRect(10, 66, 8, 108) << true;
    }
    QTest::newRow("card-13 name") << QStringLiteral("card-13") << QRect(20, 4, 9, 50) << true;
    QTest::newRow("shelf-big station") << QStringLiteral("shelf-big") << QRect(32, 1, 200, 18) << true;
    QTest::newRow("rack name band") << QStringLiteral("rack") << QRect(30, 13, 80, 18) << false;
    QTest::newRow("front other name") << QStringLiteral("rack-front-other") << QRect(100, 32, 96, 20) << false;
    QTest::newRow("front smt name") << QStringLiteral("rack-front-smt") << QRect(100, 32, 96, 20) << false;
}

void TestArt::namePlacesReadable()
{
    QFETCH(QString, picture);
    QFETCH(QRect, area);
    QFETCH(bool, dark);
    kvx::Picture found;
    for (const auto &e : kvx::Art::all())
        if (e.name == picture)
            found = e.picture;
    QVERIFY(!found.isNull());
    // Rack fronts are shown stretched to the 296-pixel front.
    const QSize size = picture.startsWith(QLatin1String("rack-front")) ? QSize(296, 490) : found.naturalPixels();
    const double l = meanLuminance(found.render(size), area);
    if (dark)
        QVERIFY2(l >= 0 && l < 95, qPrintable(QStringLiteral("luminance %1 under white text").arg(l)));
    else
        QVERIFY2(l > 175, qPrintable(QStringLiteral("luminance %1 under blue text").arg(l)));
}

void TestArt::rackFrontShelves_data()
{
    QTest::addColumn<bool>("smt");
    QTest::addColumn<double>("scale");
    QTest::newRow("UE/UD 1x") << true << 1.0;
    QTest::newRow("UE/UD 2x") << true << 2.0;
    QTest::newRow("other 1x") << false << 1.0;
    QTest::newRow("other 2x") << false << 2.0;
    QTest::newRow("other 1.5x") << false << 1.5;
}

void TestArt::rackFrontShelves()
{
    QFETCH(bool, smt);
    QFETCH(double, scale);
    const kvx::Picture front = smt ? kvx::Art::rackFrontSmt() : kvx::Art::rackFrontOther();
    const QList<double> &tops = smt ? TopsSmt : TopsOther;
    // The front is always shown stretched to 4440 x 7350 twips.
    const QSize size(int(std::lround(FrontWidth / 15 * scale)), int(std::lround(FrontHeight / 15 * scale)));
    const QImage image = front.render(size);

    const QStringList faults = shelfFaults(image, tops, scale);
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));

    // The probes find a shelf that stands a few pixels off its place.
    for (double shift : {-4.0, 4.0}) {
        QList<double> moved = tops;
        moved[2] += shift * 15;
        QVERIFY2(!shelfFaults(image, moved, scale).isEmpty(), qPrintable(QString::number(shift)));
    }
    // And the other rack family's shelf tops do not fit this front.
    QVERIFY(!shelfFaults(image, smt ? TopsOther : TopsSmt, scale).isEmpty());
}

// Pictures that stand side by side or cover others must fill their box: racks
// touch their neighbours and end panels, the closed doors hide the shelves,
// cards stand edge to edge.
void TestArt::opaque_data()
{
    QTest::addColumn<QString>("picture");
    for (const char *name : {"rack", "end-right", "end-left", "rack-front-smt", "rack-front-other",
                             "door-closed-left", "door-closed-right", "shelf", "shelf-big"})
        QTest::newRow(name) << QString::fromLatin1(name);
    for (int code = 0; code < 13; ++code)
        QTest::addRow("card-%d", code) << QStringLiteral("card-%1").arg(code);
}

void TestArt::opaque()
{
    QFETCH(QString, picture);
    kvx::Picture found;
    for (const auto &e : kvx::Art::all())
        if (e.name == picture)
            found = e.picture;
    QVERIFY(!found.isNull());
    for (qreal dpr : {1.0, 2.0}) {
        const QImage image = found.render(found.naturalPixels(), dpr).convertToFormat(QImage::Format_ARGB32);
        int see = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                see += qAlpha(image.pixel(x, y)) < 250;
        QVERIFY2(see == 0, qPrintable(QStringLiteral("%1 see-through pixels at %2x").arg(see).arg(dpr)));
    }
}

void TestArt::naturalSize()
{
    const kvx::Picture card = kvx::Picture::fromData(
        "<svg xmlns='http://www.w3.org/2000/svg' width='21' height='211' viewBox='0 0 21 211'>"
        "<rect x='0' y='0' width='21' height='211' fill='#336'/></svg>");
    QVERIFY(!card.isNull());
    QCOMPARE(card.naturalPixels(), QSize(21, 211));
    QCOMPARE(card.naturalWidthTwips(), 315);
    QCOMPARE(card.naturalHeightTwips(), 3165);

    // The view box decides, not the size the file asks to be shown at.
    const kvx::Picture scaled = kvx::Picture::fromData(
        "<svg xmlns='http://www.w3.org/2000/svg' width='42' height='422' viewBox='0 0 21 211'>"
        "<rect width='21' height='211' fill='#336'/></svg>");
    QCOMPARE(scaled.naturalPixels(), QSize(21, 211));

    QVERIFY(kvx::Picture().isNull());
    QCOMPARE(kvx::Picture().naturalWidthTwips(), 0);
    QVERIFY(kvx::Picture::fromData("not a picture").isNull());
    QVERIFY(kvx::Picture(QStringLiteral(":/art/no-such-picture.svg")).isNull());
    QVERIFY(kvx::Picture().render(QSize(10, 10)).isNull());

    const kvx::Picture shelf = kvx::Art::shelfBig();
    QCOMPARE(shelf.naturalWidthTwips(), 13110);
    QCOMPARE(shelf.naturalHeightTwips(), 3975);
    QCOMPARE(shelf.source(), QStringLiteral(":/art/shelf-big.svg"));
}

void TestArt::stretchedRenderIsSharp()
{
    const kvx::Picture card = kvx::Art::card(1);
    const QSize natural = card.naturalPixels();
    const QImage native = card.render(natural * 3);
    QCOMPARE(native.size(), natural * 3);
    const QImage upscaled = card.render(natural).scaled(natural * 3, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    const double sharp = edgeEnergy(native), blurred = edgeEnergy(upscaled);
    QVERIFY2(sharp > 1.3 * blurred, qPrintable(QStringLiteral("edge energy %1 vs upscaled %2").arg(sharp).arg(blurred)));

    // Stretched over a control three times its natural size, paint gives the
    // 3x rendering itself, not a blown-up small one.
    QImage canvas(natural * 3, QImage::Format_ARGB32_Premultiplied);
    canvas.fill(Qt::transparent);
    {
        QPainter p(&canvas);
        card.paint(p, QRectF(QPointF(0, 0), QSizeF(natural * 3)));
    }
    QVERIFY(maxDifference(canvas, native) <= 1);

    // A picture stretched out of proportion fills its whole target.
    const QImage wide = kvx::Art::rackFrontSmt().render(QSize(296, 490));
    QVERIFY(qAlpha(wide.pixel(295, 245)) == 255);
    QVERIFY(qAlpha(wide.pixel(0, 489)) == 255);
}

void TestArt::paintUsesDevicePixels_data()
{
    QTest::addColumn<double>("dpr");
    QTest::addColumn<QPointF>("at");
    QTest::newRow("1x") << 1.0 << QPointF(10, 12);
    QTest::newRow("2x") << 2.0 << QPointF(10, 12);
    QTest::newRow("1.5x") << 1.5 << QPointF(10, 12);
    QTest::newRow("2x between pixels") << 2.0 << QPointF(10.3, 11.8);
}

void TestArt::paintUsesDevicePixels()
{
    QFETCH(double, dpr);
    QFETCH(QPointF, at);
    const kvx::Picture rack = kvx::Art::rack();
    const QSizeF logical(144, 263);
    QImage canvas(QSize(200, 300) * dpr, QImage::Format_ARGB32_Premultiplied);
    canvas.setDevicePixelRatio(dpr);
    canvas.fill(Qt::transparent);
    {
        QPainter p(&canvas);
        rack.paint(p, QRectF(at, logical));
    }
    // The rendering lands on whole device pixels, unresampled.
    const QPoint device(int(std::round(at.x() * dpr)), int(std::round(at.y() * dpr)));
    const QSize deviceSize(int(std::round((at.x() + logical.width()) * dpr)) - device.x(),
                           int(std::round((at.y() + logical.height()) * dpr)) - device.y());
    QImage expected = rack.render(deviceSize, 1);
    QImage painted = canvas.copy(QRect(device, deviceSize));
    painted.setDevicePixelRatio(1);
    QVERIFY(maxDifference(painted, expected) <= 1);
    // Nothing drawn outside the target.
    QCOMPARE(qAlpha(canvas.pixel(device.x() - 1, device.y() + 5)), 0);
    QCOMPARE(qAlpha(canvas.pixel(device.x() + 5, device.y() - 1)), 0);
}

// The room plan's pictures compiled in when the program was built are the
// renderings the art gives at their sizes, and are what the pictures paint.
void TestArt::roomPicturesMadeAheadAreTheArt()
{
    QCOMPARE(kvx::Art::RoomPictureCount, 3);
    for (int i = 0; i < kvx::Art::RoomPictureCount; ++i) {
        const kvx::Art::RoomPicture &made = kvx::Art::RoomPictures[i];
        const QString name = QString::fromLatin1(made.name);
        QSvgRenderer svg(QStringLiteral(":/art/%1.svg").arg(name));
        const QImage fresh = kvx::renderSvg(svg, QSize(made.width, made.height));
        QCOMPARE(!fresh.hasAlphaChannel(), made.opaque);
        const QImage ahead(reinterpret_cast<const uchar *>(made.pixels), made.width, made.height, made.width * 4,
                           fresh.format());
        QVERIFY2(ahead == fresh, qPrintable(name));

        // A picture of the program paints them from its cache, without a
        // rendering of its own at that size.
        const kvx::Picture picture = name == QLatin1String("rack")        ? kvx::Art::rack()
                                     : name == QLatin1String("end-right") ? kvx::Art::endRight()
                                                                          : kvx::Art::endLeft();
        QImage canvas(made.width, made.height, QImage::Format_ARGB32_Premultiplied);
        canvas.fill(Qt::transparent);
        const int before = picture.cachedRenderings();
        {
            QPainter p(&canvas);
            picture.paint(p, QRectF(0, 0, made.width, made.height));
        }
        QCOMPARE(picture.cachedRenderings(), before);
        QVERIFY2(canvas.convertToFormat(QImage::Format_ARGB32_Premultiplied)
                     == fresh.convertToFormat(QImage::Format_ARGB32_Premultiplied),
                 qPrintable(name));
    }
}

void TestArt::cacheReusesRenderings()
{
    const kvx::Picture original = kvx::Picture(QStringLiteral(":/art/rack.svg"));
    const kvx::Picture copy = original;
    QVERIFY(copy == original);
    QVERIFY(!(copy == kvx::Picture(QStringLiteral(":/art/rack.svg"))));

    QImage room(800, 600, QImage::Format_ARGB32_Premultiplied);
    room.fill(Qt::white);
    QImage first;
    {
        QPainter p(&room);
        for (int i = 0; i < 225; ++i)
            (i % 2 ? copy : original).paint(p, QRectF((i % 15) * 20, (i / 15) * 10, 144, 263));
    }
    // A room of racks costs one rendering, shared by the copies.
    QCOMPARE(original.cachedRenderings(), 1);
    QCOMPARE(copy.cachedRenderings(), 1);

    auto paintAt = [&](QSizeF size) {
        QImage img(size.toSize(), QImage::Format_ARGB32_Premultiplied);
        img.fill(Qt::transparent);
        QPainter p(&img);
        original.paint(p, QRectF(QPointF(0, 0), size));
        return img;
    };
    first = paintAt(QSizeF(144, 263));
    for (int w = 100; w < 300; w += 10)
        paintAt(QSizeF(w, 263));
    QVERIFY(original.cachedRenderings() <= kvx::Picture::CacheLimit);
    // Rendered again after being dropped from the cache: the same pixels.
    QCOMPARE(paintAt(QSizeF(144, 263)), first);
    QCOMPARE(paintAt(QSizeF(144, 263)), first);
}

void TestArt::rotatedPainterStillDraws()
{
    const kvx::Picture card(QStringLiteral(":/art/card-9.svg"));
    QImage canvas(260, 120, QImage::Format_ARGB32_Premultiplied);
    canvas.fill(Qt::transparent);
    {
        QPainter p(&canvas);
        p.translate(240, 8);
        p.rotate(90);
        card.paint(p, QRectF(0, 0, 104, 211));
    }
    QVERIFY(emptiness(canvas.copy(29, 8, 211, 104)).isEmpty());
    QCOMPARE(card.cachedRenderings(), 0);
}

void TestArt::doorCursorAndIcon()
{
    const QCursor cursor = kvx::Art::doorCursor();
    QCOMPARE(cursor.shape(), Qt::BitmapCursor);
    QCOMPARE(cursor.hotSpot(), QPoint(1, 1));
    QVERIFY(!cursor.pixmap().isNull());
    // The hot spot is at the arrow's tip, which is drawn.
    const QImage pointer = kvx::Art::doorCursorPicture().render(QSize(32, 32), 4);
    QVERIFY(qAlpha(pointer.pixel(5, 5)) > 200);

    const QIcon icon = kvx::Art::windowIcon();
    QCOMPARE(icon.availableSizes(), QList<QSize>({QSize(16, 16), QSize(32, 32), QSize(64, 64)}));
    // The smaller sizes are the same picture: the cabinet's outline stands
    // where the natural size puts it.
    const QImage natural = kvx::Art::icon().render(QSize(32, 32)).convertToFormat(QImage::Format_ARGB32);
    const QImage small = icon.pixmap(QSize(32, 32)).toImage().convertToFormat(QImage::Format_ARGB32);
    QCOMPARE(small.size(), natural.size());
    int far = 0;
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            const QRgb p = natural.pixel(x, y), q = small.pixel(x, y);
            if (std::abs(qAlpha(p) - qAlpha(q)) > 40 || std::abs(qGray(p) - qGray(q)) > 40)
                ++far;
        }
    }
    QVERIFY2(far < 20, qPrintable(QStringLiteral("%1 pixels differ").arg(far)));
}

QTEST_MAIN(TestArt)
#include "test_art.moc"
