// The room grid's pop-up menu and rack insertion. A new rack takes its name
// from the Insert submenu and its stations and cards from its family's
// template, written to a private temporary file and read back through the
// same handle by the data file's field rules.

#include "editor/frmalter.h"

#include "model/modmain.h"
#include "model/racktemplates.h"
#include "platform/core/files.h"
#include "platform/label.h"
#include "platform/menu.h"

#include <QDir>
#include <QScopeGuard>

#include <array>

namespace kvx {

namespace {

std::array<LooseTable *, 3> cardTables()
{
    return {&ModMain.SlotNo, &ModMain.CardName, &ModMain.CardType};
}

// The stations and cards of one place, to put back when a template could not
// be read whole.
std::vector<Loose> entriesOf(int shoot, int place)
{
    std::vector<Loose> values;
    values.reserve(ShelvesPerRack * (1 + 3 * CardsPerShelf));
    for (int k = 1; k <= ShelvesPerRack; ++k) {
        values.push_back(ModMain.StationName(shoot, place, k));
        for (const LooseTable *t : cardTables()) {
            for (int n = 1; n <= CardsPerShelf; ++n)
                values.push_back((*t)(shoot, place, k, n));
        }
    }
    return values;
}

void restoreEntries(int shoot, int place, const std::vector<Loose> &values)
{
    auto it = values.begin();
    for (int k = 1; k <= ShelvesPerRack; ++k) {
        ModMain.StationName.set(*it++, shoot, place, k);
        for (LooseTable *t : cardTables()) {
            for (int n = 1; n <= CardsPerShelf; ++n)
                t->set(*it++, shoot, place, k, n);
        }
    }
}

} // namespace

void frmAlter::createEditMenu()
{
    mnuIns = new Menu(mnuEdit, QStringLiteral("Insert"));
    const auto insertOnClick = [this](Menu *item) {
        connect(item, &Menu::Click, this, [this, item] { InsertRack(item->Caption()); });
    };
    for (const RackMenuEntry &entry : rackMenu()) {
        auto *item = new Menu(mnuIns, QString::fromLatin1(entry.caption));
        item->setObjectName(QString::fromLatin1(entry.control));
        if (entry.names.isEmpty()) {
            // A rack type the editor shows but has no template for.
            item->setEnabled(false);
        } else if (!entry.submenu) {
            insertOnClick(item);
        } else {
            for (int n = 1; n <= entry.names.size(); ++n) {
                auto *name = new Menu(item, entry.names[n - 1]);
                name->setObjectName(QStringLiteral("%1x(%2)").arg(QLatin1String(entry.control)).arg(n));
                insertOnClick(name);
            }
        }
    }
    mnuRem = new Menu(mnuEdit, QStringLiteral("Remove"));
    connect(mnuRem, &Menu::Click, this, [this] { mnuRem_Click(); });
}

void frmAlter::InsertRack(const QString &name)
{
    const int i = EdSelIndex;
    if (i < 1 || !lblEdRack.exists(i))
        return; // the menu is shown only over a selected box
    const int racks = ModMain.racks();
    const int c = (i - 1) % racks + 1;
    const int r = (i - 1) / racks + 1;
    if (!(ModMain.RackName(r, c) == "")) {
        MsgBox(QStringLiteral("If You Want to Replace the Rack, Please Remove This Rack First"), vbInformation);
        return;
    }
    const QByteArray bytes = name.toUtf8();
    for (int s = 1; s <= ModMain.shoots(); ++s) {
        for (int p = 1; p <= racks; ++p) {
            if (ModMain.RackName(s, p) == bytes) {
                MsgBox(name + QStringLiteral("     Rack Already Exist."), vbInformation);
                return;
            }
        }
    }

    // A file of this insertion's own, removed however the insertion ends. The
    // template is written and read before the grid and the rack name change,
    // so that a failure leaves the room as it was.
    const auto forget = qScopeGuard([this] {
        if (Files::IsOpen(m_rackTemplateFile))
            Files::Abandon(m_rackTemplateFile);
        m_rackTemplateFile = 0;
    });
    std::vector<Loose> before;
    try {
        m_rackTemplateFile = Files::FreeFile();
        Files::OpenScratch(m_rackTemplateFile, QDir::tempPath());
        before = entriesOf(r, c);
        if (!writeTemplateFor(bytes))
            return;
        ReadRackTemplate(r, c);
    } catch (const PlatformError &e) {
        if (!before.empty())
            restoreEntries(r, c, before);
        MsgBox(e.description(), vbInformation);
        return;
    }

    Label &box = lblEdRack(i);
    box.setCaption(name);
    box.setBackColor(ColorWhite);
    ModMain.RackName.set(Loose(bytes), r, c);
    markEdited();
    // The box stays white when the selection moves on.
    EdSavedColor = box.BackColor();
}

bool frmAlter::writeTemplateFor(const QByteArray &name)
{
    const RackTemplate *t = templateForRackName(name);
    if (!t)
        return false;
    static const struct
    {
        const char *family;
        void (frmAlter::*write)();
    } writers[] = {{"UE", &frmAlter::WriteTemplateUE},   {"UD", &frmAlter::WriteTemplateUD},
                   {"UC", &frmAlter::WriteTemplateUC},   {"XA", &frmAlter::WriteTemplateXA},
                   {"XA0", &frmAlter::WriteTemplateXA0}, {"XB", &frmAlter::WriteTemplateXB},
                   {"CA", &frmAlter::WriteTemplateCA},   {"SDE", &frmAlter::WriteTemplateSDE}};
    for (const auto &w : writers) {
        if (qstrcmp(t->family, w.family) == 0) {
            (this->*w.write)();
            return true;
        }
    }
    return false;
}

void frmAlter::writeTemplate(const char *family)
{
    const RackTemplate *t = templateForFamily(family);
    if (!t)
        return;
    Files::Print(m_rackTemplateFile, templateFileText(*t));
    Files::Rewind(m_rackTemplateFile);
}

void frmAlter::WriteTemplateUE()
{
    writeTemplate("UE");
}

void frmAlter::WriteTemplateUD()
{
    writeTemplate("UD");
}

void frmAlter::WriteTemplateUC()
{
    writeTemplate("UC");
}

void frmAlter::WriteTemplateXA()
{
    writeTemplate("XA");
}

void frmAlter::WriteTemplateXA0()
{
    writeTemplate("XA0");
}

void frmAlter::WriteTemplateXB()
{
    writeTemplate("XB");
}

void frmAlter::WriteTemplateCA()
{
    writeTemplate("CA");
}

void frmAlter::WriteTemplateSDE()
{
    writeTemplate("SDE");
}

void frmAlter::ReadRackTemplate(int shoot, int place)
{
    readRackTemplate(Files::Reader(m_rackTemplateFile), ModMain, shoot, place);
    Files::Close(m_rackTemplateFile);
}

} // namespace kvx
