// The editor with the keyboard: Tab goes through each tab's controls in the
// order they are read (rack, station, card rows and their buttons; the
// room's name and size, then the stations; each ring's tick and members),
// and every box a screen reader reaches says what it holds. The holders of
// the card rows and of the room grid take the focus only when clicked.

#include "editor/frmalter.h"

#include "platform/checkbox.h"
#include "platform/combobox.h"
#include "platform/commandbutton.h"
#include "platform/listbox.h"
#include "platform/picturebox.h"

#include <QEvent>

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

} // namespace

void frmAlter::arrangeKeyboard()
{
    pic->setFocusPolicy(Qt::ClickFocus);
    Picture1->setFocusPolicy(Qt::ClickFocus);
    pic->setAccessibleName(QStringLiteral("Cards of the shelf"));
    Picture1->setAccessibleName(QStringLiteral("Room grid"));
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
}

} // namespace kvx
