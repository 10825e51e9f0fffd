#include "dialogs/frmaboutme.h"

#include "art/art.h"
#include "platform/image.h"
#include "platform/label.h"
#include "platform/picturebox.h"

namespace kvx {

frmAboutME &frmAboutME::get(QWidget *owner)
{
    frmAboutME &form = made();
    if (owner)
        form.setOwner(owner);
    return form;
}

frmAboutME::frmAboutME() : AboutDialog(QStringLiteral("About the Programmer"))
{
    Picture1 = new PictureBox(clientArea());
    Picture1->Move(120, 120, 1215, 1695);
    Image1 = Picture1->create<Image>();
    Image1->setStretch(true);
    Image1->setPicture(Art::aboutPicture());
    Image1->Move(0, 0, Picture1->ScaleWidth(), Picture1->ScaleHeight());
    Image1->setVisible(true);

    Label2 = addLabel(QStringLiteral("Name : KVX Trainer Team"), 1440, 120);
    Label3 = addLabel(QStringLiteral("Desig :  Maintainers of the trainer"), 1440, 480);
    Label1 = addLabel(QStringLiteral("HQ     : none"), 1440, 840);
    Label4 = addLabel(QStringLiteral("E-Mail : none"), 1440, 1200);
    Label6 = addLabel(QStringLiteral("More  : none"), 1440, 1560);
}

} // namespace kvx
