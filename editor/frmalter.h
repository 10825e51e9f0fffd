#pragma once

// The configuration editor. It works on the one model (ModMain) in place:
// every committed edit goes straight into the model, there is no working
// copy. Save and Save As hand the model to SaveExchange, which reads the
// ring tab through the RingControls interface this window registers while it
// is loaded. The main window is never redrawn from here; it shows the edits
// when it next reads the model. The other way round, it is the ModelEdits of
// model/modeledits.h: before the main window loads a file it asks whether to
// save the edits not yet saved, and after a load its undo stack is cleared
// and it is made anew on the new model, where it stood and on the tab shown.
//
// Every edit is one command on the undo stack (frmalter_undo.cpp), holding
// what its part of the model, or of the ring tab, was before and after. The
// stack outlives the window, as the edits in the model do; a load clears it
// and a save marks it clean.
//
// One class, one file per concern: window, menus and saving (frmalter.cpp),
// the room's name and size (frmalter_room.cpp), the room grid and the station
// boxes (frmalter_grid.cpp) and the grid's pop-up with rack insertion
// (frmalter_insert.cpp) of the "Major Change" tab, the card rows of the
// "Small Change" tab (frmalter_cards.cpp) and the "Ring Change" tab
// (frmalter_rings.cpp); undo and redo (frmalter_undo.cpp); Tab's order, the
// names a screen reader hears and the keys of the room grid and the colour
// swatches (frmalter_keys.cpp).

#include "model/exchangereader.h"
#include "model/exchangewriter.h"
#include "platform/checkbox.h"
#include "platform/controlarray.h"
#include "platform/core/services.h"
#include "platform/form.h"
#include "platform/frame.h"
#include "platform/label.h"
#include "platform/optionbutton.h"
#include "platform/singleform.h"
#include "platform/textbox.h"

#include <QPoint>

#include <functional>
#include <optional>
#include <vector>

class QUndoStack;

namespace kvx {

// The editor's mark on the chosen box of the room grid and the chosen card row.
inline constexpr quint32 HighlightColor = 0x87F411;

class ComboBox;
class CommandButton;
class HScrollBar;
class Image;
class ListBox;
class Menu;
class PictureBox;
class TabControl;
class VScrollBar;

// The part an edit changes, and where the editor shows it when the edit is
// undone or redone.
struct EditScope
{
    enum Kind { Site, Shelf, Stations, Place, Room, Colour, Ring } kind;
    int shoot = 0;
    int place = 0;
    int index = 0; // the shelf, the station box, or the ring (0 MIS, k MASk)
                   // of a member list, a tick or a colour
    int row = 0;   // the card row to select

    bool sameAs(const EditScope &other) const
    {
        return kind == other.kind && shoot == other.shoot && place == other.place && index == other.index;
    }
};

// What an edit's scope holds at one moment.
struct EditState
{
    std::vector<Loose> values;
    LooseTable racks;       // Room: RackName
    QString text;           // Ring: the members as typed
    int tick = 0;           // Ring: its check box
    quint32 color = 0;      // Place: its grid box's colour,
    quint32 savedColor = 0; // and the one it had before it turned green

    bool sameAs(const EditState &other) const;
};

class frmAlter : public Form, public RingControls, public SingleForm<frmAlter>
{
    Q_OBJECT

public:
    ~frmAlter() override;

    // Opens the editor: created and loaded when it is not, shown modeless,
    // brought forward when it is open already.
    static void showEditor();
    // The loaded editor, or nullptr.
    static frmAlter *loaded();
    // Makes the loaded editor anew on the model as it is now, at the same
    // place, size and tab; nothing of the window before survives.
    static void reload();

    // Whether an edit was made since the model was loaded or last saved
    // (the undo stack is not at its clean state), a card row still open for
    // typing included.
    bool hasUnsavedEdits() const;
    // Before the model is replaced: asks whether to save the edits not yet
    // saved, and saves them to the data file on Yes. False on Cancel, and
    // when the save failed or was refused.
    bool settleEdits();

    // The edits, undone and redone; they live as long as the model's edits.
    static QUndoStack &history();

    // What SaveExchange reads of the "Ring Change" tab.
    bool masTicked(int k) const override;
    QByteArray misText() const override;
    QByteArray masText(int k) const override;

    // The number of card rows shown.
    int cardRows() const { return CardRows; }

    // Menus
    Menu *mnuFile = nullptr;
    Menu *MnuSav = nullptr;
    Menu *MnuSavAs = nullptr;
    Menu *mnuSep = nullptr;
    Menu *mnuEx = nullptr;
    // The Edit menu of the menu bar.
    Menu *mnuEditBar = nullptr;
    Menu *mnuUndo = nullptr;
    Menu *mnuRedo = nullptr;
    Menu *mnuEdit = nullptr;
    Menu *mnuIns = nullptr;
    Menu *mnuRem = nullptr;

    TabControl *SSTab1 = nullptr;

    // "Small Change": rack and shelf
    ListBox *lstRackName = nullptr;
    Label *lblPosition = nullptr;
    Frame *frameStation = nullptr;
    ControlArray<OptionButton> optStation;

    // "Small Change": card rows, edit buttons and details
    Label *lblRowHeader = nullptr;
    PictureBox *pic = nullptr;
    Frame *frameHolder = nullptr;
    VScrollBar *VScroll = nullptr;
    ControlArray<TextBox> txtSlot;
    ControlArray<TextBox> txtCard;
    ControlArray<TextBox> txtType;
    Frame *frameEdit = nullptr;
    Label *lblSpy = nullptr;
    CommandButton *cmdAdd = nullptr;
    CommandButton *cmdInsert = nullptr;
    CommandButton *cmdDelete = nullptr;
    Frame *frameDetails = nullptr;
    Label *lblDetCard = nullptr;
    Label *lblDetslot = nullptr;
    Label *lblDetType = nullptr;
    Label *lbldetrack = nullptr;
    Label *lbldetshelf = nullptr;
    Label *lbldetrow = nullptr;
    Label *lbldetcol = nullptr;
    Image *imgmodel = nullptr;

    // "Major Change": the room's name and size
    Frame *frameRoom = nullptr;
    TextBox *txtSiteName = nullptr;
    ComboBox *cmbShoot = nullptr;
    ComboBox *cmbDeRack = nullptr;
    CommandButton *cmdUpdate = nullptr;

    // "Major Change": the room grid and the stations of the selected place
    PictureBox *Picture1 = nullptr;
    Frame *Frame6 = nullptr;
    ControlArray<Label> lblEdRack;
    HScrollBar *HScroll1 = nullptr;
    VScrollBar *VScroll1 = nullptr;
    Frame *Frame7 = nullptr;
    Label *Label8 = nullptr;
    ControlArray<TextBox> txtEdShelf;

    // "Ring Change"
    Frame *Frame5 = nullptr;
    CheckBox *chkMis = nullptr;
    TextBox *txtMis = nullptr;
    Label *clrMis = nullptr;
    ControlArray<Frame> frameMas;
    ControlArray<CheckBox> chkmas;
    ControlArray<TextBox> txtMas;
    ControlArray<Label> clrMas;

    CommonDialog dlg1;

private:
    friend class SingleForm<frmAlter>;
    frmAlter();
    // frmalter_keys.cpp: the order of Tab, names for screen readers, the
    // room grid's and the colour swatches' keys
    void arrangeKeyboard();
    void arrangeGridKeys();
    void arrangeSwatchKeys();
    void Frame6_KeyDown(int &KeyCode, int Shift);
    void setCurrentBox(int Index, bool byKey);

    // frmalter.cpp: window, rack and shelf choice, saving
    void createMenus();
    void createRackChoice(Container *tab);
    void placeBesideMainWindow();
    void Form_Load() override;
    bool Form_Unload() override;
    void lstRackName_Click();
    void ShowRack();
    void optStation_Click(int Index);
    void enableRackControls(bool enabled);
    void MnuSav_Click();
    void MnuSavAs_Click();
    void mnuEx_Click();
    bool saveToDataFile();
    bool writeModel(const QString &file);

    // frmalter_undo.cpp: the undo stack
    void createEditBar();
    void showHistory();
    void mnuUndo_Click();
    void mnuRedo_Click();
    bool eventFilter(QObject *watched, QEvent *event) override;
    EditState capture(const EditScope &scope) const;
    // Puts the model's part of a scope as it was.
    static void restoreModel(const EditScope &scope, const EditState &state);
    // Puts an edit on the stack: its scope as it was before and is now.
    void record(const EditScope &scope, const EditState &before, const QString &text, bool typing = false);
    // Puts a scope as it was, and shows it: the tab, the rack, shelf, place
    // or ring of the edit, the row or box selected.
    void applyEdit(const EditScope &scope, const EditState &state);
    void showShelf(const EditScope &scope);
    void showPlace(const EditScope &scope, const EditState &state);
    void showRing(int k, const EditState &state);
    friend class EditCommand;

    // frmalter_room.cpp: the "Major Change" tab
    void createRoomTab(Container *tab);
    void fillRoomSize();
    void txtSiteName_Change();
    void applyRoomSize(const EditState &state);
    void cmdUpdate_Click();

    // frmalter_grid.cpp: the room grid and the station boxes
    void createRoomGrid(Container *tab);
    void createStationBoxes(Container *tab);
    void BuildEditGrid(int shoots, int racks);
    void ClearEditGrid(int shoots, int racks);
    void HScroll1_Change();
    void VScroll1_Change();
    // A pop-up asked for by a key is shown at the box rather than the mouse.
    void lblEdRack_MouseDown(int Index, int Button, std::optional<QPoint> popupAt = {});
    void selectPlace(int Index);
    // The shoot and place of a box of the grid.
    static int boxShoot(int Index);
    static int boxPlace(int Index);
    void txtEdShelf_Change(int Index);
    void txtEdShelf_GotFocus(int Index);
    void txtEdShelf_LostFocus(int Index);
    void txtEdShelf_KeyDown(int Index, int KeyCode);
    void mnuRem_Click();

    // frmalter_insert.cpp: the grid's pop-up and rack insertion
    void createEditMenu();
    void InsertRack(const QString &name);
    bool writeTemplateFor(const QByteArray &name);
    void writeTemplate(const char *family);
    void WriteTemplateUE();
    void WriteTemplateUD();
    void WriteTemplateUC();
    void WriteTemplateXA();
    void WriteTemplateXA0();
    void WriteTemplateXB();
    void WriteTemplateCA();
    void WriteTemplateSDE();
    void ReadRackTemplate(int shoot, int place);

    // frmalter_cards.cpp: the card rows
    void createCardRows(Container *tab);
    void LoadRows(int Shelf);
    void ClearRows();
    void AppendRow();
    void MarkRow(int Row);
    void UnmarkRow(int Row);
    void ShowDetails(int Row);
    void ToggleRowEdit(int Row);
    // Store a row as typed, or refuse it with a message; false when refused.
    // Leaving: the row is being left by a click or key, which must finish
    // before a refusal is shown.
    bool commitRow(int Row, bool leaving = false);
    bool commitPendingRow();
    // A row open for typing whose texts differ from the model.
    bool rowPending() const;
    void createRow(int Row);
    void setRowTexts(int Row, const QString &slot, const QString &card, const QString &type);
    void setRowLocked(int Row, bool locked);
    void setRowColor(int Row, quint32 color);
    void clearEntries(int n);
    void endListAfter(int n);
    void recomputeScrollMax();
    void row_GotFocus(int Index);
    void row_LostFocus(int Index);
    void row_KeyDown(ControlArray<TextBox> &column, int Index, int KeyCode);
    void cmdAdd_Click();
    void cmdInsert_Click();
    void cmdDelete_Click();
    void VScroll_Change();
    int shelf() const { return DetStation + 1; }

    // frmalter_rings.cpp: the "Ring Change" tab
    void createRingTab(Container *tab);
    void fillRingRows();
    void fillRingColors();
    void clrMis_Click();
    void clrMas_Click(int Index);
    void ringEdited(int k, bool typing);

    // Rack and shelf choice
    int RackCount = 0;
    std::vector<int> ListShoot;
    std::vector<int> ListPlace;
    int DetShoot = 0;
    int DetPlace = 0;
    int DetStation = 0;

    // Room grid: the selected box (0 before the first selection and after a
    // rebuild), the place the station boxes edit, and the colour the
    // selected box had before it turned green.
    int EdSelIndex = 0;
    int EdShoot = 0;
    int EdPlace = 0;
    quint32 EdSavedColor = 0;
    // The private file an insertion writes its template to and reads back.
    int m_rackTemplateFile = 0;

    // Card rows
    int CardRows = 0;
    int CurRow = 0;
    int EditRow = 0;

    // Focus moves while rows are destroyed must not reach the row handlers.
    bool m_rowsChanging = false;
    bool m_unloaded = false;
    // While an edit is put back, or made of other edits: nothing is recorded.
    bool m_quiet = false;
    // The ring rows as last recorded, for the state before the next change.
    EditState m_ringShown[5];
    // The member lists as the model holds them, so that an untouched list is
    // written back with the very bytes it was read with.
    QByteArray m_loadedRing[5];
};

} // namespace kvx
