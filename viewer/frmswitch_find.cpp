// Find: Ctrl+F opens a bar at the bottom of the window; as the user types,
// the racks whose name, stations or cards hold the text stay as they are and
// every other rack is dimmed. Enter and F3 go to the next match, Shift with
// them to the previous: a rack becomes the current rack, a station opens its
// rack's view at that shelf, a card opens its shelf and is marked until the
// next key. Find only reads the model; closing the bar undoes every dimming
// and mark.

#include "viewer/frmswitch.h"

#include "model/modmain.h"
#include "viewer/findbar.h"

#include <QAction>
#include <QApplication>
#include <QHash>
#include <QLineEdit>

namespace kvx {

namespace {

// The text looked for, case-insensitively. Names are bytes in the model:
// where both are plain ASCII, as nearly every name is, the bytes are
// compared as they stand, which a keystroke over tens of thousands of cards
// can afford; any other name is read as text first.
class Needle
{
public:
    explicit Needle(const QString &text) : m_text(text), m_ascii(isAscii(text.toUtf8()))
    {
        if (m_ascii)
            m_lower = text.toLatin1().toLower();
    }

    bool foundIn(const QString &name) const { return name.contains(m_text, Qt::CaseInsensitive); }
    bool foundIn(const Loose &value) const
    {
        if (!value.isText())
            return !value.isEmpty() && foundIn(value.str());
        const QByteArrayView bytes = value.textBytes();
        if (!m_ascii || !isAscii(bytes))
            return foundIn(value.str());
        const auto fold = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
        return std::search(bytes.begin(), bytes.end(), m_lower.begin(), m_lower.end(),
                           [&fold](char a, char b) { return fold(a) == b; })
               != bytes.end();
    }

private:
    static bool isAscii(QByteArrayView bytes)
    {
        return std::all_of(bytes.begin(), bytes.end(), [](char c) { return (c & 0x80) == 0; });
    }

    QString m_text;
    bool m_ascii;
    QByteArray m_lower;
};

QString counted(int n, const char *one, const char *many)
{
    return QStringLiteral("%1 %2").arg(n).arg(QLatin1String(n == 1 ? one : many));
}

QString countText(int racks, int shelves, int cards)
{
    if (racks == 0)
        return QStringLiteral("No match");
    QStringList parts{counted(racks, "rack", "racks")};
    if (shelves)
        parts << counted(shelves, "shelf", "shelves");
    if (cards)
        parts << counted(cards, "card", "cards");
    return parts.join(QStringLiteral(", "));
}

} // namespace

void frmSwitch::createFindBar()
{
    m_findBar = new FindBar(PicSwitch);
    m_findBar->hide();
    connect(m_findBar, &FindBar::textChanged, this, &frmSwitch::findTextChanged);
    connect(m_findBar, &FindBar::next, this, [this] { findNext(1); });
    connect(m_findBar, &FindBar::previous, this, [this] { findNext(-1); });
    connect(m_findBar, &FindBar::closed, this, &frmSwitch::closeFindBar);
}

void frmSwitch::connectFind()
{
    // Shortcuts of the window, not menu items: the menus stay as designed.
    const auto shortcut = [this](const QKeySequence &keys, std::function<void()> run) {
        auto *action = new QAction(this);
        action->setShortcut(keys);
        connect(action, &QAction::triggered, this, std::move(run));
        addAction(action);
        return action;
    };
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_F), [this] { openFindBar(); });
    m_findSteps = {shortcut(QKeySequence(Qt::Key_F3), [this] { findNext(1); }),
                   shortcut(QKeySequence(Qt::SHIFT | Qt::Key_F3), [this] { findNext(-1); })};
    // F3 means something only while the bar is open.
    for (QAction *step : m_findSteps)
        step->setEnabled(false);
}

bool frmSwitch::findBarOpen() const
{
    return m_findBar && !m_findBar->isHidden();
}

void frmSwitch::openFindBar()
{
    if (!m_findBar)
        createFindBar();
    m_findBar->show();
    for (QAction *step : m_findSteps)
        step->setEnabled(true);
    placeBottomBars();
    m_findBar->edit()->setFocus(Qt::ShortcutFocusReason);
    m_findBar->edit()->selectAll();
    findTextChanged(m_findBar->edit()->text());
}

void frmSwitch::closeFindBar()
{
    m_findBar->hide();
    for (QAction *step : m_findSteps)
        step->setEnabled(false);
    m_findStops.clear();
    m_findAt = -1;
    unmarkCard();
    for (int i = 1; i <= int(m_rackPlaces.size()); ++i) {
        if (imgRack.exists(i))
            imgRack(i).setDimmed(false);
        if (lblRack.exists(i))
            lblRack(i).setDimmed(false);
    }
    placeBottomBars();
    // Back to the view that had the keys: a shelf view's Esc still closes it.
    PictureBox *view = picShelfBig->Visible() ? picShelfBig : PicRoom->Visible() ? PicRoom : PicRing;
    view->SetFocus();
}

// The racks in reading order, each with its stops: the rack, then shelf by
// shelf its station and the cards of its list (as far as the shelf view
// shows them), read where the rack's views read them.
void frmSwitch::findTextChanged(const QString &text)
{
    m_findStops.clear();
    m_findAt = -1;
    unmarkCard();
    const Needle needle(text);
    QHash<QString, RackPlace> shown;
    if (!text.isEmpty()) {
        for (int s = ModMain.shoots(); s >= 1; --s) {
            for (int p = ModMain.racks(); p >= 1; --p)
                shown.insert(ModMain.RackName(s, p).str(), {s, p}); // the first place of a name is inserted last
        }
    }
    int racks = 0, shelves = 0, cards = 0;
    for (const int i : m_readingOrder) {
        if (!imgRack.exists(i) || !lblRack.exists(i))
            continue;
        const size_t before = m_findStops.size();
        const QString name = lblRack(i).Caption();
        if (!text.isEmpty() && needle.foundIn(name))
            m_findStops.push_back({i, 0, 0});
        const auto place = shown.constFind(name);
        for (int k = 1; place != shown.cend() && k <= ShelvesPerRack; ++k) {
            const RackPlace &at = *place;
            if (needle.foundIn(ModMain.StationName(at.shoot, at.place, k))) {
                m_findStops.push_back({i, k, 0});
                ++shelves;
            }
            for (int n = 1; n <= CardsPerShelf; ++n) {
                const Loose &slot = ModMain.SlotNo(at.shoot, at.place, k, n);
                if (!slot.readsAsNumber() || slot.number() < 0)
                    break;
                if (needle.foundIn(ModMain.CardName(at.shoot, at.place, k, n))) {
                    m_findStops.push_back({i, k, n});
                    ++cards;
                }
            }
        }
        const bool found = m_findStops.size() > before;
        racks += found;
        imgRack(i).setDimmed(!text.isEmpty() && !found);
        lblRack(i).setDimmed(!text.isEmpty() && !found);
    }
    m_findBar->setCountText(text.isEmpty() ? QString() : countText(racks, shelves, cards));
}

void frmSwitch::findNext(int step)
{
    const int count = int(m_findStops.size());
    if (!findBarOpen() || count == 0)
        return;
    m_findAt = m_findAt < 0 ? (step > 0 ? 0 : count - 1) : (m_findAt + step + count) % count;
    goToStop(m_findStops[size_t(m_findAt)]);
}

void frmSwitch::goToStop(const FindStop &stop)
{
    if (PicRing->Visible())
        MnuSwitch_Click(); // the matches are in the room
    unmarkCard();
    setCurrentRack(stop.rack, true);
    if (stop.shelf == 0) {
        CloseShelfView();
        closeRackView();
    } else {
        const int k = stop.shelf - 1;
        const bool rackShown = frameRackBig->Visible() && ModMain.SelRack == &lblRack(stop.rack);
        // A card of the shelf shown is marked at once; anything else starts anew.
        const bool shelfShown = stop.card && rackShown && picShelfBig->Visible() && !TimShelfEnlarger->Enabled()
                                && SelShelf == k && imgCard.exists(stop.card);
        if (!shelfShown)
            CloseShelfView();
        if (!rackShown)
            imgRack_Click(stop.rack);
        if (!frameRackBig->Visible())
            return;
        m_rackItem = k;
        showRackViewItem(true);
        const Image &shelf = imgShelf(k);
        if (shelfShown) {
            setCurrentCard(stop.card);
            picShelfBig->setMarkedItem(&imgCard(stop.card));
            picShelfBig->showFocusFrame(true);
            qApp->installEventFilter(this); // the mark goes with the next key
        } else if (stop.card) {
            openShelf(k);
            m_pendingMark = stop.card;
        } else {
            scrollIntoView({frameRackBig->Left(), frameRackBig->Top() + shelf.Top(), shelf.Width(), shelf.Height()});
        }
    }
    m_findBar->edit()->setFocus(); // Enter goes on from here
}

void frmSwitch::unmarkCard()
{
    picShelfBig->setMarkedItem(nullptr);
    qApp->removeEventFilter(this);
}

} // namespace kvx
