// The card rows of the "Small Change" tab: one row of three text boxes per
// card of the chosen shelf, scrolled inside `pic`, with Add, Insert and
// Delete, and the details panel of the current row.

#include "editor/frmalter.h"

#include "art/art.h"
#include "model/modmain.h"
#include "platform/commandbutton.h"
#include "platform/frame.h"
#include "platform/image.h"
#include "platform/input.h"
#include "platform/label.h"
#include "platform/listbox.h"
#include "platform/optionbutton.h"
#include "platform/picturebox.h"
#include "platform/scrollbar.h"
#include "platform/textbox.h"

#include <QApplication>
#include <QScopedValueRollback>
#include <QTimer>

#include <cmath>

namespace kvx {

namespace {

constexpr double RowHeight = 285;
constexpr double RowGap = 40;
// Where the last row ends within `pic` when the list is scrolled to its end.
constexpr double ScrolledEnd = 3225;

// A committed slot number: any number that does not end the list.
bool goodSlot(const QString &text)
{
    double v = 0;
    return parseNumber(text.toUtf8(), &v) && v >= 0;
}

// A committed image type: the code of one of the card pictures.
bool goodType(const QString &text)
{
    double v = 0;
    return parseNumber(text.toUtf8(), &v) && v == std::trunc(v) && v >= 0 && v < Art::CardCodes;
}

void addCaption(Container *in, const QString &text, double top)
{
    Label *label = in->create<Label>();
    label->Move(120, top, 700, 255);
    label->setBackStyle(Label::Transparent);
    label->setCaption(text);
}

Label *addValue(Container *in, double top)
{
    Label *label = in->create<Label>();
    label->Move(840, top, 1680, 255);
    label->setBackStyle(Label::Transparent);
    label->setFontBold(true);
    return label;
}

CommandButton *addButton(Container *in, const QString &caption, double top)
{
    auto *button = new CommandButton(in);
    button->Move(120, top, 975, 375);
    button->setCaption(caption);
    return button;
}

} // namespace

void frmAlter::createCardRows(Container *tab)
{
    lblRowHeader = tab->create<Label>();
    lblRowHeader->Move(240, 2040, 3015, 255);
    lblRowHeader->setBackStyle(Label::Transparent);
    lblRowHeader->setCaption(QStringLiteral("Slot Num   Card Name    Image Type"));

    pic = new PictureBox(tab);
    pic->Move(120, 2280, 3015, 3375);
    frameHolder = new Frame(pic);
    frameHolder->setBorderStyle(0);
    frameHolder->Move(0, 0, 2895, RowHeight + RowGap);

    VScroll = new VScrollBar(tab);
    VScroll->Move(3120, 2280, 135, 3375);
    VScroll->setMax(0);
    VScroll->setSmallChange(1);
    VScroll->setLargeChange(10);
    VScroll->Change = [this] { VScroll_Change(); };

    // The hidden template row just above the visible area.
    const struct
    {
        ControlArray<TextBox> *column;
        double left, width;
    } columns[] = {{&txtSlot, 240, 615}, {&txtCard, 840, 1575}, {&txtType, 2400, 375}};
    for (const auto &c : columns) {
        auto *box = new TextBox(frameHolder);
        box->Move(c.left, -RowHeight, c.width, RowHeight);
        box->setLocked(true);
        box->setBackColor(ColorWhite);
        // Commas and line ends separate the fields of the data file.
        box->setRefusedCharacters(QStringLiteral(",\r\n"));
        box->setVisible(false);
        c.column->add(0, box);
        ControlArray<TextBox> *column = c.column;
        column->on(&TextBox::GotFocus, [this](int index) { row_GotFocus(index); });
        column->on(&TextBox::LostFocus, [this](int index) { row_LostFocus(index); });
        column->on(&TextBox::DblClick, [this](int index) {
            if (!m_rowsChanging)
                ToggleRowEdit(index);
        });
        column->on(&TextBox::KeyDown, [this, column](int index, int &KeyCode, int) {
            const int key = KeyCode;
            row_KeyDown(*column, index, key);
        });
    }

    frameEdit = new Frame(tab);
    frameEdit->Move(3720, 2040, 1215, 3615);
    frameEdit->setCaption(QStringLiteral("Edit"));
    lblSpy = frameEdit->create<Label>();
    lblSpy->Move(480, 480, 495, 255);
    lblSpy->setBackStyle(Label::Transparent);
    lblSpy->setToolTipText(QStringLiteral("Current row"));
    cmdAdd = addButton(frameEdit, QStringLiteral("Add"), 1320);
    cmdInsert = addButton(frameEdit, QStringLiteral("Insert"), 2160);
    cmdDelete = addButton(frameEdit, QStringLiteral("Delete"), 2880);
    cmdAdd->Click = [this] { cmdAdd_Click(); };
    cmdInsert->Click = [this] { cmdInsert_Click(); };
    cmdDelete->Click = [this] { cmdDelete_Click(); };

    frameDetails = new Frame(tab);
    frameDetails->Move(5280, 2040, 3495, 3615);
    frameDetails->setCaption(QStringLiteral("Details"));
    const char *const captions[] = {"NAME", "SLOT", "TYPE", "RACK", "SHELF", "ROW", "COLUM"};
    Label **values[] = {&lblDetCard, &lblDetslot, &lblDetType, &lbldetrack, &lbldetshelf, &lbldetrow, &lbldetcol};
    for (int line = 0; line < 7; ++line) {
        const double top = 600 + 360 * line;
        addCaption(frameDetails, QString::fromLatin1(captions[line]), top);
        *values[line] = addValue(frameDetails, top);
    }
    imgmodel = frameDetails->create<Image>();
    imgmodel->setStretch(true);
    imgmodel->Move(2640, 240, 615, 3255);
}

void frmAlter::createRow(int Row)
{
    for (ControlArray<TextBox> *column : {&txtSlot, &txtCard, &txtType}) {
        TextBox *box = column->Load(Row);
        box->setTop((*column)(Row - 1).Top() + (*column)(0).Height() + RowGap);
        box->setVisible(true);
    }
}

void frmAlter::LoadRows(int Shelf)
{
    QScopedValueRollback changing(m_rowsChanging, true);
    int r = 0;
    for (int n = 1; n <= CardsPerShelf; ++n) {
        const Loose &slot = ModMain.SlotNo(DetShoot, DetPlace, Shelf, n);
        if (slot.readsAsNumber() && slot == -1)
            break;
        createRow(n);
        setRowTexts(n, slot.str(), ModMain.CardName(DetShoot, DetPlace, Shelf, n).str(),
                    ModMain.CardType(DetShoot, DetPlace, Shelf, n).str());
        r = n;
    }
    frameHolder->setHeight((r + 1) * (txtSlot(0).Height() + RowGap));
    CardRows = r;
    recomputeScrollMax();
    CurRow = 0;
    // A new list starts at its first row, however far the last one was scrolled.
    VScroll->setValue(0);
    frameHolder->setTop(0);
}

void frmAlter::ClearRows()
{
    QScopedValueRollback changing(m_rowsChanging, true);
    for (int k = 1; k <= CardRows; ++k) {
        for (ControlArray<TextBox> *column : {&txtSlot, &txtCard, &txtType}) {
            if (column->exists(k))
                column->Unload(k);
        }
    }
}

void frmAlter::AppendRow()
{
    QScopedValueRollback changing(m_rowsChanging, true);
    createRow(CardRows + 1);
    frameHolder->setHeight(frameHolder->Height() + txtCard(0).Height() + RowGap);
    ++CardRows;
}

void frmAlter::recomputeScrollMax()
{
    // Steps of a tenth of the visible height.
    const int holder = int(frameHolder->Height());
    const int visible = int(pic->Height());
    VScroll->setMax(std::max(0, (holder - visible) * 10 / visible));
}

void frmAlter::setRowTexts(int Row, const QString &slot, const QString &card, const QString &type)
{
    txtSlot(Row).setText(slot);
    txtCard(Row).setText(card);
    txtType(Row).setText(type);
}

void frmAlter::setRowLocked(int Row, bool locked)
{
    txtSlot(Row).setLocked(locked);
    txtCard(Row).setLocked(locked);
    txtType(Row).setLocked(locked);
}

void frmAlter::setRowColor(int Row, quint32 color)
{
    txtSlot(Row).setBackColor(color);
    txtCard(Row).setBackColor(color);
    txtType(Row).setBackColor(color);
}

void frmAlter::MarkRow(int Row)
{
    // The template row is never marked: the rows loaded later copy its colour.
    if (Row < 1)
        return;
    skipError([&] {
        setRowColor(Row, HighlightColor);
        const TextBox &card = txtCard(Row);
        const double middle = card.Top() + card.Height() / 2 + frameHolder->Top();
        if (middle < 0 || middle > pic->Height())
            VScroll->setValue(int(roundHalfEven(card.Top() / frameHolder->Height() * VScroll->Max())));
    });
}

void frmAlter::UnmarkRow(int Row)
{
    skipError([&] { setRowColor(Row, ColorWhite); });
}

void frmAlter::VScroll_Change()
{
    const int max = VScroll->Max();
    const double range = std::max(0.0, frameHolder->Height() - ScrolledEnd);
    frameHolder->setTop(max > 0 ? -range * VScroll->Value() / max : 0);
}

void frmAlter::ShowDetails(int Row)
{
    const QString type = txtType(Row).Text();
    lblDetslot->setCaption(txtSlot(Row).Text());
    lblDetCard->setCaption(txtCard(Row).Text());
    lblDetType->setCaption(type);
    lbldetrack->setCaption(lstRackName->Text());
    lbldetshelf->setCaption(optStation(DetStation).Caption());
    lbldetrow->setCaption(QString::number(DetShoot));
    lbldetcol->setCaption(QString::number(DetPlace));
    // An empty type shows picture 0; a type that names no picture shows none.
    double code = 0;
    if (!type.trimmed().isEmpty() && !goodType(type))
        code = -1;
    else if (!type.trimmed().isEmpty())
        parseNumber(type.toUtf8(), &code);
    imgmodel->setPicture(Art::card(int(code)));
}

void frmAlter::ToggleRowEdit(int Row)
{
    skipError([&] {
        if (txtSlot(Row).Locked()) {
            setRowLocked(Row, false);
            EditRow = Row;
        } else {
            commitRow(EditRow);
        }
    });
}

namespace {

// Tells of a row refused as the user left it once the click or key that left
// it has done its work. A message box opened in the middle of a click takes
// the mouse release from the control pressed, which then stays pressed, and
// one opened in the middle of a focus change keeps the next row from
// becoming current. The release ends the click or key; should none come,
// the message waits a moment at most.
class TellAfterInput : public QObject
{
public:
    TellAfterInput(QObject *window, QString message) : QObject(window), m_message(std::move(message))
    {
        qApp->installEventFilter(this);
        QTimer::singleShot(1000, this, &TellAfterInput::tell);
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::MouseButtonRelease || event->type() == QEvent::KeyRelease) {
            qApp->removeEventFilter(this);
            // After the release has reached the control it belongs to.
            QTimer::singleShot(0, this, &TellAfterInput::tell);
        }
        return false;
    }

private:
    void tell()
    {
        if (m_told)
            return;
        m_told = true;
        qApp->removeEventFilter(this);
        deleteLater();
        MsgBox(m_message, vbInformation);
    }

    QString m_message;
    bool m_told = false;
};

} // namespace

bool frmAlter::commitRow(int Row, bool leaving)
{
    const int k = shelf();
    const EditScope scope{EditScope::Shelf, DetShoot, DetPlace, k, Row};
    const EditState before = capture(scope);
    const Loose &slot = ModMain.SlotNo(DetShoot, DetPlace, k, Row);
    const Loose &card = ModMain.CardName(DetShoot, DetPlace, k, Row);
    const Loose &type = ModMain.CardType(DetShoot, DetPlace, k, Row);
    const QString slotText = txtSlot(Row).Text(), cardText = txtCard(Row).Text(), typeText = txtType(Row).Text();
    setRowLocked(Row, true);
    // A value shown as it stands in the model stays as it is, with its bytes.
    const bool slotChanged = slotText != slot.str();
    const bool cardChanged = cardText != card.str();
    const bool typeChanged = typeText != type.str();
    if (!slotChanged && !cardChanged && !typeChanged)
        return true;

    QString wrong;
    if (!goodSlot(slotText))
        wrong = QStringLiteral("The slot number of row %1 must be a number, 0 or more.").arg(Row);
    else if (!goodType(typeText))
        wrong = QStringLiteral("The image type of row %1 must be a whole number from 0 to %2.")
                    .arg(Row)
                    .arg(Art::CardCodes - 1);
    if (!wrong.isEmpty()) {
        setRowTexts(Row, slot.str(), card.str(), type.str());
        if (leaving)
            new TellAfterInput(this, wrong);
        else
            MsgBox(wrong, vbInformation);
        return false;
    }
    // Stored as typed, as texts; a slot number "12" compares as the number 12.
    if (slotChanged)
        ModMain.SlotNo.set(Loose::fromString(slotText), DetShoot, DetPlace, k, Row);
    if (cardChanged)
        ModMain.CardName.set(Loose::fromString(cardText), DetShoot, DetPlace, k, Row);
    if (typeChanged)
        ModMain.CardType.set(Loose::fromString(typeText), DetShoot, DetPlace, k, Row);
    record(scope, before, QStringLiteral("Change card row"));
    return true;
}

void frmAlter::row_GotFocus(int Index)
{
    if (m_rowsChanging || Index < 1 || !txtSlot.exists(Index))
        return;
    ShowDetails(Index);
    UnmarkRow(CurRow);
    MarkRow(Index);
    CurRow = Index;
    lblSpy->setCaption(QString::number(Index));
}

void frmAlter::row_LostFocus(int Index)
{
    // Leaving the row being edited stores it and locks it again. Moving
    // between its own boxes, or to another window, leaves it open for typing;
    // leaving a locked row changes nothing, so only a double-click unlocks.
    if (m_rowsChanging || !txtSlot.exists(Index) || txtSlot(Index).Locked())
        return;
    const QWidget *to = QApplication::focusWidget();
    if (!to || to->window() != this)
        return;
    if (to == &txtSlot(Index) || to == &txtCard(Index) || to == &txtType(Index))
        return;
    skipError([this] { commitRow(EditRow, true); });
}

bool frmAlter::commitPendingRow()
{
    if (EditRow < 1 || !txtSlot.exists(EditRow) || txtSlot(EditRow).Locked())
        return true;
    return commitRow(EditRow);
}

bool frmAlter::rowPending() const
{
    if (EditRow < 1 || !txtSlot.exists(EditRow) || txtSlot(EditRow).Locked())
        return false;
    const int k = shelf();
    return txtSlot(EditRow).Text() != ModMain.SlotNo(DetShoot, DetPlace, k, EditRow).str()
           || txtCard(EditRow).Text() != ModMain.CardName(DetShoot, DetPlace, k, EditRow).str()
           || txtType(EditRow).Text() != ModMain.CardType(DetShoot, DetPlace, k, EditRow).str();
}

void frmAlter::row_KeyDown(ControlArray<TextBox> &column, int Index, int KeyCode)
{
    if (m_rowsChanging)
        return;
    int next = 0;
    if (KeyCode == KeyCodes::Down && Index < CardRows)
        next = Index + 1;
    else if (KeyCode == KeyCodes::Up && Index > 1)
        next = Index - 1;
    if (next == 0)
        return;
    MarkRow(next);
    column(next).SetFocus();
}

void frmAlter::clearEntries(int n)
{
    const int k = shelf();
    ModMain.SlotNo.set(Loose(), DetShoot, DetPlace, k, n);
    ModMain.CardName.set(Loose(), DetShoot, DetPlace, k, n);
    ModMain.CardType.set(Loose(), DetShoot, DetPlace, k, n);
}

void frmAlter::endListAfter(int n)
{
    // Whatever stood behind the list before can never come back at a save.
    if (n >= CardsPerShelf)
        return;
    clearEntries(n + 1);
    ModMain.SlotNo.set(Loose(-1), DetShoot, DetPlace, shelf(), n + 1);
}

void frmAlter::cmdAdd_Click()
{
    if (CardRows >= CardsPerShelf) {
        MsgBox(QStringLiteral("At present it is not possible to equip more than 35 Cards"), vbInformation,
               QStringLiteral("Configuration Error"));
        return;
    }
    const EditScope scope{EditScope::Shelf, DetShoot, DetPlace, shelf(), CardRows + 1};
    const EditState before = capture(scope);
    AppendRow();
    clearEntries(CardRows);
    endListAfter(CardRows);
    record(scope, before, QStringLiteral("Add card row"));
    recomputeScrollMax();
    MarkRow(CardRows);
}

void frmAlter::cmdInsert_Click()
{
    if (CardRows >= CardsPerShelf) {
        MsgBox(QStringLiteral("At present it is not possible to equip more than 35 Cards"), vbInformation,
               QStringLiteral("Configuration Error"));
        return;
    }
    // With no current row the new row is the first; with a current row past
    // the end (its row was deleted) it is the last.
    const int at = std::clamp(CurRow, 1, CardRows + 1);
    const int k = shelf();
    const EditScope scope{EditScope::Shelf, DetShoot, DetPlace, k, at};
    const EditState before = capture(scope);
    AppendRow();
    for (int i = CardRows - 1; i >= at; --i) {
        setRowTexts(i + 1, txtSlot(i).Text(), txtCard(i).Text(), txtType(i).Text());
        ModMain.SlotNo.set(ModMain.SlotNo(DetShoot, DetPlace, k, i), DetShoot, DetPlace, k, i + 1);
        ModMain.CardName.set(ModMain.CardName(DetShoot, DetPlace, k, i), DetShoot, DetPlace, k, i + 1);
        ModMain.CardType.set(ModMain.CardType(DetShoot, DetPlace, k, i), DetShoot, DetPlace, k, i + 1);
    }
    setRowTexts(at, QString(), QString(), QString());
    clearEntries(at);
    endListAfter(CardRows);
    record(scope, before, QStringLiteral("Insert card row"));
    recomputeScrollMax();
    if (CurRow < 1) {
        // No row had the focus, so none receives it: the panel shows the empty row 0.
        ShowDetails(0);
        lblSpy->setCaption(QStringLiteral("0"));
        return;
    }
    MarkRow(at);
    txtSlot(at).SetFocus();
}

void frmAlter::cmdDelete_Click()
{
    if (CardRows < 1)
        return;
    const int k = shelf();
    // With no current row, the first row is the one removed.
    const EditScope scope{EditScope::Shelf, DetShoot, DetPlace, k, std::clamp(CurRow, 1, CardRows)};
    const EditState before = capture(scope);
    for (int i = std::max(CurRow, 1); i <= CardRows - 1; ++i) {
        setRowTexts(i, txtSlot(i + 1).Text(), txtCard(i + 1).Text(), txtType(i + 1).Text());
        ModMain.SlotNo.set(ModMain.SlotNo(DetShoot, DetPlace, k, i + 1), DetShoot, DetPlace, k, i);
        ModMain.CardName.set(ModMain.CardName(DetShoot, DetPlace, k, i + 1), DetShoot, DetPlace, k, i);
        ModMain.CardType.set(ModMain.CardType(DetShoot, DetPlace, k, i + 1), DetShoot, DetPlace, k, i);
    }
    {
        QScopedValueRollback changing(m_rowsChanging, true);
        txtSlot.Unload(CardRows);
        txtCard.Unload(CardRows);
        txtType.Unload(CardRows);
    }
    frameHolder->setHeight(frameHolder->Height() - (txtSlot(0).Height() + RowGap));
    --CardRows;
    endListAfter(CardRows);
    record(scope, before, QStringLiteral("Delete card row"));
    recomputeScrollMax();
}

} // namespace kvx
