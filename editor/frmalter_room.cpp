// The "Major Change" tab: the room's name and size. A size change clears
// the room grid and builds it again (frmalter_grid.cpp).

#include "editor/frmalter.h"

#include "model/modmain.h"
#include "platform/combobox.h"
#include "platform/commandbutton.h"
#include "platform/frame.h"
#include "platform/label.h"
#include "platform/textbox.h"

namespace kvx {

namespace {

// The combo boxes offer 1 to 15, or up to a bigger count a file brought.
constexpr int OfferedCount = 15;

Label *caption(Container *in, const QString &text, double left, double top, double width)
{
    Label *label = in->create<Label>();
    label->Move(left, top, width, 255);
    label->setBackStyle(Label::Transparent);
    label->setCaption(text);
    return label;
}

void offerCounts(ComboBox *box, int count)
{
    box->Clear();
    const int last = std::max(OfferedCount, count);
    for (int n = 1; n <= last; ++n)
        box->AddItem(QString::number(n));
    box->setListIndex(std::clamp(count, 1, last) - 1);
}

// Grows a station or card table to cover at least shoots x places; it never
// shrinks, so a rack listed before a smaller room keeps its entries.
void growToCover(LooseTable &table, int shoots, int places)
{
    if (!table.isSized())
        return;
    std::vector<int> bounds = table.bounds();
    if (bounds[0] >= shoots && bounds[1] >= places)
        return;
    bounds[0] = std::max(bounds[0], shoots);
    bounds[1] = std::max(bounds[1], places);
    table.redimPreserve(bounds);
}

} // namespace

void frmAlter::createRoomTab(Container *tab)
{
    frameRoom = new Frame(tab);
    frameRoom->Move(360, 600, 8295, 1455);
    frameRoom->setCaption(QStringLiteral("Switch Room"));

    caption(frameRoom, QStringLiteral("Name of Switch Room"), 240, 400, 1935);
    txtSiteName = new TextBox(frameRoom);
    txtSiteName->Move(2280, 360, 5415, 300);
    // The site name is written between double quotes on one line of the file.
    txtSiteName->setRefusedCharacters(QStringLiteral(",\r\n\""));
    txtSiteName->Change = [this] { txtSiteName_Change(); };

    caption(frameRoom, QStringLiteral("Number of Shoots"), 240, 880, 1935);
    cmbShoot = new ComboBox(frameRoom);
    cmbShoot->Move(2280, 840, 735, 315);
    caption(frameRoom, QStringLiteral("Number of Racks Per Shoot"), 3240, 880, 2100);
    cmbDeRack = new ComboBox(frameRoom);
    cmbDeRack->Move(5400, 840, 735, 315);

    cmdUpdate = new CommandButton(frameRoom);
    cmdUpdate->Move(6600, 840, 1095, 375);
    cmdUpdate->setCaption(QStringLiteral("Update"));
    cmdUpdate->Click = [this] { cmdUpdate_Click(); };

    createRoomGrid(tab);
    createStationBoxes(tab);
}

void frmAlter::fillRoomSize()
{
    offerCounts(cmbShoot, ModMain.shoots());
    offerCounts(cmbDeRack, ModMain.racks());
}

void frmAlter::txtSiteName_Change()
{
    // Only a real edit replaces the name: the bytes read from the file stay
    // as they were while the text shows them unchanged.
    const QString text = txtSiteName->Text();
    if (text == ModMain.SiteName.str())
        return;
    const EditState before = capture({EditScope::Site});
    ModMain.SiteName = Loose::fromString(text);
    record({EditScope::Site}, before, QStringLiteral("Change site name"), true);
}

void frmAlter::cmdUpdate_Click()
{
    const int s = cmbShoot->ListIndex() + 1;
    const int r = cmbDeRack->ListIndex() + 1;
    if (s < 1 || r < 1)
        return;
    const int oldShoots = ModMain.shoots();
    const int oldRacks = ModMain.racks();
    const EditState before = capture({EditScope::Room});

    if (s > oldShoots || r > oldRacks) {
        const LooseTable old = ModMain.RackName;
        ModMain.RackName.redim({s, r});
        for (int i = 1; i <= std::min(s, oldShoots); ++i) {
            for (int j = 1; j <= std::min(r, oldRacks); ++j)
                ModMain.RackName.set(old(i, j), i, j);
        }
        // The stations and cards grow with the grid, so that a save, or a rack
        // put into a new place, finds its entries.
        growToCover(ModMain.StationName, s, r);
        growToCover(ModMain.SlotNo, s, r);
        growToCover(ModMain.CardName, s, r);
        growToCover(ModMain.CardType, s, r);
    }

    ClearEditGrid(oldShoots, oldRacks);
    ModMain.OldNoOfRacks = ModMain.NoOfRacks;
    ModMain.OldNoOfShoots = ModMain.NoOfShoots;
    ModMain.NoOfShoots = s;
    ModMain.NoOfRacks = r;
    BuildEditGrid(s, r);
    if (s != oldShoots || r != oldRacks)
        record({EditScope::Room}, before, QStringLiteral("Change room size"));
}

void frmAlter::applyRoomSize(const EditState &state)
{
    ClearEditGrid(ModMain.shoots(), ModMain.racks());
    restoreModel({EditScope::Room}, state);
    fillRoomSize();
    BuildEditGrid(ModMain.shoots(), ModMain.racks());
}

} // namespace kvx
