#include "editor/frmalter.h"

#include "art/art.h"
#include "model/modeledits.h"
#include "model/modmain.h"
#include "platform/commandbutton.h"
#include "platform/core/errors.h"
#include "platform/core/events.h"
#include "platform/core/files.h"
#include "platform/frame.h"
#include "platform/label.h"
#include "platform/listbox.h"
#include "platform/menu.h"
#include "platform/optionbutton.h"
#include "platform/picturebox.h"
#include "platform/scrollbar.h"
#include "platform/tabcontrol.h"
#include "viewer/frmswitch.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QMenuBar>
#include <QScopedValueRollback>
#include <QScreen>
#include <QUndoStack>

#include <memory>

namespace kvx {

namespace {

const QString SaveFilter = QStringLiteral("KVX Data Files (*.kvx)|*.kvx|All Files (*.*)| *.*");

// The editor is a top-level window: it must go before the application does.
void discardAtExit()
{
    frmAlter::discard();
}

int ringCount()
{
    return ModMain.NoOfMas.readsAsNumber() ? ModMain.NoOfMas.toInt() : 2;
}

int askToSave()
{
    return MsgBox(QStringLiteral("Do you want to Save the Changes"), vbYesNoCancelQuestion,
                  QStringLiteral("Save Changes?"));
}

// The loaded editor as the main window's loads see it. A reload replaces the
// window, so this acts on whichever editor is loaded, never on one it holds.
class EditorEdits final : public ModelEdits
{
public:
    bool settleBeforeLoad() override
    {
        frmAlter *form = frmAlter::loaded();
        return !form || form->settleEdits();
    }
    // The edits of the model that was there are gone with it, also those
    // of an editor closed since.
    void modelReplaced() override
    {
        frmAlter::history().clear();
        frmAlter::reload();
    }
};

EditorEdits g_editorEdits;

} // namespace

frmAlter::frmAlter()
{
    setWindowIcon(Art::windowIcon());
    createMenus();
    showHistory();

    // The inner area below the menu bar is 8880 x 5895 twips.
    resize(pixelsFromTwips(8880), pixelsFromTwips(5895) + menuBar()->sizeHint().height());

    SSTab1 = new TabControl(clientArea());
    // The tab control ends with the inner area, so that its lower edge shows.
    SSTab1->Move(0, 120, 8880, 5895 - 120);
    Container *small = SSTab1->addTab(QStringLiteral("Small Change"));
    Container *major = SSTab1->addTab(QStringLiteral("Major Change"));
    Container *rings = SSTab1->addTab(QStringLiteral("Ring Change"));
    createRackChoice(small);
    createCardRows(small);
    createRoomTab(major);
    createRingTab(rings);
    SSTab1->setTab(0);
    arrangeKeyboard();
}

frmAlter::~frmAlter()
{
    qApp->removeEventFilter(this);
    if (ringControls() == this)
        setRingControls(nullptr);
    // The controls outlive this part of the window while it is torn down, and
    // closing it moves the focus: none of their events may reach it any more.
    for (QWidget *child : findChildren<QWidget *>()) {
        if (auto *control = dynamic_cast<WindowedControl *>(child)) {
            control->GotFocus = nullptr;
            control->LostFocus = nullptr;
            control->KeyDown = nullptr;
        }
    }
}

void frmAlter::showEditor()
{
    if (existing() && existing()->m_unloaded)
        discard();
    if (!existing()) {
        static const bool registered = [] {
            qAddPostRoutine(discardAtExit);
            return true;
        }();
        Q_UNUSED(registered);
        frmAlter &form = made();
        form.Load();
        form.placeBesideMainWindow();
    }
    existing()->Show();
}

frmAlter *frmAlter::loaded()
{
    frmAlter *form = existing();
    return form && !form->m_unloaded ? form : nullptr;
}

void frmAlter::reload()
{
    frmAlter *old = loaded();
    if (!old)
        return;
    const QByteArray geometry = old->saveGeometry();
    const int tab = old->SSTab1->Tab();
    const bool shown = old->isVisible();
    const bool active = old->isActiveWindow();
    discard();
    frmAlter *form = &made();
    form->Load();
    form->restoreGeometry(geometry);
    form->SSTab1->setTab(tab);
    if (!shown)
        return;
    if (active) {
        form->Show();
        return;
    }
    // The window that loaded the file keeps the focus.
    form->setAttribute(Qt::WA_ShowWithoutActivating);
    form->show();
    form->setAttribute(Qt::WA_ShowWithoutActivating, false);
}

bool frmAlter::hasUnsavedEdits() const
{
    return !history().isClean() || rowPending();
}

bool frmAlter::settleEdits()
{
    if (!hasUnsavedEdits())
        return true;
    switch (askToSave()) {
    case vbYes: {
        bool saved = false;
        runHandler([this, &saved] { saved = saveToDataFile(); });
        return saved;
    }
    case vbNo:
        return true;
    default:
        return false;
    }
}

void frmAlter::createMenus()
{
    QMenuBar *bar = menuBar();
    mnuFile = new Menu(bar, QStringLiteral("&File"));
    MnuSav = new Menu(mnuFile, QStringLiteral("&Save"));
    MnuSavAs = new Menu(mnuFile, QStringLiteral("Save &As"));
    mnuSep = new Menu(mnuFile, QStringLiteral("-"));
    mnuEx = new Menu(mnuFile, QStringLiteral("E&xit"));
    createEditBar();
    // Never in the menu bar: it is the room grid's pop-up.
    mnuEdit = new Menu(bar, QStringLiteral("&Edit"));
    mnuEdit->setVisible(false);
    createEditMenu();

    connect(MnuSav, &Menu::Click, this, [this] { MnuSav_Click(); });
    connect(MnuSavAs, &Menu::Click, this, [this] { MnuSavAs_Click(); });
    connect(mnuEx, &Menu::Click, this, [this] { mnuEx_Click(); });
}

void frmAlter::createRackChoice(Container *tab)
{
    Label *rack = tab->create<Label>();
    rack->Move(2520, 660, 855, 255);
    rack->setAlignment(Label::RightJustify);
    rack->setBackStyle(Label::Transparent);
    rack->setCaption(QStringLiteral("Rack"));

    lstRackName = new ListBox(tab);
    lstRackName->Move(3480, 600, 1815, 450);
    lstRackName->setToolTipText(QStringLiteral("Rack"));
    lstRackName->Click = [this] { lstRackName_Click(); };

    lblPosition = tab->create<Label>();
    lblPosition->Move(6480, 480, 1815, 735);
    lblPosition->setFontDesc({QStringLiteral("Arial Black"), 18, true});
    lblPosition->setBackStyle(Label::Transparent);
    lblPosition->setToolTipText(QStringLiteral("Shoot X Place"));

    frameStation = new Frame(tab);
    frameStation->Move(120, 1080, 8655, 855);
    frameStation->setCaption(QStringLiteral("Station Select"));
    for (int k = 0; k <= 4; ++k) {
        auto *option = new OptionButton(frameStation);
        option->Move(600 + 1620 * k, 360, 975, 195);
        option->setCaption(QStringLiteral(" "));
        optStation.add(k, option);
    }
    optStation(0).setValue(true);
    optStation.on(&OptionButton::Click, [this](int index) { optStation_Click(index); });
}

void frmAlter::placeBesideMainWindow()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect room = screen->availableGeometry();
    QRect main = room;
    if (frmSwitch::isLoaded() && frmSwitch::get().isVisible())
        main = frmSwitch::get().frameGeometry();
    // To the right of the main window when the screen has room for it, else
    // over its right edge, below its menu bar.
    int x = main.right() + 1;
    if (x + width() > room.right())
        x = std::max(room.left(), std::min(main.right(), room.right()) - width() - 8);
    const int y = std::max(room.top(), main.top() + 48);
    move(x, y);
}

void frmAlter::Form_Load()
{
    setRingControls(this);
    // Also once the window is closed: a load clears the undo stack.
    setModelEdits(&g_editorEdits);
    // Filling the controls raises their Change and Click events: no edit.
    QScopedValueRollback quiet(m_quiet, true);

    // 1. The ring menus of the main window and the MAS3 and MAS4 boxes.
    if (frmSwitch::isLoaded())
        frmSwitch::get().setRingMenus();
    const int mas = ringCount();
    if (mas >= 3)
        chkmas(3).setValue(1);
    if (mas == 4)
        chkmas(4).setValue(1);

    // 2, 3. Every rack of the room in shoot-major order, each entry with its own place.
    const int shoots = ModMain.RackName.isSized() ? ModMain.shoots() : 0;
    const int places = ModMain.RackName.isSized() ? ModMain.racks() : 0;
    RackCount = 0;
    ListShoot.assign(size_t(std::max(0, shoots * places)) + 1, 0);
    ListPlace.assign(ListShoot.size(), 0);
    for (int s = 1; s <= shoots; ++s) {
        for (int p = 1; p <= places; ++p) {
            const Loose &name = ModMain.RackName(s, p);
            if (name == "")
                continue;
            lstRackName->AddItem(name.str());
            ++RackCount;
            ListShoot[size_t(RackCount)] = s;
            ListPlace[size_t(RackCount)] = p;
        }
    }

    // 4. The first rack; a room without racks has no shelf to edit.
    if (RackCount > 0)
        runHandler([this] { lstRackName->setListIndex(0); });
    else
        enableRackControls(false);

    runHandler([this] {
        txtSiteName->setText(ModMain.SiteName.str()); // 5
        fillRoomSize();                               // 6
        fillRingRows();                               // 7
        fillRingColors();                             // 8
    });
    BuildEditGrid(shoots, places); // 9
    for (int k = 0; k <= 4; ++k)
        m_ringShown[k] = capture({EditScope::Ring, 0, 0, k});
}

bool frmAlter::Form_Unload()
{
    ClearRows();
    if (ringControls() == this)
        setRingControls(nullptr);
    m_unloaded = true;
    return true;
}

void frmAlter::enableRackControls(bool enabled)
{
    for (int k = 0; k <= 4; ++k)
        optStation(k).setEnabled(enabled);
    pic->setEnabled(enabled);
    VScroll->setEnabled(enabled);
    cmdAdd->setEnabled(enabled);
    cmdInsert->setEnabled(enabled);
    cmdDelete->setEnabled(enabled);
}

void frmAlter::lstRackName_Click()
{
    const int i = lstRackName->ListIndex() + 1;
    if (i < 1 || i > RackCount)
        return;
    ClearRows();
    ShowRack();
    lblPosition->setCaption(QStringLiteral("%1 X %2").arg(ListShoot[size_t(i)]).arg(ListPlace[size_t(i)]));
}

void frmAlter::ShowRack()
{
    const int i = lstRackName->ListIndex() + 1;
    DetShoot = ListShoot[size_t(i)];
    DetPlace = ListPlace[size_t(i)];
    int shelfNo = 1;
    for (int k = 0; k <= 4; ++k) {
        optStation(k).setCaption(ModMain.StationName(DetShoot, DetPlace, k + 1).str());
        if (optStation(k).Value())
            shelfNo = k + 1;
    }
    LoadRows(shelfNo);
}

void frmAlter::optStation_Click(int Index)
{
    DetStation = Index;
    ClearRows();
    LoadRows(Index + 1);
    if (CardRows > 0)
        txtCard(1).SetFocus();
}

bool frmAlter::writeModel(const QString &file)
{
    ModMain.SaveFile = file;
    try {
        SaveExchange();
    } catch (const PlatformError &e) {
        // A value the file cannot carry, or a file that cannot be written:
        // the file on disk stays as it was, and the user is told.
        MsgBox(e.description(), vbInformation);
        return false;
    }
    history().setClean();
    return true;
}

bool frmAlter::saveToDataFile()
{
    // A row still open for typing is part of what the user saves.
    if (!commitPendingRow())
        return false;
    return writeModel(Files::pathFromBytes(ModMain.DataFile.text()));
}

void frmAlter::MnuSav_Click()
{
    saveToDataFile();
}

void frmAlter::MnuSavAs_Click()
{
    if (!commitPendingRow())
        return;
    dlg1.CancelError = true;
    dlg1.InitDir = DataFolder();
    dlg1.Filter = SaveFilter;
    dlg1.DefaultExt = QStringLiteral("kvx");
    try {
        dlg1.ShowSave();
    } catch (const PlatformError &e) {
        if (e.number() == ErrCancel)
            return;
        throw;
    }
    writeModel(dlg1.FileName);
}

void frmAlter::mnuEx_Click()
{
    switch (askToSave()) {
    case vbYes:
        MnuSavAs_Click();
        break;
    case vbNo:
        Unload();
        break;
    default:
        break;
    }
}

} // namespace kvx
