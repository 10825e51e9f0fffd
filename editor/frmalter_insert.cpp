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

namespace kvx {

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
    // The place as it was: put back when the template could not be read
    // whole, and the state an undo gives back.
    const EditScope scope{EditScope::Place, r, c};
    const EditState before = capture(scope);
    try {
        m_rackTemplateFile = Files::FreeFile();
        Files::OpenScratch(m_rackTemplateFile, QDir::tempPath());
        if (!writeTemplateFor(bytes))
            return;
        ReadRackTemplate(r, c);
    } catch (const PlatformError &e) {
        restoreModel(scope, before);
        MsgBox(e.description(), vbInformation);
        return;
    }

    Label &box = lblEdRack(i);
    box.setCaption(name);
    box.setBackColor(ColorWhite);
    ModMain.RackName.set(Loose(bytes), r, c);
    // The box stays white when the selection moves on.
    EdSavedColor = box.BackColor();
    record(scope, before, QStringLiteral("Insert rack ") + name);
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
