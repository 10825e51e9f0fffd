#pragma once

// The main window. Data flows one way: the model (ModMain) is read when the
// room plan is built (InitMe) and when a view opens; only Open and Refresh
// reload the model, and they rebuild the plan with Clear and InitMe.
//
// One class, its code split by concern:
//   frmswitch.cpp           life of the window, the settings file on close
//   frmswitch_controls.cpp  the controls as the window is designed
//   frmswitch_menus.cpp     the menu bar, Open, Refresh, Exit
//   frmswitch_roomplan.cpp  InitMe, Clear, PlaceRacks
//   frmswitch_scrolling.cpp the scroll bars and Form_Resize
//   frmswitch_ringview.cpp  the ring schematic, ring drawing and ring commands
//   frmswitch_rackview.cpp  the rack view: a rack's front, its doors and shelves
//   frmswitch_shelfview.cpp the shelf view: a shelf grown to full size with its cards
//   frmswitch_keyboard.cpp  every view reached with the keyboard, the status line
//   frmswitch_access.cpp    what a screen reader is told of the painted items
//   frmswitch_find.cpp      the find bar (findbar.h): names found, racks dimmed

#include "platform/commandbutton.h"
#include "platform/controlarray.h"
#include "platform/core/loose.h"
#include "platform/core/loosetable.h"
#include "platform/core/services.h"
#include "platform/form.h"
#include "platform/frame.h"
#include "platform/image.h"
#include "platform/label.h"
#include "platform/menu.h"
#include "platform/picturebox.h"
#include "platform/scrollbar.h"
#include "platform/shape.h"
#include "platform/singleform.h"
#include "platform/timer.h"

#include <array>
#include <vector>

class QAction;
class QLabel;

namespace kvx {

class FindBar;

class frmSwitch : public Form, public SingleForm<frmSwitch>
{
    Q_OBJECT

public:
    // The one main window, created and loaded at its first reference.
    static frmSwitch &get();
    // Creates the window's controls without loading it; the first get()
    // loads the form.
    static void build();
    // True once the form is loaded, not merely built.
    static bool isLoaded();

    void InitMe();
    // The MAS3 and MAS4 ring menus, enabled as far as the model has rings.
    void setRingMenus();
    // What Exchange > Configure opens: the editor, which lives in a layer
    // above the main window and is handed down by start-up.
    static void setEditorOpener(std::function<void()> open);
    void Clear(qint16 r, qint16 c);

    Menu *MnuExge = nullptr;
    Menu *MnuOpen = nullptr;
    Menu *MnuCon = nullptr;
    Menu *MnuExport = nullptr; // the view shown, to a file (exportview.cpp)
    Menu *MnuPrint = nullptr;
    Menu *MnuDash = nullptr;
    Menu *MnuEnd = nullptr;
    Menu *MnuView = nullptr;
    Menu *mnuRefresh = nullptr;
    Menu *MnuSwitch = nullptr;
    Menu *MnuRing = nullptr;
    Menu *MnuMIS = nullptr;
    Menu *MnuMAS1 = nullptr;
    Menu *MnuMAS2 = nullptr;
    Menu *MnuMAS3 = nullptr;
    Menu *MnuMAS4 = nullptr;
    Menu *MnuST = nullptr;
    std::array<Menu *, 6> MnuSlf{}; // 1..5
    Menu *MnuAbout = nullptr;
    Menu *MnuPrg = nullptr;
    Menu *MnuME = nullptr;

    // The room: a viewport, the plan inside it and its scroll bars.
    PictureBox *PicSwitch = nullptr;
    PictureBox *PicRoom = nullptr;
    HScrollBar *HScroll1 = nullptr;
    VScrollBar *VScroll1 = nullptr;
    ControlArray<Image> imgRack;
    ControlArray<Label> lblRack;
    ControlArray<Image> imgEF;
    ControlArray<Image> imgEFL;

    // The ring view, in the viewport in place of the plan.
    PictureBox *PicRing = nullptr;
    Label *lblRing = nullptr;
    ControlArray<Shape> shpRack;
    ControlArray<Label> lblRingRack;

    CommonDialog dlg1;

    // The rack and shelf views: InitMe sizes them; they open from the plan.
    Frame *frameRackBig = nullptr;
    Image *ImgRackBig = nullptr;
    Image *imgSMTRack = nullptr;   // picture source: front of UE and UD racks
    Image *imgOtherRack = nullptr; // picture source: front of the other racks
    Image *ImgD_C_L = nullptr;
    Image *ImgD_C_R = nullptr;
    Frame *frameLOpen = nullptr;
    Frame *FrameROpen = nullptr;
    Image *imgD_O_L = nullptr;
    Image *imgD_O_R = nullptr;
    ControlArray<Image> imgShelf; // 0..4
    Label *lblRackName = nullptr;

    PictureBox *picShelfBig = nullptr;
    CommandButton *cmdShelfEx = nullptr;
    Label *lblShelfName = nullptr;
    Label *LblLevel = nullptr;
    ControlArray<Image> imgCard;
    ControlArray<Label> lblCard;
    ControlArray<Image> imgCardType; // 0..13, picture sources
    ControlArray<Image> imgShelfBig; // 1: the shelf picture scaled by the screen factors
    Timer *TimShelfEnlarger = nullptr;

    std::array<Loose, 11> ShelfLevel; // 1..10
    Loose EFLCount;
    qint16 EFCount = 0;

    // The rack shown (its place in the grid) and the shelf grown from it.
    int SelShoot = 0;
    int SelPlace = 0;
    int SelShelf = 0;
    // The shelf animation's steps and tick counter; the cards it laid.
    double StepX = 0;
    double StepY = 0;
    int Tick = 0;
    int CardCount = 0;

    // The rack the keyboard is at in the room plan (an imgRack index), the
    // find bar, and the status line under the room (empty when hidden).
    int currentRack() const { return m_currentRack; }
    // Made on its first opening: its line edit costs start-up an icon.
    FindBar *findBar() const { return m_findBar; }
    bool findBarOpen() const;
    QString statusText() const;
    // The grown shelf view's height in design twips.
    static constexpr double FullShelfHeight = 4050;

protected:
    void Form_Load() override;
    void Form_Resize() override;
    bool Form_Unload() override;
    void wheelEvent(QWheelEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    friend class SingleForm<frmSwitch>;
    frmSwitch();
    void createMenus();
    void connectMenus();
    void createControls();
    void createRoomControls();
    void createRingControls();
    void createRackAndShelfHolders();
    void createRackViewHolders();
    void createShelfViewHolders();

    // Menus.
    void MnuOpen_Click();
    void mnuRefresh_Click();
    void MnuEnd_Click();
    void MnuCon_Click();
    void MnuPrg_Click();
    void MnuME_Click();
    bool rebuild();
    void writeSettings();

    // Room plan.
    void PlaceRacks(qint16 Racks, qint16 Shoots);
    void closeViewsOfOldPlan();

    // Rack view.
    void connectRackView();
    void giveRackViewPictures();
    void imgRack_Click(int Index);
    void PlaceRackFrame(int Index);
    void PlaceDoors();
    double doorTop() const;
    bool findSelectedRack(const QString &name);
    void ShowShelves(int Shoot, int Place, int n);
    bool isPowerRack() const;
    void refusePowerRack();
    static bool isUeOrUd(const QString &rackName);
    void ImgD_C_L_MouseDown(int Button, int Shift, double X, double Y);
    void ImgD_C_R_MouseDown(int Button, int Shift, double X, double Y);
    void imgD_O_L_MouseDown(int Button, int Shift, double X, double Y);
    void imgD_O_R_MouseDown(int Button, int Shift, double X, double Y);
    void PicRoom_Click();
    void PicRoom_KeyPress(int &KeyAscii);
    void closeRackView();

    // Shelf view.
    void connectShelfView();
    void giveShelfViewPictures();
    void imgShelf_Click(int Index);
    void StartShelfEnlarger();
    void TimShelfEnlarger_Timer();
    void ShowCards(int s);
    void layCard(int n, const Loose &Slot, const QString &Name, const Loose &Code);
    void showScaledShelf();
    void CloseShelfView();
    void picShelfBig_KeyPress(int &KeyAscii);
    void cmdShelfEx_Click();

    // Scrolling.
    void SetVScroll(PictureBox &Room);
    void SetHScroll(PictureBox &Room);
    void HScroll1_Change();
    void VScroll1_Change();
    void fitRoomToViewport();
    // Wheel turns not yet worth a step (a touchpad sends small ones).
    int m_wheelRest = 0;

    // Ring view.
    void BuildRingGrid();
    void fitRingNames(double width);
    void DrawRingLink(const Shape &A, const Shape &B, quint32 colour);
    void DrawRing(const LooseTable &L, quint32 colour);
    void ShowRingView();
    void ClearRingChecks();
    void showRing(const QString &title, const LooseTable &members, quint32 colour, Menu *item);
    void MnuMIS_Click();
    void MnuMAS1_Click();
    void MnuMAS2_Click();
    void MnuMAS3_Click();
    void MnuMAS4_Click();
    void lblRingRack_Click(int Index);
    void fillStationMenu(int Index);
    void MnuSwitch_Click();

    // Keyboard (frmswitch_keyboard.cpp). In the rack view the keyboard is at
    // a door or at a shelf (0..4).
    enum { LeftDoor = -2, RightDoor = -1 };
    struct RackPlace
    {
        int shoot;
        int place;
    };
    void connectKeyboard();
    void indexRacks();
    void keepCurrentRack(int Index);
    void cardsLaid();
    void PicRoom_KeyDown(int &KeyCode, int Shift);
    bool roomKey(int KeyCode);
    bool rackViewKey(int KeyCode, int Shift);
    void picShelfBig_KeyDown(int &KeyCode, int Shift);
    void PicRing_KeyDown(int &KeyCode, int Shift);
    void ringShown(int ring);
    int rackBeside(int Index, int step) const;
    int rackAcross(int Index, int step) const;
    void setCurrentRack(int Index, bool byKey);
    void scrollIntoView(const QRectF &roomTwips);
    void showRackViewItem(bool byKey);
    void pressDoor(int Button);
    void openShelf(int Index);
    void setCurrentCard(int n);
    std::vector<int> cardsInSlotOrder() const;
    void setStatusText(const QString &text);
    void placeBottomBars();
    std::vector<RackPlace> m_rackPlaces; // of imgRack(i) at [i - 1]
    std::vector<int> m_readingOrder;     // imgRack indexes, shoot by shoot, place by place
    int m_currentRack = 0;
    int m_rackItem = LeftDoor;
    int m_currentCard = 0;
    std::vector<int> m_ringMembers; // shpRack indexes of the ring drawn, in its order
    int m_currentMember = -1;
    QLabel *m_statusLine = nullptr;

    // Screen readers (frmswitch_access.cpp).
    void connectAccessibility();
    QString rackText(int Index) const;
    QString stationsText(const RackPlace &place) const;
    QString cardText(int n) const;
    bool viewPlaceOf(const QString &rackName, RackPlace &place) const;

    // Find (frmswitch_find.cpp): a stop is a rack, a station (shelf 1..5)
    // or a card (card 1..35 of that shelf).
    struct FindStop
    {
        int rack;
        int shelf;
        int card;
    };
    void connectFind();
    void createFindBar();
    void openFindBar();
    void closeFindBar();
    void findTextChanged(const QString &text);
    void findNext(int step);
    void goToStop(const FindStop &stop);
    void unmarkCard();
    FindBar *m_findBar = nullptr;
    std::array<QAction *, 2> m_findSteps{}; // F3, Shift+F3
    std::vector<FindStop> m_findStops;
    int m_findAt = -1;
    int m_pendingMark = 0; // the card to mark once the shelf's cards are laid
};

} // namespace kvx
