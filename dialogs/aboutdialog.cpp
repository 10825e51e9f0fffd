#include "dialogs/aboutdialog.h"

#include "art/art.h"
#include "platform/commandbutton.h"
#include "platform/frame.h"
#include "platform/label.h"

#include <QApplication>

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
    dialog.Show();
}

} // namespace kvx
