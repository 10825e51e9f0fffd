// The ring view: a schematic of the room (one rectangle and name per place)
// on which one token ring is drawn as a chain of half circles, the ring
// commands of the View menu and the station pop-up of a rack name.

#include "viewer/frmswitch.h"

#include "model/modmain.h"
#include "platform/core/errors.h"

#include <QFontMetricsF>

#include <algorithm>
#include <cmath>

namespace kvx {

namespace {

// The drawing's own value of pi: every angle of a link is computed with it.
constexpr double PI = 22.0 / 7.0;
// The names over the rectangles, and the smallest face they shrink to.
constexpr double RingNameSize = 9.75;
constexpr double MinRingNameSize = 4;

// A 16-bit whole number, rounded half to even.
qint16 wholeNumber16(double v)
{
    const double rounded = roundHalfEven(v);
    if (!(rounded >= -32768 && rounded <= 32767))
        raiseError(ErrOverflow, QStringLiteral("Overflow"));
    return qint16(rounded);
}

// A MAS colour is a loose value that the file may hold as a text ("RED"):
// what is not a colour draws black, as the editor's swatch shows it.
quint32 colourOf(const Loose &value)
{
    if (!value.readsAsNumber())
        return 0;
    const double v = value.number();
    return std::abs(v) < 9.2e18 ? quint32(qint64(v)) : 0;
}

// The rack name of the room that takes the most room in the face given,
// measured, as the labels measure names, by its characters' advances.
QString widestRackName(const QFont &font)
{
    const QFontMetricsF metrics(font);
    QString widest;
    double most = -1;
    for (int r = 1; r <= ModMain.shoots(); ++r) {
        for (int c = 1; c <= ModMain.racks(); ++c) {
            const QString name = ModMain.RackName(r, c).str();
            double advance = 0;
            for (const QChar ch : name)
                advance += metrics.horizontalAdvance(ch);
            if (advance > most) {
                most = advance;
                widest = name;
            }
        }
    }
    return widest;
}

double twipsWide(const QFont &font, const QString &text)
{
    return twipsFromPixels(std::ceil(QFontMetricsF(font).horizontalAdvance(text)));
}

} // namespace

// Where the rectangles are narrower than the names, the names take a smaller
// face: each stays within its rectangle and never overlaps a neighbour.
void frmSwitch::fitRingNames(double width)
{
    Label &name = lblRingRack(0);
    name.setFontSize(RingNameSize);
    // The room's names are measured once, at start-up too: the widest alone
    // is measured again as the face shrinks.
    const QString widest = widestRackName(name.font());
    const double wide = twipsWide(name.font(), widest);
    if (wide <= width)
        return;
    // Widths follow the size closely: a first guess, then quarter points down.
    name.setFontSize(std::max(MinRingNameSize, std::floor(4 * RingNameSize * width / wide) / 4));
    while (name.FontSize() > MinRingNameSize && twipsWide(name.font(), widest) > width)
        name.setFontSize(name.FontSize() - 0.25);
}

void frmSwitch::BuildRingGrid()
{
    const double W = PicRing->Width();
    const double H = PicRing->Height();
    const int shoots = ModMain.shoots();
    const int racks = ModMain.racks();
    // Fewer than three places or shoots are laid out as three: spaced wider,
    // the rectangles and names would reach past the picture's right and
    // bottom edges, and a single row's links would lie below its bottom edge.
    const int columns = std::max(racks, 3);
    const int rows = std::max(shoots, 3);
    double pitchX = 0;
    qint16 pitchY = 0;
    skipError([&] { shpRack(0).setWidth(W * 0.6 / columns); });
    skipError([&] { shpRack(0).setHeight(wholeNumber16(H * 0.6 / rows)); });
    skipError([&] { pitchX = W * 0.7 / columns; });
    skipError([&] { pitchY = wholeNumber16(H * 0.7 / rows); });
    skipError([&] { fitRingNames(shpRack(0).Width()); });

    int i = 0;
    for (int r = 1; r <= shoots; ++r) {
        for (int c = 1; c <= racks; ++c) {
            ++i;
            skipError([&] { shpRack.Load(i); });
            skipError([&] { lblRingRack.Load(i); });
            skipError([&] { shpRack(i).setLeft(c * pitchX); });
            skipError([&] { shpRack(i).setTop(r * pitchY); });
            skipError([&] { shpRack(i).setBorderStyle(ModMain.RackName(r, c) == "" ? Shape::Dot : Shape::Solid); });
            skipError([&] { shpRack(i).setVisible(true); });
            skipError([&] { lblRingRack(i).setCaption(ModMain.RackName(r, c).str()); });
            skipError([&] { lblRingRack(i).setTop(shpRack(i).Top()); });
            skipError(
                [&] { lblRingRack(i).setLeft(shpRack(i).Left() + (shpRack(i).Width() - lblRingRack(i).Width()) / 2); });
            skipError([&] { lblRingRack(i).setVisible(true); });
        }
    }
}

void frmSwitch::DrawRingLink(const Shape &A, const Shape &B, quint32 colour)
{
    const double x1 = A.Left() + A.Width() / 2;
    const double y1 = A.Top() + A.Height() / 2;
    const double x2 = B.Left() + B.Width() / 2;
    const double y2 = B.Top() + B.Height() / 2;
    PicRing->Line(x1 - 100, y1 - 100, x1 + 100, y1 + 100, colour, PictureBox::BoxFilled);
    PicRing->Line(x2 - 100, y2 - 100, x2 + 100, y2 + 100, colour, PictureBox::BoxFilled);
    PicRing->setDrawWidth(2);

    const double radius = std::sqrt((x1 - x2) * (x1 - x2) + (y1 - y2) * (y1 - y2)) / 2;
    double start = 0;
    double end = 0;
    if (x1 == x2) {
        // Same column: A above B bulges to the left, A below B to the right.
        start = y1 < y2 ? PI / 2 : 3 * PI / 2;
        end = y1 < y2 ? 3 * PI / 2 : PI / 2;
    } else if (y1 == y2) {
        // Same row: A right of B goes above the row, A left of B below it.
        start = x1 > x2 ? 0 : PI;
        end = x1 > x2 ? PI : 0;
    } else {
        start = std::atan((y2 - y1) / (x1 - x2));
        if (start < 0)
            start = start + 2 * PI;
        end = start + PI;
        if (end > 2 * PI)
            end = end - 2 * PI;
    }
    PicRing->Circle((x1 + x2) / 2, (y1 + y2) / 2, radius, colour, start, end, 1);
}

void frmSwitch::DrawRing(const LooseTable &L, quint32 colour)
{
    if (!L.isSized())
        return; // a MAS ring the file does not have
    const int shoots = ModMain.shoots();
    const int racks = ModMain.racks();
    int a = 0; // 0: not found yet
    int b = 0;
    for (int k = 1; k <= 14; ++k) {
        if (L(k) == "*" || L(k + 1) == "*")
            return;
        // The last place carrying the name counts; a name found nowhere keeps the previous end.
        for (int r = 1; r <= shoots; ++r) {
            for (int c = 1; c <= racks; ++c) {
                const Loose &name = ModMain.RackName(r, c);
                if (name.sameText(L(k)))
                    a = (r - 1) * racks + c;
                if (name.sameText(L(k + 1)))
                    b = (r - 1) * racks + c;
            }
        }
        if (a && b)
            DrawRingLink(shpRack(a), shpRack(b), colour);
    }
}

void frmSwitch::ShowRingView()
{
    PicRoom->setVisible(false);
    PicRing->setVisible(true);
    HScroll1->setVisible(false);
    VScroll1->setVisible(false);
}

void frmSwitch::ClearRingChecks()
{
    for (Menu *item : {MnuMIS, MnuMAS1, MnuMAS2, MnuMAS3, MnuMAS4})
        item->setChecked(false);
}

void frmSwitch::showRing(const QString &title, const LooseTable &members, quint32 colour, Menu *item)
{
    lblRing->setCaption(title);
    lblRing->setForeColor(colour);
    ClearRingChecks();
    ShowRingView();
    PicRing->Cls();
    item->setChecked(true);
    DrawRing(members, colour);
}

void frmSwitch::MnuMIS_Click()
{
    showRing(QStringLiteral("MIS Ring Lay Out"), ModMain.MisRing, quint32(ModMain.MisColor), MnuMIS);
}

void frmSwitch::MnuMAS1_Click()
{
    showRing(QStringLiteral("MAS1 Ring Lay Out"), ModMain.Mas1Ring, colourOf(ModMain.MasColor(1)), MnuMAS1);
}

void frmSwitch::MnuMAS2_Click()
{
    showRing(QStringLiteral("MAS2 Ring Lay Out"), ModMain.Mas2Ring, colourOf(ModMain.MasColor(2)), MnuMAS2);
}

void frmSwitch::MnuMAS3_Click()
{
    showRing(QStringLiteral("MAS3 Ring Lay Out"), ModMain.Mas3Ring, colourOf(ModMain.MasColor(3)), MnuMAS3);
}

void frmSwitch::MnuMAS4_Click()
{
    showRing(QStringLiteral("MAS4 Ring Lay Out"), ModMain.Mas4Ring, colourOf(ModMain.MasColor(4)), MnuMAS4);
}

void frmSwitch::lblRingRack_Click(int Index)
{
    fillStationMenu(Index);
    MnuST->popup(); // it only informs: a choice changes nothing
}

void frmSwitch::fillStationMenu(int Index)
{
    const int racks = ModMain.racks();
    const int r = (Index - 1) / racks + 1;
    const int c = Index - racks * (r - 1);
    for (int k = 1; k <= 5; ++k)
        MnuSlf[size_t(k)]->setCaption(QString());
    for (int k = 1; k <= 5; ++k)
        MnuSlf[size_t(k)]->setCaption(ModMain.StationName(r, c, k).str());
}

void frmSwitch::MnuSwitch_Click()
{
    PicRoom->setVisible(true);
    PicRing->setVisible(false);
    HScroll1->setVisible(true);
    VScroll1->setVisible(true);
}

} // namespace kvx
