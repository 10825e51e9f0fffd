#pragma once

#include "dialogs/aboutdialog.h"
#include "platform/singleform.h"

namespace kvx {

class Image;

// About the people who keep the program: a team, with no address of its own.
class frmAboutME : public AboutDialog, public SingleForm<frmAboutME>
{
    Q_OBJECT

public:
    static frmAboutME &get(QWidget *owner = nullptr);

    PictureBox *Picture1 = nullptr;
    Image *Image1 = nullptr;
    Label *Label1 = nullptr;
    Label *Label2 = nullptr;
    Label *Label3 = nullptr;
    Label *Label4 = nullptr;
    Label *Label6 = nullptr;

private:
    friend class SingleForm<frmAboutME>;
    frmAboutME();
};

} // namespace kvx
