// The editor with the keyboard: Tab goes through each tab's controls in the
// order they are read (rack, station, card rows and their buttons; the
// room's name and size, the room grid, then the stations; each ring's tick,
// members and colour), and every box a screen reader reaches says what it
// holds. The holder of the card rows takes the focus only when clicked.
//
// The room grid and the colour swatches are painted items: the grid's frame
// and each ring's frame take the focus for them, frame their current item
// while they have it from a key, and their keys stand for the mouse's
// buttons on that item, through the very handlers the mouse calls.

#include "editor/frmalter.h"

#include "model/modmain.h"
#include "platform/accessible.h"
#include "platform/checkbox.h"
#include "platform/combobox.h"
#include "platform/commandbutton.h"
#include "platform/input.h"
#include "platform/listbox.h"
#include "platform/menu.h"
#include "platform/picturebox.h"
#include "platform/scrollbar.h"

#include <QEvent>
#include <QFocusEvent>

#include <algorithm>

namespace kvx {

namespace {

// Tells of every text box of a row polished in the holder, the template aside.
class RowWatcher : public QObject
{
public:
    RowWatcher(QObject *holder, std::function<void(TextBox &)> polished)
        : QObject(holder),
          m_polished(std::move(polished))
    {
        holder->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::ChildPolished) {
            auto *box = dynamic_cast<TextBox *>(static_cast<QChildEvent *>(event)->child());
            if (box && box->Index() > 0)
                m_polished(*box);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void(TextBox &)> m_polished;
};

constexpr int ShiftKey = 1;
constexpr int F10 = KeyCodes::F1 + 9;

// Shows a container's focus frame while the container has the focus from
// Tab, as Qt frames a button: not after a click, and still there while a
// dialog or pop-up opened from it has the focus.
class FocusFrameWatcher : public QObject
{
public:
    FocusFrameWatcher(Container *container, std::function<void()> arriving)
        : QObject(container),
          m_container(container),
          m_arriving(std::move(arriving))
    {
        container->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        const auto reason = [event] { return static_cast<QFocusEvent *>(event)->reason(); };
        if (event->type() == QEvent::FocusIn
            && (reason() == Qt::TabFocusReason || reason() == Qt::BacktabFocusReason)) {
            m_arriving();
            m_container->showFocusFrame(true);
        } else if (event->type() == QEvent::FocusOut && reason() != Qt::ActiveWindowFocusReason
                   && reason() != Qt::PopupFocusReason) {
            m_container->showFocusFrame(false);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    Container *m_container;
    std::function<void()> m_arriving;
};

bool isMenuKey(int KeyCode, int Shift)
{
    return KeyCode == KeyCodes::Apps || (KeyCode == F10 && (Shift & ShiftKey));
}

} // namespace

void frmAlter::arrangeKeyboard()
{
    pic->setFocusPolicy(Qt::ClickFocus);
    pic->setAccessibleName(QStringLiteral("Cards of the shelf"));
    lstRackName->setAccessibleName(QStringLiteral("Rack"));
    for (int k = 0; k <= 4; ++k)
        optStation(k).setAccessibleDescription(QStringLiteral("Station of shelf %1").arg(k + 1));
    txtSiteName->setAccessibleName(QStringLiteral("Name of Switch Room"));
    cmbShoot->setAccessibleName(QStringLiteral("Number of Shoots"));
    cmbDeRack->setAccessibleName(QStringLiteral("Number of Racks Per Shoot"));
    for (int k = 0; k <= 4; ++k)
        txtEdShelf(k).setAccessibleName(QStringLiteral("Station of shelf %1").arg(k + 1));
    chkMis->setAccessibleName(QStringLiteral("MIS"));
    txtMis->setAccessibleName(QStringLiteral("MIS members"));
    for (int k = 1; k <= 4; ++k) {
        chkmas(k).setAccessibleName(QStringLiteral("MAS%1").arg(k));
        txtMas(k).setAccessibleName(QStringLiteral("MAS%1 members").arg(k));
    }
    // The card rows are made as a shelf is chosen: each is named, and the
    // buttons follow the last of them, once it is polished to be shown.
    new RowWatcher(frameHolder, [this](TextBox &box) {
        const QString column = box.array() == &txtSlot   ? QStringLiteral("Slot number")
                               : box.array() == &txtCard ? QStringLiteral("Card name")
                                                         : QStringLiteral("Image type");
        box.setAccessibleName(QStringLiteral("%1, row %2").arg(column).arg(box.Index()));
        setTabOrder(&box, cmdAdd);
        setTabOrder(cmdAdd, cmdInsert);
        setTabOrder(cmdInsert, cmdDelete);
    });
    arrangeGridKeys();
    arrangeSwatchKeys();
}

// The grid's frame takes the keys, between the room's size and the stations;
// its viewport takes none. Its boxes are a list of places for a screen reader.
void frmAlter::arrangeGridKeys()
{
    Picture1->setFocusPolicy(Qt::NoFocus);
    Frame6->setFocusPolicy(Qt::StrongFocus);
    setTabOrder(cmdUpdate, Frame6);
    setTabOrder(Frame6, &txtEdShelf(0));
    Frame6->setAccessibleName(QStringLiteral("Room grid"));
    Frame6->setAccessibleDescription(
        QStringLiteral("The arrow keys, Home and End move among the places; Enter or "
                       "Space chooses one, the Menu key or Shift+F10 shows Insert and Remove"));
    Frame6->setAccessibleItems(std::make_unique<AccessibleItems>(
        QAccessible::List,
        [this] {
            QList<const LightControl *> boxes;
            for (int i = 1; i < lblEdRack.count(); ++i) {
                if (lblEdRack.exists(i))
                    boxes << &lblEdRack(i);
            }
            return boxes;
        },
        [this](const LightControl &item) {
            const int i = item.Index();
            const QString rack = lblEdRack(i).Caption();
            return AccessibleItem{QAccessible::ListItem,
                                  QStringLiteral("%1, shoot %2, place %3")
                                      .arg(rack.isEmpty() ? QStringLiteral("Empty") : rack)
                                      .arg(boxShoot(i))
                                      .arg(boxPlace(i)),
                                  i == EdSelIndex ? QStringLiteral("Chosen") : QString()};
        }));
    Frame6->KeyDown = [this](int &KeyCode, int Shift) { Frame6_KeyDown(KeyCode, Shift); };
    // The place chosen last is the current one; in a grid made anew, the first.
    new FocusFrameWatcher(Frame6, [this] {
        if (!Frame6->currentItem())
            setCurrentBox(1, false);
    });
}

// Each ring's frame takes the focus for its swatch, after the ring's members.
void frmAlter::arrangeSwatchKeys()
{
    Frame *const frames[] = {Frame5, &frameMas(0), &frameMas(2), &frameMas(3), &frameMas(4)};
    for (int k = 0; k <= 4; ++k) {
        Frame *frame = frames[k];
        Label *swatch = k ? &clrMas(k) : clrMis;
        const QString ring = k ? QStringLiteral("MAS%1").arg(k) : QStringLiteral("MIS");
        // Not taken by a click: the mouse's focus stays where it was.
        frame->setFocusPolicy(Qt::TabFocus);
        setTabOrder(k ? &txtMas(k) : txtMis, frame);
        frame->setAccessibleName(ring);
        frame->setAccessibleItems(std::make_unique<AccessibleItems>(
            QAccessible::Grouping, [swatch] { return QList<const LightControl *>{swatch}; },
            [ring](const LightControl &) {
                return AccessibleItem{QAccessible::Button, ring + QStringLiteral(" colour"),
                                      QStringLiteral("Enter or Space chooses the colour")};
            }));
        frame->setCurrentItem(swatch);
        frame->KeyDown = [this, k](int &KeyCode, int) {
            if (KeyCode != KeyCodes::Return && KeyCode != KeyCodes::Space)
                return;
            KeyCode = 0;
            k ? clrMas_Click(k) : clrMis_Click();
        };
        new FocusFrameWatcher(frame, [] {});
    }
}

// The arrow keys move along a shoot and across the shoots, Home and End to
// the ends of the shoot; Enter and Space stand for the left mouse button on
// the box, the Menu key and Shift+F10 for the right one.
void frmAlter::Frame6_KeyDown(int &KeyCode, int Shift)
{
    const int racks = ModMain.racks(), shoots = ModMain.shoots();
    const LightControl *current = Frame6->currentItem();
    const int at = current ? current->Index() : 1;
    if (!lblEdRack.exists(at))
        return;
    int shoot = boxShoot(at), place = boxPlace(at);
    switch (KeyCode) {
    case KeyCodes::Left:
    case KeyCodes::Right:
        place = std::clamp(place + (KeyCode == KeyCodes::Left ? -1 : 1), 1, racks);
        break;
    case KeyCodes::Up:
    case KeyCodes::Down:
        shoot = std::clamp(shoot + (KeyCode == KeyCodes::Up ? -1 : 1), 1, shoots);
        break;
    case KeyCodes::Home:
        place = 1;
        break;
    case KeyCodes::End:
        place = racks;
        break;
    case KeyCodes::Return:
    case KeyCodes::Space:
        KeyCode = 0;
        lblEdRack_MouseDown(at, MouseButtons::LeftButton);
        return;
    default: {
        if (!isMenuKey(KeyCode, Shift))
            return;
        KeyCode = 0;
        const QRect box = lblEdRack(at).pixelRect().translated(Frame6->clientOrigin());
        lblEdRack_MouseDown(at, MouseButtons::RightButton, Frame6->mapToGlobal(box.bottomLeft()));
        return;
    }
    }
    KeyCode = 0;
    setCurrentBox(place + racks * (shoot - 1), true);
}

// The grid scrolls through its bars, so that their rules move it, until the box is seen.
void frmAlter::setCurrentBox(int Index, bool byKey)
{
    if (!lblEdRack.exists(Index))
        return;
    Label &box = lblEdRack(Index);
    Frame6->setCurrentItem(&box);
    if (!byKey)
        return;
    Frame6->showFocusFrame(true);
    HScroll1->bringIntoView(box.Left(), box.Width(), Picture1->Width(), Frame6->Width() - Picture1->Width());
    VScroll1->bringIntoView(box.Top(), box.Height(), Picture1->Height(), Frame6->Height() - Picture1->Height());
}

} // namespace kvx
