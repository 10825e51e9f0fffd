// The controls of the main window as they are designed: positions and sizes
// here are design values for the 1024 x 768 screen; InitMe scales what it needs.

#include "viewer/frmswitch.h"

#include "art/art.h"
#include "art/figures.h"

namespace kvx {

namespace {

constexpr quint32 FloorColor = 0xC8CDD2;    // the room's floor
constexpr quint32 ViewportColor = 0x707070; // seen only where the room is smaller than the viewport

const FontDesc RackNameFont{QStringLiteral("MS Sans Serif"), 9.75, true};
const FontDesc RackViewNameFont{QStringLiteral("MS Sans Serif"), 13.5, true};
// The full shelf's own frame colour, seen where the box outgrows its picture.
constexpr quint32 ShelfColor = 0x2C2A26;

Image *templateImage(Container *container, const Picture &picture, double width, double height)
{
    Image *image = container->create<Image>();
    image->setStretch(true);
    image->setPicture(picture);
    image->Move(0, 0, width, height);
    image->setVisible(false);
    return image;
}

Label *nameLabel(Container *container, const QString &caption)
{
    Label *label = container->create<Label>();
    label->setFontDesc(RackNameFont);
    label->setForeColor(ColorBlue);
    label->setBackStyle(Label::Transparent);
    label->setAutoSize(true);
    label->setCaption(caption);
    label->setVisible(false);
    return label;
}

} // namespace

void frmSwitch::createControls()
{
    createRoomControls();
    createRingControls();
    createRackAndShelfHolders();
    connectRackView();
    connectShelfView();
}

void frmSwitch::createRoomControls()
{
    Container *client = clientArea();
    PicSwitch = new PictureBox(client);
    // No borders: the scroll arithmetic puts the room's edges on the viewport's edges.
    PicSwitch->setBorderStyle(0);
    PicSwitch->setBackColor(ViewportColor);
    PicSwitch->Move(255, 0, 14000, 10000);

    PicRoom = new PictureBox(PicSwitch);
    PicRoom->setBorderStyle(0);
    PicRoom->setBackColor(FloorColor);
    PicRoom->Move(0, 0, 14000, 15000);

    HScroll1 = new HScrollBar(client);
    HScroll1->Move(255, 10000, 14000, 255);
    HScroll1->setLargeChange(10);
    HScroll1->Change = [this] { HScroll1_Change(); };
    VScroll1 = new VScrollBar(client);
    VScroll1->Move(14255, 0, 255, 10000);
    VScroll1->setLargeChange(10);
    VScroll1->Change = [this] { VScroll1_Change(); };
    VScroll1->setVisible(false);

    // Creation order is the stacking order of the templates; loaded racks and
    // end panels are sent beneath them row by row (PlaceRacks), names stay on top.
    imgRack.add(0, templateImage(PicRoom, Art::rack(), 2160, 3945));
    imgEFL.add(0, templateImage(PicRoom, Art::endLeft(), 120, 3945));
    imgEF.add(0, templateImage(PicRoom, Art::endRight(), 165, 3945));
    lblRack.add(0, nameLabel(PicRoom, QStringLiteral("XXXX")));
}

void frmSwitch::createRingControls()
{
    PicRing = new PictureBox(PicSwitch);
    PicRing->setBorderStyle(0);
    PicRing->setBackColor(ColorWhite);
    PicRing->Move(0, 0, 14000, 10000);
    PicRing->setVisible(false);

    Shape *shape = PicRing->create<Shape>();
    shape->setBorderColor(ColorBlack);
    shape->Move(0, 0, 900, 600);
    shape->setVisible(false);
    shpRack.add(0, shape);
    lblRingRack.add(0, nameLabel(PicRing, QStringLiteral("XXXXX")));
    lblRingRack.on(&Label::Click, [this](int index) { lblRingRack_Click(index); });

    // A fixed box with centred text: every ring's title stays centred once InitMe centres the box.
    lblRing = PicRing->create<Label>();
    lblRing->setFontDesc({QStringLiteral("MS Serif"), 24, false, false, true});
    lblRing->setBackStyle(Label::Transparent);
    lblRing->setAlignment(Label::Center);
    lblRing->Move(0, 0, 6000, 600);
    lblRing->setCaption(QStringLiteral("Token Ring Layout"));
}

// The rack and shelf views' controls, hidden, for InitMe to size. Their
// pictures are large drawings (a third of the start-up time to parse): they
// are given when a view first opens, not here.
void frmSwitch::createRackAndShelfHolders()
{
    createRackViewHolders();
    createShelfViewHolders();
}

void frmSwitch::createRackViewHolders()
{
    frameRackBig = new Frame(PicRoom);
    frameRackBig->setBorderStyle(0);
    frameRackBig->setVisible(false);
    imgSMTRack = templateImage(frameRackBig, Picture(), 4395, 7350);
    imgOtherRack = templateImage(frameRackBig, Picture(), Figures::RackFrontWidth, Figures::RackFrontHeight);
    ImgRackBig = frameRackBig->create<Image>();
    ImgRackBig->setStretch(true);
    ImgRackBig->Move(0, 0, Figures::RackFrontWidth, Figures::RackFrontHeight);
    for (int k = 0; k <= 4; ++k) {
        imgShelf.add(k, templateImage(frameRackBig, Picture(), Figures::ShelfWidth, Figures::ShelfHeight));
        imgShelf(k).setTop(1050);
    }
    lblRackName = frameRackBig->create<Label>();
    lblRackName->setFontDesc(RackViewNameFont);
    lblRackName->setForeColor(ColorBlue);
    lblRackName->setBackStyle(Label::Transparent);
    lblRackName->setAutoSize(true);
    ImgD_C_L = frameRackBig->create<Image>();
    ImgD_C_L->setStretch(true);
    ImgD_C_L->Move(0, 810, 2190, 6315);
    ImgD_C_R = frameRackBig->create<Image>();
    ImgD_C_R->setStretch(true);
    ImgD_C_R->Move(2190, 810, 2190, 6315);
    // A shelf is seen, and clicked, only where an open door uncovers it.
    frameRackBig->setStackingOrder({ImgD_C_R, ImgD_C_L, &imgShelf(4), &imgShelf(1), &imgShelf(3), &imgShelf(2),
                                    lblRackName, &imgShelf(0), ImgRackBig});

    // An open door is drawn in perspective: the room shows around it.
    frameLOpen = new Frame(PicRoom);
    frameLOpen->setBorderStyle(0);
    frameLOpen->setTransparentBackground(true);
    frameLOpen->setVisible(false);
    imgD_O_L = frameLOpen->create<Image>();
    imgD_O_L->setStretch(true);
    imgD_O_L->Move(0, 0, 2190, 6315);
    FrameROpen = new Frame(PicRoom);
    FrameROpen->setBorderStyle(0);
    FrameROpen->setTransparentBackground(true);
    FrameROpen->setVisible(false);
    imgD_O_R = FrameROpen->create<Image>();
    imgD_O_R->setStretch(true);
    imgD_O_R->Move(0, -120, 2190, 6315);
}

void frmSwitch::createShelfViewHolders()
{
    // Created after the rack view, so it lies above it.
    picShelfBig = new PictureBox(PicRoom);
    picShelfBig->setBorderStyle(0);
    picShelfBig->setBackColor(ShelfColor);
    picShelfBig->setVisible(false);

    // Creation order is the stacking order, bottom first: the scaled shelf
    // picture, the card pictures, their names, the station name, the level.
    imgShelfBig.add(0, templateImage(picShelfBig, Picture(), 13110, 3975));
    imgShelfBig(0).setLeft(-2040);
    for (int code = 0; code < Art::CardCodes; ++code)
        imgCardType.add(code, templateImage(picShelfBig, Picture(), 315, 3165));
    Image *card = picShelfBig->create<Image>();
    card->Move(360, 360, 315, 3165);
    card->setVisible(false);
    imgCard.add(0, card);
    Label *name = picShelfBig->create<Label>();
    name->setFontDesc({QStringLiteral("MS Sans Serif"), 8.25, true});
    name->setForeColor(ColorWhite);
    name->setBackStyle(Label::Transparent);
    name->Move(720, 1320, 140, 1695);
    name->setVisible(false);
    lblCard.add(0, name);

    lblShelfName = picShelfBig->create<Label>();
    lblShelfName->setFontDesc({QStringLiteral("Arial"), 12, true});
    lblShelfName->setForeColor(ColorWhite);
    lblShelfName->setBackStyle(Label::Transparent);
    lblShelfName->setAutoSize(true);
    lblShelfName->Move(480, 0);
    LblLevel = picShelfBig->create<Label>();
    LblLevel->setFontDesc({QStringLiteral("Arial"), 6.75});
    LblLevel->setBackColor(ColorWhite);
    LblLevel->setAutoSize(true);
    LblLevel->Move(45, 3555);
    LblLevel->setCaption(QStringLiteral("*100*"));

    cmdShelfEx = new CommandButton(picShelfBig);
    cmdShelfEx->setCaption(QStringLiteral("X"));
    cmdShelfEx->setBackColor(ColorYellow);
    cmdShelfEx->setFontDesc({QStringLiteral("MS Sans Serif"), 8.25, true});
    cmdShelfEx->Move(12800, 0, 255, 300);

    TimShelfEnlarger = new Timer(PicRoom);
    TimShelfEnlarger->setEnabled(false);
    TimShelfEnlarger->setInterval(10);
}

} // namespace kvx
