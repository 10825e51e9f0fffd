#include "dialogs/aboutdialog.h"

#include "art/art.h"
#include "platform/commandbutton.h"
#include "platform/frame.h"
#include "platform/label.h"

#include <QApplication>
#include <QScreen>
#include <QShortcut>

#include <algorithm>

namespace kvx {

namespace {
// The client area that holds the controls below, in twips.
constexpr double ClientWidth = 4695;
constexpr double ClientHeight = 3060;
} // namespace

AboutDialog::AboutDialog(const QString &caption)
{
    setCaption(caption);
    setWindowIcon(Art::windowIcon());
    clientArea()->setFixedSize(pixelsFromTwips(ClientWidth), pixelsFromTwips(ClientHeight));
    setFixedSize(clientArea()->size());

    Frame1 = new Frame(clientArea());
    Frame1->Move(0, 2160, ClientWidth, 135);
    Label5 = addLabel(QStringLiteral("KVX Trainer Team"), 120, 2640, 2500, 255);
    Command1 = new CommandButton(clientArea());
    Command1->setCaption(QStringLiteral("OK"));
    Command1->Move(2880, 2520, 1335, 375);
    Command1->Click = [this] { Command1_Click(); };
    // Enter answers OK, as in any dialog, and Esc closes.
    Command1->setDefault(true);
    for (const QKeySequence &key :
         {QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter), QKeySequence(Qt::Key_Escape)})
        connect(new QShortcut(key, this), &QShortcut::activated, this, &AboutDialog::Command1_Click);
}

void AboutDialog::placeOverOwner()
{
    const QScreen *screen = m_owner ? m_owner->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect room = screen->availableGeometry();
    const QRect over = m_owner && m_owner->isVisible() ? m_owner->frameGeometry() : room;
    QRect placed(QPoint(), frameGeometry().size());
    placed.moveCenter(over.center());
    // Kept whole on the screen, its title bar reachable.
    placed.moveLeft(std::clamp(placed.left(), room.left(), std::max(room.left(), room.right() - placed.width())));
    placed.moveTop(std::clamp(placed.top(), room.top(), std::max(room.top(), room.bottom() - placed.height())));
    move(placed.topLeft());
}

Label *AboutDialog::addLabel(const QString &caption, double left, double top, double width, double height)
{
    Label *label = clientArea()->create<Label>();
    label->setFontDesc(FontDesc{QStringLiteral("MS Sans Serif"), 8.25});
    if (width > 0) {
        label->Move(left, top, width, height);
        label->setWordWrap(true);
    } else {
        label->Move(left, top);
        label->setAutoSize(true);
    }
    label->setCaption(caption);
    label->setVisible(true);
    return label;
}

void AboutDialog::Command1_Click()
{
    hide();
    if (m_owner)
        m_owner->activateWindow();
}

void showAboutDialog(AboutDialog &dialog)
{
    if (!dialog.isVisible())
        dialog.placeOverOwner();
    dialog.Show();
}

} // namespace kvx
