// The rack view: a click on a rack of the plan opens its enlarged front,
// centred on it, with its name resting on two closed doors. The doors open
// and close with the mouse buttons (a power rack refuses); through an open
// door the shelves that carry a station can be clicked (the shelf view).
// A click on the room or Esc closes the view again.

#include "viewer/frmswitch.h"

#include "art/art.h"
#include "art/figures.h"
#include "model/modmain.h"
#include "platform/input.h"

namespace kvx {

namespace {

using Figures::DoorTableHeight;
using Figures::DoorTableTop;
using MouseButtons::LeftButton;
using MouseButtons::RightButton;

} // namespace

bool frmSwitch::isUeOrUd(const QString &rackName)
{
    const QString type = rackName.left(2);
    return type == QLatin1String("UE") || type == QLatin1String("UD");
}

void frmSwitch::connectRackView()
{
    imgRack.on(&Image::Click, [this](int index) { imgRack_Click(index); });
    ImgD_C_L->MouseDown = [this](int b, int s, double x, double y) { ImgD_C_L_MouseDown(b, s, x, y); };
    ImgD_C_R->MouseDown = [this](int b, int s, double x, double y) { ImgD_C_R_MouseDown(b, s, x, y); };
    imgD_O_L->MouseDown = [this](int b, int s, double x, double y) { imgD_O_L_MouseDown(b, s, x, y); };
    imgD_O_R->MouseDown = [this](int b, int s, double x, double y) { imgD_O_R_MouseDown(b, s, x, y); };
    PicRoom->Click = [this] { PicRoom_Click(); };
    PicRoom->KeyPress = [this](int &key) { PicRoom_KeyPress(key); };
}

// The pictures are parsed when the view first opens, not at start-up.
void frmSwitch::giveRackViewPictures()
{
    if (!imgOtherRack->Picture().isNull())
        return;
    imgSMTRack->setPicture(Art::rackFrontSmt());
    imgOtherRack->setPicture(Art::rackFrontOther());
    ImgD_C_L->setPicture(Art::doorClosedLeft());
    ImgD_C_R->setPicture(Art::doorClosedRight());
    imgD_O_L->setPicture(Art::doorOpenLeft());
    imgD_O_R->setPicture(Art::doorOpenRight());
    imgShelf(0).setPicture(Art::shelf());
    const QCursor pointer = Art::doorCursor();
    for (Image *door : {ImgD_C_L, ImgD_C_R, imgD_O_L, imgD_O_R})
        door->setMousePointer(pointer);
}

void frmSwitch::imgRack_Click(int Index)
{
    const Label &name = lblRack(Index);
    // Racks come from the grid, so the name is found; a plan the editor has
    // since changed under the view may not hold it any more.
    if (!findSelectedRack(name.Caption()))
        return;
    keepCurrentRack(Index);
    giveRackViewPictures();
    PlaceRackFrame(Index);
    PlaceDoors();
    lblRackName->setCaption(name.Caption());
    ModMain.SelRackType = Loose::fromString(name.Caption().left(2));
    ImgRackBig->setPicture(isUeOrUd(name.Caption()) ? imgSMTRack->Picture() : imgOtherRack->Picture());
    ModMain.SelRack = &lblRack(Index);
    lblRackName->Move((ImgRackBig->Width() - lblRackName->Width()) / 2, doorTop() - lblRackName->Height());
    // Every opening starts with both doors shut.
    frameLOpen->setVisible(false);
    FrameROpen->setVisible(false);
    ImgD_C_L->setVisible(true);
    ImgD_C_R->setVisible(true);
    frameRackBig->setVisible(true);
    ShowShelves(SelShoot, SelPlace, ShelvesPerRack);
}

// Centred on the rack, clamped nowhere: at the room's border it reaches past it.
void frmSwitch::PlaceRackFrame(int Index)
{
    const Image &rack = imgRack(Index);
    frameRackBig->Move(rack.Left() - (ImgRackBig->Width() - rack.Width()) / 2,
                       rack.Top() - (ImgRackBig->Height() - rack.Height()) / 2);
    // Each open door hangs beside the rack at the height of its closed door.
    const double top = frameRackBig->Top() + doorTop();
    frameLOpen->Move(frameRackBig->Left() - frameLOpen->Width(), top);
    FrameROpen->Move(frameRackBig->Left() + frameRackBig->Width(), top);
}

double frmSwitch::doorTop() const
{
    return ImgRackBig->Top() + ImgRackBig->Height() / DoorTableHeight * DoorTableTop;
}

void frmSwitch::PlaceDoors()
{
    const double top = doorTop();
    ImgD_C_L->Move(ImgRackBig->Left(), top);
    // The right door begins where the left one ends.
    ImgD_C_R->Move(ImgD_C_L->Width(), top);
}

// The first place of the grid, shoot by shoot, that carries the name.
bool frmSwitch::findSelectedRack(const QString &name)
{
    const int shoots = ModMain.shoots();
    const int places = ModMain.racks();
    for (int s = 1; s <= shoots; ++s) {
        for (int p = 1; p <= places; ++p) {
            if (ModMain.RackName(s, p).str() == name) {
                SelShoot = s;
                SelPlace = p;
                return true;
            }
        }
    }
    return false;
}

void frmSwitch::ShowShelves(int Shoot, int Place, int n)
{
    const double *tops = isUeOrUd(ModMain.SelRackType.str()) ? Figures::ShelfTopsUeUd : Figures::ShelfTopsOther;
    const Image &first = imgShelf(0);
    for (int k = 0; k < n; ++k) {
        Image &shelf = imgShelf(k);
        shelf.setToolTipText(QStringLiteral("Shelf  %1").arg(k + 1));
        shelf.Move(first.Left(), tops[k] * ModMain.YFactor, first.Width(), first.Height());
        if (k > 0)
            shelf.setPicture(first.Picture());
        // Only a shelf that carries a station is shown, and so can be clicked.
        shelf.setVisible(!(ModMain.StationName(Shoot, Place, k + 1) == ""));
    }
}

bool frmSwitch::isPowerRack() const
{
    return ModMain.SelRack->Caption().startsWith(QLatin1String("SD"));
}

void frmSwitch::refusePowerRack()
{
    MsgBox(QStringLiteral("Please Avoid Opening Power Rack"), vbCritical);
}

void frmSwitch::ImgD_C_L_MouseDown(int Button, int, double, double)
{
    if (!ModMain.SelRack)
        return; // the plan was rebuilt under the view
    if (isPowerRack()) {
        refusePowerRack();
        return;
    }
    if (Button != LeftButton)
        return;
    ImgD_C_L->setVisible(false);
    frameLOpen->setVisible(true);
}

void frmSwitch::ImgD_C_R_MouseDown(int Button, int, double, double)
{
    if (!ModMain.SelRack)
        return;
    if (isPowerRack()) {
        refusePowerRack();
        return;
    }
    if (Button != RightButton)
        return;
    ImgD_C_R->setVisible(false);
    FrameROpen->setVisible(true);
}

void frmSwitch::imgD_O_L_MouseDown(int Button, int, double, double)
{
    if (Button != RightButton)
        return;
    frameLOpen->setVisible(false);
    ImgD_C_L->setVisible(true);
}

void frmSwitch::imgD_O_R_MouseDown(int Button, int, double, double)
{
    if (Button != LeftButton)
        return;
    FrameROpen->setVisible(false);
    ImgD_C_R->setVisible(true);
}

// An open shelf view closes first; the next click closes the rack view.
void frmSwitch::PicRoom_Click()
{
    if (picShelfBig->Visible()) {
        CloseShelfView();
        return;
    }
    ImgD_C_L->setVisible(true);
    ImgD_C_R->setVisible(true);
    closeRackView();
}

void frmSwitch::PicRoom_KeyPress(int &KeyAscii)
{
    // The doors stay as they are: the next opening shuts them.
    if (KeyAscii == KeyCodes::Escape)
        closeRackView();
}

void frmSwitch::closeRackView()
{
    frameRackBig->setVisible(false);
    frameLOpen->setVisible(false);
    FrameROpen->setVisible(false);
}

} // namespace kvx
