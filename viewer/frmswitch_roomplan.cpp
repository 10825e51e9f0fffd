// The room plan: InitMe builds it (and sizes the other views), Clear removes
// it, PlaceRacks lays the racks of every shoot in an oblique view.

#include "viewer/frmswitch.h"

#include "art/figures.h"
#include "model/modmain.h"

namespace kvx {

namespace {

template<typename T>
void unloadLoaded(ControlArray<T> &array)
{
    for (int i = array.ubound(); i >= 1; --i) {
        if (array.exists(i))
            array.Unload(i);
    }
}

} // namespace

void frmSwitch::InitMe()
{
    const double xf = ModMain.XFactor;
    const double yf = ModMain.YFactor;
    const int shoots = ModMain.shoots();
    const int racks = ModMain.racks();
    const double W = 2160 * xf;
    const double H = 3945 * yf;

    setCaption(ModMain.SiteName.str());

    PicSwitch->setLeft(VScroll1->Width() * xf);
    PicSwitch->setTop(0);
    PicSwitch->setWidth(Width() - 3 * PicSwitch->Left());
    PicSwitch->setHeight(Height() - 4 * HScroll1->Height() * yf);

    PicRoom->setHeight(1.5 * PicSwitch->Height());
    // The bars belong to the room: a rebuild in the ring view leaves them hidden.
    VScroll1->setVisible(PicRoom->Visible());
    if (shoots > 5)
        PicRoom->setHeight(PicRoom->Height() + (shoots - 5) * H / 3);
    PicRoom->setWidth((racks + 1 + shoots / 4.0) * W);
    // A small room is drawn on a picture as wide as the viewport, so that the
    // rack and shelf views, its children, are not cut off at its right edge.
    fitRoomToViewport();

    imgRack(0).Move(0, PicRoom->Height() - 2.5 * H, W, H);
    imgEF(0).setHeight(H);
    imgEF(0).setWidth(165 * xf);
    imgEFL(0).setHeight(H);
    imgEFL(0).setWidth(120.0 * Screen::Height() / 15360);

    // A new plan starts from the viewport's corner and then follows the bars,
    // also where a bar's value stays the same or its range is 0 and no Change
    // would move the room away from where the old plan was scrolled to.
    PicRoom->Move(0, 0);
    SetVScroll(*PicRoom);
    SetHScroll(*PicRoom);
    HScroll1->setValue(int(roundHalfEven(HScroll1->Max() / 2.0)));
    VScroll1->setValue(int(roundHalfEven(VScroll1->Max() / 2.0)));
    HScroll1_Change();
    VScroll1_Change();

    PlaceRacks(qint16(racks), qint16(shoots));

    ImgRackBig->setWidth(Figures::RackFrontWidth * xf);
    ImgRackBig->setHeight(Figures::RackFrontHeight * yf);
    ImgD_C_L->setWidth(2190 * xf);
    ImgD_C_L->setHeight(6315 * yf);
    frameRackBig->setWidth(ImgRackBig->Width());
    frameRackBig->setHeight(ImgRackBig->Height());
    for (Image *door : {imgD_O_L, imgD_O_R, ImgD_C_R}) {
        door->setWidth(ImgD_C_L->Width());
        door->setHeight(ImgD_C_L->Height());
    }
    for (Frame *open : {frameLOpen, FrameROpen}) {
        open->setHeight(ImgD_C_L->Height());
        open->setWidth(ImgD_C_L->Width());
    }

    imgShelf(0).setTop(1050 * yf);
    imgShelf(0).setHeight(Figures::ShelfHeight * yf);
    imgShelf(0).setWidth(Figures::ShelfWidth * xf);
    lblCard(0).setWidth(140 * xf);

    PicRing->setWidth(PicSwitch->Width());
    PicRing->setHeight(PicSwitch->Height());
    lblRing->setLeft((PicRing->Width() - lblRing->Width()) / 2);
    BuildRingGrid();
    indexRacks();
}

void frmSwitch::PlaceRacks(qint16 Racks, qint16 Shoots)
{
    EFLCount = 0;
    EFCount = 0;
    ModMain.RackIndex = 0;
    double X = 0;
    double Y = 0;
    skipError([&] { X = imgRack(0).Left(); });
    skipError([&] { Y = imgRack(0).Top(); });
    int Gap = 0;

    // Rows further back are made later and go beneath the rows in front;
    // within a row neighbours only touch.
    const auto loadBehind = [](ControlArray<Image> &array, int index) { array.Load(index)->sendToBack(); };
    // Against the right side of the rack placed last (the template before any).
    const auto placeRightEndPanel = [&] {
        const int n = ++EFCount;
        skipError([&] { loadBehind(imgEF, n); });
        skipError([&] { imgEF(n).setLeft(imgRack(ModMain.RackIndex).Left() + imgRack(ModMain.RackIndex).Width()); });
        skipError([&] { imgEF(n).setTop(imgRack(ModMain.RackIndex).Top()); });
        skipError([&] { imgEF(n).setVisible(true); });
    };

    for (int s = Shoots; s >= 1; --s) {
        int Run = 0;
        for (int p = 1; p <= Racks; ++p) {
            bool occupied = false;
            skipError([&] { occupied = !(ModMain.RackName(s, p) == ""); });
            if (!occupied) {
                Run = 0;
                if (++Gap == 1)
                    placeRightEndPanel();
                continue;
            }
            ++Run;
            const int i = ++ModMain.RackIndex;
            skipError([&] { lblRack.Load(i); });
            skipError([&] { loadBehind(imgRack, i); });
            skipError([&] { imgRack(i).setLeft(X + p * imgRack(0).Width()); });
            skipError([&] { imgRack(i).setTop(Y); });
            skipError([&] { imgRack(i).setVisible(true); });
            skipError([&] { lblRack(i).setTop(imgRack(i).Top() + 200 * ModMain.XFactor); });
            skipError([&] { lblRack(i).setVisible(true); });
            skipError([&] { lblRack(i).setCaption(ModMain.RackName(s, p).str()); });
            skipError([&] { lblRack(i).setLeft(imgRack(i).Left() + (imgRack(i).Width() - lblRack(i).Width()) / 2); });
            skipError([&] { imgRack(i).setToolTipText(QStringLiteral("RackPosition %1 x %2").arg(s).arg(p)); });
            if (Run == 1) {
                EFLCount = EFLCount.toInt() + 1;
                const int n = EFLCount.toInt();
                skipError([&] { loadBehind(imgEFL, n); });
                skipError([&] { imgEFL(n).setLeft(imgRack(i).Left() - imgEFL(n).Width()); });
                skipError([&] { imgEFL(n).setTop(imgRack(i).Top()); });
                skipError([&] { imgEFL(n).setVisible(true); });
            }
            Gap = 0;
        }
        skipError([&] { X += imgRack(0).Width() / 6; });
        skipError([&] { Y -= imgRack(0).Height() / 4; });
        placeRightEndPanel();
    }
    skipError([&] { imgEF(1).setVisible(false); });
}

void frmSwitch::Clear(qint16 r, qint16 c)
{
    // r x c are the sizes of the editor's last room change, which need not be
    // the plan shown: every element that exists goes, so nothing of the old
    // room stays behind whatever they say.
    Q_UNUSED(r);
    Q_UNUSED(c);
    closeViewsOfOldPlan();
    unloadLoaded(lblRack);
    unloadLoaded(imgRack);
    unloadLoaded(imgEFL);
    EFLCount = 0;
    unloadLoaded(imgEF);
    EFCount = 0;
    unloadLoaded(shpRack);
    unloadLoaded(lblRingRack);
    PicRing->Cls();
}

void frmSwitch::closeViewsOfOldPlan()
{
    // The rack and shelf views show a rack of the plan being removed: the
    // shelf view's animation stops and its cards go, the rack view closes.
    CloseShelfView();
    closeRackView();
    ModMain.SelRack = nullptr; // it named a label of the old plan
}

} // namespace kvx
