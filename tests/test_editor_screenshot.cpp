// Renders each tab of the configuration editor, opened on the sample
// exchange, to a PNG under the build folder for people to look at, with a
// few pixel checks that catch a picture or a colour that failed to show.

#include "controlshelpers.h"
#include "editorhelpers.h"

#include "art/art.h"
#include "platform/image.h"
#include "platform/tabcontrol.h"

#include <QDir>

using namespace kvx;

class TestEditorScreenshot : public QObject
{
    Q_OBJECT

private slots:
    void renderTabs();
};

void TestEditorScreenshot::renderTabs()
{
    test::EditorSession session;
    QVERIFY(session.loadBytes(test::fileBytes(QFINDTESTDATA("../app/config.kvx"))));
    frmAlter *f = session.open();
    QVERIFY(f);
    // A rack with cards on its first shelf, and its second card as the current row.
    int uc = -1;
    for (int i = 0; i < f->lstRackName->ListCount() && uc < 0; ++i) {
        if (f->lstRackName->List(i) == QLatin1String("UC-01"))
            uc = i;
    }
    QVERIFY(uc >= 0);
    test::chooseRack(f->lstRackName, uc);
    QVERIFY(f->cardRows() > 2);
    test::click(&f->txtCard(2));
    QCOMPARE(f->curRow(), 2);

    const QString folder = qEnvironmentVariable("KVX_BUILD_DIR", QDir::currentPath()) + QStringLiteral("/screenshots");
    QVERIFY(QDir().mkpath(folder));
    const char *const names[] = {"editor-small-change", "editor-major-change", "editor-ring-change"};
    for (int tab = 0; tab < 3; ++tab) {
        f->SSTab1->setTab(tab);
        const QImage shot = test::grabImage(*f);
        QVERIFY(shot.save(folder + QLatin1Char('/') + QLatin1String(names[tab]) + QStringLiteral(".png")));
        if (tab == 0) {
            // The card picture of the details panel is drawn, not left blank.
            const QRect card = f->imgmodel->pixelRect().translated(f->frameDetails->mapTo(f, QPoint()));
            const QColor back = shot.pixelColor(card.topLeft() - QPoint(4, 0));
            QVERIFY(f->imgmodel->Picture() == Art::card(f->txtType(2).Text().toInt()));
            QVERIFY(!test::colorNear(shot, card.center(), back, 0));
            // The current row is highlighted.
            const QPoint row = f->txtCard(2).mapTo(f, f->txtCard(2).rect().center() + QPoint(20, 0));
            QVERIFY(test::colorNear(shot, row, QColor(0x11, 0xF4, 0x87), 3));
        }
        if (tab == 2) {
            // The MIS swatch shows the ring's colour.
            const QRect swatch = f->clrMis->pixelRect().translated(f->Frame5->mapTo(f, QPoint()));
            const quint32 c = quint32(ModMain.MisColor);
            QCOMPARE(shot.pixelColor(swatch.center()), QColor(c & 0xff, (c >> 8) & 0xff, (c >> 16) & 0xff));
        }
    }
}

QTEST_MAIN(TestEditorScreenshot)
#include "test_editor_screenshot.moc"
