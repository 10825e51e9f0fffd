// The pictures of art/, and the two About windows that show them.

#include "art/art.h"
#include "dialogs/frmaboutme.h"
#include "dialogs/frmaboutprg.h"
#include "platform/commandbutton.h"
#include "platform/frame.h"
#include "platform/image.h"
#include "platform/label.h"
#include "platform/picturebox.h"
#include "support/testhooks.h"

#include <QDir>
#include <QPainter>
#include <QTest>

#include <functional>

using namespace kvx;

namespace {

using Getter = std::function<Picture()>;

QImage argb(const QImage &image)
{
    return image.convertToFormat(QImage::Format_ARGB32);
}

// The labels of an About window.
QList<const Label *> labelsOf(bool programmer)
{
    if (programmer) {
        const frmAboutME &d = frmAboutME::get();
        return {d.Label1, d.Label2, d.Label3, d.Label4, d.Label5, d.Label6};
    }
    const frmAboutPrg &d = frmAboutPrg::get();
    return {d.Label1, d.Label2, d.Label3, d.Label4, d.Label5};
}

QRectF pixelsOf(const Label *label)
{
    return {label->Left() / 15, label->Top() / 15, label->Width() / 15, label->Height() / 15};
}

} // namespace

class TestArt : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();
    void picturesOfTheirOwnName_data();
    void picturesOfTheirOwnName();
    void cacheReusesRenderings();
    void aboutTextsFitTheirLabels_data();
    void aboutTextsFitTheirLabels();
    void aboutWindowsShowTheirPictures();
    void okHidesAndShowingAgainKeepsTheWindow_data();
    void okHidesAndShowingAgainKeepsTheWindow();
};

void TestArt::cleanup()
{
    frmAboutPrg::discard();
    frmAboutME::discard();
}

void TestArt::picturesOfTheirOwnName_data()
{
    QTest::addColumn<Getter>("getter");
    QTest::addColumn<bool>("opaque"); // stands beside or over others: no see-through pixel
    const std::tuple<const char *, Getter, bool> pictures[] = {
        {"rack", Art::rack, true}, {"end-right", Art::endRight, true}, {"end-left", Art::endLeft, true},
        {"rack-front-smt", Art::rackFrontSmt, true}, {"rack-front-other", Art::rackFrontOther, true},
        {"door-closed-left", Art::doorClosedLeft, true}, {"door-closed-right", Art::doorClosedRight, true},
        {"door-open-left", Art::doorOpenLeft, false}, {"door-open-right", Art::doorOpenRight, false},
        {"shelf", Art::shelf, true}, {"shelf-big", Art::shelfBig, true}, {"icon", Art::icon, false},
        {"about", Art::aboutPicture, false}, {"door-cursor", Art::doorCursorPicture, false}};
    for (const auto &[name, getter, opaque] : pictures)
        QTest::newRow(name) << getter << opaque;
    for (int code = 0; code < Art::CardCodes; ++code)
        QTest::addRow("card-%d", code) << Getter([code] { return Art::card(code); }) << (code < 13);
}

// Each getter gives the picture of its own file, and the same shared picture
// every time, so that all its controls share one cache of renderings.
void TestArt::picturesOfTheirOwnName()
{
    QFETCH(Getter, getter);
    QFETCH(bool, opaque);
    const Picture picture = getter();
    const Picture file(QStringLiteral(":/art/%1.svg").arg(QLatin1String(QTest::currentDataTag())));
    QVERIFY(!file.isNull());
    QVERIFY(getter() == picture);
    QCOMPARE(picture.naturalPixels(), file.naturalPixels());
    const QImage image = argb(picture.render(picture.naturalPixels()));
    QVERIFY(image == argb(file.render(file.naturalPixels())));
    int seeThrough = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            seeThrough += qAlpha(image.pixel(x, y)) < 250;
    QVERIFY2(!opaque || seeThrough == 0, qPrintable(QStringLiteral("%1 see-through pixels").arg(seeThrough)));
}

// Copies share one cache: a room of racks costs one rendering. The cache
// stays small, and a size dropped from it renders the same pixels again.
void TestArt::cacheReusesRenderings()
{
    const Picture original(QStringLiteral(":/art/rack.svg")), copy = original;
    QVERIFY(copy == original && !(copy == Picture(QStringLiteral(":/art/rack.svg"))));
    QImage room(300, 300, QImage::Format_ARGB32_Premultiplied);
    const auto paintAt = [&](int width, const Picture &picture) {
        room.fill(Qt::transparent);
        QPainter p(&room);
        picture.paint(p, QRectF(0, 0, width, 263));
        return room.copy(0, 0, width, 263);
    };
    const QImage first = paintAt(144, original);
    paintAt(144, copy);
    QCOMPARE(copy.cachedRenderings(), 1);
    for (int width = 100; width < 300; width += 10)
        paintAt(width, original);
    QVERIFY(original.cachedRenderings() <= Picture::CacheLimit);
    QCOMPARE(paintAt(144, original), first);
}

void TestArt::aboutTextsFitTheirLabels_data()
{
    QTest::addColumn<bool>("programmer");
    QTest::addColumn<int>("label");
    for (const bool programmer : {false, true}) {
        const auto labels = labelsOf(programmer);
        for (int i = 0; i < labels.size(); ++i)
            QTest::addRow("%s: %s", programmer ? "programmer" : "program", qPrintable(labels[i]->Caption()))
                << programmer << i;
        cleanup();
    }
}

// Each caption, measured in its label's font and wrapped at its width where
// it wraps, lies whole inside its label, the label inside the window, and
// the text clear of the other labels and controls.
void TestArt::aboutTextsFitTheirLabels()
{
    QFETCH(bool, programmer);
    QFETCH(int, label);
    AboutDialog &d = programmer ? static_cast<AboutDialog &>(frmAboutME::get()) : frmAboutPrg::get();
    showAboutDialog(d);
    QVERIFY(QTest::qWaitForWindowExposed(&d));
    const QList<const Label *> labels = labelsOf(programmer);
    const Label *l = labels[label];
    const QRectF box = pixelsOf(l);
    const int flags = l->WordWrap() ? Qt::TextWordWrap : 0;
    const QRectF text = QFontMetricsF(l->font()).boundingRect(QRectF(0, 0, box.width(), 1e6), flags, l->Caption());
    QVERIFY2(text.width() <= box.width() && text.height() <= box.height(),
             qPrintable(QStringLiteral("%1 x %2 text in %3 x %4").arg(text.width()).arg(text.height())
                            .arg(box.width()).arg(box.height())));
    QVERIFY(QRectF(d.clientArea()->rect()).contains(box));
    QList<QRectF> others{QRectF(d.Command1->geometry()), QRectF(d.Frame1->geometry())};
    for (const Label *other : labels)
        if (other != l)
            others << pixelsOf(other);
    for (const QRectF &other : others)
        QVERIFY2(!QRectF(box.topLeft(), text.size()).intersects(other),
                 qPrintable(QStringLiteral("overlaps %1,%2").arg(other.x()).arg(other.y())));
}

// The icon and the photo are shown, each filling its box; the two windows
// land as screenshots for people to look at.
void TestArt::aboutWindowsShowTheirPictures()
{
    frmAboutPrg &program = frmAboutPrg::get();
    frmAboutME &programmer = frmAboutME::get();
    QVERIFY(program.Picture1->Picture() == Art::icon());
    QVERIFY(programmer.Image1->Picture() == Art::aboutPicture());
    QCOMPARE(QSizeF(programmer.Image1->Width(), programmer.Image1->Height()),
             QSizeF(programmer.Picture1->ScaleWidth(), programmer.Picture1->ScaleHeight()));
    const QString dir = qEnvironmentVariable("KVX_BUILD_DIR", QDir::tempPath()) + "/screenshots";
    QDir().mkpath(dir);
    const std::pair<AboutDialog *, const char *> shots[] = {
        {&program, "about-program.png"}, {&programmer, "about-programmer.png"}};
    for (const auto &[d, name] : shots) {
        showAboutDialog(*d);
        QVERIFY(QTest::qWaitForWindowExposed(d));
        QVERIFY(d->grab().save(dir + "/" + name, nullptr, test::ShotQuality));
    }
    const QImage icon = program.Picture1->grab().toImage();
    QVERIFY(icon.pixelColor(16, 16) != program.palette().window().color());
}

void TestArt::okHidesAndShowingAgainKeepsTheWindow_data()
{
    QTest::addColumn<bool>("programmer");
    QTest::addColumn<int>("key"); // 0: a click on OK
    for (const bool programmer : {false, true}) {
        const char *which = programmer ? "programmer" : "program";
        QTest::addRow("%s: OK clicked", which) << programmer << 0;
        QTest::addRow("%s: Enter", which) << programmer << int(Qt::Key_Return);
        QTest::addRow("%s: Esc", which) << programmer << int(Qt::Key_Escape);
    }
}

void TestArt::okHidesAndShowingAgainKeepsTheWindow()
{
    QFETCH(bool, programmer);
    QFETCH(int, key);
    QWidget main;
    main.setGeometry(200, 150, 600, 400);
    main.show();
    QVERIFY(QTest::qWaitForWindowExposed(&main));
    AboutDialog &d = programmer ? static_cast<AboutDialog &>(frmAboutME::get(&main)) : frmAboutPrg::get(&main);
    showAboutDialog(d);
    QVERIFY(QTest::qWaitForWindowExposed(&d));
    // Centred over the main window, give or take its frame, unknown before it is first shown.
    QVERIFY((d.frameGeometry().center() - main.frameGeometry().center()).manhattanLength() <= 6);
    if (key == 0)
        QTest::mouseClick(d.Command1, Qt::LeftButton);
    else
        QTest::keyClick(d.focusWidget() ? d.focusWidget() : &d, Qt::Key(key));
    QVERIFY(!d.isVisible());
    QCOMPARE(programmer ? static_cast<AboutDialog *>(&frmAboutME::get()) : &frmAboutPrg::get(), &d);
    showAboutDialog(d);
    QVERIFY(d.isVisible());
}

QTEST_MAIN(TestArt)
#include "test_art.moc"
