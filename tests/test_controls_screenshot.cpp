// Renders a form with a few of every control to a PNG for people to look at,
// with a few pixel checks that catch a control that failed to paint.

#include "controlshelpers.h"

#include "platform/checkbox.h"
#include "platform/combobox.h"
#include "platform/commandbutton.h"
#include "platform/controlarray.h"
#include "platform/form.h"
#include "platform/frame.h"
#include "platform/image.h"
#include "platform/label.h"
#include "platform/listbox.h"
#include "platform/optionbutton.h"
#include "platform/picturebox.h"
#include "platform/scrollbar.h"
#include "platform/shape.h"
#include "platform/tabcontrol.h"
#include "platform/textbox.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <numbers>

using namespace kvx;

namespace {

Picture svgPicture(const QTemporaryDir &dir, const QString &name, const QByteArray &svg)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(svg);
    file.close();
    return Picture(path);
}

const QByteArray RackSvg = "<svg xmlns='http://www.w3.org/2000/svg' width='140' height='263'>"
    "<rect x='1' y='1' width='138' height='261' fill='#8a9096' stroke='#3b3f44' stroke-width='2'/>"
    "<rect x='12' y='8' width='116' height='16' fill='#e8e8d8' stroke='#3b3f44'/>"
    "<rect x='10' y='34' width='120' height='220' fill='#6d737a'/>"
    "</svg>";

const QByteArray PanelSvg = "<svg xmlns='http://www.w3.org/2000/svg' width='10' height='263'>"
    "<rect width='10' height='263' fill='#4a4f55'/>"
    "</svg>";

const QByteArray CardSvg = "<svg xmlns='http://www.w3.org/2000/svg' width='21' height='211'>"
    "<rect width='21' height='211' fill='#2f5f3a'/>"
    "<circle cx='10' cy='12' r='3' fill='#e03030'/>"
    "</svg>";

} // namespace

class TestControlsScreenshot : public QObject
{
    Q_OBJECT

private slots:
    void renderForm();
};

void TestControlsScreenshot::renderForm()
{
    QTemporaryDir dir;
    const Picture rack = svgPicture(dir, QStringLiteral("rack.svg"), RackSvg);
    const Picture panel = svgPicture(dir, QStringLiteral("panel.svg"), PanelSvg);
    const Picture card = svgPicture(dir, QStringLiteral("card.svg"), CardSvg);
    QVERIFY(!rack.isNull() && !panel.isNull() && !card.isNull());

    Form form;
    form.setCaption(QStringLiteral("Controls"));
    form.resize(900, 640);
    Container *client = form.clientArea();

    // A room in miniature: two rows of racks with names and end panels.
    auto *room = new PictureBox(client);
    room->Move(150, 150, 6000, 4200);
    room->setBackColor(0xE0E0E0);
    Image *img0 = room->create<Image>();
    Image *ef0 = room->create<Image>();
    Label *lbl0 = room->create<Label>();
    img0->setStretch(true);
    img0->setPicture(rack);
    img0->Move(0, 1800, 2160 * 0.5, 3945 * 0.5);
    img0->setVisible(false);
    ef0->setStretch(true);
    ef0->setPicture(panel);
    ef0->Move(0, 0, 165 * 0.5, 3945 * 0.5);
    ef0->setVisible(false);
    lbl0->setFontDesc({QStringLiteral("MS Sans Serif"), 9.75, true});
    lbl0->setForeColor(ColorBlue);
    lbl0->setBackStyle(Label::Transparent);
    lbl0->setAutoSize(true);
    lbl0->setVisible(false);
    ControlArray<Image> imgRack(img0), imgEF(ef0);
    ControlArray<Label> lblRack(lbl0);
    // Rows further back are made later and must stand behind the front row.
    imgRack.setLoadStacking(LoadStacking::NewerBelow);
    const double w = img0->Width(), h = img0->Height();
    int index = 0;
    for (int shoot = 2; shoot >= 1; --shoot) {
        const double x = (2 - shoot) * w / 6, y = img0->Top() - (2 - shoot) * h / 4;
        for (int place = 1; place <= 4; ++place) {
            ++index;
            Label *name = lblRack.Load(index);
            Image *picture = imgRack.Load(index);
            picture->Move(x + place * w, y);
            picture->setVisible(true);
            name->setCaption(QStringLiteral("UC-%1%2").arg(shoot).arg(place));
            name->Move(picture->Left() + (w - name->Width()) / 2, y + 200 * 0.5);
            name->setVisible(true);
        }
        Image *end = imgEF.Load(shoot);
        end->Move(x + 5 * w, y);
        end->setVisible(true);
    }

    // A ring schematic: dotted and solid places with a drawn link.
    auto *ring = new PictureBox(client);
    ring->Move(6450, 150, 6600, 4200);
    ring->setBackColor(ColorWhite);
    Shape *shp0 = ring->create<Shape>();
    Label *ringLbl0 = ring->create<Label>();
    shp0->Move(0, 0, 900, 600);
    shp0->setVisible(false);
    ringLbl0->setFontDesc({QStringLiteral("MS Sans Serif"), 9.75, true});
    ringLbl0->setForeColor(ColorBlue);
    ringLbl0->setBackStyle(Label::Transparent);
    ringLbl0->setAutoSize(true);
    ringLbl0->setVisible(false);
    ControlArray<Shape> shpRack(shp0);
    ControlArray<Label> lblRingRack(ringLbl0);
    for (int i = 1; i <= 6; ++i) {
        Shape *place = shpRack.Load(i);
        place->Move(((i - 1) % 3 + 1) * 1400, ((i - 1) / 3 + 1) * 1200);
        place->setBorderStyle(i == 5 ? Shape::Dot : Shape::Solid);
        place->setVisible(true);
        Label *name = lblRingRack.Load(i);
        name->setCaption(i == 5 ? QString() : QStringLiteral("UD-0%1").arg(i));
        name->Move(place->Left() + (place->Width() - name->Width()) / 2, place->Top());
        name->setVisible(true);
    }
    ring->setDrawWidth(2);
    ring->Line(1750, 1400, 1950, 1600, 0x0000C0, PictureBox::Box);
    ring->Line(3150, 1400, 3350, 1600, 0x0000C0, PictureBox::Box);
    ring->Circle(2550, 1500, 700, 0x0000C0, std::numbers::pi, 0);
    ring->Circle(4800, 3300, 500, 0x008000, 0, 2 * std::numbers::pi, 0.5);

    // A shelf: cards with vertical names, one in the small face.
    auto *shelf = new PictureBox(client);
    shelf->Move(150, 4500, 6000, 2400);
    shelf->setBackColor(0x404040);
    auto *exit = new CommandButton(shelf);
    exit->Move(5600, 0, 255, 300);
    exit->setCaption(QStringLiteral("X"));
    exit->setFontDesc({QStringLiteral("MS Sans Serif"), 8.25, true});
    exit->setBackColor(ColorYellow);
    Label *shelfName = shelf->create<Label>();
    shelfName->setFontDesc({QStringLiteral("Arial"), 12, true});
    shelfName->setForeColor(ColorWhite);
    shelfName->setBackStyle(Label::Transparent);
    shelfName->setAutoSize(true);
    shelfName->Move(480, 0);
    shelfName->setCaption(QStringLiteral("TAX-STATION 3"));
    const char *names[] = {"ACAJA4", "SDCB", "PWR9"};
    for (int n = 0; n < 3; ++n) {
        Image *c = shelf->create<Image>();
        c->setPicture(card);
        c->Move(600 + n * 900, 360);
        Label *l = shelf->create<Label>();
        l->setBackStyle(Label::Transparent);
        l->setForeColor(ColorWhite);
        l->setFontDesc({QStringLiteral("MS Sans Serif"), 8.25, true});
        l->Move(c->Left() + 320, 400, 140, 1695);
        QString vertical;
        for (const QChar ch : QString::fromLatin1(names[n]))
            vertical += ch + QStringLiteral(" ");
        l->setCaption(vertical);
        if (n == 2)
            l->setFontDesc({QStringLiteral("Small Fonts"), 5});
    }

    // The editor's kind of controls.
    auto *tabs = new TabControl(client);
    tabs->Move(6450, 4500, 6600, 4800);
    Container *small = tabs->addTab(QStringLiteral("Small Change"));
    tabs->addTab(QStringLiteral("Major Change"));
    tabs->addTab(QStringLiteral("Ring Change"));
    auto *list = new ListBox(small);
    list->Move(240, 600, 1815, 900);
    list->AddItem(QStringLiteral("UC-01"));
    list->AddItem(QStringLiteral("UD-02"));
    list->setListIndex(1);
    auto *position = small->create<Label>();
    position->setFontDesc({QStringLiteral("Arial Black"), 13.5});
    position->setAutoSize(true);
    position->Move(2400, 600);
    position->setCaption(QStringLiteral("2 X 5"));
    auto *stations = new Frame(small);
    stations->setCaption(QStringLiteral("Station Select"));
    stations->Move(120, 1680, 6300, 855);
    for (int k = 0; k < 3; ++k) {
        auto *option = new OptionButton(stations);
        option->Move(240 + 1800 * k, 360, 1500, 255);
        option->setCaption(QStringLiteral("Shelf %1").arg(k + 1));
        option->setValue(k == 0);
    }
    auto *slot = new TextBox(small);
    slot->Move(240, 2700, 615, 285);
    slot->setText(QStringLiteral("12"));
    auto *cardName = new TextBox(small);
    cardName->Move(840, 2700, 1575, 285);
    cardName->setText(QStringLiteral("ACAJA4"));
    cardName->setBackColor(0x87F411);
    auto *mas3 = new CheckBox(small);
    mas3->Move(2640, 2700, 1200, 255);
    mas3->setCaption(QStringLiteral("MAS3"));
    mas3->setValue(1);
    auto *shoots = new ComboBox(small);
    shoots->Move(4000, 2700, 900, 315);
    for (int i = 1; i <= 15; ++i)
        shoots->AddItem(QString::number(i));
    shoots->setListIndex(4);
    auto *add = new CommandButton(small);
    add->Move(5100, 2700, 975, 375);
    add->setCaption(QStringLiteral("Add"));

    auto *hscroll = new HScrollBar(client);
    hscroll->Move(150, 7050, 6000, 255);
    hscroll->setMax(100);
    hscroll->setValue(50);
    auto *vscroll = new VScrollBar(client);
    vscroll->Move(13200, 150, 255, 4200);
    vscroll->setMax(100);
    vscroll->setValue(20);

    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    const QImage shot = form.grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QString folder = qEnvironmentVariable("KVX_BUILD_DIR", QDir::currentPath()) + QStringLiteral("/screenshots");
    QVERIFY(QDir().mkpath(folder));
    QVERIFY(shot.save(folder + QStringLiteral("/controls.png")));

    // The racks, the link's half circle and the selected row did paint.
    const QImage roomShot = test::grabImage(*room);
    const QRect firstRack = imgRack(1).pixelRect().translated(room->clientOrigin());
    QCOMPARE(roomShot.pixelColor(firstRack.center()), QColor(0x6d, 0x73, 0x7a));
    const QImage ringShot = test::grabImage(*ring);
    QVERIFY(test::colorNear(ringShot, QPoint(170, 100 + 46) + ring->clientOrigin(), QColor(0xC0, 0, 0), 2));
    QVERIFY(!test::colorNear(ringShot, QPoint(170, 100 - 46) + ring->clientOrigin(), QColor(0xC0, 0, 0), 3));
    const QImage rowShot = test::grabImage(*cardName);
    QCOMPARE(rowShot.pixelColor(rowShot.width() - 4, rowShot.height() / 2), QColor(0x11, 0xF4, 0x87));
}

QTEST_MAIN(TestControlsScreenshot)
#include "test_controls_screenshot.moc"
