// The "Ring Change" tab: one row per ring with its check box, its member
// list as typed and its colour swatch. Colours go into the model at once;
// the ticks and member lists reach the file only through SaveExchange, which
// reads them from here.

#include "editor/frmalter.h"

#include "model/modmain.h"
#include "platform/checkbox.h"
#include "platform/core/errors.h"
#include "platform/frame.h"
#include "platform/label.h"
#include "platform/textbox.h"

#include <cmath>

namespace kvx {

namespace {

// The colour a swatch shows for a model colour; an unset colour is black.
quint32 swatchColor(const Loose &color)
{
    if (!color.readsAsNumber() || !(std::abs(color.number()) < 9.2e18))
        return ColorBlack;
    return quint32(qint64(color.number())) & 0xFFFFFF;
}

// The bytes a member box stands for: those read from the model while the
// box shows them unchanged, else the text as typed.
QByteArray boxBytes(const TextBox &box, const QByteArray &loaded)
{
    const QString text = box.Text();
    return text == displayText(loaded) ? loaded : text.toUtf8();
}

// Shows the colour dialog starting on `current`; false when it was cancelled.
bool pickColor(CommonDialog &dlg, quint32 current)
{
    dlg.CancelError = true;
    dlg.Color = current;
    try {
        dlg.ShowColor();
    } catch (const PlatformError &e) {
        if (e.number() == ErrCancel)
            return false;
        throw;
    }
    return true;
}

} // namespace

void frmAlter::createRingTab(Container *tab)
{
    struct Row
    {
        CheckBox *check;
        TextBox *members;
        Label *swatch;
    };
    const auto fill = [](Frame *frame) {
        Row row{new CheckBox(frame), new TextBox(frame), frame->create<Label>()};
        row.check->Move(240, 240, 255, 255);
        row.members->Move(1200, 240, 4815, 285);
        // A member list is one line of the file; its commas are its separators.
        row.members->setRefusedCharacters(QStringLiteral("\r\n"));
        row.swatch->Move(6360, 240, 1095, 255);
        row.swatch->setBorderStyle(1);
        row.swatch->setBackColor(ColorBlack);
        row.swatch->setToolTipText(QStringLiteral("Colour of the ring: click to change it"));
        row.swatch->setMousePointer(Qt::PointingHandCursor);
        return row;
    };
    const auto frameAt = [](Container *in, const QString &caption, double left, double top) {
        auto *frame = new Frame(in);
        frame->Move(left, top, 7695, 735);
        frame->setCaption(caption);
        return frame;
    };

    Frame5 = frameAt(tab, QStringLiteral("MIS"), 600, 480);
    const Row mis = fill(Frame5);
    chkMis = mis.check;
    txtMis = mis.members;
    clrMis = mis.swatch;

    frameMas.add(0, frameAt(tab, QStringLiteral("MAS1"), 600, 1560));
    frameMas.add(1, frameAt(tab, QStringLiteral("MAS1"), 600, 2640));
    // MAS2's frame lies over a second MAS1 frame and hides it.
    frameMas.add(2, frameAt(&frameMas(1), QStringLiteral("MAS2 "), 0, 0));
    frameMas.add(3, frameAt(tab, QStringLiteral("MAS3"), 600, 3720));
    frameMas.add(4, frameAt(tab, QStringLiteral("MAS4"), 600, 4800));
    const int frameOf[] = {0, 0, 2, 3, 4};
    for (int k = 1; k <= 4; ++k) {
        const Row row = fill(&frameMas(frameOf[k]));
        chkmas.add(k, row.check);
        txtMas.add(k, row.members);
        clrMas.add(k, row.swatch);
    }

    // MIS, MAS1 and MAS2 always exist.
    for (CheckBox *fixed : {chkMis, &chkmas(1), &chkmas(2)}) {
        fixed->setValue(1);
        fixed->setEnabled(false);
    }

    clrMis->Click = [this] { clrMis_Click(); };
    clrMas.on(&Label::Click, [this](int index) { clrMas_Click(index); });
    // The ticks and member lists reach the model only at a save: until then
    // they are edits a load would lose.
    chkmas.on(&CheckBox::Click, [this](int index) { ringEdited(index, false); });
    txtMis->Change = [this] { ringEdited(0, true); };
    txtMas.on(&TextBox::Change, [this](int index) { ringEdited(index, true); });
}

void frmAlter::fillRingRows()
{
    TextBox *boxes[] = {txtMis, &txtMas(1), &txtMas(2), &txtMas(3), &txtMas(4)};
    const CheckBox *ticks[] = {chkMis, &chkmas(1), &chkmas(2), &chkmas(3), &chkmas(4)};
    for (int k = 0; k <= 4; ++k) {
        if (ticks[k]->Value() != 1)
            continue;
        // A ring ticked by a save but never read from a file has no members yet.
        m_loadedRing[k] = ringMemberText(ModMain.ring(k));
        boxes[k]->setText(displayText(m_loadedRing[k]));
        boxes[k]->setCursorPosition(0); // a long list shows its first names
    }
}

void frmAlter::fillRingColors()
{
    clrMis->setBackColor(quint32(ModMain.MisColor) & 0xFFFFFF);
    for (int i = 1; i <= 4; ++i)
        clrMas(i).setBackColor(swatchColor(ModMain.MasColor(i)));
}

void frmAlter::ringEdited(int k, bool typing)
{
    const EditState before = std::exchange(m_ringShown[k], capture({EditScope::Ring, 0, 0, k}));
    const QString ring = k ? QStringLiteral("MAS%1").arg(k) : QStringLiteral("MIS");
    if (typing)
        record({EditScope::Ring, 0, 0, k}, before, QStringLiteral("Change %1 members").arg(ring), true);
    else
        record({EditScope::Ring, 0, 0, k}, before, (m_ringShown[k].tick ? "Add ring " : "Remove ring ") + ring);
}

void frmAlter::clrMis_Click()
{
    if (!pickColor(dlg1, clrMis->BackColor()))
        return;
    const EditState before = capture({EditScope::Colour});
    clrMis->setBackColor(dlg1.Color);
    ModMain.MisColor = qint32(dlg1.Color);
    record({EditScope::Colour}, before, QStringLiteral("Change MIS colour"));
}

void frmAlter::clrMas_Click(int Index)
{
    if (!pickColor(dlg1, clrMas(Index).BackColor()))
        return;
    const EditScope scope{EditScope::Colour, 0, 0, Index};
    const EditState before = capture(scope);
    clrMas(Index).setBackColor(dlg1.Color);
    ModMain.MasColor.set(Loose(qint64(dlg1.Color)), Index);
    record(scope, before, QStringLiteral("Change MAS%1 colour").arg(Index));
}

bool frmAlter::masTicked(int k) const
{
    return k < 3 || chkmas(k).Value() == 1;
}

QByteArray frmAlter::misText() const
{
    return boxBytes(*txtMis, m_loadedRing[0]);
}

QByteArray frmAlter::masText(int k) const
{
    return boxBytes(txtMas(k), m_loadedRing[k]);
}

} // namespace kvx
