// Undo and redo. Every edit is one command holding what its part of the
// model (or, for a ring row, of this window) was before and after it; undo
// and redo put that back and show it where it was made. The stack belongs to
// the model's edits rather than to the window: it outlives an editor closed
// without saving, a load clears it and a save marks it clean.

#include "editor/frmalter.h"

#include "model/modmain.h"
#include "platform/checkbox.h"
#include "platform/label.h"
#include "platform/listbox.h"
#include "platform/menu.h"
#include "platform/optionbutton.h"
#include "platform/tabcontrol.h"
#include "platform/textbox.h"

#include <QApplication>
#include <QKeyEvent>
#include <QScopedValueRollback>
#include <QUndoStack>

#include <algorithm>
#include <initializer_list>
#include <utility>

namespace kvx {

namespace {

const QString Title = QStringLiteral("KVX-410 Configuration Editor");
const QKeySequence UndoKey(Qt::CTRL | Qt::Key_Z);
const QList<QKeySequence> RedoKeys = {QKeySequence(Qt::CTRL | Qt::Key_Y),
                                      QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)};

// Visits the values of the model a scope holds, always in the same order:
// scalar(Loose &) for a variable, cell(table, index) for a table's element.
template<typename Scalar, typename Cell>
void walk(const EditScope &scope, Scalar scalar, Cell cell)
{
    const int s = scope.shoot, p = scope.place;
    const auto cards = [&](int k) {
        for (LooseTable *t : {&ModMain.SlotNo, &ModMain.CardName, &ModMain.CardType}) {
            for (int n = 1; n <= CardsPerShelf; ++n)
                cell(*t, {s, p, k, n});
        }
    };
    switch (scope.kind) {
    case EditScope::Site:
        scalar(ModMain.SiteName);
        break;
    case EditScope::Shelf:
        cards(scope.index);
        break;
    case EditScope::Stations:
        cell(ModMain.StationName, {s, p, scope.index + 1});
        break;
    case EditScope::Place:
        cell(ModMain.RackName, {s, p});
        for (int k = 1; k <= ShelvesPerRack; ++k) {
            cell(ModMain.StationName, {s, p, k});
            cards(k);
        }
        break;
    case EditScope::Room:
        for (Loose *count : {&ModMain.NoOfShoots, &ModMain.NoOfRacks, &ModMain.OldNoOfShoots, &ModMain.OldNoOfRacks})
            scalar(*count);
        break;
    case EditScope::Colour:
        if (scope.index > 0) {
            cell(ModMain.MasColor, {scope.index});
        } else {
            // MIS's colour is a plain number: visited as a loose value.
            Loose mis(qint64(ModMain.MisColor));
            scalar(mis);
            ModMain.MisColor = qint32(qint64(mis.number()));
        }
        break;
    case EditScope::Ring:
        break; // the ring tab's, not the model's
    }
}

} // namespace

bool EditState::sameAs(const EditState &other) const
{
    const auto identical = [](const Loose &a, const Loose &b) { return a.identical(b); };
    return std::equal(values.begin(), values.end(), other.values.begin(), other.values.end(), identical)
           && text == other.text && tick == other.tick && color == other.color && savedColor == other.savedColor;
}

class EditCommand final : public QUndoCommand
{
public:
    EditCommand(const EditScope &scope, EditState before, EditState after, const QString &text, bool typing)
        : QUndoCommand(text),
          m_scope(scope),
          m_before(std::move(before)),
          m_after(std::move(after)),
          m_typing(typing)
    {
    }

    // Typing into one box is one step, and typing it back as it was none.
    int id() const override { return m_typing ? 1 : -1; }
    bool mergeWith(const QUndoCommand *other) override
    {
        const auto *next = static_cast<const EditCommand *>(other);
        if (!next->m_scope.sameAs(m_scope))
            return false;
        m_after = next->m_after;
        setObsolete(m_after.sameAs(m_before));
        return true;
    }

    void undo() override { put(m_before); }
    // Pushed once the edit is made: the first redo has nothing to do.
    void redo() override
    {
        if (!std::exchange(m_made, false))
            put(m_after);
    }

private:
    void put(const EditState &state) const
    {
        if (frmAlter *form = frmAlter::loaded())
            form->applyEdit(m_scope, state);
        else
            frmAlter::restoreModel(m_scope, state);
    }

    EditScope m_scope;
    EditState m_before;
    EditState m_after;
    bool m_typing;
    bool m_made = true;
};

QUndoStack &frmAlter::history()
{
    static QUndoStack stack;
    return stack;
}

void frmAlter::createEditBar()
{
    mnuEditBar = new Menu(menuBar(), QStringLiteral("&Edit"));
    mnuUndo = new Menu(mnuEditBar, QStringLiteral("&Undo"), UndoKey);
    mnuRedo = new Menu(mnuEditBar, QStringLiteral("&Redo"), RedoKeys[0]);
    mnuRedo->action()->setShortcuts(RedoKeys);
    connect(mnuUndo, &Menu::Click, this, [this] { mnuUndo_Click(); });
    connect(mnuRedo, &Menu::Click, this, [this] { mnuRedo_Click(); });
    connect(&history(), &QUndoStack::indexChanged, this, &frmAlter::showHistory);
    connect(&history(), &QUndoStack::cleanChanged, this, &frmAlter::showHistory);
    qApp->installEventFilter(this);
}

void frmAlter::showHistory()
{
    const QUndoStack &stack = history();
    setCaption(stack.isClean() ? Title : Title + QStringLiteral(" *"));
    mnuUndo->setEnabled(stack.canUndo());
    mnuUndo->setCaption(stack.canUndo() ? QStringLiteral("&Undo ") + stack.undoText() : QStringLiteral("&Undo"));
    mnuRedo->setEnabled(stack.canRedo());
    mnuRedo->setCaption(stack.canRedo() ? QStringLiteral("&Redo ") + stack.redoText() : QStringLiteral("&Redo"));
}

// A row open for typing holds the newest edit: stored first, it is the one
// undone, and Redo brings it back.
void frmAlter::mnuUndo_Click()
{
    if (commitPendingRow())
        history().undo();
}

void frmAlter::mnuRedo_Click()
{
    if (commitPendingRow())
        history().redo();
}

bool frmAlter::eventFilter(QObject *watched, QEvent *event)
{
    // The Undo and Redo keys undo the editor's edits in a text box too, not
    // the box's own typing.
    if (event->type() == QEvent::ShortcutOverride) {
        const auto *widget = qobject_cast<QWidget *>(watched);
        const QKeySequence key(static_cast<QKeyEvent *>(event)->keyCombination());
        if (widget && widget->window() == this && (key == UndoKey || RedoKeys.contains(key))) {
            event->ignore();
            return true;
        }
    }
    return Form::eventFilter(watched, event);
}

EditState frmAlter::capture(const EditScope &scope) const
{
    EditState state;
    std::vector<Loose> &values = state.values;
    walk(
        scope, [&](const Loose &value) { values.push_back(value); },
        [&](const LooseTable &table, std::initializer_list<int> at) {
            values.push_back(table.get(at.begin(), int(at.size())));
        });
    const int i = scope.place + ModMain.racks() * (scope.shoot - 1);
    if (scope.kind == EditScope::Room) {
        state.racks = ModMain.RackName;
    } else if (scope.kind == EditScope::Place && lblEdRack.exists(i)) {
        state.color = lblEdRack(i).BackColor();
        state.savedColor = EdSelIndex == i ? EdSavedColor : state.color;
    } else if (scope.kind == EditScope::Ring) {
        state.tick = (scope.index ? chkmas(scope.index) : *chkMis).Value();
        state.text = (scope.index ? txtMas(scope.index) : *txtMis).Text();
    }
    return state;
}

void frmAlter::restoreModel(const EditScope &scope, const EditState &state)
{
    auto next = state.values.begin();
    walk(
        scope, [&](Loose &value) { value = *next++; },
        [&](LooseTable &table, std::initializer_list<int> at) {
            table.assign(at.begin(), int(at.size()), Loose(*next++));
        });
    // The station and card tables that grew with the room keep their size:
    // what grew holds nothing by now, and costs nothing.
    if (scope.kind == EditScope::Room)
        ModMain.RackName = state.racks;
}

void frmAlter::applyEdit(const EditScope &scope, const EditState &state)
{
    QScopedValueRollback quiet(m_quiet, true);
    switch (scope.kind) {
    case EditScope::Site:
        restoreModel(scope, state);
        SSTab1->setTab(1);
        txtSiteName->setText(ModMain.SiteName.str());
        txtSiteName->SetFocus();
        break;
    case EditScope::Shelf:
        restoreModel(scope, state);
        showShelf(scope);
        break;
    case EditScope::Stations:
    case EditScope::Place:
        restoreModel(scope, state);
        showPlace(scope, state);
        break;
    case EditScope::Room:
        SSTab1->setTab(1);
        applyRoomSize(state);
        break;
    case EditScope::Colour:
        restoreModel(scope, state);
        SSTab1->setTab(2);
        fillRingColors();
        break;
    case EditScope::Ring:
        showRing(scope.index, state);
        break;
    }
}

void frmAlter::showShelf(const EditScope &scope)
{
    SSTab1->setTab(0);
    int entry = 1;
    while (entry <= RackCount && (ListShoot[size_t(entry)] != scope.shoot || ListPlace[size_t(entry)] != scope.place))
        ++entry;
    if (entry > RackCount)
        return; // a rack not listed when the window was opened
    if (lstRackName->ListIndex() != entry - 1)
        lstRackName->setListIndex(entry - 1);
    if (optStation(scope.index - 1).Value()) {
        ClearRows();
        LoadRows(scope.index);
    } else {
        optStation(scope.index - 1).setValue(true);
    }
    if (CardRows < 1)
        return;
    const int row = std::clamp(scope.row, 1, CardRows);
    txtSlot(row).SetFocus();
    if (CurRow != row) // the window is not active: the row is made current all the same
        row_GotFocus(row);
}

void frmAlter::showPlace(const EditScope &scope, const EditState &state)
{
    SSTab1->setTab(1);
    const int i = scope.place + ModMain.racks() * (scope.shoot - 1);
    if (scope.place > ModMain.racks() || !lblEdRack.exists(i))
        return;
    selectPlace(i);
    if (scope.kind == EditScope::Place) {
        // Selected, as it is by an insertion or removal, with its colours then.
        Label &box = lblEdRack(i);
        box.setCaption(ModMain.RackName(scope.shoot, scope.place).str());
        box.setBackColor(state.color);
        EdSavedColor = state.savedColor;
    }
    if (scope.kind == EditScope::Stations)
        txtEdShelf(scope.index).SetFocus();
}

void frmAlter::showRing(int k, const EditState &state)
{
    SSTab1->setTab(2);
    if (k >= 3)
        chkmas(k).setValue(state.tick);
    TextBox &members = k ? txtMas(k) : *txtMis;
    members.setText(state.text);
    m_ringShown[k] = state;
    members.SetFocus();
}

void frmAlter::record(const EditScope &scope, const EditState &before, const QString &text, bool typing)
{
    if (m_quiet)
        return;
    EditState after = capture(scope);
    if (!after.sameAs(before))
        history().push(new EditCommand(scope, before, std::move(after), text, typing));
}

} // namespace kvx
