// The shelf view: a shelf clicked in the rack view grows in six timer ticks
// into the full shelf laid over the room; then every card of the shelf's list
// stands at its slot with its name down its front, and the station name and
// the shelf's level are shown. A click on the room, "X" or Esc closes it.

#include "viewer/frmswitch.h"

#include "art/art.h"
#include "art/figures.h"
#include "model/modmain.h"

#include <QFontMetricsF>

#include <algorithm>
#include <cmath>

namespace kvx {

namespace {

constexpr int Ticks = 6;
// The full box and where its left edge ends, design twips from the window's edge.
constexpr double FullWidth = 13150;
constexpr double FullHeight = frmSwitch::FullShelfHeight;
constexpr double FinalLeft = 1100;
using Figures::CardTop;
using Figures::SlotOrigin;
using Figures::SlotPitch;
constexpr double CardNameTop = 1320;
constexpr double CardNameWidth = 140;
constexpr int ShortCard = 13;
constexpr double ShortCardTop = 1560;
// Design positions in the box of its fixed controls.
constexpr double ShelfNameLeft = 480;
constexpr double LevelLeft = 45;
constexpr double LevelTop = 3555;
constexpr double CloseLeft = 12800;
// A screen narrower than this gets smaller card names.
constexpr int NarrowScreen = 15000;
constexpr int KeyEscape = 27;

bool narrowScreen()
{
    return Screen::Width() < NarrowScreen;
}

// The design screen shows the full shelf's picture unscaled.
bool designScreen()
{
    return ModMain.XFactor == 1.0f && ModMain.YFactor == 1.0;
}

// What a card whose image type is unusable shows: a front plate the size of
// code 0's, with nothing on it but its name.
Picture blankCard()
{
    static const Picture picture = Picture::fromData(
        "<svg xmlns='http://www.w3.org/2000/svg' width='21' height='211' viewBox='0 0 21 211'>"
        "<rect width='21' height='211' fill='#0d0f11'/>"
        "<rect x='1' y='1' width='19' height='209' fill='#464c51'/>"
        "<rect x='1' y='1' width='19' height='1' fill='#8a8e91'/>"
        "<rect x='19' y='2' width='1' height='208' fill='#24282b'/>"
        "<rect x='2' y='4' width='17' height='15' rx='2' fill='#979da3'/>"
        "<rect x='2' y='192' width='17' height='15' rx='2' fill='#979da3'/>"
        "</svg>");
    return picture;
}

// The image-type code as an index of imgCardType, or -1 for anything else.
int cardCode(const Loose &code)
{
    if (!code.readsAsNumber())
        return -1;
    const double v = code.number();
    if (v != std::floor(v) || v < 0 || v >= Art::CardCodes)
        return -1;
    return int(v);
}

// The name with a blank after every character, so that the narrow label
// wraps it one character a line and it reads from top to bottom.
QString verticalCaption(const QString &name)
{
    QString caption;
    caption.reserve(name.size() * 2);
    for (const QChar c : name) {
        caption += c;
        caption += QLatin1Char(' ');
    }
    return caption;
}

} // namespace

void frmSwitch::connectShelfView()
{
    imgShelf.on(&Image::Click, [this](int index) { imgShelf_Click(index); });
    TimShelfEnlarger->Tick = [this] { TimShelfEnlarger_Timer(); };
    picShelfBig->KeyPress = [this](int &key) { picShelfBig_KeyPress(key); };
    cmdShelfEx->Click = [this] { cmdShelfEx_Click(); };
}

// Parsed when a shelf first opens, not at start-up.
void frmSwitch::giveShelfViewPictures()
{
    if (!picShelfBig->Picture().isNull())
        return;
    picShelfBig->setPicture(Art::shelfBig());
    for (int code = 0; code < Art::CardCodes; ++code)
        imgCardType(code).setPicture(Art::card(code));
}

void frmSwitch::imgShelf_Click(int Index)
{
    if (picShelfBig->Visible())
        CloseShelfView();
    giveShelfViewPictures();
    const Image &shelf = imgShelf(Index);
    picShelfBig->Move(frameRackBig->Left(), frameRackBig->Top() + shelf.Top(), shelf.Width(), shelf.Height());
    picShelfBig->setVisible(true);
    picShelfBig->SetFocus();
    StartShelfEnlarger();
    SelShelf = Index;
}

void frmSwitch::StartShelfEnlarger()
{
    const double xf = ModMain.XFactor;
    lblShelfName->setCaption(QString());
    // The fixed controls are designed for the 1024 x 768 box; elsewhere they
    // follow the box, or "X" would stand mid-shelf or beyond its edge.
    lblShelfName->Move(ShelfNameLeft * xf, 0);
    LblLevel->Move(LevelLeft * xf, LevelTop * ModMain.YFactor);
    cmdShelfEx->Move(CloseLeft * xf, 0);
    // The shelf's left edge in the window (PicRoom.Left is negative while scrolled).
    const double x0 = roundHalfEven(PicRoom->Left() + PicSwitch->Left() + picShelfBig->Left());
    StepX = (x0 - FinalLeft * xf) / Ticks;
    StepY = FullHeight * ModMain.YFactor / Ticks;
    TimShelfEnlarger->setEnabled(true);
    Tick = 0;
}

void frmSwitch::TimShelfEnlarger_Timer()
{
    // A tick already due when the view was closed lays nothing.
    if (!TimShelfEnlarger->Enabled())
        return;
    ++Tick;
    picShelfBig->Move(picShelfBig->Left() - StepX, picShelfBig->Top(),
                      double(ModMain.XFactor) * FullWidth * Tick / Ticks, StepY * Tick);
    if (Tick < Ticks)
        return;
    TimShelfEnlarger->setEnabled(false);
    ShowCards(SelShelf + 1);
    if (!designScreen())
        showScaledShelf();
    cardsLaid();
}

// Off the design screen the unscaled picture would be cut off (narrow) or
// leave the cards beyond its edge (wide): a copy scaled by the factors lies
// under them from the box's corner, where the cards are measured from.
void frmSwitch::showScaledShelf()
{
    if (!imgShelfBig.exists(1))
        imgShelfBig.Load(1);
    Image &copy = imgShelfBig(1);
    const Picture &picture = picShelfBig->Picture();
    copy.setPicture(picture);
    copy.Move(0, 0, picture.naturalWidthTwips() * double(ModMain.XFactor),
              picture.naturalHeightTwips() * ModMain.YFactor);
    copy.setVisible(true);
}

void frmSwitch::ShowCards(int s)
{
    imgCard(0).setTop(CardTop * ModMain.YFactor);
    lblCard(0).setTop(CardNameTop * ModMain.YFactor);
    if (narrowScreen())
        lblCard(0).setFontSize(6);
    CardCount = 0;
    for (int k = 1; k <= CardsPerShelf; ++k) {
        const Loose &Slot = ModMain.SlotNo(SelShoot, SelPlace, s, k);
        // A negative slot ends the list, and so does one that is no number.
        if (!Slot.readsAsNumber() || Slot.number() < 0)
            break;
        ++CardCount;
        layCard(CardCount, Slot, ModMain.CardName(SelShoot, SelPlace, s, k).str(),
                ModMain.CardType(SelShoot, SelPlace, s, k));
    }
    lblShelfName->setCaption(ModMain.StationName(SelShoot, SelPlace, s).str());
    const bool ueUd = ModMain.SelRack && isUeOrUd(ModMain.SelRack->Caption());
    const int level = ueUd ? s + 5 : s;
    LblLevel->setCaption(QLatin1Char('*') + ShelfLevel[size_t(level)].str() + QLatin1Char('*'));
}

void frmSwitch::layCard(int n, const Loose &Slot, const QString &Name, const Loose &Code)
{
    const double xf = ModMain.XFactor;
    const double yf = ModMain.YFactor;
    Label &name = *lblCard.Load(n);
    Image &card = *imgCard.Load(n);
    name.setCaption(verticalCaption(Name));
    const QString tip = Name + QStringLiteral(" @  Slot Number ") + QString::fromLatin1(numberText(Slot.number()));
    name.setToolTipText(tip);
    card.setToolTipText(tip);
    card.setLeft(SlotPitch * (Slot.number() + SlotOrigin) * xf);
    name.setLeft(card.Left() + lblCard(0).Width());
    // The font does not grow with the screen: wider, the name would wrap two
    // characters a line instead of reading down the card one by one.
    name.setWidth(std::min(name.Width(), CardNameWidth));
    name.setVisible(true);
    // Not yet stretched: the card takes its picture's natural size.
    const int code = cardCode(Code);
    card.setPicture(code < 0 ? blankCard() : imgCardType(code).Picture());
    if (code == ShortCard) {
        card.setTop(ShortCardTop * yf);
        name.setFontName(QStringLiteral("Small Fonts"));
        name.setFontSize(5);
        name.Move(card.Left() + 300 * xf, card.Top() + 50 * yf);
        // In the small face two characters and a blank can fit the label:
        // no wider than its widest character, it reads down one by one.
        const QFontMetricsF metrics(name.font());
        double widest = 0;
        for (const QChar c : Name)
            widest = std::max(widest, metrics.horizontalAdvance(c));
        name.setWidth(std::min(name.Width(), twipsFromPixels(std::ceil(widest) + 1)));
    }
    card.setStretch(true);
    card.setWidth(card.Width() * xf);
    card.setHeight(card.Height() * yf);
    card.setVisible(true);
}

// Also reached while the box grows: the animation stops there, and only the
// copies that exist are removed.
void frmSwitch::CloseShelfView()
{
    TimShelfEnlarger->setEnabled(false);
    for (int c = 1; c <= CardCount; ++c) {
        if (imgCard.exists(c))
            imgCard.Unload(c);
        if (lblCard.exists(c))
            lblCard.Unload(c);
    }
    CardCount = 0;
    picShelfBig->setVisible(false);
    if (imgShelfBig.exists(1))
        imgShelfBig.Unload(1);
}

void frmSwitch::picShelfBig_KeyPress(int &KeyAscii)
{
    if (KeyAscii == KeyEscape)
        CloseShelfView();
    // A further Esc then reaches the rack view.
    PicRoom->SetFocus();
}

void frmSwitch::cmdShelfEx_Click()
{
    PicRoom_Click();
}

} // namespace kvx
