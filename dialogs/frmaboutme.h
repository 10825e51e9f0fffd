#pragma once

#include "dialogs/aboutdialog.h"

namespace kvx {

class Image;

// About the people who keep the program: a team, with no address of its own.
class frmAboutME : public AboutDialog
{
    Q_OBJECT

public:
    static frmAboutME &get(QWidget *owner = nullptr);
    static bool isLoaded();
    static void discard();

    PictureBox *Picture1 = nullptr;
    Image *Image1 = nullptr;
    Label *Label1 = nullptr;
    Label *Label2 = nullptr;
    Label *Label3 = nullptr;
    Label *Label4 = nullptr;
    Label *Label6 = nullptr;

private:
    frmAboutME();
};

} // namespace kvx
