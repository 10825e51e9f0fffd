#include "viewer/exportview.h"

#include "model/modmain.h"
#include "platform/core/files.h"
#include "platform/core/services.h"
#include "viewer/frmswitch.h"

#include <QPainter>
#include <QPrinter>
#include <QStandardPaths>

namespace kvx {

namespace {

// Exported PNGs have twice the screen's pixel density, for print and zoom.
constexpr double ExportDensity = 2;
const QString ExportFilter =
    QStringLiteral("PNG Image (*.png)|*.png|SVG Drawing (*.svg)|*.svg|PDF Document (*.pdf)|*.pdf");

ViewPicture picture(const frmSwitch &form, const QString &name, QSize size, PaintPicture paint)
{
    return {name, form.Caption() + QStringLiteral(" - ") + name, size, std::move(paint)};
}

// A widget whole, its child widgets over it.
ViewPicture wholeWidget(const frmSwitch &form, const QString &name, QWidget *widget)
{
    return picture(form, name, widget->size(), [widget](QPainter &painter) { widget->render(&painter); });
}

// The rack with the open doors beside it, over the room around them. The
// frames are drawn whole, so a rack at the room's edge keeps its doors.
ViewPicture rackView(frmSwitch &form)
{
    QList<QWidget *> frames{form.frameRackBig};
    for (QWidget *open : {static_cast<QWidget *>(form.frameLOpen), static_cast<QWidget *>(form.FrameROpen)}) {
        if (!open->isHidden())
            frames << open;
    }
    QRect area;
    for (const QWidget *frame : frames)
        area |= frame->geometry();
    QWidget *room = form.PicRoom;
    const QString name = QStringLiteral("Rack ") + form.lblRackName->Caption();
    return picture(form, name, area.size(), [room, frames, area](QPainter &painter) {
        // Not the racks the rack covers: their names would be found in a PDF.
        const QRect floor = area & room->rect();
        const QRegion around = QRegion(floor).subtracted(frames.front()->geometry());
        if (!around.isEmpty())
            room->render(&painter, around.boundingRect().topLeft() - area.topLeft(), around,
                         QWidget::DrawWindowBackground);
        // Without a background of their own: the open doors' frames are see-through.
        for (QWidget *frame : frames)
            frame->render(&painter, frame->pos() - area.topLeft(), QRegion(), QWidget::DrawChildren);
    });
}

QString picturesFolder()
{
    const QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    return pictures.isEmpty() ? QStandardPaths::writableLocation(QStandardPaths::HomeLocation) : pictures;
}

} // namespace

ViewPicture shownView(frmSwitch &form)
{
    if (form.PicRing->Visible())
        return wholeWidget(form, form.lblRing->Caption(), form.PicRing);
    // A shelf still growing has no cards yet: the rack under it is the view.
    if (form.picShelfBig->Visible() && !form.TimShelfEnlarger->Enabled()) {
        const QString name = QStringLiteral("Shelf %1 of %2")
                                 .arg(form.SelShelf + 1)
                                 .arg(ModMain.RackName(form.SelShoot, form.SelPlace).str());
        return wholeWidget(form, name, form.picShelfBig);
    }
    if (form.frameRackBig->Visible())
        return rackView(form);
    return wholeWidget(form, QStringLiteral("Room Plan"), form.PicRoom);
}

bool exportView(const ViewPicture &view, const QString &path, double scale, QString *error)
{
    const std::optional<PictureFormat> format = pictureFormatOf(path);
    QString why = QStringLiteral("its extension names none of the formats .png, .svg and .pdf");
    QByteArray bytes;
    if (format && renderPicture(view.size, view.paint, *format, scale, view.title, &bytes, &why))
        return Files::writeFileSafely(path, bytes, error);
    if (error)
        *error = QStringLiteral("Cannot export to file %1: %2").arg(path, why);
    return false;
}

void exportShownView(frmSwitch &form)
{
    const ViewPicture view = shownView(form);
    CommonDialog dialog;
    dialog.DialogTitle = QStringLiteral("Export View");
    dialog.Filter = ExportFilter;
    dialog.DefaultExt = QStringLiteral("png");
    dialog.InitDir = picturesFolder();
    dialog.FileName = view.name + QStringLiteral(".png");
    if (!dialog.ShowSave())
        return;
    QString error;
    if (!exportView(view, dialog.FileName, ExportDensity * form.devicePixelRatioF(), &error))
        MsgBox(error, vbCritical);
}

void printShownView(frmSwitch &form)
{
    const ViewPicture view = shownView(form);
    // The page in the screen's pixels: scaled up several times onto a
    // printer's fine grid, Qt's PDF output turns names into shapes, and the
    // page is all shapes and text anyway.
    QPrinter printer(QPrinter::ScreenResolution);
    printer.setDocName(view.title);
    printer.setPageOrientation(view.size.width() > view.size.height() ? QPageLayout::Landscape : QPageLayout::Portrait);
    if (!showPrintDialog(printer))
        return;
    if (!printPicture(printer, view.size, view.paint, view.title))
        MsgBox(printer.outputFileName().isEmpty()
                   ? QStringLiteral("The view could not be printed")
                   : QStringLiteral("Cannot print to file %1").arg(printer.outputFileName()),
               vbCritical);
}

bool openView(frmSwitch &form, const ViewRequest &request, QString *error)
{
    if (request.kind == ViewRequest::Room)
        return true;
    if (request.kind == ViewRequest::Ring) {
        Menu *const items[] = {form.MnuMIS, form.MnuMAS1, form.MnuMAS2, form.MnuMAS3, form.MnuMAS4};
        if (request.ring < 0 || request.ring > 4 || !items[request.ring]->Enabled()) {
            *error = QStringLiteral("the file has %1 MAS rings: no ring %2")
                         .arg(ModMain.NoOfMas.toInt())
                         .arg(request.ring ? QStringLiteral("MAS%1").arg(request.ring) : QStringLiteral("MIS"));
            return false;
        }
        items[request.ring]->trigger();
        return true;
    }
    int index = 1;
    while (index <= ModMain.RackIndex && form.lblRack(index).Caption() != request.rack)
        ++index;
    if (index > ModMain.RackIndex) {
        *error = QStringLiteral("no rack is named \"%1\"").arg(request.rack);
        return false;
    }
    form.imgRack(index).Click();
    if (request.kind == ViewRequest::Rack)
        return true;
    if (request.shelf < 1 || request.shelf > ShelvesPerRack || !form.imgShelf(request.shelf - 1).Visible()) {
        *error = QStringLiteral("shelf %1 of rack %2 has no station").arg(request.shelf).arg(request.rack);
        return false;
    }
    form.imgShelf(request.shelf - 1).Click();
    // The shelf grows as the timer ticks, then lays its cards.
    for (int tick = 0; tick < 100 && form.TimShelfEnlarger->Enabled(); ++tick)
        form.TimShelfEnlarger->fireTick();
    return true;
}

} // namespace kvx
