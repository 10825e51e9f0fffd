#pragma once

#include "dialogs/aboutdialog.h"
#include "platform/singleform.h"

namespace kvx {

// About the program: its name, purpose, version and date.
class frmAboutPrg : public AboutDialog, public SingleForm<frmAboutPrg>
{
    Q_OBJECT

public:
    static frmAboutPrg &get(QWidget *owner = nullptr);

    PictureBox *Picture1 = nullptr;
    Label *Label1 = nullptr;
    Label *Label2 = nullptr;
    Label *Label3 = nullptr;
    Label *Label4 = nullptr;

private:
    friend class SingleForm<frmAboutPrg>;
    frmAboutPrg();
};

} // namespace kvx
