// The room grid of the "Major Change" tab: one box per place in a scrolled
// viewport, the selection, the station boxes of the selected place and
// Remove. Insert lives in frmalter_insert.cpp.

#include "editor/frmalter.h"

#include "model/modmain.h"
#include "platform/frame.h"
#include "platform/input.h"
#include "platform/label.h"
#include "platform/menu.h"
#include "platform/picturebox.h"
#include "platform/scrollbar.h"
#include "platform/textbox.h"

#include <QScopedValueRollback>

namespace kvx {

namespace {

constexpr int StationBoxes = 5;

} // namespace

int frmAlter::boxShoot(int Index)
{
    return (Index - 1) / ModMain.racks() + 1;
}

int frmAlter::boxPlace(int Index)
{
    return (Index - 1) % ModMain.racks() + 1;
}

void frmAlter::createRoomGrid(Container *tab)
{
    Picture1 = new PictureBox(tab);
    Picture1->Move(360, 2400, 6975, 2895);

    Frame6 = new Frame(Picture1);
    Frame6->setBorderStyle(0);
    Frame6->Move(0, 0, 6855, 2895);

    auto *box = Frame6->create<Label>();
    box->Move(120, 120, 615, 285);
    box->setBackColor(SysWindowBackground);
    box->setBorderStyle(1);
    box->setAlignment(Label::Center);
    box->setVisible(false);
    lblEdRack.add(0, box);
    lblEdRack.on(&Label::MouseDown,
                 [this](int index, int button, int, double, double) { lblEdRack_MouseDown(index, button); });

    HScroll1 = new HScrollBar(tab);
    HScroll1->Move(360, 5280, 6975, 135);
    HScroll1->Change = [this] { HScroll1_Change(); };
    VScroll1 = new VScrollBar(tab);
    VScroll1->Move(7320, 2400, 135, 2895);
    VScroll1->Change = [this] { VScroll1_Change(); };
}

void frmAlter::createStationBoxes(Container *tab)
{
    Frame7 = new Frame(tab);
    Frame7->Move(7560, 2280, 1095, 3015);
    Frame7->setCaption(QStringLiteral("Stations"));
    Label8 = Frame7->create<Label>();
    Label8->Move(120, 480, 855, 255);
    Label8->setBackStyle(Label::Transparent);
    Label8->setAlignment(Label::Center);
    Label8->setCaption(QStringLiteral("Stations"));

    for (int k = 0; k < StationBoxes; ++k) {
        auto *station = new TextBox(Frame7);
        station->Move(120, 960 + 360 * k, 735, 285);
        station->setLocked(true);
        station->setBackColor(ColorWhite);
        // Station names are fields of the data file: no separators in them.
        station->setRefusedCharacters(QStringLiteral(",\r\n"));
        txtEdShelf.add(k, station);
    }
    txtEdShelf.on(&TextBox::Change, [this](int index) { txtEdShelf_Change(index); });
    txtEdShelf.on(&TextBox::DblClick, [this](int index) { txtEdShelf(index).setLocked(false); });
    txtEdShelf.on(&TextBox::GotFocus, [this](int index) { txtEdShelf_GotFocus(index); });
    txtEdShelf.on(&TextBox::LostFocus, [this](int index) { txtEdShelf_LostFocus(index); });
    txtEdShelf.on(&TextBox::KeyDown, [this](int index, int &KeyCode, int) {
        const int key = KeyCode;
        txtEdShelf_KeyDown(index, key);
    });
}

void frmAlter::BuildEditGrid(int shoots, int racks)
{
    const Label &templ = lblEdRack(0);
    const double W0 = templ.Width();
    const double H0 = templ.Height();
    const double L0 = templ.Left();
    const double T0 = templ.Top();

    for (int r = 1; r <= shoots; ++r) {
        for (int c = 1; c <= racks; ++c) {
            Label *box = lblEdRack.Load(c + racks * (r - 1));
            box->Move((c - 1) * (W0 + 20) + L0, (r - 1) * (H0 + 100) + T0);
            box->setVisible(true);
            box->setToolTipText(QStringLiteral("Rack Position   %1 , %2").arg(r).arg(c));
            const Loose &name = ModMain.RackName(r, c);
            box->setCaption(name.str());
            if (name == "")
                box->setBackColor(Frame6->BackColor());
        }
    }

    Frame6->setWidth((W0 + 50) * (racks + 1) + L0);
    Frame6->setHeight((H0 + 100) * (shoots + 1) + T0);
    const bool wide = Frame6->Width() >= Picture1->Width();
    if (!wide)
        Frame6->setWidth(Picture1->Width());
    HScroll1->setEnabled(wide);
    const bool tall = Frame6->Height() >= Picture1->Height();
    if (!tall)
        Frame6->setHeight(Picture1->Height());
    VScroll1->setEnabled(tall);
    // One step per whole viewport the grid is wide or high.
    VScroll1->setMax(int(roundHalfEven(Frame6->Height() / Picture1->Height())));
    HScroll1->setMax(int(roundHalfEven(Frame6->Width() / Picture1->Width())));

    // The bars keep their values; the grid follows them at its new size, so
    // a grid that shrank is never left shifted behind a disabled bar.
    HScroll1_Change();
    VScroll1_Change();
}

void frmAlter::ClearEditGrid(int shoots, int racks)
{
    for (int i = 1; i <= shoots * racks; ++i) {
        if (lblEdRack.exists(i))
            lblEdRack.Unload(i);
    }
    // The selection went with its box; a box of the new grid with the same
    // number stands for another place.
    EdSelIndex = 0;
}

void frmAlter::HScroll1_Change()
{
    if (HScroll1->Max() > 0)
        Frame6->setLeft(-(Frame6->Width() - Picture1->Width()) * HScroll1->Value() / HScroll1->Max());
}

void frmAlter::VScroll1_Change()
{
    if (VScroll1->Max() > 0)
        Frame6->setTop(-(Frame6->Height() - Picture1->Height()) * VScroll1->Value() / VScroll1->Max());
}

void frmAlter::lblEdRack_MouseDown(int Index, int Button, std::optional<QPoint> popupAt)
{
    // A place that cannot be shown still gets its menu.
    skipError([this, Index] { selectPlace(Index); });
    if (Button == MouseButtons::RightButton)
        popupAt ? mnuEdit->popup(*popupAt) : mnuEdit->popup();
}

void frmAlter::selectPlace(int Index)
{
    EdShoot = boxShoot(Index);
    EdPlace = boxPlace(Index);
    for (int k = 1; k <= StationBoxes; ++k)
        txtEdShelf(k - 1).setText(ModMain.StationName(EdShoot, EdPlace, k).str());
    if (EdSelIndex > 0 && lblEdRack.exists(EdSelIndex))
        lblEdRack(EdSelIndex).setBackColor(EdSavedColor);
    Label &box = lblEdRack(Index);
    EdSelIndex = Index;
    EdSavedColor = box.BackColor();
    box.setBackColor(HighlightColor);
    Frame6->setCurrentItem(&box); // the keys go on from the place chosen
}

void frmAlter::txtEdShelf_Change(int Index)
{
    if (EdShoot < 1)
        return; // no place chosen yet
    // Only a real edit replaces the name: the bytes read from the file stay
    // as they were while the box shows them unchanged.
    const QString text = txtEdShelf(Index).Text();
    if (text == ModMain.StationName(EdShoot, EdPlace, Index + 1).str())
        return;
    const EditScope scope{EditScope::Stations, EdShoot, EdPlace, Index};
    const EditState before = capture(scope);
    ModMain.StationName.set(Loose::fromString(text), EdShoot, EdPlace, Index + 1);
    record(scope, before, QStringLiteral("Change station name"), true);
}

void frmAlter::txtEdShelf_GotFocus(int Index)
{
    txtEdShelf(Index).setBackColor(HighlightColor);
}

void frmAlter::txtEdShelf_LostFocus(int Index)
{
    TextBox &station = txtEdShelf(Index);
    station.setBackColor(ColorWhite);
    station.setLocked(true);
}

void frmAlter::txtEdShelf_KeyDown(int Index, int KeyCode)
{
    if (KeyCode == KeyCodes::Down)
        txtEdShelf((Index + 1) % StationBoxes).SetFocus();
    else if (KeyCode == KeyCodes::Up)
        txtEdShelf((Index + StationBoxes - 1) % StationBoxes).SetFocus();
}

void frmAlter::mnuRem_Click()
{
    const int i = EdSelIndex;
    if (i < 1 || !lblEdRack.exists(i))
        return;
    Label &box = lblEdRack(i);
    if (box.Caption().isEmpty()) {
        MsgBox(QStringLiteral("Already Vaccunt"), vbInformation, QStringLiteral("InValid Action"));
        return;
    }
    const EditScope scope{EditScope::Place, boxShoot(i), boxPlace(i)};
    const EditState before = capture(scope);
    const QString name = box.Caption();
    box.setCaption(QString());
    box.setBackColor(Frame6->BackColor());
    ModMain.RackName.set(Loose(""), scope.shoot, scope.place);
    EdSavedColor = Frame6->BackColor();
    {
        // Through their Change events this empties the stations of the
        // place, as part of this one edit.
        QScopedValueRollback quiet(m_quiet, true);
        for (int k = 0; k < StationBoxes; ++k)
            txtEdShelf(k).setText(QString());
    }
    record(scope, before, QStringLiteral("Remove rack ") + name);
}

} // namespace kvx
