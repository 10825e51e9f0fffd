#include "dialogs/frmaboutprg.h"

#include "art/art.h"
#include "platform/label.h"
#include "platform/picturebox.h"
#include "platform/units.h"

namespace kvx {

frmAboutPrg &frmAboutPrg::get(QWidget *owner)
{
    frmAboutPrg &form = made();
    if (owner)
        form.setOwner(owner);
    return form;
}

frmAboutPrg::frmAboutPrg() : AboutDialog(QStringLiteral("About KVX-410"))
{
    Picture1 = new PictureBox(clientArea());
    Picture1->Move(120, 240, 530, 540);
    Picture1->setPicture(Art::icon());

    Label1 = addLabel(QStringLiteral("KVX - 410"), 1440, 240, 2415, 495);
    Label1->setFontDesc(FontDesc{QStringLiteral("MS Sans Serif"), 24});
    Label1->setForeColor(ColorRed);
    Label1->setAutoSize(true); // the face standing in for the classic one is a little taller
    Label2 = addLabel(QStringLiteral("KVX-410 Hardware Trainer, by the KVX Trainer Team: it explains the "
                                     "hardware of a model exchange and its parts."),
                      960, 840, 3375, 615);
    Label2->setAutoSize(true); // three wrapped lines, however tall the face
    Label3 = addLabel(QStringLiteral("Version:  1.10.00"), 960, 1560, 3255, 255);
    Label4 = addLabel(QStringLiteral("Date    : 02/02/02"), 960, 1920, 3375, 255);
}

} // namespace kvx
