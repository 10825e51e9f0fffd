// Renders each tab of the configuration editor, opened on the sample
// exchange, to a PNG under the build folder for people to look at, with a
// few pixel checks that catch a picture or a colour that failed to show.

#include "controlshelpers.h"
#include "editorhelpers.h"

#include "art/art.h"
#include "platform/frame.h"
#include "platform/image.h"
#include "platform/menu.h"
#include "platform/tabcontrol.h"

#include <QDir>
#include <QMenu>
#include <QPainter>

using namespace kvx;

class TestEditorScreenshot : public QObject
{
    Q_OBJECT

private slots:
    void renderTabs();
    void majorChangeWithPopup();
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

void TestEditorScreenshot::majorChangeWithPopup()
{
    test::EditorSession session;
    QVERIFY(session.loadBytes(test::fileBytes(QFINDTESTDATA("../app/config.kvx"))));
    frmAlter *f = session.open();
    QVERIFY(f);
    f->SSTab1->setTab(1);
    // A rack right-clicked: its stations are shown, the real pop-up opens at
    // the mouse, and the keyboard opens Insert and its UE submenu as a person would.
    int rack = 1;
    while (f->lblEdRack(rack).Caption() != QLatin1String("UE-01"))
        ++rack;
    const QPoint at = f->lblEdRack(rack).pixelRect().center() + f->Frame6->clientOrigin();
    setPopupMenuHook([&](Menu *menu) { menu->submenu()->popup(f->Frame6->mapToGlobal(at)); });
    QTest::mouseClick(f->Frame6, Qt::RightButton, {}, at);
    setPopupMenuHook({});
    QMenu *popup = f->mnuEdit->submenu();
    QVERIFY(QTest::qWaitForWindowExposed(popup));
    QTest::keyClick(popup, Qt::Key_Down);
    QTest::keyClick(popup, Qt::Key_Right);
    QMenu *insert = f->mnuIns->submenu();
    QVERIFY(QTest::qWaitForWindowExposed(insert));
    for (int n = 0; n < 4; ++n)
        QTest::keyClick(insert, Qt::Key_Down);
    QCOMPARE(insert->activeAction()->text(), QString("UE"));
    QTest::keyClick(insert, Qt::Key_Right);
    QMenu *ue = insert->activeAction()->menu();
    QVERIFY(QTest::qWaitForWindowExposed(ue));

    // The window with the open menus laid over it where they stand on the screen.
    const QImage window = test::grabImage(*f);
    const QPoint origin = f->mapToGlobal(QPoint());
    QRect canvas(origin, window.size());
    for (QMenu *menu : {popup, insert, ue})
        canvas |= menu->geometry();
    QImage shot(canvas.size(), QImage::Format_RGB32);
    shot.fill(Qt::darkGray);
    {
        QPainter painter(&shot);
        painter.drawImage(origin - canvas.topLeft(), window);
        for (QMenu *menu : {popup, insert, ue})
            painter.drawImage(menu->geometry().topLeft() - canvas.topLeft(), test::grabImage(*menu));
    }
    const QString folder = qEnvironmentVariable("KVX_BUILD_DIR", QDir::currentPath()) + QStringLiteral("/screenshots");
    QVERIFY(QDir().mkpath(folder));
    QVERIFY(shot.save(folder + QStringLiteral("/editor-major-change-popup.png")));

    // The selected box is green, another rack's box white.
    QCOMPARE(f->txtEdShelf(0).Text(), QString("SMC"));
    const auto onWindow = [&](const LightControl &box) {
        return f->Frame6->mapTo(f, box.pixelRect().topLeft() + QPoint(3, 3) + f->Frame6->clientOrigin());
    };
    QVERIFY(test::colorNear(window, onWindow(f->lblEdRack(rack)), QColor(0x11, 0xF4, 0x87), 1));
    QVERIFY(test::colorNear(window, onWindow(f->lblEdRack(1)), Qt::white, 1));
    for (QMenu *menu : {ue, insert, popup})
        menu->close();
}

QTEST_MAIN(TestEditorScreenshot)
#include "test_editor_screenshot.moc"
