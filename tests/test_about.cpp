// The two About windows: their content, and OK hiding them without unloading.
#include "dialogs/frmaboutme.h"
#include "dialogs/frmaboutprg.h"
#include "platform/commandbutton.h"
#include "platform/image.h"
#include "platform/label.h"
#include "platform/picturebox.h"

#include <QDir>
#include <QTest>

using namespace kvx;

namespace {

void saveShot(QWidget &w, const QString &name)
{
    const QString dir = qEnvironmentVariable("KVX_BUILD_DIR", QDir::tempPath()) + "/screenshots";
    QDir().mkpath(dir);
    QVERIFY(w.grab().save(dir + "/" + name));
}

// Whether the label's text fits inside the window it stands in.
bool fitsWindow(const Label *label, const QWidget &window)
{
    const double right = label->Left() + label->Width();
    return right <= window.width() * 15.0 + 1 && label->Width() > 0;
}

} // namespace

class TestAbout : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();
    void programDialog();
    void programmerDialog();
    void okHidesAndShowingAgainKeepsTheWindow_data();
    void okHidesAndShowingAgainKeepsTheWindow();
};

void TestAbout::cleanup()
{
    frmAboutPrg::discard();
    frmAboutME::discard();
}

void TestAbout::programDialog()
{
    frmAboutPrg &d = frmAboutPrg::get();
    showAboutDialog(d);
    QVERIFY(QTest::qWaitForWindowExposed(&d));
    QCOMPARE(d.windowTitle(), QString("About KVX-410"));
    QCOMPARE(d.Label1->Caption(), QString("KVX - 410"));
    QCOMPARE(d.Label1->ForeColor(), ColorRed);
    QCOMPARE(d.Label3->Caption(), QString("Version:  1.10.00"));
    QCOMPARE(d.Label4->Caption(), QString("Date    : 02/02/02"));
    QCOMPARE(d.Command1->Caption(), QString("OK"));
    QCOMPARE(QPointF(d.Command1->Left(), d.Command1->Top()), QPointF(2880, 2520));
    QVERIFY(!d.Picture1->Picture().isNull());
    for (const Label *l : {d.Label1, d.Label2, d.Label3, d.Label4, d.Label5})
        QVERIFY(fitsWindow(l, d));
    // The sentence is read whole: it is not cut off above the version line.
    QVERIFY(d.Label2->Top() + d.Label2->Height() <= d.Label3->Top());
    // The icon box shows the icon's pixels, not an empty box.
    const QImage shot = d.Picture1->grab().toImage();
    QVERIFY(shot.pixelColor(16, 16) != shot.pixelColor(0, 0) || shot.pixelColor(16, 16) != d.palette().window().color());
    saveShot(d, "about-program.png");
}

void TestAbout::programmerDialog()
{
    frmAboutME &d = frmAboutME::get();
    showAboutDialog(d);
    QVERIFY(QTest::qWaitForWindowExposed(&d));
    QCOMPARE(d.windowTitle(), QString("About the Programmer"));
    const QStringList expected{"Name : ", "Desig :  ", "HQ     : ", "E-Mail : ", "More  :"};
    const Label *labels[] = {d.Label2, d.Label3, d.Label1, d.Label4, d.Label6};
    for (int i = 0; i < 5; ++i) {
        QVERIFY2(labels[i]->Caption().startsWith(expected[i]), qPrintable(labels[i]->Caption()));
        QCOMPARE(labels[i]->Left(), 1440.0);
        QCOMPARE(labels[i]->Top(), 120.0 + 360 * i);
    }
    // No address is invented.
    QVERIFY(!d.Label4->Caption().contains('@'));
    QVERIFY(d.Label4->Caption().endsWith("none"));
    QVERIFY(d.Label6->Caption().endsWith("none"));
    QCOMPARE(d.Image1->Width(), d.Picture1->ScaleWidth());
    QVERIFY(!d.Image1->Picture().isNull());
    saveShot(d, "about-programmer.png");
}

void TestAbout::okHidesAndShowingAgainKeepsTheWindow_data()
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

void TestAbout::okHidesAndShowingAgainKeepsTheWindow()
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
    // Centred over the main window, not in the screen's corner (give or take
    // its frame, unknown before it is first shown).
    const QRect dg = d.frameGeometry(), mg = main.frameGeometry();
    QVERIFY2((dg.center() - mg.center()).manhattanLength() <= 6,
             qPrintable(QStringLiteral("dialog %1,%2 %3x%4 over %5,%6 %7x%8").arg(dg.x()).arg(dg.y()).arg(dg.width()).arg(dg.height())
                            .arg(mg.x()).arg(mg.y()).arg(mg.width()).arg(mg.height())));
    if (key == 0)
        QTest::mouseClick(d.Command1, Qt::LeftButton);
    else
        QTest::keyClick(d.focusWidget() ? d.focusWidget() : &d, Qt::Key(key));
    QVERIFY(!d.isVisible());
    QVERIFY(programmer ? frmAboutME::isLoaded() : frmAboutPrg::isLoaded());
    QCOMPARE(programmer ? static_cast<AboutDialog *>(&frmAboutME::get()) : &frmAboutPrg::get(), &d);
    showAboutDialog(d);
    QVERIFY(d.isVisible());
    QCOMPARE(d.Command1->Caption(), QString("OK"));
}

QTEST_MAIN(TestAbout)
#include "test_about.moc"
