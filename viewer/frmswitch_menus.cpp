// The menu bar, the commands that reload the exchange (Open, Refresh, Exit)
// and those that open the editor and the About windows.

#include "viewer/frmswitch.h"

#include "dialogs/frmaboutme.h"
#include "dialogs/frmaboutprg.h"
#include "model/modeledits.h"
#include "model/modmain.h"
#include "platform/core/errors.h"
#include "platform/core/files.h"
#include "viewer/exportview.h"
#include "viewer/loadexchange.h"

#include <QMenuBar>

namespace kvx {

void frmSwitch::createMenus()
{
    QMenuBar *bar = menuBar();
    MnuExge = new Menu(bar, QStringLiteral("&Exchange"));
    MnuOpen = new Menu(MnuExge, QStringLiteral("&Open"), QKeySequence(Qt::CTRL | Qt::Key_O));
    MnuCon = new Menu(MnuExge, QStringLiteral("&Configure"), QKeySequence(Qt::CTRL | Qt::Key_E));
    MnuExport = new Menu(MnuExge, QStringLiteral("Export &View..."), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_E));
    MnuPrint = new Menu(MnuExge, QStringLiteral("&Print..."), QKeySequence(Qt::CTRL | Qt::Key_P));
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
}

void frmSwitch::connectMenus()
{
    connect(MnuOpen, &Menu::Click, this, &frmSwitch::MnuOpen_Click);
    connect(MnuCon, &Menu::Click, this, &frmSwitch::MnuCon_Click);
    connect(MnuExport, &Menu::Click, this, [this] { exportShownView(*this); });
    connect(MnuPrint, &Menu::Click, this, [this] { printShownView(*this); });
    connect(MnuEnd, &Menu::Click, this, &frmSwitch::MnuEnd_Click);
    connect(MnuPrg, &Menu::Click, this, &frmSwitch::MnuPrg_Click);
    connect(MnuME, &Menu::Click, this, &frmSwitch::MnuME_Click);
    connect(mnuRefresh, &Menu::Click, this, &frmSwitch::mnuRefresh_Click);
    connect(MnuSwitch, &Menu::Click, this, &frmSwitch::MnuSwitch_Click);
    connect(MnuMIS, &Menu::Click, this, &frmSwitch::MnuMIS_Click);
    connect(MnuMAS1, &Menu::Click, this, &frmSwitch::MnuMAS1_Click);
    connect(MnuMAS2, &Menu::Click, this, &frmSwitch::MnuMAS2_Click);
    connect(MnuMAS3, &Menu::Click, this, &frmSwitch::MnuMAS3_Click);
    connect(MnuMAS4, &Menu::Click, this, &frmSwitch::MnuMAS4_Click);
}

void frmSwitch::MnuOpen_Click()
{
    // Unsaved edits are settled first: a person answers before choosing a file.
    if (!settleEditsBeforeLoad())
        return;
    dlg1.CancelError = true;
    dlg1.Filter = QStringLiteral("KVX Data files ( *.kvx )| *.kvx|All Files ( *.*)| *.*");
    dlg1.DialogTitle = QStringLiteral("Select an Exchange Data File");
    dlg1.InitDir = DataFolder();
    try {
        dlg1.ShowOpen();
    } catch (const PlatformError &) {
        return; // Cancel: nothing changes
    }
    const Loose shown = ModMain.DataFile;
    ModMain.DataFile = Files::bytesFromPath(dlg1.FileName);
    // Read before anything is torn down, so a bad file leaves the exchange
    // shown, its plan and the editor's unsaved edits as they were.
    if (!LoadExchange(OnLoadFailure::KeepExchange)) {
        ModMain.DataFile = shown; // Refresh and the settings file keep naming a file that loads
        return;
    }
    rebuild();
}

void frmSwitch::mnuRefresh_Click()
{
    if (!settleEditsBeforeLoad())
        return;
    if (!LoadExchange(OnLoadFailure::KeepExchange))
        return;
    rebuild();
}

// The model holds the exchange just loaded; the plan still shows the old one.
bool frmSwitch::rebuild()
{
    try {
        Clear(qint16(ModMain.OldNoOfShoots.toInt()), qint16(ModMain.OldNoOfRacks.toInt()));
        InitMe();
        return true;
    } catch (const PlatformError &e) {
        MsgBox(QStringLiteral("The room plan could not be built: %1").arg(e.description()), vbCritical);
        return false;
    }
}

void frmSwitch::MnuEnd_Click()
{
    End(); // at once: the settings file is written only when the window is closed
}

namespace {
std::function<void()> &editorOpener()
{
    static std::function<void()> open;
    return open;
}
} // namespace

void frmSwitch::setEditorOpener(std::function<void()> open)
{
    editorOpener() = std::move(open);
}

void frmSwitch::MnuCon_Click()
{
    if (editorOpener())
        editorOpener()();
}

void frmSwitch::setRingMenus()
{
    MnuMAS3->setEnabled(false);
    MnuMAS4->setEnabled(false);
    if (ModMain.NoOfMas == 3) {
        MnuMAS3->setEnabled(true);
    } else if (ModMain.NoOfMas == 4) {
        MnuMAS3->setEnabled(true);
        MnuMAS4->setEnabled(true);
    }
}

void frmSwitch::MnuPrg_Click()
{
    showAboutDialog(frmAboutPrg::get(this));
}

void frmSwitch::MnuME_Click()
{
    showAboutDialog(frmAboutME::get(this));
}

} // namespace kvx
