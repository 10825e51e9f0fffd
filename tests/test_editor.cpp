// The configuration editor as a person uses it, on its real widgets, its dialogs answered by the hooks:
// tables of steps (act) and of what the editor, the model and the data file then show (observe).

#include "editorhelpers.h"

#include "art/art.h"
#include "model/racktemplates.h"
#include "platform/combobox.h"
#include "platform/commandbutton.h"
#include "platform/image.h"
#include "platform/picturebox.h"
#include "platform/scrollbar.h"

#include <QAccessible>
#include <QClipboard>
#include <QMessageBox>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QScreen>
#include <QTimer>

using namespace kvx;

namespace {

constexpr quint32 Green = 0x87F411;
const QString FiveRows = QStringLiteral("5:C1:0 9:C2:1 13:C3:2 17:C4:3 21:C5:4");
QString g_temp;       // the temporary folder of a table row
QList<int> g_answers; // to the next message boxes of a table row

template<typename Each>
QStringList listOf(int first, int last, Each each)
{
    QStringList out;
    for (int n = first; n <= last; ++n)
        out << each(n);
    return out;
}

ControlArray<TextBox> &column(frmAlter *f, int c)
{
    return c == 0 ? f->txtSlot : c == 1 ? f->txtCard : f->txtType;
}

// Shoot and place of grid box i + 1.
QPoint placeOf(int i)
{
    return QPoint(i / ModMain.racks() + 1, i % ModMain.racks() + 1);
}

// The card rows, "slot:name:type", as shown; or as the model holds them for
// the rack and shelf shown, with the entry behind the last row.
QStringList rows(frmAlter *f, bool model = false)
{
    const QStringList at = f->lblPosition->Caption().split(" X ");
    int k = 0;
    while (k < 4 && !f->optStation(k).Value())
        ++k;
    return listOf(1, std::min(f->cardRows() + int(model), int(CardsPerShelf)), [&](int n) {
        return listOf(0, 2, [&](int c) {
            const LooseTable &t = c == 0 ? ModMain.SlotNo : c == 1 ? ModMain.CardName : ModMain.CardType;
            return model ? t(at[0].toInt(), at[1].toInt(), k + 1, n).str() : column(f, c)(n).Text();
        }).join(':');
    });
}

// The station boxes, "*" marking a green one and "~" one open for typing.
QString stationsShown(frmAlter *f)
{
    return listOf(0, 4, [f](int k) {
        const TextBox &box = f->txtEdShelf(k);
        return box.Text() + (box.BackColor() == Green ? "*" : "") + (box.Locked() ? "" : "~");
    }).join(',');
}

// The grid's boxes: G green, W white, n a rack's own colour, . an empty place's.
QString gridColours(frmAlter *f)
{
    return listOf(1, f->lblEdRack.count() - 1, [f](int i) {
        const quint32 c = f->lblEdRack(i).BackColor();
        return QString(c == Green ? "G" : c == ColorWhite ? "W" : c == SysWindowBackground ? "n"
                                                                 : c == f->Frame6->BackColor() ? "." : "?");
    }).join("");
}

// The five ring tables exactly as held: "unsized", or every entry, a number
// marked with "#" and an empty entry shown as "~".
QStringList ringTables(const Exchange &x)
{
    return listOf(0, 4, [&](int k) {
        const LooseTable &ring = x.ring(k);
        return !ring.isSized() ? QStringLiteral("unsized") : listOf(1, ring.bound(0), [&](int n) {
            return ring(n).isEmpty() ? QStringLiteral("~") : (ring(n).isNumber() ? "#" : "") + ring(n).str();
        }).join(',');
    });
}

// The stations and the cards of each shelf at a place: "SMC,SMT,,,|5:C1 9:C2|...".
QString placeContents(const Exchange &x, int s, int p)
{
    return listOf(1, 5, [&](int k) { return x.StationName(s, p, k).str(); }).join(',') + '|'
           + listOf(1, 5, [&](int k) { return test::shelfOf(x, s, p, k); }).join('|');
}

QString templateContents(const RackTemplate &t)
{
    return listOf(0, 4, [&](int k) { return QString::fromLatin1(t.stations[size_t(k)]); }).join(',') + '|'
           + listOf(0, 4, [&](int k) {
                 QStringList cards;
                 for (const TemplateCard &card : t.shelves[size_t(k)])
                     cards << QStringLiteral("%1:%2").arg(card.slot).arg(QLatin1String(card.name));
                 return cards.join(' ');
             }).join('|');
}

QStringList folderEntries(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
}

// Steps separated by blanks ("_" a blank in typed text): S2, C2, T2 click row 2's slot, name, type box, st2 station
// box 2, site, mis, mas2 the site name and ring members, tick3 a MAS box, box5 a grid box (2C2 double-clicks); "=text"
// types over the focused box, ">text" types, "+text" pastes; Up, Down, Left, Right, Home, End, Return, Space, Tab, BTab, Menu
// and S-F10 (Shift+F10) press a key, Menu:Insert/UE/UE-05 choosing from the pop-up; pick:00FF00 answers the colour dialog; rack1 (from 0), shelf3 pressed and let go,
// tab2 (from 0); size2x10 picks a room size and clicks Update, right the grid bar's arrow; menu5 right-clicks box 5,
// menu5:Remove chooses, ins2:UE-05 inserts a rack there, temp gives the temporary folder back; colour2 cancels MAS2's
// colour dialog (colour0 MIS's), colour2:00FF00 chooses; answer:7 and as:new.kvx answer the next message box and file
// dialog; Add, Insert, Delete, Save, Exit, Undo, Redo, close, open; ^Z, ^Y, ^+Z press Ctrl(+Shift)+Z or Y.
void act(test::EditorSession &session, frmAlter *&f, const QString &steps)
{
    const QMap<QString, QKeyCombination> keys = {{"Up", Qt::Key_Up}, {"Down", Qt::Key_Down}, {"Left", Qt::Key_Left}, {"Right", Qt::Key_Right},
        {"Home", Qt::Key_Home}, {"End", Qt::Key_End}, {"Return", Qt::Key_Return}, {"Space", Qt::Key_Space}, {"Tab", Qt::Key_Tab},
        {"BTab", Qt::Key_Backtab}, {"Menu", Qt::Key_Menu}, {"S-F10", Qt::ShiftModifier | Qt::Key_F10}};
    for (QString step : steps.split(' ', Qt::SkipEmptyParts)) {
        step.replace('_', ' ');
        QWidget *focus = QApplication::focusWidget();
        const QString name = step.mid(step.startsWith('2'));
        const int n = QRegularExpression("\\d+").match(name).captured().toInt();
        const int c = QString("SCT").indexOf(name[0]);
        QWidget *box = name.startsWith("tick") ? &f->chkmas(n) : nullptr;
        box = name.startsWith("st") ? &f->txtEdShelf(n - 1) : name.startsWith("mas") ? &f->txtMas(n) : box;
        box = name == "site" ? f->txtSiteName : name == "mis" ? f->txtMis : box;
        box = c >= 0 && name.size() > 1 && name[1].isDigit() ? &column(f, c)(n) : box;
        if (box) {
            step.startsWith('2') ? test::doubleClick(box) : test::click(box);
        } else if (step[0] == '=') {
            test::typeOver(focus, step.mid(1));
        } else if (step[0] == '>' || step[0] == '+') {
            QApplication::clipboard()->setText(step.mid(1));
            step[0] == '>' ? QTest::keyClicks(focus, step.mid(1)) : QTest::keyClick(focus, Qt::Key_V, Qt::ControlModifier);
        } else if (keys.contains(step.section(':', 0, 0))) {
            test::PopupChooser chooser(step.section(':', 1).split('/', Qt::SkipEmptyParts));
            const QKeyCombination key = keys[step.section(':', 0, 0)];
            QTest::keyClick(focus, key.key(), key.keyboardModifiers());
        } else if (step.startsWith("pick:")) {
            session.hooks.setNextColor(step.mid(5).toUInt(nullptr, 16));
        } else if (step.startsWith("rack") || step.startsWith("tab") || step.startsWith("box")) {
            step[0] == 'r' ? test::chooseRack(f->lstRackName, n) : step[0] == 't' ? f->SSTab1->setTab(n) : test::pressBox(f, n);
        } else if (step.startsWith("size")) {
            for (ComboBox *list : {f->cmbShoot, f->cmbDeRack}) {
                const int count = step.mid(4).section('x', list == f->cmbDeRack, list == f->cmbDeRack).toInt();
                for (int k = list->ListIndex() + 1; k != count; k += count > k ? 1 : -1)
                    QTest::keyClick(list, count > k ? Qt::Key_Down : Qt::Key_Up);
            }
            test::click(f->cmdUpdate);
        } else if (step.startsWith("ins")) {
            test::insertAt(f, n, step.section(':', 1));
        } else if (step.startsWith("answer") || step.startsWith("as:")) {
            if (step[1] == 'n') // for the hooks' message boxes and the real ones of a table row
                session.hooks.setNextAnswer(n), g_answers.append(n);
            else
                session.hooks.setNextFile(session.path(step.mid(3)));
        } else if (step == "open") {
            QVERIFY((f = session.open()));
        } else if (step == "temp") {
            qputenv("TMPDIR", QFile::encodeName(g_temp));
        } else if (step == "right") {
            test::click(f->HScroll1, QPoint(f->HScroll1->width() - 3, f->HScroll1->height() / 2));
        } else if (step.startsWith("shelf")) {
            // A row refused as it is left is told only once the button is let go.
            OptionButton &option = f->optStation(n - 1);
            const qsizetype told = session.hooks.messages.size();
            QTest::mousePress(&option, Qt::LeftButton, {}, QPoint(6, option.height() / 2));
            QVERIFY2(session.hooks.messages.size() == told, "told while the button is held down");
            QTest::mouseRelease(&option, Qt::LeftButton, {}, QPoint(6, option.height() / 2));
        } else if (step.startsWith("menu")) {
            setPopupMenuHook([choice = step.section(':', 1)](Menu *menu) {
                for (Menu *item : menu->items()) {
                    if (item->Caption() == choice)
                        item->trigger();
                }
            });
            test::pressBox(f, n, Qt::RightButton);
            setPopupMenuHook({});
        } else if (step.startsWith("colour")) {
            if (step.contains(':'))
                session.hooks.setNextColor(step.section(':', 1).toUInt(nullptr, 16));
            n ? test::clickItem(&f->frameMas(n == 1 ? 0 : n), f->clrMas(n)) : test::clickItem(f->Frame5, *f->clrMis);
        } else if (step[0] == '^') {
            QTest::keyClick(focus ? focus : f, step.endsWith('Z') ? Qt::Key_Z : Qt::Key_Y, Qt::ControlModifier | (step[1] == '+' ? Qt::ShiftModifier : Qt::NoModifier));
        } else {
            const QMap<QString, QWidget *> buttons = {{"Add", f->cmdAdd}, {"Insert", f->cmdInsert}, {"Delete", f->cmdDelete}};
            const QMap<QString, Menu *> menus = {{"Save", f->MnuSav}, {"Exit", f->mnuEx}, {"Undo", f->mnuUndo}, {"Redo", f->mnuRedo}};
            QVERIFY2(buttons.contains(step) || menus.contains(step) || step == "close", qPrintable(step));
            if (step == "close")
                f->close();
            else
                buttons.contains(step) ? test::click(buttons[step]) : menus[step]->trigger();
        }
    }
}

// What the editor shows or the files hold: rows, count, current (rows green:current row), open (for typing),
// focus, at, details (# the picture), shelves, stations, colours, grid (its captions), cards (on each shelf 5),
// bars (value/max), seen (the grid's ends fully in view), view (rows in view), told, saved (shelf 1 at 1, 1),
// lines (the file's header and grid), old (the size before), asked (file dialogs), files, window, site, rings,
// records (the file's ring count and records), in:file, place2 and ring3 (below).
QString observe(test::EditorSession &session, frmAlter *f, const QString &key)
{
    const auto focus = [f] {
        QMap<const QWidget *, QString> names;
        for (int n = 3; n < 3 * f->cardRows() + 3; ++n)
            names[&column(f, n % 3)(n / 3)] = QString("SCT"[n % 3]) + QString::number(n / 3);
        for (int k = 1; k <= 5; ++k) {
            names[&f->txtEdShelf(k - 1)] = "st" + QString::number(k);
            names[&f->optStation(k - 1)] = "shelf" + QString::number(k);
        }
        return names.value(QApplication::focusWidget());
    };
    const auto rowsWhere = [f](auto is) {
        return listOf(1, f->cardRows(), [&](int n) { return is(n) ? QString::number(n) : QString(); })
            .filter(QRegularExpression("."))
            .join(',');
    };
    const auto details = [f] {
        QStringList shown;
        for (const Label *label :
             {f->lblDetCard, f->lblDetslot, f->lblDetType, f->lbldetrack, f->lbldetshelf, f->lbldetrow, f->lbldetcol})
            shown << label->Caption();
        const Picture &picture = f->imgmodel->Picture();
        const QString code =
            listOf(0, Art::CardCodes - 1, [&](int c) { return picture == Art::card(c) ? QString::number(c) : QString(); }).join("");
        return shown.join('/') + "/#" + (code.isEmpty() ? "none" : code);
    };
    const auto bar = [](const ScrollBar *b) {
        return b->isEnabled() ? QStringLiteral("%1/%2").arg(b->Value()).arg(b->Max()) : QStringLiteral("-");
    };
    const int places = ModMain.shoots() * ModMain.racks();
    const auto seen = [f](int i) {
        const Label &b = f->lblEdRack(i);
        const QRectF at(b.Left() + f->Frame6->Left(), b.Top() + f->Frame6->Top(), b.Width(), b.Height());
        return QRectF(0, 0, f->Picture1->Width(), f->Picture1->Height()).contains(at);
    };
    const auto inView = [f](int n) {
        const double middle = f->txtCard(n).Top() + f->txtCard(n).Height() / 2 + f->frameHolder->Top();
        return middle > 0 && middle < f->pic->Height();
    };
    const auto fileLines = [&session] { return QString::fromLatin1(test::readFile(session.dataFile)).split("\r\n"); };
    QMap<QString, std::function<QString()>> keys = {
        {"rows", [f] { return rows(f).join(' '); }},
        {"count", [f] { return QString::number(f->cardRows()); }},
        {"current", [&] { return rowsWhere([f](int n) { return f->txtCard(n).BackColor() == Green; }) + ':' + f->lblSpy->Caption(); }},
        {"open", [&] { return rowsWhere([f](int n) { return !f->txtSlot(n).Locked(); }); }},
        {"focus", focus},
        {"at", [f] { // where the focus is, as a screen reader hears it, "framed" when the frame shows it, "+X" framed elsewhere
             QWidget *at = QApplication::focusWidget();
             QAccessibleInterface *widget = QAccessible::queryAccessibleInterface(at), *item = widget->focusChild();
             const auto *holder = qobject_cast<Container *>(at);
             QString name = at->accessibleName().isEmpty() ? widget->text(QAccessible::Name) : at->accessibleName();
             if (holder && holder->currentItem() && item)
                 name = item->text(QAccessible::Name) + (holder->focusFrameShown() ? " framed" : "");
             for (const Container *other : f->findChildren<Container *>())
                 name += other != at && other->focusFrameShown() ? " +" + other->accessibleName() : "";
             return name;
         }},
        {"details", details},
        {"shelves", [f] {
             return listOf(0, 4, [f](int k) { return f->optStation(k).Caption(); }).join(',') + " at " + f->lblPosition->Caption();
         }},
        {"stations", [f] { return stationsShown(f); }},
        {"colours", [f] { return gridColours(f); }},
        {"grid", [f] { return listOf(1, f->lblEdRack.count() - 1, [f](int i) { return f->lblEdRack(i).Caption(); }).join(','); }},
        {"cards", [&] {
             const auto cards = [](int i) { return test::shelfOf(ModMain, placeOf(i).x(), placeOf(i).y(), 5).count(':'); };
             return listOf(0, places - 1, [&](int i) { return QString::number(cards(i)); }).join(',');
         }},
        {"bars", [&] { return bar(f->HScroll1) + ' ' + bar(f->VScroll1) + ' ' + bar(f->VScroll); }},
        {"seen", [&] { return QStringList({seen(1) ? "first" : "", seen(places) ? "last" : ""}).join(' ').trimmed(); }},
        {"view", [&] { return rowsWhere(inView).section(',', 0, 0) + '-' + rowsWhere(inView).section(',', -1); }},
        {"told", [&] {
             QStringList told;
             for (const MsgBoxCall &call : session.hooks.messages)
                 told << call.text + (call.style == vbInformation ? QString() : QStringLiteral(" (%1)").arg(call.style));
             // The temporary folder reads "~", the random part of a scratch file's name XXXXXX.
             const QString temp = g_temp.isEmpty() ? "\n" : g_temp;
             return told.join(" / ").replace(temp, "~").replace(QRegularExpression("kvx-\\w{6}"), "kvx-XXXXXX");
         }},
        {"saved", [&] { return test::shelfOf(*test::readBack(session.dataFile), 1, 1, 1); }},
        {"lines", [&] { return fileLines().mid(0, fileLines()[0].section(',', 1, 1).toInt() + 1).join('|'); }},
        {"old", [] { return ModMain.OldNoOfShoots.str() + 'x' + ModMain.OldNoOfRacks.str(); }},
        {"asked", [&] { return QString::number(session.hooks.fileRequests.size()); }},
        {"files", [&] { return folderEntries(session.path(QString())).join(' '); }},
        {"window", [f] {
             const bool open = frmAlter::loaded() == f && f->isVisible() && ringControls() == f;
             return open ? "open" : f->txtSlot.exists(1) ? "hidden" : "closed";
         }},
        {"site", [f] { return f->txtSiteName->Text(); }},
        {"tab", [f] { return QString::number(f->SSTab1->Tab()); }},
        {"rings", [f] {
             return listOf(0, 4, [f](int k) {
                 return QStringLiteral("%1 %2 %3")
                     .arg(k ? f->chkmas(k).Value() : f->chkMis->Value())
                     .arg((k ? &f->txtMas(k) : f->txtMis)->Text())
                     .arg((k ? &f->clrMas(k) : f->clrMis)->BackColor(), 0, 16);
             }).join('|');
         }},
        {"records", [&] {
             const QStringList lines = fileLines();
             return (QStringList({lines[0].section(',', 3)}) + lines.filter(QRegularExpression("^(MIS|MAS\\d)$"))).join(' ');
         }},
    };
    // place2: the name at grid box 2, then "from its template", "as loaded" or what the place holds.
    for (int i = 0; i < places; ++i) {
        keys["place" + QString::number(i + 1)] = [&session, i] {
            const QPoint at = placeOf(i);
            const QString name = ModMain.RackName(at.x(), at.y()).str(), now = placeContents(ModMain, at.x(), at.y());
            const RackTemplate *t = templateForRackName(name.toUtf8());
            return name + (t && now == templateContents(*t) ? " from its template"
                           : now == placeContents(*test::readBack(session.dataFile), at.x(), at.y()) ? " as loaded"
                                                                                                     : ' ' + now);
        };
    }
    for (int k = 0; k <= 4; ++k) // the model's ring tables as far as their ends
        keys["ring" + QString::number(k)] = [k] { return ringTables(ModMain)[k].section('*', 0, 0) + '*'; };
    if (key.startsWith("in:")) // whether a file holds the model as it is
        return test::readFile(session.path(key.mid(3))) == test::fileOf(ModMain) ? "the model" : "not the model";
    return keys.contains(key) ? keys[key]() : "no such key: " + key;
}

// Compares what is observed with what a table row expects, "key=value" pairs
// separated by "; ". Nothing is to be told unless the row says so; a refusal
// told once the click or key that left a row is done may still come.
void expectState(test::EditorSession &session, frmAlter *f, const QString &expect)
{
    QMap<QString, QString> wanted = {{"told", QString()}};
    for (const QString &pair : expect.split("; ", Qt::SkipEmptyParts))
        wanted[pair.section('=', 0, 0)] = pair.section('=', 1);
    QTRY_COMPARE(observe(session, f, "told"), wanted["told"]);
    for (auto it = wanted.cbegin(); it != wanted.cend(); ++it)
        QCOMPARE(observe(session, f, it.key()), it.value());
}

} // namespace

class TestEditor : public QObject
{
    Q_OBJECT

private slots:
    void opening();
    void saving_data();
    void saving();
    void untouchedBytesSurvive_data();
    void untouchedBytesSurvive();
    void rings_data();
    void rings();
    void editing_data();
    void editing();
    void undoing_data();
    void undoing();
    void insertSaveRefreshInProcess();
    void keyboard_data();
    void keyboard();
};

void TestEditor::opening()
{
    test::EditorSession session;
    Exchange x = test::testRoom();
    QVERIFY(session.load(test::fileOf(x)));
    frmSwitch &main = frmSwitch::get();
    main.Show();
    QVERIFY(QTest::qWaitForWindowExposed(&main));
    frmAlter *f = session.open();
    QVERIFY(f && !f->hasUnsavedEdits());
    // On the main window's right, as far as the screen allows.
    const QRect screen = f->screen()->availableGeometry();
    QVERIFY(screen.contains(f->geometry()) && f->y() > main.y());
    QVERIFY(f->geometry().right() >= std::min(main.frameGeometry().right(), screen.right()) - 16);
    QVERIFY(f->txtSiteName->Text() == "TEST SITE" && f->cmbShoot->Text() == "2" && f->cmbDeRack->Text() == "3");
    QCOMPARE(listOf(0, 4, [f](int i) { return f->lstRackName->List(i); }).join(','), QString("UC-01,UD-02,XA0,UC-01,SDE-01"));
    // Shown again it is not loaded again: the typed list and the chosen rack are as they were.
    act(session, f, "rack1 tab2 mas1 >,XA0");
    f->hide();
    QVERIFY(session.open() && f->txtMas(1).Text() == "UC-01,XA0" && f->lstRackName->ListIndex() == 1);
    // Without racks there is no shelf to edit; the rest of the window works.
    frmAlter::discard();
    x.RackName.redim({2, 3});
    QVERIFY((f = session.open(x)) && f->lstRackName->ListCount() == 0);
    QVERIFY(!f->cmdAdd->Enabled() && !f->cmdInsert->Enabled() && !f->cmdDelete->Enabled());
    f->MnuSav->trigger();
    QVERIFY(session.hooks.messages.isEmpty() && test::readBack(session.dataFile));
    // Bigger than the size lists offer: Update keeps its size.
    frmAlter::discard();
    QVERIFY(session.load(test::roomFile(test::fullRoom(20, 16))) && (f = session.open()));
    act(session, f, "tab1 size20x16");
    QVERIFY(ModMain.NoOfShoots == 20 && ModMain.NoOfRacks == 16 && ModMain.RackName(20, 16) == "R2016");
}

void TestEditor::saving_data()
{
    QTest::addColumn<bool>("saveAs");
    QTest::addColumn<QString>("target"); // relative to the program folder; empty: the data file
    QTest::addColumn<int>("names");      // typed into MAS1; 0: none
    QTest::addColumn<QString>("told");   // in the message; empty: saved
    QTest::newRow("Save, folder gone") << false << "gone/room.kvx" << 0 << "Cannot write file ";
    QTest::newRow("Save As, folder gone") << true << "gone/new.kvx" << 0 << "Cannot write file ";
    QTest::newRow("Save As, a folder") << true << "folder" << 0 << "Cannot write file ";
    QTest::newRow("Save, disk full") << false << "disk/room.kvx" << 0 << "No space left on device";
    QTest::newRow("Save, 15 ring members") << false << "" << 15 << "MAS1";
    QTest::newRow("Save As, 15 ring members") << true << "new.kvx" << 15 << "MAS1";
    // Fourteen names are the most a file holds, and they are written.
    QTest::newRow("Save, 14 ring members") << false << "" << 14 << "";
    QTest::newRow("Save As, 14 ring members, then Save") << true << "new.kvx" << 14 << "";
}

void TestEditor::saving()
{
    QFETCH(bool, saveAs);
    QFETCH(QString, target);
    QFETCH(int, names);
    QFETCH(QString, told);
    test::EditorSession session;
    QVERIFY(QDir().mkpath(session.path("folder")) && QDir().mkpath(session.path("disk")));
    std::optional<test::TinyDisk> disk;
    if (target.startsWith("disk/")) {
        disk.emplace(session.path("disk"));
        if (!disk->mounted())
            QSKIP("cannot mount a tmpfs here");
        session.dataFile = session.path(target);
    }
    frmAlter *f = session.open(test::testRoom(), 2);
    QVERIFY(f && (!disk || disk->fill()));
    const QString typed = listOf(1, names, [](int n) { return QStringLiteral("R%1,").arg(n); }).join("") + '*';
    act(session, f, names ? "mas1 =" + typed.chopped(2) : QString());
    const QByteArray before = test::readFile(session.dataFile);
    const QString path = target.isEmpty() ? session.dataFile : session.path(target);
    session.hooks.setNextFile(path);
    if (!saveAs)
        ModMain.DataFile = Files::bytesFromPath(path);
    (saveAs ? f->MnuSavAs : f->MnuSav)->trigger();
    QVERIFY(frmAlter::loaded() == f && session.hooks.fileRequests.size() == int(saveAs));
    const auto membersIn = [](const QString &file) { return ringTables(*test::readBack(file))[1]; };
    if (told.isEmpty()) {
        QVERIFY(session.hooks.messages.isEmpty() && !f->hasUnsavedEdits() && membersIn(path) == typed);
        if (!saveAs)
            return;
        // Save then writes the file the exchange was loaded from, not the one chosen last.
        QVERIFY(test::readFile(session.dataFile) == before && QFile::remove(path));
        f->MnuSav->trigger();
        QVERIFY(!QFile::exists(path) && membersIn(session.dataFile) == typed);
        return;
    }
    const QString shown = observe(session, f, "told");
    QVERIFY2(shown.contains(told) && session.hooks.messages.size() == 1, qPrintable(shown));
    QVERIFY(names || (shown.startsWith("Cannot write file " + QDir::toNativeSeparators(path) + ": ") && !shown.endsWith(": ")));
    // What stood on disk stays as it was, and the edits are still to be saved.
    QVERIFY(test::readFile(session.dataFile) == before && !QFile::exists(session.path("new.kvx")));
    QCOMPARE(f->hasUnsavedEdits(), names > 0);
}

void TestEditor::untouchedBytesSurvive_data()
{
    QTest::addColumn<bool>("sample"); // else names that are not UTF-8, as an older file may hold them
    QTest::newRow("the sample") << true;
    QTest::newRow("names not UTF-8") << false;
}

void TestEditor::untouchedBytesSurvive()
{
    QFETCH(bool, sample);
    Exchange x = test::testRoom();
    x.SiteName = Loose("CENTRAL \xC9" "CHANGE");
    x.CardName.set(Loose("C\xE9" "1"), 1, 1, 1, 1);
    test::putRing(x.Mas1Ring, {"UC-01", "\xC9X"});
    test::EditorSession session;
    QVERIFY(session.load(sample ? test::readFile(QFINDTESTDATA("../app/config.kvx")) : test::fileOf(x)));
    frmAlter *f = session.open();
    QVERIFY(f && (sample || f->txtCard(1).Text() == QString::fromUtf8("C\u00e91")));
    const QStringList racks = listOf(0, f->lstRackName->ListCount() - 1, [f](int i) { return f->lstRackName->List(i); });
    // Opened on a rack with cards, looked at and left as they were; the sample's tabs to PNGs for the README.
    act(session, f, QStringLiteral("rack%1 2C1 C2").arg(racks.indexOf("UC-01")));
    for (const QString tab : {"0 C2 small", "1 site major", "2 mas1 ring"}) {
        act(session, f, "tab" + tab.section(' ', 0, 1));
        QVERIFY(!sample || f->grab().save(test::screenshotFolder() + "/editor-" + tab.section(' ', 2) + "-change.png", nullptr, test::ShotQuality));
    }
    // Saved as another file: the bytes the writer makes of the file as read.
    session.hooks.setNextFile(session.path("copy.kvx"));
    f->MnuSavAs->trigger();
    const QByteArray normalized = test::fileOf(*test::readBack(session.dataFile));
    QVERIFY(session.hooks.messages.isEmpty() && (sample || normalized == test::readFile(session.dataFile)));
    QCOMPARE(test::readFile(session.path("copy.kvx")), normalized);
}

void TestEditor::rings_data()
{
    QTest::addColumn<int>("noOfMas");
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QString>("expect");   // after the save
    QTest::addColumn<QString>("reopened"); // the rings shown when the editor is opened again
    const QString fixed = "1 UC-01,UD-02 ff|1 UC-01 10000|1 XA0 20000|", mas3 = "1 UC-01,UD-03 0";
    const QString three = "records=3 MIS MAS1 MAS2 MAS3", typed = "tick3 mas3 >UC-01,UD-03";
    QTest::newRow("tick MAS3") << 2 << typed << three + "; ring3=UC-01,UD-03,*" << fixed + mas3 + "|0  0";
    // An untyped ring gets one empty member before the end of the list.
    QTest::newRow("tick MAS3, no members") << 2 << "tick3" << three + "; ring3=~,*" << fixed + "1  0|0  0";
    QTest::newRow("three, untouched") << 3 << "" << three << fixed + "1 UD-02,XA0 30000|0  0";
    QTest::newRow("clear MAS4") << 4 << "tick4" << three << fixed + "1 UD-02,XA0 30000|0  40000";
    QTest::newRow("MAS4 alone") << 2 << "tick4 mas4 >UC-01,UD-04" << "records=2 MIS MAS1 MAS2 MAS4" << fixed + "0  0|0  0";
    QTest::newRow("clear both") << 4 << "tick3 tick4" << "records=2 MIS MAS1 MAS2" << fixed + "0  30000|0  40000";
    QTest::newRow("tick both") << 2 << typed + " tick4 mas4 >UC-01,UD-04" << "records=4 MIS MAS1 MAS2 MAS3 MAS4"
                               << fixed + mas3 + "|1 UC-01,UD-04 0";
    // Line ends are refused, pasted first or later; blanks around names are dropped, a number is read as one.
    QTest::newRow("tick MAS3, new MIS members") << 2 << "mis = +\r\n_XA0_,_12_,\r\nUC-01 " + typed << three + "; ring0=XA0,#12,UC-01,*"
                                                << QString(fixed).replace("UC-01,UD-02", "XA0,12,UC-01") + mas3 + "|0  0";
    QTest::newRow("clear MAS4, new MIS members") << 4 << "mis = +SDE-01 tick4" << three + "; ring0=SDE-01,*"
                                                 << QString(fixed).replace("UC-01,UD-02", "SDE-01") + "1 UD-02,XA0 30000|0  40000";
}

void TestEditor::rings()
{
    QFETCH(int, noOfMas);
    QFETCH(QString, steps);
    QFETCH(QString, expect);
    QFETCH(QString, reopened);
    test::EditorSession session;
    frmAlter *f = session.open(test::testRoom(noOfMas), 2);
    QVERIFY(f);
    // As loaded; MIS, MAS1 and MAS2 are always ticked, a click does not clear them.
    act(session, f, "tick2");
    const QString loaded[] = {"0  0|0  0", "1 UD-02,XA0 30000|0  0", "1 UD-02,XA0 30000|1 SDE-01 40000"};
    QCOMPARE(observe(session, f, "rings"), "1 UC-01,UD-02 ff|1 UC-01 10000|1 XA0 20000|" + loaded[noOfMas - 2]);
    QVERIFY(frmSwitch::get().MnuMAS3->Enabled() == (noOfMas >= 3) && frmSwitch::get().MnuMAS4->Enabled() == (noOfMas >= 4));
    // Typed lists enter the model only when they are saved, as reading the file gives them.
    const QStringList before = ringTables(ModMain);
    act(session, f, steps);
    QCOMPARE(ringTables(ModMain), before);
    act(session, f, "Save");
    expectState(session, f, expect);
    const auto back = test::readBack(session.dataFile);
    QVERIFY(back && ringTables(ModMain) == ringTables(*back) && ModMain.NoOfMas.str() == back->NoOfMas.str());
    // Closed and opened again, the editor shows them, and saved again they stay.
    act(session, f, "answer:7 Exit open");
    QCOMPARE(observe(session, f, "rings"), reopened);
    act(session, f, "Save");
    QVERIFY(session.hooks.messages.size() == 1 && ringTables(*test::readBack(session.dataFile)) == ringTables(*back));
}

void TestEditor::editing_data()
{
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QString>("expect");
    // The rack and shelf: the second of two racks with one name shows its own
    // place; the shelf stays chosen from rack to rack; an empty shelf keeps the focus.
    QTest::newRow("as opened") << "" << "shelves=SMC,SMT,SMA,, at 1 X 1; rows=" + FiveRows;
    QTest::newRow("second UC-01") << "rack3" << "shelves=SMM,SMT,SMA,, at 2 X 2; rows=40:G1:11";
    QTest::newRow("shelf 3 of UD-02") << "shelf3 rack1" << "shelves=SMX,SMX,SMXC,SMX,SMX at 1 X 3; rows=7:F1:9 8:F2:10; focus=";
    QTest::newRow("a shelf takes the focus to its first card") << "shelf3" << "focus=C1";
    QTest::newRow("an empty shelf") << "rack1 shelf4" << "count=0; focus=shelf4";
    // Add, Insert and Delete; rows never filled are not saved, no card is lost or doubled.
    QTest::newRow("Insert at row 2 of 5") << "C2 Insert Save"
                                          << "rows=5:C1:0 :: 9:C2:1 13:C3:2 17:C4:3 21:C5:4; focus=S2; current=2:2; saved=5:C1 9:C2 13:C3 17:C4 21:C5";
    QTest::newRow("Insert at row 1") << "C1 Insert" << "rows=:: " + FiveRows + "; focus=S1; current=1:1";
    // No row has the focus, so none receives it: the panel shows the empty row 0.
    QTest::newRow("Insert with no current row") << "Insert" << "rows=:: " + FiveRows + "; focus=; current=:0; details=///UC-01/SMC/1/1/#0";
    QTest::newRow("Add") << "C3 Add Save" << "rows=" + FiveRows + " ::; focus=; saved=5:C1 9:C2 13:C3 17:C4 21:C5";
    QTest::newRow("Delete at row 2 of 5") << "C2 Delete Save" << "rows=5:C1:0 13:C3:2 17:C4:3 21:C5:4; saved=5:C1 13:C3 17:C4 21:C5";
    QTest::newRow("Delete the last row") << "C5 Delete" << "rows=5:C1:0 9:C2:1 13:C3:2 17:C4:3";
    // The current row then points past the end: Delete takes the new last row, Insert adds behind it.
    QTest::newRow("Delete the last row twice") << "C5 Delete Delete Save" << "rows=5:C1:0 9:C2:1 13:C3:2; saved=5:C1 9:C2 13:C3";
    QTest::newRow("Delete the last row twice, then Insert") << "C5 Delete Delete Insert" << "rows=5:C1:0 9:C2:1 13:C3:2 ::; focus=S4";
    QTest::newRow("Delete with no current row") << "Delete Save" << "rows=9:C2:1 13:C3:2 17:C4:3 21:C5:4; saved=9:C2 13:C3 17:C4 21:C5";
    // At most 35 cards; a full shelf has no end marker.
    const QString tooMany = "count=35; told=At present it is not possible to equip more than 35 Cards";
    QTest::newRow("Add at 34 cards, twice") << "rack1 shelf5 S34 Add Add" << tooMany;
    QTest::newRow("Insert at 34 cards, twice") << "rack1 shelf5 S34 Insert Insert" << tooMany;
    // The arrow keys move in the same column; only the row reached is current.
    QTest::newRow("Up at row 1 stays") << "C1 Up" << "focus=C1; current=1:1";
    QTest::newRow("Down from row 1") << "C1 Down" << "focus=C2; current=2:2";
    QTest::newRow("Down at the last row stays") << "T5 Down" << "focus=T5; current=5:5";
    QTest::newRow("Up from the last row") << "T5 Up" << "focus=T4; current=4:4";
    // A double-click opens a row for typing; leaving it, or a second double-click, stores it.
    const QString stored = "rows=5:C1:0 9:C2:1 13:C3:2 18:C4:3 21:C5:4; ";
    QTest::newRow("a locked row takes no typing") << "C1 =XYZ C2" << "rows=" + FiveRows;
    QTest::newRow("Down leaves an open row, storing it") << "2S4 =18 Down" << stored + "focus=S5; current=5:5";
    QTest::newRow("Up leaves an open row, storing it") << "2S4 =18 Up" << stored + "focus=S3; current=3:3";
    QTest::newRow("Undo, a row open for typing") << "tab1 site =NEW tab0 2C2 =X Undo" << "rows=" + FiveRows + "; open=; site=NEW";
    QTest::newRow("moving within the open row") << "2S4 =18 C4" << "open=4; focus=C4; details=C4/18/3/UC-01/SMC/1/1/#3";
    // Commas and line ends are refused, typed or pasted, the first one pasted too.
    QTest::newRow("comma typed") << "2C2 =A,B 2C2" << "rows=5:C1:0 9:AB:1 13:C3:2 17:C4:3 21:C5:4";
    QTest::newRow("pasted") << "2C2 = +,AB\r\nX,YZ 2C2" << "rows=5:C1:0 9:ABXYZ:1 13:C3:2 17:C4:3 21:C5:4";
    // The slot number and image type are checked as the row is left.
    const QString slotWrong = "told=The slot number of row 2 must be a number, 0 or more.; current=4:4; rows=" + FiveRows;
    const QString typeWrong = "told=The image type of row 2 must be a whole number from 0 to 13.";
    QTest::newRow("slot 40") << "2S2 =40 S4" << "rows=5:C1:0 40:C2:1 13:C3:2 17:C4:3 21:C5:4; current=4:4";
    QTest::newRow("slot 0") << "2S2 =0 S4" << "rows=5:C1:0 0:C2:1 13:C3:2 17:C4:3 21:C5:4";
    for (const char *slot : {"", "4a", "-1"})
        QTest::newRow(qPrintable(QStringLiteral("slot '%1'").arg(slot))) << QStringLiteral("2S2 =%1 S4").arg(slot) << slotWrong;
    QTest::newRow("name empty") << "2C2 = S4" << "rows=5:C1:0 9::1 13:C3:2 17:C4:3 21:C5:4";
    QTest::newRow("type 13") << "2T2 =13 S4" << "rows=5:C1:0 9:C2:13 13:C3:2 17:C4:3 21:C5:4";
    for (const char *type : {"14", "2.5", "", "x"})
        QTest::newRow(qPrintable(QStringLiteral("type '%1'").arg(type))) << QStringLiteral("2T2 =%1 S4").arg(type)
                                                                          << "rows=" + FiveRows + "; " + typeWrong;
    // The click or key that left a refused row still does its work.
    QTest::newRow("type 99, left for shelf 3") << "2T2 =99 shelf3" << "rows=2:E1:6 3:E2:7 4:E3:8; current=1:1; " + typeWrong;
    QTest::newRow("type 99, left by Down") << "2T2 =99 Down" << "rows=" + FiveRows + "; current=3:3; " + typeWrong;
    // Save stores the row open for typing, or stops with its message.
    QTest::newRow("name, saved") << "2C2 =C2X Save" << "current=2:2; saved=5:C1 9:C2X 13:C3 17:C4 21:C5";
    QTest::newRow("type 99, saved") << "2T2 =99 Save" << "rows=" + FiveRows + "; " + typeWrong;
    // The current row is kept in view; a list starts at its first row, however far the last one was scrolled.
    QTest::newRow("Down from row 10 to 35") << "rack3 shelf5 C10" + QString(" Down").repeated(25) << "current=35:35; view=26-35";
    QTest::newRow("a short list after a long one") << "rack3 shelf5 C35 shelf1" << "view=1-1; bars=- - 0/0";
    QTest::newRow("a long list after a long one") << "rack3 shelf5 C35 rack1" << "view=1-10; bars=- - 0/23";
    QTest::newRow("rows added") << QString("Add ").repeated(14) << "count=19; view=10-19; bars=- - 8/9";
    // The panel shows the current row as typed, and the picture of its image type.
    for (const QString picture : {"5 5", "13 13", " 0", "14 none", "A none"}) {
        const QString type = picture.section(' ', 0, 0);
        QTest::newRow(qPrintable("details, type " + type)) << "rack1 shelf3 2T2 =" + type + " S2"
                                                           << "details=F2/8/" + type + "/UD-02/SMXC/1/3/#" + picture.section(' ', 1);
    }
    // Closing with edits on each tab: a card, the site name (a double quote is not taken), the rings' colours
    // (a dialog cancelled) and members. Exit asks first; Yes saves as a file chosen; the data file stays.
    const QString edits = "2C1 =EDITED C2 tab1 site =NEW\"SITE tab2 colour1 colour0:0000AA colour2:00FF00 mas2 =XA0,UC-01 ";
    const QString question = "told=Do you want to Save the Changes (35); asked=";
    QTest::newRow("Exit, Yes, then Cancel") << edits + "answer:6 Exit" << question + "1; window=open; files=room.kvx";
    QTest::newRow("Exit, Yes, then a file") << edits + "answer:6 as:saved.kvx Exit"
                                            << question + "1; window=open; files=room.kvx saved.kvx; in:saved.kvx=the model";
    QTest::newRow("Exit, No") << edits + "answer:7 Exit" << question + "0; window=closed; files=room.kvx";
    QTest::newRow("Exit, Cancel") << edits + "answer:2 Exit" << question + "0; window=open";
    QTest::newRow("close box") << edits + "close" << "asked=0; window=closed";
    // Opened again, the model keeps the edits; typed member lists lived in the window only.
    const QString kept = "rows=5:EDITED:0 9:C2:1 13:C3:2 17:C4:3 21:C5:4; site=NEWSITE; rings=1 UC-01,UD-02 aa|1 UC-01 10000|1 XA0 ff00|0  0|0  0";
    QTest::newRow("Exit, No, opened again") << edits + "answer:7 Exit open" << "told=Do you want to Save the Changes (35); " + kept;
    QTest::newRow("close box, opened again") << edits + "close open" << kept;
    // A new room size, and XB-4B put outside the room as loaded; the station and card tables never lose a listed rack.
    const QString rack3 = "; rows=40:G1:11; old=2x3; saved=5:C1 9:C2 13:C3 17:C4 21:C5", lines = "lines=\"TEST SITE\",";
    QTest::newRow("both grow") << "tab1 size3x4 ins12:XB-4B tab0 rack3 Save"
                               << lines + "3,4,2|UC-01,,UD-02,|XA0,UC-01,SDE-01,|,,,XB-4B; place12=XB-4B from its template" + rack3;
    QTest::newRow("places grow, shoots shrink") << "tab1 size1x4 tab0 rack3 Save" << lines + "1,4,2|UC-01,,UD-02," + rack3;
    QTest::newRow("shrinks") << "tab1 size1x2 tab0 rack3 Save" << lines + "1,2,2|UC-01," + rack3;
    QTest::newRow("same size") << "tab1 size2x3 tab0 rack3 Save" << lines + "2,3,2|UC-01,,UD-02|XA0,UC-01,SDE-01" + rack3;
    // The room grid of two shoots of three places: UC-01, -, UD-02 / XA0, UC-01, SDE-01. A box is selected, with
    // its stations shown, before its menu appears; the next takes the green and the first gets its own colour back.
    const QString none = "stations=,,,,", major = "tab1 ";
    QTest::newRow("left button") << major + "box5" << "stations=SMM,SMT,SMA,,; colours=n.nnGn";
    QTest::newRow("right button") << major + "menu5" << "stations=SMM,SMT,SMA,,; colours=n.nnGn";
    QTest::newRow("left button, next box") << major + "box5 box2" << none + "; colours=nGnnnn";
    QTest::newRow("right button, next box") << major + "menu5 menu2" << none + "; colours=nGnnnn";
    QTest::newRow("left button, third box") << major + "box5 box2 box1" << "colours=G.nnnn";
    QTest::newRow("right button, third box") << major + "menu5 menu2 menu1" << "colours=G.nnnn";
    // A station box is locked until double-clicked; the arrow keys leave it
    // locked and white, and go from the fifth to the first and back.
    QTest::newRow("station box locked") << major + "box1 st2 =XY" << "stations=SMC,SMT*,SMA,,";
    QTest::newRow("station Down") << major + "box1 2st2 Down" << "stations=SMC,SMT,SMA*,,; focus=st3";
    QTest::newRow("station Down from the fifth") << major + "box1 st5 Down" << "focus=st1";
    QTest::newRow("station Up from the first") << major + "box1 st1 Up" << "focus=st5";
    // Commas and line ends are refused, typed or pasted; the place keeps what was typed.
    QTest::newRow("station typed") << major + "box1 2st2 =S,M +X\r\n2, box3 box1" << "stations=SMC,SMX2,SMA,,";
    // Remove empties the place and its stations, also off the grid's diagonal;
    // the cards stay out of sight behind the empty name.
    const QString cards = "; cards=0,35,34,0,35,0";
    QTest::newRow("Remove, empty place") << major + "menu2:Remove" << "told=Already Vaccunt; colours=nGnnnn";
    QTest::newRow("Remove at 2, 2") << major + "menu5:Remove box5" << none + "; grid=UC-01,,UD-02,XA0,,SDE-01" + cards;
    QTest::newRow("Remove at 2, 1") << major + "menu4:Remove box4" << none + "; grid=UC-01,,UD-02,,UC-01,SDE-01";
    QTest::newRow("Remove at 1, 3") << major + "menu3:Remove box3" << none + "; grid=UC-01,,,XA0,UC-01,SDE-01" + cards;
    QTest::newRow("Remove, then another box") << major + "menu4:Remove box1" << "colours=G.n.nn";
    // Insert fills an empty place with the stations and cards of its family, read by
    // the data file's rules; the box turns white and stays so as the selection moves on.
    for (const QString name : {"UE-05", "UD-10", "UC-03", "XA-2B", "XB-3A", "CA", "SDE-02"})
        QTest::newRow(qPrintable("insert " + name)) << major + "ins2:" + name + " box6" << "place2=" + name + " from its template; colours=nWnnnG";
    QTest::newRow("insert XA0") << major + "menu4:Remove ins4:XA0 box6" << "place4=XA0 from its template; colours=n.nWnG";
    QTest::newRow("insert, chosen again") << major + "ins2:UE-05 box6 box2" << "place2=UE-05 from its template; colours=nGnnnn";
    QTest::newRow("insert, place taken") << major + "ins3:UE-07"
                                         << "told=If You Want to Replace the Rack, Please Remove This Rack First; place3=UD-02 as loaded";
    QTest::newRow("insert, name in the room") << major + "ins2:UC-01" << "told=UC-01     Rack Already Exist.; place2= as loaded";
    // Without a temporary folder, or with a full one, the place stays as it was;
    // with the folder back the same insertion goes through.
    const QString missing = "told=Cannot write file kvx-XXXXXX: No temporary folder; place2=";
    const QString full = "told=Cannot write file ~/full/kvx-XXXXXX: No space left on device; place2=";
    QTest::newRow("insert, no temporary folder") << "missing " + major + "ins2:UE-05" << missing + " as loaded";
    QTest::newRow("insert, no temporary folder, then back") << "missing " + major + "ins2:UE-05 temp ins2:UE-05" << missing + "UE-05 from its template";
    QTest::newRow("insert, full temporary folder") << "full " + major + "ins2:UE-05" << full + " as loaded";
    QTest::newRow("insert, full temporary folder, then back") << "full " + major + "ins2:UE-05 temp ins2:UE-05" << full + "UE-05 from its template";
    // A grid wider than its window scrolls; a rebuild keeps the bar's value, and
    // a grid that no longer needs the bar is not left shifted behind it.
    QTest::newRow("wide grid") << major + "size2x15" << "bars=0/2 - 0/0; seen=first";
    QTest::newRow("its right end") << major + "size2x15 right right" << "bars=2/2 - 0/0; seen=last";
    QTest::newRow("rebuilt bigger") << major + "size2x15 right size15x15" << "bars=1/2 0/2 0/0; seen=";
    QTest::newRow("rebuilt smaller") << major + "size2x15 right size2x4" << "bars=- - 0/0; seen=first last";
}

// Each row opens the editor on the test room and takes steps to show what it expects. Whatever was done, the card
// rows not open for typing show what the model holds, the list ends right behind the last row, its template row
// stays empty, no shelf button stays pressed, the grid shows the model's racks and the station boxes the stations
// of the place selected, no template file stays behind, and only Save writes the file, the model as it is.
void TestEditor::editing()
{
    QFETCH(QString, steps);
    QFETCH(QString, expect);
    test::EditorSession session;
    QVERIFY(session.load(test::fileOf(test::testRoom())));
    // A card behind the end marker, as an earlier rack at this place could leave it.
    ModMain.SlotNo.set(Loose(60), 1, 1, 1, 7);
    ModMain.CardName.set(Loose("GHOST"), 1, 1, 1, 7);
    frmAlter *f = session.open();
    QVERIFY(f);
    const QByteArray loaded = test::readFile(session.dataFile);
    // Real message boxes, which take the focus while they are open.
    g_answers.clear();
    setMsgBoxHook([&session](const MsgBoxCall &call) {
        session.hooks.messages.append(call);
        QMessageBox box;
        QTimer::singleShot(0, &box, &QDialog::accept);
        box.exec();
        return g_answers.isEmpty() ? int(vbOK) : g_answers.takeFirst();
    });
    // The temporary folder, first taken away or filled for steps that start with "missing" or "full".
    QTemporaryDir temp;
    const auto restore = qScopeGuard([] { qunsetenv("TMPDIR"), g_temp.clear(); });
    const bool away = steps.startsWith("missing") || steps.startsWith("full");
    const QString folder = away ? temp.filePath(steps.section(' ', 0, 0)) : temp.path();
    std::optional<test::TinyDisk> disk;
    if (steps.startsWith("full")) {
        QVERIFY(QDir().mkpath(folder));
        disk.emplace(folder);
        if (!disk->mounted())
            QSKIP("cannot mount a tmpfs here");
        QVERIFY(disk->fill());
    }
    g_temp = temp.path();
    qputenv("TMPDIR", QFile::encodeName(folder));
    const QStringList tempBefore = folderEntries(folder) + folderEntries(temp.path());
    act(session, f, steps.section(' ', away ? 1 : 0));
    expectState(session, f, expect);
    QCOMPARE(folderEntries(folder) + folderEntries(temp.path()), tempBefore);
    QCOMPARE(test::readFile(session.dataFile), expect.contains("saved=") ? test::fileOf(ModMain) : loaded);
    if (frmAlter::loaded() != f)
        return;
    const QStringList shown = rows(f), model = rows(f, true);
    for (int n = 1; n <= f->cardRows(); ++n)
        QVERIFY2(!f->txtSlot(n).Locked() || shown[n - 1] == model[n - 1], qPrintable(QString::number(n)));
    QVERIFY(f->cardRows() == CardsPerShelf || model.last() == "-1::");
    QVERIFY(!f->txtSlot.exists(f->cardRows() + 1) && f->txtSlot(0).Text().isEmpty());
    QVERIFY(listOf(0, 4, [f](int k) { return f->optStation(k).isDown() ? "down" : ""; }).join("").isEmpty());
    const int places = ModMain.shoots() * ModMain.racks(), i = gridColours(f).indexOf('G');
    const auto name = [](int i) { return ModMain.RackName(placeOf(i).x(), placeOf(i).y()).str(); };
    const auto station = [i](int k) { return ModMain.StationName(placeOf(i).x(), placeOf(i).y(), k).str(); };
    QCOMPARE(observe(session, f, "grid"), listOf(0, places - 1, name).join(','));
    QVERIFY(i < 0 || stationsShown(f).remove('*') == listOf(1, 5, station).join(','));
}

void TestEditor::undoing_data()
{
    QTest::addColumn<QString>("steps"); // before the edits | the edits | after them
    QTest::addColumn<int>("edits");
    QTest::addColumn<QString>("undo");  // the Undo item's text after the edits
    QTest::addColumn<QString>("shown"); // once they are undone
    QTest::newRow("card row") << "|2C2 =9 C3|" << 1 << "Change card row" << "tab=0; current=2:2";
    QTest::newRow("Delete, elsewhere") << "rack1 shelf3|C1 Delete|rack2 tab2" << 1 << "Delete card row"
                                       << "tab=0; shelves=SMX,SMX,SMXC,SMX,SMX at 1 X 3; current=1:1";
    QTest::newRow("Add") << "|C3 Add|" << 1 << "Add card row" << "current=5:5";
    QTest::newRow("Insert") << "|C2 Insert|" << 1 << "Insert card row" << "current=2:2; focus=S2";
    QTest::newRow("station") << "tab1 box1|2st2 =XY|tab0" << 1 << "Change station name" << "tab=1; focus=st2";
    QTest::newRow("site, typed") << "tab1|site =NEW|" << 1 << "Change site name" << "tab=1";
    QTest::newRow("room size") << "|tab1 size3x4|tab0" << 1 << "Change room size" << "tab=1";
    QTest::newRow("insert") << "tab1 box2|ins2:SDE-02|box6" << 1 << "Insert rack SDE-02" << "colours=nGnnnn";
    QTest::newRow("remove") << "tab1 box5|menu5:Remove|box1" << 1 << "Remove rack UC-01" << "colours=n.nnGn";
    QTest::newRow("colour") << "tab2|colour2:00FF00|tab0" << 1 << "Change MAS2 colour" << "tab=2";
    QTest::newRow("MAS3 ticked") << "tab2|tick3|tab0" << 1 << "Add ring MAS3" << "tab=2";
    QTest::newRow("members") << "tab2|mas1 >,XA0|tab0" << 1 << "Change MAS1 members" << "tab=2";
    QTest::newRow("after Exit, No") << "|2C1 =EDITED C2|answer:7 Exit open" << 1 << "Change card row" << "current=1:1; told=Do you want to Save the Changes (35)";
    QTest::newRow("twelve") << "tab1 box2 tab0|2C2 =9 C3 C1 Delete rack2 Add tab1 site =NEW box2 2st1 =Q ins2:UE-05 menu5:Remove "
                               "size1x2 size3x4 tab2 colour1:00FF00 tick3 mas3 >UC-01|" << 12 << "Change MAS3 members" << "tab=0";
}

// Each row makes edits and undoes them: the editor would save the file as it was loaded and shows what it showed
// then, with each edit's place; redone, as after the edits. A save is the clean state, and a load clears the stack.
void TestEditor::undoing()
{
    QFETCH(QString, steps);
    QFETCH(int, edits);
    QFETCH(QString, undo);
    QFETCH(QString, shown);
    test::EditorSession session;
    frmAlter *f = session.open(test::testRoom(), 0);
    QVERIFY(f);
    const QByteArray loaded = test::readFile(session.dataFile);
    const auto state = [&] {
        QByteArray bytes;
        QStringList seen = {ExchangeWriter().write(ModMain, *ringControls(), &bytes) ? bytes : "refused"};
        for (const QString key : {"rows", "shelves", "grid", "colours", "site", "rings", "old"})
            seen << observe(session, f, key);
        return seen << stationsShown(f).remove(QRegularExpression("[*~]"));
    };
    act(session, f, steps.section('|', 0, 0));
    const QStringList before = state();
    act(session, f, steps.section('|', 1, 1));
    const QStringList after = state();
    act(session, f, steps.section('|', 2));
    QVERIFY(f->windowTitle().endsWith(" *") && f->mnuUndo->Caption() == "&Undo " + undo && after != before);
    act(session, f, QString("Undo ").repeated(edits));
    QCOMPARE(state(), before);
    expectState(session, f, shown);
    act(session, f, QString("^Y ").repeated(edits));
    QCOMPARE(state(), after);
    act(session, f, "Save ^Z");
    QVERIFY(f->windowTitle().endsWith(" *") && f->mnuRedo->Caption() == "&Redo " + undo);
    act(session, f, "^+Z " + QString("^Z ").repeated(edits) + "Save");
    QVERIFY(test::readFile(session.dataFile) == loaded && f->windowTitle() == "KVX-410 Configuration Editor");
    QVERIFY(session.load(loaded) && (f = frmAlter::loaded()) && !f->mnuUndo->Enabled() && !f->windowTitle().endsWith('*'));
}

void TestEditor::insertSaveRefreshInProcess()
{
    // The whole program started in this process: its editor inserts into an
    // empty place and saves, and the main window shows the rack after Refresh.
    test::ProgramFixture program;
    test::TestRoom room;
    room.rows = {{"UC-01", "", "UD-02"}};
    QVERIFY(program.start(room));
    const auto close = qScopeGuard([] { frmAlter::discard(); });
    frmAlter::showEditor();
    frmAlter *f = frmAlter::loaded();
    QVERIFY(f && QTest::qWaitForWindowExposed(f));
    f->SSTab1->setTab(1);
    test::insertAt(f, 2, QStringLiteral("UE-05"));
    f->MnuSav->trigger();
    QCOMPARE(program.hooks.messages.size(), 0);
    frmSwitch &form = frmSwitch::get();
    form.mnuRefresh->trigger();
    QVERIFY(test::openRack("UE-05") && test::openDoors() && test::clickOn(form.imgShelf(0)));
    test::growShelf();
    QCOMPARE(form.lblShelfName->Caption(), QString("SMC"));
    QCOMPARE(form.CardCount, int(templateForRackName("UE-05")->shelves[0].size()));
}

void TestEditor::keyboard_data()
{
    QTest::addColumn<int>("tab");
    QTest::addColumn<QStringList>("order"); // the names Tab reaches from the row of tabs; -1: the File menu's keys
    QTest::addColumn<QString>("keys");      // then pressed from the row of tabs, the steps of act()
    QTest::addColumn<QString>("expect");
    QStringList rows{"Rack", "SMC"};
    for (int r = 1; r <= 5; ++r)
        rows << QString("Slot number, row %1").arg(r) << QString("Card name, row %1").arg(r) << QString("Image type, row %1").arg(r);
    QTest::newRow("Small Change: rack, station, rows, buttons") << 0 << rows + QStringList{"Add", "Insert", "Delete", "Small Change"} << "" << "";
    QTest::newRow("Major Change: room, grid, stations") << 1 << QStringList{"Name of Switch Room", "Number of Shoots", "Number of Racks Per Shoot", "Update",
        "UC-01, shoot 1, place 1 framed", "Station of shelf 1", "Station of shelf 2", "Station of shelf 3", "Station of shelf 4", "Station of shelf 5", "Major Change"} << "" << "";
    QTest::newRow("Ring Change: each ring's tick, members and colour") << 2 << QStringList{"MIS members", "MIS colour framed", "MAS1 members", "MAS1 colour framed",
        "MAS2 members", "MAS2 colour framed", "MAS3", "MAS3 members", "MAS3 colour framed", "MAS4", "MAS4 members", "MAS4 colour framed", "Ring Change"} << "" << "";
    QTest::newRow("Alt+F, A: Save As") << -1 << QStringList{"a save dialog"} << "" << "";
    // The grid of UC-01, -, UD-02 / XA0, UC-01, SDE-01: the keys move the frame, Enter, Space and the Menu key do what the
    // mouse's buttons do on the box framed; a click takes the frame away, the next key brings it back at the box clicked.
    const QString grid = QString("Tab ").repeated(5);
    QTest::newRow("grid: arrows stop at the edges") << 1 << QStringList() << grid + "Left Up Right Right Right Down Down"
                                                    << "at=SDE-01, shoot 2, place 3 framed; colours=n.nnnn";
    QTest::newRow("grid: End, Home") << 1 << QStringList() << grid + "End Down Home" << "at=XA0, shoot 2, place 1 framed";
    QTest::newRow("grid: Enter chooses") << 1 << QStringList() << grid + "Down Right Return" << "at=UC-01, shoot 2, place 2 framed; stations=SMM,SMT,SMA,,; colours=n.nnGn";
    QTest::newRow("grid: Space chooses") << 1 << QStringList() << grid + "Right Space" << "at=Empty, shoot 1, place 2 framed; stations=,,,,; colours=nGnnnn";
    QTest::newRow("grid: a click, then a key") << 1 << QStringList() << grid + "Right box4" << "at=XA0, shoot 2, place 1; colours=n.nGnn";
    QTest::newRow("grid: a click, then Right") << 1 << QStringList() << grid + "box4 Right" << "at=UC-01, shoot 2, place 2 framed; colours=n.nGnn";
    QTest::newRow("grid: a click, then Tab and Shift+Tab") << 1 << QStringList() << "box5 Tab BTab" << "at=UC-01, shoot 2, place 2 framed";
    // Made anew for a new size, the grid starts at its first box; a grid larger than its window scrolls to the box framed.
    QTest::newRow("grid: a new size") << 1 << QStringList() << "box5 size3x4 Tab" << "at=UC-01, shoot 1, place 1 framed";
    QTest::newRow("grid: to the far corner") << 1 << QStringList() << "size15x15 Tab End" + QString(" Down").repeated(14)
                                             << "at=Empty, shoot 15, place 15 framed; seen=last; bars=2/2 2/2 0/0";
    QTest::newRow("grid: back to the first") << 1 << QStringList() << "size15x15 Tab End" + QString(" Down").repeated(14) + QString(" Up").repeated(14) + " Home"
                                             << "at=UC-01, shoot 1, place 1 framed; seen=first; bars=0/2 0/2 0/0";
    QTest::newRow("grid: Menu key, Remove") << 1 << QStringList() << grid + "Down Right Menu:Remove" << "at=Empty, shoot 2, place 2 framed; grid=UC-01,,UD-02,XA0,,SDE-01; colours=n.nn.n";
    QTest::newRow("grid: Shift+F10, Insert, undone") << 1 << QStringList() << grid + "Right S-F10:Insert/UE/UE-05 ^Z" << "place2= as loaded; colours=nGnnnn; at=Empty, shoot 1, place 2 framed";
    QTest::newRow("grid: Shift+F10, Insert, undone, redone") << 1 << QStringList() << grid + "Right S-F10:Insert/UE/UE-05 ^Z ^Y" << "place2=UE-05 from its template; colours=nWnnnn";
    // A swatch opens the colour dialog with Enter or Space; the colour chosen is one edit, undone with the keys.
    QTest::newRow("swatch: Enter, undone, redone") << 2 << QStringList() << "Tab Tab pick:00FF00 Return ^Z ^Y" << "at=MIS colour framed; rings=1 UC-01,UD-02 ff00|1 UC-01 10000|1 XA0 20000|1 UD-02,XA0 30000|1 SDE-01 40000";
    QTest::newRow("swatch: Space") << 2 << QStringList() << "Tab Tab Tab Tab Tab Tab pick:00FF00 Space" << "rings=1 UC-01,UD-02 ff|1 UC-01 10000|1 XA0 ff00|1 UD-02,XA0 30000|1 SDE-01 40000";
}

// With the keyboard alone every control is reached, in the order it is read, named for a screen reader, and does
// what the mouse does.
void TestEditor::keyboard()
{
    QFETCH(int, tab);
    QFETCH(QStringList, order);
    QFETCH(QString, keys);
    QFETCH(QString, expect);
    test::EditorSession session;
    frmAlter *f = session.open(test::testRoom(4), std::max(tab, 0));
    QVERIFY(f);
    QStringList reached;
    if (tab < 0) {
        session.hooks.setNextFile(std::nullopt);
        QTest::keyClick(f, Qt::Key_F, Qt::AltModifier);
        QTRY_VERIFY(QApplication::activePopupWidget());
        QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_A);
        for (const auto &request : session.hooks.fileRequests)
            reached << (request.save ? "a save dialog" : "an open dialog");
    }
    f->SSTab1->findChild<QTabBar *>()->setFocus();
    while (tab >= 0 && reached.size() < order.size()) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        reached << observe(session, f, "at");
    }
    QCOMPARE(reached, order);
    act(session, f, keys);
    expectState(session, f, expect);
    const QString shot = QMap<QString, QString>{{"grid: Enter chooses", "grid"}, {"grid: to the far corner", "grid-scrolled"}, {"swatch: Enter, undone, redone", "swatch"}}.value(QTest::currentDataTag());
    QVERIFY(shot.isEmpty() || f->grab().save(test::screenshotFolder() + "/editor-keys-" + shot + ".png", nullptr, test::ShotQuality));
}

QTEST_MAIN(TestEditor)
#include "test_editor.moc"
