// Every view of the main window reached with the keyboard alone. The room
// plan has a current rack, the rack view a current door or shelf, the shelf
// view a current card and a ring view a current member: each container
// frames its current item once a key has moved it, and a screen reader hears
// of every move. The keys the mouse and Esc already had keep their meaning:
// these handlers take only keys that did nothing, and swallow what they take.

#include "viewer/frmswitch.h"

#include "model/modmain.h"
#include "platform/input.h"
#include "viewer/findbar.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>

#include <algorithm>
#include <cmath>

namespace kvx {

namespace {

constexpr int ShiftKey = 1;
constexpr int F10 = KeyCodes::F1 + 9;
// The ring commands' items, by ring: MIS, MAS1 .. MAS4.
constexpr int Rings = 5;

double centreX(const LightControl &control)
{
    return control.Left() + control.Width() / 2;
}

} // namespace

void frmSwitch::connectKeyboard()
{
    PicRoom->KeyDown = [this](int &key, int shift) { PicRoom_KeyDown(key, shift); };
    picShelfBig->KeyDown = [this](int &key, int shift) { picShelfBig_KeyDown(key, shift); };
    PicRing->KeyDown = [this](int &key, int shift) { PicRing_KeyDown(key, shift); };
    // Connected after the menus' own handlers, so these run once they have.
    Menu *const rings[Rings] = {MnuMIS, MnuMAS1, MnuMAS2, MnuMAS3, MnuMAS4};
    for (int k = 0; k < Rings; ++k)
        connect(rings[k], &Menu::Click, this, [this, k] { ringShown(k); });
    connect(MnuSwitch, &Menu::Click, this, [this] { PicRoom->SetFocus(); });
    // The room takes the keys from the start; its viewport has none.
    PicSwitch->setFocusPolicy(Qt::NoFocus);
    PicRoom->SetFocus();

    m_statusLine = new QLabel(PicSwitch);
    m_statusLine->setAutoFillBackground(true);
    m_statusLine->setMargin(3);
    m_statusLine->hide();
    connectFind();
    // The viewport's size places the bars; a view closing takes its status along.
    for (QWidget *watched :
         {static_cast<QWidget *>(PicSwitch), static_cast<QWidget *>(frameRackBig), static_cast<QWidget *>(picShelfBig)})
        watched->installEventFilter(this);
    connectAccessibility();
}

// The racks as PlaceRacks made them (the last shoot first), their reading
// order, and a current rack where the plan starts centred.
void frmSwitch::indexRacks()
{
    m_rackPlaces.clear();
    for (int s = ModMain.shoots(); s >= 1; --s) {
        for (int p = 1; p <= ModMain.racks(); ++p) {
            bool occupied = false;
            skipError([&] { occupied = !(ModMain.RackName(s, p) == ""); });
            if (occupied)
                m_rackPlaces.push_back({s, p});
        }
    }
    m_readingOrder.resize(m_rackPlaces.size());
    for (size_t i = 0; i < m_readingOrder.size(); ++i)
        m_readingOrder[i] = int(i) + 1;
    std::stable_sort(m_readingOrder.begin(), m_readingOrder.end(), [this](int a, int b) {
        return m_rackPlaces[size_t(a - 1)].shoot < m_rackPlaces[size_t(b - 1)].shoot;
    });
    m_currentRack = 0;
    m_rackItem = LeftDoor;
    m_ringMembers.clear();
    m_currentMember = -1;
    const double x = PicSwitch->Width() / 2 - PicRoom->Left();
    const double y = PicSwitch->Height() / 2 - PicRoom->Top();
    double nearest = 0;
    for (int i = 1; i <= int(m_rackPlaces.size()); ++i) {
        if (!imgRack.exists(i))
            continue;
        const Image &rack = imgRack(i);
        const double d = std::hypot(centreX(rack) - x, rack.Top() + rack.Height() / 2 - y);
        if (!m_currentRack || d < nearest) {
            m_currentRack = i;
            nearest = d;
        }
    }
    setCurrentRack(m_currentRack, false);
    if (findBarOpen())
        findTextChanged(m_findBar->edit()->text()); // the new plan's racks dimmed anew
}

// A rack opened by the mouse becomes the current one too; its view starts at the left door.
void frmSwitch::keepCurrentRack(int Index)
{
    setCurrentRack(Index, false);
    m_rackItem = LeftDoor;
}

void frmSwitch::PicRoom_KeyDown(int &KeyCode, int Shift)
{
    setStatusText({}); // what it said was about the key before
    const bool used = frameRackBig->Visible() ? rackViewKey(KeyCode, Shift) : roomKey(KeyCode);
    if (used)
        KeyCode = 0;
}

bool frmSwitch::roomKey(int KeyCode)
{
    if (!m_currentRack)
        return false;
    int next = m_currentRack;
    switch (KeyCode) {
    case KeyCodes::Left:
    case KeyCodes::Right:
        next = rackBeside(m_currentRack, KeyCode == KeyCodes::Left ? -1 : 1);
        break;
    case KeyCodes::Up:
    case KeyCodes::Down:
        next = rackAcross(m_currentRack, KeyCode == KeyCodes::Up ? -1 : 1);
        break;
    case KeyCodes::Home:
        next = m_readingOrder.front();
        break;
    case KeyCodes::End:
        next = m_readingOrder.back();
        break;
    case KeyCodes::Return:
    case KeyCodes::Space:
        // As a left click on the rack does; then as much of the view is seen as the bars can show.
        imgRack_Click(m_currentRack);
        if (frameRackBig->Visible()) {
            showRackViewItem(true);
            scrollIntoView({frameRackBig->Left(), frameRackBig->Top(), frameRackBig->Width(), frameRackBig->Height()});
        }
        return true;
    default:
        return false;
    }
    setCurrentRack(next, true);
    return true;
}

// The next rack along the shoot, step places to the right (or left); the
// rack itself at the shoot's end.
int frmSwitch::rackBeside(int Index, int step) const
{
    const RackPlace &from = m_rackPlaces[size_t(Index - 1)];
    int best = Index;
    int bestDistance = 0;
    for (size_t j = 0; j < m_rackPlaces.size(); ++j) {
        const RackPlace &to = m_rackPlaces[j];
        const int distance = (to.place - from.place) * step;
        if (to.shoot == from.shoot && distance > 0 && (best == Index || distance < bestDistance)) {
            best = int(j) + 1;
            bestDistance = distance;
        }
    }
    return best;
}

// The rack of the nearest shoot behind (step -1) or in front (+1) that has
// racks, nearest in the drawing to this one.
int frmSwitch::rackAcross(int Index, int step) const
{
    const double x = centreX(imgRack(Index));
    for (int shoot = m_rackPlaces[size_t(Index - 1)].shoot + step; shoot >= 1 && shoot <= ModMain.shoots();
         shoot += step) {
        int best = 0;
        double bestDistance = 0;
        for (size_t j = 0; j < m_rackPlaces.size(); ++j) {
            if (m_rackPlaces[j].shoot != shoot || !imgRack.exists(int(j) + 1))
                continue;
            const double distance = std::abs(centreX(imgRack(int(j) + 1)) - x);
            if (!best || distance < bestDistance) {
                best = int(j) + 1;
                bestDistance = distance;
            }
        }
        if (best)
            return best;
    }
    return Index;
}

void frmSwitch::setCurrentRack(int Index, bool byKey)
{
    if (!imgRack.exists(Index))
        return;
    m_currentRack = Index;
    Image &rack = imgRack(Index);
    PicRoom->setCurrentItem(&rack);
    if (!byKey)
        return;
    PicRoom->showFocusFrame(true);
    scrollIntoView({rack.Left(), rack.Top(), rack.Width(), rack.Height()});
}

// Through the bars, so that their rules move the room: each bar's value
// changes as little as brings the area into the viewport, above the find
// bar and the status line, its start first where the whole cannot be seen.
void frmSwitch::scrollIntoView(const QRectF &roomTwips)
{
    int covered = findBarOpen() ? m_findBar->height() : 0;
    covered += m_statusLine->isHidden() ? 0 : m_statusLine->height();
    HScroll1->bringIntoView(roomTwips.left(), roomTwips.width(), PicSwitch->Width(),
                            PicRoom->Width() - PicSwitch->Width());
    VScroll1->bringIntoView(roomTwips.top(), roomTwips.height(), PicSwitch->Height() - twipsFromPixels(covered),
                            PicRoom->Height() - PicSwitch->Height());
}

bool frmSwitch::rackViewKey(int KeyCode, int Shift)
{
    const bool atShelf = m_rackItem >= 0;
    switch (KeyCode) {
    case KeyCodes::Left:
        m_rackItem = LeftDoor;
        break;
    case KeyCodes::Right:
        m_rackItem = RightDoor;
        break;
    case KeyCodes::Up:
    case KeyCodes::Down: {
        // Among the shelves shown, those with a station, top down.
        const int step = KeyCode == KeyCodes::Up ? -1 : 1;
        const int from = atShelf ? m_rackItem : step > 0 ? -1 : ShelvesPerRack;
        for (int k = from + step; k >= 0 && k < ShelvesPerRack; k += step) {
            if (imgShelf(k).Visible()) {
                m_rackItem = k;
                break;
            }
        }
        break;
    }
    case KeyCodes::Return:
    case KeyCodes::Space:
        if (!atShelf) {
            pressDoor(MouseButtons::LeftButton);
        } else if (frameLOpen->Visible() || FrameROpen->Visible()) {
            openShelf(m_rackItem); // as a click through an open door does
            return true;
        } else {
            setStatusText(QStringLiteral("The doors are shut: Space opens the left door, the Menu key the right one"));
            return true;
        }
        break;
    case KeyCodes::Apps:
        pressDoor(MouseButtons::RightButton);
        break;
    default:
        if (KeyCode != F10 || !(Shift & ShiftKey))
            return false;
        pressDoor(MouseButtons::RightButton);
        break;
    }
    showRackViewItem(true);
    return true;
}

// Space stands for the left mouse button, the Menu key and Shift+F10 for the
// right one, pressed on the current door wherever it stands, shut or open.
void frmSwitch::pressDoor(int Button)
{
    if (m_rackItem == LeftDoor) {
        if (ImgD_C_L->Visible())
            ImgD_C_L_MouseDown(Button, 0, 0, 0);
        else
            imgD_O_L_MouseDown(Button, 0, 0, 0);
    } else if (m_rackItem == RightDoor) {
        if (ImgD_C_R->Visible())
            ImgD_C_R_MouseDown(Button, 0, 0, 0);
        else
            imgD_O_R_MouseDown(Button, 0, 0, 0);
    }
}

// The current door is framed where it stands: shut on the rack, open beside it.
void frmSwitch::showRackViewItem(bool byKey)
{
    Container *in = frameRackBig;
    LightControl *item = nullptr;
    if (m_rackItem == LeftDoor) {
        const bool shut = ImgD_C_L->Visible();
        in = shut ? static_cast<Container *>(frameRackBig) : frameLOpen;
        item = shut ? ImgD_C_L : imgD_O_L;
    } else if (m_rackItem == RightDoor) {
        const bool shut = ImgD_C_R->Visible();
        in = shut ? static_cast<Container *>(frameRackBig) : FrameROpen;
        item = shut ? ImgD_C_R : imgD_O_R;
    } else {
        item = &imgShelf(m_rackItem);
    }
    for (Container *other : {static_cast<Container *>(frameRackBig), static_cast<Container *>(frameLOpen),
                             static_cast<Container *>(FrameROpen)}) {
        if (other != in)
            other->setCurrentItem(nullptr);
    }
    in->setCurrentItem(item);
    if (byKey)
        in->showFocusFrame(true);
    setStatusText({});
}

// The shelf view grows from the shelf's top to a fixed place on the left of
// the window: the room scrolls first, so that the grown view will be seen.
void frmSwitch::openShelf(int Index)
{
    const Image &shelf = imgShelf(Index);
    scrollIntoView(
        {frameRackBig->Left(), frameRackBig->Top() + shelf.Top(), shelf.Width(), FullShelfHeight * ModMain.YFactor});
    imgShelf_Click(Index);
    picShelfBig->showFocusFrame(true);
}

// The cards are laid: a card found is marked, and a shelf opened with the
// keyboard starts at its first card.
void frmSwitch::cardsLaid()
{
    if (m_pendingMark && imgCard.exists(m_pendingMark)) {
        setCurrentCard(m_pendingMark);
        picShelfBig->setMarkedItem(&imgCard(m_pendingMark));
        qApp->installEventFilter(this); // the mark goes with the next key
    } else if (picShelfBig->focusFrameShown() && CardCount > 0) {
        setCurrentCard(cardsInSlotOrder().front());
    }
    m_pendingMark = 0;
}

// The cards laid, left to right as they stand by their slots.
std::vector<int> frmSwitch::cardsInSlotOrder() const
{
    std::vector<int> order(static_cast<size_t>(CardCount));
    for (int n = 1; n <= CardCount; ++n)
        order[size_t(n - 1)] = n;
    std::stable_sort(order.begin(), order.end(),
                     [this](int a, int b) { return imgCard(a).Left() < imgCard(b).Left(); });
    return order;
}

void frmSwitch::picShelfBig_KeyDown(int &KeyCode, int)
{
    if ((KeyCode != KeyCodes::Left && KeyCode != KeyCodes::Right) || CardCount == 0)
        return;
    const std::vector<int> order = cardsInSlotOrder();
    // The next card in the key's direction, the first one from the far end before any.
    const int last = int(order.size()) - 1;
    const int step = KeyCode == KeyCodes::Right ? 1 : -1;
    const int at = int(std::find(order.begin(), order.end(), m_currentCard) - order.begin());
    setCurrentCard(order[size_t(at > last ? (step > 0 ? 0 : last) : std::clamp(at + step, 0, last))]);
    picShelfBig->showFocusFrame(true);
    KeyCode = 0; // the focus stays in the shelf view, where Esc closes it
}

void frmSwitch::setCurrentCard(int n)
{
    m_currentCard = n;
    picShelfBig->setCurrentItem(&imgCard(n));
    setStatusText(cardText(n));
}

// After a ring command: its members, found in the grid as the ring walk finds
// them, each once, in the ring's order; Tab goes round them.
void frmSwitch::ringShown(int ring)
{
    m_ringMembers.clear();
    m_currentMember = -1;
    PicRing->setCurrentItem(nullptr);
    if (!PicRing->Visible())
        return;
    const LooseTable &members = ModMain.ring(ring);
    const int shoots = ModMain.shoots();
    const int places = ModMain.racks();
    for (int n = 1; n <= RingEntries; ++n) {
        const Loose &member = members(n);
        if (member == "*")
            break;
        int found = 0;
        for (int r = 1; r <= shoots; ++r) {
            for (int c = 1; c <= places; ++c) {
                if (ModMain.RackName(r, c).sameText(member))
                    found = (r - 1) * places + c; // the last place of the name, as the walk draws it
            }
        }
        if (found && shpRack.exists(found)
            && std::find(m_ringMembers.begin(), m_ringMembers.end(), found) == m_ringMembers.end())
            m_ringMembers.push_back(found);
    }
    PicRing->SetFocus();
}

void frmSwitch::PicRing_KeyDown(int &KeyCode, int Shift)
{
    // Once a refresh has wiped the links, no member is shown.
    const int count = int(m_ringMembers.size());
    if (count == 0 || PicRing->drawingCount() == 0)
        return;
    if (KeyCode == KeyCodes::Tab) {
        const int step = (Shift & ShiftKey) ? -1 : 1;
        m_currentMember = m_currentMember < 0 ? (step > 0 ? 0 : count - 1) : (m_currentMember + step + count) % count;
        PicRing->setCurrentItem(&shpRack(m_ringMembers[size_t(m_currentMember)]));
        PicRing->showFocusFrame(true);
        KeyCode = 0;
    } else if (KeyCode == KeyCodes::Return && m_currentMember >= 0) {
        const int index = m_ringMembers[size_t(m_currentMember)];
        const Shape &box = shpRack(index);
        fillStationMenu(index);
        MnuST->popup(PicRing->mapToGlobal(box.pixelRect().center() + PicRing->clientOrigin()));
        KeyCode = 0;
    }
}

QString frmSwitch::statusText() const
{
    return m_statusLine->isHidden() ? QString() : m_statusLine->text();
}

void frmSwitch::setStatusText(const QString &text)
{
    m_statusLine->setText(text);
    m_statusLine->setVisible(!text.isEmpty());
    placeBottomBars();
}

// Over the bottom of the viewport, the find bar at the very bottom and the
// status line above it: the views beneath keep their places and sizes.
void frmSwitch::placeBottomBars()
{
    const QRect area = PicSwitch->rect();
    int bottom = area.bottom() + 1;
    if (findBarOpen()) {
        const int height = m_findBar->sizeHint().height();
        m_findBar->setGeometry(0, bottom - height, area.width(), height);
        m_findBar->raise();
        bottom -= height;
    }
    const QSize status = m_statusLine->sizeHint();
    m_statusLine->setGeometry(0, bottom - status.height(), std::min(status.width(), area.width()), status.height());
    m_statusLine->raise();
}

bool frmSwitch::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (watched == PicSwitch && type == QEvent::Resize) {
        placeBottomBars();
    } else if (watched == frameRackBig && type == QEvent::Hide) {
        setStatusText({});
    } else if (watched == picShelfBig && type == QEvent::Hide) {
        // Closed: nothing of it is current, marked or told any more.
        m_currentCard = 0;
        m_pendingMark = 0;
        picShelfBig->showFocusFrame(false);
        setStatusText({});
        unmarkCard();
    } else if ((type == QEvent::KeyPress || type == QEvent::ShortcutOverride) && picShelfBig->markedItem()) {
        const auto *widget = qobject_cast<QWidget *>(watched);
        if (widget && widget->window() == this)
            unmarkCard();
    }
    return Form::eventFilter(watched, event);
}

} // namespace kvx
