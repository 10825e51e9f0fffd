#include "viewer/frmswitch.h"

#include "app/modmain.h"

#include <QMenuBar>

#include <memory>

namespace kvx {

namespace {
std::unique_ptr<frmSwitch> &instance()
{
    static std::unique_ptr<frmSwitch> form;
    return form;
}
} // namespace

frmSwitch &frmSwitch::get()
{
    if (!instance()) {
        instance().reset(new frmSwitch);
        instance()->Form_Load();
    }
    return *instance();
}

bool frmSwitch::isLoaded()
{
    return instance() != nullptr;
}

void frmSwitch::discard()
{
    instance().reset();
}

frmSwitch::frmSwitch()
{
    setCaption(QStringLiteral("KVX 410 Switch Room"));
    createMenus();
}

void frmSwitch::createMenus()
{
    QMenuBar *bar = menuBar();
    MnuExge = new Menu(bar, QStringLiteral("&Exchange"));
    MnuOpen = new Menu(MnuExge, QStringLiteral("&Open"), QKeySequence(Qt::CTRL | Qt::Key_O));
    MnuCon = new Menu(MnuExge, QStringLiteral("&Configure"), QKeySequence(Qt::CTRL | Qt::Key_E));
    MnuDash = new Menu(MnuExge, QStringLiteral("-"));
    MnuEnd = new Menu(MnuExge, QStringLiteral("E&xit"));

    MnuView = new Menu(bar, QStringLiteral("&View"));
    mnuRefresh = new Menu(MnuView, QStringLiteral("&Refresh"), QKeySequence(Qt::Key_F5));
    MnuSwitch = new Menu(MnuView, QStringLiteral("&Switch Room View"), QKeySequence(Qt::CTRL | Qt::Key_S));
    MnuRing = new Menu(MnuView, QStringLiteral("&Token Ring View"));
    MnuMIS = new Menu(MnuRing, QStringLiteral("MIS"), QKeySequence(Qt::CTRL | Qt::Key_M));
    MnuMAS1 = new Menu(MnuRing, QStringLiteral("MAS1"), QKeySequence(Qt::CTRL | Qt::Key_F1));
    MnuMAS2 = new Menu(MnuRing, QStringLiteral("MAS2"), QKeySequence(Qt::CTRL | Qt::Key_F2));
    MnuMAS3 = new Menu(MnuRing, QStringLiteral("MAS3"), QKeySequence(Qt::CTRL | Qt::Key_F3));
    MnuMAS4 = new Menu(MnuRing, QStringLiteral("MAS4"), QKeySequence(Qt::CTRL | Qt::Key_F4));
    MnuMAS3->setEnabled(false);
    MnuMAS4->setEnabled(false);

    MnuST = new Menu(bar, QStringLiteral("Station"));
    for (int k = 1; k <= 5; ++k)
        MnuSlf[size_t(k)] = new Menu(MnuST, QStringLiteral("Shelf%1").arg(k));
    MnuST->setVisible(false);

    MnuAbout = new Menu(bar, QStringLiteral("&About"));
    MnuPrg = new Menu(MnuAbout, QStringLiteral("Program"));
    MnuME = new Menu(MnuAbout, QStringLiteral("Programmer"), QKeySequence(Qt::CTRL | Qt::Key_U));

    connect(MnuEnd, &Menu::Click, this, &frmSwitch::MnuEnd_Click);
}

void frmSwitch::Form_Load()
{
    setWidth(Screen::Width());
    setHeight(Screen::Height());
    const int levels[] = {33, 85, 109, 147, 185, 47, 85, 112, 150, 177};
    for (int i = 1; i <= 10; ++i)
        ShelfLevel[size_t(i)] = levels[i - 1];
    InitMe();
}

void frmSwitch::InitMe()
{
    setCaption(ModMain.SiteName.str());
}

void frmSwitch::MnuEnd_Click()
{
    End();
}

} // namespace kvx
