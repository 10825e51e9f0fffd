#pragma once

#include "dialogs/aboutdialog.h"

namespace kvx {

// About the program: its name, purpose, version and date.
class frmAboutPrg : public AboutDialog
{
    Q_OBJECT

public:
    static frmAboutPrg &get(QWidget *owner = nullptr);
    static bool isLoaded();
    static void discard();

    PictureBox *Picture1 = nullptr;
    Label *Label1 = nullptr;
    Label *Label2 = nullptr;
    Label *Label3 = nullptr;
    Label *Label4 = nullptr;

private:
    frmAboutPrg();
};

} // namespace kvx
