// The main window driven as a user drives it, on a 1024 x 768 screen unless a test names another: the room
// plan, bars and wheel; the menus; the ring views; the rack and shelf views; the sample's images.

#include "editorhelpers.h"
#include "viewerhelpers.h"

#include "art/art.h"
#include "dialogs/frmaboutme.h"
#include "dialogs/frmaboutprg.h"
#include "model/racktemplates.h"
#include "platform/application.h"
#include "platform/combobox.h"
#include "platform/qtservices.h"
#include "viewer/exportview.h"
#include "viewer/findbar.h"

#include <QAccessible>
#ifdef KVX_ACCESSIBILITY_EVENTS
#include <private/qguiapplication_p.h>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>
#endif
#include <QLineEdit>
#include <QPointer>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTimer>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>
#include <tuple>

using namespace kvx;

namespace {

// Design sizes: the rack picture, the viewport at 1024 x 768.
constexpr double W = 2160;
constexpr double H = 3945;
constexpr double Viewport = 15360 - 3 * 255;
constexpr double ViewportHeight = 11520 - 4 * 255;

template<typename C>
QRectF geometry(const C &control)
{
    return {control.Left(), control.Top(), control.Width(), control.Height()};
}

// The names the plan and the ring schematic show, then how many controls both hold.
QStringList planShown(const frmSwitch &form)
{
    QStringList shown;
    for (const ControlArray<Label> *names : {&form.lblRack, &form.lblRingRack}) {
        for (int i = 1; i <= names->ubound(); ++i)
            shown << (names->exists(i) ? (*names)(i).Caption() : QString());
    }
    return shown << QString::number(form.PicRoom->itemCount() + form.PicRing->itemCount());
}

// An edit of one kind, made in the editor as a person makes it.
void makeEdit(frmAlter *f, const QString &edit, test::Hooks &hooks)
{
    const QStringList tabs[] = {{"slot", "typing", "add", "insert", "delete"}, {"site", "station", "size", "remove", "rack"}};
    f->SSTab1->setTab(tabs[0].contains(edit) ? 0 : tabs[1].contains(edit) ? 1 : 2);
    if (edit == "slot" || edit == "typing" || edit == "station") {
        if (edit == "station")
            test::pressBox(f, 1);
        QWidget *box = edit == "slot" ? &f->txtSlot(1) : edit == "typing" ? &f->txtCard(1) : &f->txtEdShelf(0);
        test::doubleClick(box);
        test::typeOver(box, "77"); // typing: left in a row not yet stored
        if (edit == "slot")
            test::click(&f->txtCard(2));
    } else if (edit == "add" || edit == "insert" || edit == "delete") {
        test::click(&f->txtCard(2));
        test::click(edit == "add" ? f->cmdAdd : edit == "insert" ? f->cmdInsert : f->cmdDelete);
    } else if (edit == "site" || edit == "members") {
        QWidget *box = edit == "site" ? static_cast<QWidget *>(f->txtSiteName) : &f->txtMas(1);
        test::click(box);
        QTest::keyClicks(box, edit == "site" ? "X" : ",XA0");
    } else if (edit == "size") {
        QTest::keyClick(f->cmbShoot, Qt::Key_Down);
        test::click(f->cmdUpdate);
    } else if (edit == "remove") {
        test::PopupChooser chooser({QStringLiteral("Remove")}); // SDE-01, whose stations are empty
        test::pressBox(f, 6, Qt::RightButton);
    } else if (edit == "rack") {
        test::insertAt(f, 2, "UE-05");
    } else if (edit == "tick") {
        test::click(&f->chkmas(3));
    } else if (edit == "colour") {
        hooks.setNextColor(0x00FF00);
        test::clickItem(&f->frameMas(2), f->clrMas(2));
    }
}

// What a save would write now: with the editor open, its ring lists as typed.
QByteArray toBeSaved()
{
    QByteArray out;
    const ModelRingControls fromModel(ModMain);
    ExchangeWriter().write(ModMain, ringControls() ? *ringControls() : fromModel, &out);
    return out;
}

// A card as a data file may hold it: its slot and code need not be numbers.
struct Card
{
    Loose slot;
    QString name;
    Loose code;
};
using Cards = QList<Card>;

// Shoot 2 is the front row; UC-05 stands twice, UC-01 has stations on shelves 1, 3 and 5, UC-03's first shelf is full.
frmSwitch &startRacks(test::ProgramFixture &program)
{
    test::TestRoom room;
    room.rows = {{"UC-01", "UE-01", "ue-02", "UC-05", "UC-06", "UC-07", "UC-08", "UC-09"},
                 {"UC-02", "UD-01", "SD-01", "UC-05", "SDE-02", "UC-03", "", ""}};
    room.stations["UC-01"] = {"SMC", "", "SMA", "", "SMA"};
    if (!program.start(room))
        qFatal("the program did not start");
    test::putCards(ModMain, 2, 6, 1, test::manyCards(CardsPerShelf, "C"));
    frmSwitch::get().activateWindow();
    if (!QTest::qWaitForWindowActive(&frmSwitch::get()))
        qFatal("the window was not activated");
    return frmSwitch::get();
}

// The card copies are exactly those laid last.
bool cardsLaid(const frmSwitch &form, int count)
{
    return form.CardCount == count && form.imgCard.count() == count + 1 && form.lblCard.count() == count + 1;
}

// Empty when the image matches its reference (drawn on the offscreen platform with Liberation fonts), else where
// they differ: a few pixels a few levels off pass, a rack, card or name moved or missing does not.
// KVX_UPDATE_REFERENCES=1 writes new references.
QString differenceFromReference(const QImage &actual, const QString &view)
{
    const QString name = QStringLiteral("reference-%1-1024x768.png").arg(view), path = QStringLiteral(KVX_TEST_DATA_DIR "/") + name;
    if (qEnvironmentVariableIntValue("KVX_UPDATE_REFERENCES"))
        actual.save(path);
    const QImage expected = QImage(path).convertToFormat(QImage::Format_RGB32);
    int count = 0;
    QRect box; // of the pixels that differ
    for (int y = 0; expected.size() == actual.size() && y < actual.height(); ++y) {
        for (int x = 0; x < actual.width(); ++x) {
            const QRgb a = actual.pixel(x, y), e = expected.pixel(x, y);
            if (std::max({std::abs(qRed(a) - qRed(e)), std::abs(qGreen(a) - qGreen(e)), std::abs(qBlue(a) - qBlue(e))}) > 8) {
                ++count;
                box |= QRect(x, y, 1, 1);
            }
        }
    }
    if (expected.size() == actual.size() && count <= 20)
        return {};
    const QString saved = test::screenshotFolder() + "/actual-" + name;
    actual.save(saved);
    return QStringLiteral("%1 (%2x%3) differs from %4 (%5x%6)")
               .arg(saved).arg(actual.width()).arg(actual.height()).arg(path).arg(expected.width()).arg(expected.height())
           + QStringLiteral(" in %1 pixels within %2x%3 at (%4, %5)").arg(count).arg(box.width()).arg(box.height()).arg(box.x()).arg(box.y());
}

// Starts on the sample, the test room or a full room ("15x15"), the window active and nothing read out yet.
frmSwitch &startOn(test::ProgramFixture &program, const QString &room)
{
    QFile sample(QStringLiteral(KVX_SAMPLE_FILE));
    const QStringList size = room.split('x');
    const bool started = room == "sample"  ? sample.open(QIODevice::ReadOnly) && program.start(sample.readAll())
                         : room == "test" ? program.start(test::fileOf(test::testRoom()))
                                          : program.start(test::fullRoom(size[0].toInt(), size[1].toInt()));
    frmSwitch::get().activateWindow();
    if (!started || !QTest::qWaitForWindowActive(&frmSwitch::get()))
        qFatal("the program did not start");
    return frmSwitch::get();
}

// Keys as a user presses them, on whatever has the focus: "Home Right*4 S-Tab C-M"; "grow" lets a shelf grow,
// "click" clicks the floor.
void press(const QString &keys)
{
    static const QMap<QString, Qt::Key> named{{"Home", Qt::Key_Home}, {"End", Qt::Key_End}, {"Left", Qt::Key_Left},
        {"Right", Qt::Key_Right}, {"Up", Qt::Key_Up}, {"Down", Qt::Key_Down}, {"Return", Qt::Key_Return}, {"Space", Qt::Key_Space},
        {"Esc", Qt::Key_Escape}, {"Tab", Qt::Key_Tab}, {"Menu", Qt::Key_Menu}, {"F3", Qt::Key_F3}, {"F10", Qt::Key_F10}};
    for (QString key : keys.split(' ', Qt::SkipEmptyParts)) {
        const int times = key.contains('*') ? key.section('*', 1).toInt() : 1;
        key = key.section('*', 0, 0);
        Qt::KeyboardModifiers with;
        for (; key.size() > 2 && key[1] == '-'; key.remove(0, 2))
            with |= key[0] == 'S' ? Qt::ShiftModifier : Qt::ControlModifier;
        for (int t = 0; t < times; ++t) {
            QWidget *focus = QApplication::focusWidget() ? QApplication::focusWidget() : &frmSwitch::get();
            if (key == "grow")
                test::growShelf();
            else if (key == "click")
                QVERIFY(test::clickFloor());
            else
                QTest::keyClick(focus, named.value(key, Qt::Key(key[0].unicode())), with);
        }
    }
}

// What the screen reader was told: the name (and description) of every item that took the focus.
QStringList g_told;
void hearFocus(QAccessibleEvent *event)
{
    if (event->type() == QAccessible::Focus && event->accessibleInterface())
        g_told << event->accessibleInterface()->text(QAccessible::Name) + '|' + event->accessibleInterface()->text(QAccessible::Description);
}

// Qt tells of accessibility events only while a screen reader listens: the test listens as one would, where its
// platform lets it.
bool listen(bool on)
{
#ifdef KVX_ACCESSIBILITY_EVENTS
    if (QPlatformAccessibility *platform = QGuiApplicationPrivate::platformIntegration()->accessibility()) {
        QAccessible::installUpdateHandler(on ? hearFocus : nullptr);
        platform->setActive(on);
        return true;
    }
#endif
    return on && false;
}

QString viewShown(const frmSwitch &form)
{
    return form.PicRing->Visible() ? "ring" : form.picShelfBig->Visible() ? "shelf" : form.frameRackBig->Visible() ? "rack" : "room";
}

// Runs a program to its end in a folder, with no display and no Qt platform named (set, but empty, as a shell's
// `DISPLAY=` leaves them): its exit code, standard output and standard error.
std::tuple<int, QByteArray, QByteArray> runProgram(const QString &program, const QStringList &args, const QString &folder = {})
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
        env.insert(QString::fromLatin1(name), QString());
    p.setProcessEnvironment(env);
    p.setWorkingDirectory(folder);
    p.start(program, args);
    const bool ended = p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit;
    return {ended ? p.exitCode() : -1, p.readAllStandardOutput(), p.readAllStandardError()};
}

} // namespace

Q_DECLARE_METATYPE(Cards)

class TestViewer : public QObject
{
    Q_OBJECT

private slots:
    void placesRacksNamesAndPanels_data();
    void placesRacksNamesAndPanels();
    void roomSizeBarsAndWheel_data();
    void roomSizeBarsAndWheel();
    void scrollRange_data();
    void scrollRange();
    void openAndRefresh_data();
    void openAndRefresh();
    void aboutWindowsAndErrors();
    void schematicAndStations_data();
    void schematicAndStations();
    void ringLinks_data();
    void ringLinks();
    void rackViewAndDoors_data();
    void rackViewAndDoors();
    void shelfView_data();
    void shelfView();
    void smallRoomShelfView_data();
    void smallRoomShelfView();
    void sampleExchange_data();
    void sampleExchange();
    void keyboard_data();
    void keyboard();
    void find_data();
    void find();
    void exportedViews_data();
    void exportedViews();
    void exportAndPrint_data();
    void exportAndPrint();
    void exportCommand_data();
    void exportCommand();
};

void TestViewer::placesRacksNamesAndPanels_data()
{
    QTest::addColumn<QList<QByteArrayList>>("rows");
    QTest::addColumn<QByteArrayList>("names"); // in creation order
    // Left, and rows behind the front row, of the racks and the left and right end panels.
    QTest::addColumn<QList<QPointF>>("racks");
    QTest::addColumn<QList<QPointF>>("leftPanels");
    QTest::addColumn<QList<QPointF>>("rightPanels");
    QTest::addColumn<QString>("rightShown");
    // An empty front row puts imgEF(1), hidden, and imgEF(2) against the template's right side.
    QTest::newRow("empty front row, a full run, places 1 2 4")
        << QList<QByteArrayList>{{"UC-01", "UC-02", "", "UC-04"}, {"UD-01", "UD-02", "UD-03", "UD-04"}, {"", "", "", ""}}
        << QByteArrayList{"UD-01", "UD-02", "UD-03", "UD-04", "UC-01", "UC-02", "UC-04"}
        << QList<QPointF>{{2520, 1}, {4680, 1}, {6840, 1}, {9000, 1}, {2880, 2}, {5040, 2}, {9360, 2}}
        << QList<QPointF>{{2430, 1}, {2790, 2}, {9270, 2}} << QList<QPointF>{{2160, 0}, {2160, 0}, {11160, 1}, {7200, 2}, {11520, 2}} << "01111";
    // The front row's panel is imgEF(1), hidden; the next shoot, empty at first, puts a second one there.
    QTest::newRow("full front row, next shoot starts empty")
        << QList<QByteArrayList>{{"", "Y2", "Y3"}, {"X1", "X2", "X3"}} << QByteArrayList{"X1", "X2", "X3", "Y2", "Y3"}
        << QList<QPointF>{{2160, 0}, {4320, 0}, {6480, 0}, {4680, 1}, {6840, 1}} << QList<QPointF>{{2070, 0}, {4590, 1}}
        << QList<QPointF>{{8640, 0}, {8640, 0}, {9000, 1}} << "011";
}

void TestViewer::placesRacksNamesAndPanels()
{
    QFETCH(QList<QByteArrayList>, rows);
    QFETCH(QByteArrayList, names);
    QFETCH(QList<QPointF>, racks);
    QFETCH(QList<QPointF>, leftPanels);
    QFETCH(QList<QPointF>, rightPanels);
    QFETCH(QString, rightShown);
    test::ProgramFixture program;
    test::TestRoom room;
    room.rows = rows;
    QVERIFY(program.start(room));
    frmSwitch &form = frmSwitch::get();
    PictureBox &plan = *form.PicRoom;
    const auto at = [&](QPointF place) { return QPointF(place.x(), plan.Height() - 2.5 * H - place.y() * H / 4); };
    QVERIFY(ModMain.RackIndex == racks.size() && form.imgRack.count() == racks.size() + 1);
    for (int i = 1; i <= ModMain.RackIndex; ++i) {
        const Image &rack = form.imgRack(i);
        const Label &name = form.lblRack(i);
        QCOMPARE(geometry(rack).topLeft(), at(racks[i - 1]));
        QVERIFY(rack.Visible() && name.Visible());
        QCOMPARE(name.Caption(), QString::fromLatin1(names[i - 1]));
        QCOMPARE(QPointF(name.Left() + name.Width() / 2, name.Top()), QPointF(rack.Left() + W / 2, rack.Top() + 200));
        // Rows further back, and their panels, go beneath the rows in front; names stay on top.
        for (double x = rack.Left() + 50; x < rack.Left() + W; x += 100)
            QCOMPARE(plan.itemAt(QPoint(pixelsFromTwips(x), pixelsFromTwips(rack.Top() + 100))), &rack);
        QCOMPARE(plan.itemAt(name.pixelRect().center()), &name);
    }
    QCOMPARE(form.EFLCount.toInt(), int(leftPanels.size()));
    for (int n = 1; n <= form.EFLCount.toInt(); ++n)
        QVERIFY(geometry(form.imgEFL(n)).topLeft() == at(leftPanels[n - 1]) && form.imgEFL(n).Visible());
    QCOMPARE(int(form.EFCount), int(rightPanels.size()));
    for (int n = 1; n <= form.EFCount; ++n) {
        QCOMPARE(geometry(form.imgEF(n)).topLeft(), at(rightPanels[n - 1]));
        QCOMPARE(form.imgEF(n).Visible(), rightShown[n - 1] == QLatin1Char('1'));
    }
}

void TestViewer::roomSizeBarsAndWheel_data()
{
    QTest::addColumn<QSize>("room"); // shoots x places
    QTest::addColumn<QSizeF>("size");
    QTest::addColumn<QPoint>("max"); // of the bars: the room's overflow in percent of the viewport
    QTest::addColumn<int>("turn");   // of the wheel, in eighths of a degree: 120 is a notch up, away from the user
    QTest::addColumn<bool>("shift");
    QTest::addColumn<QPoint>("move"); // of the bars by the wheel
    const double high = 1.5 * ViewportHeight;
    // A room is places + 1 + shoots / 4 racks wide, and as wide as the viewport at least.
    QTest::newRow("1 x 2, Shift: no range") << QSize(1, 2) << QSizeF(Viewport, high) << QPoint(0, 50) << -120 << true << QPoint();
    QTest::newRow("1 x 7, a notch down: a page") << QSize(1, 7) << QSizeF(8.25 * W, high) << QPoint(22, 50) << -120 << false << QPoint(0, 10);
    QTest::newRow("4 x 10, two notches up") << QSize(4, 10) << QSizeF(12 * W, high) << QPoint(78, 50) << 240 << false << QPoint(0, -20);
    QTest::newRow("7 x 2, half a notch: not yet") << QSize(7, 2) << QSizeF(Viewport, high + 2 * H / 3) << QPoint(0, 75) << -60 << false << QPoint();
    QTest::newRow("7 x 7, Shift: sideways") << QSize(7, 7) << QSizeF(9.75 * W, high + 2 * H / 3) << QPoint(44, 75) << -120 << true << QPoint(10, 0);
}

void TestViewer::roomSizeBarsAndWheel()
{
    QFETCH(QSize, room);
    QFETCH(QSizeF, size);
    QFETCH(QPoint, max);
    QFETCH(int, turn);
    QFETCH(bool, shift);
    QFETCH(QPoint, move);
    test::ProgramFixture program;
    QVERIFY(program.start(test::fullRoom(room.width(), room.height())));
    frmSwitch &form = frmSwitch::get();
    QCOMPARE(geometry(*form.PicSwitch).size(), QSizeF(Viewport, ViewportHeight));
    QCOMPARE(geometry(*form.PicRoom).size(), size);
    // The front row 2.5 rack heights above the room's bottom, the back row inside; the room centred by the bars.
    QCOMPARE(form.imgRack(1).Top(), size.height() - 2.5 * H);
    QVERIFY(form.imgRack(ModMain.RackIndex).Top() > 0);
    QCOMPARE(QList<double>({form.HScroll1->Left(), form.HScroll1->Top(), form.HScroll1->Width(), form.VScroll1->Left(), form.VScroll1->Height()}),
             QList<double>({255, ViewportHeight, Viewport, 255 + Viewport, ViewportHeight})); // the bars under and beside the viewport
    QCOMPARE(QPoint(form.HScroll1->Max(), form.VScroll1->Max()), max);
    const QPoint value(int(roundHalfEven(max.x() / 2.0)), int(roundHalfEven(max.y() / 2.0)));
    QCOMPARE(QPoint(form.HScroll1->Value(), form.VScroll1->Value()), value);
    QCOMPARE(form.PicRoom->Left(), max.x() ? (Viewport - size.width()) * value.x() / max.x() : 0.0);
    QCOMPARE(form.PicRoom->Top(), (ViewportHeight - size.height()) * value.y() / max.y());

    // The wheel moves the bars a page a notch; the room's controls leave it to the window.
    const QPointF at = form.PicSwitch->mapTo(&form, form.PicSwitch->rect().center());
    QWheelEvent wheel(at, form.mapToGlobal(at), QPoint(), QPoint(0, turn), Qt::NoButton,
                      shift ? Qt::ShiftModifier : Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(form.PicRoom, &wheel);
    QVERIFY(!wheel.isAccepted());
    QApplication::sendEvent(&form, &wheel);
    QCOMPARE(QPoint(form.HScroll1->Value(), form.VScroll1->Value()), value + move);
    QCOMPARE(form.PicRoom->Top(), (ViewportHeight - size.height()) * (value + move).y() / max.y());
}

void TestViewer::scrollRange_data()
{
    QTest::addColumn<double>("room");
    QTest::addColumn<int>("max");
    QTest::addColumn<double>("left"); // with the bar in the middle of its range
    // A viewport of 2000 twips; the room was scrolled to -300 before the resize.
    QTest::newRow("exactly as wide: the room stays") << 2000.0 << 0 << -300.0;
    QTest::newRow("0.5 % rounds to the even 0") << 2010.0 << 0 << -300.0;
    QTest::newRow("1.5 % rounds to 2") << 2030.0 << 2 << -15.0;
    QTest::newRow("one and a half viewports") << 3000.0 << 50 << -500.0;
}

void TestViewer::scrollRange()
{
    QFETCH(double, room);
    QFETCH(int, max);
    QFETCH(double, left);
    test::ProgramFixture program;
    QVERIFY(program.start(test::fullRoom(1, 1)));
    frmSwitch &form = frmSwitch::get();
    form.PicRoom->setLeft(-300);
    form.PicRoom->setWidth(room);
    for (const double width : {3500.0, 2000.0}) { // another size first, so that the window is resized
        form.setWidth(width + 3 * 255);
        QCoreApplication::processEvents();
    }
    QCOMPARE(QPointF(form.PicSwitch->Width(), form.HScroll1->Width()), QPointF(2000, 2000));
    QCOMPARE(form.HScroll1->Max(), max);
    form.HScroll1->setValue(max / 2);
    QCOMPARE(form.PicRoom->Left(), left);
}

void TestViewer::openAndRefresh_data()
{
    QTest::addColumn<bool>("refresh"); // F5, else Ctrl+O
    QTest::addColumn<QString>("edit"); // made in the editor first; empty: none; "-": the editor is not open
    QTest::addColumn<int>("answer");   // to "Save Changes?"
    QTest::addColumn<QString>("file"); // "other", "broken", "cancel", "unwritable": a data file that is a folder, "narrow"
    QTest::addColumn<QString>("shown"); // the site shown afterwards
    QTest::addColumn<QStringList>("told"); // the messages, by their start
    QTest::addColumn<QString>("close");    // the window then, the editor not open: "close", "exit", "full": kvx.ini on a full device
    const QString ask = QStringLiteral("Do you want to Save the Changes");
    const QString broken = QStringLiteral("Data File Currupted. Cannot Load");
    QTest::newRow("Open another exchange, close") << false << "-" << 0 << "other" << "SECOND SITE" << QStringList() << "close";
    QTest::newRow("Refresh of a file saved over, Exit") << true << "-" << 0 << "other" << "SECOND SITE" << QStringList() << "exit";
    QTest::newRow("Open of a broken file, close") << false << "-" << 0 << "broken" << "TEST SITE" << QStringList{broken} << "close";
    QTest::newRow("Refresh of a broken file, Exit") << true << "-" << 0 << "broken" << "TEST SITE" << QStringList{broken} << "exit";
    QTest::newRow("Open cancelled, close, kvx.ini on a full device") << false << "-" << 0 << "cancel" << "TEST SITE" << QStringList() << "full";
    QTest::newRow("Refresh, narrow, Exit") << true << "-" << 0 << "narrow" << "TEST SITE" << QStringList{"The room plan could not be built"} << "exit";
    // Each kind of edit in one row at least: every one of them is asked about.
    const QStringList edits[] = {{"slot", "site", "tick", "members", "colour", "rack"},
                                 {"station", "size", "remove", "add", "insert", "delete"}};
    for (const bool refresh : {false, true}) {
        const QStringList &edit = edits[refresh];
        const auto row = [refresh](const char *name) -> QTestData & {
            return QTest::addRow("editor open, %s, %s", refresh ? "Refresh" : "Open", name) << refresh;
        };
        row("no edits") << "" << 0 << "other" << "SECOND SITE" << QStringList() << "";
        // Refresh reads again the file the edits were just saved to.
        row("Yes") << edit[0] << int(vbYes) << "other" << (refresh ? "TEST SITE" : "SECOND SITE") << QStringList{ask} << "";
        row("No") << edit[1] << int(vbNo) << "other" << "SECOND SITE" << QStringList{ask} << "";
        row("Cancel") << edit[2] << int(vbCancel) << "other" << "TEST SITE" << QStringList{ask} << "";
        row("No, failed load") << edit[3] << int(vbNo) << "broken" << "TEST SITE" << QStringList{ask, broken} << "";
        row("Yes, failed save") << edit[4] << int(vbYes) << "unwritable" << "TEST SITE" << QStringList{ask, "Cannot write file "} << "";
        row("No, another edit") << edit[5] << int(vbNo) << "other" << "SECOND SITE" << QStringList{ask} << "";
    }
    // Typed into a row not yet stored: lost to a load all the same.
    QTest::newRow("editor open, Open, Cancel, a row open for typing")
        << false << "typing" << int(vbCancel) << "other" << "TEST SITE" << QStringList{ask} << "";
}

void TestViewer::openAndRefresh()
{
    QFETCH(bool, refresh);
    QFETCH(QString, edit);
    QFETCH(int, answer);
    QFETCH(QString, file);
    QFETCH(QString, shown);
    QFETCH(QStringList, told);
    QFETCH(QString, close);
    test::ProgramFixture program;
    const auto closeEditor = qScopeGuard([] { frmAlter::discard(); });
    const QString config = program.path(QStringLiteral("config.kvx"));
    QVERIFY(program.start(test::fileOf(test::testRoom())) && QTest::qWaitForWindowActive(&frmSwitch::get()));
    frmSwitch &form = frmSwitch::get();
    // The editor's last room change named another size than the plan shown.
    ModMain.OldNoOfShoots = 1;
    ModMain.OldNoOfRacks = 2;
    frmAlter *f = nullptr;
    if (edit != "-") {
        QTest::keyClick(&form, Qt::Key_E, Qt::ControlModifier);
        QVERIFY((f = frmAlter::loaded()) && QTest::qWaitForWindowActive(f));
        makeEdit(f, edit, program.hooks);
        QVERIFY(program.hooks.messages.isEmpty() && f->hasUnsavedEdits() == !edit.isEmpty());
    }
    const QByteArray edited = toBeSaved();
    const QRect where = f ? f->geometry() : QRect();
    const int tab = f ? f->SSTab1->Tab() : 0;
    const QPointer<frmAlter> before(f);
    // The plan is scrolled, and a rack view and a shelf view are open on a rack of it.
    form.PicRoom->setLeft(-300);
    form.frameRackBig->setVisible(true);
    form.picShelfBig->setVisible(true);
    ModMain.SelRack = &form.lblRack(3);
    const QStringList plan = planShown(form);

    // A smaller room with four MAS rings, in another file or over the data file.
    Exchange other = test::testRoom(4);
    other.SiteName = Loose("SECOND SITE");
    other.NoOfShoots = 1;
    other.RackName.redimPreserve({1, 3});
    // Its folder's name holds a comma: the settings file names it quoted.
    QVERIFY(QDir(program.path(QString())).mkpath("north,south"));
    const QString target = refresh ? config : program.path(QStringLiteral("north,south/other.kvx"));
    if (file != "narrow")
        QVERIFY(test::writeFile(target, file == "broken" ? QByteArray("not a data file") : test::fileOf(other)));
    if (file == "unwritable")
        QVERIFY(QFile::remove(config) && QDir().mkdir(config));
    if (file == "narrow")
        form.setWidth(300);
    if (answer)
        program.hooks.setNextAnswer(answer);
    program.hooks.setNextFile(file == "cancel" ? std::nullopt : std::optional<QString>(target));
    form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QTest::keyClick(&form, refresh ? Qt::Key_F5 : Qt::Key_O, refresh ? Qt::NoModifier : Qt::ControlModifier);

    QCOMPARE(program.hooks.messages.size(), told.size());
    for (int i = 0; i < told.size(); ++i)
        QVERIFY2(program.hooks.messages[i].text.startsWith(told[i]), qPrintable(program.hooks.messages[i].text));
    if (f && !edit.isEmpty())
        QVERIFY(program.hooks.messages[0].title == QStringLiteral("Save Changes?") && program.hooks.messages[0].style == 35);
    // Open asks before the file is chosen; Cancel and a failed save choose none.
    QCOMPARE(program.hooks.fileRequests.size(), !refresh && answer != vbCancel && file != "unwritable" ? 1 : 0);
    QCOMPARE(form.windowTitle(), shown);
    const bool saved = answer == vbYes && file != "unwritable";
    const bool loaded = shown != "TEST SITE" || (refresh && saved) || file == "narrow";
    if (saved)
        QCOMPARE(test::readFile(config), edited);
    if (file == "narrow") { // built once the window is wide enough again
        form.setWidth(15360);
        form.mnuRefresh->trigger();
    }
    // Else the exchange shown stays, with its unsaved edits, its plan and its place.
    QCOMPARE(ModMain.DataFile.text(), (loaded ? target : config).toUtf8());
    QVERIFY(loaded || toBeSaved() == edited);
    // The old plan's views close and nothing of it stays; the new one (at the viewport's corner) holds 4 + 3
    // templates, 2 racks, 2 names, 4 panels, 3 places and 3 names.
    QCOMPARE(form.PicRoom->Left(), loaded ? 0.0 : -300.0);
    QCOMPARE(form.frameRackBig->Visible() || form.picShelfBig->Visible() || ModMain.SelRack, !loaded);
    const bool second = shown == "SECOND SITE";
    QCOMPARE(planShown(form), second ? QStringList({"UC-01", "UD-02", "UC-01", "", "UD-02", "21"}) : plan);
    QCOMPARE(form.MnuMAS4->Enabled(), second);
    if (!f) {
        // Closing the window remembers the file shown in kvx.ini for the next start; Exit does not.
        const QString settings = program.path(QStringLiteral("kvx.ini"));
        if (close == "full" && test::fullDevice(settings) != settings)
            QSKIP("needs root to make a device node");
        QVERIFY(test::endsProgram([&] { close == "exit" ? form.MnuEnd->trigger() : (void)form.close(); }));
        const QByteArray path = ModMain.DataFile.text();
        if (close == "full")
            QCOMPARE(program.hooks.messages.value(told.size()).text, "Cannot write file " + settings + ": No space left on device");
        else
            QCOMPARE(test::readFile(settings), close == "exit" ? QByteArray() : (path.contains(',') ? '"' + path + '"' : path) + "\r\n");
        frmSwitch::discard();
        ModMain = ModMainState();
        QVERIFY(close != "close" || (!test::endsProgram([] { Main(); }) && frmSwitch::get().windowTitle() == shown));
        return;
    }
    // The editor stands where it stood, on its tab; a new window where the exchange was loaded.
    frmAlter *g = frmAlter::loaded();
    QVERIFY(g && g->isVisible() && g->SSTab1->Tab() == tab);
    QCOMPARE(g->geometry(), where);
    QCOMPARE(before.isNull(), loaded);
    QCOMPARE(g->hasUnsavedEdits(), !edit.isEmpty() && !loaded && !saved);
    if (!loaded)
        return;
    QCOMPARE(g->txtSiteName->Text(), shown);
    // Every rack of the list can be chosen, and Save writes the exchange as loaded.
    g->SSTab1->setTab(0);
    for (int i = 0; i < g->lstRackName->ListCount(); ++i)
        test::chooseRack(g->lstRackName, i);
    const QByteArray expected = test::fileOf(ModMain);
    g->MnuSav->trigger();
    QCOMPARE(program.hooks.messages.size(), told.size());
    QCOMPARE(test::readFile(Files::pathFromBytes(ModMain.DataFile.text())), expected);
}

// The About windows are modeless, so that the main window stays usable (Ctrl+E: openAndRefresh). An error
// escaping an event handler is shown and the program goes on.
void TestViewer::aboutWindowsAndErrors()
{
    test::ProgramFixture program;
    QVERIFY(program.start(test::fullRoom(1, 1)) && QTest::qWaitForWindowActive(&frmSwitch::get()));
    const auto closeAll = qScopeGuard([] { frmAboutPrg::discard(); frmAboutME::discard(); });
    QTest::keyClick(&frmSwitch::get(), Qt::Key_U, Qt::ControlModifier);
    frmSwitch::get().MnuPrg->trigger();
    for (QWidget *shown : {static_cast<QWidget *>(&frmAboutME::get()), static_cast<QWidget *>(&frmAboutPrg::get())})
        QVERIFY(shown->isVisible() && !shown->isModal());
    QTimer::singleShot(0, [] { raiseError(ErrSubscript, QStringLiteral("Subscript out of range")); });
    QTRY_COMPARE(program.hooks.messages.size(), 1);
    QCOMPARE(program.hooks.messages[0].text, QStringLiteral("Subscript out of range"));
    QVERIFY(frmSwitch::get().isVisible());
}

void TestViewer::schematicAndStations_data()
{
    QTest::addColumn<QSize>("room"); // shoots x places; place 1 of shoot 1 is empty
    QTest::addColumn<QSizeF>("box");
    QTest::addColumn<QSizeF>("pitch");
    QTest::addColumn<int>("clicked"); // the name whose stations pop up; 0: beside the names
    QTest::addColumn<QStringList>("stations");
    const auto of = [](const QString &rack) { return QStringList{rack + "/1", rack + "/2", rack + "/3", rack + "/4", rack + "/5"}; };
    // A viewport of 14595 x 10500 twips; fewer than three rows or columns are laid out as three.
    const QSizeF box(14595 * 0.6 / 3, 2100), pitch(14595 * 0.7 / 3, 2450);
    const QSizeF box4(14595 * 0.6 / 4, 2100), pitch4(14595 * 0.7 / 4, 2450);
    QTest::newRow("1 shoot of 2, its last place") << QSize(1, 2) << box << pitch << 2 << of("R12");
    QTest::newRow("2 shoots of 3, last place of shoot 1") << QSize(2, 3) << box << pitch << 3 << of("R13");
    QTest::newRow("2 shoots of 4, last place of the last shoot") << QSize(2, 4) << box4 << pitch4 << 8 << QStringList{"ONLY", "", "", "", ""};
    QTest::newRow("2 shoots of 4, beside the names") << QSize(2, 4) << box4 << pitch4 << 0 << QStringList();
    // 10500 x 0.6 / 24 = 262.5 rounds to the even 262; 306.25 to 306.
    QTest::newRow("24 shoots of 3, first of shoot 2") << QSize(24, 3) << QSizeF(box.width(), 262) << QSizeF(pitch.width(), 306) << 4 << of("R21");
}

// The pop-up of a name only informs: its five items are the stations of the rack there.
void TestViewer::schematicAndStations()
{
    QFETCH(QSize, room);
    QFETCH(QSizeF, box);
    QFETCH(QSizeF, pitch);
    QFETCH(int, clicked);
    QFETCH(QStringList, stations);
    test::ProgramFixture program;
    test::TestRoom plan = test::fullRoom(room.width(), room.height());
    plan.rows[0][0] = "";
    plan.stations["R24"] = {"ONLY", "", "", "", ""};
    QVERIFY(program.start(plan));
    frmSwitch &form = frmSwitch::get();
    QCOMPARE(form.shpRack.count(), 1 + room.width() * room.height());
    for (int i = 1; i < form.shpRack.count(); ++i) {
        const int r = (i - 1) / room.height() + 1, c = (i - 1) % room.height() + 1;
        const Shape &shape = form.shpRack(i);
        const Label &name = form.lblRingRack(i);
        QCOMPARE(geometry(shape), QRectF(QPointF(c * pitch.width(), r * pitch.height()), box));
        QVERIFY(shape.Visible() && name.Visible());
        QCOMPARE(QPointF(name.Left() + name.Width() / 2, name.Top()), QPointF(shape.Left() + shape.Width() / 2, shape.Top()));
        QCOMPARE(shape.BorderStyle(), i == 1 ? int(Shape::Dot) : int(Shape::Solid));
        QCOMPARE(name.Caption(), i == 1 ? QString() : QStringLiteral("R%1%2").arg(r).arg(c));
    }
    QList<QStringList> shown;
    setPopupMenuHook([&](Menu *menu) {
        QCOMPARE(menu, form.MnuST);
        shown << QStringList();
        for (int k = 1; k <= 5; ++k)
            shown.last() << form.MnuSlf[size_t(k)]->Caption();
    });
    form.MnuMIS->trigger();
    const QPoint at = clicked ? test::widgetRect(form.lblRingRack(clicked)).center() : QPoint(3, form.PicRing->height() - 3);
    QTest::mouseClick(form.PicRing, Qt::LeftButton, {}, at);
    QCOMPARE(shown, clicked ? QList<QStringList>{stations} : QList<QStringList>());
    QVERIFY(!form.MnuST->Visible());
}

void TestViewer::ringLinks_data()
{
    QTest::addColumn<int>("ring"); // 0: MIS, else MAS1 .. MAS4; the file has up to this MAS ring, and at least MAS2
    QTest::addColumn<bool>("textColour"); // the ring's colour, in the file, is a text: it draws black
    QTest::addColumn<QSize>("room");      // shoots x places
    QTest::addColumn<QByteArrayList>("members");
    QTest::addColumn<int>("links");     // -1: the file has a MAS ring less, the ring's item is greyed and does nothing
    QTest::addColumn<QPointF>("bulge"); // of a single link, from its middle in units of its radius
    const QSize square(3, 3);
    const double s = 1 / std::sqrt(2.0);
    QTest::newRow("MAS1, same row, first left: below") << 1 << false << square << QByteArrayList{"R21", "R23"} << 1 << QPointF(0, 1);
    QTest::newRow("MAS2, same row, first right: above") << 2 << false << square << QByteArrayList{"R23", "R21"} << 1 << QPointF(0, -1);
    QTest::newRow("MAS3, same column, first above: left") << 3 << false << square << QByteArrayList{"R12", "R32"} << 1 << QPointF(-1, 0);
    QTest::newRow("MAS4, same column, first below: right") << 4 << false << square << QByteArrayList{"R32", "R12"} << 1 << QPointF(1, 0);
    // Down to the right: the arctangent is negative and 2 x PI is added; the arc goes over the upper right.
    QTest::newRow("diagonal, negative arctangent") << 0 << false << square << QByteArrayList{"R11", "R33"} << 1 << QPointF(s, -s);
    QTest::newRow("diagonal, negative arctangent, back") << 0 << false << square << QByteArrayList{"R33", "R11"} << 1 << QPointF(s, -s);
    QTest::newRow("diagonal, positive arctangent") << 0 << false << square << QByteArrayList{"R13", "R31"} << 1 << QPointF(-s, -s);
    // Places count shoot by shoot: with shoot and place swapped R13 and R23 would be drawn at R21 and R22.
    QTest::newRow("2 x 4 room, same column") << 0 << false << QSize(2, 4) << QByteArrayList{"R13", "R23"} << 1 << QPointF(-1, 0);
    QTest::newRow("MAS3, 4 x 2 room, same row") << 3 << false << QSize(4, 2) << QByteArrayList{"R41", "R42"} << 1 << QPointF(0, 1);
    QTest::newRow("MAS3 in a text colour") << 3 << true << square << QByteArrayList{"R21", "R23"} << 1 << QPointF(0, 1);
    QTest::newRow("MAS4 of 3 MAS rings is greyed") << 4 << false << square << QByteArrayList{"R21", "R23"} << -1 << QPointF();
    QTest::newRow("MAS3 of 2 MAS rings is greyed") << 3 << false << square << QByteArrayList{"R21", "R23"} << -1 << QPointF();
    QTest::newRow("ends at slot 1") << 0 << false << square << QByteArrayList{} << 0 << QPointF();
    QTest::newRow("ends at slot 2") << 0 << false << square << QByteArrayList{"R11"} << 0 << QPointF();
    QTest::newRow("closed ring P Q R P") << 0 << false << square << QByteArrayList{"R11", "R12", "R22", "R11"} << 3 << QPointF();
    QByteArrayList fifteen;
    for (int n = 0; n < 15; ++n)
        fifteen << "R" + QByteArray::number(n % 3 + 1) + QByteArray::number(n / 3 % 3 + 1);
    QTest::newRow("15 members, no end") << 0 << false << square << fifteen << 14 << QPointF();
    // The pair ending at an unknown member repeats its first end (a link of size 0); the next runs from there.
    QTest::newRow("a member of no rack") << 0 << false << square << QByteArrayList{"R11", "R12", "NOWHERE", "R13"} << 3 << QPointF();
    QTest::newRow("unknown first member") << 0 << false << square << QByteArrayList{"NOWHERE", "R12", "R13"} << 1 << QPointF();
}

// A ring's item marks it and draws it alone, in its colour, instead of the room; a refresh keeps view and mark.
void TestViewer::ringLinks()
{
    QFETCH(int, ring);
    QFETCH(bool, textColour);
    QFETCH(QSize, room);
    QFETCH(QByteArrayList, members);
    QFETCH(int, links);
    QFETCH(QPointF, bulge);
    test::ProgramFixture program;
    test::TestRoom plan = test::fullRoom(room.width(), room.height());
    const int noOfMas = plan.noOfMas = std::max(2, links < 0 ? ring - 1 : ring);
    plan.rings.fill({"R11", "R12"});
    // A file holds at most 14 members; the fifteenth, with no "*", only the model can.
    plan.rings[size_t(ring)] = members.mid(0, 14);
    QVERIFY(program.start(plan));
    if (members.size() == 15)
        ModMain.MisRing.set(Loose(members[14]), 15);
    if (textColour)
        ModMain.MasColor.set(Loose("RED"), ring);
    frmSwitch &form = frmSwitch::get();
    Menu *const items[] = {form.MnuMIS, form.MnuMAS1, form.MnuMAS2, form.MnuMAS3, form.MnuMAS4};
    QVERIFY(form.MnuMAS3->Enabled() == (noOfMas >= 3) && form.MnuMAS4->Enabled() == (noOfMas == 4));
    const int other = ring == 1 ? 0 : 1; // another ring first: its mark and its drawing must go
    items[other]->trigger();
    form.MnuSwitch->trigger();
    QVERIFY(form.PicRoom->Visible() && !form.PicRing->Visible() && form.HScroll1->Visible() && form.VScroll1->Visible());
    items[ring]->trigger();
    for (int k = 0; k < 5; ++k)
        QCOMPARE(items[k]->Checked(), k == (links < 0 ? other : ring));
    QCOMPARE(form.PicRing->drawingCount(), 3 * std::abs(links));
    QVERIFY(form.PicRing->Visible() != (form.PicRoom->Visible() || form.HScroll1->Visible() || form.VScroll1->Visible()));
    QCOMPARE(form.PicRing->Visible(), links >= 0);
    if (links < 0)
        return;
    const quint32 colour = textColour ? 0 : plan.colours[size_t(ring)];
    QCOMPARE(form.lblRing->ForeColor(), colour);
    if (!bulge.isNull()) {
        const auto centre = [&](const QByteArray &rack) {
            return QRectF(test::widgetRect(form.shpRack((rack.at(1) - '1') * room.height() + rack.at(2) - '0'))).center();
        };
        const QPointF a = centre(members[0]), b = centre(members[1]), d = b - a;
        const double radius = std::hypot(d.x(), d.y()) / 2;
        // The half circle's point furthest from A B lies on the perpendicular through the middle, on the named side.
        QPointF normal = QPointF(-d.y(), d.x()) / (2 * radius);
        normal *= QPointF::dotProduct(normal, bulge) < 0 ? -1 : 1;
        const QImage shot = test::grabImage(*form.PicRing);
        const QColor drawn = test::qtColor(colour);
        QVERIFY(test::colorNear(shot, a.toPoint(), drawn) && test::colorNear(shot, b.toPoint(), drawn));
        QVERIFY2(test::colorNear(shot, ((a + b) / 2 + radius * normal).toPoint(), drawn, 3), "no arc on the named side");
        QVERIFY2(!test::colorNear(shot, ((a + b) / 2 - radius * normal).toPoint(), drawn, 3), "an arc on the other side");
    }
    form.mnuRefresh->trigger(); // the schematic is built again, without links
    QVERIFY(form.PicRing->Visible() && !form.PicRoom->Visible() && !form.HScroll1->Visible() && !form.VScroll1->Visible());
    QVERIFY(form.PicRing->drawingCount() == 0 && items[ring]->Checked());
    QCOMPARE(form.shpRack.count(), 1 + room.width() * room.height());
}

void TestViewer::rackViewAndDoors_data()
{
    QTest::addColumn<QString>("rack");
    QTest::addColumn<QPoint>("place");    // shoot, place
    QTest::addColumn<QString>("shelves"); // 1 shown, 0 hidden
    QTest::addColumn<QString>("level");   // of the fourth shelf: 150 on UE and UD racks
    QTest::addColumn<bool>("leftDoor");   // the door clicked
    QTest::addColumn<Qt::MouseButton>("button");
    const Qt::MouseButton L = Qt::LeftButton, R = Qt::RightButton;
    QTest::newRow("at the room's left border, right door, right button") << "UC-02" << QPoint(2, 1) << "11111" << "*147*" << false << R;
    QTest::newRow("UE rack, left door, right button") << "UE-01" << QPoint(1, 2) << "11111" << "*150*" << true << R;
    QTest::newRow("UD rack, left door, left button") << "UD-01" << QPoint(2, 2) << "11111" << "*150*" << true << L;
    QTest::newRow("power rack, left door, right button") << "SD-01" << QPoint(2, 3) << "11111" << "*147*" << true << R;
    QTest::newRow("power rack, right door, right button") << "SDE-02" << QPoint(2, 5) << "11111" << "*147*" << false << R;
    QTest::newRow("lower-case ue, right door, left button") << "ue-02" << QPoint(1, 3) << "11111" << "*147*" << false << L;
    QTest::newRow("shelves with a station, right door") << "UC-01" << QPoint(1, 1) << "10101" << "*147*" << false << R;
    // The front UC-05 is clicked; the back one comes first shoot by shoot.
    QTest::newRow("twin names, left door") << "UC-05" << QPoint(1, 4) << "11111" << "*147*" << true << L;
}

void TestViewer::rackViewAndDoors()
{
    QFETCH(QString, rack);
    QFETCH(QPoint, place);
    QFETCH(QString, shelves);
    QFETCH(QString, level);
    QFETCH(bool, leftDoor);
    QFETCH(Qt::MouseButton, button);
    test::ProgramFixture program;
    frmSwitch &form = startRacks(program);
    const int index = test::rackIndex(rack);
    QVERIFY(test::openRack(rack));
    // Centred on the rack, both doors shut, the right one where the left ends; the open doors beside, as high.
    const QRectF big = geometry(*form.frameRackBig), left = geometry(*form.ImgD_C_L);
    QCOMPARE(big.center(), geometry(form.imgRack(index)).center());
    QCOMPARE(geometry(*form.ImgD_C_R), left.translated(left.width(), 0));
    QCOMPARE(geometry(*form.frameLOpen), left.translated(big.left() - left.width(), big.top()));
    QCOMPARE(geometry(*form.FrameROpen), left.translated(big.right(), big.top()));
    QVERIFY(form.frameRackBig->Visible() && form.ImgD_C_L->Visible() && form.ImgD_C_R->Visible());
    QVERIFY(!form.frameLOpen->Visible() && !form.FrameROpen->Visible());
    // The name rests on the doors; the front and the shelves are those of the rack's family.
    QCOMPARE(form.lblRackName->Caption(), rack);
    QCOMPARE(form.lblRackName->Top() + form.lblRackName->Height(), left.top());
    const bool ueUd = level == "*150*";
    QVERIFY(form.ImgRackBig->Picture() == (ueUd ? Art::rackFrontSmt() : Art::rackFrontOther()));
    QCOMPARE(form.imgShelf(0).Top(), ueUd ? 1400.0 : 1020.0);
    QCOMPARE(QPoint(form.SelShoot, form.SelPlace), place);
    QCOMPARE(ModMain.SelRack, &form.lblRack(index));
    for (int k = 0; k < 5; ++k)
        QCOMPARE(form.imgShelf(k).Visible(), shelves[k] == QLatin1Char('1'));

    // A door opens with its own button, a power rack's never; the other door stays shut.
    Image *shut = leftDoor ? form.ImgD_C_L : form.ImgD_C_R;
    Frame *open = leftDoor ? form.frameLOpen : form.FrameROpen;
    const bool power = rack.startsWith(QLatin1String("SD"));
    const bool opens = !power && button == (leftDoor ? Qt::LeftButton : Qt::RightButton);
    QVERIFY(test::clickOn(*shut, button));
    QVERIFY(shut->Visible() != opens && open->Visible() == opens);
    QVERIFY(form.ImgD_C_L->Visible() + form.ImgD_C_R->Visible() == 2 - opens);
    QCOMPARE(program.hooks.messages.size(), power ? 1 : 0);
    if (power)
        QCOMPARE(program.hooks.messages[0].text, QStringLiteral("Please Avoid Opening Power Rack"));
    // The shelves can be reached through an open door only, on its side.
    for (int k = 0; k < 5; ++k) {
        const std::optional<QPoint> at = test::visiblePointOf(form.imgShelf(k));
        QVERIFY(at.has_value() == (opens && form.imgShelf(k).Visible()) && (!at || (at->x() < test::pointOf(form.imgShelf(k)).x()) == leftDoor));
    }
    if (opens) {
        // Open, the same button leaves it open and the other one shuts it.
        const Image &opened = leftDoor ? *form.imgD_O_L : *form.imgD_O_R;
        QVERIFY(test::clickOn(opened, button));
        QVERIFY(open->Visible() && !shut->Visible());
        QVERIFY(test::clickOn(opened, button == Qt::LeftButton ? Qt::RightButton : Qt::LeftButton));
        QVERIFY(!open->Visible() && shut->Visible());
    }
    // The shelf's own event, as a click through an open door raises it; the level shows once the cards are laid.
    form.imgShelf(3).Click();
    test::growShelf();
    QCOMPARE(form.LblLevel->Caption(), level);
}

void TestViewer::shelfView_data()
{
    QTest::addColumn<QSize>("screen");
    QTest::addColumn<Cards>("cards"); // UC-03's fifth shelf, no end mark written
    QTest::addColumn<int>("laid");
    QTest::addColumn<int>("ticks");     // of the animation before the view is closed
    QTest::addColumn<QString>("close"); // "x", "key": another key, then Esc; "shelf": another shelf
    QTest::addColumn<bool>("scrolled"); // the room to its right end, else to its left end
    const Cards good{{Loose(0), "ACALA", Loose(2)}, {Loose(40), "ICID", Loose(13)}, {Loose(120), "RCHIS", Loose(9)},
                     {Loose(147), "RCID4", Loose(0)}, {Loose(-1), "", Loose()}};
    // A card after the end mark is never shown, a code not among the fourteen shows a blank card.
    const auto second = [](const Card &card) {
        return Cards{{Loose(10), "A1", Loose(0)}, card, {Loose(30), "C3", Loose(3)}, {Loose(-1), "", Loose()}, {Loose(50), "D5", Loose(5)}};
    };
    const QSize design(1024, 768), small(800, 600);
    QTest::newRow("click on the floor") << design << good << 4 << 6 << "floor" << false;
    QTest::newRow("800x600, another shelf") << small << good << 4 << 6 << "shelf" << false;
    QTest::newRow("1920x1080, Refresh") << QSize(1920, 1080) << good << 4 << 6 << "refresh" << false;
    QTest::newRow("code 14, Esc, room at its right end") << design << second({Loose(20), "B2", Loose(14)}) << 3 << 6 << "esc" << true;
    QTest::newRow("code 2.5, X, then a click on the floor") << design << second({Loose(20), "B2", Loose(2.5)}) << 3 << 6 << "x" << false;
    QTest::newRow("code X, another key, then Esc") << design << second({Loose(20), "B2", Loose("X")}) << 3 << 6 << "key" << false;
    QTest::newRow("texts reading as numbers") << small << second({Loose("12"), "B2", Loose("7")}) << 3 << 6 << "floor" << false;
    QTest::newRow("slot text abc ends the list") << design << second({Loose("abc"), "B2", Loose(4)}) << 1 << 6 << "esc" << false;
    QTest::newRow("negative slot ends the list, Refresh") << small << second({Loose(-3), "B2", Loose(4)}) << 1 << 6 << "refresh" << false;
    QTest::newRow("Esc while it grows") << design << good << 4 << 3 << "esc" << false;
    QTest::newRow("800x600, a click on the floor while it grows") << small << good << 4 << 3 << "floor" << false;
    QTest::newRow("800x600, Refresh while it grows") << small << good << 4 << 2 << "refresh" << false;
}

// The shelf grows in six ticks to 1100 (scaled) twips from the window's edge whatever the scroll, then its cards
// stand at their slots. It closes first, its cards and its animation with it; then the rack view.
void TestViewer::shelfView()
{
    QFETCH(QSize, screen);
    QFETCH(Cards, cards);
    QFETCH(int, laid);
    QFETCH(int, ticks);
    QFETCH(QString, close);
    QFETCH(bool, scrolled);
    test::ProgramFixture program(screen.width(), screen.height());
    frmSwitch &form = startRacks(program);
    const double xf = ModMain.XFactor, yf = ModMain.YFactor;
    const int controls = form.picShelfBig->itemCount();
    const auto press = [&form](Qt::Key key) { QTest::keyClick(form.focusWidget() ? form.focusWidget() : &form, key); };
    for (int k = 1; k <= cards.size(); ++k) { // into the model, as the editor writes them
        ModMain.SlotNo.set(cards[k - 1].slot, 2, 6, 5, k);
        ModMain.CardName.set(Loose::fromString(cards[k - 1].name), 2, 6, 5, k);
        ModMain.CardType.set(cards[k - 1].code, 2, 6, 5, k);
    }
    form.HScroll1->setValue(scrolled ? form.HScroll1->Max() : 0);
    QVERIFY(test::openRack("UC-03") && test::openDoors() && test::clickOn(form.imgShelf(4)));
    PictureBox &box = *form.picShelfBig;
    const double left = box.Left(), top = form.frameRackBig->Top() + form.imgShelf(4).Top();
    QCOMPARE(geometry(box), QRectF(form.frameRackBig->Left(), top, 4350 * xf, 945 * yf));
    double step = 0;
    for (int tick = 1; tick <= ticks; ++tick) {
        QVERIFY(cardsLaid(form, 0)); // the growing box carries no card
        form.TimShelfEnlarger->fireTick();
        step = tick == 1 ? left - box.Left() : step;
        QCOMPARE(geometry(box), QRectF(left - tick * step, top, 13150 * xf * tick / 6, 4050 * yf * tick / 6));
    }
    const double windowLeft = form.PicRoom->Left() + form.PicSwitch->Left() + box.Left();
    QVERIFY2(ticks < 6 || std::abs(windowLeft - 1100 * xf) <= 0.5, qPrintable(QString::number(windowLeft)));
    QCOMPARE(form.TimShelfEnlarger->Enabled(), ticks < 6);
    QVERIFY(cardsLaid(form, ticks < 6 ? 0 : laid));
    for (int n = 1; ticks == 6 && n <= laid; ++n) {
        const Card &want = cards[n - 1];
        const int code = want.code.readsAsNumber() && want.code.number() == int(want.code.number()) ? int(want.code.number()) : -1;
        const Image &card = form.imgCard(n);
        const Label &name = form.lblCard(n);
        // At its slot; a code not among the fourteen: a plain card of code 0's size.
        const Picture size = Art::card(code >= 0 && code < Art::CardCodes ? code : 0);
        QCOMPARE(geometry(card), QRectF(77 * (want.slot.number() + 5) * xf, (code == 13 ? 1560 : 360) * yf,
                                        size.naturalWidthTwips() * xf, size.naturalHeightTwips() * yf));
        for (int c = 0; c < Art::CardCodes; ++c)
            QCOMPARE(card.Picture() == Art::card(c), c == code);
        QVERIFY(!card.Picture().isNull() && card.Visible() && name.Visible());
        // Its name down its front; every card on the shelf.
        QCOMPARE(name.Caption().remove(QLatin1Char(' ')), want.name);
        QVERIFY(card.pixelRect().contains(name.pixelRect().topLeft()) && name.pixelRect().right() <= card.pixelRect().right());
        QVERIFY(QRect(QPoint(), box.size()).contains(card.pixelRect()));
    }
    if (ticks == 6) {
        QVERIFY(form.lblShelfName->Caption() == QStringLiteral("UC-03/5") && form.LblLevel->Caption() == QStringLiteral("*185*"));
        QVERIFY(QRect(QPoint(), box.size()).contains(form.cmdShelfEx->geometry()));
        // Off the design screen a copy of the shelf picture scaled by the factors lies under the cards.
        QCOMPARE(form.imgShelfBig.exists(1), screen != QSize(1024, 768));
        if (screen != QSize(1024, 768))
            QCOMPARE(geometry(form.imgShelfBig(1)), QRectF(0, 0, 13110 * xf, 3975 * yf));
    }

    if (close == "floor")
        QVERIFY(test::clickFloor());
    else if (close == "x")
        QTest::mouseClick(form.cmdShelfEx, Qt::LeftButton);
    else if (close == "shelf")
        QVERIFY(test::clickOn(form.imgShelf(0))); // the top one shows above the box
    else if (close == "refresh")
        form.mnuRefresh->trigger();
    else
        press(close == "esc" ? Qt::Key_Escape : Qt::Key_A);
    const bool shelfOpen = close == "key" || close == "shelf";
    QCOMPARE(box.Visible(), shelfOpen);
    QCOMPARE(form.TimShelfEnlarger->Enabled(), close == "shelf");
    const bool rackOpen = close != "refresh";
    QVERIFY(form.frameRackBig->Visible() == rackOpen && form.frameLOpen->Visible() == rackOpen && form.FrameROpen->Visible() == rackOpen);
    // A tick already due lays nothing once closed; another shelf lays its own cards once.
    test::growShelf(close == "shelf" ? 6 : 3);
    QVERIFY(cardsLaid(form, close == "key" ? laid : close == "shelf" ? CardsPerShelf : 0));
    QCOMPARE(form.imgShelfBig.exists(1), shelfOpen && screen != QSize(1024, 768));
    if (close == "shelf") {
        QCOMPARE(box.itemCount(), controls + 2 * CardsPerShelf + 1);
        QCOMPARE(form.lblShelfName->Caption(), QStringLiteral("UC-03/1"));
    } else if (close == "refresh") {
        // The new plan's racks open as before; the reloaded file's shelves hold no card.
        QVERIFY(test::openRack("UC-03") && test::openDoors() && test::clickOn(form.imgShelf(4)));
        test::growShelf();
        QVERIFY(cardsLaid(form, 0) && form.lblShelfName->Caption() == QStringLiteral("UC-03/5"));
    } else {
        // Then the rack view: a click on the floor shuts its doors, Esc leaves them.
        const bool byKey = close == "esc" || close == "key";
        if (byKey)
            press(Qt::Key_Escape);
        else
            QVERIFY(test::clickFloor());
        QVERIFY(!form.frameRackBig->Visible() && !form.frameLOpen->Visible() && !form.FrameROpen->Visible());
        QCOMPARE(form.ImgD_C_L->Visible(), !byKey);
        QCOMPARE(box.Visible(), close == "key");
    }
}

void TestViewer::smallRoomShelfView_data()
{
    QTest::addColumn<QSize>("screen");
    QTest::addColumn<int>("places");
    for (const QSize screen : {QSize(800, 600), QSize(1024, 768), QSize(1280, 1024), QSize(1920, 1080)}) {
        for (const int places : {1, 4})
            QTest::addRow("1 x %d at %dx%d", places, screen.width(), screen.height()) << screen << places;
    }
}

// In a room narrower than the shelf view, the last rack's fullest shelf is seen whole: its "X" and its last slot.
void TestViewer::smallRoomShelfView()
{
    QFETCH(QSize, screen);
    QFETCH(int, places);
    test::ProgramFixture program(screen.width(), screen.height());
    QVERIFY(program.start(test::fullRoom(1, places)) && QTest::qWaitForWindowExposed(&frmSwitch::get()));
    frmSwitch &form = frmSwitch::get();
    // A UE rack's second shelf holds a card at slot 145, near the shelf's end.
    applyRackTemplate(*templateForRackName("UE-01"), ModMain, 1, places);
    QVERIFY(test::openRack(QStringLiteral("R1%1").arg(places)) && test::openDoors() && test::clickOn(form.imgShelf(1)));
    test::growShelf();
    // Seen where it lies inside both the viewport and the room it is drawn on.
    const QRect viewport = form.PicSwitch->rect() & form.PicRoom->geometry();
    const auto seen = [&](const QRect &inShelf) {
        return viewport.contains(QRect(form.picShelfBig->mapTo(form.PicSwitch, inShelf.topLeft()), inShelf.size()));
    };
    QVERIFY(seen(form.cmdShelfEx->geometry()));
    int last = 1;
    for (int n = 2; n <= form.CardCount; ++n)
        last = form.imgCard(n).Left() > form.imgCard(last).Left() ? n : last;
    QCOMPARE(ModMain.SlotNo(1, places, 2, last).number(), 145.0);
    QVERIFY(seen(test::widgetRect(form.imgCard(last))));
}

void TestViewer::sampleExchange_data()
{
    QTest::addColumn<QSize>("screen");
    // The design size, and one where short cards' names once read two characters a line.
    for (const QSize screen : {QSize(1024, 768), QSize(1280, 1024)})
        QTest::addRow("%dx%d", screen.width(), screen.height()) << screen;
}

// For people to look at: the room plan, the MIS ring, the rack view shut and open, the fullest shelf of a rack of
// every family. At 1024 x 768 the room plan and UC-01's shelf are compared with the references.
void TestViewer::sampleExchange()
{
    QFETCH(QSize, screen);
    test::ProgramFixture program(screen.width(), screen.height());
    QFile sample(QStringLiteral(KVX_SAMPLE_FILE));
    QVERIFY(sample.open(QIODevice::ReadOnly) && program.start(sample.readAll()) && QTest::qWaitForWindowExposed(&frmSwitch::get()));
    frmSwitch &form = frmSwitch::get();
    // Scrolls so that the room's point (x, y) stands as near the viewport's centre as the bars go.
    const auto scrollToShow = [&form](double x, double y) {
        const auto value = [](double at, double viewport, double room, int max) {
            return max ? std::clamp(int(std::lround((viewport / 2 - at) / (viewport - room) * max)), 0, max) : 0;
        };
        form.HScroll1->setValue(value(x, form.PicSwitch->Width(), form.PicRoom->Width(), form.HScroll1->Max()));
        form.VScroll1->setValue(value(y, form.PicSwitch->Height(), form.PicRoom->Height(), form.VScroll1->Max()));
    };
    const bool design = screen == QSize(1024, 768);
    QString difference = design ? differenceFromReference(test::grabImage(*form.PicSwitch), "roomplan") : QString();
    QVERIFY2(difference.isEmpty(), qPrintable(difference));
    const QString folder = test::screenshotFolder() + '/';
    const QString size = QStringLiteral("%1x%2.png").arg(screen.width()).arg(screen.height());
    QVERIFY(test::grabImage(form).save(folder + "roomplan-" + size, nullptr, test::ShotQuality));
    form.MnuMIS->trigger();
    QVERIFY(test::grabImage(form).save(folder + "ring-mis-" + size, nullptr, test::ShotQuality));
    form.MnuSwitch->trigger();
    if (design) { // the README's pictures of the export dialog and the find bar
        kvx::setFileDialogHook([&](const kvx::FileDialogRequest &request) {
            QTimer::singleShot(0, [&] {
                QWidget *dialog = QApplication::activeModalWidget();
                QVERIFY(dialog && dialog->grab().save(folder + "export-dialog.png", nullptr, test::ShotQuality));
                dialog->close();
            });
            return kvx::showQtFileDialog(request);
        });
        QTest::keyClick(&form, Qt::Key_E, Qt::ControlModifier | Qt::ShiftModifier);
        kvx::setFileDialogHook([](const kvx::FileDialogRequest &) { return std::optional<QString>(); });
        QVERIFY(QFile::exists(folder + "export-dialog.png"));
        QApplication::setActiveWindow(&form);
        QTest::keyClick(&form, Qt::Key_F, Qt::ControlModifier);
        QVERIFY(form.findBar() && form.findBar()->isVisible());
        QTest::keyClicks(form.findBar()->edit(), "ictrq");
        QVERIFY(test::grabImage(form).save(folder + "find-" + size, nullptr, test::ShotQuality));
        QTest::keyClick(form.findBar()->edit(), Qt::Key_Escape);
    }

    for (const QString rack : {"UE-01", "UD-01", "UC-01", "XA-1A", "XA0", "XB-1A", "CA"}) {
        const Image &plan = form.imgRack(test::rackIndex(rack));
        scrollToShow(plan.Left() + plan.Width() / 2, plan.Top() + plan.Height() / 2);
        QVERIFY2(test::openRack(rack), qPrintable(rack));
        const QString name = QString(rack).remove(QLatin1Char('-')) + '-' + size;
        const bool front = rack == "UE-01" || rack == "UC-01"; // the two rack fronts
        QVERIFY(!front || test::grabImage(form).save(folder + "rackview-shut-" + name, nullptr, test::ShotQuality));
        QVERIFY(test::openDoors());
        QVERIFY(!front || test::grabImage(form).save(folder + "rackview-open-" + name, nullptr, test::ShotQuality));
        // The fullest shelf, the last of them.
        int fullest = -1, most = -1;
        for (int k = 0; k < 5; ++k) {
            int cards = 0;
            while (cards < CardsPerShelf && ModMain.SlotNo(form.SelShoot, form.SelPlace, k + 1, cards + 1).number() >= 0)
                ++cards;
            if (form.imgShelf(k).Visible() && cards >= most) {
                most = cards;
                fullest = k;
            }
        }
        QVERIFY(fullest >= 0 && test::clickOn(form.imgShelf(fullest)));
        test::growShelf();
        QCOMPARE(form.CardCount, most);
        if (design && rack == "UC-01")
            difference = differenceFromReference(test::grabImage(*form.picShelfBig), "shelfview-UC01");
        QVERIFY2(difference.isEmpty(), qPrintable(difference));
        const PictureBox &box = *form.picShelfBig;
        scrollToShow(box.Left() + box.Width() / 2, box.Top() + box.Height() / 2);
        QVERIFY(test::grabImage(form).save(folder + "shelfview-" + name, nullptr, test::ShotQuality));
        QVERIFY(test::clickFloor() && test::clickFloor());
    }
}

void TestViewer::keyboard_data()
{
    QTest::addColumn<QString>("room");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("rack"); // current afterwards
    QTest::addColumn<QString>("view");
    QTest::addColumn<QString>("told"); // the last item to take the focus: name|description; the status line says the name
    QTest::addColumn<QString>("said"); // in a message box or a pop-up
    const QString uc01 = "Home Right*4", card = uc01 + " Return Space Down Return grow Right*2";
    QTest::newRow("start: no frame") << "sample" << "" << "" << "room" << "" << "";
    QTest::newRow("Home, Right past empty places") << "sample" << uc01 << "UC-01" << "room" << "Rack UC-01, shoot 1, place 7|Stations: SMC (shelf 1), SMA (shelf 2), SMA (shelf 3), SMA (shelf 4), SMA (shelf 5)" << "";
    QTest::newRow("Left at the shoot's start") << "sample" << "Home Left" << "SDE-01" << "room" << "Rack SDE-01, shoot 1, place 1|No stations" << "";
    QTest::newRow("a click hides the frame") << "sample" << "Home click" << "SDE-01" << "room" << "Rack SDE-01, shoot 1, place 1|No stations" << "";
    QTest::newRow("Down to the nearest in front") << "sample" << uc01 + " Down" << "UE-02" << "room" << "Rack UE-02, shoot 2, place 7|" << "";
    QTest::newRow("Down over an empty place") << "sample" << uc01 + " Down*2" << "UC-05" << "room" << "Rack UC-05, shoot 3, place 8|" << "";
    QTest::newRow("End, Up to the nearest behind") << "sample" << "End Up" << "UC-06" << "room" << "Rack UC-06, shoot 3, place 9|" << "";
    QTest::newRow("Enter: the rack view at its left door") << "sample" << uc01 + " Return" << "UC-01" << "rack" << "Left door, shut|" << "";
    QTest::newRow("Space: the left button opens the left door") << "sample" << uc01 + " Return Space" << "UC-01" << "rack" << "Left door, open|" << "";
    QTest::newRow("Menu: the right button the right door") << "sample" << uc01 + " Return Right Menu" << "UC-01" << "rack" << "Right door, open|" << "";
    QTest::newRow("Shift+F10, then Space shuts it") << "sample" << uc01 + " Return Right S-F10 Space" << "UC-01" << "rack" << "Right door, shut|" << "";
    QTest::newRow("a shelf behind shut doors") << "sample" << uc01 + " Return Down*2 Return" << "UC-01" << "rack" << "Shelf 2, SMA|12 cards" << "";
    QTest::newRow("a power rack's door") << "sample" << "Home Return Space" << "SDE-01" << "rack" << "Left door, shut|" << "Please Avoid Opening Power Rack";
    QTest::newRow("to a card, first in slot order") << "sample" << card.chopped(8) << "UC-01" << "shelf" << "Card AE5V40A, slot 15, image 1|" << "";
    QTest::newRow("to a card of the sample") << "sample" << card << "UC-01" << "shelf" << "Card ACAJB4, slot 54, image 0|" << "";
    QTest::newRow("and back with Esc") << "sample" << card + " Esc" << "UC-01" << "rack" << "Room plan|" << "";
    QTest::newRow("and back to the room") << "sample" << card + " Esc*2" << "UC-01" << "room" << "Room plan|" << "";
    QTest::newRow("ring: Tab") << "sample" << "C-M Tab" << "" << "ring" << "Rack CA, shoot 1, place 5|Ring member 1. Stations: SMC1 (shelf 1), STS1 (shelf 2), SMMA (shelf 3), SSE1 (shelf 4), SMMB (shelf 5)" << "";
    QTest::newRow("ring: Shift+Tab, the last member") << "sample" << "C-M S-Tab" << "" << "ring" << "Rack UE-01, shoot 2, place 6|Ring member 10. Stations: SMC (shelf 1), SMT (shelf 2), SMT (shelf 3), SMA (shelf 4), SMA (shelf 5)" << "";
    QTest::newRow("ring: Enter, the stations") << "sample" << "C-M Tab*2 Return" << "" << "ring" << "Rack UC-01, shoot 1, place 7|" << "SMC SMA SMA SMA SMA";
    QTest::newRow("off screen: End") << "15x15" << "End" << "R1515" << "room" << "Rack R1515, shoot 15, place 15|" << "";
    QTest::newRow("off screen: End, Home") << "15x15" << "End Home" << "R11" << "room" << "Rack R11, shoot 1, place 1|" << "";
    QTest::newRow("off screen: End, Up to the back") << "15x15" << "End Up*14" << "R115" << "room" << "Rack R115, shoot 1, place 15|" << "";
}

// The keyboard alone, from the start: the current rack framed once a key moved it, and seen; the doors with the
// keys of the mouse buttons; a screen reader told of every item reached.
void TestViewer::keyboard()
{
    QFETCH(QString, room);
    QFETCH(QString, keys);
    QFETCH(QString, rack);
    QFETCH(QString, view);
    QFETCH(QString, told);
    QFETCH(QString, said);
    test::ProgramFixture program;
    frmSwitch &form = startOn(program, room);
    QStringList popped;
    setPopupMenuHook([&](Menu *) {
        for (int k = 1; k <= 5; ++k)
            popped << form.MnuSlf[size_t(k)]->Caption();
    });
    QVERIFY(QApplication::focusWidget() == form.PicRoom && !form.PicRoom->focusFrameShown());
    g_told.clear();
    const bool listening = listen(true);
    const auto quiet = qScopeGuard([] { listen(false); });
    press(keys);

    QCOMPARE(viewShown(form), view);
    const Image &current = form.imgRack(form.currentRack());
    QVERIFY(rack.isEmpty() || form.lblRack(form.currentRack()).Caption() == rack);
    const bool byKey = !keys.isEmpty() && !keys.contains("click") && !keys.startsWith("C-M");
    QCOMPARE(form.PicRoom->focusFrameShown(), byKey);
    const QImage shot = test::grabImage(*form.PicRoom);
    const QRect r = test::widgetRect(current);
    QVERIFY(view != "room" || test::colorNear(shot, QPoint(r.left() + 1, r.center().y()), form.palette().color(QPalette::Highlight), 0) == byKey);
    if (byKey && view == "room") { // seen, the room moved by its bars' rule
        QVERIFY(test::inViewport(test::pointOf(current, 0, 0)) && test::inViewport(test::pointOf(current, 0.99, 0.99)));
        QVERIFY(form.HScroll1->Max() == 0 || form.PicRoom->Left() == double(form.HScroll1->Value()) / form.HScroll1->Max() * (form.PicSwitch->Width() - form.PicRoom->Width()));
    }
    QVERIFY(!listening || g_told.value(g_told.size() - 1).left(told.endsWith('|') ? told.size() : -1) == told);
    QCOMPARE(form.statusText(), view == "shelf" ? told.section('|', 0, 0) : keys.endsWith("Down*2 Return") ? "The doors are shut: Space opens the left door, the Menu key the right one" : "");
    QCOMPARE(program.hooks.messages.isEmpty() ? popped.join(' ') : program.hooks.messages[0].text, said);
    if (keys == "Home Right*4") { // the room plan is a list of the racks in reading order
        QAccessibleInterface *plan = QAccessible::queryAccessibleInterface(form.PicRoom);
        QVERIFY(plan->role() == QAccessible::List && plan->child(0)->text(QAccessible::Name) == "Rack SDE-01, shoot 1, place 1");
        QVERIFY(plan->child(ModMain.RackIndex - 1)->text(QAccessible::Name) == "Rack SDE-04, shoot 4, place 10" && plan->child(ModMain.RackIndex)->role() != QAccessible::ListItem);
        QVERIFY(plan->child(6)->role() == QAccessible::ListItem && plan->indexOfChild(plan->focusChild()) == 4);
        QVERIFY(test::grabImage(form).save(test::screenshotFolder() + "/keyboard-room-focus.png", nullptr, test::ShotQuality));
    }
    if (keys == "Home Right*4 Return Space Down Return grow Right*2") {
        QAccessibleInterface *shelf = QAccessible::queryAccessibleInterface(form.picShelfBig);
        QCOMPARE(shelf->child(2)->text(QAccessible::Name), "Card AE5V40A, slot 15, image 1"); // after the station and the level
        QCOMPARE(QAccessible::queryAccessibleInterface(form.cmdShelfEx)->text(QAccessible::Name), "Close the shelf view");
        QCOMPARE(QAccessible::queryAccessibleInterface(form.frameRackBig)->child(0)->text(QAccessible::Name), "UC-01");
        QVERIFY(test::grabImage(form).save(test::screenshotFolder() + "/keyboard-shelf-card.png", nullptr, test::ShotQuality));
    }
    QVERIFY(!view.startsWith("r") || QApplication::focusWidget() == (view == "ring" ? form.PicRing : form.PicRoom));
}

void TestViewer::find_data()
{
    QTest::addColumn<QString>("text"); // typed after Ctrl+F into the test room
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("count");
    QTest::addColumn<int>("dimmed");  // racks
    QTest::addColumn<QString>("shown"); // the current rack, and the shelf (1..5) of its view or the card marked
    QTest::addColumn<QString>("view");
    QTest::addColumn<bool>("bar");
    QTest::newRow("no match") << "zzz" << "Return" << "No match" << 5 << "" << "room" << true;
    QTest::newRow("one rack, by name, in lower case") << "sde" << "Return" << "1 rack" << 4 << "SDE-01" << "room" << true;
    QTest::newRow("a station only") << "smxc" << "Return" << "1 rack, 1 shelf" << 4 << "UD-02 3" << "rack" << true;
    QTest::newRow("cards of one shelf: the first marked") << "k3" << "Return grow" << "1 rack, 6 cards" << 4 << "UD-02 K3" << "shelf" << true;
    QTest::newRow("the next in the same shelf at once") << "k3" << "Return grow Return" << "1 rack, 6 cards" << 4 << "UD-02 K30" << "shelf" << true;
    QTest::newRow("the mark goes with the next key") << "k3" << "Return grow Right" << "1 rack, 6 cards" << 4 << "UD-02" << "shelf" << true;
    QTest::newRow("next in the same rack") << "x" << "Return*2" << "2 racks, 5 shelves" << 3 << "UD-02 2" << "rack" << true;
    QTest::newRow("next across racks") << "x" << "Return*6" << "2 racks, 5 shelves" << 3 << "XA0" << "room" << true;
    QTest::newRow("next past the last: the first") << "x" << "F3*7" << "2 racks, 5 shelves" << 3 << "UD-02 1" << "rack" << true;
    QTest::newRow("previous before the first: the last") << "x" << "Return S-Return" << "2 racks, 5 shelves" << 3 << "XA0" << "room" << true;
    QTest::newRow("previous across racks") << "x" << "Return*6 S-F3" << "2 racks, 5 shelves" << 3 << "UD-02 5" << "rack" << true;
    QTest::newRow("no card past a list's end") << "u9" << "Return" << "No match" << 5 << "" << "room" << true;
    QTest::newRow("a card of a twin: where its views read") << "c1" << "" << "2 racks, 2 cards" << 3 << "" << "room" << true;
    QTest::newRow("Esc: no dimming, no mark, the views stay") << "k3" << "Return grow Esc" << "" << 0 << "UD-02" << "shelf" << false;
    QTest::newRow("from the ring view") << "sde" << "C-M Return" << "1 rack" << 4 << "SDE-01" << "room" << true;
}

// Find reads the room as its views show it, dims what it did not find and goes from match to match; it never
// changes the model.
void TestViewer::find()
{
    QFETCH(QString, text);
    QFETCH(QString, keys);
    QFETCH(QString, count);
    QFETCH(int, dimmed);
    QFETCH(QString, shown);
    QFETCH(QString, view);
    QFETCH(bool, bar);
    test::ProgramFixture program;
    frmSwitch &form = startOn(program, "test");
    ModMain.SlotNo.set(Loose(9), 1, 3, 1, 3); // after U1 and the end mark
    ModMain.CardName.set(Loose("U9"), 1, 3, 1, 3);
    const QByteArray model = test::fileOf(ModMain);
    const bool ring = keys.startsWith("C-M ");
    press(ring ? "C-M" : "");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F, Qt::ControlModifier);
    QVERIFY(QApplication::focusWidget() == form.findBar()->edit());
    QTest::keyClicks(form.findBar()->edit(), text);
    press(ring ? keys.mid(4) : keys);

    QCOMPARE(!form.findBar()->isHidden(), bar);
    QVERIFY(!bar || form.findBar()->countText() == count);
    int dims = 0;
    for (int i = 1; i <= ModMain.RackIndex; ++i) {
        QCOMPARE(form.lblRack(i).dimmed(), form.imgRack(i).dimmed());
        dims += form.imgRack(i).dimmed();
    }
    QCOMPARE(dims, dimmed);
    QCOMPARE(viewShown(form), view);
    const QString rack = shown.section(' ', 0, 0), at = shown.section(' ', 1);
    QVERIFY(rack.isEmpty() || form.lblRack(form.currentRack()).Caption() == rack);
    if (view == "rack")
        QCOMPARE(form.frameRackBig->currentItem(), &form.imgShelf(at.toInt() - 1));
    const LightControl *marked = form.picShelfBig->markedItem();
    QCOMPARE(marked ? QString(form.lblCard(marked->Index()).Caption()).remove(' ') : QString(), view == "shelf" ? at : QString());
    QCOMPARE(test::fileOf(ModMain), model);
    if (keys == "Return grow")
        QVERIFY(test::grabImage(form).save(test::screenshotFolder() + "/find-shelf-marked.png", nullptr, test::ShotQuality));
    if (text == "x" && keys == "Return*6")
        QVERIFY(test::grabImage(form).save(test::screenshotFolder() + "/find-room-dimmed.png", nullptr, test::ShotQuality));
}

void TestViewer::exportedViews_data()
{
    QTest::addColumn<QString>("view"); // opened as a user opens it
    QTest::addColumn<QString>("name");
    QTest::newRow("the whole room plan") << "room" << "Room Plan";
    QTest::newRow("a rack, doors shut") << "rack" << "Rack UC-03";
    QTest::newRow("a rack, doors open") << "doors" << "Rack UC-03";
    QTest::newRow("a shelf still growing: the rack") << "growing" << "Rack UC-03";
    QTest::newRow("a shelf") << "shelf" << "Shelf 1 of UC-03";
    QTest::newRow("a ring") << "ring" << "MAS1 Ring Lay Out";
}

// The view shown, exported whole, is pixel for pixel what the screen shows of it.
void TestViewer::exportedViews()
{
    QFETCH(QString, view);
    QFETCH(QString, name);
    test::ProgramFixture program;
    frmSwitch &form = startRacks(program);
    if (view == "ring")
        form.MnuMAS1->trigger();
    else if (view != "room")
        QVERIFY(test::openRack("UC-03") && (view == "rack" || test::openDoors()));
    if (view == "shelf" || view == "growing") {
        QVERIFY(test::clickOn(form.imgShelf(0)));
        test::growShelf(view == "shelf" ? 6 : 3);
    }
    const ViewPicture shown = shownView(form);
    QCOMPARE(shown.title, "TEST ROOM - " + name);
    QString error;
    QVERIFY2(exportView(shown, program.path("view.png"), 1, &error), qPrintable(error));
    const QImage exported = QImage(program.path("view.png")).convertToFormat(QImage::Format_RGB32);
    // The open doors stand beside the rack, the left one at the view's left edge.
    QWidget *widget = view == "room" ? form.PicRoom : view == "ring" ? form.PicRing : view == "shelf" ? form.picShelfBig : static_cast<QWidget *>(form.frameRackBig);
    const int doors = view == "doors" || view == "growing" ? form.frameLOpen->width() : 0;
    const QPoint at = widget->mapTo(form.PicSwitch, QPoint(-doors, 0));
    QCOMPARE(exported.size(), widget->size() + QSize(2 * doors, 0));
    if (view == "growing")
        return; // the screen shows the box growing over the rack
    const QImage screen = test::grabImage(*form.PicSwitch);
    const QRect seen = QRect(at, exported.size()) & screen.rect();
    QVERIFY(seen.width() > 250 && seen.height() > 250);
    QCOMPARE(exported.copy(seen.translated(-at)), screen.copy(seen));
}

void TestViewer::exportAndPrint_data()
{
    QTest::addColumn<QString>("file");    // answered to the dialog, in a folder that holds the folders folder.pdf and full
    QTest::addColumn<bool>("printed");    // to the file, else exported; no file cancels
    QTest::addColumn<QString>("message"); // its start; @ the folder
    QTest::newRow("PNG at twice the density") << "room.PNG" << false << "";
    QTest::newRow("SVG") << "room.svg" << false << "";
    QTest::newRow("PDF") << "room.pdf" << false << "";
    QTest::newRow("printed") << "print.pdf" << true << "";
    QTest::newRow("cancelled") << "" << false << "";
    QTest::newRow("print cancelled") << "" << true << "";
    QTest::newRow("no format of its own") << "room.jpg" << false << "Cannot export to file @/room.jpg: its extension names none";
    QTest::newRow("a folder not there") << "gone/room.svg" << false << "Cannot write file @/gone/room.svg: No such file or directory";
    QTest::newRow("over a folder") << "folder.pdf" << false << "Cannot write file @/folder.pdf: Not a regular file";
    QTest::newRow("printed over a folder") << "folder.pdf" << true << "Cannot print to file @/folder.pdf";
    QTest::newRow("a full disk") << "full/room.png" << false << "Cannot write file @/full/room.png: No space left on device";
}

// Exchange > Export View... writes the format its name asks for, Print... one page: the whole room plan, its pictures as
// vectors and its names as text in SVG and PDF. A failure is told and leaves nothing behind.
void TestViewer::exportAndPrint()
{
    QFETCH(QString, file);
    QFETCH(bool, printed);
    QFETCH(QString, message);
    test::ProgramFixture program;
    QFile sample(QStringLiteral(KVX_SAMPLE_FILE));
    QVERIFY(sample.open(QIODevice::ReadOnly) && program.start(sample.readAll()) && QTest::qWaitForWindowActive(&frmSwitch::get()));
    frmSwitch &form = frmSwitch::get();
    QTemporaryDir dir;
    const QString path = dir.filePath(file);
    QVERIFY(QDir(dir.path()).mkdir("folder.pdf") && QDir(dir.path()).mkdir("full"));
    std::optional<test::TinyDisk> disk;
    if (file.startsWith("full") && !(disk.emplace(dir.filePath("full")).mounted() && disk->fill()))
        QSKIP("needs root to mount a small disk");
    const QStringList before = QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot) + QDir(dir.filePath("full")).entryList(QDir::Files);
    const auto noPrinter = qScopeGuard([] { setPrintDialogHook({}); });
    setPrintDialogHook([&](QPrinter &printer) {
        printer.setOutputFileName(path);
        return !file.isEmpty();
    });
    program.hooks.setNextFile(file.isEmpty() ? std::nullopt : std::optional<QString>(path));
    QTest::keyClick(&form, printed ? Qt::Key_P : Qt::Key_E, printed ? Qt::ControlModifier : Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(program.hooks.fileRequests.size(), printed ? 0 : 1);
    QCOMPARE(program.hooks.messages.size(), message.isEmpty() ? 0 : 1);
    if (!message.isEmpty() || file.isEmpty()) {
        QVERIFY(message.isEmpty() || program.hooks.messages[0].text.startsWith(message.replace("@", dir.path())));
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot) + QDir(dir.filePath("full")).entryList(QDir::Files), before);
        return;
    }
    QStringList racks;
    for (int i = 1; i <= ModMain.RackIndex; ++i)
        racks << form.lblRack(i).Caption();
    const QByteArray bytes = test::readFile(path);
    if (file.endsWith(".PNG"))
        QCOMPARE(QImage(path).size(), form.PicRoom->size() * 2);
    // The pictures' own shapes, not one image of them; every name a text.
    if (file.endsWith(".svg"))
        QVERIFY(bytes.count("<path") > 10 * racks.size() && !bytes.contains("<image"));
    for (const QString &rack : racks)
        QVERIFY2(!file.endsWith(".svg") || bytes.contains(" >" + rack.toUtf8() + "</text>"), qPrintable(rack));
    if (!file.endsWith(".pdf"))
        return;
    const auto [pagesRead, info, infoError] = runProgram("pdfinfo", {path});
    const auto [textRead, text, textError] = runProgram("pdftotext", {path, "-"});
    QVERIFY2(pagesRead == 0 && textRead == 0, "pdfinfo and pdftotext (poppler-utils) read the PDF");
    QVERIFY(info.simplified().contains("Pages: 1 "));
    const QStringList words = QString::fromUtf8(text).split(QRegularExpression("\\s+"));
    for (const QString &rack : racks)
        QVERIFY2(words.contains(rack), qPrintable(rack));
    QCOMPARE(text.contains("KINGSBRIDGE TRUNK EXCHANGE - Room Plan"), printed);
}

void TestViewer::exportCommand_data()
{
    QTest::addColumn<QString>("args"); // after --export, split at blanks: @ the folder written to, SAMPLE the sample
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("error"); // on standard error; NAME.check: the report of that golden file
    QTest::addColumn<QString>("word");  // the PDF written holds as text
    QTest::newRow("UC-01's fullest shelf at scale 1") << "shelf @/s.png --file SAMPLE --rack UC-01 --shelf 1 --scale 1" << 0 << "" << "";
    QTest::newRow("the room as SVG") << "room @/r.svg --file SAMPLE" << 0 << "" << "";
    QTest::newRow("MAS4 as PDF") << "ring @/r.pdf --ring mas4 --file SAMPLE" << 0 << "" << "UE-05";
    QTest::newRow("a shelf as PDF: card names down the cards") << "shelf @/s.pdf --file SAMPLE --rack UC-01 --shelf 2" << 0 << "" << "ACTUR5AB";
    QTest::newRow("a power rack at half scale") << "rack @/r.png --file SAMPLE --rack SDE-01 --scale 0.5" << 0 << "" << "";
    QTest::newRow("an unknown view") << "hall @/x.png --file SAMPLE" << 2 << "kvx410: unknown view \"hall\": room, rack, shelf or ring" << "";
    QTest::newRow("an unknown format") << "room @/x.gif --file SAMPLE" << 2 << "kvx410: @/x.gif: its extension chooses the format: .png, .svg or .pdf" << "";
    QTest::newRow("an unknown option") << "room @/x.png --fast" << 2 << "kvx410: unknown option --fast" << "";
    QTest::newRow("a rack view without a rack") << "rack @/x.png" << 2 << "kvx410: the rack view needs --rack NAME" << "";
    QTest::newRow("a ring for the room") << "room @/x.png --ring MIS" << 2 << "kvx410: --ring is for the ring view" << "";
    QTest::newRow("shelf 6") << "shelf @/x.png --rack UC-01 --shelf 6" << 2 << "kvx410: --shelf takes a shelf from 1 to 5, not \"6\"" << "";
    QTest::newRow("scale 0") << "room @/x.png --scale 0" << 2 << "kvx410: --scale takes a number above 0 and at most 8, not \"0\"" << "";
    QTest::newRow("a rack not in the file") << "rack @/x.png --file SAMPLE --rack UC-99" << 1 << "kvx410: no rack is named \"UC-99\"" << "";
    QTest::newRow("a shelf without a station") << "shelf @/x.pdf --file SAMPLE --rack SDE-01 --shelf 1" << 1 << "kvx410: shelf 1 of rack SDE-01 has no station" << "";
    QTest::newRow("a ring beyond the file's") << "ring @/x.svg --file example.kvx --ring MAS3" << 1 << "kvx410: the file has 2 MAS rings: no ring MAS3" << "";
    QTest::newRow("a corrupted data file") << "room @/x.png --file bad-slot.kvx" << 1 << "bad-slot.check" << "";
    QTest::newRow("no data file") << "room @/x.png --file none.kvx" << 1 << "none.kvx: cannot open: No such file or directory" << "";
    QTest::newRow("a folder not there") << "room @/gone/x.png --file SAMPLE" << 1 << "kvx410: Cannot write file @/gone/x.png: No such file or directory" << "";
}

// kvx410 --export, run in the golden files' folder: one file written, or one line of error and nothing written.
void TestViewer::exportCommand()
{
    QFETCH(QString, args);
    QFETCH(int, exitCode);
    QFETCH(QString, error);
    QFETCH(QString, word);
    QTemporaryDir out;
    const QString folder = QFINDTESTDATA("data/kvx-check");
    const QStringList list = QString("--export " + args).replace("@", out.path()).replace("SAMPLE", KVX_SAMPLE_FILE).split(' ');
    const auto [code, output, errors] = runProgram(qEnvironmentVariable("KVX_BUILD_DIR") + "/kvx410", list, folder);
    if (error.endsWith(".check"))
        error = QString(test::readFile(folder + '/' + error)).section('\n', 1, 1);
    QCOMPARE(QString::fromUtf8(errors), error.isEmpty() ? QString() : error.replace("@", out.path()) + '\n');
    QCOMPARE(code, exitCode);
    const QStringList written = QDir(out.path()).entryList(QDir::Files | QDir::Hidden);
    QCOMPARE(written.size(), exitCode ? 0 : 1);
    const auto [textRead, text, textError] = word.isEmpty() ? std::tuple(0, QByteArray(), QByteArray()) : runProgram("pdftotext", {out.filePath(written.value(0)), "-"});
    QVERIFY(word.isEmpty() || (textRead == 0 && QString::fromUtf8(text).split(QRegularExpression("\\s+")).contains(word)));
    // The command line's shelf is the program's, pixel for pixel.
    const QString difference = args.contains("s.png") && !exitCode ? differenceFromReference(QImage(out.filePath("s.png")).convertToFormat(QImage::Format_RGB32), "shelfview-UC01") : QString();
    QVERIFY2(difference.isEmpty(), qPrintable(difference));
}

// The program's own application object: its handling of errors escaping an event handler is under test.
int main(int argc, char *argv[])
{
    kvx::Application app(argc, argv);
    app.setAttribute(Qt::AA_Use96Dpi, true);
    TestViewer tc;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&tc, argc, argv);
}
#include "test_viewer.moc"
