#pragma once

// The main window. Data flows one way: the model (ModMain) is read when the
// room plan is built (InitMe) and when a view opens; only Open and Refresh
// reload the model, and they rebuild the plan with Clear and InitMe.

#include "platform/form.h"
#include "platform/loose.h"
#include "platform/menu.h"
#include "platform/services.h"

#include <array>

namespace kvx {

class frmSwitch : public Form
{
    Q_OBJECT

public:
    // The one main window, created and loaded at its first reference.
    static frmSwitch &get();
    static bool isLoaded();
    // Destroys the window without its Unload handler (for a fresh start).
    static void discard();

    void InitMe();

    Menu *MnuExge = nullptr;
    Menu *MnuOpen = nullptr;
    Menu *MnuCon = nullptr;
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

    std::array<Loose, 11> ShelfLevel; // 1..10

private:
    frmSwitch();
    void createMenus();
    void Form_Load();
    void MnuEnd_Click();
};

} // namespace kvx
