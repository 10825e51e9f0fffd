#include "platform/qtservices.h"

#include "platform/core/services.h"
#include "platform/paintexport.h"
#include "platform/programstyle.h"

#include <QAccessible>
#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QScreen>

namespace kvx {

QColor colorFromRgbValue(quint32 value)
{
    return QColor(int(value & 0xff), int((value >> 8) & 0xff), int((value >> 16) & 0xff));
}

quint32 rgbValueFromColor(const QColor &color)
{
    return quint32(color.red()) | (quint32(color.green()) << 8) | (quint32(color.blue()) << 16);
}

namespace {

int showMessageBox(const MsgBoxCall &call)
{
    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(call.title);
    box.setText(call.text);
    switch (call.style & 0x70) {
    case 16:
        box.setIcon(QMessageBox::Critical);
        break;
    case 32:
        box.setIcon(QMessageBox::Question);
        break;
    case 48:
        box.setIcon(QMessageBox::Warning);
        break;
    case 64:
        box.setIcon(QMessageBox::Information);
        break;
    default:
        box.setIcon(QMessageBox::NoIcon);
    }
    switch (call.style & 7) {
    case 3:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        box.setEscapeButton(QMessageBox::Cancel);
        break;
    case 4:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        break;
    default:
        box.setStandardButtons(QMessageBox::Ok);
    }
    switch (box.exec()) {
    case QMessageBox::Yes:
        return vbYes;
    case QMessageBox::No:
        return vbNo;
    case QMessageBox::Cancel:
        return vbCancel;
    default:
        return vbOK;
    }
}


std::optional<quint32> showColorDialog(quint32 initial)
{
    const QColor chosen = QColorDialog::getColor(colorFromRgbValue(initial), QApplication::activeWindow());
    if (!chosen.isValid())
        return std::nullopt;
    return rgbValueFromColor(chosen);
}

bool showQtPrintDialog(QPrinter &printer)
{
    QPrintDialog dialog(&printer, QApplication::activeWindow());
    return dialog.exec() == QDialog::Accepted;
}

} // namespace

std::optional<QString> showQtFileDialog(const FileDialogRequest &request)
{
    QFileDialog dialog(QApplication::activeWindow(), request.title, request.initDir);
    dialog.setNameFilters(filterPatterns(request.filter));
    dialog.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(request.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (!request.defaultExt.isEmpty())
        dialog.setDefaultSuffix(request.defaultExt);
    // A name typed without an extension takes the one of the filter chosen.
    if (request.save) {
        QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString &filter) {
            const QString suffix = filter.section(QLatin1String("*."), 1, 1).section(QLatin1Char(')'), 0, 0).trimmed();
            if (!suffix.isEmpty() && !suffix.contains(QLatin1Char('*')))
                dialog.setDefaultSuffix(suffix);
        });
    }
    if (!request.fileName.isEmpty())
        dialog.selectFile(request.fileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

void installQtServices()
{
    QApplication::setStyle(createProgramStyle());
    setMsgBoxHook(showMessageBox);
    setFileDialogHook(showQtFileDialog);
    setColorDialogHook(showColorDialog);
    setPrintDialogHook(showQtPrintDialog);
    Screen::setSizeHook([] {
        const QScreen *screen = QGuiApplication::primaryScreen();
        const QSize size = screen ? screen->size() : QSize(1024, 768);
        return std::make_pair(size.width() * TwipsPerPixel, size.height() * TwipsPerPixel);
    });
}

void askAccessibilityFirst()
{
    QAccessible::isActive();
}

} // namespace kvx
